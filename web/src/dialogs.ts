// The modal dialogs of every window: a command's prompts (a text with 确定/取消), messages (确定)
// and questions (是(Y)/否(N), 否 the default), and the frame the display dialogs are built in.
// Each is a <dialog> named by its title; one is open at a time, in the order they are asked for.
// Their texts arrive as text and enter the page as text.

export const applicationTitle = 'Koravin';

export interface Prompt {
    text: string;
    title: string;
    default: string;
}

// A caption with its access key shown as the desktop shows it: "是(Y)" with the Y underlined.
export function captionNodes(caption: string, accessKey?: string): Node[] {
    if (!accessKey) return [document.createTextNode(caption)];
    const key = document.createElement('u');
    key.textContent = accessKey;
    return [document.createTextNode(`${caption}(`), key, document.createTextNode(')')];
}

export function element<K extends keyof HTMLElementTagNameMap>(tag: K, className?: string, text?: string): HTMLElementTagNameMap[K] {
    const made = document.createElement(tag);
    if (className) made.className = className;
    if (text !== undefined) made.textContent = text;
    return made;
}

let dialogCount = 0;

export interface DialogButton<T> {
    caption: string;
    accessKey?: string;
    value: () => T;
    isDefault?: boolean;
}

// A modal dialog titled `title` (the application's title when empty): `fill` puts its content in
// `body`; it ends with the value of the button pressed, or with `cancelled` on Esc.
export function openDialog<T>(title: string, fill: (body: HTMLElement, finish: (value: T) => void) => void,
                              buttons: DialogButton<T>[], cancelled: () => T): Promise<T> {
    return new Promise((resolve) => {
        const dialog = element('dialog', 'box');
        const heading = element('h2', 'box-title', title || applicationTitle);
        heading.id = `dialog-title-${++dialogCount}`;
        dialog.setAttribute('aria-labelledby', heading.id);
        const body = element('div', 'box-body');
        const row = element('div', 'box-buttons');
        let done = false;
        const finish = (value: T): void => {
            if (done) return;
            done = true;
            dialog.close();
            dialog.remove();
            resolve(value);
        };
        fill(body, finish);
        let defaultButton: HTMLButtonElement | undefined;
        for (const button of buttons) {
            const made = element('button');
            made.type = 'button';
            made.append(...captionNodes(button.caption, button.accessKey));
            made.addEventListener('click', () => finish(button.value()));
            if (button.isDefault) defaultButton = made;
            row.append(made);
        }
        dialog.addEventListener('cancel', (event) => {
            event.preventDefault();
            finish(cancelled());
        });
        dialog.addEventListener('keydown', (event) => {
            // The access keys answer at once, as the desktop's buttons do.
            if (event.ctrlKey || event.metaKey) return;
            const key = event.key.toUpperCase();
            const button = buttons.find((b) => b.accessKey === key);
            if (button && (event.altKey || !(event.target instanceof HTMLInputElement))) {
                event.preventDefault();
                finish(button.value());
            }
        });
        dialog.append(heading, body, row);
        document.body.append(dialog);
        dialog.showModal();
        const focusFirst = body.querySelector<HTMLElement>('input, select, textarea');
        (focusFirst ?? defaultButton ?? row.querySelector('button'))?.focus();
    });
}

const ok = (): DialogButton<void> => ({ caption: '确定', value: () => undefined, isDefault: true });

function textBlock(text: string): HTMLElement {
    return element('p', 'box-text', text.replace(/\r\n?/g, '\n'));
}

// An input prompt: the reply, or null for 取消 (Esc).
export function ask(prompt: Prompt): Promise<string | null> {
    let input!: HTMLInputElement;
    return openDialog<string | null>(prompt.title, (body, finish) => {
        const label = element('label', 'box-text', prompt.text.replace(/\r\n?/g, '\n'));
        input = element('input');
        input.type = 'text';
        input.value = prompt.default;
        input.spellcheck = false;
        input.autocomplete = 'off';
        label.htmlFor = input.id = `prompt-${dialogCount + 1}`;
        input.addEventListener('keydown', (event) => {
            if (event.key === 'Enter' && !event.isComposing) {
                event.preventDefault();
                finish(input.value);
            }
        });
        body.append(label, input);
        queueMicrotask(() => input.select());
    }, [{ caption: '确定', value: () => input.value, isDefault: true }, { caption: '取消', value: () => null }], () => null);
}

// A message with 确定, under the application's title.
export function tell(text: string, title = applicationTitle): Promise<void> {
    return openDialog<void>(title, (body) => body.append(textBlock(text)), [ok()], () => undefined);
}

// A question with 是(Y) and 否(N); 否 is the default, and Esc answers it.
export function confirm(text: string, title: string): Promise<boolean> {
    return openDialog<boolean>(title, (body) => body.append(textBlock(text)), [
        { caption: '是', accessKey: 'Y', value: () => true },
        { caption: '否', accessKey: 'N', value: () => false, isDefault: true },
    ], () => false);
}

// Whether a modal dialog is open: the windows' own keys wait until it is answered.
export function dialogOpen(): boolean {
    return document.querySelector('dialog[open]') !== null;
}
