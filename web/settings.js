// The page's settings, remembered between visits. The text itself is not
// kept: it may be a megabyte, and a post is rarely written twice.
const storageKey = 'huecode.settings.v1';

// The window's conversion: step 1, and what the core opens with (its
// gradient, and its initial template under the dialect it names); but the
// colours start and end exactly on the chosen ones, as web users expect (the
// window's rule is one click away).
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
  fit: false,
  dialect: null,
  prefix: null,  // null: the core's initial template
  middle: null,
  suffix: null,
  language: null,  // null: from the browser's languages
});

const colourPattern = /^#[0-9a-f]{6}$/;

// Anything stored by another version, or edited by hand, falls back field by
// field to the defaults rather than breaking the page.
function sanitised(stored) {
  const settings = {...defaults};
  if (!stored || typeof stored !== 'object') {
    return settings;
  }
  for (const key of Object.keys(defaults)) {
    const value = stored[key];
    if (key === 'stops') {
      if (Array.isArray(value) && value.length >= 2 &&
          value.every((c) => typeof c === 'string' && colourPattern.test(c))) {
        settings.stops = [...value];
      }
    } else if (value !== undefined && (value === null || typeof value === typeof defaults[key] ||
                                       defaults[key] === null && typeof value === 'string')) {
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
