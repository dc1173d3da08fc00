// The formatting toggles, showing the text as typed and the endpoints choice.
// Bold, italic, underline and strikethrough go with a dialect's own template
// that has codes for them, the text as typed with a template that has a
// means of showing its codes literally (the core's fact "literal"); elsewhere
// the toggles are disabled with the reason, since the core refuses them
// there as huecode-cli does.
import {byId} from './dom.js';

// The dialect with the key (typed-values.js), null for a template of the
// user's own or before the core is ready.
const dialectIn = (core, key) => (core && key ? core.dialects.find((dialect) => dialect.key === key) ?? null : null);

// The styles the template has codes for: a dialect's own, by its codes.
const usableStyles = (dialect) => dialect?.codes ?? [];

// The text as typed goes where the dialect has a means for it: a template of
// one's own takes entities.
const shownAsTyped = (dialect) => dialect?.literal !== 'nothing';

// What a conversion takes: the styles and the text as typed the template
// can carry, and the endpoints. The toggles' ids are the core's names of the
// styles. key: the template's dialect.
export function formattingSettings(core, settings, key) {
  const dialect = dialectIn(core, key);
  const usable = usableStyles(dialect);
  return {
    styles: Object.fromEntries((core?.styleNames ?? []).map((name) => [name, usable.includes(name) && settings[name]])),
    escape: settings.escape && shownAsTyped(dialect),
    endpoints: settings.endpoints,
  };
}

// Why the toggles the template has no codes for are off, or '' when none is.
function stylesReason(core, dialect, texts) {
  const usable = usableStyles(dialect);
  if (usable.length === core.styleNames.length) {
    return '';
  }
  if (!dialect) {
    return texts.stylesOwnTemplate;
  }
  return usable.length ? texts.stylesOnly(usable.map((name) => texts[name])) : texts.stylesNone;
}

function showReason(id, reason) {
  byId(id).textContent = reason;
  byId(id).hidden = !reason;
}

// Until the core has read the template the toggles stay as they are.
export function showFormatting(core, key, texts) {
  if (!core || key === undefined) {
    return;
  }
  const dialect = dialectIn(core, key);
  for (const id of core.styleNames) {
    byId(id).disabled = !usableStyles(dialect).includes(id);
  }
  showReason('styles-reason', stylesReason(core, dialect, texts));
  byId('escape').disabled = !shownAsTyped(dialect);
  showReason('escape-reason', shownAsTyped(dialect) ? '' : texts.escapeNothing);
}

// The preview in the formatting the markup has.
export function formatPreview(container, styles) {
  container.style.fontWeight = styles.bold ? 'bold' : '';
  container.style.fontStyle = styles.italic ? 'italic' : '';
  container.style.textDecorationLine = [styles.underline && 'underline', styles.strike && 'line-through']
    .filter(Boolean).join(' ');
}
