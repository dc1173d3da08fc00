// The extension's service worker. The context menu, the shortcut and the
// popup all end in colourSelection(tabId, options): read the focused field of
// the tab, convert its selection in the WebAssembly core, put the markup in
// its place.
import {loadCore} from './core.js';
import {mainWorldScripts, pageScripts} from '../content/scripts.js';
import {parseColour} from '../../web/shared/gradients.js';
import {rebuildMenus, referenceOfMenuItem} from './menus.js';
import {askDialect, insertMarkup, readFocusedField, showNotice} from './page-side.js';
import {loadState, resolveGradient, siteDialect, siteFormatted, updateState, withSiteDialect} from './store.js';

const t = (key, ...values) => chrome.i18n.getMessage(key, values.map(String)) || key;
const language = () => (chrome.i18n.getUILanguage().toLowerCase().startsWith('zh') ? 'zh' : 'en');

// A dialect's name in the browser's language, as the core names it.
function dialectLabel(table, key) {
  return table[key].labels[language()];
}

class Refusal extends Error {
  // offer: the markup, which the notice offers to copy when the field did
  // not take it.
  constructor(reason, frameId = null, detail = '', offer = null) {
    super(reason);
    this.reason = reason;
    this.frameId = frameId;
    this.detail = detail;
    this.offer = offer;
  }
}

// Where each dialect's markup opens with a fixed text and a colour in hex
// digits, its pattern, for recognising markup already in a field: longest
// opening first, so that a longer one is not read as a shorter one.
function dialectOpenings(table) {
  const escaped = (text) => text.replace(/[\\^$.*+?()[\]{}|]/g, '\\$&');
  return Object.entries(table).filter(([, dialect]) => dialect.prefix)
    .sort(([, a], [, b]) => b.prefix.length - a.prefix.length)
    .map(([key, dialect]) => [key, `${escaped(dialect.prefix)}[0-9a-f]{6}${escaped(dialect.middle)}`]);
}

// The frame whose field has the focus, with that field's selection; kept in
// the page for the change that follows when forChange is set.
async function locateField(tabId, forChange) {
  const openings = dialectOpenings((await loadCore()).dialects);
  let frames;
  try {
    // Asking the page's own editors needs the page's world; a browser or a
    // page that refuses it leaves the isolated world's ways.
    const mainWorld = forChange ? chrome.scripting.executeScript({target: {tabId, allFrames: true},
      files: mainWorldScripts, world: 'MAIN'}).catch(() => {}) : null;
    await Promise.all([mainWorld, chrome.scripting.executeScript({target: {tabId, allFrames: true},
      files: pageScripts})]);
    frames = await chrome.scripting.executeScript({target: {tabId, allFrames: true}, func: readFocusedField,
      args: [forChange, openings]});
  } catch {
    throw new Refusal('noAccess');
  }
  const top = frames.find((frame) => frame.frameId === 0) ?? frames[0];
  const focused = frames.find((frame) => frame.result?.focused);
  if (!focused) {
    throw new Refusal('noField', top?.frameId ?? 0);
  }
  if (focused.result.refusal) {
    throw new Refusal(focused.result.refusal, focused.frameId);
  }
  return {...focused.result, frameId: focused.frameId, site: top?.result?.site ?? focused.result.site};
}

const optionTypes = {dialect: 'string', start: 'string', end: 'string', step: 'string', endpoints: 'boolean',
  bold: 'boolean', italic: 'boolean', underline: 'boolean', strike: 'boolean', formatted: 'boolean'};

const formattingOptions = ['bold', 'italic', 'underline', 'strike', 'endpoints'];

function checkOptions(options, core) {
  for (const [key, value] of Object.entries(options)) {
    if (!Object.hasOwn(optionTypes, key)) {
      throw new Refusal('badOption', null, `unknown option ${key}`);
    }
    if (formattingOptions.includes(key) && value && !core.formatting) {
      throw new Refusal('badOption', null, `this core has no ${key}`);
    }
    if (typeof value !== optionTypes[key]) {
      throw new Refusal('badOption', null, `${key} must be a ${optionTypes[key]}`);
    }
  }
  for (const key of ['start', 'end']) {
    if (key in options && !/^#[0-9A-Fa-f]{6}$/.test(options[key])) {
      throw new Refusal('badOption', null, `${key} must be #RRGGBB`);
    }
  }
  if ('dialect' in options && !Object.hasOwn(core.dialects, options.dialect)) {
    throw new Refusal('badOption', null,
      `no dialect ${options.dialect}; the core has ${Object.keys(core.dialects).join(', ')}`);
  }
}

