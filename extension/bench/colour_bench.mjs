// How long colourSelection takes on a long post, from the call to the
// coloured field, in a text area and in a rich editor. Prints figures, checks
// nothing: scripts/extension_test.sh bench EXTENSION_DIR HUECODE_CLI.
import {openBoard, select} from '../tests/harness.mjs';

const line = '长帖子里的一段话, with some English words too.\n';
const board = await openBoard();
try {
  for (const field of ['area', 'rich']) {
    for (const characters of [2000, 20000, 50000]) {
      const post = line.repeat(Math.ceil(characters / line.length)).slice(0, characters);
      const times = [];
      for (let run = 0; run < 3; ++run) {
        await select(board.page.mainFrame(), field, post);
        const started = performance.now();
        await board.colour({dialect: 'ubb'});
        times.push(performance.now() - started);
      }
      console.log(`${field}: ${characters} characters, best of 3: ${Math.min(...times).toFixed(0)} ms`);
    }
  }
} finally {
  await board.close();
}
