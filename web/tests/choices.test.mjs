// The lists the core names are written into the page by the build, labelled
// from the page's texts; a name the texts cannot label in either language
// stops the build. These run in Node alone; page-interface.test.mjs checks
// the built page against its own core.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {unlabelledChoices, withChoices} from '../tools/choices.mjs';

const core = (change = {}) => ({spaces: ['rgb', 'oklab'], units: ['char', 'grapheme', 'word'],
  limitUnits: ['characters', 'utf8', 'gbk'], ...change});
const page = (lang, selects = ['spaces', 'units', 'limitUnits']) => `<html lang="${lang}"><body>` +
  selects.map((list) => `<select id="${list}" data-choices="${list}">\n  </select>`).join('') + '</body></html>';
const options = (document, list) => [...document.matchAll(new RegExp(
  `<select id="${list}"[^>]*>(.*?)</select>`, 'g'))].map(([, inner]) => [...inner.matchAll(
  /<option value="([^"]*)">([^<]*)<\/option>/g)].map(([, value, label]) => `${value}=${label}`).join(' '));

test('a name of the core\'s that the texts cannot label is found in each language', () => {
  const rows = [
    [core(), []],
    [core({spaces: ['rgb', 'cmyk']}), ['zh: spaces cmyk', 'en: spaces cmyk']],
    [core({units: ['char', 'sentence'], limitUnits: ['utf16']}),
      ['zh: units sentence', 'zh: limitUnits utf16', 'en: units sentence', 'en: limitUnits utf16']],
    // A name that only looks up something every object has.
    [core({units: ['toString']}), ['zh: units toString', 'en: units toString']],
  ];
  for (const [described, missing] of rows) {
    assert.deepEqual(unlabelledChoices(described), missing, JSON.stringify(described));
  }
});

test('each list\'s options are the core\'s names in its order, labelled in the page\'s language', () => {
  const rows = [
    ['zh-CN', core(), {spaces: 'rgb=RGB oklab=OKLab', units: 'char=字符 grapheme=用户感知字符 word=词（中日韩文字逐字）',
      limitUnits: 'characters=字符 utf8=UTF-8 字节 gbk=GBK 字节'}],
    ['en', core({spaces: ['oklab', 'rgb'], units: ['word']}), {spaces: 'oklab=OKLab rgb=RGB',
      units: 'word=words (each CJK character one)', limitUnits: 'characters=characters utf8=UTF-8 bytes gbk=GBK bytes'}],
  ];
  for (const [lang, described, expected] of rows) {
    const written = withChoices(page(lang), described);
    for (const [list, shown] of Object.entries(expected)) {
      assert.deepEqual(options(written, list), [shown], `${lang} ${list}`);
    }
  }
});

test('a build whose page and core do not match stops, saying why', () => {
  const rows = [
    [page('zh-CN'), core({limitUnits: ['characters', 'utf16']}), /no label for the core's zh: limitUnits utf16, en: /],
    [page('zh-CN', ['spaces', 'units']), core(), /no empty select for limitUnits/],
    [page('zh-CN', ['spaces', 'units', 'limitUnits', 'units']), core(), /"units" names none .* or one twice/],
    [page('zh-CN', ['spaces', 'units', 'limitUnits', 'directions']), core(), /"directions" names none/],
  ];
  for (const [document, described, error] of rows) {
    assert.throws(() => withChoices(document, described), error);
  }
});
