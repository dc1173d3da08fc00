// Writes the page as one self-contained file that works opened from disk:
// the modules joined into one inline module script (each in a scope of its
// own), the style sheet and the icon inlined, the WebAssembly inside the
// core's script, and a Content-Security-Policy that allows exactly these
// inline pieces by their hashes. The worker's modules, joined the same way,
// travel in a script element that is not run, and the page starts them as a
// worker from a blob: URL; there is no service worker.
// Usage: node single.mjs WEB_DIR CORE_SINGLE_JS OUT_FILE
import {createHash} from 'node:crypto';
import {mkdir, readFile, writeFile} from 'node:fs/promises';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';
import {joinModules} from './bundle.mjs';

const [webDir, coreScript, outFile] = process.argv.slice(2);
// Modules that the single file takes from elsewhere.
const replaced = {'core/huecode.js': coreScript,
  'core/runner.js': fileURLToPath(new URL('../core/runner-inline.js', import.meta.url))};
const pathOf = (name) => replaced[name] ?? join(webDir, name);

const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// The modules from entry on, as one script.
const joined = (entry) => joinModules(entry, (name) => readFile(pathOf(name), 'utf8'));

async function main() {
  const script = await joined('page/app.js');
  // A page opened from disk can start only a classic worker from a blob:
  // URL, which has no import.meta and is strict only when it says so; the
  // core's loader asks import.meta only for the address it was loaded from,
  // which a worker knows as its location.
  const workerScript = `'use strict';\n${await joined('core/worker.js')}`.replace(/\bimport\.meta\.url\b/g,
    'self.location.href');
  if (workerScript.includes('import.meta')) {
    throw new Error('a worker module uses import.meta, which a classic worker does not have');
  }
  const style = await readFile(join(webDir, 'page/style.css'), 'utf8');
  const icon = (await readFile(join(webDir, 'icon.svg'))).toString('base64');
  const csp = [`default-src 'none'`, `script-src ${hash(script)} 'wasm-unsafe-eval'`, `style-src ${hash(style)}`,
    `img-src data:`, `connect-src data:`, `worker-src blob:`, `object-src 'none'`, `base-uri 'none'`, `form-action 'none'`].join('; ');
  const page = (await readFile(join(webDir, 'index.html'), 'utf8'))
    .replace(/<meta http-equiv="Content-Security-Policy" content="[^"]*">/, () =>
      `<meta http-equiv="Content-Security-Policy" content="${csp}">`)
    .replace(/<link rel="manifest"[^>]*>\n/, '')
    .replace(/<link rel="apple-touch-icon"[^>]*>\n/, '')
    .replace(/<link rel="icon"[^>]*>/, () => `<link rel="icon" href="data:image/svg+xml;base64,${icon}">`)
    .replace(/<link rel="stylesheet" href="page\/style.css">/, () => `<style>${style}</style>`)
    .replace(/<script src="offline\/file-check.js" defer><\/script>\n/, '')
    .replace(/<link rel="modulepreload"[^>]*>\n/g, '')
    .replace(/<script type="module" src="page\/app.js" blocking="render"><\/script>/,
      () => `<script type="text/plain" id="worker-source">${workerScript}</script>\n` +
        `<script type="module" blocking="render">${script}</script>`);
  for (const left of ['src="page/app.js"', 'href="page/style.css"', 'file-check.js']) {
    if (page.includes(left)) {
      throw new Error(`index.html changed: ${left} is still there`);
    }
  }
  await mkdir(dirname(outFile), {recursive: true});
  await writeFile(outFile, page);
}

await main();
