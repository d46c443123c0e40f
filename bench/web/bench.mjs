// The page's speed in one browser (TRELVANO_BROWSER, as the tests choose it)
// beside the desktop's on this machine, measured in the same run: a first
// press in a fresh page against a first press of build/ in a fresh process
// (bench/PressTable.cpp), and a second press beside the desktop's second, on
// one thread each (the page not isolated: its service worker refused) and on
// every core each (the page isolated by its service worker). Also, on one
// thread, against the three-cosine loop over as many samples in the same
// page (cosine_loop_seconds, the benchmark's own module in a worker of its
// own), the time until the page is ready to press, and on both the largest
// N a press completes. A benchmark, not a test: it prints figures and the
// targets beside them, and fails only when the page does not work at all.
//   node bench/web/bench.mjs          (tools/web/bench.sh builds first)
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const e2e = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../tests/web/e2e/support');
const { engine, launch } = await import(`${e2e}/browser.mjs`);
const { serve } = await import(`${e2e}/server.mjs`);
const { buildWeb, repo, site } = await import(`${e2e}/paths.mjs`);
const { control, openMessage, setText } = await import(`${e2e}/panel.mjs`);

// The loader with the wasm inside (bench/CMakeLists.txt), for a worker the
// page starts from a Blob URL; nothing of the product's is shared with it.
const loopSource = fs.readFileSync(path.join(buildWeb, 'bench', 'cosine-loop.js'), 'utf8');

// When the page said it was ready, on its own clock from the navigation's start.
const markReady = () => {
  new MutationObserver((_, observer) => {
    if (document.body?.dataset.ready === 'true') {
      window.readyAt = performance.now();
      observer.disconnect();
    }
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['data-ready'] });
};

// From the click to the last event played, timed inside the page, which is
// polled every few milliseconds: polled between every two tasks, the page's
// own thread kept a core busy that the threaded module's workers need.
const timePress = () =>
  new Promise((resolve) => {
    const start = performance.now();
    document.querySelector('#Form1 [data-control="Command2"]').click();
    const poll = () => {
      if (window.trelvano.busy && !document.querySelector('dialog[open]')) setTimeout(poll, 2);
      else {
        const ms = performance.now() - start;
        resolve({ ms, workerMs: 1000 * window.trelvano.lastPressSeconds, message: Boolean(document.querySelector('dialog[open]')) });
      }
    };
    poll();
  });

// The loop over n samples timed inside its module, in a fresh worker.
const timeLoop = ({ source, n }) =>
  new Promise((resolve, reject) => {
    const script = `${source}\nonmessage = (e) => createCosineLoop().then((m) => postMessage(m._cosine_loop_seconds(e.data)));`;
    const url = URL.createObjectURL(new Blob([script], { type: 'text/javascript' }));
    const worker = new Worker(url);
    const done = () => {
      worker.terminate();
      URL.revokeObjectURL(url);
    };
    worker.onmessage = (e) => {
      done();
      if (e.data < 0) reject(new Error(`the loop over ${n} samples found no memory`));
      else resolve(e.data);
    };
    worker.onerror = (e) => {
      done();
      reject(new Error(`the loop's worker: ${e.message}`));
    };
    worker.postMessage(n);
  });

// The desktop's cold and warm press at each N, medians of three processes,
// on one thread or on every core.
function desktopPresses(sizes, threads) {
  const table = path.join(repo, 'build', 'bench', 'trelvano_press_table');
  const env = { ...process.env, QT_QPA_PLATFORM: 'offscreen' };
  if (threads === 1) env.TRELVANO_THREADS = '1';
  else delete env.TRELVANO_THREADS;
  const out = execFileSync(table, ['--repeat', '3', '--type', 'FM', ...sizes.map(String)], { env, encoding: 'utf8' });
  const rows = {};
  for (const line of out.trim().split('\n').slice(1)) {
    const [n, cold, warm, , , , , , , , used] = line.trim().split(/\s+/).map(Number);
    rows[n] = { cold, warm, threads: used };
  }
  return rows;
}

async function freshPress(browser, url, n) {
  const page = await browser.open();
  await page.evaluateOnNewDocument(markReady);
  await page.goto(url);
  // A first visit loads itself once more to be isolated; it is ready after that.
  await page.waitForFunction(() => window.readyAt !== undefined && !window.trelvano.isolating, { timeout: 60000, polling: 20 });
  const { readyMs, threaded } = await page.evaluate(() => ({ readyMs: window.readyAt, threaded: window.trelvano.threaded }));
  await setText(page, 'Combo1', 'FM');
  await setText(page, 'Text13', String(n));
  const press = await page.evaluate(timePress);
  const message = press.message ? (await openMessage(page)).text : null;
  let loopMs = null;
  let againMs = null;
  if (!message) {
    if (!threaded) loopMs = 1000 * (await page.evaluate(timeLoop, { source: loopSource, n }));
    // A second press in the same page, for what the first one's share of
    // one-time costs (the heap's growth above all) was.
    againMs = (await page.evaluate(timePress)).ms;
  }
  await page.close();
  return { readyMs, threaded, pressMs: press.ms, workerMs: press.workerMs, loopMs, againMs, message };
}

