// A static file server for the built site, on the loopback address and a port
// the system picks. Only what the site holds, with the types a browser insists
// on (application/wasm for streaming compilation, a script type for the
// service worker, a style sheet's and a page's own).
import http from 'node:http';
import fs from 'node:fs/promises';
import path from 'node:path';

const text = (type) => `text/${type}; charset=utf-8`;
const types = { '.html': text('html'), '.js': text('javascript'), '.css': text('css'), '.wasm': 'application/wasm', '.svg': 'image/svg+xml' };

// refused: paths answered 404 for now, as files lost on the way would be.
export async function serve(root) {
  const refused = new Set();
  const server = http.createServer(async (request, response) => {
    const { pathname } = new URL(request.url, 'http://localhost');
    // A normalized absolute path cannot climb out of the root.
    let file = path.join(root, path.normalize(decodeURIComponent(pathname)));
    try {
      if (refused.has(pathname)) throw new Error(`${pathname} refused`);
      if ((await fs.stat(file)).isDirectory()) file = path.join(file, 'index.html');
      const body = await fs.readFile(file);
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream', 'Content-Length': body.length });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
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
