// The browser build in headless Chromium: how soon the first frame is
// there, and the time per key press.
//
// Start-up: the time from navigation to the first frame (the page's
// body[data-frames] becoming "1"), median of fresh loads, beside that of a
// blank page of the same size in bytes that only creates a WebGL context
// like the program's and clears it: the floor any WebGL page pays. The two
// load alternately in one run, each in a fresh browser context, served the
// same way, so both see the same machine load. The page's own marks
// ("page-script", "wasm-ready", "runtime-ready", "first-frame") say where
// its time goes.
//
// Key presses: from the keydown reaching the page to the frame's WebGL
// commands issued and the readout updated, for each scene. The browser's
// rasteriser (its GPU process, SwiftShader here) works apart from this
// thread and is left out: on a real machine that is the GPU's work.
// Each press waits for the next animation frame, as auto-repeat presses come
// one per frame or slower, so every frame is also presented. The page is
// served cross-origin isolated, which gives performance.now() microsecond
// resolution instead of 0.1 ms.
//
// z again and again: the page's work for each z (the key, then the report
// put into the page at the next frame and the layout after it), median of
// the first 50 and of the last 50 of 300 presses; a page that keeps every
// report as one growing text pays more with each press.
//
// The page's size in bytes and the ratio are set against their budgets.
// With an earlier page (another build of it), that page and a blank page of
// its size join the same alternation, for a before and after from one run.
//
// node bench/web_bench.mjs <page.html> [presses per scene] [desktop table] [loads] [earlier page.html]
// The optional desktop table is frame_bench's output; its CPU ms/frame
// column is printed beside the browser's figures. Loads: start-ups of each
// page (31: the blank page's median alone moves by a quarter between runs
// of 15); presses 0 measures start-up only.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { launchChromium, servePage, zPressCosts } from "../tests/web/chromium.mjs";

const [pagePath, pressesArg, desktopTable, loadsArg, earlierPage] = process.argv.slice(2);
const presses = Number(pressesArg ?? 300) === 0 ? 0 : Math.max(20, Number(pressesArg ?? 300));
const loads = Math.max(3, Number(loadsArg ?? 31));
const warmUp = 30;
const settleMs = 300;

const desktopCpu = {};
if (desktopTable) {
  for (const line of fs.readFileSync(desktopTable, "utf8").split("\n")) {
    const cells = line.split("|").map((c) => c.trim());
    if (/^[1-6]$/.test(cells[1] ?? "")) desktopCpu[cells[1]] = Number(cells[4]);
  }
}

const quantile = (sorted, q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
const median = (values) => quantile([...values].sort((a, b) => a - b), 0.5);

// The 95% interval of a median by the bootstrap: the median of 2,000
// resamplings (with replacement, a fixed seed) of the loads, their 2.5th and
// 97.5th percentiles. It says how finely one run tells two pages apart: on
// a loaded two-core machine a run of 31 loads spreads 0.2 or more.
function medianInterval(values, rounds = 2000) {
  let seed = 2463534242;
  const random = () => (seed = (Math.imul(seed, 1664525) + 1013904223) >>> 0) / 2 ** 32;
  const medians = [];
  for (let r = 0; r < rounds; ++r) {
    medians.push(median(values.map(() => values[Math.floor(random() * values.length)])));
  }
  medians.sort((a, b) => a - b);
  return [quantile(medians, 0.025), quantile(medians, 0.975)];
}

// The blank page: an 800 x 800 canvas, a WebGL 1 context with the
// program's attributes, cleared to white; padded with a script string (as
// the program's wasm is) to the page's size.
function writeBlankPage(size) {
  const head = `<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>blank</title><link rel="icon" href="data:,"></head>
<body><canvas id="canvas" width="800" height="800"></canvas><script>
var gl = document.getElementById("canvas").getContext("webgl", { alpha: false, depth: false, stencil: false,
  antialias: false, preserveDrawingBuffer: true });
gl.clearColor(1, 1, 1, 1);
gl.clear(gl.COLOR_BUFFER_BIT);
document.body.dataset.frames = "1";
var padding = "`;
  const tail = `";
</script></body></html>
`;
  const file = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "web-bench-")), "blank.html");
  fs.writeFileSync(file, head + "A".repeat(Math.max(0, size - Buffer.byteLength(head + tail))) + tail);
  return file;
}

// The budgets the start-up is held to: the one file at most 300 KB, and
// the first frame at most 1.2 times the blank page's.
const budgetBytes = 300_000;
const budgetRatio = 1.2;

