// The page under strain, in headless Chromium: hundreds of z presses (the
// report box), a finger on the buttons, and a server whose
// Content-Security-Policy forbids WebAssembly.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { closeAll, launchChromium, servePage, zPressCosts } from "./chromium.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const pagePath = process.env.INVOLUTE_WEB_PAGE ?? path.resolve(here, "../../build-web/involute-gears.html");
const testTimeoutMs = 180_000;
const keptReports = 120;  // the report box keeps the last 120 reports

let browser;
before(async () => { browser = await launchChromium(); });
// Closes the browser and every server even when a test has failed.
after(closeAll);

// The page served with the given response headers, in a fresh context.
async function openPage(contextOptions = {}, headers = {}) {
  const server = await servePage(pagePath, headers);
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 }, ...contextOptions });
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(server.origin + "/");
  page.close = async () => {
    await context.close();
    server.close();
    return errors;
  };
  return page;
}

// A page that has failed: its notice (text, role, on the screen) and the
// controls still on (none should be), and whether anything was drawn.
const failureShown = (page) => page.evaluate(() => {
  const notice = document.getElementById("notice");
  const box = notice.getBoundingClientRect();
  return {
    text: notice.textContent,
    role: notice.getAttribute("role"),
    onScreen: !notice.hidden && box.height > 0 && box.top >= 0 && box.bottom <= innerHeight,
    enabled: [...document.querySelectorAll('button[data-key], [data-action^="save"], #pair-form input')]
      .filter((control) => !control.disabled).map((control) => control.outerHTML.slice(0, 60)),
    frames: document.body.dataset.frames,
  };
});

const running = (page) =>
  page.waitForFunction(() => document.body.dataset.frames === "1" && document.body.dataset.state === "running" &&
                             document.body.dataset.panels === "shown");

test("300 z: each costs the page what the first did, the page keeps its height, the box the last reports", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  await running(page);
  const start = await page.evaluate(async () => {
    const report = document.getElementById("report");
    // Output waits for the next animation frame: nothing is in the box
    // right after the key.
    const blocksBefore = report.childElementCount;
    document.dispatchEvent(new KeyboardEvent("keydown", { key: "z", bubbles: true, cancelable: true }));
    const writtenAtOnce = report.childElementCount !== blocksBefore;
    await new Promise((resolve) => requestAnimationFrame(resolve));
    await new Promise((resolve) => setTimeout(resolve, 0));
    return { writtenAtOnce, height: document.documentElement.scrollHeight };
  });
  const costs = await zPressCosts(page, 300);
  const result = await page.evaluate(async () => {
    const report = document.getElementById("report");
    await new Promise((resolve) => requestAnimationFrame(resolve));
    const blocks = [...report.children].map((block) => block.textContent);
    return {
      blocks, heightAfter: document.documentElement.scrollHeight,
      box: { height: report.clientHeight, scrollHeight: report.scrollHeight, scrollTop: report.scrollTop,
             tabIndex: report.tabIndex, viewport: innerHeight },
    };
  });
  Object.assign(result, { writtenAtOnce: start.writtenAtOnce, heightBefore: start.height, costs });
  assert.equal(result.writtenAtOnce, false, "the report reaches the page at the next frame, not at the key");

  const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
  const first = median(result.costs.slice(0, 50));
  const last = median(result.costs.slice(-50));
  // Keeping every report as one growing text made the 175th z cost many
  // times the first; a bounded box costs the same at the 300th.
  assert.ok(last / first < 2, `median cost of the last 50 z ${last.toFixed(2)} ms, of the first 50 ${first.toFixed(2)} ms`);

  assert.equal(result.heightAfter, result.heightBefore, "the page does not grow with the reports");
  assert.equal(result.blocks.length, keptReports);
  // One block per report; a report's closing newline goes into its block
  // when the next report starts.
  const whole = result.blocks[0];
  assert.ok(whole.startsWith("糸の巻き戻し") && whole.endsWith("\n"), JSON.stringify(whole.slice(0, 40)));
  assert.deepEqual(result.blocks.map((text, i) => i === result.blocks.length - 1 ? text + "\n" : text),
                   result.blocks.map(() => whole), "each block holds one whole report");
  const box = result.box;
  assert.ok(box.height < box.viewport / 2 && box.scrollHeight > 10 * box.height,
            `a box of bounded height that scrolls: ${box.height} of ${box.scrollHeight} px`);
  assert.ok(box.scrollTop + box.height >= box.scrollHeight - 4, "the box shows the latest report");
  assert.equal(box.tabIndex, 0, "the box is reached with Tab, to scroll it with the keys");
  assert.deepEqual(await page.close(), []);
});

