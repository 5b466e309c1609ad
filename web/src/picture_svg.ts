// A picture scene of the core (its `picture` call) as SVG elements: the plot's grid and axes,
// the curves and dots, what is drawn over the plot and the legend, all in the SVG's pixels.
// Every colour, size and place comes from the core; this only writes the elements.

const SVG = 'http://www.w3.org/2000/svg';

export interface Stroke {
    colour: string;
    width: number;
    dash: 'solid' | 'dashed' | 'dotted';
}

type Pixel = [number, number];

interface Rect {
    left: number;
    top: number;
    width: number;
    height: number;
}

interface Tick {
    at: number;
    label: string;
}

export interface Bounds {
    left: number;
    right: number;
    bottom: number;
    top: number;
}

export interface LegendEntry {
    text: string;
    sample: 'line' | 'dot' | 'bar';
    stroke: Stroke;
    left: number;
    top: number;
}

export interface Scene {
    status: 'done' | 'error';
    error?: string;
    width: number;
    height: number;
    empty: boolean;
    placeholder?: string;
    plot: Rect;
    view: Bounds;
    home: Bounds;
    xTitle: string;
    yTitle: string;
    xTicks: Tick[];
    yTicks: Tick[];
    curves: { key: string; name: string; stroke: Stroke; pieces: Pixel[][] }[];
    dots: { key: string; colour: string; size: number; points: Pixel[] }[];
    overlay: {
        paths: { stroke: Stroke; opacity: number; lines: Pixel[][] }[];
        circles: { centre: Pixel; radius: number; stroke: Stroke; fill: string }[];
        texts: { text: string; colour: string; box: Rect }[];
    };
    legend: null | {
        below: boolean;
        box: Rect;
        fontSize: number;
        sampleWidth: number;
        textHeight: number;
        padding: number;
        entries: LegendEntry[];
    };
}

// The colours of the frame, as the windows' chart has them.
const GRID = '#e6e8ec';
const AXIS = '#8c96a3';
const TEXT = '#3a424d';
const PLACEHOLDER = '#9aa1ab';
const LEGEND_EDGE = '#d5d9df';
export const FONT_FAMILY = '"Noto Sans CJK SC", "Noto Sans CJK", "Source Han Sans SC", sans-serif';

function element<K extends keyof SVGElementTagNameMap>(name: K, attributes: Record<string, string | number>,
                                                       parent?: Element): SVGElementTagNameMap[K] {
    const made = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, String(value));
    parent?.append(made);
    return made;
}

function strokeAttributes(stroke: Stroke): Record<string, string | number> {
    const attributes: Record<string, string | number> = {
        fill: 'none', stroke: stroke.colour, 'stroke-width': stroke.width, 'stroke-linecap': 'round', 'stroke-linejoin': 'round',
    };
    if (stroke.dash === 'dashed') attributes['stroke-dasharray'] = `${4 * stroke.width} ${2 * stroke.width}`;
    if (stroke.dash === 'dotted') attributes['stroke-dasharray'] = `${stroke.width} ${2 * stroke.width}`;
    return attributes;
}

// Polylines as one path: "M x y L x y …" for each.
export function pathData(lines: Pixel[][]): string {
    const parts: string[] = [];
    for (const line of lines) {
        if (line.length === 0) continue;
        parts.push(`M${line[0][0]} ${line[0][1]}`);
        for (let i = 1; i < line.length; ++i) parts.push(`L${line[i][0]} ${line[i][1]}`);
    }
    return parts.join('');
}

function text(content: string, x: number, y: number, attributes: Record<string, string | number>, parent: Element): SVGTextElement {
    const made = element('text', { x, y, fill: TEXT, ...attributes }, parent);
    made.textContent = content;
    return made;
}

