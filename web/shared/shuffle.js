// The surprise gradient: two or three stops picked at random from the core's
// circle of hues for the board, at least a sixth of the circle apart, so no
// two of them look alike.
import {relativeLuminance} from './gradients.js';

// A board darker than this takes the lighter circle.
const darkBelow = 0.2;

export function circleFor(surprise, board) {
  return relativeLuminance(board) < darkBelow ? surprise.dark : surprise.light;
}

function apart(a, b, n) {
  const d = Math.abs(a - b) % n;
  return Math.min(d, n - d);
}

export function surpriseStops(circle, random = Math.random) {
  const n = circle.length;
  const count = random() < 0.5 ? 2 : 3;
  const gap = Math.ceil(n / 6);
  const picks = [];
  // Three picks a sixth apart always leave room on a circle, so this ends;
  // the bound only guards against a random source that repeats itself.
  for (let tries = 0; picks.length < count && tries < 1000; ++tries) {
    const k = Math.floor(random() * n) % n;
    if (picks.every((p) => apart(p, k, n) >= gap)) {
      picks.push(k);
    }
  }
  return picks.map((k) => circle[k]);
}
