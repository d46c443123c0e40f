// A static file server for the built site, on the loopback address and a port
// the system picks. Only what the site holds, with the types a browser insists
// on (application/wasm for streaming compilation, a script type for the
// service worker).
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
};

// refused: paths answered 404 for now, as files lost on the way would be.
export async function serve(root) {
  const refused = new Set();
  const server = http.createServer(async (request, response) => {
    const url = new URL(request.url, 'http://localhost');
    if (refused.has(url.pathname)) {
      response.writeHead(404).end();
      return;
    }
    let file = path.join(root, path.normalize(decodeURIComponent(url.pathname)));
    if (!file.startsWith(path.resolve(root))) {
      response.writeHead(403).end();
      return;
    }
    try {
      if ((await fs.stat(file)).isDirectory()) file = path.join(file, 'index.html');
      const body = await fs.readFile(file);
      response.writeHead(200, {
        'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
        'Content-Length': body.length,
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  return {
    url: `http://127.0.0.1:${port}/`,
    refused,
    // Also drops the browser's kept-alive connections, so that a reload after
    // this finds nobody answering, as a machine gone offline would.
    close: () =>
      new Promise((resolve) => {
        server.close(resolve);
        server.closeAllConnections();
      }),
  };
}
