// The core's WebAssembly module (build-web/koravin.js), copied beside the page's scripts.
export default function createKoravin(options?: object): Promise<Record<string, unknown>>;
