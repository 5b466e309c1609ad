// The picture beside a report, drawn as SVG from the core's geometry (its `picture` call): f(x)
// with a run's steps, the cobweb, the convergence curves on a logarithmic axis, and the two
// columns of a differential-equation table against y(x). Wheel or +/- to zoom, drag or the arrow
// keys to pan, a double click or Home for the view it began with. The window that holds it gives
// it its context menu (导出图片…, 恢复原来的视图, …).

import { FONT_FAMILY, sceneSvg, type Bounds, type Scene } from './picture_svg';

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

// The picture's texts: the size the windows' chart uses, in CSS pixels.
const FONT_SIZE = 12;
const ZOOM_STEP = 0.85;

interface Font {
    size: number;
    ascii: number[];
    wide: number;
    narrow: number;
    height: number;
}

let measuredFont: Font | null = null;

// The widths the core lays the picture's texts out with, measured once in the picture's font.
function pictureFont(): Font {
    if (measuredFont) return measuredFont;
    const context = document.createElement('canvas').getContext('2d');
    const measure = (text: string) => (context ? context.measureText(text).width : 0.6 * FONT_SIZE * text.length);
    if (context) context.font = `${FONT_SIZE}px ${FONT_FAMILY}`;
    const ascii: number[] = [];
    for (let code = 0x20; code < 0x7f; ++code) ascii.push(measure(String.fromCharCode(code)));
    measuredFont = { size: FONT_SIZE, ascii, wide: measure('中'), narrow: measure('φ'), height: Math.round(FONT_SIZE * 1.3) };
    return measuredFont;
}

type Source = Record<string, unknown> & { kind: string };

export class PicturePane {
    readonly element: HTMLElement;
    private source: Source = { kind: 'empty' };
    private view: Bounds | null = null;  // null: the home view
    private scene: Scene | null = null;
    private svg: SVGSVGElement | null = null;
    private drawing = 0;                 // the number of the newest request; older answers are dropped
    private holding: { source: Source; held: Promise<number> } | null = null;
    private drag: { x: number; y: number; view: Bounds } | null = null;
    private dragTarget: { x: number; y: number } | null = null;

    constructor(host: HTMLElement, private readonly core: CoreCalls) {
        this.element = document.createElement('div');
        this.element.className = 'picture';
        this.element.setAttribute('role', 'img');
        this.element.setAttribute('aria-label', '图形区域');
        this.element.tabIndex = 0;
        host.append(this.element);
        new ResizeObserver(() => this.redraw()).observe(this.element);
        this.element.addEventListener('wheel', (event) => this.onWheel(event), { passive: false });
        this.element.addEventListener('pointerdown', (event) => this.onPointerDown(event));
        this.element.addEventListener('pointermove', (event) => this.onPointerMove(event));
        this.element.addEventListener('pointerup', () => this.endDrag());
        this.element.addEventListener('pointercancel', () => this.endDrag());
        this.element.addEventListener('dblclick', () => this.resetView());
        this.element.addEventListener('keydown', (event) => this.onKey(event));
    }

    // f(x) over [-5, 5] before any run, or with a run's iterates, brackets, tangents and secants.
    showFunction(f: string, marks: Mark[]): void {
        this.show({ kind: 'function', function: f, marks });
    }

    // The cobweb of x = φ(x): y = φ(x), y = x and the path of the iterates.
    showCobweb(phi: string, marks: Mark[]): void {
        this.show({ kind: 'cobweb', function: phi, marks });
    }

    // The step sizes of the runs kept (at most six, a run of the same label replacing the older).
    showDecay(runs: DecayRun[], sizeTitle: string): void {
        this.show({ kind: 'decay', runs, sizeTitle });
    }

    // The table's two columns against x, with y(x) and each column's error at the last node.
    showColumns(columns: Columns, exact: string): void {
        this.show({ kind: 'columns', columns, exact });
    }

    clear(): void {
        this.show({ kind: 'empty' });
    }

    resetView(): void {
        if (this.source.kind === 'empty') return;
        this.view = null;
        this.redraw();
    }

