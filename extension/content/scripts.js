// The classic scripts that the background injects into a page, by their
// paths in the built extension (which keeps extension/ and web/ side by side,
// as in the sources). The one list: background.js injects them and
// scripts/extension.sh copies them into the build.

// Into the page's isolated world, what readFocusedField and insertMarkup use.
// Each finds what it uses from the ones before it.
export const pageScripts = [
  'extension/content/editor-selection.js',
  'extension/content/editor-read.js',
  'extension/content/editor-runs.js',
  'extension/content/editor-lines.js',
  'extension/content/editor-checks.js',
  'extension/content/editor-undo.js',
  'extension/content/editor-methods.js',
  'extension/content/editor-write.js',
  'extension/content/text-field.js',
  'extension/content/focused-field.js',
];

// Into the page's own world, to ask its editors.
export const mainWorldScripts = ['extension/content/editor-main.js'];
