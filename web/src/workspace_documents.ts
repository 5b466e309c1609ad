// The file commands of the workspaces: 新建, 打开 (the editor from a file on this computer),
// 保存 and 另存为 (the result pane to a file), with the desktop's questions and messages. 保存
// writes where the first 保存 chose without asking again, until a file is opened.

import { confirm, tell } from './dialogs';
import { chooseFile, chooseSaveTarget, decodeDocument, firstNonBlankLine, reportFileName, type SaveTarget, writeText } from './files';
import type { ReportPane } from './report_pane';

// Up to this many bytes a file opens without the question.
const largestQuietOpen = 1500;

export interface DocumentHost {
    readonly linear: boolean;
    readonly editor: HTMLTextAreaElement;
    readonly result: ReportPane;
    readonly progress: HTMLProgressElement | null;
    setStatus(text: string): void;
    // The editor's text was replaced by the page.
    editorReplaced(): void;
}

export class WorkspaceDocuments {
    // The editor's text as the last opened file gave it.
    openedText = '';
    private savedTarget: SaveTarget | null = null;
    private saveDialogTarget: SaveTarget | null = null;

    constructor(private readonly host: DocumentHost) {}

    newDocument(): void {
        this.host.editor.value = '';
        this.host.result.clear();
        this.host.editorReplaced();
        if (this.host.linear) this.host.setStatus('状态');
    }

    async open(): Promise<void> {
        const { host } = this;
        const file = await chooseFile();
        if (!file) {
            await tell('没有打开任何文件。');
            return;
        }
        const failure = host.linear ? '操作有误#' : '操作有误！';
        if (host.linear && file.size > largestQuietOpen &&
            !await confirm('文件太大，如果打开可能要等一段时间，是否仍要继续？', '温馨提示')) {
            host.editor.value = String(file.size);
            host.editorReplaced();
            return;
        }
        host.editor.value = '';
        host.result.clear();
        host.editorReplaced();
        if (host.linear && file.size === 0) {
            await tell('文件为空，请重新选择文件！');
            return;
        }
        let bytes: Uint8Array;
        try {
            bytes = await this.read(file);
        } catch {
            await tell(failure);
            return;
        }
        const text = decodeDocument(bytes);
        if (host.linear) {
            host.editor.value = text;
        } else {
            const line = firstNonBlankLine(text);
            if (line === null) {
                await tell(failure);
                return;
            }
            host.editor.value = line;
        }
        host.editorReplaced();
        this.openedText = host.editor.value;
        this.savedTarget = null;
        host.setStatus(file.name);
    }

    // The bytes, with the progress bar under the editor counting them in.
    private async read(file: File): Promise<Uint8Array> {
        const bar = this.host.progress;
        if (!bar) return new Uint8Array(await file.arrayBuffer());
        bar.max = Math.max(file.size, 1);
        bar.value = 0;
        bar.hidden = false;
        try {
            const bytes = new Uint8Array(file.size);
            let done = 0;
            const reader = file.stream().getReader();
            for (;;) {
                const { done: finished, value } = await reader.read();
                if (finished) break;
                bytes.set(value.subarray(0, Math.max(0, file.size - done)), done);
                done += value.length;
                bar.value = Math.min(done, file.size);
            }
            if (done !== file.size) throw new Error('the file changed while it was read');
            return bytes;
        } finally {
            bar.value = 0;
            bar.hidden = true;
        }
    }

    private async write(target: SaveTarget): Promise<void> {
        try {
            await writeText(target, this.host.result.text);
            this.host.setStatus(target.name);
        } catch {
            await tell('操作有误#');
        }
    }

    async save(): Promise<void> {
        if (this.host.result.text === '') {
            await tell('结果为空，不能保存#');
            return;
        }
        if (!this.saveDialogTarget || !this.savedTarget) this.saveDialogTarget = await this.chooseTarget();
        this.savedTarget = this.saveDialogTarget;
        if (!this.savedTarget) {
            await tell('你没有存盘,数据没有被保存下来#');
            return;
        }
        await this.write(this.savedTarget);
    }

    // Writes even an empty result pane, as the desktop's does.
    async saveAs(): Promise<void> {
        const target = await this.chooseTarget();
        if (!target) {
            await tell('没有保存文件。');
            return;
        }
        await this.write(target);
    }

    private async chooseTarget(): Promise<SaveTarget | null> {
        try {
            return await chooseSaveTarget(reportFileName);
        } catch {
            return null;
        }
    }
}
