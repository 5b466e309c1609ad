// The start page Koravin (the three workspaces, 帮助 and 关于, the credit line that changes its
// colour and slant every second, the clock), the chooser of the differential-equation windows,
// and the about box 关于Koravin软件.

import { element, openDialog } from './dialogs';
import { type AppWindow, windowFrame } from './frame';

declare const KORAVIN_VERSION: string;

// The sixteen colours of the text-mode palette; the credit takes one of the first fifteen.
export const textModeColors = ['#000000', '#000080', '#008000', '#008080', '#800000', '#800080', '#808000', '#c0c0c0',
    '#808080', '#0000ff', '#00ff00', '#00ffff', '#ff0000', '#ff00ff', '#ffff00', '#ffffff'];

// The relative luminance of a colour #rrggbb, as the contrast of text is measured.
export function luminance(color: string): number {
    const channel = (at: number): number => {
        const c = parseInt(color.slice(at, at + 2), 16) / 255;
        return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
    };
    return 0.2126 * channel(1) + 0.7152 * channel(3) + 0.0722 * channel(5);
}

// Text mode drew its colours on black: a colour that reads poorly on the page's white is drawn on
// black, so that the credit can be read in every one of them.
export function backgroundFor(color: string): string {
    const onWhite = 1.05 / (luminance(color) + 0.05);
    const onBlack = (luminance(color) + 0.05) / 0.05;
    return onWhite >= onBlack ? '#ffffff' : '#000000';
}

export interface StartActions {
    open(route: string): void;
    help(page?: string): void;
    about(): void;
}

function pushButton(caption: string, name: string, run: () => void): HTMLButtonElement {
    const made = element('button', 'push', caption);
    made.type = 'button';
    made.dataset['name'] = name;
    made.addEventListener('click', run);
    return made;
}

// A window of buttons alone: no keys of its own, no report, nothing to end when it closes.
abstract class ButtonsWindow implements AppWindow {
    abstract readonly element: HTMLElement;
    abstract readonly title: string;

    keydown(): boolean {
        return false;
    }

    paper(): null {
        return null;
    }

    close(): void {}

    shown(): void {}
}

export class StartWindow extends ButtonsWindow {
    readonly element: HTMLElement;
    readonly title = 'Koravin';

    constructor(actions: StartActions) {
        super();
        const frame = windowFrame('Koravin', this.title, null);
        this.element = frame.element;
        this.element.classList.add('start');
        const title = element('p', 'brush-title', 'Koravin');
        title.dataset['name'] = 'Label1';
        title.setAttribute('aria-hidden', 'true');
        const credit = element('p', 'credit', '数值分析教学软件——写给学习数值方法的每一位同学');
        credit.dataset['name'] = 'Label2';
        const clock = element('span', 'clock');
        clock.dataset['name'] = 'Label3';
        clock.setAttribute('role', 'timer');
        clock.setAttribute('aria-label', '时间');
        const methods = element('div', 'start-buttons');
        methods.append(
            pushButton('线性方程组(多元一次方程组)的数值解法', 'Command1', () => actions.open('linear')),
            pushButton('非线性方程的数值解法', 'Command2', () => actions.open('ultra')),
            pushButton('常微分方程的数值解法', 'Command6', () => actions.open('ode')));
        const bottom = element('div', 'start-bottom');
        bottom.append(pushButton('帮助', 'cmdHelp', () => actions.help()), pushButton('关于', 'cmdAbout', actions.about), clock);
        frame.body.append(title, credit, methods, bottom);

        const tick = (): void => {
            clock.textContent = new Date().toLocaleTimeString('zh-CN');
            const color = textModeColors[Math.floor(Math.random() * 15)]!;
            credit.style.color = color;
            credit.style.backgroundColor = backgroundFor(color);
            credit.classList.toggle('slanted');
        };
        setInterval(tick, 1000);
    }
}

export class ChooserWindow extends ButtonsWindow {
    readonly element: HTMLElement;
    readonly title = '常微分方程的数值解法';

    constructor(actions: StartActions, onClose: () => void) {
        super();
        const frame = windowFrame('UsualDiffEquation', this.title, onClose);
        this.element = frame.element;
        this.element.classList.add('chooser');
        const methods = element('div', 'start-buttons');
        methods.append(
            pushButton('欧拉(Euler)方法', 'Command1', () => actions.open('euler')),
            pushButton('龙格库塔(Runge-Kutta)方法', 'Command2', () => actions.open('rungekutta')),
            pushButton('线性多步方法', 'Command3', () => actions.open('adams')));
        const bottom = element('div', 'start-bottom end');
        bottom.append(pushButton('帮助', 'cmdHelp', () => actions.help('ode.html')));
        frame.body.append(methods, bottom);
    }
}

// 关于Koravin软件: the picture, the name and version, and the four links, each opening its page.
export function showAbout(help: (page: string) => void): Promise<void> {
    return openDialog<void>('关于Koravin软件', (body) => {
        const picture = element('img', 'about-picture');
        picture.src = 'icons/koravin.png';
        picture.alt = 'Koravin 图标';
        picture.width = picture.height = 96;
        const name = element('p', 'about-name');
        name.append(element('b', undefined, 'Koravin'), element('br'), '数值分析教学软件');
        const version = element('p', 'about-version', `版本 ${KORAVIN_VERSION}`);
        const links = element('ul', 'about-links');
        for (const [caption, page] of [['作者博客', 'index.html'], ['作者博客1', 'linear.html'], ['作者博客2', 'nonlinear.html'],
                                       ['作者博客3', 'ode.html']] as const) {
            const link = element('a', undefined, caption);
            link.href = `help/${page}`;
            link.title = '点击打开';
            link.addEventListener('click', (event) => {
                event.preventDefault();
                help(page);
            });
            const item = element('li');
            item.append(link);
            links.append(item);
        }
        const text = element('div', 'about-text');
        text.append(name, version, links);
        body.classList.add('about');
        body.append(picture, text);
    }, [{ caption: '确定', value: () => undefined, isDefault: true }], () => undefined);
}
