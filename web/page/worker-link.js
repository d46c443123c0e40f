// The page's line to the worker that runs the module, after squoosh's worker
// bridge: the first call starts a worker and its module, each call is
// answered once, and a worker that dies takes every call waiting on it down
// with it, rejected; the next call starts another.

// WebAssembly's vectors, in a module that comes with them and without: a
// module whose one function makes a v128 validates only where the browser
// has them. The worker is told, and loads the build that runs.
const SIMD_PROBE = [0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 8, 1, 6, 0, 65, 0, 253, 15, 11];
const vectors = typeof WebAssembly === 'object' && WebAssembly.validate(new Uint8Array(SIMD_PROBE));

// Filled in by the single-file build: the module and the worker as one
// script, the wasm as base64, since file:// lets no worker load a file; once
// with vectors and once without.
const inlineSource = document.getElementById(vectors ? 'worker-source-simd' : 'worker-source');
const inlineWasm = document.getElementById(vectors ? 'wasm-binary-simd' : 'wasm-binary');
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

const LATE = new Error('late');
const THREADS_START_MS = 8000;

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

  // tries: how many more starts of the threaded module may be given up
  // before a worker on one thread; 0, that one.
  function start(tries = 2) {
    const threads = tries > 0;
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
    const init = send(current, 'init', { ...settings, wasmBinary, threads, vectors });
    // Firefox leaves one threaded start in thirty or so blocked for good on
    // a thread's worker that never loads, the worker's own timers with it:
    // a start that has not answered in time is given up for another, and a
    // second such for a worker on one thread.
    let timer;
    const late = new Promise((resolve, reject) => (timer = threads && setTimeout(() => reject(LATE), THREADS_START_MS)));
    current.started = Promise.race([init, late])
      .finally(() => clearTimeout(timer))
      .catch((error) => {
        if (error !== LATE) throw error;
        lost(current, 'the threads did not start');
        return start(tries - 1).started;
      });
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
