// A long text in the text box: pasted, edited in a window and after moving
// it, replaced after Select all (the key's or the menu's) and taken back
// with Ctrl+Z, copied whole, and kept whole across a reload; its markup is always huecode-cli's.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtemp, readFile, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {cliPath, clipboardText, onlyIn, openBrowser, openPage, setClipboard, waitForOutput} from './page.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

// Numbered parts, so that each is found in one place: lines (a window's
// edges fall after a line break), then parts of mostly emoji with no line
// break (its edges fall beside a surrogate pair). It ends without a line
// break, which a file read by the CLI would lose.
const lines = Array.from({length: 3000}, (_, k) => `${k} 彩色${'😀'.repeat(20)} <&>\n`);
const run = Array.from({length: 3000}, (_, k) => `${k}${'😀'.repeat(20)} `);
const original = `${lines.join('')}${run.join('')}end`;

async function markupMatches(page, text, name) {
  await waitForOutput(page);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  const folder = await mkdtemp(join(tmpdir(), 'huecode-long-'));
  await writeFile(join(folder, 'in.txt'), text);
  const expected = execFileSync(cliPath, ['--endpoints', '--input', join(folder, 'in.txt')], {maxBuffer: 1 << 30});
  const downloaded = await readFile(await download.path());
  assert.ok(downloaded.equals(expected.subarray(0, expected.length - 1)),
    `${name}: the markup differs from the CLI's (${downloaded.length} bytes, ${expected.length - 1} expected)`);
}

// The window the box shows: a part of the whole text, cut beside a pair.
async function shownWindow(page, text, name) {
  const shown = await page.inputValue('#text');
  assert.ok(shown.length > 1000 && shown.length < 40000, `${name}: the box holds ${shown.length} units`);
  assert.ok(!/^[\uDC00-\uDFFF]|[\uD800-\uDBFF]$/.test(shown), `${name}: a window's edge splits a pair`);
  const at = text.indexOf(shown);
  assert.ok(at >= 0, `${name}: the window is not part of the text`);
  assert.ok(await page.isVisible('#text-note') && await page.isVisible('#text-at'), `${name}: no note or slider`);
  return at;
}

const typeAt = async (page, offset, typed) => {
  await page.focus('#text');
  await page.evaluate((offset) => document.getElementById('text').setSelectionRange(offset, offset), offset);
  await page.keyboard.type(typed);
};

test('a long text is pasted, edited in its window, replaced, restored and kept whole', async () => {
  const {context, page, errors} = await openPage(session, {permissions: ['clipboard-read', 'clipboard-write']});
  await setClipboard(page, original);
  await page.focus('#text');
  await page.keyboard.press('Control+v');
  await page.waitForSelector('#text-note:visible');
  await markupMatches(page, original, 'pasted');
  await shownWindow(page, original, 'pasted');

  // An edit in the window, then one at the start of the last window.
  let text = original;
  const first = await shownWindow(page, text, 'first edit');
  const lineStart = (await page.inputValue('#text')).indexOf('\n') + 1;
  await typeAt(page, lineStart, '改AB');
  text = `${text.slice(0, first + lineStart)}改AB${text.slice(first + lineStart)}`;
  await page.evaluate(() => {
    const slider = document.getElementById('text-at');
    slider.value = slider.max;
    slider.dispatchEvent(new Event('input'));
  });
  const last = await shownWindow(page, text, 'moved to the end');
  assert.ok(text.endsWith(await page.inputValue('#text')), 'the slider\'s end shows the text\'s end');
  await typeAt(page, 0, 'XY');
  text = `${text.slice(0, last)}XY${text.slice(last)}`;
  await markupMatches(page, text, 'two edits');

  // Select all (the key, or the menu's as a phone gives it), then Copy
  // takes the whole text, and so do the keys to the text's ends, past the
  // window. Typing after the menu's Select all replaces the text, Ctrl+Z
  // restores it.
  for (const [name, select, copied] of [
    ['Ctrl+A', () => page.keyboard.press('Control+a'), text],
    ['the keys to the text\'s ends', async () => {
      await page.keyboard.press('Control+Home');
      await page.keyboard.press('Control+Shift+End');
    }, text],
    ['the keys from a caret to the end', () => page.keyboard.press('Control+Home').then(() => page.$eval('#text',
      (box) => box.setSelectionRange(2, 2))).then(() => page.keyboard.press('Control+Shift+End')), text.slice(2)],
    ['the range set outside a drag', () => page.$eval('#text', (box) => box.setSelectionRange(0, box.value.length)), text],
    ['the menu\'s Select all', () => page.evaluate(() => document.execCommand('selectAll')), text]]) {
    await page.focus('#text');
    await page.keyboard.press('Control+End');
    // The page counts a selection as the keys' own until the timer their
    // keyup sets has run: a later one has run after it.
    await page.evaluate(() => new Promise((resolve) => setTimeout(resolve)));
    await select();
    await page.keyboard.press('Control+c');
    assert.equal(await clipboardText(page), copied, `copy after ${name}`);
  }
  await page.keyboard.type('新');
  assert.equal(await page.inputValue('#text'), '新');
  assert.ok(await page.isHidden('#text-at'), 'a short text has no slider');
  await markupMatches(page, '新', 'replaced');
  await page.focus('#text');
  await page.keyboard.press('Control+z');
  await markupMatches(page, text, 'undone');
  // The undo showed the start: Ctrl+End and Ctrl+Home type at the text's ends.
  await page.focus('#text');
  await page.keyboard.press('Control+End').then(() => page.keyboard.type('末'));
  await page.keyboard.press('Control+Home').then(() => page.keyboard.type('始'));
  text = `始${text}末`;
  await markupMatches(page, text, 'typed at the ends');

  // The kept draft is the whole text.
  await page.waitForTimeout(500);
  await page.reload();
  await markupMatches(page, text, 'after a reload');
  assert.equal(await shownWindow(page, text, 'after a reload'), 0);
  assert.deepEqual(errors, []);
  await context.close();
});

// A long text's keeping that takes 1.5 s (as on a busy machine) is slow, not
// refused: the text is neither reported unkept nor written to localStorage
// (where a megabytes-long JSON string would block the page).
test('a long text IndexedDB is slow to keep is kept there, and only there',
  onlyIn(['chromium', 'firefox'], 'WebKit\'s WebDriver runs no script before the page\'s own'), async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  await context.addInitScript(() => {
    const Original = Worker;
    window.Worker = class SlowKeeper extends Original {
      constructor(url, options) {
        super(url, options);
        const post = this.postMessage.bind(this);
        this.postMessage = (...message) => setTimeout(() => post(...message), options?.name === 'keeper' ? 1500 : 0);
      }
    };
  });
  const page = await context.newPage();
  await page.goto(session.server.url);
  await waitForOutput(page);
  const text = original.slice(0, original.indexOf('\n', 150000));
  await page.evaluate((text) => {
    const box = document.getElementById('text');
    box.value = text;
    box.dispatchEvent(new Event('input', {bubbles: true}));
  }, text);
  await page.waitForTimeout(2500);
  assert.deepEqual(await page.evaluate(() => [localStorage.getItem('huecode.text.v1'),
    document.getElementById('storage-note')]), [null, null]);
  await page.reload();
  await markupMatches(page, text, 'kept slowly');
  await context.close();
});
