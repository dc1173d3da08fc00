// Nothing the user does is lost or silently changed: the stop list, undo,
// dialect switches, reloads, bad input, share links, and gradient files.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {readFile} from 'node:fs/promises';
import {after, before, test} from 'node:test';
import {cliMarkup, cliPath, clipboardText, convert, onlyIn, openBrowser, openPage, resetPage, setControl, waitForOutput}
  from './page.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

const colours = (page) => page.evaluate(() => ['start', ...[...document.querySelectorAll('#stops input[type=color]')]
  .map((i) => i.id), 'end'].map((id) => document.getElementById(id).value));
const focused = (page) => page.evaluate(() => {
  const e = document.activeElement;
  return `${e.closest('li') ? [...e.closest('ol').children].indexOf(e.closest('li')) + 1 : ''}${e.id || e.textContent}`;
});

test('stops, undo, dialect switches and reloads keep every edit', async () => {
  const {context, page, errors} = await openPage(session);
  await page.click('#add-stop');
  await page.click('#add-stop');
  await page.fill('#stop-1', '#ffff00');
  await page.fill('#start', '#0000ff');
  // Each row: the button pressed, the colours after it, where the focus is.
  const steps = [
    ['#stops li:nth-child(1) button[data-move="1"]', ['#0000ff', '#40c040', '#ffff00', '#00ff00'], '2stop-2'],
    ['#stops li:nth-child(2) button[data-move="-1"]', ['#0000ff', '#ffff00', '#40c040', '#00ff00'], '1stop-1'],
    ['#stops li:nth-child(2) button[data-move="0"]', ['#0000ff', '#ffff00', '#00ff00'], '1×'],
    ['#stops li:nth-child(1) button[data-move="0"]', ['#0000ff', '#00ff00'], 'end'],
  ];
  for (const [button, expected, focus] of steps) {
    await page.click(button);
    assert.deepEqual(await colours(page), expected, button);
    assert.equal(await focused(page), focus, button);
  }
  // Ctrl+Z outside a text box undoes settings; Ctrl+Shift+Z redoes.
  for (const [keys, expected] of [['Control+z', 3], ['Control+z', 4], ['Control+Shift+z', 3]]) {
    await page.keyboard.press(keys);
    assert.equal((await colours(page)).length, expected, keys);
  }
  assert.equal((await colours(page))[0], '#0000ff');
  await page.fill('#step', '12');
  await page.fill('#step', '2');
  await page.focus('#convert');
  await page.keyboard.press('Control+z');
  assert.equal(await page.inputValue('#step'), '1', 'typing into one box is one undo step');

  // The list names what the boxes hold; a switch over an edited template can be undone.
  assert.equal(await page.inputValue('#dialect'), 'bbcode');
  await page.fill('#prefix', '{');
  // The list follows the template once the core has read it.
  await page.waitForSelector('#custom-note', {timeout: 10000});
  assert.equal(await page.inputValue('#dialect'), 'custom');
  await page.selectOption('#dialect', 'html');
  assert.equal(await page.inputValue('#prefix'), '<font color=');
  await page.click('.toast[data-kind=template] .toast-undo');
  assert.equal(await page.inputValue('#prefix'), '{');

  await page.fill('#text', '留下 kept');
  await page.reload();
  await waitForOutput(page);
  assert.equal(await page.inputValue('#text'), '留下 kept');
  assert.equal(await page.inputValue('#prefix'), '{');
  assert.deepEqual(errors, []);
  await context.close();
});

test('a reset that clears the text is undone with it, by Undo and by Ctrl+Z in the box', async () => {
  const {context, page, errors} = await openPage(session);
  await setControl(page, 'text', '我的文字');
  await setControl(page, 'step', '3');
  const state = async () => [await page.inputValue('#text'), await page.inputValue('#step')];
  await resetPage(page, {clearText: true});
  assert.deepEqual(await state(), ['', '1']);
  // Each row: what is clicked, the text and the step after it.
  for (const [click, after] of [['#undo', ['我的文字', '3']], ['#redo', ['', '1']], ['#undo', ['我的文字', '3']]]) {
    await page.click(click);
    assert.deepEqual(await state(), after, click);
  }
  // Over the default settings the cleared text is still a step of its own.
  await resetPage(page);
  await resetPage(page, {clearText: true});
  await page.click('#undo');
  assert.deepEqual(await state(), ['我的文字', '1']);
  await resetPage(page, {clearText: true});
  await page.focus('#text');
  await page.keyboard.press('Control+z');
  assert.equal(await convert(page), cliMarkup(['--endpoints'], '我的文字').toString());
  assert.deepEqual(errors, []);
  await context.close();
});

