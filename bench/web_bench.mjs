// The WebAssembly module beside the native koravin-cli, in one run on this machine: the same
// commands with the same inputs, medians of several runs; the module's size after gzip -9 and
// the time to instantiate it. Run: node bench/web_bench.mjs [build-web] [build/src/cli/koravin-cli]

import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const moduleDir = path.resolve(process.argv[2] ?? 'build-web');
const cli = path.resolve(process.argv[3] ?? 'build/src/cli/koravin-cli');
const { default: createKoravin } = await import(pathToFileURL(path.join(moduleDir, 'koravin.js')).href);
const wasm = readFileSync(path.join(moduleDir, 'koravin.wasm'));
const js = readFileSync(path.join(moduleDir, 'koravin.js'));

// Processor time as well as the time on the clock: on a machine busy with other work the
// processor time is what compares.
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
function timed(times, action) {
    const spans = [];
    const cpu = [];
    let result;
    for (let i = 0; i < times; ++i) {
        const start = performance.now();
        const used = process.cpuUsage();
        result = action();
        const { user, system } = process.cpuUsage(used);
        spans.push(performance.now() - start);
        cpu.push((user + system) / 1000 + (result.childCpuMs ?? 0));
    }
    return { ms: median(spans), cpuMs: median(cpu), result };
}

// koravin-cli under /usr/bin/time, which tells its processor time.
function runNative(args, input) {
    const times = path.join(os.tmpdir(), `koravin-bench-${process.pid}`);
    const run = spawnSync('/usr/bin/time', ['-f', '%U %S', '-o', times, cli, ...args], { input, maxBuffer: 1 << 30 });
    const [user, system] = readFileSync(times, 'utf8').trim().split(/\s+/).map(Number);
    return { stdout: run.stdout, childCpuMs: (user + system) * 1000 };
}

// A diagonally dominant system of 6-digit entries ("-123.456"), one row a line.
function systemText(n) {
    let seed = n;
    const next = () => (seed = (Math.imul(seed, 1103515245) + 12345) >>> 0) % 1999999 - 999999;
    const rows = [];
    for (let i = 1; i <= n; ++i) {
        const row = [];
        for (let j = 1; j <= n + 1; ++j) {
            const value = next();
            const magnitude = Math.abs(value);
            const whole = i === j ? 1000 * n + Math.floor(magnitude / 1000) : Math.floor(magnitude / 1000);
            row.push(`${value < 0 ? '-' : ''}${whole}.${String(magnitude % 1000).padStart(3, '0')}`);
        }
        rows.push(row.join(' '));
    }
    return rows.join('\r\n') + '\r\n';
}

const cases = [
    { label: 'Gauss_1, n = 300', run: { command: 'Gauss_1', editor: systemText(300), answers: ['300'] }, times: 7 },
    { label: 'Gauss_1, n = 1000', run: { command: 'Gauss_1', editor: systemText(1000), answers: ['1000'] }, times: 3 },
    { label: 'Runge-Kutta, 32 767 divisions', times: 7,
      run: { command: 'UsDi_RungeKutta', fields: { Text1: 'y-2*x/y', Text2: '0', Text3: '1', Text4: '32767' }, answers: ['1'] } },
    { label: 'Newton, x^3-2*x-5 from 2', times: 21,
      run: { command: 'CalculateNewton', editor: 'x^3-2*x-5', answers: ['3*x^2-2', '2', '1E-12'] } },
];

const instantiate = [];
let k;
for (let i = 0; i < 7; ++i) {
    const start = performance.now();
    k = await createKoravin({ wasmBinary: wasm });
    instantiate.push(performance.now() - start);
}
console.log(`module: ${js.length + wasm.length} bytes (js ${js.length}, wasm ${wasm.length}); ` +
            `after gzip -9: ${gzipSync(js, { level: 9 }).length + gzipSync(wasm, { level: 9 }).length} bytes; ` +
            `instantiating: ${median(instantiate).toFixed(1)} ms`);
console.log('| What | native koravin-cli | module in node | ratio | processor time: native / module / ratio |');
console.log('|---|---|---|---|---|');
for (const { label, run, times } of cases) {
    const args = ['run', run.command, '--editor', '-', ...run.answers.flatMap((a) => ['--reply', a]),
                  ...Object.entries(run.fields ?? {}).map(([name, value]) => `--field=${name}=${value}`)];
    const native = timed(times, () => runNative(args, run.editor ?? ''));
    const request = JSON.stringify({ ...run, editor: run.editor ?? '' });
    const module = timed(times, () => JSON.parse(k.run(request)));
    if (module.result.report !== native.result.stdout.toString('utf8')) throw new Error(`${label}: the reports differ`);
    console.log(`| ${label} | ${native.ms.toFixed(1)} ms | ${module.ms.toFixed(1)} ms | ${(module.ms / native.ms).toFixed(2)}× | ` +
                `${native.cpuMs.toFixed(0)} / ${module.cpuMs.toFixed(0)} ms / ${(module.cpuMs / native.cpuMs).toFixed(2)}× |`);
}
