// What the page keeps, under the faults a browser and a host bring: a new
// release behind a caching host, two tabs, storage blocked, refused or
// silent, a corrupt store, and a tab that crashes.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {cp, mkdtemp, readFile, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {cliMarkup, clipboardText, onlyIn, openBrowser, waitForOutput, webRoot} from './page.mjs';
import {serve} from './server.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

async function open(context, url = session.server.url) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  await page.goto(url);
  await waitForOutput(page);
  return {page, errors};
}

// A copy of the built page with a visible change in its HTML and its
// scripts, sealed as a release of its own; tamper changes a file after that.
async function release(name, {tamper = false} = {}) {
  const dir = join(await mkdtemp(join(tmpdir(), 'huecode-release-')), name);
  await cp(webRoot, dir, {recursive: true});
  const html = join(dir, 'index.html');
  await writeFile(html, (await readFile(html, 'utf8')).replace('<body>', `<body>\n<p id="release">${name}</p>`));
  // The page's texts are in its one script (scripts/web.sh joins the modules).
  const texts = join(dir, 'page/app.js');
  await writeFile(texts, (await readFile(texts, 'utf8')).replaceAll('Brelvin留言彩色字体代码生成', `Release ${name}`));
  execFileSync(new URL('../../scripts/web_release.sh', import.meta.url).pathname, [dir]);
  if (tamper) {
    await writeFile(join(dir, 'page/app.js'), `${await readFile(join(dir, 'page/app.js'), 'utf8')}\n// stale\n`);
  }
  return dir;
}

const shown = (page) => page.evaluate(() => [document.getElementById('release')?.textContent ?? 'one',
  document.querySelector('h1').textContent]);

test('a release behind a caching host arrives whole, after the notice and a reload', async () => {
  const host = await serve(webRoot, {'cache-control': 'max-age=600'});
  const context = await session.browser.newContext({locale: 'zh-CN'});
  const {page, errors} = await open(context, host.url);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  await page.fill('#text', '升级前的文字');
  host.site.root = await release('two');
  await page.reload();
  await page.waitForSelector('#update-note');
  assert.deepEqual(await shown(page), ['one', 'Brelvin留言彩色字体代码生成'], 'nothing changes before the reload');
  await page.click('#update-note button');
  await page.waitForSelector('#release', {state: 'attached'});
  await waitForOutput(page);
  assert.deepEqual(await shown(page), ['two', 'Release two']);
  assert.equal(await page.inputValue('#text'), '升级前的文字');

  // A host serving one file of another release: that release is not installed.
  host.site.root = await release('three', {tamper: true});
  const outcome = await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    const state = new Promise((resolve) => registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker.addEventListener('statechange', () => ['installed', 'redundant'].includes(worker.state) &&
        resolve(worker.state));
    }));
    await registration.update().catch(() => {});
    return state;
  });
  assert.equal(outcome, 'redundant');
  // Offline: the host is gone.
  await host.close();
  await page.reload();
  await waitForOutput(page);
  assert.deepEqual(await shown(page), ['two', 'Release two'], 'offline, the whole release two');
  assert.deepEqual(errors, []);
  await context.close();
});

// Chromium's "block all cookies" makes every storage throw; IndexedDB may
// also refuse, or never answer. ?faults= picks the fault for one page.
const faults = () => {
  const fault = new URLSearchParams(location.search).get('faults');
  const refuse = () => { throw new DOMException('blocked', 'SecurityError'); };
  if (fault === 'blocked') {
    for (const name of ['localStorage', 'sessionStorage', 'indexedDB']) {
      Object.defineProperty(window, name, {get: refuse});
    }
  }
  if (fault === 'refused' || fault === 'silent') {
    IDBFactory.prototype.open = function open() {
      const request = {};
      if (fault === 'refused') {
        setTimeout(() => request.onerror?.(new Event('error')));
      }
      return request;
    };
  }
};

