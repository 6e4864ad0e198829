// The pages' server against requests no browser sends: each gets an
// answer, nothing outside the served folder leaks, and the request after
// it still gets its page.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { connect } from 'node:net';
import { mkdtempSync, mkdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../scripts/lib/serve-static.mjs';

const page = '<!doctype html><title>page</title>';
const secret = 'not for the network';
let scratch;
let server;
let port;

before(async () => {
  // The served folder holds a page and a subfolder; secrets lie beside it.
  scratch = mkdtempSync(join(tmpdir(), 'serve-static-'));
  const folder = join(scratch, 'web');
  mkdirSync(join(folder, 'sub'), { recursive: true });
  writeFileSync(join(folder, 'page.html'), page);
  writeFileSync(join(folder, 'sub', 'inner.html'), secret);
  writeFileSync(join(scratch, 'secret.html'), secret);
  server = await serve(folder);
  port = server.address().port;
});
after(() => {
  server?.close();
  rmSync(scratch, { recursive: true, force: true });
});

// Sends raw bytes and returns everything the server wrote before closing,
// or what came within waitMs when it keeps the connection open.
function exchange(bytes, waitMs = 2000) {
  return new Promise((resolve, reject) => {
    const socket = connect(port, '127.0.0.1');
    const chunks = [];
    const timer = setTimeout(() => socket.destroy(), waitMs);
    socket.on('data', (chunk) => chunks.push(chunk));
    socket.on('error', reject);
    socket.on('close', () => {
      clearTimeout(timer);
      resolve(Buffer.concat(chunks).toString('latin1'));
    });
    socket.write(bytes);
  });
}

const statusOf = (reply) => Number(/^HTTP\/1\.1 (\d{3})/.exec(reply)?.[1] ?? 0);

async function getPage() {
  const reply = await exchange('GET /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n');
  assert.equal(statusOf(reply), 200, reply);
  assert.ok(reply.includes(page), reply);
}

const get = (target) => `GET ${target} HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n`;
const hostile = [
  // Cannot be read: broken escapes, a URL the parser refuses, raw bytes
  // the request line must not hold, a header too long.
  [400, get('/%')], [400, get('/%zz.html')], [400, get('/page%E0%A4%A.html')],
  [400, get('/%C0%AE%C0%AE/secret.html')], [400, get('//[/page.html')],
  [400, 'GET /page\0.html HTTP/1.1\r\nHost: x\r\n\r\n'], [400, 'NOT HTTP AT ALL\r\n\r\n'],
  [431, get(`/${'a'.repeat(100000)}.html`)],
  // Not served: every spelling of the parent folder, subfolders, an
  // escaped NUL, names the server does not hand out.
  [404, get('/../secret.html')], [404, get('/%2e%2e/secret.html')], [404, get('/.%2E/secret.html')],
  [404, get('/..%2fsecret.html')], [404, get('/%2E%2E%2Fsecret.html')],
  [404, get('/..%5csecret.html')], [404, get('/%252e%252e%252fsecret.html')],
  [404, get('/sub/inner.html')], [404, get('/sub%2finner.html')], [404, get('/page%00.html')],
  [404, get('/page.html%00.png')], [404, get('/.page.html')], [404, get('/')],
  [404, get(`/${'a'.repeat(8000)}.html`)], [404, get('http://elsewhere/../secret.html')],
  // Methods other than reading; one the parser does not know.
  [405, 'POST /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Length: 3\r\n\r\nabc'],
  [405, 'DELETE /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n'],
  [405, 'OPTIONS * HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n'],
  [405, 'PROPFIND /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n'],
  [400, 'BREW /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n'],
];

test('every hostile request is answered and the next one gets its page', async () => {
  await getPage();
  for (const [status, request] of hostile) {
    const reply = await exchange(request);
    const shown = JSON.stringify(request.slice(0, 80));
    assert.equal(statusOf(reply), status, `${shown} -> ${reply.slice(0, 200)}`);
    assert.ok(!reply.includes(secret), shown);
    await getPage();
  }
});

test('HEAD answers with the length of the page and no body', async () => {
  const reply = await exchange('HEAD /page.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n');
  assert.equal(statusOf(reply), 200);
  assert.match(reply, new RegExp(`content-length: ${page.length}\\r\\n`, 'i'));
  assert.ok(reply.endsWith('\r\n\r\n'), reply);
});

test('an unfinished request does not hold up others, and is answered in time', async () => {
  const unfinished = exchange('GET /page.html HTTP/1.1\r\nHost: x\r\n', 15000);
  await getPage();
  assert.equal(statusOf(await unfinished), 408);
  await getPage();
});
