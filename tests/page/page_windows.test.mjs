// The windows as a person uses them: the start page and its buttons, each window once with its
// contents, the menus' captions, enabling and keys, the status bar's texts, a cancelled prompt,
// the decimal places, opening files (GB18030, the large-file question), a saved report, 停止
// during an elimination of order 1000, and the differential-equation window's fields.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { answerRun, chooseMenu, openDialogEvent, openPage, paneLines, runCli, savedReport, sharedBrowser, shown, statusOf, systemOfOrder, withoutFilePicker } from './harness.mjs';

const browser = sharedBrowser();

const gaussSystem = '2 1 -1 8\n-3 -1 2 -11\n-2 1 2 -3';

test('the start page opens each window once, and a window keeps its contents until it is closed', async () => {
    const page = await openPage(browser.context, browser.site.address);
    const start = shown(page);
    assert.deepEqual(await start.getByRole('button').allTextContents(),
        ['线性方程组(多元一次方程组)的数值解法', '非线性方程的数值解法', '常微分方程的数值解法', '帮助', '关于']);
    await page.waitForFunction(() => /\d:\d\d:\d\d/.test(document.querySelector('[data-name="Label3"]').textContent));

    await start.getByRole('button', { name: '关于' }).click();
    const about = page.getByRole('dialog', { name: '关于Koravin软件' });
    assert.deepEqual(await about.getByRole('link').allTextContents(), ['作者博客', '作者博客1', '作者博客2', '作者博客3']);
    await about.getByRole('button', { name: '确定' }).click();

    await start.getByRole('button', { name: '非线性方程的数值解法' }).click();
    assert.equal(await shown(page).getByRole('heading').textContent(), '非线性方程的数值解法');
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('x^2-2');
    await page.goBack();
    await shown(page).getByRole('button', { name: '非线性方程的数值解法' }).click();
    assert.equal(await shown(page).getByRole('textbox', { name: '编辑区域' }).inputValue(), 'x^2-2');
    await shown(page).getByRole('button', { name: '关闭' }).click();
    await shown(page).getByRole('button', { name: '非线性方程的数值解法' }).click();
    assert.equal(await shown(page).getByRole('textbox', { name: '编辑区域' }).inputValue(), '');

    // The chooser takes the differential-equation windows along when it closes.
    await page.goto(`${browser.site.address}#ode`);
    await shown(page).getByRole('button', { name: '欧拉(Euler)方法' }).click();
    await shown(page).getByRole('textbox', { name: '函数F(x)导数' }).fill('y');
    await page.goBack();
    await shown(page).getByRole('button', { name: '关闭' }).click();
    await page.goto(`${browser.site.address}#euler`);
    assert.equal(await shown(page).getByRole('textbox', { name: '函数F(x)导数' }).inputValue(), '');
    assert.equal(await shown(page).getByRole('textbox', { name: '等分' }).inputValue(), '2');
    assert.deepEqual(page.errors, []);
});

