// @ts-check
// The table of cases through the package, in Node.js or in a browser: each
// case is huecode-cli's arguments followed by the text, turned into an
// options object under the package's names.

/**
 * @typedef {typeof import("huecode")} Huecode
 * @typedef {{ markup: string, note?: string } | { code: import("huecode").ErrorCode, message: string }} Outcome
 */

/**
 * The options of the arguments: "--per-line" is perLine: true, a repeated
 * --via an array, any other option takes the argument after it.
 * @param {string[]} args
 */
export function optionsOf(args) {
  /** @type {Record<string, string | boolean | string[]>} */
  const options = {};
  for (let k = 0; k < args.length; ++k) {
    const key = args[k].slice(2).replace(/-([a-z])/gu, (_, letter) => letter.toUpperCase());
    const value = args[k + 1];
    if (value === undefined || value.startsWith("--")) {
      options[key] = true;
    } else if (key === "via") {
      options.via = [.../** @type {string[]} */ (options.via ?? []), value];
      ++k;
    } else {
      options[key] = value;
      ++k;
    }
  }
  return options;
}

/**
 * @param {Huecode} huecode
 * @param {string[][]} cases
 * @returns {Outcome[]}
 */
export function runCases(huecode, cases) {
  return cases.map((row) => {
    const { strip, ...options } = optionsOf(row.slice(0, -1));
    const text = row.at(-1) ?? "";
    try {
      if (strip) {
        return { markup: huecode.strip(text, /** @type {import("huecode").StripOptions} */ (options)) };
      }
      const markup = huecode.convert(text, /** @type {import("huecode").Options} */ (options));
      return { markup, note: huecode.codeNote(text, /** @type {import("huecode").Options} */ (options)) };
    } catch (error) {
      if (!(error instanceof huecode.HuecodeError)) {
        throw error;
      }
      return { code: error.code, message: error.message };
    }
  });
}
