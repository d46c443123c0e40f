// Debian's chromium, headless, with a profile of its own that is thrown away
// afterwards, so that no service worker or cache carries over between tests.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

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
