// Plays the browser build in headless chromium for scripts/test-web, through the DevTools protocol
// (puppeteer-core), and reports what it saw as key=value lines; the pictures go to OUT_DIR as PPM files
// for tests/xprobe to read.
//
//   node pagecheck.js broken URL OUT_DIR   broken.ppm, the page's messages, and whether frames go on
//   node pagecheck.js phone URL OUT_DIR    as a 390x844 touch screen at scale 3: the canvas's box and
//                                          text size, then touch-right.ppm (right half held),
//                                          touch-left.ppm (left half held), tapped.ppm (a tap), plus.ppm
//                                          (+ held)
//   node pagecheck.js screens URL          phones and tablets both ways up, and desktops: where the game
//                                          and its controls are, and whether they all fit
//   node pagecheck.js holding URL          keyboard and finger holding Right together; how many speed
//                                          steps a tap, click, Enter, Space or activation of + makes
//   node pagecheck.js pad URL OUT_DIR      a scripted game controller (navigator.getGamepads): whether the
//                                          help line shows, pad-start.ppm, pad-right.ppm (D-pad right),
//                                          pad-launched.ppm (south button), then the pad pulled out while
//                                          its stick holds left: pad-pulled.ppm and pad-later.ppm
//   node pagecheck.js nowebgl URL          in a browser without WebGL: what the game's box says
//   node pagecheck.js silent URL           with painting workers that never answer: what the status line says
//   node pagecheck.js full URL             with no room in the browser's storage, a visit and the next: the status
//                                          line each time
//   node pagecheck.js bfcache URL          away and back again: whether the game plays on
//   node pagecheck.js visits URL KBPS MS CPU  a first and a second visit over a link of KBPS kbit/s (0:
//                                          no limit) and MS latency, the processor slowed CPU times:
//                                          bytes and time to the first frame, and whether the second
//                                          visit read the sky back instead of painting it; in the
//                                          browser's headless shell (CHROMIUM_SHELL)
//   node pagecheck.js blocked URL PATTERN  the page with the addresses matching PATTERN failing: what
//                                          the game's box says
//   node pagecheck.js offline DIR NEW      serves DIR (shell/platform/page/serve.py), plays it once, waits for
//                                          the service worker's copy, stops the server and loads again;
//                                          then serves a captive portal's page in its place and loads
//                                          again; then serves the build in NEW at the same address and loads
//                                          again: the build that plays, and the caches left
//   node pagecheck.js pace URL [SECONDS]   the game's frames per second against the page's animation
//                                          frames, at the browser's own rate and at 30, 50 and 144 Hz,
//                                          each over SECONDS of play (3)
'use strict';
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [mode, url, outDir] = process.argv.slice(2);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
const chromiumShell = process.env.CHROMIUM_SHELL || '/usr/bin/chromium-headless-shell';
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function report(key, value) {
    console.log(`${key}=${value}`);
}

// Waits until the game has handed the browser at least count frames; false after timeoutMs.
async function waitForFrames(page, count, timeoutMs) {
    try {
        await page.waitForFunction((n) => (window.Module && Module.frames) >= n, {timeout: timeoutMs}, count);
        return true;
    } catch (e) {
        return false;
    }
}

// The canvas as the player sees it, written as a binary PPM (rows from the top).
async function grab(page, decoder, name) {
    const canvas = await page.$('canvas');
    const png = await canvas.screenshot({type: 'png', encoding: 'base64'});
    const picture = await decoder.evaluate(async (data) => {
        const bitmap = await createImageBitmap(await (await fetch('data:image/png;base64,' + data)).blob());
        // A canvas scaled on the page (a phone's) is read back at the game's 800x600.
        const canvas = new OffscreenCanvas(800, 600);
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0, 800, 600);
        const rgba = context.getImageData(0, 0, 800, 600).data;
        const rgb = new Array((rgba.length / 4) * 3);
        for (let i = 0, j = 0; i < rgba.length; i += 4) {
            rgb[j++] = rgba[i];
            rgb[j++] = rgba[i + 1];
            rgb[j++] = rgba[i + 2];
        }
        return {width: 800, height: 600, rgb};
    }, png);
    const header = Buffer.from(`P6\n${picture.width} ${picture.height}\n255\n`);
    fs.writeFileSync(path.join(outDir, name), Buffer.concat([header, Buffer.from(picture.rgb)]));
}

