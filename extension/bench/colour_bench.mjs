// How long colourSelection takes on a post of 2,000 and 20,000 characters,
// from the call to the coloured field, in each field of the board page and
// each rich editor of the editors page (the whole text: a caret only).
// Prints figures, checks nothing:
// scripts/extension_test.sh bench EXTENSION_DIR HUECODE_CLI.
import {openBoard, select} from '../tests/harness.mjs';

const line = '长帖子里的一段话, with some English words too.\n';

async function measure(board, field, put) {
  for (const characters of [2000, 20000]) {
    const post = line.repeat(Math.ceil(characters / line.length)).slice(0, characters);
    const times = [];
    for (let run = 0; run < 3; ++run) {
      await put(post);
      const started = performance.now();
      const result = await board.colour({dialect: 'ubb'});
      times.push(performance.now() - started);
      if (!result.replaced) {
        throw new Error(`${field}: ${result.message}`);
      }
    }
    console.log(`${field}: ${characters} characters, best of 3: ${Math.min(...times).toFixed(0)} ms`);
  }
}

for (const page of ['', 'editors.html']) {
  const board = await openBoard(page);
  try {
    if (page === '') {
      for (const field of ['area', 'rich']) {
        await measure(board, field, (post) => select(board.page.mainFrame(), field, post));
      }
      continue;
    }
    await board.page.evaluate(() => window.editorsReady);
    for (const name of await board.page.evaluate(() => Object.keys(window.editors))) {
      // Those that refuse the change on purpose have no time to show.
      if (!['stubborn', 'mangler', 'closer'].includes(name)) {
        await measure(board, name, (post) => board.page.evaluate(([name, post]) => {
          window.editors[name].set(post);
          window.editors[name].select(0, 0);
        }, [name, post]));
      }
    }
  } finally {
    await board.close();
  }
}
