// Wires the page. The settings object is the one source of truth: every edit
// becomes a change to it (recorded for undo), the controls are written from
// it, and a conversion in the worker fills the output, the counts, the bar
// and the preview with the newest answer.
import {colourIn, dialectName, fields, fieldValue, markInvalid, writeSettings} from './controls.js';
import {formatPreview, formattingSettings, showFormatting} from './formatting.js';
import {applyTexts, defaultLanguage, textsOf} from '../i18n/texts.js';
import {createLibrary} from './library.js';
import {acknowledge, initFeedback, showToast} from './feedback.js';
import {createOutputView, windowSize} from './output-view.js';
import {initPhone, showOnBar} from './phone.js';
import {guardedShareLink} from './link-guard.js';
import {History, dialectOf, editStops, readCount, sameSettings, withAddedStop} from './model.js';
import {boardColour, drawBar, showPreview} from './preview.js';
import {defaults, loadSettings, readerKeys, sanitised, saveSettings, storageKey as settingsKey} from '../shared/settings.js';
import {readShareFragment, shareFragment, shareVersion} from '../shared/share.js';
import {reversedStops} from '../shared/gradients.js';
import {startConverter} from '../core/runner.js';
import {leaving, loadText, markStart, maxTextLength, saveText, startFailedBefore, textChanged} from '../storage/text-store.js';
import {piecesFrom} from '../core/answer.js';
import {retextNotes, showNote} from './notice.js';
import {local, onRefused} from '../storage/storage.js';
import {watchForUpdates} from '../offline/update.js';
import {createMarkupTools} from './markup-tools.js';
import {alignedPositions, positionsAfter} from '../shared/positions.js';
import {positionTyped} from './shapes.js';
import {circleFor, surpriseStops} from '../shared/shuffle.js';
import {listenToMarkers} from './markers.js';
import {createTextBox, longText} from './text-box.js';

const byId = (id) => document.getElementById(id);

let settings = loadSettings(local);
let texts = textsOf(settings.language ?? defaultLanguage(navigator.languages));
// What the core says of itself (web/core/interface.js): its dialects, defaults and
// limits, once its worker is ready.
let coreFacts = null;
const undoHistory = new History(100);
let latest = 0;
let timer = 0;
let spokenTimer = 0;
let lastResult = null;
let sentText = '';
// Once the user or a link has put a text in the box, the kept one arriving late must not replace it.
let textTouched = false;
// The convert button's request: as in the window, its result takes the
// focus, unless the user has gone on to another control meanwhile.
let focusFor = 0;
// A link's text waiting for the user's answer, and what to restore.
let linkOffer = null;

// The whole text, also the part a long text's window leaves out.
const textBox = createTextBox({texts: () => texts});

// A long kept text whose last start never showed its markup is offered, not taken.
const failedStart = startFailedBefore();
const keptText = (text) => {
  if (textTouched || !text) {
    return;
  }
  if (failedStart && text.length >= piecesFrom) {
    showNote('start-note', texts, {message: (t) => t.startFailed(text.length), actions: [
      {label: (t) => t.loadKept, run: () => {
        textBox.set(text);
        convertNow();
      }},
      {label: (t) => t.clearKept, run: () => saveText('')}]});
    markStart(false);
    return;
  }
  markStart(text.length >= piecesFrom);
  textBox.set(text);
};
// A kept text that arrives after the page has started still fills an untouched box.
const textLoaded = loadText((text) => {
  keptText(text);
  convertNow();
}).then(keptText);
const worker = startConverter();
const output = createOutputView({texts: () => texts});
const markupTools = createMarkupTools({worker, texts: () => texts, core: () => coreFacts, request: conversionSettings,
  text: () => textBox.value(),
  dialectName: (dialect) => dialectName(texts, dialect), setStatus});

