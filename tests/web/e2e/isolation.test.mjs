// The module the page runs on: every core where its own service worker makes
// the site isolated (the test server sets no header), also once nothing
// answers but that worker; the same answers as the native build. Where the
// worker is lost it is one thread (resilience.test.mjs), from a disk always
// the single module (link.test.mjs).
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserSession, engine } from './support/browser.mjs';
import { openPage, pageState, pressAndShowSpectrum, waitReady } from './support/panel.mjs';
import { assertPlots, reference } from './support/reference.mjs';

// Long enough that its loops are shared out between threads, with a large
// prime factor for FFTW's threaded transform.
const press = { presses: [{ Combo1: 'FM', Text13: '300003', Text1: '20' }], spectrum: true };
const native = await reference(press);

// WebKitGTK isolates the page but gives its workers no SharedArrayBuffer:
// the threaded module does not start there, and the single one takes over.
// It also counts the page's own reload as a navigation.
const threads = engine !== 'webkit';
const reload = engine === 'webkit' ? 'navigate' : 'reload';

describe('a site served with no headers', () => {
  const session = browserSession();

  it('isolates itself with one reload on a first visit and runs threaded; the next visit needs none, nor a server', async (t) => {
    const page = await openPage(session, t);
    assert.deepEqual(await pageState(page), { isolated: true, threaded: threads, loads: reload });
    await pressAndShowSpectrum(page, press.presses[0]);
    await assertPlots(page, native, 'the first visit');
    const next = await openPage(session, t);
    assert.deepEqual(await pageState(next), { isolated: true, threaded: threads, loads: 'navigate' });
    // Active means installed, and installing is caching the site.
    await next.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    // Its connections dropped too: nothing answers, as on a machine gone offline.
    await session.server.close();
    await next.reload({ waitUntil: 'load' });
    await waitReady(next);
    assert.deepEqual(await pageState(next), { isolated: true, threaded: threads, loads: reload });
    await pressAndShowSpectrum(next, press.presses[0]);
    await assertPlots(next, native, 'offline');
  });
});
