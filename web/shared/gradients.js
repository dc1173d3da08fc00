// Gradients people keep: the built-in gallery, the user's saved gradients as
// a list model, and the file they travel in. Pure functions and plain data,
// no page or DOM: the page and the browser extension both import this module.
//
// A gradient is {name, stops, space}: stops are two or more colours, space
// is 'rgb' or 'oklab'. A colour is '#RRGGBB' in upper case wherever the page
// and the extension keep or compare one: parseColour reads any spelling into
// that form and hexOf writes it, so no caller changes a colour's case. Saved gradients also carry
// an id ('g' and letters or digits) that stays the same while they are renamed or moved.
// Every function returns new arrays and objects; none changes its arguments.
//
// The export file, UTF-8 JSON:
//
//   {"format": "huecode-gradients",
//    "version": 1,
//    "gradients": [{"name": "Sea", "stops": ["#0B3D91", "#00796B"], "space": "rgb"}, …]}
//
// - "format" must be exactly "huecode-gradients"; "version" is an integer.
//   Version 1 is this layout. A reader refuses a higher version (its meaning
//   is unknown) rather than guess; a later version only adds fields.
// - "space" may be left out and means "rgb". Colours may be written as
//   #RRGGBB, RRGGBB or #RGB in either case; they are read as #RRGGBB.
// - Fields a reader does not know are ignored, so a version 1 reader takes
//   files from writers that add fields within version 1.
// - Version 2 adds "positions" to a gradient: one entry per stop, null or
//   a number from 0 to 100 (percent of the gradient's length, never
//   decreasing), where null sits evenly between its placed neighbours. A
//   gradient without it has every stop evenly spaced, as in version 1, whose
//   files are read as they always were.
// - A gradient may carry "format", the format string the page wrote when it
//   was saved (at most maxFormatLength characters); readers that predate the
//   field ignore it, so the version stays 2.
// - A gradient saved while it moved carries "motion": {frames, interval,
//   direction, form, name}, each a string of at most maxMotionLength
//   characters as the page held it (the core's limits apply when it is
//   applied); a gradient without it is still, and the version stays 2.
// - A file with any entry it cannot read is refused whole, with the entry's
//   number in the error: an import never half-happens.
import {validPositions} from './positions.js';
/** @import {SavedGradient} from './types.js' */

export const fileFormat = 'huecode-gradients';
export const fileVersion = 2;
export const storageKey = 'huecode.gradients.v1';
// The longest format string a gradient, a link or the stored settings carry.
export const maxFormatLength = 1000;
export const motionKeys = Object.freeze(['frames', 'interval', 'direction', 'form', 'name']);
export const maxMotionLength = 100;
export const maxSaved = 500;
export const maxNameLength = 80;
// A gradient file of this size holds far more than maxSaved gradients; a
// larger file is not a gradient file.
export const maxFileBytes = 1 << 20;

// The board colours the gallery's "board" field refers to: where a gradient
// stays readable (every colour at least 3:1 against the board).
export const boardColours = Object.freeze({light: '#FFFFFF', dark: '#1B1B1F'});

// Every problem has a code the page translates; message is for logs.
export class GradientError extends Error {
  constructor(code, details = {}) {
    super(`${code}${details.entry !== undefined ? ` (gradient ${details.entry + 1})` : ''}`);
    this.name = 'GradientError';
    this.code = code;
    Object.assign(this, details);
  }
}

const freezeEntry = (entry) => Object.freeze({...entry, name: Object.freeze(entry.name),
  stops: Object.freeze(entry.stops)});

// board: 'light', 'dark' or 'any' (both).
export const gallery = Object.freeze([
  {id: 'rainbow', name: {zh: '柔和彩虹', en: 'Soft rainbow'}, board: 'dark',
    stops: ['#FF595E', '#FFCA3A', '#8AC926', '#36A2EB', '#A77BE8']},
  {id: 'classic', name: {zh: '经典', en: 'Classic'}, board: 'dark', stops: ['#FF00FF', '#00FF00']},
  {id: 'ink', name: {zh: '墨水', en: 'Ink'}, board: 'light', stops: ['#1A237E', '#6A1B9A']},
  {id: 'deep-sea', name: {zh: '深海', en: 'Deep sea'}, board: 'light', stops: ['#0B3D91', '#00796B']},
  {id: 'ember', name: {zh: '余烬', en: 'Ember'}, board: 'light', stops: ['#B71C1C', '#E65100']},
  {id: 'berry', name: {zh: '莓果', en: 'Berry'}, board: 'light', stops: ['#6A1B9A', '#AD1457', '#C62828']},
  {id: 'rose-violet', name: {zh: '玫瑰紫', en: 'Rose to violet'}, board: 'any', stops: ['#D81B60', '#7B61FF']},
  {id: 'lagoon-ember', name: {zh: '湖光晚霞', en: 'Lagoon to ember'}, board: 'any',
    stops: ['#00897B', '#E65100']},
  {id: 'sunset', name: {zh: '日落', en: 'Sunset'}, board: 'dark', stops: ['#FF5F6D', '#FFC371'], space: 'oklab'},
  {id: 'aurora', name: {zh: '极光', en: 'Aurora'}, board: 'dark', stops: ['#00F260', '#0575E6']},
  {id: 'candy', name: {zh: '糖果', en: 'Candy'}, board: 'dark', stops: ['#FF9A9E', '#FAD0C4', '#A18CD1']},
  {id: 'citrus', name: {zh: '柑橘', en: 'Citrus'}, board: 'dark', stops: ['#F9D423', '#A8E063']},
].map((entry) => freezeEntry({space: 'rgb', ...entry})));

