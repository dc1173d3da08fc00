// The package's functions over the C interface compiled to WebAssembly: each
// call fills huecode_options in the module's memory by the command line's
// names, which the module itself describes, and turns a failed call's error
// into a thrown HuecodeError with the library's message.

/** The codes of huecode_status, by number. */
const kCodes = ["ok", "option", "input", "argument", "write", "memory"];

export class HuecodeError extends Error {
  /**
   * @param {string} message
   * @param {string} code
   */
  constructor(message, code) {
    super(message);
    this.name = "HuecodeError";
    this.code = code;
  }
}

const encoder = new TextEncoder();
const decoder = new TextDecoder();

// A lone surrogate has no UTF-8: it is refused rather than changed into U+FFFD.
const kLoneSurrogate = /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/u;

/** "perLine" from "--per-line". */
function keyOf(name) {
  return name.slice(2).replace(/-([a-z])/gu, (_, letter) => letter.toUpperCase());
}

/** Allocations in the module's memory, freed together after a call. */
class Frame {
  constructor(module) {
    this.module = module;
    this.blocks = [];
  }

  alloc(size) {
    const pointer = this.module._malloc(Math.max(size, 1));
    if (pointer === 0) {
      throw new HuecodeError("out of memory", "memory");
    }
    this.blocks.push(pointer);
    this.module.HEAPU8.fill(0, pointer, pointer + size);
    return pointer;
  }

  /** A NUL-terminated UTF-8 copy of the text, and its length in bytes. */
  text(value, what) {
    const where = value.search(kLoneSurrogate);
    if (where >= 0) {
      throw new HuecodeError(`${what} has a lone surrogate at index ${where}`, "input");
    }
    const bytes = encoder.encode(value);
    const pointer = this.alloc(bytes.length + 1);
    this.module.HEAPU8.set(bytes, pointer);
    return { pointer, size: bytes.length };
  }

  free() {
    this.blocks.forEach((pointer) => this.module._free(pointer));
  }
}

/** A value as the command line would take it: text, or a number for a number. */
function typed(key, value) {
  if (typeof value === "string" || (typeof value === "number" && Number.isFinite(value))) {
    return String(value);
  }
  throw new HuecodeError(`option ${key} takes a string, not ${JSON.stringify(value)}`, "argument");
}

// Every allocation may grow the memory and so replace its views: each write
// takes the view anew.
function writeOptions(frame, layout, options) {
  const store = (pointer, value) => {
    frame.module.HEAPU32[pointer >> 2] = value;
  };
  const struct = frame.alloc(layout.size);
  frame.module._huecode_options_init(struct, layout.size);
  for (const [key, value] of Object.entries(options ?? {})) {
    if (value === undefined) {
      continue;
    }
    if (key === "via") {
      const stops = Array.isArray(value) ? value : [value];
      const array = frame.alloc(4 * stops.length);
      stops.forEach((stop, k) => store(array + 4 * k, frame.text(typed("via", stop), "a stop").pointer));
      store(struct + layout.via, array);
      store(struct + layout.viaCount, stops.length);
      continue;
    }
    const field = layout.fields.get(key);
    if (!field) {
      throw new HuecodeError(`unknown option '${key}'`, "option");
    }
    if (field.flag && typeof value !== "boolean") {
      throw new HuecodeError(`option ${key} takes true or false, not ${JSON.stringify(value)}`, "argument");
    }
    store(struct + field.offset, field.flag ? Number(value) : frame.text(typed(key, value), `the value of ${field.name}`).pointer);
  }
  return struct;
}

function readString(module, pointer, size) {
  const end = size ?? module.HEAPU8.indexOf(0, pointer) - pointer;
  return decoder.decode(module.HEAPU8.subarray(pointer, pointer + end));
}

/**
 * Runs one of the calls that allocate their result: (text, size, options,
 * &out, &outSize, &error) -> status.
 */
function call(module, layout, entry, input, options) {
  const frame = new Frame(module);
  try {
    if (typeof input !== "string") {
      throw new HuecodeError(`the text must be a string, not ${typeof input}`, "argument");
    }
    const text = frame.text(input, "the text");
    const struct = writeOptions(frame, layout, options);
    const out = frame.alloc(12);
    const status = entry(text.pointer, text.size, struct, out, out + 4, out + 8);
    const heap = module.HEAPU32;
    if (status !== 0) {
      const error = heap[(out + 8) >> 2];
      const message = readString(module, module._huecode_error_message(error));
      module._huecode_error_free(error);
      throw new HuecodeError(message, kCodes[status] ?? String(status));
    }
    const result = readString(module, heap[out >> 2], heap[(out + 4) >> 2]);
    module._huecode_free(heap[out >> 2]);
    return result;
  } finally {
    frame.free();
  }
}

/** The package's API over an instantiated module. */
export function bind(module) {
  const described = JSON.parse(readString(module, module._huecode_js_describe()));
  const { size, via, viaCount } = described.options;
  const fields = new Map(described.options.fields.map((field) => [keyOf(field.name), field]));
  const layout = { size, via, viaCount, fields };
  return {
    convert: (text, options) => call(module, layout, module._huecode_convert_alloc, text, options),
    strip: (markup, options) => call(module, layout, module._huecode_strip, markup, options),
    codeNote: (text, options) => call(module, layout, module._huecode_code_note, text, options),
    dialects: () => structuredClone(described.dialects),
    version: readString(module, module._huecode_version()),
  };
}
