// The formatting toggles and the endpoints choice. Bold, italic, underline
// and strikethrough go with a dialect's own template that has codes for them;
// elsewhere the toggles are disabled with the reason, since the core refuses
// them there as huecode-cli does.
import {findDialect} from './interface.js';

const byId = (id) => document.getElementById(id);

// Where the template's formatting goes ('around' or 'tag'), '' for a dialect
// without codes, null for a template of the user's own (or before the core is ready).
function placementOf(core, settings) {
  return core ? findDialect(settings, core)?.styles ?? null : null;
}

// What a conversion takes: the styles the template has codes for, and the
// endpoints. The toggles' ids are the core's names of the styles.
export function formattingSettings(core, settings) {
  const usable = Boolean(placementOf(core, settings));
  return {
    styles: Object.fromEntries((core?.styleNames ?? []).map((name) => [name, usable && settings[name]])),
    endpoints: settings.endpoints,
  };
}

export function showFormatting(core, settings, texts) {
  if (!core) {
    return;
  }
  const placement = placementOf(core, settings);
  for (const id of core.styleNames) {
    byId(id).disabled = !placement;
  }
  const reason = byId('styles-reason');
  reason.textContent = placement ? '' : texts[placement === null ? 'stylesOwnTemplate' : 'stylesNone'];
  reason.hidden = Boolean(placement);
}

// The preview in the formatting the markup has.
export function formatPreview(container, styles) {
  container.style.fontWeight = styles.bold ? 'bold' : '';
  container.style.fontStyle = styles.italic ? 'italic' : '';
  container.style.textDecorationLine = [styles.underline && 'underline', styles.strike && 'line-through']
    .filter(Boolean).join(' ');
}
