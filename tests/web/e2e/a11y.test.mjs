// The page at WCAG 2.2 AA by axe-core on four screens, with the three windows
// shown and with a message open; and a picture of each for a person to look
// at, in build-web/shots/ (build-web/shots/ENGINE/ for the other engines).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { describe, it } from 'node:test';
import { browserSession, engine, lacks } from './support/browser.mjs';
import { axeSource, control, isShown, openPage, pressAndShowSpectrum } from './support/panel.mjs';
import { shots } from './support/paths.mjs';

const phone = { isMobile: true, hasTouch: true };
const screens = [
  { name: 'desktop', viewport: { width: 1366, height: 900 } },
  { name: 'tablet-ratio2', viewport: { width: 768, height: 1024, deviceScaleFactor: 2 } },
  { name: 'phone-ratio3', viewport: { width: 390, height: 844, deviceScaleFactor: 3, ...phone } },
  { name: 'small-phone-ratio2', viewport: { width: 320, height: 640, deviceScaleFactor: 2, ...phone } },
];
async function violations(page) {
  await page.evaluate(axeSource);
  const found = await page.evaluate(() =>
    window.axe
      .run(document, { runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] } })
      .then((r) => r.violations.map((v) => `${v.id} (${v.impact}): ${v.help}\n    ${v.nodes.map((n) => n.target.join(' ')).join('\n    ')}`)),
  );
  return found.join('\n');
}

async function picture(page, name) {
  const dir = engine === 'chromium' ? shots : path.join(shots, engine);
  fs.mkdirSync(dir, { recursive: true });
  await page.screenshot({ path: path.join(dir, `${name}.png`), fullPage: true });
}

describe('accessibility at WCAG 2.2 AA', () => {
  const session = browserSession({ lang: 'it-IT' });

  for (const { name, viewport } of screens) {
    const skip = viewport.width < 447 && lacks('narrow');
    it(`${name}: the three windows, then a message over them`, { skip }, async () => {
      const page = await openPage(session.browser, session.url, { viewport });
      await pressAndShowSpectrum(page, { Combo1: 'FM' });
      for (const form of ['Form1', 'Form2', 'Form3']) assert.ok(await isShown(page, form), form);
      await picture(page, name);
      assert.equal(await violations(page), '');
      // A refused N: its message opens over the three windows.
      await page.evaluate((selector) => {
        const box = document.querySelector(selector);
        box.value = '10';
        box.dispatchEvent(new Event('input', { bubbles: true }));
      }, control('Form1', 'Text13'));
      await page.click(control('Form1', 'Command2'));
      await page.waitForFunction(() => document.querySelector('dialog[open]')?.checkVisibility(), { polling: 20 });
      await picture(page, `${name}-message`);
      assert.equal(await violations(page), '');
      await page.close();
    });
  }
});