export function galleryName(entry, language) {
  return entry.name[language] ?? entry.name.en;
}

// Full-width forms (what Chinese input methods type) read as their ASCII
// twins before anything is checked.
export function halfWidth(text) {
  return String(text).replace(/[\uFF01-\uFF5E]/g, (c) => String.fromCharCode(c.charCodeAt(0) - 0xFEE0))
    .replace(/\u3000/g, ' ');
}

// '#RRGGBB', 'RRGGBB', '#RGB' or 'RGB', any case, spaces around allowed;
// null for anything else.
export function parseColour(text) {
  if (typeof text !== 'string') {
    return null;
  }
  const match = /^#?([0-9a-f]{3}|[0-9a-f]{6})$/i.exec(halfWidth(text).trim());
  if (!match) {
    return null;
  }
  const digits = match[1].length === 3 ? [...match[1]].map((d) => d + d).join('') : match[1];
  return `#${digits.toUpperCase()}`;
}

// Colours travel between the page and the core packed as the core keeps
// them, red in the low byte: 0x00BBGGRR. This is the one place that writes a
// colour's hex digits.
export function hexOf(packed) {
  const rgb = ((packed & 0xff) << 16) | (packed & 0xff00) | ((packed >> 16) & 0xff);
  return `#${rgb.toString(16).padStart(6, '0').toUpperCase()}`;
}

export function packedOf(hex) {
  const rgb = Number.parseInt(hex.slice(1), 16);
  return ((rgb & 0xff) << 16) | (rgb & 0xff00) | ((rgb >> 16) & 0xff);
}

function channel(value) {
  const c = value / 255;
  return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
}

// The relative luminance and contrast ratio of the web's accessibility
// guidelines, for '#RRGGBB' colours.
export function relativeLuminance(colour) {
  const rgb = Number.parseInt(colour.slice(1), 16);
  return 0.2126 * channel(rgb >> 16) + 0.7152 * channel((rgb >> 8) & 255) + 0.0722 * channel(rgb & 255);
}

export function contrastRatio(a, b) {
  const [x, y] = [relativeLuminance(a), relativeLuminance(b)].sort((p, q) => q - p);
  return (x + 0.05) / (y + 0.05);
}

export function reversedStops(stops) {
  return [...stops].reverse();
}

export function sameGradient(a, b) {
  return (a.space ?? 'rgb') === (b.space ?? 'rgb') && a.stops.length === b.stops.length &&
    a.stops.every((stop, k) => parseColour(stop) === parseColour(b.stops[k])) &&
    JSON.stringify(a.positions ?? null) === JSON.stringify(b.positions ?? null);
}

// A character that shows: not a space, not one the fonts leave blank (format
// characters, zero-width spaces, fillers), not a mark with nothing to sit on.
const visible = /[^\p{White_Space}\p{Default_Ignorable_Code_Point}\p{C}\p{M}\u2800\u3164\uFFA0]/u;

// Control characters and surrounding spaces go; a name with nothing visible,
// or a long one, is an error.
export function cleanName(name) {
  const cleaned = halfWidth(typeof name === 'string' ? name : '').replace(/\p{Cc}/gu, ' ').trim();
  if (!visible.test(cleaned)) {
    throw new GradientError('emptyName');
  }
  if ([...cleaned].length > maxNameLength) {
    throw new GradientError('nameTooLong', {limit: maxNameLength});
  }
  return cleaned;
}

