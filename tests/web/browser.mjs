// Headless Chromium driven through its DevTools protocol, for the web
// tests: one browser per run with an empty profile, pages opened on the
// local server, script evaluated in them and real key events typed.
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
    `--user-data-dir=${profile}`, '--remote-debugging-address=127.0.0.1',
    '--remote-debugging-port=0', ...extraArgs, 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'pipe'] });
  const address = await new Promise((resolve, reject) => {
    let text = '';
    const timer = setTimeout(() => reject(new Error(`chromium did not start:\n${text}`)), 30000);
    child.stderr.on('data', (chunk) => {
      text += chunk;
      const found = /DevTools listening on (ws:\/\/\S+)/.exec(text);
      if (found) {
        clearTimeout(timer);
        resolve(found[1]);
      }
    });
    child.once('exit', (code) => reject(new Error(`chromium exited with ${code}:\n${text}`)));
  });
  // The rest of the log is kept (its end, if long) for failures to quote.
  let log = '';
  child.stderr.on('data', (chunk) => {
    log = (log + chunk).slice(-8192);
  });
  const socket = new WebSocket(address);
  await new Promise((resolve, reject) => {
    socket.onopen = resolve;
    socket.onerror = () => reject(new Error('cannot reach chromium'));
  });
  let nextId = 1;
  const waiting = new Map();
  const listeners = [];
  socket.onmessage = (message) => {
    const data = JSON.parse(message.data);
    if (data.id && waiting.has(data.id)) {
      const { resolve, reject } = waiting.get(data.id);
      waiting.delete(data.id);
      if (data.error) reject(new Error(`${data.error.message} ${data.error.data || ''}`));
      else resolve(data.result);
    } else if (data.method) {
      for (const listener of listeners) listener(data);
    }
  };
  const send = (method, params = {}, sessionId = undefined) =>
    new Promise((resolve, reject) => {
      const id = nextId++;
      waiting.set(id, { resolve, reject });
      socket.send(JSON.stringify({ id, method, params, sessionId }));
    });

  // beforeLoad is script run in the page before its own; setUp(call) may
  // send DevTools commands to the page (device emulation) before it loads.
  async function openPage(url, { beforeLoad = null, cache = true, setUp = null } = {}) {
    const { targetId } = await send('Target.createTarget', { url: 'about:blank' });
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

  async function close() {
    const exited = new Promise((r) => (child.exitCode !== null ? r() : child.once('exit', r)));
    await Promise.race([send('Browser.close'), new Promise((r) => setTimeout(r, 2000))]).catch(() => {});
    socket.close();
    const late = setTimeout(() => child.kill('SIGKILL'), 5000);
    await exited;
    clearTimeout(late);
    rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
  }
  return { openPage, close, log: () => log };
}