// What the core converts with: the user's choice, with the options over it.
// A start or end colour replaces that end of the chosen gradient.
function conversionSettings(core, state, options, template) {
  const choice = {...state.choice, ...options};
  const gradient = resolveGradient(state, state.choice.gradient, language(), core.defaultStops);
  const stops = [...gradient.stops];
  stops[0] = parseColour(options.start ?? stops[0]);
  stops[stops.length - 1] = parseColour(options.end ?? stops.at(-1));
  return {
    stops, rainbow: false, space: gradient.space, step: choice.step, by: 'char', merge: false, escape: false,
    fitLimit: null, prefix: template.prefix, middle: template.middle, suffix: template.suffix,
    format: template.format, bold: choice.bold,
    italic: choice.italic, underline: choice.underline, strike: choice.strike, endpoints: choice.endpoints,
    positions: gradient.positions ?? null,
  };
}

function convert(core, settings, text) {
  const result = core.convert(settings, text);
  if (result.stylesRefused) {
    throw new Refusal('badOption', null, 'this dialect has no codes for bold, italic, underline or strikethrough');
  }
  if (result.failed) {
    throw new Refusal('convertFailed');
  }
  return result;
}

// The site's dialect, or the one the user names when asked on a first use.
async function dialectFor(tabId, field, state, table) {
  const known = siteDialect(state, field.site);
  if (known && Object.hasOwn(table, known)) {
    return {dialect: known, state};
  }
  const choices = Object.keys(table).map((key) => ({key, label: dialectLabel(table, key)}));
  const suggestion = Object.hasOwn(table, field.suggestion ?? '') ? field.suggestion : null;
  const texts = {title: t('askDialect'), cancel: t('cancel'), suggested: t('suggested')};
  const [{result}] = await chrome.scripting.executeScript(
    {target: {tabId, frameIds: [0]}, func: askDialect, args: [choices, suggestion, texts]});
  if (!result || !Object.hasOwn(table, result)) {
    throw new Refusal('cancelled');
  }
  const updated = await updateState((now) => withSiteDialect(now, field.site, result));
  return {dialect: result, state: updated};
}

// The core leaves out the spaces round the text; the selection keeps them,
// so colouring a word picked with its trailing space does not eat the space.
function withOuterSpaces(text, markup) {
  const lead = /^ */.exec(text)[0];
  const trail = lead.length === text.length ? '' : / *$/.exec(text)[0];
  return lead + markup + trail;
}

async function colourSelectionOrRefuse(tabId, options) {
  const core = await loadCore();
  const table = core.dialects;
  checkOptions(options, core);
  const field = await locateField(tabId, true);
  if (field.text.trim() === '') {
    throw new Refusal('empty', field.frameId);
  }
  let state = await loadState();
  let dialect = options.dialect;
  if (!dialect) {
    ({dialect, state} = await dialectFor(tabId, field, state, table));
  }
  // Coloured text rather than markup, where the site asks for it and the
  // field is a rich editor: the core's chunks then cover the whole text.
  const formatted = field.kind === 'rich' && (options.formatted ?? siteFormatted(state, field.site));
  const settings = conversionSettings(core, state, options, table[dialect]);
  const result = convert(core, formatted ? {...settings, previewUnits: field.text.length} : settings, field.text);
  const markup = withOuterSpaces(field.text, result.markup);
  const styles = {bold: settings.bold, italic: settings.italic, underline: settings.underline,
    strike: settings.strike};
  const [{result: outcome}] = await chrome.scripting.executeScript({target: {tabId, frameIds: [field.frameId]},
    func: insertMarkup, args: [field.text, markup, formatted ? {chunks: result.chunks, styles} : null]});
  if (outcome !== 'done') {
    const offer = ['notHeld', 'notRestored'].includes(outcome) ? markup : null;
    throw new Refusal(outcome ?? 'error', field.frameId, '', offer);
  }
  const note = codeNote(field.text, result.counts);
  if (note) {
    await chrome.scripting.executeScript({target: {tabId, frameIds: [field.frameId]}, func: showNotice,
      args: [note, null]}).catch(() => {});
  }
  return {replaced: true, characters: field.text.length, dialect, ...(formatted ? {formatted} : {}),
    ...(note ? {note} : {})};
}

