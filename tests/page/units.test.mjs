// The page's own computations, run by node: line indexing and column slicing of the result pane
// (against a plain character-by-character reference on generated texts), the paper's fit and line
// breaking, the decimal-places reply, document decoding, the kept convergence runs, and the
// credit's readable colours.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import { loadPageModules } from './harness.mjs';

const { text_lines: lines, paper_layout: paper, files, workspace_picture: picture, start } =
    await loadPageModules(['text_lines', 'paper_layout', 'files', 'workspace_picture', 'start']);

// The plain reference: split at CR LF, CR or LF, count every character's columns.
function referenceIndex(text) {
    const parts = text.split(/\r\n|\r|\n/);
    if (parts.length > 1 && parts.at(-1) === '') parts.pop();
    let offset = 0;
    const starts = [];
    const rest = text;
    for (const part of parts) {
        starts.push(offset);
        offset += part.length;
        offset += rest.startsWith('\r\n', offset) ? 2 : rest[offset] === '\r' || rest[offset] === '\n' ? 1 : 0;
    }
    const widest = Math.max(0, ...parts.map((part) => [...part].reduce((sum, c) => sum + (lines.isWide(c.codePointAt(0)) ? 2 : 1), 0)));
    return { starts, widest };
}

function seeded(seed) {
    return () => {
        seed = (seed * 1103515245 + 12345) % 2147483648;
        return seed / 2147483648;
    };
}

test('the line index agrees with the plain reference on generated texts', () => {
    const random = seeded(7);
    const pieces = ['1.25', ' ', '  ', '-0.5', '\r\n', '\n', '\r', '方程组', 'x(1)=', '😀', 'Ｘ', '\r\n\r\n', 'e'];
    for (let run = 0; run < 2000; ++run) {
        let text = '';
        const count = Math.floor(random() * 30);
        for (let i = 0; i < count; ++i) text += pieces[Math.floor(random() * pieces.length)];
        const index = lines.indexLines(text);
        const expected = referenceIndex(text);
        assert.deepEqual({ starts: [...index.starts], widest: index.widest }, expected, JSON.stringify(text));
        const split = text.split(/\r\n|\r|\n/);
        if (split.length > 1 && split.at(-1) === '') split.pop();
        split.forEach((line, i) => assert.equal(lines.lineAt(text, index, i), line));
    }
});

test('a column slice starts at the character that reaches its first column', () => {
    const cases = [
        ['abcdef', 2, 4, 'cd', 2],
        ['方程组abc', 1, 3, '方程', 0],
        ['方程组abc', 2, 4, '程', 2],
        ['方程组abc', 2, 5, '程组', 2],
        ['ab方程', 3, 5, '方程', 2],
        ['ab', 5, 9, '', 2],
        ['😀x', 1, 3, 'x', 1],
    ];
    for (const [line, from, to, text, column] of cases) {
        assert.deepEqual(lines.columnSlice(line, from, to), { text, column }, `${line} ${from}..${to}`);
    }
});

test('a report is laid on the page as the desktop lays it', () => {
    const cases = [
        // widest columns, pane size → landscape, size, break columns
        [80, 9, false, 9, 0],
        [113, 9, false, 9, 0],
        [150, 9, false, 6.8, 0],
        [160, 9, false, 6.37, 0],
        [200, 9, true, 7.56, 0],
        [240, 9, true, 6.3, 0],
        [175, 9, true, 8.64, 0],
        [300, 9, true, 6, 252],
        [12000, 12, true, 6, 252],
        [100, 20, false, 10.2, 0],
    ];
    for (const [widest, size, landscape, pointSize, breakColumns] of cases) {
        assert.deepEqual(paper.fitToPage(widest, size), { landscape, pointSize, breakColumns }, `${widest} at ${size}`);
    }
});

