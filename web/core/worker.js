// Converts off the main thread, so that a long text never freezes the page.
// Answers every {id, settings, text, headUnits} as answer.js says. A worker
// started with the name "keeper" writes long drafts of the text instead
// (text-store.js): {id, key, draft} is answered {id, kept, error}.
import {answerRequest} from './answer.js';
import {createConverter} from './convert.js';
import {inTransaction, openDatabase} from '../storage/drafts.js';
import {toolAnswer} from './tool-answer.js';

function convert() {
  const converter = createConverter();
  converter.then(
    (c) => postMessage({ready: true, core: c.interface}),
    (error) => postMessage({ready: false, error: String(error)}));
  addEventListener('message', async ({data}) => {
    const c = await converter;
    if (data.tool) {
      postMessage(toolAnswer(c, data));
      return;
    }
    answerRequest(c, data, (message, transfer = []) => postMessage(message, {transfer}));
  });
}

function keep() {
  let database = null;
  addEventListener('message', async ({data: {id, key, draft}}) => {
    try {
      database ??= openDatabase();
      await inTransaction(await database, 'readwrite', (store) => store.put(draft, key));
      postMessage({id, kept: true});
    } catch (error) {
      database = null;
      postMessage({id, kept: false, error: String(error)});
    }
  });
}

if (self.name === 'keeper') {
  keep();
} else {
  convert();
}
