// What each control's input makes of the settings: the fields, the stops and
// their positions, the dialect, the surprise gradient and a gradient picked
// from the library.
import {colourIn, dialectName, fields, fieldValue, markInvalid} from './controls.js';
import {acknowledge, dismissToast, showToast} from './feedback.js';
import {editStops, withAddedStop} from './model.js';
import {boardColour} from './preview.js';
import {reversedStops} from '../shared/gradients.js';
import {alignedPositions, positionsAfter} from '../shared/positions.js';
import {withCoreNames} from '../shared/settings.js';
import {positionTyped} from './shapes.js';
import {circleFor, surpriseStops} from '../shared/shuffle.js';
import {currentDialect} from './conversion.js';
import {change} from './edits.js';
import {appliedMotion} from './motion.js';
import {page, setStatus} from './state.js';
import {byId} from './dom.js';

export function onFieldInput(event) {
  const field = fields.find((f) => f.id === event.target.id);
  if (field) {
    const value = fieldValue(field, event.target);
    change({...page.settings, [field.key]: value}, {group: field.property === 'value' ? field.id : null});
  }
}

export function stopPositions() {
  return alignedPositions(page.settings.positions, page.settings.stops.length);
}

export function shuffle() {
  if (!page.core) {
    return;
  }
  const stops = surpriseStops(circleFor(page.core.surprise, boardColour(page.settings)));
  change({...page.settings, rainbow: false, stops, positions: null}, {convert: 'now'});
  setStatus(page.texts.shuffled);
}

export function onPositionInput(event) {
  const positions = positionTyped(event.target, stopPositions(), page.texts);
  if (positions) {
    change({...page.settings, positions}, {group: event.target.id});
  }
}

// The core has read a typed position: the boxes that waited for it take what they hold now.
export function positionsRead() {
  for (const box of document.querySelectorAll('.position[data-reading]')) {
    onPositionInput({target: box});
  }
}

function setStop(k, colour) {
  const stops = page.settings.stops.map((c, j) => (j === k ? colour : c));
  change({...page.settings, stops}, {group: `stop-${k}`});
}

export function onColourInput(event) {
  const {target} = event;
  if (target.dataset.stop === undefined || target.type !== 'color') {
    return;
  }
  setStop(Number(target.dataset.stop), colourIn(target));
}

export function onHexInput(event) {
  const {target} = event;
  if (!target.classList.contains('hex')) {
    return;
  }
  const colour = colourIn(target);
  markInvalid(target, colour ? null : page.texts.badHex);
  if (colour) {
    setStop(Number(target.dataset.stop), colour);
  }
}

// After a move the focus follows the stop to its new place; after a removal
// it goes to the stop that took its place, or to the next control.
export function onStopButton(event) {
  const button = event.target.closest('button[data-move]');
  if (!button) {
    return;
  }
  const {settings} = page;
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

export function moveMarker(k, percent) {
  const positions = stopPositions().map((p, j) => (j === k ? percent : p));
  change({...page.settings, positions}, {group: `marker-${k}`});
}

export const addStop = () => change({...page.settings, stops: withAddedStop(page.settings.stops),
  positions: positionsAfter('add', stopPositions())}, {convert: 'now'});

export const reverse = () => change({...page.settings, stops: reversedStops(page.settings.stops),
  positions: positionsAfter('reverse', stopPositions())}, {convert: 'now'});

export function pickDialect() {
  const dialect = page.core?.dialects.find(({key}) => key === byId('dialect').value);
  if (!dialect) {
    return;
  }
  // A template the core is still reading counts as the user's own.
  const edited = (currentDialect() ?? null) === null;
  const before = page.settings;
  dismissToast('template');
  // A format dialect keeps the three boxes as they are, for a later template.
  const {prefix, middle, suffix} = dialect.format ? page.settings : dialect;
  change({...page.settings, prefix, middle, suffix, format: dialect.format}, {convert: 'now'});
  if (edited) {
    showToast('template', byId('dialect'), page.texts.templateReplaced(dialectName(page.texts, dialect)),
      () => change(before, {convert: 'now'}));
  }
}

// A gallery gradient brings the board it reads on, unless the user set a colour of their own.
export function applyGradient(gradient, name, button) {
  const before = page.settings;
  const board = ['light', 'dark'].includes(gradient.board) && before.board !== 'custom' ? gradient.board
    : before.board;
  // A gradient kept before the core was known may name a space it lacks.
  change(withCoreNames({...before, rainbow: false, space: gradient.space, stops: gradient.stops,
    board, positions: gradient.positions ?? null, format: gradient.format ?? before.format,
    ...appliedMotion(gradient.motion)}, page.core), {convert: 'now'});
  acknowledge(button, page.texts.appliedAck);
  showToast('gradient', button, page.texts.gradientApplied(name), () => change(before, {convert: 'now'}));
}
