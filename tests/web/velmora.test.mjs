// velmora's page in headless Chromium: its frames against velmora-capture's
// for the same ticks, keys and size, also after the browser took the WebGL
// context away and gave it back, wherever that falls between the ticks and
// with the window resized meanwhile; the page's own timer; q; the keys on a
// touch screen; the page without WebGL.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { readPng } from './png.mjs';
import { compareFrames, isFaithful, describe } from './fidelity.mjs';
import { startBrowser, coldLoadMs, canvasPixels, hostTool, twoFrames, requireWebGL } from './page.mjs';

// Keys typed just before the tick they are listed at, as velmora-capture's
// --keys has them; together they use every key but q.
const scripts = {
  start: {},
  warps: { 5: '+', 20: '++', 33: '-' },
  tumble: { 1: 'g', 30: 'G' },
  zoom: { 3: '<<<', 30: '>' },
  turns: { 1: 's', 2: 'xyz', 20: 'XYZ', 35: 'zzz' },
  // Nothing moves but the colours, so a tick's difference is in colour only.
  frozen: { 1: 'swp' },
};
// Typed into the page only, before tick 5 of every script: characters past
// Latin-1 whose low bytes are '+', 'g' and 's'. They have no byte, so they
// must do nothing; had they acted, the frames would leave the capture's.
const beyondLatin1 = 'īŧų';
const sizes = [[300, 200], [480, 270]];
const checkTicks = [16, 32, 48];

let browser;
let scratch;
before(async () => {
  browser = await startBrowser();
  scratch = mkdtempSync(join(tmpdir(), 'velmora-web-'));
});
after(async () => {
  await browser?.close();
  rmSync(scratch, { recursive: true, force: true });
});

function capture(name, keys, width, height) {
  const out = join(scratch, `${name}-${width}x${height}`);
  const keyList = Object.entries(keys).map(([tick, chars]) => `${tick}:${chars}`).join(',');
  const args = ['--ticks', String(checkTicks.at(-1)), '--size', `${width}x${height}`, '--out', out];
  if (keyList) args.push('--keys', keyList);
  execFileSync(hostTool('velmora-capture'), args, { stdio: 'ignore' });
  return (tick) => readPng(join(out, `frame_${String(tick).padStart(4, '0')}.png`));
}

// The page with the ticks held for the test to run; keypress events are
// counted in window.keypresses. setUp is as for openPage.
async function openHeld(setUp = null) {
  const page = await browser.openPage('velmora.html', {
    beforeLoad: `window.Module = { testHoldTicks: true }; window.keypresses = 0;
                 addEventListener('keypress', () => ++window.keypresses, true);`,
    setUp,
  });
  await requireWebGL(browser, page);
  await page.started();
  await page.evaluate(twoFrames);
  return page;
}

for (const [name, keys] of Object.entries(scripts)) {
  for (const [width, height] of sizes) {
    test(`velmora ${name} at ${width}x${height} matches the Linux capture`, async (t) => {
      const linux = capture(name, keys, width, height);
      const page = await openHeld();
      await page.evaluate(`(() => {
        const frame = document.getElementById('frame');
        frame.style.width = '${width}px';
        frame.style.height = '${height}px';
      })()`);
      await page.waitFor(`document.getElementById('window').width == ${width} &&
                          document.getElementById('window').height == ${height}`);
      for (let tick = 1; tick <= checkTicks.at(-1); ++tick) {
        if (tick === 5) await page.type(beyondLatin1);
        if (keys[tick]) await page.type(keys[tick]);
        assert.equal(await page.evaluate('Module._velmora_test_ticks(1)'), 1);
        if (!checkTicks.includes(tick)) continue;
        const web = await canvasPixels(page, '#window');
        const same = compareFrames(web, linux(tick));
        assert.ok(isFaithful(same), `tick ${tick}: ${describe(same)}`);
        const off = compareFrames(web, linux(tick - 1));
        t.diagnostic(`tick ${tick}: ${describe(same)}; a tick off: ${describe(off)}`);
        assert.ok(!isFaithful(off), `tick ${tick} against tick ${tick - 1} passes: ${describe(off)}`);
      }
      assert.deepEqual(page.console, []);
      await page.close();
    });
  }
}

// The browser taking the drawing away and giving it back, as a graphics
// reset would; each returns once the page has had the event.
const noteShown = "!document.getElementById('nogl').hidden";
const loseContext = `(window.loseContext = Module.drawingCanvas.getContext('webgl')
                       .getExtension('WEBGL_lose_context')).loseContext()`;
async function takeAway(page) {
  await page.evaluate(loseContext);
  await page.waitFor(noteShown);
}
async function giveBack(page) {
  await page.evaluate('loseContext.restoreContext()');
  await page.waitFor(`!(${noteShown})`);
}
const ticker = (page) => async (n) =>
  assert.equal(await page.evaluate(`Module._velmora_test_ticks(${n})`), n);

