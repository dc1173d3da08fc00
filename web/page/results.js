// A conversion's answer shown: the output, its counts and the warnings about
// them, the bar and the preview, and the notes beside the fields.
import {markInvalid} from './controls.js';
import {formatPreview, formattingSettings} from './formatting.js';
import {showOnBar} from './phone.js';
import {boardColour, drawBar, showPreview} from './preview.js';
import {packedOf} from '../shared/gradients.js';
import {playFrames} from './motion.js';
import {markStart} from '../storage/text-store.js';
import {conversionAhead, currentDialect, readNumbers} from './conversion.js';
import {page, parts} from './state.js';
import {byId} from './dom.js';

// A field to correct is a warning; a long markup's note is only information.
function showOutputNote(invalid) {
  const {texts, lastResult} = page;
  const note = byId('output-note');
  note.textContent = invalid ? texts.fixFields : lastResult ? parts.output.note(texts, lastResult.counts.outputCharacters)
    : '';
  note.hidden = !note.textContent;
  note.className = invalid ? 'warning' : 'hint';
}

export function showValidity() {
  const numbers = readNumbers();
  const {formatError} = page;
  markInvalid(byId('format'), formatError ? page.texts.formatError(formatError) : null);
  let invalid = Boolean(formatError);
  for (const id of ['step', 'limit', 'frames', 'interval']) {
    const {error, pending} = numbers[id];
    // A value the core is still reading keeps the mark it had.
    if (pending) {
      invalid ||= byId(id).getAttribute('aria-invalid') === 'true';
      continue;
    }
    const message = error ? page.texts.countErrors[error] : null;
    markInvalid(byId(id), typeof message === 'function' ? message(numbers[id]) : message);
    invalid ||= Boolean(error);
  }
  showOutputNote(invalid);
  if (invalid) {
    delete byId('output').dataset.pending;
  }
}

// Screen readers hear the counts once typing pauses, not on every key.
function speakCounts(message) {
  clearTimeout(page.spokenTimer);
  page.spokenTimer = setTimeout(() => {
    byId('counts-spoken').textContent = message;
  }, 1000);
}

export function showCounts(result) {
  const {texts, settings} = page;
  const numbers = readNumbers();
  showOutputNote(Boolean(page.formatError || Object.values(numbers).some(({error}) => error)));
  const {limit} = numbers;
  const unit = texts.choices.limitUnits[settings.limitUnit];
  const warning = byId('warning');
  const {counts} = result;
  if (result.failed) {
    byId('counts').textContent = '';
    byId('meter').textContent = '';
    warning.textContent = result.motionFault ? texts.motionFaults[result.motionFault]
      : texts.nothingFits(counts.shortest, limit.value, unit);
    warning.hidden = false;
    speakCounts(warning.textContent);
    return;
  }
  const fitted = settings.fit && limit.value !== null ? ` · ${texts.fitChose(counts.step)}` : '';
  // A moving gradient's counts speak of its longest frame and of all frames.
  const moving = counts.frames > 0;
  byId('counts').textContent = (moving ? texts.frameCounts(counts) : texts.counts(counts)) + fitted;
  byId('meter').textContent = moving ? texts.frameMeter(result.lengths) : texts.meter(result.lengths);
  const length = result.lengths[settings.limitUnit];
  const over = limit.value !== null && length > limit.value;
  const overLimit = moving ? texts.frameOverLimit : texts.overLimit;
  warning.textContent = over ? overLimit(length, limit.value, unit) : '';
  warning.hidden = !over;
  speakCounts(`${byId('counts').textContent}. ${warning.textContent}`);
}

// The text's first sequence that the destination reads as a code (the
// core finds it), named under the text box with its line and column.
export function suggestEscaping() {
  const counts = page.lastResult?.counts;
  const hint = byId('escape-hint');
  hint.hidden = !(counts?.codeOffset >= 0);
  if (hint.hidden) {
    return;
  }
  const sequence = page.sentText.slice(counts.codeOffset, counts.codeOffset + counts.codeLength);
  hint.textContent = page.texts.codeNote(sequence, counts.codeLine, counts.codeColumn, counts.codeEscapable === 1);
}

// An empty text box shows a sample in the gradient, one colour a character
// taken from the bar, so that a first visit sees what the page does. It is
// only drawn: the markup, the counts and Copy stay those of the empty text.
function previewed(result) {
  if (page.sentText.trim() !== '') {
    return {text: page.sentText, chunks: result.preview};
  }
  const text = page.texts.sample;
  const characters = [...text];
  const chunks = [];
  let offset = 0;
  characters.forEach((character, k) => {
    const at = Math.round(k * (result.bar.length - 1) / Math.max(1, characters.length - 1));
    chunks.push(offset, character.length, packedOf(result.bar[at]));
    offset += character.length;
  });
  return {text, chunks};
}

export function drawPreview() {
  const {texts, settings, lastResult} = page;
  if (!lastResult) {
    return;
  }
  const {text, chunks} = previewed(lastResult);
  byId('preview').toggleAttribute('data-sample', text !== page.sentText);
  const {low, lowest} = showPreview(byId('preview'), text, chunks, boardColour(settings));
  const dialect = currentDialect();
  if (dialect !== undefined) {
    formatPreview(byId('preview'), formattingSettings(page.core, settings, dialect).styles);
  }
  byId('contrast-warning').textContent = low ? texts.lowContrast(low, lowest.toFixed(2)) : '';
  byId('contrast-warning').hidden = low === 0;
  showOnBar({preview: byId('preview'), board: boardColour(settings), length: barLength(lastResult)});
  playFrames(lastResult, readNumbers().interval.value);
}

// The markup's length in the unit the limit counts, marked when over it.
function barLength(result) {
  const {texts, settings} = page;
  const {limit} = readNumbers();
  const unit = texts.choices.limitUnits[settings.limitUnit];
  if (result.motionFault) {
    return {text: texts.motionFaultShort, over: true};
  }
  if (!result.lengths) {
    return {text: texts.barLength(result.counts.shortest, unit, true), over: true};
  }
  const length = result.lengths[settings.limitUnit];
  const over = limit.value !== null && length > limit.value;
  return {text: texts.barLength(length, unit, over), over};
}

// The core reads a step at or above the text's length as 1 (the window's
// rule): asked for more than 1 and given 1 without fitting, the user hears why.
function showStepNote(result) {
  const {step} = readNumbers();
  const fitted = page.settings.fit && readNumbers().limit.value !== null;
  byId('step-note').hidden = fitted || result.failed || !(step.value > 1 && result.counts.step === 1);
  byId('step-note').textContent = page.texts.stepNote;
}

export function showResult(result) {
  markStart(false);
  page.formatError = result.formatError;
  showValidity();
  if (page.formatError) {
    if (!conversionAhead()) {
      delete byId('output').dataset.pending;
    }
    return;
  }
  page.lastResult = result;
  suggestEscaping();
  parts.output.show(result);
  // An edit made while this text was converting is still on its way, and
  // so is the rest of a long markup.
  if (!conversionAhead() && result.markup) {
    delete byId('output').dataset.pending;
  }
  showCounts(result);
  drawBar(byId('bar'), result.bar);
  drawPreview();
  byId('preview-note').hidden = !result.previewCut;
  showStepNote(result);
  if (result.id === page.focusFor && [byId('convert'), document.body].includes(document.activeElement)) {
    byId('output').focus();
  }
}
