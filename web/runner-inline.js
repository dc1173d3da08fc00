// The single-file page has no worker file to start: conversions run on the
// page itself, one task each, answering like the worker does. A request that
// a newer one overtakes before its turn is dropped, as the page would ignore
// its answer anyway.
import {createConverter} from './convert.js';
import {answerRequest} from './answer.js';
import {toolAnswer} from './tools.js';

export function startConverter() {
  const target = new EventTarget();
  const answer = (data) => target.dispatchEvent(new MessageEvent('message', {data}));
  const converter = createConverter();
  converter.then((c) => answer({ready: true, core: c.interface}),
    (error) => answer({ready: false, error: String(error)}));
  let newest = null;
  target.postMessage = (data) => {
    if (data.tool) {
      setTimeout(async () => answer(toolAnswer(await converter, data)));
      return;
    }
    newest = data;
    setTimeout(async () => {
      const c = await converter;
      if (newest === data) {
        answerRequest(c, data, answer);
      }
    });
  };
  return target;
}
