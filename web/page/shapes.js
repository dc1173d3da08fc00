// The page's side of a gradient's shape: the position boxes of the middle
// stops. A position that cannot be read, or that would sit before an earlier
// stop's, is marked and changes nothing.
import {markInvalid} from './controls.js';
import {halfWidth} from '../shared/gradients.js';
import {misplacedStop, readPosition} from '../shared/positions.js';

// The new positions for what was typed into a stop's position box, or null.
export function positionTyped(box, positions, texts) {
  const k = Number(box.dataset.stop);
  const read = readPosition(halfWidth(box.value));
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
