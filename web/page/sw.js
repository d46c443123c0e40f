'use strict';
// Keeps the whole page for use offline after the first visit. The build writes
// the version, a hash of every file's content, and the file list below, so a
// new build replaces the old cache as a whole.
const VERSION = '@VERSION@';
const FILES = /* @FILES@ */ [];
const CACHE = `trelvano-${VERSION}`;

self.addEventListener('install', (event) => {
  event.waitUntil(
    caches
      .open(CACHE)
      .then((cache) => cache.addAll(FILES))
      .then(() => self.skipWaiting())
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((keys) => Promise.all(keys.filter((key) => key.startsWith('trelvano-') && key !== CACHE).map((key) => caches.delete(key))))
      .then(() => self.clients.claim())
  );
});

// The headers that isolate the site from other origins, which a browser asks
// for before it lets the page's threads share memory: added here to every
// response of the site's own, so that a host that sets no headers (a static
// file server, a school's web space) still serves the threaded module.
const ISOLATION = {
  'Cross-Origin-Opener-Policy': 'same-origin',
  'Cross-Origin-Embedder-Policy': 'require-corp',
  'Cross-Origin-Resource-Policy': 'same-origin',
};

function isolated(response) {
  // An opaque or redirected answer cannot be rebuilt; the site makes none.
  if (response.type === 'opaque' || response.type === 'opaqueredirect' || response.status === 0) return response;
  const headers = new Headers(response.headers);
  for (const [name, value] of Object.entries(ISOLATION)) headers.set(name, value);
  return new Response(response.body, { status: response.status, statusText: response.statusText, headers });
}

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(
    caches
      .open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((hit) => hit || fetch(event.request))
      .then(isolated)
  );
});
