// The page's "Real gears" panel in headless Chromium: the pair set in its
// fields and by the link in the address bar, drawn again without a step, its
// numbers against published values, refusals beside the field, keys 7 to 9,
// the kinds of pair (internal, rack) with their links and readouts, and the
// SVG download against the desktop program's --svg file.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { launchChromium, servePage } from "./chromium.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, "../..");
const pagePath = process.env.INVOLUTE_WEB_PAGE ?? path.join(root, "build-web/involute-gears.html");
// The desktop program, for its --svg file: test.sh builds build-test/ first.
const desktopBinary = [process.env.INVOLUTE_GEARS_BINARY, path.join(root, "build-test/involute-gears"),
                       path.join(root, "build/involute-gears")].find((p) => p && fs.existsSync(p));
const testTimeoutMs = 180_000;

// A published pair: m = 3, z = 12 and 24, x = 0.6 and 0.36 (alpha 20 deg)
// has alphaW = 26.0886 deg and epsilonAlpha = 1.202.
const publishedLink = "#teeth=12,24&module=3&angle=20&shift=0.6,0.36&scene=7";

let server;
let browser;

before(async () => {
  server = await servePage(pagePath);
  browser = await launchChromium();
});

after(async () => {
  await browser?.close();
  server?.close();
});

// The page at `url` once the program runs. Page errors and console errors
// are recorded; `finish` checks there were none.
async function openPage(url, options = {}) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 }, acceptDownloads: true, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => {
    if (message.type() === "error" || message.type() === "warning") problems.push(`console: ${message.text()}`);
  });
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.state === "running" && Number(document.body.dataset.frames) >= 1);
  page.finish = async () => {
    await context.close();
    assert.deepEqual(problems, []);
  };
  return page;
}

const frames = (page) => page.evaluate(() => Number(document.body.dataset.frames));
const scene = (page) => page.evaluate(() => Module._webScene());
const picture = (page) => page.$eval("#canvas", (canvas) => canvas.toDataURL());
const numbers = (page) => page.innerText("#pair-readout");
const fields = (page) => page.$$eval("#pair-form input", (inputs) => inputs.map((input) => input.value));