// Touches through the DevTools protocol, which lets several fingers be down at once; at is the time
// the touch happens, in seconds since the epoch, where it matters more than when it arrives.
function touch(client, type, points, at) {
    return client.send('Input.dispatchTouchEvent', {type, touchPoints: points, timestamp: at});
}

async function phone(page, decoder, browser) {
    await page.emulate({
        viewport: {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true},
        userAgent: (await browser.userAgent()).replace('Headless', '') + ' Mobile',
    });
    await page.goto(url);
    if (!(await waitForFrames(page, 60, 20000))) throw new Error('the game drew no frames');
    const box = await page.$eval('canvas', (c) => {
        const r = c.getBoundingClientRect();
        return {x: r.left, y: r.top, width: r.width, height: r.height, buffer: `${c.width}x${c.height}`};
    });
    report('viewport_width', await page.evaluate(() => window.innerWidth));
    report('canvas_box', `${Math.round(box.x)},${Math.round(box.y)} ${Math.round(box.width)}x${Math.round(box.height)}`);
    report('canvas_buffer', box.buffer);
    report('touch_help', await page.evaluate(() => document.getElementById('touch-help').offsetParent !== null &&
        document.getElementById('key-help').offsetParent === null));
    report('text_px', await page.$eval('#touch-help p', (e) => parseFloat(getComputedStyle(e).fontSize)));
    await grab(page, decoder, 'phone-start.ppm');

    const client = await page.target().createCDPSession();
    const at = (fx, id) => ({x: box.x + box.width * fx, y: box.y + box.height * 0.6, id});
    // Two fingers on the right half, one lifted early: the other still holds Right. Fingers lift before
    // each picture, which takes a while.
    await touch(client, 'touchStart', [at(0.8, 1), at(0.7, 2)]);
    await sleep(300);
    await touch(client, 'touchEnd', [at(0.7, 2)]);
    await sleep(700);
    await touch(client, 'touchEnd', []);
    await grab(page, decoder, 'touch-right.ppm');
    // A touch outside the canvas does nothing; one on the left half holds Left.
    await touch(client, 'touchStart', [{x: 200, y: box.y + box.height + 200, id: 3}]);
    await sleep(300);
    await touch(client, 'touchEnd', []);
    await touch(client, 'touchStart', [at(0.2, 4)]);
    await sleep(2000);
    await touch(client, 'touchEnd', []);
    await grab(page, decoder, 'touch-left.ppm');
    const tapped = Date.now() / 1000;
    await touch(client, 'touchStart', [at(0.5, 5)], tapped);
    await touch(client, 'touchEnd', [], tapped + 0.06);
    await sleep(1000);
    await grab(page, decoder, 'tapped.ppm');
    const plus = await (await page.$('#faster')).boundingBox();
    await touch(client, 'touchStart', [{x: plus.x + plus.width / 2, y: plus.y + plus.height / 2, id: 6}]);
    await sleep(200);
    await touch(client, 'touchEnd', []);
    await sleep(300);
    await grab(page, decoder, 'plus.ppm');
    report('scrolled', await page.evaluate(() => `${window.scrollX},${window.scrollY} scale ${visualViewport.scale}`));
}

// Touch, as a phone or tablet of width x height CSS pixels.
async function touchScreen(page, browser, width, height) {
    await page.emulate({
        viewport: {width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true},
        userAgent: (await browser.userAgent()).replace('Headless', '') + ' Mobile',
    });
}

