// The page's "Real gears" panel in headless Chromium: the pair set in its
// fields and by the link in the address bar, drawn again without a step, its
// numbers against published values, refusals beside the field, keys 7 to 9,
// the kinds of pair (internal, rack) with their links and readouts, and the
// SVG, DXF and STL downloads against the desktop program's files.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { closeAll, launchChromium, servePage } from "./chromium.mjs";

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

// Closes the browser and the server even when a test has failed.
after(closeAll);

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
  // The panel takes its pair once the page is shown after the first frame.
  await page.waitForFunction(() => document.body.dataset.state === "running" && Number(document.body.dataset.frames) >= 1 &&
                                   document.body.dataset.panels === "shown");
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
const fields = (page) => page.$$eval("#pair-form input, #pair-form select", (inputs) => inputs.map((input) => input.value));
// Types a value into a field and commits it with Enter.
async function commit(page, selector, text) {
  await page.fill(selector, text);
  await page.press(selector, "Enter");
}

test("keys 7 and b pressed the moment the page takes keys, before the panel has its pair, show the pair", { timeout: testTimeoutMs }, async () => {
  // The pair is worked out after the first frame, once the page is shown;
  // a key of a pair scene that asks for it sooner must get it, not be ignored.
  for (const [key, shown] of [["7", 7], ["b", 13]]) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
    await context.addInitScript((key) => {
      new MutationObserver((_, observer) => {
        if (document.body?.dataset.state !== "running") return;
        observer.disconnect();
        window.pairAtKey = document.getElementById("pair-readout").textContent;
        document.dispatchEvent(new KeyboardEvent("keydown", { key, bubbles: true, cancelable: true }));
      }).observe(document, { attributes: true, subtree: true, attributeFilter: ["data-state"] });
    }, key);
    const page = await context.newPage();
    await page.goto(`${server.origin}/involute-gears.html`);
    await page.waitForFunction(() => document.body.dataset.panels === "shown" && document.body.dataset.frames === "2");
    // Mostly so; the browser may show the page sooner.
    if (await page.evaluate(() => window.pairAtKey) !== "starting…") console.log("# the panel had its pair before the key");
    assert.equal(await scene(page), shown, `key ${key}`);
    assert.match(await numbers(page), /εα\s+= 1\.5115\b/, "the default pair, 10 and 30 teeth");
    await context.close();
  }
});

test("the panel redraws scene 7 at once without a step; bad values are said beside their field and change nothing", { timeout: testTimeoutMs }, async () => {
  const page = await openPage(`${server.origin}/involute-gears.html`);
  const report = await page.textContent("#report");
  assert.deepEqual(await fields(page), ["10", "30", "1", "20", "0", "0", "", "", "", "", "", "70", "3", "", "right", "ring"]);
  assert.equal(await page.evaluate(() => location.hash), "", "no link until the pair or a pair scene is chosen");

  // 7 and 8 act once however long the button is held.
  const seven = page.locator('#real-gears button[data-key="7"]');
  await seven.scrollIntoViewIfNeeded();  // below the fields, out of view on a short screen
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
  const driveAngle = () => page.evaluate(() => /drive angle (\S+) rad/.exec(program.readout(1))[1]);
  const angle = await driveAngle();

  // z 20 and 40, x = 0: epsilonAlpha 1.635 at any module.
  const before = await picture(page);
  await commit(page, "#pair-z1", "20");
  await commit(page, "#pair-z2", "40");
  assert.match(await numbers(page), /εα\s+= 1\.6352\b/);
  assert.notEqual(await picture(page), before, "the new pair is drawn");
  assert.deepEqual([await frames(page), await driveAngle()], [5, angle], "without a step");

  await commit(page, "#pair-module", "3");
  await commit(page, "#pair-z1", "12");
  await commit(page, "#pair-z2", "24");
  await commit(page, "#pair-x1", "0.6");
  await commit(page, "#pair-x2", "0.36");
  const published = await numbers(page);
  assert.match(published, /εα\s+= 1\.202\d\b/);
  assert.match(published, /αw\s+= 26\.0886°/);
  assert.match(published, /εα\s+= 1\.2021, εα_eff = 1\.2021 contact ratio/);
  // The backlash field: jn = 0.1 mm thins both gears (the desktop's
  // --backlash 0.1 report: jt 0.1113 mm, W2 = 32.6945 mm over 4 teeth), and
  // redraws the pair with the play; above 0.25 m it is refused beside the
  // field and the pair stays.
  const tight = await picture(page);
  await page.fill("#pair-backlash", "0.1");
  await page.press("#pair-backlash", "Tab");
  const loose = await numbers(page);
  assert.match(loose, /jn\s+= 0\.1000 mm, jt = 0\.1113 mm backlash; each gear thinned by 0\.0557 mm/);
  assert.match(loose, /gear 2: W = 32\.6945 mm over k = 4 teeth/);
  assert.notEqual(await picture(page), tight, "the thinned pair is drawn");
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.36&backlash=0.1&scene=7");
  await page.fill("#pair-backlash", "0.76");
  await page.press("#pair-backlash", "Tab");
  assert.match(await page.innerText("#pair-backlash-error"), /jn must be 0 to 0\.25 m = 0\.75 mm/);
  assert.equal(await numbers(page), loose, "the last good pair stays");
  await page.fill("#pair-backlash", "");
  await page.press("#pair-backlash", "Tab");
  assert.match(await numbers(page), /jn\s+= 0\.0000 mm/);
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
  await commit(page, "#pair-z1", "12");
  assert.equal(await page.innerText("#pair-z1-error"), "");
  await commit(page, "#pair-x2", "0");
  const shifted = await picture(page);
  await page.fill("#pair-x1", "1.5");
  await page.press("#pair-x1", "Tab");
  assert.match(await page.innerText("#pair-x1-error"), /pointed/);
  assert.equal(await picture(page), shifted);

  // The panel with its warnings and a message in view passes axe.
  await commit(page, "#pair-x1", "0");
  await commit(page, "#pair-z1", "8");
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
  assert.deepEqual(await fields(page), ["12", "24", "3", "20", "0.6", "0.36", "", "", "", "", "", "70", "3", "", "right", "ring"]);
  assert.match(await numbers(page), /αw\s+= 26\.0886°/);
  const history = await page.evaluate(() => history.length);
  await commit(page, "#pair-x2", "0.4");
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.4&scene=7");
  await page.click('#real-gears button[data-key="8"]');
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

  // A centre distance chooses the shifts: their fields show the desktop's
  // choice (KHK's pair at a = 56.4999 mm, x1 + x2 = 0.96), x1's in its empty
  // field; x2 follows and is not typed in. With x1 given, x2 follows from
  // it, as --centre-distance with --shift X1 on the command line.
  const shifts = async (link, args) => {
    const centred = await openPage(`${server.origin}/involute-gears.html${link}`);
    await centred.waitForFunction(() => Module._webScene() === 7 && document.getElementById("pair-x2").value !== "0");
    const shown = [await centred.inputValue("#pair-x1") || await centred.getAttribute("#pair-x1", "placeholder"),
                   await centred.inputValue("#pair-x2")];
    assert.equal((Number(shown[0]) + Number(shown[1])).toFixed(4), "0.9600");
    if (desktopBinary) {
      const report = execFileSync(desktopBinary, ["--report", "--teeth", "12,24", "--module", "3", "--centre-distance",
                                                  "56.4999", ...args], { encoding: "utf8" });
      assert.deepEqual(shown.map(Number), ["x1", "x2"].map((x) => Number(report.match(new RegExp(`\\n転位係数 ${x} = (\\S+)`))[1])));
    }
    assert.ok(await centred.$eval("#pair-x2", (input) => input.readOnly));
    assert.match(await numbers(centred), /αw\s+= 26\.0886°/);
    const hash = await centred.evaluate(() => location.hash);
    await centred.finish();
    return { shown, hash };
  };
  const chosen = await shifts("#teeth=12,24&module=3&centre=56.4999&scene=7", []);
  const given = await shifts("#teeth=12,24&module=3&centre=56.4999&shift=0.5&scene=7", ["--shift", "0.5"]);
  assert.equal(given.shown[0], "0.5");
  assert.notEqual(chosen.shown[0], "0.5000");
  assert.equal(given.hash, "#teeth=12,24&module=3&angle=20&shift=0.5&centre=56.4999&scene=7");
  assert.equal(chosen.hash, "#teeth=12,24&module=3&angle=20&centre=56.4999&scene=7");
  // An angle offered for pointed teeth that the centre distance then refuses
  // is said with that refusal, in the desktop's words for the centre distance.
  const pointed = await openPage(`${server.origin}/involute-gears.html#kind=internal&teeth=10,90&module=0.5&angle=35&centre=46.514`);
  const said = await pointed.innerText("#pair-alpha-error");
  await pointed.finish();
  const at = said.match(/but at (\S+) the centre distance is refused: (a must be [^·]*? mm)/);
  assert.ok(at, said);
  if (desktopBinary) {
    const desktop = spawnSync(desktopBinary, ["--report", "--pair", "internal", "--teeth", "10,90", "--module", "0.5",
                                              "--pressure-angle", at[1], "--centre-distance", "46.514"], { encoding: "utf8" });
    assert.equal(desktop.stderr, `involute-gears: --centre-distance "46.514": ${at[2]}\n`);
  }
});