// The text's first sequence that the site's markup reads as a code (the core
// finds it), so that the user is not surprised by what the post shows.
function codeNote(text, counts) {
  if (!(counts?.codeOffset >= 0)) {
    return '';
  }
  return t('codeNote', text.slice(counts.codeOffset, counts.codeOffset + counts.codeLength));
}

// The one entry point of the menu, the shortcut and the popup. Answers what
// it did, or why it did nothing (and tells the user on the page as well).
async function colourSelection(tabId, options = {}) {
  try {
    return await colourSelectionOrRefuse(tabId, options ?? {});
  } catch (error) {
    if (!(error instanceof Refusal)) {
      throw error;
    }
    const message = t(`refused_${error.reason}`) + (error.detail ? ` (${error.detail})` : '');
    if (error.frameId !== null) {
      const offer = error.offer && {text: error.offer, label: t('copyMarkup'), done: t('copied')};
      await chrome.scripting.executeScript({target: {tabId, frameIds: [error.frameId]}, func: showNotice,
        args: [message, offer]}).catch(() => {});
    }
    return {replaced: false, reason: error.reason, message};
  }
}
globalThis.colourSelection = colourSelection;

// The popup's live preview: the focused field's selection converted with the
// user's current choice, without touching the page.
async function previewSelection(tabId) {
  const core = await loadCore();
  const table = core.dialects;
  const dialects = Object.keys(table).map((key) => ({key, label: dialectLabel(table, key)}));
  try {
    const field = await locateField(tabId, false);
    const state = await loadState();
    const known = siteDialect(state, field.site);
    const guess = [known, field.suggestion, core.defaultDialect].find((key) => key && Object.hasOwn(table, key)) ??
      Object.keys(table)[0];
    const settings = conversionSettings(core, state, {}, table[guess]);
    const result = convert(core, settings, field.text);
    return {dialects, formatting: core.formatting, site: field.site, dialect: guess, stops: settings.stops,
      text: field.text, rich: field.kind === 'rich', formatted: siteFormatted(state, field.site),
      chunks: result.chunks, counts: result.counts};
  } catch (error) {
    if (!(error instanceof Refusal)) {
      throw error;
    }
    return {dialects, refusal: t(`refused_${error.reason}`)};
  }
}

async function activeTabId() {
  const [tab] = await chrome.tabs.query({active: true, currentWindow: true});
  return tab?.id;
}

chrome.runtime.onMessage.addListener((message, sender, reply) => {
  if (sender.id !== chrome.runtime.id) {
    return false;
  }
  const work = message.type === 'preview' ? previewSelection(message.tabId)
    : message.type === 'apply' ? colourSelection(message.tabId, message.options)
    : message.type === 'limits' ? loadCore().then((core) => ({maxStops: core.maxStops, spaces: core.spaces})) : null;
  if (!work) {
    return false;
  }
  work.then(reply, (error) => reply({replaced: false, reason: 'error', message: String(error)}));
  return true;
});

chrome.commands.onCommand.addListener(async (command, tab) => {
  if (command === 'colour-selection') {
    await colourSelection(tab?.id ?? await activeTabId(), {});
  }
});

chrome.contextMenus.onClicked.addListener(async (info, tab) => {
  const reference = referenceOfMenuItem(info.menuItemId);
  if (reference) {
    await updateState((now) => ({...now, choice: {...now.choice, gradient: reference}}));
  }
  await colourSelection(tab?.id ?? await activeTabId(), {});
});

// The menu lists the saved gradients and the last one used, so it follows
// every change of them, whoever made it.
let menus = Promise.resolve();
function refreshMenus() {
  menus = menus.then(async () => rebuildMenus(await loadState(), language(), t, (await loadCore()).defaultStops))
    .catch((error) => console.error('huecode: the context menu could not be built', error));
}
chrome.runtime.onInstalled.addListener(refreshMenus);
chrome.runtime.onStartup.addListener(refreshMenus);
chrome.storage.onChanged.addListener((changes, area) => area === 'local' && refreshMenus());