    // 导出图片…: asks PNG or SVG and saves it; the name of the file written, or null.
    async exportImage(): Promise<string | null> {
        if (!this.svg || !this.scene || this.scene.empty) return null;
        const picker = (window as unknown as { showSaveFilePicker?: (options: object) => Promise<FileSystemFileHandle> }).showSaveFilePicker;
        if (picker) {
            let handle: FileSystemFileHandle;
            try {
                handle = await picker.call(window, {
                    suggestedName: '图形.png',
                    types: [{ description: 'PNG 图片', accept: { 'image/png': ['.png'] } },
                            { description: 'SVG 图片', accept: { 'image/svg+xml': ['.svg'] } }],
                });
            } catch {
                return null;  // 取消
            }
            const blob = handle.name.toLowerCase().endsWith('.svg') ? this.svgBlob() : await this.pngBlob();
            const writable = await handle.createWritable();
            await writable.write(blob);
            await writable.close();
            return handle.name;
        }
        const kind = await this.askImageKind();
        if (!kind) return null;
        const name = `图形.${kind}`;
        const blob = kind === 'svg' ? this.svgBlob() : await this.pngBlob();
        const link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = name;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
        return name;
    }

    // The picture as it is drawn, for paper; null when nothing is shown.
    printable(): SVGSVGElement | null {
        if (!this.svg || !this.scene || this.scene.empty) return null;
        return this.svg.cloneNode(true) as SVGSVGElement;
    }

    private show(source: Source): void {
        this.source = source;
        this.view = null;
        this.redraw();
    }

    // The core's number for the source it holds: the run crosses to it once, and each drawing
    // after names it with the frame and the view only.
    private hold(source: Source): Promise<number> {
        if (this.holding?.source !== source) {
            const previous = this.holding;
            const held = this.core.call('holdPicture', source).then((answer) => {
                const { status, held, error } = answer as { status: string; held?: number; error?: string };
                if (status !== 'done' || held === undefined) throw new Error(`holdPicture: ${error ?? 'no answer'}`);
                return held;
            });
            this.holding = { source, held };
            previous?.held.then((old) => this.core.call('releasePicture', { held: old })).catch(() => undefined);
        }
        return this.holding.held;
    }

    private async drawn(source: Source, extra: object): Promise<Scene> {
        const frame = {
            width: Math.floor(this.element.clientWidth),
            height: Math.floor(this.element.clientHeight),
            font: pictureFont(),
            ...(this.view ? { view: this.view } : {}),
            ...extra,
        };
        const scene = (await this.core.call('picture', { ...frame, held: await this.hold(source) })) as Scene;
        if (scene.status === 'done' || this.holding?.source !== source) return scene;
        // A renewed worker holds nothing: the source crosses once more.
        this.holding = null;
        return (await this.core.call('picture', { ...frame, held: await this.hold(source) })) as Scene;
    }

    private async redraw(extra: object = {}): Promise<void> {
        if (this.element.clientWidth < 50 || this.element.clientHeight < 50) return;
        const number = ++this.drawing;
        const scene = await this.drawn(this.source, extra);
        if (number !== this.drawing) return;
        if (scene.status !== 'done') throw new Error(`picture: ${scene.error ?? 'no answer'}`);
        if (!scene.empty) this.view = scene.view;
        this.scene = scene;
        const svg = sceneSvg(scene, FONT_SIZE, '图形');
        svg.setAttribute('aria-hidden', 'true');
        if (this.svg) this.svg.replaceWith(svg);
        else this.element.append(svg);
        this.svg = svg;
    }

    private pixelOf(event: MouseEvent): { x: number; y: number } {
        const box = this.element.getBoundingClientRect();
        return { x: event.clientX - box.left, y: event.clientY - box.top };
    }

    private zoom(x: number, y: number, factorX: number, factorY: number): void {
        if (!this.scene || this.scene.empty) return;
        void this.redraw({ zoom: { x, y, factorX, factorY } });
    }

    private onWheel(event: WheelEvent): void {
        if (!this.scene || this.scene.empty) return;
        event.preventDefault();
        const steps = -(event.deltaY !== 0 ? event.deltaY : event.deltaX) / 100;
        if (steps === 0) return;
        const factor = ZOOM_STEP ** steps;
        const { x, y } = this.pixelOf(event);
        // Shift keeps x, Ctrl keeps y, as in the windows.
        this.zoom(x, y, event.shiftKey ? 1 : factor, event.ctrlKey ? 1 : factor);
    }