// A link pasted while the page is open is read as the command line reads
// options: the keys it leaves out at their start (the same state as the link
// opened fresh, not the last pair's helix and width), a key that does not
// fit the kind refused in the desktop's own words, a set's fields named as
// the program names a set's gears.
test("a pasted link is the link opened fresh; keys that do not fit the kind are refused as the desktop refuses them; a set's labels", { timeout: testTimeoutMs }, async (t) => {
  const page = await openPage(`${server.origin}/involute-gears.html#teeth=20,40&module=2&helix=20&width=30&torque=50&scene=7`);
  await page.waitForFunction(() => Module._webScene() === 7);
  // The link typed into the address bar: read at its hashchange.
  const paste = (link) => page.evaluate((l) => new Promise((read) => {
    window.addEventListener("hashchange", () => setTimeout(read, 0), { once: true });
    location.hash = l;
  }), link);
  const plain = "#teeth=20,40&module=2&scene=7";
  await paste(plain);
  await page.waitForFunction(() => !/εβ/.test(document.getElementById("pair-readout").innerText));
  const withoutMoment = (text) => text.split("\n").filter((l) => !/^contact now/.test(l)).join("\n");
  const fresh = await openPage(`${server.origin}/involute-gears.html${plain}`);
  await fresh.waitForFunction(() => Module._webScene() === 7);
  assert.deepEqual([await fields(page), withoutMoment(await numbers(page))], [await fields(fresh), withoutMoment(await numbers(fresh))]);
  await fresh.finish();

  const misfits = [["#planets=4&scene=7", ["--planets", "4"]],
                   ["#kind=rack&teeth=12,24&scene=7", ["--pair", "rack", "--teeth", "12,24"]],
                   ["#kind=planetary&centre=60&scene=7", ["--pair", "planetary", "--centre-distance", "60"]],
                   ["#cutter=20&scene=7", ["--cutter-teeth", "20"]],
                   ["#teeth=12&scene=7", ["--teeth", "12"]]];
  for (const [link, args] of misfits) {
    await paste(link);
    const said = await page.innerText("#pair-link-error");
    if (desktopBinary) {
      let stderr = "";
      try { execFileSync(desktopBinary, [...args, "--report"], { stdio: "pipe" }); } catch (e) { stderr = String(e.stderr); }
      assert.ok(stderr.startsWith("involute-gears: "), `${args.join(" ")}: ${stderr}`);
      assert.ok(said.includes(stderr.trim().slice("involute-gears: ".length)), `${link}: page “${said}”, desktop “${stderr.trim()}”`);
    } else {
      assert.match(said, /^In the link: --/);
    }
    assert.equal(await page.evaluate(() => location.hash), link, "a refused link stays as given");
  }
  await paste("#kind=rack&teeth=12&scene=9");
  assert.match(await page.innerText("#pair-link-error"), /scene 9 needs kind=internal/);

  // A set: its fields are the sun's, the planets' and the ring's, and a
  // refusal names the sun as the desktop does.
  await paste("#kind=planetary&teeth=3,24,63&scene=7");
  const labels = await page.$$eval("#pair-form label", (all) => Object.fromEntries(all.map((l) => [l.htmlFor, l.innerText])));
  assert.match(labels["pair-z1"], /^zS teeth, sun/);
  assert.match(labels["pair-z2"], /^zP teeth, planets/);
  assert.match(labels["pair-z3"], /^zR teeth, ring/);
  assert.match(labels["pair-x1"], /^shift xS, sun/);
  assert.match(labels["pair-x2"], /^shift xP, planets/);
  assert.match(await page.innerText("#pair-z1-error"), /^zS \(teeth of the sun\) must be/);
  if (desktopBinary) {
    let stderr = "";
    try { execFileSync(desktopBinary, ["--pair", "planetary", "--teeth", "3,24,63", "--report"], { stdio: "pipe" }); } catch (e) { stderr = String(e.stderr); }
    assert.match(stderr, /--teeth: zS must be/);
  }
  await paste("#teeth=12,24&scene=7");
  assert.match(await page.innerText('label[for="pair-z1"]'), /^z1 teeth, drive/);
  await page.finish();
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
  assert.match(ring, /εα\s+= 2\.0878, εα_eff = 1\.8518 contact ratio/);
  assert.match(ring, /⚠ interference at gear 1's root \(the mate's tip meets it below the start of its involute\)/);
  assert.match(ring, /gear 1's involute begins at the diameter 40\.3757 mm/);
  assert.match(ring, /zc\s+= \d+/);
  assert.match(ring, /jn\s+= 0\.0000 mm, jt = 0\.0000 mm backlash; pinion and ring each thinned by 0\.0000 mm/);
  assert.match(ring, /⚠ no radial assembly \(trimming/);
  assert.doesNotMatch(ring, /trochoid interference/);
  assert.ok(await page.isVisible("#pair-cutter"), "the cutter's field for a ring");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="7"][data-kind="internal"]'));
  assert.ok(await page.isHidden('#what-to-notice [data-scene="7"][data-kind="external"]'));

  // 9: the cutting of the ring, its note, and the link.
  const nine = page.locator('#real-gears button[data-key="9"]');
  assert.equal(await nine.isDisabled(), false);
  await nine.click();
  assert.equal(await scene(page), 9);
  assert.equal(await nine.getAttribute("aria-pressed"), "true");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="9"]'));
  assert.equal(await page.evaluate(() => location.hash), "#kind=internal&teeth=42,50&module=1&angle=20&shift=0,0.01&scene=9");
  // A cutter asked for goes into the link; a bad one is said beside its field.
  await commit(page, "#pair-cutter", "24");
  assert.match(await numbers(page), /zc\s+= 24\b/);
  assert.match(await page.evaluate(() => location.hash), /&cutter=24&scene=9$/);
  await page.fill("#pair-cutter", "7");
  await page.press("#pair-cutter", "Tab");
  assert.match(await page.innerText("#pair-cutter-error"), /8[^\d]+200/);
  await commit(page, "#pair-cutter", "");
  // A range in multiples of the module, its Japanese half in Japanese words.
  await commit(page, "#pair-backlash", "1");
  assert.match(await page.innerText("#pair-backlash-error"),
               /^jn must be 0 to 0\.25 m = 0\.25 mm · バックラッシ jn（空欄なら 0） は 0〜0\.25 m（= 0\.25 mm まで）$/);
  await commit(page, "#pair-backlash", "");

  // The rack: scene 9 gives way to scene 7, key 9 does nothing, z2 and x2
  // are not asked for, the link holds one number for the teeth and the shift.
  await commit(page, "#pair-z1", "12");
  await commit(page, "#pair-module", "3");
  await commit(page, "#pair-x1", "0.6");
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
  assert.match(rack, /εα\s+= 1\.4273, εα_eff = 1\.4273 contact ratio/);
  assert.match(rack, /jn\s+= 0\.0000 mm, jt = 0\.0000 mm backlash; pinion and rack each thinned by 0\.0000 mm/);
  assert.equal(await page.evaluate(() => location.hash), "#kind=rack&teeth=12&module=3&angle=20&shift=0.6&scene=7");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="7"][data-kind="rack"]'));
  // A rack pair's backlash: jt = jn / cos 20°, each thinned by jt / 2.
  await page.fill("#pair-backlash", "0.2");
  await page.press("#pair-backlash", "Tab");
  assert.match(await numbers(page), /jn\s+= 0\.2000 mm, jt = 0\.2128 mm backlash; pinion and rack each thinned by 0\.1064 mm/);
  assert.equal(await page.evaluate(() => location.hash),
               "#kind=rack&teeth=12&module=3&angle=20&shift=0.6&backlash=0.2&scene=7");
  await page.fill("#pair-backlash", "");
  await page.press("#pair-backlash", "Tab");

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
  assert.match(await unknown.innerText("#pair-link-error"), /kind must be external, internal, rack or planetary/);
  assert.equal(await unknown.evaluate(() => Module._webPairKind()), 0);
  await unknown.finish();
});

