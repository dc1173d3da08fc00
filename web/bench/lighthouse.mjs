// Prints Lighthouse's scores for the built page, served with gzip, with its
// mobile preset (a mid-range phone on a slow network, simulated) and its desktop preset, and
// the cumulative layout shift of each, in Debian's Chromium. Lighthouse takes
// the simulated phone's blocking time from the tasks' real durations, which
// on a busy machine include waiting for the processor: it runs each preset
// several times (node lighthouse.mjs [RUNS], 5 unless given) and prints each
// run with the load average at the time.
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';
import {loadavg} from 'node:os';
import {serve} from '../tests/server.mjs';

const webRoot = process.env.HUECODE_WEB_DIR;
const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
const presets = [['mobile', undefined], ['desktop', desktopConfig]];
const runs = Number(process.argv[2] ?? 5);

// Served compressed, as static hosts serve it: a phone on a slow network
// would otherwise wait for bytes no real host sends.
const server = await serve(webRoot, {}, {gzip: true});

async function report(name, config, run) {
  const load = loadavg()[0].toFixed(1);
  const {lhr} = await lighthouse(server.url, {port: chrome.port, output: 'json', logLevel: 'error',
    onlyCategories: categories}, config);
  const scores = categories.map((c) => `${c} ${lhr.categories[c].score.toFixed(2)}`).join(', ');
  const cls = lhr.audits['cumulative-layout-shift'].numericValue.toFixed(3);
  const failed = categories.flatMap((c) => lhr.categories[c].auditRefs)
    .filter((ref) => ref.weight > 0 && lhr.audits[ref.id].score !== null && lhr.audits[ref.id].score < 1)
    .map((ref) => ref.id);
  const metrics = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'speed-index']
    .map((id) => `${id} ${Math.round(lhr.audits[id].numericValue)} ms`).join(', ');
  console.log(`Lighthouse ${lhr.lighthouseVersion} ${name}, run ${run} (load average ${load}): ${scores}; CLS ${cls}`);
  console.log(`  ${metrics}`);
  console.log(`  below full marks: ${[...new Set(failed)].join(', ') || 'none'}`);
}

const chrome = await chromeLauncher.launch({
  chromePath: process.env.HUECODE_CHROMIUM ?? '/usr/bin/chromium',
  chromeFlags: ['--headless=new', '--no-sandbox', '--disable-dev-shm-usage'],
});
try {
  for (const [name, config] of presets) {
    for (let run = 1; run <= runs; ++run) {
      await report(name, config, run);
    }
  }
} finally {
  await chrome.kill();
  await server.close();
}
