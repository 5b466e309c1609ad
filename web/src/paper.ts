// 打印… and 导出PDF…: the report laid on A4 pages for the browser's print, which prints it or saves
// it as PDF. The pages carry a header (the window's title, the first line of the input the report
// was computed from, the date) and "第 k 页 / 共 n 页" in their margins, the report's lines in the
// pane's font as paper_layout fits them, and the picture, when shown, on a page after them. The
// pages stay ready until the next report is printed, so that the browser's own print command
// prints them too.

import { element } from './dialogs';
import { lineAt, type LineIndex } from './text_lines';
import { fitToPage, pageHeight, pageMarginMillimetres, paperLines } from './paper_layout';

export interface PaperReport {
    title: string;
    firstLine: string;
    text: string;
    lines: LineIndex;
    pointSize: number;
    fontFamily: string;
    picture: SVGSVGElement | null;
}

// Today's date as the header shows it: 2024-05-31.
export function paperDate(today = new Date()): string {
    const two = (n: number): string => String(n).padStart(2, '0');
    return `${today.getFullYear()}-${two(today.getMonth() + 1)}-${two(today.getDate())}`;
}

// A CSS string holding the text exactly: every character but letters, digits and ideographs
// written as an escape, so that no text can end the string or the rule.
export function cssString(text: string): string {
    let quoted = '"';
    for (const character of text) {
        const code = character.codePointAt(0)!;
        quoted += /[\p{L}\p{N}]/u.test(character) ? character : `\\${code.toString(16)} `;
    }
    return `${quoted}"`;
}

// The header's middle part: the input's first line, cut short with "…" to leave the sides room.
function shortened(text: string, most = 48): string {
    const characters = [...text];
    return characters.length <= most ? text : `${characters.slice(0, most - 1).join('')}…`;
}

let pageRules: CSSStyleSheet | null = null;
let sheet: HTMLElement | null = null;
// The report the pages hold: printing it again lays out only the picture anew.
let laidOut: { text: string; title: string; firstLine: string; pointSize: number; fontFamily: string } | null = null;

// Puts the report on the pages the browser prints.
export function preparePaper(report: PaperReport): void {
    const { text: reportText, title, firstLine, pointSize, fontFamily } = report;
    if (sheet && laidOut && reportText === laidOut.text && title === laidOut.title && firstLine === laidOut.firstLine &&
        pointSize === laidOut.pointSize && fontFamily === laidOut.fontFamily) {
        sheet.querySelector('.paper-picture')?.remove();
        addPicture(sheet, report.picture);
        return;
    }
    laidOut = { text: reportText, title, firstLine, pointSize, fontFamily };
    const lines: string[] = [];
    for (let i = 0; i < report.lines.starts.length; ++i) lines.push(lineAt(report.text, report.lines, i));
    const fit = fitToPage(report.lines.widest, report.pointSize);
    const header = `font-size: 8pt; font-family: ${report.fontFamily};`;
    if (!pageRules) {
        pageRules = new CSSStyleSheet();
        document.adoptedStyleSheets = [...document.adoptedStyleSheets, pageRules];
    }
    pageRules.replaceSync(`@page {
        size: A4 ${fit.landscape ? 'landscape' : 'portrait'};
        margin: ${pageMarginMillimetres}mm;
        @top-left { content: ${cssString(report.title)}; ${header} }
        @top-center { content: ${cssString(shortened(report.firstLine))}; ${header} }
        @top-right { content: ${cssString(paperDate())}; ${header} }
        @bottom-center { content: "第 " counter(page) " 页 / 共 " counter(pages) " 页"; ${header} }
    }
    .paper-picture svg { max-height: ${(fit.landscape ? pageHeight.landscape : pageHeight.portrait) - 1}mm; }`);
    sheet?.remove();
    sheet = element('div', 'paper');
    sheet.setAttribute('aria-hidden', 'true');
    const text = element('pre', 'paper-text', paperLines(lines, fit).join('\n'));
    text.style.fontSize = `${fit.pointSize}pt`;
    text.style.fontFamily = report.fontFamily;
    sheet.append(text);
    addPicture(sheet, report.picture);
    document.body.append(sheet);
}

function addPicture(sheet: HTMLElement, picture: SVGSVGElement | null): void {
    if (!picture) return;
    const page = element('div', 'paper-picture');
    page.append(picture.cloneNode(true));
    sheet.append(page);
}

export function printReport(report: PaperReport): void {
    preparePaper(report);
    window.print();
}