// The gradient as it is kept: checked, colours normalised, only known fields.
// The most stops and the colour spaces are the core's: a caller that keeps
// the gradient for a conversion passes them (CoreFacts.maxStops, .spaces) as
// options; before the core is known a space is any name.
export function cleanGradient(gradient, {maxStops = Infinity, spaces = null} = {}) {
  if (!gradient || typeof gradient !== 'object') {
    throw new GradientError('badEntry');
  }
  const name = cleanName(gradient.name);
  const space = gradient.space ?? 'rgb';
  if (typeof space !== 'string' || !(spaces ?? [space]).includes(space)) {
    throw new GradientError('badSpace', {space: String(space)});
  }
  if (!Array.isArray(gradient.stops) || gradient.stops.length < 2) {
    throw new GradientError('tooFewStops');
  }
  if (gradient.stops.length > maxStops) {
    throw new GradientError('tooManyStops', {limit: maxStops});
  }
  const stops = gradient.stops.map(parseColour);
  const bad = stops.indexOf(null);
  if (bad >= 0) {
    throw new GradientError('badColour', {stop: bad, value: String(gradient.stops[bad]).slice(0, 20)});
  }
  return {...placedStops(name, stops, space, gradient.positions), ...cleanFormat(gradient.format),
    ...cleanMotion(gradient.motion)};
}

function cleanMotion(motion) {
  if (motion === undefined || motion === null) {
    return {};
  }
  if (typeof motion !== 'object' || !motionKeys.every((key) => typeof motion[key] === 'string' &&
    motion[key].length <= maxMotionLength)) {
    throw new GradientError('badMotion');
  }
  return {motion: Object.fromEntries(motionKeys.map((key) => [key, motion[key]]))};
}

// A gradient saved in format mode carries its format, which the core reads
// when it is applied; older files and gradients have none.
function cleanFormat(format) {
  if (format === undefined || format === null || format === '') {
    return {};
  }
  if (typeof format !== 'string' || format.length > maxFormatLength) {
    throw new GradientError('badFormat', {limit: maxFormatLength});
  }
  return {format};
}

function placedStops(name, stops, space, positions) {
  if (positions === undefined || positions === null) {
    return {name, stops, space};
  }
  if (!validPositions(positions, stops.length)) {
    throw new GradientError('badPositions');
  }
  // Evenly spaced stops are kept without positions, as version 1 wrote them.
  const placed = positions.some((p, k) => p !== null && k > 0 && k < stops.length - 1);
  return placed ? {name, stops, space, positions: positions.map((p, k) =>
    (k > 0 && k < stops.length - 1 ? p : null))} : {name, stops, space};
}

// Ids are random rather than counted, so an id once deleted never comes
// back naming another gradient.
function nextId(list) {
  for (;;) {
    const id = `g${Math.floor(Math.random() * 2 ** 40).toString(36)}`;
    if (!list.some((g) => g.id === id)) {
      return id;
    }
  }
}

// Adds a gradient at the end; returns {list, id}.
export function saveGradient(list, gradient, options) {
  if (list.length >= maxSaved) {
    throw new GradientError('tooMany', {limit: maxSaved});
  }
  const id = nextId(list);
  return {list: [...list, {id, ...cleanGradient(gradient, options)}], id};
}

function indexOfId(list, id) {
  const index = list.findIndex((g) => g.id === id);
  if (index < 0) {
    throw new GradientError('unknownId', {id});
  }
  return index;
}

export function renameGradient(list, id, name) {
  const index = indexOfId(list, id);
  const renamed = {...list[index], name: cleanName(name)};
  return list.map((g, k) => (k === index ? renamed : g));
}

export function deleteGradient(list, id) {
  const index = indexOfId(list, id);
  return list.filter((_, k) => k !== index);
}

// Moves a gradient by delta places, stopping at either end of the list.
export function moveGradient(list, id, delta) {
  const index = indexOfId(list, id);
  const target = Math.min(list.length - 1, Math.max(0, index + delta));
  const moved = list.filter((_, k) => k !== index);
  moved.splice(target, 0, list[index]);
  return moved;
}

export function exportGradients(list) {
  const gradients = list.map(({name, stops, space, positions, format, motion}) =>
    ({name, stops, space, positions, format, motion}));
  return `${JSON.stringify({format: fileFormat, version: fileVersion, gradients}, null, 1)}\n`;
}

// The gradients of a file as it is written, before any is read; throws a
// GradientError when the file itself cannot be read.
function fileEntries(text) {
  if (typeof text !== 'string' || text.length > maxFileBytes) {
    throw new GradientError('tooLarge', {limit: maxFileBytes});
  }
  let file;
  try {
    file = JSON.parse(text.replace(/^\uFEFF/, ''));
  } catch {
    throw new GradientError('notJson');
  }
  if (!file || typeof file !== 'object' || file.format !== fileFormat) {
    throw new GradientError('notGradientFile');
  }
  if (!Number.isInteger(file.version) || file.version < 1) {
    throw new GradientError('badVersion');
  }
  if (file.version > fileVersion) {
    throw new GradientError('newerVersion', {version: file.version});
  }
  if (!Array.isArray(file.gradients)) {
    throw new GradientError('notGradientFile');
  }
  return file.gradients;
}

