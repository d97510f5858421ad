// Headless Chromium and a one-page HTTP server, shared by the browser tests,
// the browser benchmark and the screenshot script.
import fs from "node:fs";
import http from "node:http";
import { chromium } from "playwright-core";

// Every browser and server opened here, for closeAll.
const opened = new Set();

// Closes every browser and server this module opened. The test files run it
// in their `after` hook, so that a test whose assertion fails (and so never
// reaches its own closing lines) still ends at once with its failure,
// instead of leaving a server that keeps node running.
export async function closeAll() {
  const all = [...opened];
  opened.clear();
  await Promise.allSettled(all.map((thing) => thing.close()));
}

// Debian's chromium, with WebGL through SwiftShader and no background
// traffic (the machine has no network; nothing may try to reach it).
export async function launchChromium(extraArgs = []) {
  const browser = await chromium.launch({
    executablePath: ["/usr/lib/chromium/chromium", "/usr/bin/chromium"].find((p) => fs.existsSync(p)),
    args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--disable-quic", "--no-first-run", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           ...extraArgs],
  });
  opened.add(browser);
  const close = browser.close.bind(browser);
  browser.close = () => { opened.delete(browser); return close(); };
  return browser;
}

// Serves the page file at "/" and "/involute-gears.html" on 127.0.0.1 (404
// for anything else), with the extra response headers given. Resolves to
// { origin, close }.
export async function servePage(pagePath, headers = {}) {
  const server = http.createServer((request, response) => {
    if (request.url !== "/" && request.url !== "/involute-gears.html") {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "content-type": "text/html; charset=utf-8", ...headers });
    response.end(fs.readFileSync(pagePath));
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  // Closing drops the browser's kept-alive connections too; an open server
  // never holds node up by itself.
  server.unref();
  const handle = {
    origin: `http://127.0.0.1:${server.address().port}`,
    close: () => {
      opened.delete(handle);
      server.closeAllConnections();
      return new Promise((resolve) => server.close(() => resolve()));
    },
  };
  opened.add(handle);
  return handle;
}

// The page's work for each of `presses` z keys, in ms: the key's handling,
// then, in the next frame, putting the output in (a frame callback asked
// for before the key runs before it, one asked for after the key runs after
// it) and the layout that follows. For the robustness test and the bench.
export function zPressCosts(page, presses) {
  return page.evaluate(async (count) => {
    const z = () => document.dispatchEvent(new KeyboardEvent("keydown", { key: "z", bubbles: true, cancelable: true }));
    const frame = () => new Promise((resolve) => requestAnimationFrame(() => resolve(performance.now())));
    const costs = [];
    for (let i = 0; i < count; i++) {
      await frame();
      let frameStart = 0;
      const before = new Promise((resolve) => requestAnimationFrame(() => { frameStart = performance.now(); resolve(); }));
      const keyStart = performance.now();
      z();
      const keyCost = performance.now() - keyStart;
      const after = new Promise((resolve) => requestAnimationFrame(() => {
        void document.documentElement.scrollHeight;
        resolve(performance.now());
      }));
      await before;
      costs.push(keyCost + (await after) - frameStart);
    }
    return costs;
  }, presses);
}
