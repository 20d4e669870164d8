// The browser build's page in headless chromium (SwiftShader WebGL), through the DevTools protocol
// (puppeteer-core, on NODE_PATH; CHROMIUM names the browser), served as a web server would serve it
// (shell/platform/page/serve.py). The canvas is the window; a close request is the page's own.
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');
const net = require('node:net');
const path = require('node:path');
const vm = require('node:vm');
const tools = require('./tools');

const keys = {Right: 'ArrowRight', Space: 'Space', Equal: 'Equal', Minus: 'Minus'};

async function freePort() {
    const server = net.createServer().listen(0, '127.0.0.1');
    await new Promise((resolve) => server.on('listening', resolve));
    const {port} = server.address();
    await new Promise((resolve) => server.close(resolve));
    return port;
}

// What one of the page's painter modules paints, run here as a page without workers runs it (painter.js),
// as SHA-256 sums by file name.
async function paintedHere(gameDir, file) {
    const sandbox = {WebAssembly};
    vm.runInNewContext(fs.readFileSync(path.join(gameDir, 'painter.js'), 'utf8'), sandbox);
    const painter = await sandbox.Painter.Start(await WebAssembly.compile(fs.readFileSync(path.join(gameDir, file))));
    return Object.fromEntries(Object.keys(painter.indices).map((name) =>
        [name, crypto.createHash('sha256').update(sandbox.Painter.Paint(painter, name)).digest('hex')]));
}

function create(target, {gameDir = process.env.SCENARIO_GAME_DIR, work = tools.workFolder(target)} = {}) {
    let server = null;
    let browser = null;
    let decoder = null;
    let page = null;
    let url = null;
    const errors = [];

    const driver = {
        work,
        altF4: false,
        // SwiftShader places edges otherwise than Mesa; the smooth parts of the picture must match.
        sameRenderer: false,
        async setUp() {
            const port = await freePort();
            const serve = path.join(__dirname, '../../shell/platform/page/serve.py');
            server = tools.start('python3', [serve, gameDir, String(port)],
                {env: {SERVE_WEB_QUIET: '1'}, log: path.join(work, 'server.log')});
            url = `http://127.0.0.1:${port}/index.html`;
            await tools.waitFor('web server', 10000, () => fetch(url).then((r) => r.ok, () => false));
            browser = await require('puppeteer-core').launch({
                executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                headless: 'new',
                args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
                    '--autoplay-policy=no-user-gesture-required'],
            });
            // The page that decodes screenshots opens first: a page in the background gets no animation
            // frames, so the game's page must be the one in front.
            decoder = await browser.newPage();
        },
        async start() {
            page = await browser.newPage();
            await page.setViewport({width: 1000, height: 700});
            page.on('pageerror', (e) => errors.push(e.message));
            // Emscripten's GL emulation announces itself and what it leaves out (glShadeModel: WebGL
            // shades smoothly, as the game asks) on stderr; anything else there is an error.
            const notices = /^(WARNING: using emscripten GL|TODO: glShadeModel$)/;
            page.on('console', (m) => {
                if (m.type() === 'error' && !notices.test(m.text())) errors.push(m.text());
            });
            await page.goto(url);
            await page.waitForFunction(() => (window.Module && Module.frames) >= 30, {timeout: 30000});
            // A click gives the game the keyboard.
            await page.click('canvas');
        },
        async window() {
            const size = await page.$eval('canvas', (c) => [c.width, c.height]);
            return {title: await page.title(), width: size[0], height: size[1]};
        },
        // The canvas as the player sees it, written as a binary PPM.
        async grab(name) {
            const png = await (await page.$('canvas')).screenshot({type: 'png', encoding: 'base64'});
            const rgb = await decoder.evaluate(async (data) => {
                const png = await (await fetch('data:image/png;base64,' + data)).blob();
                const bitmap = await createImageBitmap(png);
                const context = new OffscreenCanvas(800, 600).getContext('2d');
                context.drawImage(bitmap, 0, 0, 800, 600);
                return Array.from(context.getImageData(0, 0, 800, 600).data.filter((_, i) => i % 4 !== 3));
            }, png);
            const file = path.join(work, `web-${name}.ppm`);
            fs.writeFileSync(file, Buffer.concat([Buffer.from('P6\n800 600\n255\n'), Buffer.from(rgb)]));
            return file;
        },
        keyDown: (key) => page.keyboard.down(keys[key]),
        keyUp: (key) => page.keyboard.up(keys[key]),
        // The page's close request reaches the game as WM_CLOSE; the game ends its loop and returns.
        requestClose: () => page.evaluate(() => Module.requestClose()),
        async exitCode() {
            return page.waitForFunction(() => Module.exitCode !== undefined, {timeout: 10000})
                .then(() => page.evaluate(() => Module.exitCode), () => null);
        },
        async end() {
            if (page) await page.close();
        },
        log: () => errors.join('\n'),
        async tearDown() {
            if (browser) await browser.close();
            tools.kill(server);
        },
        steps: [
            ['the page has one canvas; a click gives it the keyboard, as the page says', async (assert) => {
                assert.equal(await page.$$eval('canvas', (all) => all.length), 1);
                assert.ok(await page.evaluate(() => document.body.textContent.includes('Click the game')));
                assert.ok(await page.evaluate(() => document.activeElement === Module.canvas));
            }],
            ['the page painted the sky and the sound as the build\'s generator did, as does the painter for ' +
                'browsers without WebAssembly\'s vectors', async (assert) => {
                const painted = await page.evaluate(async () => {
                    const sums = {};
                    for (const [name, bytes] of Object.entries(Loading.painted)) {
                        const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
                        sums[name] = Array.from(digest, (b) => b.toString(16).padStart(2, '0')).join('');
                    }
                    return sums;
                });
                const sky = fs.readdirSync(path.join(gameDir, 'skybox')).filter((f) => f.endsWith('.bmp'));
                const sum = (f) => crypto.createHash('sha256').update(fs.readFileSync(path.join(gameDir, f)));
                const files = ['PRES4YA.wav', ...sky.map((f) => `skybox/${f}`)];
                const expected = Object.fromEntries(files.map((f) => [f, sum(f).digest('hex')]));
                assert.deepEqual(painted, expected);
                assert.deepEqual(await paintedHere(gameDir, 'painter-scalar.wasm'), expected);
            }],
            ['arrows, space, = and - leave the page where it was', async (assert) => {
                // The page is taller than the view, so keys the browser scrolls with would move it.
                assert.ok(await page.evaluate(() => document.documentElement.scrollHeight > innerHeight));
                const before = await page.evaluate(() => window.scrollY);
                // = puts the launched ball back on the paddle, - the speed back down.
                for (const [key, ms] of [['ArrowRight', 300], ['Space', 300], ['Equal', 300], ['Minus', 1000]]) {
                    await page.keyboard.down(key);
                    await tools.sleep(ms);
                    await page.keyboard.up(key);
                }
                assert.equal(await page.evaluate(() => window.scrollY), before);
            }],
        ],
        laterSteps: [
            ['no errors on the console', (assert) => assert.deepEqual(errors, [])],
        ],
    };
    return driver;
}

module.exports = {create};