test("touch: a swipe over a button scrolls and presses nothing; held still, d repeats and z acts once", { timeout: testTimeoutMs }, async () => {
  const page = await openPage({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true });
  await running(page);
  const cdp = await page.context().newCDPSession(page);
  const touch = (type, x, y) =>
    cdp.send("Input.dispatchTouchEvent", { type, touchPoints: type === "touchEnd" ? [] : [{ x, y }] });
  const centre = async (key) => {
    const box = await page.locator(`#strip button[data-key="${key}"]`).boundingBox();
    return [box.x + box.width / 2, box.y + box.height / 2];
  };
  const state = () => page.evaluate(() => ({
    frames: Number(document.body.dataset.frames),
    reports: document.getElementById("report").childElementCount,
    scrollY: Math.round(scrollY),
  }));

  let [x, y] = await centre("d");
  const beforeSwipe = await state();
  await touch("touchStart", x, y);
  for (let i = 1; i <= 10; i++) await touch("touchMove", x, y - 8 * i);
  await touch("touchEnd");
  await page.waitForTimeout(600);  // past the repeat delay
  const afterSwipe = await state();
  assert.equal(afterSwipe.frames, beforeSwipe.frames, "the swipe pressed d");
  assert.ok(afterSwipe.scrollY > beforeSwipe.scrollY + 20, `the page scrolled by ${afterSwipe.scrollY - beforeSwipe.scrollY} px`);

  await page.evaluate(() => scrollTo(0, 0));
  [x, y] = await centre("d");
  const beforeHold = await state();
  await touch("touchStart", x, y);
  assert.equal((await state()).frames, beforeHold.frames, "a touch acts at its end or after the delay, not at once");
  await page.waitForTimeout(1200);
  await touch("touchEnd");
  const afterHold = await state();
  assert.ok(afterHold.frames >= beforeHold.frames + 5, `held 1.2 s, d drew ${afterHold.frames - beforeHold.frames} frames`);
  await page.waitForTimeout(300);
  assert.equal((await state()).frames, afterHold.frames, "the repeat stops when the finger lifts");

  [x, y] = await centre("z");
  await touch("touchStart", x, y);
  await page.waitForTimeout(1200);
  await touch("touchEnd");
  await page.waitForFunction((before) => document.getElementById("report").childElementCount > before, afterHold.reports);
  await page.waitForTimeout(300);
  assert.equal((await state()).reports, afterHold.reports + 1, "z held acts once");
  assert.deepEqual(await page.close(), []);
});

test("a server whose Content-Security-Policy forbids WebAssembly: the page says so and how to run it, every control off", { timeout: testTimeoutMs }, async () => {
  const page = await openPage({}, { "content-security-policy": "script-src 'unsafe-inline'" });
  await page.waitForFunction(() => document.body.dataset.state === "failed");
  const shown = await failureShown(page);
  assert.match(shown.text, /cannot start here/);
  assert.match(shown.text, /Content-Security-Policy lacks 'wasm-unsafe-eval'/);
  assert.match(shown.text, /open the saved file: it runs from disk/);
  assert.equal(shown.role, "alert");
  assert.ok(shown.onScreen, "the notice is on the screen");
  assert.deepEqual(shown.enabled, [], "key and save controls are disabled");
  assert.equal(shown.frames, undefined, "nothing was drawn");
  // What to notice is packed as the wasm is, and unpacked into the page all the same.
  await page.locator('#what-to-notice [data-scene="1"] p[lang="ja"]').waitFor({ state: "attached", timeout: 15_000 });
  assert.deepEqual(await page.close(), []);

  // A policy that forbids the page's inline scripts: the page says so without them.
  const blocked = await openPage({}, { "content-security-policy": "script-src 'self'" });
  const banner = blocked.locator("#no-script");
  await banner.waitFor({ state: "visible", timeout: 15_000 });
  assert.match(await banner.textContent(), /scripts did not run[^]*open the saved file: it runs from disk/);
  assert.equal(await blocked.evaluate(() => document.body.dataset.state), "starting");
  await blocked.close();
});

// The page (or a copy of it) with a script run before its own (a browser
// without what the page needs), or none, once it has failed: what its
// notice says and shows.
async function failedPage(initScript, file = pagePath) {
  const server = await servePage(file);
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  if (initScript) await context.addInitScript(initScript);
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(server.origin + "/");
  await page.waitForFunction(() => document.body.dataset.state === "failed" && document.readyState === "complete");
  const shown = await failureShown(page);
  await context.close();
  server.close();
  return { ...shown, errors };
}

