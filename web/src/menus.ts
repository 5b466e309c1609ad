// Menus as the desktop has them: a menu bar whose menus open with the mouse, with Alt and the
// access key, or from the keyboard (arrows, Enter, Esc), their entries enabled and checked as the
// window decides when a menu opens, submenus, separators, and the same popup for context menus.
// Roles: menubar, menu, menuitem, menuitemcheckbox, separator.

import { captionNodes, element } from './dialogs';

export interface MenuItem {
    kind: 'command' | 'check' | 'submenu' | 'separator';
    caption: string;
    accessKey?: string;
    // As the desktop writes it ("Ctrl+N"); the window's key handler runs it.
    shortcut?: string;
    name?: string;
    enabled: boolean;
    checked: boolean;
    run?: (item: MenuItem) => void;
    items?: MenuItem[];
    // Called each time the submenu opens, before it is shown.
    aboutToShow?: () => void;
}

export function command(caption: string, run: (item: MenuItem) => void,
                        options: Partial<Pick<MenuItem, 'accessKey' | 'shortcut' | 'name' | 'enabled'>> = {}): MenuItem {
    return { kind: 'command', caption, run, enabled: true, checked: false, ...options };
}

export function checkItem(caption: string, run: (item: MenuItem) => void, name?: string): MenuItem {
    return { kind: 'check', caption, run, enabled: true, checked: false, ...(name ? { name } : {}) };
}

export function submenu(caption: string, items: MenuItem[], options: Partial<MenuItem> = {}): MenuItem {
    return { kind: 'submenu', caption, items, enabled: true, checked: false, ...options };
}

export function separator(): MenuItem {
    return { kind: 'separator', caption: '', enabled: false, checked: false };
}

export interface Menu {
    caption: string;
    accessKey: string;
    name: string;
    items: MenuItem[];
    aboutToShow?: () => void;
}

// Runs an entry as choosing it does: a check entry changes its state first.
export function trigger(item: MenuItem): void {
    if (!item.enabled) return;
    if (item.kind === 'check') item.checked = !item.checked;
    item.run?.(item);
}

function keyShortcut(shortcut: string): string {
    return shortcut.replace('Ctrl', 'Control');
}

// One open menu: its element, and the submenu open from it.
class Popup {
    readonly element: HTMLElement;
    private readonly entries: { item: MenuItem; row: HTMLElement }[] = [];
    private child: Popup | null = null;

    constructor(readonly items: MenuItem[], label: string, private readonly host: PopupHost,
                readonly parent: Popup | null) {
        this.element = element('div', 'menu');
        this.element.setAttribute('role', 'menu');
        this.element.setAttribute('aria-label', label);
        for (const item of items) this.addRow(item);
        this.element.addEventListener('keydown', (event) => this.key(event));
    }

    private addRow(item: MenuItem): void {
        if (item.kind === 'separator') {
            const line = element('div', 'menu-separator');
            line.setAttribute('role', 'separator');
            this.element.append(line);
            return;
        }
        const row = element('div', 'menu-item');
        row.setAttribute('role', item.kind === 'check' ? 'menuitemcheckbox' : 'menuitem');
        row.tabIndex = -1;
        if (item.name) row.dataset['name'] = item.name;
        const caption = element('span', 'menu-caption');
        caption.append(...captionNodes(item.caption, item.accessKey));
        const check = element('span', 'menu-check', item.kind === 'check' && item.checked ? '✓' : '');
        check.setAttribute('aria-hidden', 'true');
        row.append(check, caption);
        if (item.shortcut) {
            const keys = element('span', 'menu-shortcut', item.shortcut);
            keys.setAttribute('aria-hidden', 'true');
            row.append(keys);
            row.setAttribute('aria-keyshortcuts', keyShortcut(item.shortcut));
        }
        if (item.kind === 'submenu') {
            row.setAttribute('aria-haspopup', 'menu');
            row.setAttribute('aria-expanded', 'false');
            const arrow = element('span', 'menu-arrow', '▸');
            arrow.setAttribute('aria-hidden', 'true');
            row.append(arrow);
        }
        if (item.kind === 'check') row.setAttribute('aria-checked', String(item.checked));
        if (!item.enabled) row.setAttribute('aria-disabled', 'true');
        row.addEventListener('click', () => this.choose(item, row));
        row.addEventListener('pointerenter', () => {
            row.focus();
            if (item.kind === 'submenu' && item.enabled) this.openChild(item, row, false);
            else this.closeChild();
        });
        this.entries.push({ item, row });
        this.element.append(row);
    }

    focusFirst(): void {
        this.entries[0]?.row.focus();
    }

    private choose(item: MenuItem, row: HTMLElement): void {
        if (!item.enabled) return;
        if (item.kind === 'submenu') {
            this.openChild(item, row, true);
            return;
        }
        this.host.closeAll(true);
        trigger(item);
    }

