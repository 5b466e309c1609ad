// The two workspaces that share one frame: LinearFrm, where the person types an augmented matrix
// and solves it, and Ultra, where they type f(x) and find a root. A menu bar, a toolbar, the
// editor pane (编辑区域), the result pane beside it (LinearFrm) or below it (Ultra) with the
// picture, and the status bar, with the desktop's captions, enabling and status texts.

import type { Command, Core, Example } from './core';
import { confirm, dialogOpen, element } from './dialogs';
import { busyStatus, type AppWindow, windowFrame } from './frame';
import { attachContextMenu, checkItem, command, type Menu, MenuBar, type MenuItem, menusOpen, separator, submenu, trigger } from './menus';
import type { PaperReport } from './paper';
import { PicturePane } from './picture';
import { ReportPane } from './report_pane';
import { CommandRunner } from './runner';
import { checksOn, setChecksOn } from './settings';
import { askDecimalDigits, EditCommands, PaneStyle } from './workspace_display';
import { WorkspaceDocuments } from './workspace_documents';
import { WorkspacePicture } from './workspace_picture';

export type WorkspaceKind = 'LinearFrm' | 'Ultra';

export interface WorkspaceServices {
    core: Core;
    commands: Command[];
    examples: Example[];
    showHelp(): void;
    showAbout(): void;
    exportPdfHint(say: (text: string) => void): void;
    print(report: PaperReport): void;
}

// The editor's text as the commands and files have it: CR LF between lines.
export function editorText(editor: HTMLTextAreaElement): string {
    return editor.value.replace(/\r?\n/g, '\r\n');
}

// The first line that holds more than blanks, trimmed: the paper's header names the input by it.
export function firstLineOf(text: string): string {
    for (const line of text.split(/\r\n|\r|\n/)) if (line.trim() !== '') return line.trim();
    return '';
}

function blank(text: string): boolean {
    return /^ *$/.test(text);
}

export class WorkspaceWindow implements AppWindow {
    readonly element: HTMLElement;
    readonly title: string;
    readonly editor: HTMLTextAreaElement;
    readonly result: ReportPane;
    private readonly linear: boolean;
    private readonly status: HTMLElement;
    private readonly runner: CommandRunner;
    private readonly documents: WorkspaceDocuments;
    private readonly style: PaneStyle;
    private readonly edits: EditCommands;
    private readonly picture: WorkspacePicture;
    private readonly pictureView: PicturePane;
    private readonly menuBar: MenuBar;
    private readonly menus: Menu[];
    private readonly methodItems: MenuItem[] = [];
    private readonly busyDisabled: MenuItem[] = [];
    private readonly busyButtons: HTMLButtonElement[] = [];
    private readonly stopButton: HTMLButtonElement;
    private readonly examples: Example[];
    private decimalDigits = 6;
    private statusBeforeCommand = '';
    private exampleHint = '';
    private reportInput = '';
    // Focus that went to a menu or a dialog and comes back has not moved between the panes.
    private focusAway = false;
    private saveItem!: MenuItem;
    private saveAsItem!: MenuItem;
    private printItem!: MenuItem;
    private pdfItem!: MenuItem;
    private pictureItem!: MenuItem;
    private convergenceItem: MenuItem | null = null;
    private exportItem!: MenuItem;
    private checksItem!: MenuItem;

