// How a report's lines go on A4 paper, as the desktop lays them: in the pane's font size while the
// widest line fits the page; shrunk to fit down to 6 pt; then on landscape pages, again shrunk
// to fit down to 6 pt; and only then at 6 pt with its long lines broken between numbers, each
// further part beginning with "→ ". Widths are counted in columns of the monospace font, one
// column half an em.

import { columnsOf, isWide } from './text_lines';

export const pageMarginMillimetres = 15;
const pageWidth = { portrait: 210 - 2 * pageMarginMillimetres, landscape: 297 - 2 * pageMarginMillimetres };
// The height inside the margins, which a picture must fit to stay on its one page.
export const pageHeight = { portrait: 297 - 2 * pageMarginMillimetres, landscape: 210 - 2 * pageMarginMillimetres };
export const smallestPointSize = 6;
export const continuationMark = '→ ';
// The arrow is as wide as an ideograph in a CJK font.
const markColumns = 3;

export interface PaperFit {
    landscape: boolean;
    pointSize: number;
    // The most columns of a part of a broken line; 0 when no line is broken.
    breakColumns: number;
}

const millimetresPerPoint = 25.4 / 72;

function columnsThatFit(widthMillimetres: number, pointSize: number): number {
    return Math.floor(widthMillimetres / (pointSize * 0.5 * millimetresPerPoint));
}

// A size that fits `columns` into the width, rounded down to a hundredth of a point.
function shrunkSize(columns: number, widthMillimetres: number): number {
    return Math.floor((widthMillimetres / (columns * 0.5 * millimetresPerPoint)) * 100) / 100;
}

export function fitToPage(widestColumns: number, pointSize: number): PaperFit {
    for (const landscape of [false, true]) {
        const width = landscape ? pageWidth.landscape : pageWidth.portrait;
        if (widestColumns <= columnsThatFit(width, pointSize)) return { landscape, pointSize, breakColumns: 0 };
        const size = shrunkSize(widestColumns, width);
        if (size >= smallestPointSize) return { landscape, pointSize: Math.min(size, pointSize), breakColumns: 0 };
    }
    return { landscape: true, pointSize: smallestPointSize, breakColumns: columnsThatFit(pageWidth.landscape, smallestPointSize) };
}

// The line in parts of at most `breakColumns` columns, broken at blanks only so that a number is
// never cut; a run of characters wider than a whole part is cut where it must. Each part after
// the first begins with the continuation mark, and the blanks at a break are left out.
export function breakLine(line: string, breakColumns: number): string[] {
    const parts: string[] = [];
    let start = 0;
    while (start < line.length) {
        const room = parts.length === 0 ? breakColumns : breakColumns - markColumns;
        let used = 0;
        let lastBlank = -1;
        let i = start;
        for (; i < line.length; ++i) {
            const code = line.charCodeAt(i);
            const width = isWide(code) ? 2 : code >= 0xdc00 && code < 0xe000 ? 0 : 1;
            if (used + width > room) break;
            if (code === 32 && i > start) lastBlank = i;
            used += width;
        }
        let end = line.length;
        if (i < line.length) end = lastBlank > start ? lastBlank : Math.max(i, start + 1);
        // Never between the two halves of a surrogate pair.
        const next = line.charCodeAt(end);
        if (end < line.length && next >= 0xdc00 && next < 0xe000 && end > start + 1) --end;
        const part = line.slice(start, end);
        parts.push(parts.length === 0 ? part : continuationMark + part);
        start = end;
        while (start < line.length && line.charCodeAt(start) === 32) ++start;
    }
    return parts.length === 0 ? [''] : parts;
}

// The report's lines as the pages print them.
export function paperLines(lines: string[], fit: PaperFit): string[] {
    if (fit.breakColumns === 0) return lines;
    const broken: string[] = [];
    for (const line of lines) {
        if (columnsOf(line) > fit.breakColumns) broken.push(...breakLine(line, fit.breakColumns));
        else broken.push(line);
    }
    return broken;
}
