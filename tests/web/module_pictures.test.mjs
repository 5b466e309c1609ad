// The module's pictures: what a run hands over, laid out for an SVG with the legends the windows
// draw, the iterates' names, and a view that zooms and pans as the windows' does.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { loadModule } from './harness.mjs';

const k = await loadModule();
const font = { size: 12, ascii: Array(95).fill(7), wide: 12, narrow: 7, height: 15 };
const call = (name, request) => JSON.parse(k[name](JSON.stringify(request)));
const runPicture = (request) => {
    const response = call('run', { ...request, picture: true });
    assert.equal(response.status, 'done');
    return response.picture;
};
const picture = (request) => {
    const scene = call('picture', { width: 640, height: 420, font, ...request });
    assert.equal(scene.status, 'done', scene.error);
    return scene;
};
const legend = (scene) => scene.legend.entries.map((entry) => entry.text);
const names = (scene) => scene.overlay.texts.map((text) => text.text);

test('f with the steps of bisection, Newton and the secant method', () => {
    const bisection = runPicture({ command: 'CalculateDichotomy', editor: 'x^3-2*x-5', answers: ['2', '3', '0.1'] });
    const scene = picture({ kind: 'function', function: 'x^3-2*x-5', marks: bisection.marks });
    assert.deepEqual(legend(scene), ['f(x)', '迭代点', '有根区间']);
    assert.deepEqual(names(scene).slice(0, 3), ['a', 'b', 'x1']);
    const newton = runPicture({ command: 'CalculateNewton', editor: 'x^3-2*x-5', answers: ['3*x^2-2', '2', '0.0001'] });
    assert.deepEqual(legend(picture({ kind: 'function', function: 'x^3-2*x-5', marks: newton.marks })), ['f(x)', '迭代点', '切线']);
    const secant = runPicture({ command: 'CalculateXianJie', editor: 'x^3-2*x-5', answers: ['2', '3', '0.0001', '0.0001'] });
    assert.deepEqual(legend(picture({ kind: 'function', function: 'x^3-2*x-5', marks: secant.marks })), ['f(x)', '迭代点', '割线']);
    // Every point of every curve lies in the plot.
    const { plot } = scene;
    for (const curve of scene.curves) {
        for (const [x, y] of curve.pieces.flat()) {
            assert.ok(x >= plot.left - 0.01 && x <= plot.left + plot.width + 0.01 && y >= plot.top - 0.01 && y <= plot.top + plot.height + 0.01);
        }
    }
});

test('the cobweb names its iterates x0, x1, … under the plot', () => {
    const run = runPicture({ command: 'CalculateIterative', editor: 'x^3-2*x-5', answers: ['(2*x+5)^(1/3)', '2', '0.0001'] });
    assert.equal(run.phi, '(2*x+5)^(1/3)');
    const scene = picture({ kind: 'cobweb', function: run.phi, marks: run.marks });
    assert.deepEqual(legend(scene), ['y=φ(x)', 'y=x', '迭代路径']);
    assert.equal(names(scene)[0], 'x0');
});

test('the sweeps of Jacobi and SOR with their radii and the dashed C·ρᵏ lines', () => {
    const system = '10 -1 -2 7.2\r\n-1 10 -2 8.3\r\n-1 -1 5 4.2';
    const jacobi = runPicture({ command: 'JacobiDie', editor: system, answers: ['1E-05', '3', '0', '0', '0'] }).sweeps;
    const sor = runPicture({ command: 'SorDie', editor: system, answers: ['1E-05', '3', '0', '0', '0', '1.2'] }).sweeps;
    assert.equal(jacobi.method, 'Jacobi');
    assert.ok(jacobi.radius > 0 && jacobi.radius < 1);
    const scene = picture({ kind: 'decay', runs: [jacobi, sor], sizeTitle: 'max|x(k)-x(k-1)|' });
    assert.deepEqual(legend(scene).map((text) => text.replace(/ρ=[0-9.]+/, 'ρ=…')), ['Jacobi ρ=…', 'SOR ω=1.2 ρ=…', 'C·ρᵏ']);
    assert.equal(scene.yTitle, 'max|x(k)-x(k-1)|');
    assert.ok(scene.yTicks.every((tick) => /^1E-?\d+$|^[0-9.]+$/.test(tick.label)), JSON.stringify(scene.yTicks));
    // A run of the same label replaces the older one.
    assert.equal(picture({ kind: 'decay', runs: [jacobi, sor, jacobi], sizeTitle: 's' }).legend.entries.length, 3);
});