// The step and the limit as numbers, or the reason they cannot be read.
function readNumbers(s = settings) {
  const step = readCount(s.step);
  const limit = s.limit.trim() === '' ? {value: null} : readCount(s.limit);
  return {step, limit};
}

function conversionSettings() {
  const {step, limit} = readNumbers();
  if (step.error || limit.error) {
    return null;
  }
  return {
    stops: settings.stops,
    rainbow: settings.rainbow,
    space: settings.space,
    step: String(step.value),
    by: settings.by,
    merge: settings.merge,
    fitLimit: settings.fit ? limit.value : null,
    limitUnit: settings.limitUnit,
    prefix: settings.prefix,
    middle: settings.middle,
    suffix: settings.suffix,
    format: settings.format,
    ...formattingSettings(coreFacts, settings),
    positions: settings.positions,
    perLine: settings.perLine,
    mirror: settings.mirror,
  };
}

function setStatus(message) {
  byId('status').textContent = message;
}

function convertNow() {
  clearTimeout(timer);
  timer = 0;
  const request = conversionSettings();
  if (!coreFacts || !request) {
    return;
  }
  const text = textBox.value();
  if (text.length > maxTextLength) {
    setStatus(texts.textTooLong(maxTextLength, text.length));
    delete byId('output').dataset.pending;
    return;
  }
  latest += 1;
  sentText = text;
  markPending();
  worker.postMessage({id: latest, settings: request, text: sentText, headBytes: windowSize});
}

// The output box is marked while an answer is on its way: once, not at every key.
function markPending() {
  const box = byId('output');
  if (!box.dataset.pending) {
    box.dataset.pending = 'true';
  }
}

// Typing converts after a pause; a long text waits longer, since each
// conversion of it takes a moment of its own.
function scheduleConversion() {
  clearTimeout(timer);
  if (!conversionSettings()) {
    return;
  }
  markPending();
  const delay = textBox.length() > longText ? 400 : 150;
  timer = setTimeout(convertNow, delay);
}

function showOutputNote(invalid) {
  const note = byId('output-note');
  note.textContent = invalid ? texts.fixFields : lastResult ? output.note(texts, lastResult.counts.outputCharacters) : '';
  note.hidden = !note.textContent;
}

function showValidity() {
  const numbers = readNumbers();
  let invalid = false;
  for (const id of ['step', 'limit']) {
    const {error} = numbers[id];
    const message = error ? texts.countErrors[error] : null;
    markInvalid(byId(id), typeof message === 'function' ? message(numbers[id]) : message);
    invalid ||= Boolean(error);
  }
  showOutputNote(invalid);
  if (invalid) {
    delete byId('output').dataset.pending;
  }
}

// Screen readers hear the counts once typing pauses, not on every key.
function speakCounts(message) {
  clearTimeout(spokenTimer);
  spokenTimer = setTimeout(() => {
    byId('counts-spoken').textContent = message;
  }, 1000);
}

function showCounts(result) {
  showOutputNote(Boolean(readNumbers().step.error || readNumbers().limit.error));
  const {limit} = readNumbers();
  const unit = texts.unitName[settings.limitUnit];
  const warning = byId('warning');
  const {counts} = result;
  if (result.formatError) {
    byId('counts').textContent = '';
    byId('meter').textContent = '';
    warning.hidden = true;
    return;
  }
  if (result.failed) {
    byId('counts').textContent = '';
    byId('meter').textContent = '';
    warning.textContent = texts.nothingFits(counts.shortest, limit.value, unit);
    warning.hidden = false;
    speakCounts(warning.textContent);
    return;
  }
  const fitted = settings.fit && limit.value !== null ? ` · ${texts.fitChose(counts.step)}` : '';
  byId('counts').textContent = texts.counts(counts) + fitted;
  byId('meter').textContent = texts.meter(result.lengths);
  const length = result.lengths[settings.limitUnit];
  const over = limit.value !== null && length > limit.value;
  warning.textContent = over ? texts.overLimit(length, limit.value, unit) : '';
  warning.hidden = !over;
  speakCounts(`${byId('counts').textContent}. ${warning.textContent}`);
}


