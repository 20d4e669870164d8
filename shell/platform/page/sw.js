// The page's service worker: keeps the files of one build in a cache named after it, so that a second
// visit starts from the cache and a visit without a network still plays. The page itself is asked of
// the network first, for a few seconds, so a new build is what the next visit gets; its files carry the
// build's name (?v=...), and a build's files are only ever taken from that build's cache or from the
// network. The build that installs last removes the caches of the others. Only the game's own page is
// ever kept or shown in its place: a captive portal's page or an error is not.
'use strict';
var build = '@BUILD@';
var cacheName = 'bricks3d-' + build;
var files = @FILES@;
var pageWaitMs = 4000;

// The game's page of this build, as opposed to whatever else a network may answer with.
function IsGamePage(response) {
    if (!response.ok || !/^text\/html/.test(response.headers.get('Content-Type') || '')) return Promise.resolve(false);
    return response.clone().text().then(function(text) {
        return text.indexOf('<meta name="bricks3d-build" content="') >= 0;
    });
}

// The file as the build made it: an answer that is not OK, or a page where a file was asked for, is not.
function Fetched(file) {
    return fetch(new Request(file, {cache: 'reload'})).then(function(response) {
        var html = /^text\/html/.test(response.headers.get('Content-Type') || '');
        if (file === 'index.html') {
            return IsGamePage(response).then(function(game) {
                if (!game) throw new Error('index.html is not the game\'s page');
                return response;
            });
        }
        if (!response.ok || html) throw new Error(file + ' did not come as the build made it');
        return response;
    });
}

// With the storage full the worker still installs, without a copy: the game plays online, and the
// page is told once instead of the install failing, and downloading everything again, on every visit.
self.addEventListener('install', function(event) {
    event.waitUntil(Promise.all(files.map(Fetched)).then(function(responses) {
        return caches.open(cacheName).then(function(cache) {
            return Promise.all(responses.map(function(response, i) { return cache.put(files[i], response); }));
        });
    }).catch(function(error) {
        if (error.name !== 'QuotaExceededError') throw error;
        return caches.delete(cacheName).then(function() {
            return self.clients.matchAll({includeUncontrolled: true});
        }).then(function(clients) {
            clients.forEach(function(client) { client.postMessage('storage-full'); });
        });
    }).then(function() { return self.skipWaiting(); }));
});

self.addEventListener('activate', function(event) {
    event.waitUntil(caches.keys().then(function(names) {
        return Promise.all(names.filter(function(name) {
            return name.indexOf('bricks3d-') === 0 && name !== cacheName;
        }).map(function(name) { return caches.delete(name); }));
    }).then(function() { return self.clients.claim(); }));
});

// The network's answer when it is the game's page and comes in time; else the kept page, when there is one.
function Navigate(request) {
    var network = fetch(request);
    var late = new Promise(function(resolve) { setTimeout(resolve, pageWaitMs, null); });
    var answered = Promise.race([network.then(function(response) {
        return IsGamePage(response).then(function(game) { return game ? response : null; });
    }, function() { return null; }), late]);
    return answered.then(function(response) {
        if (response) return response;
        return caches.open(cacheName).then(function(cache) { return cache.match('index.html'); })
            .then(function(kept) { return kept || network; });
    });
}

self.addEventListener('fetch', function(event) {
    var request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
    var path = new URL(request.url).pathname, home = new URL(self.registration.scope).pathname;
    if (request.mode === 'navigate' && (path === home || path === home + 'index.html')) {
        event.respondWith(Navigate(request));
        return;
    }
    event.respondWith(caches.open(cacheName).then(function(cache) {
        return cache.match(request).then(function(kept) { return kept || fetch(request); });
    }));
});
