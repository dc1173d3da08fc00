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

// Characters as the core counts them: a lead unit followed by a trail unit
// is one, any other unit (a lone surrogate too) one of its own.
function characterCount(text) {
  let pairs = 0;
  for (let k = 1; k < text.length; ++k) {
    pairs += Number(isTrail(text.charCodeAt(k)) && isLead(text.charCodeAt(k - 1)));
  }
  return text.length - pairs;
}

// The characters of a text of `units` code units (text() gives it) when
// they are more than limit, else 0. A text of no more units than the limit
// has no more characters: only a longer one is counted.
export function charactersOver(limit, units, text) {
  if (units <= limit) {
    return 0;
  }
  const characters = characterCount(text());
  return characters > limit ? characters : 0;
}

// A lone surrogate cannot travel as UTF-8 (the clipboard, a file, the
// command line): like the browser's own encoder, the page converts it as the
// replacement character U+FFFD, which is what the command line reads.
export function wellFormed(text) {
  return text.toWellFormed ? text.toWellFormed()
    : text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
}