test("the panel redraws scene 7 at once without a step; bad values are said beside their field and change nothing", { timeout: testTimeoutMs }, async () => {
  const page = await openPage(`${server.origin}/involute-gears.html`);
  const report = await page.textContent("#report");
  assert.deepEqual(await fields(page), ["10", "30", "1", "20", "0", "0", ""]);
  assert.equal(await page.evaluate(() => location.hash), "", "no link until the pair or a pair scene is chosen");

  // 7 and 8 act once however long the button is held.
  const seven = page.locator('button[data-key="7"]');
  const box = await seven.boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await page.waitForTimeout(1000);
  await page.mouse.up();
  assert.deepEqual([await frames(page), await scene(page)], [2, 7]);
  assert.equal(await seven.getAttribute("aria-pressed"), "true");
  await page.keyboard.press("8");
  assert.deepEqual([await frames(page), await scene(page)], [3, 8]);
  await page.keyboard.press("7");
  await page.keyboard.press("s");
  assert.deepEqual([await frames(page), await scene(page)], [5, 7]);
  const driveAngle = () => page.evaluate(() => Module._webDriveAngle());
  const angle = await driveAngle();

  // z 20 and 40, x = 0: epsilonAlpha 1.635 at any module.
  const before = await picture(page);
  await page.fill("#pair-z1", "20");
  await page.fill("#pair-z2", "40");
  assert.match(await numbers(page), /εα\s+= 1\.6352\b/);
  assert.notEqual(await picture(page), before, "the new pair is drawn");
  assert.deepEqual([await frames(page), await driveAngle()], [5, angle], "without a step");

  await page.fill("#pair-module", "3");
  await page.fill("#pair-z1", "12");
  await page.fill("#pair-z2", "24");
  await page.fill("#pair-x1", "0.6");
  await page.fill("#pair-x2", "0.36");
  const published = await numbers(page);
  assert.match(published, /εα\s+= 1\.202\d\b/);
  assert.match(published, /αw\s+= 26\.0886°/);
  // Scene 7 says where the contact points are; a step turns gear 1 by
  // 0.01 rad, which moves each of them rb1 * 0.01 = 0.169 mm along the path.
  const contacts = async () => {
    const [, at, length] = /contact now at ([\d., ]+) mm along the ([\d.]+) mm/.exec(await numbers(page));
    return { at: at.split(", ").map(Number), length: Number(length) };
  };
  const now = await contacts();
  await page.focus("#canvas");
  await page.keyboard.press("s");
  const next = await contacts();
  const moved = now.at.map((d) => d + 3 * 12 * Math.cos(Math.PI / 9) / 2 * 0.01).filter((d) => d <= now.length);
  assert.ok(moved.length > 0 && moved.every((d) => next.at.some((e) => Math.abs(e - d) < 0.0015)),
            `${now.at} then ${next.at}`);

  // Out of range: the message beside the field once the field is left; the
  // picture and the numbers stay those of the last good pair.
  const good = await picture(page);
  const shown = await numbers(page);
  await page.fill("#pair-z1", "3");
  await page.press("#pair-z1", "Tab");
  const alert = page.locator("#pair-z1-error");
  assert.equal(await alert.getAttribute("role"), "alert");
  assert.ok(await alert.isVisible());
  assert.match(await alert.innerText(), /4[^\d]+400/);
  assert.equal(await page.getAttribute("#pair-z1", "aria-invalid"), "true");
  assert.equal(await picture(page), good);
  assert.equal(await numbers(page), shown);

  // In range, but the program refuses: x1 = 1.5 makes 12 teeth pointed
  // (with x2 = 0; x2 = 0.36 shortens their tips enough).
  await page.fill("#pair-z1", "12");
  assert.equal(await page.innerText("#pair-z1-error"), "");
  await page.fill("#pair-x2", "0");
  const shifted = await picture(page);
  await page.fill("#pair-x1", "1.5");
  await page.press("#pair-x1", "Tab");
  assert.match(await page.innerText("#pair-x1-error"), /pointed/);
  assert.equal(await picture(page), shifted);

  // The panel with its warnings and a message in view passes axe.
  await page.fill("#pair-x1", "0");
  await page.fill("#pair-z1", "8");
  assert.match(await numbers(page), /undercut/);
  await page.fill("#pair-alpha", "40");
  await page.press("#pair-alpha", "Tab");
  await page.addScriptTag({ path: path.join(here, "node_modules/axe-core/axe.min.js") });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`));
  assert.deepEqual(violations, []);

  assert.equal(await frames(page), 6, "no change of the pair counted as a frame");
  assert.equal(await page.textContent("#report"), report, "the pair prints nothing");
  await page.finish();
});

test("the link opens scene 7 with its pair, from disk too, and follows every change", { timeout: testTimeoutMs }, async () => {
  const page = await openPage(pathToFileURL(pagePath).href + publishedLink);
  await page.waitForFunction(() => Module._webScene() === 7);
  assert.deepEqual(await fields(page), ["12", "24", "3", "20", "0.6", "0.36", ""]);
  assert.match(await numbers(page), /αw\s+= 26\.0886°/);
  const history = await page.evaluate(() => history.length);
  await page.fill("#pair-x2", "0.4");
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.4&scene=7");
  await page.click('button[data-key="8"]');
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.4&scene=8");
  assert.equal(await page.evaluate(() => history.length), history, "the link is replaced, not added to the history");
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.state === "running" && Module._webScene() === 8);
  assert.equal(await page.inputValue("#pair-x2"), "0.4");
  await page.finish();

  // A bad value in the link: said beside its field; the default pair is drawn.
  const bad = await openPage(`${server.origin}/involute-gears.html#teeth=10,3&scene=7`);
  await bad.waitForFunction(() => Module._webScene() === 7);
  assert.equal(await bad.inputValue("#pair-z2"), "3");
  assert.ok(await bad.isVisible("#pair-z2-error"));
  assert.match(await numbers(bad), /εα\s+= 1\.5115\b/, "the default pair, 10 and 30 teeth");
  await bad.finish();
});

// The handbook's ring (module 1, 20 degrees, 42 in 50 teeth, x2 = 0.01:
// alphaW 20.3854 deg, a 4.010, epsilonAlpha 2.088) and rack pair (m = 3,
// z1 = 12, x1 = 0.6: datum line 19.8 mm from the pinion's centre,
// epsilonAlpha 1.427).
const ringLink = "#kind=internal&teeth=42,50&shift=0,0.01&scene=7";
const rackLink = "#kind=rack&teeth=12&module=3&shift=0.6&scene=7";
const kindChosen = (page) => page.$eval('input[name="kind"]:checked', (input) => input.value);

