// Builds the site into build-web/site: the page's scripts bundled by esbuild from src/, the
// module, styles, manifest, help pages and icons, and the service worker with the list of every
// file and a version made from their contents. Usage: node web/build.mjs [SITE_DIR]

import { createHash } from 'node:crypto';
import { cpSync, mkdirSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { build } from 'esbuild';

const web = path.dirname(fileURLToPath(import.meta.url));
const root = path.dirname(web);
const moduleDir = process.env.KORAVIN_MODULE_DIR ?? path.join(root, 'build-web');
const site = path.resolve(process.argv[2] ?? path.join(moduleDir, 'site'));
const version = /project\(Koravin VERSION ([0-9.]+)/.exec(readFileSync(path.join(root, 'CMakeLists.txt'), 'utf8'))[1];

rmSync(site, { recursive: true, force: true });
mkdirSync(site, { recursive: true });
const copy = (from, to) => cpSync(from, path.join(site, to), { recursive: true });
for (const file of ['index.html', 'page.css', 'manifest.webmanifest']) copy(path.join(web, file), file);
for (const file of ['koravin.js', 'koravin.wasm']) copy(path.join(moduleDir, file), file);
copy(path.join(root, 'assets/help'), 'help');
mkdirSync(path.join(site, 'icons'));
for (const icon of readdirSync(path.join(root, 'assets/icons')).filter((name) => /\.(png|svg)$/.test(name))) {
    copy(path.join(root, 'assets/icons', icon), `icons/${icon}`);
}

const common = { bundle: true, format: 'esm', target: 'es2022', legalComments: 'none', logLevel: 'warning' };
await build({ ...common, entryPoints: [path.join(web, 'src/main.ts')], outfile: path.join(site, 'page.js'),
              define: { KORAVIN_VERSION: JSON.stringify(version) } });
await build({ ...common, entryPoints: [path.join(web, 'src/worker.ts')], outfile: path.join(site, 'worker.js'),
              external: ['./koravin.js'] });

// Every file but the service worker itself, with the site's own address for the page.
const files = [];
const walk = (dir) => {
    for (const name of readdirSync(dir).sort()) {
        const full = path.join(dir, name);
        if (statSync(full).isDirectory()) walk(full);
        else files.push(path.relative(site, full).split(path.sep).join('/'));
    }
};
walk(site);
const hash = createHash('sha256');
for (const file of files) hash.update(file).update(readFileSync(path.join(site, file)));
await build({ ...common, entryPoints: [path.join(web, 'src/sw.ts')], outfile: path.join(site, 'sw.js'), format: 'iife',
              define: { SITE_FILES: JSON.stringify(['./', ...files]), SITE_VERSION: JSON.stringify(hash.digest('hex').slice(0, 16)) } });
console.log(`built ${site} (${files.length + 1} files)`);