async function screens(page, decoder, browser) {
    // width, height, touch
    const sizes = [[390, 844, true], [844, 390, true], [768, 1024, true], [1024, 768, true], [1280, 800, false],
        [800, 600, false]];
    for (const [width, height, touches] of sizes) {
        if (touches) await touchScreen(page, browser, width, height);
        else await page.emulate({viewport: {width, height}, userAgent: await browser.userAgent()});
        await page.goto(url);
        const fit = await page.evaluate(() => {
            const box = (id) => document.getElementById(id).getBoundingClientRect();
            const canvas = box('canvas'), buttons = ['slower', 'faster'].map(box);
            const inside = (r) => r.width > 0 && r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5 &&
                r.bottom <= innerHeight + 0.5;
            if (![canvas, ...buttons].every(inside)) return 'outside';
            const where = buttons.every((b) => b.left >= canvas.right) ? 'beside' :
                buttons.every((b) => b.top >= canvas.bottom) ? 'below' : 'over';
            return `${where} ${Math.round(canvas.width)}x${Math.round(canvas.height)}`;
        });
        report(`screen_${width}x${height}`, fit);
    }
    report('canvas_buffer', await page.$eval('canvas', (c) => `${c.width}x${c.height}`));
}

async function holding(page, decoder, browser) {
    await touchScreen(page, browser, 844, 390);
    await page.goto(url);
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
    const client = await page.target().createCDPSession();
    const box = await (await page.$('canvas')).boundingBox();
    const right = {x: box.x + box.width * 0.8, y: box.y + box.height * 0.6, id: 1};
    const held = async () => {
        await sleep(200);
        return page.evaluate(() => Module.keyHeld(0xCD));
    };
    // Either letting go leaves the other holding Right.
    const seen = [];
    await page.keyboard.down('ArrowRight');
    await touch(client, 'touchStart', [right]);
    await sleep(300);
    await touch(client, 'touchEnd', []);
    seen.push(await held());
    await touch(client, 'touchStart', [right]);
    await page.keyboard.up('ArrowRight');
    seen.push(await held());
    await touch(client, 'touchEnd', []);
    seen.push(await held());
    report('right_held', seen.join(','));

    const plus = await (await page.$('#faster')).boundingBox();
    const centre = {x: plus.x + plus.width / 2, y: plus.y + plus.height / 2, id: 2};
    const press = async (ms) => {
        const start = Date.now() / 1000;
        await touch(client, 'touchStart', [centre], start);
        await sleep(ms);
        await touch(client, 'touchEnd', [], start + ms / 1000);
    };
    const ways = {
        tap: () => press(50),
        click: () => page.mouse.click(centre.x, centre.y),
        enter: async () => { await page.focus('#faster'); await page.keyboard.press('Enter'); },
        space: async () => { await page.focus('#faster'); await page.keyboard.press('Space'); },
        activation: () => page.$eval('#faster', (b) => b.click()),
        hold: () => press(1500),
    };
    for (const [way, act] of Object.entries(ways)) {
        const before = await page.evaluate(() => Module.keyReads[0x0D] || 0);
        await act();
        await sleep(300);
        report(`steps_${way}`, (await page.evaluate(() => Module.keyReads[0x0D] || 0)) - before);
    }
}

async function nowebgl(page) {
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('loading').className === 'failed', {timeout: 20000})
        .catch(() => {});
    report('loading', JSON.stringify(await page.$eval('#loading', (e) => e.offsetParent !== null && e.textContent)));
}

// Workers that never answer: the page gives them up, says so, and paints the sky on its own thread.
async function silent(page) {
    await page.evaluateOnNewDocument(() => {
        window.Worker = function() { this.postMessage = this.terminate = function() {}; };
    });
    await page.goto(url);
    if (!(await waitForFrames(page, 1, 40000))) throw new Error('no first frame without answering workers');
    report('status', JSON.stringify(await page.$eval('#status', (e) => e.textContent)));
}

// No room in the browser's storage: the game plays, and the page says so once for the build.
async function full(page) {
    const client = await page.target().createCDPSession();
    // A quota of one byte: zero puts the browser's own back.
    await client.send('Storage.overrideQuotaForOrigin', {origin: new URL(url).origin, quotaSize: 1});
    for (const visit of ['first', 'next']) {
        if (visit === 'first') await page.goto(url);
        else await page.reload();
        if (!(await waitForFrames(page, 1, 30000))) throw new Error(`no first frame on the ${visit} visit`);
        await page.waitForFunction(() => /no room/.test(document.getElementById('status').textContent),
            {timeout: visit === 'first' ? 15000 : 3000}).catch(() => {});
        report(`${visit}_status`, JSON.stringify(await page.$eval('#status', (e) => e.textContent)));
    }
}