test('velmora\'s page gets its drawing back after the browser took it, at the right tick', async () => {
  const linux = capture('start', {}, 300, 200);
  const page = await openHeld();
  const tick = ticker(page);
  await tick(10);
  await takeAway(page);
  assert.match(await page.evaluate("document.getElementById('nogl').innerText"), /taken .* away/);
  // The ticks go on while the drawing is away: the cube turns unseen.
  await tick(10);
  await giveBack(page);
  await tick(12);
  const web = await canvasPixels(page, '#window');
  const same = compareFrames(web, linux(32));
  assert.ok(isFaithful(same), `tick 32 after the drawing came back: ${describe(same)}`);
  assert.ok(!isFaithful(compareFrames(web, linux(10))), 'the picture is the one from before the loss');
  // No message box: the loss is no drawing error.
  assert.deepEqual(page.console, []);
  await page.close();
});

test('velmora\'s drawing comes back however its loss and return fall between the ticks', async () => {
  const linux = capture('start', {}, 300, 200);
  const page = await openHeld();
  const tick = ticker(page);
  await tick(20);
  // Lost and given back with no tick between: no tick ever sees it away.
  await takeAway(page);
  await giveBack(page);
  await tick(12);
  let same = compareFrames(await canvasPixels(page, '#window'), linux(32));
  assert.ok(isFaithful(same), `tick 32, no tick while the drawing was away: ${describe(same)}`);
  // Lost in the middle of a tick, which learns of it from the loss's own
  // error at a checkpoint; then several ticks while it is away.
  await page.evaluate(`(() => {
    const gl = Module.drawingCanvas.getContext('webgl');
    gl.clear = (mask) => { delete gl.clear; ${loseContext}; gl.clear(mask); };
  })()`);
  await tick(1);
  await page.waitFor(noteShown);
  await tick(5);
  await giveBack(page);
  await tick(10);
  same = compareFrames(await canvasPixels(page, '#window'), linux(48));
  assert.ok(isFaithful(same), `tick 48, lost within tick 33: ${describe(same)}`);
  assert.deepEqual(page.console, []);
  await page.close();
});

test('a resize while velmora\'s drawing is away: the new size on its return, or the last that works', async () => {
  const linux = capture('start', {}, 480, 270);
  const page = await openHeld();
  const tick = ticker(page);
  const resize = async (width, height) => {
    await page.evaluate(`(() => {
      const frame = document.getElementById('frame');
      frame.style.width = '${width}px';
      frame.style.height = '${height}px';
    })()`);
    await page.waitFor(`document.getElementById('window').width == ${width} &&
                        document.getElementById('window').height == ${height}`);
  };
  await tick(16);
  await takeAway(page);
  await resize(480, 270);
  await tick(4);
  await giveBack(page);
  await tick(12);
  let same = compareFrames(await canvasPixels(page, '#window'), linux(32));
  assert.ok(isFaithful(same), `tick 32 at 480x270, resized while away: ${describe(same)}`);
  // One pixel wider than any surface the browser renders: the picture stays
  // 480 x 270 in the corner, and the rest of the window black.
  const tooWide = 1 + await page.evaluate(`(() => {
    const gl = Module.drawingCanvas.getContext('webgl');
    return Math.min(gl.getParameter(gl.MAX_RENDERBUFFER_SIZE), ...gl.getParameter(gl.MAX_VIEWPORT_DIMS));
  })()`);
  await takeAway(page);
  await resize(tooWide, 270);
  await tick(4);
  await giveBack(page);
  await tick(12);
  const web = await canvasPixels(page, '#window', [480, 270]);
  same = compareFrames(web, linux(48));
  assert.ok(isFaithful(same), `tick 48 in a window ${tooWide} wide: ${describe(same)}`);
  assert.equal(web.lit, 0, 'pixels not black beside the picture');
  assert.deepEqual(page.console, []);
  await page.close();
});

test('velmora ticks by its own timer every 20 ms and q stops it', async (t) => {
  const page = await browser.openPage('velmora.html');
  await requireWebGL(browser, page);
  await page.started();
  // As for wobblet's frame rate: on a busy machine a late tick stretches
  // the interval, so up to three 2 s measurements are taken.
  // The check is on the measured value, not its rounded display (20.96
  // would read as 21.0).
  const intervals = [];
  let perTick = 0;
  for (let attempt = 0; attempt < 3; ++attempt) {
    const first = await page.evaluate('[Module._velmora_tick_count(), performance.now()]');
    await new Promise((r) => setTimeout(r, 2000));
    const second = await page.evaluate('[Module._velmora_tick_count(), performance.now()]');
    perTick = (second[1] - first[1]) / (second[0] - first[0]);
    intervals.push(perTick.toFixed(2));
    t.diagnostic(`${perTick.toFixed(2)} ms a tick over 2 s`);
    if (perTick > 19 && perTick < 21) break;
  }
  assert.ok(perTick > 19 && perTick < 21, `ms a tick, 2 s each: ${intervals.join(', ')}`);
  await page.type('q');
  const stopped = await page.evaluate('Module._velmora_tick_count()');
  await new Promise((r) => setTimeout(r, 300));
  assert.equal(await page.evaluate('Module._velmora_tick_count()'), stopped);
  assert.match(await page.evaluate("document.getElementById('keys').textContent"), /stopped/);
  await page.close();
});

