// The player's scenario, written once and run on every target by a driver of its own: the window and its
// title, the starting field, a held Right, Space, = and -, and a close request ending the game with exit
// code 0. Each step is a test of its own that sets up what it needs, so any one runs alone:
//
//   SCENARIO_TARGET=desktop node --test --test-name-pattern='held Right' tests/scenario/scenario.js
//
// SCENARIO_TARGET    desktop, package, windows (x11.js); xwayland, wayland, no-x (wayland.js); web (web.js)
// SCENARIO_GAME_DIR  the build folder to play (the desktop build, the Windows build, the web build)
// SCENARIO_XPROBE    tests/xprobe from the desktop build, which reads the field off the pictures
// SCENARIO_REFERENCE a desktop build whose first picture this target's must match (optional)
// SCENARIO_WORK      where pictures and logs go (a fresh temporary folder otherwise)
'use strict';
const {test, before, after} = require('node:test');
const assert = require('node:assert/strict');
const tools = require('./tools');
const x11 = require('./x11');

const target = process.env.SCENARIO_TARGET || 'desktop';
const drivers = {desktop: './x11', package: './x11', windows: './x11', xwayland: './wayland',
    wayland: './wayland', 'no-x': './wayland', web: './web'};
if (!drivers[target]) throw new Error(`no target ${target}`);
const driver = require(drivers[target]).create(target);
let start;
let reference;

before(async () => {
    await driver.setUp();
    // First, while no other window bears the game's title.
    if (process.env.SCENARIO_REFERENCE) {
        reference = await x11.referencePicture(process.env.SCENARIO_REFERENCE, driver.work);
    }
    await driver.start();
    // A few frames drawn.
    await tools.sleep(1500);
    start = tools.positions(await driver.grab('start'));
}, {timeout: 180000});

after(() => driver.tearDown());

// Holds a key until a picture shows its effect; a loaded machine draws few frames, and each moves a
// fixed step. The last positions seen.
async function holdUntil(key, effect, ms = 10000) {
    await driver.keyDown(key);
    try {
        for (const end = Date.now() + ms; ;) {
            const seen = tools.positions(await driver.grab(key));
            if (effect(seen) || Date.now() > end) return seen;
            await tools.sleep(300);
        }
    } finally {
        await driver.keyUp(key);
    }
}

// Holds a key for a moment, as a player taps it, and lets a few frames draw.
async function press(key, ms = 300) {
    await driver.keyDown(key);
    await tools.sleep(ms);
    await driver.keyUp(key);
    await tools.sleep(500);
    return tools.positions(await driver.grab(key));
}

test('the window is titled SkellanWindow, with an 800x600 client area', async () => {
    assert.deepEqual(await driver.window(), {title: 'SkellanWindow', width: 800, height: 600});
});

test('the starting field shows its bricks, ball and paddle', async () => {
    const picture = await driver.grab('field');
    tools.probe('field', picture, ...(reference ? [reference] : []));
    if (reference && driver.sameRenderer) tools.probe('same', reference, picture, '2');
    else if (reference) tools.probe('sky', reference, picture);
});

for (const [name, check] of driver.steps) test(name, () => check(assert));

test('a held Right carries paddle and ball right', async () => {
    const before = tools.positions(await driver.grab('before-right'));
    const moved = (p) => p.paddle > before.paddle && p.ball && p.ball.x > before.ball.x;
    const seen = await holdUntil('Right', moved);
    assert.ok(moved(seen), `from ${JSON.stringify(before)} to ${JSON.stringify(seen)}`);
});

test('a held Space launches the ball', async () => {
    const before = tools.positions(await driver.grab('before-space'));
    assert.ok(before.ball, 'the ball rests on the paddle');
    // Off the paddle, or already out of the low part of the field.
    const launched = (p) => !p.ball || p.ball.y < before.ball.y - 2;
    const seen = await holdUntil('Space', launched);
    assert.ok(launched(seen), `ball y ${before.ball.y} -> ${seen.ball && seen.ball.y}`);
});

test('a held = or - puts ball and paddle back where they started', async () => {
    // - first, at the lowest speed; after =, - held longer brings the speed down again, so that a held
    // Right does not carry the paddle out of sight before a picture shows it.
    for (const key of ['Minus', 'Equal']) {
        await holdUntil('Right', (p) => p.paddle > start.paddle);
        assert.deepEqual(await press(key), start, `after ${key}`);
    }
    await press('Minus', 1000);
});

test('a close request ends the game with exit code 0', async () => {
    await driver.requestClose();
    assert.equal(await driver.exitCode(), 0, driver.log());
});

test('alt+F4 ends the game with exit code 0', {skip: !driver.altF4 && 'no alt+F4 here'}, async () => {
    await driver.end();
    await driver.start();
    await tools.sleep(1000);
    await driver.pressAltF4();
    assert.equal(await driver.exitCode(), 0, driver.log());
});

for (const [name, check] of driver.laterSteps || []) test(name, () => check(assert));
