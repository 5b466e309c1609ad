// Every example through the module, answered one prompt at a time as the page answers, gives
// byte for byte the report, the events and the checks that koravin-cli gives; answered all at
// once it gives the same again.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { asCli, loadModule, runCli, runModule, runModuleByReplay } from './harness.mjs';

const k = await loadModule();
const examples = JSON.parse(k.examples());

test('the module lists every command in menu order and every example', () => {
    const commands = JSON.parse(k.commands());
    assert.equal(commands.length, 27);
    assert.deepEqual(commands.slice(0, 3).map((c) => c.name), ['Gauss_1', 'GaussTier', 'GaussFull']);
    assert.deepEqual(commands.find((c) => c.name === 'A_matrix'),
        { name: 'A_matrix', caption: '列主元求逆矩阵', workspace: 'LinearFrm', submenu: '', separatorBefore: true,
          headingBefore: '列主元消去法应用' });
    assert.deepEqual(commands.filter((c) => c.submenu === '迭代法的收敛性').map((c) => c.name),
        ['CMatrixJudge', 'VectorModel', 'MatrixModel', 'StrictMatrixJudge']);
    assert.deepEqual(commands.slice(-3).map((c) => [c.name, c.workspace]),
        [['UsDi_Euler', 'UsualDiffEquation'], ['UsDi_RungeKutta', 'UsualDiffEquation'], ['UsDi_Adams', 'UsualDiffEquation']]);
    assert.ok(examples.length >= 33);
    for (const example of examples) assert.ok(commands.some((c) => c.name === example.command), example.name);
});

for (const example of examples) {
    for (const check of [false, true]) {
        test(`${example.name}${check ? ' with the checks' : ''}`, () => {
            const fields = { ...example.fields };
            if (check && example.exact) fields.Exact = example.exact;
            const run = { command: example.command, editor: example.editor, fields, replies: example.replies,
                          yesNo: example.yesNo, check };
            const expected = runCli(run);
            const { response, answers } = runModuleByReplay(k, run);
            assert.equal(response.status, 'done');
            assert.deepEqual(asCli(response), expected);
            assert.deepEqual(runModule(k, run, answers), response);
            if (check) assert.ok(response.report.endsWith(response.checks.text));
        });
    }
}
