// Asking the worker for a conversion: the settings read into a request, at
// once or after a pause in typing, and the core's defaults filled in.
import {formattingSettings} from './formatting.js';
import {windowSize} from './output-view.js';
import {readCount} from './model.js';
import {dialectOf, readStep} from './typed-values.js';
import {defaults, readerKeys, withCoreNames} from '../shared/settings.js';
import {excessCharacters, maxTextLength} from '../storage/text-store.js';
import {longText} from './text-box.js';
import {page, parts, setStatus} from './state.js';
import {byId} from './dom.js';
/** @import {ConversionRequest} from '../shared/types.js' */

// The step and the limit as numbers, or the reason they cannot be read; a
// moving gradient's frames and interval too, within the core's limits. The
// step is pending until the core has read it.
export function readNumbers(s = page.settings) {
  const step = readStep(s.step);
  const limit = s.limit.trim() === '' ? {value: null} : readCount(s.limit);
  const motion = page.core?.motion;
  const moving = s.moving && motion;
  const frames = moving ? readCount(s.frames ?? '', {min: motion.minFrames, max: motion.maxFrames}) : {value: 0};
  const interval = moving ? readCount(s.interval ?? '', {min: motion.minInterval, max: motion.maxInterval})
    : {value: null};
  return {step, limit, frames, interval};
}

// Whether the request waits for the core to read a typed value: the step,
// the template, or a position box whose text it has not read yet (shapes.js).
const waitsForCore = () => readStep(page.settings.step).pending || currentDialect() === undefined ||
  document.querySelector('.position[data-reading]') !== null;

/** @returns {ConversionRequest | null} */
export function conversionSettings() {
  const {settings} = page;
  const {step, limit, frames, interval} = readNumbers();
  if (step.error || limit.error || frames.error || interval.error || waitsForCore()) {
    return null;
  }
  return {
    stops: settings.stops,
    rainbow: settings.rainbow,
    space: settings.space,
    step: String(step.value),
    by: settings.by,
    merge: settings.merge,
    fitLimit: settings.fit ? limit.value : null,
    limitUnit: settings.limitUnit,
    prefix: settings.prefix,
    middle: settings.middle,
    suffix: settings.suffix,
    format: settings.format,
    ...formattingSettings(page.core, settings, currentDialect()),
    positions: settings.positions,
    perLine: settings.perLine,
    mirror: settings.mirror,
    frames: frames.value,
    direction: settings.direction,
    form: settings.form,
    interval: interval.value,
    name: settings.animationName,
  };
}

export function convertNow() {
  clearTimeout(page.timer);
  page.timer = 0;
  const request = conversionSettings();
  // Asked at once while the core reads a typed value: at once when it has.
  page.heldConversion = page.core && !request && waitsForCore() ? 'now' : null;
  if (page.heldConversion) {
    markPending();
  }
  if (!page.core || !request) {
    return;
  }
  const text = parts.textBox.value();
  const excess = excessCharacters(text.length, () => text);
  if (excess) {
    setStatus(page.texts.textTooLong(maxTextLength, excess));
    delete byId('output').dataset.pending;
    return;
  }
  page.latest += 1;
  page.sentText = text;
  markPending();
  parts.worker.postMessage({id: page.latest, settings: request, text: page.sentText, headBytes: windowSize});
}

// Whether another conversion follows the one in flight: after a pause in
// typing, or once the core has read a typed value.
export const conversionAhead = () => Boolean(page.timer || page.heldConversion);

// The output box is marked while an answer is on its way: once, not at every key.
function markPending() {
  const box = byId('output');
  if (!box.dataset.pending) {
    box.dataset.pending = 'true';
  }
}

// Typing converts after a pause; a long text waits longer, since each
// conversion of it takes a moment of its own.
export function scheduleConversion() {
  clearTimeout(page.timer);
  if (!conversionSettings()) {
    // While the core reads a typed value the answer is still on its way.
    if (waitsForCore()) {
      markPending();
      page.heldConversion = page.core ? page.heldConversion ?? 'soon' : null;
    }
    return;
  }
  markPending();
  const delay = parts.textBox.length() > longText ? 400 : 150;
  page.timer = setTimeout(convertNow, delay);
}

// The key of the settings' dialect, null for a template of one's own,
// undefined while the core reads it.
export const currentDialect = () => dialectOf(page.settings);

// The core has read a typed value: a conversion it held back goes, at once
// or after the pause it was asked with (no other: the first one waits for
// the kept text).
export function convertRead() {
  const held = page.heldConversion;
  page.heldConversion = null;
  if (held === 'now') {
    convertNow();
  } else if (held === 'soon') {
    scheduleConversion();
  }
}

// What the settings leave to the core (null), and a gradient longer than it
// takes, become the core's; a name it does not have, the default.
export function withCoreDefaults(current) {
  const {core} = page;
  const {initial} = core;
  const stops = current.stops ?? [];
  return {
    ...withCoreNames(current, core),
    stops: stops.length >= 2 && stops.length <= core.maxStops ? stops : [...core.defaultStops],
    prefix: current.prefix ?? initial.prefix,
    middle: current.middle ?? initial.middle,
    suffix: current.suffix ?? initial.suffix,
    ...motionDefaults(current, core.motion),
  };
}

// A moving gradient's settings left to the core take its defaults.
function motionDefaults(current, motion) {
  return {
    frames: current.frames ?? String(motion.defaultFrames),
    interval: current.interval ?? String(motion.defaultInterval),
    direction: current.direction ?? motion.defaultDirection,
    form: current.form ?? motion.forms[0],
    animationName: current.animationName ?? motion.defaultName,
  };
}

export const readerSettings = () => Object.fromEntries(readerKeys.map((key) => [key, page.settings[key]]));

export function defaultSettings() {
  return withCoreDefaults({...defaults, ...readerSettings()});
}

// With a field marked invalid nothing converts: the focus goes to the field.
export function convertClicked() {
  convertNow();
  if (conversionSettings()) {
    page.focusFor = page.latest;
  } else {
    /** @type {HTMLElement | null} */ (document.querySelector('[aria-invalid=true]'))?.focus();
  }
}
