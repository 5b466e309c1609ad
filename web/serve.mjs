// Serves a built site on 127.0.0.1 with the right types, the way a teacher's web server would.
// Usage: node web/serve.mjs SITE_DIR [PORT]; the tests import serveSite() and take a free port.

import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8', '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
    '.json': 'application/json', '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain; charset=utf-8',
};

export function serveSite(site, port = 0) {
    const root = path.resolve(site);
    const server = createServer((request, response) => {
        try {
            const address = new URL(request.url ?? '/', 'http://localhost');
            let file = path.join(root, decodeURIComponent(address.pathname));
            if (!file.startsWith(root + path.sep) && file !== root) throw new Error('outside the site');
            if (statSync(file).isDirectory()) file = path.join(file, 'index.html');
            const size = statSync(file).size;
            response.writeHead(200, {
                'Content-Type': types[path.extname(file)] ?? 'application/octet-stream',
                'Content-Length': size,
                'Cache-Control': 'no-cache',
            });
            if (request.method === 'HEAD') response.end();
            else createReadStream(file).pipe(response);
        } catch {
            response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found');
        }
    });
    return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (import.meta.url === pathToFileURL(process.argv[1] ?? '').href) {
    const [site, port = '8080'] = process.argv.slice(2);
    const server = await serveSite(site, Number(port));
    console.log(`Koravin: http://127.0.0.1:${server.address().port}/`);
}
