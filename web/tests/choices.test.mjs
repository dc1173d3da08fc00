// The build writes the lists the core names into the page, labelled from the
// page's texts, and stops at a name either language cannot label. Node alone;
// page-interface.test.mjs checks the built page against its own core.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {withChoices} from '../tools/choices.mjs';

const core = (change) => ({spaces: ['rgb', 'oklab'], units: ['char'], limitUnits: ['utf8', 'gbk'], ...change});
const page = (lang, lists = ['spaces', 'units', 'limitUnits']) => `<html lang="${lang}">` +
  lists.map((list) => `<select id="${list}" data-choices="${list}">\n</select>`).join('');
const options = (html) => [...html.matchAll(/<option value="([^"]*)">([^<]*)</g)].map(([, ...pair]) => pair.join('='));

test('the lists are the core\'s names in its order, labelled in the page\'s language, or the build stops', () => {
  const rows = [
    [page('zh-CN'), core(), ['rgb=RGB', 'oklab=OKLab', 'char=字符', 'utf8=UTF-8 字节', 'gbk=GBK 字节']],
    [page('en'), core({spaces: ['oklab'], units: ['word', 'grapheme']}),
      ['oklab=OKLab', 'word=words (each CJK character one)', 'grapheme=user-perceived characters', 'utf8=UTF-8 bytes',
        'gbk=GBK bytes']],
    [page('en'), core({units: ['char', 'sentence']}), /no label for the core's zh: units sentence, en: units sentence$/],
    // A name that only finds what every object has is no label either.
    [page('zh-CN'), core({limitUnits: ['toString']}), /zh: limitUnits toString, en: limitUnits toString$/],
    [page('zh-CN', ['spaces', 'units']), core(), /no empty select for limitUnits/],
    [page('zh-CN', ['spaces', 'units', 'limitUnits', 'units']), core(), /"units" names none .* or one twice/],
    [page('zh-CN', ['spaces', 'units', 'limitUnits', 'directions']), core(), /"directions" names none/],
  ];
  for (const [document, described, expected] of rows) {
    if (expected instanceof RegExp) {
      assert.throws(() => withChoices(document, described), expected);
    } else {
      assert.deepEqual(options(withChoices(document, described)), expected);
    }
  }
});
