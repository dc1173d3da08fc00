// Pasted markup offers its plain text (one click, undone with Ctrl+Z), and
// "copy as" copies the same text and gradient in another dialect, leaving
// the settings as they were; both write what huecode-cli writes.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {cliMarkup, clipboardText, convert, onlyIn, openBrowser, openPage, resetPage, setClipboard, setControl} from './page.mjs';

let session;
before(async () => {
  session = await openBrowser();
});
after(() => session.close());

test('pasting coloured markup offers its plain text, undone like typing', async () => {
  const {context, page} = await openPage(session, {permissions: ['clipboard-read', 'clipboard-write']});
  await resetPage(page, {clearText: true});
  // Characters outside the BMP count one each, as the counts line counts them.
  const plain = 'Hi "论坛" 👋🏽\nok';
  for (const preset of ['ubb', 'json', 'legacy']) {
    const markup = cliMarkup(['--preset', preset], plain).toString();
    await setControl(page, 'text', 'before: ');
    await setClipboard(page, markup);
    await page.focus('#text');
    await page.keyboard.press('End');
    await page.keyboard.press('Control+V');
    await page.waitForSelector('#paste-offer:not([hidden])');
    assert.match(await page.textContent('#paste-offer-text'), new RegExp(`\\b${[...plain].length}\\b`), preset);
    await page.click('#paste-plain');
    assert.equal(await page.inputValue('#text'), `before: ${plain}`, preset);
    assert.ok(await page.isHidden('#paste-offer'));
    await page.focus('#text');
    await page.keyboard.press('Control+Z');
    assert.equal(await page.inputValue('#text'), `before: ${markup}`, preset);
  }
  // Plain text pastes without an offer.
  await setClipboard(page, 'no [markup] here');
  await page.keyboard.press('Control+V');
  await page.waitForTimeout(300);
  assert.ok(await page.isHidden('#paste-offer'));
  await context.close();
});

test('copy as another dialect copies its markup and leaves the settings alone', onlyIn(['chromium', 'firefox'],
  'WebKit lets a page write the clipboard only in a gesture, and its WebDriver picks an option without one'), async () => {
  const {context, page} = await openPage(session, {permissions: ['clipboard-read', 'clipboard-write']});
  await resetPage(page, {clearText: true});
  await setControl(page, 'text', 'Hello, 论坛');
  await setControl(page, 'bold', true);
  const before = await convert(page);
  for (const [dialect, args] of [['json', ['--bold']], ['rgb', []], ['ansi', ['--bold']], ['html', ['--bold']]]) {
    // The status says when the copy is done: what an earlier step left there must not count.
    await page.evaluate(() => { document.getElementById('status').textContent = ''; });
    await page.selectOption('#copy-as', dialect);
    await page.waitForFunction(() => document.getElementById('status').textContent !== '');
    const copied = await clipboardText(page);
    assert.equal(copied, cliMarkup(['--preset', dialect, '--endpoints', ...args], 'Hello, 论坛').toString(), dialect);
    assert.equal(await page.inputValue('#copy-as'), '');
  }
  assert.equal(await page.inputValue('#output'), before);
  assert.equal(await page.inputValue('#dialect'), 'bbcode');
  await context.close();
});
