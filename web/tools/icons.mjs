// Draws the project's icon as the PNG sizes that phones ask of an installed
// web app (Android's launcher, iOS's home screen) and that the browser
// extension shows (toolbar, menus, store). Each is then recompressed by
// optipng (Debian's), which writes the same pixels in about a fifth fewer
// bytes than the browser's screenshot: PNG's deflate is not gzipped again on
// the way, so these bytes are what the page and the extension ship. Run from
// web/:
//   node tools/icons.mjs   (writes icons/icon-SIZE.png)
import {execFileSync} from 'node:child_process';
import {mkdir, readFile} from 'node:fs/promises';
import {chromium} from 'playwright-core';

const sizes = [16, 32, 48, 128, 180, 192, 512];
const svg = await readFile(new URL('../../ui/resources/icon.svg', import.meta.url));
await mkdir('icons', {recursive: true});
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-dev-shm-usage']});
try {
  const page = await browser.newPage();
  for (const size of sizes) {
    await page.setViewportSize({width: size, height: size});
    await page.setContent(`<body style="margin:0"><img width="${size}" height="${size}"
      src="data:image/svg+xml;base64,${svg.toString('base64')}"></body>`);
    await page.screenshot({path: `icons/icon-${size}.png`, omitBackground: true});
    execFileSync('optipng', ['-o7', '-strip', 'all', '-quiet', `icons/icon-${size}.png`]);
  }
} finally {
  await browser.close();
}
