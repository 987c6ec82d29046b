// The site's worker: it stores the whole site on the first visit, before it
// reports ready, and serves it from its store first, so that the game loads
// and plays with the network gone. Its store is named by the build; a new
// build's worker waits until the page lets it take over, which the page does
// only before a game starts, and then removes the stores of older builds.
'use strict';
var BUILD = '@BUILD@';
var STORE = 'kuurakarpalo-' + BUILD;
var FILES = [@FILES@];

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(STORE).then(function (store) {
    return store.addAll(FILES.map(function (file) { return new Request(file, { cache: 'reload' }); }));
  }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (name) {
      return name.indexOf('kuurakarpalo-') == 0 && name != STORE;
    }).map(function (name) { return caches.delete(name); }));
  }).then(function () { return self.clients.claim(); }));
});

self.addEventListener('message', function (event) {
  if (event.data == 'take over') self.skipWaiting();
  else if (event.data == 'build' && event.source) event.source.postMessage({ build: BUILD });
});

self.addEventListener('fetch', function (event) {
  var request = event.request;
  if (request.method != 'GET' || new URL(request.url).origin != location.origin) return;
  // The page's own parameters never change what it is.
  var navigation = request.mode == 'navigate';
  event.respondWith(caches.open(STORE).then(function (store) {
    return store.match(request, { ignoreSearch: navigation }).then(function (stored) {
      return stored || fetch(request);
    });
  }));
});
