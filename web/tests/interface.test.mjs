// The page and the extension start only with every dialect fact the core's
// interface owes them; without one they refuse, naming it.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {cp, mkdtemp, rename, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {checkInterface, dialectLabel, findDialect, missingFact} from '../core/interface.js';
import {openBrowser, webRoot} from './page.mjs';
import {serve} from './server.mjs';

// A whole interface, written out here rather than taken from the core.
const whole = () => ({
  request: {fields: {}, stops: 0}, counts: {}, maxStops: 64, limitUnits: ['characters'], spaces: ['rgb', 'oklab'],
  units: ['char', 'grapheme'], styleNames: ['bold', 'italic', 'underline', 'strike'],
  templateParts: ['prefix', 'middle', 'suffix'], formatPart: 'format', initialDialect: 'ubb', initial: {},
  defaultStops: [0, 0],
  dialects: [
    {key: 'html', label: 'Html(网页)', labels: {zh: 'Html(网页)', en: 'HTML font tags'}, prefix: '<font color=',
      middle: '>', suffix: '</font>', format: '', html: 1, styles: 'around',
      codes: ['bold', 'italic', 'underline', 'strike'], entities: 'decoded', literal: 'entities'},
    {key: 'brelvin', label: 'Brelvin', labels: {zh: 'Brelvin', en: 'Brelvin'}, prefix: '[ftc=', middle: ']',
      suffix: '[/ft]', format: '', html: 0, styles: '', codes: [], entities: 'request', literal: 'entities'},
    {key: 'rgb', label: 'rgb', labels: {zh: 'rgb', en: 'rgb'}, prefix: '', middle: '', suffix: '',
      format: '[C={red}]{text}', html: 0, styles: '', codes: [], entities: 'never', literal: 'nothing'},
  ],
});

const topFacts = ['request', 'counts', 'maxStops', 'limitUnits', 'spaces', 'units', 'styleNames', 'templateParts',
  'formatPart', 'dialects', 'initialDialect', 'initial', 'defaultStops'];
const dialectFacts = ['key', 'label', 'labels', 'prefix', 'middle', 'suffix', 'format', 'html', 'styles', 'codes',
  'entities', 'literal'];

test('every fact removed in turn stops the start with its name', () => {
  const removals = [
    ...topFacts.map((name) => [(d) => delete d[name], name]),
    ...dialectFacts.map((name) => [(d) => delete d.dialects[1][name], `dialects[].${name}`]),
    [(d) => delete d.dialects[0].labels.en, 'dialects[].labels.en'],
    [(d) => delete d.dialects[2].labels.zh, 'dialects[].labels.zh'],
  ];
  assert.equal(missingFact(whole()), null);
  for (const [remove, name] of removals) {
    const described = whole();
    remove(described);
    assert.equal(missingFact(described), name);
    assert.throws(() => checkInterface(described), new Error(`the core's interface lacks ${name}`));
  }
});

test('a template is a dialect\'s as the core recognises it: by its format, else by the named parts', () => {
  const core = whole();
  const rows = [
    [{prefix: '[ftc=', middle: ']', suffix: '[/ft]', format: ''}, 'brelvin'],
    [{prefix: '[ftc=', middle: ']', suffix: '[/ft]'}, 'brelvin'],
    [{prefix: '[ftc=', middle: ']', suffix: '[/FT]'}, null],
    [{prefix: '<font color=', middle: '>', suffix: '</font>'}, 'html'],
    // A format decides alone; the parts left in the boxes do not count.
    [{prefix: '[ftc=', middle: ']', suffix: '[/ft]', format: '[C={red}]{text}'}, 'rgb'],
    [{prefix: '', middle: '', suffix: '', format: '[C={red}] {text}'}, null],
    // Empty parts are not the format dialect's.
    [{prefix: '', middle: '', suffix: ''}, null],
  ];
  for (const [template, key] of rows) {
    assert.equal(findDialect(template, core)?.key ?? null, key, JSON.stringify(template));
  }
  assert.equal(findDialect({prefix: 'x', middle: ']', suffix: '[/ft]'}, {...core, templateParts: ['middle', 'suffix']})
    ?.key, 'brelvin');
  assert.deepEqual(['zh', 'en'].map((language) => dialectLabel(core.dialects[0], language)),
    ['Html(网页)', 'HTML font tags']);
});

// The built page on a loader that hands the page the core's own interface
// with one fact taken out.
const loader = (path) => `import createCore from './huecode-core.js';
export default async function createHuecode(options) {
  const core = await createCore(options);
  const at = core._hc_interface() >> 1;
  const described = JSON.parse(new TextDecoder('utf-16le').decode(
    core.HEAPU16.subarray(at, at + core._hc_interface_units())));
  const [owner, name] = ${JSON.stringify(path)};
  delete owner.split('.').filter(Boolean).reduce((object, step) => object[step], described)[name];
  const json = JSON.stringify(described);
  const copy = core._hc_texts(json.length) >> 1;
  for (let k = 0; k < json.length; ++k) core.HEAPU16[copy + k] = json.charCodeAt(k);
  core._hc_interface = () => copy << 1;
  core._hc_interface_units = () => json.length;
  return core;
}
`;

let session;
before(async () => {
  session = await openBrowser();
});
after(() => session?.close());

test('the page refuses to start, saying which fact its core\'s interface lacks', async () => {
  const rows = [[['', 'formatPart'], 'formatPart'], [['dialects.11', 'html'], 'dialects[].html'],
    [['dialects.0.labels', 'en'], 'dialects[].labels.en']];
  for (const [path, fact] of rows) {
    const dir = await mkdtemp(join(tmpdir(), 'huecode-interface-'));
    await cp(webRoot, dir, {recursive: true});
    await rename(join(dir, 'core/huecode.js'), join(dir, 'core/huecode-core.js'));
    await writeFile(join(dir, 'core/huecode.js'), loader(path));
    execFileSync(new URL('../../scripts/web_release.sh', import.meta.url).pathname, [dir]);
    const server = await serve(dir);
    const context = await session.browser.newContext({locale: 'en'});
    const page = await context.newPage();
    await page.goto(server.url);
    await page.waitForFunction(() => document.getElementById('status').textContent !== '');
    assert.equal(await page.textContent('#status'),
      `The converter could not start: Error: the core's interface lacks ${fact}`, fact);
    assert.equal(await page.$('#output:not([data-pending])'), null, `${fact}: the page converted`);
    await context.close();
    await server.close();
    await rm(dir, {recursive: true, force: true});
  }
});
