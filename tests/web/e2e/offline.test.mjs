// The page where no server answers: reloaded from its service worker, and the
// single file opened from a disk.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { before, describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { canvasImage, clickAndAnswer, isShown, typeEntries, usePage, waitReady } from './support/panel.mjs';
import { singleFile } from './support/paths.mjs';
import { assertImage, reference } from './support/reference.mjs';

const press = { presses: [{ Combo1: 'FM', Text13: '4000' }] };

describe('without a server', () => {
  const session = browserSession();
  let native;
  before(async () => (native = await reference(press)));

  async function pressWorks(page, what) {
    await typeEntries(page, press.presses[0]);
    assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), [], what);
    assert.ok(await isShown(page, 'Form2'), what);
    assertImage(await canvasImage(page, 'Form2'), native.images.Form2, `${what}: Form2`);
    assert.deepEqual(await page.scriptErrors(), [], what);
  }

  it('reloads offline from the service worker after one visit, and a press works', async () => {
    await usePage(session, {}, async (page) => {
      // Active means installed, and installing is caching the site.
      await page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
      // Its connections dropped too: nothing answers, as on a machine gone offline.
      await session.server.close();
      await page.reload({ waitUntil: 'load' });
      await waitReady(page);
      await pressWorks(page, 'offline');
    });
  });

  // Firefox once froze on the single file from file:// in some runs.
  it('opens trelvano.html from file:// twenty times in a row, and a press works each time', async () => {
    for (let i = 1; i <= 20; i++) await usePage(session, { url: pathToFileURL(singleFile).href }, (page) => pressWorks(page, `opening ${i}`));
  });
});
