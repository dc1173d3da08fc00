// The page's rules about its settings, free of the page: editing the list of
// colour stops, reading the counts people type, and the undo history. The
// step, the positions and the template's dialect the core reads
// (typed-values.js).
import {halfWidth, hexOf, packedOf} from '../shared/gradients.js';

const maxCount = 2 ** 31 - 1;

// A count the user typed (a length limit, frames): digits only, full-width
// digits read as digits. {value} or {error: 'empty' | 'notWhole' | 'tooSmall'
// | 'tooLarge'}; nothing is silently rounded or clamped.
export function readCount(text, {min = 1, max = maxCount} = {}) {
  const digits = halfWidth(text).trim();
  if (!digits) {
    return {error: 'empty'};
  }
  if (!/^[+-]?\d+$/.test(digits)) {
    return {error: 'notWhole'};
  }
  return countWithin(Number(digits), min, max);
}

function countWithin(value, min, max) {
  if (value < min) {
    return {error: 'tooSmall', min};
  }
  if (value > max) {
    return {error: 'tooLarge', max};
  }
  return {value};
}

// move -1 or 1 swaps stop k with its neighbour, 0 removes it; start (0) and
// end (last) stay where they are. Returns the new list and the index the
// stop now has (for a removal, the stop that took its place, or -1).
export function editStops(stops, k, move) {
  const inner = k >= 1 && k <= stops.length - 2;
  const target = k + move;
  if (!inner || (move === 0 && stops.length <= 2) || (move !== 0 && (target < 1 || target > stops.length - 2))) {
    return {stops, at: k};
  }
  const edited = [...stops];
  if (move === 0) {
    edited.splice(k, 1);
    return {stops: edited, at: k <= edited.length - 2 ? k : k - 1};
  }
  [edited[k], edited[target]] = [edited[target], edited[k]];
  return {stops: edited, at: target};
}

// A new stop goes just before the end, in the colour halfway along the last segment.
export function withAddedStop(stops) {
  const last = stops[stops.length - 1];
  const [a, b] = [packedOf(stops[stops.length - 2]), packedOf(last)];
  const mid = [0, 8, 16].reduce(
    (packed, shift) => packed | (Math.round((((a >> shift) & 0xff) + ((b >> shift) & 0xff)) / 2) << shift), 0);
  return [...stops.slice(0, -1), hexOf(mid), last];
}

export function sameSettings(a, b) {
  return JSON.stringify(a) === JSON.stringify(b);
}

// Settings as they were before each change, newest last. Changes of one
// group (typing into one box) close together in time count as one step.
export class History {
  constructor(limit = 100, joinWithin = 1000) {
    this.limit = limit;
    this.joinWithin = joinWithin;
    this.past = [];
    this.future = [];
    this.last = {group: null, at: -Infinity};
  }

  record(before, group = null, now = Date.now()) {
    const joins = group !== null && group === this.last.group && now - this.last.at < this.joinWithin;
    this.last = {group, at: now};
    this.future = [];
    if (joins) {
      return;
    }
    this.past.push(before);
    if (this.past.length > this.limit) {
      this.past.shift();
    }
  }

  undo(current) {
    return this.step(this.past, this.future, current);
  }

  redo(current) {
    return this.step(this.future, this.past, current);
  }

  step(from, to, current) {
    if (!from.length) {
      return null;
    }
    this.last = {group: null, at: -Infinity};
    to.push(current);
    return from.pop();
  }
}
