// The core in a Web Worker: each message names one of the module's calls and carries its request;
// the answer goes back parsed, and a run's report with its lines counted, so that the page's
// thread only shows it.

import createKoravin from './koravin.js';
import { indexLines } from './text_lines';

interface Koravin {
    [call: string]: ((request?: string) => string) | unknown;
}

interface CallMessage {
    id: number;
    name: string;
    request: object | null;
}

const scope = globalThis as unknown as {
    onmessage: ((event: MessageEvent<CallMessage>) => void) | null;
    postMessage(message: unknown, transfer?: Transferable[]): void;
};

const module: Promise<Koravin> = createKoravin();

scope.onmessage = (event) => {
    const { id, name, request } = event.data;
    void module.then((k) => {
        const call = k[name];
        if (typeof call !== 'function') {
            scope.postMessage({ id, failure: `the core has no call named ${name}` });
            return;
        }
        let answer: { report?: unknown; lines?: unknown };
        try {
            answer = JSON.parse(request === null ? call() : call(JSON.stringify(request)));
        } catch (error) {
            // The module may be in any state after an abort: the page replaces this worker.
            scope.postMessage({ id, failure: String(error) });
            return;
        }
        const transfer: Transferable[] = [];
        if (name === 'run' && typeof answer.report === 'string') {
            const lines = indexLines(answer.report);
            answer.lines = lines;
            transfer.push(lines.starts.buffer);
        }
        scope.postMessage({ id, answer }, transfer);
    }, (error: unknown) => scope.postMessage({ id, failure: `the core did not load: ${String(error)}` }));
};
