// Every edit of the settings comes through change(): recorded for undo,
// kept, the controls written from it, and a conversion asked for. Undo and
// redo, the reset, and the reader's own settings (the language, the theme).
import {writeSettings} from './controls.js';
import {showFormatting} from './formatting.js';
import {applyTexts, defaultLanguage} from '../i18n/texts.js';
import {sameSettings} from './model.js';
import {readerKeys, saveSettings} from '../shared/settings.js';
import {saveText} from '../storage/text-store.js';
import {retextNotes} from './notice.js';
import {local} from '../storage/storage.js';
import {convertNow, currentDialect, defaultSettings, readerSettings, scheduleConversion, withCoreDefaults} from './conversion.js';
import {drawPreview, showCounts, showValidity, suggestEscaping} from './results.js';
import {byId, page, parts, setStatus} from './state.js';

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
  showFormatting(page.core, page.settings, page.texts);
  suggestEscaping();
  drawPreview();
}

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

export function undo() {
  const previous = page.undoHistory.undo(page.settings);
  if (previous) {
    restore(previous);
  }
  setStatus(previous ? page.texts.undone : page.texts.nothingToUndo);
}

export function redo() {
  const next = page.undoHistory.redo(page.settings);
  if (next) {
    restore(next);
    setStatus(page.texts.redone);
  }
}

export function confirmReset() {
  byId('reset-dialog').close();
  if (byId('reset-text').checked) {
    parts.textBox.set('');
    saveText('');
  }
  change(defaultSettings(), {convert: 'now'});
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
