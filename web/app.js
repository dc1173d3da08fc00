// Wires the page: every edit schedules a conversion in the worker, and the
// newest answer fills the output, the counts, the bar and the preview.
import {readSettings, withAddedStop, writeSettings} from './controls.js';
import {applyTexts, defaultLanguage, textsOf} from './i18n.js';
import {formatPreview, formattingSettings, showFormatting, styleIds} from './formatting.js';
import {drawBar, showPreview} from './preview.js';
import {defaults, loadSettings, saveSettings} from './settings.js';

const byId = (id) => document.getElementById(id);
const maxLimit = 2 ** 31 - 1;
// Beyond this many characters the output box would take seconds to lay out;
// such markup is copied or downloaded whole instead of shown.
const maxShown = 500000;

let settings = loadSettings(localStorage);
let texts = textsOf(settings.language ?? defaultLanguage(navigator.languages));
// The core's dialects, defaults and limits, once its worker is ready.
let core = null;
let latest = 0;
let timer = 0;
let lastResult = null;
let lastMarkup = '';
let sentText = '';
// Set by the convert button: as in the window, its result takes the focus.
let focusResult = false;

const worker = new Worker(new URL('worker.js', import.meta.url), {type: 'module'});

function limitOf(text) {
  return /^\d+$/.test(text.trim()) ? Math.min(Number(text.trim()), maxLimit) : null;
}

function conversionSettings() {
  const limit = limitOf(settings.limit);
  return {
    stops: settings.stops,
    rainbow: settings.rainbow,
    space: settings.space,
    step: settings.step,
    by: settings.by,
    merge: settings.merge,
    escape: settings.escape,
    fitLimit: settings.fit ? limit : null,
    prefix: settings.prefix,
    middle: settings.middle,
    suffix: settings.suffix,
    ...formattingSettings(core?.dialects, settings),
  };
}

function setStatus(message) {
  byId('status').textContent = message;
}

function convertNow() {
  clearTimeout(timer);
  timer = 0;
  if (!core) {
    return;
  }
  latest += 1;
  sentText = byId('text').value;
  byId('output').dataset.pending = 'true';
  worker.postMessage({id: latest, settings: conversionSettings(), text: sentText});
}

// Typing converts after a pause; a long text waits longer, since each
// conversion of it takes a moment of its own.
function scheduleConversion() {
  clearTimeout(timer);
  byId('output').dataset.pending = 'true';
  const delay = byId('text').value.length > 100000 ? 400 : 150;
  timer = setTimeout(convertNow, delay);
}

function showCounts(result) {
  const shown = result.markup.length <= maxShown;
  byId('output-note').textContent = shown ? '' : texts.tooLong(result.markup.length);
  byId('output-note').hidden = shown;
  const limit = limitOf(settings.limit);
  const warning = byId('warning');
  const {counts} = result;
  if (result.failed) {
    byId('counts').textContent = '';
    warning.textContent = texts.nothingFits(counts.shortest, limit);
    warning.hidden = false;
    return;
  }
  const fitted = settings.fit && limit !== null ? ` · ${texts.fitChose(counts.step)}` : '';
  byId('counts').textContent = texts.counts(counts) + fitted;
  const over = limit !== null && counts.outputCharacters > limit;
  warning.textContent = over ? texts.overLimit(counts.outputCharacters, limit) : '';
  warning.hidden = !over;
}

// The markup arrives as UTF-16 code units and becomes a string only when it
// is shown, copied or downloaded.
function markup() {
  if (typeof lastMarkup !== 'string') {
    lastMarkup = new TextDecoder('utf-16le').decode(lastMarkup);
  }
  return lastMarkup;
}

// The HTML dialects let a browser read < and & in the text as markup.
const htmlDialects = new Set(['html', 'span']);

function suggestEscaping() {
  byId('escape-hint').hidden = settings.escape || !htmlDialects.has(settings.dialect) || !/[<&]/.test(sentText);
}

function showResult(result) {
  suggestEscaping();
  lastResult = result;
  lastMarkup = result.markup;
  byId('output').value = result.markup.length <= maxShown ? markup() : '';
  // An edit made while this text was converting is still on its way.
  if (!timer) {
    delete byId('output').dataset.pending;
  }
  showCounts(result);
  drawBar(byId('bar'), result.bar);
  showPreview(byId('preview'), sentText, result.preview);
  formatPreview(byId('preview'), formattingSettings(core?.dialects, settings).styles);
  byId('preview-note').hidden = !result.previewCut;
  if (focusResult) {
    focusResult = false;
    byId('output').focus();
  }
}

