// The browser edition on this machine: the built site on localhost in headless Chromium, driven
// as a person drives it. Measures the start page until it is usable, the last answer until the
// report is on screen for Gauss_1 at order 300 and 1000 with the longest task on the page's thread
// meanwhile, and 32 767 rows of the Runge-Kutta window
// with their picture. Each figure is the median of RUNS runs
// (default 3), all of them printed: other work on the machine moves single runs.
// Run after scripts/web.sh --build-only: node bench/page_bench.mjs

import { answerRun, chooseMenu, launch, openPage, serve, shown, systemOfOrder } from '../tests/page/harness.mjs';

const runs = Number(process.env.RUNS ?? 3);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const round = (ms) => Math.round(ms);

// Watches the page's long tasks (50 ms and more) from now on.
async function watchLongTasks(page) {
    await page.evaluate(() => {
        window.longTasks = [];
        new PerformanceObserver((list) => window.longTasks.push(...list.getEntries().map((e) => e.duration)))
            .observe({ type: 'longtask' });
    });
}

// Presses 确定 in the open prompt after typing `reply`, then waits for the run to end with a
// report on screen (and its picture, with `picture`): the milliseconds between, and the longest
// task meanwhile.
async function lastAnswerToReport(page, reply, picture = false) {
    await watchLongTasks(page);
    await page.locator('dialog[open] input').fill(reply);
    return page.evaluate((picture) => new Promise((resolve) => {
        const began = performance.now();
        window.longTasks = [];
        document.querySelector('dialog[open] .box-buttons button').click();
        const window_ = document.querySelector('section.window:not([hidden])');
        const check = () => {
            const busy = window_.querySelector('[data-name="Stop"]:not(:disabled), button[data-name="Command1"]:disabled');
            const lines = window_.querySelectorAll('.report-line');
            const drawn = !picture || window_.querySelector('[data-name="Picture"] svg path[data-key]');
            if (!busy && drawn && lines.length > 1 && !document.querySelector('dialog[open]')) {
                // On screen: the frame after the report was drawn.
                requestAnimationFrame(() => setTimeout(() => resolve({ ms: performance.now() - began, longest: Math.max(0, ...window.longTasks) })));
            } else {
                requestAnimationFrame(check);
            }
        };
        check();
    }), picture);
}

async function startPage(context, address) {
    const page = await context.newPage();
    await page.goto(address, { waitUntil: 'commit' });
    const usable = await page.evaluate(() => new Promise((resolve) => {
        const check = () => {
            const button = document.querySelector('[data-name="Command1"]');
            if (button && button.getBoundingClientRect().width > 0) resolve(performance.now());
            else requestAnimationFrame(check);
        };
        check();
    }));
    await page.close();
    return usable;
}

async function gauss(context, address, order) {
    const page = await openPage(context, address, 'linear');
    const chooser = page.waitForEvent('filechooser');
    await chooseMenu(page, ['文件(F)', '打开']);
    await (await chooser).setFiles({ name: `order${order}.txt`, mimeType: 'text/plain', buffer: Buffer.from(systemOfOrder(order)) });
    await answerRun(page, [], [true]);
    // The first run after loading warms the browser's compiler up, as a person's first small run does.
    await page.waitForTimeout(1500);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await page.waitForSelector('dialog[open] input');
    const result = await lastAnswerToReport(page, String(order));
    await page.close();
    return result;
}

async function rungeKutta(context, address) {
    const page = await openPage(context, address, 'rungekutta');
    const window = shown(page);
    await window.getByRole('textbox', { name: '函数F(x)导数' }).fill('y-2*x/y');
    await window.getByRole('textbox', { name: 'x下界' }).fill('0');
    await window.getByRole('textbox', { name: 'x上界' }).fill('1');
    await window.getByRole('textbox', { name: '等分' }).fill('32767');
    await window.getByRole('textbox', { name: '精确解y(x)' }).fill('sqr(1+2*x)');
    await page.waitForTimeout(1500);
    await window.getByRole('button', { name: '龙格库塔(Runge-Kutta)方法计算' }).click();
    await page.waitForSelector('dialog[open] input');
    const result = await lastAnswerToReport(page, '1', true);
    await page.close();
    return result;
}

const { server, address } = await serve();
const context = await launch();
const figures = { start: [], gauss300: [], gauss1000: [], rows32767: [] };
for (let run = 0; run < runs; ++run) {
    figures.start.push({ ms: await startPage(context, address), longest: 0 });
    figures.gauss300.push(await gauss(context, address, 300));
    figures.gauss1000.push(await gauss(context, address, 1000));
    figures.rows32767.push(await rungeKutta(context, address));
}
await context.close();
server.close();

const titles = {
    start: 'start page usable (navigation → buttons drawn)',
    gauss300: 'Gauss_1, n = 300: last answer → report on screen',
    gauss1000: 'Gauss_1, n = 1000: last answer → report on screen',
    rows32767: 'Runge-Kutta, 32 767 rows: last answer → table and picture on screen',
};
for (const [key, results] of Object.entries(figures)) {
    const ms = results.map((r) => r.ms);
    const longest = results.map((r) => r.longest);
    console.log(`${titles[key]}: median ${round(median(ms))} ms (runs ${ms.map(round).join(', ')}); ` +
                `longest task on the page's thread ${round(Math.max(...longest))} ms`);
}
