// Shows the settings in the page's controls. The settings object is the one
// source of truth: controls are written from it after every change, and a
// control's edit reaches it only as a change the caller applies.
import {parseColour} from '../shared/gradients.js';
import {dialectLabel} from '../core/interface.js';
import {writeMarkers} from './markers.js';
import {alignedPositions} from '../shared/positions.js';
import {byId} from './dom.js';

// The plain controls and the settings field each one holds.
export const fields = [
  {id: 'step', key: 'step', property: 'value'},
  {id: 'space', key: 'space', property: 'value'},
  {id: 'by', key: 'by', property: 'value'},
  {id: 'merge', key: 'merge', property: 'checked'},
  {id: 'escape', key: 'escape', property: 'checked'},
  ...['bold', 'italic', 'underline', 'strike', 'endpoints'].map((id) => ({id, key: id, property: 'checked'})),
  {id: 'rainbow', key: 'rainbow', property: 'checked'},
  {id: 'limit', key: 'limit', property: 'value'},
  {id: 'limit-unit', key: 'limitUnit', property: 'value'},
  {id: 'fit', key: 'fit', property: 'checked'},
  {id: 'prefix', key: 'prefix', property: 'value'},
  {id: 'middle', key: 'middle', property: 'value'},
  {id: 'suffix', key: 'suffix', property: 'value'},
  {id: 'format', key: 'format', property: 'value'},
  {id: 'board', key: 'board', property: 'value'},
  {id: 'board-colour', key: 'boardColour', property: 'value', colour: true},
  {id: 'theme', key: 'theme', property: 'value'},
  {id: 'perLine', key: 'perLine', property: 'checked'},
  {id: 'mirror', key: 'mirror', property: 'checked'},
  {id: 'moving', key: 'moving', property: 'checked'},
  {id: 'frames', key: 'frames', property: 'value'},
  {id: 'interval', key: 'interval', property: 'value'},
  {id: 'direction', key: 'direction', property: 'value'},
  {id: 'form', key: 'form', property: 'value'},
  {id: 'animation-name', key: 'animationName', property: 'value'},
];

// The motion's choices are the core's, named in the page's language; the
// rest of the section waits for them and for motion to be turned on.
function writeMotion(settings, motion, texts) {
  for (const [id, names, labels] of [['direction', motion.directions, texts.directions],
    ['form', motion.forms, texts.forms]]) {
    const select = byId(id);
    if (select.dataset.language !== texts.htmlLang || select.options.length !== names.length) {
      select.replaceChildren(...names.map((name) => new Option(labels[name] ?? name, name)));
      select.dataset.language = texts.htmlLang;
    }
  }
  for (const id of ['frames', 'interval', 'direction', 'form']) {
    byId(id).disabled = !settings.moving;
  }
  byId('animation-name').disabled = !settings.moving || settings.form !== 'yaml';
}

export const stopButtons = [
  {label: 'moveUp', text: '↑', move: -1},
  {label: 'moveDown', text: '↓', move: 1},
  {label: 'removeStop', text: '×', move: 0},
];

// The id of the colour picker of stop k (0 start, last end).
export function stopId(k, count) {
  return k === 0 ? 'start' : k === count - 1 ? 'end' : `stop-${k}`;
}

// Writing a value a control already holds would move the caret of the box
// being typed into.
function put(element, property, value) {
  if (element[property] !== value) {
    element[property] = value;
  }
}

// A picker that shows the colour already keeps it, in its own spelling.
function putColour(picker, colour) {
  if (colourIn(picker) !== colour) {
    picker.value = colour;
  }
}

// What a control of the fields above holds, as the settings keep it.
export function fieldValue(field, element) {
  return field.colour ? colourIn(element) : element[field.property];
}

function showHex(id, colour) {
  const hex = byId(`${id}-hex`);
  // The box being typed into keeps what the user typed, valid or not.
  if (document.activeElement !== hex) {
    put(hex, 'value', colour);
    markInvalid(hex, null);
  }
}

// A message next to the field and aria-invalid, or neither when message is null.
export function markInvalid(input, message) {
  // The field's own message is the one of its descriptions that is an error.
  const error = (input.getAttribute('aria-describedby') ?? '').split(' ').map(byId)
    .find((element) => element?.classList.contains('field-error'));
  // Written only when it changes: every answer marks the template box again.
  const invalid = message !== null;
  if (input.getAttribute('aria-invalid') !== (invalid ? 'true' : null)) {
    if (invalid) {
      input.setAttribute('aria-invalid', 'true');
    } else {
      input.removeAttribute('aria-invalid');
    }
  }
  if (error && (error.textContent !== (message ?? '') || error.hidden === invalid)) {
    error.textContent = message ?? '';
    error.hidden = !invalid;
  }
}

