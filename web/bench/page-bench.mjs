// Prints how fast the page converts in Chromium, against the native
// huecode-cli on the same text and against a plain JavaScript generator, how
// long the page takes to load and how much it transfers (gzip), the longest
// main-thread task while typing into long texts, the time from a paste of a
// million characters to its markup, and the size of the single-file page.
import {execFileSync} from 'node:child_process';
import {mkdtemp, readdir, readFile, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {gzipSync} from 'node:zlib';
import {pathToFileURL} from 'node:url';
import {cliPath, openBrowser, openPage, waitForOutput, webRoot} from '../tests/page.mjs';
import {printTyping} from './typing.mjs';

const sizes = [100000, 1000000];
const runs = 5;
const sample = '彩色文字 huecode 渐变效果, colourful text!\n';

function textOf(size) {
  return sample.repeat(Math.ceil(size / sample.length)).slice(0, size - 1) + '.';
}

function best(times) {
  return Math.min(...times);
}

// The window's conversion written the obvious way, as a web tool would.
function plainJavaScript(text) {
  const chars = Array.from(text.replace(/^ +| +$/g, ''));
  const start = [255, 0, 255];
  const end = [0, 255, 0];
  const round = (x) => {
    const r = Math.round(x);
    return r - x === 0.5 && r % 2 !== 0 ? r - 1 : r;
  };
  let out = '';
  chars.forEach((chunk, k) => {
    if (chunk === '\t' || chunk === '\n' || chunk === '\r' || chunk === ' ') {
      out += chunk;
      return;
    }
    const hex = start.map((s, c) => round(s + (end[c] - s) * (k + 1) / chars.length)
      .toString(16).toUpperCase().padStart(2, '0')).join('');
    out += `[color=#${hex}]${chunk}[/color]`;
  });
  return out.length;
}

async function pageConversion(page, text) {
  return page.evaluate(async (text) => {
    const box = document.getElementById('text');
    const output = document.getElementById('output');
    box.value = text;
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
    const started = performance.now();
    document.getElementById('convert').click();
    while (output.dataset.pending) {
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    return performance.now() - started;
  }, text);
}

function cliConversion(file) {
  const started = process.hrtime.bigint();
  execFileSync(cliPath, ['--input', file], {maxBuffer: 1 << 30});
  return Number(process.hrtime.bigint() - started) / 1e6;
}

async function transferred() {
  let raw = 0;
  let gzip = 0;
  const entries = await readdir(webRoot, {recursive: true, withFileTypes: true});
  // Source maps are fetched by a browser's developer tools only.
  for (const entry of entries.filter((e) => e.isFile() && !e.name.endsWith('.map'))) {
    const bytes = await readFile(join(entry.parentPath ?? entry.path, entry.name));
    raw += bytes.length;
    gzip += gzipSync(bytes, {level: 9}).length;
  }
  return {raw, gzip};
}

// A paste as the browser makes one: a paste event whose clipboard data holds
// the text, made in the page so that it does not travel through the test's
// connection. Returns the time until the markup is shown and the longest
// main-thread task (long-animation-frame entries) meanwhile.
async function pasteToOutput(page, size) {
  return page.evaluate(async ([sample, size]) => {
    const clipboardData = new DataTransfer();
    clipboardData.setData('text/plain', `${sample.repeat(Math.ceil(size / sample.length)).slice(0, size - 1)}.`);
    const box = document.getElementById('text');
    const output = document.getElementById('output');
    box.focus();
    await new Promise((resolve) => setTimeout(resolve, 500));
    let longest = 0;
    const started = performance.now();
    const note = (entries) => entries.filter((e) => e.startTime + e.duration >= started)
      .forEach((e) => (longest = Math.max(longest, e.duration)));
    const observer = new PerformanceObserver((list) => note(list.getEntries()));
    observer.observe({type: 'long-animation-frame', buffered: true});
    box.dispatchEvent(new ClipboardEvent('paste', {clipboardData, bubbles: true, cancelable: true}));
    await new Promise((resolve) => setTimeout(resolve, 1));
    while (output.dataset.pending) {
      await new Promise((resolve) => setTimeout(resolve, 1));
    }
    const shown = performance.now() - started;
    // The frame that draws the markup ends after this task.
    await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 100)));
    note(observer.takeRecords());
    observer.disconnect();
    return {shown, longest};
  }, [sample, size]);
}

