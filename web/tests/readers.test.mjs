// The readers of what comes from outside (a share link, a gradient file, the
// stored settings and gradients) over any input fast-check can think of:
// they never throw anything but their own errors, and what they let through
// meets the rules written out here.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import fc from 'fast-check';
import * as g from '../shared/gradients.js';
import {defaults, sanitised} from '../shared/settings.js';
import {readShareFragment, shareFragment} from '../shared/share.js';

const runs = {numRuns: 400};
// The page spells a colour one way: '#RRGGBB', upper case.
const hex = /^#[0-9A-F]{6}$/;
// The rules, written out independently of the readers.
const textLimits = {step: 32, limit: 32, prefix: 1000, middle: 1000, suffix: 1000, format: 1000, frames: 32,
  interval: 32, direction: 16, form: 16, animationName: 100};
const choices = {space: ['rgb', 'oklab'], by: ['char', 'grapheme', 'word'], limitUnit: ['characters', 'utf8', 'gbk'],
  board: ['light', 'dark', 'custom'], theme: ['auto', 'light', 'dark'], language: ['zh', 'en', null]};
// The core's facts the readers check against, as its interface hands them over.
const core = {maxStops: 64, spaces: choices.space, units: choices.by, limitUnits: choices.limitUnit};
const flags = ['rainbow', 'merge', 'escape', 'bold', 'italic', 'underline', 'strike', 'endpoints', 'fit', 'perLine',
  'mirror', 'moving'];
// Stop positions: percent with at most two decimals, the placed ones never decreasing.
function positionsRule(value) {
  const placed = Array.isArray(value) ? value.filter((p) => p !== null) : [];
  return value === null || (Array.isArray(value) && value.length >= 2 && value.every((p) => p === null ||
    (typeof p === 'number' && /^\d+(\.\d\d?)?$/.test(String(p)) && p <= 100)) &&
    placed.every((p, k) => k === 0 || p >= placed[k - 1]));
}

function meetsRule(key, value, maxStops) {
  if (key === 'stops') {
    return value === null || (Array.isArray(value) && value.length >= 2 && value.length <= maxStops &&
      value.every((c) => hex.test(c)));
  }
  if (key === 'boardColour') {
    return hex.test(value);
  }
  if (key === 'positions') {
    return positionsRule(value);
  }
  if (choices[key]) {
    return choices[key].includes(value);
  }
  if (flags.includes(key)) {
    return typeof value === 'boolean';
  }
  return (value === null && defaults[key] === null) ||
    (typeof value === 'string' && value.length <= textLimits[key] && !value.includes('\uFFFD'));
}

