// The formatting toggles and the endpoints choice. Bold, italic, underline
// and strikethrough go with a dialect's own template that has codes for them;
// elsewhere the toggles are disabled with the reason, since the core refuses
// them there as huecode-cli does.
import {findDialect} from './model.js';

const byId = (id) => document.getElementById(id);

export const styleIds = ['bold', 'italic', 'underline', 'strike'];

// Where the template's formatting goes ('around' or 'tag'), '' for a dialect
// without codes, null for a template of the user's own.
function placementOf(dialects, settings) {
  return findDialect(settings, dialects ?? [])?.styles ?? null;
}

// What a conversion takes: the styles the template has codes for, and the endpoints.
export function formattingSettings(dialects, settings) {
  const usable = Boolean(placementOf(dialects, settings));
  return {
    styles: Object.fromEntries(styleIds.map((id) => [id, usable && settings[id]])),
    endpoints: settings.endpoints,
  };
}

export function showFormatting(dialects, settings, texts) {
  if (!dialects) {
    return;
  }
  const placement = placementOf(dialects, settings);
  for (const id of styleIds) {
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