    private openChild(item: MenuItem, row: HTMLElement, focus: boolean): void {
        if (this.child && this.child.items === item.items) {
            if (focus) this.child.focusFirst();
            return;
        }
        this.closeChild();
        item.aboutToShow?.();
        this.child = new Popup(item.items ?? [], item.caption, this.host, this);
        row.setAttribute('aria-expanded', 'true');
        this.host.place(this.child, row.getBoundingClientRect(), 'beside');
        if (focus) this.child.focusFirst();
    }

    closeChild(): void {
        if (!this.child) return;
        this.child.close();
        this.child = null;
        for (const { row } of this.entries) {
            if (row.hasAttribute('aria-expanded')) row.setAttribute('aria-expanded', 'false');
        }
    }

    close(): void {
        this.closeChild();
        this.element.remove();
    }

    private key(event: KeyboardEvent): void {
        const rows = this.entries.map((entry) => entry.row);
        const at = rows.indexOf(document.activeElement as HTMLElement);
        const move = (to: number): void => rows[(to + rows.length) % rows.length]?.focus();
        const current = this.entries[at];
        let handled = true;
        switch (event.key) {
            case 'ArrowDown': move(at + 1); break;
            case 'ArrowUp': move(at < 0 ? -1 : at - 1); break;
            case 'Home': move(0); break;
            case 'End': move(-1); break;
            case 'Enter':
            case ' ':
                if (current) this.choose(current.item, current.row);
                break;
            case 'ArrowRight':
                if (current?.item.kind === 'submenu' && current.item.enabled) this.openChild(current.item, current.row, true);
                else this.host.neighbour(1);
                break;
            case 'ArrowLeft':
                if (this.parent) this.parent.closeChildAndFocus();
                else this.host.neighbour(-1);
                break;
            case 'Escape':
                if (this.parent) this.parent.closeChildAndFocus();
                else this.host.closeAll(true);
                break;
            case 'Tab':
                this.host.closeAll(false);
                handled = false;
                break;
            default: {
                const key = event.key.toUpperCase();
                const chosen = this.entries.find((entry) => entry.item.accessKey === key);
                if (chosen && !event.ctrlKey && !event.metaKey) this.choose(chosen.item, chosen.row);
                else handled = false;
            }
        }
        if (handled) {
            event.preventDefault();
            event.stopPropagation();
        }
    }

    private closeChildAndFocus(): void {
        const row = this.entries.find((entry) => entry.item.items === this.child?.items)?.row;
        this.closeChild();
        row?.focus();
    }
}

interface PopupHost {
    closeAll(restoreFocus: boolean): void;
    neighbour(step: number): void;
    place(popup: Popup, anchor: DOMRect, where: 'below' | 'beside'): void;
}

// Where popups open and the one click outside that closes them.
class PopupLayer implements PopupHost {
    private root: Popup | null = null;
    private returnFocus: HTMLElement | null = null;
    onClosed: (() => void) | null = null;
    onNeighbour: ((step: number) => void) | null = null;

    constructor() {
        document.addEventListener('pointerdown', (event) => {
            // The menu bar's own items open, switch and close their menus themselves.
            const target = event.target as Element;
            if (this.root && !target.closest?.('.menu, .menubar')) this.closeAll(false);
        }, true);
        window.addEventListener('resize', () => this.closeAll(false));
    }

    open(items: MenuItem[], label: string, anchor: DOMRect, where: 'below' | 'beside' | 'point',
         returnFocus: HTMLElement | null): Popup {
        this.closeAll(false);
        this.root = new Popup(items, label, this, null);
        this.returnFocus = returnFocus;
        this.place(this.root, anchor, where === 'point' ? 'below' : where);
        return this.root;
    }

    get isOpen(): boolean {
        return this.root !== null;
    }

    closeAll(restoreFocus: boolean): void {
        if (!this.root) return;
        this.root.close();
        this.root = null;
        if (restoreFocus) this.returnFocus?.focus();
        this.returnFocus = null;
        this.onClosed?.();
    }

    neighbour(step: number): void {
        this.onNeighbour?.(step);
    }

    // Beside the anchor when there is room, else below it, and always within the window: on a
    // narrow screen a submenu opens under its parent's entry rather than over it. A menu taller
    // than the room under it scrolls.
    place(popup: Popup, anchor: DOMRect, where: 'below' | 'beside'): void {
        const menu = popup.element;
        menu.style.left = '0px';
        menu.style.top = '0px';
        menu.style.maxHeight = '';
        document.body.append(menu);
        const width = menu.offsetWidth;
        const viewWidth = document.documentElement.clientWidth;
        const viewHeight = document.documentElement.clientHeight;
        let left = anchor.left;
        let top = anchor.bottom;
        if (where === 'beside') {
            if (anchor.right - 2 + width <= viewWidth) {
                left = anchor.right - 2;
                top = anchor.top;
            } else {
                left = anchor.left + 24;
            }
        }
        left = Math.max(0, Math.min(left, viewWidth - width));
        const height = menu.offsetHeight;
        let room = viewHeight - top;
        if (height > room && top === anchor.top) {
            // Beside the anchor: moved up as far as it must.
            top = Math.max(0, viewHeight - height);
            room = viewHeight - top;
        } else if (height > room && room < 200 && anchor.top > room) {
            // Below the anchor with little room: above it instead.
            room = anchor.top;
            top = Math.max(0, anchor.top - height);
        }
        menu.style.left = `${left + window.scrollX}px`;
        menu.style.top = `${top + window.scrollY}px`;
        menu.style.maxHeight = `${room}px`;
    }
}

