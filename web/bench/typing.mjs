// The longest main-thread task while typing keys at the end of a text, for
// texts of three shapes: the browser lays a paragraph out whole, so a text
// with no line break costs it the whole text at every key, where one of
// short lines costs it a line.
import {openPage} from '../tests/page.mjs';

const sample = '彩色文字 huecode 渐变效果, colourful text!';
// Each shape as the piece its text repeats.
export const shapes = [
  ['a line break every 38 characters', `${sample}\n`],
  ['paragraphs of about 400 characters', `${`${sample} `.repeat(10)}\n\n`],
  ['one paragraph', `${sample} `],
];

export function textOf(piece, size) {
  return piece.repeat(Math.ceil(size / piece.length)).slice(0, size - 1) + '.';
}

// The renderer's main thread in a trace: the thread that ran the page's scripts.
export function mainThread(events) {
  const calls = new Map();
  for (const event of events) {
    if (event.name === 'FunctionCall') {
      const key = `${event.pid}:${event.tid}`;
      calls.set(key, (calls.get(key) ?? 0) + 1);
    }
  }
  return [...calls].sort((a, b) => b[1] - a[1])[0]?.[0];
}

// The processor time of the longest task on the page's main thread in a
// trace: what the task takes when the machine has nothing else to do.
function longestCpu(trace) {
  const events = JSON.parse(trace.toString()).traceEvents;
  const main = mainThread(events);
  return Math.max(0, ...events.filter((e) => e.name === 'RunTask' && `${e.pid}:${e.tid}` === main)
    .map((e) => (e.tdur ?? 0) / 1000));
}

async function watchFrames(page, text) {
  await page.evaluate(async (text) => {
    const box = document.getElementById('text');
    box.value = text;
    box.dispatchEvent(new Event('input', {bubbles: true}));
    await new Promise((resolve) => setTimeout(resolve, 1000));
    window.longest = 0;
    window.longestScript = 0;
    window.from = performance.now();
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) {
        if (entry.startTime >= window.from) {
          window.longest = Math.max(window.longest, entry.duration);
          window.longestScript = Math.max(window.longestScript,
            entry.scripts.reduce((sum, script) => sum + script.duration, 0));
        }
      }
    }).observe({type: 'long-animation-frame'});
    box.focus();
    box.setSelectionRange(box.value.length, box.value.length);
  }, text);
}

// Types keys one by one at the end of the text, as a user would, until the
// last markup is shown. Returns the longest main-thread task as the page saw
// it (long-animation-frame entries, which also count layout, paint and, on a
// busy machine, waiting for the processor), the longest script time in one of
// them, and the processor time of the longest task from a trace.
export async function typingTasks(session, text, keys = 20) {
  const {context, page} = await openPage(session);
  await watchFrames(page, text);
  await session.browser.startTracing(page, {categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline']});
  for (let k = 0; k < keys; ++k) {
    await page.keyboard.type('x', {delay: 60});
  }
  await page.waitForSelector('#output:not([data-pending])', {state: 'attached'});
  await page.waitForTimeout(500);
  const cpu = longestCpu(await session.browser.stopTracing());
  const [task, script] = await page.evaluate(() => [window.longest, window.longestScript]);
  await context.close();
  return {task, script, cpu};
}

export async function printTyping(session, sizes, keys = 20) {
  for (const size of sizes) {
    for (const [shape, piece] of shapes) {
      const {task, script, cpu} = await typingTasks(session, textOf(piece, size), keys);
      // Long-animation-frame entries start at 50 ms: none means every frame was shorter.
      const frames = task === 0 ? 'no main-thread task over 50 ms'
        : `longest main-thread task ${task.toFixed(0)} ms (script in one task up to ${script.toFixed(0)} ms)`;
      console.log(`typing ${keys} keys into ${size} characters, ${shape}: ${frames}; ` +
        `processor time of the longest task ${cpu.toFixed(0)} ms (goal under 50 ms)`);
    }
  }
}

// node typing.mjs [SIZE…]: the typing figures alone.
if (import.meta.url === `file://${process.argv[1]}`) {
  const {openBrowser} = await import('../tests/page.mjs');
  const session = await openBrowser();
  try {
    const sizes = process.argv.slice(2).map(Number);
    await printTyping(session, sizes.length ? sizes : [2000, 20000, 200000]);
  } finally {
    await session.close();
  }
}
