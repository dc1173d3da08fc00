// Firefox ESR over WebDriver BiDi, through puppeteer-core: each context a
// browser context of its own, each page a ScriptedPage over puppeteer's.
import puppeteer from 'puppeteer-core';
import {ScriptedPage} from './engines.mjs';

// Scripts may read and write the clipboard without a gesture, as Chromium's
// granted permissions let them.
const prefs = {'intl.accept_languages': 'zh-CN', 'dom.events.testing.asyncClipboard': true,
  'layout.css.prefers-color-scheme.content-override': 1};

// BiDi has no media emulation in this Firefox: the system's colour scheme and
// motion are the browser's preferences, set in its own (privileged) window,
// which BiDi reaches with --remote-allow-system-access. They hold for the
// whole browser, so for the context a scenario opens last; pages follow a
// change at once.
const mediaPrefs = {
  colorScheme: ['layout.css.prefers-color-scheme.content-override', {dark: 0, light: 1}],
  reducedMotion: ['ui.prefersReducedMotion', {'no-preference': 0, 'reduce': 1}],
};

async function setMedia(browser, features) {
  const {connection} = browser;
  const {result} = await connection.send('browsingContext.getTree', {'moz:scope': 'chrome', 'maxDepth': 0});
  const set = Object.entries(features).filter(([name, value]) => mediaPrefs[name] && value !== undefined)
    .map(([name, value]) => {
      const [pref, values] = mediaPrefs[name];
      if (!(value in values)) {
        throw new Error(`firefox: no ${name} ${value}`);
      }
      return `Services.prefs.setIntPref(${JSON.stringify(pref)}, ${values[value]});`;
    });
  await connection.send('script.evaluate', {expression: set.join(''), awaitPromise: false,
    target: {context: result.contexts[0].context}});
}

// A puppeteer page of the browser as the scenarios' page (engines.mjs).
export const scriptedPage = (page, browser) => new ScriptedPage(backend(page, browser));

function backend(page, browser) {
  return {
    on: (event, listener) => page.on(event, listener),
    once: (event, listener) => page.once(event, listener),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    close: ({runBeforeUnload = false} = {}) => page.close({runBeforeUnload}),
    run: (source) => page.evaluate(source),
    click: (selector) => page.click(selector),
    hover: (selector) => page.hover(selector),
    mouseMove: (x, y) => page.mouse.move(x, y),
    media: (features) => setMedia(browser, features),
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
// arguments) beside them.
export const startFirefox = (executablePath, {extraPrefs = {}, args = []} = {}) => puppeteer.launch(
  {browser: 'firefox', executablePath, headless: true, args: ['--remote-allow-system-access', ...args],
    extraPrefsFirefox: {...prefs, ...extraPrefs}});

export async function launchFirefox(executablePath) {
  const browser = await startFirefox(executablePath);
  return {
    async newContext({locale = 'zh-CN', colorScheme = 'light', reducedMotion = 'no-preference', viewport} = {}) {
      await setMedia(browser, {colorScheme, reducedMotion});
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
          return scriptedPage(page, browser);
        },
        close: () => context.close(),
      };
    },
    // A page in a context of its own, which closes with the browser.
    async newPage() {
      return (await this.newContext()).newPage();
    },
    close: () => browser.close(),
  };
}
