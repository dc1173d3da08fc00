// The game servers' and chat's dialects read back as their destinations read
// them: json by a Minecraft chat parser (minecraft-motd-util, which also
// reads a client's § codes), the & forms after a server's translation
// (Bukkit's published rule, plugins' &#RRGGBB) by the same parser,
// MiniMessage by its published escape and tag rules written out here, and
// ansi by a Discord markdown parser and a headless terminal. On random texts
// full of &, §, <, \, backticks and line breaks: what the reader shows is
// what --strip returns, and the typed text itself unless a note says which
// code it reached the destination as.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {test} from 'node:test';
import discord from 'discord-markdown-parser';
import fc from 'fast-check';
import motd from 'minecraft-motd-util';
import xterm from '@xterm/headless';

const cli = process.env.HUECODE_CLI;
if (!cli) {
  throw new Error('set HUECODE_CLI to huecode-cli');
}

function run(args, input) {
  const result = spawnSync(cli, args, {input});
  const out = result.stdout.toString();
  return {status: result.status, out: out.endsWith('\n') ? out.slice(0, -1) : out, err: result.stderr.toString()};
}

const client = (legacy) => motd.parse(legacy).map((part) => part.text).join('');

// A server turns &#RRGGBB into §x§R§R…, then & and a code character into §
// and the character (lower case), unit by unit; the client reads the rest.
function server(markup, hex) {
  const spelled = hex ? markup.replace(/&#([0-9A-Fa-f]{6})/gu, (_, d) => `§x${[...d].map((c) => `§${c}`).join('')}`)
    : markup;
  const units = spelled.split('');
  for (let k = 0; k + 1 < units.length; ++k) {
    if (units[k] === '&' && '0123456789AaBbCcDdEeFfKkLlMmNnOoRrXx'.includes(units[k + 1])) {
      units[k] = '§';
      units[k + 1] = units[k + 1].toLowerCase();
    }
  }
  return client(units.join(''));
}

// MiniMessage: in plain text a backslash escapes < and itself; a tag is <,
// / or ! perhaps, a standard tag's name or #RRGGBB, arguments after colons
// (quoted ones may hold >), > ; the text between tags is a component.
const tagNames = new Set(('black dark_blue dark_green dark_aqua dark_red dark_purple gold gray grey dark_gray ' +
  'dark_grey blue green aqua red light_purple yellow white color colour c bold b italic em i underlined u ' +
  'strikethrough st obfuscated obf reset click hover key lang tr translate lang_or tr_or translate_or insertion ' +
  'rainbow gradient transition font newline br selector sel score nbt data pride shadow sprite head').split(' '));
const tag = /^<[/!]?(#[0-9a-f]{6}|[a-z_]+)((?::(?:'[^']*'|"[^"]*"|[^<>:'"]*))*)\/?>/iu;

function miniMessage(markup) {
  let shown = '';
  let run = '';
  for (let k = 0; k < markup.length; ++k) {
    const found = markup[k] === '<' ? tag.exec(markup.slice(k)) : null;
    if (markup[k] === '\\' && '<\\'.includes(markup[k + 1] ?? 'x')) {
      run += markup[++k];
    } else if (found && (found[1].startsWith('#') || tagNames.has(found[1].toLowerCase()))) {
      shown += client(run) + (['newline', 'br'].includes(found[1]) ? '\n' : '');
      run = '';
      k += found[0].length - 1;
    } else {
      run += markup[k];
    }
  }
  return shown + client(run);
}

// Discord drops a code block's blank first and last lines; the terminal
// then shows its lines (convertEol: each LF starts a line, as Discord's do).
async function discordTerminal(markup) {
  const blocks = discord.default(markup, 'normal');
  assert.equal(blocks.length, 1, markup);
  assert.deepEqual([blocks[0].type, blocks[0].lang], ['codeBlock', 'ansi']);
  const terminal = new xterm.Terminal({cols: 500, rows: 100, convertEol: true, allowProposedApi: true});
  await new Promise((done) => terminal.write(blocks[0].content, done));
  const buffer = terminal.buffer.active;
  const lines = [];
  for (let y = 0; y <= buffer.baseY + buffer.cursorY; ++y) {
    lines.push(buffer.getLine(y).translateToString(true));
  }
  return {terminal, shown: lines.join('\n')};
}

// A terminal cannot show trailing spaces, nor a zero-width space apart.
const onScreen = (text) => text.replaceAll('\r\n', '\n').replaceAll('\u200B', '').split('\n')
  .map((line) => line.trimEnd()).join('\n');

const readers = {
  json: (markup) => motd.parse({text: '', extra: JSON.parse(markup)}).map((part) => part.text).join(''),
  legacy: (markup) => server(markup, false),
  ampersand: (markup) => server(markup, true),
  section: (markup) => client(markup),
  minimessage: miniMessage,
  ansi: async (markup) => onScreen((await discordTerminal(markup)).shown),
};
const escapes = new Set(['legacy', 'ampersand', 'minimessage']);

const pieces = ['a', 'b', 'l', 'x', 'r', '#', '1', '&', '§', '<', '>', '/', '\\', '`', ' ', '\r', '\n', '\r\n', '论'];
// Spaces alone are left out whole: nothing to colour.
const typed = fc.array(fc.constantFrom(...pieces), {minLength: 1, maxLength: 24}).map((p) => p.join(''))
  .filter((text) => text.replaceAll(' ', '') !== '');
const options = fc.record({step: fc.integer({min: 1, max: 4}), merge: fc.boolean(), bold: fc.boolean(),
  escape: fc.boolean()});

async function readsAsStripped(dialect, text, {step, merge, bold, escape}) {
  // A terminal moves back over a lone CR and a chat shows it as a space.
  const input = dialect === 'ansi' ? text.replace(/\r(?!\n)/gu, '\r\n') : text;
  const asked = ['--preset', dialect, '--step', String(step), ...(merge ? ['--merge'] : []),
    ...(bold ? ['--bold'] : []), ...(escape && escapes.has(dialect) ? ['--escape'] : [])];
  const written = run([...asked, '--', input]);
  assert.equal(written.status, 0, written.err);
  const stripped = run(['--strip', '--preset', dialect], `${written.out}\n`);
  assert.equal(stripped.status, 0, stripped.err);
  const shown = await readers[dialect](written.out);
  const view = dialect === 'ansi' ? onScreen : (s) => s;
  assert.equal(shown, view(stripped.out), `${asked.join(' ')} ${JSON.stringify(input)}`);
  if (!written.err.includes('note:')) {
    assert.equal(shown, view(input.replace(/^ +| +$/gu, '')), `${asked.join(' ')} ${JSON.stringify(input)}`);
  }
  if (dialect !== 'json') {
    assert.equal(written.out.split('\r\n').length, input.split('\r\n').length, 'a CR LF split by a code');
  }
}

test('every game and chat dialect reads as --strip reads it, and as typed where no note says otherwise', async () => {
  await fc.assert(fc.asyncProperty(fc.constantFrom(...Object.keys(readers)), typed, options, readsAsStripped),
    {numRuns: 300});
});

// What the issue's users met, each read by its destination's reader.
const scenarios = [
  [['--preset', 'legacy', '--step', '3'], '&laa', 'aa', /"&l" .* bold; --escape shows it/u],
  [['--preset', 'legacy', '--step', '3', '--escape'], '&laa', '&laa', null],
  [['--preset', 'ampersand', '--step', '2', '--escape'], 'a&#00FF00&r', 'a&#00FF00&r', null],
  [['--preset', 'legacy', '--step', '3'], 'a&aa', 'aa', /"&a" .* a colour/u],
  [['--preset', 'section'], 'x§y', 'xxy', /"§" .* nothing shows it as typed/u],
  [['--preset', 'json'], '§a', 'a', /"§" .* nothing shows it as typed/u],
  [['--preset', 'minimessage', '--escape', '--bold'], '<b>\\x\\\\', '<b>\\x\\\\', null],
  [['--preset', 'minimessage', '--step', '4'], '<b>a\\b', 'a\\b', /"<b>" .* a tag/u],
  [['--preset', 'minimessage'], 'a\\b', 'a\\b', null],
  [['--preset', 'ansi'], 'a\n', 'a\n', null],
  [['--preset', 'ansi', '--step', '2'], '\r\n\na``\r\n', '\n\na``\n', null],
];

test('the text\'s own codes: shown as a server or chat shows them, and named in a note', async () => {
  for (const [args, text, shown, note] of scenarios) {
    const written = run([...args, '--', text]);
    assert.equal(written.status, 0, written.err);
    assert.equal(await readers[args[1]](written.out), shown, `${args.join(' ')} ${JSON.stringify(text)}`);
    assert.match(written.err, note ?? /^$/u, args.join(' '));
  }
  for (const dialect of ['section', 'json', 'ansi']) {
    const refused = run(['--preset', dialect, '--escape', '--', 'a']);
    assert.equal(refused.status, 2);
    assert.match(refused.err, /cannot be used with the \w+ dialect: .*(leave --escape out|without --escape)/u);
  }
});

test('Discord shows each colour in the code of its hue, a grey by its lightness', async () => {
  const rows = [['FFFF00', 3], ['00FFFF', 6], ['FF0000', 1], ['00C000', 2], ['2040FF', 4], ['FF00FF', 5],
    ['FFA500', 3], ['808080', 0], ['101010', 0], ['D0D0D0', 7], ['C6B4B4', 7]];
  for (const [colour, code] of rows) {
    const written = run(['--preset', 'ansi', '--start', colour, '--end', colour, '--', 'a']);
    const {terminal} = await discordTerminal(written.out);
    const cell = terminal.buffer.active.getLine(0).getCell(0);
    assert.deepEqual([cell.isFgPalette() ? cell.getFgColor() : 'default'], [code], colour);
  }
});

test('every dialect gives back a text that ends in CR, CR LF, LF, a tab or inner spaces', () => {
  const dialects = run(['--list-presets']).out.split('\n').map((line) => line.split(' ')[0]);
  for (const dialect of dialects) {
    for (const text of ['a\r', 'a\r\n', 'b\n', '\r\n', 'a b\t', 'a\rb\r\r']) {
      const written = run(['--preset', dialect, '--step', '2', '--', text]);
      const stripped = run(['--strip'], `${written.out}\n`);
      assert.equal(stripped.out, text, `${dialect} ${JSON.stringify(text)}`);
    }
  }
});
