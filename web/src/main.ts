// The page: one window at a time, as the address's fragment names it (#linear, #ultra, #ode,
// #euler, #rungekutta, #adams; none for the start page). A window is made the first time it is
// asked for and keeps its contents when another comes to the front, until it is closed; closing
// the chooser closes the differential-equation windows. The browser's back and forward move
// between the windows shown.

import { Core, type Command, type Example } from './core';
import { dialogOpen } from './dialogs';
import type { AppWindow } from './frame';
import { closeMenus } from './menus';
import { type PaperReport, preparePaper, printReport } from './paper';
import { OdeWindow, type OdeMethod } from './ode';
import { ChooserWindow, showAbout, StartWindow } from './start';
import { WorkspaceWindow } from './workspace';

const odeRoutes: Record<string, OdeMethod> = { euler: 'UsDi_Euler', rungekutta: 'UsDi_RungeKutta', adams: 'UsDi_Adams' };

class Page {
    private readonly core = new Core();
    private readonly host = document.getElementById('windows')!;
    private readonly windows = new Map<string, AppWindow>();
    private readonly listings: Promise<{ commands: Command[]; examples: Example[] }>;
    private current = '';

    constructor() {
        this.listings = Promise.all([this.core.commands(), this.core.examples()])
            .then(([commands, examples]) => ({ commands, examples }));
        const start = new StartWindow({
            open: (route) => { location.hash = route; },
            help: (page) => this.help(page),
            about: () => void showAbout((page) => this.help(page)),
        });
        this.windows.set('', start);
        this.host.append(start.element);
        window.addEventListener('hashchange', () => void this.show());
        document.addEventListener('keydown', (event) => {
            if (this.windows.get(this.current)?.keydown(event)) {
                event.preventDefault();
                event.stopPropagation();
            }
        });
        // The browser's own print prints the report of the window in front.
        window.addEventListener('beforeprint', () => {
            const report = this.windows.get(this.current)?.paper();
            if (report) preparePaper(report);
        });
        void this.show();
    }

    private help(page = 'index.html'): void {
        window.open(`help/${page}`, 'koravin-help');
    }

    private route(): string {
        const route = decodeURIComponent(location.hash.replace(/^#/, ''));
        return ['linear', 'ultra', 'ode', ...Object.keys(odeRoutes)].includes(route) ? route : '';
    }

    private async make(route: string): Promise<AppWindow> {
        const actions = {
            open: (next: string) => { location.hash = next; },
            help: (page?: string) => this.help(page),
            about: () => void showAbout((page) => this.help(page)),
        };
        if (route === 'ode') return new ChooserWindow(actions, () => this.close('ode'));
        const { commands, examples } = await this.listings;
        const paper = {
            print: (report: PaperReport) => printReport(report),
            exportPdfHint: (say: (text: string) => void) => say('在打印对话框的“目标打印机”中选择“另存为 PDF”'),
        };
        if (route === 'linear' || route === 'ultra') {
            return new WorkspaceWindow(route === 'linear' ? 'LinearFrm' : 'Ultra', {
                core: this.core, commands, examples, ...paper, showHelp: () => this.help(), showAbout: actions.about,
            }, () => this.close(route));
        }
        return new OdeWindow(odeRoutes[route]!, { core: this.core, examples, ...paper }, () => this.close(route));
    }

    private async show(): Promise<void> {
        const route = this.route();
        closeMenus();
        let window = this.windows.get(route);
        if (!window) {
            window = await this.make(route);
            if (this.route() !== route || this.windows.has(route)) return void this.show();
            this.windows.set(route, window);
            this.host.append(window.element);
        }
        this.current = route;
        for (const [name, shown] of this.windows) shown.element.hidden = name !== route;
        document.title = route === '' ? 'Koravin' : `${window.title} - Koravin`;
        window.shown();
        if (!dialogOpen()) (window.element.querySelector<HTMLElement>('h1') ?? window.element).focus({ preventScroll: true });
    }

    // Closing a window discards it; the chooser takes the differential-equation windows along.
    private close(route: string): void {
        const closing = route === 'ode' ? ['adams', 'euler', 'rungekutta', 'ode'] : [route];
        for (const name of closing) {
            this.windows.get(name)?.close();
            this.windows.get(name)?.element.remove();
            this.windows.delete(name);
        }
        location.hash = route in odeRoutes ? 'ode' : '';
    }
}

new Page();

if ('serviceWorker' in navigator) {
    void navigator.serviceWorker.register('sw.js').catch(() => undefined);
}
