// Converts off the main thread, so that a long text never freezes the page.
// Answers every {id, settings, text, headUnits} as answer.js says.
import {answerRequest} from './answer.js';
import {createConverter} from './convert.js';
import {toolAnswer} from './tools.js';

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
  answerRequest(c, data, (message, transfer = []) => postMessage(message, transfer));
});
