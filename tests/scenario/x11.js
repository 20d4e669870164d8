// The game as an X client, seen and driven as a window manager and a keyboard would: the desktop build,
// the Windows build under Wine, and the installed package. On $DISPLAY, or on an Xvfb of its own.
'use strict';
const fs = require('node:fs');
const path = require('node:path');
const tools = require('./tools');

const title = 'SkellanWindow';
const keys = {Right: 'Right', Space: 'space', Equal: 'equal', Minus: 'minus'};

// How each target starts the game: the program and its folder.
function command(target, gameDir, work) {
    if (target === 'windows') {
        const wineRun = path.join(__dirname, '../../scripts/windows/wine-run');
        return {program: wineRun, args: ['bricks3d.exe'], cwd: gameDir};
    }
    if (target === 'package') {
        // From PATH, in an empty folder of its own, with a space in its name as players' folders may have.
        const cwd = path.join(work, 'empty folder');
        fs.mkdirSync(cwd, {recursive: true});
        return {program: process.env.SCENARIO_GAME || '/usr/games/bricks3d', args: [], cwd};
    }
    return {program: path.join(gameDir, 'bricks3d'), args: [], cwd: gameDir};
}

function create(target, {gameDir = process.env.SCENARIO_GAME_DIR, work = tools.workFolder(target)} = {}) {
    let xvfb = null;
    let game = null;
    let id = null;
    const env = {SDL_AUDIODRIVER: 'dummy', BRICKS_MESSAGE_BOXES: 'stderr'};
    const xdotool = (...args) => tools.output('xdotool', args);
    const run = command(target, gameDir, work);

    const driver = {
        work,
        altF4: true,
        // Drawn through the same Mesa as the desktop build, so its pictures match pixel for pixel.
        sameRenderer: true,
        async setUp() {
            if (process.env.DISPLAY) return;
            xvfb = await tools.startXvfb(work);
            process.env.DISPLAY = xvfb.display;
        },
        async start(how = run) {
            game = tools.start(how.program, how.args, {cwd: how.cwd, env: {...env, ...how.env},
                log: path.join(work, `${target}-game.log`)});
            // The first program Wine starts in a fresh prefix may take most of a minute.
            id = await tools.waitFor(`window titled ${title}`, 90000, async () => {
                if (tools.ended(game))
                    throw new Error(`the game ended: ${driver.log()}${xvfb ? `\n${xvfb.state()}` : ''}`);
                return (xdotool('search', '--onlyvisible', '--name', `^${title}$`) || '').split('\n')[0];
            }, 300);
            // The keyboard goes to the window under the pointer, as after a click.
            xdotool('mousemove', '--window', id, '10', '10');
            xdotool('windowfocus', '--sync', id);
        },
        async window() {
            const shell = xdotool('getwindowgeometry', '--shell', id) || '';
            const value = (name) => Number((shell.match(new RegExp(`^${name}=(\\d+)`, 'm')) || [])[1]);
            const title = (xdotool('getwindowname', id) || '').trim();
            return {title, width: value('WIDTH'), height: value('HEIGHT')};
        },
        async grab(name) {
            const file = path.join(work, `${target}-${name}.ppm`);
            tools.probe('grab', title, file);
            return file;
        },
        keyDown: async (key) => xdotool('keydown', keys[key]),
        keyUp: async (key) => xdotool('keyup', keys[key]),
        async requestClose() {
            tools.probe('close', title);
        },
        async pressAltF4() {
            xdotool('key', 'alt+F4');
        },
        exitCode: () => tools.gameExit(game),
        end: () => tools.endGame(game),
        log: () => fs.readFileSync(path.join(work, `${target}-game.log`), 'utf8'),
        async tearDown() {
            tools.kill(game);
            if (xvfb) {
                xvfb.server.kill('SIGKILL');
                delete process.env.DISPLAY;
            }
        },
        steps: [],
        laterSteps: [],
    };
    if (target === 'package') {
        driver.steps.push(['nothing is written in the folder the game was started from', async (assert) => {
            assert.deepEqual(fs.readdirSync(run.cwd), []);
        }]);
        driver.laterSteps.push(['the menu entry plays with the player\'s own sky picture', async (assert) => {
            await driver.end();
            const data = path.join(work, 'my data');
            fs.mkdirSync(path.join(data, 'bricks3d/skybox'), {recursive: true});
            const own = path.join(data, 'bricks3d/skybox/ClearSky_back.bmp');
            fs.writeFileSync(own, magentaBitmap());
            assert.equal(tools.output('dibcheck', [own]), 'ok 4 4\n', 'the installed dibcheck reads it');
            const menu = '/usr/share/applications';
            const file = fs.readdirSync(menu).find((f) => f.includes('bricks3d'));
            const entry = fs.readFileSync(path.join(menu, file), 'utf8');
            const [program, ...args] = entry.match(/^Exec=(.*)$/m)[1].replace(/ %[a-zA-Z]/g, '').split(' ');
            await driver.start({program, args, cwd: work, env: {XDG_DATA_HOME: data}});
            await tools.sleep(1500);
            const picture = await driver.grab('own-sky');
            tools.probe('field', picture);
            // The sky behind the field, where the installed pictures have no magenta at all.
            assert.equal(magentaPixels(path.join(work, `${target}-start.ppm`)), 0);
            assert.ok(magentaPixels(picture) > 10000, `${magentaPixels(picture)} magenta pixels`);
            await driver.requestClose();
            assert.equal(await driver.exitCode(), 0, driver.log());
        }]);
    }
    return driver;
}

// A 4x4 magenta 24-bit bitmap.
const magentaBitmap = () => Buffer.from('Qk1mAAAAAAAAADYAAAAoAAAABAAAAAQAAAABABgAAAAAADAAAAATCwAAEwsAAA' +
    'AAAAAAAAAA/wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD//wD/', 'base64');

function magentaPixels(ppm) {
    const bytes = fs.readFileSync(ppm).subarray(-800 * 600 * 3);
    let count = 0;
    for (let i = 0; i < bytes.length; i += 3) {
        count += bytes[i] > 200 && bytes[i + 1] < 60 && bytes[i + 2] > 200;
    }
    return count;
}

// The desktop build's first picture, for comparing other targets with.
async function referencePicture(gameDir, work) {
    const desktop = create('desktop', {gameDir, work});
    try {
        await desktop.setUp();
        await desktop.start();
        await tools.sleep(1500);
        const picture = await desktop.grab('reference');
        await desktop.requestClose();
        await desktop.exitCode();
        return picture;
    } finally {
        await desktop.tearDown();
    }
}

module.exports = {create, referencePicture};
