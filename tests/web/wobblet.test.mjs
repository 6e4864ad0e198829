// wobblet's page in headless Chromium: every frame equals wobblet-capture's,
// also after the canvas comes back empty, and the page's refresh runs it at
// the display's 60 frames a second.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { readPng } from './png.mjs';
import { startBrowser, coldLoadMs, hostTool } from './page.mjs';

const kFrames = 400;

let browser;
let scratch;
before(async () => {
  browser = await startBrowser();
  scratch = mkdtempSync(join(tmpdir(), 'wobblet-web-'));
});
after(async () => {
  await browser?.close();
  rmSync(scratch, { recursive: true, force: true });
});

// The canvas's red-green-blue-alpha bytes, hashed in the page: 400 full
// screens need not cross the protocol.
const canvasHash = `(async () => {
  const canvas = document.getElementById('window');
  const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  const digest = await crypto.subtle.digest('SHA-256', data);
  return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, '0')).join('');
})()`;

test(`wobblet frames 1 to ${kFrames} equal the Linux capture`, async (t) => {
  const out = join(scratch, 'frames');
  execFileSync(hostTool('wobblet-capture'), ['--frames', String(kFrames), '--out', out],
               { stdio: 'ignore' });
  const page = await browser.openPage('wobblet.html', {
    beforeLoad: 'window.Module = { testHoldFrames: true };',
  });
  await page.started();
  const mismatched = [];
  let firstPut = 0;
  for (let frame = 1; frame <= kFrames; ++frame) {
    assert.equal(await page.evaluate('Module._wobblet_test_frames(1)'), 1);
    if (frame === 1) firstPut = await page.evaluate('Module.pixelsPut');
    const linux = readPng(join(out, `frame_${String(frame).padStart(4, '0')}.png`));
    assert.equal(linux.width, 800);
    assert.equal(linux.height, 600);
    const expected = createHash('sha256').update(linux.rgba).digest('hex');
    if ((await page.evaluate(canvasHash)) !== expected) mismatched.push(frame);
  }
  assert.deepEqual(mismatched, [], `frames that differ from the capture: ${mismatched.join(' ')}`);
  // The first present puts the whole screen; after it, only what changed,
  // which lies within the composite's 320 x 360 pixels.
  assert.equal(firstPut, 800 * 600);
  const perFrame = ((await page.evaluate('Module.pixelsPut')) - firstPut) / (kFrames - 1);
  t.diagnostic(`${perFrame.toFixed(0)} pixels put a frame after the first`);
  assert.ok(perFrame <= 320 * 360, `${perFrame.toFixed(0)} pixels put a frame`);
  assert.deepEqual(page.console, []);
  await page.close();
});

// A browser may give a 2D canvas back empty (its pixels lived on a graphics
// processor that was reset): the next frame is then put whole, not only
// what it changed. The loss is played by emptying the canvas and sending the
// event the browser sends.
test('after the canvas comes back empty the next frame is whole again', async () => {
  const out = join(scratch, 'emptied');
  execFileSync(hostTool('wobblet-capture'), ['--frames', '11', '--out', out], { stdio: 'ignore' });
  const page = await browser.openPage('wobblet.html', {
    beforeLoad: 'window.Module = { testHoldFrames: true };',
  });
  await page.started();
  assert.equal(await page.evaluate('Module._wobblet_test_frames(10)'), 10);
  await page.evaluate(`(() => {
    const canvas = document.getElementById('window');
    canvas.getContext('2d').clearRect(0, 0, canvas.width, canvas.height);
    canvas.dispatchEvent(new Event('contextrestored'));
  })()`);
  assert.equal(await page.evaluate('Module._wobblet_test_frames(1)'), 1);
  const linux = readPng(join(out, 'frame_0011.png'));
  assert.equal(await page.evaluate(canvasHash),
               createHash('sha256').update(linux.rgba).digest('hex'));
  await page.close();
});

test('wobblet runs at 60 frames a second by the page\'s refresh', async (t) => {
  const page = await browser.openPage('wobblet.html');
  await page.waitFor(
    "window.programStarted === true && Module._wobblet_frame_count() > 10");
  // The machine is shared: a measurement taken while other work hogs both
  // cores may miss display frames. Up to three are taken; one must hold.
  const rates = [];
  let rate = 0;
  for (let attempt = 0; attempt < 3; ++attempt) {
    rate = await page.evaluate(`new Promise((resolve) => {
      const frames = Module._wobblet_frame_count(), start = performance.now();
      setTimeout(() => resolve((Module._wobblet_frame_count() - frames) * 1000 /
                               (performance.now() - start)), 10000);
    })`);
    rates.push(rate.toFixed(2));
    t.diagnostic(`${rate.toFixed(2)} frames a second over 10 s`);
    if (Math.abs(rate - 60) <= 1) break;
  }
  assert.ok(Math.abs(rate - 60) <= 1, `frames a second, 10 s each: ${rates.join(', ')}`);
  await page.close();
});

test('wobblet\'s page shows its first frame within 1 s from a cold cache', async (t) => {
  const ms = await coldLoadMs(browser, 'wobblet.html');
  t.diagnostic(`first frame after ${ms.toFixed(0)} ms`);
  assert.ok(ms < 1000, `${ms.toFixed(0)} ms`);
});
