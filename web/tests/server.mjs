// A static file server on 127.0.0.1 for the page under test, with the
// content types any static host sends. headers go with every file (a host's
// caching, say); the root can change while it runs (a new release). With
// gzip, files are sent compressed to a browser that accepts it, as most
// static hosts send them.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {gzipSync} from 'node:zlib';
import {extname, join, normalize} from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

export async function serve(root, headers = {}, {gzip = false} = {}) {
  const requests = [];
  const site = {root};
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    requests.push(path);
    const file = join(site.root, normalize(path.endsWith('/') ? `${path}index.html` : path));
    if (!file.startsWith(site.root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      const compressed = gzip && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '') && extname(file) !== '.png';
      response.writeHead(200, {'content-type': types[extname(file)] ?? 'application/octet-stream', ...headers,
        ...(compressed ? {'content-encoding': 'gzip', 'vary': 'accept-encoding'} : {})});
      response.end(compressed ? gzipSync(body) : body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return {
    site,
    url: `http://127.0.0.1:${server.address().port}/`,
    requests,
    close: () => new Promise((resolve) => server.close(resolve)),
  };
}
