// The page's settings, remembered between visits (the text is kept apart,
// in textstore.js).
import {validPositions} from './positions.js';

const storageKey = 'huecode.settings.v1';

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
  board: 'light',  // the preview's background: a light, a dark or a custom board
  boardColour: '#ffffff',
  language: null,  // null: from the browser's languages
  theme: 'auto',
  positions: null,  // null: every stop evenly spaced (see positions.js)
  perLine: false,
  mirror: false,
});

// The reader's own preferences rather than conversion settings: a reset, an
// undo or a share link leaves them alone.
export const readerKeys = Object.freeze(['language', 'theme']);

const choices = {
  space: ['rgb', 'oklab'],
  by: ['char', 'grapheme', 'word'],
  limitUnit: ['characters', 'utf8', 'gbk'],
  board: ['light', 'dark', 'custom'],
  theme: ['auto', 'light', 'dark'],
};

const colourPattern = /^#[0-9a-f]{6}$/;

// Anything stored by another version, or edited by hand, falls back field by
// field to the defaults rather than breaking the page.
export function sanitised(stored) {
  const settings = {...defaults};
  if (!stored || typeof stored !== 'object') {
    return settings;
  }
  for (const key of Object.keys(defaults)) {
    const value = stored[key];
    if (key === 'stops') {
      // The core's limit on stops is applied once the core is ready.
      if (Array.isArray(value) && value.length >= 2 &&
          value.every((c) => typeof c === 'string' && colourPattern.test(c))) {
        settings.stops = [...value];
      }
    } else if (key === 'positions') {
      settings.positions = validPositions(value) ? [...value] : null;
    } else if (key === 'boardColour') {
      settings.boardColour = typeof value === 'string' && colourPattern.test(value) ? value : defaults.boardColour;
    } else if (choices[key]) {
      settings[key] = choices[key].includes(value) ? value : defaults[key];
    } else if (value !== undefined && (typeof value === typeof defaults[key] ||
                                       defaults[key] === null && (value === null || typeof value === 'string'))) {
      settings[key] = value;
    }
  }
  return settings;
}

export function loadSettings(storage) {
  try {
    return sanitised(JSON.parse(storage.getItem(storageKey)));
  } catch {
    return sanitised(null);
  }
}

export function saveSettings(storage, settings) {
  try {
    storage.setItem(storageKey, JSON.stringify(settings));
  } catch {
    // Private windows and full storage refuse; the page works without it.
  }
}
