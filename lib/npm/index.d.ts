/** The options of a conversion, under huecode-cli's names (--per-line is perLine). */
export interface Options {
  /** A dialect's key, as dialects() lists them. */
  preset?: string;
  /** A format string for each chunk, such as "<#{HEX}>{text}". */
  format?: string;
  prefix?: string;
  middle?: string;
  suffix?: string;
  /** RRGGBB, '#' optional. */
  start?: string;
  end?: string;
  /** Stops between start and end: COLOUR or COLOUR@POSITION (percent). */
  via?: string | readonly string[];
  rainbow?: boolean;
  /** Characters (or graphemes, or words) per colour, read as the window's step box reads it. */
  step?: string | number;
  space?: "rgb" | "oklab";
  by?: "char" | "grapheme" | "word";
  /** The most characters the markup may have; the smallest step that fits is taken. */
  fit?: string | number;
  merge?: boolean;
  escape?: boolean;
  bold?: boolean;
  italic?: boolean;
  underline?: boolean;
  strike?: boolean;
  endpoints?: boolean;
  perLine?: boolean;
  mirror?: boolean;
}

/** How to read markup back; without any, the dialect is found from the markup. */
export type StripOptions = Pick<Options, "preset" | "format" | "prefix" | "middle" | "suffix" | "escape">;

export interface Dialect {
  key: string;
  /** Its name in Chinese. */
  label: string;
  englishLabel: string;
  prefix: string;
  middle: string;
  suffix: string;
  /** A format string instead of the three parts, or "". */
  format: string;
  /** The chunk "a" in FF00FF. */
  example: string;
  /** How its readers take the HTML entities that escape writes. */
  entities: "decoded" | "on-request" | "never";
  /** Where it writes bold, italic, underline and strikethrough. */
  styles: "none" | "around" | "in-tag";
  /** Each formatting code, "" where it has none. */
  codes: { bold: string; italic: string; underline: string; strike: string };
}

export type ErrorCode = "option" | "input" | "argument" | "write" | "memory";

/** What every function throws: the code and huecode-cli's message. */
export class HuecodeError extends Error {
  readonly code: ErrorCode;
}

/** The text as markup. */
export function convert(text: string, options?: Options): string;
/** Markup of any dialect read back to its text. */
export function strip(markup: string, options?: StripOptions): string;
/**
 * What huecode-cli notes about the text's own codes (a server's "&l", "§a",
 * MiniMessage's "<b>") with these options: the first, where it is and what
 * the destination makes of it; "" when there is none.
 */
export function codeNote(text: string, options?: Options): string;
export function dialects(): Dialect[];
export const version: string;
