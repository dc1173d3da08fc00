// A phone in the hand: the bar with the result and Copy, the folding
// sections; answers beside the action; nothing replaced without asking or
// lost without undo; a first visit without warnings and without jumps.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {cliMarkup, clipboardText, engine, openBrowser, openPage, reveal, waitForOutput} from './page.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

const clipboard = {permissions: ['clipboard-read', 'clipboard-write']};
// Firefox places a box at the window's edge a fraction of a pixel past it.
const inView = (page, id) => page.evaluate((id) => {
  const box = document.getElementById(id).getBoundingClientRect();
  return box.height > 0 && box.top >= -0.5 && box.bottom <= window.innerHeight + 0.5;
}, id);

test('on a phone the bar keeps the result and Copy in reach, also above the keyboard', async () => {
  // Each row: language, screen, the copy button's answer.
  const rows = [['zh-CN', [390, 844], '已复制 ✓'], ['en-US', [360, 640], 'Copied ✓'], ['en-US', [412, 915], 'Copied ✓']];
  for (const [locale, [width, height], copied] of rows) {
    const {context, page} = await openPage(session, {locale, ...clipboard});
    await page.setViewportSize({width, height});
    const text = `${'彩色'.repeat(300)} 😀 end`;
    await page.fill('#text', text);
    await page.focus('#text');
    await page.keyboard.type('!');
    await waitForOutput(page);
    const name = `${locale} ${width}×${height}`;
    assert.ok(await inView(page, 'phone-bar'), name);
    // The keyboard takes half the screen.
    await page.setViewportSize({width, height: Math.round(height / 2)});
    assert.ok(await inView(page, 'bar-copy'), `${name} with the keyboard`);
    assert.ok((await page.textContent('#bar-line')).startsWith('彩色彩色'), name);
    const markup = cliMarkup(['--endpoints'], `${text}!`).toString();
    assert.match(await page.textContent('#bar-length'), new RegExp(`^${[...markup].length} `), name);
    await page.click('#bar-copy');
    assert.equal(await clipboardText(page), markup, name);
    assert.equal(await page.textContent('#bar-copy'), copied, name);

    // Sections open one at a time.
    const open = () => page.$$eval('fieldset.fold[data-open]', (f) => f.map((e) => e.id));
    await page.click('#colours-section .fold-toggle');
    await page.click('#chunks-section .fold-toggle');
    assert.deepEqual(await open(), ['chunks-section'], name);
    assert.ok(await page.isVisible('#step') && !(await page.isVisible('#add-stop')), name);
    // With Copy in view the bar steps aside.
    await page.evaluate(() => document.getElementById('copy').scrollIntoView());
    await page.waitForSelector('#phone-bar[data-away]', {state: 'attached'});
    await context.close();
  }
});

test('on a phone Copy or the bar is in reach wherever the page is scrolled', async () => {
  const {context, page} = await openPage(session, {locale: 'en-US'});
  await page.fill('#text', 'A line typed on a phone');
  await waitForOutput(page);
  // Each row: the screen, whole and with the keyboard's half height.
  for (const [width, height] of [[360, 640], [390, 844], [412, 915]]) {
    for (const shown of [height, Math.round(height / 2)]) {
      await page.setViewportSize({width, height: shown});
      const bands = await page.evaluate(async () => {
        const frame = () => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
        const whole = (id) => {
          const box = document.getElementById(id).getBoundingClientRect();
          return box.height > 0 && box.top >= -0.5 && box.bottom <= innerHeight + 0.5;
        };
        const missing = [];
        for (let y = 0; y <= document.documentElement.scrollHeight - innerHeight + 30; y += 30) {
          scrollTo(0, y);
          await frame();
          if (!whole('copy') && !whole('phone-bar')) {
            missing.push(scrollY);
          }
        }
        return missing;
      });
      assert.deepEqual(bands, [], `${width}×${shown}`);
    }
  }
  await context.close();
});

// A toast must leave every control but its own free to tap.
const coveredControls = (page) => page.evaluate(() => {
  const toast = document.querySelector('.toast').getBoundingClientRect();
  const controls = [...document.querySelectorAll('button, input, select, textarea, a[href], .marker')]
    .filter((control) => !control.closest('.toast'));
  return controls.filter((control) => {
    const box = control.getBoundingClientRect();
    return box.width > 0 && box.left < toast.right && box.right > toast.left && box.top < toast.bottom &&
      box.bottom > toast.top;
  }).map((control) => control.id || control.textContent);
});

