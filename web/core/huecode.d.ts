// The core's loader, written by the Emscripten build (web/CMakeLists.txt)
// beside its WebAssembly; the converter (convert.js) is what reads its
// exports, so they are left untyped here.
export default function createHuecode(options?: object): Promise<any>;
