// The page's painter: the six sky pictures and the hit sound, painted with the asset generator's own
// code (tools/assetgen/pagepainter.h; painter.wasm, or painter-scalar.wasm in a browser without
// WebAssembly's vectors) so that the page need not download them. As a worker it takes the compiled
// module once, then one file name at a time, and answers each with {name, bytes} (or {error}); the
// page starts one worker per processor core it may use. Where a page cannot start workers it loads
// this file itself and calls Painter.Start and Painter.Paint. Named with a request to read back what
// an earlier visit kept ({read, cacheName} as JSON), a worker answers {kept}: the files, handed over,
// or null unless every one is there. Given a file to keep ({keep: name, bytes, cacheName}), it keeps it.
'use strict';
var Painter = {
    // An instance of the painter module. A standalone module may name a few runtime imports (memory
    // growth notices); none of them matters here, so each is a function that does nothing.
    Start: function(module) {
        var imports = {};
        WebAssembly.Module.imports(module).forEach(function(entry) {
            if (entry.kind !== 'function') return;
            imports[entry.module] = imports[entry.module] || {};
            imports[entry.module][entry.name] = function() { return 0; };
        });
        return WebAssembly.instantiate(module, imports).then(function(instance) {
            var exports = instance.exports;
            var indices = {};
            for (var i = 0; i < exports.AssetCount(); ++i) indices[Painter.Text(exports, exports.AssetName(i))] = i;
            return {exports: exports, indices: indices};
        });
    },
    Text: function(exports, address) {
        var bytes = new Uint8Array(exports.memory.buffer, address);
        return String.fromCharCode.apply(null, bytes.subarray(0, bytes.indexOf(0)));
    },
    // The file's bytes, copied out of the module's memory.
    Paint: function(painter, name) {
        if (!(name in painter.indices)) throw new Error('the painter makes no ' + name);
        var address = painter.exports.PaintAsset(painter.indices[name]);
        return new Uint8Array(painter.exports.memory.buffer, address, painter.exports.PaintedSize()).slice();
    }
};

function ReadKept(names, cacheName) {
    Promise.all(names.map(function(name) {
        return caches.match('painted/' + name, {cacheName: cacheName}).then(function(kept) {
            return kept ? kept.arrayBuffer() : null;
        });
    })).then(function(files) {
        if (files.some(function(bytes) { return !bytes; })) self.postMessage({kept: null});
        else self.postMessage({kept: files}, files);
    }).catch(function() {
        self.postMessage({kept: null});
    });
}

// Puts one painted file in the build's cache for the next visit, off the page's thread (the copies into
// the cache held it for about 0.2 s as the game began); answers {keptFile}, or {keepFailed} with the
// error's name.
function Keep(name, bytes, cacheName) {
    caches.open(cacheName).then(function(cache) {
        return cache.put('painted/' + name, new Response(bytes));
    }).then(function() {
        self.postMessage({keptFile: name});
    }, function(error) {
        self.postMessage({keepFailed: error.name});
    });
}

if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
    var started = null;
    self.onmessage = function(event) {
        if (event.data.keep) {
            Keep(event.data.keep, event.data.bytes, event.data.cacheName);
            return;
        }
        if (event.data.module) {
            started = Painter.Start(event.data.module);
            return;
        }
        var name = event.data.name;
        started.then(function(painter) {
            var bytes = Painter.Paint(painter, name);
            self.postMessage({name: name, bytes: bytes}, [bytes.buffer]);
        }).catch(function(error) {
            self.postMessage({name: name, error: String(error)});
        });
    };
    // The request comes with the worker's name, so that it reads at once: a message would reach it only
    // once the page's thread, busy laying out the page and starting the program, passed it on.
    if (self.name) {
        var asked = JSON.parse(self.name);
        ReadKept(asked.read, asked.cacheName);
    }
}
