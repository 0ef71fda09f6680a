// The page's service worker: keeps this build's page, program and data, so that a later visit
// plays without the network. Each build keeps its files under a name of its own, taken whole
// or not at all, and drops every other build's once it takes over: two builds never mix.
'use strict';

const cacheName = 'zimbrel-@BUILD@';
const files = ['./', @FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith('zimbrel-') && name !== cacheName) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page from the network while there is one, so that a new build is seen at once; the
// files named by their content from the cache, since they never change.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(cacheName);
    if (request.mode === 'navigate') {
      try {
        return await fetch(request);
      } catch (offline) {
        const page = await cache.match('./');
        if (page) return page;
        throw offline;
      }
    }
    return (await cache.match(request)) ?? fetch(request);
  })());
});