// The whole picture, `fontSize` pixels for its texts.
export function sceneSvg(scene: Scene, fontSize: number, title: string): SVGSVGElement {
    const svg = element('svg', {
        xmlns: SVG, width: scene.width, height: scene.height, viewBox: `0 0 ${scene.width} ${scene.height}`,
        'font-family': FONT_FAMILY, 'font-size': fontSize,
    });
    element('title', {}, svg).textContent = title;
    element('rect', { x: 0, y: 0, width: scene.width, height: scene.height, fill: '#ffffff' }, svg);
    if (scene.empty) {
        text(scene.placeholder ?? '', scene.width / 2, scene.height / 2, { 'text-anchor': 'middle', 'dominant-baseline': 'middle', fill: PLACEHOLDER }, svg);
        return svg;
    }
    const { plot } = scene;
    const bottom = plot.top + plot.height;
    const right = plot.left + plot.width;

    const frame = element('g', {}, svg);
    for (const tick of scene.xTicks) {
        element('line', { x1: tick.at, y1: plot.top, x2: tick.at, y2: bottom, stroke: GRID, 'stroke-width': 1 }, frame);
        text(tick.label, tick.at, bottom + 4 + fontSize, { 'text-anchor': 'middle' }, frame);
    }
    for (const tick of scene.yTicks) {
        element('line', { x1: plot.left, y1: tick.at, x2: right, y2: tick.at, stroke: GRID, 'stroke-width': 1 }, frame);
        text(tick.label, plot.left - 6, tick.at, { 'text-anchor': 'end', 'dominant-baseline': 'middle' }, frame);
    }
    element('path', { d: `M${plot.left} ${plot.top}V${bottom}H${right}`, fill: 'none', stroke: AXIS, 'stroke-width': 1 }, frame);
    text(scene.xTitle, plot.left + plot.width / 2, bottom + 8 + 2.2 * fontSize, { 'text-anchor': 'middle', 'font-style': 'italic' }, frame);
    const yTitleX = 4 + fontSize;
    text(scene.yTitle, yTitleX, plot.top + plot.height / 2,
         { 'text-anchor': 'middle', 'font-style': 'italic', transform: `rotate(-90 ${yTitleX} ${plot.top + plot.height / 2})` }, frame);

    // Everything of the run stays inside the plot.
    const clipId = `plot-clip-${Math.random().toString(36).slice(2)}`;
    const clip = element('clipPath', { id: clipId }, element('defs', {}, svg));
    element('rect', { x: plot.left, y: plot.top, width: plot.width, height: plot.height }, clip);
    const inside = element('g', { 'clip-path': `url(#${clipId})` }, svg);
    for (const curve of scene.curves) {
        if (curve.pieces.length === 0) continue;
        element('path', { d: pathData(curve.pieces), ...strokeAttributes(curve.stroke), 'data-key': curve.key }, inside);
    }
    for (const dots of scene.dots) {
        const group = element('g', { fill: dots.colour, stroke: '#ffffff', 'stroke-width': 1, 'data-key': dots.key }, inside);
        for (const [x, y] of dots.points) element('circle', { cx: x, cy: y, r: dots.size / 2 }, group);
    }
    for (const path of scene.overlay.paths) {
        if (path.lines.length === 0) continue;
        element('path', { d: pathData(path.lines), ...strokeAttributes(path.stroke), opacity: path.opacity }, inside);
    }
    for (const circle of scene.overlay.circles) {
        element('circle', { cx: circle.centre[0], cy: circle.centre[1], r: circle.radius, ...strokeAttributes(circle.stroke), fill: circle.fill }, inside);
    }
    for (const label of scene.overlay.texts) {
        text(label.text, label.box.left, label.box.top + label.box.height / 2,
             { fill: label.colour, 'dominant-baseline': 'middle', 'data-key': 'name' }, svg);
    }
    if (scene.legend) drawLegend(scene.legend, svg);
    return svg;
}

function drawLegend(legend: NonNullable<Scene['legend']>, svg: SVGSVGElement): void {
    const group = element('g', { 'font-size': legend.fontSize, 'data-key': 'legend' }, svg);
    const { box } = legend;
    element('rect', { x: box.left + 0.5, y: box.top + 0.5, width: box.width, height: box.height, fill: '#ffffff',
                      'fill-opacity': 225 / 255, stroke: LEGEND_EDGE, 'stroke-width': 1 }, group);
    for (const entry of legend.entries) {
        const middle = entry.top + legend.textHeight / 2;
        const end = entry.left + legend.sampleWidth;
        if (entry.sample === 'dot') {
            element('circle', { cx: entry.left + legend.sampleWidth / 2, cy: middle, r: 4.5, fill: entry.stroke.colour,
                                stroke: '#ffffff', 'stroke-width': 1 }, group);
        } else {
            const lines: Pixel[][] = [[[entry.left, middle], [end, middle]]];
            if (entry.sample === 'bar') lines.push([[entry.left, middle - 3], [entry.left, middle + 3]], [[end, middle - 3], [end, middle + 3]]);
            element('path', { d: pathData(lines), ...strokeAttributes(entry.stroke) }, group);
        }
        text(entry.text, end + legend.padding, middle, { 'dominant-baseline': 'middle' }, group);
    }
}
