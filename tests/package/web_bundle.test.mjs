// The web bundle: unpacked into a fresh folder it holds the two pages with
// their scripts and WebAssembly, a README and the licence; served from
// there, both pages show a picture in headless Chromium.
// CUBES_WEB_BUILD is the web build folder whose CPack configuration packs it.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../scripts/lib/serve-static.mjs';
import { launch } from '../web/browser.mjs';
import { canvasPixels } from '../web/page.mjs';

const build = process.env.CUBES_WEB_BUILD;
let scratch;
let folder;
before(() => {
  scratch = mkdtempSync(join(tmpdir(), 'cubes-web-bundle-'));
  execFileSync('cpack', ['--config', join(build, 'CPackConfig.cmake'), '-B', join(scratch, 'cpack')],
               { stdio: 'ignore' });
  const zip = readdirSync(join(scratch, 'cpack')).find((name) => name.endsWith('.zip'));
  assert.ok(zip, 'cpack wrote no zip');
  execFileSync('unzip', ['-q', join(scratch, 'cpack', zip), '-d', join(scratch, 'unpacked')]);
  const [top] = readdirSync(join(scratch, 'unpacked'));
  folder = join(scratch, 'unpacked', top);
});
after(() => rmSync(scratch, { recursive: true, force: true }));

test('the bundle holds the pages, their scripts and WebAssembly, a README and the licence', () => {
  assert.deepEqual(readdirSync(folder).sort(), [
    'LICENSE.txt', 'README.txt', 'velmora.html', 'velmora.js', 'velmora.wasm',
    'wobblet.html', 'wobblet.js', 'wobblet.wasm',
  ]);
});

test('both pages show a picture when served from the unpacked bundle', async () => {
  const server = await serve(folder);
  const browser = await launch();
  try {
    for (const name of ['velmora.html', 'wobblet.html']) {
      const page = await browser.openPage(`http://127.0.0.1:${server.address().port}/${name}`);
      await page.waitFor("typeof Module != 'undefined' && Module.firstFrameTime !== undefined", 30000);
      const { rgba } = await canvasPixels(page, '#window');
      let lit = 0;
      for (let i = 0; i < rgba.length; i += 4) if (rgba[i] || rgba[i + 1] || rgba[i + 2]) ++lit;
      // The smallest of the two pictures, velmora's cube, covers thousands.
      assert.ok(lit > 2000, `${name}: ${lit} pixels that are not black\n${page.console.join('\n')}`);
      await page.close();
    }
  } finally {
    await browser.close();
    server.close();
  }
});