test('the menus: captions with their access keys, enabling as the window decides, the keyboard', async () => {
    const page = await openPage(browser.context, browser.site.address, 'linear');
    const bar = shown(page).getByRole('menubar');
    assert.deepEqual(await bar.getByRole('menuitem').allTextContents(), ['文件(F)', '编辑(E)', '显示(V)', '解线性方程组(U)', '帮助(H)']);
    const entries = async () => page.locator('.menu').last().locator('[role^="menuitem"]').evaluateAll((items) =>
        items.map((item) => `${item.querySelector('.menu-caption').textContent}${item.getAttribute('aria-disabled') ? ' (disabled)' : ''}`));

    await chooseMenu(page, ['文件(F)']);
    assert.deepEqual(await entries(), ['新建', '打开', '保存 (disabled)', '另存为 (disabled)', '打印… (disabled)', '导出PDF… (disabled)', '示例', '退出']);
    await page.keyboard.press('Escape');
    await chooseMenu(page, ['编辑(E)']);
    assert.deepEqual(await entries(), ['全选(A)', '撤消', '剪切', '复制', '粘贴', '删除(L)']);
    await page.keyboard.press('Escape');
    await chooseMenu(page, ['显示(V)']);
    assert.deepEqual(await entries(), ['字体', '背景色', '设置小数数位', '默认', '图形', '导出图片… (disabled)', '附加检验']);
    await page.keyboard.press('Escape');

    // Alt and the access key open the method menu: every entry is disabled while the editor is blank.
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('   ');
    await page.keyboard.press('Alt+U');
    assert.ok((await entries()).every((entry) => entry.endsWith('(disabled)')));
    await page.keyboard.press('Escape');
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill(gaussSystem);
    await page.keyboard.press('Alt+U');
    assert.deepEqual(await entries(), ['Gauss消去法', 'Gauss列主元消去法', 'Gauss全主元消去法', '列主元消去法应用', '列主元求逆矩阵',
        '列主元求行列式', '矩阵的三角分解', 'LU分解法', '平方根法', '改进的平方根法', '追赶法(解三对角)', '列主元三角分解法',
        '雅可比迭代法', '高斯-塞德尔迭代法', '逐次超松驰迭代法', '迭代法的收敛性']);
    // Up to the submenu from the bottom, into it with the right arrow, and run an entry with Enter.
    await page.keyboard.press('End');
    await page.keyboard.press('ArrowRight');
    assert.deepEqual(await entries(), ['正定矩阵判断', '向量范数', '矩阵范数', '严格对角站优矩阵判断']);
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    const trace = await answerRun(page, ['3']);
    assert.deepEqual(trace, runCli({ command: 'VectorModel', editor: gaussSystem.replace(/\n/g, '\r\n'), replies: ['3'] }).trace);

    const ultra = await openPage(browser.context, browser.site.address, 'ultra');
    assert.deepEqual(await shown(ultra).getByRole('menubar').getByRole('menuitem').allTextContents(),
        ['文件(F)', '编辑(E)', '显示(V)', '解方程(C)', '帮助(H)']);
    await chooseMenu(ultra, ['编辑(E)']);
    assert.deepEqual(await ultra.locator('.menu [role="menuitem"] .menu-caption').allTextContents(), ['撤消', '全选', '复制', '剪切', '粘贴', '删除(L)']);
    await ultra.keyboard.press('Escape');
    await chooseMenu(ultra, ['显示(V)', '图形']);
    await chooseMenu(ultra, ['显示(V)']);
    assert.deepEqual(await ultra.locator('.menu [role^="menuitem"] .menu-caption').allTextContents(),
        ['字体', '背景色', '默认', '图形', '收敛图', '导出图片…', '附加检验']);
    assert.equal(await ultra.locator('.menu').getByRole('menuitemcheckbox', { name: '图形' }).getAttribute('aria-checked'), 'true');
    await ultra.keyboard.press('Escape');
    assert.equal(await shown(ultra).getByRole('img', { name: '图形区域' }).isVisible(), true);
    // The picture's context menu, from the keyboard as well.
    await shown(ultra).getByRole('img', { name: '图形区域' }).focus();
    await ultra.keyboard.press('Shift+F10');
    assert.deepEqual(await ultra.locator('.menu [role^="menuitem"] .menu-caption').allTextContents(),
        ['导出图片…', '恢复原来的视图', '函数图', '收敛图']);
    assert.equal(await ultra.locator('.menu').getByRole('menuitemcheckbox', { name: '函数图' }).getAttribute('aria-checked'), 'true');
    await ultra.keyboard.press('ArrowDown');
    await ultra.keyboard.press('ArrowDown');
    await ultra.keyboard.press('ArrowDown');
    await ultra.keyboard.press('Enter');
    await chooseMenu(ultra, ['显示(V)']);
    assert.equal(await ultra.locator('.menu').getByRole('menuitemcheckbox', { name: '收敛图' }).getAttribute('aria-checked'), 'true');
    await ultra.keyboard.press('Escape');
});

