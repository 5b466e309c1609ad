// The page's tests: the built site served on a port of its own, Debian's Chromium driven by
// playwright-core (no browser is downloaded), and helpers that use the page as a person does,
// through the menus and dialogs by their roles and names. koravin-cli gives the expected reports.

import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
export const siteDir = process.env.KORAVIN_SITE_DIR ?? path.join(root, 'build-web/site');
export const cliPath = process.env.KORAVIN_CLI ?? path.join(root, 'build/src/cli/koravin-cli');
const nodeModules = process.env.KORAVIN_WEB_NODE_MODULES ?? path.join(root, 'web/node_modules');
const require = createRequire(path.join(nodeModules, 'noop.js'));

// The page's TypeScript modules, bundled for node by the esbuild the site is built with.
export async function loadPageModules(names) {
    const { build } = require('esbuild');
    const dir = mkdtempSync(path.join(tmpdir(), 'koravin-page-'));
    try {
        const loaded = {};
        for (const name of names) {
            const outfile = path.join(dir, `${name}.mjs`);
            await build({ entryPoints: [path.join(root, 'web/src', `${name}.ts`)], bundle: true, format: 'esm',
                          platform: 'neutral', outfile, logLevel: 'error' });
            loaded[name] = await import(pathToFileURL(outfile).href);
        }
        return loaded;
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}

// The site served and Chromium launched once for a test file, both closed after it: the file's
// tests use `browser.site` and `browser.context`.
// The file's own before hooks at the top level run alongside this one, not after it: they
// await browser.ready() before they use the page.
export function sharedBrowser() {
    let starting;
    const browser = {
        site: null,
        context: null,
        ready: () => (starting ??= (async () => {
            browser.site = await serve();
            browser.context = await launch();
        })()),
    };
    before(browser.ready);
    after(async () => {
        await browser.context?.close();
        browser.site?.server.close();
    });
    return browser;
}

export async function serve() {
    const { serveSite } = await import(pathToFileURL(path.join(root, 'web/serve.mjs')).href);
    const server = await serveSite(siteDir, 0);
    return { server, address: `http://127.0.0.1:${server.address().port}/` };
}

export const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// Chromium with a fresh profile of its own.
export async function launch() {
    const { chromium } = require('playwright-core');
    const profile = mkdtempSync(path.join(tmpdir(), 'koravin-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: ['--headless', ...chromiumFlags],
        viewport: { width: 1280, height: 900 },
        acceptDownloads: true,
        locale: 'zh-CN',
    });
    const close = context.close.bind(context);
    context.close = async () => {
        await close();
        rmSync(profile, { recursive: true, force: true });
    };
    return context;
}

// A fresh page of the site at `route`, with the core's listings loaded.
export async function openPage(context, address, route = '') {
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(String(error)));
    page.errors = errors;
    await page.goto(`${address}${route ? `#${route}` : ''}`);
    await page.waitForSelector(`section.window${route ? ':not([data-name="Koravin"])' : ''}:not([hidden])`);
    return page;
}

export const shown = (page) => page.locator('section.window:not([hidden])');
export const statusOf = (page) => shown(page).getByRole('status').first();

// Chooses a menu entry by the captions on its way, from the menu bar on.
export async function chooseMenu(page, captions) {
    const [first, ...rest] = captions;
    await shown(page).getByRole('menubar').getByRole('menuitem', { name: first, exact: true }).click();
    for (const caption of rest) {
        await page.locator('.menu').last().getByRole(/check/.test(caption) ? 'menuitemcheckbox' : 'menuitem', { name: caption, exact: true })
            .or(page.locator('.menu').last().getByRole('menuitemcheckbox', { name: caption, exact: true }))
            .click();
    }
}

// The dialog that is open, described as koravin-cli's --trace describes it, or null.
export async function openDialogEvent(page) {
    const dialog = page.locator('dialog[open]');
    if (await dialog.count() === 0) return null;
    return dialog.evaluate((box) => {
        const title = box.querySelector('h2').textContent;
        const input = box.querySelector('input[type="text"]');
        const text = box.querySelector('.box-text').textContent;
        const buttons = [...box.querySelectorAll('.box-buttons button')].map((b) => b.textContent);
        if (input) return { kind: 'prompt', title, text, default: input.value };
        if (buttons.includes('是(Y)')) return { kind: 'question', title, text };
        return { kind: 'message', title, text };
    });
}

const escaped = (text) => text.replaceAll('\r', '\\r').replaceAll('\n', '\\n');

// Answers every dialog of a run until it ends: `replies` the prompts, then 取消; `yesNo` the
// questions, then 是; 确定 the messages. Gives the trace lines of what it answered.
export async function answerRun(page, replies = [], yesNo = []) {
    replies = [...replies];
    yesNo = [...yesNo];
    const trace = [];
    for (;;) {
        await page.waitForFunction(() => {
            const window = document.querySelector('section.window:not([hidden])');
            const busy = window?.querySelector('[data-name="Stop"]:not(:disabled), button[data-name="Command1"]:disabled');
            return document.querySelector('dialog[open]') !== null || !busy;
        });
        const event = await openDialogEvent(page);
        if (!event) return trace;
        const id = await page.locator('dialog[open]').getAttribute('aria-labelledby');
        const dialog = page.locator(`dialog[aria-labelledby="${id}"]`);
        // The prompt's text has its line ends as the page shows them.
        if (event.kind === 'prompt') {
            trace.push(`prompt\t${escaped(event.title)}\t${escaped(event.text)}\t${escaped(event.default)}`);
            if (replies.length) {
                await dialog.getByRole('textbox').fill(replies.shift());
                await dialog.getByRole('button', { name: '确定' }).click();
            } else {
                await dialog.getByRole('button', { name: '取消' }).click();
            }
        } else if (event.kind === 'question') {
            const yes = yesNo.length ? yesNo.shift() : true;
            trace.push(`question\t${escaped(event.title)}\t${escaped(event.text)}\t${yes ? 'yes' : 'no'}`);
            await dialog.getByRole('button', { name: yes ? '是(Y)' : '否(N)' }).click();
        } else {
            trace.push(`message\t${escaped(event.text)}`);
            await dialog.getByRole('button', { name: '确定' }).click();
        }
        await dialog.waitFor({ state: 'detached' });
    }
}

// koravin-cli's report and trace for a run; texts in the trace with their CR LF as \r\n become
// the page's \n, as a dialog shows a line end.
export function runCli(run) {
    const dir = mkdtempSync(path.join(tmpdir(), 'koravin-page-cli-'));
    try {
        const args = ['run', run.command, '--editor', '-', '--trace', '--digits', String(run.digits ?? 6)];
        for (const reply of run.replies ?? []) args.push(`--reply=${reply}`);
        for (const yes of run.yesNo ?? []) args.push(yes ? '--yes' : '--no');
        for (const [name, value] of Object.entries(run.fields ?? {})) args.push(`--field=${name}=${value}`);
        if (run.check) args.push('--check');
        if (run.result !== undefined) {
            writeFileSync(path.join(dir, 'result.txt'), run.result);
            args.push('--result', path.join(dir, 'result.txt'));
        }
        const cli = spawnSync(cliPath, args, { input: run.editor ?? '', maxBuffer: 1 << 30 });
        if (cli.status !== 0) throw new Error(`koravin-cli exited ${cli.status}: ${cli.stderr}`);
        const trace = cli.stderr.toString('utf8').split('\n').filter((line) => line !== '')
            .map((line) => line.replaceAll('\\r\\n', '\\n').replaceAll('\\r', '\\n'));
        return { report: cli.stdout.toString('utf8'), trace };
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}

// The result pane's report, saved through the toolbar's 另存为 as a download: the bytes a person
// gets (the menu entry is disabled while the pane is blank, the toolbar button never).
export async function savedReport(page) {
    const download = page.waitForEvent('download');
    await shown(page).getByRole('toolbar').getByRole('button', { name: '另存为' }).click();
    const file = await (await download).path();
    return readFileSync(file);
}

// The lines the result pane shows (a report short enough to be drawn whole).
export async function paneLines(page, name = '结果区域') {
    return shown(page).getByRole('textbox', { name, exact: true }).evaluate((pane) =>
        [...pane.querySelectorAll('.report-line')].map((line) => line.textContent.replace(/\u200b/g, '')));
}

// The report's lines as the pane shows them.
export function linesOf(report) {
    const lines = report.split(/\r\n|\r|\n/);
    if (lines.length > 1 && lines.at(-1) === '') lines.pop();
    return lines;
}

// The page's downloads go to the test; the File System Access API is left out so that 保存
// downloads.
export async function withoutFilePicker(page) {
    await page.addInitScript(() => { delete window.showSaveFilePicker; });
}

// A diagonally dominant system of order n, the same every time, as the editor holds it.
export function systemOfOrder(n) {
    const rows = [];
    for (let i = 0; i < n; ++i) {
        const row = [];
        for (let j = 0; j <= n; ++j) row.push(i === j ? n + 1 : ((i * 31 + j * 17) % 19) / 10 - 0.9);
        rows.push(row.join(' '));
    }
    return rows.join('\r\n');
}
