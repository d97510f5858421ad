// Screenshots of the whole browser page for the README: at a desktop
// browser's width and at a phone's, showing scene 5 after a few steps.
// node scripts/render-web-docs.mjs <page.html> <out-dir>
import fs from "node:fs";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath, pathToFileURL } from "node:url";

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const { chromium } = createRequire(path.join(root, "tests/web/package.json"))("playwright-core");
const [pagePath, outDir] = process.argv.slice(2);

const browser = await chromium.launch({
  executablePath: ["/usr/lib/chromium/chromium", "/usr/bin/chromium"].find((p) => fs.existsSync(p)),
  args: ["--no-sandbox", "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-quic", "--no-first-run", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--font-render-hinting=none"],
});
const shots = [
  { file: "web-page.png", viewport: { width: 1280, height: 860 }, options: {} },
  { file: "web-phone.png", viewport: { width: 390, height: 844 }, options: { isMobile: true, hasTouch: true } },
];
for (const { file, viewport, options } of shots) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1, ...options });
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.resolve(pagePath)).href);
  await page.waitForFunction(() => document.body.dataset.state === "running");
  await page.keyboard.press("5");
  for (let i = 0; i < 29; ++i) await page.keyboard.press("s");
  await page.evaluate(() => document.activeElement?.blur());
  await page.screenshot({ path: path.join(outDir, file), fullPage: true });
  console.log(path.join(outDir, file));
  await context.close();
}
await browser.close();
