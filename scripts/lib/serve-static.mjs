// A static file server for the web pages, on 127.0.0.1 only. It serves the
// files at the top of one folder whose kind it knows (pages, scripts,
// WebAssembly, pictures) and nothing else: no listing, no subfolders, no
// build system files.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { join, extname } from 'node:path';

const kinds = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

export function serve(folder, port = 0) {
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const name = path === '/' ? 'index.html' : path.slice(1);
    const kind = kinds[extname(name)];
    if (request.method !== 'GET' || !kind || !/^[A-Za-z0-9_.-]+$/.test(name) || name.startsWith('.')) {
      response.writeHead(404).end();
      return;
    }
    try {
      const body = await readFile(join(folder, name));
      response.writeHead(200, { 'Content-Type': kind, 'Cache-Control': 'no-cache' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}
