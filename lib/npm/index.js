// Node.js: the WebAssembly is read from beside this module.
import { readFile } from "node:fs/promises";
import createHuecode from "./huecode.mjs";
import { bind } from "./api.js";

export { HuecodeError } from "./api.js";
const wasmBinary = await readFile(new URL("huecode.wasm", import.meta.url));
export const { convert, strip, codeNote, dialects, version } = bind(await createHuecode({ wasmBinary }));
