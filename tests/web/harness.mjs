// Runs the same command through koravin-cli and through the WebAssembly module, the module
// answering by replay as the page does, and returns both sides in one form to compare.

import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const moduleDir = process.env.KORAVIN_MODULE_DIR;
export const cliPath = process.env.KORAVIN_CLI;
// koravin-cli with the module's math library (see tests/web/CMakeLists.txt).
export const cliWithModuleMath = process.env.KORAVIN_CLI_MUSL_MATH;
if (!moduleDir || !cliPath) throw new Error('KORAVIN_MODULE_DIR and KORAVIN_CLI name the module folder and koravin-cli');

export async function loadModule() {
    const { default: createKoravin } = await import(pathToFileURL(path.join(moduleDir, 'koravin.js')).href);
    return createKoravin({ wasmBinary: readFileSync(path.join(moduleDir, 'koravin.wasm')) });
}

// A trace line as koravin-cli writes it: CR and LF inside a text as \r and \n.
const escaped = (text) => text.replaceAll('\r', '\\r').replaceAll('\n', '\\n');
export function traceLine(event) {
    if (event.kind === 'message') return `message\t${escaped(event.text)}`;
    if (event.kind === 'question') return `question\t${escaped(event.title)}\t${escaped(event.text)}\t${event.answer ? 'yes' : 'no'}`;
    return `prompt\t${escaped(event.title)}\t${escaped(event.text)}\t${escaped(event.default)}`;
}

// A run: {command, editor, result, digits, fields, replies, yesNo, check}. Replies answer the
// prompts in order, then 取消; yesNo the questions, then 是 — koravin-cli's rule.
export function runCli(run, program = cliPath) {
    const dir = mkdtempSync(path.join(tmpdir(), 'koravin-web-'));
    try {
        const args = ['run', run.command, '--editor', '-', '--trace', '--digits', String(run.digits ?? 6)];
        if (run.result) {
            writeFileSync(path.join(dir, 'result.txt'), run.result);
            args.push('--result', path.join(dir, 'result.txt'));
        }
        for (const reply of run.replies ?? []) args.push(`--reply=${reply}`);
        for (const yes of run.yesNo ?? []) args.push(yes ? '--yes' : '--no');
        for (const [name, value] of Object.entries(run.fields ?? {})) args.push(`--field=${name}=${value}`);
        const json = path.join(dir, 'checks.json');
        if (run.check) args.push('--check', '--check-json', json);
        const cli = spawnSync(program, args, { input: run.editor ?? '', maxBuffer: 1 << 30 });
        if (cli.status !== 0) throw new Error(`koravin-cli ${args.join(' ')} exited ${cli.status}: ${cli.stderr}`);
        const trace = cli.stderr.toString('utf8').split('\n').filter((line) => line !== '');
        return {
            report: cli.stdout.toString('utf8'),
            trace,
            checks: run.check ? JSON.parse(readFileSync(json, 'utf8')) : undefined,
        };
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}

function request(run, answers) {
    return JSON.stringify({
        command: run.command, editor: run.editor ?? '', result: run.result ?? '', digits: run.digits ?? 6,
        fields: run.fields ?? {}, answers, check: Boolean(run.check),
    });
}

// Runs through the module one answer at a time, as the page does; gives the last response and
// the answers it took.
export function runModuleByReplay(k, run) {
    const replies = [...(run.replies ?? [])];
    const yesNo = [...(run.yesNo ?? [])];
    const answers = [];
    for (;;) {
        const response = JSON.parse(k.run(request(run, answers)));
        if (response.status !== 'waiting') return { response, answers };
        if (answers.length > 1000) throw new Error('more than 1000 prompts');
        answers.push(response.pending.kind === 'question' ? (yesNo.length ? yesNo.shift() : true)
                                                          : (replies.length ? replies.shift() : null));
    }
}

export function runModule(k, run, answers) {
    return JSON.parse(k.run(request(run, answers)));
}

// The module's response in koravin-cli's terms.
export function asCli(response) {
    return {
        report: response.report,
        trace: response.events.map(traceLine),
        checks: response.checks?.values,
    };
}
