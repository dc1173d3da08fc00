// Requests to the converter's worker besides conversions (the markup tools,
// the core's reading of a typed value), each answered by the message with
// its id.
export function createQueue(worker) {
  let next = 0;
  const waiting = new Map();
  return {
    ask(message) {
      next += 1;
      return new Promise((resolve) => {
        waiting.set(next, resolve);
        worker.postMessage({...message, id: next});
      });
    },
    // True when the worker's message was one of these answers.
    answer(data) {
      if (!data.tool || !waiting.has(data.id)) {
        return false;
      }
      waiting.get(data.id)(data);
      waiting.delete(data.id);
      return true;
    },
  };
}
