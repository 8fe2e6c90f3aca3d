// Keeps the page's own files so that it opens and reads files offline after
// the first visit, one version at a time. The build writes the version (a
// digest of the files) and each file's SHA-256 digest.
//
// A new version is fetched past the browser's HTTP cache (a host's max-age
// would otherwise hand back the old files) and each file is checked against
// its digest, so that a cache never holds files of two versions (a site being
// published while it is fetched fails the check, and the browser tries again
// later). A new version waits until the page's "Reload to update" asks for it:
// an open page keeps being served the files it started with.
const VERSION = '@SITE_VERSION@';
const FILES = {@SITE_FILES@};
const CACHE = `frametally-${VERSION}`;

const hex = (buffer) => Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');

async function fetchChecked(name, digest) {
  const response = await fetch(name, { cache: 'reload' });
  if (!response.ok) throw new Error(`${name}: HTTP ${response.status}`);
  const bytes = await response.clone().arrayBuffer();
  if (hex(await crypto.subtle.digest('SHA-256', bytes)) !== digest) throw new Error(`${name} is not version ${VERSION}'s`);
  return response;
}

async function install() {
  const cache = await caches.open(CACHE);
  try {
    await Promise.all(Object.entries(FILES).map(async ([name, digest]) => {
      const response = await fetchChecked(name, digest);
      if (name === 'index.html') await cache.put('./', response.clone());
      await cache.put(name, response);
    }));
  } catch (error) {
    await caches.delete(CACHE);
    throw error;
  }
  // The first version has no page of an older one to disturb.
  if (!self.registration.active) await self.skipWaiting();
}

self.addEventListener('install', (event) => event.waitUntil(install()));

self.addEventListener('message', (event) => {
  if (event.data && event.data.type === 'skip-waiting') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('frametally-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(request)));
});
