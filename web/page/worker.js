'use strict';
// Runs the WebAssembly module off the page's thread, so that a long press
// leaves the page responsive. Answers each message from the page in the order
// it came: the events an action caused, and the plots' images that changed.

// The single-file build puts the module's loader in front of this script.
// A site the browser isolates from other origins may share memory between
// threads, and gets the module that runs on every core unless the page says
// otherwise; any other page, the one that runs on one.
const THREADED = 'trelvano-threads.js';
let threaded = false;

// The threads' workers load the module by its address, which a module loaded
// inside a worker cannot tell them. A threaded module the browser will not
// start (no SharedArrayBuffer in workers, as in WebKitGTK; too little memory
// to share, as on some phones) gives way to the single one. It is built with
// WebAssembly's vectors, so a browser without them (Safari before 16.4) is
// not made to fetch it.
async function startModule(options, threads, vectors) {
  if (typeof createTrelvano !== 'undefined') return createTrelvano(options);
  threaded = threads && vectors && self.crossOriginIsolated === true;
  if (threaded) {
    try {
      importScripts(THREADED);
      return await createTrelvano({ ...options, mainScriptUrlOrBlob: new URL(THREADED, self.location.href).href });
    } catch (error) {
      threaded = false;
    }
  }
  // On one thread, the build with WebAssembly's vectors where the page found them.
  importScripts(vectors ? 'trelvano-simd.js' : 'trelvano.js');
  return createTrelvano(options);
}

let api = null;
let heap = null;

function bind(module) {
  const fn = (name, result, args) => module.cwrap(`trelvano_${name}`, result, args);
  heap = () => module.HEAPU8;
  return {
    forms: fn('forms', 'string', []),
    setPixelRatio: fn('set_pixel_ratio', null, ['number']),
    setDecimalSeparator: fn('set_decimal_separator', null, ['string']),
    setText: fn('set_text', null, ['string', 'string']),
    press: fn('press', 'string', []),
    showSpectrum: fn('show_spectrum', 'string', []),
    close: fn('close', 'string', ['string']),
    readout: fn('readout', 'string', ['string', 'number', 'number']),
    plotSize: fn('plot_size', 'string', ['string', 'number', 'number', 'number']),
    key: fn('key', 'string', ['string', 'string']),
    imageWidth: fn('image_width', 'number', ['string']),
    imageHeight: fn('image_height', 'number', ['string']),
    image: fn('image', 'number', ['string']),
    outOfMemory: fn('out_of_memory_message', 'string', []),
    warmUp: fn('warm_up', null, []),
  };
}

// A copy of a window's plot, in a buffer of its own that moves to the page.
function imageOf(form) {
  const width = api.imageWidth(form);
  const height = api.imageHeight(form);
  const bytes = width * height * 4;
  const at = bytes > 0 ? api.image(form) : 0;
  const buffer = bytes > 0 ? heap().slice(at, at + bytes).buffer : new ArrayBuffer(0);
  return { width, height, buffer };
}

// The images the page needs to follow the events: a window drawn, shown anew
// or closed.
function answer(eventsJson) {
  const events = JSON.parse(eventsJson);
  const images = {};
  for (const event of events) {
    if (event.event === 'image' || event.event === 'show' || event.event === 'closed') {
      images[event.form] = null;
    }
  }
  const transfer = [];
  for (const form of Object.keys(images)) {
    images[form] = imageOf(form);
    transfer.push(images[form].buffer);
  }
  return [{ events, images }, transfer];
}

const actions = {
  async init({ ratio, separator, sizes, wasmBinary, warmUp, threads, vectors }) {
    const options = {};
    if (wasmBinary) options.wasmBinary = wasmBinary;
    api = bind(await startModule(options, threads, vectors));
    api.setPixelRatio(ratio);
    api.setDecimalSeparator(separator);
    // No window exists yet: the session keeps each size for the window it makes.
    for (const [form, size] of Object.entries(sizes || {})) api.plotSize(form, size.width, size.height, size.ratio);
    // Queued behind the answer, so the page is ready first; a press made at
    // once waits for it, a fraction of a second.
    if (warmUp) queue = queue.then(() => {
      try {
        api.warmUp();
      } catch (error) {
        // Only the user's first press is slower without it.
      }
    });
    return [{ forms: JSON.parse(api.forms()), outOfMemory: api.outOfMemory(), threaded, vectors }, []];
  },
  press({ texts }) {
    for (const [control, text] of Object.entries(texts)) api.setText(control, text);
    const start = performance.now();
    const events = api.press();
    const seconds = (performance.now() - start) / 1000;
    const [result, transfer] = answer(events);
    result.seconds = seconds;
    return [result, transfer];
  },
  spectrum() {
    return answer(api.showSpectrum());
  },
  close({ form }) {
    return answer(api.close(form));
  },
  readout({ form, x, y }) {
    return answer(api.readout(form, x, y));
  },
  plotSize({ form, width, height, ratio }) {
    return answer(api.plotSize(form, width, height, ratio));
  },
  key({ form, key }) {
    return answer(api.key(form, key));
  },
};

// Every message waits for the ones before it, the module's start above all.
let queue = Promise.resolve();
self.onmessage = (e) => {
  const { id, op, args } = e.data;
  queue = queue.then(async () => {
    try {
      const [result, transfer] = await actions[op](args);
      self.postMessage({ id, result }, transfer);
    } catch (error) {
      // The module aborted (out of memory, as a rule): it can run nothing more.
      self.postMessage({ id, fatal: true, error: String(error) });
    }
  });
};
