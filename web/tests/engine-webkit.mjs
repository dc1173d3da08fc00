// WebKitGTK through its WebDriver, with selenium-webdriver: each context a
// WebDriver session of its own (MiniBrowser keeps nothing between them),
// started with the locale's language, each page one of its windows. It needs
// an X display (xvfb-run): MiniBrowser has no headless mode.
import {execFileSync} from 'node:child_process';
import {mkdir, mkdtemp, rm, writeFile} from 'node:fs/promises';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {Builder, By, Key} from 'selenium-webdriver';
import {ScriptedPage} from './engines.mjs';

const miniBrowser = process.env.HUECODE_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// A script's answer, or its error, through the asynchronous call WebDriver
// has. The source is part of the script: the page's policy forbids eval.
const asyncRun = (source) => `const done = arguments[arguments.length - 1];
  Promise.resolve().then(() => (${source})).then((value) => done({value: value === undefined ? null : value}),
    (error) => done({error: String(error && error.message || error)}));`;

const keyOf = (name) => (name.length === 1 ? name
  : Key[{Backspace: 'BACK_SPACE', Control: 'CONTROL'}[name] ?? name.replace(/(?<=[a-z])(?=[A-Z])/g, '_').toUpperCase()]);

const shifted = /^[A-Z~!@#$%^&*()_+{}|:"<>?]$/;

// The user's real inputs, as WebDriver's actions send them to the window here() selects.
function inputs(here) {
  const find = async (selector) => (await here()).findElement(By.css(selector));
  return {
    click: async (selector) => (await find(selector)).click(),
    hover: async (selector) => (await here()).actions().move({origin: await find(selector)}).perform(),
    mouseMove: async (x, y) => (await here()).actions().move({x: Math.round(x), y: Math.round(y)}).perform(),
    async press(parts) {
      const keys = parts.map(keyOf);
      let actions = (await here()).actions();
      for (const key of keys.slice(0, -1)) {
        actions = actions.keyDown(key);
      }
      actions = actions.sendKeys(keys.at(-1));
      for (const key of keys.slice(0, -1).reverse()) {
        actions = actions.keyUp(key);
      }
      return actions.perform();
    },
    // WebKitGTK's automation types the keys of a US keyboard as if Shift
    // were up ("A!" comes out "a1"): those characters go with Shift held.
    async type(text) {
      let actions = (await here()).actions();
      for (const c of text) {
        actions = shifted.test(c) ? actions.keyDown(Key.SHIFT).sendKeys(c).keyUp(Key.SHIFT) : actions.sendKeys(c);
      }
      return actions.perform();
    },
  };
}

// The editing commands GTK binds to keys, which WebKitGTK's automation drops:
// the key reaches the page and undoes nothing. Unless the page took the key
// for itself, the command runs in the focused box, as the key runs it for a user.
const editKeys = {'Control+z': 'undo', 'Control+Shift+z': 'redo', 'Control+y': 'redo'};
const beforeEditKey = `window.addEventListener('keydown', (event) => {
  window.huecodeKeyTaken = event.defaultPrevented; }, {once: true})`;
const afterEditKey = (command) => `(() => { const box = document.activeElement;
  if (!window.huecodeKeyTaken && box && (box.matches('textarea, input') || box.isContentEditable)) {
    document.execCommand(${JSON.stringify(command)});
  } })()`;

function withEditKeys(press, run) {
  return async (parts) => {
    const command = editKeys[parts.map((part) => (part.length === 1 ? part.toLowerCase() : part)).join('+')];
    if (!command) {
      return press(parts);
    }
    await run(beforeEditKey);
    await press(parts);
    return run(afterEditKey(command));
  };
}

// Closing a session's last window would end the session: that window is left
// for a blank page instead, as a closed tab leaves the page, and taken again
// by the next page.
function backend(driver, handle, spare) {
  const here = async () => {
    if (await driver.getWindowHandle() !== handle) {
      await driver.switchTo().window(handle);
    }
    return driver;
  };
  const listeners = {};
  const keys = inputs(here);
  async function run(source) {
    const answer = await (await here()).executeAsyncScript(asyncRun(source));
    if ('error' in answer) {
      throw new Error(answer.error);
    }
    return answer.value;
  }
  return {
    on: (event, listener) => (listeners[event] ??= []).push(listener),
    once: (event, listener) => (listeners[event] ??= []).push(listener),
    goto: async (url) => (await here()).get(url),
    reload: async () => (await here()).navigate().refresh(),
    async close() {
      if ((await driver.getAllWindowHandles()).length > 1) {
        return (await here()).close();
      }
      await (await here()).get('about:blank');
      spare.push(handle);
    },
    run,
    ...keys,
    press: withEditKeys(keys.press, run),
    media: async () => {
      throw new Error('webkit: WebDriver cannot change the system\'s media features under an open page');
    },
    // The window's frame is the difference between its size and the page's,
    // read once the page has the new size (it may still have the old one
    // just after the window's change).
    async resize({width, height}) {
      const window = (await here()).manage().window();
      await window.setRect({width, height});
      const inner = 'return innerWidth <= arguments[0] && innerHeight <= arguments[1] && [innerWidth, innerHeight]';
      const [innerWidth, innerHeight] = await driver.wait(() => driver.executeScript(inner, width, height), 5000);
      await window.setRect({width: 2 * width - innerWidth, height: 2 * height - innerHeight});
    },
    workers: () => [],
    clipboard: {
      read: async () => execFileSync('xclip', ['-o', '-selection', 'clipboard'], {encoding: 'utf8', maxBuffer: 1 << 30}),
      write: async (text) => execFileSync('xclip', ['-i', '-selection', 'clipboard'], {input: text, stdio: ['pipe', 'ignore', 'ignore']}),
    },
    upload: async (selector, file) => (await (await here()).findElement(By.css(selector))).sendKeys(file),
  };
}

// MiniBrowser takes the system's colour scheme as a flag, and its motion from
// GTK's settings, read from a configuration folder of its own.
async function systemMedia({colorScheme = 'light', reducedMotion = 'no-preference'}) {
  const config = await mkdtemp(join(tmpdir(), 'huecode-gtk-'));
  await mkdir(join(config, 'gtk-3.0'));
  await writeFile(join(config, 'gtk-3.0', 'settings.ini'),
    `[Settings]\ngtk-enable-animations=${reducedMotion === 'reduce' ? 'false' : 'true'}\n`);
  return {args: colorScheme === 'dark' ? ['--dark-mode'] : [], env: {XDG_CONFIG_HOME: config}, config};
}

async function startDriver(executable, {locale, ...features}, {spawn, freePort}) {
  const port = await freePort();
  const media = await systemMedia(features);
  // WebKitGTK takes its language from the locale (LANG), which needs a region.
  const [language, region = language === 'en' ? 'US' : language.toUpperCase()] = locale.split('-');
  const process = spawn(executable, [`--port=${port}`], {stdio: 'ignore',
    env: {...globalThis.process.env, ...media.env, LANG: `${language}_${region}.UTF-8`}});
  process.unref();
  // The driver answers once it listens.
  for (let tries = 0; !await fetch(`http://127.0.0.1:${port}/status`).then(() => true, () => false); ++tries) {
    if (tries === 200) {
      process.kill();
      throw new Error(`webkit: ${executable} never answered`);
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
    'browserName': 'MiniBrowser',
    'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation', '--full-screen', ...media.args]},
  }).build();
  return {driver, stop: () => {
    process.kill();
    return rm(media.config, {recursive: true, force: true});
  }};
}

export function launchWebKit(executable, tools) {
  const sessions = new Set();
  return {
    async newContext({locale = 'zh-CN', colorScheme, reducedMotion, viewport} = {}) {
      const {driver, stop} = await startDriver(executable, {locale, colorScheme, reducedMotion}, tools);
      const session = {driver, stop};
      sessions.add(session);
      const spare = [await driver.getWindowHandle()];
      return {
        addInitScript: () => {
          throw new Error('webkit: WebDriver runs no script before a page\'s own');
        },
        async newPage() {
          if (!spare.length) {
            await driver.switchTo().newWindow('window');
          }
          const page = new ScriptedPage(backend(driver, spare.pop() ?? await driver.getWindowHandle(), spare));
          if (viewport) {
            await page.setViewportSize(viewport);
          }
          return page;
        },
        async close() {
          sessions.delete(session);
          await driver.quit().catch(() => {});
          await stop();
        },
      };
    },
    // A page in a session of its own, which ends with the browser.
    async newPage() {
      return (await this.newContext()).newPage();
    },
    async close() {
      for (const {driver, stop} of sessions) {
        await driver.quit().catch(() => {});
        await stop();
      }
    },
  };
}
