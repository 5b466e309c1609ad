// Every view at 1280 × 900 and at a phone's 390 × 844: axe-core finds no serious or critical
// violation; on the phone nothing is wider than the screen and no text is cut off; the
// Content-Security-Policy refuses nothing the page does. KORAVIN_SCREENSHOTS=DIR keeps a
// picture of each view.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { test } from 'node:test';

import { answerRun, chooseMenu, openPage, sharedBrowser, shown } from './harness.mjs';

const require = createRequire(path.join(process.env.KORAVIN_WEB_NODE_MODULES ?? path.resolve('web/node_modules'), 'noop.js'));
const axeSource = readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const browser = sharedBrowser();

// Each view: its route and what to do to reach it from there.
const views = [
    ['start', '', async () => {}],
    ['about', '', async (page) => shown(page).getByRole('button', { name: '关于' }).click()],
    ['linear', 'linear', async (page) => {
        await chooseMenu(page, ['文件(F)', '示例', 'Gauss消去法：3阶方程组']);
        await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
        await answerRun(page, ['3']);
    }],
    ['linear-menu', 'linear', async (page) => {
        await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('1 2 3');
        await chooseMenu(page, ['解线性方程组(U)', '迭代法的收敛性']);
    }],
    ['linear-prompt', 'linear', async (page) => {
        await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('1 2 3');
        await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    }],
    ['linear-font', 'linear', async (page) => chooseMenu(page, ['显示(V)', '字体'])],
    ['ultra-picture', 'ultra', async (page) => {
        await chooseMenu(page, ['文件(F)', '示例', '牛顿切线法：x^3-2x-5']);
        await chooseMenu(page, ['显示(V)', '图形']);
        await chooseMenu(page, ['解方程(C)', '牛顿切线法']);
        await answerRun(page, ['3*x^2-2', '2', '0.0001']);
    }],
    ['ultra-message', 'ultra', async (page) => {
        const chooser = page.waitForEvent('filechooser');
        await chooseMenu(page, ['文件(F)', '打开']);
        await (await chooser).setFiles([]);
        await page.waitForSelector('dialog[open]');
    }],
    ['chooser', 'ode', async () => {}],
    ['euler', 'euler', async (page) => {
        await shown(page).getByRole('button', { name: '示例' }).click();
        await page.locator('.menu [role="menuitem"]').first().click();
        await shown(page).getByRole('button', { name: '欧拉(Euler)计算' }).click();
        await answerRun(page, ['1']);
    }],
    ['rungekutta', 'rungekutta', async () => {}],
    ['adams-examples', 'adams', async (page) => shown(page).getByRole('button', { name: '示例' }).click()],
];

async function checkView(page, name, phone) {
    await page.evaluate(axeSource);
    const results = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
    const serious = results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
    assert.deepEqual(serious, [], `${name}${phone ? ' on a phone' : ''}`);
    if (!phone) return;
    const clipped = await page.evaluate(() => {
        const width = document.documentElement.clientWidth;
        const found = [];
        if (document.documentElement.scrollWidth > width) found.push(`the page is ${document.documentElement.scrollWidth} wide`);
        for (const element of document.querySelectorAll('button, label, h1, h2, p, [role="menuitem"], [role="menuitemcheckbox"], [role="status"], input, select, dialog')) {
            const box = element.getBoundingClientRect();
            if (box.width === 0 || element.closest('[hidden]')) continue;
            const style = getComputedStyle(element);
            const cut = element.scrollWidth > element.clientWidth + 1 && style.overflowX !== 'visible';
            if (box.right > width + 0.5 || box.left < -0.5 || cut) found.push(`${element.tagName} ${element.textContent.slice(0, 30)}`);
        }
        return found;
    });
    assert.deepEqual(clipped, [], name);
}

for (const phone of [false, true]) {
    test(`every view ${phone ? 'at 390 × 844' : 'at 1280 × 900'}: accessible, and nothing cut off`, async () => {
        for (const [name, route, reach] of views) {
            const page = await openPage(browser.context, browser.site.address, route);
            const refused = [];
            page.on('console', (message) => { if (/Content Security Policy|Refused to/.test(message.text())) refused.push(message.text()); });
            if (phone) await page.setViewportSize({ width: 390, height: 844 });
            await reach(page);
            await page.waitForTimeout(100);
            if (process.env.KORAVIN_SCREENSHOTS) {
                await page.screenshot({ path: path.join(process.env.KORAVIN_SCREENSHOTS, `${name}${phone ? '-phone' : ''}.png`) });
            }
            await checkView(page, name, phone);
            assert.deepEqual(refused, [], name);
            assert.deepEqual(page.errors, [], name);
            await page.close();
        }
    });
}