test("the kinds of pair: a ring and a rack from their links, key 9 for the ring only, the link following the kind", { timeout: testTimeoutMs }, async () => {
  const page = await openPage(`${server.origin}/involute-gears.html${ringLink}`);
  await page.waitForFunction(() => Module._webScene() === 7);
  assert.equal(await kindChosen(page), "internal");
  assert.deepEqual(await page.evaluate(() => [Module._webPairKind(), Module._webPairZc() > 0]), [1, true]);
  const ring = await numbers(page);
  assert.match(ring, /αw\s+= 20\.385\d°/);
  assert.match(ring, /a\s+= 4\.0099 mm centre distance/);
  assert.match(ring, /εα\s+= 2\.0878/);
  assert.match(ring, /zc\s+= \d+/);
  assert.match(ring, /radial assembly impossible/);
  assert.doesNotMatch(ring, /trochoid interference/);
  assert.ok(await page.isVisible("#pair-cutter"), "the cutter's field for a ring");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="7"][data-kind="internal"]'));
  assert.ok(await page.isHidden('#what-to-notice [data-scene="7"][data-kind="external"]'));

  // 9: the cutting of the ring, its note, and the link.
  const nine = page.locator('button[data-key="9"]');
  assert.equal(await nine.isDisabled(), false);
  await nine.click();
  assert.equal(await scene(page), 9);
  assert.equal(await nine.getAttribute("aria-pressed"), "true");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="9"]'));
  assert.equal(await page.evaluate(() => location.hash), "#kind=internal&teeth=42,50&module=1&angle=20&shift=0,0.01&scene=9");
  // A cutter asked for goes into the link; a bad one is said beside its field.
  await page.fill("#pair-cutter", "24");
  assert.match(await numbers(page), /zc\s+= 24\b/);
  assert.match(await page.evaluate(() => location.hash), /&cutter=24&scene=9$/);
  await page.fill("#pair-cutter", "7");
  await page.press("#pair-cutter", "Tab");
  assert.match(await page.innerText("#pair-cutter-error"), /8[^\d]+400/);
  await page.fill("#pair-cutter", "");

  // The rack: scene 9 gives way to scene 7, key 9 does nothing, z2 and x2
  // are not asked for, the link holds one number for the teeth and the shift.
  await page.fill("#pair-z1", "12");
  await page.fill("#pair-module", "3");
  await page.fill("#pair-x1", "0.6");
  await page.check('input[name="kind"][value="rack"]');
  assert.equal(await scene(page), 7);
  assert.equal(await nine.isDisabled(), true);
  const before = await frames(page);
  await page.focus("#canvas");
  await page.keyboard.press("9");
  assert.deepEqual([await scene(page), await frames(page)], [7, before], "9 is no scene of a rack pair");
  assert.ok(await page.isHidden("#pair-z2") && await page.isHidden("#pair-x2") && await page.isHidden("#pair-cutter"));
  const rack = await numbers(page);
  assert.match(rack, /αw\s+= 20\.0000°/);
  assert.match(rack, /a\s+= 19\.8000 mm from the pinion's centre to the rack's datum line/);
  assert.match(rack, /p\s+= 9\.4248 mm rack pitch/);
  assert.match(rack, /εα\s+= 1\.427\d/);
  assert.equal(await page.evaluate(() => location.hash), "#kind=rack&teeth=12&module=3&angle=20&shift=0.6&scene=7");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="7"][data-kind="rack"]'));

  // Back to external: no kind in the link, the fields of both gears.
  await page.check('input[name="kind"][value="external"]');
  assert.equal(await page.evaluate(() => Module._webPairKind()), 0);
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.01&scene=7".replace("24", "50"));
  await page.finish();

  // The rack's link, as the handbook's example writes it; a kind the page
  // does not know is said.
  const fromLink = await openPage(`${server.origin}/involute-gears.html${rackLink}`);
  await fromLink.waitForFunction(() => Module._webScene() === 7);
  assert.equal(await kindChosen(fromLink), "rack");
  assert.equal(await fromLink.evaluate(() => Module._webPairKind()), 2);
  assert.match(await numbers(fromLink), /εα\s+= 1\.427\d/);
  await fromLink.finish();
  const unknown = await openPage(`${server.origin}/involute-gears.html#kind=worm&scene=9`);
  assert.match(await unknown.innerText("#pair-link-error"), /kind must be external, internal or rack/);
  assert.equal(await unknown.evaluate(() => Module._webPairKind()), 0);
  await unknown.finish();
});

test("Save the gears' outlines downloads the desktop's --svg file, byte for byte", { timeout: testTimeoutMs }, async (t) => {
  const page = await openPage(`${server.origin}/involute-gears.html${publishedLink}`);
  await page.waitForFunction(() => Module._webScene() === 7);
  const [download] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-svg"]')]);
  const svg = fs.readFileSync(await download.path());
  assert.equal(download.suggestedFilename(), "involute-gears-pair.svg");
  const text = svg.toString("utf8");
  assert.match(text, /<svg [^>]*width="[\d.]+mm" height="[\d.]+mm" viewBox="[-\d. ]+"/);
  for (const id of ["gear1", "gear2"]) {
    assert.match(text, new RegExp(`<path id="${id}"[^>]* d="M-?\\d+\\.\\d{5} -?\\d+\\.\\d{5}( L-?\\d+\\.\\d{5} -?\\d+\\.\\d{5})+ Z"`));
  }
  assert.equal(await frames(page), 2, "saving draws nothing");
  await page.finish();

  if (!desktopBinary) {
    t.diagnostic("no desktop binary (INVOLUTE_GEARS_BINARY, build-test/, build/): the bytes were not compared");
    return;
  }
  const directory = fs.mkdtempSync(path.join(os.tmpdir(), "involute-pair-"));
  try {
    const file = path.join(directory, "pair.svg");
    execFileSync(desktopBinary, ["--teeth", "12,24", "--module", "3", "--pressure-angle", "20", "--shift", "0.6,0.36",
                                 "--svg", file]);
    assert.ok(svg.equals(fs.readFileSync(file)), "the page's SVG is the desktop's");
  } finally {
    fs.rmSync(directory, { recursive: true, force: true });
  }
});
