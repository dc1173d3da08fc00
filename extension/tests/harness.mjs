// Starts a browser with a copy of the built extension whose manifest also
// grants the test page's origin: activeTab comes only from a user's gesture,
// which a headless browser cannot make. The code is the build's own.
import {execFileSync} from 'node:child_process';
import {cp, mkdtemp, readFile, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {build} from 'esbuild';
import {engine} from '../../web/tests/engines.mjs';
import {serve} from '../../web/tests/server.mjs';

export {engine, onlyIn} from '../../web/tests/engines.mjs';

const extensionDir = process.env.HUECODE_EXTENSION_DIR;
const cliPath = process.env.HUECODE_CLI;
// The built page the extension was built with, served as /web/ on the test
// site: its worker tells the core's facts as the page reads them.
const webDir = process.env.HUECODE_WEB_DIR;
const siteOrigin = 'http://127.0.0.1';
if (!extensionDir || !cliPath || !webDir) {
  throw new Error('set HUECODE_EXTENSION_DIR to the built extension, HUECODE_WEB_DIR to the built page and ' +
    'HUECODE_CLI to huecode-cli');
}

// A board's post page: the fields a board has, a frame of the same origin,
// and a code editor's input field, which hands what it gets to the editor
// (#proxied) and empties itself.
const inputLog = `<script>window.inputs = [];
addEventListener('input', (event) => inputs.push(event.target.id), true);</script>`;
const files = {
  'index.html': `<!doctype html><meta charset="utf-8"><title>board</title>${inputLog}
<textarea id="area" cols="60" rows="4"></textarea><input id="line" size="40">
<div id="rich" contenteditable="true"></div>
<textarea id="locked" readonly>kept as it is</textarea><input id="secret" type="password" value="kept">
<iframe src="frame.html"></iframe>
<textarea id="proxy"></textarea><div id="proxied"></div>
<script>proxy.addEventListener('input', () => {
  proxied.textContent += proxy.value;
  proxy.value = '';
});</script>`,
  'frame.html': `<!doctype html><meta charset="utf-8">${inputLog}<textarea id="inner"></textarea>`,
  // The rich editors, bundled from the npm packages into editors.js; the
  // code editor is short, so that it draws only part of a long text.
  'editors.html': `<!doctype html><meta charset="utf-8"><title>editors</title>
<style>#codemirror .cm-editor { height: 160px; } iframe { height: 60px; }
/* TinyMCE shows itself once its skin's styles are in; the page has none. */
.tox-tinymce { visibility: visible !important; }</style>
<div id="quill"></div><div id="prosemirror"></div><div id="lexical" contenteditable="true"></div>
<div id="ckeditor"></div><div id="codemirror"></div><div id="stubborn" contenteditable="true"></div>
<div id="mangler" contenteditable="true"></div>
<div id="tiptap"></div><textarea id="tinymce"></textarea><textarea id="sceditor"></textarea>
<textarea id="easymde"></textarea><textarea id="closer"></textarea>
<iframe id="design" src="design.html"></iframe><link rel="stylesheet" href="editors.css">
<script type="module" src="editors.js"></script>`,
  'design.html': '<!doctype html><meta charset="utf-8"><body></body>',
};

// The editors' own style sheets are bundled into editors.css; SCEditor's
// content style sheet is loaded by the editor into its frame.
async function bundleEditors(work) {
  const modules = new URL('../node_modules/', import.meta.url).pathname;
  await cp(join(modules, 'sceditor/minified/themes/content/default.min.css'), join(work, 'sceditor-content.css'));
  return build({entryPoints: [new URL('editors/editors.mjs', import.meta.url).pathname], bundle: true,
    format: 'esm', outfile: join(work, 'editors.js'), loader: {'.svg': 'text', '.png': 'dataurl', '.gif': 'dataurl'},
    logLevel: 'error'});
}

// The popup made the toolbar's popup over the board's tab: opened in a tab
// it would take itself for the options page, and that tab for its own.
function asToolbarPopup() {
  const query = chrome.tabs.query.bind(chrome.tabs);
  Object.assign(chrome.tabs, {getCurrent: async () => undefined, query: () => query({url: 'http://127.0.0.1/*'})});
}

// The extension on a page of the test site (the board, or editors.html with
// the rich editors) in the engine HUECODE_ENGINE names: {page, frame(),
// origin, colour(options) through the background's own colourSelection,
// background(fn, arg) run where the background's APIs are, openPopup() as
// the toolbar's popup over the page's tab, close()}.
export async function openBoard(start = '') {
  const work = await mkdtemp(join(tmpdir(), 'huecode-extension-'));
  const extension = join(work, 'extension');
  await cp(extensionDir, extension, {recursive: true});
  await cp(webDir, join(work, 'web'), {recursive: true});
  const manifest = JSON.parse(await readFile(join(extension, 'manifest.json'), 'utf8'));
  manifest.host_permissions = [`${siteOrigin}/*`];
  await writeFile(join(extension, 'manifest.json'), JSON.stringify(manifest));
  for (const [name, text] of Object.entries(files)) {
    await writeFile(join(work, name), text);
  }
  if (start === 'editors.html') {
    await bundleEditors(work);
  }
  const server = await serve(work);
  const {openIn} = await import(engine === 'firefox' ? './harness-firefox.mjs' : './harness-chromium.mjs');
  const board = await openIn({work, extension, url: server.url + start, id: manifest.browser_specific_settings
    .gecko.id, asToolbarPopup});
  return {...board, origin: new URL(server.url).origin, async close() {
    await board.close();
    await server.close();
    await rm(work, {recursive: true, force: true});
  }};
}

// Puts the text in a field, focuses it and selects [start, end), or leaves
// only a caret when no range is given.
export async function select(frame, id, text, range) {
  await frame.evaluate(([id, text, range]) => {
    const field = document.getElementById(id);
    field.focus();
    if ('value' in field) {
      field.value = text;
      field.setSelectionRange(...(range ?? [0, 0]));
      return;
    }
    field.textContent = text;
    const selection = getSelection();
    selection.removeAllRanges();
    const node = field.firstChild;
    const [start, end] = range ?? [0, 0];
    selection.setBaseAndExtent(node, start, node, end);
  }, [id, text, range]);
}

export function fieldText(frame, id) {
  return frame.evaluate((id) => {
    const field = document.getElementById(id);
    return 'value' in field ? field.value : field.textContent;
  }, id);
}

// The command line's markup for a text, without the line break it ends with.
export function cliMarkup(args, text) {
  return execFileSync(cliPath, [...args, '--', text], {encoding: 'utf8', maxBuffer: 1 << 30}).slice(0, -1);
}
