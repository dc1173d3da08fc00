// The single-file page has no worker file to start: the worker's code
// travels inside the page, in a script element the browser does not run,
// and starts as a classic worker from a blob: URL (the page's policy allows
// workers from blob: and nothing else; a page opened from disk cannot start
// a module worker from one), so that conversions stay off the page as they
// do when it is served.
export function startConverter(name = 'converter') {
  const source = document.getElementById('worker-source').textContent;
  const url = URL.createObjectURL(new Blob([source], {type: 'text/javascript'}));
  const worker = new Worker(url, {name});
  // The worker has read its code once it speaks.
  worker.addEventListener('message', () => URL.revokeObjectURL(url), {once: true});
  return worker;
}