test('a toast covers no other control and goes on Esc, by itself, with the next of its kind and the language', async () => {
  const {context, page} = await openPage(session);
  await page.setViewportSize({width: 390, height: 844});
  await page.fill('#text', '彩色文字');
  await waitForOutput(page);
  await reveal(page, '#gallery');
  const toasts = () => page.$$eval('.toast', (all) => all.map((toast) => toast.textContent));
  await page.click('#gallery li:nth-child(1) button');
  await page.click('#gallery li:nth-child(2) button');
  assert.equal((await toasts()).length, 1);
  assert.deepEqual(await coveredControls(page), []);
  await page.keyboard.press('Escape');
  assert.deepEqual(await toasts(), []);

  // The second name is typed before the first save has settled, and is kept.
  for (const name of ['一', '二']) {
    await page.fill('#save-name', name);
    await page.click('#save-gradient');
  }
  await page.waitForSelector('#saved li:nth-child(2)');
  await page.click('#saved li:nth-child(1) button:nth-child(5)');
  await page.waitForSelector('.toast[data-kind=gradient-delete]');
  assert.match((await toasts()).join(), /已删除“一”/);
  assert.deepEqual(await coveredControls(page), []);
  // Held by the pointer beyond its time, it goes once the pointer leaves.
  await page.hover('.toast');
  await page.waitForTimeout(7000);
  assert.equal((await toasts()).length, 1);
  await page.mouse.move(0, 0);
  await page.waitForSelector('.toast', {state: 'detached', timeout: 10000});

  // The language switch takes the toast and re-says the counts.
  const spoken = (words) => page.waitForFunction((words) =>
    document.getElementById('counts-spoken').textContent.includes(words), words);
  await page.click('#gallery li:nth-child(1) button');
  await spoken('输入 4 字符');
  await page.click('#language');
  assert.deepEqual(await toasts(), []);
  await spoken('4 characters in');
  await context.close();
});

test('buttons answer for a moment, the copy key works and the skip link reaches the result', async () => {
  const {context, page} = await openPage(session, clipboard);
  await page.setViewportSize({width: 1280, height: 800});
  assert.equal(await page.isVisible('#phone-bar'), false);
  await page.fill('#text', 'shortcut');
  await waitForOutput(page);
  await page.focus('#text');
  await page.keyboard.press('Control+Shift+Enter');
  await page.waitForFunction(() => document.getElementById('copy').textContent === '已复制 ✓');
  assert.equal(await clipboardText(page), cliMarkup(['--endpoints'], 'shortcut').toString());
  assert.match(await page.getAttribute('#copy', 'title'), /Ctrl\+Shift\+Enter/);
  // The label comes back, and the button kept its width meanwhile.
  await page.waitForFunction(() => document.getElementById('copy').textContent === '复制到剪贴板', null, {timeout: 5000});
  await page.focus('.jump');
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'result');
  await context.close();
});

test('a link with text asks before replacing a draft; settings apply with undo; a long text stays out', async () => {
  const {context, page} = await openPage(session, clipboard);
  const base = session.server.url;
  // Each row: the answer, the text kept.
  for (const [answer, kept] of [['#link-keep', 'my draft'], ['#link-use', '链接文本']]) {
    await page.fill('#text', 'my draft');
    await page.goto(`${base}#huecode=1&step=3&text=${encodeURIComponent('链接文本')}`);
    await page.waitForSelector('#link-dialog[open]');
    assert.equal(await page.inputValue('#step'), '3', answer);
    assert.equal(await page.inputValue('#text'), 'my draft', answer);
    await page.click(answer);
    await waitForOutput(page);
    assert.equal(await page.inputValue('#text'), kept, answer);
    await page.click('.toast[data-kind=link] .toast-undo');
    await waitForOutput(page);
    assert.deepEqual([await page.inputValue('#step'), await page.inputValue('#text')], ['1', 'my draft'], answer);
  }
  // The same text as the draft's needs no question.
  await page.goto(`${base}#huecode=1&step=2&text=my%20draft`);
  await page.waitForFunction(() => location.hash === '');
  assert.equal(await page.isVisible('#link-dialog'), false);

  await page.fill('#text', 'x'.repeat(9000));
  await page.check('#share-text');
  await page.click('#share');
  await page.waitForSelector('.toast[data-kind=share]');
  const link = await clipboardText(page);
  assert.ok(link.length <= 8000 && !link.includes('xxxx') && link.includes('step=2'), link.slice(0, 200));
  assert.match(await page.textContent('.toast[data-kind=share]'), /9\d{3}/);
  await context.close();
});