test('the status bar says where the person is, as the desktop\'s does', async () => {
    const page = await openPage(browser.context, browser.site.address, 'linear');
    const editor = shown(page).getByRole('textbox', { name: '编辑区域' });
    await editor.focus();
    assert.equal(await statusOf(page).textContent(), '编辑区域');
    await page.keyboard.type('1');
    assert.equal(await statusOf(page).textContent(), '编辑状态');
    await shown(page).getByRole('textbox', { name: '结果区域' }).focus();
    assert.equal(await statusOf(page).textContent(), '结果区域');
    await chooseMenu(page, ['文件(F)', '新建']);
    assert.equal(await statusOf(page).textContent(), '状态');

    const ultra = await openPage(browser.context, browser.site.address, 'ultra');
    await shown(ultra).getByRole('textbox', { name: '编辑区域' }).focus();
    assert.equal(await statusOf(ultra).textContent(), '在此输入函数方程式f(x)=?');
    await shown(ultra).getByRole('textbox', { name: '计算结果区域' }).focus();
    assert.equal(await statusOf(ultra).textContent(), '计算结果区域');
    await shown(ultra).getByRole('button', { name: '新建' }).focus();
    assert.equal(await statusOf(ultra).textContent(), '状态');
});

test('a cancelled prompt ends the command silently and the pane keeps the report it had', async () => {
    const page = await openPage(browser.context, browser.site.address, 'linear');
    await withoutFilePicker(page);
    await page.reload();
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill(gaussSystem);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, ['3']);
    const report = (await savedReport(page)).toString('utf8');
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss全主元消去法']);
    const trace = await answerRun(page, []);
    const expected = runCli({ command: 'GaussFull', editor: gaussSystem.replace(/\n/g, '\r\n'), result: report });
    assert.deepEqual(trace, expected.trace);
    assert.equal((await savedReport(page)).toString('utf8'), expected.report);
    assert.equal(expected.report, report);

    // 设置小数数位: the prompt with the current places; the next report has the new ones.
    await chooseMenu(page, ['显示(V)', '设置小数数位']);
    assert.deepEqual(await openDialogEvent(page), { kind: 'prompt', title: '设置小数数位', text: '输入要设置小数数位 n：', default: '6' });
    await answerRun(page, ['2.5']);
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill('1 3 1\n3 7 2');
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, ['2']);
    assert.equal((await savedReport(page)).toString('utf8'),
        runCli({ command: 'Gauss_1', editor: '1 3 1\r\n3 7 2', replies: ['2'], digits: 2 }).report);
});

test('opening files: GB18030 and UTF-8, the question above 1500 bytes; saving UTF-8 with CR LF', async () => {
    const page = await openPage(browser.context, browser.site.address, 'linear');
    await withoutFilePicker(page);
    await page.reload();
    // "2 1 3" and a line of Chinese in GB18030: 方程组 is B7BD B3CC D7E9.
    const gb18030 = Buffer.concat([Buffer.from('2 1 3\r\n1 3 5\r\n'), Buffer.from([0xb7, 0xbd, 0xb3, 0xcc, 0xd7, 0xe9])]);
    const open = async (name, bytes) => {
        const chooser = page.waitForEvent('filechooser');
        await chooseMenu(page, ['文件(F)', '打开']);
        await (await chooser).setFiles({ name, mimeType: 'text/plain', buffer: bytes });
    };
    await open('gb.txt', gb18030);
    await page.waitForFunction(() => document.querySelector('section:not([hidden]) [data-name="StatusBar1"]').textContent === 'gb.txt');
    assert.equal(await shown(page).getByRole('textbox', { name: '编辑区域' }).inputValue(), '2 1 3\n1 3 5\n方程组');

    const large = Buffer.from(`${'1 '.repeat(750)}1`);
    assert.equal(large.length, 1501);
    await open('large.txt', large);
    assert.deepEqual(await openDialogEvent(page), { kind: 'question', title: '温馨提示', text: '文件太大，如果打开可能要等一段时间，是否仍要继续？' });
    await answerRun(page, [], [false]);
    assert.equal(await shown(page).getByRole('textbox', { name: '编辑区域' }).inputValue(), '1501');

    const chooser = page.waitForEvent('filechooser');
    await chooseMenu(page, ['文件(F)', '打开']);
    await (await chooser).setFiles([]);
    assert.deepEqual(await answerRun(page), ['message\t没有打开任何文件。']);

    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill(gaussSystem);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, ['3']);
    const saved = await savedReport(page);
    const text = saved.toString('utf8');
    assert.ok(Buffer.from(text, 'utf8').equals(saved));
    assert.match(text, /输出求解结果\r\nx\(1\)=2\r\n/);
    assert.equal(text.replace(/\r\n/g, '').includes('\n'), false);
    assert.equal(await statusOf(page).textContent(), '结果.txt');
});

