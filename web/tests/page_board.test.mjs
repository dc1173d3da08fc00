// The preview on the board's colour, the length meter in GBK bytes against
// the system's own GBK encoder, and the served page opened from disk.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {after, before, test} from 'node:test';
import {cliMarkup, convert, openBrowser, openPage, webRoot} from './page.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

test('the preview warns of colours a board will not show, and says when it guesses', async () => {
  const {context, page} = await openPage(session);
  await page.fill('#text', 'green on white');
  // Each row: background, custom colour, whether the contrast warning shows.
  const boards = [['light', null, true], ['dark', null, false], ['custom', '#ffffff', true], ['custom', '#000000', false]];
  for (const [board, colour, warned] of boards) {
    await page.selectOption('#board', board);
    if (colour) {
      await page.fill('#board-colour', colour);
    }
    await convert(page);
    assert.equal(await page.isVisible('#contrast-warning'), warned, `${board} ${colour}`);
    const background = await page.$eval('#preview', (e) => getComputedStyle(e).backgroundColor);
    assert.equal(background, {light: 'rgb(255, 255, 255)', dark: 'rgb(27, 27, 31)', '#ffffff': 'rgb(255, 255, 255)',
      '#000000': 'rgb(0, 0, 0)'}[colour ?? board]);
  }
  assert.equal(await page.isVisible('#custom-note'), false);
  await page.fill('#middle', '|');
  assert.equal(await page.isVisible('#custom-note'), true);
  await context.close();
});

test('a limit in GBK bytes chooses the smallest step whose markup fits', async () => {
  const {context, page} = await openPage(session);
  const text = '彩色文字渐变效果,论坛 board';
  const gbkBytes = (markup) => execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], {input: markup}).length;
  const limit = gbkBytes(cliMarkup(['--endpoints', '--step', '3'], text)) + 1;
  await page.fill('#text', text);
  await page.selectOption('#limit-unit', 'gbk');
  await page.fill('#limit', String(limit));
  await page.check('#fit');
  const markup = await convert(page);
  // The counts end with the step the limit chose.
  const step = Number(/(\d+)\D*$/.exec(await page.textContent('#counts'))[1]);
  assert.equal(markup, cliMarkup(['--endpoints', '--step', String(step)], text).toString());
  assert.ok(gbkBytes(markup) <= limit && gbkBytes(cliMarkup(['--endpoints', '--step', String(step - 1)], text)) > limit, `step ${step}`);
  assert.match(await page.textContent('#meter'), new RegExp(`\\b${gbkBytes(markup)}\\b`));
  await page.fill('#limit', '5');
  await convert(page);
  assert.ok(await page.isVisible('#warning'));
  await context.close();
});

test('the served page opened from disk says what to do instead', async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(pathToFileURL(join(webRoot, 'index.html')).href);
  await page.waitForSelector('#file-note:not([hidden])');
  assert.match(await page.textContent('#file-note'), /huecode\.html/);
  await context.close();
});
