// The picture beside a report, drawn as SVG from the core's geometry (the `picture` call): f(x)
// with a run's steps, the cobweb, the convergence curves on a logarithmic axis, and the two
// columns of a differential-equation table against y(x). This file is the interface the windows
// use; the drawing arrives with the core's picture geometry.

// What a run hands the picture (the `picture` object of a run's answer).
export interface Mark {
    index: number;
    x: number;
    through: [number, number][];
    bracket: [number, number] | null;
}

export interface Columns {
    x: number[];
    firstHeading: string;
    first: number[];
    secondHeading: string;
    second: number[];
}

// One run on a convergence picture: a nonlinear run by its command's caption and marks, or an
// iterative linear run by its sweeps.
export type DecayRun =
    | { caption: string; marks: Mark[] }
    | { method: string; relaxation: number; changes: number[]; radius: number | null };

// Calls the core's quick functions (commands, sample, picture, divisions) off the main thread.
export interface CoreCalls {
    call(name: string, request: object): Promise<unknown>;
}

export class PicturePane {
    readonly element: HTMLElement;

    constructor(host: HTMLElement, private readonly core: CoreCalls) {
        this.element = document.createElement('div');
        this.element.className = 'picture';
        this.element.setAttribute('role', 'img');
        this.element.setAttribute('aria-label', '图形区域');
        host.append(this.element);
        void this.core;
    }

    // f(x) over [-5, 5] before any run, or with a run's iterates, brackets, tangents and secants.
    showFunction(_f: string, _marks: Mark[]): void {}
    // The cobweb of x = φ(x): y = φ(x), y = x and the path of the iterates.
    showCobweb(_phi: string, _marks: Mark[]): void {}
    // The step sizes of the runs kept (at most six, a run of the same label replacing the older).
    showDecay(_runs: DecayRun[], _sizeTitle: string): void {}
    // The table's two columns against x, with y(x) and each column's error at the last node.
    showColumns(_columns: Columns, _exact: string): void {}
    clear(): void {}
    // 导出图片…: asks SVG or PNG and saves it; the name of the file written, or null.
    async exportImage(): Promise<string | null> {
        return null;
    }
    // The picture as it is drawn, for paper; null when nothing is shown.
    printable(): SVGSVGElement | null {
        return null;
    }
}
