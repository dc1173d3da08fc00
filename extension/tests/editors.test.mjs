// The extension in real rich editors from npm: the selection read with one
// line break per paragraph and coloured as huecode-cli colours it, the
// editor's own Ctrl+Z bringing the original back, a long post never cut, an
// editor that refuses the change left as it was, and coloured text where
// the site asks for it.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {cliMarkup, openBoard} from './harness.mjs';

const editors = ['quill', 'prosemirror', 'lexical', 'ckeditor', 'codemirror', 'design', 'tiptap', 'tinymce',
  'sceditor', 'easymde'];
const post = '彩色 text 🎉\nline2';
// Part of a line, across the paragraph break, and nothing (a caret: the
// whole text), also of a text with an empty paragraph, and part of a line
// up to the start of the empty paragraph. `typed`: a key typed after the
// change lands right after the markup.
const cases = [[post, [3, 7], true], [post, [3, post.length - 1], true], [post, null], ['第一段\n\n第二段', null],
  ['第一段\n\n第二段', [2, 4]]];

let board;
before(async () => {
  board = await openBoard('editors.html');
  await board.page.evaluate(() => window.editorsReady);
});
after(() => board?.close());

const call = (name, method, ...args) => board.page.evaluate(([name, method, args]) =>
  window.editors[name][method](...args), [name, method, args]);

async function put(name, text, range) {
  await call(name, 'set', text);
  await call(name, 'select', ...(range ?? [0, 0]));
}

test('each editor colours its selection like huecode-cli, its own Ctrl+Z restores it, typing goes on after it',
  async () => {
    for (const name of editors) {
      for (const [text, range, typed] of cases) {
        const [start, end] = range ?? [0, text.length];
        const picked = text.slice(start, end);
        await put(name, text, range);
        const result = await board.colour({dialect: 'ubb'});
        const label = `${name} ${JSON.stringify(text)} ${JSON.stringify(range)}`;
        assert.deepEqual(result, {replaced: true, characters: picked.length, dialect: 'ubb'}, label);
        const markup = cliMarkup(['--preset', 'ubb'], picked);
        assert.equal(await call(name, 'text'), text.slice(0, start) + markup + text.slice(end), label);
        await board.page.keyboard.press('Control+z');
        assert.equal(await call(name, 'text'), text, `${label}: one Ctrl+Z`);
        if (typed) {
          await put(name, text, range);
          await board.colour({dialect: 'ubb'});
          await board.page.keyboard.type('字');
          assert.equal(await call(name, 'text'), text.slice(0, start) + markup + '字' + text.slice(end),
            `${label}: typed after`);
        }
      }
    }
    assert.deepEqual(await board.page.evaluate(() => window.editorErrors), []);
  });

test('TinyMCE takes a whole text through its paste, or the command where its paste writes it wrong', async () => {
  for (const wrongly of [false, true]) {
    await call('tinymce', 'pasteWrongly', wrongly);
    await put('tinymce', post);
    assert.equal((await board.colour({dialect: 'ubb'})).replaced, true, `wrongly: ${wrongly}`);
    assert.equal(await call('tinymce', 'text'), cliMarkup(['--preset', 'ubb'], post), `wrongly: ${wrongly}`);
    await board.page.keyboard.press('Control+z');
    assert.equal(await call('tinymce', 'text'), post, `wrongly: ${wrongly}: one Ctrl+Z`);
  }
  await call('tinymce', 'pasteWrongly', false);
});

test('a long post is coloured whole where the editor draws only part of it', async () => {
  const long = '长帖子里的一段话, with some English words too.\n'.repeat(500).slice(0, 20000);
  for (const name of editors) {
    await put(name, long);
    assert.equal((await board.colour({dialect: 'ubb'})).characters, long.length, name);
    assert.equal(await call(name, 'text'), cliMarkup(['--preset', 'ubb'], long), name);
  }
});