function pasteLine(label, {shown, longest}) {
  return `${label}: ${shown.toFixed(0)} ms, longest main-thread task meanwhile ${longest.toFixed(0)} ms (goal under 200 ms)`;
}

const session = await openBrowser();
const folder = await mkdtemp(join(tmpdir(), 'huecode-bench-'));
try {
  const loads = [];
  const paints = [];
  for (let k = 0; k < runs; ++k) {
    const started = Date.now();
    const {context, page} = await openPage(session);
    loads.push(Date.now() - started);
    paints.push(await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0].startTime));
    await context.close();
  }
  const {raw, gzip} = await transferred();
  console.log(`first load (new browser context, 127.0.0.1, until the first conversion is shown): ${best(loads)} ms`);
  console.log(`first paint (first-contentful-paint, best of ${runs}): ${best(paints).toFixed(0)} ms`);
  console.log(`page files: ${(raw / 1024).toFixed(1)} KB, ${(gzip / 1024).toFixed(1)} KB with gzip (goal under 250 KB)`);
  const wasm = await readFile(join(webRoot, 'core', 'huecode.wasm'));
  console.log(`of which huecode.wasm: ${(wasm.length / 1024).toFixed(1)} KB, ${(gzipSync(wasm, {level: 9}).length / 1024)
    .toFixed(1)} KB with gzip`);
  const single = await readFile(join(dirname(webRoot), 'web-single', 'huecode.html'));
  console.log(`huecode.html: ${(single.length / 1024).toFixed(1)} KB, ${(gzipSync(single, {level: 9}).length / 1024)
    .toFixed(1)} KB with gzip`);

  await printTyping(session, [2000, 20000, 200000]);
  const paste = await openPage(session);
  console.log(pasteLine('paste of 1000000 characters to markup shown', await pasteToOutput(paste.page, 1000000)));
  await paste.context.close();
  const singleContext = await session.browser.newContext({locale: 'zh-CN'});
  const singlePage = await singleContext.newPage();
  await singlePage.goto(pathToFileURL(join(dirname(webRoot), 'web-single', 'huecode.html')).href);
  await waitForOutput(singlePage);
  console.log(pasteLine('the same in the single file', await pasteToOutput(singlePage, 1000000)));
  await singleContext.close();

  const {context, page} = await openPage(session);
  for (const size of sizes) {
    const text = textOf(size);
    const file = join(folder, `${size}.txt`);
    await writeFile(file, text);
    const pageTimes = [];
    const cliTimes = [];
    for (let k = 0; k < runs; ++k) {
      pageTimes.push(await pageConversion(page, text));
      cliTimes.push(cliConversion(file));
    }
    const plain = await page.evaluate(([source, text, runs]) => {
      const generate = new Function(`return ${source}`)();
      const times = [];
      for (let k = 0; k < runs; ++k) {
        const started = performance.now();
        generate(text);
        times.push(performance.now() - started);
      }
      return Math.min(...times);
    }, [plainJavaScript.toString(), text, runs]);
    const pageBest = best(pageTimes);
    const cliBest = best(cliTimes);
    console.log(`${size} characters: page ${pageBest.toFixed(0)} ms (click to markup shown), ` +
      `huecode-cli ${cliBest.toFixed(0)} ms (process, file in, markup out), ratio ${(pageBest / cliBest).toFixed(2)}; ` +
      `plain JavaScript generator ${plain.toFixed(0)} ms on the main thread`);
  }
  await context.close();
} finally {
  await session.close();
}
