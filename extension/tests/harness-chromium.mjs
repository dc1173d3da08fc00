// The extension in Debian's Chromium, through playwright-core: the built
// extension loaded unpacked into a persistent profile, its service worker
// reached directly.
import {join} from 'node:path';
import {chromium} from 'playwright-core';

// The box of an element inside the notice's closed shadow root, which only
// the browser's own view of the page reaches.
async function boxInNotice(page, tag) {
  const cdp = await page.context().newCDPSession(page);
  const {root} = await cdp.send('DOM.getDocument', {depth: 0});
  const {nodeId} = await cdp.send('DOM.querySelector', {nodeId: root.nodeId, selector: 'huecode-notice'});
  if (!nodeId) {
    return null;
  }
  const {node} = await cdp.send('DOM.describeNode', {nodeId, depth: -1, pierce: true});
  const find = (at) => (at.localName === tag ? at
    : [...(at.children ?? []), ...(at.shadowRoots ?? [])].map(find).find(Boolean));
  const found = find(node);
  const model = found && (await cdp.send('DOM.getBoxModel', {backendNodeId: found.backendNodeId})).model;
  await cdp.detach();
  return model ? {x: model.content[0] + 2, y: model.content[1] + 2} : null;
}

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
    boxInNotice: (tag) => boxInNotice(page, tag),
    click: (x, y) => page.mouse.click(x, y),
    allowClipboard: () => context.grantPermissions(['clipboard-read', 'clipboard-write'],
      {origin: new URL(page.url()).origin}),
    close: () => context.close(),
  };
}