// Reads a gradient file; returns the gradients (without ids) or throws a
// GradientError saying what is wrong.
export function readGradientFile(text, options) {
  const entries = fileEntries(text);
  if (entries.length > maxSaved) {
    throw new GradientError('tooMany', {limit: maxSaved});
  }
  return entries.map((gradient, entry) => {
    try {
      return cleanGradient(gradient, options);
    } catch (error) {
      throw new GradientError(error.code, {...error, entry});
    }
  });
}

// Adds imported gradients after the saved ones, leaving out any the list
// already holds under the same name; returns {list, added, skipped}.
// The gradient saved under its name: in place of the one of that name, or added.
export function saveOverName(list, gradient, options) {
  const index = list.findIndex((g) => g.name === gradient.name);
  if (index < 0) {
    return saveGradient(list, gradient, options).list;
  }
  return list.map((g, k) => (k === index ? {id: g.id, ...cleanGradient(gradient, options)} : g));
}

// What a file adds: a gradient saved already under its name is skipped; a
// different one of a saved name replaces it when replaceNamed, else is added.
export function mergeGradients(list, imported, {replaceNamed = false} = {}) {
  let merged = list;
  let skipped = 0;
  let replaced = 0;
  for (const gradient of imported) {
    const named = merged.filter((g) => g.name === gradient.name);
    if (named.some((g) => sameGradient(g, gradient))) {
      skipped += 1;
    } else if (named.length && replaceNamed) {
      merged = saveOverName(merged, gradient);
      replaced += 1;
    } else {
      merged = saveGradient(merged, gradient).list;
    }
  }
  return {list: merged, added: merged.length - list.length, skipped, replaced};
}

// How many of the imported gradients differ from one saved under the same name.
export function nameClashes(list, imported) {
  return imported.filter((gradient) => {
    const named = list.filter((g) => g.name === gradient.name);
    return named.length > 0 && !named.some((g) => sameGradient(g, gradient));
  }).length;
}

const idPattern = /^g[0-9a-z]{1,12}$/;

// The saved list as the storage holds it: the export format with ids. Each
// entry is read on its own: one that cannot be read is skipped and kept as
// stored (unreadable), so that no later change drops it, and skipped counts
// it. An entry without a usable id is given one (renumbered). error is set
// when the storage refuses or holds no list at all; the caller then keeps
// from overwriting it.
export function loadSaved(storage, options) {
  let text;
  try {
    text = storage.getItem(storageKey);
  } catch {
    return {list: [], unreadable: [], skipped: 0, renumbered: false, error: new GradientError('storageRefused')};
  }
  const read = {list: [], unreadable: [], skipped: 0, renumbered: false, error: null};
  if (text === null || text === undefined) {
    return read;
  }
  let entries;
  try {
    entries = fileEntries(text);
  } catch (error) {
    return {...read, error};
  }
  for (const entry of entries) {
    let gradient;
    try {
      gradient = cleanGradient(entry, options);
    } catch {
      read.unreadable.push(entry);
      continue;
    }
    const id = Object.hasOwn(entry, 'id') ? entry.id : null;
    const usable = typeof id === 'string' && idPattern.test(id) && !read.list.some((g) => g.id === id);
    read.renumbered ||= !usable;
    read.list.push({id: usable ? id : nextId(read.list), ...gradient});
  }
  read.skipped = read.unreadable.length;
  return read;
}

export function storeSaved(storage, list, unreadable = []) {
  const gradients = [...list.map(({id, name, stops, space, positions, format, motion}) =>
    ({id, name, stops, space, positions, format, motion})),
    ...unreadable];
  try {
    storage.setItem(storageKey, JSON.stringify({format: fileFormat, version: fileVersion, gradients}));
    return true;
  } catch {
    return false;
  }
}

// One change (a function of the list, as saveGradient and the others are)
// made to the list as the storage holds it now, not as this page read it
// earlier: another tab's changes meanwhile stay, and so do the entries that
// cannot be read. A storage holding no readable list is replaced only when
// replace is set. Returns the new list, or throws a GradientError.
/**
 * @param {*} storage
 * @param {(list: SavedGradient[]) => SavedGradient[]} change
 * @param {{replace?: boolean, maxStops?: number}} [options]
 */
export function changeSaved(storage, change, {replace = false, ...options} = {}) {
  const now = loadSaved(storage, options);
  if (now.error && !(replace && now.error.code !== 'storageRefused')) {
    throw now.error;
  }
  const list = change(now.list);
  if (!storeSaved(storage, list, now.unreadable)) {
    throw new GradientError('storageFull');
  }
  return list;
}
