// The browsers the page's scenarios run in. Chromium is driven by
// playwright-core itself; Firefox (over WebDriver BiDi, through
// puppeteer-core) and WebKitGTK (through its WebDriver, with
// selenium-webdriver) are driven through a page of the same shape, built
// from scripts run in the page and the few real inputs each protocol sends,
// so that a scenario is written once. HUECODE_ENGINE picks the engine.
import {spawn} from 'node:child_process';
import {existsSync} from 'node:fs';
import {mkdtemp, writeFile} from 'node:fs/promises';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

export const engine = process.env.HUECODE_ENGINE ?? 'chromium';

// A scenario that needs what only some engines' protocols can do (a crash,
// routing requests, downloads) says so: elsewhere it is skipped, with why.
export const onlyIn = (engines, why) => (engines.includes(engine) ? {} : {skip: `${engine}: ${why}`});

const poll = 50;
const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A function's source run in the page on one argument.
const call = (fn, arg) => `(${fn})(${JSON.stringify(arg ?? null)})`;
const onElement = (selector, body) => `(() => { const e = document.querySelector(${JSON.stringify(selector)});
  if (!e) throw new Error('no element ' + ${JSON.stringify(selector)}); ${body} })()`;
const visible = `(e) => Boolean(e && e.getClientRects().length && getComputedStyle(e).visibility !== 'hidden')`;

// Playwright's key names; WebDriver's keys are in selenium's Key table.
export const keyParts = (keys) => (keys.length > 1 ? keys.split(/\+(?=.)/) : [keys]);

class ScriptedKeyboard {
  constructor(backend) {
    this.backend = backend;
  }

  press(keys) {
    return this.backend.press(keyParts(keys));
  }

  async type(text, {delay: pause = 0} = {}) {
    if (!pause) {
      return this.backend.type(text);
    }
    for (const c of text) {
      await this.backend.type(c);
      await delay(pause);
    }
  }
}

// The commands of one page go to the browser one after another, in the
// order they were given, as a protocol with one connection sends them.
function queued(backend) {
  let last = Promise.resolve();
  return Object.fromEntries(Object.entries(backend).map(([name, method]) => [name, typeof method !== 'function' ? method
    : (...args) => {
      const next = last.then(() => method(...args));
      last = next.catch(() => {});
      return next;
    }]));
}

// The file a page hands the browser through a link with `download`, read
// where it hands it over (the blob behind the link: the page's policy lets it
// fetch nothing), since these protocols report no downloads.
function catchDownload() {
  const {click} = HTMLAnchorElement.prototype;
  const {createObjectURL} = URL;
  const blobs = new Map();
  URL.createObjectURL = (blob) => {
    const url = createObjectURL(blob);
    blobs.set(url, blob);
    return url;
  };
  HTMLAnchorElement.prototype.click = function caught() {
    if (!this.download || !blobs.has(this.href)) {
      return click.call(this);
    }
    Object.assign(HTMLAnchorElement.prototype, {click});
    URL.createObjectURL = createObjectURL;
    const reader = new FileReader();
    reader.onload = () => {
      window.huecodeDownload = reader.result.slice(reader.result.indexOf(',') + 1);
    };
    reader.readAsDataURL(blobs.get(this.href));
    return undefined;
  };
}

// The page a scenario drives, over an engine's backend.
export class ScriptedPage {
  constructor(backend) {
    this.backend = queued(backend);
    this.keyboard = new ScriptedKeyboard(this.backend);
    this.clipboard = backend.clipboard;
    // The workers are a list the driver already holds, not a command.
    this.workers = backend.workers;
    this.mouse = {move: (x, y) => this.backend.mouseMove(x, y)};
  }

  // The media features a user's system sets: colorScheme, reducedMotion.
  emulateMedia(features) {
    return this.backend.media(features);
  }

  async waitForEvent(event) {
    if (event !== 'download') {
      throw new Error(`no ${event} events from this engine's page`);
    }
    const caught = this.evaluate(catchDownload);
    await caught;
    const data = await this.waitForFunction(() => window.huecodeDownload);
    await this.evaluate(() => delete window.huecodeDownload);
    const file = join(await mkdtemp(join(tmpdir(), 'huecode-download-')), 'download');
    await writeFile(file, Buffer.from(data, 'base64'));
    return {path: async () => file};
  }

  on(event, listener) {
    this.backend.on(event, listener);
  }

  once(event, listener) {
    this.backend.once(event, listener);
  }

  goto(url) {
    return this.backend.goto(url);
  }

  reload() {
    return this.backend.reload();
  }

  close(options) {
    return this.backend.close(options);
  }

  evaluate(fn, arg) {
    return this.backend.run(typeof fn === 'string' ? fn : call(fn, arg));
  }

  $eval(selector, fn, arg) {
    return this.backend.run(onElement(selector, `return (${fn})(e, ${JSON.stringify(arg ?? null)});`));
  }

  $$eval(selector, fn, arg) {
    return this.backend.run(`(${fn})([...document.querySelectorAll(${JSON.stringify(selector)})], ${
      JSON.stringify(arg ?? null)})`);
  }

  async waitForFunction(fn, arg, {timeout = 30000} = {}) {
    const source = typeof fn === 'string' ? fn : call(fn, arg);
    for (const end = Date.now() + timeout; ; await delay(poll)) {
      const value = await this.backend.run(source);
      if (value) {
        return value;
      }
      if (Date.now() > end) {
        throw new Error(`timed out waiting for ${source.slice(0, 200)}`);
      }
    }
  }

