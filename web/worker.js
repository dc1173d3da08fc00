// Converts off the main thread, so that a long text never freezes the page.
// Answers every {id, settings, text, headUnits} as answer.js says.
import {answerRequest} from './answer.js';
import {createConverter} from './convert.js';

const converter = createConverter();

converter.then(
  (c) => postMessage({ready: true, core: c.interface}),
  (error) => postMessage({ready: false, error: String(error)}));

addEventListener('message', async ({data}) => {
  answerRequest(await converter, data, (message, transfer = []) => postMessage(message, transfer));
});
