// axe-core finds no violation in either language, with every kind of control
// on show, on a desktop and on a phone-sized screen (which must not scroll sideways).
import assert from 'node:assert/strict';
import {readFile} from 'node:fs/promises';
import {createRequire} from 'node:module';
import {after, before, test} from 'node:test';
import {convert, openBrowser, openPage} from './page.mjs';

const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

const screens = [
  {name: 'desktop', width: 1280, height: 900},
  {name: 'phone', width: 360, height: 740},
];

for (const locale of ['zh-CN', 'en-US']) {
  for (const screen of screens) {
    test(`${locale} on a ${screen.name}`, async () => {
      const {context, page} = await openPage(session, {locale});
      await page.setViewportSize(screen);
      await page.fill('#text', '彩色文字 colourful text');
      await page.click('#add-stop');
      await page.fill('#limit', '10');
      await convert(page);
      await page.evaluate(axeSource);
      const results = await page.evaluate(() => window.axe.run(document));
      const violations = results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`);
      assert.deepEqual(violations, []);
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth),
        'the page scrolls sideways');
      await context.close();
    });
  }
}

test('the keyboard reaches every main control, and focus is always visible', async () => {
  const {context, page} = await openPage(session);
  const reached = new Set();
  // Once past the last control the focus leaves the page for the browser.
  for (let k = 0; k < 60; ++k) {
    await page.keyboard.press('Tab');
    const focused = await page.evaluate(() => {
      const element = document.activeElement;
      const style = getComputedStyle(element);
      return {id: element.id, visible: style.outlineStyle !== 'none' && parseFloat(style.outlineWidth) >= 2,
        left: element === document.body};
    });
    if (focused.left) {
      break;
    }
    assert.ok(focused.visible, `no visible focus on #${focused.id}`);
    reached.add(focused.id);
  }
  const main = ['language', 'text', 'start', 'end', 'add-stop', 'rainbow', 'endpoints', 'space', 'step', 'by', 'merge', 'limit',
    'fit', 'dialect', 'prefix', 'middle', 'suffix', 'bold', 'italic', 'underline', 'strike', 'escape', 'convert', 'reset', 'output', 'copy', 'download'];
  for (const id of main) {
    assert.ok(reached.has(id), `Tab never reaches #${id}`);
  }
  await context.close();
});