async function bfcache(page) {
    await page.evaluateOnNewDocument(() => {
        window.addEventListener('pageshow', (e) => { if (e.persisted) window.restored = true; });
    });
    await page.goto(url);
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
    await page.goto('about:blank');
    await Promise.race([page.goBack(), sleep(5000)]);
    await page.waitForFunction(() => window.Module && Module.frames, {timeout: 10000});
    const before = await page.evaluate(() => Module.frames);
    report('restored', await page.evaluate(() => window.restored === true));
    report('plays_on', await waitForFrames(page, before + 30, 5000));
    report('exit_code', await page.evaluate(() => (Module.exitCode === undefined ? 'none' : Module.exitCode)));
}

async function visits(page) {
    const [kbps, latency, cpu] = process.argv.slice(4).map(Number);
    const client = await page.target().createCDPSession();
    await client.send('Network.enable');
    if (kbps) {
        await client.send('Network.emulateNetworkConditions', {
            offline: false, latency, downloadThroughput: (kbps * 1000) / 8, uploadThroughput: (kbps * 1000) / 8});
    }
    if (cpu > 1) await client.send('Emulation.setCPUThrottlingRate', {rate: cpu});
    let bytes = 0;
    client.on('Network.loadingFinished', (e) => { bytes += e.encodedDataLength; });
    // A player's browser is running already when the page is visited; one just started goes on with
    // its own start-up, both cores busy, for about half a second after its first page opens.
    await sleep(2000);
    for (const visit of ['first', 'second']) {
        // A player comes back to the page, not from the game still running in it: leaving that takes
        // its last frames drawn and its context freed, about 0.1 s here, before the page starts.
        if (visit === 'second') {
            await page.goto('about:blank');
            await sleep(500);
        }
        bytes = 0;
        await page.goto(url);
        if (!(await waitForFrames(page, 1, 30000))) throw new Error(`no first frame within 30 s on the ${visit} visit`);
        report(`${visit}_bytes`, bytes);
        report(`${visit}_ms`, Math.round(await page.evaluate(() => Module.firstFrameTime)));
        report(`${visit}_kept`, await page.evaluate(() => Loading.kept));
        // The service worker's copy and the painted files, kept before the next visit.
        await page.waitForFunction(async () => {
            const cache = await caches.open('bricks3d-' + Loading.build);
            const names = (await cache.keys()).map((r) => r.url);
            return navigator.serviceWorker.controller !== null &&
                names.filter((n) => n.includes('/painted/')).length === Loading.paint.length;
        }, {timeout: 30000, polling: 200});
    }
}

async function blocked(page) {
    const client = await page.target().createCDPSession();
    await client.send('Network.enable');
    await client.send('Network.setBlockedURLs', {urls: [process.argv[4]]});
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('loading').className === 'failed', {timeout: 20000})
        .catch(() => {});
    report('loading', JSON.stringify(await page.$eval('#loading', (e) => e.offsetParent !== null && e.textContent)));
}

// Serves a build folder at the address the previous one had; stop() ends it.
async function serve(dir, port) {
    const server = require('child_process').spawn('python3', [path.join(__dirname, 'serve.py'), dir, String(port)],
        {stdio: 'ignore', env: {...process.env, SERVE_WEB_QUIET: '1'}});
    const exited = new Promise((resolve) => server.on('exit', resolve));
    // The service worker answers a navigation from its cache while nothing listens, so wait for the server.
    const listening = () => new Promise((resolve) => {
        require('http').get(`http://127.0.0.1:${port}/sw.js`, (r) => { r.resume(); resolve(true); })
            .on('error', () => resolve(false));
    });
    for (let i = 0; !(await listening()); ++i) {
        if (i === 50) throw new Error(`no server for ${dir}`);
        await sleep(100);
    }
    return {stop: () => { server.kill(); return exited; }};
}

