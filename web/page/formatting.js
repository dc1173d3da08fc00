// The formatting toggles, HTML-safe text and the endpoints choice. Bold,
// italic, underline and strikethrough go with a dialect's own template that
// has codes for them, HTML-safe text with a template whose readers can decode
// entities; elsewhere the toggles are disabled with the reason, since the
// core refuses them there as huecode-cli does.
import {findDialect} from '../core/interface.js';
import {byId} from './dom.js';

// The dialect of the settings' template, null for one of the user's own (or
// before the core is ready).
const dialectIn = (core, settings) => (core ? findDialect(settings, core) : null);

// The styles the template has codes for: a dialect's own, by its codes.
const usableStyles = (dialect) => dialect?.codes ?? [];

// HTML-safe text goes where entities can be read: not where they never are.
const entitiesRead = (dialect) => dialect?.entities !== 'never';

// What a conversion takes: the styles and the HTML-safe text the template
// can carry, and the endpoints. The toggles' ids are the core's names of the styles.
export function formattingSettings(core, settings) {
  const dialect = dialectIn(core, settings);
  const usable = usableStyles(dialect);
  return {
    styles: Object.fromEntries((core?.styleNames ?? []).map((name) => [name, usable.includes(name) && settings[name]])),
    escape: settings.escape && entitiesRead(dialect),
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

export function showFormatting(core, settings, texts) {
  if (!core) {
    return;
  }
  const dialect = dialectIn(core, settings);
  for (const id of core.styleNames) {
    byId(id).disabled = !usableStyles(dialect).includes(id);
  }
  showReason('styles-reason', stylesReason(core, dialect, texts));
  byId('escape').disabled = !entitiesRead(dialect);
  showReason('escape-reason', entitiesRead(dialect) ? '' : texts.escapeNever);
}

// The preview in the formatting the markup has.
export function formatPreview(container, styles) {
  container.style.fontWeight = styles.bold ? 'bold' : '';
  container.style.fontStyle = styles.italic ? 'italic' : '';
  container.style.textDecorationLine = [styles.underline && 'underline', styles.strike && 'line-through']
    .filter(Boolean).join(' ');
}
