// Joins a module and every module it imports into one script: each module in
// a scope of its own that returns what it exports, after the modules it
// needs. The single file inlines such scripts; the served page loads its
// own modules as one, so that its first paint waits for one request rather
// than a round of requests per level of imports.
// Usage: node bundle.mjs FOLDER ENTRY OUT_FILE
//   writes ENTRY's modules from FOLDER, joined, as a module script. Workers
//   it starts (new URL(…, import.meta.url)) are not joined: they stay files.
import {readFile, writeFile} from 'node:fs/promises';
import {join, posix} from 'node:path';
import {walkModules} from './modules.mjs';

const importLine = /^import (.+) from '(\.\.?\/[\w./-]+\.js)';$/gm;
const exported = /^export (?:async )?(?:function\*?|const|let|class) ([\w$]+)/gm;

const variableOf = (name) => `module_${name.replace(/\W/g, '_')}`;

function bindings(clause, from) {
  if (clause.startsWith('* as ')) {
    return `const ${clause.slice(5)} = ${from};`;
  }
  if (clause.startsWith('{')) {
    return `const ${clause.replace(/ as /g, ': ')} = ${from};`;
  }
  return `const ${clause} = ${from}.default;`;
}

// One module as a scope of its own that returns what it exports. A module
// from another folder than the entry's keeps its own address for what it
// finds beside it (new URL(…, import.meta.url)).
function scoped(name, source, entry) {
  const names = [...source.matchAll(exported)].map((match) => match[1]);
  const here = posix.relative(posix.dirname(entry), name);
  let body = source.replace(importLine, (_, clause, from) =>
    bindings(clause, variableOf(posix.join(posix.dirname(name), from))));
  if (posix.dirname(here) !== '.') {
    body = body.replace(/\bimport\.meta\.url\b/g, `new URL('${here}', import.meta.url).href`);
  }
  body = body.replace(/^export (?=(?:async )?(?:function|const|let|class) )/gm, '');
  body = body.replace(/^export default ([\w$]+);$/m, (_, value) => {
    names.push(`default: ${value}`);
    return '';
  });
  return `const ${variableOf(name)} = (() => {\n${body}\nreturn {${names.join(', ')}};\n})();\n`;
}

// The modules from entry on, each once, after the modules it imports, as one
// script; read(name) gives a module's source.
export async function joinModules(entry, read, {withWorkers = true} = {}) {
  const modules = await walkModules([entry], read, {withWorkers});
  const parts = await Promise.all(modules.map(async (name) => scoped(name, await read(name), entry)));
  const script = parts.join('\n');
  if (/<\/script|<!--/i.test(script)) {
    throw new Error(`${entry}'s modules contain "</script" or "<!--", which would end an inline script early`);
  }
  return script;
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [folder, entry, outFile] = process.argv.slice(2);
  const script = await joinModules(entry, (name) => readFile(join(folder, name), 'utf8'), {withWorkers: false});
  await writeFile(outFile, script);
}
