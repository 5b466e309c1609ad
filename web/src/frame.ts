// What every window of the page has: a frame with its caption and a close button, as the
// desktop's windows have a title bar. The page shows one window at a time; the others keep their
// contents until they are closed.

import { element } from './dialogs';
import type { PaperReport } from './paper';

export interface AppWindow {
    readonly element: HTMLElement;
    readonly title: string;
    // The window's keys (its shortcuts, Esc for 停止); true when the key was the window's.
    keydown(event: KeyboardEvent): boolean;
    // The report as the pages print it; null when there is none.
    paper(): PaperReport | null;
    // Closing discards the window and its contents, and ends its running command.
    close(): void;
    shown(): void;
}

export function windowFrame(name: string, title: string, onClose: (() => void) | null): { element: HTMLElement; body: HTMLElement } {
    const frame = element('section', 'window');
    frame.dataset['name'] = name;
    const bar = element('header', 'window-bar');
    const heading = element('h1', 'window-title', title);
    heading.id = `title-${name}`;
    heading.tabIndex = -1;
    frame.setAttribute('aria-labelledby', heading.id);
    bar.append(heading);
    if (onClose) {
        const close = element('button', 'window-close', '×');
        close.type = 'button';
        close.setAttribute('aria-label', '关闭');
        close.title = '关闭';
        close.addEventListener('click', onClose);
        bar.append(close);
    }
    const body = element('div', 'window-body');
    frame.append(bar, body);
    return { element: frame, body };
}

// What the status bar says while a command runs.
export const busyStatus = '正在计算……';
