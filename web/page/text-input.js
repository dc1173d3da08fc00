// The text box's text: the kept one arriving as the page starts, and what
// the user types or pastes.
import {piecesFrom} from '../core/answer.js';
import {showNote} from './notice.js';
import {excessCharacters, markStart, maxTextLength, saveText, textChanged} from '../storage/text-store.js';
import {convertNow, scheduleConversion} from './conversion.js';
import {page, parts, setStatus} from './state.js';

// The kept text, arrived. A long one whose last start never showed its
// markup (failedStart) is offered, not taken.
export function keptText(text, failedStart) {
  const {textBox} = parts;
  if (page.textTouched || !text) {
    return;
  }
  if (failedStart && text.length >= piecesFrom) {
    showNote('start-note', page.texts, {message: (t) => t.startFailed(text.length), actions: [
      {label: (t) => t.loadKept, run: () => {
        textBox.set(text);
        convertNow();
      }},
      {label: (t) => t.clearKept, run: () => saveText('')}]});
    markStart(false);
    return;
  }
  markStart(text.length >= piecesFrom);
  textBox.set(text);
}

// A text beyond the page's limit is neither kept nor converted.
const pasteUnits = 10000;

export function onTextInput() {
  page.textTouched = true;
  const length = parts.textBox.length();
  const excess = excessCharacters(length, () => parts.textBox.value());
  if (excess) {
    clearTimeout(page.timer);
    page.timer = 0;
    setStatus(page.texts.textTooLong(maxTextLength, excess));
    return;
  }
  // A paste (or a cut) of many characters converts at once: the worker
  // then converts while the browser lays the new text out.
  if (Math.abs(length - page.sentText.length) >= pasteUnits) {
    convertNow();
  } else {
    scheduleConversion();
  }
  textChanged(() => parts.textBox.value());
}