test('long lines break between numbers, the further parts marked', () => {
    assert.deepEqual(paper.breakLine('  1.5  -2.25  3  40', 10), ['  1.5 ', '→ -2.25 ', '→ 3  40']);
    assert.deepEqual(paper.breakLine('123456789012345', 6), ['123456', '→ 789', '→ 012', '→ 345']);
    assert.deepEqual(paper.breakLine('方程组 方程组', 8), ['方程组', '→ 方程', '→ 组']);
    assert.deepEqual(paper.breakLine('', 8), ['']);
    // A part never splits a character written as two UTF-16 units.
    for (const part of paper.breakLine('😀'.repeat(9), 6)) assert.ok(!/^[\udc00-\udfff]|[\ud800-\udbff]$/.test(part), part);
    const random = seeded(3);
    for (let run = 0; run < 300; ++run) {
        const numbers = Array.from({ length: 1 + Math.floor(random() * 40) }, () => (random() * 2000 - 1000).toFixed(Math.floor(random() * 6)));
        const line = numbers.map((n) => n.padStart(12)).join('');
        const parts = paper.breakLine(line, 40);
        assert.ok(parts.every((part) => lines.columnsOf(part) <= 40), line);
        assert.deepEqual(parts.join(' ').replace(/→ /g, '').split(/ +/).filter(Boolean), numbers, line);
    }
});


test('a document is UTF-8 when its bytes are, otherwise GB18030', () => {
    const utf8 = new TextEncoder().encode('方程组 x^2\r\n');
    assert.equal(files.decodeDocument(utf8), '方程组 x^2\r\n');
    assert.equal(files.decodeDocument(new Uint8Array([0xef, 0xbb, 0xbf, 0x31])), '1');
    // 方程组 in GB18030, then a four-byte code.
    assert.equal(files.decodeDocument(new Uint8Array([0xb7, 0xbd, 0xb3, 0xcc, 0xd7, 0xe9, 0x0d, 0x0a, 0x95, 0x32, 0x82, 0x36])), '方程组\r\n\u{20000}');
    assert.equal(files.firstNonBlankLine('  \r\n\r\n  x^2-2 \r\n3'), '  x^2-2 ');
    assert.equal(files.firstNonBlankLine(' \n  \r\n'), null);
});

test('the convergence picture keeps six runs, a run of the same label replacing the older', () => {
    const sweep = (method, relaxation, radius) => ({ method, relaxation, changes: [1, 0.5], radius });
    assert.equal(picture.runLabel(sweep('Jacobi', 1, 0.5)), 'Jacobi ρ=0.5000');
    assert.equal(picture.runLabel(sweep('SOR', 1.2, null)), 'SOR ω=1.2');
    let kept = [];
    for (const run of [sweep('Jacobi', 1, 0.5), sweep('SOR', 1.2, 0.3), sweep('SOR', 1.3, 0.2), sweep('Jacobi', 1, 0.5)]) {
        kept = picture.keepRun(kept, run);
    }
    assert.deepEqual(kept.map(picture.runLabel), ['SOR ω=1.2 ρ=0.3000', 'SOR ω=1.3 ρ=0.2000', 'Jacobi ρ=0.5000']);
    for (const caption of ['二分法', '迭代法', '牛顿切线法', '弦截法', '埃特金加速法', '迭代-加速法', '二分法']) {
        kept = picture.keepRun(kept, { caption, marks: [] });
    }
    assert.deepEqual(kept.map(picture.runLabel), ['迭代法', '牛顿切线法', '弦截法', '埃特金加速法', '迭代-加速法', '二分法']);
});

test('every colour of the credit reads at 4.5:1 or better on its background', () => {
    for (const color of start.textModeColors.slice(0, 15)) {
        const background = start.backgroundFor(color);
        const [a, b] = [start.luminance(color), start.luminance(background)].sort((x, y) => y - x);
        assert.ok((a + 0.05) / (b + 0.05) >= 4.5, `${color} on ${background}`);
    }
});
