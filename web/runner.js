// Where conversions run: in a worker beside the page, so that a long text
// never freezes it.
export function startConverter() {
  return new Worker(new URL('worker.js', import.meta.url), {type: 'module'});
}