// Loads each page and its blank page alternately (page, blank, the earlier
// page, its blank, ...), each in a fresh browser context.
async function startUp(browser, pagePaths) {
  const entries = [];
  for (const [i, file] of pagePaths.entries()) {
    const blankPath = writeBlankPage(fs.statSync(file).size);
    entries.push({ name: i === 0 ? "involute-gears" : `earlier page (${path.basename(file)})`, file, bytes: fs.statSync(file).size,
                   server: await servePage(file), times: [], marks: {} });
    entries.push({ name: "blank WebGL page, same size", file: blankPath, blank: true,
                   server: await servePage(blankPath), times: [], marks: {} });
  }
  // One unmeasured load each first: the GPU process starts with the first
  // WebGL context of the browser.
  for (let i = -1; i < loads; ++i) {
    for (const entry of entries) {
      const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
      const page = await context.newPage();
      await page.addInitScript(() => {
        new MutationObserver((_, observer) => {
          if (document.body && document.body.dataset.frames === "1") {
            window.firstFrameAt = performance.now();
            observer.disconnect();
          }
        }).observe(document, { attributes: true, subtree: true, attributeFilter: ["data-frames"] });
      });
      await page.goto(entry.server.origin + "/");
      await page.waitForFunction(() => window.firstFrameAt !== undefined);
      if (i >= 0) {
        entry.times.push(await page.evaluate(() => window.firstFrameAt));
        if (!entry.blank) {
          for (const mark of await page.evaluate(() => performance.getEntriesByType("mark").map((m) => [m.name, m.startTime]))) {
            (entry.marks[mark[0]] ??= []).push(mark[1]);
          }
        }
      }
      await context.close();
      // The closed page's teardown (its GPU context among it) is left to
      // finish before the next load, so that no page pays for the one
      // before it: which page follows which would otherwise move the medians.
      await new Promise((resolve) => setTimeout(resolve, settleMs));
    }
  }
  for (const entry of entries) {
    entry.server.close();
    if (entry.blank) fs.rmSync(path.dirname(entry.file), { recursive: true });
  }
  console.log(`Start-up, ${loads} loads of each page alternately, headless Chromium ${browser.version()}\n`);
  console.log("| page | bytes | median ms to first frame | min | max |");
  console.log("|---|---:|---:|---:|---:|");
  for (const entry of entries) {
    const t = entry.times;
    console.log(`| ${entry.name} | ${entry.bytes ?? "(same)"} | ${median(t).toFixed(1)} | ` +
                `${Math.min(...t).toFixed(1)} | ${Math.max(...t).toFixed(1)} |`);
  }
  for (let i = 0; i < entries.length; i += 2) {
    const [page, blank] = [entries[i], entries[i + 1]];
    // Each page load is paired with the blank page's load that follows it:
    // the median of those ratios leaves out most of the machine's swings
    // between loads, which move both medians.
    const ratio = median(page.times) / median(blank.times);
    const pairedRatios = page.times.map((t, j) => t / blank.times[j]);
    const paired = median(pairedRatios);
    const [low, high] = medianInterval(pairedRatios);
    console.log(`\n${page.name}: ${page.bytes} bytes (budget ${budgetBytes}: ${page.bytes <= budgetBytes ? "within" : "OVER"}); ` +
                `first frame / blank page's: ${ratio.toFixed(2)} (of the medians), ${paired.toFixed(2)} (median of the ` +
                `${loads} paired loads, 95% interval ${low.toFixed(2)} to ${high.toFixed(2)}; budget ${budgetRatio}: ` +
                `${paired <= budgetRatio ? "within" : "OVER"}); the page's marks ` +
                "(median ms from navigation): " +
                Object.entries(page.marks).map(([name, t]) => `${name} ${median(t).toFixed(1)}`).join(", "));
  }
  console.log();
}

const browser = await launchChromium();
await startUp(browser, earlierPage ? [pagePath, earlierPage] : [pagePath]);
if (presses === 0) {
  await browser.close();
  process.exit(0);
}
const server = await servePage(pagePath, {
  "cross-origin-opener-policy": "same-origin",
  "cross-origin-embedder-policy": "require-corp",
});
const page = await browser.newPage({ viewport: { width: 1280, height: 1000 } });
await page.goto(server.origin + "/");
await page.waitForFunction(() => document.body.dataset.state === "running" && crossOriginIsolated);

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

const zPresses = 300;
const zCosts = await zPressCosts(page, zPresses);
const zMedian = (from, to) => median(zCosts.slice(from, to)).toFixed(3);
console.log(`\n${zPresses} z presses, the page's work per press (median ms): first 50 ${zMedian(0, 50)}, ` +
            `last 50 ${zMedian(-50)}; ${(median(zCosts.slice(-50)) / median(zCosts.slice(0, 50))).toFixed(2)} times`);
await browser.close();
server.close();