async function offline(page) {
    const [dir, next] = [url, process.argv[4]];
    const port = 20000 + (process.pid % 20000);
    const address = `http://127.0.0.1:${port}/index.html`;
    let server = await serve(dir, port);
    try {
        await page.goto(address);
        if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 30000});
        report('cached_files', await page.evaluate(async () =>
            (await (await caches.open((await caches.keys())[0])).keys()).length));
    } finally {
        await server.stop();
    }
    await page.reload();
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('offline, the game drew no frames');
    report('offline_first_frame_ms', Math.round(await page.evaluate(() => Module.firstFrameTime)));
    report('offline_messages', JSON.stringify(await page.$$eval('#messages .message', (m) => m.map((e) => e.textContent))));

    // A captive portal answering in the game's place: the kept game plays, the portal's page is not kept.
    const portal = fs.mkdtempSync(path.join(require('os').tmpdir(), 'portal-'));
    fs.writeFileSync(path.join(portal, 'index.html'), '<!doctype html><title>Sign in</title><p>Sign in first.</p>');
    server = await serve(portal, port);
    try {
        await page.goto(address);
        report('portal_plays', await waitForFrames(page, 30, 20000));
    } finally {
        await server.stop();
        fs.rmSync(portal, {recursive: true});
    }

    // A new build at the same address: the next visit plays it, and its worker removes the old cache.
    server = await serve(next, port);
    try {
        await page.goto(address);
        if (!(await waitForFrames(page, 30, 20000))) throw new Error('the new build drew no frames');
        report('next_build', await page.evaluate(() => Loading.build));
        await page.waitForFunction(async () => (await caches.keys()).join() === 'bricks3d-' + Loading.build,
            {timeout: 30000}).catch(() => {});
        report('next_caches', JSON.stringify(await page.evaluate(() => caches.keys())));
    } finally {
        await server.stop();
    }
}

// A standard-mapping pad the test holds buttons and axes of, seen through navigator.getGamepads.
function scriptedPad() {
    const pad = {id: 'scripted pad', index: 0, connected: false, mapping: 'standard', timestamp: 0,
        axes: [0, 0, 0, 0], buttons: Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}))};
    window.scriptedPad = {
        Plug: (connected) => {
            pad.connected = connected;
            const event = new Event(connected ? 'gamepadconnected' : 'gamepaddisconnected');
            event.gamepad = pad;
            window.dispatchEvent(event);
        },
        Press: (button, down) => {
            pad.buttons[button] = {pressed: down, touched: down, value: down ? 1 : 0};
            pad.timestamp = performance.now();
        },
        Stick: (x) => { pad.axes[0] = x; pad.timestamp = performance.now(); },
    };
    navigator.getGamepads = () => [pad.connected ? pad : null, null, null, null];
}

async function gamepad(page, decoder) {
    await page.evaluateOnNewDocument(scriptedPad);
    await page.goto(url);
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
    const helpShown = () => page.evaluate(() => document.getElementById('pad-help').offsetParent !== null);
    report('pad_help_before', await helpShown());
    await grab(page, decoder, 'pad-start.ppm');
    await page.evaluate(() => { scriptedPad.Plug(true); scriptedPad.Press(15, true); });
    await sleep(1000);
    await grab(page, decoder, 'pad-right.ppm');
    report('pad_help', await helpShown());
    await page.evaluate(() => { scriptedPad.Press(15, false); scriptedPad.Press(0, true); });
    await sleep(300);
    await page.evaluate(() => scriptedPad.Press(0, false));
    await sleep(1000);
    await grab(page, decoder, 'pad-launched.ppm');
    // Pulled out while its stick holds left: the paddle stops at once.
    await page.evaluate(() => scriptedPad.Stick(-0.9));
    await sleep(1000);
    await page.evaluate(() => scriptedPad.Plug(false));
    await sleep(200);
    await grab(page, decoder, 'pad-pulled.ppm');
    await sleep(500);
    await grab(page, decoder, 'pad-later.ppm');
    report('pad_help_after', await helpShown());
}

