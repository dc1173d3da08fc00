// Prints, for texts of 1, 5 and 10 Mi characters pasted into the page (the
// served page and the single file): the time from the paste to the first
// markup shown, to the whole markup ready for Copy, and the renderer's peak
// memory (its processes' peak resident size, workers included, as Linux
// counts it). Usage: node memory-bench.mjs [SIZE_IN_MI...]
import {readFile} from 'node:fs/promises';
import {dirname, join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {openBrowser, waitForOutput} from '../tests/page.mjs';

const sizes = process.argv.slice(2).map(Number).filter((n) => n > 0);
const mebi = 2 ** 20;

async function peakOf(pid) {
  const status = await readFile(`/proc/${pid}/status`, 'utf8').catch(() => '');
  return Number(/VmHWM:\s+(\d+)/.exec(status)?.[1] ?? 0) * 1024;
}

async function renderers(browser) {
  const devtools = await browser.newBrowserCDPSession();
  const {processInfo} = await devtools.send('SystemInfo.getProcessInfo');
  await devtools.detach();
  return new Set(processInfo.filter((p) => p.type === 'renderer').map((p) => p.id));
}

// The page makes the text itself, so that no copy of it travels through the
// test's connection, and receives it as a real paste: a paste event whose
// clipboard data holds the text.
async function paste(page, size) {
  return page.evaluate(async (size) => {
    const sample = '彩色文字 huecode 渐变效果, colourful text!\n';
    const clipboardData = new DataTransfer();
    clipboardData.setData('text/plain', sample.repeat(Math.ceil(size / sample.length)).slice(0, size));
    const box = document.getElementById('text');
    const output = document.getElementById('output');
    box.focus();
    const started = performance.now();
    box.dispatchEvent(new ClipboardEvent('paste', {clipboardData, bubbles: true, cancelable: true}));
    let first = null;
    for (;;) {
      await new Promise((resolve) => setTimeout(resolve, 5));
      first ??= output.value.length > 0 && output.value.startsWith('[') ? performance.now() - started : null;
      if (!output.dataset.pending && first !== null) {
        return {first, whole: performance.now() - started, note: document.getElementById('status').textContent};
      }
    }
  }, size);
}

async function measure(session, url, label) {
  for (const size of sizes) {
    const before = await renderers(session.browser);
    const context = await session.browser.newContext({locale: 'en-GB'});
    const page = await context.newPage();
    await page.goto(url);
    await waitForOutput(page);
    const own = [...await renderers(session.browser)].filter((pid) => !before.has(pid));
    const {first, whole, note} = await paste(page, size * mebi);
    await page.waitForTimeout(1000);
    let peak = 0;
    for (const pid of own) {
      peak = Math.max(peak, await peakOf(pid));
    }
    console.log(`${label}, ${size} Mi characters: first markup shown after ${(first / 1000).toFixed(1)} s, ` +
      `whole markup ready after ${(whole / 1000).toFixed(1)} s, renderer peak ${(peak / mebi).toFixed(0)} MiB` +
      `${note ? ` (${note})` : ''}`);
    await context.close();
  }
}

const session = await openBrowser();
try {
  await measure(session, session.server.url, 'served page');
  const single = join(dirname(process.env.HUECODE_WEB_DIR), 'web-single', 'huecode.html');
  await measure(session, pathToFileURL(single).href, 'single file');
} finally {
  await session.close();
}
