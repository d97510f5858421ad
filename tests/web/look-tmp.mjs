import { launchChromium, closeAll } from "./chromium.mjs";
const browser = await launchChromium();
const page = await browser.newPage({ viewport: { width: 1020, height: 900 } });
for (const name of process.argv.slice(2)) {
  await page.goto("file:///tmp/look/" + name + ".svg");
  await page.screenshot({ path: "/tmp/look/" + name + ".png", fullPage: true });
}
await closeAll();
