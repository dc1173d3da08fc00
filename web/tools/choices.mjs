// The page's lists whose entries the core names (the colour spaces, the
// units and the limit's units of its interface): each
// <select data-choices="LIST"> of index.html gets one option per name, in the
// core's order, labelled from the texts' choices. They are written into the
// page at build time because the page shows them, and restores the settings
// into them, before its worker's core has loaded.
import {readFile} from 'node:fs/promises';
import {pathToFileURL} from 'node:url';
import {readInterface} from '../core/interface.js';
import {defaultLanguage, languages, textsOf} from '../i18n/texts.js';

export const choiceLists = ['spaces', 'units', 'limitUnits'];

// The interface of the core that loader (an Emscripten build's script) loads,
// run here in Node. A loader that keeps its WebAssembly beside it is handed
// the file's bytes; one that carries its own needs no wasm.
export async function coreInterface(loader, wasm = null) {
  const {default: createHuecode} = await import(pathToFileURL(loader).href);
  return readInterface(await createHuecode(wasm ? {wasmBinary: await readFile(wasm)} : {}));
}

// Every name of the core's that a language has no label for, as
// "language: list name".
export function unlabelledChoices(core) {
  return languages.flatMap((language) => choiceLists.flatMap((list) => core[list]
    .filter((name) => typeof textsOf(language).choices[list]?.[name] !== 'string')
    .map((name) => `${language}: ${list} ${name}`)));
}

const escaped = (text) => text.replace(/[&<>"]/g, (c) => `&#${c.codePointAt(0)};`);

// The document with every list's options written into its empty select,
// labelled in the document's own language (its html element's lang).
export function withChoices(document, core) {
  const missing = unlabelledChoices(core);
  if (missing.length > 0) {
    throw new Error(`the page has no label for the core's ${missing.join(', ')}`);
  }
  const {choices} = textsOf(defaultLanguage([/<html lang="([^"]*)"/.exec(document)?.[1]]));
  const filled = new Set();
  const result = document.replace(/(<select [^>]*data-choices="([^"]*)"[^>]*>)\s*<\/select>/g, (_, open, list) => {
    if (!choiceLists.includes(list) || filled.has(list)) {
      throw new Error(`index.html's select of "${list}" names none of the core's lists, or one twice`);
    }
    filled.add(list);
    return `${open}${core[list].map((name) =>
      `<option value="${escaped(name)}">${escaped(choices[list][name])}</option>`).join('')}</select>`;
  });
  const left = choiceLists.filter((list) => !filled.has(list));
  if (left.length > 0) {
    throw new Error(`index.html has no empty select for ${left.join(', ')}`);
  }
  return result;
}
