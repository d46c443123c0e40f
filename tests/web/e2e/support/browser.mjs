// The browser the tests drive, chosen by TRELVANO_BROWSER: Debian's chromium
// (puppeteer over CDP, the default), firefox-esr (puppeteer over WebDriver
// BiDi) or WebKitGTK (support/webkit.mjs). Puppeteer gives each browser a
// profile of its own and throws it away on close, so that no service worker
// or cache carries over between tests.
import { after, before } from 'node:test';
import puppeteer from 'puppeteer-core';
import { openPage } from './panel.mjs';
import { site } from './paths.mjs';
import { serve } from './server.mjs';
import { openWebKitPage } from './webkit.mjs';

export const engine = process.env.TRELVANO_BROWSER ?? 'chromium';

// What an engine's driver cannot do: the tests that need it are skipped there, with why.
const subpixelPointer = "WebDriver's pointer moves to whole CSS pixels";
const lacking = {
  firefox: { touch: 'puppeteer emulates no touch screen over WebDriver BiDi', subpixelPointer },
  webkit: {
    touch: 'WebKitWebDriver has no touch input',
    keyboardFocusVisible: 'keys sent through WebKitWebDriver do not make :focus-visible match',
    subpixelPointer,
    narrow: "MiniBrowser's window is never narrower than 447 px",
  },
};
export const lacks = (feature) => lacking[engine]?.[feature] ?? false;

// The language decides the readouts' decimal separator. Root in CI cannot
// use chromium's sandbox; --lang alone leaves navigator.language alone in
// headless mode.
const launchers = {
  chromium: (lang) =>
    puppeteer.launch({
      executablePath: process.env.TRELVANO_CHROMIUM ?? '/usr/bin/chromium',
      args: ['--no-sandbox', '--disable-gpu', `--lang=${lang}`, `--accept-lang=${lang}`],
    }),
  firefox: (lang) =>
    puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.TRELVANO_FIREFOX ?? '/usr/bin/firefox-esr',
      extraPrefsFirefox: { 'intl.accept_languages': lang },
    }),
};

// lang: the browser's language. open({viewport, language}) gives a blank
// page of that size and device pixel ratio, whose navigator.language reports
// language when given; its scriptErrors() are the script errors it met.
export async function launch({ lang = 'en-US' } = {}) {
  const browser = engine === 'webkit' ? null : await launchers[engine](lang);
  return {
    async open({ viewport = { width: 1366, height: 900 }, language } = {}) {
      if (!browser) return openWebKitPage({ viewport, language: language ?? lang });
      const page = await browser.newPage();
      const errors = [];
      page.on('pageerror', (error) => errors.push(String(error)));
      // What the document now shown met: a page that loads itself again (to
      // be isolated) cuts the last one's downloads short.
      page.on('framenavigated', (frame) => frame === page.mainFrame() && errors.splice(0));
      page.scriptErrors = async () => errors;
      await page.setViewport(viewport);
      if (language) await page.evaluateOnNewDocument((tag) => Object.defineProperty(navigator, 'language', { get: () => tag }), language);
      await page.bringToFront();
      return page;
    },
    close: () => browser?.close(),
  };
}

// A served site and a browser for one describe block, closed after it:
// session.browser and session.url inside its tests. page: the options of
// openPage for one page the block's tests share, session.page.
export function browserSession({ page, ...options } = {}) {
  const session = {};
  before(async () => {
    session.server = await serve(site);
    session.url = session.server.url;
    session.browser = await launch(options);
    if (page) session.page = await openPage(session, null, page);
  });
  after(async () => {
    // A WebKit page is a browser of its own, which the browser's close leaves open.
    await session.page?.close();
    await session.browser?.close();
    await session.server?.close();
  });
  return session;
}
