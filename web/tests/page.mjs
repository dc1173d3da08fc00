// Starts the engine HUECODE_ENGINE names (Debian's Chromium unless it names
// another, engines.mjs) on the built page and drives its controls the way the
// tests need them.
import {execFileSync} from 'node:child_process';
import {launch} from './engines.mjs';
import {serve} from './server.mjs';

export {engine, onlyIn} from './engines.mjs';

export const webRoot = process.env.HUECODE_WEB_DIR;
export const cliPath = process.env.HUECODE_CLI;
if (!webRoot || !cliPath) {
  throw new Error('set HUECODE_WEB_DIR to the built page and HUECODE_CLI to huecode-cli');
}
// The core the page was built with: its loader and WebAssembly, where
// scripts/web.sh has Emscripten write them.
export const coreDir = process.env.HUECODE_CORE_DIR ?? `${webRoot}.obj/core`;

export async function openBrowser() {
  const server = await serve(webRoot);
  const browser = await launch();
  return {
    server,
    browser,
    async close() {
      await browser.close();
      await server.close();
    },
  };
}

export async function openPage(session, {locale = 'zh-CN', permissions = [], colorScheme = 'light',
  reducedMotion = 'no-preference'} = {}) {
  const context = await session.browser.newContext({locale, permissions, colorScheme, reducedMotion});
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  await page.goto(session.server.url);
  await waitForOutput(page);
  return {context, page, errors};
}

// The clipboard as the user's next paste finds it: WebKit lets no script read
// or write it without a gesture, so its page goes to the X clipboard instead.
export const clipboardText = (page) => (page.clipboard ? page.clipboard.read()
  : page.evaluate(() => navigator.clipboard.readText()));
export const setClipboard = (page, text) => (page.clipboard ? page.clipboard.write(text)
  : page.evaluate((text) => navigator.clipboard.writeText(text), text));

export async function waitForOutput(page) {
  await page.waitForSelector('#output:not([data-pending])', {state: 'attached'});
}

// Sets a control as the user would leave it and lets the page hear about it.
export async function setControl(page, id, value) {
  await page.evaluate(([id, value]) => {
    const element = document.getElementById(id);
    element[typeof value === 'boolean' ? 'checked' : 'value'] = value;
    const event = element.tagName === 'SELECT' || typeof value === 'boolean' ? 'change' : 'input';
    element.dispatchEvent(new Event(event, {bubbles: true}));
    if (event === 'change') {
      element.dispatchEvent(new Event('input', {bubbles: true}));
    }
  }, [id, value]);
}

// Reset asks first; the text goes too when clearText is set.
export async function resetPage(page, {clearText = false} = {}) {
  await page.click('#reset');
  await page.setChecked('#reset-text', clearText);
  await page.click('#reset-confirm');
}

// On a phone the settings fold: the section holding the control opens first.
export async function reveal(page, selector) {
  const toggle = `fieldset:has(${selector}) .fold-toggle`;
  if (await page.isVisible(toggle) && await page.getAttribute(toggle, 'aria-expanded') !== 'true') {
    await page.click(toggle);
  }
}

export async function convert(page) {
  await page.click('#convert');
  await waitForOutput(page);
  return page.inputValue('#output');
}

// The command line's markup for a text, as bytes, without the line break it ends with.
export function cliMarkup(args, text) {
  const out = execFileSync(cliPath, [...args, '--', text], {maxBuffer: 1 << 30});
  return out.subarray(0, out.length - 1);
}
