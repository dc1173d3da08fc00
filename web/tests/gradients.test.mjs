// The gallery, the saved-gradient list and the gradient file, without a browser.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import * as g from '../shared/gradients.js';

test('colours typed as hex, contrast, and the gallery keeps its promises', () => {
  const colours = [['#ff8000', '#FF8000'], ['FF8000', '#FF8000'], ['#f80', '#FF8800'], [' abc ', '#AABBCC'],
    ['＃ｆ８０', '#FF8800'], ['#ff800', null], ['#gg0000', null], ['', null], ['#ff80001', null], [12, null]];
  for (const [text, expected] of colours) {
    assert.equal(g.parseColour(text), expected, String(text));
  }
  // The core's packing (red in the low byte) written in the spelling parseColour reads any colour into.
  for (const [packed, hex] of [[0x0000ff, '#FF0000'], [0xefcdab, '#ABCDEF'], [0x0a0b0c, '#0C0B0A'], [0, '#000000']]) {
    assert.deepEqual([g.hexOf(packed), g.parseColour(hex.toLowerCase()), g.packedOf(hex.toLowerCase())],
      [hex, hex, packed]);
  }
  // Published figures: black on white, #777777 on white, and yellow on white.
  for (const [a, b, ratio] of [['#000000', '#FFFFFF', 21], ['#777777', '#FFFFFF', 4.48], ['#FFFF00', '#FFFFFF', 1.07]]) {
    assert.ok(Math.abs(g.contrastRatio(a, b) - ratio) < 0.01 && g.contrastRatio(b, a) === g.contrastRatio(a, b));
  }
  assert.ok(g.gallery.length >= 10 && new Set(g.gallery.map((e) => e.id)).size === g.gallery.length);
  for (const entry of g.gallery) {
    assert.ok(entry.name.zh && entry.name.en && ['rgb', 'oklab'].includes(entry.space), entry.id);
    assert.ok(entry.stops.length >= 2 && entry.stops.every((s) => g.parseColour(s) === s), entry.id);
    const boards = entry.board === 'any' ? ['light', 'dark'] : [entry.board];
    for (const board of boards) {
      for (const stop of entry.stops) {
        assert.ok(g.contrastRatio(stop, g.boardColours[board]) >= 3, `${entry.id} ${stop} on ${board}`);
      }
    }
  }
  assert.ok(['light', 'dark'].every((board) => g.gallery.filter((e) => [board, 'any'].includes(e.board)).length >= 3));
});

test('saved gradients: save, rename, move and delete keep every other entry and id', () => {
  let list = [];
  for (const [name, stops] of [['One', ['#111111', '#222222']], ['  Two\n', ['333', '#444444']], ['Three', ['#555555', '#666666', '#777777']]]) {
    list = g.saveGradient(list, {name, stops}).list;
  }
  const [a, b, c] = list.map((e) => e.id);
  assert.deepEqual(list.map((e) => [e.name, e.stops[0]]), [['One', '#111111'], ['Two', '#333333'], ['Three', '#555555']]);
  const before = structuredClone(list);
  let added;
  const steps = [
    [(l) => g.moveGradient(l, c, -1), [a, c, b]],
    [(l) => g.moveGradient(l, a, -5), [a, c, b]],
    [(l) => g.moveGradient(l, a, 9), [c, b, a]],
    [(l) => g.renameGradient(l, b, '二号'), [c, b, a]],
    [(l) => g.deleteGradient(l, c), [b, a]],
    [(l) => {
      const saved = g.saveGradient(l, {name: 'Four', stops: ['#000000', '#FFFFFF'], space: 'oklab'});
      added = saved.id;
      return saved.list;
    }, () => [b, a, added]],
  ];
  for (const [step, ids] of steps) {
    list = step(list);
    assert.deepEqual(list.map((e) => e.id), typeof ids === 'function' ? ids() : ids);
  }
  assert.ok(![a, b, c].includes(added), 'a deleted id came back');
  assert.deepEqual(list.map((e) => e.name), ['二号', 'One', 'Four']);
  assert.deepEqual(list[0].stops, before[1].stops);
  assert.deepEqual(before.map((e) => e.name), ['One', 'Two', 'Three']);
  const refusals = [
    [() => g.saveGradient(list, {name: ' ', stops: ['#000000', '#FFFFFF']}), 'emptyName'],
    // Names that show nothing: zero-width space and joiner, Hangul filler, braille blank, a lone accent.
    ...['\u200B', '\u200D\u2060', '\u3164', ' \u2800 ', '\u0301', '\uFE0F'].map((name) => [
      () => g.saveGradient(list, {name, stops: ['#000000', '#FFFFFF']}), 'emptyName']),
    [() => g.saveGradient(list, {name: 'x'.repeat(81), stops: ['#000000', '#FFFFFF']}), 'nameTooLong'],
    [() => g.saveGradient(list, {name: 'x', stops: ['#000000']}), 'tooFewStops'],
    [() => g.saveGradient(list, {name: 'x', stops: ['#000000', 'red']}), 'badColour'],
    [() => g.saveGradient(list, {name: 'x', stops: ['#000000', '#FFFFFF'], space: 'hsl'}, {spaces: ['rgb', 'oklab']}),
      'badSpace'],
    [() => g.saveGradient(list, {name: 'x', stops: ['#000000', '#FFFFFF'], space: 7}), 'badSpace'],
    [() => g.saveGradient(list, {name: 'x', stops: Array(4).fill('#000000')}, {maxStops: 3}), 'tooManyStops'],
    [() => g.renameGradient(list, 'gnone', 'x'), 'unknownId'],
  ];
  for (const [call, code] of refusals) {
    assert.throws(call, (error) => error.code === code, code);
  }
});

