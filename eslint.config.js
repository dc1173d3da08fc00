// ESLint over the page, the extension and the npm package (scripts/lint.sh runs it; any
// finding fails). Beyond the recommended rules: functions of about 50 lines
// at most, and no HTML built from strings.
import js from '@eslint/js';
import globals from 'globals';

const htmlFromStrings = [
  {selector: "AssignmentExpression > MemberExpression.left[property.name=/^(innerHTML|outerHTML)$/]",
    message: 'Build elements with createElement and textContent, not HTML from strings.'},
  {selector: "CallExpression[callee.property.name=/^(insertAdjacentHTML|createContextualFragment)$/]",
    message: 'Build elements with createElement and textContent, not HTML from strings.'},
  {selector: "CallExpression[callee.object.name='document'][callee.property.name=/^(write|writeln)$/]",
    message: 'Build elements with createElement and textContent, not HTML from strings.'},
];

export default [
  {ignores: ['**/node_modules/', 'build*/']},
  js.configs.recommended,
  {
    files: ['**/*.js', '**/*.mjs'],
    languageOptions: {ecmaVersion: 2024, sourceType: 'module'},
    rules: {
      'max-lines-per-function': ['error', {max: 50, skipBlankLines: true, skipComments: true}],
      'no-restricted-syntax': ['error', ...htmlFromStrings],
      'no-unused-vars': ['error', {caughtErrors: 'none'}],
    },
  },
  {
    // The extension's tests pass functions that run inside the extension.
    files: ['web/**/*.js', 'extension/**/*.js', 'extension/tests/*.mjs'],
    languageOptions: {globals: {...globals.browser, ...globals.webextensions}},
  },
  // The npm package runs in Node.js and in browsers alike.
  {files: ['lib/npm/**/*.js'], languageOptions: {globals: globals['shared-node-browser']}},
  {files: ['web/offline/sw.js'], languageOptions: {globals: globals.serviceworker}},
  {files: ['web/core/worker.js'], languageOptions: {globals: globals.worker}},
  {files: ['web/offline/file-check.js'], languageOptions: {sourceType: 'script'}},
  {
    // A browser scenario reads best as one story of steps and checks.
    files: ['**/tests/*.mjs'],
    rules: {'max-lines-per-function': ['error', {max: 60, skipBlankLines: true, skipComments: true}]},
  },
  {
    files: ['**/*.mjs', 'eslint.config.js'],
    languageOptions: {globals: {...globals.node, ...globals.browser}},
  },
];
