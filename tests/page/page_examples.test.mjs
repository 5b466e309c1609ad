// Every example through the windows, as a person goes through it: 示例 fills the editor (or the
// fields), the method comes from its menu (or the compute button), each prompt and question is
// answered in its dialog and each message acknowledged. The dialogs are those koravin-cli traces,
// in order, and the report is koravin-cli's byte for byte: saved through 另存为 in the
// workspaces, line for line as the differential-equation windows' table shows it.

import assert from 'node:assert/strict';
import { before, test } from 'node:test';

import { answerRun, chooseMenu, linesOf, openPage, paneLines, runCli, savedReport, sharedBrowser, shown, withoutFilePicker } from './harness.mjs';

const browser = sharedBrowser();
const pages = {};
let commands;
let examples;

before(async () => {
    await browser.ready();
    const page = await openPage(browser.context, browser.site.address, 'linear');
    ({ commands, examples } = await page.evaluate(async () => {
        const { default: createKoravin } = await import('./koravin.js');
        const k = await createKoravin();
        return { commands: JSON.parse(k.commands()), examples: JSON.parse(k.examples()) };
    }));
    await page.close();
});


const routes = { LinearFrm: 'linear', Ultra: 'ultra', UsDi_Euler: 'euler', UsDi_RungeKutta: 'rungekutta', UsDi_Adams: 'adams' };
const methodMenus = { LinearFrm: '解线性方程组(U)', Ultra: '解方程(C)' };

async function pageFor(route) {
    if (!pages[route]) {
        pages[route] = await browser.context.newPage();
        await withoutFilePicker(pages[route]);
        pages[route].errors = [];
        pages[route].on('pageerror', (error) => pages[route].errors.push(String(error)));
        await pages[route].goto(`${browser.site.address}#${route}`);
        await pages[route].waitForSelector(`section.window:not([hidden]):not([data-name="Koravin"])`);
    }
    return pages[route];
}

// Runs the example in its window; gives the dialogs' trace.
async function runExample(page, example) {
    const command = commands.find((c) => c.name === example.command);
    if (command.workspace === 'UsualDiffEquation') {
        await shown(page).getByRole('button', { name: '示例' }).click();
        await page.locator('.menu').getByRole('menuitem', { name: example.title, exact: true }).click();
        await shown(page).getByRole('button', { name: /计算$/ }).click();
        return answerRun(page, example.replies, example.yesNo);
    }
    await chooseMenu(page, ['文件(F)', '新建']);
    await chooseMenu(page, ['文件(F)', '示例', example.title]);
    const path = [methodMenus[command.workspace], ...(command.submenu ? [command.submenu] : []), command.caption];
    await chooseMenu(page, path);
    return answerRun(page, example.replies, example.yesNo);
}

test('every example gives koravin-cli\'s dialogs and report', async (t) => {
    for (const example of examples) {
        await t.test(example.name, async () => {
            const command = commands.find((c) => c.name === example.command);
            const route = routes[command.workspace] ?? routes[command.name];
            const page = await pageFor(route);
            const trace = await runExample(page, example);
            const expected = runCli({ command: example.command, editor: example.editor, fields: example.fields,
                                       replies: example.replies, yesNo: example.yesNo });
            assert.deepEqual(trace, expected.trace);
            if (command.workspace === 'UsualDiffEquation') {
                assert.deepEqual(await paneLines(page, '计算结果区域'), linesOf(expected.report));
            } else {
                assert.equal((await savedReport(page)).toString('utf8'), expected.report);
            }
            assert.deepEqual(page.errors, []);
        });
    }
});

test('附加检验 follows each report with the checks block, in every window', async () => {
    const page = await pageFor('linear');
    await chooseMenu(page, ['显示(V)', '附加检验']);
    const jacobi = examples.find((e) => e.command === 'JacobiDie');
    await runExample(page, jacobi);
    const expected = runCli({ command: 'JacobiDie', editor: jacobi.editor, replies: jacobi.replies, yesNo: jacobi.yesNo, check: true });
    const saved = (await savedReport(page)).toString('utf8');
    assert.equal(saved, expected.report);
    assert.match(saved, /\r\n\r\n—— 检验 ——\r\n/);

    // The setting is one for every window: the Runge-Kutta window has it on, with y(x).
    const ode = await pageFor('rungekutta');
    await ode.reload();
    assert.equal(await shown(ode).getByRole('checkbox', { name: '附加检验' }).isChecked(), true);
    const rungeKutta = examples.find((e) => e.command === 'UsDi_RungeKutta' && e.exact);
    await runExample(ode, rungeKutta);
    const odeExpected = runCli({ command: 'UsDi_RungeKutta', fields: { ...rungeKutta.fields, Exact: rungeKutta.exact },
                                 replies: rungeKutta.replies, check: true });
    assert.deepEqual(await paneLines(ode, '计算结果区域'), linesOf(odeExpected.report));

    await shown(ode).getByRole('checkbox', { name: '附加检验' }).uncheck();
    await page.reload();
    await page.waitForSelector('section[data-name="LinearFrm"]:not([hidden])');
    await chooseMenu(page, ['显示(V)']);
    assert.equal(await page.locator('.menu').getByRole('menuitemcheckbox', { name: '附加检验' }).getAttribute('aria-checked'), 'false');
    await page.keyboard.press('Escape');
});
