// The page's line to the worker that runs the module, after squoosh's worker
// bridge: the first call starts a worker and its module, each call is
// answered once, and a worker that dies takes every call waiting on it down
// with it, rejected; the next call starts another.

// Filled in by the single-file build: the module and the worker as one
// script, the wasm as base64, since file:// lets no worker load a file.
const inlineSource = document.getElementById('worker-source');
const inlineWasm = document.getElementById('wasm-binary');
let wasmBinary = null;
let workerUrl = 'worker.js';
if (inlineSource) {
  workerUrl = URL.createObjectURL(new Blob([inlineSource.textContent], { type: 'text/javascript' }));
  const bytes = atob(inlineWasm.textContent.trim());
  wasmBinary = new Uint8Array(bytes.length);
  for (let i = 0; i < bytes.length; i++) wasmBinary[i] = bytes.charCodeAt(i);
}
export const singleFile = Boolean(inlineSource);

// What a call waiting on a dead worker is rejected with: one error for all
// the calls of one worker, so the page can tell one death from two.
export class WorkerDied extends Error {}

// settings: what each worker's module is started with.
export function workerBridge(settings) {
  let live = null; // {worker, waiting: Map id -> {resolve, reject}, started}
  let nextId = 1;

  function send(current, op, args) {
    return new Promise((resolve, reject) => {
      const id = nextId++;
      current.waiting.set(id, { resolve, reject });
      current.worker.postMessage({ id, op, args });
    });
  }

  function lost(dead, reason) {
    if (live === dead) live = null;
    dead.worker.terminate();
    const error = new WorkerDied(reason);
    for (const entry of dead.waiting.values()) entry.reject(error);
    dead.waiting.clear();
  }

  function start() {
    const current = { worker: new Worker(workerUrl), waiting: new Map() };
    current.worker.onmessage = (e) => {
      const { id, result, fatal, error } = e.data;
      // The module aborted (out of memory, as a rule): it can run nothing more.
      if (fatal) {
        lost(current, error);
        return;
      }
      const entry = current.waiting.get(id);
      if (entry) {
        current.waiting.delete(id);
        entry.resolve(result);
      }
    };
    // An error the module could not turn into an answer, a script that did
    // not load among them, leaves a worker that can do nothing more too.
    current.worker.onerror = (e) => {
      e.preventDefault();
      lost(current, e.message);
    };
    // The worker answers in order: a call sent behind the start waits for it,
    // and dies with it.
    current.started = send(current, 'init', { ...settings, wasmBinary });
    // A start that fails is told to the call behind it; nobody else need hear.
    current.started.catch(() => {});
    live = current;
    return current;
  }

  return {
    // Resolves to what the module answered its start with.
    start: () => (live || start()).started,
    call: (op, args = {}) => send(live || start(), op, args),
  };
}
