// What the page holds while it is open, in one place: the settings (the one
// source of truth), the texts of the language shown, the core's facts once
// its worker is ready, and the conversion in flight. `parts` are the page's
// components, made once by app.js before anything is shown.
import {loadSettings} from '../shared/settings.js';
import {defaultLanguage, textsOf} from '../i18n/texts.js';
import {local} from '../storage/storage.js';
import {History} from './model.js';
import {byId} from './dom.js';
/** @import {ConversionAnswer, CoreFacts, Settings} from '../shared/types.js' */

const settings = loadSettings(local);

/**
 * @typedef {object} PageState
 * @property {Settings} settings
 * @property {ReturnType<typeof textsOf>} texts
 * @property {CoreFacts | null} core
 * @property {number} latest
 * @property {ConversionAnswer | null} lastResult
 * @property {{line: number, column: number, message: string} | null} formatError
 * @property {string} sentText
 * @property {number} timer
 * @property {number} spokenTimer
 * @property {boolean} textTouched
 * @property {number} focusFor
 * @property {'now' | 'soon' | null} heldConversion
 * @property {{text: string, before: {settings: Settings, text: string}, message: string} | null} linkOffer
 * @property {History} undoHistory
 */

/** @type {PageState} */
export const page = {
  settings,
  texts: textsOf(settings.language ?? defaultLanguage(navigator.languages)),
  // What the core says of itself (web/core/interface.js): its dialects,
  // defaults and limits, once its worker is ready.
  core: null,
  // The newest conversion asked for, and its answer once it came.
  latest: 0,
  lastResult: null,
  // Why the last answer could not read the format: the field says so, and
  // the result shown stays the last one that could.
  formatError: null,
  sentText: '',
  // The pause before a conversion, and before the counts are spoken.
  timer: 0,
  spokenTimer: 0,
  // Once the user or a link has put a text in the box, the kept one arriving late must not replace it.
  textTouched: false,
  // The convert button's request: as in the window, its result takes the
  // focus, unless the user has gone on to another control meanwhile.
  focusFor: 0,
  // A conversion asked for, at once or soon, that waits for the core to read a typed value.
  heldConversion: null,
  // A link's text waiting for the user's answer, and what to restore.
  linkOffer: null,
  undoHistory: new History(100),
};

/**
 * @typedef {object} Parts
 * @property {ReturnType<typeof import('./text-box.js').createTextBox>} textBox
 * @property {Worker} worker
 * @property {ReturnType<typeof import('./worker-queue.js').createQueue>} queue
 * @property {ReturnType<typeof import('./core-reads.js').createReads>} reads
 * @property {ReturnType<typeof import('./output-view.js').createOutputView>} output
 * @property {ReturnType<typeof import('./markup-tools.js').createMarkupTools>} markupTools
 * @property {ReturnType<typeof import('./library.js').createLibrary>} library
 */

export const parts = /** @type {Parts} */ ({});

/** @param {string} message */
export function setStatus(message) {
  byId('status').textContent = message;
}
