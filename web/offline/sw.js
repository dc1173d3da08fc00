// Keeps the page's own files so that it opens and converts with no network
// after the first visit. scripts/web.sh fills in each file's SHA-256 and a
// version that changes with any file. A new release is fetched past the HTTP
// cache and checked file by file against those hashes: one that cannot be
// fetched whole is not installed, and the old one goes on working. Once
// installed it waits until the page asks it to take over.
const version = 'development';
const pageFiles = {};
const cacheName = `huecode-${version}`;
const scope = /** @type {ServiceWorkerGlobalScope} */ (/** @type {unknown} */ (self));

const hex = (buffer) => Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');

async function fetched(file, hash) {
  const response = await fetch(new Request(file, {cache: 'reload'}));
  if (!response.ok) {
    throw new Error(`${file}: ${response.status}`);
  }
  const digest = hex(await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer()));
  if (digest !== hash) {
    throw new Error(`${file} is not the file of release ${version}`);
  }
  return response;
}

async function install() {
  const files = Object.entries(pageFiles);
  const responses = await Promise.all(files.map(([file, hash]) => fetched(file, hash)));
  const cache = await caches.open(cacheName);
  await Promise.all(files.map(([file], k) => cache.put(file, responses[k])));
}

scope.addEventListener('install', (event) => {
  event.waitUntil(install().catch(async (error) => {
    await caches.delete(cacheName);
    throw error;
  }));
});

scope.addEventListener('message', (event) => {
  if (event.data === 'take over') {
    scope.skipWaiting();
  }
});

scope.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
    .then(() => scope.clients.claim()));
});

// The cache first, then the network; a page address with a query string is
// still the page.
scope.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== scope.location.origin) {
    return;
  }
  event.respondWith(caches.open(cacheName)
    .then((cache) => cache.match(request, {ignoreSearch: request.mode === 'navigate'}))
    .then((cached) => cached ?? fetch(request)));
});
