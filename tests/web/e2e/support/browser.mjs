// Debian's chromium, headless, with a profile of its own that is thrown away
// afterwards, so that no service worker or cache carries over between tests.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import puppeteer from 'puppeteer-core';
import { site } from './paths.mjs';
import { serve } from './server.mjs';

export const chromiumPath = process.env.TRELVANO_CHROMIUM ?? '/usr/bin/chromium';

// lang: the browser's language, which decides the readouts' decimal separator.
export async function launch({ lang = 'en-US' } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'trelvano-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: chromiumPath,
    headless: true,
    userDataDir: profile,
    defaultViewport: { width: 1366, height: 900 },
    args: [
      // Root in CI cannot use chromium's sandbox.
      '--no-sandbox',
      '--disable-gpu',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
      '--disable-dev-shm-usage',
      // --lang alone leaves navigator.language alone in headless mode.
      `--lang=${lang}`,
      `--accept-lang=${lang}`,
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// A served site and a browser for one describe block, closed after it:
// session.browser and session.url inside its tests.
export function browserSession(options) {
  const session = {};
  before(async () => {
    session.server = await serve(site);
    session.url = session.server.url;
    session.browser = await launch(options);
  });
  after(async () => {
    await session.browser?.close();
    await session.server?.close();
  });
  return session;
}
