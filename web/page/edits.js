// Every edit of the settings comes through change(): recorded for undo,
// kept, the controls written from it, and a conversion asked for. Undo and
// redo, the reset, and the reader's own settings (the language, the theme).
import {writeSettings} from './controls.js';
import {showFormatting} from './formatting.js';
import {applyTexts, defaultLanguage} from '../i18n/texts.js';
import {sameSettings} from './model.js';
import {readerKeys, saveSettings} from '../shared/settings.js';
import {retextNotes} from './notice.js';
import {dismissToasts} from './feedback.js';
import {local} from '../storage/storage.js';
import {convertNow, convertRead, currentDialect, defaultSettings, readerSettings, scheduleConversion, withCoreDefaults}
  from './conversion.js';
import {drawPreview, showCounts, showValidity, suggestEscaping} from './results.js';
import {page, parts, setStatus} from './state.js';
import {byId} from './dom.js';

// "auto" follows the system, also when it changes while the page is open.
export const systemDark = matchMedia('(prefers-color-scheme: dark)');

export function applyTheme() {
  const auto = systemDark.matches ? 'dark' : 'light';
  document.documentElement.dataset.theme = page.settings.theme === 'auto' ? auto : page.settings.theme;
}

function render() {
  writeSettings(page.settings, page.texts, {dialect: currentDialect(), core: page.core});
  byId('undo').disabled = page.undoHistory.past.length === 0;
  byId('redo').disabled = page.undoHistory.future.length === 0;
  applyTheme();
  showValidity();
  showFormatting(page.core, currentDialect(), page.texts);
  suggestEscaping();
  drawPreview();
}

// The core has read a typed value: the boxes show its verdict, and the
// conversion that waited for it goes.
export function valueRead() {
  render();
  convertRead();
}

// The text to bring back with a step of the history, for the steps that
// changed it too (a reset that cleared it): keyed by the step's settings.
const textAt = new WeakMap();

export const withoutReader = (s) => Object.fromEntries(Object.entries(s).filter(([key]) => !readerKeys.includes(key)));

// Settings that are taken as they are, with no undo step: kept, and shown.
export function replaceSettings(next, {rerender = render} = {}) {
  const before = page.settings;
  page.settings = next;
  saveSettings(local, before, page.settings);
  rerender();
}

// group joins a run of edits of one control into one undo step.
export function change(next, {group = null, convert = 'soon'} = {}) {
  const {settings} = page;
  if (sameSettings(next, settings)) {
    return;
  }
  if (!sameSettings(withoutReader(next), withoutReader(settings))) {
    page.undoHistory.record(settings, group);
  }
  replaceSettings(next);
  if (convert === 'now') {
    convertNow();
  } else if (convert === 'soon') {
    scheduleConversion();
  }
}

// An undo restores conversion settings only; the language and the theme stay the reader's.
function restore(snapshot) {
  const reader = readerSettings();
  // A step taken before the core was ready left the gradient and template to it.
  replaceSettings(page.core ? withCoreDefaults({...snapshot, ...reader}) : {...snapshot, ...reader});
  convertNow();
}

// A step that brings a text back keeps the text it replaces for the way back.
function stepTo(snapshot, current, text) {
  if (textAt.has(snapshot)) {
    const back = textAt.get(snapshot);
    textAt.set(current, text);
    parts.textBox.replace(back);
  }
  restore(snapshot);
}

export function undo() {
  const current = page.settings;
  const previous = page.undoHistory.undo(current);
  if (previous) {
    stepTo(previous, current, parts.textBox.value());
  }
  setStatus(previous ? page.texts.undone : page.texts.nothingToUndo);
}

export function redo() {
  const current = page.settings;
  const next = page.undoHistory.redo(current);
  if (next) {
    stepTo(next, current, parts.textBox.value());
    setStatus(page.texts.redone);
  }
}

// A reset that clears the text is one step of the history with the text:
// Undo brings both back, and Ctrl+Z in the text box the text.
export function confirmReset() {
  byId('reset-dialog').close();
  const next = defaultSettings();
  const {settings} = page;
  if (byId('reset-text').checked) {
    // Over the default settings the cleared text is still a step of its own.
    const same = sameSettings(withoutReader(next), withoutReader(settings));
    const step = same ? {...settings} : settings;
    if (same) {
      page.undoHistory.record(step);
    }
    textAt.set(step, parts.textBox.value());
    parts.textBox.replace('');
  }
  change(next, {convert: 'now'});
  render();
  setStatus(page.texts.resetDone);
}

export function applyLanguage() {
  const texts = applyTexts(document, page.settings.language ?? defaultLanguage(navigator.languages));
  page.texts = texts;
  byId('language').textContent = texts.switchTo;
  byId('language').lang = texts.switchLang;
  byId('copy').title = texts.copyTitle;
  render();
  parts.library.render();
  parts.markupTools.render();
  retextNotes(texts);
  // A toast's sentence was made in the old language: it goes.
  dismissToasts();
  parts.output.retext();
  parts.textBox.retext();
  if (page.lastResult) {
    showCounts(page.lastResult);
  }
}

export function toggleLanguage() {
  replaceSettings({...page.settings, language: page.texts.switchLang === 'en' ? 'en' : 'zh'},
    {rerender: applyLanguage});
}

// The core's facts arrived: what the settings left to it becomes its.
export function coreReady(core) {
  page.core = core;
  page.settings = withCoreDefaults(page.settings);
  render();
}