const layer = new PopupLayer();

// A context menu at a point, such as the picture's.
export function showContextMenu(items: MenuItem[], label: string, x: number, y: number, returnFocus: HTMLElement | null): void {
    layer.onNeighbour = null;
    layer.onClosed = null;
    layer.open(items, label, new DOMRect(x, y, 0, 0), 'point', returnFocus).focusFirst();
}

// The context menu of an element, from the mouse or from the keyboard (the menu key, Shift+F10):
// the element takes the focus in its turn so that the keyboard reaches it.
export function attachContextMenu(target: HTMLElement, label: string, items: () => MenuItem[]): void {
    target.tabIndex = 0;
    target.addEventListener('contextmenu', (event) => {
        event.preventDefault();
        const box = target.getBoundingClientRect();
        const fromKeyboard = event.clientX === 0 && event.clientY === 0;
        showContextMenu(items(), label, fromKeyboard ? box.left + 8 : event.clientX, fromKeyboard ? box.top + 8 : event.clientY, target);
    });
}

export class MenuBar {
    readonly element: HTMLElement;
    private readonly buttons: HTMLButtonElement[] = [];
    private openIndex = -1;

    constructor(private readonly menus: Menu[], label: string) {
        this.element = element('div', 'menubar');
        this.element.setAttribute('role', 'menubar');
        this.element.setAttribute('aria-label', label);
        menus.forEach((menu, index) => {
            const button = element('button', 'menubar-item');
            button.type = 'button';
            button.setAttribute('role', 'menuitem');
            button.setAttribute('aria-haspopup', 'menu');
            button.setAttribute('aria-expanded', 'false');
            button.dataset['name'] = menu.name;
            button.tabIndex = index === 0 ? 0 : -1;
            button.append(...captionNodes(menu.caption, menu.accessKey));
            button.addEventListener('click', () => {
                if (this.openIndex === index) layer.closeAll(true);
                else this.open(index, false);
            });
            button.addEventListener('pointerenter', () => {
                if (this.openIndex >= 0 && this.openIndex !== index) this.open(index, false);
            });
            button.addEventListener('keydown', (event) => this.key(event, index));
            this.buttons.push(button);
            this.element.append(button);
        });
    }

    // Alt and a menu's access key: opens that menu with its first entry focused.
    accessKey(key: string): boolean {
        const index = this.menus.findIndex((menu) => menu.accessKey === key.toUpperCase());
        if (index < 0) return false;
        this.open(index, true);
        return true;
    }

    open(index: number, focusFirst: boolean): void {
        const menu = this.menus[index]!;
        const button = this.buttons[index]!;
        menu.aboutToShow?.();
        const popup = layer.open(menu.items, menu.caption, button.getBoundingClientRect(), 'below', button);
        this.setOpen(index);
        layer.onClosed = () => this.setOpen(-1);
        layer.onNeighbour = (step) => {
            const next = (index + step + this.menus.length) % this.menus.length;
            this.open(next, true);
        };
        this.roveTo(index);
        if (focusFirst) popup.focusFirst();
        else button.focus();
    }

    private setOpen(index: number): void {
        this.openIndex = index;
        this.buttons.forEach((button, i) => button.setAttribute('aria-expanded', String(i === index)));
    }

    private roveTo(index: number): void {
        this.buttons.forEach((button, i) => { button.tabIndex = i === index ? 0 : -1; });
    }

    private key(event: KeyboardEvent, index: number): void {
        const count = this.buttons.length;
        let handled = true;
        switch (event.key) {
            case 'ArrowRight':
            case 'ArrowLeft': {
                const next = (index + (event.key === 'ArrowRight' ? 1 : -1) + count) % count;
                if (this.openIndex >= 0) this.open(next, true);
                else {
                    this.roveTo(next);
                    this.buttons[next]!.focus();
                }
                break;
            }
            case 'ArrowDown':
            case 'ArrowUp':
            case 'Enter':
            case ' ':
                this.open(index, true);
                break;
            case 'Home':
                this.roveTo(0);
                this.buttons[0]!.focus();
                break;
            case 'End':
                this.roveTo(count - 1);
                this.buttons[count - 1]!.focus();
                break;
            case 'Escape':
                // With no menu open, Esc is the window's (停止).
                handled = layer.isOpen;
                layer.closeAll(true);
                break;
            default:
                handled = false;
        }
        if (handled) {
            event.preventDefault();
            event.stopPropagation();
        }
    }
}

export function closeMenus(): void {
    layer.closeAll(false);
}

export function menusOpen(): boolean {
    return layer.isOpen;
}
