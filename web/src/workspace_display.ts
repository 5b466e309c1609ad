// The display commands of the workspaces (字体, 背景色, 设置小数数位, 默认) and their edit
// commands, which act on the editor pane whichever pane has the focus. A page cannot list the
// computer's fonts: 字体 offers the font families a report reads well in, with the size, the
// effects and the text colour of the desktop's font dialog.

import { ask, element, openDialog } from './dialogs';
import type { CoreCalls } from './picture';

// The panes' font families; 宋体 is the desktop's, a CJK font whose Latin characters take one
// column and Chinese ones two, so that the reports' columns line up.
export const fontFamilies: Record<string, string> = {
    '宋体': '"Noto Sans Mono CJK SC", "NSimSun", "新宋体", "SimSun", "宋体", "Sarasa Mono SC", monospace',
    '黑体': '"Noto Sans Mono CJK SC", "SimHei", "黑体", monospace',
    '楷体': '"KaiTi", "楷体", "AR PL UKai CN", "Noto Serif CJK SC", serif',
    '等宽': 'monospace',
};

export interface PaneFont {
    family: string;
    size: number;
    bold: boolean;
    italic: boolean;
    underline: boolean;
    strikethrough: boolean;
    // null: the system's window-text colour.
    color: string | null;
}

export const defaultPointSize = 9;

export function defaultFont(family = '宋体'): PaneFont {
    return { family, size: defaultPointSize, bold: false, italic: false, underline: false, strikethrough: false, color: null };
}

// Both panes' font and colours; the display commands always set both alike.
export class PaneStyle {
    font = defaultFont();
    background: string | null = null;

    constructor(private readonly panes: HTMLElement[], private readonly changed: () => void) {
        this.apply();
    }

    get fontStack(): string {
        return fontFamilies[this.font.family] ?? fontFamilies['宋体']!;
    }

    private apply(): void {
        for (const pane of this.panes) {
            pane.style.fontFamily = this.fontStack;
            pane.style.fontSize = `${this.font.size}pt`;
            pane.style.fontWeight = this.font.bold ? 'bold' : '';
            pane.style.fontStyle = this.font.italic ? 'italic' : '';
            pane.style.textDecorationLine = [this.font.underline ? 'underline' : '', this.font.strikethrough ? 'line-through' : '']
                .join(' ').trim();
            pane.style.color = this.font.color ?? '';
            pane.style.backgroundColor = this.background ?? '';
        }
        this.changed();
    }

    async chooseFont(): Promise<void> {
        const chosen = await fontDialog(this.font);
        if (!chosen) return;
        this.font = chosen;
        this.apply();
    }

    async chooseBackground(): Promise<void> {
        const chosen = await colorDialog('背景色', this.background ?? '#ffffff');
        if (chosen === null) return;
        this.background = chosen;
        this.apply();
    }

    // 默认: the linear workspace's panes go back to 宋体 too; the nonlinear one keeps its family.
    restoreDefault(keepFamily: boolean): void {
        this.font = defaultFont(keepFamily ? this.font.family : '宋体');
        this.background = null;
        this.apply();
    }
}

function labelled(caption: string, control: HTMLElement): HTMLElement {
    const row = element('label', 'box-row', caption);
    row.append(control);
    return row;
}

function checkbox(checked: boolean): HTMLInputElement {
    const box = element('input');
    box.type = 'checkbox';
    box.checked = checked;
    return box;
}

function colorInput(value: string): HTMLInputElement {
    const input = element('input');
    input.type = 'color';
    input.value = value;
    return input;
}

function fontDialog(current: PaneFont): Promise<PaneFont | null> {
    const family = element('select');
    for (const name of Object.keys(fontFamilies)) family.append(new Option(name, name, false, name === current.family));
    const size = element('input');
    size.type = 'number';
    size.min = '6';
    size.max = '72';
    size.step = '1';
    size.value = String(current.size);
    const [bold, italic, strikethrough, underline] =
        [current.bold, current.italic, current.strikethrough, current.underline].map(checkbox) as [HTMLInputElement, HTMLInputElement, HTMLInputElement, HTMLInputElement];
    const color = colorInput(current.color ?? '#000000');
    const chosen = (): PaneFont => {
        const points = Number(size.value);
        return {
            family: family.value,
            size: Number.isFinite(points) && points >= 6 && points <= 72 ? points : current.size,
            bold: bold.checked, italic: italic.checked, underline: underline.checked, strikethrough: strikethrough.checked,
            color: color.value === '#000000' && current.color === null ? null : color.value,
        };
    };
    return openDialog<PaneFont | null>('字体', (body) => {
        body.append(labelled('字体：', family), labelled('大小：', size), labelled('粗体', bold),
                    labelled('斜体', italic), labelled('删除线', strikethrough), labelled('下划线', underline),
                    labelled('颜色：', color));
    }, [{ caption: '确定', value: chosen, isDefault: true }, { caption: '取消', value: () => null }], () => null);
}

function colorDialog(title: string, current: string): Promise<string | null> {
    const color = colorInput(current);
    return openDialog<string | null>(title, (body) => body.append(labelled('颜色：', color)),
        [{ caption: '确定', value: () => color.value, isDefault: true }, { caption: '取消', value: () => null }], () => null);
}

// 设置小数数位: the core reads the reply as it reads every reply, kept within 1 to 16; 取消 and
// an empty reply read as 0 and so set 1.
export async function askDecimalDigits(current: number, core: CoreCalls): Promise<number> {
    const reply = await ask({ text: '输入要设置小数数位 n：', title: '设置小数数位', default: String(current) });
    const answer = (await core.call('decimalDigits', { reply: reply ?? '' })) as { digits: number };
    return answer.digits;
}

// The edit commands on the editor pane. The page's edits go through setRangeText, which tells
// no one: each ends with the input event that typing would have sent.
export class EditCommands {
    constructor(private readonly editor: HTMLTextAreaElement) {}

    private changed(): void {
        this.editor.dispatchEvent(new Event('input', { bubbles: true }));
    }

    private selected(): string {
        return this.editor.value.slice(this.editor.selectionStart, this.editor.selectionEnd);
    }

    async copy(): Promise<void> {
        await navigator.clipboard.writeText(this.selected()).catch(() => undefined);
    }

    async cut(): Promise<void> {
        await this.copy();
        this.editor.setRangeText('', this.editor.selectionStart, this.editor.selectionEnd, 'end');
        this.changed();
    }

    async paste(): Promise<void> {
        const text = await navigator.clipboard.readText().catch(() => null);
        if (text === null) return;
        this.editor.setRangeText(text, this.editor.selectionStart, this.editor.selectionEnd, 'end');
        this.changed();
    }

    selectAll(): void {
        this.editor.focus();
        this.editor.select();
    }

    // One character after the caret unless something is selected; a line end goes whole, and so
    // does a character written as two UTF-16 units.
    deleteForward(): void {
        let { selectionStart: start, selectionEnd: end } = this.editor;
        if (start === end) {
            if (start >= this.editor.value.length) return;
            end = start + (this.editor.value.codePointAt(start)! > 0xffff ? 2 : 1);
        }
        this.editor.setRangeText('', start, end, 'start');
        this.changed();
    }
}
