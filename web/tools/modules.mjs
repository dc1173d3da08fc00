// The one walk over the page's modules: from the entry files, every module
// they import (statically, or as a worker through new URL(…, import.meta.url)),
// each once and after the modules it needs. The page build, the single file
// and the extension build all take their module lists from here.
// Usage: node modules.mjs [--imports-only] PLACE[:PLACE…] ENTRY…
//   prints the modules' names, one a line. A PLACE is a folder, or PREFIX=FOLDER
//   for the names that start with PREFIX (web/=build/web); a module comes from
//   the first place that holds it. --imports-only follows no worker: what a
//   page loads before its first paint.
import {existsSync} from 'node:fs';
import {readFile} from 'node:fs/promises';
import {join, posix} from 'node:path';

const imports = [/^import\s[^;]*?\sfrom\s+'(\.\.?\/[^']+)'/gm, /^import\s+'(\.\.?\/[^']+)'/gm];
const workers = [/new URL\('([\w-]+\.js)', import\.meta\.url\)/g];

export function importsOf(source, {withWorkers = true} = {}) {
  return [...imports, ...(withWorkers ? workers : [])]
    .flatMap((pattern) => [...source.matchAll(pattern)].map((match) => match[1]));
}

// The module names reached from the entries, dependencies first. read(name)
// gives a module's source, or null for one that is not there to read (such
// as a build's output before it is built).
export async function walkModules(entries, read, options = {}) {
  const order = [];
  const seen = new Set();
  async function visit(name) {
    if (seen.has(name)) {
      return;
    }
    seen.add(name);
    const source = name.endsWith('.js') ? await read(name) : null;
    for (const reference of source === null ? [] : importsOf(source, options)) {
      await visit(posix.join(posix.dirname(name), reference));
    }
    order.push(name);
  }
  for (const entry of entries) {
    await visit(entry);
  }
  return order;
}

export function parsePlaces(text) {
  return text.split(':').map((place) => {
    const [prefix, folder] = place.includes('=') ? place.split('=') : ['', place];
    return {prefix, folder};
  });
}

// Where a module is found: the first place that holds it, or null.
export function locate(places, name) {
  return places.filter(({prefix}) => name.startsWith(prefix))
    .map(({prefix, folder}) => join(folder, name.slice(prefix.length)))
    .find((path) => existsSync(path)) ?? null;
}

export async function readFrom(places, name) {
  const path = locate(places, name);
  return path === null ? null : readFile(path, 'utf8');
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const withWorkers = process.argv[2] !== '--imports-only';
  const [places, ...entries] = process.argv.slice(withWorkers ? 2 : 3);
  const list = parsePlaces(places);
  for (const name of await walkModules(entries, (name) => readFrom(list, name), {withWorkers})) {
    console.log(name);
  }
}