test('storage blocked, refused or silent: the page starts, converts, says so once, and empties no kept text',
  onlyIn(['chromium', 'firefox'], 'WebKit\'s WebDriver runs no script before the page\'s own'), async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  await context.addInitScript(faults);
  const first = await open(context);
  await first.page.fill('#text', 'kept before the fault');
  await first.page.waitForTimeout(300);
  await first.page.close();
  // Each row: the fault, and whether a reload with it keeps a typed text.
  const rows = [['blocked', false], ['refused', true], ['silent', true]];
  for (const [fault] of rows) {
    const {page, errors} = await open(context, `${session.server.url}?faults=${fault}`);
    await page.waitForSelector('#storage-note');
    assert.match(await page.textContent('#storage-note'), /keep anything/, fault);
    assert.equal(await page.locator('.note').count(), 1, fault);
    await page.close({runBeforeUnload: true});
    assert.deepEqual(errors, [], fault);
  }
  const kept = await open(context);
  assert.equal(await kept.page.inputValue('#text'), 'kept before the fault', 'a fault emptied the kept text');
  for (const [fault, keeps] of rows) {
    const {page} = await open(context, `${session.server.url}?faults=${fault}`);
    await page.fill('#text', `typed ${fault}`);
    await page.click('#convert');
    await page.waitForFunction((text) => document.getElementById('output').value.includes(text.at(-1)), fault);
    await waitForOutput(page);
    assert.equal(await page.inputValue('#output'), cliMarkup(['--endpoints'], `typed ${fault}`).toString(), fault);
    await page.waitForTimeout(300);
    await page.reload();
    await waitForOutput(page);
    assert.equal(await page.inputValue('#text'), keeps ? `typed ${fault}` : '', fault);
  }
  await context.close();
});

test('a corrupt store: the page starts, keeps what it can read, and reports a bad saved gradient',
  onlyIn(['chromium', 'firefox'], 'WebKit\'s WebDriver answers no confirm'), async () => {
  const context = await session.browser.newContext({locale: 'zh-CN'});
  const {page, errors} = await open(context);
  const good = (name) => ({id: `g${name}`, name, stops: ['#102030', '#405060'], space: 'rgb'});
  const bad = {id: 'gbad', name: 'bad', stops: ['#000000']};
  await page.evaluate(({gradients}) => {
    localStorage.setItem('huecode.settings.v1', JSON.stringify({language: '__proto__', step: '7',
      stops: Array(200000).fill('#123456'), prefix: 'x'.repeat(5000), theme: 'constructor', merge: true}));
    localStorage.setItem('huecode.gradients.v1', JSON.stringify({format: 'huecode-gradients', version: 1, gradients}));
  }, {gradients: [good('one'), bad, good('two'), good('three')]});
  await page.reload();
  await waitForOutput(page);
  const state = () => page.evaluate(() => [document.documentElement.lang, document.getElementById('step').value,
    document.getElementById('start').value, document.getElementById('prefix').value,
    document.getElementById('merge').checked, document.querySelectorAll('#stops li').length]);
  assert.deepEqual(await state(), ['zh-CN', '7', '#ff00ff', '[color=#', true, 0]);
  const names = () => page.$$eval('#saved button.pick', (b) => b.map((e) => e.textContent));
  assert.deepEqual(await names(), ['one', 'two', 'three']);
  assert.match(await page.textContent('#library-status'), /1 个/);
  await page.fill('#save-name', 'four');
  await page.click('#save-gradient');
  // The list is written in its turn, after the click.
  await page.waitForFunction(() => document.querySelectorAll('#saved button.pick').length === 4);
  assert.deepEqual(await names(), ['one', 'two', 'three', 'four']);
  const stored = await page.evaluate(() => JSON.parse(localStorage.getItem('huecode.gradients.v1')).gradients);
  assert.deepEqual(stored.find((g) => g.id === 'gbad'), bad, 'the unreadable gradient is kept as it was');

  // A store that is no list at all: an import asks before it replaces it, and can be undone.
  await page.evaluate(() => localStorage.setItem('huecode.gradients.v1', '{broken'));
  await page.reload();
  await waitForOutput(page);
  const file = {name: 'g.json', mimeType: 'application/json', buffer: Buffer.from(JSON.stringify(
    {format: 'huecode-gradients', version: 1, gradients: [good('imported')]}))};
  const asked = [];
  for (const answer of [false, true]) {
    const answered = new Promise((resolve) => page.once('dialog', (dialog) => {
      asked.push(dialog.type());
      resolve(answer ? dialog.accept() : dialog.dismiss());
    }));
    await page.setInputFiles('#import-file', file);
    await answered;
    await page.waitForFunction((n) => document.querySelectorAll('#saved button.pick').length === n, answer ? 1 : 0);
    assert.deepEqual(await names(), answer ? ['imported'] : [], `answered ${answer}`);
  }
  assert.deepEqual(asked, ['confirm', 'confirm']);
  await page.click('#library-undo');
  assert.equal(await page.evaluate(() => localStorage.getItem('huecode.gradients.v1')), '{broken');
  assert.deepEqual(errors, []);
  await context.close();
});

