// velmora's page while the browser hides it (its window minimised): the
// ticks and keys go on, nothing is drawn and next to no time is spent; shown
// again, the next tick draws velmora-capture's picture of that tick.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { readPng } from './png.mjs';
import { compareFrames, isFaithful, describe } from './fidelity.mjs';
import { startBrowser, hostTool, canvasPixels, twoFrames, requireWebGL } from './page.mjs';

let browser;
let scratch;
before(async () => {
  browser = await startBrowser();
  scratch = mkdtempSync(join(tmpdir(), 'velmora-hidden-'));
});
after(async () => {
  await browser?.close();
  rmSync(scratch, { recursive: true, force: true });
});

// The browser hides a page whose window is minimised, and shows it again.
async function setMinimised(page, minimised) {
  const { windowId } = await page.call('Browser.getWindowForTarget', {});
  await page.call('Browser.setWindowBounds', {
    windowId, bounds: { windowState: minimised ? 'minimized' : 'normal' },
  });
  await page.waitFor(`document.hidden === ${minimised}`);
}

// The main thread's busy milliseconds in the page, and the wall clock's.
async function busy(page) {
  const { metrics } = await page.call('Performance.getMetrics', {});
  const task = metrics.find((m) => m.name === 'TaskDuration').value;
  return [task * 1000, performance.now()];
}

test('a hidden velmora page ticks on without drawing, and shown draws the tick it is at', async () => {
  const out = join(scratch, 'capture');
  execFileSync(hostTool('velmora-capture'), ['--ticks', '41', '--keys', '11:+<', '--out', out],
    { stdio: 'ignore' });
  const linux = (tick) => readPng(join(out, `frame_${String(tick).padStart(4, '0')}.png`));

  const page = await browser.openPage('velmora.html', {
    beforeLoad: 'window.Module = { testHoldTicks: true };',
  });
  await requireWebGL(browser, page);
  await page.started();
  await page.evaluate(twoFrames);
  const tick = async (n) => assert.equal(await page.evaluate(`Module._velmora_test_ticks(${n})`), n);
  await tick(10);
  await page.evaluate(twoFrames);
  const shown = await canvasPixels(page, '#window');

  await setMinimised(page, true);
  // A warp and a zoom, typed unseen: their picture is the same whichever
  // tick they come before.
  await page.type('+<');
  await tick(30);
  const hidden = await canvasPixels(page, '#window');
  assert.ok(Buffer.from(hidden.rgba).equals(Buffer.from(shown.rgba)), 'a hidden page was drawn');

  await setMinimised(page, false);
  await tick(1);
  await page.evaluate(twoFrames);
  const again = await canvasPixels(page, '#window');
  const same = compareFrames(again, linux(41));
  assert.ok(isFaithful(same), `tick 41, shown again: ${describe(same)}`);
  assert.ok(!isFaithful(compareFrames(again, linux(40))), 'shown again, the picture is a tick off');
  assert.deepEqual(page.console, []);
  await page.close();
});

test('a hidden velmora page spends next to no time on its timer\'s ticks', async (t) => {
  const page = await browser.openPage('velmora.html');
  await requireWebGL(browser, page);
  await page.started();
  await page.call('Performance.enable', {});
  // The browser here runs a hidden page's timers at full rate
  // (tests/web/browser.mjs), as a page that is drawn would run them.
  const share = async () => {
    const [task0, wall0] = await busy(page);
    const ticks0 = await page.evaluate('Module._velmora_tick_count()');
    await new Promise((r) => setTimeout(r, 3000));
    const [task1, wall1] = await busy(page);
    const ticks1 = await page.evaluate('Module._velmora_tick_count()');
    return { percent: (100 * (task1 - task0)) / (wall1 - wall0), ticks: ticks1 - ticks0 };
  };
  const seen = await share();
  await setMinimised(page, true);
  const unseen = await share();
  await setMinimised(page, false);
  t.diagnostic(`main thread busy: seen ${seen.percent.toFixed(1)} % (${seen.ticks} ticks), ` +
               `hidden ${unseen.percent.toFixed(1)} % (${unseen.ticks} ticks) over 3 s`);
  assert.ok(unseen.ticks > 100, `hidden, only ${unseen.ticks} ticks ran in 3 s`);
  assert.ok(unseen.percent < 5, `hidden, the page's main thread was busy ${unseen.percent.toFixed(1)} %`);
  assert.ok(seen.percent > 4 * unseen.percent, 'drawing costs no more than not drawing');
  await page.close();
});
