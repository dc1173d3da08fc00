// Prints, with a column per browser engine, the time from a paste of a
// million characters to its markup and how long the page keeps the screen
// from updating while keys are typed into 20,000 characters. Chromium alone
// reports long tasks (long-animation-frame entries); every engine runs
// animation frames, so the longest gap between two of them stands for the
// longest task everywhere, beside the time from the last key to its markup
// shown (the page waits for a pause in typing before it converts).
// Each engine runs in a process of its own (HUECODE_ENGINE, WebKit under
// xvfb-run); an engine that is not installed gets a dash.
import {execFileSync} from 'node:child_process';
import {clipboardText, openBrowser, openPage, setClipboard, waitForOutput} from '../tests/page.mjs';
import {textOf, shapes} from './typing.mjs';

const engines = ['chromium', 'firefox', 'webkit'];
const pasted = 1000000;
const typed = 20000;
const keys = 20;

// In the page: when the next paste began and when the markup after it was
// shown, and the frames and long frames meanwhile.
function watch() {
  const box = document.getElementById('text');
  const output = document.getElementById('output');
  const seen = {paste: null, shown: null, gap: 0, long: null, key: null};
  window.watched = seen;
  box.addEventListener('paste', () => {
    seen.paste = performance.now();
  }, {capture: true});
  box.addEventListener('keydown', () => {
    seen.key = performance.now();
  }, {capture: true});
  new MutationObserver(() => {
    if (output.dataset.pending) {
      return;
    }
    seen.shown = performance.now();
  }).observe(output, {attributes: true, attributeFilter: ['data-pending']});
  let last = performance.now();
  const frame = (now) => {
    seen.gap = Math.max(seen.gap, now - last);
    last = now;
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
  if (PerformanceObserver.supportedEntryTypes.includes('long-animation-frame')) {
    seen.long = 0;
    new PerformanceObserver((list) => {
      seen.long = Math.max(seen.long, ...list.getEntries().map((entry) => entry.duration));
    }).observe({type: 'long-animation-frame'});
  }
}

const resetWatch = () => Object.assign(window.watched, {shown: null, gap: 0, long: window.watched.long === null
  ? null : 0, key: null});

async function paste(session) {
  const {context, page} = await openPage(session, {permissions: ['clipboard-read', 'clipboard-write']});
  const text = textOf(shapes[0][1], pasted);
  await setClipboard(page, text);
  if ((await clipboardText(page)).length !== text.length) {
    throw new Error('the clipboard does not hold the text');
  }
  await page.evaluate(watch);
  await page.focus('#text');
  await page.keyboard.press('Control+v');
  await page.waitForFunction(() => window.watched.paste !== null && window.watched.shown > window.watched.paste, null,
    {timeout: 120000});
  const ms = await page.evaluate(() => window.watched.shown - window.watched.paste);
  await context.close();
  return ms;
}

async function typing(session) {
  const {context, page} = await openPage(session);
  await page.evaluate((text) => {
    const box = document.getElementById('text');
    box.value = text;
    box.dispatchEvent(new Event('input', {bubbles: true}));
  }, textOf(shapes[0][1], typed));
  await waitForOutput(page);
  await page.evaluate(watch);
  await page.$eval('#text', (box) => box.setSelectionRange(box.value.length, box.value.length));
  await page.focus('#text');
  await page.waitForTimeout(1000);
  await page.evaluate(resetWatch);
  await page.keyboard.type('x'.repeat(keys), {delay: 60});
  await page.waitForFunction((keys) => window.watched.shown > window.watched.key &&
    document.getElementById('text').value.endsWith('x'.repeat(keys)), keys);
  await page.waitForTimeout(500);
  const {gap, long, key, shown} = await page.evaluate(() => window.watched);
  await context.close();
  return {gap, long, key: shown - key};
}

// One engine's figures, printed as JSON for the table.
async function measure() {
  const session = await openBrowser();
  try {
    console.log(JSON.stringify({paste: await paste(session), ...await typing(session)}));
  } finally {
    await session.close();
  }
}

function run(engine) {
  const command = engine === 'webkit' ? ['xvfb-run', ['-a', 'node', import.meta.filename, 'one']]
    : ['node', [import.meta.filename, 'one']];
  try {
    const out = execFileSync(command[0], command[1], {env: {...process.env, HUECODE_ENGINE: engine},
      encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit'], timeout: 600000});
    return JSON.parse(out.trim().split('\n').at(-1));
  } catch (error) {
    console.error(`${engine}: ${error.message.split('\n')[0]}`);
    return null;
  }
}

function table(figures) {
  const cell = (value) => (value === null || value === undefined ? '—' : `${value.toFixed(0)} ms`);
  const rows = [[`paste of ${pasted} characters to markup shown`, 'paste'],
    [`typing ${keys} keys into ${typed} characters: longest gap between frames`, 'gap'],
    ['  the same: longest long-animation-frame (Chromium alone reports them)', 'long'],
    ['  the same: last key to its markup shown', 'key']];
  const width = Math.max(...rows.map(([label]) => label.length));
  console.log(`${''.padEnd(width)}  ${engines.map((e) => e.padStart(10)).join('  ')}`);
  for (const [label, key] of rows) {
    console.log(`${label.padEnd(width)}  ${figures.map((f) => cell(f?.[key]).padStart(10)).join('  ')}`);
  }
  console.log(`load average: ${execFileSync('cat', ['/proc/loadavg'], {encoding: 'utf8'}).trim()}`);
}

if (process.argv[2] === 'one') {
  await measure();
} else {
  table(engines.map(run));
}
