// Screenshots of the browser page for the README, each of the screen as it
// opens with nothing scrolled, in scene 5 after a few steps: a phone held
// upright (docs/web-phone.png), a 1366 x 650 laptop (docs/web-laptop.png)
// and full screen on a 1280 x 720 projector (docs/web-fullscreen.png).
// node scripts/render-web-docs.mjs <page.html> <out-dir>
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launchChromium } from "../tests/web/chromium.mjs";

const [pagePath, outDir] = process.argv.slice(2);

const browser = await launchChromium(["--font-render-hinting=none"]);
const shots = [
  { file: "web-phone.png", viewport: { width: 360, height: 740 }, options: { isMobile: true, hasTouch: true, deviceScaleFactor: 2 } },
  { file: "web-laptop.png", viewport: { width: 1366, height: 650 }, options: {} },
  { file: "web-fullscreen.png", viewport: { width: 1280, height: 720 }, options: {}, fullscreen: true },
];
for (const { file, viewport, options, fullscreen } of shots) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1, ...options });
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.resolve(pagePath)).href);
  await page.waitForFunction(() => document.body.dataset.state === "running");
  if (fullscreen) {
    await page.click('[data-action="fullscreen"]');
    await page.waitForFunction(() => document.body.classList.contains("fullscreen"));
  }
  await page.keyboard.press("5");
  for (let i = 0; i < 29; ++i) await page.keyboard.press("s");
  await page.evaluate(() => document.activeElement?.blur());
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
  await page.screenshot({ path: path.join(outDir, file) });
  console.log(path.join(outDir, file));
  await context.close();
}
await browser.close();
