// WebKitGTK's MiniBrowser under WebKitWebDriver (selenium-webdriver), behind
// the part of puppeteer's Page the tests use, so that each test is written
// once. MiniBrowser takes its device pixel ratio (GDK_SCALE) and language (the
// C library's locale) from its environment, which the driver passes on: each
// page is a driver and a browser of its own, started in about a second. Needs
// an X display: tools/web/test-page.sh runs this engine under Xvfb.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Builder, Key } from 'selenium-webdriver';
import { DriverService } from 'selenium-webdriver/remote/index.js';

const miniBrowser = process.env.TRELVANO_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
// Puppeteer's names of keys as WebDriver's: ArrowLeft is ARROW_LEFT, KeyA is a.
const keyOf = (name) => (name.startsWith('Key') ? name.slice(3).toLowerCase() : Key[name.replace(/\B(?=[A-Z])/g, '_').toUpperCase().replace('BACKSPACE', 'BACK_SPACE')]);

// WebKit reads the locale "C" as en-US and "C.UTF-8" as the tag "C"; any other
// is compiled from glibc's sources, once for all runs, since a machine may
// hold no locale but C.
const locales = path.join(os.tmpdir(), 'trelvano-locales');
function localeOf(tag) {
  if (tag === 'en-US') return { LANG: 'C' };
  if (tag === 'C') return { LANG: 'C.UTF-8' };
  const name = `${tag.replace('-', '_')}.UTF-8`;
  if (!fs.existsSync(path.join(locales, name))) {
    fs.mkdirSync(locales, { recursive: true });
    execFileSync('localedef', ['-i', tag.replace('-', '_'), '-f', 'UTF-8', path.join(locales, name)]);
  }
  return { LANG: name, LC_ALL: name, LOCPATH: locales };
}

export async function openWebKitPage({ viewport, language }) {
  const env = { ...process.env, GDK_SCALE: String(viewport.deviceScaleFactor ?? 1), ...localeOf(language) };
  const service = new DriverService.Builder('WebKitWebDriver').setLoopback(true).setEnvironment(env).build();
  const driver = await new Builder()
    .usingServer(await service.start())
    .withCapabilities({ browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: miniBrowser, args: ['--automation'] } })
    .build();
  const page = new WebKitPage(driver, service);
  await page.setViewport(viewport).catch(async (error) => {
    await page.close();
    throw error;
  });
  return page;
}

class WebKitPage {
  constructor(driver, service) {
    this.driver = driver;
    this.service = service;
    const act = (build) => build(driver.actions()).perform();
    this.keyboard = {
      down: (name) => act((a) => a.keyDown(keyOf(name))),
      up: (name) => act((a) => a.keyUp(keyOf(name))),
      press: (name) => act((a) => a.keyDown(keyOf(name)).keyUp(keyOf(name))),
      type: (text) => act((a) => a.sendKeys(text)),
    };
    this.mouse = { move: (x, y) => act((a) => a.move({ x: Math.round(x), y: Math.round(y) })) };
  }

  // A function runs with its arguments, a string as a script; a promise is awaited.
  evaluate(fn, ...args) {
    return this.driver.executeScript(typeof fn === 'function' ? `return (${fn}).apply(null, arguments)` : fn, ...args);
  }

  waitForFunction(fn, { timeout = 30000, polling = 20 } = {}, ...args) {
    // A page that loads itself again (to be isolated) drops the listeners.
    const check = async () => (await this.#listen(), this.evaluate(fn, ...args));
    return this.driver.wait(check, timeout, `waiting for ${fn} failed: ${timeout} ms exceeded`, polling);
  }

  // Classic WebDriver hears no script error: only those after the load are kept.
  #listen() {
    return this.evaluate(() => {
      if (window.trelvanoErrors) return;
      window.trelvanoErrors = [];
      addEventListener('error', (e) => window.trelvanoErrors.push(String(e.error ?? e.message)));
      addEventListener('unhandledrejection', (e) => window.trelvanoErrors.push(String(e.reason)));
    });
  }

  // The listeners are set by the wait for the page to be ready that follows.
  goto(url) {
    return this.driver.get(url);
  }

  reload() {
    return this.driver.navigate().refresh();
  }

  scriptErrors() {
    return this.evaluate(() => window.trelvanoErrors);
  }

  // As puppeteer clicks: at the middle of the element, scrolled into view.
  async click(selector) {
    const { x, y } = await this.evaluate((s) => {
      const element = document.querySelector(s);
      element.scrollIntoView({ block: 'nearest', inline: 'nearest' });
      const r = element.getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 };
    }, selector);
    await this.driver.actions().move({ x: Math.round(x), y: Math.round(y) }).press().release().perform();
  }

  // The window holds MiniBrowser's own bar as well as the page; a window
  // just opened may not take its first size.
  setViewport({ width, height }) {
    const sized = async () => {
      const [w, h, frameW, frameH] = await this.evaluate(() => [innerWidth, innerHeight, outerWidth - innerWidth, outerHeight - innerHeight]);
      if (w !== width || h !== height) await this.driver.manage().window().setRect({ width: width + frameW, height: height + frameH });
      return w === width && h === height;
    };
    return this.driver.wait(sized, 20000, `MiniBrowser shows no ${width}x${height} page`, 200);
  }

  async screenshot() {
    return Buffer.from(await this.driver.takeScreenshot(), 'base64');
  }

  async close() {
    // WebKitWebDriver has now and then left a session's end unanswered, which
    // held a test file until its time ran out; the driver is killed after a
    // while either way.
    const late = new Promise((resolve) => setTimeout(resolve, 10000).unref());
    await Promise.race([this.driver.quit().catch(() => {}), late]);
    await this.service.kill();
  }
}
