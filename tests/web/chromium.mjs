// Headless Chromium and a one-page HTTP server, shared by the browser tests,
// the browser benchmark and the screenshot script.
import fs from "node:fs";
import http from "node:http";
import { chromium } from "playwright-core";

// Debian's chromium, with WebGL through SwiftShader and no background
// traffic (the machine has no network; nothing may try to reach it).
export function launchChromium(extraArgs = []) {
  return chromium.launch({
    executablePath: ["/usr/lib/chromium/chromium", "/usr/bin/chromium"].find((p) => fs.existsSync(p)),
    args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--disable-quic", "--no-first-run", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
           ...extraArgs],
  });
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
  return { origin: `http://127.0.0.1:${server.address().port}`, close: () => server.close() };
}
