// The text box. A short text lives in the <textarea> as usual. A long one
// would make the browser lay all of it out, which takes seconds and more
// memory than the rest of the page together (a bare <textarea> holding
// 10 Mi characters: 27 s and 1.5 GiB): the page then holds the whole text
// and the box shows one window of it, moved by the slider beneath. Typing,
// composing, deleting and pasting a little happen in the window, with the
// browser's own undo; what lies before and after it stays aside. A long
// paste or drop never enters the box whole, and after Select all (the key
// or the menu's), Delete, Cut, Copy, paste and typing act on the whole
// text; Ctrl+Home and Ctrl+End go to its ends, moving the window, and with
// Shift select up to them, past the window too. Replacing the whole text
// can be undone with Ctrl+Z. Everything that needs the text asks value().
import {pairSafeEnd} from '../shared/code-points.js';
import {byId} from './dom.js';

// A text longer than this is shown a window at a time. Typing into a
// <textarea> of this size still keeps each key's task short on a busy machine.
export const longText = 100000;
// The window: a few screens of text, small enough that a key typed into it
// is laid out within a frame. The browser lays out the whole paragraph the
// key is in, so a text with no line break costs it the whole window.
export const windowUnits = 8192;
const half = windowUnits / 2;
// How many whole-text replacements Ctrl+Z can take back.
const undoDepth = 4;

const shownLength = (state) => state.before.length + state.box.value.length + state.after.length;
// A window not edited since it was shown gives back the text it came from:
// joining the parts anew would make the browser copy the whole text again
// when it is sent to the converter or kept.
function wholeText(state) {
  if (!state.long) {
    return state.box.value;
  }
  const shown = state.box.value;
  return shown === state.shown.window ? state.shown.text : state.before + shown + state.after;
}

// A selection wider than the window (Select all, Ctrl+Shift+End) is kept as
// state.wide, offsets into the whole text, while the box selects all it shows.
function allSelected(state) {
  const {box} = state;
  return state.long && state.wide !== null && box.selectionStart === 0 && box.selectionEnd === box.value.length;
}

const selectWhole = (state) => (state.long ? [0, shownLength(state)] : null);

// The selection as offsets into the whole text.
function selectedSpan(state) {
  if (allSelected(state)) {
    return state.wide;
  }
  const from = state.long ? state.before.length : 0;
  return [from + state.box.selectionStart, from + state.box.selectionEnd];
}

function showControls(state) {
  const {slider, note, box} = state;
  const t = state.texts();
  slider.hidden = !state.long;
  note.hidden = !state.long;
  if (!state.long) {
    box.removeAttribute('aria-describedby');
    return;
  }
  box.setAttribute('aria-describedby', 'text-note');
  const total = shownLength(state);
  // The counts line says how many characters; the note stays as it is while typing.
  note.textContent = t.textWindow;
  slider.max = String(Math.max(0, Math.ceil((total - windowUnits) / half)));
  slider.value = String(Math.round(state.before.length / half));
  const percent = Math.round(100 * (state.before.length + state.box.value.length) / Math.max(1, total));
  slider.setAttribute('aria-valuetext', t.textAt(percent));
}

// A window's edge: just after a line break close before `at` when there is
// one, so that the box starts and ends with whole lines; else beside `at`,
// never inside a surrogate pair.
const lineSearch = 256;

function edge(text, at) {
  if (at <= 0 || at >= text.length) {
    return Math.max(0, Math.min(at, text.length));
  }
  const lineStart = text.lastIndexOf('\n', at - 1) + 1;
  return lineStart > 0 && at - lineStart < lineSearch ? lineStart : pairSafeEnd(text, at);
}

// The caret at offset, scrolled into view.
function caretAt(box, offset) {
  box.setSelectionRange(offset, offset);
  box.scrollTop = (offset / Math.max(1, box.value.length)) * box.scrollHeight - box.clientHeight / 2;
}

// The box's own value and caret.
function fill(box, shown, offset) {
  box.value = shown;
  if (offset >= 0 && offset <= shown.length) {
    caretAt(box, offset);
  }
}

// Shows text, a long one from about `at` on; caret (an offset into the
// whole text) is placed when the window holds it.
function show(state, text, {at = 0, caret = null} = {}) {
  state.long = text.length > longText;
  state.wide = null;
  const from = Math.min(at, text.length - windowUnits);
  const start = state.long ? edge(text, from) : 0;
  // A window asked for up to the end holds the end, rather than stopping at its last line break.
  const end = state.long && from + windowUnits < text.length ? edge(text, start + windowUnits) : text.length;
  state.before = text.slice(0, start);
  state.after = text.slice(end);
  // Setting the box's value (or its caret) ends the browser's undo step: a
  // box that already holds the text is left alone.
  const shown = text.slice(start, end);
  state.shown = {text, window: shown};
  if (state.box.value !== shown) {
    fill(state.box, shown, caret === null ? -1 : caret - start);
  }
  showControls(state);
}