    private onPointerDown(event: PointerEvent): void {
        if (event.button !== 0 || !this.scene || this.scene.empty || !this.view) return;
        this.drag = { ...this.pixelOf(event), view: this.view };
        this.element.setPointerCapture(event.pointerId);
        this.element.classList.add('dragging');
    }

    private onPointerMove(event: PointerEvent): void {
        if (!this.drag) return;
        const start = this.dragTarget === null;
        this.dragTarget = this.pixelOf(event);
        // One request a frame, whatever the pointer does meanwhile.
        if (start) requestAnimationFrame(() => this.dragStep());
    }

    private dragStep(): void {
        if (!this.drag || !this.dragTarget) return;
        const { x, y, view } = this.drag;
        const to = this.dragTarget;
        this.dragTarget = null;
        this.view = view;
        void this.redraw({ drag: { fromX: x, fromY: y, toX: to.x, toY: to.y } });
    }

    private endDrag(): void {
        this.drag = null;
        this.dragTarget = null;
        this.element.classList.remove('dragging');
    }

    private onKey(event: KeyboardEvent): void {
        if (!this.scene || this.scene.empty) return;
        const { plot } = this.scene;
        const cx = plot.left + plot.width / 2;
        const cy = plot.top + plot.height / 2;
        const pans: Record<string, [number, number]> = {
            ArrowLeft: [plot.width / 10, 0], ArrowRight: [-plot.width / 10, 0], ArrowUp: [0, plot.height / 10], ArrowDown: [0, -plot.height / 10],
        };
        if (event.key === '+' || event.key === '=') this.zoom(cx, cy, ZOOM_STEP, ZOOM_STEP);
        else if (event.key === '-') this.zoom(cx, cy, 1 / ZOOM_STEP, 1 / ZOOM_STEP);
        else if (event.key === 'Home' || event.key === '0') this.resetView();
        else if (event.key in pans) void this.redraw({ drag: { fromX: cx, fromY: cy, toX: cx + pans[event.key][0], toY: cy + pans[event.key][1] } });
        else return;
        event.preventDefault();
    }

    private svgBlob(): Blob {
        const text = new XMLSerializer().serializeToString(this.svg as SVGSVGElement);
        return new Blob([text], { type: 'image/svg+xml' });
    }

    private async pngBlob(): Promise<Blob> {
        const scene = this.scene as Scene;
        const scale = Math.max(1, window.devicePixelRatio || 1);
        const url = URL.createObjectURL(this.svgBlob());
        try {
            const image = new Image();
            image.src = url;
            await image.decode();
            const canvas = document.createElement('canvas');
            canvas.width = Math.round(scene.width * scale);
            canvas.height = Math.round(scene.height * scale);
            const context = canvas.getContext('2d') as CanvasRenderingContext2D;
            context.scale(scale, scale);
            context.drawImage(image, 0, 0, scene.width, scene.height);
            return await new Promise<Blob>((resolve, reject) =>
                canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('PNG'))), 'image/png'));
        } finally {
            URL.revokeObjectURL(url);
        }
    }

    // Where the browser has no save dialog of its own: PNG or SVG, as the windows' file filter offers.
    private askImageKind(): Promise<'png' | 'svg' | null> {
        return new Promise((resolve) => {
            const dialog = document.createElement('dialog');
            dialog.className = 'picture-export';
            dialog.setAttribute('aria-label', '导出图片');
            const heading = document.createElement('p');
            heading.textContent = '导出图片';
            dialog.append(heading);
            const choices: [string, 'png' | 'svg' | null][] = [['PNG 图片(*.png)', 'png'], ['SVG 图片(*.svg)', 'svg'], ['取消', null]];
            for (const [caption, kind] of choices) {
                const button = document.createElement('button');
                button.type = 'button';
                button.textContent = caption;
                button.addEventListener('click', () => {
                    dialog.close();
                    resolve(kind);
                });
                dialog.append(button);
            }
            dialog.addEventListener('cancel', () => resolve(null));
            dialog.addEventListener('close', () => dialog.remove());
            document.body.append(dialog);
            dialog.showModal();
        });
    }
}