// A planetary set from its link: the one with KHK's shifted 12/24 pair as
// sun and planets in a ring of 63 teeth (the desktop's --report gives
// xR = -0.2073 for a = 56.4999 mm), the carrier held: i = -zR / zS = -5.25.
// Key p for sets only; the readout's turns are scene 12's; the downloads
// are the desktop's files of the whole set.
test("a planetary set: its link, numbers, scene 12 and its turns, key p for sets only, the whole set's files", { timeout: testTimeoutMs }, async (t) => {
  const setLink = "#kind=planetary&teeth=12,24,63&module=3&angle=20&shift=0.6,0.36&planets=3&fixed=carrier&scene=12";
  const page = await openPage(`${server.origin}/involute-gears.html${setLink}`);
  await page.waitForFunction(() => Module._webScene() === 12);
  assert.equal(await kindChosen(page), "planetary");
  assert.equal(await page.inputValue("#pair-fixed"), "carrier");
  const set = await numbers(page);
  assert.match(set, /i\s+= -5\.2500 ratio, the sun in, the ring out, the other way round/);
  assert.match(set, /a\s+= 56\.4999 mm centre distance of both meshes/);
  assert.match(set, /xS\s+= 0\.6000, xP = 0\.3600, xR = -0\.2073 shifts/);
  assert.match(set, /l\s+= 97\.8606 mm between neighbouring planets' centres, daP = 79\.3997 mm/);
  assert.match(set, /sun–planet mesh:[^]*εα\s+= 1\.2021[^]*planet–ring mesh:/);
  assert.ok(await page.isVisible('#what-to-notice [data-scene="12"]'));
  const p = page.locator('#real-gears button[data-key="p"]');
  assert.equal(await p.getAttribute("aria-pressed"), "true");
  // Turning: the readout gives Willis's turns, the ring following the sun at -zS / zR.
  await page.focus("#canvas");
  for (let i = 0; i < 5; i++) await page.keyboard.press("s");
  const turns = await page.evaluate(() => [0, 1, 2, 3].map((m) => Module._webSetTurn(m)));
  assert.ok(turns[0] > 0 && turns[1] === 0 && Math.abs(turns[2] + turns[0] * 12 / 63) < 1e-12, String(turns));
  assert.match(await numbers(page), new RegExp(`sun ${turns[0].toFixed(4)} rad, carrier 0\\.0000 rad, ring ${turns[2].toFixed(4)} rad`));
  // The readout names the scene (it once said "scene 12: undefined").
  assert.match(await page.locator("#readout").innerText(), /scene 12: the planetary set of Real gears turning with its carrier/);
  // The whole set's drawing and solids, as the desktop writes them.
  const saved = {};
  for (const what of ["svg", "dxf", "stl"]) {
    const [download] = await Promise.all([page.waitForEvent("download"), page.click(`[data-action="save-${what}"]`)]);
    saved[what] = fs.readFileSync(await download.path());
    assert.equal(download.suggestedFilename(), `involute-planetary-z12-z24-z63-m3-N3-x0.6-x0.36.${what}`);
  }
  assert.match(saved.svg.toString("utf8"), /id="planet3"[^]*<g id="RING"/);
  // Printed, scene 12 with the set's numbers, the longest, and its notes fits one A4 sheet.
  const sheet = (await page.pdf({ format: "A4" })).toString("latin1");
  assert.equal((sheet.match(/\/Type\s*\/Page[^s]/g) ?? []).length, 1, "scene 12 printed on one page");
  // Another kind: p is no scene of it, and scene 12 gives way to scene 7.
  await page.check('input[name="kind"][value="external"]');
  assert.equal(await scene(page), 7);
  assert.equal(await p.isDisabled(), true);
  assert.equal(await page.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.36&scene=7");
  await page.finish();
  // A planet count the set refuses is said beside the planets' field:
  // (20 + 70) / 4 is not whole, so four planets cannot be spaced equally.
  const four = await openPage(`${server.origin}/involute-gears.html#kind=planetary&teeth=20,25,70&planets=4`);
  assert.match(await four.innerText("#pair-planets-error"), /spaced equally/);
  await four.finish();
  // A member the set has not is said beside its field.
  const bad = await openPage(`${server.origin}/involute-gears.html#kind=planetary&teeth=20,25,70&fixed=planet`);
  assert.match(await bad.innerText("#pair-fixed-error"), /fixed must be ring, carrier or sun/);
  await bad.finish();

  if (!desktopBinary) {
    t.diagnostic("no desktop binary (INVOLUTE_GEARS_BINARY, build-test/, build/): the bytes were not compared");
    return;
  }
  const directory = fs.mkdtempSync(path.join(os.tmpdir(), "involute-set-"));
  try {
    for (const what of ["svg", "dxf", "stl"]) {
      const file = path.join(directory, `set.${what}`);
      execFileSync(desktopBinary, ["--pair", "planetary", "--teeth", "12,24,63", "--module", "3", "--shift", "0.6,0.36",
                                   "--planets", "3", "--fixed", "carrier", `--${what}`, file]);
      assert.ok(saved[what].equals(fs.readFileSync(file)), `the page's ${what} is the desktop's`);
    }
  } finally {
    fs.rmSync(directory, { recursive: true, force: true });
  }
});

test("Save the gears' outlines and Save for 3D printing download the desktop's --svg, --dxf and --stl files, byte for byte", { timeout: testTimeoutMs }, async (t) => {
  const page = await openPage(`${server.origin}/involute-gears.html${publishedLink}`);
  await page.waitForFunction(() => Module._webScene() === 7);
  // Every save button styled as the panel's scene buttons (those neither
  // pressed nor off), 44 px tall or more.
  const looks = await page.$$eval('#real-gears [data-action^="save-"], #real-gears .pair-keys button', (list) => list.map((b) => {
    const style = getComputedStyle(b);
    return { what: b.dataset.action ?? b.dataset.key, pressed: b.getAttribute("aria-pressed") === "true" || b.disabled,
             height: b.getBoundingClientRect().height,
             look: [style.borderRadius, style.borderTopColor, style.backgroundColor, style.cursor].join(" ") };
  }));
  assert.deepEqual(looks.filter((b) => b.what.startsWith("save-")).map((b) => b.what), ["save-svg", "save-dxf", "save-stl"]);
  const sceneButton = looks.find((b) => !b.what.startsWith("save-") && !b.pressed);
  for (const b of looks) {
    assert.ok(b.height >= 44, JSON.stringify(b));
    if (!b.pressed) assert.equal(b.look, sceneButton.look, `${b.what} looks as a scene button does`);
  }
  const [download] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-svg"]')]);
  const svg = fs.readFileSync(await download.path());
  // Each file named by the pair it holds, from the inputs.
  assert.equal(download.suggestedFilename(), "involute-external-z12-z24-m3-x0.6-x0.36.svg");
  const text = svg.toString("utf8");
  assert.match(text, /<svg [^>]*width="[\d.]+mm" height="[\d.]+mm" viewBox="[-\d. ]+"/);
  for (const id of ["gear1", "gear2"]) {
    assert.match(text, new RegExp(`<path id="${id}"[^>]* d="M-?\\d+\\.\\d{5} -?\\d+\\.\\d{5}( L-?\\d+\\.\\d{5} -?\\d+\\.\\d{5})+ Z"`));
  }
  const [dxfDownload] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-dxf"]')]);
  const dxf = fs.readFileSync(await dxfDownload.path());
  assert.equal(dxfDownload.suggestedFilename(), "involute-external-z12-z24-m3-x0.6-x0.36.dxf");
  const dxfText = dxf.toString("latin1");
  assert.match(dxfText, /\$INSUNITS\r?\n\s*70\r?\n\s*4\r?\n/, "millimetres");
  for (const layer of ["GEAR1", "GEAR2"]) {
    assert.match(dxfText, new RegExp(`POLYLINE\\r?\\n\\s*8\\r?\\n${layer}\\r?\\n`), `a polyline on ${layer}`);
  }
  assert.equal(await frames(page), 2, "saving draws nothing");
  // The solids of the face width in its field: a binary STL of both gears,
  // b = 12 mm, and then of the ring of an internal pair in its rim.
  await commit(page, "#pair-width", "12");
  const [stlDownload] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-stl"]')]);
  const stl = fs.readFileSync(await stlDownload.path());
  assert.equal(stlDownload.suggestedFilename(), "involute-external-z12-z24-m3-x0.6-x0.36-b12.stl");
  assert.equal(stl.length, 84 + 50 * stl.readUInt32LE(80), "a binary STL, 50 bytes a facet");
  await page.check('input[name="kind"][value="internal"]');
  await commit(page, "#pair-z2", "60");
  const [ringDownload] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-stl"]')]);
  const ring = fs.readFileSync(await ringDownload.path());
  assert.equal(ringDownload.suggestedFilename(), "involute-internal-z12-z60-m3-x0.6-x0.36-b12.stl");
  // Two gears of 400 teeth: 9 MB, for which the page's memory must grow.
  await page.check('input[name="kind"][value="external"]');
  await commit(page, "#pair-z1", "400");
  await commit(page, "#pair-z2", "400");
  const [bigDownload] = await Promise.all([page.waitForEvent("download"), page.click('[data-action="save-stl"]')]);
  const big = fs.readFileSync(await bigDownload.path());
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
    const dxfFile = path.join(directory, "pair.dxf");
    execFileSync(desktopBinary, ["--teeth", "12,24", "--module", "3", "--pressure-angle", "20", "--shift", "0.6,0.36",
                                 "--dxf", dxfFile]);
    assert.ok(dxf.equals(fs.readFileSync(dxfFile)), "the page's DXF is the desktop's");
    const stlFile = path.join(directory, "pair.stl");
    execFileSync(desktopBinary, ["--teeth", "12,24", "--module", "3", "--pressure-angle", "20", "--shift", "0.6,0.36",
                                 "--face-width", "12", "--stl", stlFile]);
    assert.ok(stl.equals(fs.readFileSync(stlFile)), "the page's STL is the desktop's");
    execFileSync(desktopBinary, ["--pair", "internal", "--teeth", "12,60", "--module", "3", "--pressure-angle", "20",
                                 "--shift", "0.6,0.36", "--face-width", "12", "--stl", stlFile]);
    assert.ok(ring.equals(fs.readFileSync(stlFile)), "the page's ring is the desktop's");
    execFileSync(desktopBinary, ["--teeth", "400,400", "--module", "3", "--pressure-angle", "20", "--shift", "0.6,0.36",
                                 "--face-width", "12", "--stl", stlFile]);
    assert.ok(big.equals(fs.readFileSync(stlFile)), "the page's 400-tooth gears are the desktop's");
  } finally {
    fs.rmSync(directory, { recursive: true, force: true });
  }
});

test("a typed value is taken when committed, never a prefix of it; a refused one is said with the pair shown; wheel and clicker", { timeout: testTimeoutMs }, async () => {
  const page = await openPage(`${server.origin}/involute-gears.html${publishedLink}`);
  await page.waitForFunction(() => Module._webScene() === 7);
  const hash = () => page.evaluate(() => location.hash);
  const pair = () => page.evaluate(() => [Module._webPairEpsilonAlpha(), Module._webPairCentreDistance()]);
  const shown = page.locator("#pair-shown");
  const picture12 = await picture(page);
  const pair12 = await pair(page);
  assert.ok(await shown.isHidden(), "no field refused, nothing to say");

  // "401" typed key by key: "4" and "40" are teeth counts in range, and
  // neither is applied; nor is 401 when committed.
  await page.click("#pair-z1", { clickCount: 3 });
  for (const key of "401") {
    await page.keyboard.press(key);
    assert.deepEqual([await pair(page), await hash(), await picture(page)], [pair12, publishedLink, picture12], `after ${key}`);
  }
  assert.equal(await page.inputValue("#pair-z1"), "401");
  await page.keyboard.press("Enter");
  assert.match(await page.innerText("#pair-z1-error"), /z1 .* whole number from 4 to 400/);
  assert.equal(await page.getAttribute("#pair-z1", "aria-invalid"), "true");
  assert.deepEqual([await pair(page), await hash(), await picture(page)], [pair12, publishedLink, picture12]);
  assert.match(await shown.innerText(), /show the last good pair: z1 = 12, z2 = 24, m = 3 mm, α = 20°, x1 = 0\.6, x2 = 0\.36/);

  // Each of these has a prefix or a rounding that is a good value: -1.5
  // (-1), 1e400 (1), twenty 9s (a whole number in floating point).
  for (const [field, text] of [["x2", "-1.5"], ["module", "1e400"], ["z2", "99999999999999999999"], ["z2", "0x10"]]) {
    await page.fill(`#pair-${field}`, text);
    await page.press(`#pair-${field}`, "Tab");
    assert.notEqual(await page.innerText(`#pair-${field}-error`), "", `${field} = ${text} refused`);
    assert.equal(await page.inputValue(`#pair-${field}`), text, "kept as typed");
    assert.deepEqual([await pair(page), await hash()], [pair12, publishedLink], `${field} = ${text} changed nothing`);
  }
  assert.ok(await shown.isVisible());

  // Good values again: the pair is taken and the panel says nothing more.
  await commit(page, "#pair-x2", "0.36");
  await commit(page, "#pair-module", "3");
  await commit(page, "#pair-z2", "24");
  assert.ok(await shown.isVisible(), "z1 is still refused");
  await commit(page, "#pair-z1", "13");
  assert.ok(await shown.isHidden());
  assert.equal(await hash(), "#teeth=13,24&module=3&angle=20&shift=0.6,0.36&scene=7");
  const pair13 = await pair(page);
  assert.notDeepEqual(pair13, pair12);

  // The wheel over a focused field changes nothing.
  await page.focus("#pair-z1");
  const box = await page.locator("#pair-z1").boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  for (const dy of [-100, -100, 100]) await page.mouse.wheel(0, dy);
  await page.waitForTimeout(100);
  assert.equal(await page.inputValue("#pair-z1"), "13");
  assert.deepEqual(await pair(page), pair13);

  // With the field focused, the clicker's PageDown and PageUp step the
  // scene as d and D; the arrows move the caret and step nothing.
  const drawn = await frames(page);
  const angle = () => page.evaluate(() => /drive angle (\S+) rad/.exec(program.readout(1))[1]);
  const start = await angle();
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.press("ArrowRight");
  assert.equal(await frames(page), drawn);
  await page.keyboard.press("PageDown");
  await page.keyboard.press("PageDown");
  assert.deepEqual([await frames(page), await angle()], [drawn + 2, (Number(start) + 0.02).toFixed(2)]);
  await page.keyboard.press("PageUp");
  assert.deepEqual([await frames(page), await angle()], [drawn + 3, (Number(start) + 0.01).toFixed(2)]);
  assert.equal(await page.evaluate(() => document.activeElement.id), "pair-z1");
  assert.equal(await page.inputValue("#pair-z1"), "13");
  await page.finish();
});

test("a link's values stay as written, good or bad; a refused link stays in the address bar; keys in any case, unknown ones named", { timeout: testTimeoutMs }, async () => {
  // 5 teeth with x1 = 1.5 are pointed: the program refuses the pair.
  const refused = "#teeth=5,24&shift=1.5,0&scene=7";
  const page = await openPage(`${server.origin}/involute-gears.html${refused}`);
  await page.waitForFunction(() => Module._webScene() === 7);
  assert.deepEqual(await fields(page), ["5", "24", "1", "20", "1.5", "0", "", "", "", "", "", "70", "3", "", "right", "ring"]);
  assert.match(await page.innerText("#pair-x1-error"), /pointed/);
  assert.equal(await page.evaluate(() => location.hash), refused, "the link as given");
  assert.match(await numbers(page), /εα\s+= 1\.5115\b/, "the default pair, 10 and 30 teeth, drawn");
  assert.match(await page.innerText("#pair-shown"), /z1 = 10, z2 = 30, m = 1 mm, α = 20°, x1 = 0, x2 = 0/);
  await page.keyboard.press("s");
  assert.equal(await page.evaluate(() => location.hash), refused, "a step is no change");
  // The user's own change ends it: the link then says what is shown.
  await page.click('#real-gears button[data-key="8"]');
  assert.equal(await page.evaluate(() => location.hash), "#teeth=10,30&module=1&angle=20&shift=0,0&scene=8");
  await page.finish();

  // Bad values kept as written; keys in capitals taken; an unknown key named.
  const odd = "#TEETH=12,abc&Module=3&Angle=2O&shift=0.6,0.36&Scene=7&colour=red";
  const other = await openPage(`${server.origin}/involute-gears.html${odd}`);
  await other.waitForFunction(() => Module._webScene() === 7);
  assert.deepEqual(await fields(other), ["12", "abc", "3", "2O", "0.6", "0.36", "", "", "", "", "", "70", "3", "", "right", "ring"]);
  assert.notEqual(await other.innerText("#pair-z2-error"), "");
  assert.notEqual(await other.innerText("#pair-alpha-error"), "");
  assert.match(await other.innerText("#pair-link-error"), /unknown key “colour”/);
  assert.equal(await other.evaluate(() => location.hash), odd);
  // Corrected in the panel, the pair is taken and the link written in full.
  await commit(other, "#pair-z2", "24");
  await commit(other, "#pair-alpha", "20");
  assert.match(await numbers(other), /αw\s+= 26\.0886°/);
  assert.equal(await other.evaluate(() => location.hash), "#teeth=12,24&module=3&angle=20&shift=0.6,0.36&scene=7");
  await other.finish();

  const capitals = await openPage(pathToFileURL(pagePath).href + "#TEETH=12,24&MODULE=3&ANGLE=20&SHIFT=0.6,0.36&SCENE=7");
  await capitals.waitForFunction(() => Module._webScene() === 7);
  assert.match(await numbers(capitals), /αw\s+= 26\.0886°/);
  assert.equal(await capitals.innerText("#pair-link-error"), "");
  await capitals.finish();
});

test("each field refuses exactly what the desktop's option refuses, at both ends of its range", { timeout: testTimeoutMs }, async (t) => {
  if (!desktopBinary) {
    t.diagnostic("no desktop binary (INVOLUTE_GEARS_BINARY, build-test/, build/): nothing to compare with");
    return;
  }
  const page = await openPage(`${server.origin}/involute-gears.html#teeth=30,90&module=2`);
  const table = await page.evaluate(() => JSON.parse(new TextDecoder().decode(
    Module.HEAPU8.subarray(Module._webPairInputs(), Module.HEAPU8.indexOf(0, Module._webPairInputs())))));
  let compared = 0;
  for (const [index, input] of table.entries()) {
    // Not a field of the page, or a choice of words (it offers only good ones).
    if (input.link === null || input.words !== null) continue;
    const kind = input.kinds.includes("external") ? "external" : input.kinds[0];
    const m = 2;
    const scale = input.perModule ? m : 1;
    const step = input.whole ? 1 : 1e-9;
    const texts = [input.lo * scale, input.hi * scale, input.lo * scale - step, input.hi * scale + step]
      .map((v) => String(Number(v.toPrecision(12))));
    if (input.whole) texts.push(`${input.lo + 1}.0`, `1e1`);
    const range = await page.evaluate(([i, mm]) => {
      const at = Module._webPairInputRange(i, mm);
      return new TextDecoder().decode(Module.HEAPU8.subarray(at, Module.HEAPU8.indexOf(0, at)));
    }, [index, input.perModule ? m : 0]);
    const before = await page.inputValue(`#pair-${input.name}`);
    for (const text of texts) {
      await page.check(`input[name="kind"][value="${kind}"]`);
      await page.fill(`#pair-${input.name}`, text);
      await page.press(`#pair-${input.name}`, "Tab");
      const error = await page.innerText(`#pair-${input.name}-error`);
      const pageRefused = error !== "" && !error.includes("の値では歯車ができません");
      // The same value as the desktop's option, the other values as the page has them.
      const given = { teeth: ["30", "90"], shift: ["0", "0"] }[input.option]?.slice() ?? [];
      given[input.slot] = text;
      const option = given.length ? given.join(",") : text;
      let status = 0;
      let stderr = "";
      try {
        execFileSync(desktopBinary, ["--pair", kind, "--teeth", "30,90", "--module", "2",
                                     `--${input.option}`, option, "--report"], { stdio: "pipe" });
      } catch (e) {
        status = e.status;
        stderr = String(e.stderr);
      }
      const desktopRefused = status === 2 && stderr.includes(range);
      assert.equal(pageRefused, desktopRefused, `${input.name} = ${text}: page “${error}”, desktop “${stderr.trim()}”`);
      compared += 1;
    }
    await page.fill(`#pair-${input.name}`, before);
    await page.press(`#pair-${input.name}`, "Tab");
  }
  assert.ok(compared >= 30, `${compared} values compared`);
  await page.finish();
});

// Scene 11 from its link and on v: the readout names the contact the
// picture's title follows, its zetas as the flanks' radii give them
// (external, a sin(alphaW) between the tangent points, u = z2 / z1); the
// panel's plot of zeta1 and zeta2 is an image named by its ends, which
// follow a new pair and match the desktop's --report (or, without its zeta
// lines, the tip ends worked out by hand: E on gear 1's tip circle) and
// prints.
test("scene 11: its key, readout and note; the panel's sliding plot follows the pair, gives the ends and prints", { timeout: testTimeoutMs }, async (t) => {
  const page = await openPage(`${server.origin}/involute-gears.html#teeth=10,30&scene=11`);
  await page.waitForFunction(() => Module._webScene() === 11);
  assert.equal(await page.getAttribute('#real-gears button[data-key="v"]', "aria-pressed"), "true");
  assert.equal(await page.locator('#strip button.in-fullscreen[data-key="v"]').count(), 1, "in the full-screen bar");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="11"]'));
  const degree = Math.PI / 180;
  for (const presses of [0, 7, 40]) {
    for (let i = 0; i < presses; i++) await page.keyboard.press("s");
    const text = await numbers(page);
    const said = text.match(/s = (\d+\.\d{3}) mm from T1, the contact nearest the pitch point; ζ1 = (-?\d+\.\d{3}), ζ2 = (-?\d+\.\d{3})/);
    assert.ok(said, text);
    const title = await page.evaluate(() => program.frameText());
    assert.ok(title.includes(`s=${said[1]}mm zeta1=${said[2]} zeta2=${said[3]}`), title);
    const s = await page.evaluate(() => Module._webSlidingS());
    const rho2 = 20 * Math.sin(20 * degree) - s;  // a = 20 mm
    assert.ok(Math.abs(Number(said[2]) - (1 - rho2 / (3 * s))) < 1e-3 && Math.abs(Number(said[3]) - (1 - 3 * s / rho2)) < 1e-3,
              `${presses}: ${said[0]}`);
  }

  const plot = page.locator('#real-gears svg[data-plot="sliding"]');
  assert.equal(await plot.getAttribute("role"), "img");
  const ends = async () => {
    const name = await plot.getAttribute("aria-label");
    assert.equal(await plot.locator("title").textContent(), name);
    const m = name.match(/ζ1 \(gear 1\) from (\S+) at A to (\S+) at E; ζ2 \(gear 2\) from (\S+) at A to (\S+) at E/);
    assert.ok(m, name);
    return m.slice(1).map((v) => Number(v.replace("−", "-")));
  };
  const labels = await plot.locator("text").allTextContents();
  assert.ok(labels.includes("ζ") && labels.some((l) => /^s, mm from T1/.test(l)) && labels.includes("ζ1 (gear 1)"), labels.join("|"));
  assert.deepEqual(await plot.locator("rect[fill]:not([fill=none])").evaluateAll((r) => r.map((e) => e.getAttribute("fill"))),
                   ["#dcecdc", "#fdedb9", "#dcecdc"], "double, single, double");
  // E on gear 1's tip circle: rho1 = sqrt(ra1^2 - rb1^2).
  const tipEnd = (z1, z2) => {
    const a = (z1 + z2) / 2;
    const E = Math.sqrt((z1 / 2 + 1) ** 2 - (z1 / 2 * Math.cos(20 * degree)) ** 2);
    const rho2 = a * Math.sin(20 * degree) - E;
    return [1 - rho2 / (z2 / z1 * E), 1 - z2 / z1 * E / rho2];
  };
  const first = await ends();
  const [tip1, root2] = tipEnd(10, 30);
  assert.ok(Math.abs(first[1] - tip1) < 1e-3 && Math.abs(first[3] - root2) < 1e-3, `${first} against ${tip1}, ${root2}`);
  const report = desktopBinary ? execFileSync(desktopBinary, ["--teeth", "10,30", "--report"]).toString() : "";
  const reported = ["ζ1_root", "ζ1_tip", "ζ2_tip", "ζ2_root"].map((key) => report.match(new RegExp(`${key}\\s*=\\s*(-?[\\d.]+)`)));
  if (reported.every((m) => m)) {
    assert.deepEqual(first, reported.map((m) => Number(Number(m[1]).toFixed(3))), "the desktop's --report");
  } else {
    t.diagnostic("no zeta lines in the desktop's --report: the ends compared with the program's own numbers");
    const own = await page.evaluate(() => program.slidingCurve(2).ends);
    assert.deepEqual(first, [own.zeta1Root, own.zeta1Tip, own.zeta2Tip, own.zeta2Root].map((v) => Number(v.toFixed(3))));
  }

  // A new pair: the plot follows it at once.
  await commit(page, "#pair-z1", "20");
  const second = await ends();
  const [tip1b, root2b] = tipEnd(20, 30);
  assert.notDeepEqual(second, first);
  assert.ok(Math.abs(second[1] - tip1b) < 1e-3 && Math.abs(second[3] - root2b) < 1e-3, `${second} against ${tip1b}, ${root2b}`);

  await page.addScriptTag({ path: path.join(here, "node_modules/axe-core/axe.min.js") });
  const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`));
  assert.deepEqual(violations, []);
  await page.emulateMedia({ media: "print" });
  const printed = await plot.boundingBox();
  assert.ok(printed && printed.width > 200 && printed.height > 100, `printed ${JSON.stringify(printed)}`);
  await page.finish();
});

// Scene 13 from its link and its key b: the tooth as a beam, its note, the
// followed contact in the readout, and the panel's form and stress
// correction factors and nominal root stresses are the desktop's --report's.
test("scene 13: its key, note and readout; the panel's YF, YS and σF0 are the desktop report's", { timeout: testTimeoutMs }, async (t) => {
  const page = await openPage(`${server.origin}/involute-gears.html#teeth=18,40&module=2&torque=50&scene=13`);
  await page.waitForFunction(() => Module._webScene() === 13);
  assert.equal(await page.getAttribute('#real-gears button[data-key="b"]', "aria-pressed"), "true");
  assert.ok(await page.isVisible('#what-to-notice [data-scene="13"]'));
  for (let i = 0; i < 5; i++) await page.keyboard.press("s");
  const text = await numbers(page);
  assert.ok(/s = \d+\.\d{3} mm from T1: the load on the teeth shown|out of contact now/.test(text), text);
  const shown = {};
  for (const m of text.matchAll(/(YF[12]|YS[12]|σF0_[12]) = (-?\d+\.\d{4})/g)) shown[m[1]] = m[2];
  assert.deepEqual(Object.keys(shown).sort(), ["YF1", "YF2", "YS1", "YS2", "σF0_1", "σF0_2"], text);
  if (desktopBinary) {
    const report = execFileSync(desktopBinary, ["--teeth", "18,40", "--module", "2", "--torque", "50", "--report"]).toString();
    for (const [symbol, value] of Object.entries(shown)) {
      const m = report.match(new RegExp(`\\n\\S+ ${symbol} = (\\S+)`));
      assert.ok(m, `${symbol} in the report`);
      assert.equal(value, m[1], symbol);
    }
  } else {
    t.diagnostic("no desktop program: the panel's numbers are not held against its --report");
  }
  await page.keyboard.press("7");
  await page.keyboard.press("b");
  await page.waitForFunction(() => Module._webScene() === 13);
  await page.finish();

  // A ring's sharp fillet (its cutter's corner) puts its YS beyond ISO
  // 6336-3's range: the panel says so under the ring's YS in the report's
  // words, the pinion's YS unremarked.
  const ring = await openPage(`${server.origin}/involute-gears.html#kind=internal&teeth=20,60&module=2&scene=13`);
  await ring.waitForFunction(() => Module._webScene() === 13);
  const ringText = await numbers(ring);
  const warned = ringText.match(/YS2 = [\d.]+ form and stress correction factors at the root[^\n]*\n⚠ (gear 2's notch parameter [^·]*) ·/);
  assert.ok(warned, ringText);
  assert.ok(!/gear 1's notch parameter/.test(ringText), ringText);
  if (desktopBinary) {
    const report = execFileSync(desktopBinary, ["--pair", "internal", "--teeth", "20,60", "--module", "2", "--report", "--lang", "en"]).toString();
    assert.ok(report.includes(`\nWarning: ${warned[1].trim()}\n`), warned[1]);
  }
  await ring.finish();
});

// Scene 10 on KHK's helical pair (mn = 3, beta = 30 deg, 12 and 60 teeth):
// the readout gives the contact lines' total length L of every frame, as the
// picture's title does; L stays put for a face contact ratio of 1
// (b = pi mn / sin(beta)) and changes as the pair turns for 0.6.
test("scene 10: the contact lines' length L at every frame, constant for εβ = 1, varying for εβ = 0.6; εβ and εγ in the numbers", { timeout: testTimeoutMs }, async () => {
  const lengths = async (width) => {
    const page = await openPage(`${server.origin}/involute-gears.html#teeth=12,60&module=3&helix=30&shift=0.09809,0&width=${width}&torque=50&scene=10`);
    await page.waitForFunction(() => Module._webScene() === 10);
    assert.ok(await page.isVisible('#what-to-notice [data-scene="10"]'));
    const text = await numbers(page);
    // The report's base pitch, the normal pb = π m cos α = 8.8564 mm, not the
    // transverse pbt; and the contact stress the report gives with a torque.
    assert.match(text, /pb\s+= 8\.8564 mm/);
    assert.match(text, /σH_C = \d+\.\d{4} MPa at the pitch point, σH_max = \d+\.\d{4} MPa/);
    const ratios = text.match(/εβ\s+= (\d\.\d{4}), εγ = (\d\.\d{4})/);
    assert.ok(ratios, text);
    const seen = [];
    for (let i = 0; i < 12; i++) {
      await page.keyboard.press("s");
      const said = (await numbers(page)).match(/L = (\d+\.\d{3}) mm of contact lines/);
      assert.ok(said);
      assert.ok((await page.evaluate(() => program.frameText())).includes(`L = ${said[1]} mm`), said[0]);
      seen.push(Number(said[1]));
    }
    await page.finish();
    return { epsilonBeta: Number(ratios[1]), spread: Math.max(...seen) - Math.min(...seen) };
  };
  const whole = await lengths((Math.PI * 3 / Math.sin(Math.PI / 6)).toFixed(4));
  assert.equal(whole.epsilonBeta, 1);
  assert.ok(whole.spread < 0.01, `L spread ${whole.spread} mm at εβ = 1`);
  const part = await lengths((0.6 * Math.PI * 3 / Math.sin(Math.PI / 6)).toFixed(4));
  assert.equal(part.epsilonBeta, 0.6);
  assert.ok(part.spread > 1, `L spread ${part.spread} mm at εβ = 0.6`);
});