test("a browser that cannot draw: no WebGL, or shaders that do not compile; the page says why, every control off", { timeout: testTimeoutMs }, async () => {
  // The program starts while the page is still being read: a failure then
  // must still reach the notice, and the controls made later must be off.
  const noWebGL = await failedPage(() => { HTMLCanvasElement.prototype.getContext = () => null; });
  assert.match(noWebGL.text, /^This browser cannot show the picture: WebGL is switched off or missing/);
  assert.equal(noWebGL.role, "alert");
  assert.ok(noWebGL.onScreen, "the notice is on the screen");
  assert.deepEqual(noWebGL.enabled, [], "keys, saves and fields are off");
  assert.equal(noWebGL.frames, undefined, "nothing was drawn");
  assert.deepEqual(noWebGL.errors, []);

  // The link status is asked for only after the first frame (the frame's
  // commands go to the GPU process meanwhile): a failure must still be said.
  const broken = await failedPage(() => {
    const shaderSource = WebGLRenderingContext.prototype.shaderSource;
    WebGLRenderingContext.prototype.shaderSource = function (shader, source) {
      const broken = /gl_FragColor/.test(source) ? source.replace("gl_FragColor", "gl_FragColour") : source;
      return shaderSource.call(this, shader, broken);
    };
  });
  assert.match(broken.text, /^The picture cannot be drawn: the WebGL fragment shader did not compile: .*gl_FragColour/);
  assert.equal(broken.role, "alert");
  assert.ok(broken.onScreen, "the notice is on the screen");
  assert.deepEqual(broken.enabled, [], "keys, saves and fields are off");
  assert.deepEqual(broken.errors, []);
});

test("a copy of the page whose program is cut short or changed says it is damaged, every control off", { timeout: testTimeoutMs }, async () => {
  const html = fs.readFileSync(pagePath, "latin1");
  const code = /(<script type="application\/gzip" id="program-code">)([A-Za-z0-9+/]+={0,2})(<\/script>)/;
  const [, , base64] = code.exec(html);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "involute-damaged-"));
  try {
    // Cut short by whole base64 quanta (still base64, no longer a whole gzip
    // stream), and one quantum in the middle changed (a gzip stream whose
    // check fails).
    const middle = Math.floor(base64.length / 8) * 4;
    const damaged = { "cut short": base64.slice(0, -400),
                      changed: base64.slice(0, middle) + (base64.slice(middle, middle + 4) === "AAAA" ? "BBBB" : "AAAA") +
                               base64.slice(middle + 4) };
    for (const [how, text] of Object.entries(damaged)) {
      const file = path.join(dir, "page.html");
      fs.writeFileSync(file, html.replace(code, (_, open, _code, close) => open + text + close), "latin1");
      const shown = await failedPage(null, file);
      assert.match(shown.text, /^The program cannot start: this copy of the page is damaged/, how);
      assert.ok(shown.onScreen, `${how}: the notice is on the screen`);
      assert.deepEqual(shown.enabled, [], `${how}: keys, saves and fields are off`);
      assert.equal(shown.frames, undefined, `${how}: nothing was drawn`);
      assert.deepEqual(shown.errors, [], how);
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

test("a browser without Uint8Array.fromBase64 (older ones) unpacks the program and the notes all the same", { timeout: testTimeoutMs }, async () => {
  const server = await servePage(pagePath);
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  await context.addInitScript(() => { delete Uint8Array.fromBase64; });
  const page = await context.newPage();
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  await page.goto(server.origin + "/");
  await page.waitForFunction(() => document.body.dataset.state === "running" && document.body.dataset.panels === "shown");
  assert.equal(await page.evaluate(() => typeof Uint8Array.fromBase64), "undefined");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="1"] p[lang="ja"]'), "scene 1's notes are shown");
  assert.deepEqual(errors, []);
  await context.close();
  server.close();
});

test("a browser test whose assertion fails ends with that failure, its browser and server closed", { timeout: testTimeoutMs }, async () => {
  // A test file that fails half way, with a browser, a server and a page
  // open: node must end it with the failure, not wait on what it left open.
  // The probe is written into a folder of the test's own, never into the
  // checkout, and reaches the suite's helpers by their file URL.
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "involute-probe-"));
  const probe = path.join(folder, "failing-probe.mjs");
  fs.writeFileSync(probe, `
import { after, test } from "node:test";
import assert from "node:assert/strict";
import { closeAll, launchChromium, servePage } from ${JSON.stringify(pathToFileURL(path.join(here, "chromium.mjs")).href)};
after(closeAll);
test("fails with everything open", async () => {
  const browser = await launchChromium();
  const server = await servePage(${JSON.stringify(pagePath)});
  const page = await browser.newPage();
  await page.goto(server.origin + "/");
  assert.equal(1 + 1, 3, "the probe's own failure");
  await browser.close();
});
`);
  try {
    // The bound is a guard against a hang, far above the probe's few seconds.
    // Run as a test file of its own, not as a part of this run (which node
    // tells its test processes through NODE_TEST_CONTEXT).
    const env = { ...process.env };
    delete env.NODE_TEST_CONTEXT;
    const run = spawnSync(process.execPath, ["--test", probe], { cwd: here, env, encoding: "utf8", timeout: 120_000 });
    assert.equal(run.signal, null, "node ended by itself");
    assert.equal(run.status, 1);
    assert.match(run.stdout, /the probe's own failure/);
    assert.match(run.stdout, /# fail 1/);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});
