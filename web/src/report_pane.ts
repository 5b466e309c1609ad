// The read-only result pane: a report of any length in the panes' monospace font, lines never
// wrapped. A browser's text area lays out every line of its text at once, which takes seconds for
// a report of megabytes; this pane draws only the lines and columns in view, so that showing a
// report of 17 MB or of 32 768 table rows costs as little as showing a short one. A report of a
// few hundred kilobytes is drawn whole, and the browser's find and selection work on all of it.
// Ctrl+A selects the whole report, and copying it then copies every line.

import { element } from './dialogs';
import { columnSlice, columnsOf, indexLines, lineAt, type LineIndex } from './text_lines';

// Up to this many characters every line is drawn.
const drawnWhole = 300_000;
// Lines and columns drawn beyond the visible ones, so that scrolling a little draws nothing new.
const spareLines = 40;
const spareColumns = 200;

const measuring = document.createElement('canvas').getContext('2d')!;

// A report's text with its line index.
export interface ReportText {
    text: string;
    lines: LineIndex;
}

export class ReportPane {
    readonly element: HTMLElement;
    private readonly sizer: HTMLElement;
    private readonly block: HTMLElement;
    private report: ReportText = { text: '', lines: indexLines('') };
    private lineHeight = 16;
    private columnWidth = 8;
    private drawn = { first: -1, last: -1, column: -1 };
    private pending = 0;
    private wholeSelected = false;
    // The differential-equation tables: headings stand over their columns of 24 characters.
    alignHeadings = false;

    constructor(name: string, className: string) {
        this.element = element('div', `report ${className}`);
        this.element.setAttribute('role', 'textbox');
        this.element.setAttribute('aria-label', name);
        this.element.setAttribute('aria-readonly', 'true');
        this.element.setAttribute('aria-multiline', 'true');
        this.element.tabIndex = 0;
        this.sizer = element('div', 'report-sizer');
        this.block = element('div', 'report-lines');
        this.sizer.append(this.block);
        this.element.append(this.sizer);
        this.element.addEventListener('scroll', () => this.schedule());
        new ResizeObserver(() => this.schedule()).observe(this.element);
        this.element.addEventListener('keydown', (event) => {
            if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'a') {
                event.preventDefault();
                this.selectAll();
            }
        });
        this.element.addEventListener('copy', (event) => {
            if (!this.wholeSelected || !this.selectionIsMine()) return;
            event.preventDefault();
            event.clipboardData?.setData('text/plain', this.report.text.replace(/\r\n?/g, '\n'));
        });
        document.addEventListener('selectionchange', () => {
            if (this.wholeSelected && !this.selectionIsMine()) this.wholeSelected = false;
        });
    }

    get text(): string {
        return this.report.text;
    }

    get content(): ReportText {
        return this.report;
    }

    setText(text: string, lines?: LineIndex): void {
        this.report = { text, lines: lines ?? indexLines(text) };
        this.wholeSelected = false;
        this.measure();
        this.drawn = { first: -1, last: -1, column: -1 };
        this.element.scrollTop = 0;
        this.element.scrollLeft = 0;
        this.draw();
    }

    clear(): void {
        this.setText('');
    }

    // Whether the pane holds nothing but blanks (line ends count as text, as in the desktop).
    isBlank(): boolean {
        return /^ *$/.test(this.report.text);
    }

    // After the font changed.
    refresh(): void {
        this.measure();
        this.drawn = { first: -1, last: -1, column: -1 };
        this.draw();
    }

    // A column is as wide as a digit in the pane's font; a line as high as the pane's line height.
    private measure(): void {
        const style = getComputedStyle(this.element);
        measuring.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
        const digit = measuring.measureText('0000000000').width / 10;
        const height = parseFloat(style.lineHeight);
        if (digit > 0) this.columnWidth = digit;
        if (height > 0) this.lineHeight = height;
        const count = this.report.lines.starts.length;
        const padding = 8;
        this.sizer.style.height = `${Math.ceil(count * this.lineHeight) + padding}px`;
        this.sizer.style.width = `${Math.ceil((this.report.lines.widest + 1) * this.columnWidth) + padding}px`;
    }

    private schedule(): void {
        if (this.pending) return;
        this.pending = requestAnimationFrame(() => {
            this.pending = 0;
            this.draw();
        });
    }

    private draw(): void {
        const { text, lines } = this.report;
        const count = lines.starts.length;
        let first = 0;
        let last = count - 1;
        let column = 0;
        let columns = Infinity;
        if (text.length > drawnWhole) {
            const top = Math.floor(this.element.scrollTop / this.lineHeight);
            const rows = Math.ceil(this.element.clientHeight / this.lineHeight);
            first = Math.max(0, Math.floor((top - spareLines) / spareLines) * spareLines);
            last = Math.min(count - 1, first + rows + 3 * spareLines);
            if (lines.widest > 4 * spareColumns) {
                const left = Math.floor(this.element.scrollLeft / this.columnWidth);
                column = Math.max(0, Math.floor((left - spareColumns) / spareColumns) * spareColumns);
                columns = Math.ceil(this.element.clientWidth / this.columnWidth) + 3 * spareColumns;
            }
        }
        if (first === this.drawn.first && last === this.drawn.last && column === this.drawn.column) return;
        this.drawn = { first, last, column };
        const rows: HTMLElement[] = [];
        for (let i = first; i <= last; ++i) {
            const line = lineAt(text, lines, i);
            const row = element('div', 'report-line');
            if (column > 0 || columns < Infinity) {
                const part = columnSlice(line, column, column + columns);
                // A wide character that straddles the first column starts one column early.
                if (part.column < column) row.style.marginLeft = `${(part.column - column) * this.columnWidth}px`;
                row.textContent = part.text || '\u200b';
            } else if (i === 0 && this.alignHeadings) {
                this.alignedHeadings(row, line);
            } else {
                row.textContent = line || '\u200b';
            }
            rows.push(row);
        }
        this.block.style.transform = `translate(${column * this.columnWidth}px, ${first * this.lineHeight}px)`;
        this.block.replaceChildren(...rows);
    }

    // The blanks before a heading drawn narrower by as much as its wide characters are wider,
    // so that it stands over its column; the text stays as it is.
    private alignedHeadings(row: HTMLElement, line: string): void {
        const field = 24;
        for (let start = 0; start < line.length; start += field) {
            const part = line.slice(start, start + field);
            const blanks = part.length - part.trimStart().length;
            const heading = part.slice(blanks);
            const wider = columnsOf(heading) - heading.length;
            if (blanks === 0 || wider <= 0) {
                row.append(part);
                continue;
            }
            const narrower = element('span', undefined, part.slice(0, blanks));
            narrower.style.letterSpacing = `${-(wider * this.columnWidth) / blanks}px`;
            row.append(narrower, heading);
        }
    }

    private selectionIsMine(): boolean {
        const selection = document.getSelection();
        return selection !== null && selection.rangeCount > 0 && this.element.contains(selection.anchorNode);
    }

    selectAll(): void {
        const selection = document.getSelection();
        if (!selection) return;
        selection.selectAllChildren(this.block);
        this.wholeSelected = true;
    }
}