    constructor(readonly kind: WorkspaceKind, private readonly services: WorkspaceServices, private readonly onClose: () => void) {
        this.linear = kind === 'LinearFrm';
        this.title = this.linear ? '线性方程组(多元一次方程组)的数值解法' : '非线性方程的数值解法';
        const frame = windowFrame(kind, this.title, onClose);
        this.element = frame.element;
        this.element.classList.add('workspace', this.linear ? 'linear' : 'ultra');

        this.editor = element('textarea', 'editor');
        this.editor.setAttribute('aria-label', '编辑区域');
        this.editor.dataset['name'] = 'Text1';
        this.editor.wrap = 'off';
        this.editor.spellcheck = false;
        this.editor.autocomplete = 'off';
        this.result = new ReportPane(this.linear ? '结果区域' : '计算结果区域', 'result');
        this.result.element.dataset['name'] = 'Text2';
        this.status = element('div', 'status-bar', '状态');
        this.status.setAttribute('role', 'status');
        this.status.dataset['name'] = 'StatusBar1';

        const progress = this.linear ? element('progress', 'open-progress') : null;
        if (progress) {
            progress.hidden = true;
            progress.setAttribute('aria-label', '打开进度');
        }
        this.runner = new CommandRunner(services.core, this.result, (busy) => this.setBusy(busy));
        this.style = new PaneStyle([this.editor, this.result.element], () => this.result.refresh());
        this.edits = new EditCommands(this.editor);
        this.examples = services.examples.filter((example) => example.workspace === kind);
        this.documents = new WorkspaceDocuments({
            linear: this.linear, editor: this.editor, result: this.result, progress,
            setStatus: (text) => this.setStatus(text),
            editorReplaced: () => this.editorChanged(),
        });
        this.pictureView = new PicturePane(element('div'), services.core);
        this.pictureView.element.dataset['name'] = 'Picture';
        this.picture = new WorkspacePicture(this.linear, this.pictureView, () => editorText(this.editor));

        this.menus = this.buildMenus();
        this.menuBar = new MenuBar(this.menus, '菜单栏');
        const toolbar = this.buildToolbar();
        this.stopButton = toolbar.querySelector('[data-name="Stop"]')!;

        const editorColumn = element('div', 'editor-column');
        editorColumn.append(this.editor);
        if (progress) editorColumn.append(progress);
        const resultColumn = element('div', 'result-column');
        resultColumn.append(this.result.element, this.pictureView.element);
        const panes = element('div', 'panes');
        panes.append(editorColumn, this.splitter(panes), resultColumn);
        frame.body.append(this.menuBar.element, toolbar, panes, this.status);

        this.editor.addEventListener('input', () => this.editorChanged());
        this.watchFocus(this.editor, true);
        this.watchFocus(this.result.element, false);
        attachContextMenu(this.pictureView.element, '图形', () => this.pictureMenu());
    }

    private buildMenus(): Menu[] {
        const linear = this.linear;
        const file: MenuItem[] = [
            command('新建', () => this.documents.newDocument(), { shortcut: 'Ctrl+N', name: 'FileNew' }),
            command('打开', () => void this.documents.open(), { shortcut: 'Ctrl+O', name: 'FileOpen' }),
            this.saveItem = command('保存', () => void this.documents.save(), { shortcut: 'Ctrl+S', name: 'FileSave' }),
            this.saveAsItem = command('另存为', () => void this.documents.saveAs(), { name: linear ? 'FileSaveAS' : 'FileSaveAs' }),
            separator(),
            this.printItem = command('打印…', () => this.print(false), { shortcut: 'Ctrl+P', name: 'FilePrint' }),
            this.pdfItem = command('导出PDF…', () => this.print(true), { name: 'FileExportPdf' }),
            submenu('示例', this.examples.map((example) =>
                command(example.title, () => void this.chooseExample(example), { name: `Example_${example.name}` })), { name: 'FileExamples' }),
            separator(),
            command('退出', () => this.onClose(), { name: 'FileExit' }),
        ];
        this.busyDisabled.push(...file.slice(0, 8).filter((item) => item.kind !== 'separator'));

        const selectAll = command('全选', () => this.edits.selectAll(),
            { shortcut: 'Ctrl+A', name: linear ? 'EditSelectAll' : 'EditCheckAll', ...(linear ? { accessKey: 'A' } : {}) });
        const undo = command('撤消', () => undefined, { shortcut: 'Ctrl+Z', name: linear ? 'Edit' : 'EditRecall' });
        const cut = command('剪切', () => void this.edits.cut(), { shortcut: 'Ctrl+X', name: 'EditCut' });
        const copy = command('复制', () => void this.edits.copy(), { shortcut: 'Ctrl+C', name: 'EditCopy' });
        const paste = command('粘贴', () => void this.edits.paste(), { shortcut: 'Ctrl+V', name: 'EditPaste' });
        const remove = command('删除', () => this.edits.deleteForward(), { shortcut: 'Del', name: 'EditDelete', accessKey: 'L' });
        const edit = linear ? [selectAll, undo, cut, copy, paste, remove] : [undo, selectAll, copy, cut, paste, remove];

        const display: MenuItem[] = [
            command('字体', () => void this.style.chooseFont(), { name: linear ? 'FormatStyle' : 'ShowStyle' }),
            command('背景色', () => void this.style.chooseBackground(), { name: linear ? 'FormatBackColor' : 'ShowBackcolor' }),
        ];
        if (linear) {
            display.push(command('设置小数数位', () => void askDecimalDigits(this.decimalDigits, this.services.core).then((digits) => {
                this.decimalDigits = digits;
            }), { name: 'FormatDecimalDigits' }));
        }
        display.push(command('默认', () => {
            this.style.restoreDefault(!linear);
            if (linear) this.decimalDigits = 6;
        }, { name: linear ? 'FormatDefault' : 'ShowDefault' }));
        this.busyDisabled.push(...display);
        this.pictureItem = checkItem('图形', (item) => this.showPicture(item.checked), linear ? 'FormatPicture' : 'ShowPicture');
        display.push(this.pictureItem);
        if (!linear) {
            this.convergenceItem = checkItem('收敛图', (item) => this.picture.setConvergence(item.checked), 'ShowConvergence');
            display.push(this.convergenceItem);
        }
        this.exportItem = command('导出图片…', () => void this.exportPicture(), { name: linear ? 'FormatExportPicture' : 'ShowExportPicture' });
        this.checksItem = checkItem('附加检验', (item) => setChecksOn(item.checked), linear ? 'FormatChecks' : 'ShowChecks');
        display.push(this.exportItem, this.checksItem);
        this.showPicture(false);

        return [
            { caption: '文件', accessKey: 'F', name: linear ? 'FileMenu' : 'mnuFile', items: file, aboutToShow: () => this.enableFileEntries() },
            { caption: '编辑', accessKey: 'E', name: linear ? 'EditMenu' : 'mnuEdit', items: edit },
            { caption: '显示', accessKey: 'V', name: linear ? 'Format' : 'mnuShow', items: display,
              aboutToShow: () => { this.checksItem.checked = checksOn(); } },
            { caption: linear ? '解线性方程组' : '解方程', accessKey: linear ? 'U' : 'C', name: linear ? 'Uncoil' : 'mnuCalculate',
              items: this.methodEntries(), aboutToShow: () => this.enableMethods() },
            { caption: '帮助', accessKey: 'H', name: linear ? 'mnuHelp' : 'munHelp', items: [
                command('帮助文件', () => this.services.showHelp(), { name: 'mnuHelpFile' }),
                command('关于', () => this.services.showAbout(), { name: 'mnuAbout' }),
            ] },
        ];
    }