function currentDialect() {
  return coreFacts && settings.prefix !== null ? dialectOf(settings, coreFacts) : null;
}

// The HTML dialects let a browser read < and & in the text as markup.
function suggestEscaping() {
  const html = Boolean(coreFacts?.dialects.find(({key}) => key === currentDialect())?.html);
  byId('escape-hint').hidden = settings.escape || !html || !/[<&]/.test(sentText);
}

function drawPreview() {
  if (!lastResult) {
    return;
  }
  const {low, lowest} = showPreview(byId('preview'), sentText, lastResult.preview, boardColour(settings));
  formatPreview(byId('preview'), formattingSettings(coreFacts, settings).styles);
  byId('contrast-warning').textContent = low ? texts.lowContrast(low, lowest.toFixed(2)) : '';
  byId('contrast-warning').hidden = low === 0;
  showOnBar({preview: byId('preview'), board: boardColour(settings), length: barLength(lastResult)});
}

// The markup's length in the unit the limit counts, marked when over it.
function barLength(result) {
  const {limit} = readNumbers();
  const unit = texts.unitName[settings.limitUnit];
  if (!result.lengths) {
    return {text: texts.barLength(result.counts.shortest, unit, true), over: true};
  }
  const length = result.lengths[settings.limitUnit];
  const over = limit.value !== null && length > limit.value;
  return {text: texts.barLength(length, unit, over), over};
}

// The core reads a step at or above the text's length as 1 (the window's
// rule): asked for more than 1 and given 1 without fitting, the user hears why.
function showStepNote(result) {
  const {step} = readNumbers();
  const fitted = settings.fit && readNumbers().limit.value !== null;
  byId('step-note').hidden = fitted || result.failed || !(step.value > 1 && result.counts.step === 1);
  byId('step-note').textContent = texts.stepNote;
}

function showResult(result) {
  markInvalid(byId('format'), result.formatError ? texts.formatError(result.formatError) : null);
  markStart(false);
  lastResult = result;
  suggestEscaping();
  output.show(result);
  // An edit made while this text was converting is still on its way, and
  // so is the rest of a long markup.
  if (!timer && result.markup) {
    delete byId('output').dataset.pending;
  }
  showCounts(result);
  drawBar(byId('bar'), result.bar);
  drawPreview();
  byId('preview-note').hidden = !result.previewCut;
  showStepNote(result);
  if (result.id === focusFor && [byId('convert'), document.body].includes(document.activeElement)) {
    byId('output').focus();
  }
}

// With a field marked invalid nothing converts: the focus goes to the field.
function convertClicked() {
  convertNow();
  if (conversionSettings()) {
    focusFor = latest;
  } else {
    document.querySelector('[aria-invalid=true]')?.focus();
  }
}

// "auto" follows the system, also when it changes while the page is open.
const systemDark = matchMedia('(prefers-color-scheme: dark)');

function applyTheme() {
  const auto = systemDark.matches ? 'dark' : 'light';
  document.documentElement.dataset.theme = settings.theme === 'auto' ? auto : settings.theme;
}

function render() {
  writeSettings(settings, texts, {dialect: currentDialect(), core: coreFacts});
  byId('undo').disabled = undoHistory.past.length === 0;
  byId('redo').disabled = undoHistory.future.length === 0;
  applyTheme();
  showValidity();
  showFormatting(coreFacts, settings, texts);
  suggestEscaping();
  drawPreview();
}

const withoutReader = (s) => Object.fromEntries(Object.entries(s).filter(([key]) => !readerKeys.includes(key)));

