// Firefox ESR over WebDriver BiDi, through puppeteer-core: each context a
// browser context of its own, each page a ScriptedPage over puppeteer's.
import puppeteer from 'puppeteer-core';
import {ScriptedPage} from './engines.mjs';

// Scripts may read and write the clipboard without a gesture, as Chromium's
// granted permissions let them.
// BiDi has no media emulation here: the colour scheme is the profile's, light.
const prefs = {'intl.accept_languages': 'zh-CN', 'dom.events.testing.asyncClipboard': true,
  'layout.css.prefers-color-scheme.content-override': 1};

// A puppeteer page as the scenarios' page (engines.mjs).
export const scriptedPage = (page) => new ScriptedPage(backend(page));

function backend(page) {
  return {
    on: (event, listener) => page.on(event, listener),
    once: (event, listener) => page.once(event, listener),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    close: ({runBeforeUnload = false} = {}) => page.close({runBeforeUnload}),
    run: (source) => page.evaluate(source),
    click: (selector) => page.click(selector),
    async press(parts) {
      const key = parts.pop();
      for (const modifier of parts) {
        await page.keyboard.down(modifier);
      }
      await page.keyboard.press(key);
      for (const modifier of parts.reverse()) {
        await page.keyboard.up(modifier);
      }
    },
    type: (text) => page.keyboard.type(text),
    resize: ({width, height}) => page.setViewport({width, height}),
    workers: () => page.workers(),
    upload: async (selector, file) => (await page.$(selector)).uploadFile(file),
  };
}

// The page's languages as a browser set to the locale would give them.
function localeScript(locale) {
  Object.defineProperty(Navigator.prototype, 'languages', {get: () => [locale]});
  Object.defineProperty(Navigator.prototype, 'language', {get: () => locale});
}

// Firefox with the scenarios' prefs, and the caller's own (more prefs, more
// arguments) over them.
export const startFirefox = (executablePath, {extraPrefs = {}, args = []} = {}) => puppeteer.launch(
  {browser: 'firefox', executablePath, headless: true, args, extraPrefsFirefox: {...prefs, ...extraPrefs}});

export async function launchFirefox(executablePath) {
  const browser = await startFirefox(executablePath);
  return {
    async newContext({locale = 'zh-CN', colorScheme = 'light', viewport} = {}) {
      if (colorScheme !== 'light') {
        throw new Error(`firefox: no ${colorScheme} colour scheme over BiDi`);
      }
      const context = await browser.createBrowserContext();
      const scripts = [[localeScript, locale]];
      return {
        addInitScript: async (fn, arg) => scripts.push([fn, arg]),
        async newPage() {
          const page = await context.newPage();
          for (const [fn, arg] of scripts) {
            await page.evaluateOnNewDocument(fn, arg);
          }
          if (viewport) {
            await page.setViewport(viewport);
          }
          return scriptedPage(page);
        },
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}
