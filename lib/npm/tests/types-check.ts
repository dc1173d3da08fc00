// What the declarations promise a TypeScript user: a bot's reply typed end to
// end, and the mistakes the checker must refuse.
import { convert, dialects, HuecodeError, strip, version, type Dialect } from "huecode";

export function reply(text: string): string {
  try {
    return convert(text, { preset: "ansi", rainbow: true, bold: true, by: "grapheme", fit: 1990 });
  } catch (error) {
    return error instanceof HuecodeError ? `${error.code}: ${error.message}` : String(error);
  }
}

const keys: string[] = dialects().map((dialect: Dialect) => dialect.key);
const plain: string = strip(convert("x", { via: ["FF0000@25", "00FF00"], step: 2, perLine: true }), { preset: "ubb" });
export const summary = `${version} ${keys.join()} ${plain}`;

// @ts-expect-error a flag is a boolean
convert("x", { bold: "yes" });
// @ts-expect-error no such option
convert("x", { colour: "FF0000" });
// @ts-expect-error strip reads no gradient
strip("x", { rainbow: true });
// @ts-expect-error the unit is one of three
convert("x", { by: "line" });
// @ts-expect-error version is no function
version();