test('a first visit shows a sample, warns of nothing and nothing jumps', async () => {
  for (const screen of [{width: 390, height: 844}, {width: 1280, height: 800}]) {
    const context = await session.browser.newContext({viewport: screen, locale: 'en-US'});
    const page = await context.newPage();
    await page.goto(session.server.url);
    await waitForOutput(page);
    // The shifts since the page began, which only Chromium reports.
    await page.evaluate(() => {
      window.shifted = PerformanceObserver.supportedEntryTypes.includes('layout-shift') ? 0 : null;
      new PerformanceObserver((list) => {
        for (const entry of list.getEntries()) {
          window.shifted += entry.hadRecentInput ? 0 : entry.value;
        }
      }).observe({type: 'layout-shift', buffered: true});
    });
    // An empty box shows a sample in the gradient, and nothing to copy.
    const shown = () => page.evaluate(() => [document.getElementById('preview').textContent,
      document.getElementById('output').value === '', document.querySelectorAll('#preview span').length]);
    assert.deepEqual(await shown(), ['Your text, in these colours', true, 27]);
    await page.fill('#text', 'Hello');
    await waitForOutput(page);
    assert.deepEqual(await shown(), ['Hello', false, 5]);
    await page.waitForTimeout(300);
    const shifted = await page.evaluate(() => window.shifted);
    assert.ok(shifted === null ? engine !== 'chromium' : shifted < 0.05, `${screen.width}: shift ${shifted}`);
    assert.equal(await page.isVisible('#contrast-warning'), false);
    assert.equal(await page.getAttribute('#text', 'placeholder'), 'Type or paste the text to colour here');
    // No empty band between the last setting and the preview.
    const gap = await page.evaluate(() => document.querySelector('#result').getBoundingClientRect().top -
      document.getElementById('share').getBoundingClientRect().bottom);
    assert.ok(gap < 30, `${screen.width}: ${gap} px above the preview`);
    await context.close();
  }
});

test('the step note shows when it applies; a gallery gradient and a deleted one come back with undo', async () => {
  const {context, page} = await openPage(session);
  await page.fill('#text', 'abc');
  await reveal(page, '#step');
  // Each row: step, whether the note on one colour per character shows.
  for (const [step, noted] of [['5', true], ['2', false], ['3', true]]) {
    await page.fill('#step', step);
    await waitForOutput(page);
    assert.equal(await page.isVisible('#step-note'), noted, step);
  }
  // A gallery gradient brings its board, undoably.
  await reveal(page, '#gallery');
  await page.click('#gallery li:nth-child(3) button');
  assert.equal(await page.inputValue('#board'), 'light');
  assert.equal(await page.textContent('#gallery li:nth-child(3) button .label'), '已使用 ✓');
  await page.click('.toast[data-kind=gradient] .toast-undo');
  assert.deepEqual([await page.inputValue('#board'), await page.inputValue('#start')], ['dark', '#ff00ff']);

  // Every change to the saved list waits its turn in storage, so the list is
  // read once it has settled.
  const names = (expected) => page.waitForFunction((want) =>
    [...document.querySelectorAll('#saved li .label')].map((e) => e.textContent).join('|') === want,
  expected.join('|'), {timeout: 5000});
  for (const [k, name] of ['一', '二', '三'].entries()) {
    await page.fill('#save-name', name);
    await page.click('#save-gradient');
    await names(['一', '二', '三'].slice(0, k + 1));
  }
  await page.click('#saved li:nth-child(2) button:nth-child(5)');
  await names(['一', '三']);
  await page.click('.toast[data-kind=gradient-delete] .toast-undo');
  await names(['一', '二', '三']);
  await page.reload();
  await waitForOutput(page);
  await names(['一', '二', '三']);
  await context.close();
});
