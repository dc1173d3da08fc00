// The extension on a board's post page: every kind of field coloured in
// place through the service worker's colourSelection, byte for byte what
// huecode-cli writes for the same settings.
import assert from 'node:assert/strict';
import {readFile} from 'node:fs/promises';
import {createRequire} from 'node:module';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {cliMarkup, fieldText, openBoard, select} from './harness.mjs';

const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const hostile = '<img src=x onerror="window.pwned = 1">';
// field, frame, text, selection (none: the whole field), options, the CLI's options.
const cases = [
  {field: 'area', text: 'say hello world now', range: [4, 15], options: {dialect: 'ubb'}, args: ['--preset', 'ubb'],
    undo: true},
  {field: 'area', text: 'two\nlines\r\nof text', options: {dialect: 'brelvin', step: '3'},
    args: ['--preset', 'brelvin', '--step', '3']},
  // The core leaves out the spaces round a text; the field keeps them.
  {field: 'area', text: 'a  picked words  b', range: [1, 17], options: {dialect: 'bbcode'}, args: ['--preset', 'bbcode']},
  {field: 'line', text: '彩色文字 huecode 😀', options: {dialect: 'html', start: '#0000ff', end: '#FF0000', step: '2'},
    args: ['--preset', 'html', '--start', '0000FF', '--end', 'FF0000', '--step', '2']},
  {field: 'rich', text: `say ${hostile} aloud`, range: [4, 4 + hostile.length], options: {dialect: 'span'},
    args: ['--preset', 'span']},
  {field: 'area', text: 'bold and exact', options: {dialect: 'ubb', bold: true, endpoints: true},
    args: ['--preset', 'ubb', '--bold', '--endpoints']},
  {field: 'line', text: 'game chat', options: {dialect: 'ampersand', italic: true, strike: true},
    args: ['--preset', 'ampersand', '--italic', '--strike']},
  {field: 'inner', inFrame: true, text: 'in a frame', range: [5, 10], options: {dialect: 'minimessage'},
    args: ['--preset', 'minimessage']},
  {field: 'area', text: 'say "hi" to the server', options: {dialect: 'json', bold: true},
    args: ['--preset', 'json', '--bold']},
  {field: 'line', text: 'server motd', options: {dialect: 'section', underline: true},
    args: ['--preset', 'section', '--underline']},
  // The text's own codes go through as codes, and the answer names the first.
  {field: 'area', text: 'a&aa &l', options: {dialect: 'legacy', step: '3'}, args: ['--preset', 'legacy', '--step', '3'],
    code: '&a'},
  {field: 'line', text: 'say <b>hi there', options: {dialect: 'minimessage', step: '4'},
    args: ['--preset', 'minimessage', '--step', '4'], code: '<b>'},
];

let board;
before(async () => {
  board = await openBoard();
});
after(() => board?.close());

test('each field is coloured in place like huecode-cli, undoably, with input events', async () => {
  for (const row of cases) {
    const frame = row.inFrame ? board.frame() : board.page;
    await select(frame, row.field, row.text, row.range);
    const original = await fieldText(frame, row.field);
    const [start, end] = row.range ?? [0, original.length];
    const picked = original.slice(start, end);
    const {note, ...result} = await board.colour(row.options);
    assert.deepEqual(result, {replaced: true, characters: picked.length, dialect: row.options.dialect}, row.field);
    assert.equal(note && /“(.*)”/u.exec(note)?.[1], row.code, `${row.text}: ${note}`);
    const [lead, trail] = [/^ */.exec(picked)[0], / *$/.exec(picked)[0]];
    const expected = original.slice(0, start) + lead + cliMarkup(row.args, picked) + trail + original.slice(end);
    assert.equal(await fieldText(frame, row.field), expected, `${row.field}: ${row.text}`);
    assert.ok((await frame.evaluate(() => window.inputs)).includes(row.field), `${row.field}: no input event`);
    if (row.undo) {
      await board.page.keyboard.press('Control+Z');
      assert.equal(await fieldText(frame, row.field), original, 'Ctrl+Z did not bring the original back');
    }
  }
  const rich = await board.page.evaluate(() => ({images: document.querySelectorAll('#rich img').length,
    pwned: window.pwned}));
  assert.deepEqual(rich, {images: 0, pwned: undefined}, 'the rich editor read the markup as HTML');
});

