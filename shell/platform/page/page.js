// The page's side of the browser layer, linked with --js-library. The C++ backend calls these:
//   WebStartPage        keyboard, focus and audio listeners; the title; the 256-byte key snapshot
//   WebWaitForFrame     hands control back to the browser until its next animation frame (ASYNCIFY)
//   WebNoteFrame        counts a presented frame (Module.frames)
//   WebTakeWindowEvent  the canvas's size changes, close requests and game controllers coming and going
//   WebShowMessage      a message box as a line on the page
//   WebPlaySound        a sound file of the page's file system (or a short tone) over Web Audio
//   WebEndPage          tells the page that the game has ended
// Touch (WebTouch, started with the page) holds the same keys a player holds on a keyboard: a finger on
// the canvas's right or left half holds Right or Left, a short tap holds Space for the game's next two
// frames, and the page's - and + buttons hold - and =.
// Not here: mouse input (the game reads none), full screen, more than one window.
var LibraryWebTouch = {
    $WebTouch__deps: ['$WebPage', '$GLUT'],
    $WebTouch: {
        left: 0xCB, right: 0xCD, space: 0x39, minus: 0x0C, equals: 0x0D,
        tapMs: 250,  // a touch that ends sooner, having moved little, is a tap
        tapMovement: 12,  // CSS pixels
        fingers: {},  // by touch identifier: {key, startTime, startX, startY}
        holds: {},  // how many touches hold each DIK_* code
        spaceUntil: -1,  // the game frame at which a tap's Space is let go

        // A key is down while any touch holds it.
        Hold: function(code, down) {
            var count = (WebTouch.holds[code] || 0) + (down ? 1 : -1);
            WebTouch.holds[code] = Math.max(0, count);
            if (WebPage.keys) HEAPU8[WebPage.keys + code] = WebTouch.holds[code] ? 0x80 : 0;
        },
        // Right or Left by the half of the canvas under the finger; nothing outside the canvas.
        KeyAt: function(touch) {
            var box = Module['canvas'].getBoundingClientRect();
            if (touch.clientX < box.left || touch.clientX >= box.right || touch.clientY < box.top ||
                touch.clientY >= box.bottom)
                return 0;
            return touch.clientX >= box.left + box.width / 2 ? WebTouch.right : WebTouch.left;
        },
        Move: function(finger, key) {
            if (finger.key === key) return;
            if (finger.key) WebTouch.Hold(finger.key, false);
            if (key) WebTouch.Hold(key, true);
            finger.key = key;
        },
        OnCanvas: function(event) {
            event.preventDefault();
            WebPage.Resume();
            var touches = event.changedTouches;
            for (var i = 0; i < touches.length; ++i) {
                var touch = touches[i], finger = WebTouch.fingers[touch.identifier];
                if (event.type === 'touchstart') {
                    finger = {key: 0, startTime: performance.now(), startX: touch.clientX, startY: touch.clientY};
                    WebTouch.fingers[touch.identifier] = finger;
                    WebTouch.Move(finger, WebTouch.KeyAt(touch));
                } else if (finger && event.type === 'touchmove') {
                    WebTouch.Move(finger, WebTouch.KeyAt(touch));
                } else if (finger) {
                    WebTouch.Move(finger, 0);
                    delete WebTouch.fingers[touch.identifier];
                    var moved = Math.hypot(touch.clientX - finger.startX, touch.clientY - finger.startY);
                    if (event.type === 'touchend' && performance.now() - finger.startTime < WebTouch.tapMs &&
                        moved < WebTouch.tapMovement)
                        WebTouch.Tap();
                }
            }
        },
        // The game reads the keyboard once a frame, so a tap's Space stays down for two of its frames.
        Tap: function() {
            if (WebTouch.spaceUntil < 0) WebTouch.Hold(WebTouch.space, true);
            WebTouch.spaceUntil = (Module['frames'] || 0) + 2;
            requestAnimationFrame(WebTouch.WatchSpace);
        },
        WatchSpace: function() {
            if (WebTouch.spaceUntil < 0) return;
            if ((Module['frames'] || 0) < WebTouch.spaceUntil) {
                requestAnimationFrame(WebTouch.WatchSpace);
                return;
            }
            WebTouch.spaceUntil = -1;
            WebTouch.Hold(WebTouch.space, false);
        },
        // A button holds its key from the finger's touch until it lifts or the touch is cancelled.
        Button: function(id, code) {
            var button = document.getElementById(id);
            if (!button) return;
            var down = false;
            var press = function(event) {
                event.preventDefault();
                var pressed = event.type === 'touchstart' || event.type === 'mousedown';
                if (pressed !== down) WebTouch.Hold(code, pressed);
                down = pressed;
            };
            ['touchstart', 'touchend', 'touchcancel', 'mousedown', 'mouseup', 'mouseleave'].forEach(function(type) {
                button.addEventListener(type, press, {passive: false});
            });
        },
        // Touches the page no longer sees end are forgotten with the keys they held.
        ReleaseAll: function() {
            WebTouch.fingers = {};
            WebTouch.holds = {};
            WebTouch.spaceUntil = -1;
        },
        Start: function() {
            // GLUT turns touches into mouse clicks, which the game does not read, and calls
            // preventDefault in listeners the browser makes passive: an error on the console each time.
            ['touchstart', 'touchmove', 'touchend'].forEach(function(type) {
                window.removeEventListener(type, GLUT.touchHandler, true);
            });
            var canvas = Module['canvas'];
            ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(type) {
                canvas.addEventListener(type, WebTouch.OnCanvas, {passive: false});
            });
            WebTouch.Button('slower', WebTouch.minus);
            WebTouch.Button('faster', WebTouch.equals);
            window.addEventListener('blur', WebTouch.ReleaseAll);
            document.addEventListener('visibilitychange', WebTouch.ReleaseAll);
        }
    }
};

