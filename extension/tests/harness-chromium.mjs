// The extension in Debian's Chromium, through playwright-core: the built
// extension loaded unpacked into a persistent profile, its service worker
// reached directly.
import {join} from 'node:path';
import {chromium} from 'playwright-core';

export async function openIn({work, extension, url, asToolbarPopup}) {
  const context = await chromium.launchPersistentContext(join(work, 'profile'), {
    executablePath: process.env.HUECODE_CHROMIUM ?? '/usr/bin/chromium',
    headless: false,
    args: ['--headless=new', '--no-sandbox', '--disable-dev-shm-usage',
      `--disable-extensions-except=${extension}`, `--load-extension=${extension}`],
  });
  const worker = context.serviceWorkers()[0] ?? await context.waitForEvent('serviceworker');
  const page = await context.newPage();
  await page.goto(url);
  const background = (fn, arg) => worker.evaluate(fn, arg);
  return {
    page,
    frame: () => page.frames().find((f) => f.url().endsWith('frame.html')),
    background,
    // The service worker's own entry point, on the test page's tab.
    colour: (options) => background(async (options) => {
      const [tab] = await chrome.tabs.query({url: 'http://127.0.0.1/*'});
      return globalThis.colourSelection(tab.id, options);
    }, options),
    async openPopup({toolbar = false} = {}) {
      const popup = await context.newPage();
      if (toolbar) {
        await popup.addInitScript(asToolbarPopup);
      }
      await popup.goto(new URL('../popup/popup.html', worker.url()).href);
      return popup;
    },
    close: () => context.close(),
  };
}