test('a long kept text whose last start never showed its markup is offered, and can be cleared', async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  const first = await open(context);
  await first.page.evaluate(() => {
    const box = document.getElementById('text');
    box.value = 'long '.repeat(60000);
    box.dispatchEvent(new Event('input', {bubbles: true}));
  });
  await waitForOutput(first.page);
  // As a start that crashed before its first markup leaves it.
  await first.page.evaluate(() => localStorage.setItem('huecode.starting.v1', '1'));
  await first.page.close();
  const {page, errors} = await open(context);
  await page.waitForSelector('#start-note');
  assert.equal(await page.inputValue('#text'), '');
  await page.click('#start-note button:last-of-type');
  await page.waitForTimeout(300);
  await page.reload();
  await waitForOutput(page);
  assert.deepEqual([await page.inputValue('#text'), await page.locator('#start-note').count()], ['', 0]);
  assert.deepEqual(errors, []);
  await context.close();
});

// Closed at once after the last change: each row a text, short and long, the
// long one past what localStorage takes at once. The box shows a window of
// a long text: the whole is what a copy after Select all takes.
test('a text changed just before its tab closes is kept', async () => {
  const context = await session.browser.newContext({locale: 'en-GB', permissions: ['clipboard-read', 'clipboard-write']});
  for (const text of ['closed at once', `${'长文字 '.repeat(40000)}end`]) {
    const {page} = await open(context);
    await page.evaluate((value) => {
      const box = document.getElementById('text');
      box.value = value;
      box.dispatchEvent(new Event('input', {bubbles: true}));
    }, text);
    await page.close();
    const next = await open(context);
    // A draft IndexedDB gives late still fills the box.
    await next.page.waitForFunction(() => document.getElementById('text').value !== '');
    await next.page.focus('#text');
    await next.page.keyboard.press('Control+a');
    await next.page.keyboard.press('Control+c');
    const kept = await clipboardText(next.page);
    assert.ok(kept === text, `${text.length} units closed, ${kept.length} kept: ${kept.slice(0, 20)}`);
    await next.page.close();
  }
  await context.close();
});

test('a core that cannot start says why, not that the browser lacks WebAssembly',
  onlyIn(['chromium'], 'only Chromium\'s protocol answers a request in the browser\'s place'), async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  await context.route('**/huecode.wasm', (route) => route.fulfill({status: 200, contentType: 'application/wasm',
    body: Buffer.from('not a module')}));
  const page = await context.newPage();
  await page.goto(session.server.url);
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
  assert.match(await page.textContent('#status'), /could not start: .*(Compile|wasm|magic)/i);
  await context.close();
});

