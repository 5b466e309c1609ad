// A report's lines and their widths in columns of the panes' font, where a CJK character takes
// two columns and every other character one, as in the reports' blank-padded layout.

// Where each line begins, and the widest line in columns. Lines end with CR LF, CR or LF; a
// text that ends with a line end has no empty last line.
export interface LineIndex {
    starts: Uint32Array;
    widest: number;
}

// East Asian wide and fullwidth characters: the CJK blocks, Hangul, the fullwidth forms.
export function isWide(code: number): boolean {
    return (code >= 0x1100 && code <= 0x115f) || (code >= 0x2e80 && code <= 0xa4cf && code !== 0x303f) ||
        (code >= 0xac00 && code <= 0xd7a3) || (code >= 0xf900 && code <= 0xfaff) || (code >= 0xfe30 && code <= 0xfe4f) ||
        (code >= 0xff00 && code <= 0xff60) || (code >= 0xffe0 && code <= 0xffe6) || (code >= 0x20000 && code <= 0x3fffd);
}

// The columns a piece of text takes; a surrogate pair is one character.
export function columnsOf(text: string, from = 0, to = text.length): number {
    let columns = 0;
    for (let i = from; i < to; ++i) {
        const code = text.codePointAt(i)!;
        if (code > 0xffff) ++i;
        columns += isWide(code) ? 2 : 1;
    }
    return columns;
}

function lineEndAt(text: string, i: number): number {
    const code = text.charCodeAt(i);
    if (code === 13) return text.charCodeAt(i + 1) === 10 ? 2 : 1;
    return code === 10 ? 1 : 0;
}

// Wide characters are rare in reports (headings and messages): a line is counted character by
// character only when a quick test finds one, so a report of many megabytes is indexed fast.
const anyWide = /[\ud800-\udbff\u1100-\u115f\u2e80-\ua4cf\uac00-\ud7a3\uf900-\ufaff\ufe30-\ufe4f\uff00-\uff60\uffe0-\uffe6]/;

export function indexLines(text: string): LineIndex {
    const starts: number[] = [0];
    let widest = 0;
    let start = 0;
    // The next LF and CR from `start` on, each searched again only once passed: indexOf finds a
    // line end much faster than a loop over the characters.
    let lf = text.indexOf('\n');
    let cr = text.indexOf('\r');
    for (;;) {
        if (lf >= 0 && lf < start) lf = text.indexOf('\n', start);
        if (cr >= 0 && cr < start) cr = text.indexOf('\r', start);
        const end = lf < 0 ? cr : cr < 0 ? lf : Math.min(lf, cr);
        const stop = end < 0 ? text.length : end;
        const line = stop > start && anyWide.test(text.slice(start, stop)) ? columnsOf(text, start, stop) : stop - start;
        if (line > widest) widest = line;
        if (end < 0) break;
        start = end + lineEndAt(text, end);
        if (start >= text.length) break;
        starts.push(start);
    }
    return { starts: Uint32Array.from(starts), widest };
}

// Line `i` without its line end.
export function lineAt(text: string, index: LineIndex, i: number): string {
    const start = index.starts[i]!;
    const next = i + 1 < index.starts.length ? index.starts[i + 1]! : text.length;
    let end = next;
    while (end > start && (text.charCodeAt(end - 1) === 10 || text.charCodeAt(end - 1) === 13)) --end;
    return text.slice(start, end);
}

// The part of a line that covers columns [from, to): the characters from the first one that
// reaches column `from`, and the column where that character begins (a wide character that
// straddles `from` is kept whole).
export function columnSlice(line: string, from: number, to: number): { text: string; column: number } {
    let column = 0;
    let i = 0;
    while (i < line.length) {
        const code = line.codePointAt(i)!;
        const width = isWide(code) ? 2 : 1;
        if (column + width > from) break;
        column += width;
        i += code > 0xffff ? 2 : 1;
    }
    const first = i;
    const startColumn = column;
    while (i < line.length && column < to) {
        const code = line.codePointAt(i)!;
        column += isWide(code) ? 2 : 1;
        i += code > 0xffff ? 2 : 1;
    }
    return { text: line.slice(first, i), column: startColumn };
}
