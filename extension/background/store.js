// What the extension remembers, in the browser's extension storage: the
// user's current choice (gradient, step, formatting), the dialect of each
// site, and the saved gradients in the page's own format, so that a gradient
// file moves between the page and the extension unchanged.
import {changeSaved, gallery, loadSaved, parseColour, sameGradient, storageKey as savedKey}
  from '../../web/shared/gradients.js';
import {validPositions} from '../../web/shared/positions.js';

const stateKey = 'huecode.extension.v1';

// Until the user picks one, the gradient is the core's default.
export function defaultChoice() {
  return {gradient: {source: 'default'}, step: '1', bold: false, italic: false, underline: false,
    strike: false, endpoints: false};
}

// A stored choice from another version, or edited by hand, falls back field
// by field rather than breaking the extension.
function sanitisedChoice(stored) {
  const choice = defaultChoice();
  for (const [key, value] of Object.entries(stored ?? {})) {
    if (key in choice && key !== 'gradient' && typeof value === typeof choice[key]) {
      choice[key] = value;
    }
  }
  const gradient = stored?.gradient;
  if (gradient && ['default', 'gallery', 'saved', 'custom'].includes(gradient.source)) {
    choice.gradient = gradient;
  }
  return choice;
}

// The extension storage is asynchronous; the page's functions read a
// synchronous one, so they get the text read beforehand.
function storageOf(text, written) {
  return {getItem: () => text ?? null, setItem: (key, value) => written.set(key, value)};
}

function ownState(stored) {
  const own = stored[stateKey] ?? {};
  return {
    choice: sanitisedChoice(own.choice),
    sites: own.sites && typeof own.sites === 'object' ? own.sites : {},
  };
}

const savedList = (stored) => loadSaved(storageOf(stored[savedKey], new Map())).list;

export async function loadState() {
  const stored = await chrome.storage.local.get([stateKey, savedKey]);
  return {...ownState(stored), saved: savedList(stored)};
}

// The popup and the background each hold a copy of the state read earlier.
// A change is therefore made to what the storage holds now and writes back
// only what it changes, so that one never undoes the other's, and saved
// gradients that cannot be read are kept as stored. Changes made here run
// one after the other.
let changes = Promise.resolve();
function inTurn(change) {
  const done = changes.then(change);
  changes = done.catch(() => {});
  return done;
}

// change({choice, sites}) gives the new {choice, sites}; returns the whole new state.
export function updateState(change) {
  return inTurn(async () => {
    const stored = await chrome.storage.local.get([stateKey, savedKey]);
    const {choice, sites} = change(ownState(stored));
    await chrome.storage.local.set({[stateKey]: {choice, sites}});
    return {choice, sites, saved: savedList(stored)};
  });
}

// One change to the saved gradients (a function of the list, as the page's
// saveGradient and mergeGradients are); returns the new list, or throws the
// page's GradientError when the stored list cannot be read or written.
export function changeSavedGradients(change, options) {
  return inTurn(async () => {
    const stored = await chrome.storage.local.get(savedKey);
    const written = new Map();
    const list = changeSaved(storageOf(stored[savedKey], written), change, options);
    await chrome.storage.local.set({[savedKey]: written.get(savedKey)});
    return list;
  });
}

// The gradient a choice names, as {name, stops, space}; a saved gradient that
// was deleted since falls back to the core's default (named as the gallery
// names it, when it is one of the gallery's).
export function resolveGradient(state, reference, language, defaultStops) {
  if (reference.source === 'gallery') {
    const entry = gallery.find((g) => g.id === reference.id);
    if (entry) {
      return {name: entry.name[language] ?? entry.name.en, stops: entry.stops, space: entry.space};
    }
  } else if (reference.source === 'saved') {
    const entry = state.saved.find((g) => g.id === reference.id);
    if (entry) {
      return entry;
    }
  } else if (reference.stops?.length >= 2 && reference.stops.every((s) => parseColour(s) === s)) {
    const positions = validPositions(reference.positions, reference.stops.length) ? reference.positions : null;
    return {name: reference.name ?? '', stops: reference.stops, space: reference.space ?? 'rgb', positions};
  }
  const known = gallery.find((g) => sameGradient(g, {stops: defaultStops}));
  return {name: known ? known.name[language] ?? known.name.en : '', stops: defaultStops, space: 'rgb'};
}

// The origin a setting belongs to: the page the user sees.
export function siteDialect(state, site) {
  return state.sites[site]?.dialect ?? null;
}

export function withSiteDialect(state, site, dialect) {
  return {...state, sites: {...state.sites, [site]: {...state.sites[site], dialect}}};
}

// Whether the site's rich editors get coloured text rather than markup.
export function siteFormatted(state, site) {
  return state.sites[site]?.formatted === true;
}

export function withSiteFormatted(state, site, formatted) {
  return {...state, sites: {...state.sites, [site]: {...state.sites[site], formatted}}};
}
