// Plays a moving gradient's frames in the preview at the interval asked.
// Under prefers-reduced-motion the preview stays on the first frame until
// the play button is pressed; the button pauses and plays it either way.
import {recolourPreview} from './preview.js';
import {page} from './state.js';
import {byId} from './dom.js';

const reduced = matchMedia('(prefers-reduced-motion: reduce)');
const player = {timer: 0, frame: 0, frames: 0, chosen: /** @type {boolean | null} */ (null), colours: null,
  chunks: 0, interval: 0};

const playing = () => player.chosen ?? !reduced.matches;

function stop() {
  clearInterval(player.timer);
  player.timer = 0;
}

function step() {
  player.frame = (player.frame + 1) % player.frames;
  recolourPreview(byId('preview'), player.colours.subarray(player.frame * player.chunks,
    (player.frame + 1) * player.chunks));
}

function showButton() {
  const button = byId('motion-play');
  button.hidden = player.frames === 0;
  button.textContent = playing() ? page.texts.pause : page.texts.play;
  button.setAttribute('aria-pressed', String(playing()));
}

// After the preview is drawn anew (on its first frame) from an answer.
export function playFrames(result, interval) {
  stop();
  const colours = result?.previewFrames;
  player.frames = colours?.length ? result.counts.frames : 0;
  Object.assign(player, {frame: 0, colours, chunks: result ? result.preview.length / 3 : 0, interval});
  if (player.frames > 0 && playing()) {
    player.timer = setInterval(step, interval);
  }
  showButton();
}

export function togglePlaying() {
  player.chosen = !playing();
  stop();
  if (player.frames > 0 && playing()) {
    player.timer = setInterval(step, player.interval);
  }
  showButton();
}

// The language changed: the button's caption with it.
export const showPlayer = showButton;

// A saved gradient keeps the motion it was saved with, and a still one none.
export function savedMotion(settings) {
  const {frames, interval, direction, form, animationName} = settings;
  const kept = Object.entries({frames, interval, direction, form, name: animationName})
    .map(([key, value]) => [key, String(value ?? '')]);
  return settings.moving ? Object.fromEntries(kept) : undefined;
}

// A gradient saved without motion leaves the page's motion as it is.
export function appliedMotion(motion) {
  if (!motion) {
    return {};
  }
  const {frames, interval, direction, form, name} = motion;
  return {moving: true, frames, interval, direction, form, animationName: name};
}
