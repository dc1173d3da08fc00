// Prints how fast the page converts in Chromium, against the native
// huecode-cli on the same text and against a plain JavaScript generator, and
// how long the page takes to load and how much it transfers (gzip).
import {execFileSync} from 'node:child_process';
import {mkdtemp, readdir, readFile, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {gzipSync} from 'node:zlib';
import {cliPath, openBrowser, openPage, webRoot} from '../tests/page.mjs';

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
  for (const entry of entries.filter((e) => e.isFile())) {
    const bytes = await readFile(join(entry.parentPath ?? entry.path, entry.name));
    raw += bytes.length;
    gzip += gzipSync(bytes, {level: 9}).length;
  }
  return {raw, gzip};
}

const session = await openBrowser();
const folder = await mkdtemp(join(tmpdir(), 'huecode-bench-'));
try {
  const loads = [];
  for (let k = 0; k < runs; ++k) {
    const started = Date.now();
    const {context} = await openPage(session);
    loads.push(Date.now() - started);
    await context.close();
  }
  const {raw, gzip} = await transferred();
  console.log(`first load (new browser context, 127.0.0.1, until the first conversion is shown): ${best(loads)} ms`);
  console.log(`page files: ${(raw / 1024).toFixed(1)} KB, ${(gzip / 1024).toFixed(1)} KB with gzip (goal under 250 KB)`);

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
