// Where conversions run: in a worker beside the page, so that a long text
// never freezes it. name: "keeper" for the worker that writes long drafts.
export function startConverter(name = 'converter') {
  return new Worker(new URL('worker.js', import.meta.url), {type: 'module', name});
}
