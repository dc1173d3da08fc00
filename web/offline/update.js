// The service worker keeps the page for offline use; a new release it has
// fetched whole waits until the reader agrees to reload, so that a page
// already open never runs half of one release and half of the next.
// onReady(reload) hears of a waiting release; reload() lets it take over
// and reloads the page once it has.
export function watchForUpdates(onReady) {
  // The single-file page has no manifest and nothing for a service worker to keep.
  if (!('serviceWorker' in navigator) || !document.querySelector('link[rel=manifest]')) {
    return;
  }
  const offer = (registration) => {
    const waiting = registration.waiting;
    // On the first visit nothing older is running: the worker starts at once.
    if (waiting && navigator.serviceWorker.controller) {
      onReady(() => {
        navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(), {once: true});
        waiting.postMessage('take over');
      });
    }
  };
  // Installing fetches every file of the page: only once the page itself has loaded.
  const loaded = /** @type {Promise<void>} */ (new Promise((resolve) => {
    if (document.readyState === 'complete') {
      resolve();
    } else {
      addEventListener('load', () => resolve(), {once: true});
    }
  }));
  loaded.then(() => navigator.serviceWorker.register('sw.js')).then((registration) => {
    offer(registration);
    registration.addEventListener('updatefound', () => {
      const installing = registration.installing;
      installing?.addEventListener('statechange', () => {
        if (installing.state === 'installed') {
          offer(registration);
        }
      });
    });
  }).catch(() => {
    // Storage blocked or no service workers here: the page works online.
  });
}
