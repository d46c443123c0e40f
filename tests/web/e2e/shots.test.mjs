// Pictures of the page for a person to look at, in build-web/shots/: the
// desktop at ratio 1 and 2, and a message over the panel (phone.test.mjs
// takes the phones'). Each also
// checks that the three windows are on the page.
import assert from 'node:assert/strict';
import path from 'node:path';
import { describe, it } from 'node:test';
import { browserSession } from './support/browser.mjs';
import { control, isShown, openPage, pressAndShowSpectrum } from './support/panel.mjs';
import { shots } from './support/paths.mjs';

const screens = [
  { file: 'desktop.png', viewport: { width: 1366, height: 900 } },
  { file: 'desktop-ratio2.png', viewport: { width: 1366, height: 900, deviceScaleFactor: 2 } },
];

describe('screenshots', () => {
  const session = browserSession({ lang: 'it-IT' });

  for (const { file, viewport } of screens) {
    it(file, async () => {
      const page = await openPage(session.browser, session.url, { viewport });
      await pressAndShowSpectrum(page, { Combo1: 'FM' });
      for (const form of ['Form1', 'Form2', 'Form3']) assert.ok(await isShown(page, form), form);
      await page.screenshot({ path: path.join(shots, file), fullPage: true });
      await page.close();
    });
  }

  it('message.png', async () => {
    const page = await openPage(session.browser, session.url);
    await page.click(control('Form1', 'Command2'));
    await page.waitForSelector('dialog[open]', { visible: true });
    await page.screenshot({ path: path.join(shots, 'message.png') });
    await page.close();
  });
});