const sizes = [1e6, 1e7];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const cores = os.availableParallelism();
const desktop = { single: desktopPresses(sizes, 1), threads: desktopPresses(sizes, cores) };
console.log(`${engine}, ${cores} cores; FM, the other entries as the panel starts; page/desktop at most 2 is the target`);

// Up by steps until a press is refused or fails, then halve the gap a few times.
async function largestN(browser, url) {
  let good = 1e7;
  let bad = null;
  let lastRefusal = '';
  const attempt = async (n) => {
    const r = await freshPress(browser, url, n).catch((error) => ({ message: String(error) }));
    console.log(`  N = ${n}: ${r.message ? `refused or failed: ${r.message.split('\n')[0]}` : `${(r.pressMs / 1000).toFixed(2)} s`}`);
    if (r.message) lastRefusal = r.message;
    return !r.message;
  };
  for (const n of [2e7, 4e7, 6e7, 8e7, 1e8, 1.5e8, 2e8, 3e8, 5e8]) {
    if (await attempt(n)) good = n;
    else {
      bad = n;
      break;
    }
  }
  for (let i = 0; bad !== null && i < 4 && bad - good > 1e6; i++) {
    const mid = Math.round((good + bad) / 2e6) * 1e6;
    if (await attempt(mid)) good = mid;
    else bad = mid;
  }
  console.log(`largest N whose press completed: ${good}${bad === null ? ' (no refusal met)' : `; ${bad} was refused:`}`);
  if (bad !== null) console.log(lastRefusal.replace(/^/gm, '  '));
}

// mode single: the service worker refused, so the page is never isolated;
// threads: the site as served, isolated by its service worker.
for (const mode of engine === 'webkit' ? ['single'] : ['single', 'threads']) {
  const server = await serve(site);
  if (mode === 'single') server.refused.add('/sw.js');
  // A profile of its own, in which no service worker was installed before.
  const browser = await launch();
  try {
    console.log(`\n${mode === 'single' ? 'one thread: the page not isolated' : 'every core: the page isolated'}`);
    // Three fresh pages for each N, since two cores shared with whatever else
    // runs make single figures noisy; the medians are the ones judged.
    const loopTargets = { 1e6: 1.5, 1e7: 1.2 };
    const ready = [];
    for (const n of sizes) {
      const runs = [];
      for (let run = 0; run < 3; run++) {
        const r = await freshPress(browser, server.url, n);
        if (r.message) throw new Error(`N = ${n}: ${r.message}`);
        if (r.threaded !== (mode === 'threads')) throw new Error(`N = ${n}: the page ran the ${r.threaded ? 'threaded' : 'single'} module`);
        ready.push(r.readyMs);
        runs.push(r);
        console.log(
          `N = ${n.toExponential(0)}: first press ${r.pressMs.toFixed(1)} ms (${r.workerMs.toFixed(1)} ms of it in the worker), ` +
            `a second press ${r.againMs.toFixed(1)} ms` +
            (r.loopMs === null ? '' : `; three-cosine loop ${r.loopMs.toFixed(1)} ms, ratio ${(r.pressMs / r.loopMs).toFixed(2)}`),
        );
      }
      const d = desktop[mode][n];
      const first = median(runs.map((r) => r.pressMs));
      const second = median(runs.map((r) => r.againMs));
      const judged = (ratio, target) => `${ratio.toFixed(2)} (target <= ${target}) ${ratio <= target ? 'met' : 'MISSED'}`;
      console.log(
        `N = ${n.toExponential(0)}: desktop on ${d.threads} thread(s) ${d.cold.toFixed(1)} ms first, ${d.warm.toFixed(1)} ms second; ` +
          `page/desktop first ${judged(first / d.cold, 2)}, second ${judged(second / d.warm, 2)}`,
      );
      if (mode === 'single') console.log(`N = ${n.toExponential(0)}: median ratio to the loop ${judged(median(runs.map((r) => r.pressMs / r.loopMs)), loopTargets[n])}`);
    }
    const readyMedian = median(ready);
    console.log(
      `page ready to press: median ${readyMedian.toFixed(0)} ms of ${ready.map((ms) => ms.toFixed(0)).join(', ')} ` +
        `(target <= 1000) ${readyMedian <= 1000 ? 'met' : 'MISSED'}`,
    );
    await largestN(browser, server.url);
  } finally {
    await browser.close();
    await server.close();
  }
}
