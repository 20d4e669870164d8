// Plays the browser build in headless chromium for scripts/test-web, through the DevTools protocol
// (puppeteer-core), and reports what it saw as key=value lines; the pictures go to OUT_DIR as PPM files
// for tests/xprobe to read.
//
//   node pagecheck.js play URL OUT_DIR     start.ppm, right.ppm (Right held), launched.ppm (space held),
//                                          faster.ppm (= held), then a close request
//   node pagecheck.js broken URL OUT_DIR   broken.ppm, the page's messages, and whether frames go on
//   node pagecheck.js pace URL             the game's frames per second against the page's animation
//                                          frames, at the browser's own rate and at 144 Hz
'use strict';
const fs = require('fs');
const path = require('path');
const puppeteer = require('puppeteer-core');

const [mode, url, outDir] = process.argv.slice(2);
const chromium = process.env.CHROMIUM || '/usr/bin/chromium';
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
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0);
        const rgba = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
        const rgb = new Array((rgba.length / 4) * 3);
        for (let i = 0, j = 0; i < rgba.length; i += 4) {
            rgb[j++] = rgba[i];
            rgb[j++] = rgba[i + 1];
            rgb[j++] = rgba[i + 2];
        }
        return {width: bitmap.width, height: bitmap.height, rgb};
    }, png);
    const header = Buffer.from(`P6\n${picture.width} ${picture.height}\n255\n`);
    fs.writeFileSync(path.join(outDir, name), Buffer.concat([header, Buffer.from(picture.rgb)]));
}

async function play(page, decoder) {
    const loadStart = Date.now();
    await page.goto(url);
    if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
    report('first_frame_ms', Math.round(await page.evaluate(() => Module.firstFrameTime)));
    report('title', JSON.stringify(await page.title()));
    report('canvases', await page.$$eval('canvas', (all) => all.map((c) => `${c.width}x${c.height}`).join(',')));
    report('focus_line', await page.evaluate(() => document.body.textContent.includes('Click the game')));
    report('load_ms', Date.now() - loadStart);
    // Frames per second over two seconds of play.
    const before = await page.evaluate(() => [Module.frames, performance.now()]);
    await sleep(2000);
    const after = await page.evaluate(() => [Module.frames, performance.now()]);
    report('fps', ((after[0] - before[0]) * 1000 / (after[1] - before[1])).toFixed(1));
    await grab(page, decoder, 'start.ppm');

    // A click gives the game the keyboard; keys are held as a player would hold them.
    await page.click('canvas');
    report('focused', await page.evaluate(() => document.activeElement === Module.canvas));
    // The page is taller than the view, so keys the browser scrolls with would move it.
    report('scrollable', await page.evaluate(() => document.documentElement.scrollHeight > window.innerHeight));
    const scrollBefore = await page.evaluate(() => window.scrollY);
    await page.keyboard.down('ArrowRight');
    await sleep(1000);
    await grab(page, decoder, 'right.ppm');
    await page.keyboard.up('ArrowRight');
    await page.keyboard.down('Space');
    await sleep(300);
    await page.keyboard.up('Space');
    await sleep(1000);
    await grab(page, decoder, 'launched.ppm');
    // = (by its place on the keyboard) speeds up, which puts ball and paddle back where they started.
    await page.keyboard.down('Equal');
    await sleep(200);
    await page.keyboard.up('Equal');
    await sleep(300);
    await grab(page, decoder, 'faster.ppm');
    report('scrolled', (await page.evaluate(() => window.scrollY)) - scrollBefore);

    // The page's close request reaches the game as WM_CLOSE; the game ends its loop and returns.
    await page.evaluate(() => Module.requestClose());
    try {
        await page.waitForFunction(() => Module.exitCode !== undefined, {timeout: 5000});
        report('exit_code', await page.evaluate(() => Module.exitCode));
    } catch (e) {
        report('exit_code', 'none');
    }
    report('status', JSON.stringify(await page.$eval('#status', (e) => e.textContent)));
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
        window.requestAnimationFrame = (callback) => waiting.push(callback);
        const blank = () => {
            const count = Math.floor((performance.now() - start) / period);
            const due = waiting;
            waiting = [];
            due.forEach((callback) => callback(start + count * period));
            setTimeout(blank, Math.max(0, start + (count + 1) * period - performance.now()));
        };
        setTimeout(blank, period);
    }
    const tick = () => {
        window.animationFrames++;
        window.requestAnimationFrame(tick);
    };
    window.requestAnimationFrame(tick);
}

// The game's frames and the page's animation frames per second, over three seconds of play.
async function pace(browser) {
    for (const hz of [0, 144]) {
        const page = await browser.newPage();
        await page.evaluateOnNewDocument(countAnimationFrames, hz);
        await page.goto(url);
        if (!(await waitForFrames(page, 30, 20000))) throw new Error('the game drew no frames');
        const read = () => page.evaluate(() => [Module.frames, window.animationFrames, performance.now()]);
        const before = await read();
        await sleep(3000);
        const after = await read();
        const seconds = (after[2] - before[2]) / 1000;
        const name = hz ? `at_${hz}hz` : 'own';
        report(`${name}_frames_per_s`, ((after[0] - before[0]) / seconds).toFixed(1));
        report(`${name}_animation_frames_per_s`, ((after[1] - before[1]) / seconds).toFixed(1));
        await page.close();
    }
}

(async () => {
    const browser = await puppeteer.launch({
        executablePath: chromium,
        headless: 'new',
        args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
            '--autoplay-policy=no-user-gesture-required'],
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
        if (mode === 'play') await play(page, decoder);
        else if (mode === 'broken') await broken(page, decoder);
        else throw new Error(`unknown mode '${mode}'`);
        report('console_errors', JSON.stringify(errors));
    } catch (e) {
        console.error(`pagecheck: ${e.message}`);
        status = 1;
    } finally {
        await browser.close();
    }
    process.exit(status);
})();
