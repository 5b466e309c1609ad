// 打印…: the pages the browser prints, saved as PDF by DevTools' Page.printToPDF and read back by
// pdftotext. They hold every line of the report (a wide one laid on landscape pages, its long lines
// broken between numbers), search as the report's characters (方程组 finds 方程组), carry the
// header and "第 k 页 / 共 n 页".

import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { test } from 'node:test';

import { answerRun, chooseMenu, linesOf, openPage, runCli, sharedBrowser, shown } from './harness.mjs';

const browser = sharedBrowser();

// A page whose print dialog does nothing: headless Chromium has no dialog to answer, and
// DevTools prints the pages instead.
async function paperPage(route) {
    const page = await openPage(browser.context, browser.site.address, route);
    await page.addInitScript(() => { window.print = () => undefined; });
    await page.reload();
    await page.waitForSelector('section.window:not([hidden]):not([data-name="Koravin"])');
    return page;
}

// The PDF of the page as printed, and its text.
async function printed(page) {
    const devtools = await browser.context.newCDPSession(page);
    const { data } = await devtools.send('Page.printToPDF', { preferCSSPageSize: true });
    const dir = mkdtempSync(path.join(tmpdir(), 'koravin-paper-'));
    try {
        const pdf = path.join(dir, 'report.pdf');
        writeFileSync(pdf, Buffer.from(data, 'base64'));
        const text = spawnSync("pdftotext", ["-layout", "-enc", "UTF-8", pdf, "-"], { encoding: "utf8" });
        if (process.env.KORAVIN_KEEP_PDF) writeFileSync(process.env.KORAVIN_KEEP_PDF, Buffer.from(data, "base64"));
        const info = spawnSync('pdfinfo', [pdf], { encoding: 'utf8' });
        return { text: text.stdout, pages: Number(/Pages:\s+(\d+)/.exec(info.stdout)[1]), size: /Page size:\s+([\d.]+) x ([\d.]+)/.exec(info.stdout) };
    } finally {
        rmSync(dir, { recursive: true, force: true });
    }
}

const words = (text) => text.replace(/→/g, ' ').split(/\s+/).filter(Boolean);
// The report's words on the pages, as pdftotext lays them out: the header line (title, input,
// date) and the page numbers left out.
const pageNumber = /^第 ?\d+ ?页 ?\/ ?共 ?\d+ ?页$/;
const bodyWords = (text, title) => words(text.split('\n')
    .filter((line) => !line.includes(title) && !pageNumber.test(line.trim())).join('\n'));

test('a report on paper: every line, its characters, the header and the page numbers', async () => {
    const page = await paperPage('linear');
    const system = '2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3';
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill(system);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, ['3']);
    await chooseMenu(page, ['文件(F)', '打印…']);
    const { text, pages, size } = await printed(page);
    const report = runCli({ command: 'Gauss_1', editor: system.replace(/\n/g, '\r\n'), replies: ['3'] }).report;
    assert.deepEqual(bodyWords(text, '线性方程组(多元一次方程组)的数值解法'), words(report));
    assert.match(text, /方程组/);
    assert.match(text, /线性方程组\(多元一次方程组\)的数值解法/);
    assert.match(text, /线性方程组\(多元一次方程组\)的数值解法 +2 1 -1 8 +\d{4}-\d\d-\d\d/);
    assert.match(text, /\d{4}-\d\d-\d\d/);
    assert.equal(pages, 1);
    assert.match(text, /^ *第 ?1 ?页 ?\/ ?共 ?1 ?页 *$/m);
    assert.ok(Number(size[1]) < Number(size[2]), 'portrait');
});

test('a wide report goes on landscape pages with its long lines broken, and nothing is lost', async () => {
    const page = await paperPage('linear');
    const order = 40;
    const rows = Array.from({ length: order }, (_, i) =>
        Array.from({ length: order + 1 }, (_, j) => (i === j ? order : ((i * 7 + j * 13) % 17) / 7 - 1.1).toFixed(4)).join(' '));
    const chooser = page.waitForEvent('filechooser');
    await chooseMenu(page, ['文件(F)', '打开']);
    await (await chooser).setFiles({ name: 'wide.txt', mimeType: 'text/plain', buffer: Buffer.from(rows.join('\r\n')) });
    await answerRun(page, [], [true]);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, [String(order)]);
    await chooseMenu(page, ['文件(F)', '导出PDF…']);
    assert.match(await shown(page).getByRole('status').textContent(), /另存为 PDF/);
    const { text, pages, size } = await printed(page);
    const report = runCli({ command: 'Gauss_1', editor: rows.join('\r\n'), replies: [String(order)] }).report;
    assert.ok(Number(size[1]) > Number(size[2]), 'landscape');
    assert.ok(pages > 1);
    assert.deepEqual(bodyWords(text, '线性方程组(多元一次方程组)的数值解法'), words(report));
    for (let k = 1; k <= pages; ++k) assert.match(text, new RegExp(`^ *第 ?${k} ?页 ?/ ?共 ?${pages} ?页 *$`, 'm'));
    assert.ok(linesOf(report).some((line) => line.length > 252));
    assert.match(text, /→ /);
});

test('a differential-equation table prints under its window\'s title and equation', async () => {
    const page = await paperPage('euler');
    const window = shown(page);
    await window.getByRole('textbox', { name: '函数F(x)导数' }).fill('y-2*x/y');
    await window.getByRole('textbox', { name: 'x下界' }).fill('0');
    await window.getByRole('textbox', { name: 'x上界' }).fill('1');
    await window.getByRole('textbox', { name: '等分' }).fill('10');
    await window.getByRole('button', { name: '欧拉(Euler)计算' }).click();
    await answerRun(page, ['1']);
    await window.getByRole('button', { name: '打印…' }).click();
    const { text } = await printed(page);
    assert.match(text, /常微分方程的数值解法—Euler方法/);
    assert.match(text, /y'=y-2\*x\/y/);
    const report = runCli({ command: 'UsDi_Euler', fields: { Text1: 'y-2*x/y', Text2: '0', Text3: '1', Text4: '10' }, replies: ['1'] }).report;
    // The table, then the picture on a page of its own: its legend names both columns.
    const body = bodyWords(text, '常微分方程的数值解法—Euler方法');
    assert.deepEqual(body.slice(0, words(report).length), words(report));
    const picture = body.slice(words(report).length);
    assert.ok(picture.includes('欧拉公式Y(n)') && picture.includes('Euler预估-校正公式Y(n)'), picture.join(' '));
});

test('a tall picture is shrunk onto the one page after the report', async () => {
    const page = await paperPage('linear');
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('4 -1 0 2\n-1 4 -1 6\n0 -1 4 2');
    await chooseMenu(page, ['显示(V)', '图形']);
    await chooseMenu(page, ['解线性方程组(U)', '雅可比迭代法']);
    await answerRun(page, ['1E-05', '3', '0', '0', '0']);
    await shown(page).getByRole('img', { name: '图形区域' }).locator('svg').waitFor();
    await chooseMenu(page, ['文件(F)', '打印…']);
    const { text, pages } = await printed(page);
    assert.equal(pages, 2);
    assert.match(text, /^ *第 ?2 ?页 ?\/ ?共 ?2 ?页 *$/m);
    assert.match(text, /Jacobi ρ=0\.3536/);
});