// Every edit of the settings comes through here. group joins a run of
// edits of one control into one undo step.
function change(next, {group = null, convert = 'soon'} = {}) {
  if (sameSettings(next, settings)) {
    return;
  }
  if (!sameSettings(withoutReader(next), withoutReader(settings))) {
    undoHistory.record(settings, group);
  }
  const before = settings;
  settings = next;
  saveSettings(local, before, settings);
  render();
  if (convert === 'now') {
    convertNow();
  } else if (convert === 'soon') {
    scheduleConversion();
  }
}

// An undo restores conversion settings only; the language and the theme stay the reader's.
function restore(snapshot) {
  const reader = Object.fromEntries(readerKeys.map((key) => [key, settings[key]]));
  const before = settings;
  // A step taken before the core was ready left the gradient and template to it.
  settings = coreFacts ? withCoreDefaults({...snapshot, ...reader}) : {...snapshot, ...reader};
  saveSettings(local, before, settings);
  render();
  convertNow();
}

function undo() {
  const previous = undoHistory.undo(settings);
  if (previous) {
    restore(previous);
  }
  setStatus(previous ? texts.undone : texts.nothingToUndo);
}

function redo() {
  const next = undoHistory.redo(settings);
  if (next) {
    restore(next);
    setStatus(texts.redone);
  }
}

function onFieldInput(event) {
  const field = fields.find((f) => f.id === event.target.id);
  if (field) {
    const value = fieldValue(field, event.target);
    change({...settings, [field.key]: value}, {group: field.property === 'value' ? field.id : null});
  }
}

function stopPositions() {
  return alignedPositions(settings.positions, settings.stops.length);
}

function shuffle() {
  if (!coreFacts) {
    return;
  }
  const stops = surpriseStops(circleFor(coreFacts.surprise, boardColour(settings)));
  change({...settings, rainbow: false, stops, positions: null}, {convert: 'now'});
  setStatus(texts.shuffled);
}

function onPositionInput(event) {
  const positions = positionTyped(event.target, stopPositions(), texts);
  if (positions) {
    change({...settings, positions}, {group: event.target.id});
  }
}

function setStop(k, colour) {
  const stops = settings.stops.map((c, j) => (j === k ? colour : c));
  change({...settings, stops}, {group: `stop-${k}`});
}

function onColourInput(event) {
  const {target} = event;
  if (target.dataset.stop === undefined || target.type !== 'color') {
    return;
  }
  setStop(Number(target.dataset.stop), colourIn(target));
}

function onHexInput(event) {
  const {target} = event;
  if (!target.classList.contains('hex')) {
    return;
  }
  const colour = colourIn(target);
  markInvalid(target, colour ? null : texts.badHex);
  if (colour) {
    setStop(Number(target.dataset.stop), colour);
  }
}

// After a move the focus follows the stop to its new place; after a removal
// it goes to the stop that took its place, or to the next control.
function onStopButton(event) {
  const button = event.target.closest('button[data-move]');
  if (!button) {
    return;
  }
  const k = Number(button.dataset.stop);
  const move = Number(button.dataset.move);
  const edited = editStops(settings.stops, k, move);
  const positions = edited.stops === settings.stops ? settings.positions
    : positionsAfter(move === 0 ? 'remove' : 'move', stopPositions(), k);
  change({...settings, stops: edited.stops, positions}, {convert: 'now'});
  const items = byId('stops').querySelectorAll('li');
  const item = items[edited.at - 1];
  const same = item?.querySelector(`button[data-move="${move}"]`);
  const target = same && !same.disabled ? same : item?.querySelector('input[type=color]') ?? byId('end');
  target.focus();
}

function pickDialect() {
  const dialect = coreFacts.dialects.find(({key}) => key === byId('dialect').value);
  if (!dialect) {
    return;
  }
  const edited = currentDialect() === null;
  const before = settings;
  // A format dialect keeps the three boxes as they are, for a later template.
  const {prefix, middle, suffix} = dialect.format ? settings : dialect;
  change({...settings, prefix, middle, suffix, format: dialect.format}, {convert: 'now'});
  if (edited) {
    showToast('template', byId('dialect'), texts.templateReplaced(dialectName(texts, dialect)),
      () => change(before, {convert: 'now'}));
  }
}

