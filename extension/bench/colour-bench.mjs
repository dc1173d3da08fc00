// How long colourSelection takes on a post of 2,000 and 20,000 characters,
// from the call to the coloured field, in each field of the board page and
// each rich editor of the editors page (the whole text: a caret only), with
// a column for each engine named on the command line (chromium, firefox;
// each measured in a run of this program of its own, as HUECODE_ENGINE picks
// the harness's engine). Prints figures, checks nothing:
// scripts/extension_test.sh bench EXTENSION_DIR HUECODE_CLI.
import {spawnSync} from 'node:child_process';
import {fileURLToPath} from 'node:url';
import {cliMarkup, openBoard, select} from '../tests/harness.mjs';

const line = '长帖子里的一段话, with some English words too.\n';

const post = (characters) => line.repeat(Math.ceil(characters / line.length)).slice(0, characters);
const figures = (times) => `${Math.min(...times).toFixed(0)} ms (worst ${Math.max(...times).toFixed(0)})`;
// One figure of this engine's run, for the table the first run prints.
const report = (row, times) => console.log(JSON.stringify([row, figures(times)]));

async function measure(board, field, put) {
  for (const characters of [2000, 20000]) {
    const times = [];
    for (let run = 0; run < 3; ++run) {
      await put(post(characters));
      const started = performance.now();
      const result = await board.colour({dialect: 'ubb'});
      times.push(performance.now() - started);
      if (!result.replaced) {
        throw new Error(`${field}: ${result.message}`);
      }
    }
    report(`${field}: ${characters} characters`, times);
  }
}

// Where an editor offers it, the time its own call takes to put the markup
// of the whole text in place of it: what no way of writing can go below.
async function measureEditorItself(board, name) {
  const markup = cliMarkup(['--preset', 'ubb'], post(20000));
  const times = [];
  for (let run = 0; run < 3; ++run) {
    times.push(await board.page.evaluate(([name, text, markup]) => {
      const editor = window.editors[name];
      editor.set(text);
      editor.select(0, text.length);
      const started = performance.now();
      editor.insert(markup);
      return performance.now() - started;
    }, [name, post(20000), markup]));
  }
  report(`${name}: the editor's own insertion of 20,000 characters' markup`, times);
}

async function measureAll() {
  for (const page of ['', 'editors.html']) {
    const board = await openBoard(page);
    try {
      if (page === '') {
        for (const field of ['area', 'rich']) {
          await measure(board, field, (text) => select(board.page, field, text));
        }
        continue;
      }
      await board.page.evaluate(() => window.editorsReady);
      for (const name of await board.page.evaluate(() => Object.keys(window.editors))) {
        // Those that refuse the change on purpose have no time to show.
        if (!['stubborn', 'mangler', 'closer'].includes(name)) {
          await measure(board, name, (text) => board.page.evaluate(([name, text]) => {
            window.editors[name].set(text);
            window.editors[name].select(0, 0);
          }, [name, text]));
          if (await board.page.evaluate((name) => 'insert' in window.editors[name], name)) {
            await measureEditorItself(board, name);
          }
        }
      }
    } finally {
      await board.close();
    }
  }
}

// Each engine's figures from a run of its own, as rows of a table ('-' where
// an engine has none: an engine that stopped says why).
function table(engines) {
  const rows = new Map();
  for (const [column, engine] of engines.entries()) {
    const run = spawnSync(process.execPath, [fileURLToPath(import.meta.url)], {encoding: 'utf8',
      env: {...process.env, HUECODE_ENGINE: engine, HUECODE_BENCH_RUN: '1'}, maxBuffer: 1 << 26});
    if (run.status !== 0) {
      console.error(`${engine}: stopped: ${run.stderr.trim().split('\n').slice(-3).join(' ')}`);
    }
    for (const [row, figure] of run.stdout.trim().split('\n').filter(Boolean).map((text) => JSON.parse(text))) {
      rows.set(row, Object.assign(rows.get(row) ?? engines.map(() => '-'), {[column]: figure}));
    }
  }
  console.log(`| best of 3 | ${engines.join(' | ')} |\n| --- |${engines.map(() => ' --- |').join('')}`);
  for (const [row, figures] of rows) {
    console.log(`| ${row} | ${figures.join(' | ')} |`);
  }
}

if (process.env.HUECODE_BENCH_RUN) {
  await measureAll();
} else {
  table(process.argv.length > 2 ? process.argv.slice(2) : [process.env.HUECODE_ENGINE ?? 'chromium']);
}
