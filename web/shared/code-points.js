// The page's one place for the UTF-16 rules of JavaScript strings: a
// character outside the BMP is a pair of code units that must stay together.

const isLead = (unit) => unit >= 0xd800 && unit <= 0xdbff;
const isTrail = (unit) => unit >= 0xdc00 && unit <= 0xdfff;

// The end of a cut at `end` units, one unit earlier when the cut would split a pair.
export function pairSafeEnd(text, end) {
  return end > 0 && end < text.length && isLead(text.charCodeAt(end - 1)) ? end - 1 : end;
}

// The span [start, end) of an array of code units, narrowed so that it
// cuts no pair at either end.
export function pairSafeSpan(units, start, end) {
  const cut = (at) => at > 0 && at < units.length && isLead(units[at - 1]) && isTrail(units[at]);
  const from = cut(start) ? start + 1 : start;
  return [from, Math.max(from, cut(end) ? end - 1 : end)];
}

// A lone surrogate cannot travel as UTF-8 (the clipboard, a file, the
// command line): like the browser's own encoder, the page converts it as the
// replacement character U+FFFD, which is what the command line reads.
export function wellFormed(text) {
  return text.toWellFormed ? text.toWellFormed()
    : text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
}