const around = (caret) => Math.max(0, caret - half);

// The page's own change of the whole text (a paste, a cut, an undo): shown,
// and told to the page as the box's input.
function replace(state, text, caret, inputType) {
  state.dropped = null;
  state.undo.push(wholeText(state));
  state.undo.splice(0, state.undo.length - undoDepth);
  show(state, text, {at: around(caret), caret});
  state.replaced = state.box.value;
  state.box.dispatchEvent(new InputEvent('input', {bubbles: true, inputType}));
}

function undoReplace(state) {
  const text = state.undo.pop();
  state.dropped = null;
  show(state, text, {at: 0});
  state.replaced = state.box.value;
  state.box.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'historyUndo'}));
}

// A text arriving from outside (a paste, a drop): the browser puts a little
// into the window, the page takes the rest.
function takeIn(state, event, incoming) {
  const [from, to] = selectedSpan(state);
  const total = shownLength(state) - (to - from) + incoming.length;
  const inWindow = state.long && !allSelected(state) && state.box.value.length + incoming.length <= 2 * windowUnits;
  if ((!state.long && total <= longText) || inWindow) {
    return;
  }
  event.preventDefault();
  const text = wholeText(state);
  replace(state, text.slice(0, from) + incoming + text.slice(to), from + incoming.length, event.type === 'drop'
    ? 'insertFromDrop' : 'insertFromPaste');
}

function onPaste(state, event) {
  takeIn(state, event, event.clipboardData?.getData('text/plain') ?? '');
}

// A dropped text file is taken as if pasted where the selection is.
function onDrop(state, event) {
  const file = [...event.dataTransfer?.files ?? []][0];
  if (!file) {
    takeIn(state, event, event.dataTransfer?.getData('text/plain') ?? '');
    return;
  }
  event.preventDefault();
  const span = selectedSpan(state);
  file.text().then((incoming) => {
    const text = wholeText(state);
    replace(state, text.slice(0, span[0]) + incoming + text.slice(span[1]), span[0] + incoming.length,
      'insertFromDrop');
  }, () => {});
}

// Copy and Cut of a selection wider than the window take all of it.
function onCopy(state, event) {
  if (!allSelected(state)) {
    return;
  }
  event.preventDefault();
  const text = wholeText(state);
  const [from, to] = state.wide;
  event.clipboardData.setData('text/plain', text.slice(from, to));
  if (event.type === 'cut') {
    replace(state, text.slice(0, from) + text.slice(to), from, 'deleteByCut');
  }
}

// After Select all, an edit the browser makes in the window (a key, a
// composition, Delete) replaces the whole selection: what it holds outside
// the window goes first, kept for undo.
function onBeforeInput(state, event) {
  if (event.inputType.startsWith('history') || !allSelected(state)) {
    return;
  }
  const text = wholeText(state);
  state.undo.push(text);
  state.undo.splice(0, state.undo.length - undoDepth);
  state.dropped = state.box.value;
  state.before = text.slice(0, state.wide[0]);
  state.after = text.slice(state.wide[1]);
  state.shown = {text: '', window: null};
  state.wide = null;
  state.replacing = true;
}

function onInput(state, event) {
  if (event.inputType === 'historyUndo' && state.dropped !== null && state.box.value === state.dropped &&
      state.undo.length) {
    // The browser's undo of such an edit brings back the window alone: the whole text comes back instead.
    state.dropped = null;
    show(state, state.undo.pop(), {at: 0});
    return;
  }
  if (state.replacing) {
    state.replacing = false;
    state.replaced = state.box.value;
  }
  // A box the browser filled beyond the limit (a long text typed or put
  // there by other means) is windowed; a window emptied of all but a
  // short text becomes an ordinary box again.
  const total = shownLength(state);
  if (state.long !== total > longText) {
    const {selectionStart} = state.box;
    const caret = (state.long ? state.before.length : 0) + selectionStart;
    show(state, wholeText(state), {at: around(caret), caret});
  } else if (state.long) {
    showControls(state);
  }
}

