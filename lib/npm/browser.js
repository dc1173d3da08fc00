// Browsers through a bundler: the WebAssembly comes inside the module.
import createHuecode from "./huecode-inline.mjs";
import { bind } from "./api.js";

export { HuecodeError } from "./api.js";
export const { convert, strip, codeNote, dialects, version } = bind(await createHuecode());
