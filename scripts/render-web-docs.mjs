// Screenshots of the whole browser page for the README: at a desktop
// browser's width and at a phone's, showing scene 5 after a few steps.
// node scripts/render-web-docs.mjs <page.html> <out-dir>
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launchChromium } from "../tests/web/chromium.mjs";

const [pagePath, outDir] = process.argv.slice(2);

const browser = await launchChromium(["--font-render-hinting=none"]);
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