test('bad numbers and colours say what is wrong and convert nothing', async () => {
  const {context, page} = await openPage(session);
  await page.fill('#text', 'abcdef');
  const good = await convert(page);
  const fields = [['step', '0'], ['step', '-1'], ['step', 'abc'], ['step', '1e3'], ['step', '1.5'], ['step', ''],
    ['limit', 'abc'], ['limit', '１０.5'], ['start-hex', '#ff00f'], ['start-hex', 'red']];
  for (const [id, value] of fields) {
    await page.fill(`#${id}`, value);
    // The core reads the step in its worker: the mark comes with its answer.
    await page.waitForSelector(`#${id}[aria-invalid=true]`);
    const message = await page.textContent(`#${id}-error`);
    assert.ok(message.length > 5 && await page.isVisible(`#${id}-error`), `${id} ${value}: no message`);
    assert.equal(await convert(page), good, `${id} ${value} converted`);
    await page.fill(`#${id}`, {step: '1', limit: '', 'start-hex': '#FF00FF'}[id]);
    await page.waitForSelector(`#${id}:not([aria-invalid])`);
  }
  await page.fill('#step', '２');
  await page.fill('#end-hex', '#f80');
  assert.equal(await page.inputValue('#end'), '#ff8800');
  assert.equal(await convert(page), cliMarkup(['--endpoints', '--step', '2', '--end', 'FF8800'], 'abcdef').toString());
  await context.close();
});

// Where and why huecode-cli refuses a format: [column, message].
function cliFormatError(format) {
  try {
    execFileSync(cliPath, ['--format', format, '--', 'x'], {stdio: 'pipe'});
  } catch (error) {
    const [, column, message] = /at character (\d+): (.*) \(see --help\)/.exec(error.stderr.toString());
    return [column, message];
  }
  throw new Error(`huecode-cli took the format ${format}`);
}

test('a format that cannot be read is explained in its field in either language; the last markup stays', async () => {
  const legacy = '&x&{R1}&{R2}&{G1}&{G2}&{B1}&{B2}{codes}{text}';
  // Typed into the box, or brought by a link; a dialect's own format edited loses its {codes}.
  const formats = ['&#{HEXX}{text}', '&#{HEX}', '{text}{text}', '}', '<#{HEX}', `${legacy}&r`, 'link:x{text}}'];
  for (const locale of ['zh-CN', 'en']) {
    const {context, page, errors} = await openPage(session, {locale});
    await page.fill('#text', 'abc def');
    const good = await convert(page);
    const counts = await page.textContent('#counts');
    for (const row of formats) {
      const format = row.replace(/^link:/, '');
      if (row.startsWith('link:')) {
        await page.evaluate((f) => { location.hash = `#huecode=1&format=${encodeURIComponent(f)}`; }, format);
        await page.waitForFunction((f) => document.getElementById('format').value === f, format);
      } else {
        await page.fill('#format', format);
      }
      await page.waitForSelector('#format[aria-invalid=true]');
      await waitForOutput(page);
      const [column, message] = cliFormatError(format);
      const said = await page.textContent('#format-error');
      if (locale === 'en') {
        assert.equal(said, `The format is wrong at character ${column}: ${message}`, row);
      } else {
        assert.ok(said.startsWith(`格式串第 ${column} 个字符处有误：`) && !said.includes(message), said);
      }
      assert.ok(await page.isVisible('#format-error'), row);
      assert.deepEqual([await page.inputValue('#output'), await page.textContent('#counts')], [good, counts], row);
      assert.match(await page.textContent('#output-note'), /改正|Correct/, row);
      await page.fill('#format', '');
      await page.waitForSelector('#format:not([aria-invalid])');
    }
    assert.deepEqual(errors, []);
    await context.close();
  }
});

test('controls changed before the core is ready wait for it, and their edits convert once it is',
  onlyIn(['chromium'], 'only Chromium\'s protocol holds a request back'), async () => {
  const context = await session.browser.newContext({locale: 'en'});
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  let release;
  const held = new Promise((resolve) => {
    release = resolve;
  });
  await page.route('**/huecode.wasm', async (route) => {
    await held;
    await route.continue();
  });
  await page.goto(session.server.url);
  assert.equal(await page.isDisabled('#dialect'), true);
  await page.fill('#text', 'early bird');
  for (const [id, value] of [['dialect', 'legacy'], ['step', '3'], ['format', '<{HEX}>{text}'], ['space', 'oklab'],
    ['copy-as', 'html']]) {
    await setControl(page, id, value);
  }
  await page.evaluate(() => ['shuffle', 'add-stop', 'convert'].forEach((id) => document.getElementById(id).click()));
  release();
  await page.waitForFunction(() => document.getElementById('output').value !== '');
  assert.equal(await page.inputValue('#output'), cliMarkup(['--endpoints', '--step', '3', '--space', 'oklab',
    '--format', '<{HEX}>{text}'], 'early bird').toString());
  assert.equal(await page.isDisabled('#dialect'), false);
  assert.deepEqual(errors, []);
  await context.close();
});

