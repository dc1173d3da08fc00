// Every row is converted by the page, by the single-file page opened from
// disk, and by huecode-cli, and the markups must be the same bytes.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {execFileSync} from 'node:child_process';
import {dirname, join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {cliMarkup, cliPath, convert, engine, openBrowser, openPage, resetPage, setControl, waitForOutput, webRoot} from './page.mjs';

const family = '\u{1F468}\u200D\u{1F469}\u200D\u{1F467}';
const cases = [
  {name: 'worked example ab', text: 'ab'},
  {name: 'worked example with inner space', text: 'a b'},
  {name: 'worked example step 2', text: 'abcde', step: '2'},
  {name: 'step not below the length', text: 'abc', step: '3'},
  {name: 'spaces only', text: '   '},
  {name: 'outer spaces trimmed', text: '  彩色 文字  '},
  {name: 'Chinese, html preset', text: '彩色文字渐变效果', dialect: 'html'},
  {name: 'emoji and other pairs', text: `a😀b𝄞c${family}d`, step: '2'},
  {name: 'lone surrogates', text: 'x\uD800y\uDC00z\uDBFF', step: '2'},
  {name: 'CR LF from the user', text: 'one\r\ntwo\rthree\nfour'},
  {name: 'line break inside a chunk', text: 'ab\ncd\r\nef', step: '2'},
  {name: 'ideographic space', text: '\u3000段落\u3000开头 '},
  {name: 'tabs and controls', text: 'a\tb\u0001c\u007fd\u0085e'},
  {name: 'step 3', text: 'abcdefghij', step: '3'},
  {name: 'step 4', text: 'abcdefghij', step: '4'},
  {name: 'step with spaces around', text: 'abcdefghij', step: ' 3 ', cliStep: '3'},
  {name: 'full-width step', text: 'abcdefghij', step: '３', cliStep: '3'},
  {name: 'hexadecimal step, as the window reads it', text: 'abcdefghij', step: '&H3'},
  {name: 'octal step', text: 'abcdefghij', step: '&o4'},
  {name: 'step beyond the text', text: 'abcdef', step: '99'},
  {name: 'edited template', text: 'abc', template: ['{', '|', '}']},
  {name: 'empty template', text: 'abc', template: ['', '', '']},
  {name: 'three stops', text: 'one two three', stops: ['#0000ff', '#ffff00', '#ff0000']},
  {name: 'four stops, step 2', text: 'gradient with stops', step: '2',
    stops: ['#000000', '#ff0000', '#00ff00', '#ffffff']},
  {name: 'rainbow', text: 'rainbow colours', rainbow: true},
  {name: 'OKLab', text: 'ab', space: 'oklab'},
  {name: 'OKLab rainbow', text: '彩虹渐变', rainbow: true, space: 'oklab', dialect: 'span'},
  {name: 'merge', text: 'one tag here', merge: true, stops: ['#336699', '#336699']},
  {name: 'merge across blanks', text: 'aa  bb\ncc', merge: true, step: '2', stops: ['#000000', '#010101']},
  {name: 'grapheme chunks', text: `e\u0301🇫🇷${family}ok`, by: 'grapheme'},
  {name: 'grapheme chunks over CR LF', text: 'a\r\nb\n\nc', by: 'grapheme', step: '2'},
  {name: 'HTML-safe text, step 3', text: 'a<b>c</b> & d', step: '3', dialect: 'html', escape: true},
  {name: 'HTML-safe text, merged', text: '<<&&>> <>', dialect: 'span', escape: true, merge: true,
    stops: ['#336699', '#336699']},
  {name: 'HTML-safe text in UBB', text: '[b]<i>&amp;', escape: true},
  {name: 'HTML-safe text, fitted', text: 'x<y&z>w', dialect: 'html', escape: true, fit: '150'},
  {name: 'as typed with & codes', text: 'a&aa &l&#12', step: '3', dialect: 'legacy', escape: true},
  {name: 'as typed in MiniMessage', text: 'say <b>\\hi\\', step: '4', dialect: 'minimessage', escape: true},
  {name: 'fit', text: 'Hello, board', fit: '200'},
  ...['html', 'ubb', 'bbcode', 'span', 'minimessage', 'ampersand'].map((dialect) => ({name: `${dialect} formatted`,
    text: 'a <b>\tc', dialect, styles: ['bold', 'italic', 'underline', 'strike'], endpoints: true})),
  {name: 'bold, merged, fitted', text: 'one two', styles: ['bold'], merge: true, fit: '80', stops: ['#336699', '#336699']},
  {name: 'endpoints with stops and blanks', text: ' \ta b\nc ', endpoints: true, stops: ['#ff0000', '#00ff00', '#0000ff']},
  {name: 'endpoints, step 2, OKLab', text: 'abcdefg', step: '2', endpoints: true, space: 'oklab'},
  {name: 'fit with graphemes and merge', text: `🇫🇷🇩🇪 ${family}`, fit: '120', by: 'grapheme', merge: true},
  ...['legacy', 'section', 'json', 'ansi'].map((dialect) => ({name: `${dialect} formatted`, text: 'a "<b>"\tc',
    dialect, styles: dialect === 'ansi' ? ['bold', 'underline'] : ['bold', 'italic', 'underline', 'strike']})),
  {name: 'format of one\'s own', text: 'a "b"\n<c>', format: '<{hex}|{R1}{b2}|{red},{green},{blue}>{text:json}</>'},
  {name: 'format with ANSI colours, fitted', text: 'rainbow text', rainbow: true, format: '[{ansi}]{text}', fit: '60'},
  {name: 'stops at positions', text: 'placed where they were put', stops: ['#000000', '#ff0000', '#00ff00', '#0000ff'],
    positions: [null, '12.5', '', null], endpoints: true},
  {name: 'two stops at one place, OKLab', text: 'hard edge here', space: 'oklab',
    stops: ['#ff00ff', '#ffff00', '#00ffff', '#00ff00'], positions: [null, '40', '40', null]},
  {name: 'a gradient per line, there and back', text: '床前明月光\n疑是地上霜\n\n举头望明月\n', perLine: true,
    mirror: true, endpoints: true},
  {name: 'per line, window rule, step 2', text: 'one\r\ntwo lines\n', perLine: true, step: '2'},
  {name: 'mirrored rainbow in OKLab', text: 'there and back again', mirror: true, rainbow: true, space: 'oklab'},
  {name: 'by word', text: 'Hello 你好, world 👋🏽 again', by: 'word', endpoints: true},
  {name: 'by word, fitted, per line', text: 'one two three\nfour five six seven', by: 'word',
    perLine: true, fit: '200'},
  // Frames of a moving gradient, in each form.
  {name: 'frames as YAML, legacy codes', text: 'My "Server" #1: 服务器 \\ ok', dialect: 'legacy',
    motion: {frames: '12', form: 'yaml', name: 'tab title', interval: '150'}},
  {name: 'frames as JSON, json dialect, moving right', text: 'Boss "bar" \\', dialect: 'json', styles: ['bold'],
    motion: {frames: '8', direction: 'right', form: 'json'}},
  {name: 'frames a line, per line, stops at positions in OKLab', text: '第一行文字\nsecond line', perLine: true,
    space: 'oklab', stops: ['#ff0000', '#00ff00', '#0000ff'], positions: [null, '30', null], by: 'grapheme',
    motion: {frames: '5'}},
];

// Where each motion setting goes on the page and on the command line.
const motionOptions = [['frames', 'frames', '--frames'], ['direction', 'direction', '--direction'],
  ['form', 'form', '--animation'], ['name', 'animation-name', '--name'], ['interval', 'interval', '--interval']];

function cliArgs(row) {
  const args = [];
  if (row.step !== undefined) {
    args.push('--step', row.cliStep ?? row.step);
  }
  if (row.dialect) {
    args.push('--preset', row.dialect);
  }
  if (row.template) {
    args.push('--prefix', row.template[0], '--middle', row.template[1], '--suffix', row.template[2]);
  }
  if (row.format) {
    args.push('--format', row.format);
  }
  if (row.stops) {
    args.push('--start', row.stops[0], '--end', row.stops.at(-1));
    row.stops.slice(1, -1).forEach((stop, k) => {
      const position = row.positions?.[k + 1];
      args.push('--via', position ? `${stop}@${position}` : stop);
    });
  }
  if (row.rainbow) {
    args.push('--rainbow');
  }
  if (row.space) {
    args.push('--space', row.space);
  }
  if (row.merge) {
    args.push('--merge');
  }
  if (row.by) {
    args.push('--by', row.by);
  }
  if (row.escape) {
    args.push('--escape');
  }
  if (row.fit) {
    args.push('--fit', row.fit);
  }
  for (const style of row.styles ?? []) {
    args.push(`--${style}`);
  }
  if (row.endpoints) {
    args.push('--endpoints');
  }
  for (const shape of ['perLine', 'mirror']) {
    if (row[shape]) {
      args.push(shape === 'perLine' ? '--per-line' : '--mirror');
    }
  }
  for (const [key, , option] of motionOptions) {
    if (row.motion?.[key] !== undefined) {
      args.push(option, row.motion[key]);
    }
  }
  return args;
}

async function applyRow(page, row) {
  await resetPage(page);
  await setControl(page, 'text', row.text);
  if (row.dialect) {
    await setControl(page, 'dialect', row.dialect);
  }
  if (row.template) {
    for (const [k, box] of ['prefix', 'middle', 'suffix'].entries()) {
      await setControl(page, box, row.template[k]);
    }
  }
  if (row.format) {
    await setControl(page, 'format', row.format);
  }
  if (row.stops) {
    for (let k = 2; k < row.stops.length; ++k) {
      await page.click('#add-stop');
    }
    const ids = ['start', ...row.stops.slice(1, -1).map((_, k) => `stop-${k + 1}`), 'end'];
    for (const [k, id] of ids.entries()) {
      await setControl(page, id, row.stops[k]);
      if (row.positions?.[k]) {
        await setControl(page, `${id}-position`, row.positions[k]);
      }
    }
  }
  for (const [id, value] of [['step', row.step], ['rainbow', row.rainbow], ['space', row.space],
    ['merge', row.merge], ['escape', row.escape], ['endpoints', Boolean(row.endpoints)],
    ...(row.styles ?? []).map((style) => [style, true]), ['by', row.by], ['limit', row.fit], ['fit', row.fit !== undefined],
    ['perLine', row.perLine], ['mirror', row.mirror]]) {
    if (value !== undefined && (value !== false || id === 'endpoints')) {
      await setControl(page, id, value);
    }
  }
  if (row.motion) {
    await setControl(page, 'moving', true);
    for (const [key, id] of motionOptions) {
      if (row.motion[key] !== undefined) {
        await setControl(page, id, row.motion[key]);
      }
    }
  }
}

let session;

before(async () => {
  session = await openBrowser();
});

after(() => session.close());

// The dialects the page lists, which it takes from the core.
function listedDialects(page) {
  return page.$$eval('#dialect option:not([value=custom])', (options) => options.map((option) => option.value));
}

async function differences(page) {
  const failures = [];
  const dialects = (await listedDialects(page)).map((dialect) => ({name: `dialect ${dialect}`, text: 'a<b>&c [d]',
    dialect}));
  for (const row of [...cases, ...dialects]) {
    await applyRow(page, row);
    const markup = await convert(page);
    const held = await page.inputValue('#text');
    // What a text area holds is what the user converts: its line breaks are LF.
    assert.ok(!held.includes('\r'), `${row.name}: the text area kept a CR`);
    assert.equal(held.replace(/\n/g, ''), row.text.replace(/\r\n?|\n/g, ''), `${row.name}: text lost`);
    const expected = cliMarkup(cliArgs(row), held);
    if (!Buffer.from(markup, 'utf8').equals(expected)) {
      failures.push(`${row.name}\n  page: ${JSON.stringify(markup)}\n  cli:  ${JSON.stringify(expected.toString())}`);
    }
  }
  return failures;
}

// The page takes the request's layout and the dialect list from the core:
// a request field that only one side knows stops the converter from starting.
test('the page and the core agree on the request and the dialects', async () => {
  const {context, page} = await openPage(session);
  const started = await page.evaluate(() => new Promise((resolve) => {
    const worker = new Worker('./core/worker.js', {type: 'module'});
    worker.addEventListener('message', ({data}) => resolve(data.ready ? 'started' : data.error), {once: true});
  }));
  assert.equal(started, 'started');
  const presets = execFileSync(cliPath, ['--list-presets']).toString().trim().split('\n');
  assert.deepEqual(await listedDialects(page), presets.map((line) => line.split(' ')[0]));
  await context.close();
});

test('the page writes the same markup as huecode-cli', async () => {
  const {context, page} = await openPage(session);
  assert.deepEqual(await differences(page), []);
  await context.close();
});

test('so does the single file, opened from disk, with nothing refused', async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => message.type() === 'error' && problems.push(message.text()));
  await page.goto(pathToFileURL(join(dirname(webRoot), 'web-single', 'huecode.html')).href);
  await waitForOutput(page);
  assert.deepEqual(await differences(page), []);
  assert.deepEqual(problems, []);
  // It converts in a worker of its own, started from the page's inline code
  // (which WebKit's WebDriver cannot list).
  if (engine !== 'webkit') {
    assert.deepEqual(page.workers().map((worker) => worker.url().slice(0, 5)), ['blob:']);
  }
  // Its share link names a file on this computer, and says so.
  await page.click('#share');
  assert.match(await page.textContent('.toast[data-kind=share]'), /opens only here|只能在这台电脑上打开/);
  await context.close();
});