// An editor that ignores the paste, one that writes it wrong, one that adds
// to it after the caret, and coloured text in an editor that has no colours
// (TipTap's starter kit drops the coloured spans).
test('an editor that refuses the change, or writes it wrong, keeps its text, and the user is told', async () => {
  for (const [name, options] of [['stubborn', {}], ['mangler', {}], ['closer', {}], ['tiptap', {formatted: true}]]) {
    await board.page.evaluate(() => document.querySelectorAll('huecode-notice').forEach((notice) => notice.remove()));
    await put(name, 'kept as it is\nline2', [0, 4]);
    const result = await board.colour({dialect: 'ubb', ...options});
    assert.equal(result.replaced, false, name);
    assert.equal(result.reason, 'notHeld', name);
    assert.equal(await call(name, 'text'), 'kept as it is\nline2', name);
    assert.ok(await board.page.evaluate(() => Boolean(document.querySelector('huecode-notice'))),
      `${name}: no notice on the page`);
    assert.ok(await board.boxInNotice('button'), `${name}: the notice offers no copy`);
  }
});

test('a site that asks for coloured text gets it in the editor\'s model, formatting included', async () => {
  const {origin} = board;
  await board.background(async (origin) => {
    const key = 'huecode.extension.v1';
    const {[key]: stored = {}} = await chrome.storage.local.get(key);
    await chrome.storage.local.set({[key]: {...stored, sites: {[origin]: {dialect: 'ubb', formatted: true}}}});
  }, origin);
  for (const [name, options, args] of [['quill', {}, []], ['quill', {bold: true}, ['--bold']], ['design', {}, []],
    ['tinymce', {}, []], ['sceditor', {bold: true}, ['--bold']]]) {
    await put(name, post, [3, post.length]);
    const result = await board.colour(options);
    assert.deepEqual(result, {replaced: true, characters: post.length - 3, dialect: 'ubb', formatted: true}, name);
    assert.equal(await call(name, 'text'), post, `${name}: the text itself changed`);
    // The colours in order, as the command line writes them.
    const expected = [...cliMarkup(['--preset', 'ubb', ...args], post.slice(3)).matchAll(/color=#?([0-9A-F]{6})/gi)]
      .map((m) => [`#${m[1].toLowerCase()}`, Boolean(options.bold)]);
    assert.deepEqual(await call(name, 'colours'), expected, `${name} ${JSON.stringify(options)}`);
  }
});

test('the notice of a refused change copies the markup to the clipboard at a click', async () => {
  await board.allowClipboard();
  await board.page.evaluate(() => document.querySelectorAll('huecode-notice').forEach((notice) => notice.remove()));
  await put('stubborn', 'kept as it is', [0, 4]);
  assert.equal((await board.colour({dialect: 'ubb', formatted: false})).reason, 'notHeld');
  const button = await board.boxInNotice('button');
  await board.click(button.x, button.y);
  assert.equal(await board.page.evaluate(() => navigator.clipboard.readText()), cliMarkup(['--preset', 'ubb'], 'kept'));
});

test('the popup\'s coloured-text choice is kept for the site and used by its apply button', async () => {
  const {origin} = board;
  await board.background(() => chrome.storage.local.remove('huecode.extension.v1'));
  await put('quill', post, [0, 2]);
  const popup = await board.openPopup({toolbar: true});
  await popup.waitForSelector('#formatted-row:not([hidden])');
  await popup.check('#formatted');
  await popup.selectOption('#dialect', 'ubb');
  await popup.click('#apply');
  await popup.waitForSelector('#status:not(:empty)');
  const sites = await board.background(async () =>
    (await chrome.storage.local.get('huecode.extension.v1'))['huecode.extension.v1'].sites);
  assert.deepEqual(sites[origin], {dialect: 'ubb', formatted: true});
  assert.equal(await call('quill', 'text'), post, 'coloured text, not markup');
  assert.deepEqual((await call('quill', 'colours')).map(([colour]) => colour), [...cliMarkup(['--preset', 'ubb'],
    post.slice(0, 2)).matchAll(/color=([0-9A-F]{6})/g)].map((m) => `#${m[1].toLowerCase()}`));
  await popup.close().catch(() => {});
});
