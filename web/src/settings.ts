// 附加检验: one setting for every window, kept by the browser between visits (off at first).

const checksKey = 'koravin.checks';
// A browser that keeps nothing (storage turned off) keeps the setting for this visit only.
let keptForThisVisit: boolean | null = null;

export function checksOn(): boolean {
    if (keptForThisVisit !== null) return keptForThisVisit;
    try {
        return localStorage.getItem(checksKey) === 'on';
    } catch {
        return false;
    }
}

export function setChecksOn(on: boolean): void {
    try {
        localStorage.setItem(checksKey, on ? 'on' : 'off');
    } catch {
        keptForThisVisit = on;
    }
}
