// Stop positions, the markers on the bar and the surprise gradient: the rules
// without a browser, then the page driven by keyboard and button.
import assert from 'node:assert/strict';
import {after, before, test} from 'node:test';
import {misplacedStop, positionsAfter, resolvedPositions} from '../shared/positions.js';
import {surpriseStops} from '../shared/shuffle.js';
import {cliMarkup, convert, openBrowser, openPage, resetPage, setControl} from './page.mjs';

test('positions: ordered, resolved and carried through stop edits', () => {
  assert.equal(misplacedStop([null, 40, null, 40, null]), -1);
  assert.equal(misplacedStop([null, 40, null, 30, null]), 3);
  assert.deepEqual(resolvedPositions([null, null, 40, null, null]), [0, 20, 40, 70, 100]);
  const positions = [null, 10, null, 60, null];
  assert.deepEqual(positionsAfter('move', positions, 1), positions);
  assert.deepEqual(positionsAfter('remove', positions, 1), [null, null, 60, null]);
  assert.deepEqual(positionsAfter('add', positions), [null, 10, null, 60, null, null]);
  assert.deepEqual(positionsAfter('reverse', positions), [null, 40, null, 90, null]);
});

test('a surprise gradient has two or three stops a sixth of the circle apart', () => {
  const circle = Array.from({length: 36}, (_, k) => `#0000${k.toString(16).padStart(2, '0')}`);
  let seed = 27;
  const random = () => {
    seed = (seed * 1103515245 + 12345) % 2 ** 31;
    return seed / 2 ** 31;
  };
  for (let round = 0; round < 500; ++round) {
    const picks = surpriseStops(circle, random).map((c) => Number.parseInt(c.slice(5), 16));
    assert.ok(picks.length === 2 || picks.length === 3, String(picks));
    for (const a of picks) {
      for (const b of picks.filter((p) => p !== a)) {
        assert.ok(Math.min(Math.abs(a - b), 36 - Math.abs(a - b)) >= 6, String(picks));
      }
    }
  }
});

let session;
before(async () => {
  session = await openBrowser();
});
after(() => session.close());

test('a marker moved by keyboard moves its stop, and the markup follows', async () => {
  const {context, page, errors} = await openPage(session);
  await resetPage(page);
  await setControl(page, 'text', 'abcdefghij');
  await page.click('#add-stop');
  await setControl(page, 'stop-1', '#0000ff');
  await page.focus('#bar-markers .marker');
  await page.keyboard.press('Shift+ArrowRight');
  await page.keyboard.press('ArrowRight');
  const marker = page.locator('#bar-markers .marker');
  assert.equal(await marker.getAttribute('aria-valuenow'), '61');
  assert.equal(await page.inputValue('#stop-1-position'), '61');
  const cli = cliMarkup(['--endpoints', '--via', '0000FF@61'], 'abcdefghij').toString();
  assert.equal(await convert(page), cli);
  // Each row: a key, where the marker is after it.
  await page.focus('#bar-markers .marker');
  for (const [key, now] of [['PageDown', '51'], ['PageUp', '61'], ['End', '100'], ['Home', '0']]) {
    await page.keyboard.press(key);
    assert.equal(await marker.getAttribute('aria-valuenow'), now, key);
  }
  // A finger's target, whatever the dot's size.
  const box = await marker.boundingBox();
  assert.ok(box.width >= 24 && box.height >= 24, `${box.width}×${box.height}`);
  assert.deepEqual(errors, []);
  await context.close();
});

test('the surprise button picks new stops, and undo brings the old ones back', async () => {
  const {context, page} = await openPage(session);
  await resetPage(page);
  await setControl(page, 'text', 'surprise');
  const before = await convert(page);
  await page.click('#shuffle');
  const middle = await page.$$eval('#stops input[type=color]', (inputs) => inputs.length);
  assert.ok(middle === 0 || middle === 1, String(middle));
  assert.notEqual(await page.inputValue('#start'), '#ff00ff');
  assert.notEqual(await convert(page), before);
  await page.click('#undo');
  assert.equal(await convert(page), before);
  await context.close();
});
