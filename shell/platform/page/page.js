// The page's side of the browser layer, linked with --js-library. The C++ backend calls these:
//   WebStartPage        keyboard, focus and audio listeners; the title; the 256-byte key snapshot
//   WebWaitForFrame     hands control back to the browser until its next animation frame (ASYNCIFY)
//   WebWaitForFiles     hands control back to the browser until the page's files are written (ASYNCIFY)
//   WebNoteFrame        counts a presented frame (Module.frames)
//   WebTakeWindowEvent  the canvas's size changes, close requests and game controllers coming and going
//   WebShowMessage      a message box as a line on the page
//   WebPlaySound        a sound file of the page's file system (or a short tone) over Web Audio
//   WebKeysRead         the game has read the keyboard: pulses let go
//   WebEndPage          tells the page that the game has ended
// Keys (WebKeys) are held by the keyboard, by fingers, pens and mice (WebPointers), each a holder of
// its own, so that one letting go never releases what another still holds. A key is down while anything
// holds it. A pulse holds a key until the game's next keyboard read (WebKeysRead), so a tap shorter than
// a frame is seen exactly once.
// Not here: mouse input for the game (it reads none), more than one window.
var LibraryWebKeys = {
    $WebKeys__deps: ['$WebPage'],
    $WebKeys: {
        holders: {},  // by DIK_* code: {holder: true}
        pulses: {},  // codes held until the game's next keyboard read
        reads: {},  // by code: how many of the game's keyboard reads saw it down (Module.keyReads)

        Down: function(code) {
            return !!WebKeys.pulses[code] || Object.keys(WebKeys.holders[code] || {}).length > 0;
        },
        Write: function(code) {
            if (WebPage.keys) HEAPU8[WebPage.keys + code] = WebKeys.Down(code) ? 0x80 : 0;
        },
        Hold: function(code, holder, down) {
            var holders = WebKeys.holders[code] = WebKeys.holders[code] || {};
            if (down) holders[holder] = true;
            else delete holders[holder];
            WebKeys.Write(code);
        },
        Pulse: function(code) {
            WebKeys.pulses[code] = true;
            WebKeys.Write(code);
        },
        Read: function() {
            var counted = {};
            [WebKeys.holders, WebKeys.pulses].forEach(function(keys) {
                for (var code in keys) {
                    if (counted[code] || !WebKeys.Down(code)) continue;
                    counted[code] = true;
                    WebKeys.reads[code] = (WebKeys.reads[code] || 0) + 1;
                }
            });
            var codes = Object.keys(WebKeys.pulses);
            WebKeys.pulses = {};
            codes.forEach(function(code) { WebKeys.Write(+code); });
        },
        // Releases are not seen while the page lacks focus, so every key counts as up.
        ReleaseAll: function() {
            WebKeys.holders = {};
            WebKeys.pulses = {};
            if (WebPage.keys) HEAPU8.fill(0, WebPage.keys, WebPage.keys + 256);
        }
    }
};