test('停止 (Esc) ends an elimination of order 1000 within a second and leaves the previous report', async () => {
    const page = await openPage(browser.context, browser.site.address, 'linear');
    const chooser = page.waitForEvent('filechooser');
    await chooseMenu(page, ['文件(F)', '打开']);
    await (await chooser).setFiles({ name: 'order1000.txt', mimeType: 'text/plain', buffer: Buffer.from(systemOfOrder(1000)) });
    await answerRun(page, [], [true]);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await page.locator('dialog[open] input').fill('1000');
    await page.locator('dialog[open]').getByRole('button', { name: '确定' }).click();
    await page.waitForTimeout(500);
    assert.equal(await statusOf(page).textContent(), '正在计算……');
    const stopped = await page.evaluate(() => new Promise((resolve) => {
        const stop = document.querySelector('section:not([hidden]) [data-name="Stop"]');
        const began = performance.now();
        document.activeElement.dispatchEvent(new KeyboardEvent('keydown', { key: 'Escape', bubbles: true }));
        const check = () => (stop.disabled ? resolve(performance.now() - began) : setTimeout(check, 5));
        check();
    }));
    assert.ok(stopped < 1000, `stopped after ${stopped} ms`);
    assert.equal(await statusOf(page).textContent(), 'order1000.txt');
    assert.deepEqual(await paneLines(page), ['']);

    // The next command runs in a fresh worker.
    await shown(page).getByRole('textbox', { name: '编辑区域' }).fill(gaussSystem);
    await chooseMenu(page, ['解线性方程组(U)', 'Gauss消去法']);
    await answerRun(page, ['3']);
    assert.match(await shown(page).getByRole('textbox', { name: '结果区域' }).textContent(), /x\(3\)=-1/);
});

test('the differential-equation window: the division rule, the spinner, the messages and the focus', async () => {
    const page = await openPage(browser.context, browser.site.address, 'rungekutta');
    const window = shown(page);
    const divisions = window.getByRole('textbox', { name: '等分' });
    for (const [typed, held] of [['0', '1'], ['40000', '32767'], ['2.5', '2.5'], ['-5', '1']]) {
        await divisions.fill(typed);
        await page.waitForFunction(([held]) => document.querySelector('section:not([hidden]) [data-name="Text4"]').value === held, [held]);
    }
    await divisions.fill('32767');
    await page.waitForFunction(() => document.querySelector('[data-name="UpDown1Up"]:not([hidden])').disabled);
    await divisions.press('ArrowDown');
    await page.waitForFunction(() => document.querySelector('section:not([hidden]) [data-name="Text4"]').value === '32766');
    await window.getByRole('button', { name: '增加' }).click();
    await page.waitForFunction(() => document.querySelector('section:not([hidden]) [data-name="Text4"]').value === '32767');

    await window.getByRole('button', { name: '龙格库塔(Runge-Kutta)方法计算' }).click();
    assert.deepEqual(await answerRun(page), ['message\t没有输入函数F(x)导数。']);
    assert.equal(await page.evaluate(() => document.activeElement.dataset.name), 'Text1');
    await window.getByRole('textbox', { name: '函数F(x)导数' }).fill('y');
    await window.getByRole('textbox', { name: 'x下界' }).fill('0');
    await window.getByRole('textbox', { name: 'x上界' }).fill('1');
    await divisions.fill('10');
    await window.getByRole('button', { name: '龙格库塔(Runge-Kutta)方法计算' }).click();
    assert.deepEqual(await answerRun(page, []), ['prompt\t输入初始数值\t请输入原函数F(0)的值\t1', 'message\t没有输入初始函数值。']);
});