function stopItem(k, count, texts) {
  const item = document.createElement('li');
  const id = stopId(k, count);
  const input = Object.assign(document.createElement('input'), {type: 'color', id});
  input.dataset.stop = String(k);
  const label = Object.assign(document.createElement('label'), {htmlFor: id, textContent: texts.via(k)});
  const hex = Object.assign(document.createElement('input'), {type: 'text', id: `${id}-hex`, className: 'hex',
    size: 8, autocomplete: 'off', spellcheck: false});
  hex.dataset.stop = String(k);
  hex.setAttribute('aria-label', texts.hexLabel(texts.via(k)));
  hex.setAttribute('aria-describedby', `${id}-hex-error`);
  const error = Object.assign(document.createElement('span'), {id: `${id}-hex-error`, className: 'field-error',
    hidden: true});
  item.append(label, input, hex, positionBox(id, k, texts));
  for (const {label: name, text, move} of stopButtons) {
    const button = Object.assign(document.createElement('button'), {type: 'button', textContent: text,
      className: 'secondary'});
    button.dataset.stop = String(k);
    button.dataset.move = String(move);
    button.setAttribute('aria-label', texts[name](k));
    item.append(button);
  }
  item.append(error, Object.assign(document.createElement('span'), {id: `${id}-position-error`,
    className: 'field-error', hidden: true}));
  return item;
}

// Where the stop sits in percent; empty for evenly between its neighbours.
function positionBox(id, k, texts) {
  const box = Object.assign(document.createElement('input'), {type: 'text', id: `${id}-position`,
    className: 'position', size: 5, inputMode: 'decimal', autocomplete: 'off', placeholder: texts.positionEven});
  box.dataset.stop = String(k);
  box.setAttribute('aria-label', texts.positionLabel(k));
  box.setAttribute('aria-describedby', `${id}-position-error`);
  return box;
}

function showPositions(stops, positions, rainbow) {
  alignedPositions(positions, stops.length).slice(1, -1).forEach((position, j) => {
    const box = byId(`${stopId(j + 1, stops.length)}-position`);
    box.dataset.stop = String(j + 1);
    box.disabled = rainbow;
    // A box being typed into, or whose text the core is still reading, keeps it.
    if (document.activeElement !== box && !box.hasAttribute('data-reading')) {
      put(box, 'value', position === null ? '' : String(position));
      markInvalid(box, null);
    }
  });
}

// The list is rebuilt only when its length or language changes, so that a
// colour being picked keeps its open picker.
function writeStops(stops, rainbow, texts) {
  const list = byId('stops');
  const inner = stops.length - 2;
  if (list.children.length !== inner || list.dataset.language !== texts.htmlLang) {
    list.replaceChildren(...stops.slice(1, -1).map((_, k) => stopItem(k + 1, stops.length, texts)));
    list.dataset.language = texts.htmlLang;
  }
  stops.forEach((colour, k) => {
    const id = stopId(k, stops.length);
    byId(id).dataset.stop = String(k);
    byId(`${id}-hex`).dataset.stop = String(k);
    putColour(byId(id), colour);
    showHex(id, colour);
    byId(id).disabled = rainbow;
    byId(`${id}-hex`).disabled = rainbow;
  });
  for (const button of list.querySelectorAll('button')) {
    const k = Number(button.dataset.stop);
    const target = k + Number(button.dataset.move);
    button.disabled = rainbow || (button.dataset.move !== '0' && (target < 1 || target > inner));
  }
  byId('start-hex').setAttribute('aria-label', texts.hexLabel(texts.start));
  byId('end-hex').setAttribute('aria-label', texts.hexLabel(texts.end));
}

// A dialect's name in the page's language, as the core names it.
export function dialectName(texts, dialect) {
  return dialectLabel(dialect, texts.htmlLang.startsWith('zh') ? 'zh' : 'en');
}

// The dialect list is the core's.
function writeDialects(dialect, dialects, texts) {
  const select = byId('dialect');
  if (select.dataset.language !== texts.htmlLang || select.options.length !== dialects.length + 1) {
    select.replaceChildren(...dialects.map((d) => new Option(dialectName(texts, d), d.key)),
      new Option(texts.customDialect, 'custom'));
    select.dataset.language = texts.htmlLang;
  }
  // A template the core is still reading keeps the dialect shown until it has.
  if (dialect !== undefined) {
    select.value = dialect ?? 'custom';
    byId('custom-note').hidden = dialect !== null;
  }
  // The list waits for the core's dialects, like every control that needs them.
  select.disabled = false;
  // Custom is what the boxes say, not something to pick.
  select.options[select.options.length - 1].disabled = true;
}

// core is what the core exports, null until it is ready; until then the
// settings may leave the stops and the template to it.
export function writeSettings(settings, texts, {dialect, core}) {
  if (core) {
    writeMotion(settings, core.motion, texts);
  }
  for (const {id, key, property, colour} of fields) {
    if (settings[key] !== null && colour) {
      putColour(byId(id), settings[key]);
    } else if (settings[key] !== null) {
      put(byId(id), property, settings[key]);
    }
  }
  if (settings.stops) {
    writeStops(settings.stops, settings.rainbow, texts);
    showPositions(settings.stops, settings.positions, settings.rainbow);
    writeMarkers(settings, texts);
  }
  if (core) {
    writeDialects(dialect, core.dialects, texts);
  }
  byId('add-stop').disabled = !core || settings.rainbow || settings.stops.length >= core.maxStops;
  byId('reverse').disabled = settings.rainbow;
  byId('board-colour').hidden = settings.board !== 'custom';
}

// The colour a picker holds (browsers keep it in lower case) or one typed
// into a hex box, or null.
export function colourIn(input) {
  return parseColour(input.value);
}
