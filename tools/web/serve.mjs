// A static server for the page on 127.0.0.1: `node tools/web/serve.mjs [FOLDER] [PORT]` serves
// FOLDER (build/web/site) at PORT (0: any free one) and prints where. A file's gzip beside it
// (NAME.gz) is sent where the browser takes gzip; the files named by the build's content hash
// may be kept by the browser for good, the rest (index.html) is asked for again at each visit.
// Tests start it in-process, and may leave files out, or stall them half way, to see what the
// page does then; a file is named for that without its hash ('zimbrel.data').
import { createReadStream, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.txt': 'text/plain',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png',
};
const contentHash = /\.[0-9a-f]{12}(?=\.[a-z]+$)/;

function regularFile(file) {
  try {
    return statSync(file).isFile();
  } catch {
    return false;
  }
}

// Resolves with the server, its address and a close that also ends the stalled answers.
export function serve(folder, { port = 0, leaveOut = [], stall = [] } = {}) {
  const root = path.resolve(folder);
  const server = createServer((request, response) => {
    let name;
    try {
      name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    } catch {
      response.writeHead(400, { 'content-type': 'text/plain' }).end('Bad Request');
      return;
    }
    const file = path.join(root, name.endsWith('/') ? `${name}index.html` : name);
    const plainName = path.basename(file).replace(contentHash, '');
    if (!file.startsWith(root + path.sep) || leaveOut.includes(plainName) || !regularFile(file)) {
      response.writeHead(404, { 'content-type': 'text/plain' }).end('Not Found');
      return;
    }
    const gzipped = /\bgzip\b/.test(request.headers['accept-encoding'] ?? '') &&
      regularFile(`${file}.gz`);
    const sent = gzipped ? `${file}.gz` : file;
    const size = statSync(sent).size;
    response.writeHead(200, {
      'content-type': types[path.extname(file)] ?? 'application/octet-stream',
      'content-length': size,
      'cache-control': contentHash.test(path.basename(file)) ? 'public, max-age=31536000, immutable'
        : 'no-cache',
      vary: 'accept-encoding',
      ...(gzipped ? { 'content-encoding': 'gzip' } : {}),
    });
    if (stall.includes(plainName)) {
      response.write(readFileSync(sent).subarray(0, Math.floor(size / 2)));  // and no more
      return;
    }
    // A file that goes between the look and the read ends the answer, not the server.
    createReadStream(sent).on('error', () => response.destroy()).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolve({
        server,
        url: `http://127.0.0.1:${server.address().port}/`,
        close() {
          server.closeAllConnections();
          server.close();
        },
      });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] ?? 'build/web/site';
  const { url } = await serve(folder, { port: Number(process.argv[3] ?? 0) });
  console.log(`Zimbrel is served at ${url} (Ctrl+C stops the server)`);
}