// Ctrl+Z right after a replacement of the whole text takes it back; any
// other undo is the browser's, inside the box. Ctrl+A marks Select all.
function onKey(state, event) {
  const key = event.key.toLowerCase();
  const command = (event.ctrlKey || event.metaKey) && !event.altKey;
  if (command && key === 'z' && !event.shiftKey && state.undo.length && state.box.value === state.replaced) {
    event.preventDefault();
    undoReplace(state);
  } else if (command && key === 'a' && !event.shiftKey) {
    state.wide = selectWhole(state);
  } else if (/^(arrow|home|end|page)/.test(key)) {
    state.keyed = true;
    state.wide = (command && (key === 'home' || key === 'end') && toEdge(state, event, key === 'end')) || null;
  }
}

// Ctrl+End and Ctrl+Home (with Shift, selecting from the selection's
// anchor) reach the whole text's end and start; the browser's own keys
// stay while the edge and the anchor lie in the window.
function toEdge(state, event, toEnd) {
  const [from, to] = selectedSpan(state);
  const anchor = state.box.selectionDirection === 'backward' ? to : from;
  const text = wholeText(state);
  const edge = toEnd ? text.length : 0;
  const [start, end] = [Math.min(anchor, edge), Math.max(anchor, edge)];
  const inWindow = (at) => at >= state.before.length && at <= text.length - state.after.length;
  if (!state.long || (inWindow(edge) && (!event.shiftKey || inWindow(anchor)))) {
    return null;
  }
  event.preventDefault();
  moveTo(state, toEnd ? text.length : 0);
  const offset = state.before.length;
  const {box} = state;
  if (!event.shiftKey) {
    caretAt(box, edge - offset);
    return null;
  }
  const direction = toEnd ? 'forward' : 'backward';
  if (inWindow(start) && inWindow(end)) {
    box.setSelectionRange(start - offset, end - offset, direction);
    return null;
  }
  box.setSelectionRange(0, box.value.length, direction);
  return [start, end];
}

// Select all from the context menu (how a phone selects) gives no key: a
// selection of the whole window made neither by a pointer held down nor by
// moving with the keys counts as Select all.
function onSelect(state) {
  const {box} = state;
  if (state.keyed || state.pointer || document.activeElement !== box) {
    return;
  }
  if (state.long && box.value.length > 0 && box.selectionStart === 0 && box.selectionEnd === box.value.length) {
    state.wide = selectWhole(state);
  }
}

function watchSelection(state) {
  // The selection a pointer or a key makes is told after it is let go: it
  // stays theirs until then.
  const later = (flag) => () => setTimeout(() => {
    state[flag] = false;
  });
  state.box.addEventListener('pointerdown', () => {
    state.pointer = true;
  });
  window.addEventListener('pointerup', later('pointer'), true);
  window.addEventListener('pointercancel', later('pointer'), true);
  state.box.addEventListener('keyup', later('keyed'));
  state.box.addEventListener('select', () => onSelect(state));
  document.addEventListener('selectionchange', () => onSelect(state));
}

function moveTo(state, at) {
  const edited = state.box.value === state.replaced;
  show(state, wholeText(state), {at});
  state.replaced = edited ? state.box.value : state.replaced;
}

// texts(): the page's texts in its current language.
export function createTextBox({texts}) {
  const state = {box: byId('text'), slider: byId('text-at'), note: byId('text-note'), texts, long: false,
    before: '', after: '', shown: {text: '', window: ''}, wide: null, undo: [], replaced: null, dropped: null, replacing: false,
    pointer: false, keyed: false};
  const {box} = state;
  box.addEventListener('paste', (event) => onPaste(state, event));
  box.addEventListener('drop', (event) => onDrop(state, event));
  box.addEventListener('dragover', (event) => event.dataTransfer?.types.includes('Files') && event.preventDefault());
  box.addEventListener('copy', (event) => onCopy(state, event));
  box.addEventListener('cut', (event) => onCopy(state, event));
  box.addEventListener('beforeinput', (event) => onBeforeInput(state, event));
  box.addEventListener('input', (event) => onInput(state, event));
  box.addEventListener('keydown', (event) => onKey(state, event));
  box.addEventListener('mousedown', () => {
    state.wide = null;
  });
  watchSelection(state);
  state.slider.addEventListener('input', () => moveTo(state, Number(state.slider.value) * half));
  return {
    // The whole text, also what the window leaves out.
    value: () => wholeText(state),
    length: () => shownLength(state),
    // The page's own setting of the text (a kept draft, a link, a reset):
    // no undo of it in the box.
    set(text) {
      state.undo = [];
      state.replaced = null;
      state.dropped = null;
      show(state, text);
    },
    // The page's replacement of the whole text (a reset, an undo of one),
    // which Ctrl+Z in the box takes back.
    replace: (text) => replace(state, text, 0, 'insertReplacementText'),
    retext: () => showControls(state),
  };
}