    // The method menu in the desktop's order: separators, the heading above 列主元求逆矩阵, the
    // submenu 迭代法的收敛性.
    private methodEntries(): MenuItem[] {
        const items: MenuItem[] = [];
        let nested: MenuItem | null = null;
        for (const method of this.services.commands.filter((c) => c.workspace === this.kind)) {
            const entry = command(method.caption, () => void this.runCommand(method), { name: method.name });
            if (method.submenu) {
                if (!nested) {
                    nested = submenu(method.submenu, [], { name: 'IterativeAstringency' });
                    items.push(nested);
                    this.methodItems.push(nested);
                }
                nested.items!.push(entry);
                this.methodItems.push(entry);
                continue;
            }
            if (method.separatorBefore) items.push(separator());
            if (method.headingBefore) {
                const heading = command(method.headingBefore, () => undefined, { name: 'GaussApply' });
                items.push(heading);
                this.methodItems.push(heading);
            }
            items.push(entry);
            this.methodItems.push(entry);
        }
        return items;
    }

    private buildToolbar(): HTMLElement {
        const bar = element('div', 'toolbar');
        bar.setAttribute('role', 'toolbar');
        bar.setAttribute('aria-label', '工具栏');
        bar.dataset['name'] = 'Toolbar1';
        const buttons: [string, () => void][] = [
            ['新建', () => this.documents.newDocument()],
            ['打开', () => void this.documents.open()],
            ['保存', () => void this.documents.save()],
            ['另存为', () => void this.documents.saveAs()],
            ['剪切', () => void this.edits.cut()],
            ['复制', () => void this.edits.copy()],
            ['粘贴', () => void this.edits.paste()],
        ];
        for (const [key, run] of buttons) {
            const button = element('button', 'tool', key);
            button.type = 'button';
            button.dataset['key'] = key;
            button.addEventListener('click', run);
            if (['新建', '打开', '保存', '另存为'].includes(key)) this.busyButtons.push(button);
            bar.append(button);
        }
        const stop = element('button', 'tool stop', '停止');
        stop.type = 'button';
        stop.dataset['name'] = 'Stop';
        stop.setAttribute('aria-keyshortcuts', 'Escape');
        stop.disabled = true;
        stop.addEventListener('click', () => this.runner.stop());
        bar.append(element('span', 'tool-separator'), stop);
        return bar;
    }

