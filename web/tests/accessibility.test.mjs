// axe-core finds no violation in either language, light or dark, with every
// kind of control on show, on a desktop (where the text and the result are in
// view together) and on a phone-sized screen (which must not scroll sideways),
// with a short text and with one long enough to be shown a window at a time
// (whose preview scrolls).
import assert from 'node:assert/strict';
import {readFile} from 'node:fs/promises';
import {createRequire} from 'node:module';
import {after, before, test} from 'node:test';
import {convert, engine, onlyIn, openBrowser, openPage, reveal} from './page.mjs';

const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

const desktop = {width: 1280, height: 800};
const phone = {width: 360, height: 740};
const short = '彩色文字 colourful text';
const long = '彩色文字 colourful text\n'.repeat(6000);
const pageColour = (page) => page.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
const palette = {light: 'rgb(238, 244, 238)', dark: 'rgb(20, 24, 22)'};
const views = [['zh-CN', desktop, 'light', short], ['zh-CN', phone, 'dark', long], ['en-US', desktop, 'dark', long],
  ['en-US', phone, 'light', short]];

for (const [locale, screen, colorScheme, text] of views) {
  test(`${locale}, ${colorScheme}, ${screen.width} px wide, ${text.length} characters`, async () => {
    const {context, page} = await openPage(session, {locale, colorScheme});
    await page.setViewportSize(screen);
    await page.$eval('#text', (box, text) => {
      box.value = text;
      box.dispatchEvent(new Event('input', {bubbles: true}));
    }, text);
    for (const [selector, action, value] of [['#add-stop', 'click'], ['#limit', 'fill', '10'], ['#step', 'fill', 'x'],
      ['#save-name', 'fill', 'mine'], ['#save-gradient', 'click'], ['#prefix', 'fill', '{']]) {
      await reveal(page, selector);
      await page[action](selector, value);
    }
    await convert(page);
    if (screen === desktop) {
      const bottoms = await page.$$eval('#text, #preview, #output', (e) => e.map((x) => x.getBoundingClientRect().bottom));
      assert.ok(bottoms.every((bottom) => bottom <= screen.height), `out of view: ${bottoms}`);
    }
    // As a function's body, since a driver may run only expressions.
    await page.evaluate(`(() => {\n${axeSource}\n})()`);
    const results = await page.evaluate(() => window.axe.run(document));
    const violations = results.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`);
    assert.deepEqual(violations, []);
    assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth),
      'the page scrolls sideways');
    // The theme is left to the system.
    assert.equal(await pageColour(page), palette[colorScheme]);
    await context.close();
  });
}

test('the theme follows the system\'s when it changes', onlyIn(['chromium', 'firefox'],
  'WebKit\'s WebDriver cannot change the system\'s colour scheme under an open page'), async () => {
  for (const [colorScheme, other] of [['light', 'dark'], ['dark', 'light']]) {
    const {context, page} = await openPage(session, {colorScheme});
    assert.equal(await pageColour(page), palette[colorScheme]);
    await page.emulateMedia({colorScheme: other});
    await page.waitForFunction((colour) => getComputedStyle(document.documentElement).backgroundColor === colour,
      palette[other]);
    await context.close();
  }
});

test('the keyboard reaches every main control, and focus is always visible', async () => {
  const {context, page} = await openPage(session);
  const reached = new Set();
  // Once past the last control the focus leaves the page for the browser.
  for (let k = 0; k < 90; ++k) {
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
  const main = ['language', 'theme', 'text', 'start', 'start-hex', 'end', 'end-hex', 'add-stop', 'reverse', 'rainbow',
    'endpoints', 'space', 'save-name', 'save-gradient', 'export', 'import', 'step', 'by', 'merge', 'limit', 'limit-unit', 'fit',
    'dialect', 'prefix', 'middle', 'suffix', 'bold', 'italic', 'underline', 'strike', 'escape', 'convert', 'reset', 'share', 'share-text', 'board', 'preview', 'output',
    'copy', 'download'];
  // WebKitGTK's Tab passes over a colour well, even one with a tabindex: the
  // hex box beside it, which Tab reaches, sets the same colour.
  const passedOver = engine === 'webkit' ? ['start', 'end'] : [];
  for (const id of main.filter((id) => !passedOver.includes(id))) {
    assert.ok(reached.has(id), `Tab never reaches #${id}`);
  }
  await context.close();
});
