// Share links: every setting in the address's fragment, which never reaches
// a server. A link reads
//
//   #huecode=1&stops=FF00FF-00FF00&space=rgb&step=1&…&prefix=%5Bcolor%3D%23
//
// where huecode= gives the version of the layout. Each field is read on its
// own: one that cannot be read is reported and left to the defaults, so a
// damaged link or one from another version restores all it still can.
import {maxFormatLength, parseColour} from './gradients.js';
import {validPositions} from './positions.js';
/** @import {Settings, ShareLink} from './types.js' */

export const shareVersion = 1;
const marker = 'huecode';
// The longest step, limit and template a link (or the stored settings) may
// hold: more is no setting anyone made.
export const maxLengths = Object.freeze({step: 32, limit: 32, prefix: 1000, middle: 1000, suffix: 1000,
  format: maxFormatLength, frames: 32, interval: 32, direction: 16, form: 16, animationName: 100});

// Only the two spellings: a lookup in an object literal would also find its
// inherited members (toString, constructor).
const flag = {write: (v) => (v ? '1' : '0'), read: (s) => (s === '1' ? true : s === '0' ? false : undefined)};
const oneOf = (...values) => ({write: String, read: (s) => (values.includes(s) ? s : undefined)});
// The settings whose values are names the core gives (CoreFacts): the list
// each takes them from.
export const coreNames = Object.freeze({space: 'spaces', by: 'units', limitUnit: 'limitUnits'});
// One of the core's names for the setting key, in limits (the core's facts);
// before the core is known, any name.
export const namedByCore = (key, value, limits) => typeof value === 'string' &&
  (limits?.[coreNames[key]] ?? [value]).includes(value);
const coreName = (key) => ({write: String, read: (s, limits) => (namedByCore(key, s, limits) ? s : undefined)});
// A broken escape in a damaged link reads as U+FFFD, which no setting holds.
const string = (max) => ({write: String, read: (s) => (s.length <= max && !s.includes('\uFFFD') ? s : undefined)});
// Six digits in either case.
const readColour = (s) => (/^[0-9A-Fa-f]{6}$/.test(s) ? parseColour(s) : null);
const colour = {
  write: (c) => c.slice(1),
  read: (s) => readColour(s) ?? undefined,
};
const stops = {
  write: (list) => list.map(colour.write).join('-'),
  read(s, {maxStops = Infinity}) {
    const list = s.split('-').map(readColour);
    return list.length >= 2 && list.length <= maxStops && !list.includes(null) ? list : undefined;
  },
};

// One entry per stop, in percent, empty for a stop evenly spaced: "_25__".
// Each is a number as the link writes it, nothing else.
const positionIn = (p) => (p === '' ? null : String(Number(p)) === p ? Number(p) : undefined);
const positions = {
  write: (list) => list.map((p) => (p === null ? '' : String(p))).join('_'),
  read(s) {
    const list = s.split('_').map(positionIn);
    return validPositions(list) ? list : undefined;
  },
};

// The settings a link carries, in the order it writes them.
const fields = {
  stops,
  rainbow: flag,
  space: coreName('space'),
  step: string(maxLengths.step),
  by: coreName('by'),
  merge: flag,
  escape: flag,
  bold: flag,
  italic: flag,
  underline: flag,
  strike: flag,
  endpoints: flag,
  limit: string(maxLengths.limit),
  limitUnit: coreName('limitUnit'),
  fit: flag,
  prefix: string(maxLengths.prefix),
  middle: string(maxLengths.middle),
  suffix: string(maxLengths.suffix),
  board: oneOf('light', 'dark', 'custom'),
  boardColour: colour,
  format: string(maxLengths.format),
  positions,
  perLine: flag,
  mirror: flag,
  // A link without them (from before) is a still gradient.
  moving: flag,
  frames: string(maxLengths.frames),
  interval: string(maxLengths.interval),
  direction: string(maxLengths.direction),
  form: string(maxLengths.form),
  animationName: string(maxLengths.animationName),
};

// The fragment for the settings, with the text only when it is given.
/**
 * @param {Partial<Settings>} settings
 * @param {string | null} [text]
 */
export function shareFragment(settings, text = null) {
  const params = new URLSearchParams({[marker]: String(shareVersion)});
  for (const [key, field] of Object.entries(fields)) {
    if (settings[key] !== undefined && settings[key] !== null) {
      params.set(key, field.write(settings[key]));
    }
  }
  if (text !== null) {
    params.set('text', text);
  }
  return `#${params}`;
}

// null when the fragment is no share link. Otherwise {settings, text,
// version, unreadable}: settings holds every field that could be read, text
// is null when the link has none, version is null when it cannot be read, and
// unreadable names the fields left to the defaults. Fields a later version
// added are passed over. limits are the core's facts (its stop limit and
// the names coreNames lists).
/**
 * @param {string} fragment
 * @param {import('./types.js').CoreLimits} [limits]
 * @returns {ShareLink | null}
 */
export function readShareFragment(fragment, limits = {}) {
  let params;
  try {
    params = new URLSearchParams(fragment.replace(/^#/, ''));
  } catch {
    return null;
  }
  if (!params.has(marker)) {
    return null;
  }
  const versionText = params.get(marker);
  const version = /^\d{1,6}$/.test(versionText) ? Number(versionText) : null;
  const settings = {};
  const unreadable = [];
  for (const [key, field] of Object.entries(fields)) {
    if (!params.has(key)) {
      continue;
    }
    const value = field.read(params.get(key), limits);
    if (value === undefined) {
      unreadable.push(key);
    } else {
      settings[key] = value;
    }
  }
  return {settings, text: params.has('text') ? params.get('text') : null, version, unreadable};
}
