// The core client: the WebAssembly module runs in Web Workers (worker.ts), never on the page's
// thread. A window's commands run in a worker of their own, which 停止 ends; the quick calls
// (commands, examples, sample, picture, divisions) go to one persistent worker beside them, so
// that a picture or the division spinner never waits behind a long run.

import type { CoreCalls, Mark, Columns } from './picture';
import type { LineIndex } from './text_lines';

export interface Command {
    name: string;
    caption: string;
    workspace: 'LinearFrm' | 'Ultra' | 'UsualDiffEquation';
    submenu: string;
    separatorBefore: boolean;
    headingBefore?: string;
}

export interface Example {
    name: string;
    title: string;
    command: string;
    workspace: string;
    shows: string;
    hint: string;
    editor: string;
    fields: Record<string, string>;
    exact: string;
    replies: string[];
    yesNo: boolean[];
}

export interface CoreEvent {
    kind: 'prompt' | 'question' | 'message';
    title: string;
    text: string;
    default: string;
    answer?: string | boolean;
}

export type Answer = string | null | boolean;

export interface RunRequest {
    command: string;
    editor?: string;
    result?: string;
    digits?: number;
    fields?: Record<string, string>;
    answers?: Answer[];
    check?: boolean;
    picture?: boolean;
}

export interface Sweeps {
    method: string;
    relaxation: number;
    order: number;
    changes: number[];
    radius: number | null;
}

export interface RunPicture {
    marks?: Mark[];
    phi?: string;
    sweeps?: Sweeps;
    columns?: Columns;
}

export interface RunAnswer {
    status: 'done' | 'waiting' | 'error';
    error?: string;
    report: string;
    events: CoreEvent[];
    pending?: CoreEvent;
    checks?: { text: string; values: Record<string, unknown> };
    picture?: RunPicture;
    focus?: string;
    // Added by the worker: the report's lines, counted off the page's thread.
    lines?: LineIndex;
}

// A worker that ended (停止, or a failure that took it down) answers no more.
export class WorkerEnded extends Error {
    constructor(readonly stopped: boolean) {
        super(stopped ? 'stopped' : 'the worker failed');
    }
}

interface Waiting {
    resolve(answer: unknown): void;
    reject(error: Error): void;
}

// One worker and the calls waiting for it, answered in order.
class CoreWorker {
    private readonly worker: Worker;
    private readonly waiting = new Map<number, Waiting>();
    private nextId = 1;
    private ended = false;

    constructor() {
        this.worker = new Worker(new URL('./worker.js', document.baseURI), { type: 'module', name: 'koravin' });
        this.worker.onmessage = (event: MessageEvent<{ id: number; answer?: unknown; failure?: string }>) => {
            const { id, answer, failure } = event.data;
            const call = this.waiting.get(id);
            this.waiting.delete(id);
            if (failure !== undefined) call?.reject(new Error(failure));
            else call?.resolve(answer);
        };
        this.worker.onerror = () => this.end(false);
    }

    call(name: string, request: object | null): Promise<unknown> {
        if (this.ended) return Promise.reject(new WorkerEnded(false));
        const id = this.nextId++;
        return new Promise((resolve, reject) => {
            this.waiting.set(id, { resolve, reject });
            this.worker.postMessage({ id, name, request });
        });
    }

    end(stopped: boolean): void {
        if (this.ended) return;
        this.ended = true;
        this.worker.terminate();
        for (const call of this.waiting.values()) call.reject(new WorkerEnded(stopped));
        this.waiting.clear();
    }
}

// A small run after loading: the browser compiles the code it ran with its optimising tier in
// the background, so the next long run does not spend its time in the baseline code.
const warmUp: RunRequest = {
    command: 'Gauss_1',
    editor: Array.from({ length: 24 }, (_, i) =>
        Array.from({ length: 25 }, (_, j) => (i === j ? 30 : ((i * 7 + j * 3) % 11) - 5)).join(' ')).join('\r\n'),
    answers: ['24'],
};

// A window's runs: one worker, replaced by a fresh one when a run is stopped or fails.
export class CommandWorker {
    private worker = CommandWorker.started();

    private static started(): CoreWorker {
        const worker = new CoreWorker();
        void worker.call('run', warmUp).catch(() => undefined);
        return worker;
    }

    run(request: RunRequest): Promise<RunAnswer> {
        return this.worker.call('run', request) as Promise<RunAnswer>;
    }

    // Ends the running command at once; the next run starts in a fresh worker.
    stop(): void {
        this.worker.end(true);
        this.worker = CommandWorker.started();
    }

    // After a failure that may have left the module in any state.
    renew(): void {
        this.worker.end(false);
        this.worker = CommandWorker.started();
    }

    close(): void {
        this.worker.end(true);
    }
}

export class Core implements CoreCalls {
    private quick = new CoreWorker();

    call(name: string, request: object): Promise<unknown> {
        return this.quick.call(name, request).catch((error: unknown) => {
            // A quick call that took its worker down must not take the later ones with it.
            if (error instanceof WorkerEnded) this.quick = new CoreWorker();
            throw error;
        });
    }

    commands(): Promise<Command[]> {
        return this.quick.call('commands', null) as Promise<Command[]>;
    }

    examples(): Promise<Example[]> {
        return this.quick.call('examples', null) as Promise<Example[]>;
    }

    divisions(text: string, step: number): Promise<{ text: string; up: boolean; down: boolean }> {
        return this.call('divisions', { text, step }) as Promise<{ text: string; up: boolean; down: boolean }>;
    }

    commandWorker(): CommandWorker {
        return new CommandWorker();
    }
}
