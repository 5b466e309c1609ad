// What the picture beside a workspace's report shows. It draws what the commands handed over,
// never the report: in Ultra f with the last run's steps, the cobweb after the fixed-point
// family, or (收敛图) the step sizes of every run on the editor's f; in LinearFrm the sweep sizes
// of the iterative runs on the editor's system. The runs are kept together until the editor's
// text, or the order of the system, changes.

import type { RunPicture, Sweeps } from './core';
import type { DecayRun, Mark, PicturePane } from './picture';

// In the reports' notation, as the desktop's axis titles.
const stepSizeTitle = '|x(k)-x(k-1)|';
const sweepSizeTitle = 'max|x(k)-x(k-1)|';
// How many runs one picture keeps before the oldest goes.
export const mostKeptRuns = 6;

// What tells two runs apart in the legend: a run of the same label replaces the older one.
export function runLabel(run: DecayRun): string {
    if ('caption' in run) return run.caption;
    const relaxation = run.method === 'SOR' ? ` ω=${run.relaxation}` : '';
    return `${run.method}${relaxation}${run.radius === null ? '' : ` ρ=${run.radius.toPrecision(4)}`}`;
}

export function keepRun(kept: DecayRun[], run: DecayRun): DecayRun[] {
    const label = runLabel(run);
    const others = kept.filter((other) => runLabel(other) !== label);
    others.push(run);
    return others.slice(-mostKeptRuns);
}

// f as the commands read it: without the blanks around it.
function trimBlanks(text: string): string {
    return text.replace(/^ +| +$/g, '');
}

interface StepsRun {
    f: string;
    phi: string | null;
    marks: Mark[];
}

export class WorkspacePicture {
    shown = false;
    convergence = false;
    private lastRun: StepsRun | null = null;
    private kept: DecayRun[] = [];
    private keptInput = '';

    constructor(private readonly linear: boolean, private readonly pane: PicturePane,
                private readonly editorText: () => string) {
        pane.element.hidden = true;
    }

    setShown(shown: boolean): void {
        this.shown = shown;
        this.pane.element.hidden = !shown;
        if (shown) this.draw();
    }

    setConvergence(convergence: boolean): void {
        this.convergence = convergence;
        this.draw();
    }

    // A finished run: `input` is the editor text it was given. A run that ended before its first
    // step leaves the picture as it was.
    keepRun(picture: RunPicture | undefined, input: string, caption: string): void {
        let run: DecayRun;
        if (picture?.sweeps) {
            const sweeps: Sweeps = picture.sweeps;
            run = { method: sweeps.method, relaxation: sweeps.relaxation, changes: sweeps.changes, radius: sweeps.radius };
            // The same text read with another order is another system.
            input += `\n${sweeps.order}`;
        } else if (picture?.marks?.length) {
            this.lastRun = { f: trimBlanks(input), phi: picture.phi ?? null, marks: picture.marks };
            run = { caption, marks: picture.marks };
        } else {
            return;
        }
        if (input !== this.keptInput) this.kept = [];
        this.keptInput = input;
        this.kept = keepRun(this.kept, run);
        this.draw();
    }

    // The editor's text changed.
    forgetRuns(): void {
        if (this.kept.length === 0) return;
        this.kept = [];
        this.keptInput = '';
        if (this.linear || this.convergence) this.draw();
    }

    draw(): void {
        if (!this.shown) return;
        if (this.linear || this.convergence) {
            if (this.kept.length === 0) this.pane.clear();
            else this.pane.showDecay(this.kept, this.linear ? sweepSizeTitle : stepSizeTitle);
            return;
        }
        // Before any run the picture is f as typed, over [-5, 5].
        if (!this.lastRun) this.pane.showFunction(trimBlanks(this.editorText()), []);
        else if (this.lastRun.phi !== null) this.pane.showCobweb(this.lastRun.phi, this.lastRun.marks);
        else this.pane.showFunction(this.lastRun.f, this.lastRun.marks);
    }
}
