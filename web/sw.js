// Keeps the page's own files so that it opens and converts with no network
// after the first visit. scripts/web.sh fills in the file list and a version
// that changes with any file, so a new build replaces the old cache.
const version = 'development';
const pageFiles = ['./'];
const cacheName = `huecode-${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(pageFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The cache first, then the network; a page address with a query string is
// still the page.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(request, {ignoreSearch: request.mode === 'navigate'}))
    .then((cached) => cached ?? fetch(request)));
});
