// The preview on the board's colour, the step a length limit chooses and the
// length meter against a search of the test's own, and the served page opened from disk.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {after, before, test} from 'node:test';
import {cliMarkup, convert, openBrowser, openPage, setControl, webRoot} from './page.mjs';

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

test('the preview warns of colours a board will not show, and says when it guesses', async () => {
  const {context, page} = await openPage(session);
  await page.fill('#text', 'green on white');
  // Each row: background, custom colour, whether the contrast warning shows.
  const boards = [['light', null, true], ['dark', null, false], ['custom', '#ffffff', true], ['custom', '#000000', false]];
  for (const [board, colour, warned] of boards) {
    await page.selectOption('#board', board);
    if (colour) {
      await page.fill('#board-colour', colour);
    }
    await convert(page);
    assert.equal(await page.isVisible('#contrast-warning'), warned, `${board} ${colour}`);
    const background = await page.$eval('#preview', (e) => getComputedStyle(e).backgroundColor);
    assert.equal(background, {light: 'rgb(255, 255, 255)', dark: 'rgb(27, 27, 31)', '#ffffff': 'rgb(255, 255, 255)',
      '#000000': 'rgb(0, 0, 0)'}[colour ?? board]);
  }
  assert.equal(await page.isVisible('#custom-note'), false);
  await page.fill('#middle', '|');
  // Shown once the core has read the template.
  await page.waitForSelector('#custom-note', {timeout: 10000});
  await context.close();
});