// What the settings leave to the core (null), and a gradient longer than it
// takes, become the core's.
function withCoreDefaults(current) {
  const {initial} = coreFacts;
  const stops = current.stops ?? [];
  return {
    ...current,
    stops: stops.length >= 2 && stops.length <= coreFacts.maxStops ? stops : [...coreFacts.defaultStops],
    prefix: current.prefix ?? initial.prefix,
    middle: current.middle ?? initial.middle,
    suffix: current.suffix ?? initial.suffix,
  };
}

function defaultSettings() {
  const reader = Object.fromEntries(readerKeys.map((key) => [key, settings[key]]));
  return withCoreDefaults({...defaults, ...reader});
}

function confirmReset() {
  byId('reset-dialog').close();
  if (byId('reset-text').checked) {
    textBox.set('');
    saveText('');
  }
  change(defaultSettings(), {convert: 'now'});
  setStatus(texts.resetDone);
}

async function share() {
  const base = location.href.replace(/#.*$/, '');
  const text = byId('share-text').checked ? textBox.value() : null;
  const {link, fragment, leftOut} = guardedShareLink(base, (t) => shareFragment(withoutReader(settings), t), text);
  try {
    await navigator.clipboard.writeText(link);
    acknowledge(byId('share'), texts.sharedAck, texts.shareCopied);
  } catch {
    window.history.replaceState(null, '', fragment);
    showToast('share', byId('share'), texts.shareShown);
    return;
  }
  if (leftOut) {
    showToast('share', byId('share'), texts.linkTooLong(leftOut.length, leftOut.max));
  }
}

function linkMessage(link) {
  const read = Object.keys(link.settings).length;
  if (link.version === null) {
    return read ? texts.linkDamaged(link.unreadable.join(', ') || 'huecode') : texts.linkUnreadable;
  }
  if (link.version > shareVersion) {
    return texts.linkNewer;
  }
  if (link.unreadable.length) {
    return texts.linkDamaged(link.unreadable.join(', '));
  }
  return link.refused.length ? texts.linkRefused(link.refused.join(', ')) : texts.linkApplied;
}

// A step or limit the link spells correctly but the page refuses (step 0, a
// negative limit) takes the default and is reported as refused.
function withoutRefused(link) {
  const numbers = readNumbers({...defaults, ...link.settings});
  const refused = ['step', 'limit'].filter((key) => Object.hasOwn(link.settings, key) && numbers[key].error);
  const usable = Object.fromEntries(Object.entries(link.settings).filter(([key]) => !refused.includes(key)));
  return {...link, settings: usable, refused};
}

function putText(text) {
  textTouched = true;
  textBox.set(text);
  saveText(text);
}

// The link's toast: its Undo restores the settings and the text from before.
function linkToast(message, before) {
  showToast('link', byId('text'), message, () => {
    putText(before.text);
    change(before.settings, {convert: 'now'});
    convertNow();
  });
}

// A link's settings replace the current ones at once (undoable, the saved
// gradients untouched); what it cannot read takes the default. Its text
// replaces an empty draft or the same one; over a different draft the user
// is asked first. It is applied once: the address loses its fragment.
function openLink() {
  const read = readShareFragment(location.hash, {maxStops: coreFacts.maxStops});
  if (!read) {
    return;
  }
  const link = withoutRefused(read);
  window.history.replaceState(null, '', location.href.replace(/#.*$/, ''));
  const before = {settings, text: textBox.value()};
  const next = sanitised({...withoutReader(defaultSettings()), ...link.settings,
    ...Object.fromEntries(readerKeys.map((key) => [key, settings[key]]))});
  const asking = link.text !== null && before.text !== '' && before.text !== link.text;
  if (link.text !== null && !asking) {
    putText(link.text);
  }
  change(withCoreDefaults(next), {convert: 'now'});
  linkToast(linkMessage(link), before);
  if (asking) {
    linkOffer = {text: link.text, before, message: linkMessage(link)};
    byId('link-dialog').showModal();
  }
}

function answerLinkOffer(use) {
  byId('link-dialog').close();
  if (use && linkOffer) {
    putText(linkOffer.text);
    convertNow();
    linkToast(linkOffer.message, linkOffer.before);
  }
  linkOffer = null;
}

function applyLanguage() {
  texts = applyTexts(document, settings.language ?? defaultLanguage(navigator.languages));
  byId('language').textContent = texts.switchTo;
  byId('language').lang = texts.switchLang;
  byId('copy').title = texts.copyTitle;
  render();
  library.render();
  markupTools.render();
  retextNotes(texts);
  output.retext();
  textBox.retext();
  if (lastResult) {
    showCounts(lastResult);
  }
}

function toggleLanguage() {
  const before = settings;
  settings = {...settings, language: texts.switchLang === 'en' ? 'en' : 'zh'};
  saveSettings(local, before, settings);
  applyLanguage();
}

// A gallery gradient brings the board it reads on, unless the user set a colour of their own.
const library = createLibrary({
  texts: () => texts,
  maxStops: () => coreFacts?.maxStops,
  current: () => ({stops: settings.stops, space: settings.space, positions: stopPositions(),
    format: settings.format}),
  apply(gradient, name, button) {
    const before = settings;
    const board = ['light', 'dark'].includes(gradient.board) && settings.board !== 'custom' ? gradient.board
      : settings.board;
    change({...settings, rainbow: false, space: gradient.space, stops: gradient.stops,
      board, positions: gradient.positions ?? null, format: gradient.format ?? settings.format}, {convert: 'now'});
    acknowledge(button, texts.appliedAck);
    showToast('gradient', button, texts.gradientApplied(name), () => change(before, {convert: 'now'}));
  },
});

function onWorkerMessage({data}) {
  if (markupTools.answer(data)) {
    return;
  }
  if (data.ready === false) {
    // A core that fails to start in a browser that has WebAssembly says why.
    setStatus(typeof WebAssembly === 'object' ? texts.coreFailed(data.error) : texts.noWasm);
    return;
  }
  if (data.ready) {
    coreFacts = data.core;
    settings = withCoreDefaults(settings);
    render();
    markupTools.render();
    // The first conversion waits for the kept text.
    textLoaded.then(() => {
      convertNow();
      openLink();
    });
    return;
  }
  if (data.id === latest && data.blob) {
    output.blobArrived(data.blob);
    if (!timer) {
      delete byId('output').dataset.pending;
    }
  } else if (data.id === latest) {
    showResult(data);
  }
}

// Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y) undo settings, except in a text box,
// which keeps its own undo of what is typed.
function onKey(event) {
  const target = event.target;
  const typing = target.tagName === 'TEXTAREA' || (target.tagName === 'INPUT' && target.type === 'text');
  const key = event.key.toLowerCase();
  if (typing || !(event.ctrlKey || event.metaKey) || event.altKey || !['z', 'y'].includes(key)) {
    return;
  }
  event.preventDefault();
  if (key === 'y' || event.shiftKey) {
    redo();
  } else {
    undo();
  }
}

// Ctrl+Shift+Enter (⌘⇧↩) copies the markup from anywhere: no major browser
// uses it, and the copy button's title names it.
function onCopyKey(event) {
  if (event.key === 'Enter' && event.shiftKey && (event.ctrlKey || event.metaKey) && !event.altKey) {
    event.preventDefault();
    output.copy();
  }
}

// The skip link takes the focus to the result at every width, without
// touching the address (whose fragment carries share links).
function jumpToResult(event) {
  event.preventDefault();
  byId('result').scrollIntoView({block: 'start'});
  byId('result').focus({preventScroll: true});
}

// A text beyond the page's limit is neither kept nor converted.
const pasteUnits = 10000;

function onTextInput() {
  textTouched = true;
  const length = textBox.length();
  if (length > maxTextLength) {
    clearTimeout(timer);
    timer = 0;
    setStatus(texts.textTooLong(maxTextLength, length));
    return;
  }
  // A paste (or a cut) of many characters converts at once: the worker
  // then converts while the browser lays the new text out.
  if (Math.abs(length - sentText.length) >= pasteUnits) {
    convertNow();
  } else {
    scheduleConversion();
  }
  textChanged(() => textBox.value());
}

// Another tab changed a setting: this one shows it too.
function onStorageElsewhere(event) {
  if (event.key !== settingsKey && event.key !== null) {
    return;
  }
  const stored = loadSettings(local, coreFacts ? {maxStops: coreFacts.maxStops} : undefined);
  const next = coreFacts ? withCoreDefaults(stored) : stored;
  if (!sameSettings(next, settings)) {
    settings = next;
    applyLanguage();
    scheduleConversion();
  }
}

function listen() {
  byId('text').addEventListener('input', onTextInput);
  for (const {id} of fields) {
    byId(id).addEventListener(byId(id).tagName === 'SELECT' || byId(id).type === 'checkbox' ? 'change' : 'input',
      onFieldInput);
  }
  const colours = document.querySelector('.colours');
  colours.addEventListener('input', onColourInput);
  colours.addEventListener('input', onHexInput);
  colours.addEventListener('input', (event) => event.target.classList.contains('position') && onPositionInput(event));
  byId('stops').addEventListener('click', onStopButton);
  listenToMarkers(() => settings, (k, percent) => {
    const positions = stopPositions().map((p, j) => (j === k ? percent : p));
    change({...settings, positions}, {group: `marker-${k}`});
  });
  byId('dialect').addEventListener('change', pickDialect);
  byId('convert').addEventListener('click', convertClicked);
  const clicks = {copy: () => output.copy(), download: output.download, share, undo, redo, shuffle, language: toggleLanguage,
    'link-keep': () => answerLinkOffer(false), 'link-use': () => answerLinkOffer(true),
    'reset-confirm': confirmReset, 'reset-cancel': () => byId('reset-dialog').close(),
    reset: () => byId('reset-dialog').showModal(),
    'add-stop': () => change({...settings, stops: withAddedStop(settings.stops),
      positions: positionsAfter('add', stopPositions())}, {convert: 'now'}),
    reverse: () => change({...settings, stops: reversedStops(settings.stops),
      positions: positionsAfter('reverse', stopPositions())}, {convert: 'now'})};
  for (const [id, handler] of Object.entries(clicks)) {
    byId(id).addEventListener('click', handler);
  }
  markupTools.wire();
  document.addEventListener('keydown', onKey);
  document.addEventListener('keydown', onCopyKey);
  byId('link-dialog').addEventListener('cancel', () => answerLinkOffer(false));
  document.querySelector('.jump').addEventListener('click', jumpToResult);
  systemDark.addEventListener('change', applyTheme);
  addEventListener('hashchange', () => coreFacts && openLink());
  addEventListener('pagehide', leaving);
  addEventListener('storage', onStorageElsewhere);
}

function start() {
  initFeedback(() => texts);
  initPhone(output.copy);
  worker.addEventListener('message', onWorkerMessage);
  worker.addEventListener('error', (event) => setStatus(texts.coreFailed(event.message || 'worker.js')));
  applyLanguage();

  listen();
  onRefused(() => showNote('storage-note', texts, {message: (t) => t.nothingKept,
    actions: [{label: (t) => t.dismiss}]}));
  watchForUpdates((reload) => showNote('update-note', texts, {message: (t) => t.updateReady,
    actions: [{label: (t) => t.updateReload, run: () => {
      leaving();
      reload();
    }}]}));
}

start();
