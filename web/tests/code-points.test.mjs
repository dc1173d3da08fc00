// Cutting a JavaScript string and lone surrogates, without a browser.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {charactersOver, pairSafeEnd, pairSafeSpan, wellFormed} from '../shared/code-points.js';

test('a cut never splits a surrogate pair', () => {
  // text, cut at, where the cut goes: written as the characters kept.
  const cuts = [['ab😀c', 2, 'ab'], ['ab😀c', 3, 'ab'], ['ab😀c', 4, 'ab😀'], ['😀', 1, ''], ['😀', 2, '😀'],
    ['abc', 0, ''], ['abc', 3, 'abc'], ['a\uD800', 2, 'a\uD800'], ['彩色', 1, '彩']];
  for (const [text, end, kept] of cuts) {
    assert.equal(text.slice(0, pairSafeEnd(text, end)), kept, `${JSON.stringify(text)} at ${end}`);
  }
  // The same for a span of code units, at both ends: text, span, the characters kept.
  const spans = [['a😀b😀', 2, 4, 'b'], ['a😀b😀', 1, 5, '😀b'], ['😀', 1, 1, ''], ['😀😀', 1, 3, ''],
    ['\uDE00\uD83D', 0, 2, '\uDE00\uD83D'], ['abc', 0, 9, 'abc']];
  for (const [text, start, end, kept] of spans) {
    const [from, to] = pairSafeSpan(Uint16Array.from({length: text.length}, (_, k) => text.charCodeAt(k)), start, end);
    assert.equal(text.slice(from, to), kept, `${JSON.stringify(text)} from ${start} to ${end}`);
  }
});

test('lone surrogates become U+FFFD, pairs stay', () => {
  const texts = [['a😀b', 'a😀b'], ['a\uD83Db', 'a\uFFFDb'], ['\uDE00x', '\uFFFDx'], ['\uDE00\uD83D', '\uFFFD\uFFFD'],
    ['', '']];
  for (const [text, expected] of texts) {
    assert.equal(wellFormed(text), expected, JSON.stringify(text));
  }
});

// A limit on characters counts a pair once, as the core does, and a lone
// surrogate as one: limit, text, the characters reported (0: within it).
test('a text is over a limit of characters by its characters, not its code units', () => {
  const rows = [[3, '😀😀😀', 0], [3, 'abcd', 4], [3, '😀😀a😀', 4], [2, '\uDE00\uD83D', 0], [1, '\uDE00\uD83D', 2],
    [2, 'a\uD83D\uDE00', 0], [0, '', 0]];
  for (const [limit, text, over] of rows) {
    assert.equal(charactersOver(limit, text.length, () => text), over, `${JSON.stringify(text)} against ${limit}`);
  }
});
