// Offline and installable: after one visit the service worker serves the whole site, so that a
// reload with the server gone and the network cut still computes; the manifest names what an
// installed app needs; the page asks for nothing outside its own origin.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { answerRun, chooseMenu, linesOf, paneLines, runCli, sharedBrowser, shown } from './harness.mjs';

const browser = sharedBrowser();

test('with the network cut after one visit, the page loads and computes', async () => {
    const page = await browser.context.newPage();
    const requests = [];
    page.on('request', (request) => requests.push(request.url()));
    await page.goto(browser.site.address);
    await page.evaluate(() => navigator.serviceWorker.ready);
    assert.ok(requests.every((url) => url.startsWith(browser.site.address)), requests.join('\n'));

    const manifest = await (await page.request.get(`${browser.site.address}manifest.webmanifest`)).json();
    assert.equal(manifest.lang, 'zh-CN');
    assert.equal(manifest.display, 'standalone');
    assert.equal(manifest.start_url, './');
    assert.ok(manifest.icons.some((icon) => /^(\d+)x\1$/.test(icon.sizes) && Number(icon.sizes.split('x')[0]) >= 144));

    browser.site.server.close();
    browser.site.server.closeAllConnections();
    await browser.context.setOffline(true);
    await page.reload();
    await shown(page).getByRole('button', { name: '非线性方程的数值解法' }).click();
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('x^3-2*x-5');
    await chooseMenu(page, ['解方程(C)', '牛顿切线法']);
    const replies = ['3*x^2-2', '2', '0.0001'];
    const trace = await answerRun(page, replies);
    const expected = runCli({ command: 'CalculateNewton', editor: 'x^3-2*x-5', replies });
    assert.deepEqual(trace, expected.trace);
    assert.deepEqual(await paneLines(page, '计算结果区域'), linesOf(expected.report));
    // The help is there too.
    const help = await page.request.get(`${browser.site.address}help/index.html`).catch(() => null);
    assert.equal(help, null, 'the server is gone');
    const helpPage = await browser.context.newPage();
    await helpPage.goto(`${browser.site.address}help/linear.html`);
    assert.match(await helpPage.title(), /线性方程组/);
    await browser.context.setOffline(false);
});
