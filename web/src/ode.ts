// The three differential-equation windows UsDi_Euler, UsDi_RungeKutta and UsDi_Adams: f(x, y)
// in Text1, the bounds in Text2 and Text3, the division count in Text4 with its spinner, the
// compute button, the exact solution y(x) for the picture and the checks, 附加检验, 示例, paper,
// and the table of two methods side by side with its picture under it.

import type { Core, Example } from './core';
import { dialogOpen, element } from './dialogs';
import { type AppWindow, windowFrame } from './frame';
import { attachContextMenu, command, menusOpen, showContextMenu } from './menus';
import type { PaperReport } from './paper';
import { PicturePane } from './picture';
import { ReportPane } from './report_pane';
import { CommandRunner } from './runner';
import { checksOn, setChecksOn } from './settings';
import { defaultFont, fontFamilies } from './workspace_display';

export type OdeMethod = 'UsDi_Euler' | 'UsDi_RungeKutta' | 'UsDi_Adams';

const texts: Record<OdeMethod, { caption: string; compute: string }> = {
    UsDi_Euler: { caption: '常微分方程的数值解法—Euler方法', compute: '欧拉(Euler)计算' },
    UsDi_RungeKutta: { caption: '常微分方程的数值解法—RungeKutta', compute: '龙格库塔(Runge-Kutta)方法计算' },
    UsDi_Adams: { caption: '常微分方程的数值解法—Adams方法', compute: '线性多步方法(Adams)计算' },
};

export interface OdeServices {
    core: Core;
    examples: Example[];
    exportPdfHint(say: (text: string) => void): void;
    print(report: PaperReport): void;
}

function field(grid: HTMLElement, name: string, label: string): HTMLInputElement {
    const input = element('input', 'field');
    input.type = 'text';
    input.id = `${name}-${Math.random().toString(36).slice(2)}`;
    input.dataset['name'] = name;
    input.spellcheck = false;
    input.autocomplete = 'off';
    const caption = element('label', 'field-label', label);
    caption.htmlFor = input.id;
    grid.append(caption, input);
    return input;
}

function button(caption: string, name: string): HTMLButtonElement {
    const made = element('button', 'push', caption);
    made.type = 'button';
    made.dataset['name'] = name;
    return made;
}

export class OdeWindow implements AppWindow {
    readonly element: HTMLElement;
    readonly title: string;
    private readonly function: HTMLInputElement;
    private readonly lower: HTMLInputElement;
    private readonly upper: HTMLInputElement;
    private readonly divisions: HTMLInputElement;
    private readonly exact: HTMLInputElement;
    private readonly checks: HTMLInputElement;
    private readonly stepUp: HTMLButtonElement;
    private readonly stepDown: HTMLButtonElement;
    private readonly compute: HTMLButtonElement;
    private readonly paperButtons: HTMLButtonElement[];
    private readonly statusLine: HTMLElement;
    private readonly result: ReportPane;
    private readonly picture: PicturePane;
    private readonly runner: CommandRunner;
    private reportEquation = '';
    private divisionsTyped = 0;
    private computeHadFocus = false;

    constructor(readonly method: OdeMethod, private readonly services: OdeServices, onClose: () => void) {
        this.title = texts[method].caption;
        const frame = windowFrame(method, this.title, onClose);
        this.element = frame.element;
        this.element.classList.add('ode');

        const grid = element('div', 'ode-fields');
        this.function = field(grid, 'Text1', '函数F(x)导数');
        this.function.classList.add('wide');
        this.lower = field(grid, 'Text2', 'x下界');
        this.upper = field(grid, 'Text3', 'x上界');
        this.divisions = field(grid, 'Text4', '等分');
        this.divisions.value = '2';
        const spinner = element('span', 'spinner');
        spinner.setAttribute('role', 'group');
        spinner.setAttribute('aria-label', '等分');
        spinner.dataset['name'] = 'UpDown1';
        this.stepUp = button('▲', 'UpDown1Up');
        this.stepDown = button('▼', 'UpDown1Down');
        this.stepUp.setAttribute('aria-label', '增加');
        this.stepDown.setAttribute('aria-label', '减少');
        for (const step of [this.stepUp, this.stepDown]) step.tabIndex = -1;
        spinner.append(this.stepUp, this.stepDown);
        const divisionsBox = element('span', 'divisions');
        this.divisions.replaceWith(divisionsBox);
        divisionsBox.append(this.divisions, spinner);
        this.compute = button(texts[method].compute, 'Command1');
        grid.append(this.compute);
        this.exact = field(grid, 'ExactSolution', '精确解y(x)');
        this.exact.classList.add('wide');
        this.exact.placeholder = '可不填；填写后与两种方法的结果画在一起';
        const checksLabel = element('label', 'checks', '附加检验');
        this.checks = element('input');
        this.checks.type = 'checkbox';
        this.checks.dataset['name'] = 'Checks';
        this.checks.checked = checksOn();
        checksLabel.prepend(this.checks);
        grid.append(checksLabel);

        const row = element('div', 'ode-row');
        const examples = button('示例', 'Examples');
        examples.setAttribute('aria-haspopup', 'menu');
        this.paperButtons = [button('打印…', 'PrintButton'), button('导出PDF…', 'ExportPdfButton')];
        this.statusLine = element('div', 'status-line');
        this.statusLine.setAttribute('role', 'status');
        this.statusLine.setAttribute('aria-label', '状态');
        this.statusLine.dataset['name'] = 'StatusLine';
        row.append(examples, ...this.paperButtons, this.statusLine);

        this.result = new ReportPane('计算结果区域', 'result ode-table');
        this.result.element.dataset['name'] = 'Text5';
        this.result.alignHeadings = true;
        const font = defaultFont();
        this.result.element.style.fontFamily = fontFamilies[font.family]!;
        this.result.element.style.fontSize = `${font.size}pt`;
        this.picture = new PicturePane(element('div'), services.core);
        this.picture.element.dataset['name'] = 'Picture';
        frame.body.append(grid, row, this.result.element, this.picture.element);
        this.runner = new CommandRunner(services.core, this.result, (busy) => this.setBusy(busy));

        this.compute.addEventListener('click', () => void this.run());
        this.checks.addEventListener('change', () => setChecksOn(this.checks.checked));
        this.divisions.addEventListener('input', () => void this.applyDivisionRule(0));
        this.divisions.addEventListener('keydown', (event) => {
            if (event.key !== 'ArrowUp' && event.key !== 'ArrowDown') return;
            event.preventDefault();
            void this.applyDivisionRule(event.key === 'ArrowUp' ? 1 : -1);
        });
        this.stepUp.addEventListener('click', () => void this.applyDivisionRule(1));
        this.stepDown.addEventListener('click', () => void this.applyDivisionRule(-1));
        void this.applyDivisionRule(0);
        examples.addEventListener('click', () => {
            const box = examples.getBoundingClientRect();
            const items = services.examples.filter((example) => example.command === method)
                .map((example) => command(example.title, () => this.chooseExample(example), { name: `Example_${example.name}` }));
            showContextMenu(items, '示例', box.left, box.bottom, examples);
        });
        this.paperButtons[0]!.addEventListener('click', () => this.print(false));
        this.paperButtons[1]!.addEventListener('click', () => this.print(true));
        // The window has no menu bar: the picture's context menu offers paper too.
        attachContextMenu(this.picture.element, '图形', () => [
            command('导出图片…', () => void this.picture.exportImage().then((name) => { if (name) this.statusLine.textContent = name; })),
            command('恢复原来的视图', () => this.picture.resetView()),
            command('打印…', () => this.print(false)),
            command('导出PDF…', () => this.print(true)),
        ]);
    }