    // The bar between the panes: dragged, or moved with the arrow keys, it shares the room out.
    private splitter(panes: HTMLElement): HTMLElement {
        const bar = element('div', 'splitter');
        bar.setAttribute('role', 'separator');
        bar.setAttribute('aria-label', '分隔条');
        bar.setAttribute('aria-orientation', this.linear ? 'vertical' : 'horizontal');
        bar.tabIndex = 0;
        let share = this.linear ? 40 : 20;
        const apply = (): void => {
            share = Math.min(85, Math.max(10, share));
            panes.style.setProperty('--editor-share', `${share}%`);
            bar.setAttribute('aria-valuenow', String(Math.round(share)));
        };
        apply();
        bar.addEventListener('pointerdown', (event) => {
            bar.setPointerCapture(event.pointerId);
            const box = panes.getBoundingClientRect();
            const move = (moved: PointerEvent): void => {
                const vertical = getComputedStyle(panes).flexDirection === 'column';
                share = vertical ? ((moved.clientY - box.top) / box.height) * 100 : ((moved.clientX - box.left) / box.width) * 100;
                apply();
            };
            bar.addEventListener('pointermove', move);
            bar.addEventListener('pointerup', () => bar.removeEventListener('pointermove', move), { once: true });
        });
        bar.addEventListener('keydown', (event) => {
            const step = { ArrowLeft: -5, ArrowUp: -5, ArrowRight: 5, ArrowDown: 5 }[event.key];
            if (step === undefined) return;
            event.preventDefault();
            share += step;
            apply();
        });
        return bar;
    }

    private pictureMenu(): MenuItem[] {
        const items: MenuItem[] = [command('导出图片…', () => void this.exportPicture()),
                                   command('恢复原来的视图', () => this.pictureView.resetView())];
        if (this.convergenceItem) {
            const convergence = this.convergenceItem;
            const functionView = checkItem('函数图', () => {
                convergence.checked = false;
                this.picture.setConvergence(false);
            });
            functionView.checked = !convergence.checked;
            items.push(separator(), functionView, convergence);
        }
        return items;
    }

    private watchFocus(pane: HTMLElement, isEditor: boolean): void {
        const away = (target: EventTarget | null): boolean =>
            target instanceof Element && target.closest('dialog, .menu, .menubar') !== null;
        pane.addEventListener('focus', (event) => {
            if (this.focusAway || away(event.relatedTarget)) {
                this.focusAway = false;
                return;
            }
            this.setStatus(this.focusStatus(isEditor ? 'editor' : 'result'));
        });
        pane.addEventListener('blur', (event) => {
            if (away(event.relatedTarget) || dialogOpen()) {
                this.focusAway = true;
                return;
            }
            if (!this.linear) this.setStatus('状态');
        });
    }

    private focusStatus(pane: 'editor' | 'result' | null): string {
        if (pane === 'editor') return this.linear ? '编辑区域' : '在此输入函数方程式f(x)=?';
        if (pane === 'result') return this.linear ? '结果区域' : '计算结果区域';
        return '状态';
    }

    private focusedPane(): 'editor' | 'result' | null {
        if (document.activeElement === this.editor) return 'editor';
        if (document.activeElement === this.result.element) return 'result';
        return null;
    }

    get statusText(): string {
        return this.status.textContent ?? '';
    }

    setStatus(text: string): void {
        if (this.runner.isRunning) {
            this.statusBeforeCommand = text;
            return;
        }
        this.status.textContent = text;
    }

    private editorChanged(): void {
        if (this.linear) this.setStatus('编辑状态');
        this.picture.forgetRuns();
    }

    private setBusy(busy: boolean): void {
        for (const item of [...this.busyDisabled, ...this.methodItems]) item.enabled = !busy;
        for (const button of this.busyButtons) button.disabled = busy;
        this.stopButton.disabled = !busy;
        if (busy) {
            this.statusBeforeCommand = this.statusText;
            this.status.textContent = busyStatus;
        } else if (this.statusText === busyStatus) {
            this.status.textContent = this.statusBeforeCommand;
        }
    }

    private enableMethods(): void {
        const enabled = !this.runner.isRunning && !blank(this.editor.value);
        for (const item of this.methodItems) item.enabled = enabled;
    }

    private enableFileEntries(): void {
        const hasReport = !this.runner.isRunning && !this.result.isBlank();
        if (this.linear) this.saveItem.enabled = this.saveAsItem.enabled = hasReport;
        this.printItem.enabled = this.pdfItem.enabled = hasReport;
    }