test('export, import and storage round trip; bad files say why and change nothing', () => {
  const list = g.saveGradient(g.saveGradient([], {name: '海', stops: ['#0B3D91', '#00796B']}).list,
    {name: 'Dawn', stops: ['#FF5F6D', '#FFC371', '#FFFFFF'], space: 'oklab'}).list;
  const file = g.exportGradients(list);
  assert.deepEqual(JSON.parse(file).format, 'huecode-gradients');
  assert.deepEqual(g.readGradientFile(file), list.map(({name, stops, space}) => ({name, stops, space})));
  const merged = g.mergeGradients(list, g.readGradientFile(file));
  assert.deepEqual([merged.added, merged.skipped, merged.list.length], [0, 2, 2]);

  const wrap = (gradients, extra = {}) => JSON.stringify({format: 'huecode-gradients', version: 1, gradients, ...extra});
  const bad = [
    ['{"format":', 'notJson'],
    ['[1,2]', 'notGradientFile'],
    [JSON.stringify({format: 'other', version: 1, gradients: []}), 'notGradientFile'],
    [wrap([], {version: 3}), 'newerVersion'],
    [wrap([{name: 'p', stops: ['#000000', '#FF0000', '#FFFFFF'], positions: [null, 120, null]}], {version: 2}),
      'badPositions', 0],
    [wrap([{name: 'p', stops: ['#000000', '#FF0000', '#FFFFFF'], positions: [null, 50]}], {version: 2}),
      'badPositions', 0],
    [wrap([], {version: '1'}), 'badVersion'],
    [wrap([{name: 'f', stops: ['#000000', '#FFFFFF'], format: 7}]), 'badFormat', 0],
    [wrap([{name: 'f', stops: ['#000000', '#FFFFFF'], format: 'x'.repeat(1001)}]), 'badFormat', 0],
    [wrap([{name: 'm', stops: ['#000000', '#FFFFFF'], motion: {frames: 40}}]), 'badMotion', 0],
    [wrap([{name: 'ok', stops: ['#000000', '#FFFFFF']}, {name: 'bad', stops: ['#000000', 'blue']}]), 'badColour', 1],
    [wrap([{name: '', stops: ['#000000', '#FFFFFF']}]), 'emptyName', 0],
    [wrap(Array(501).fill({name: 'x', stops: ['#000000', '#FFFFFF']})), 'tooMany'],
    ['x'.repeat((1 << 20) + 1), 'tooLarge'],
  ];
  for (const [text, code, entry] of bad) {
    assert.throws(() => g.readGradientFile(text), (error) => error.code === code && error.entry === entry, code);
  }
  // Fields this version does not know are passed over; a byte order mark too.
  const newer = `\uFEFF${wrap([{name: 'n', stops: ['fff', '000'], angle: 90}], {author: 'x'})}`;
  assert.deepEqual(g.readGradientFile(newer), [{name: 'n', stops: ['#FFFFFF', '#000000'], space: 'rgb'}]);
  // Version 2: positions travel with the stops; all even ones are left out.
  // A format travels with its gradient too.
  // So does a motion; a gradient saved still has none.
  const placed = {name: 'p', stops: ['#000000', '#FF0000', '#00FF00', '#FFFFFF'], space: 'rgb',
    positions: [null, 12.5, null, null], format: '&#{HEX}{text}',
    motion: {frames: '40', interval: '100', direction: 'left', form: 'yaml', name: 'tab "1"'}};
  const even = {...placed, name: 'e', positions: [null, null, null, null]};
  const saved = g.mergeGradients([], [placed, even]).list;
  assert.deepEqual(g.readGradientFile(g.exportGradients(saved)),
    [placed, {name: 'e', stops: even.stops, space: 'rgb', format: placed.format, motion: placed.motion}]);
  const kept = new Map();
  assert.ok(g.storeSaved({setItem: (k, v) => kept.set(k, v)}, saved));
  assert.equal(g.loadSaved({getItem: (k) => kept.get(k)}).list[0].format, placed.format);
  assert.deepEqual(g.loadSaved({getItem: (k) => kept.get(k)}).list[0].motion, placed.motion);

  const storage = new Map();
  const store = {getItem: (k) => storage.get(k) ?? null, setItem: (k, v) => storage.set(k, v)};
  assert.deepEqual([g.loadSaved(store).list, g.loadSaved(store).error], [[], null]);
  assert.ok(g.storeSaved(store, g.deleteGradient(list, list[0].id)));
  assert.deepEqual(g.loadSaved(store).list, [list[1]]);
  storage.set(g.storageKey, '{broken');
  const damaged = g.loadSaved(store);
  assert.deepEqual([damaged.list, damaged.error.code], [[], 'notJson']);
  const refusing = {getItem: () => { throw new Error('denied'); }, setItem: () => { throw new Error('full'); }};
  assert.deepEqual([g.loadSaved(refusing).error.code, g.storeSaved(refusing, list)], ['storageRefused', false]);
});

