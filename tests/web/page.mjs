// Helpers shared by the page tests: paths, the local server, and reading a
// canvas back out of a page.
import { existsSync } from 'node:fs';
import { serve } from '../../scripts/lib/serve-static.mjs';
import { launch } from './browser.mjs';

const root = new URL('../..', import.meta.url).pathname;
export const webDir = process.env.CUBES_WEB_DIR || `${root}build/web`;
export const hostBin = process.env.CUBES_HOST_BIN || `${root}build/default/bin`;

// A Linux capture tool of the default build, which the pages are compared
// with.
export function hostTool(name) {
  const path = `${hostBin}/${name}`;
  if (!existsSync(path)) {
    throw new Error(`${path} is missing: build the default preset first (scripts/test does)`);
  }
  return path;
}

// chromiumArgs are further Chromium switches (see launch).
export async function startBrowser(chromiumArgs = []) {
  const server = await serve(webDir);
  const browser = await launch(chromiumArgs);
  const base = `http://127.0.0.1:${server.address().port}`;
  return {
    base,
    log: browser.log,
    openPage: (name, options) => browser.openPage(`${base}/${name}`, options),
    async close() {
      await browser.close();
      server.close();
    },
  };
}

// Fails, saying so, when the browser gives the page no WebGL: velmora's
// frames would then be black, and comparing black frames proves nothing.
// Returns the name of the renderer.
export async function requireWebGL(browser, page) {
  const renderer = await page.evaluate(`(() => {
    const gl = document.createElement('canvas').getContext('webgl');
    if (!gl) return null;
    const info = gl.getExtension('WEBGL_debug_renderer_info');
    return String(gl.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : gl.RENDERER));
  })()`);
  if (!renderer) {
    const log = browser.log().split('\n').filter((line) => !/dbus/i.test(line)).join('\n');
    throw new Error('headless Chromium offers this page no WebGL, so velmora could only draw ' +
                    'black frames; see the SwiftShader switches in tests/web/browser.mjs. ' +
                    `Chromium's log:\n${log}`);
  }
  return renderer;
}

// The canvas's pixels, red-green-blue-alpha, as the page shows them: all of
// them, or those of the top left corner [width, height] with lit, the
// number of pixels outside it that are not black.
export async function canvasPixels(page, selector, corner = null) {
  const result = await page.evaluate(`(() => {
    const canvas = document.querySelector(${JSON.stringify(selector)});
    const [width, height] = ${JSON.stringify(corner)} || [canvas.width, canvas.height];
    const all = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let lit = 0;
    for (let y = 0; y < canvas.height; ++y) {
      for (let x = y < height ? width : 0; x < canvas.width; ++x) {
        const p = 4 * (y * canvas.width + x);
        if (all[p] || all[p + 1] || all[p + 2]) ++lit;
      }
    }
    const data = canvas.getContext('2d').getImageData(0, 0, width, height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 8192) {
      text += String.fromCharCode.apply(null, data.subarray(i, i + 8192));
    }
    return { width, height, lit, data: btoa(text) };
  })()`);
  return {
    width: result.width,
    height: result.height,
    lit: result.lit,
    rgba: new Uint8Array(Buffer.from(result.data, 'base64')),
  };
}

// Two frames of the page: everything the last tick or frame changed is on
// the canvas by then.
export const twoFrames = 'new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r)))';

// Milliseconds from the start of navigation to the first frame in the
// canvas, with the browser's cache switched off: everything comes from the
// server and is compiled afresh.
export async function coldLoadMs(browser, name) {
  const page = await browser.openPage(name, { cache: false });
  await page.waitFor("typeof Module != 'undefined' && Module.firstFrameTime !== undefined");
  const ms = await page.evaluate('Module.firstFrameTime');
  await page.close();
  return ms;
}