    get status(): string {
        return this.statusLine.textContent ?? '';
    }

    // Text4 holds a count from 1 to 32767 at every moment: a text outside is replaced at once,
    // and selected, so that what is typed next replaces the correction. `step` moves it by one.
    private async applyDivisionRule(step: number): Promise<void> {
        const typed = this.divisions.value;
        const asked = ++this.divisionsTyped;
        const rule = await this.services.core.divisions(typed, step);
        if (asked !== this.divisionsTyped || this.divisions.value !== typed) return;
        if (rule.text !== typed) {
            this.divisions.value = rule.text;
            if (step === 0) this.divisions.select();
        }
        this.stepUp.disabled = !rule.up;
        this.stepDown.disabled = !rule.down;
    }

    chooseExample(example: Example): void {
        const value = (name: string): string => example.fields[name] ?? '';
        this.function.value = value('Text1');
        this.lower.value = value('Text2');
        this.upper.value = value('Text3');
        this.divisions.value = value('Text4');
        void this.applyDivisionRule(0);
        this.exact.value = example.exact;
        let hint = `按 ${this.compute.textContent}`;
        if (example.hint) hint += `，${example.hint}`;
        this.statusLine.textContent = hint;
    }

    async run(): Promise<void> {
        if (this.runner.isRunning) return;
        const exact = this.exact.value.trim();
        const equation = `y'=${this.function.value.trim()}`;
        const run = await this.runner.run({
            command: this.method,
            fields: { Text1: this.function.value, Text2: this.lower.value, Text3: this.upper.value,
                      Text4: this.divisions.value, Exact: exact },
            check: this.checks.checked,
            picture: true,
        });
        this.statusLine.textContent = '';
        if (run.answer?.focus === 'Text1') this.function.focus();
        // A refused or stopped run leaves the previous picture.
        const columns = run.answer?.picture?.columns;
        if (run.end === 'finished' && columns && columns.x.length > 0) this.picture.showColumns(columns, exact);
        if (run.wrotePane) this.reportEquation = equation;
    }

    // Disabling the focused compute button pushes the focus away; it comes back when the run ends.
    private setBusy(busy: boolean): void {
        if (busy) this.computeHadFocus = document.activeElement === this.compute;
        this.compute.disabled = busy;
        for (const paper of this.paperButtons) paper.disabled = busy;
        if (!busy && this.computeHadFocus) this.compute.focus();
    }

    private print(pdf: boolean): void {
        const report = this.paper();
        if (!report || this.runner.isRunning) return;
        if (pdf) this.services.exportPdfHint((text) => { this.statusLine.textContent = text; });
        this.services.print(report);
    }

    paper(): PaperReport | null {
        if (this.result.text.trim() === '') return null;
        const { text, lines } = this.result.content;
        return { title: this.title, firstLine: this.reportEquation, text, lines, pointSize: defaultFont().size,
                 fontFamily: fontFamilies['宋体']!, picture: this.picture.printable() };
    }

    keydown(event: KeyboardEvent): boolean {
        if (dialogOpen() || menusOpen()) return false;
        if (event.key === 'Escape' && this.runner.isRunning) {
            this.runner.stop();
            return true;
        }
        return false;
    }

    // Another window may have changed the setting meanwhile.
    shown(): void {
        this.checks.checked = checksOn();
    }

    close(): void {
        this.runner.close();
    }
}
