// The page's side of a gradient's shape: the position boxes of the middle
// stops. A position that cannot be read, or that would sit before an earlier
// stop's, is marked and changes nothing; one the core is still reading waits
// in its box (data-reading) until it has.
import {markInvalid} from './controls.js';
import {misplacedStop} from '../shared/positions.js';
import {readPosition} from './typed-values.js';

// The new positions for what was typed into a stop's position box, or null.
export function positionTyped(box, positions, texts) {
  const k = Number(box.dataset.stop);
  const read = readPosition(box.value);
  box.toggleAttribute('data-reading', Boolean(read.pending));
  if (read.pending) {
    return null;
  }
  if (read.error) {
    markInvalid(box, texts.positionErrors[read.error]);
    return null;
  }
  const next = positions.map((p, j) => (j === k ? read.value : p));
  if (misplacedStop(next) !== -1) {
    markInvalid(box, texts.positionErrors.outOfOrder);
    return null;
  }
  markInvalid(box, null);
  return next;
}
