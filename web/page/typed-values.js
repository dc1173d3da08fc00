// The step, a stop's position and the template as the core reads them
// (core-reads.js), for the page's readers, which cannot wait: a value the
// core has not read yet is pending, and the page shows and converts it once
// the verdict comes. Full-width digits and spaces, as a Chinese input method
// types them, are the page's to make ASCII first.
import {halfWidth} from '../shared/gradients.js';
import {page, parts} from './state.js';
/** @import {Settings} from '../shared/types.js' */

const typed = (text) => halfWidth(text).trim();

/**
 * The step box's text: {value}, {error, min, max} or {pending: true}.
 * @param {string} text
 */
export function readStep(text) {
  return parts.reads.get('step', typed(text))?.verdict ?? {pending: true};
}

// The step's verdict once it is known.
export const stepRead = (text) => parts.reads.when('step', typed(text));

/**
 * A position box's text: {value} in percent, null when empty (evenly
 * spaced), {error} or {pending: true}.
 * @param {string} text
 */
export function readPosition(text) {
  const position = typed(text);
  return position ? parts.reads.get('position', position)?.verdict ?? {pending: true} : {value: null};
}

// The key of the dialect whose template the settings hold, null for one of
// the user's own (and before the core is ready), undefined until the core
// has said.
/** @param {Settings} settings */
export function dialectOf(settings) {
  if (!page.core || settings.prefix === null) {
    return null;
  }
  const template = {prefix: settings.prefix, middle: settings.middle, suffix: settings.suffix,
    format: settings.format ?? ''};
  const read = parts.reads.get('dialect', JSON.stringify(Object.values(template)), template);
  return read ? read.verdict : undefined;
}
