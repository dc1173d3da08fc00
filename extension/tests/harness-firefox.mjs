// The extension in Debian's Firefox ESR, through puppeteer-core over
// WebDriver BiDi: the built extension installed as a temporary add-on, its
// background (an event page in Firefox) reached from a page of the
// extension, which only a session allowed into the browser's own pages may
// open. The add-on's internal address is fixed through a pref, so that its
// pages have an address known beforehand.
import {randomUUID} from 'node:crypto';
import {scriptedPage, startFirefox} from '../../web/tests/engine-firefox.mjs';

const executable = process.env.HUECODE_FIREFOX ?? '/usr/bin/firefox-esr';

// The box of an element inside the notice's closed shadow root, which BiDi
// reaches by serialising the notice's shadow tree whole.
async function boxInNotice({connection}, page, tag) {
  const context = page.mainFrame()._id;
  const target = {context};
  const {result: {result: notice}} = await connection.send('script.evaluate', {target, awaitPromise: false,
    expression: 'document.querySelector("huecode-notice")', serializationOptions: {includeShadowTree: 'all',
      maxDomDepth: 0}});
  const root = notice.value?.shadowRoot;
  if (!root) {
    return null;
  }
  const {result: {nodes: [found]}} = await connection.send('browsingContext.locateNodes', {context,
    locator: {type: 'css', value: tag}, startNodes: [{sharedId: root.sharedId}]});
  if (!found) {
    return null;
  }
  const {result: {result: {value: [x, y]}}} = await connection.send('script.callFunction', {target,
    awaitPromise: false, this: {sharedId: found.sharedId}, functionDeclaration:
      'function () { const box = this.getBoundingClientRect(); return [box.x, box.y]; }'});
  return {x: x.value + 2, y: y.value + 2};
}

export async function openIn({extension, url, id, asToolbarPopup}) {
  const uuid = randomUUID();
  const browser = await startFirefox(executable, {extraPrefs: {'extensions.webextensions.uuids':
    JSON.stringify({[id]: uuid})}});
  await browser.installExtension(extension);
  const popupUrl = `moz-extension://${uuid}/extension/popup/popup.html`;
  // The tab Firefox starts with never gets the focus; a new one does, and
  // keeps it while the extension's pages open behind it.
  const first = await browser.newPage();
  await first.goto(url);
  // Pages of the extension report no load event over BiDi: their document is there at once.
  // They take no script before their own either: the toolbar's popup is
  // the page started again, on a fresh copy of its elements, once the
  // script is in.
  const openExtensionPage = async (init) => {
    const tab = await browser.newPage({background: true});
    await tab.goto(popupUrl, {waitUntil: []});
    await tab.waitForFunction(() => document.readyState === 'complete');
    if (init) {
      await tab.evaluate(init);
      await tab.evaluate(() => {
        document.body.replaceWith(document.body.cloneNode(true));
        return import(new URL('popup.js?again', location.href).href);
      });
    }
    return tab;
  };
  const home = await openExtensionPage();
  // A page of the extension has the background's APIs and storage; the
  // colouring itself is the background page's own colourSelection, its
  // answer copied out of that page as plain data.
  const background = (fn, arg) => home.evaluate(fn, arg);
  return {
    page: scriptedPage(first, browser),
    frame: () => first.frames().find((f) => f.url().endsWith('frame.html')),
    background,
    colour: (options) => background(async (options) => {
      const [tab] = await chrome.tabs.query({url: 'http://127.0.0.1/*'});
      const page = await chrome.runtime.getBackgroundPage();
      return JSON.parse(JSON.stringify(await page.colourSelection(tab.id, options)));
    }, options),
    openPopup: async ({toolbar = false} = {}) =>
      scriptedPage(await openExtensionPage(toolbar ? asToolbarPopup : null), browser),
    boxInNotice: (tag) => boxInNotice(browser, first, tag),
    click: (x, y) => first.mouse.click(x, y),
    // Its pages read and write the clipboard through a pref (engine-firefox.mjs).
    allowClipboard: async () => {},
    close: () => browser.close(),
  };
}
