// The page's rules without a browser: numbers people type, stop edits,
// undo and share links.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {History, editStops, readCount, withAddedStop} from '../page/model.js';
import {readShareFragment, shareFragment} from '../shared/share.js';
import {defaults, sanitised, withCoreNames} from '../shared/settings.js';

// The names a core's interface gives for the conversion's choices.
const core = {spaces: ['rgb', 'oklab'], units: ['char', 'grapheme', 'word'], limitUnits: ['characters', 'utf8', 'gbk']};

test('counts: digits only, full-width digits read, nothing rounded or clamped', () => {
  const rows = [['3', {value: 3}], [' ３２ ', {value: 32}], ['+7', {value: 7}], ['', {error: 'empty'}],
    ['0', {error: 'tooSmall', min: 1}], ['-1', {error: 'tooSmall', min: 1}], ['1.5', {error: 'notWhole'}],
    ['1e3', {error: 'notWhole'}], ['abc', {error: 'notWhole'}], ['&H3', {error: 'notWhole'}],
    ['2147483647', {value: 2147483647}], ['2147483648', {error: 'tooLarge', max: 2147483647}]];
  for (const [text, expected] of rows) {
    assert.deepEqual(readCount(text), expected, text);
  }
});

test('stop edits keep every colour; undo joins typing into one box', () => {
  const stops = ['#000001', '#000002', '#000003', '#000004'];
  const rows = [[1, 1, ['#000001', '#000003', '#000002', '#000004'], 2], [2, -1, ['#000001', '#000003', '#000002',
    '#000004'], 1], [1, -1, stops, 1], [2, 1, stops, 2], [1, 0, ['#000001', '#000003', '#000004'], 1],
  [2, 0, ['#000001', '#000002', '#000004'], 1], [0, 0, stops, 0], [3, 0, stops, 3]];
  for (const [k, move, expected, at] of rows) {
    assert.deepEqual(editStops(stops, k, move), {stops: expected, at}, `${k} ${move}`);
  }
  // A new stop sits halfway along the last segment, channel by channel, halves rounded up.
  const added = [[['#000000', '#ffffff'], '#808080'], [['#123456', '#ff0000', '#0000fe'], '#80007F'],
    [['#0a0b0c', '#0a0b0e'], '#0A0B0D']];
  for (const [list, middle] of added) {
    assert.deepEqual(withAddedStop(list), [...list.slice(0, -1), middle, list.at(-1)], list.join());
  }
  const history = new History(3, 1000);
  const steps = [['a', 'step', 0], ['b', 'step', 500], ['c', 'step', 2000], ['d', null, 2100], ['e', null, 2200],
    ['f', 'limit', 2300]];
  for (const [before, group, at] of steps) {
    history.record(before, group, at);
  }
  const undone = [];
  for (let now = 'g'; now !== null; now = history.undo(now)) {
    undone.push(now);
  }
  assert.deepEqual(undone, ['g', 'f', 'e', 'd'], 'the oldest steps beyond the limit go; a run in one box is one step');
  assert.deepEqual([history.redo('d'), history.redo('e'), history.redo('f'), history.redo('g')], ['e', 'f', 'g', null]);
});

test('share links round trip and read what they can of a damaged or newer one', () => {
  const settings = {stops: ['#FF00FF', '#123ABC', '#00FF00'], rainbow: false, space: 'oklab', step: '2', by: 'grapheme',
    merge: true, escape: false, limit: '300', limitUnit: 'gbk', fit: true, prefix: '[color=#&=?', middle: ']',
    suffix: '[/color] #', board: 'custom', boardColour: '#FAFAFA', format: '&x&{R1}{{{text:json}}}',
    positions: [null, 12.5, null], perLine: true, mirror: false, moving: true, frames: '40', interval: '100',
    direction: 'right', form: 'yaml', animationName: 'tab: "名字" #1'};
  const link = readShareFragment(shareFragment(settings, '文字 & text#'));
  assert.deepEqual(link, {settings, text: '文字 & text#', version: 1, unreadable: []});
  assert.equal(readShareFragment(shareFragment(settings)).text, null);
  const rows = [['#other=1', null],
    ['#huecode=2&step=3&angle=90', {settings: {step: '3'}, text: null, version: 2, unreadable: []}],
    ['#huecode=1&stops=ff00ff&space=hsl&merge=yes&prefix=%E5', {settings: {}, text: null, version: 1,
      unreadable: ['stops', 'space', 'merge', 'prefix']}],
    ['#huecode=1&by=word&positions=_40_30_&mirror=1', {settings: {by: 'word', mirror: true}, text: null, version: 1,
      unreadable: ['positions']}],
    ['#huecode=x&step=4', {settings: {step: '4'}, text: null, version: null, unreadable: []}],
    // Positions are numbers as a link writes them, in percent, in order.
    ['#huecode=1&positions=_0_12.5_', {settings: {positions: [null, 0, 12.5, null]}, text: null, version: 1,
      unreadable: []}],
    ...['_0x10_', '_33.333_', '_%2025_', '_25%25_', '_101_', '_012_', '_-1_'].map((list) => [
      `#huecode=1&positions=${list}`, {settings: {}, text: null, version: 1, unreadable: ['positions']}]),
    // A link from before motion is a still one; a damaged name is reported.
    ['#huecode=1&mirror=1', {settings: {mirror: true}, text: null, version: 1, unreadable: []}],
    ['#huecode=1&moving=yes&frames=12&animationName=%E5', {settings: {frames: '12'}, text: null, version: 1,
      unreadable: ['moving', 'animationName']}]];
  for (const [fragment, expected] of rows) {
    assert.deepEqual(readShareFragment(fragment, core), expected, fragment);
  }
});

test('settings name a colour space and units only as the core does, also those read before it was known', () => {
  const rows = [[{space: 'oklab', by: 'word', limitUnit: 'gbk'}, {space: 'oklab', by: 'word', limitUnit: 'gbk'}],
    [{space: 'hsl', by: 'line', limitUnit: 'bytes'}, {space: defaults.space, by: defaults.by, limitUnit: defaults.limitUnit}],
    [{space: 7, by: null}, {space: defaults.space, by: defaults.by, limitUnit: defaults.limitUnit}]];
  for (const [stored, expected] of rows) {
    const early = sanitised(stored);
    for (const settings of [sanitised(stored, core), withCoreNames(early, core)]) {
      assert.deepEqual({space: settings.space, by: settings.by, limitUnit: settings.limitUnit}, expected,
        JSON.stringify(stored));
    }
  }
  // Before the core is known a name is kept, to be checked once it is.
  assert.equal(sanitised({space: 'hsl'}).space, 'hsl');
});
