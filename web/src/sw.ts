// The service worker: after one visit it serves every file of the site from its cache, so that
// the page loads and computes with the network gone. The build writes the site's files and a
// version made from their contents into it: a new site installs beside the old one and takes
// over when no page of the old one is open any more.

declare const SITE_FILES: string[];
declare const SITE_VERSION: string;

interface ExtendableEvent extends Event {
    waitUntil(promise: Promise<unknown>): void;
}

interface FetchEvent extends ExtendableEvent {
    readonly request: Request;
    respondWith(response: Promise<Response>): void;
}

const cacheName = `koravin-${SITE_VERSION}`;
const scope = globalThis as unknown as {
    addEventListener(type: 'install' | 'activate', listener: (event: ExtendableEvent) => void): void;
    addEventListener(type: 'fetch', listener: (event: FetchEvent) => void): void;
    location: Location;
};

scope.addEventListener('install', (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(SITE_FILES)));
});

scope.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys().then((names) =>
        Promise.all(names.filter((name) => name.startsWith('koravin-') && name !== cacheName).map((name) => caches.delete(name)))));
});

scope.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== scope.location.origin) return;
    event.respondWith(caches.open(cacheName).then(async (cache) => {
        // A page's address with a fragment or a query is the page itself.
        const cached = await cache.match(request, { ignoreSearch: true });
        return cached ?? fetch(request);
    }));
});