var LibraryWebPage = {
    $WebPage: {
        keys: 0,  // address of the snapshot in the module's memory, indexed by DIK_* code
        events: [],  // [kind, width, height]: kind 1 size, 2 close
        width: 0,
        height: 0,
        audio: null,
        playing: null,
        sounds: {},  // decoded sounds by file name; null while decoding, false when undecodable

        // DirectInput's codes name places on the keyboard, as KeyboardEvent.code does.
        codes: {
            Escape: 0x01, Digit1: 0x02, Digit2: 0x03, Digit3: 0x04, Digit4: 0x05, Digit5: 0x06,
            Digit6: 0x07, Digit7: 0x08, Digit8: 0x09, Digit9: 0x0A, Digit0: 0x0B, Minus: 0x0C,
            Equal: 0x0D, Backspace: 0x0E, Tab: 0x0F, KeyQ: 0x10, KeyW: 0x11, KeyE: 0x12, KeyR: 0x13,
            KeyT: 0x14, KeyY: 0x15, KeyU: 0x16, KeyI: 0x17, KeyO: 0x18, KeyP: 0x19, BracketLeft: 0x1A,
            BracketRight: 0x1B, Enter: 0x1C, ControlLeft: 0x1D, KeyA: 0x1E, KeyS: 0x1F, KeyD: 0x20,
            KeyF: 0x21, KeyG: 0x22, KeyH: 0x23, KeyJ: 0x24, KeyK: 0x25, KeyL: 0x26, Semicolon: 0x27,
            Quote: 0x28, Backquote: 0x29, ShiftLeft: 0x2A, Backslash: 0x2B, KeyZ: 0x2C, KeyX: 0x2D,
            KeyC: 0x2E, KeyV: 0x2F, KeyB: 0x30, KeyN: 0x31, KeyM: 0x32, Comma: 0x33, Period: 0x34,
            Slash: 0x35, ShiftRight: 0x36, NumpadMultiply: 0x37, AltLeft: 0x38, Space: 0x39,
            CapsLock: 0x3A, F1: 0x3B, F2: 0x3C, F3: 0x3D, F4: 0x3E, F5: 0x3F, F6: 0x40, F7: 0x41,
            F8: 0x42, F9: 0x43, F10: 0x44, NumLock: 0x45, ScrollLock: 0x46, Numpad7: 0x47,
            Numpad8: 0x48, Numpad9: 0x49, NumpadSubtract: 0x4A, Numpad4: 0x4B, Numpad5: 0x4C,
            Numpad6: 0x4D, NumpadAdd: 0x4E, Numpad1: 0x4F, Numpad2: 0x50, Numpad3: 0x51,
            Numpad0: 0x52, NumpadDecimal: 0x53, IntlBackslash: 0x56, F11: 0x57, F12: 0x58,
            NumpadEnter: 0x9C, ControlRight: 0x9D, NumpadDivide: 0xB5, PrintScreen: 0xB7,
            AltRight: 0xB8, Pause: 0xC5, Home: 0xC7, ArrowUp: 0xC8, PageUp: 0xC9, ArrowLeft: 0xCB,
            ArrowRight: 0xCD, End: 0xCF, ArrowDown: 0xD0, PageDown: 0xD1, Insert: 0xD2,
            Delete: 0xD3, MetaLeft: 0xDB, MetaRight: 0xDC, ContextMenu: 0xDD
        },
        // Keys the browser would otherwise take to scroll the page.
        scrolling: {
            Space: 1, ArrowUp: 1, ArrowDown: 1, ArrowLeft: 1, ArrowRight: 1, PageUp: 1, PageDown: 1,
            Home: 1, End: 1
        },

        SetKey: function(event, down) {
            var code = WebPage.codes[event.code];
            if (code !== undefined && WebPage.keys) HEAPU8[WebPage.keys + code] = down ? 0x80 : 0;
            if (WebPage.scrolling[event.code]) event.preventDefault();
        },
        // Key releases are not seen while the page lacks focus, so every key counts as up.
        ReleaseAll: function() {
            if (WebPage.keys) HEAPU8.fill(0, WebPage.keys, WebPage.keys + 256);
        },
        // A game controller came or went: the game enumerates again, and the page shows the
        // controller's help while one is connected.
        NotePads: function() {
            WebPage.events.push([3, 0, 0]);
            var pads = navigator.getGamepads ? Array.prototype.slice.call(navigator.getGamepads()) : [];
            var any = pads.some(function(pad) { return pad && pad.connected; });
            document.body.classList.toggle('pad', any);
        },
        // Browsers start audio only after a click or a key on the page.
        Audio: function() {
            if (WebPage.audio === null) {
                // Only a browser has one; under node (the unit tests) there is no audio.
                var Context = typeof AudioContext !== 'undefined' ? AudioContext :
                    typeof webkitAudioContext !== 'undefined' ? webkitAudioContext : null;
                WebPage.audio = Context ? new Context() : false;
            }
            return WebPage.audio;
        },
        Resume: function() {
            var audio = WebPage.Audio();
            if (audio && audio.state === 'suspended') audio.resume();
        },
        // A 150 ms beep at 880 Hz with 5 ms fades, in place of a missing or undecodable sound.
        Tone: function(audio) {
            var rate = audio.sampleRate, count = Math.round(rate * 0.15), fade = rate * 0.005;
            var buffer = audio.createBuffer(1, count, rate), samples = buffer.getChannelData(0);
            for (var i = 0; i < count; ++i) {
                var envelope = Math.min(1, i / fade, (count - 1 - i) / fade);
                samples[i] = 0.3 * envelope * Math.sin(2 * Math.PI * 880 * i / rate);
            }
            return buffer;
        },
        Start: function(audio, buffer) {
            if (WebPage.playing) {
                try { WebPage.playing.stop(); } catch (e) {}
            }
            var source = audio.createBufferSource();
            source.buffer = buffer;
            source.connect(audio.destination);
            source.start();
            WebPage.playing = source;
        }
    },

    WebStartPage__deps: ['$WebTouch'],
    WebStartPage: function(keys, title) {
        WebPage.keys = keys;
        document.title = UTF8ToString(title);
        var canvas = Module['canvas'];
        WebPage.width = canvas.width;
        WebPage.height = canvas.height;
        window.addEventListener('keydown', function(e) { WebPage.SetKey(e, true); WebPage.Resume(); }, true);
        window.addEventListener('keyup', function(e) { WebPage.SetKey(e, false); }, true);
        window.addEventListener('blur', WebPage.ReleaseAll);
        document.addEventListener('visibilitychange', WebPage.ReleaseAll);
        // A click on the canvas gives the page, and so the game, the keyboard.
        canvas.tabIndex = 0;
        canvas.addEventListener('mousedown', function() { canvas.focus(); WebPage.Resume(); });
        canvas.focus();
        WebTouch.Start();
        window.addEventListener('pagehide', function() { WebPage.events.push([2, 0, 0]); });
        window.addEventListener('gamepadconnected', WebPage.NotePads);
        window.addEventListener('gamepaddisconnected', WebPage.NotePads);
        Module['requestClose'] = function() { WebPage.events.push([2, 0, 0]); };
    },

    // Counts the frames the game presents, once each, and notes when the first one was, in
    // milliseconds from the start of the page's load.
    WebNoteFrame: function() {
        if (!Module['frames']) Module['firstFrameTime'] = performance.now();
        Module['frames'] = (Module['frames'] || 0) + 1;
    },

    // ASYNCIFY runs this twice for one wait: once to sleep, and again when the game resumes, with
    // the animation frame's time as the result.
    WebWaitForFrame: function() {
        return Asyncify.handleSleep(function(wakeUp) {
            requestAnimationFrame(function(time) { wakeUp(time); });
        });
    },

    WebTakeWindowEvent: function(width, height) {
        var canvas = Module['canvas'];
        if (canvas.width !== WebPage.width || canvas.height !== WebPage.height) {
            WebPage.width = canvas.width;
            WebPage.height = canvas.height;
            WebPage.events.push([1, canvas.width, canvas.height]);
        }
        var event = WebPage.events.shift();
        if (!event) return 0;
        HEAP32[width >> 2] = event[1];
        HEAP32[height >> 2] = event[2];
        return event[0];
    },

    // The console has the text already: MessageBoxA writes it to stderr.
    WebShowMessage: function(caption, text) {
        var line = UTF8ToString(caption) + ': ' + UTF8ToString(text);
        var list = document.getElementById('messages');
        if (list) {
            var item = document.createElement('p');
            item.className = 'message';
            item.textContent = line;
            list.appendChild(item);
        }
    },

    WebPlaySound__deps: ['$FS'],
    WebPlaySound: function(path) {
        var audio = WebPage.Audio();
        if (!audio) return 0;
        var name = UTF8ToString(path);
        var known = WebPage.sounds[name];
        if (known) {
            WebPage.Start(audio, known);
            return 1;
        }
        if (known === false) {
            WebPage.Start(audio, WebPage.Tone(audio));
            return 1;
        }
        if (known === null) return 1;  // still decoding: this hit stays silent
        var bytes;
        try {
            bytes = FS.readFile(name);
        } catch (e) {
            WebPage.sounds[name] = false;
            WebPage.Start(audio, WebPage.Tone(audio));
            return 1;
        }
        // Decoding takes its time; the sound starts when it is ready, and is kept for later hits.
        WebPage.sounds[name] = null;
        audio.decodeAudioData(bytes.slice().buffer, function(buffer) {
            WebPage.sounds[name] = buffer;
            WebPage.Start(audio, buffer);
        }, function() {
            WebPage.sounds[name] = false;
            WebPage.Start(audio, WebPage.Tone(audio));
        });
        return 1;
    },

    WebEndPage: function(code) {
        WebPage.ReleaseAll();
        WebPage.keys = 0;
        Module['exitCode'] = code;
        if (Module['onGameEnd']) Module['onGameEnd'](code);
    }
};

autoAddDeps(LibraryWebPage, '$WebPage');
mergeInto(LibraryManager.library, LibraryWebTouch);
mergeInto(LibraryManager.library, LibraryWebPage);
