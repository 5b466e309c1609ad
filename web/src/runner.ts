// Runs a window's command in its worker and answers the command's prompts by replay: the run
// stops at the first prompt or question without an answer, the person answers it in a dialog,
// and the command runs again from its start with one answer more. The messages that appeared
// since the last run are shown, in order, before the next prompt; the result pane shows what the
// command had written when it asked, as the desktop's pane does while its dialog is up. A
// stopped or failed run leaves the pane as it was before the command began.

import { type Answer, type CommandWorker, type Core, type RunAnswer, type RunRequest, WorkerEnded } from './core';
import { applicationTitle, ask, confirm, tell } from './dialogs';
import type { ReportPane } from './report_pane';

export type RunEnd = 'finished' | 'stopped' | 'failed';

export interface RunResult {
    end: RunEnd;
    // The last answer of a finished run.
    answer?: RunAnswer;
    // Whether the run left a report in the pane other than the one it found there.
    wrotePane: boolean;
}

const outOfMemory = '内存不足，无法完成计算！';

class RequestRefused extends Error {}

export class CommandRunner {
    private readonly worker: CommandWorker;
    private running = false;

    constructor(core: Core, private readonly pane: ReportPane, private readonly busy: (busy: boolean) => void) {
        this.worker = core.commandWorker();
    }

    get isRunning(): boolean {
        return this.running;
    }

    // The command with every answer the person gives; `result` is what the pane holds now.
    async run(request: Omit<RunRequest, 'answers' | 'result'>): Promise<RunResult> {
        if (this.running) return { end: 'stopped', wrotePane: false };
        this.running = true;
        this.busy(true);
        const before = this.pane.content;
        try {
            const answers: Answer[] = [];
            let shown = 0;
            for (;;) {
                const answer = await this.worker.run({ ...request, result: before.text, answers });
                if (answer.status === 'error') throw new RequestRefused(answer.error ?? '');
                if (answer.report !== this.pane.text) this.pane.setText(answer.report, answer.lines);
                for (const event of answer.events.slice(shown)) {
                    if (event.kind === 'message') await tell(event.text, event.title || applicationTitle);
                }
                shown = answer.events.length;
                const pending = answer.pending;
                if (answer.status === 'done' || !pending) {
                    return { end: 'finished', answer, wrotePane: answer.report !== before.text };
                }
                answers.push(pending.kind === 'question' ? await confirm(pending.text, pending.title)
                                                         : await ask(pending));
            }
        } catch (error) {
            if (this.pane.text !== before.text) this.pane.setText(before.text, before.lines);
            if (error instanceof WorkerEnded && error.stopped) return { end: 'stopped', wrotePane: false };
            // The module ran out of memory, or aborted: a fresh worker runs the next command. A
            // request the module refuses is a fault of the page's, shown as the module words it.
            const refused = error instanceof RequestRefused && error.message !== '内存不足';
            if (!refused) this.worker.renew();
            await tell(refused ? error.message : outOfMemory);
            return { end: 'failed', wrotePane: false };
        } finally {
            this.running = false;
            this.busy(false);
        }
    }

    // 停止 and Esc: the command ends at once, wherever it is.
    stop(): void {
        if (this.running) this.worker.stop();
    }

    close(): void {
        this.worker.close();
    }
}
