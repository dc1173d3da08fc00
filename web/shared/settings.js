// The page's settings, remembered between visits (the text is kept apart,
// in text-store.js).
import {parseColour} from './gradients.js';
import {languages} from '../i18n/texts.js';
import {coreNames, maxLengths, namedByCore} from './share.js';
import {validPositions} from './positions.js';
/** @import {Settings} from './types.js' */

export const storageKey = 'huecode.settings.v1';

// The window's conversion: step 1, and what the core opens with (its
// gradient, and its initial template); but the colours start and end exactly
// on the chosen ones, as web users expect (the window's rule is one click
// away).
export const defaults = Object.freeze({
  stops: null,  // null: the core's default gradient
  rainbow: false,
  space: 'rgb',
  step: '1',
  by: 'char',
  merge: false,
  escape: false,
  bold: false,
  italic: false,
  underline: false,
  strike: false,
  endpoints: true,
  limit: '',
  limitUnit: 'characters',
  fit: false,
  prefix: null,  // null: the core's initial template
  middle: null,
  suffix: null,
  format: '',  // a format string of placeholders; when not empty it replaces the three boxes
  // The preview's background: a light, a dark or a custom board. Dark: where
  // the core's default gradient (the gallery's "classic") reads.
  board: 'dark',
  boardColour: '#FFFFFF',
  language: null,  // null: from the browser's languages
  theme: 'auto',
  positions: null,  // null: every stop evenly spaced (see positions.js)
  perLine: false,
  mirror: false,
  // Frames of the gradient flowing along the text, instead of one still
  // gradient; null leaves a value to the core's default.
  moving: false,
  frames: null,  // as typed
  interval: null,  // milliseconds, as typed
  direction: null,  // one the core names (CoreFacts.motion.directions)
  form: null,  // how the frames are written (CoreFacts.motion.forms)
  animationName: null,  // the YAML block's name
});

// The reader's own preferences rather than conversion settings: a reset, an
// undo or a share link leaves them alone.
export const readerKeys = Object.freeze(['language', 'theme']);

// The page's own choices; those of the conversion are the core's (coreNames).
const choices = {
  board: ['light', 'dark', 'custom'],
  theme: ['auto', 'light', 'dark'],
  language: languages,
};

// '#' and six digits in either case (earlier versions kept lower case), as
// the page spells a colour; null for anything else.
const storedColour = (value) => (typeof value === 'string' && /^#[0-9a-f]{6}$/i.test(value) ? parseColour(value) : null);
// Before the core says how many stops it takes, a stored list longer than
// this is no gradient anyone made (the core's own limit, far lower, applies
// once it is ready); it is dropped before the page draws a row per stop.
export const storedStopsGuard = 256;

function stopsOf(value, maxStops) {
  return Array.isArray(value) && value.length >= 2 && value.length <= maxStops &&
    value.every((c) => storedColour(c) !== null) ? value.map(storedColour) : undefined;
}

// One field as stored, or undefined when it cannot be read.
function readField(key, value, limits) {
  if (key === 'stops') {
    return value === null ? null : stopsOf(value, limits.maxStops ?? storedStopsGuard);
  }
  if (coreNames[key]) {
    return namedByCore(key, value, limits) ? value : undefined;
  }
  if (key === 'positions') {
    return value === null || validPositions(value) ? value : undefined;
  }
  if (key === 'boardColour') {
    return storedColour(value) ?? undefined;
  }
  if (choices[key]) {
    return choices[key].includes(value) || (defaults[key] === null && value === null) ? value : undefined;
  }
  if (typeof value === 'string' && Object.hasOwn(maxLengths, key) && value.length > maxLengths[key]) {
    return undefined;
  }
  // A field left to the core (null) holds a string once set.
  const type = defaults[key] === null ? 'string' : typeof defaults[key];
  return typeof value === type || (value === null && defaults[key] === null) ? value : undefined;
}

// Anything stored by another version, or edited by hand, falls back field by
// field to the defaults rather than breaking the page: only the stored
// object's own fields are read, and each against the rules a share link's
// field meets. limits: the core's facts, once it is known.
/**
 * @param {*} stored
 * @param {import('./types.js').CoreLimits} [limits]
 * @returns {Settings}
 */
export function sanitised(stored, limits = {}) {
  const settings = {...defaults};
  if (!stored || typeof stored !== 'object' || Array.isArray(stored)) {
    return settings;
  }
  for (const key of Object.keys(defaults)) {
    const value = Object.hasOwn(stored, key) ? readField(key, stored[key], limits) : undefined;
    if (value !== undefined) {
      settings[key] = value;
    }
  }
  return settings;
}

// Settings read before the core was known, with a name it does not have
// back at the default.
export function withCoreNames(settings, core) {
  const unknown = Object.keys(coreNames).filter((key) => !namedByCore(key, settings[key], core));
  return {...settings, ...Object.fromEntries(unknown.map((key) => [key, defaults[key]]))};
}

// store: the guarded localStorage of storage.js.
/** @returns {Settings} */
export function loadSettings(store, limits) {
  return sanitised(store.getJson(storageKey), limits);
}

// Writes only the settings that changed from before to after, onto what the
// storage holds now: a setting another tab changed meanwhile stays as that
// tab left it. False when the storage refused.
export function saveSettings(store, before, after) {
  const changed = Object.keys(defaults).filter((key) => JSON.stringify(before[key]) !== JSON.stringify(after[key]));
  if (changed.length === 0) {
    return true;
  }
  const next = sanitised(store.getJson(storageKey));
  for (const key of changed) {
    next[key] = after[key];
  }
  return store.set(storageKey, JSON.stringify(next));
}