test('velmora\'s page shows its first frame within 1 s from a cold cache', async (t) => {
  const ms = await coldLoadMs(browser, 'velmora.html');
  t.diagnostic(`first frame after ${ms.toFixed(0)} ms`);
  assert.ok(ms < 1000, `${ms.toFixed(0)} ms`);
});

// A phone of the given width in CSS pixels: touch, so a coarse pointer.
const phone = (width) => async (call) => {
  await call('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await call('Emulation.setDeviceMetricsOverride',
             { width, height: 740, deviceScaleFactor: 1, mobile: true });
};

async function tap(page, key) {
  const pressed = await page.evaluate('window.keypresses');
  const { x, y } = await page.evaluate(`(() => {
    const button = [...document.querySelectorAll('#pad button')]
      .find((b) => b.textContent === ${JSON.stringify(key)});
    const box = button.getBoundingClientRect();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  })()`);
  await page.call('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
  await page.call('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await page.waitFor(`window.keypresses == ${pressed + 1}`);
}

const layout = `(() => {
  const box = (element) => element.getBoundingClientRect().toJSON();
  const canvas = document.getElementById('window');
  const buttons = [...document.querySelectorAll('#pad button')];
  return {
    pad: getComputedStyle(document.getElementById('pad')).display,
    keys: buttons.map((b) => b.textContent).join(''),
    rows: new Set(buttons.map((b) => b.getBoundingClientRect().top)).size,
    padTop: Math.min(...buttons.map((b) => b.getBoundingClientRect().top)),
    picture: [canvas.width, canvas.height],
    canvas: box(canvas),
    pageWidth: document.documentElement.scrollWidth,
  };
})()`;

test('on a touch screen a row of keys under the canvas types what the keyboard types', async () => {
  const keys = { 1: 'g', 10: '+', 20: '+' };
  const typed = await openHeld();
  const tapped = await openHeld(phone(360));
  assert.equal((await typed.evaluate(layout)).pad, 'none', 'keys to tap without a touch screen');
  const phoneLayout = await tapped.evaluate(layout);
  assert.equal(phoneLayout.keys, '+-wsg<>xXyYzZq');
  assert.equal(phoneLayout.rows, 1);
  assert.ok(phoneLayout.padTop >= phoneLayout.canvas.bottom, JSON.stringify(phoneLayout));
  assert.deepEqual([phoneLayout.canvas.width, phoneLayout.canvas.height], [300, 200]);
  assert.ok(phoneLayout.pageWidth <= 360, `the page is ${phoneLayout.pageWidth} px wide`);
  for (let tick = 1; tick <= 32; ++tick) {
    if (keys[tick]) {
      await typed.type(keys[tick]);
      for (const key of keys[tick]) await tap(tapped, key);
    }
    assert.equal(await typed.evaluate('Module._velmora_test_ticks(1)'), 1);
    assert.equal(await tapped.evaluate('Module._velmora_test_ticks(1)'), 1);
    if (tick % 16) continue;
    const [a, b] = [await canvasPixels(typed, '#window'), await canvasPixels(tapped, '#window')];
    assert.ok(Buffer.from(a.rgba).equals(Buffer.from(b.rgba)), `tick ${tick}: tapped and typed differ`);
  }
  // Narrower than the window: the window is shown scaled, its picture the
  // same size, and nothing sticks out sideways.
  await phone(280)(tapped.call);
  await tapped.waitFor("document.getElementById('window').getBoundingClientRect().width < 300");
  const narrow = await tapped.evaluate(layout);
  assert.deepEqual(narrow.picture, [300, 200]);
  assert.ok(narrow.pageWidth <= 280, `the page is ${narrow.pageWidth} px wide`);
  assert.ok(Math.abs(narrow.canvas.width / narrow.canvas.height - 1.5) < 0.01, JSON.stringify(narrow));
  assert.deepEqual([...typed.console, ...tapped.console], []);
  await typed.close();
  await tapped.close();
});

test('without WebGL the page says why and what to try, after the message box', async () => {
  const bare = await startBrowser(['--disable-webgl']);
  try {
    const page = await bare.openPage('velmora.html');
    await assert.rejects(requireWebGL(bare, page), /no WebGL/);
    await page.waitFor("!document.getElementById('nogl').hidden");
    assert.ok(page.console.includes('dialog: wglCreateContext: This browser offers no WebGL context ' +
                                    'of 300 x 200 pixels.'), page.console.join('\n'));
    const note = await page.evaluate(`(() => {
      const note = document.getElementById('nogl');
      const [n, c] = [note, document.getElementById('window')].map((e) => e.getBoundingClientRect());
      const overCanvas = n.left == c.left && n.top == c.top && n.width == c.width;
      return { text: note.innerText, overCanvas };
    })()`);
    assert.match(note.text, /no WebGL/);
    assert.match(note.text, /Try .*settings.*another browser/);
    assert.ok(note.overCanvas);
    await page.close();
  } finally {
    await bare.close();
  }
});
