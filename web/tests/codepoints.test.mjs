// Cutting a JavaScript string and lone surrogates, without a browser.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {pairSafeEnd, wellFormed} from '../codepoints.js';

test('a cut never splits a surrogate pair', () => {
  // text, cut at, where the cut goes: written as the characters kept.
  const cuts = [['ab😀c', 2, 'ab'], ['ab😀c', 3, 'ab'], ['ab😀c', 4, 'ab😀'], ['😀', 1, ''], ['😀', 2, '😀'],
    ['abc', 0, ''], ['abc', 3, 'abc'], ['a\uD800', 2, 'a\uD800'], ['彩色', 1, '彩']];
  for (const [text, end, kept] of cuts) {
    assert.equal(text.slice(0, pairSafeEnd(text, end)), kept, `${JSON.stringify(text)} at ${end}`);
  }
});

test('lone surrogates become U+FFFD, pairs stay', () => {
  const texts = [['a😀b', 'a😀b'], ['a\uD83Db', 'a\uFFFDb'], ['\uDE00x', '\uFFFDx'], ['\uDE00\uD83D', '\uFFFD\uFFFD'],
    ['', '']];
  for (const [text, expected] of texts) {
    assert.equal(wellFormed(text), expected, JSON.stringify(text));
  }
});