// A plain rich field's lines as paragraphs, blocks or line breaks, | marking
// the selection (none: the whole field, from a caret); the words outside it
// keep their formatting.
const lineRows = [
  ['<p>one |two</p><p>three| four</p>', 'two\nthree'],
  ['<div>one |two</div><div>three| four</div>', 'two\nthree'],
  ['one |two<br>three| four', 'two\nthree'],
  ['<div>one <b>bold</b> |two</div><div><br></div><div>th|ree <i>it</i></div>', 'two\n\nth'],
  ['<p>first</p><p>second</p><p>third</p>', 'first\nsecond\nthird'],
];

// The field's lines as a board reads its HTML: one per block or per <br>.
function linesOf(id) {
  const box = document.getElementById(id).cloneNode(true);
  box.querySelectorAll('br').forEach((br) => br.replaceWith(br.parentNode.childNodes.length === 1 ? '' : '\n'));
  const blocks = [...box.children].filter((child) => ['P', 'DIV'].includes(child.tagName));
  const text = blocks.length > 0 ? blocks.map((block) => block.textContent).join('\n') : box.textContent;
  return {text: text.replace(/\u00A0/g, ' '), tags: blocks.map((block) => block.tagName),
    nested: box.querySelector(':is(p, div) :is(p, div)') !== null, formats: box.querySelectorAll('b, i').length};
}

test('a selection across the lines of a plain rich field is coloured line for line, the lines kept', async () => {
  for (const [html, picked] of lineRows) {
    await board.page.evaluate((html) => {
      const field = document.getElementById('rich');
      field.replaceChildren(...new DOMParser().parseFromString(html, 'text/html').body.childNodes);
      field.focus();
      // Each | taken out of its text, where it marks a point of the selection.
      const points = [];
      const walker = document.createTreeWalker(field, NodeFilter.SHOW_TEXT);
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        for (let at = node.data.indexOf('|'); at >= 0; at = node.data.indexOf('|')) {
          node.deleteData(at, 1);
          points.push(node, at);
        }
      }
      getSelection().setBaseAndExtent(...(points.length > 0 ? points : [field, 0, field, 0]));
    }, html);
    const before = await board.page.evaluate(linesOf, 'rich');
    const result = await board.colour({dialect: 'ubb'});
    assert.deepEqual(result, {replaced: true, characters: picked.length, dialect: 'ubb'}, html);
    const at = before.text.indexOf(picked);
    const after = await board.page.evaluate(linesOf, 'rich');
    assert.deepEqual(after, {...before, text: before.text.slice(0, at) + cliMarkup(['--preset', 'ubb'], picked) +
      before.text.slice(at + picked.length)}, html);
    await board.page.keyboard.press('Control+Z');
    assert.deepEqual(await board.page.evaluate(linesOf, 'rich'), before, `${html}: one Ctrl+Z`);
  }
});

test('read-only and password fields and bad options are refused, the field left alone', async () => {
  for (const [field, reason] of [['locked', 'readOnly'], ['secret', 'password']]) {
    const before = await fieldText(board.page, field);
    await board.page.focus(`#${field}`);
    const result = await board.colour({dialect: 'ubb'});
    assert.equal(result.replaced, false, field);
    assert.equal(result.reason, reason, field);
    assert.ok(result.message.length > 0, `${field}: no message`);
    assert.equal(await fieldText(board.page, field), before, `${field} changed`);
  }
  assert.ok(await board.page.evaluate(() => Boolean(document.querySelector('huecode-notice'))), 'no notice on the page');
  await select(board.page, 'area', 'untouched', [0, 9]);
  for (const options of [{dialect: 'constructor'}, {start: 'red'}, {step: 2}, {colour: '#FF0000'},
    {dialect: 'brelvin', bold: true}]) {
    assert.equal((await board.colour(options)).reason, 'badOption', JSON.stringify(options));
  }
  assert.equal(await fieldText(board.page, 'area'), 'untouched');
});

test('a site\'s dialect is asked once, suggested from the markup in the field, and kept across a reload',
  async () => {
    // Markup that huecode-cli writes in a dialect, already in the field, suggests that dialect.
    for (const dialect of ['ubb', 'bbcode', 'html', 'span', 'brelvin', 'minimessage', 'ampersand']) {
      await board.background(() => chrome.storage.local.remove('huecode.extension.v1'));
      const old = `${cliMarkup(['--preset', dialect], 'old')} new`;
      await select(board.page, 'area', old, [old.length - 3, old.length]);
      const asking = board.colour({});
      await board.page.waitForSelector('huecode-prompt', {state: 'attached'});
      await board.page.keyboard.press('Enter');
      assert.equal((await asking).dialect, dialect);
    }
    await board.page.reload();
    await select(board.page, 'area', 'again', [0, 5]);
    assert.deepEqual(await board.colour({}), {replaced: true, characters: 5, dialect: 'ampersand'});
    assert.equal(await fieldText(board.page, 'area'), cliMarkup(['--preset', 'ampersand'], 'again'));
  });