async function broken(page, decoder) {
    await page.goto(url);
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
    const messages = await page.$$eval('#messages .message', (items) => items.map((e) => e.textContent));
    report('messages', JSON.stringify(messages));
    const before = await page.evaluate(() => Module.frames);
    await sleep(1000);
    report('frames_in_a_second', (await page.evaluate(() => Module.frames)) - before);
    await grab(page, decoder, 'broken.ppm');
}

// Runs in the page before its scripts: counts the animation frames the page is given, with a
// callback of its own in each, and, at hz > 0, stands in for the browser's animation frames as a
// display refreshing at hz would (a late timer skips the blanks it missed).
function countAnimationFrames(hz) {
    window.animationFrames = 0;
    if (hz > 0) {
        const period = 1000 / hz;
        const start = performance.now();
        let waiting = [];
        let shown = 0;
        window.requestAnimationFrame = (callback) => waiting.push(callback);
        // A timer may fire a little before its time: that blank has not come yet.
        const blank = () => {
            const count = Math.floor((performance.now() - start) / period);
            if (count > shown) {
                shown = count;
                const due = waiting;
                waiting = [];
                due.forEach((callback) => callback(start + count * period));
            }
            setTimeout(blank, Math.max(0, start + (shown + 1) * period - performance.now()));
        };
        setTimeout(blank, period);
    }
    const tick = () => {
        window.animationFrames++;
        window.requestAnimationFrame(tick);
    };
    window.requestAnimationFrame(tick);
}

// The game's frames and the page's animation frames per second, over some seconds of play.
async function pace(browser) {
    const seconds = Number(process.argv[4] || 3);
    for (const hz of [0, 30, 50, 144]) {
        const page = await browser.newPage();
        await page.evaluateOnNewDocument(countAnimationFrames, hz);
        await page.goto(url);
        if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
        const read = () => page.evaluate(() => [Module.frames, window.animationFrames, performance.now()]);
        const before = await read();
        await sleep(seconds * 1000);
        const after = await read();
        const played = (after[2] - before[2]) / 1000;
        const name = hz ? `at_${hz}hz` : 'own';
        report(`${name}_frames_per_s`, ((after[0] - before[0]) / played).toFixed(1));
        report(`${name}_animation_frames_per_s`, ((after[1] - before[1]) / played).toFixed(1));
        await page.close();
    }
}

(async () => {
    // Visits are timed in the headless shell, which draws the page alone. The whole browser, headless,
    // also draws its own window in software while a page loads (a frame every 17 ms or so, each about
    // 20 ms of a core here) and the page's calls to the GPU process wait behind it: work a desktop's
    // graphics card does.
    const shell = mode === 'visits';
    const browser = await puppeteer.launch({
        executablePath: shell ? chromiumShell : chromium,
        headless: shell ? 'shell' : 'new',
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
            '--autoplay-policy=no-user-gesture-required'].concat(mode === 'nowebgl' ? ['--disable-webgl',
            '--disable-3d-apis'] : []),
    });
    let status = 0;
    try {
        if (mode === 'pace') {
            await pace(browser);
            return;
        }
        // The page that decodes screenshots opens first: a page in the background gets no animation
        // frames, so the game's page must be the one in front.
        const decoder = await browser.newPage();
        const page = await browser.newPage();
        await page.setViewport({width: 1000, height: 700});
        const errors = [];
        page.on('pageerror', (e) => errors.push(e.message));
        // Emscripten's GL emulation announces itself and what it leaves out (glShadeModel: WebGL
        // shades smoothly, as the game asks) on stderr; anything else there is an error.
        const notices = /^(WARNING: using emscripten GL|TODO: glShadeModel$)/;
        page.on('console', (m) => {
            if (m.type() === 'error' && !notices.test(m.text())) errors.push(m.text());
        });
        const modes = {broken, phone, screens, holding, pad: gamepad, nowebgl, silent, full, bfcache, visits, blocked, offline};
        if (!modes[mode]) throw new Error(`unknown mode '${mode}'`);
        await modes[mode](page, decoder, browser);
        if (mode !== 'blocked' && mode !== 'nowebgl') report('console_errors', JSON.stringify(errors));
    } catch (e) {
        console.error(`pagecheck: ${e.message}`);
        status = 1;
    } finally {
        await browser.close();
    }
    process.exit(status);
})();
