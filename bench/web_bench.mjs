// Time per key press in the browser build, in the page's own thread: from
// the keydown reaching the page to the frame's WebGL commands issued and the
// readout updated, for each scene, in headless Chromium. The browser's
// rasteriser (its GPU process, SwiftShader here) works apart from this
// thread and is left out: on a real machine that is the GPU's work.
// Each press waits for the next animation frame, as auto-repeat presses come
// one per frame or slower, so every frame is also presented. The page is
// served cross-origin isolated, which gives performance.now() microsecond
// resolution instead of 0.1 ms.
//
// node bench/web_bench.mjs <page.html> [presses per scene] [desktop table]
// The optional desktop table is frame_bench's output; its CPU ms/frame
// column is printed beside the browser's figures.
import fs from "node:fs";
import { launchChromium, servePage } from "../tests/web/chromium.mjs";

const [pagePath, pressesArg, desktopTable] = process.argv.slice(2);
const presses = Math.max(20, Number(pressesArg ?? 300));
const warmUp = 30;

const desktopCpu = {};
if (desktopTable) {
  for (const line of fs.readFileSync(desktopTable, "utf8").split("\n")) {
    const cells = line.split("|").map((c) => c.trim());
    if (/^[1-6]$/.test(cells[1] ?? "")) desktopCpu[cells[1]] = Number(cells[4]);
  }
}

const browser = await launchChromium();
const server = await servePage(pagePath, {
  "cross-origin-opener-policy": "same-origin",
  "cross-origin-embedder-policy": "require-corp",
});
const page = await browser.newPage({ viewport: { width: 1280, height: 1000 } });
await page.goto(server.origin + "/");
await page.waitForFunction(() => document.body.dataset.state === "running" && crossOriginIsolated);

const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
console.log(`${presses} key presses per scene after ${warmUp} warm-up presses, headless Chromium ${browser.version()}\n`);
console.log("| scene | browser median ms/key | browser p95 ms/key | desktop CPU ms/frame |");
console.log("|---|---:|---:|---:|");
for (const scene of ["1", "2", "3", "4", "5", "6"]) {
  const times = await page.evaluate(async ([scene, warmUp, presses]) => {
    const press = (key) => document.dispatchEvent(new KeyboardEvent("keydown", { key, bubbles: true }));
    const nextFrame = () => new Promise((resolve) => requestAnimationFrame(resolve));
    press(scene);
    const times = [];
    for (let i = 0; i < warmUp + presses; ++i) {
      await nextFrame();
      const start = performance.now();
      press("s");
      if (i >= warmUp) times.push(performance.now() - start);
    }
    return times;
  }, [scene, warmUp, presses]);
  times.sort((a, b) => a - b);
  const desktop = desktopCpu[scene] === undefined ? "–" : desktopCpu[scene].toFixed(3);
  console.log(`| ${scene} | ${quantile(times, 0.5).toFixed(3)} | ${quantile(times, 0.95).toFixed(3)} | ${desktop} |`);
}
await browser.close();
server.close();
