// Moves the settings between the page's controls and the settings object.
// The stops between start and end are a list the user can extend, shorten
// and reorder; start and end are the first and the last stop.
import {hexOf, packedOf} from './preview.js';

const byId = (id) => document.getElementById(id);

// The plain controls and the settings field each one holds.
const fields = [
  {id: 'step', key: 'step', property: 'value'},
  {id: 'space', key: 'space', property: 'value'},
  {id: 'by', key: 'by', property: 'value'},
  {id: 'merge', key: 'merge', property: 'checked'},
  {id: 'escape', key: 'escape', property: 'checked'},
  ...['bold', 'italic', 'underline', 'strike', 'endpoints'].map((id) => ({id, key: id, property: 'checked'})),
  {id: 'rainbow', key: 'rainbow', property: 'checked'},
  {id: 'limit', key: 'limit', property: 'value'},
  {id: 'fit', key: 'fit', property: 'checked'},
  {id: 'dialect', key: 'dialect', property: 'value'},
  {id: 'prefix', key: 'prefix', property: 'value'},
  {id: 'middle', key: 'middle', property: 'value'},
  {id: 'suffix', key: 'suffix', property: 'value'},
];

const stopButtons = [
  {label: 'moveUp', text: '↑', move: -1},
  {label: 'moveDown', text: '↓', move: 1},
  {label: 'removeStop', text: '×', move: 0},
];

function viaInputs() {
  return [...byId('stops').querySelectorAll('input[type=color]')];
}

export function readSettings(previous) {
  const settings = {...previous};
  for (const {id, key, property} of fields) {
    settings[key] = byId(id)[property];
  }
  settings.stops = [byId('start').value, ...viaInputs().map((input) => input.value), byId('end').value];
  return settings;
}

// onEdit(stops) is called with the new list when a stop is added, removed
// or moved; the caller writes the settings back.
export function writeSettings(settings, texts, onEdit) {
  for (const {id, key, property} of fields) {
    if (settings[key] !== null) {
      byId(id)[property] = settings[key];
    }
  }
  const stops = settings.stops;
  byId('start').value = stops[0];
  byId('end').value = stops[stops.length - 1];
  const items = stops.slice(1, -1).map((colour, k) => {
    const item = document.createElement('li');
    const input = document.createElement('input');
    input.type = 'color';
    input.id = `stop-${k + 1}`;
    input.value = colour;
    const label = document.createElement('label');
    label.htmlFor = input.id;
    label.textContent = texts.via(k + 1);
    item.append(label, input);
    for (const {label: name, text, move} of stopButtons) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = text;
      button.setAttribute('aria-label', texts[name](k + 1));
      const target = k + 1 + move;
      button.disabled = move !== 0 && (target < 1 || target > stops.length - 2);
      button.addEventListener('click', () => onEdit(editStops(stops, k + 1, move)));
      item.append(button);
    }
    return item;
  });
  byId('stops').replaceChildren(...items);
  for (const input of [byId('start'), byId('end'), ...viaInputs()]) {
    input.disabled = settings.rainbow;
  }
}

// move -1 or 1 swaps stop k with a neighbour; 0 removes it.
function editStops(stops, k, move) {
  const edited = [...stops];
  if (move === 0) {
    edited.splice(k, 1);
  } else {
    [edited[k], edited[k + move]] = [edited[k + move], edited[k]];
  }
  return edited;
}

// A new stop goes just before the end, in the colour halfway along the last segment.
export function withAddedStop(stops) {
  const last = stops[stops.length - 1];
  const [a, b] = [packedOf(stops[stops.length - 2]), packedOf(last)];
  const mid = [0, 8, 16].reduce(
    (packed, shift) => packed | (Math.round((((a >> shift) & 0xff) + ((b >> shift) & 0xff)) / 2) << shift), 0);
  return [...stops.slice(0, -1), hexOf(mid), last];
}
