import { launch } from './support/browser.mjs';
import { serve } from './support/server.mjs';
const server = await serve(process.argv[2]);
const b = await launch();
const page = await b.open();
page.on('console', (m) => console.log('console', m.text()));
await page.goto(server.url + '?Text13=1000000');
const t0 = Date.now();
for (let i = 0; i < 100; i++) {
  try {
    const s = await page.evaluate(() => ({ iso: self.crossOriginIsolated, ready: document.body.dataset.ready, threaded: window.trelvano?.threaded, href: location.href }));
    if (s.iso && s.ready) { console.log(i, s); break; }
    if (i % 10 == 0) console.log(i, s);
  } catch (e) { console.log('err', String(e).slice(0, 80)); }
  await new Promise((r) => setTimeout(r, 200));
}
console.log('waited', Date.now() - t0);
await b.close(); await server.close();
