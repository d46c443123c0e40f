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

async function pressWorks(page, native) {
  await typeEntries(page, press.presses[0]);
  assert.deepEqual(await clickAndAnswer(page, 'Form1', 'Command2'), []);
  assert.ok(await isShown(page, 'Form2'));
  assertImage(await canvasImage(page, 'Form2'), native.images.Form2, 'Form2');
  assert.deepEqual(page.errors, []);
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
    await server.close();
    await page.setOfflineMode(true);
    await page.reload({ waitUntil: 'load' });
    await waitReady(page);
    await pressWorks(page, native);
    await page.close();
  });

  it('opens trelvano.html from file:// and a press works', async () => {
    const page = await openPage(browser, pathToFileURL(singleFile).href);
    await pressWorks(page, native);
    await page.close();
  });
});
