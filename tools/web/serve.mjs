// A static server for the page on 127.0.0.1: `node tools/web/serve.mjs [FOLDER] [PORT]` serves
// FOLDER (build/web/site) at PORT (0: any free one) and prints where. Tests start it in-process,
// and may leave files out to see what the page does without them.
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.txt': 'text/plain',
};

// Resolves with the server and its address once it listens.
export function serve(folder, { port = 0, leaveOut = [] } = {}) {
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
    let found = file.startsWith(root + path.sep) && !leaveOut.includes(path.basename(file));
    try {
      found = found && statSync(file).isFile();
    } catch {
      found = false;
    }
    if (!found) {
      response.writeHead(404, { 'content-type': 'text/plain' }).end('Not Found');
      return;
    }
    response.writeHead(200, {
      'content-type': types[path.extname(file)] ?? 'application/octet-stream',
      'cache-control': 'no-store',
    });
    // A file that goes between the look and the read ends the answer, not the server.
    createReadStream(file).on('error', () => response.destroy()).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolve({ server, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2] ?? 'build/web/site';
  const { url } = await serve(folder, { port: Number(process.argv[3] ?? 0) });
  console.log(`Zimbrel is served at ${url} (Ctrl+C stops the server)`);
}
