// How long colourSelection takes on a post of 2,000 and 20,000 characters,
// from the call to the coloured field, in each field of the board page and
// each rich editor of the editors page (the whole text: a caret only).
// Prints figures, checks nothing:
// scripts/extension_test.sh bench EXTENSION_DIR HUECODE_CLI.
import {cliMarkup, openBoard, select} from '../tests/harness.mjs';

const line = '长帖子里的一段话, with some English words too.\n';

const post = (characters) => line.repeat(Math.ceil(characters / line.length)).slice(0, characters);
const figures = (times) => `best of 3: ${Math.min(...times).toFixed(0)} ms (worst ${Math.max(...times).toFixed(0)})`;

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
    console.log(`${field}: ${characters} characters, ${figures(times)}`);
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
  console.log(`${name}: the editor's own insertion of that markup, ${figures(times)}`);
}

for (const page of ['', 'editors.html']) {
  const board = await openBoard(page);
  try {
    if (page === '') {
      for (const field of ['area', 'rich']) {
        await measure(board, field, (text) => select(board.page.mainFrame(), field, text));
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
