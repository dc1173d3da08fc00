// Browsers and the places links travel through (chat apps, forums, mail)
// cut or refuse addresses much beyond about 8,000 characters: a link that
// long would open empty. Such a link leaves the text out and says why; the
// settings still travel.
export const maxLinkLength = 8000;

// fragmentOf(text or null) → the share fragment; text: null when not asked.
export function guardedShareLink(base, fragmentOf, text) {
  const fragment = fragmentOf(text);
  const link = `${base}${fragment}`;
  if (text === null || link.length <= maxLinkLength) {
    return {link, fragment, leftOut: null};
  }
  const settingsOnly = fragmentOf(null);
  return {link: `${base}${settingsOnly}`, fragment: settingsOnly, leftOut: {length: link.length, max: maxLinkLength}};
}