// Two tabs, each holding the list as it read it earlier: every change is made
// to what the storage holds now, and an entry nobody can read stays.
test('stored changes: one entry at a time, unreadable entries skipped and kept', () => {
  const storage = new Map();
  const store = {getItem: (k) => storage.get(k) ?? null, setItem: (k, v) => storage.set(k, v)};
  const good = (name, id) => ({id, name, stops: ['#000000', '#FFFFFF'], space: 'rgb'});
  const bad = {id: 'gbad', name: 'broken', stops: ['#000000', 'oops']};
  storage.set(g.storageKey, JSON.stringify({format: g.fileFormat, version: 1,
    gradients: [good('A', 'ga'), bad, good('B', 'gb'), {...good('C', 'ga')}]}));
  const read = g.loadSaved(store);
  assert.deepEqual([read.list.map((e) => e.name), read.skipped, read.renumbered], [['A', 'B', 'C'], 1, true]);
  assert.notEqual(read.list[2].id, 'ga', 'a repeated id is replaced');
  g.storeSaved(store, read.list, read.unreadable);
  const [a, b, c] = read.list.map((e) => e.id);
  // Each row: the change one tab makes, and the names stored after it.
  const rows = [
    [(l) => g.renameGradient(l, a, 'A2'), ['A2', 'B', 'C']],
    [(l) => g.saveGradient(l, {name: 'D', stops: ['#111111', '#222222']}).list, ['A2', 'B', 'C', 'D']],
    [(l) => g.deleteGradient(l, b), ['A2', 'C', 'D']],
    [(l) => g.moveGradient(l, c, -1), ['C', 'A2', 'D']],
  ];
  for (const [change, names] of rows) {
    g.changeSaved(store, change);
    const now = JSON.parse(storage.get(g.storageKey)).gradients;
    assert.deepEqual(now.filter((e) => e !== null && e.id !== 'gbad').map((e) => e.name), names);
    assert.deepEqual(now.find((e) => e.id === 'gbad'), bad);
  }
  storage.set(g.storageKey, '{broken');
  assert.throws(() => g.changeSaved(store, (l) => l), (e) => e.code === 'notJson');
  assert.equal(storage.get(g.storageKey), '{broken');
  g.changeSaved(store, (l) => g.saveGradient(l, {name: 'E', stops: ['#000000', '#FFFFFF']}).list, {replace: true});
  assert.deepEqual(g.loadSaved(store).list.map((e) => e.name), ['E']);
});