const colour = fc.stringMatching(/^#[0-9A-F]{6}$/);
const anything = fc.oneof(fc.string({unit: 'binary'}), fc.boolean(), fc.integer(), fc.constant(null),
  fc.array(fc.oneof(colour, fc.stringMatching(/^#[0-9a-f]{6}$/), fc.string())), colour, ...Object.values(choices).flat().map((c) => fc.constant(c)));
const someSettings = fc.dictionary(fc.constantFrom(...Object.keys(defaults), '__proto__', 'constructor'), anything);

// Settings as the page holds them: each field of its type, any value.
const pageSettings = fc.record(Object.fromEntries(Object.keys(defaults).map((key) => [key,
  key === 'stops' ? fc.array(colour, {minLength: 2, maxLength: 70})
    : key === 'boardColour' ? colour
      : key === 'positions' ? fc.array(fc.option(fc.oneof(fc.integer({min: -5, max: 105}),
        fc.double({min: 0, max: 100, noNaN: true}))))
      : choices[key] ? fc.constantFrom(...choices[key].filter((c) => c !== null), 'other')
        : flags.includes(key) ? fc.boolean() : fc.string({unit: 'grapheme', maxLength: 1100})])),
{requiredKeys: []});

test('share links: a written link reads back as written, any fragment reads within the rules', () => {
  fc.assert(fc.property(pageSettings, fc.option(fc.string({unit: 'grapheme'})), (settings, text) => {
    const link = readShareFragment(shareFragment(settings, text), core);
    assert.equal(link.version, 1);
    assert.equal(link.text, text);
    for (const [key, value] of Object.entries(settings)) {
      const shared = !['language', 'theme'].includes(key);
      const kept = shared && meetsRule(key, value, 64);
      assert.deepEqual(link.settings[key], kept ? value : undefined, key);
      assert.equal(link.unreadable.includes(key), shared && !kept, key);
    }
  }), runs);
  const fragment = fc.oneof(fc.string({unit: 'binary'}),
    fc.array(fc.tuple(fc.constantFrom(...Object.keys(defaults), 'huecode', 'text', '__proto__'), fc.string()))
      .map((pairs) => `#huecode=1&${pairs.map(([k, v]) => `${k}=${encodeURIComponent(v)}`).join('&')}`));
  fc.assert(fc.property(fragment, (text) => {
    const link = readShareFragment(text, core);
    for (const [key, value] of Object.entries(link?.settings ?? {})) {
      assert.ok(Object.hasOwn(defaults, key) && meetsRule(key, value, 64), `${key}: ${JSON.stringify(value)}`);
    }
  }), runs);
});

test('stored settings: every field within the rules, whatever was stored', () => {
  const stored = fc.oneof(someSettings, fc.jsonValue(), someSettings.map((s) => JSON.parse(JSON.stringify(s))));
  // Earlier versions kept lower case.
  const upgraded = sanitised({stops: ['#ff00aa', '#00FF00'], boardColour: '#fafafa'});
  assert.deepEqual([upgraded.stops, upgraded.boardColour], [['#FF00AA', '#00FF00'], '#FAFAFA']);
  fc.assert(fc.property(stored, (value) => {
    const settings = sanitised(value, core);
    assert.deepEqual(Object.keys(settings), Object.keys(defaults));
    for (const [key, field] of Object.entries(settings)) {
      assert.ok(field === defaults[key] || meetsRule(key, field, 64), `${key}: ${JSON.stringify(field)}`);
    }
  }), runs);
});

const name = fc.oneof(fc.string({unit: 'grapheme'}), fc.constantFrom('\u200B', '\u3164', ' ', '名'));
const entry = fc.oneof(anything, fc.record({id: fc.oneof(fc.string(), fc.constant('gabc')), name,
  stops: fc.array(fc.oneof(colour, fc.string()), {maxLength: 5}), space: fc.constantFrom('rgb', 'oklab', 'hsl'),
  motion: fc.oneof(anything, fc.record({frames: fc.string(), interval: fc.string(), direction: fc.string(),
    form: fc.string(), name: fc.string({maxLength: 120})}, {requiredKeys: []}))},
{requiredKeys: []}));
const file = fc.record({format: fc.constantFrom('huecode-gradients', 'x'), version: fc.constantFrom(1, 2, '1'),
  gradients: fc.array(entry, {maxLength: 8})}, {requiredKeys: ['gradients']});

function isClean(gradient) {
  return /[^\s\u200B\u3164]/u.test(gradient.name) && [...gradient.name].length <= 80 &&
    gradient.stops.length >= 2 && gradient.stops.every((c) => /^#[0-9A-F]{6}$/.test(c)) &&
    ['rgb', 'oklab'].includes(gradient.space) && (gradient.motion === undefined ||
    (Object.keys(gradient.motion).join() === 'frames,interval,direction,form,name' &&
      Object.values(gradient.motion).every((value) => typeof value === 'string' && value.length <= 100)));
}

test('gradient files and the stored list: clean gradients or a reason, and nothing readable lost', () => {
  fc.assert(fc.property(fc.oneof(file, fc.jsonValue()), (value) => {
    const text = JSON.stringify(value) ?? '';
    let read = null;
    try {
      read = g.readGradientFile(text, core);
    } catch (error) {
      assert.ok(error instanceof g.GradientError && typeof error.code === 'string');
    }
    if (read !== null) {
      assert.ok(read.every(isClean));
      assert.deepEqual(g.readGradientFile(g.exportGradients(read), core), read);
    }
    const store = new Map([[g.storageKey, text]]);
    const storage = {getItem: (k) => store.get(k) ?? null, setItem: (k, v) => store.set(k, v)};
    const saved = g.loadSaved(storage, core);
    if (saved.error === null) {
      assert.ok(saved.list.every(isClean));
      assert.equal(saved.list.length + saved.skipped, value.gradients.length);
      assert.equal(new Set(saved.list.map((e) => e.id)).size, saved.list.length);
      g.changeSaved(storage, (l) => l.slice(1), core);
      assert.deepEqual(g.loadSaved(storage, core).unreadable, saved.unreadable, 'a change dropped an unreadable entry');
    }
  }), runs);
});