test('a long post of 20,000 characters is coloured whole, and Ctrl+Z brings it back', async () => {
  const post = '长帖子里的一段话, with some English words too.\n'.repeat(600).slice(0, 20000);
  await select(board.page, 'area', post);
  const result = await board.colour({dialect: 'ubb'});
  assert.equal(result.characters, 20000);
  assert.equal(await fieldText(board.page, 'area'), cliMarkup(['--preset', 'ubb'], post));
  await board.page.keyboard.press('Control+Z');
  assert.equal(await fieldText(board.page, 'area'), post);
});

test('a saved gradient with stops at positions colours as huecode-cli places them', async () => {
  await board.background(async () => {
    const gradients = [{id: 'gplaced', name: 'placed', space: 'rgb', stops: ['#000000', '#FF0000', '#0000FF'],
      positions: [null, 20, null]}];
    await chrome.storage.local.set({
      'huecode.extension.v1': {choice: {gradient: {source: 'saved', id: 'gplaced'}}, sites: {}},
      'huecode.gradients.v1': JSON.stringify({format: 'huecode-gradients', version: 2, gradients}),
    });
  });
  await select(board.page, 'area', 'stops where placed', [0, 18]);
  await board.colour({dialect: 'ubb'});
  assert.equal(await fieldText(board.page, 'area'), cliMarkup(['--preset', 'ubb', '--start', '000000', '--end',
    '0000FF', '--via', 'FF0000@20'], 'stops where placed'));
  await board.background(() => chrome.storage.local.remove(['huecode.extension.v1', 'huecode.gradients.v1']));
});

test('a code editor\'s input field gets the markup once, and the answer says it was not checked', async () => {
  await select(board.page, 'proxy', 'typed words', [0, 11]);
  const result = await board.colour({dialect: 'ubb'});
  assert.equal(result.reason, 'unchecked');
  assert.equal(await board.page.evaluate(() => document.getElementById('proxied').textContent),
    cliMarkup(['--preset', 'ubb'], 'typed words'));
});

test('the dialects are named as the core names them, and the extension keeps no names of its own', async () => {
  const popup = await board.openPopup();
  // What the popup lists for the board's tab.
  const {shown, language} = await popup.evaluate(async () => {
    const [tab] = await chrome.tabs.query({url: 'http://127.0.0.1/*'});
    const answer = await chrome.runtime.sendMessage({type: 'preview', tabId: tab.id});
    return {shown: answer.dialects.map(({key, label}) => [key, label]), language: chrome.i18n.getUILanguage()};
  });
  await popup.close();
  // The core's interface, read on the test site from the built page's worker.
  const core = await board.page.evaluate(() => new Promise((resolve, reject) => {
    const worker = new Worker('/web/core/worker.js', {type: 'module'});
    worker.addEventListener('message', ({data}) => (data.ready ? resolve(data.core.dialects
      .map(({key, labels}) => [key, labels])) : reject(new Error(data.error))), {once: true});
  }));
  assert.deepEqual(shown, core.map(([key, labels]) => [key, labels[language.startsWith('zh') ? 'zh' : 'en']]));
  for (const locale of ['en', 'zh_CN']) {
    const messages = JSON.parse(await readFile(join(process.env.HUECODE_EXTENSION_DIR, '_locales', locale,
      'messages.json'), 'utf8'));
    assert.deepEqual(Object.keys(messages).filter((key) => core.some(([dialect]) => key.includes(dialect))), [],
      locale);
  }
});

test('the popup has no axe violation with a long preview, which the keyboard can reach and scroll', async () => {
  await select(board.page, 'area', '彩色文字 colourful text\n'.repeat(200));
  const popup = await board.openPopup({toolbar: true});
  await popup.waitForFunction(() => document.querySelectorAll('#preview span').length > 0);
  assert.ok(await popup.$eval('#preview', (e) => e.scrollHeight > e.clientHeight), 'the preview does not scroll');
  await popup.evaluate(axeSource);
  // A toolbar popup is a small panel, not a page: it has no landmarks or top heading to find.
  const results = await popup.evaluate(() => window.axe.run(document, {rules: Object.fromEntries(
    ['landmark-one-main', 'page-has-heading-one', 'region'].map((rule) => [rule, {enabled: false}]))}));
  assert.deepEqual(results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`), []);
  await popup.close();
});