// Tab a is deaf (its storage events never arrive), so it works from what it
// read earlier; tab b hears.
test('two tabs: gradients, settings and drafts never overwrite each other',
  onlyIn(['chromium', 'firefox'], 'WebKit\'s WebDriver runs no script before the page\'s own'), async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  const a = await open(context);
  await a.page.evaluate(() => addEventListener('storage', (e) => e.stopImmediatePropagation(), true));
  const b = await open(context);
  await b.page.fill('#save-name', 'from b');
  await b.page.click('#save-gradient');
  await a.page.fill('#save-name', 'from a');
  await a.page.click('#save-gradient');
  // While a's rename question is open, b saves: the rename keeps b's gradient.
  await a.page.click('#saved li:first-child button[aria-label^="Rename"]');
  await b.page.fill('#save-name', 'b while a renames');
  await b.page.click('#save-gradient');
  await a.page.fill('#ask-value', 'renamed in a');
  await a.page.click('#ask-yes');
  const names = (page) => page.$$eval('#saved button.pick', (e) => e.map((x) => x.textContent));
  const all = ['renamed in a', 'from a', 'b while a renames'];
  const shown = (page) => page.waitForFunction((all) => [...document.querySelectorAll('#saved button.pick')]
    .map((x) => x.textContent).join() === all.join(), all);
  await shown(a.page);
  await shown(b.page);
  assert.deepEqual(await a.page.evaluate(() => JSON.parse(localStorage.getItem('huecode.gradients.v1')).gradients
    .map((g) => g.name)), all);
  // A name saved already is asked about: cancelled, nothing changes; replaced, it stays one entry.
  for (const answer of ['#ask-no', '#ask-yes']) {
    await b.page.fill('#save-name', 'from a');
    await b.page.click('#save-gradient');
    await b.page.click(answer);
    await b.page.waitForSelector('#ask-dialog:not([open])', {state: 'attached'});
    assert.deepEqual(await names(b.page), all, answer);
  }

  await a.page.fill('#step', '5');
  await b.page.waitForFunction(() => document.getElementById('step').value === '5');
  await b.page.selectOption('#board', 'dark');
  await a.page.check('#merge');
  await b.page.fill('#text', 'typed in b');
  await a.page.fill('#text', 'typed in a, later');
  await a.page.waitForTimeout(200);
  await b.page.close({runBeforeUnload: true});
  const c = await open(context);
  const settings = (page) => page.evaluate(() => [document.getElementById('step').value,
    document.getElementById('board').value, document.getElementById('merge').checked]);
  assert.deepEqual(await settings(c.page), ['5', 'dark', true]);
  assert.equal(await c.page.inputValue('#text'), 'typed in a, later', 'the idle tab closed last won');

  // A duplicated tab starts with a copy of its source's session storage.
  const copied = await a.page.evaluate(() => Object.entries(sessionStorage));
  await context.addInitScript((entries) => sessionStorage.length || entries.forEach(([k, v]) => sessionStorage.setItem(k, v)), copied);
  const d = await open(context);
  assert.equal(await d.page.inputValue('#text'), 'typed in a, later', 'the copy opens with its source\'s draft');
  await d.page.fill('#text', 'typed in the copy');
  await a.page.fill('#text', 'typed in a, last');
  await a.page.waitForTimeout(200);
  for (const [tab, text] of [[a, 'typed in a, last'], [d, 'typed in the copy']]) {
    await tab.page.reload();
    await waitForOutput(tab.page);
    assert.equal(await tab.page.inputValue('#text'), text, 'a tab and its copy keep their own drafts');
  }
  assert.deepEqual([...a.errors, ...b.errors, ...c.errors, ...d.errors], []);
  await context.close();
});

test('a tab that crashes 150 ms after the last key keeps everything typed',
  onlyIn(['chromium'], 'only Chromium\'s protocol crashes a tab'), async () => {
  const context = await session.browser.newContext({locale: 'en-GB'});
  const {page} = await open(context);
  await page.click('#text');
  const typed = 'crash-safe words, 崩溃也不丢';
  await page.keyboard.type(typed, {delay: 60});
  await page.waitForTimeout(150);
  const devtools = await context.newCDPSession(page);
  const crashed = page.waitForEvent('crash');
  // The answer never comes: the page is gone.
  devtools.send('Page.crash').catch(() => {});
  await crashed;
  const next = await open(context);
  assert.equal(await next.page.inputValue('#text'), typed);
  await context.close();
});
