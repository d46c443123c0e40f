// The page where no server answers: reloaded from its service worker, and the
// single file opened from a disk.
import assert from 'node:assert/strict';
import { pathToFileURL } from 'node:url';
import { after, before, describe, it } from 'node:test';
import { launch } from './support/browser.mjs';
import { assertImage } from './support/compare.mjs';
import { canvasImage, clickAndAnswer, isShown, openPage, typeEntries, waitReady } from './support/panel.mjs';
import { singleFile, site } from './support/paths.mjs';
import { reference } from './support/reference.mjs';
import { serve } from './support/server.mjs';

const press = { name: 'FM, N = 4000', presses: [{ Combo1: 'FM', Text13: '4000' }] };

async function pressWorks(page, native, what) {
  await typeEntries(page, press.presses[0]);
  assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), [], what);
  assert.ok(await isShown(page, 'Form2'), what);
  assertImage(await canvasImage(page, 'Form2'), native.images.Form2, `${what}: Form2`);
  assert.deepEqual(await page.scriptErrors(), [], what);
}

describe('without a server', () => {
  let browser;
  let native;
  before(async () => {
    native = await reference(press);
    browser = await launch();
  });
  after(async () => browser?.close());

  it('reloads offline from the service worker after one visit, and a press works', async () => {
    const server = await serve(site);
    const page = await openPage(browser, server.url);
    // Active means installed, and installing is caching the site.
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    // Its connections dropped too: nothing answers, as on a machine gone offline.
    await server.close();
    await page.reload({ waitUntil: 'load' });
    await waitReady(page);
    await pressWorks(page, native, 'offline');
    await page.close();
  });

  // Firefox once froze on the single file from file:// in some runs.
  it('opens trelvano.html from file:// twenty times in a row, and a press works each time', async () => {
    for (let i = 1; i <= 20; i++) {
      const page = await openPage(browser, pathToFileURL(singleFile).href);
      await pressWorks(page, native, `opening ${i}`);
      await page.close();
    }
  });
});
