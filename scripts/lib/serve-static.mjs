// A static file server for the web pages, on 127.0.0.1 only. It serves the
// files at the top of one folder whose kind it knows (pages, scripts,
// WebAssembly, pictures) and nothing else: no listing, no subfolders, no
// build system files. Every request is answered and none can stop it: any
// local program may talk to the port, so a request is input like any other.
import { createServer, STATUS_CODES } from 'node:http';
import { readFile } from 'node:fs/promises';
import { join, extname } from 'node:path';

const kinds = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// The file name a request path asks for; null when it cannot be read (a
// broken escape, a URL the parser refuses), undefined when it names
// nothing served. Escapes are decoded once, after the URL parser has
// resolved dot segments, so an encoded slash or dot stays inside the name
// and fails the name check below.
function requestedName(url) {
  let path;
  try {
    path = decodeURIComponent(new URL(url, 'http://127.0.0.1').pathname);
  } catch {
    return null;
  }
  const name = path === '/' ? 'index.html' : path.slice(1);
  if (!kinds[extname(name)] || !/^[A-Za-z0-9_-][A-Za-z0-9_.-]*$/.test(name)) return undefined;
  return name;
}

function answer(response, status, headers = {}, body = undefined) {
  response.writeHead(status, { 'Cache-Control': 'no-cache', ...headers });
  response.end(body);
}

async function handle(folder, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    answer(response, 405, { Allow: 'GET, HEAD' });
    return;
  }
  const name = requestedName(request.url);
  if (name === null) {
    answer(response, 400);
    return;
  }
  let body;
  try {
    if (name === undefined) throw new Error('not served');
    body = await readFile(join(folder, name));
  } catch {
    answer(response, 404);
    return;
  }
  // Node leaves the body out of the answer to HEAD by itself.
  answer(response, 200, { 'Content-Type': kinds[extname(name)], 'Content-Length': body.length }, body);
}

export function serve(folder, port = 0) {
  // A client that never finishes its request is answered (408) and
  // dropped after a few seconds instead of holding a connection for
  // minutes; pages on this machine send their headers at once.
  const server = createServer(
    { headersTimeout: 5000, requestTimeout: 10000, connectionsCheckingInterval: 1000 },
    (request, response) => {
      handle(folder, request, response).catch(() => {
        if (!response.headersSent) answer(response, 500);
        else response.destroy();
      });
    });
  // A request the parser refuses is answered as Node would, but the client
  // may still be sending it (a header too long): closing on unread bytes
  // resets the connection, and the client loses the answer. So the rest is
  // read and dropped until the client closes, for at most two seconds.
  server.on('clientError', (error, socket) => {
    if (!socket.writable || error.code === 'ECONNRESET') {
      socket.destroy();
      return;
    }
    const status = { HPE_HEADER_OVERFLOW: 431, ERR_HTTP_REQUEST_TIMEOUT: 408,
                     HPE_CHUNK_EXTENSIONS_OVERFLOW: 413 }[error.code] ?? 400;
    socket.end(`HTTP/1.1 ${status} ${STATUS_CODES[status]}\r\nConnection: close\r\n` +
               'Content-Length: 0\r\n\r\n');
    socket.on('data', () => {});
    socket.on('error', () => socket.destroy());
    setTimeout(() => socket.destroy(), 2000).unref();
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      server.off('error', reject);
      // Once listening, a failure to accept a connection (too many open
      // files, say) is said and the server goes on.
      server.on('error', (error) => console.error(`serve-static: ${error.message}`));
      resolve(server);
    });
  });
}