// Each answer redraws the preview over the last one: what it shows must be
// what the markup says, piece by piece, however the chunks changed.
test('the preview shows each answer\'s pieces and colours, redrawn over the last', async () => {
  const {context, page} = await openPage(session);
  const runs = (pieces) => pieces.reduce((list, [colour, text]) => {
    const last = list.at(-1);
    return colour === null && last?.[0] === null ? [...list.slice(0, -1), [null, last[1] + text]]
      : [...list, [colour, text]];
  }, []);
  // Each row: the text and the step, one after another in the same page.
  const rows = [['ab cd\ne', '1'], ['ab cd', '2'], [' x  y', '1'], ['z'.repeat(150) + ' end', '1'], ['ab', '1']];
  for (const [text, step] of rows) {
    await page.fill('#step', step);
    await page.fill('#text', text);
    await convert(page);
    const markup = cliMarkup(['--step', step, '--endpoints'], text).toString();
    const expected = runs([...markup.matchAll(/\[color=#(\w{6})\]([^[]*)\[\/color\]|([^[]+)/g)]
      .map(([, colour, piece, bare]) => (colour ? [`#${colour}`, piece] : [null, bare])));
    await page.waitForFunction(() => !document.getElementById('preview').lastChild?.matches?.('span:empty'));
    const shown = runs(await page.$$eval('#preview', ([preview]) => [...preview.childNodes].map((node) => (node.nodeType === 3
      ? [null, node.data] : [`#${node.style.color.match(/\d+/g).map((c) => Number(c).toString(16).padStart(2, '0'))
        .join('').toUpperCase()}`, node.textContent]))));
    assert.deepEqual(shown, expected, JSON.stringify(text));
  }
  await context.close();
});

// A character GBK cannot write goes as the reference &#N; in a GBK form.
const gbkOf = new Map();
function gbkBytes(text) {
  let bytes = 0;
  for (const c of text) {
    if (!gbkOf.has(c)) {
      try {
        gbkOf.set(c, execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], {input: c, stdio: 'pipe'}).length);
      } catch {
        gbkOf.set(c, `&#${c.codePointAt(0)};`.length);
      }
    }
    bytes += gbkOf.get(c);
  }
  return bytes;
}
const lengthIn = {characters: (s) => [...s].length, utf8: (s) => Buffer.byteLength(s), gbk: gbkBytes};

// The smallest step whose markup fits, by trying every step with huecode-cli;
// the widest step is one tag for the whole text (written here, since the
// command line reads a step at or above the length as 1). 0: nothing fits.
function searchedStep(text, unit, limit) {
  const n = [...text].length;
  for (let step = 1; step < n; ++step) {
    if (lengthIn[unit](cliMarkup(['--endpoints', '--step', String(step)], text).toString()) <= limit) {
      return step;
    }
  }
  return lengthIn[unit](`[color=#000000]${text}[/color]`) <= limit ? n : 0;
}

// The board shows the frames the output holds, one after another at the
// interval; under reduced motion it stays on the first until played.
test('a moving gradient plays its frames on the board, and is still under reduced motion', async () => {
  // The board's colours, as the markup spells them.
  const shown = () => [...document.querySelectorAll('#preview span[style*=color]')].map((span) =>
    `#${span.style.color.match(/\d+/g).map((c) => Number(c).toString(16).padStart(2, '0')).join('')}`).join();
  for (const reducedMotion of ['no-preference', 'reduce']) {
    const {context, page} = await openPage(session, {reducedMotion});
    await page.evaluate(`window.shownColours = ${shown}`);
    await setControl(page, 'text', 'Server');
    for (const [id, value] of [['moving', true], ['frames', '4'], ['interval', '60']]) {
      await setControl(page, id, value);
    }
    const output = await convert(page);
    const frames = output.split('\n').map((line) => [...line.matchAll(/#([0-9A-F]{6})/g)]
      .map(([, hex]) => `#${hex.toLowerCase()}`).join());
    assert.equal(frames.length, 4, output);
    assert.equal(new Set(frames).size, 4, output);
    assert.match(await page.textContent('#counts'), /^4 帧/);
    if (reducedMotion === 'reduce') {
      // Five intervals and more on the first frame, then played on request.
      assert.equal(await page.evaluate(shown), frames[0]);
      await page.waitForTimeout(400);
      assert.equal(await page.evaluate(shown), frames[0]);
      assert.equal(await page.getAttribute('#motion-play', 'aria-pressed'), 'false');
      await page.click('#motion-play');
    }
    // Every frame comes up in turn, the first again after the last.
    for (const frame of [...frames.slice(1), frames[0]]) {
      await page.waitForFunction((expected) => window.shownColours() === expected, frame, {polling: 10});
    }
    await context.close();
  }
});

test('a long moving text recolours what is in view, and a part scrolled into view catches up', async () => {
  const {context, page} = await openPage(session);
  await setControl(page, 'text', '渐变'.repeat(1000));
  for (const [id, value] of [['moving', true], ['frames', '4'], ['interval', '60']]) {
    await setControl(page, id, value);
  }
  await convert(page);
  // The output box shows the head of so long a markup: the frames come from huecode-cli.
  const frames = cliMarkup(['--frames', '4'], '渐变'.repeat(1000)).toString().trim().split('\n')
    .map((line) => [...line.matchAll(/#([0-9A-F]{6})/g)].map(([, hex]) => hex.toLowerCase()));
  assert.equal(frames.length, 4);
  // Whether every chunk in the preview's view shows one and the same frame,
  // past the first, in which a batch is drawn.
  const oneFrameInView = (frames) => {
    const box = document.getElementById('preview').getBoundingClientRect();
    const spans = [...document.querySelectorAll('#preview span[style*=color]')];
    const seen = spans.map((span, n) => [n, span.getBoundingClientRect()])
      .filter(([, r]) => r.bottom > box.top && r.top < box.bottom && r.top < innerHeight)
      .map(([n]) => [n, spans[n].style.color.match(/\d+/g).map((c) => Number(c).toString(16).padStart(2, '0')).join('')]);
    return seen.length > 0 && frames.slice(1).some((frame) => seen.every(([n, hex]) => frame[n] === hex));
  };
  for (const where of ['top', 'bottom']) {
    await page.evaluate((where) => {
      const preview = document.getElementById('preview');
      preview.scrollIntoView();
      preview.scrollTop = where === 'top' ? 0 : preview.scrollHeight;
    }, where);
    await page.waitForFunction(oneFrameInView, frames, {polling: 20, timeout: 5000});
  }
  await context.close();
});

test('a limit in any unit chooses the step a search over every step finds', async () => {
  const {context, page} = await openPage(session);
  await page.check('#fit');
  const emoji = `${'😀'.repeat(20)}ab`;
  // Each row: text, unit, limit. The markup's length does not shrink steadily
  // as the step grows, so halving the range of steps would go wrong here.
  const rows = [['x    x       xxxx', 'utf8', 63], ['x    x       xxxx', 'characters', 63], ['xxx   xxx', 'utf8', 40],
    ['xxx   xxx', 'characters', 32], ['xxx   xxx', 'gbk', 31], [emoji, 'characters', 210], [emoji, 'gbk', 300],
    [emoji, 'utf8', 150], ['彩色文字渐变效果,论坛 board', 'gbk', 200], ['彩色文字渐变效果,论坛 board', 'utf8', 300]];
  for (const [text, unit, limit] of rows) {
    const name = `${text} ${unit} ${limit}`;
    const step = searchedStep(text, unit, limit);
    await page.fill('#text', text);
    await page.selectOption('#limit-unit', unit);
    await page.fill('#limit', String(limit));
    const markup = await convert(page);
    assert.equal(await page.isVisible('#warning'), step === 0, name);
    if (step === 0) {
      continue;
    }
    // The counts end with the step the limit chose; the meter counts as the core does.
    assert.equal(Number(/(\d+)\D*$/.exec(await page.textContent('#counts'))[1]), step, name);
    const n = [...text].length;
    assert.equal(markup, step < n ? cliMarkup(['--endpoints', '--step', String(step)], text).toString()
      : cliMarkup(['--endpoints', '--fit', String(lengthIn.characters(markup))], text).toString(), name);
    const meter = await page.textContent('#meter');
    for (const measure of Object.values(lengthIn)) {
      assert.match(meter, new RegExp(`\\b${measure(markup)}\\b`), name);
    }
    if (unit === 'characters') {
      assert.equal(markup, cliMarkup(['--endpoints', '--fit', String(limit)], text).toString(), name);
    }
  }
  await context.close();
});

test('the served page opened from disk says what to do instead', async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(pathToFileURL(join(webRoot, 'index.html')).href);
  await page.waitForSelector('#file-note:not([hidden])');
  assert.match(await page.textContent('#file-note'), /huecode\.html/);
  await context.close();
});
