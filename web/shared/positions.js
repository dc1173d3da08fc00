// Where the middle stops of a gradient sit, in percent of its length: null
// for a stop that sits evenly between its placed neighbours (the first and
// the last stop always sit at 0 and 100). The list runs parallel to the stops.
// How a typed position reads is the core's rule: the page asks it
// (page/typed-values.js). No imports: the gradient file's module checks
// positions with these rules.

// One entry per stop, the ends always null; a list of another length (from an
// older page, or none at all) leaves every stop evenly spaced.
export function alignedPositions(positions, count) {
  const aligned = Array.isArray(positions) && positions.length === count ? [...positions] : [];
  return Array.from({length: count}, (_, k) => (k > 0 && k < count - 1 ? aligned[k] ?? null : null));
}

// The index of the first stop placed before an earlier one, or -1.
export function misplacedStop(positions) {
  let floor = 0;
  for (const [k, position] of positions.entries()) {
    if (position === null || position === undefined) {
      continue;
    }
    if (position < floor) {
      return k;
    }
    floor = position;
  }
  return -1;
}

// Where each stop sits, the unplaced ones evenly between their placed
// neighbours: for the markers on the gradient bar.
export function resolvedPositions(positions) {
  const places = positions.map((p, k) => (k === 0 ? 0 : k === positions.length - 1 ? 100 : p));
  let from = 0;
  for (let to = 1; to < places.length; ++to) {
    if (places[to] === null) {
      continue;
    }
    for (let j = from + 1; j < to; ++j) {
      places[j] = places[from] + (places[to] - places[from]) * (j - from) / (to - from);
    }
    from = to;
  }
  return places;
}

// The positions after an edit of the stops: a moved stop takes the position
// of the place it moves to, so the places stay where they were; a removed
// stop takes its position with it; a new stop before the end is evenly
// spaced; reversing mirrors every position.
export function positionsAfter(edit, positions, k) {
  switch (edit) {
    case 'remove':
      return positions.filter((_, j) => j !== k);
    case 'add':
      return [...positions.slice(0, -1), null, null];
    case 'reverse':
      return positions.map((p) => (p === null ? null : Math.round((100 - p) * 100) / 100)).reverse();
    default:
      return positions;
  }
}

// The request's positions: in the core's scale, -1 for evenly spaced.
export function requestPositions(positions, scale) {
  return positions.map((p) => (p === null || p === undefined ? -1 : Math.round(p * scale / 100)));
}

// Whether a stored or linked list can be the positions of count stops.
// Each a number from 0 to 100 with at most two decimals, as a link writes it.
export function validPositions(value, count = value?.length) {
  return Array.isArray(value) && value.length === count && count >= 2 &&
    value.every((p) => p === null || (typeof p === 'number' && p <= 100 && /^\d{1,3}(\.\d{1,2})?$/.test(String(p)))) &&
    misplacedStop(value) === -1;
}
