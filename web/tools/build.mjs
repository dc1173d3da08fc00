// Bundles the page, its one-file form and the extension with esbuild:
// every module an entry imports, minified, with its source map beside it.
// The core's loader (huecode.js) is written by the Emscripten build, so its
// import is taken from the folder that build wrote it to.
// Usage: node build.mjs page OUT_DIR CORE_DIR
//          index.html, page/app.js, core/worker.js, offline/file-check.js,
//          page/style.css and sw.js into OUT_DIR
//        node build.mjs single OUT_FILE CORE_SINGLE_JS
//          the page as one file that works opened from disk
//        node build.mjs extension OUT_DIR CORE_DIR
//          the background, the popup and the content scripts into OUT_DIR
import {build, transform} from 'esbuild';
import {createHash} from 'node:crypto';
import {mkdir, readFile, writeFile} from 'node:fs/promises';
import {basename, dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {mainWorldScripts, pageScripts} from '../../extension/content/scripts.js';
import {coreInterface, withChoices} from './choices.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const web = join(root, 'web');
const common = {bundle: true, minify: true, sourcemap: 'linked', format: 'esm', charset: 'utf8', logLevel: 'warning',
  legalComments: 'none'};

// Imports answered from elsewhere than the sources: {source path: file}.
function replacing(files) {
  return {
    name: 'replacing',
    setup(builder) {
      builder.onResolve({filter: /\.js$/}, ({path, resolveDir}) => {
        const file = files[resolve(resolveDir, path)];
        return file ? {path: resolve(file)} : undefined;
      });
    },
  };
}

const loaderFrom = (file) => ({[join(web, 'core/huecode.js')]: file});

// index.html with the lists the core names written in, from the interface
// of the core that loader loads (with wasm beside it, or inside it).
async function pageDocument(loader, wasm) {
  return withChoices(await readFile(join(web, 'index.html'), 'utf8'), await coreInterface(loader, wasm));
}

async function page(out, coreDir) {
  await writeFile(join(out, 'index.html'), await pageDocument(join(coreDir, 'huecode.js'), join(coreDir, 'huecode.wasm')));
  await build({...common, entryPoints: {'page/app': join(web, 'page/app.js'), 'core/worker': join(web, 'core/worker.js')},
    outdir: out, plugins: [replacing(loaderFrom(join(coreDir, 'huecode.js')))]});
  // Classic scripts and the style sheet: minified, each on its own. The
  // service worker goes to the site's root, so that its scope is the whole
  // page; its top-level names stay, for scripts/web_release.sh to fill in.
  await build({...common, bundle: false, format: undefined, entryPoints: {'offline/file-check':
    join(web, 'offline/file-check.js'), 'page/style': join(web, 'page/style.css'), 'sw': join(web, 'offline/sw.js')},
  outdir: out});
}

// One script, not written: its code, and its source map written beside file
// (the code's last line names the map).
async function script(file, options) {
  const {outputFiles} = await build({...common, ...options, outfile: file, write: false});
  const map = outputFiles.find(({path}) => path.endsWith('.map'));
  await writeFile(map.path, map.contents);
  const code = outputFiles.find((output) => output !== map).text;
  if (/<\/script|<!--/i.test(code)) {
    throw new Error(`${basename(file)} contains "</script" or "<!--", which would end an inline script early`);
  }
  return code;
}

const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// The page as one file: the page's script and the style sheet inline, the
// WebAssembly inside the core's script, and a Content-Security-Policy that
// allows exactly these inline pieces by their hashes. The worker's code
// travels in a script element that is not run, and the page starts it as a
// classic worker from a blob: URL (core/runner-inline.js); there is no
// service worker. A classic worker has no import.meta: the core's loader
// asks it only for the address it was loaded from, which a worker knows as
// its location.
async function single(outFile, coreScript) {
  const folder = dirname(outFile);
  await mkdir(folder, {recursive: true});
  // The page's script starts its worker from the page.
  const pageScript = await script(join(folder, 'huecode-page.js'), {entryPoints: [join(web, 'page/app.js')],
    plugins: [replacing({[join(web, 'core/runner.js')]: join(web, 'core/runner-inline.js')})]});
  const workerScript = await script(join(folder, 'huecode-worker.js'), {entryPoints: [join(web, 'core/worker.js')],
    format: 'iife', banner: {js: "'use strict';"}, define: {'import.meta.url': 'self.location.href'},
    plugins: [replacing(loaderFrom(coreScript))]});
  if (workerScript.includes('import.meta')) {
    throw new Error('a worker module uses import.meta, which a classic worker does not have');
  }
  const {code: style} = await transform(await readFile(join(web, 'page/style.css'), 'utf8'), {loader: 'css',
    minify: true});
  const icon = (await readFile(join(root, 'ui/resources/icon.svg'))).toString('base64');
  const csp = [`default-src 'none'`, `script-src ${hash(pageScript)} 'wasm-unsafe-eval'`, `style-src ${hash(style)}`,
    `img-src data:`, `connect-src data:`, `worker-src blob:`, `object-src 'none'`, `base-uri 'none'`,
    `form-action 'none'`].join('; ');
  const document = (await pageDocument(coreScript))
    .replace(/<meta http-equiv="Content-Security-Policy" content="[^"]*">/, () =>
      `<meta http-equiv="Content-Security-Policy" content="${csp}">`)
    .replace(/<link rel="manifest"[^>]*>\n/, '')
    .replace(/<link rel="apple-touch-icon"[^>]*>\n/, '')
    .replace(/<link rel="icon"[^>]*>/, () => `<link rel="icon" href="data:image/svg+xml;base64,${icon}">`)
    .replace(/<link rel="stylesheet" href="page\/style.css">/, () => `<style>${style}</style>`)
    .replace(/<script src="offline\/file-check.js" defer><\/script>\n/, '')
    .replace(/<script type="module" src="page\/app.js" blocking="render"><\/script>/,
      () => `<script type="text/plain" id="worker-source">${workerScript}</script>\n` +
        `<script type="module" blocking="render">${pageScript}</script>`);
  for (const left of ['src="page/app.js"', 'href="page/style.css"', 'file-check.js']) {
    if (document.includes(left)) {
      throw new Error(`index.html changed: ${left} is still there`);
    }
  }
  await writeFile(outFile, document);
}

// The extension keeps its sources' folders. Its background loads the core
// from beside itself (core/huecode.js asks for huecode.wasm there). The
// content scripts are classic scripts, injected one by one: each is minified
// on its own.
async function extension(out, coreDir) {
  await build({...common, entryPoints: ['extension/background/background.js', 'extension/popup/popup.js']
    .map((entry) => join(root, entry)), outbase: root, outdir: out,
  plugins: [replacing(loaderFrom(join(coreDir, 'huecode.js')))]});
  await build({...common, bundle: false, format: undefined,
    entryPoints: [...pageScripts, ...mainWorldScripts].map((entry) => join(root, entry)), outbase: root, outdir: out});
}

const [kind, ...args] = process.argv.slice(2);
const kinds = {page, single, extension};
if (!kinds[kind] || args.length !== 2) {
  console.error('usage: node build.mjs page|single|extension OUT CORE');
  process.exit(2);
}
await kinds[kind](...args);