// Pointers, through Pointer Events (touch, pen and mouse alike). On the canvas a finger or pen holds
// Right or Left by the half under it and a short tap launches; the mouse there only gives the game the
// keyboard. The page's - and + buttons step the speed once for a press, a click, Enter, Space or a
// screen reader's activation, and repeat as a held key does once held past holdMs.
var LibraryWebPointers = {
    $WebPointers__deps: ['$WebKeys', '$WebPage', '$GLUT'],
    $WebPointers: {
        left: 0xCB, right: 0xCD, space: 0x39, minus: 0x0C, equals: 0x0D,
        tapMs: 250,  // a touch that ends sooner, having moved little, is a tap
        tapMovement: 12,  // CSS pixels
        holdMs: 400,  // a button held this long repeats
        fingers: {},  // on the canvas, by pointer id: {key, startTime, startX, startY}

        // Right or Left by the half of the canvas under the pointer; nothing outside the canvas.
        KeyAt: function(event) {
            var box = Module['canvas'].getBoundingClientRect();
            if (event.clientX < box.left || event.clientX >= box.right || event.clientY < box.top ||
                event.clientY >= box.bottom)
                return 0;
            return event.clientX >= box.left + box.width / 2 ? WebPointers.right : WebPointers.left;
        },
        Move: function(finger, id, key) {
            if (finger.key === key) return;
            if (finger.key) WebKeys.Hold(finger.key, 'pointer' + id, false);
            if (key) WebKeys.Hold(key, 'pointer' + id, true);
            finger.key = key;
        },
        OnCanvas: function(event) {
            if (event.pointerType === 'mouse') return;
            event.preventDefault();
            var id = event.pointerId, finger = WebPointers.fingers[id];
            if (event.type === 'pointerdown') {
                WebPage.Resume();
                // Captured, a finger that slides off the game is still seen, and lets go of its key.
                try { event.target.setPointerCapture(id); } catch (e) {}
                finger = {key: 0, startTime: event.timeStamp, startX: event.clientX, startY: event.clientY};
                WebPointers.fingers[id] = finger;
                WebPointers.Move(finger, id, WebPointers.KeyAt(event));
            } else if (finger && event.type === 'pointermove') {
                WebPointers.Move(finger, id, WebPointers.KeyAt(event));
            } else if (finger) {
                WebPointers.Move(finger, id, 0);
                delete WebPointers.fingers[id];
                var moved = Math.hypot(event.clientX - finger.startX, event.clientY - finger.startY);
                // By the events' own times: a page busy drawing may see them late.
                if (event.type === 'pointerup' && event.timeStamp - finger.startTime < WebPointers.tapMs &&
                    moved < WebPointers.tapMovement)
                    WebKeys.Pulse(WebPointers.space);
            }
        },
        Button: function(id, code) {
            var button = document.getElementById(id);
            if (!button) return;
            var presses = {};  // by pointer id: the timer that starts the repeat
            var lastPress = -Infinity;
            var release = function(event) {
                if (!(event.pointerId in presses)) return;
                clearTimeout(presses[event.pointerId]);
                delete presses[event.pointerId];
                WebKeys.Hold(code, id + event.pointerId, false);
            };
            button.addEventListener('pointerdown', function(event) {
                if (event.button !== 0) return;
                event.preventDefault();
                WebPage.Resume();
                try { button.setPointerCapture(event.pointerId); } catch (e) {}
                lastPress = performance.now();
                WebKeys.Pulse(code);
                presses[event.pointerId] = setTimeout(function() {
                    WebKeys.Hold(code, id + event.pointerId, true);
                }, WebPointers.holdMs);
            });
            ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function(type) {
                button.addEventListener(type, release);
            });
            // A pointer's press has stepped already; a click from the keyboard or a screen reader steps here.
            button.addEventListener('click', function(event) {
                if (event.detail > 0 && performance.now() - lastPress < 2000) return;
                WebKeys.Pulse(code);
            });
        },
        Start: function() {
            // GLUT turns touches into mouse clicks, which the game does not read, and calls
            // preventDefault in listeners the browser makes passive: an error on the console each time.
            ['touchstart', 'touchmove', 'touchend'].forEach(function(type) {
                window.removeEventListener(type, GLUT.touchHandler, true);
            });
            var canvas = Module['canvas'];
            ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'].forEach(function(type) {
                canvas.addEventListener(type, WebPointers.OnCanvas, {passive: false});
            });
            WebPointers.Button('slower', WebPointers.minus);
            WebPointers.Button('faster', WebPointers.equals);
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

        // As on the desktop, a key pressed and let go between two of the game's reads is not seen.
        SetKey: function(event, down) {
            // Enter and Space on a focused button are the button's.
            if (event.target && event.target.tagName === 'BUTTON' && /^(Space|Enter|NumpadEnter)$/.test(event.code))
                return;
            var code = WebPage.codes[event.code];
            if (code !== undefined) {
                WebKeys.Hold(code, 'keyboard', down);
            }
            if (WebPage.scrolling[event.code]) event.preventDefault();
        },
        ReleaseAll: function() {
            WebKeys.ReleaseAll();
            WebPointers.fingers = {};
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

    WebStartPage__deps: ['$WebKeys', '$WebPointers'],
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
        WebPointers.Start();
        // A page kept for the back button comes back and plays on; one that is closed ends the game.
        window.addEventListener('pagehide', function(event) {
            if (!event.persisted) WebPage.events.push([2, 0, 0]);
        });
        window.addEventListener('pageshow', function(event) {
            if (event.persisted) WebPage.ReleaseAll();
        });
        window.addEventListener('gamepadconnected', WebPage.NotePads);
        window.addEventListener('gamepaddisconnected', WebPage.NotePads);
        Module['requestClose'] = function() { WebPage.events.push([2, 0, 0]); };
        // What the page's checks read: whether a key is held, and how many of the game's reads saw it down.
        Module['keyHeld'] = WebKeys.Down;
        Module['keyReads'] = WebKeys.reads;
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

    // The page gives Module.awaitFiles(done), which calls done once the files it makes are in the
    // file system: at once (no sleep) when they are there already, or where the page makes none.
    WebWaitForFiles: function() {
        return Asyncify.handleSleep(function(wakeUp) {
            var awaitFiles = Module['awaitFiles'];
            if (!awaitFiles) wakeUp(0);
            else awaitFiles(function() { wakeUp(0); });
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

    WebKeysRead__deps: ['$WebKeys'],
    WebKeysRead: function() {
        WebKeys.Read();
    },

    WebEndPage: function(code) {
        WebPage.ReleaseAll();
        WebPage.keys = 0;
        Module['exitCode'] = code;
        if (Module['onGameEnd']) Module['onGameEnd'](code);
    }
};

autoAddDeps(LibraryWebPage, '$WebPage');
mergeInto(LibraryManager.library, LibraryWebKeys);
mergeInto(LibraryManager.library, LibraryWebPointers);
mergeInto(LibraryManager.library, LibraryWebPage);