  waitForSelector(selector, {state = 'visible', timeout} = {}) {
    const [css, pseudo] = selector.endsWith(':visible') ? [selector.slice(0, -8), 'visible'] : [selector, state];
    const test = {attached: 'e !== null', detached: 'e === null', visible: `(${visible})(e)`,
      hidden: `!(${visible})(e)`}[pseudo];
    return this.waitForFunction(`(() => { const e = document.querySelector(${JSON.stringify(css)}); return ${test}; })()`,
      null, {timeout});
  }

  waitForTimeout(ms) {
    return delay(ms);
  }

  // As Playwright's, a click reaches the element itself: one that something
  // fixed covers (the phone's bar) goes to the middle of the window first.
  async click(selector) {
    await this.waitForSelector(selector);
    await this.backend.run(onElement(selector, `const box = e.getBoundingClientRect();
      const hit = document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2);
      if (!hit || !e.contains(hit)) e.scrollIntoView({block: 'center'});`));
    return this.backend.click(selector);
  }

  async hover(selector) {
    await this.waitForSelector(selector);
    return this.backend.hover(selector);
  }

  focus(selector) {
    return this.backend.run(onElement(selector, 'e.focus();'));
  }

  // As the user leaves a box: its whole value replaced by one input.
  fill(selector, value) {
    return this.backend.run(onElement(selector, `e.focus(); e.value = ${JSON.stringify(value)};
      e.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
      if (['color', 'range', 'date'].includes(e.type)) e.dispatchEvent(new Event('change', {bubbles: true}));`));
  }

  selectOption(selector, value) {
    return this.backend.run(onElement(selector, `e.value = ${JSON.stringify(value)};
      e.dispatchEvent(new Event('input', {bubbles: true})); e.dispatchEvent(new Event('change', {bubbles: true}));`));
  }

  async setChecked(selector, checked) {
    if (await this.isChecked(selector) !== checked) {
      await this.click(selector);
    }
  }

  check(selector) {
    return this.setChecked(selector, true);
  }

  inputValue(selector) {
    return this.backend.run(onElement(selector, 'return e.value;'));
  }

  // As Playwright's, it waits for the element to be there.
  async textContent(selector) {
    await this.waitForSelector(selector, {state: 'attached'});
    return this.backend.run(onElement(selector, 'return e.textContent;'));
  }

  getAttribute(selector, name) {
    return this.backend.run(onElement(selector, `return e.getAttribute(${JSON.stringify(name)});`));
  }

  isChecked(selector) {
    return this.backend.run(onElement(selector, 'return e.checked;'));
  }

  isDisabled(selector) {
    return this.backend.run(onElement(selector, 'return e.matches(\':disabled\');'));
  }

  isVisible(selector) {
    return this.backend.run(`(${visible})(document.querySelector(${JSON.stringify(selector)}))`);
  }

  async isHidden(selector) {
    return !await this.isVisible(selector);
  }

  // The first element the selector finds, as Playwright's locator reads it.
  locator(selector) {
    return {
      count: () => this.backend.run(`document.querySelectorAll(${JSON.stringify(selector)}).length`),
      getAttribute: (name) => this.getAttribute(selector, name),
      isDisabled: () => this.isDisabled(selector),
      boundingBox: () => this.backend.run(onElement(selector, `const {x, y, width, height} = e.getBoundingClientRect();
        return {x, y, width, height};`)),
    };
  }

  // A document of the test's own in place of the page's.
  setContent(html) {
    return this.backend.run(`(() => { document.open(); document.write(${JSON.stringify(html)}); document.close(); })()`);
  }

  setViewportSize(size) {
    return this.backend.resize(size);
  }

  async setInputFiles(selector, {name, buffer}) {
    const file = join(await mkdtemp(join(tmpdir(), 'huecode-upload-')), name);
    await writeFile(file, buffer);
    // The same file again is a change too, as a user picking it again makes one.
    await this.backend.run(onElement(selector, 'e.value = \'\';'));
    return this.backend.upload(selector, file);
  }
}

export async function freePort() {
  const server = createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const {port} = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

const executables = {
  chromium: process.env.HUECODE_CHROMIUM ?? '/usr/bin/chromium',
  firefox: process.env.HUECODE_FIREFOX ?? '/usr/bin/firefox-esr',
  webkit: process.env.HUECODE_WEBKIT_DRIVER ?? '/usr/bin/WebKitWebDriver',
};

export function launch() {
  if (!existsSync(executables[engine])) {
    throw new Error(`${engine}: ${executables[engine]} is missing (scripts/setup.sh installs it)`);
  }
  return {chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit}[engine](executables[engine]);
}

async function launchChromium(executablePath) {
  const {chromium} = await import('playwright-core');
  // Chromium refuses to run as root inside its sandbox; containers often
  // have a small /dev/shm.
  return chromium.launch({executablePath, args: ['--no-sandbox', '--disable-dev-shm-usage']});
}

async function launchFirefox(executablePath) {
  const {launchFirefox: start} = await import('./engine-firefox.mjs');
  return start(executablePath);
}

async function launchWebKit(executablePath) {
  const {launchWebKit: start} = await import('./engine-webkit.mjs');
  return start(executablePath, {spawn, freePort});
}
