// The preview playing a moving gradient over a long text: how many frames a
// second the board shows against the interval asked, and the longest task on
// the page's main thread while it plays, as the page's long-animation-frame
// entries and a trace see it.
import {mainThread, textOf, shapes} from './typing.mjs';
import {openPage, setControl, waitForOutput} from '../tests/page.mjs';

// Wall and processor time of the longest task on the page's main thread.
function longestTask(trace) {
  const events = JSON.parse(trace.toString()).traceEvents;
  const main = mainThread(events);
  const onMain = events.filter((e) => `${e.pid}:${e.tid}` === main && e.ph === 'X');
  const tasks = onMain.filter((e) => e.name === 'RunTask');
  const longest = tasks.reduce((a, b) => ((b.tdur ?? 0) > (a?.tdur ?? 0) ? b : a), null);
  // What the longest task spent its time on: its largest inner events.
  const within = longest ? onMain.filter((e) => e !== longest && e.ts >= longest.ts &&
    e.ts + (e.dur ?? 0) <= longest.ts + longest.dur) : [];
  const parts = within.sort((a, b) => (b.tdur ?? 0) - (a.tdur ?? 0)).slice(0, 4)
    .map((e) => `${e.name} ${((e.tdur ?? 0) / 1000).toFixed(1)}`).join(', ');
  return {wall: Math.max(0, ...tasks.map((e) => (e.dur ?? 0) / 1000)),
    cpu: Math.max(0, ...tasks.map((e) => (e.tdur ?? 0) / 1000)), parts};
}

// Counts the frames the board shows (each a batch of colour changes) for a while.
function countFrames(seconds) {
  return new Promise((resolve) => {
    let frames = 0;
    let longest = 0;
    const observer = new MutationObserver(() => {
      frames += 1;
    });
    observer.observe(document.getElementById('preview'), {attributes: true, subtree: true,
      attributeFilter: ['style']});
    new PerformanceObserver((list) => {
      longest = Math.max(longest, ...list.getEntries().map((entry) => entry.duration));
    }).observe({type: 'long-animation-frame'});
    setTimeout(() => {
      observer.disconnect();
      resolve({frames, longest});
    }, seconds * 1000);
  });
}

export async function motionFigures(session, {size = 2000, frames = '40', interval = '50', seconds = 5} = {}) {
  const results = [];
  for (const [shape, piece] of shapes) {
    const {context, page} = await openPage(session);
    await setControl(page, 'text', textOf(piece, size));
    // Texts with line breaks move line by line.
    for (const [id, value] of [['perLine', true], ['moving', true], ['frames', frames], ['interval', interval]]) {
      await setControl(page, id, value);
    }
    await page.click('#convert');
    await waitForOutput(page);
    // The preview draws a long text in batches as it is scrolled: all of it
    // is drawn first, until a few scrolls to the end draw nothing more.
    await page.evaluate(async () => {
      const preview = document.getElementById('preview');
      let still = 0;
      while (still < 5) {
        const nodes = preview.childNodes.length;
        preview.scrollTop = preview.scrollHeight;
        await new Promise((resolve) => setTimeout(resolve, 100));
        still = preview.childNodes.length === nodes ? still + 1 : 0;
      }
    });
    await session.browser.startTracing(page, {categories: ['devtools.timeline',
      'disabled-by-default-devtools.timeline']});
    const shown = await page.evaluate(countFrames, seconds);
    const task = longestTask(await session.browser.stopTracing());
    const spans = await page.$$eval('#preview span[style*=color]', (list) => list.length);
    await context.close();
    results.push({shape, spans, perSecond: shown.frames / seconds, longFrame: shown.longest, ...task});
  }
  return results;
}

export async function printMotion(session, options = {}) {
  const {size = 2000, interval = '50'} = options;
  for (const {shape, spans, perSecond, longFrame, wall, cpu, parts} of await motionFigures(session, options)) {
    const frames = longFrame === 0 ? 'no animation frame over 50 ms' : `longest animation frame ${longFrame.toFixed(0)} ms`;
    console.log(`motion preview, ${size} characters (${spans} coloured chunks drawn), ${shape}: ` +
      `${perSecond.toFixed(1)} frames a second at ${interval} ms (asked ${(1000 / Number(interval)).toFixed(0)}); ` +
      `longest main-thread task ${wall.toFixed(1)} ms, the most processor time in one ${cpu.toFixed(1)} ms ` +
      `(goal under 16 ms; in ms: ${parts}); ` +
      `${frames}`);
  }
}

// node motion.mjs [SIZE]: the motion figures alone.
if (import.meta.url === `file://${process.argv[1]}`) {
  const {openBrowser} = await import('../tests/page.mjs');
  const session = await openBrowser();
  try {
    await printMotion(session, {size: Number(process.argv[2] ?? 2000)});
  } finally {
    await session.close();
  }
}