test('a share link restores the settings in a fresh browser, leaves saved gradients alone, survives damage', async () => {
  const first = await openPage(session, {permissions: ['clipboard-read', 'clipboard-write']});
  await first.page.click('#gallery li:nth-child(9) button');
  for (const [id, value] of [['step', '3'], ['prefix', '<c='], ['limit', '500'], ['text', '分享 link']]) {
    await first.page.fill(`#${id}`, value);
  }
  await first.page.selectOption('#board', 'dark');
  await first.page.check('#share-text');
  await first.page.click('#share');
  await first.page.waitForFunction(() => document.getElementById('announce').textContent !== '');
  const link = await clipboardText(first.page);
  const ids = ['start', 'end', 'space', 'step', 'prefix', 'limit', 'board', 'text', 'dialect'];
  const values = (page) => page.evaluate((ids) => ids.map((id) => document.getElementById(id).value), ids);
  const sent = await values(first.page);
  await first.context.close();

  const {context, page} = await openPage(session);
  await page.fill('#save-name', 'mine');
  await page.click('#save-gradient');
  const saved = await page.evaluate(() => localStorage.getItem('huecode.gradients.v1'));
  await page.goto(link);
  await waitForOutput(page);
  assert.deepEqual(await values(page), sent);
  assert.equal(await page.evaluate(() => localStorage.getItem('huecode.gradients.v1')), saved);
  assert.equal(await page.evaluate(() => location.hash), '');

  const links = [['#huecode=1&step=4&stops=zz-00ff00', /stops/, {step: '4', start: '#ff00ff'}],
    ['#huecode=7&step=5&future=1', /newer|更新/, {step: '5'}],
    ['#huecode=&step=%E5', /damaged|损坏|无法读取/, {step: '1'}],
    // Read, but refused: reported as such, not as used.
    ['#huecode=1&step=0&limit=-1&space=oklab', /step, limit.*无效/, {step: '1', limit: '', space: 'oklab'}]];
  for (const [fragment, message, expected] of links) {
    await page.evaluate((fragment) => { location.hash = fragment; }, fragment);
    await page.waitForFunction(() => location.hash === '');
    assert.match(await page.textContent('.toast[data-kind=link] span'), message, fragment);
    for (const [id, value] of Object.entries(expected)) {
      assert.equal(await page.inputValue(`#${id}`), value, `${fragment} ${id}`);
    }
  }
  await context.close();
});

test('saved gradients export, import into another browser, and a bad file changes nothing', async () => {
  const {context, page} = await openPage(session);
  await page.fill('#start', '#123456');
  for (const name of ['一号', 'Two']) {
    await page.fill('#save-name', name);
    await page.click('#save-gradient');
  }
  await page.click('#saved li:nth-child(2) button:nth-child(2)');
  await page.waitForFunction(() => document.querySelector('#saved li .label')?.textContent === 'Two');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export')]);
  const file = JSON.parse(await readFile(await download.path(), 'utf8'));
  assert.deepEqual(file.gradients.map((g) => [g.name, g.stops[0]]), [['Two', '#123456'], ['一号', '#123456']]);
  await context.close();

  const other = await openPage(session);
  const names = () => other.page.$$eval('#saved li button.pick', (b) => b.map((e) => e.textContent));
  const files = [
    [JSON.stringify(file), ['Two', '一号'], /2/],
    ['{"format":"huecode-gradients","version":1,"gradients":[{"name":"x","stops":["#000000","oops"]}]}',
      ['Two', '一号'], /oops/],
    ['not json', ['Two', '一号'], /JSON/],
  ];
  for (const [text, expected, message] of files) {
    await other.page.setInputFiles('#import-file', {name: 'g.json', mimeType: 'application/json',
      buffer: Buffer.from(text)});
    await other.page.waitForFunction(() => document.getElementById('library-status').textContent !== '');
    assert.match(await other.page.textContent('#library-status'), message);
    assert.deepEqual(await names(), expected);
    await other.page.evaluate(() => { document.getElementById('library-status').textContent = ''; });
  }
  await other.page.click('#saved li:nth-child(1) button.pick');
  assert.equal(await other.page.inputValue('#start'), '#123456');
  await other.context.close();
});
