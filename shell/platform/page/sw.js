// The page's service worker: keeps the files of one build in a cache named after it, so that a second
// visit starts from the cache and a visit without a network still plays. The page itself is asked of
// the network first, so a new build is what the next visit gets; its files carry the build's name
// (?v=...), and a build's files are only ever taken from that build's cache or from the network. The
// build that installs last removes the caches of the others.
'use strict';
var build = '@BUILD@';
var cacheName = 'bricks3d-' + build;
var files = @FILES@;

self.addEventListener('install', function(event) {
    event.waitUntil(caches.open(cacheName).then(function(cache) {
        return cache.addAll(files.map(function(file) { return new Request(file, {cache: 'reload'}); }));
    }).then(function() { return self.skipWaiting(); }));
});

self.addEventListener('activate', function(event) {
    event.waitUntil(caches.keys().then(function(names) {
        return Promise.all(names.filter(function(name) {
            return name.indexOf('bricks3d-') === 0 && name !== cacheName;
        }).map(function(name) { return caches.delete(name); }));
    }).then(function() { return self.clients.claim(); }));
});

self.addEventListener('fetch', function(event) {
    var request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
    if (request.mode === 'navigate') {
        event.respondWith(fetch(request).catch(function() {
            return caches.open(cacheName).then(function(cache) { return cache.match('index.html'); });
        }));
        return;
    }
    event.respondWith(caches.open(cacheName).then(function(cache) {
        return cache.match(request).then(function(kept) { return kept || fetch(request); });
    }));
});