    private showPicture(shown: boolean): void {
        this.pictureItem.checked = shown;
        this.picture.setShown(shown);
        this.element.classList.toggle('with-picture', shown);
        for (const item of [this.convergenceItem, this.exportItem]) if (item) item.enabled = shown;
    }

    private async exportPicture(): Promise<void> {
        const name = await this.pictureView.exportImage();
        if (name) this.setStatus(name);
    }

    async runCommand(method: Command): Promise<void> {
        if (this.runner.isRunning) return;
        const input = editorText(this.editor);
        const run = await this.runner.run({
            command: method.name, editor: input, digits: this.decimalDigits, check: checksOn(),
            // The sweeps' spectral radius costs as much as a large system's run: asked for only
            // while the picture shows it.
            picture: !this.linear || this.picture.shown,
        });
        // Once a command has run, the example's hint has served.
        if (this.exampleHint && this.statusText === this.exampleHint) this.setStatus(this.focusStatus(this.focusedPane()));
        this.exampleHint = '';
        if (run.answer?.focus === 'Text1') this.editor.focus();
        if (run.end === 'finished') this.picture.keepRun(run.answer?.picture, input, method.caption);
        if (run.wrotePane) this.reportInput = firstLineOf(input);
    }

    // The editor holds nothing the person would lose: blanks, an opened file or an example.
    private editorHoldsOnlyKnownText(): boolean {
        const text = this.editor.value;
        if (text.trim() === '' || text === this.documents.openedText) return true;
        return this.examples.some((example) => example.editor.replace(/\r\n?/g, '\n') === text);
    }

    async chooseExample(example: Example): Promise<void> {
        if (!this.editorHoldsOnlyKnownText() &&
            !await confirm('编辑区中的内容没有保存，要用示例替换它吗？', '示例')) return;
        this.editor.value = example.editor.replace(/\r\n?/g, '\n');
        this.editorChanged();
        let hint = `选择 ${this.menuPath(example.command)}`;
        if (example.hint) hint += `，${example.hint}`;
        this.exampleHint = hint;
        this.setStatus(hint);
    }

    // "解线性方程组 → 迭代法的收敛性 → 向量范数": where the command stands in the menus.
    private menuPath(name: string): string {
        const method = this.menus.at(-2)!;
        const path = (items: MenuItem[], trail: string[]): string[] | null => {
            for (const item of items) {
                if (item.name === name) return [...trail, item.caption];
                if (item.items) {
                    const found = path(item.items, [...trail, item.caption]);
                    if (found) return found;
                }
            }
            return null;
        };
        return (path(method.items, [method.caption]) ?? [name]).join(' → ');
    }

    private print(pdf: boolean): void {
        const report = this.paper();
        if (!report || this.runner.isRunning) return;
        if (pdf) this.services.exportPdfHint((text) => this.setStatus(text));
        this.services.print(report);
    }

    paper(): PaperReport | null {
        if (this.result.isBlank()) return null;
        const { text, lines } = this.result.content;
        return {
            title: this.title, firstLine: this.reportInput, text, lines, pointSize: this.style.font.size,
            fontFamily: this.style.fontStack, picture: this.picture.shown ? this.pictureView.printable() : null,
        };
    }

    keydown(event: KeyboardEvent): boolean {
        if (dialogOpen() || menusOpen()) return false;
        if (event.key === 'Escape' && this.runner.isRunning) {
            this.runner.stop();
            return true;
        }
        if (event.altKey && !event.ctrlKey && event.key.length === 1) return this.menuBar.accessKey(event.key);
        const typing = event.target instanceof HTMLTextAreaElement || event.target instanceof HTMLInputElement ||
            (event.target as Element | null)?.getAttribute?.('role') === 'textbox';
        const shortcut = `${event.ctrlKey ? 'Ctrl+' : ''}${event.key === 'Delete' ? 'Del' : event.key.toUpperCase()}`;
        // The edit keys belong to the field being typed in; elsewhere they act on the editor.
        if (typing && ['Ctrl+A', 'Ctrl+Z', 'Ctrl+X', 'Ctrl+C', 'Ctrl+V', 'Del'].includes(shortcut)) return false;
        const all = (items: MenuItem[]): MenuItem[] => items.flatMap((item) => [item, ...all(item.items ?? [])]);
        const item = this.menus.flatMap((menu) => all(menu.items)).find((entry) => entry.shortcut === shortcut);
        if (!item) return false;
        trigger(item);
        return true;
    }

    shown(): void {
        this.checksItem.checked = checksOn();
    }

    close(): void {
        this.runner.close();
    }
}
