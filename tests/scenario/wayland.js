// The desktop game on a real Wayland compositor: sway, headless (no screen, no GPU, no input devices),
// with a keyboard of the tests' own (SCENARIO_KEYBOARD: tests/wayland/virtualkeyboard.c, which
// scripts/test-wayland builds). Three ways, each in a sway of its own:
//   xwayland  the game as an X client of Xwayland (SDL's choice where DISPLAY is set);
//   wayland   SDL_VIDEODRIVER=wayland with DISPLAY set as well: no X connection may be opened, and keys
//             held while an X window has the focus must not reach the game;
//   no-x      DISPLAY unset, in a sway without Xwayland: no X server at all.
// sway refuses root, so run as root everything runs as nobody.
'use strict';
const childProcess = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const tools = require('./tools');

const keys = {Right: 106, Space: 57, Equal: 13, Minus: 12};
const asRoot = process.getuid() === 0;

function create(way) {
    const session = fs.mkdtempSync('/tmp/bricks3d-wayland-');
    const home = path.join(session, 'home');
    const run = path.join(session, 'run');
    const pictures = path.join(session, 'pictures');
    const game = path.join(session, 'game');
    let sway = null;
    let keyboard = null;
    let child = null;
    let xDisplay = null;
    let wayland = {};
    const shell = way === 'xwayland' ? 'xwayland' : 'xdg_shell';

    // A command in the session, as the unprivileged user when run as root.
    const user = (args, env = {}) => {
        const command = ['env', '-i', 'PATH=/usr/bin:/bin', `HOME=${home}`, `XDG_RUNTIME_DIR=${run}`,
            ...Object.entries({...wayland, ...env}).map(([k, v]) => `${k}=${v}`), ...args];
        return asRoot ? ['setpriv', '--reuid=65534', '--regid=65534', '--clear-groups', ...command] : command;
    };
    const spawn = (args, env, log) => {
        const [program, ...rest] = user(args, env);
        return tools.start(program, rest, {cwd: game, log: log && path.join(session, log)});
    };
    const output = (...args) => {
        const [program, ...rest] = user(args);
        return tools.output(program, rest);
    };
    // The game's node in sway's tree.
    const node = () => {
        const find = (n) => (n.name === 'SkellanWindow' && n.shell ? n :
            [...(n.nodes || []), ...(n.floating_nodes || [])].map(find).find(Boolean));
        const tree = output('swaymsg', '-t', 'get_tree');
        return tree && find(JSON.parse(tree));
    };
    const send = async (line) => {
        keyboard.stdin.write(`${line}\n`);
        await tools.sleep(50);
    };

    const driver = {
        work: session,
        altF4: false,
        sameRenderer: true,
        async setUp() {
            for (const dir of [home, run, pictures, game]) fs.mkdirSync(dir, {recursive: true, mode: 0o700});
            fs.chmodSync(session, 0o755);
            fs.chmodSync(game, 0o755);
            const build = process.env.SCENARIO_GAME_DIR;
            for (const f of ['bricks3d', 'skybox', 'PRES4YA.wav']) {
                fs.cpSync(path.join(build, f), path.join(game, f), {recursive: true});
            }
            const config = [`xwayland ${way === 'no-x' ? 'disable' : 'enable'}`,
                'for_window [title="SkellanWindow"] floating enable',
                `exec sh -c 'echo "$DISPLAY" >"$HOME/display"'`];
            fs.writeFileSync(path.join(session, 'config'), config.join('\n') + '\n');
            if (asRoot) {
                for (const dir of [home, run, pictures]) fs.chownSync(dir, 65534, 65534);
                // Xwayland puts its socket there; made here so that it is not the unprivileged user's.
                fs.mkdirSync('/tmp/.X11-unix', {recursive: true, mode: 0o1777});
            }
            sway = spawn(['sway', '-c', path.join(session, 'config')], {WLR_BACKENDS: 'headless',
                WLR_RENDERER: 'pixman', WLR_LIBINPUT_NO_DEVICES: '1', WLR_HEADLESS_OUTPUTS: '1'}, 'sway.log');
            await tools.waitFor('sway', 20000, () => fs.existsSync(path.join(home, 'display')) &&
                fs.readdirSync(run).some((f) => f.startsWith('sway-ipc.')));
            const socket = fs.readdirSync(run).find((f) => f.startsWith('sway-ipc.'));
            wayland = {WAYLAND_DISPLAY: fs.readdirSync(run).find((f) => /^wayland-\d$/.test(f)),
                SWAYSOCK: path.join(run, socket)};
            xDisplay = fs.readFileSync(path.join(home, 'display'), 'utf8').trim();
            const [program, ...rest] = user([process.env.SCENARIO_KEYBOARD]);
            keyboard = childProcess.spawn(program, rest, {stdio: ['pipe', 'pipe', 'inherit']});
            let said = '';
            keyboard.stdout.on('data', (d) => (said += d));
            await tools.waitFor('virtual keyboard', 5000, () => said.includes('ready'), 100);
        },
        async start() {
            const env = {SDL_AUDIODRIVER: 'dummy', ...(way === 'no-x' ? {} : {DISPLAY: xDisplay}),
                ...(way === 'wayland' ? {SDL_VIDEODRIVER: 'wayland'} : {})};
            child = spawn(['./bricks3d'], env, 'game.log');
            await tools.waitFor('window in sway\'s tree', 30000, () => node());
        },
        async window() {
            const n = node();
            return {title: n.name, width: n.window_rect.width, height: n.window_rect.height};
        },
        async grab(name) {
            const n = node();
            const file = path.join(pictures, `${way}-${name}.ppm`);
            const at = `${n.rect.x + n.window_rect.x},${n.rect.y + n.window_rect.y} 800x600`;
            if (output('grim', '-g', at, '-t', 'ppm', file) === null) throw new Error(`no picture of ${at}`);
            return file;
        },
        keyDown: (key) => send(`down ${keys[key]}`),
        keyUp: (key) => send(`up ${keys[key]}`),
        async requestClose() {
            output('swaymsg', '[title="SkellanWindow"] kill');
        },
        exitCode: () => tools.gameExit(child),
        end: () => tools.endGame(child),
        log: () => fs.readFileSync(path.join(session, 'game.log'), 'utf8'),
        async tearDown() {
            tools.kill(child);
            if (keyboard) keyboard.kill('SIGKILL');
            tools.kill(sway);
            if (sway) await sway.exited;
            if (process.env.SCENARIO_WORK) fs.cpSync(pictures, process.env.SCENARIO_WORK, {recursive: true});
            fs.rmSync(session, {recursive: true, force: true});
        },
        steps: [
            [`sway shows it as a floating ${shell} window`, (assert) => {
                const n = node();
                assert.deepEqual([n.shell, n.type], [shell, 'floating_con']);
            }],
            ['the game says nothing of its display', (assert) => {
                assert.doesNotMatch(driver.log(), /display|freeglut/i);
            }],
        ],
    };
    if (way === 'wayland') {
        driver.steps.push(['the game opens no X connection', (assert) => {
            // This sway starts Xwayland at its first X client only.
            assert.equal(tools.output('pgrep', ['-f', `^Xwayland ${xDisplay} `]), null, 'Xwayland runs');
        }], ['keys held while an X window has the focus do not reach the game', async (assert) => {
            const before = tools.positions(await driver.grab('before-elsewhere'));
            const other = spawn(['xev', '-name', 'elsewhere'], {DISPLAY: xDisplay});
            try {
                await tools.waitFor('focus elsewhere', 5000, () => !node().focused, 100);
                await driver.keyDown('Right');
                await tools.sleep(1000);
                await driver.keyUp('Right');
                await tools.sleep(300);
                assert.equal(tools.positions(await driver.grab('elsewhere')).paddle, before.paddle);
                assert.equal(node().focused, false);
            } finally {
                tools.kill(other);
                output('swaymsg', '[title="SkellanWindow"] focus');
                await tools.sleep(300);
            }
        }]);
    }
    return driver;
}

module.exports = {create};
