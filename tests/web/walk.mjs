// Walks the browser build of the game in the system's headless Chromium, served on 127.0.0.1
// from a sub-folder, and checks what a player sees and hears:
//   node walk.mjs BUILD_DIR PICTURES_DIR [--figures]
// BUILD_DIR is what scripts/web.sh builds; PICTURES_DIR holds the desktop's reference pictures.
// Every screen is checked by its pixels. Fails with the first broken check, naming it, and
// writes the pictures it took into BUILD_DIR/../build-web-test/.
import http from 'node:http';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, normalize } from 'node:path';
import puppeteer from 'puppeteer-core';
import { brightness, difference, findText, readPng, readPngFile } from './pictures.mjs';

const [buildDir, picturesDir] = process.argv.slice(2);
const showFigures = process.argv.includes('--figures');
if (!buildDir || !picturesDir) {
  console.error('usage: node walk.mjs BUILD_DIR PICTURES_DIR [--figures]');
  process.exit(2);
}
const outDir = join(buildDir, '..', 'build-web-test');
rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });
const reference = (name) => readPngFile(join(picturesDir, name + '.png'));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let step = 'start';
function check(condition, what) {
  if (!condition)
    throw new Error(`${step}: ${what}`);
}

// --- The server: the build in a sub-folder, and a copy of it whose data file is missing.
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.png': 'image/png', '.data': 'application/octet-stream' };
const server = http.createServer((request, response) => {
  const url = new URL(request.url, 'http://127.0.0.1');
  const match = /^\/(games\/skarvold|no-data)\/(.*)$/.exec(url.pathname);
  let name = match ? normalize(match[2] || 'index.html') : null;
  if (name && name.startsWith('..'))
    name = null;
  if (!name || (match[1] === 'no-data' && name === 'skarvold.data')) {
    response.writeHead(404, { 'Content-Type': 'text/plain' });
    response.end('not found');
    return;
  }
  let body;
  try {
    body = readFileSync(join(buildDir, name));
  } catch {
    response.writeHead(404, { 'Content-Type': 'text/plain' });
    response.end('not found');
    return;
  }
  const dot = name.lastIndexOf('.');
  response.writeHead(200, { 'Content-Type': types[name.slice(dot)] || 'application/octet-stream',
    'Content-Length': body.length, 'Cache-Control': 'no-store' });
  response.end(body);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const origin = `http://127.0.0.1:${server.address().port}`;

const profile = mkdtempSync(join(tmpdir(), 'skarvold-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  userDataDir: profile,
  // WebGL on the processor (SwiftShader through ANGLE), asked for by name: left to fall back
  // to it, Chromium warns on the page's console, and each picture read back stalls with more.
  args: ['--no-sandbox', '--enable-unsafe-swiftshader', '--use-angle=swiftshader',
    '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-quic',
    ...(process.env.SKARVOLD_CHROMIUM_FLAGS || '').split(' ').filter(Boolean)],
});
const watchdog = setTimeout(() => {
  console.error(`web walk: ${step}: no end after 240 s`);
  process.exit(1);
}, 240000);

// Everything the page says on its console, and every page error, during a walk.
function listen(page) {
  const said = [];
  page.on('console', (message) => {
    if (['error', 'warn', 'warning', 'assert'].includes(message.type()))
      said.push(`${message.type()}: ${message.text()}`);
  });
  page.on('pageerror', (error) => said.push(`page error: ${error.message}`));
  page.on('requestfailed', (request) => {
    const failure = `request failed: ${request.url()} (${request.failure().errorText}) during ${step}`;
    // Chromium now and then reports the game's data as aborted after its last byte has come
    // (the page reads it as a stream): such a report is set aside, and the menu's first check
    // is instead that the page counted every byte of its files.
    if (request.failure().errorText === 'net::ERR_ABORTED' && step === 'menu')
      said.abortedWhileLoading = (said.abortedWhileLoading || []).concat(failure);
    else
      said.push(failure);
  });
  return said;
}

// Reads the page as a script of its own would, without a user's gesture: puppeteer's
// page.evaluate counts as one, and would let the page's sound start before any key.
async function read(page, fn, arg) {
  if (!page.skarvoldSession)
    page.skarvoldSession = await page.createCDPSession();
  const answer = await page.skarvoldSession.send('Runtime.evaluate', {
    expression: `(${fn})(${arg === undefined ? '' : JSON.stringify(arg)})`,
    returnByValue: true, awaitPromise: true, userGesture: false });
  if (answer.exceptionDetails)
    throw new Error(`${step}: the page threw: ${answer.exceptionDetails.exception?.description}`);
  return answer.result.value;
}

async function open(path) {
  const page = await browser.newPage();
  // Shorter than the page, so that a key that scrolled it would show.
  await page.setViewport({ width: 1000, height: 700 });
  const said = listen(page);
  await page.goto(origin + path);
  return { page, said };
}

async function waitFor(page, what, predicate, timeoutMs) {
  const until = Date.now() + timeoutMs;
  for (;;) {
    const value = await read(page, predicate);
    if (value)
      return value;
    check(Date.now() < until, `${what} did not happen within ${timeoutMs} ms`);
    await sleep(50);
  }
}

let shots = 0;
async function picture(page, name) {
  const box = await (await page.$('#canvas')).boundingBox();
  const png = await page.screenshot({ clip: { x: box.x, y: box.y, width: 800, height: 600 },
    captureBeyondViewport: false });
  writeFileSync(join(outDir, `${String(++shots).padStart(2, '0')}-${name}.png`), png);
  return readPng(Buffer.from(png));
}

const whole = { x: 0, y: 0, w: 800, h: 600 };
const verbose = Boolean(process.env.SKARVOLD_WEB_VERBOSE);
// Compares regions of a picture with a reference, each within its tolerance of mean
// difference and share of far pixels. A region is one line of text or one thing: WebGL places
// a texture whose corner falls on a half pixel (a centred text of odd width) one pixel to the
// side of where the desktop's software renderer puts it, so each region may lie a pixel off;
// the whole picture may not.
function expectLike(shot, ref, regions, what) {
  for (const [name, region, mean, share] of regions) {
    const d = difference(shot, ref, region, 48, region === whole ? 0 : 1);
    if (verbose)
      console.log(`  ${what}: ${name}: mean ${d.mean.toFixed(2)}, far ${(d.share * 100).toFixed(2)} %`);
    check(d.mean <= mean && d.share <= share, `${what}: ${name} differs from the reference ` +
      `(mean ${d.mean.toFixed(2)} > ${mean} or far pixels ${(d.share * 100).toFixed(2)} % > ` +
      `${share * 100} %)`);
  }
}

// Waits until the canvas shows what `test` accepts; answers the picture.
async function waitForPicture(page, name, test, timeoutMs) {
  const until = Date.now() + timeoutMs;
  let last;
  for (;;) {
    last = await picture(page, name);
    let failure = null;
    try {
      test(last);
    } catch (error) {
      failure = error;
    }
    if (!failure)
      return last;
    if (Date.now() >= until)
      throw failure;
    await sleep(100);
  }
}

const figures = {};
const page0 = await open('/games/skarvold/');
const { page, said } = page0;
try {
  // --- The menu, as the desktop draws it.
  // WebGL draws the same textures as the desktop's software renderer, but blends their edges
  // (the texts' anti-aliased glyphs, the sprites' soft borders) with its own rounding, a level
  // or two apart, and a few glyph edge pixels further. So each region is held to a small mean
  // difference and a small share of far pixels; the backdrop, an opaque picture, to less.
  // The menu does not move: nothing in it is animated.
  step = 'menu';
  const openedAt = Date.now();
  await waitFor(page, 'the first picture', () => window.skarvoldPage.firstPictureAt, 60000);
  figures.firstPictureMs = await read(page, () => window.skarvoldPage.firstPictureAt);
  const bytes = await read(page, () => [window.skarvoldPage.loaded, window.skarvoldPage.total]);
  const sizes = ['skarvold.js', 'skarvold.wasm', 'skarvold.data']
    .reduce((sum, name) => sum + readFileSync(join(buildDir, name)).length, 0);
  check(bytes[0] === sizes && bytes[1] === sizes,
    `the page counted ${bytes[0]} of ${bytes[1]} bytes, the files have ${sizes}`);

  figures.firstPictureWallMs = Date.now() - openedAt;
  const menuRegions = [
    ['the whole menu', whole, 1, 0.008],
    ['the backdrop (planet)', { x: 1, y: 260, w: 210, h: 339 }, 0.5, 0.001],
    ['the title', { x: 220, y: 15, w: 360, h: 75 }, 1, 0.005],
    ['"Controls:"', { x: 350, y: 118, w: 100, h: 27 }, 2, 0.01],
    ['"Arrow Keys: Movement"', { x: 330, y: 150, w: 140, h: 20 }, 2, 0.01],
    ['"Left Control: Fire/Select Menu"', { x: 310, y: 170, w: 180, h: 20 }, 2, 0.01],
    ['"Escape: Exit to menu"', { x: 335, y: 190, w: 130, h: 20 }, 2, 0.01],
    // Wide enough for the chosen item's larger letters.
    ['PLAY', { x: 320, y: 298, w: 160, h: 46 }, 2, 0.01],
    ['HISCORE', { x: 300, y: 348, w: 200, h: 46 }, 2, 0.01],
    ['QUIT', { x: 330, y: 408, w: 140, h: 44 }, 2, 0.01],
    ['the first credit', { x: 240, y: 515, w: 320, h: 18 }, 2, 0.01],
    ['the first address', { x: 320, y: 533, w: 160, h: 14 }, 2, 0.01],
    ['the second credit', { x: 315, y: 556, w: 170, h: 18 }, 2, 0.01],
    ['the second address', { x: 315, y: 574, w: 170, h: 14 }, 2, 0.01],
  ];
  const menu = reference('menu');
  await waitForPicture(page, 'menu', (shot) => expectLike(shot, menu, menuRegions, 'menu'), 8000);
  const start = await read(page, () => ({
    focused: document.activeElement && document.activeElement.id,
    hint: !document.getElementById('sound-hint').hidden,
    audio: window.Module.SDL2 && window.Module.SDL2.audioContext
      ? window.Module.SDL2.audioContext.state : 'none',
    peak: window.Module._skarvold_mix_peak(),
    favicon: document.querySelector('link[rel=icon]').href,
  }));
  check(start.focused === 'canvas', `the canvas has not the focus but ${start.focused}`);
  check(start.hint, 'no hint "Press any key or click for sound" before sound runs');
  check(start.audio === 'suspended', `the audio context is ${start.audio} before any key`);
  check(start.peak === 0, `the mixer sounded (peak ${start.peak}) before the browser let it`);
  const favicon = await read(page, async (url) => (await fetch(url)).status, start.favicon);
  check(favicon === 200, `the favicon answers ${favicon}`);
  figures.memory = await read(page, () => ({ wasm: window.Module.HEAP8.length }));
  const heap = await page.skarvoldSession.send('Runtime.getHeapUsage');
  figures.memory.jsHeap = heap.usedSize;
  // Array buffers (the wasm memory among them, the data set's files) lie outside that heap.
  figures.memory.buffers = heap.backingStorageSize || 0;

  // --- The first key starts the sound; the menu's music comes out of the mixer.
  step = 'sound';
  await page.keyboard.press('ArrowDown');
  await waitFor(page, 'the audio context running after a key',
    () => window.Module.SDL2.audioContext.state === 'running', 2000);
  let peak = 0;
  for (let i = 0; i < 20 && peak < 1000; ++i) {
    await sleep(100);
    peak = Math.max(peak, await read(page, () => window.Module._skarvold_mix_peak()));
  }
  check(peak >= 1000, `the mixer's output stays near silence (peak ${peak} of 32767)`);
  figures.mixPeak = peak;
  await waitFor(page, 'the sound hint going',
    () => document.getElementById('sound-hint').hidden, 1000);

  // --- HISCORE is chosen by that key; Control opens the page, Space closes it.
  step = 'hiscore';
  await waitForPicture(page, 'menu-hiscore-selected', (shot) =>
    expectLike(shot, reference('menu-hiscore-selected'), menuRegions, 'HISCORE chosen'), 5000);
  await page.keyboard.press('ControlLeft');
  // The rows fade in one after another.
  const hiscoreRegions = [
    ['the whole page', whole, 2.5, 0.012],
    ['"Hiscore:"', { x: 335, y: 135, w: 130, h: 36 }, 2, 0.01],
    ['the names', { x: 250, y: 188, w: 100, h: 205 }, 2, 0.01],
    ['the scores', { x: 480, y: 188, w: 40, h: 205 }, 2, 0.01],
    ['the way back', { x: 230, y: 548, w: 340, h: 28 }, 2, 0.01],
  ];
  await waitForPicture(page, 'hiscore', (shot) =>
    expectLike(shot, reference('hiscore'), hiscoreRegions, 'the hiscore page'), 8000);
  await page.keyboard.press('Space');
  await waitForPicture(page, 'menu-again', (shot) =>
    expectLike(shot, reference('menu-hiscore-selected'), menuRegions, 'back from hiscores'), 5000);

  // --- PLAY: "GET READY!" over the play field, the ship at its start.
  step = 'get ready';
  await page.keyboard.press('ArrowUp');
  await waitForPicture(page, 'menu-play-selected', (shot) =>
    expectLike(shot, menu, menuRegions, 'PLAY chosen again'), 5000);
  await page.keyboard.press('ControlLeft');
  const getReady = reference('get-ready');
  const banner = { x: 260, y: 275, w: 285, h: 55 };
  const shipAtStart = { x: 368, y: 512, w: 64, h: 58 };
  const sky = { x: 0, y: 40, w: 800, h: 220 };
  // The banner blinks; the ship's engines flicker.
  await waitForPicture(page, 'get-ready', (shot) => expectLike(shot, getReady, [
    ['the banner', banner, 6, 0.04], ['the ship at its start', shipAtStart, 14, 0.12],
    ['the sky', sky, 1.5, 0.003]], '"GET READY!"'), 2500);

  // --- Play: shots fly up from the ship while Control is held.
  step = 'play';
  // Shots fly 800 pixels a second, some 180 apart: the column above the ship holds two or
  // more, above and below the blinking banner.
  const aboveShip = [{ x: 385, y: 60, w: 30, h: 210 }, { x: 385, y: 335, w: 30, h: 165 }];
  await page.keyboard.down('ControlLeft');
  await sleep(150);
  await waitForPicture(page, 'firing', (shot) => {
    const far = aboveShip.reduce((sum, region) => sum + difference(shot, getReady, region).share, 0);
    check(far > 0.01, `no shot above the ship while firing (far pixels ${(far * 100).toFixed(2)} %)`);
  }, 3000);
  await page.keyboard.up('ControlLeft');
  // The ship glides left while the left arrow is held: its bright hull is looked for along the
  // bottom of the picture.
  await page.keyboard.down('ArrowLeft');
  await sleep(700);
  await page.keyboard.up('ArrowLeft');
  await sleep(300);
  const moved = await picture(page, 'moved');
  const hull = (r, g, b) => r + g + b > 360;
  const ship = findText(moved, getReady, shipAtStart, hull, 360, 12);
  if (verbose)
    console.log(`  moved: the ship: mean ${ship.mean.toFixed(2)} over ${ship.pixels} pixels at ${ship.dx}, ${ship.dy}`);
  check(ship.mean <= 30, `no ship along the bottom (its pixels differ by ${ship.mean.toFixed(1)})`);
  check(ship.dx <= -40, `the ship did not fly left (${ship.dx} pixels)`);

  // --- Hidden during play, early, while no enemy is near: the pause as Escape makes it, and no
  // world time while away.
  step = 'hidden';
  // The prompt shakes with the screen, and the pause holds the shake where it stood: its
  // orange and red letters are looked for within 16 pixels of their place in the reference.
  const prompt = { x: 180, y: 288, w: 440, h: 62 };
  const pause = reference('pause');
  const promptLetters = (r, g, b) => r > 150 && g < 140 && b < 110;
  const promptFound = (shot) => findText(shot, pause, prompt, promptLetters, 16);
  const expectPrompt = (shot, what) => {
    const found = promptFound(shot);
    if (verbose)
      console.log(`  ${what}: the leave prompt: mean ${found.mean.toFixed(2)} over ${found.pixels} pixels at ${found.dx}, ${found.dy}`);
    check(found.mean <= 25, `${what}: no leave prompt (its letters differ by ${found.mean.toFixed(1)})`);
  };
  // Another tab comes to the front for two seconds. The world's time runs on only until the
  // page is hidden, a moment that a busy machine can stretch to a few hundred milliseconds.
  const other = await browser.newPage();
  await page.bringToFront();
  const beforeHiding = await read(page, () => window.Module._skarvold_game_time());
  await other.bringToFront();
  check(await read(page, () => document.visibilityState) === 'hidden', 'the page is not hidden');
  await sleep(2000);
  await page.bringToFront();
  await other.close();
  const afterHiding = await read(page, () => window.Module._skarvold_game_time());
  check(afterHiding - beforeHiding < 600, `the world's time ran while the page was hidden ` +
    `(${afterHiding - beforeHiding} ms of about 2000)`);
  await waitForPicture(page, 'back-from-hidden', (shot) => expectPrompt(shot, 'back on the page'), 5000);
  await sleep(300);
  check(await read(page, () => window.Module._skarvold_game_time()) === afterHiding,
    'the game was not paused on return');
  // Escape plays on.
  await page.keyboard.press('Escape');
  await waitForPicture(page, 'resumed', (shot) => {
    const found = promptFound(shot);
    if (verbose)
      console.log(`  resumed: the leave prompt: mean ${found.mean.toFixed(2)}`);
    check(found.mean > 40, `the leave prompt stays after the second Escape (${found.mean.toFixed(1)})`);
  }, 2000);

  step = 'play on';
  // Three seconds of play, steering and firing, without pictures taken, for the frame times.
  await read(page, () => window.Module._skarvold_forget_passes());
  await page.keyboard.down('ArrowRight');
  await page.keyboard.down('ControlLeft');
  await sleep(3000);
  await page.keyboard.up('ArrowRight');
  await page.keyboard.up('ControlLeft');
  figures.passes = await read(page, () => {
    const work = [], interval = [];
    const count = window.Module._skarvold_timed_passes();
    for (let i = 1; i < count; ++i) {
      work.push(window.Module._skarvold_pass_work(i));
      interval.push(window.Module._skarvold_pass_interval(i));
    }
    return { work, interval };
  });
  check(figures.passes.work.length >= 60,
    `the loop ran only ${figures.passes.work.length} passes in 3 s of play`);

  // --- Escape: the leave prompt over the dimmed play field; the world's time stands.
  step = 'pause';
  await page.keyboard.press('Escape');
  const paused = await waitForPicture(page, 'pause', (shot) => expectPrompt(shot, 'Escape'), 5000);
  check(brightness(paused, sky) < brightness(moved, sky) * 0.5, 'the play field is not dimmed');
  const pausedAt = await read(page, () => window.Module._skarvold_game_time());
  await sleep(500);
  const stillAt = await read(page, () => window.Module._skarvold_game_time());
  check(stillAt === pausedAt, `the world's time ran while paused (${pausedAt} to ${stillAt} ms)`);

  // --- Space leaves to the menu (a score this small enters no table).
  step = 'leave';
  await page.keyboard.press('Space');
  await waitForPicture(page, 'menu-after-play', (shot) =>
    expectLike(shot, menu, menuRegions, 'the menu after play'), 8000);
  const scrolling = await read(page, () => [window.scrollY,
    document.documentElement.scrollHeight - window.innerHeight]);
  check(scrolling[1] > 0, 'the page fits its window, so no key could have scrolled it');
  check(scrolling[0] === 0, `the keys scrolled the page by ${scrolling[0]} pixels`);

  // --- QUIT, where the desktop closes its window: the page offers to start again.
  step = 'quit';
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ControlLeft');
  await waitFor(page, 'the page offering to play again', () =>
    window.skarvoldPage.state === 'ended' && !document.getElementById('again').hidden, 3000);
  await sleep(300);
  await page.click('#again');
  await waitFor(page, 'the game starting again', () => window.skarvoldPage.state === 'playing', 10000);
  await waitForPicture(page, 'menu-restarted', (shot) =>
    expectLike(shot, menu, menuRegions, 'the menu after starting again'), 10000);
  check(await read(page, () => document.activeElement.id) === 'canvas',
    'the canvas has not the focus after starting again');
  await page.keyboard.press('ControlLeft');
  await waitForPicture(page, 'get-ready-again', (shot) => expectLike(shot, getReady, [
    ['the banner', banner, 6, 0.04]], 'PLAY after starting again'), 2500);

  step = 'console';
  check(said.length === 0, `the page said:\n  ${said.join('\n  ')}`);
  await page.close();

  // --- A data file missing from the server: one sentence, not a blank canvas.
  step = 'missing data';
  const broken = await open('/no-data/');
  const sentence = await waitFor(broken.page, 'the sentence on the missing file',
    () => window.skarvoldPage.state === 'failed' && document.getElementById('message').textContent,
    20000);
  check(/skarvold\.data could not be loaded/.test(sentence), `the page says: ${sentence}`);
  check(await read(broken.page, () => !document.getElementById('cover').hidden),
    'the sentence is not shown');
  await broken.page.close();
} catch (error) {
  console.error(`web walk failed: ${error.message}`);
  if (said.length)
    console.error(`the page said:\n  ${said.join('\n  ')}`);
  console.error(`pictures in ${outDir}`);
  process.exitCode = 1;
} finally {
  clearTimeout(watchdog);
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}

if (process.exitCode !== 1) {
  const percentile = (values, p) => {
    const sorted = [...values].sort((a, b) => a - b);
    return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
  };
  const { work, interval } = figures.passes;
  console.log(`web walk: passed (menu's first picture ${figures.firstPictureMs.toFixed(0)} ms ` +
    `after opening the page)`);
  if (showFigures) {
    console.log(`  passes in play: ${work.length}; work per pass median ` +
      `${percentile(work, 0.5).toFixed(2)} ms, 99th pct ${percentile(work, 0.99).toFixed(2)} ms; ` +
      `time between passes median ${percentile(interval, 0.5).toFixed(2)} ms, 99th pct ` +
      `${percentile(interval, 0.99).toFixed(2)} ms`);
    console.log(`  memory in the menu: wasm ${(figures.memory.wasm / 1048576).toFixed(1)} MiB, ` +
      `JavaScript heap ${(figures.memory.jsHeap / 1048576).toFixed(1)} MiB, array buffers in all ` +
      `${(figures.memory.buffers / 1048576).toFixed(1)} MiB; mixer peak ${figures.mixPeak}`);
  }
}
