'use strict';
// The page's line to the worker that runs the module: numbered requests, each
// answered once, and the news that the worker died, so that the page can start
// another.

(() => {
  const Page = (self.TrelvanoPage ||= {});

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
  Page.singleFile = Boolean(inlineSource);

  // settings: what the module is started with; died: called once for each
  // worker that dies while it is the current one.
  Page.WorkerLink = function WorkerLink(settings, died) {
    let worker = null;
    let nextId = 1;
    const waiting = new Map();

    function call(op, args = {}) {
      const current = worker;
      return new Promise((resolve) => {
        const id = nextId++;
        waiting.set(id, { resolve, worker: current });
        current.postMessage({ id, op, args });
      });
    }

    function lost(dead) {
      if (dead !== worker) return;
      worker = null;
      dead.terminate();
      // Whatever waited on the dead worker gets no events.
      for (const [id, entry] of waiting) {
        if (entry.worker === dead) {
          waiting.delete(id);
          entry.resolve({ events: [], images: {} });
        }
      }
      died();
    }

    // Starts a worker and its module; resolves to what the module answered.
    function start() {
      const started = new Worker(workerUrl);
      worker = started;
      started.onmessage = (e) => {
        const { id, result, fatal } = e.data;
        if (fatal) {
          lost(started);
          return;
        }
        const entry = waiting.get(id);
        if (entry) {
          waiting.delete(id);
          entry.resolve(result);
        }
      };
      // An abort in the module (out of memory above all) leaves a worker that
      // can do nothing more; so does an error the module could not turn into
      // a message.
      started.onerror = (e) => {
        e.preventDefault();
        lost(started);
      };
      return call('init', { ...settings, wasmBinary });
    }

    return { call, start };
  };
})();
