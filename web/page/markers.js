// A marker under the gradient bar for each middle stop: a slider that the
// mouse, a finger or the keys move along the bar, as any slider: the arrows
// 1 % a step (10 % with Shift), Page Up and Page Down 10 %, Home and End as
// far as the neighbours let it. A marker stays between its neighbours, so the stops keep their
// order; what it says is announced as its value.
import {alignedPositions, resolvedPositions} from '../shared/positions.js';
import {byId} from './dom.js';

const keySteps = {ArrowLeft: -1, ArrowDown: -1, ArrowRight: 1, ArrowUp: 1, PageDown: -10, PageUp: 10,
  Home: -100, End: 100};

function rounded(percent) {
  return Math.round(percent * 100) / 100;
}

function marker(k, texts) {
  const element = document.createElement('span');
  element.className = 'marker';
  element.tabIndex = 0;
  element.dataset.stop = String(k);
  element.setAttribute('role', 'slider');
  element.setAttribute('aria-valuemin', '0');
  element.setAttribute('aria-valuemax', '100');
  element.setAttribute('aria-label', texts.markerLabel(texts.via(k)));
  return element;
}

// Rebuilt only when the number of stops or the language changes, so that a
// marker being dragged or focused stays the same element.
export function writeMarkers(settings, texts) {
  const track = byId('bar-markers');
  const {stops} = settings;
  const places = resolvedPositions(alignedPositions(settings.positions, stops.length));
  if (track.children.length !== stops.length - 2 || track.dataset.language !== texts.htmlLang) {
    track.replaceChildren(...stops.slice(1, -1).map((_, j) => marker(j + 1, texts)));
    track.dataset.language = texts.htmlLang;
  }
  track.hidden = settings.rainbow;
  [...track.children].forEach((element, j) => {
    const place = rounded(places[j + 1]);
    element.style.left = `${place}%`;
    element.style.setProperty('--stop', stops[j + 1]);
    element.setAttribute('aria-valuenow', String(place));
    element.setAttribute('aria-valuetext', texts.markerValue(place));
  });
}

// onMove(k, percent) with the stop's new position, kept between the places
// of its neighbours.
export function listenToMarkers(settingsOf, onMove) {
  const track = byId('bar-markers');
  const limits = (k) => {
    const {stops, positions} = settingsOf();
    const places = resolvedPositions(alignedPositions(positions, stops.length));
    return [places[k - 1], places[k + 1]];
  };
  const move = (element, percent) => {
    const k = Number(element.dataset.stop);
    const [low, high] = limits(k);
    onMove(k, rounded(Math.min(Math.max(percent, low), high)));
  };
  track.addEventListener('keydown', (event) => {
    const step = keySteps[event.key];
    if (!step || !event.target.classList.contains('marker')) {
      return;
    }
    event.preventDefault();
    const now = Number(event.target.getAttribute('aria-valuenow'));
    move(event.target, Math.round(now) + step * (event.shiftKey ? 10 : 1));
  });
  const fromPointer = (event) => {
    const box = track.getBoundingClientRect();
    return (event.clientX - box.left) / box.width * 100;
  };
  track.addEventListener('pointerdown', (event) => {
    if (event.target.classList.contains('marker')) {
      event.target.setPointerCapture(event.pointerId);
      event.target.focus();
    }
  });
  track.addEventListener('pointermove', (event) => {
    if (event.target.classList.contains('marker') && event.target.hasPointerCapture(event.pointerId)) {
      move(event.target, fromPointer(event));
    }
  });
}
