// What the drivers share: waiting, child processes with bounded waits, and the probe that reads the
// field off a picture (tests/xprobe, built with the desktop game).
'use strict';
const {spawn, execFileSync} = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A folder for the run's pictures and logs.
function workFolder(name) {
    const dir = process.env.SCENARIO_WORK || fs.mkdtempSync(path.join(os.tmpdir(), `scenario-${name}-`));
    fs.mkdirSync(dir, {recursive: true});
    return dir;
}

// A child whose output goes to a log; exited resolves to its exit code (or signal name).
function start(command, args, {cwd, env, log} = {}) {
    const out = log ? fs.openSync(log, 'w') : 'ignore';
    const child = spawn(command, args, {cwd, env: {...process.env, ...env}, stdio: ['ignore', out, out]});
    child.exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve(code ?? signal)));
    child.on('error', () => {});
    return child;
}

// The child's exit code, or null when it has not ended within ms.
async function exitWithin(child, ms) {
    let timer;
    const late = new Promise((resolve) => (timer = setTimeout(resolve, ms, null)));
    return Promise.race([child.exited, late]).finally(() => clearTimeout(timer));
}

// Whether a child has ended: one that a signal ended (an abort) has no exit code.
function ended(child) {
    return child.exitCode !== null || child.signalCode !== null;
}

// SIGKILL: the game's SDL catches SIGTERM.
function kill(child) {
    if (child && !ended(child)) child.kill('SIGKILL');
}

// A driver's game: its exit code within 30 s (null when it has not ended), gone either way.
async function gameExit(child) {
    const code = await exitWithin(child, 30000);
    kill(child);
    return code;
}

// Ends a game still running.
async function endGame(child) {
    kill(child);
    if (child) await child.exited;
}

// Polls until fn returns something truthy; throws `what` after ms.
async function waitFor(what, ms, fn, every = 200) {
    for (const end = Date.now() + ms; ;) {
        const value = await fn();
        if (value) return value;
        if (Date.now() > end) throw new Error(`no ${what} within ${ms / 1000} s`);
        await sleep(every);
    }
}

const quiet = {encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'], timeout: 30000};

// A command's output, or null when it fails.
function output(command, args) {
    try {
        return execFileSync(command, args, quiet);
    } catch (e) {
        return null;
    }
}

// tests/xprobe COMMAND ARGS...: its output; throws with what it said when it fails.
function probe(...args) {
    const xprobe = process.env.SCENARIO_XPROBE;
    if (!xprobe) throw new Error('SCENARIO_XPROBE names no probe (tests/xprobe in the desktop build)');
    try {
        return execFileSync(xprobe, args, quiet);
    } catch (e) {
        throw new Error(`xprobe ${args.join(' ')}: ${e.stdout || ''}${e.stderr || e.message}`);
    }
}

// Where the paddle and the ball are in a picture (pixels); ball null when it is not low on the field.
function positions(picture) {
    const paddle = Number(probe('paddle', picture));
    const ball = output(process.env.SCENARIO_XPROBE, ['ball', picture]);
    const [x, y] = ball ? ball.trim().split(' ').map(Number) : [];
    return {paddle, ball: ball ? {x, y} : null};
}

// An X server of the run's own on a free display; resolves to {display, server, state}, state() saying
// whether the server still runs, with its log once it has ended.
async function startXvfb(dir, ...options) {
    const file = path.join(dir, `display-${process.pid}-${Date.now()}`);
    const fd = fs.openSync(file, 'w');
    const log = fs.openSync(`${file}.log`, 'w');
    const server = spawn('Xvfb', ['-displayfd', String(3), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp',
        ...options], {stdio: ['ignore', log, log, fd]});
    fs.closeSync(fd);
    fs.closeSync(log);
    const number = await waitFor('Xvfb', 10000, () => fs.readFileSync(file, 'utf8').trim(), 100);
    const state = () => (!ended(server) ? `Xvfb :${number} was running` :
        `Xvfb :${number} had ended (${server.exitCode ?? server.signalCode}): ${fs.readFileSync(`${file}.log`)}`);
    return {display: `:${number}`, server, state};
}

module.exports = {sleep, workFolder, start, ended, kill, gameExit, endGame, waitFor, output, probe, positions, startXvfb};
