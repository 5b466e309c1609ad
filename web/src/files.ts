// Documents on the person's own computer: a text file opened into the editor, decoded as the
// desktop decodes it, and the report saved as UTF-8 with its CR LF line ends, through the File
// System Access API where the browser has it and as a download elsewhere. Nothing leaves the
// browser.

// UTF-8 when the bytes are valid UTF-8 (a byte-order mark skipped), otherwise GB18030, the
// Chinese code page; bytes valid in neither become U+FFFD.
export function decodeDocument(bytes: Uint8Array): string {
    try {
        return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch {
        return new TextDecoder('gb18030').decode(bytes);
    }
}

// The first line holding more than blanks, as the file holds it; null when there is none.
export function firstNonBlankLine(text: string): string | null {
    for (const line of text.split(/\r\n|\r|\n/)) {
        if (line.replace(/ /g, '') !== '') return line;
    }
    return null;
}

// The file the person picks, or null when they cancel.
export function chooseFile(): Promise<File | null> {
    return new Promise((resolve) => {
        const input = document.createElement('input');
        input.type = 'file';
        input.accept = '.txt,text/plain';
        input.addEventListener('change', () => resolve(input.files?.[0] ?? null), { once: true });
        input.addEventListener('cancel', () => resolve(null), { once: true });
        input.click();
    });
}

interface WritableFile {
    write(data: Blob): Promise<void>;
    close(): Promise<void>;
}

interface SavedFileHandle {
    readonly name: string;
    createWritable(): Promise<WritableFile>;
}

type SaveFilePicker = (options: object) => Promise<SavedFileHandle>;

// Where a report is saved: a file the person chose, or a download of that name.
export interface SaveTarget {
    name: string;
    handle: SavedFileHandle | null;
}

export const reportFileName = '结果.txt';

// The save dialog: a file chosen, or null when the person cancels. A browser without the File
// System Access API downloads instead, under the report's name.
export async function chooseSaveTarget(suggestedName: string): Promise<SaveTarget | null> {
    const picker = (window as unknown as { showSaveFilePicker?: SaveFilePicker }).showSaveFilePicker;
    if (!picker) return { name: suggestedName, handle: null };
    try {
        const handle = await picker({
            suggestedName,
            types: [{ description: '文本文件(*.txt)', accept: { 'text/plain': ['.txt'] } }],
        });
        return { name: handle.name, handle };
    } catch (error) {
        if (error instanceof DOMException && error.name === 'AbortError') return null;
        throw error;
    }
}

export function textBlob(text: string, type = 'text/plain;charset=utf-8'): Blob {
    return new Blob([new TextEncoder().encode(text)], { type });
}

export function download(blob: Blob, name: string): void {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60_000);
}

// The text written whole, byte for byte as UTF-8: a failure leaves the chosen file as the
// browser leaves an unfinished write, untouched.
export async function writeText(target: SaveTarget, text: string): Promise<void> {
    const blob = textBlob(text);
    if (!target.handle) {
        download(blob, target.name);
        return;
    }
    const file = await target.handle.createWritable();
    await file.write(blob);
    await file.close();
}