function settingsChanged() {
  settings = readSettings(settings);
  saveSettings(localStorage, settings);
  showFormatting(core?.dialects, settings, texts);
  scheduleConversion();
}

function render() {
  if (!core) {
    return;
  }
  writeSettings(settings, texts, (stops) => {
    settings = {...settings, stops};
    saveSettings(localStorage, settings);
    render();
    convertNow();
  });
  byId('add-stop').disabled = settings.rainbow || settings.stops.length >= core.maxStops;
  showFormatting(core.dialects, settings, texts);
}

function applyLanguage() {
  texts = applyTexts(document, settings.language ?? defaultLanguage(navigator.languages));
  byId('language').textContent = texts.switchTo;
  byId('language').lang = texts.switchLang;
  render();
  if (lastResult) {
    showCounts(lastResult);
  }
}

function pickDialect() {
  const template = core.dialects.find(({key}) => key === byId('dialect').value);
  for (const box of ['prefix', 'middle', 'suffix']) {
    byId(box).value = template[box];
  }
  settingsChanged();
}

// What the settings leave to the core (null), and a gradient longer than
// it takes, become the core's.
function withCoreDefaults(current) {
  const initial = core.initial;
  const stops = current.stops ?? [];
  return {
    ...current,
    stops: stops.length >= 2 && stops.length <= core.maxStops ? stops : [...core.defaultStops],
    dialect: current.dialect ?? core.initialDialect,
    prefix: current.prefix ?? initial.prefix,
    middle: current.middle ?? initial.middle,
    suffix: current.suffix ?? initial.suffix,
  };
}

// The language is the reader's, not a conversion setting: it stays.
function reset() {
  settings = withCoreDefaults({...defaults, language: settings.language});
  saveSettings(localStorage, settings);
  applyLanguage();
  setStatus(texts.resetDone);
  convertNow();
}

async function copy() {
  try {
    await navigator.clipboard.writeText(markup());
    setStatus(texts.copied);
  } catch {
    // Without clipboard permission the older command may still be allowed;
    // it copies what the output box shows, so only a markup that fits there.
    const output = byId('output');
    if (output.value.length !== markup().length) {
      setStatus(texts.copyRefused);
      return;
    }
    output.focus();
    output.select();
    setStatus(document.execCommand('copy') ? texts.copied : texts.copyRefused);
  }
}

function download() {
  const url = URL.createObjectURL(new Blob([markup()], {type: 'text/plain;charset=utf-8'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = 'huecode.txt';
  link.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

function toggleLanguage() {
  settings = {...settings, language: texts.switchLang === 'en' ? 'en' : 'zh'};
  saveSettings(localStorage, settings);
  applyLanguage();
}

function addStop() {
  settings = {...settings, stops: withAddedStop(settings.stops)};
  saveSettings(localStorage, settings);
  render();
  convertNow();
}

function onWorkerMessage({data}) {
  if (data.ready === false) {
    setStatus(texts.noWasm);
    return;
  }
  if (data.ready) {
    core = data.core;
    byId('dialect').replaceChildren(...core.dialects.map(({key, label}) => new Option(label, key)));
    settings = withCoreDefaults(settings);
    render();
    convertNow();
    return;
  }
  if (data.id === latest) {
    showResult(data);
  }
}

function start() {
  worker.addEventListener('message', onWorkerMessage);
  applyLanguage();
  byId('text').addEventListener('input', scheduleConversion);
  for (const id of ['start', 'end', 'step', 'space', 'by', 'merge', 'escape', 'limit', 'fit', 'prefix',
    'middle', 'suffix', ...styleIds, 'endpoints']) {
    byId(id).addEventListener('input', settingsChanged);
  }
  byId('stops').addEventListener('input', settingsChanged);
  byId('rainbow').addEventListener('change', () => {
    settingsChanged();
    render();
  });
  byId('dialect').addEventListener('change', pickDialect);
  byId('convert').addEventListener('click', () => {
    focusResult = true;
    convertNow();
  });
  // As in the window, the output is taken whole: focusing it selects it all.
  byId('output').addEventListener('focus', () => byId('output').select());
  byId('copy').addEventListener('click', copy);
  byId('download').addEventListener('click', download);
  byId('reset').addEventListener('click', reset);
  byId('language').addEventListener('click', toggleLanguage);
  byId('add-stop').addEventListener('click', addStop);
  if ('serviceWorker' in navigator) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}

start();
