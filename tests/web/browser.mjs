// Headless Chromium driven through its DevTools protocol, for the web
// tests: one browser per run with an empty profile, pages opened on the
// local server, script evaluated in them and real key events typed.
//
// The protocol goes over a pair of pipes, Chromium's file descriptors 3
// (commands in) and 4 (answers and events out), each message JSON ended by
// a NUL byte. Unlike a WebSocket client this needs nothing from Node that
// Debian 12's Node 18 lacks, and a browser whose pipe closes (its test
// process ended, however) shuts down instead of living on.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

// extraArgs are further Chromium switches, such as one that takes WebGL
// away.
export async function launch(extraArgs = []) {
  const profile = mkdtempSync(join(tmpdir(), 'cubes-chromium-'));
  const child = spawn('chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic',
    // WebGL from the SwiftShader software renderer, the only one here,
    // asked for by name: Chromium's automatic fallback to it is on its way
    // out, and without WebGL velmora's frames would only be black.
    '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    // The pages' timers and frames run at full rate although nobody looks.
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding',
    '--disable-backgrounding-occluded-windows',
    `--user-data-dir=${profile}`, '--remote-debugging-pipe', ...extraArgs, 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  const [toBrowser, fromBrowser] = [child.stdio[3], child.stdio[4]];
  // The log's end is kept for failures to quote.
  let log = '';
  child.stderr.on('data', (chunk) => {
    log = (log + chunk).slice(-8192);
  });
  // Once the browser is gone every command waiting for it fails, and so
  // does every later one: a test that loses its browser fails, it does not
  // wait for an answer that cannot come.
  let gone = null;
  const waiting = new Map();
  const exited = new Promise((resolve) => {
    const end = (why) => {
      if (!gone) gone = new Error(`chromium ${why}:\n${log}`);
      for (const { reject } of waiting.values()) reject(gone);
      waiting.clear();
      resolve();
    };
    child.once('exit', (code, signal) => end(signal ? `was killed by ${signal}` : `exited with ${code}`));
    child.once('error', (error) => end(`did not run: ${error.message}`));
  });
  // Writing to a browser that has just died fails; the exit says why.
  toBrowser.on('error', () => {});
  fromBrowser.on('error', () => {});
  // However this process ends, its browser goes with it: killed here on a
  // normal exit or an uncaught exception, by the closed pipe otherwise.
  const killBrowser = () => {
    child.kill('SIGKILL');
    try {
      rmSync(profile, { recursive: true, force: true });
    } catch {
      // A helper still writing into it; the folder is in tmp.
    }
  };
  process.once('exit', killBrowser);

  let nextId = 1;
  const listeners = [];
  const receive = (data) => {
    if (data.id && waiting.has(data.id)) {
      const { resolve, reject } = waiting.get(data.id);
      waiting.delete(data.id);
      if (data.error) reject(new Error(`${data.error.message} ${data.error.data || ''}`));
      else resolve(data.result);
    } else if (data.method) {
      for (const listener of listeners) listener(data);
    }
  };
  // A message may come in many pieces (a screenshot is megabytes) or share
  // a piece with others; it is decoded whole, so no character is split.
  let partial = [];
  fromBrowser.on('data', (chunk) => {
    let start = 0;
    for (let end = chunk.indexOf(0); end !== -1; end = chunk.indexOf(0, start)) {
      partial.push(chunk.subarray(start, end));
      const text = Buffer.concat(partial).toString('utf8');
      partial = [];
      start = end + 1;
      receive(JSON.parse(text));
    }
    if (start < chunk.length) partial.push(chunk.subarray(start));
  });
  const send = (method, params = {}, sessionId = undefined) =>
    new Promise((resolve, reject) => {
      if (gone) {
        reject(gone);
        return;
      }
      const id = nextId++;
      waiting.set(id, { resolve, reject });
      toBrowser.write(`${JSON.stringify({ id, method, params, sessionId })}\0`);
    });

  // Ends the browser: asked to close, then its pipe closed, then killed if
  // it still runs after 5 s.
  async function stop() {
    let timer;
    const patience = new Promise((r) => (timer = setTimeout(r, 2000)));
    await Promise.race([send('Browser.close'), patience]).catch(() => {});
    clearTimeout(timer);
    toBrowser.end();
    const late = setTimeout(() => child.kill('SIGKILL'), 5000);
    await exited;
    clearTimeout(late);
    process.off('exit', killBrowser);
    // Helpers Chromium started may hold the other ends a little longer;
    // this process need not wait for them.
    fromBrowser.destroy();
    child.stderr.destroy();
    rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
  }

  // The browser is up when it answers; one that has not within 30 s
  // is ended and its log quoted.
  let startTimer;
  try {
    await Promise.race([
      send('Browser.getVersion'),
      new Promise((resolve, reject) => {
        startTimer = setTimeout(() => reject(new Error(`chromium did not start:\n${log}`)), 30000);
      }),
    ]);
  } catch (error) {
    await stop();
    throw error;
  } finally {
    clearTimeout(startTimer);
  }

  // beforeLoad is script run in the page before its own; setUp(call) may
  // send DevTools commands to the page (device emulation) before it loads.
  async function openPage(url, { beforeLoad = null, cache = true, setUp = null } = {}) {
    // Each page in a window of its own: a tab behind another is hidden, and
    // a hidden page does not draw.
    const { targetId } = await send('Target.createTarget', { url: 'about:blank', newWindow: true });
    const { sessionId } = await send('Target.attachToTarget', { targetId, flatten: true });
    const call = (method, params) => send(method, params, sessionId);
    const console = [];
    const loaded = [];
    listeners.push((event) => {
      if (event.sessionId !== sessionId) return;
      if (event.method === 'Runtime.consoleAPICalled') {
        console.push(event.params.args.map((a) => a.value ?? a.description).join(' '));
      } else if (event.method === 'Runtime.exceptionThrown') {
        console.push(`exception: ${event.params.exceptionDetails.exception?.description}`);
      } else if (event.method === 'Page.loadEventFired') {
        loaded.forEach((f) => f());
      } else if (event.method === 'Page.javascriptDialogOpening') {
        console.push(`dialog: ${event.params.message}`);
        call('Page.handleJavaScriptDialog', { accept: true });
      }
    });
    await call('Page.enable');
    await call('Runtime.enable');
    await call('Network.enable');
    await call('Network.setCacheDisabled', { cacheDisabled: !cache });
    if (beforeLoad) {
      await call('Page.addScriptToEvaluateOnNewDocument', { source: beforeLoad });
    }
    // Emscripten calls main in the same task as onRuntimeInitialized, so a
    // test that sees the mark next has a program that has started. (Newer
    // Emscriptens keep Module.calledRun to themselves.)
    await call('Page.addScriptToEvaluateOnNewDocument', { source: `(() => {
      window.Module = window.Module || {};
      const before = window.Module.onRuntimeInitialized;
      window.Module.onRuntimeInitialized = function () {
        if (before) before.apply(this, arguments);
        window.programStarted = true;
      };
    })();` });
    if (setUp) await setUp(call);
    const load = new Promise((resolve) => loaded.push(resolve));
    await call('Page.navigate', { url });
    await load;

    // Evaluates an expression (awaiting a promise) and returns its value.
    async function evaluate(expression) {
      const result = await call('Runtime.evaluate', {
        expression, awaitPromise: true, returnByValue: true,
      });
      if (result.exceptionDetails) {
        throw new Error(`${expression}: ${result.exceptionDetails.exception?.description}`);
      }
      return result.result.value;
    }
    // Waits until an expression is true, or fails after timeoutMs.
    async function waitFor(expression, timeoutMs = 10000) {
      const end = Date.now() + timeoutMs;
      while (!(await evaluate(expression))) {
        if (Date.now() > end) throw new Error(`timed out waiting for ${expression}\n${console.join('\n')}`);
        await new Promise((r) => setTimeout(r, 20));
      }
    }
    // Waits until the page's program has run its main (and so its start-up).
    const started = (timeoutMs) => waitFor('window.programStarted === true', timeoutMs);
    // Types characters as a keyboard would: key down, the character, key up.
    async function type(text) {
      for (const ch of text) {
        await call('Input.dispatchKeyEvent', { type: 'keyDown', key: ch, text: ch, unmodifiedText: ch });
        await call('Input.dispatchKeyEvent', { type: 'keyUp', key: ch });
      }
    }
    async function close() {
      await send('Target.closeTarget', { targetId });
    }
    return { evaluate, waitFor, started, type, close, console, call };
  }

  return { openPage, close: stop, log: () => log };
}