test('the columns of a table against y(x), with their errors at the last node', () => {
    const run = runPicture({ command: 'UsDi_RungeKutta', fields: { Text1: 'y', Text2: '0', Text3: '1', Text4: '10' }, answers: ['1'] });
    assert.equal(run.columns.x.length, 11);
    const scene = picture({ kind: 'columns', columns: run.columns, exact: 'exp(x)' });
    assert.equal(legend(scene).length, 3);
    assert.match(legend(scene)[0], /（末点误差 \d\.\dE-\d\d）$/);
    assert.equal(legend(scene)[2], '精确解y(x)');
});

test('a wheel zooms about the pointer, a drag pans, and nothing shows an empty picture', () => {
    const scene = picture({ kind: 'function', function: 'x^2-2', marks: [] });
    assert.deepEqual(scene.view, scene.home);
    const { plot, view } = scene;
    const centre = { x: plot.left + plot.width / 2, y: plot.top + plot.height / 2 };
    const zoomed = picture({ kind: 'function', function: 'x^2-2', marks: [], view, zoom: { ...centre, factorX: 0.5, factorY: 0.5 } }).view;
    assert.ok(Math.abs((zoomed.right - zoomed.left) - (view.right - view.left) / 2) < 1e-9);
    const dragged = picture({ kind: 'function', function: 'x^2-2', marks: [], view,
                              drag: { fromX: centre.x, fromY: centre.y, toX: centre.x + plot.width / 2, toY: centre.y } }).view;
    assert.ok(Math.abs(dragged.left - (view.left - (view.right - view.left) / 2)) < 1e-9);
    assert.deepEqual(picture({ kind: 'empty' }), { status: 'done', width: 640, height: 420, empty: true, placeholder: '暂无图形' });
    assert.equal(call('picture', { kind: 'function', function: 'x', width: 10, height: 10, font }).status, 'error');
});

test('a held source draws as the source itself, until it is released', () => {
    const run = runPicture({ command: 'UsDi_RungeKutta', fields: { Text1: 'y-2*x/y', Text2: '0', Text3: '1', Text4: '200' }, answers: ['1'] });
    const source = { kind: 'columns', columns: run.columns, exact: 'sqr(1+2*x)' };
    const { status, held } = call('holdPicture', source);
    assert.equal(status, 'done');
    const frame = { width: 640, height: 420, font };
    const home = picture(source);
    assert.deepEqual(picture({ held }), home);
    const zoom = { x: 300, y: 200, factorX: 0.5, factorY: 0.5 };
    assert.deepEqual(picture({ held, view: home.view, zoom }), picture({ ...source, view: home.view, zoom }));
    // Another held source does not disturb the first.
    const other = call('holdPicture', { kind: 'function', function: 'x^2-2', marks: [] }).held;
    assert.notEqual(other, held);
    assert.deepEqual(picture({ held }), home);

    assert.deepEqual(call('releasePicture', { held }), { status: 'done' });
    assert.equal(call('picture', { ...frame, held }).status, 'error');
    assert.equal(call('picture', { ...frame, held: 'x' }).status, 'error');
    // A source that cannot be drawn is refused when it is held.
    assert.equal(call('holdPicture', { kind: 'columns', columns: 3 }).status, 'error');
    assert.equal(call('holdPicture', { kind: 'nonsense' }).status, 'error');
    // A page that never releases does not fill the memory: the 32 held last stay.
    const many = Array.from({ length: 40 }, () => call('holdPicture', { kind: 'empty' }).held);
    assert.equal(call('picture', { ...frame, held: many[7] }).status, 'error');
    assert.equal(picture({ held: many[8] }).empty, true);
});
