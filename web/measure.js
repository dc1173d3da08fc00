// A conversion with the markup's lengths in every unit, and a limit in UTF-8
// or GBK bytes that chooses the step the way a limit in characters does in
// the core: the smallest step whose markup fits.
import {markupLengths} from './meter.js';

function bytesIn(result, unit) {
  return markupLengths(result.markup)[unit];
}

// The markup grows as the step shrinks, so the smallest step that fits is
// found by halving the range, as the core does for characters. A step beyond
// the number of chunks at step 1 means step 1 to the core, so the widest
// step is one less than that number.
function fittedByBytes(converter, settings, text, limit, unit) {
  const at = (step) => converter.convert({...settings, step: String(step), fitLimit: null}, text);
  const first = at(1);
  if (first.failed || bytesIn(first, unit) <= limit) {
    return first;
  }
  let low = 2;
  let high = Math.max(1, first.counts.chunks - 1);
  let best = at(high);
  const shortest = bytesIn(best, unit);
  if (shortest > limit) {
    return {...best, markup: new Uint16Array(0), failed: true, counts: {...best.counts, fitFailed: 1, shortest}};
  }
  while (low < high) {
    const middle = Math.floor((low + high) / 2);
    const result = at(middle);
    if (bytesIn(result, unit) <= limit) {
      high = middle;
      best = result;
    } else {
      low = middle + 1;
    }
  }
  return best;
}

export function convertMeasured(converter, settings, text) {
  const {limitUnit = 'characters', fitLimit = null} = settings;
  const result = limitUnit !== 'characters' && fitLimit !== null
    ? fittedByBytes(converter, settings, text, fitLimit, limitUnit)
    : converter.convert(settings, text);
  return {...result, lengths: result.failed ? null : markupLengths(result.markup)};
}
