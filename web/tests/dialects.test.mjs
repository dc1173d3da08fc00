// The game servers', chat's and boards' dialects read back by real readers:
// json by JSON.parse, ansi by an ANSI parser (anser), rgb by a BBCode parser,
// and &x / §x codes by a decoder written from their documented rule (x, then
// one code per digit, then the formatting codes). Every character must come
// out in its colour and style; and huecode-cli --strip gives the text back.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {test} from 'node:test';
import {parse} from '@bbob/parser';
import Anser from 'anser';
import {cliMarkup, cliPath} from './page.mjs';

const text = 'Hi "论坛" \\ <b>&amp;\n\tok 🇫🇷';
const visible = (character) => character.trim() !== '';
// The colour of each visible character, from the bbcode dialect's tags.
const colours = [...cliMarkup(['--preset', 'bbcode'], text).toString().matchAll(/#(\w{6})\]([^[]*)/gu)]
  .flatMap(([, colour, chunk]) => [...chunk].filter(visible).map(() => colour));
const markupOf = (preset, options = []) => cliMarkup(['--preset', preset, ...options], text).toString();

function legacyRead(markup, sign) {
  const read = [];
  const names = {l: 'bold', o: 'italic', n: 'underline', m: 'strike'};
  let colour = null;
  let styles = [];
  const code = new RegExp(`${sign}x((?:${sign}[0-9A-F]){6})|${sign}([lonm])|([\\s\\S])`, 'gu');
  for (const [, digits, style, character] of markup.matchAll(code)) {
    if (digits) {
      colour = digits.replaceAll(sign, '');
      styles = [];
    } else if (style) {
      styles.push(names[style]);
    } else if (visible(character)) {
      read.push({colour, styles: [...styles]});
    }
  }
  return read;
}

// Discord's eight colours and the nearest in OKLab, written apart from the program.
const discord = ['4F545C', 'DC322F', '859900', 'B58900', '268BD2', 'D33682', '2AA198', 'FFFFFF'];
function oklab(hex) {
  const [r, g, b] = [0, 2, 4].map((k) => parseInt(hex.slice(k, k + 2), 16) / 255)
    .map((c) => c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
  const l = Math.cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
  const m = Math.cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
  const s = Math.cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
  return [0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
    1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s, 0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s];
}
const nearest = (hex) => {
  const distances = discord.map((d) => oklab(d).reduce((sum, v, k) => sum + (v - oklab(hex)[k]) ** 2, 0));
  return distances.indexOf(Math.min(...distances));
};

test('json is one valid array of text components, one per chunk, each in its colour and style', () => {
  const components = JSON.parse(markupOf('json', ['--bold', '--strike']));
  assert.equal(components.map((c) => c.text).join(''), text);
  const coloured = components.filter((c) => c.color);
  assert.deepEqual(coloured.map((c) => c.color), colours.map((c) => `#${c}`));
  for (const component of coloured) {
    assert.deepEqual([component.bold, component.italic, component.strikethrough], [true, undefined, true]);
  }
  assert.ok(components.filter((c) => !c.color).every((c) => !visible(c.text)));
  assert.deepEqual(JSON.parse(cliMarkup(['--preset', 'json'], '  ').toString()), []);
});

test('ansi is a fenced code block of the nearest colours, neighbours merged', () => {
  const markup = markupOf('ansi', ['--bold', '--underline']);
  assert.ok(markup.startsWith('```ansi\n') && markup.endsWith('\n```'), markup);
  const fg = Object.fromEntries([0, 1, 2, 3, 4, 5, 6, 7].map((k) => [Anser.ansiToJson(`\x1b[3${k}mx`, {json: true})
    .find((part) => part.content).fg, k]));
  const parts = Anser.ansiToJson(markup.slice(8, -4), {json: true, remove_empty: true});
  assert.equal(parts.map((p) => p.content).join(''), text);
  const read = parts.flatMap((p) => [...p.content].filter(visible).map(() => ({colour: fg[p.fg], styles: p.decorations})));
  assert.deepEqual(read, colours.map((c) => ({colour: nearest(c), styles: ['bold', 'underline']})));
  parts.slice(1).forEach((part, k) => assert.notEqual(part.fg, parts[k].fg));
  // Three backticks would close the block: the text shows as it is, with
  // zero-width spaces that keep any two backticks apart.
  const fenced = cliMarkup(['--preset', 'ansi', '--step', '4'], 'a```b ``').toString().slice(8, -4);
  assert.equal(fenced.match(/``/u), null, fenced);
  assert.equal(Anser.ansiToJson(fenced, {json: true}).map((p) => p.content).join('').replaceAll('\u200B', ''), 'a```b ``');
});

test('rgb reads as decimal COLOR tags in a BBCode parser', () => {
  const read = parse(markupOf('rgb')).flatMap((node) => typeof node === 'string' ? [...node].filter(visible).map(() => null)
    : [...node.content.join('')].filter(visible).map(() => Object.values(node.attrs)[0]));
  assert.deepEqual(read, colours.map((c) => `rgb(${[0, 2, 4].map((k) => parseInt(c.slice(k, k + 2), 16)).join(', ')})`));
});

test('legacy and section codes give each character its colour and style', () => {
  for (const [preset, sign] of [['legacy', '&'], ['section', '§']]) {
    const markup = markupOf(preset, ['--italic', '--underline']);
    assert.deepEqual(legacyRead(markup, sign), colours.map((colour) => ({colour, styles: ['italic', 'underline']})));
  }
});

// The markup of every dialect, with formatting, merged runs, chunks of three
// and HTML-safe text where the dialect can carry it, read back to the text.
// Where it cannot, huecode-cli refuses with one of these.
const documentedRefusal = /^huecode-cli: (the \w+ dialect has no codes for|--escape cannot be used with the \w+ dialect)/;
test('huecode-cli --strip gives back the text of every dialect and option', () => {
  const presets = execFileSync(cliPath, ['--list-presets']).toString().split('\n').filter(Boolean).map((l) => l.split(' ')[0]);
  const plain = 'Hi "论坛" \\ ok ``` `\u200B\n\tend 🇫🇷';
  for (const preset of presets) {
    for (const options of [[], ['--bold', '--merge'], ['--underline', '--step', '3', '--escape']]) {
      let markup;
      try {
        markup = cliMarkup(['--preset', preset, ...options], plain);
      } catch (error) {
        // Only a usage error that --help documents may leave a row out, and
        // never the dialect's plain markup.
        if (options.length === 0 || error.status !== 2 || !documentedRefusal.test(error.stderr)) {
          throw error;
        }
        continue;
      }
      const strip = (more) => execFileSync(cliPath, ['--strip', ...more], {input: markup}).toString().slice(0, -1);
      const escape = options.includes('--escape') ? ['--escape'] : [];
      assert.equal(strip(escape), plain, `${preset} ${options}`);
      assert.equal(strip(['--preset', preset, ...escape]), plain, `${preset} ${options} as ${preset}`);
    }
  }
});
