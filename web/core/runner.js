// Where conversions run: in a worker beside the page, so that a long text
// never freezes it. name: "keeper" for the worker that writes long drafts.
// The address holds in the sources and in the page's bundle (page/app.js).
export function startConverter(name = 'converter') {
  return new Worker(new URL('../core/worker.js', import.meta.url), {type: 'module', name});
}
