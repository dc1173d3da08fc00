// Converts off the main thread, so that a long text never freezes the page.
// Answers {id, ...result} to every {id, settings, text}.
import {createConverter} from './convert.js';
import {convertMeasured} from './measure.js';
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
  const result = convertMeasured(c, data.settings, data.text);
  postMessage({id: data.id, ...result}, [result.markup.buffer]);
});
