// The built page refuses to start, saying which fact its core's interface
// lacks, for every fact on the list it checks (core/interface.js), and lists
// the colour spaces and units of its own core.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {cp, mkdtemp, readFile, rename, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {after, before, test} from 'node:test';
import {facts} from '../core/interface.js';
import {textsOf} from '../i18n/texts.js';
import {choiceLists, coreInterface, unlabelledChoices} from '../tools/choices.mjs';
import {coreDir, openBrowser, openPage, webRoot} from './page.mjs';
import {serve} from './server.mjs';

// Runs in the worker before the page's own worker script: the core's
// interface, as the converter parses it, loses the fact that fact.json names
// (from the last dialect, for a dialect's). Its top-level await holds back
// only modules that import it, never a sibling import, so the worker loads
// the two one after the other (worker below).
const tamper = `const {path, name} = await (await fetch(new URL('../fact.json', import.meta.url),
  {cache: 'no-store'})).json();
const parse = JSON.parse;
JSON.parse = (text, reviver) => {
  const value = parse(text, reviver);
  if (value && typeof value === 'object' && 'dialects' in value && 'request' in value) {
    JSON.parse = parse;
    const owner = path.split('.').filter(Boolean).reduce((object, step) =>
      (step.endsWith('[]') ? object[step.slice(0, -2)].at(-1) : object[step]), value);
    delete owner[name];
  }
  return value;
};
`;

let session;
let dir;
let server;
before(async () => {
  session = await openBrowser();
  dir = await mkdtemp(join(tmpdir(), 'huecode-interface-'));
  await cp(webRoot, dir, {recursive: true});
  await rename(join(dir, 'core/worker.js'), join(dir, 'core/page-worker.js'));
  await writeFile(join(dir, 'core/tamper.js'), tamper);
  await writeFile(join(dir, 'core/worker.js'), `await import('./tamper.js');\nawait import('./page-worker.js');\n`);
  execFileSync(new URL('../../scripts/web_release.sh', import.meta.url).pathname, [dir]);
  server = await serve(dir);
});
after(async () => {
  await server?.close();
  await session?.close();
  await rm(dir, {recursive: true, force: true});
});

test('the page refuses to start, saying which fact its core\'s interface lacks', async () => {
  for (const [path, name] of Object.entries(facts).flatMap(([path, list]) => list.map((name) => [path, name]))) {
    const fact = path ? `${path}.${name}` : name;
    await writeFile(join(dir, 'fact.json'), JSON.stringify({path, name}));
    const context = await session.browser.newContext({locale: 'en'});
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    page.on('console', (message) => errors.push(message.text()));
    await page.goto(server.url);
    // A start takes long on a busy machine: the deadline only names the fact.
    // A page that started anyway has converted and says nothing.
    await page.waitForFunction(() => document.getElementById('status').textContent !== '' ||
      document.querySelector('#output:not([data-pending])'), null, {polling: 250, timeout: 120000}).catch(async (error) => {
      throw new Error(`${fact}: ${error.message} ${errors.join('; ')} ${await page.textContent('#status')}`);
    });
    assert.equal(await page.textContent('#status'),
      `The converter could not start: Error: the core's interface lacks ${fact}`, fact);
    assert.equal(await page.locator('#output:not([data-pending])').count(), 0, `${fact}: the page converted`);
    await context.close();
  }
});

// What the first paint shows, in the served page and the single file, and the
// lists once the page has put itself into English, against the interface of
// the core they were built with.
test('the lists of colour spaces and units are the core\'s names, labelled in the page\'s language', async () => {
  const core = await coreInterface(join(coreDir, 'huecode.js'), join(coreDir, 'huecode.wasm'));
  assert.deepEqual(unlabelledChoices(core), []);
  const expected = (language) => choiceLists.map((list) =>
    [list, core[list].map((name) => `${name}=${textsOf(language).choices[list][name]}`)]);
  const written = (html) => [...html.matchAll(/<select [^>]*data-choices="([^"]*)"[^>]*>(.*?)<\/select>/g)]
    .map(([, list, inner]) => [list, [...inner.matchAll(/<option value="([^"]*)">([^<]*)</g)].map(([, ...pair]) =>
      pair.join('='))]);
  const served = await (await fetch(session.server.url)).text();
  const single = await readFile(join(dirname(webRoot), 'web-single', 'huecode.html'), 'utf8');
  assert.deepEqual(written(served), expected('zh'), 'the served page');
  assert.deepEqual(written(single), expected('zh'), 'the single file');
  const {context, page} = await openPage(session, {locale: 'en'});
  const shown = await page.evaluate(() => [...document.querySelectorAll('select[data-choices]')].map((select) =>
    [select.dataset.choices, [...select.options].map((option) => `${option.value}=${option.text}`)]));
  assert.deepEqual(shown, expected('en'), 'in English');
  await context.close();
});
