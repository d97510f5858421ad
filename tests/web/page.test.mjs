// The browser build in headless Chromium: the page served over HTTP from
// build-web/, driven by real key, mouse and touch events. The pictures are
// compared with the desktop program's reference frames (tests/reference).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { closeAll, launchChromium, servePage } from "./chromium.mjs";

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, "../..");
const pagePath = process.env.INVOLUTE_WEB_PAGE ?? path.join(root, "build-web/involute-gears.html");
const referenceDir = path.join(root, "tests/reference");
const testTimeoutMs = 180_000;

const windowTitle = "糸の巻き戻しによるインボリュート曲線創成　1,..,6：創成画面変更，d,D:正逆回転，s:継続";
const report = [
  "\n糸の巻き戻しによるインボリュート曲線創成",
  "\n(1) 歯数設定",
  "   歯数z0=4 ",
  "\nモジュールm=1[mm]",
  "\n歯数=  4, 歯先円= 2.000[mm], 歯元円=-0.250[mm], 基礎円= 0.940[mm]",
  "\nピッチ点からの転がり量(αmax αmin)=( 99.24 -26.07)[deg]\n",
  "\n１対歯車のかみ合いアニメーション",
  "\nキーによるアニメーション選択",
  "\n's'        ：描画継続",
  "\n'1' '2' '3'：(1)基礎円固定,(2)基礎円回転，(3)基礎円転がり の選択",
  "\n'4'        ：(4)１歯だけの一対invlute歯車のかみ合い運動の選択",
  "\n'5' '6'    ：１対z歯数歯車かみ合い運動 (5):斜がけ糸あり(6):なしの選択\n",
  "\n'w' 'W'    ：図の縮小拡大",
  "\n'd' 'D'    ：(4),(5),(6)の場合，正逆回転の選択",
].join("");

let server;
let origin;
let browser;

before(async () => {
  server = await servePage(pagePath);
  origin = server.origin;
  browser = await launchChromium();
});

// Closes the browser and the server even when a test has failed.
after(closeAll);

// A fresh page showing the program's first frame. Every request it makes,
// every page error and console error is recorded; `finish` checks them.
async function openPage(options = {}) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 }, acceptDownloads: true, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("console", (message) => {
    if (message.type() === "error" || message.type() === "warning") problems.push(`console: ${message.text()}`);
  });
  page.on("request", (request) => {
    const url = request.url();
    if (!url.startsWith(origin + "/") && !url.startsWith("data:") && !url.startsWith("blob:" + origin)) {
      problems.push(`request outside the page's origin: ${url}`);
    }
  });
  await page.goto(origin + "/involute-gears.html");
  // The column beside the picture is shown after the first frame.
  await page.waitForFunction(() => document.body.dataset.frames === "1" && document.body.dataset.state === "running" &&
                                   document.body.dataset.panels === "shown");
  page.finish = async () => {
    await context.close();
    assert.deepEqual(problems, []);
  };
  return page;
}

const frames = (page) => page.evaluate(() => Number(document.body.dataset.frames));
const readout = (page) => page.textContent("#readout");
// The report box as it is after the page's next animation frame, when the
// output of the keys pressed so far has been put in.
async function reportText(page) {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
  return page.textContent("#report");
}

// Presses the keys of a reference sequence ("1 s*149"): single keys as real
// key events, long runs as key events sent to the page's own handler.
async function pressKeys(page, sequence) {
  for (const token of sequence) {
    const [, key, count] = /^(.)(?:\*(\d+))?$/.exec(token);
    if (count === undefined) {
      await page.keyboard.press(key);
      continue;
    }
    await page.evaluate(([key, count]) => {
      for (let i = 0; i < count; ++i) document.dispatchEvent(new KeyboardEvent("keydown", { key, bubbles: true }));
    }, [key, Number(count)]);
  }
}

// Compares the canvas with a desktop reference picture, allowing 1-pixel
// shifts: every drawn (non-white) pixel of either picture must have a pixel
// of the same colour at most `reach` pixels away in the other. Returns how
// many do not, and the first of them, and how many pixels differ at all in
// the band of the title lines (rows 40 to 99 from the top). A larger canvas
// is read shrunk to 800 x 800 by taking one pixel of each block. In a buffer
// of twice the side the pixel centres fall a quarter window pixel off the
// window's, so where one steep line ends on another the covered pixel
// slides along it by up to two rows: 2-pixel reach there.
function compareWithReference(page, pngFile, reach = 1) {
  const png = fs.readFileSync(pngFile).toString("base64");
  return page.evaluate(async ([base64, reach]) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const image = await createImageBitmap(new Blob([bytes], { type: "image/png" }));
    const pixels = (source) => {
      const canvas = document.createElement("canvas");
      canvas.width = 800;
      canvas.height = 800;
      const context = canvas.getContext("2d");
      context.imageSmoothingEnabled = false;
      context.drawImage(source, 0, 0, 800, 800);
      return context.getImageData(0, 0, 800, 800).data;
    };
    const reference = pixels(image);
    const actual = pixels(document.getElementById("canvas"));
    const same = (a, i, b, j) => a[i] === b[j] && a[i + 1] === b[j + 1] && a[i + 2] === b[j + 2];
    const nearby = (a, b, x, y) => {
      for (let dy = -reach; dy <= reach; ++dy) {
        for (let dx = -reach; dx <= reach; ++dx) {
          const nx = x + dx;
          const ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < 800 && ny < 800 && same(a, 4 * (y * 800 + x), b, 4 * (ny * 800 + nx))) return true;
        }
      }
      return false;
    };
    let unmatched = 0;
    let first = null;
    let titleBand = 0;
    for (let y = 0; y < 800; ++y) {
      for (let x = 0; x < 800; ++x) {
        const i = 4 * (y * 800 + x);
        if (same(actual, i, reference, i)) continue;
        if (y >= 40 && y < 100) titleBand += 1;
        const white = (a) => a[i] === 255 && a[i + 1] === 255 && a[i + 2] === 255;
        if ((white(actual) || nearby(actual, reference, x, y)) && (white(reference) || nearby(reference, actual, x, y))) {
          continue;
        }
        unmatched += 1;
        first ??= { x, y, canvas: Array.from(actual.slice(i, i + 3)), reference: Array.from(reference.slice(i, i + 3)) };
      }
    }
    return { unmatched, first, titleBand };
  }, [png, reach]);
}

function referenceFrames() {
  return fs.readFileSync(path.join(referenceDir, "frames.txt"), "utf8")
    .split("\n")
    .filter((line) => line.trim() !== "" && !line.startsWith("#"))
    .map((line) => {
      const [name, ...keys] = line.trim().split(/\s+/);
      return { name, keys };
    })
    // The page starts without pair options; frames of a program started
    // with them are for the desktop's test.
    .filter(({ keys }) => !keys.some((token) => token.startsWith("--")));
}

test("the page starts: size, its parts, title, the exact report, and again after z", { timeout: testTimeoutMs }, async () => {
  // Of the page's scripts (their code, comment lines left out as the build
  // does), one calls the program's functions and reads its memory, and the
  // parts hear of frames only from program.js (page.watchFrames).
  const partsDir = path.join(root, "web/page");
  const callers = [];
  for (const name of fs.readdirSync(partsDir).filter((file) => file.endsWith(".js")).sort()) {
    const code = fs.readFileSync(path.join(partsDir, name), "utf8").replace(/^[ \t]*\/\/.*$/gm, "");
    // Module._web…, Module.HEAPU8 and emscripten's globals of the same (_webKey, HEAPU8);
    // Module itself is named only where it is made.
    if (/\b_web[A-Z]|\bHEAP[A-Z0-9]|\bModule\s*\[/.test(code) || (name !== "module.js" && /\bModule\b/.test(code))) {
      callers.push(name);
    }
    if (name !== "program.js" && name !== "module.js") {
      assert.doesNotMatch(code, /onFrameDrawn|data-frames|dataset\.frames/, `${name} hears of frames its own way`);
    }
  }
  assert.deepEqual(callers, ["program_calls.js"], "only program_calls.js calls the program");
  // The budget of the one download, 300 KB, which the wasm kept in base64
  // as it is (two thirds of the page) broke; bench/web_bench.mjs measures
  // what the size costs at start-up against a blank WebGL page of the same
  // size. The wasm is there gzipped: no data: URL of plain wasm is left.
  const bytes = fs.statSync(pagePath).size;
  assert.ok(bytes <= 300_000, `the page is ${bytes} bytes, over 300 KB`);
  const html = fs.readFileSync(pagePath, "utf8");
  assert.doesNotMatch(html, /base64,AGFzbQ/, "no plain wasm inline");
  // Gzip's magic 1f 8b 08 in base64 ("H4sI"), nothing else in the element
  // (the browser's base64 decoder takes it as it is), and the notes the same.
  assert.match(html, /<script type="application\/gzip" id="program-code">H4sI[A-Za-z0-9+/]+={0,2}<\/script>/,
               "the wasm gzipped, in base64");
  assert.match(html, /<script type="application\/gzip" id="notes-code" data-html>H4sI[A-Za-z0-9+/]+={0,2}<\/script>/,
               "What to notice gzipped, in base64");
  // No character beyond Latin-1 anywhere: one would make the browser decode
  // the whole page into two bytes a character before its first frame. The
  // Japanese is there as character references and \u escapes, and reads
  // as written (the heading here; the panel's messages in pair.test.mjs).
  assert.doesNotMatch(html, /[^\x00-\xff]/, "the page's text one byte a character");
  const fromDisk = await browser.newPage();
  await fromDisk.goto(pathToFileURL(pagePath).href);
  // The program names the window in the task after its first frame.
  await fromDisk.waitForFunction((title) => document.body.dataset.frames === "1" && document.title === title, windowTitle);
  await fromDisk.close();

  const page = await openPage();
  assert.equal(await page.title(), windowTitle);
  assert.equal(await page.$eval("h1", (h) => h.textContent), "Involute gears · インボリュート歯車");
  assert.equal(await reportText(page), report);
  assert.match(await readout(page), /scene 1:[^]*table index 1 of 400[^]*0\.01 rad = 0\.6°[^]*0\.009 mm[^]*viewScale 0\.500/);
  await page.keyboard.press("z");
  assert.equal(await reportText(page), report + report);
  assert.equal(await frames(page), 1, "z draws nothing");
  const shownSize = () => page.$eval("#canvas", (c) => [c.clientWidth, c.clientHeight]);
  assert.deepEqual(await shownSize(), [800, 800], "1:1 where there is room");
  await page.setViewportSize({ width: 390, height: 844 });
  // The page fits itself when the browser reports the resize, a frame or two later.
  await page.waitForFunction(() => document.getElementById("canvas").clientWidth <= 390);
  const [width, height] = await shownSize();
  assert.ok(width <= 390 && width === height, `scaled down with its aspect: ${width} x ${height}`);
  await page.finish();
});

test("after the same keys the canvas shows the desktop's picture, and one step more does not", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  const oneStepTooMany = new Set(["scene1-middle", "scene3-middle", "scene5-middle"]);
  for (const { name, keys } of referenceFrames()) {
    // Loaded afresh from the address without a fragment: the page may have
    // written the scene into the fragment, which it would go to again.
    await page.goto(origin + "/involute-gears.html");
    await page.waitForFunction(() => document.body.dataset.frames === "1" && document.body.dataset.state === "running");
    await pressKeys(page, keys);
    const result = await compareWithReference(page, path.join(referenceDir, `${name}.png`));
    assert.equal(result.unmatched, 0, `${name}: ${JSON.stringify(result.first)}`);
    // Where no curve crosses them, the titles match exactly, colour included.
    if (/^(program-start|scene1-|scene[23]-(first|zero|end))/.test(name)) {
      assert.equal(result.titleBand, 0, `${name}: title pixels differ`);
    }
    if (oneStepTooMany.has(name)) {
      await page.keyboard.press("s");
      const further = await compareWithReference(page, path.join(referenceDir, `${name}.png`));
      assert.ok(further.unmatched > 0, `${name}: one more step looks the same`);
    }
  }
  await page.finish();
});

test("a 1600-px drawing buffer shows the same frame twice as large, without a step; saving at 800 gives the desktop's", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  const reference = path.join(referenceDir, "scene1-middle.png");
  await pressKeys(page, ["1", "s*149"]);
  // Pixels that are not white, counted in the whole drawing buffer.
  const ink = () => page.evaluate(() => {
    const source = document.getElementById("canvas");
    const canvas = document.createElement("canvas");
    canvas.width = source.width;
    canvas.height = source.height;
    const context = canvas.getContext("2d");
    context.drawImage(source, 0, 0);
    const data = context.getImageData(0, 0, canvas.width, canvas.height).data;
    let count = 0;
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] !== 255 || data[i + 1] !== 255 || data[i + 2] !== 255) count += 1;
    }
    return count;
  });
  const inkAt800 = await ink();
  assert.equal(await page.evaluate(() => Module._webSetBufferSide(1600)), 1600);
  assert.deepEqual(await page.$eval("#canvas", (c) => [c.width, c.height]), [1600, 1600]);
  assert.equal(await page.evaluate(() => Module._webBufferSide()), 1600);
  assert.equal(await frames(page), 151, "a new size redraws without a step");
  // Every title bit a 2 x 2 block, so shrunk back the titles are exact;
  // lines twice as wide and long, so four times the ink.
  const shrunk = await compareWithReference(page, reference, 2);
  assert.equal(shrunk.unmatched, 0, JSON.stringify(shrunk.first));
  assert.equal(shrunk.titleBand, 0, "title pixels differ");
  const ratio = (await ink()) / inkAt800;
  assert.ok(ratio > 3.9 && ratio < 4.1, `ink at 1600 px / ink at 800 px: ${ratio}`);

  // The page's save: 800 px, the PNG, the shown size back, in one task.
  const saved = await page.evaluate(() => {
    const shown = Module._webBufferSide();
    Module._webSetBufferSide(800);
    const url = document.getElementById("canvas").toDataURL("image/png");
    Module._webSetBufferSide(shown);
    return url;
  });
  assert.equal(await page.$eval("#canvas", (c) => c.width), 1600);
  await page.evaluate(() => Module._webSetBufferSide(800));
  assert.equal(await page.$eval("#canvas", (c) => c.toDataURL("image/png")), saved);
  const result = await compareWithReference(page, reference);
  assert.deepEqual([result.unmatched, result.titleBand], [0, 0], JSON.stringify(result.first));
  assert.equal(await frames(page), 151);
  await page.finish();
});

test("keys as typed: W from Caps Lock enlarges, an unknown key draws nothing", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  // Caps Lock gives key "W" without Shift; the character decides.
  await page.evaluate(() => document.dispatchEvent(new KeyboardEvent("keydown", { key: "W", bubbles: true })));
  assert.match(await readout(page), /viewScale 0\.556/);
  await page.keyboard.press("q");
  await page.keyboard.press("ArrowUp");
  await page.keyboard.press("F2");
  assert.equal(await frames(page), 2);
  await page.finish();
});

test("buttons: a tap acts once, a held button repeats until released or left", { timeout: testTimeoutMs }, async () => {
  const page = await openPage({ hasTouch: true });
  await page.tap('button[data-key="s"]');
  assert.equal(await frames(page), 2);
  assert.match(await readout(page), /table index 2 of 400/);

  const button = page.locator('button[data-key="d"]');
  const box = await button.boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await page.waitForTimeout(1000);
  await page.mouse.up();
  const afterHold = await frames(page);
  assert.ok(afterHold >= 3 + 10, `held for 1 s: ${afterHold - 2} frames`);
  await page.waitForTimeout(300);
  assert.equal(await frames(page), afterHold, "the repeat stops on release");

  await page.mouse.down();
  await page.waitForTimeout(700);
  await page.mouse.move(box.x + box.width / 2, box.y - 200);
  const afterLeave = await frames(page);
  await page.waitForTimeout(300);
  assert.equal(await frames(page), afterLeave, "the repeat stops when the pointer leaves");
  await page.mouse.up();
  await page.finish();
});

test("Save picture downloads the frame as an 800 x 800 PNG, Save large picture as 2400 x 2400; neither moves anything", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  await pressKeys(page, ["3", "s*20"]);
  const picture = () => page.evaluate(() => document.getElementById("canvas").toDataURL());
  const before = await picture();
  // The file's name and its picture's width and height, from the PNG's
  // header (the IHDR chunk, first after the 8-byte signature).
  const save = async (action) => {
    const [download] = await Promise.all([page.waitForEvent("download"), page.click(`button[data-action="${action}"]`)]);
    const png = fs.readFileSync(await download.path());
    assert.deepEqual([...png.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a], `${action}: a PNG`);
    assert.equal(png.subarray(12, 16).toString(), "IHDR");
    return [download.suggestedFilename(), png.readUInt32BE(16), png.readUInt32BE(20)];
  };
  assert.deepEqual(await save("save"), ["involute-gears-scene3.png", 800, 800]);
  assert.deepEqual(await save("save-large"), ["involute-gears-scene3-2400.png", 2400, 2400]);
  assert.equal(await frames(page), 22);
  assert.equal(await picture(), before, "the canvas is unchanged");
  await page.finish();
});

test("Esc ends the program: the page says so, later keys do nothing; Start again is a fresh start in place, the pair kept", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  const firstPicture = await page.$eval("#canvas", (c) => c.toDataURL());
  const startReport = await reportText(page);
  await page.fill("#pair-z1", "20");
  await page.press("#pair-z1", "Enter");
  await page.focus("#canvas");
  await pressKeys(page, ["5", "W", "d", "d"]);
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.body.dataset.state === "ended");
  assert.match(await page.textContent("#notice"), /ended/);
  assert.ok(await page.isVisible("#notice"));
  await page.keyboard.press("s");
  await page.locator('#strip button[data-key="s"]').dispatchEvent("pointerdown");
  assert.equal(await frames(page), 5);
  assert.ok(await page.isDisabled('button[data-key="1"]'));
  assert.ok(await page.isDisabled("#pair-z1"));

  // Start again: scene 1 with its first frame, the start-up report printed
  // again, zoom 0.5, no direction chosen; the page is not reloaded and the
  // panel's pair is still the program's.
  const restart = page.locator('#notice [data-action="restart"]');
  assert.ok(await restart.isVisible());
  await restart.click();
  await page.waitForFunction(() => document.body.dataset.state === "running" && document.body.dataset.frames === "6");
  assert.ok(await page.isHidden("#notice"));
  assert.equal(await page.$eval("#canvas", (c) => c.toDataURL()), firstPicture, "the first frame again");
  assert.deepEqual(await page.evaluate(() => [Module._webScene(), /table index 1 of 400\n[^]*viewScale 0\.500 /.test(program.readout(1))]), [1, true]);
  assert.equal(await reportText(page), startReport + startReport, "the start-up report again, after the first");
  assert.equal(await page.$$eval('#strip [aria-pressed="true"]', (b) => b.map((x) => x.dataset.key).join("")), "1");
  // 20 and 30 teeth, m = 1, x = 0: ga = 5.7183 + 7.5710 - 25 sin 20° = 4.7388 mm, pb = pi cos 20° = 2.9521 mm.
  assert.equal(await page.evaluate(() => Module._webPairEpsilonAlpha().toFixed(4)), "1.6052", "20 and 30 teeth kept");
  assert.equal(await page.inputValue("#pair-z1"), "20");
  assert.ok(await page.isEnabled("#pair-z1"));
  assert.equal(await page.evaluate(() => document.activeElement.id), "canvas");
  await page.keyboard.press("d");
  assert.equal(await frames(page), 7, "keys work again");
  assert.match(await readout(page), /table index 2 of 400/);
  // Ended and started again, as often as wanted.
  await page.keyboard.press("Escape");
  await page.click('#notice [data-action="restart"]');
  await page.waitForFunction(() => document.body.dataset.state === "running" && document.body.dataset.frames === "8");
  await page.finish();
});

test("a lost WebGL context comes back with its picture, one step on, as an uncovered window", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  await pressKeys(page, ["3", "s*98"]);
  await page.evaluate(async () => {
    const canvas = document.getElementById("canvas");
    const loser = canvas.getContext("webgl").getExtension("WEBGL_lose_context");
    const event = (name) => new Promise((resolve) => canvas.addEventListener(name, resolve, { once: true }));
    const lost = event("webglcontextlost");
    loser.loseContext();
    await lost;
    // Restoring is allowed once the lost event has been fully dispatched.
    await new Promise((resolve) => setTimeout(resolve, 0));
    const restored = event("webglcontextrestored");
    loser.restoreContext();
    await restored;
  });
  assert.equal(await frames(page), 101);
  const result = await compareWithReference(page, path.join(referenceDir, "scene3-middle.png"));
  assert.equal(result.unmatched, 0, JSON.stringify(result.first));
  await page.finish();
});

// Where the picture and the d, D and s buttons are, in CSS px of the
// viewport with nothing scrolled, and the drawing buffer's side.
function placement(page) {
  return page.evaluate(() => {
    window.scrollTo(0, 0);
    const box = (element) => {
      const r = element.getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, width: r.width, height: r.height };
    };
    const canvas = document.getElementById("canvas");
    return {
      width: document.documentElement.clientWidth,
      height: window.innerHeight,
      side: canvas.clientWidth,
      buffer: [canvas.width, canvas.height],
      boxes: {
        picture: box(canvas),
        d: box(document.querySelector('#strip [data-key="d"]')),
        D: box(document.querySelector('#strip [data-key="D"]')),
        s: box(document.querySelector('#strip [data-key="s"]')),
      },
    };
  });
}

// The picture whole on the screen with d, D and s beside or under it, none
// overlapping, each button at least 44 x 44; returns the picture's side.
function assertFits(where, { width, height, side, boxes }) {
  const names = Object.keys(boxes);
  for (const name of names) {
    const b = boxes[name];
    assert.ok(b.left >= 0 && b.top >= 0 && b.right <= width && b.bottom <= height,
              `${where}: ${name} is cut at ${JSON.stringify(b)} in ${width} x ${height}`);
    if (name !== "picture") assert.ok(b.width >= 44 && b.height >= 44, `${where}: ${name} is ${b.width} x ${b.height}`);
  }
  for (let i = 0; i < names.length; ++i) {
    for (let j = i + 1; j < names.length; ++j) {
      const a = boxes[names[i]];
      const b = boxes[names[j]];
      const apart = a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
      assert.ok(apart, `${where}: ${names[i]} and ${names[j]} overlap`);
    }
  }
  return side;
}

test("the picture with d, D and s fits every screen: as large as it can be, 800 px where there is room", { timeout: testTimeoutMs }, async () => {
  const phone = { isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
  const screens = [
    // [viewport, options, smallest picture side]: the short side less the margins
    [{ width: 360, height: 740 }, phone, 340],
    [{ width: 320, height: 568 }, phone, 300],
    [{ width: 740, height: 360 }, phone, 340],
    [{ width: 1366, height: 650 }, {}, 630],
    [{ width: 1024, height: 768 }, {}, 730],
  ];
  for (const [viewport, options, smallest] of screens) {
    const page = await openPage({ viewport, ...options });
    const where = `${viewport.width} x ${viewport.height}`;
    const shown = await placement(page);
    const side = assertFits(where, shown);
    assert.ok(side >= smallest, `${where}: the picture is ${side} px`);
    const dpr = options.deviceScaleFactor ?? 1;
    assert.deepEqual(shown.buffer, [side * dpr, side * dpr], `${where}: one buffer pixel per screen pixel`);
    await page.finish();
  }
  // Where 800 px fits beside the column, the picture is the program's
  // window, no larger: on a large screen too.
  for (const viewport of [{ width: 1280, height: 1000 }, { width: 1920, height: 1080 }, { width: 2560, height: 1440 }]) {
    const page = await openPage({ viewport });
    const shown = await placement(page);
    const where = `${viewport.width} x ${viewport.height}`;
    assert.equal(assertFits(where, shown), 800, where);
    assert.deepEqual(shown.buffer, [800, 800], where);
    await page.finish();
  }
});

test("at a device pixel ratio of 2 the buffer has twice the side and shows the same picture", { timeout: testTimeoutMs }, async () => {
  const laptop = await openPage({ viewport: { width: 1366, height: 650 }, deviceScaleFactor: 2 });
  const shown = await placement(laptop);
  assertFits("1366 x 650 at 200 %", shown);
  assert.deepEqual(shown.buffer, [2 * shown.side, 2 * shown.side]);
  await laptop.finish();

  // The first frame drawn straight into the page's own 1600-px buffer.
  const page = await openPage({ deviceScaleFactor: 2 });
  assert.deepEqual((await placement(page)).buffer, [1600, 1600]);
  const result = await compareWithReference(page, path.join(referenceDir, "program-start.png"), 2);
  assert.deepEqual([result.unmatched, result.titleBand], [0, 0], JSON.stringify(result.first));
  await page.finish();
});

test("full screen: the picture on the screen's smaller side, clicker keys step, Esc only leaves, then ends", { timeout: testTimeoutMs }, async () => {
  const page = await openPage({ viewport: { width: 1366, height: 650 }, deviceScaleFactor: 2 });
  const before = await placement(page);
  await page.click('[data-action="fullscreen"]');
  await page.waitForFunction(() => document.fullscreenElement !== null && document.body.classList.contains("fullscreen"));
  const full = await placement(page);
  assert.equal(assertFits("full screen", full), 650);
  assert.deepEqual(full.buffer, [1300, 1300], "the buffer at the screen's pixels");
  assert.equal(await frames(page), 1, "a new size redraws without a step");

  // A presentation clicker sends PageDown and PageUp, a keyboard → and ←.
  const pressed = () => page.$$eval("#strip [data-key]", (buttons) =>
    buttons.filter((b) => b.getAttribute("aria-pressed") === "true").map((b) => b.dataset.key).join(""));
  await page.keyboard.press("4");
  await page.keyboard.press("PageDown");
  await page.keyboard.press("ArrowRight");
  assert.match(await readout(page), /drive angle 0\.03 rad/);
  assert.equal(await pressed(), "4d");
  await page.keyboard.press("PageUp");
  await page.keyboard.press("ArrowLeft");
  assert.match(await readout(page), /drive angle 0\.01 rad/);
  assert.equal(await pressed(), "4D");
  assert.equal(await frames(page), 6);

  // The bar holds every key the page has, the pair's scenes too, each a
  // 44-px square or more on the screen; 7 and 8 work from it.
  const bar = await page.$$eval("#strip button", (buttons) => buttons.map((b) => {
    const r = b.getBoundingClientRect();
    return { key: b.dataset.key ?? b.dataset.action, w: r.width, h: r.height, x: r.x, y: r.y,
             shown: r.width > 0 && r.right <= innerWidth && r.bottom <= innerHeight };
  }).filter((b) => b.shown));
  assert.deepEqual(bar.map((b) => b.key), ["1", "2", "3", "4", "5", "6", "d", "D", "s", "w", "W", "z", "7", "8", "9", "h", "v", "p", "b", "fullscreen"]);
  assert.ok(bar.every((b) => b.w >= 44 && b.h >= 44), JSON.stringify(bar));
  assert.ok(bar.every((b) => b.x >= 650), "beside the picture, over none of it");
  await page.click('#strip button[data-key="7"]');
  assert.deepEqual([await page.evaluate(() => Module._webScene()), await pressed()], [7, "d7"]);
  await page.click('#strip button[data-key="8"]');
  assert.deepEqual([await page.evaluate(() => Module._webScene()), await pressed()], [8, "d8"]);
  assert.equal(await frames(page), 8);

  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.fullscreenElement === null && !document.body.classList.contains("fullscreen"));
  assert.equal(await page.evaluate(() => document.body.dataset.state), "running", "Esc in full screen only leaves it");
  const after = await placement(page);
  assert.deepEqual([after.side, after.buffer], [before.side, before.buffer]);
  assert.equal(await frames(page), 8);
  await page.keyboard.press("PageDown");
  assert.equal(await frames(page), 9, "the clicker keys work outside full screen too");
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.body.dataset.state === "ended");
  await page.finish();

  // A browser without the Fullscreen API (the iPhone's): the page fills the
  // window itself, and its button leaves again.
  const context = await browser.newContext({ viewport: { width: 390, height: 664 }, isMobile: true, hasTouch: true,
                                             deviceScaleFactor: 3 });
  await context.addInitScript(() => {
    delete Element.prototype.requestFullscreen;
    delete Element.prototype.webkitRequestFullscreen;
  });
  const phone = await context.newPage();
  await phone.goto(origin + "/involute-gears.html");
  await phone.waitForFunction(() => document.body.dataset.frames === "1" && document.body.dataset.state === "running" && document.body.dataset.panels === "shown");
  await phone.tap('[data-action="fullscreen"]');
  const filled = await placement(phone);
  assert.equal(assertFits("the window filled", filled), 390);
  assert.deepEqual(filled.buffer, [1170, 1170]);
  await phone.tap('[data-action="fullscreen"]');
  assert.equal(await phone.evaluate(() => document.body.classList.contains("fullscreen")), false);
  assert.ok((await placement(phone)).side < 390);
  await context.close();
});

test("axe finds no accessibility violation on a phone and a desktop: at start, in scene 5, after Esc", { timeout: testTimeoutMs }, async () => {
  const axe = path.join(here, "node_modules/axe-core/axe.min.js");
  const violations = async (page, when) => {
    if (!(await page.evaluate(() => "axe" in window))) await page.addScriptTag({ path: axe });
    const found = await page.evaluate(async () => (await window.axe.run(document)).violations
      .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`));
    return found.map((text) => `${when}: ${text}`);
  };
  for (const options of [{ viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true }, {}]) {
    const page = await openPage(options);
    const where = `${(options.viewport ?? { width: 1280 }).width} px`;
    const found = await violations(page, `${where}, at start`);
    await pressKeys(page, ["5", "s*10"]);
    found.push(...await violations(page, `${where}, scene 5`));
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => document.body.dataset.state === "ended");
    found.push(...await violations(page, `${where}, ended`));
    assert.deepEqual(found, []);
    await page.finish();
  }
});

test("start-up forces no layout: the page is laid out when the browser is ready, not when a script asks", { timeout: testTimeoutMs }, async () => {
  const context = await browser.newContext({ viewport: { width: 1366, height: 650 } });
  const page = await context.newPage();
  const trace = await context.newCDPSession(page);
  const events = [];
  trace.on("Tracing.dataCollected", ({ value }) => events.push(...value));
  const complete = new Promise((resolve) => trace.once("Tracing.tracingComplete", resolve));
  // With stacks, a layout that a script forced names the script's line; the
  // page's own performance marks are in the trace too.
  await trace.send("Tracing.start", {
    categories: "devtools.timeline,disabled-by-default-devtools.timeline.stack,blink.user_timing",
    transferMode: "ReportEvents",
  });
  const url = origin + "/involute-gears.html";
  await page.goto(url);
  // Start-up is over when the page shows the column beside the first frame
  // (its "panels-shown" mark): the layouts after it, whenever they come,
  // are not start-up's.
  await page.waitForFunction(() => document.body.dataset.panels === "shown");
  await trace.send("Tracing.end");
  await complete;
  const mark = (name) => events.find((e) => e.name === name && e.cat.includes("blink.user_timing"));
  const [firstFrame, shown] = [mark("first-frame"), mark("panels-shown")];
  assert.ok(firstFrame && shown && firstFrame.ts < shown.ts, "the page's marks are in the trace, in order");
  const startUp = events.filter((e) => e.name === "Layout" && e.pid === shown.pid && e.ts < shown.ts);
  assert.ok(startUp.length > 0, "the browser laid the page out during start-up");
  const forced = startUp
    .filter((e) => e.args?.beginData?.stackTrace?.[0]?.url === url)
    .map((e) => `${e.args.beginData.stackTrace[0].functionName || "(script)"} at line ${e.args.beginData.stackTrace[0].lineNumber + 1}`);
  assert.deepEqual(forced, []);
  await context.close();
});

// What the picture shows, found from its pixels (read at 800 x 800): "plane",
// the distance in px between the first and last grey edge crossing the
// picture's middle column (scene 10's rectangle); "sections", the length in px
// of the purple line in the upper and the lower half (scene 13's critical
// sections); "hubs", the distances in px from the grey disc nearest the
// middle to each other grey disc (scene 12's carrier).
function findInPicture(page, what) {
  return page.evaluate((what) => {
    const canvas = document.createElement("canvas");
    canvas.width = canvas.height = 800;
    const context = canvas.getContext("2d");
    context.imageSmoothingEnabled = false;
    context.drawImage(document.getElementById("canvas"), 0, 0, 800, 800);
    const d = context.getImageData(0, 0, 800, 800).data;
    const is = (x, y, [r, g, b]) => {
      const i = 4 * (y * 800 + x);
      return Math.abs(d[i] - r) + Math.abs(d[i + 1] - g) + Math.abs(d[i + 2] - b) <= 12;
    };
    const grey = [140, 140, 140];
    if (what === "plane") {
      const runs = [];  // [first, last] rows of each grey run down the middle column
      for (let y = 0; y < 800; ++y) {
        if (!is(400, y, grey)) continue;
        if (runs.length && runs[runs.length - 1][1] === y - 1) runs[runs.length - 1][1] = y;
        else runs.push([y, y]);
      }
      const middle = (run) => (run[0] + run[1]) / 2;
      return runs.length >= 2 ? middle(runs[runs.length - 1]) - middle(runs[0]) : -1;
    }
    if (what === "sections") {
      return [[0, 444], [444, 800]].map(([from, to]) => {
        let low = 800, high = -1;
        for (let y = from; y < to; ++y) {
          for (let x = 0; x < 800; ++x) {
            if (is(x, y, [140, 0, 166])) { low = Math.min(low, x); high = Math.max(high, x); }
          }
        }
        return high - low + 1;
      });
    }
    // Hubs: grey pixels whose 5 x 5 neighbourhood is all grey (a disc's
    // inside, never a line's), gathered into discs.
    const discs = [];
    for (let y = 2; y < 798; ++y) {
      for (let x = 2; x < 798; ++x) {
        let inside = true;
        for (let dy = -2; dy <= 2 && inside; ++dy) for (let dx = -2; dx <= 2 && inside; ++dx) inside = is(x + dx, y + dy, grey);
        if (!inside) continue;
        const disc = discs.find((c) => Math.hypot(c.x / c.n - x, c.y / c.n - y) < 10);
        if (disc) { disc.x += x; disc.y += y; disc.n += 1; } else discs.push({ x, y, n: 1 });
      }
    }
    const centres = discs.map((c) => [c.x / c.n, c.y / c.n]);
    const near = (p) => Math.hypot(p[0] - 400, p[1] - 400);
    const middle = centres.reduce((best, p) => (near(p) < near(best) ? p : best), centres[0]);
    return centres.filter((p) => p !== middle).map((p) => Math.hypot(p[0] - middle[0], p[1] - middle[1]));
  }, what);
}

test("the scale readout gives CSS px per mm as drawn, in every scene and at every picture size", { timeout: testTimeoutMs }, async () => {
  const scale = async (page) => Number(/1 mm = ([\d.]+) px/.exec(await readout(page))[1]);
  const page = await openPage();  // 1280 x 1000: the picture is 800 CSS px, the program's window
  assert.equal(await scale(page), 200.0, "scenes 1 to 6: viewScale 0.5 x 400 px per window unit");
  await page.keyboard.press("W");
  assert.equal(await scale(page), 222.2, "0.5 / 0.9 x 400");
  await page.keyboard.press("5");
  assert.equal(await scale(page), 222.2);
  await page.keyboard.press("w");
  // Scene 7 fits the default pair (10 and 30 teeth, m = 1) in 1.5 window
  // units from gear 1's tip to gear 2's: a + ra1 + ra2 = 20 + 6 + 16 mm.
  await page.keyboard.press("7");
  assert.equal(await scale(page), 14.3, "1.5 / 42 x 400");
  await page.keyboard.press("W");
  assert.equal(await scale(page), 15.9, "1.5 / 42 x 400 / 0.9");
  // Scene 8: three reference pitches (3 pi m) across the window's 2 units.
  await page.keyboard.press("w");
  await page.keyboard.press("8");
  assert.equal(await scale(page), 84.9, "2 / (3 pi) x 400");

  // Scenes 10, 12 and 13: a length of the model found in the picture's pixels
  // (800 CSS px here, the program's window) is that length times the
  // readout's px per mm, to within the pixels' rounding.
  // Scene 10: the plane of action's rectangle is the face width b = 10 m =
  // 10 mm high (the width left out): the distance of its grey edges.
  await page.keyboard.press("h");
  const edges = await findInPicture(page, "plane");
  assert.ok(Math.abs(edges - 10 * await scale(page)) <= 2, `scene 10: edges ${edges} px apart, ${await readout(page)}`);
  // Scene 13: each tooth's critical section, drawn purple, is the report's
  // sFn long at that tooth's own scale.
  await page.keyboard.press("b");
  const sections = await findInPicture(page, "sections");
  const sFn = await page.evaluate(() => program.pairReport(0).filter((l) => /^sFn[12]$/.test(l.symbol)).map((l) => Number(l.value)));
  const toothScales = /1 mm = ([\d.]+) px tooth 1, ([\d.]+) px tooth 2\)/.exec(await readout(page));
  assert.ok(toothScales && sFn.length === 2, await readout(page));
  for (const g of [0, 1]) {
    assert.ok(Math.abs(sections[g] - sFn[g] * Number(toothScales[g + 1])) <= 2,
              `scene 13, gear ${g + 1}: sFn ${sFn[g]} mm drawn ${sections[g]} px, ${toothScales[0]}`);
  }
  // Scene 12: the carrier's hubs, the set's centre and each planet's, are
  // the centre distance a apart.
  await page.evaluate(() => {
    location.hash = "#kind=planetary&teeth=12,24,63&module=3&angle=20&shift=0.6,0.36&planets=3&fixed=carrier&scene=12";
  });
  await page.waitForFunction(() => program.scene() === 12);
  const hubs = await findInPicture(page, "hubs");
  const a = await page.evaluate(() => program.setNumbers().a);
  assert.ok(hubs.length >= 3, `scene 12: ${hubs.length} planets' hubs`);
  for (const d of hubs) assert.ok(Math.abs(d - a * await scale(page)) <= 2, `scene 12: hubs ${d} px apart, a = ${a} mm`);
  await page.finish();

  // On a phone the picture is smaller, and so is a mm on it.
  const phone = await openPage({ viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 });
  const side = await phone.$eval("#canvas", (c) => c.clientWidth);
  assert.equal(await scale(phone), Number((200 * side / 800).toFixed(1)));
  await phone.keyboard.press("7");
  assert.equal(await scale(phone), Number((1.5 / 42 * 400 * side / 800).toFixed(1)));
  await phone.finish();
});

test("phones: the title readable, every key button saying what it does, Real gears with the picture in view; 320 x 180", { timeout: testTimeoutMs }, async () => {
  const phone = { isMobile: true, hasTouch: true, deviceScaleFactor: 3 };
  for (const viewport of [{ width: 360, height: 740 }, { width: 740, height: 360 }, { width: 320, height: 568 }]) {
    const where = `${viewport.width} x ${viewport.height}`;
    const page = await openPage({ viewport, ...phone });
    // The picture's capitals are 13 of its 800 window px: under 8 CSS px
    // here, so the titles are there as text, 11 CSS px or more, on the screen.
    const title = await page.evaluate(() => {
      const p = document.getElementById("picture-title");
      const r = p.getBoundingClientRect();
      return { text: p.innerText, size: parseFloat(getComputedStyle(p).fontSize), onScreen: r.height > 0 && r.bottom <= innerHeight,
               side: document.getElementById("canvas").clientWidth };
    });
    assert.ok(title.side * 13 / 800 < 8, `${where}: a picture of ${title.side} px`);
    assert.equal(title.text, "(1) involute generation(base circle fixed)");
    assert.ok(title.size >= 11 && title.onScreen, `${where}: ${JSON.stringify(title)}`);
    // Every key button: at least 44 x 44, its key and a word for what it does, shown.
    const buttons = await page.$$eval("#strip button", (list) => list.filter((b) => b.offsetParent !== null).map((b) => {
      const r = b.getBoundingClientRect();
      const shown = [...b.querySelectorAll("kbd, .word, span > small, svg")].filter((e) => e.getBoundingClientRect().width > 1);
      return { what: b.dataset.key ?? b.dataset.action, w: r.width, h: r.height,
               text: shown.map((e) => e.textContent.trim() || (e.tagName === "svg" ? "icon" : "")).join(" ") };
    }));
    assert.equal(buttons.length, 14, where);
    // Scene 11 (v) draws a plot with labels of its own: the text under the
    // picture is the two title lines alone, and the keys stay on the screen.
    await page.keyboard.press("v");
    const sliding = await page.evaluate(() => ({
      lines: document.getElementById("picture-title").innerText.split("\n"),
      keysBottom: Math.max(...[...document.querySelectorAll("#strip button")].map((b) => b.getBoundingClientRect().bottom)),
      innerHeight
    }));
    assert.equal(sliding.lines.length, 2, `${where}: ${sliding.lines}`);
    assert.match(sliding.lines[0], /^\(11\) sliding/);
    assert.match(sliding.lines[1], /zeta1=.* zeta2=/);
    assert.ok(sliding.keysBottom <= sliding.innerHeight, `${where}: the keys end at ${sliding.keysBottom} px`);
    await page.keyboard.press("1");
    for (const b of buttons) {
      assert.ok(b.w >= 44 && b.h >= 44, `${where}: ${JSON.stringify(b)}`);
      assert.match(b.text, b.what.length === 1 ? new RegExp(`^${b.what} [a-z]{3,}`) : /icon/, `${where}: ${JSON.stringify(b)}`);
    }
    await page.finish();
  }

  // Real gears from the key strip: the panel's fields on the screen with
  // the whole picture, each field 44 px tall or more; typing there works.
  const page = await openPage({ viewport: { width: 360, height: 740 }, ...phone });
  await page.tap('[data-action="real-gears"]');
  await page.waitForFunction(() => document.body.classList.contains("panel-open"));
  await page.waitForTimeout(100);
  const inView = (selector) => page.$eval(selector, (e) => {
    const r = e.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= innerHeight && r.left >= 0 && r.right <= innerWidth;
  });
  assert.ok(await inView("#canvas"), "the picture");
  assert.ok(await inView("#pair-z1") && await inView("#pair-z2"), "the teeth fields");
  const heights = await page.$$eval("#pair-form input:not([type=radio]), #pair-form select",
                                    (list) => list.map((i) => i.getBoundingClientRect().height));
  assert.ok(heights.every((h) => h === 0 || h >= 44), String(heights));
  // A keypad for each field that can type its values: phones' decimal
  // keypads have no minus sign, which the shifts need.
  assert.deepEqual(await page.$$eval("#pair-form input:not([type=radio])", (list) => list.map((i) => `${i.name} ${i.inputMode}`)),
                   ["z1 numeric", "z2 numeric", "module decimal", "alpha decimal", "x1 text", "x2 text", "cutter numeric",
                    "backlash decimal", "width decimal", "torque decimal", "centre decimal", "z3 numeric",
                    "planets numeric", "beta decimal"]);
  await page.tap("#pair-z1");
  await page.fill("#pair-z1", "20");
  await page.press("#pair-z1", "Enter");
  assert.ok(await inView("#canvas"), "still the picture");
  assert.equal(await page.evaluate(() => Module._webPairEpsilonAlpha().toFixed(4)), "1.6052");
  assert.equal(await page.getAttribute('[data-action="real-gears"]', "aria-expanded"), "true");
  await page.finish();

  // A projector, the panel beside the picture: the picture stays on the
  // screen while the page scrolls down to a field.
  const projector = await openPage({ viewport: { width: 1024, height: 768 } });
  await projector.click('[data-action="real-gears"]');
  await projector.click("#pair-x1");
  await projector.fill("#pair-x1", "-0.2");
  await projector.press("#pair-x1", "Enter");
  assert.ok(await projector.evaluate(() => scrollY > 0), "the page has scrolled to the field");
  assert.ok(await projector.$eval("#canvas", (e) => {
    const r = e.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= innerHeight;
  }), "the picture is on the screen");
  await projector.finish();

  // 400 % zoom on a 1280 x 720 screen: 320 x 180 CSS px. The picture takes
  // 80 % of the smaller side or more; the keys scroll.
  const tiny = await openPage({ viewport: { width: 320, height: 180 }, deviceScaleFactor: 4 });
  const side = await tiny.$eval("#canvas", (c) => c.clientWidth);
  assert.ok(side >= 144, `the picture is ${side} px`);
  assert.deepEqual(await tiny.$eval("#canvas", (c) => [c.width, c.height]), [side * 4, side * 4]);
  await tiny.finish();
});

test("printing: one A4 page, upright, with the picture, the pair's numbers and the scene's notes, no controls", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  await page.keyboard.press("7");
  await page.emulateMedia({ media: "print" });
  const shown = await page.evaluate(() => {
    const visible = (selector) => [...document.querySelectorAll(selector)].some((e) => e.getBoundingClientRect().height > 0);
    return {
      picture: document.getElementById("canvas").getBoundingClientRect().width,
      numbers: visible("#pair-readout"),
      notes: [...document.querySelectorAll("#what-to-notice [data-scene]")].filter((e) => e.getBoundingClientRect().height > 0)
        .map((e) => e.dataset.scene),
      controls: [...document.querySelectorAll("button, input, #report, #readout")].filter((e) => e.getBoundingClientRect().height > 0)
        .map((e) => e.id || e.dataset.key || e.dataset.action || e.tagName),
    };
  });
  assert.ok(shown.picture > 300, `the picture is ${shown.picture} px`);
  assert.ok(shown.numbers);
  assert.deepEqual(shown.notes, ["7"]);
  assert.deepEqual(shown.controls, []);
  const pdf = await page.pdf({ format: "A4" });
  const pages = pdf.toString("latin1").match(/\/Type\s*\/Page[^s]/g) ?? [];
  assert.equal(pages.length, 1, "one page");
  const [, width, height] = /\/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)/.exec(pdf.toString("latin1"));
  // A4 is 595.3 x 841.9 points.
  assert.ok(Math.abs(width - 595.3) < 1 && Math.abs(height - 841.9) < 1, `A4 upright, in points: ${width} x ${height}`);
  await page.finish();

  // Printed as a reader prints, from the screen's layout (a laptop with its
  // 800-px picture, a phone): the drawing buffer is left as it is while the
  // sheet is laid out; one resized then was printed blank or cut to its
  // new size, losing the picture's right and bottom edges.
  for (const options of [{ viewport: { width: 1280, height: 1000 } },
                         { viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }]) {
    const printed = await openPage(options);
    await printed.evaluate(() => {
      window.bufferChanges = [];
      const canvas = document.getElementById("canvas");
      let printing = false;
      addEventListener("beforeprint", () => { printing = true; });
      addEventListener("afterprint", () => { printing = false; });
      new MutationObserver((records) => {
        if (printing) bufferChanges.push(...records.map((r) => `${r.attributeName} ${canvas[r.attributeName]}`));
      }).observe(canvas, { attributes: true, attributeFilter: ["width", "height"] });
    });
    const sheet = (await printed.pdf({ format: "A4" })).toString("latin1");
    const where = `${options.viewport.width} x ${options.viewport.height}`;
    assert.equal((sheet.match(/\/Type\s*\/Page[^s]/g) ?? []).length, 1, `${where}: one page`);
    assert.deepEqual(await printed.evaluate(() => bufferChanges), [], `${where}: the buffer kept while printing`);
    await printed.finish();
  }
});

test("the title's glyphs have even strokes at scales that are not whole: every upright stem as wide as the others", { timeout: testTimeoutMs }, async () => {
  const page = await openPage();
  // The drawing buffer at 0.86 (1280 x 720), 0.9 (720-px full screen) and
  // 1.3 times the window. The stems: the glyphs in the title band that are
  // apart from their neighbours, at most 3 px wide, with 9 px or more of
  // ink rows of one width (l, i, and the like): that width.
  for (const side of [688, 720, 1040]) {
    const stems = await page.evaluate((side) => {
      Module._webSetBufferSide(side);
      const copy = document.createElement("canvas");
      copy.width = copy.height = side;
      const context = copy.getContext("2d");
      context.drawImage(document.getElementById("canvas"), 0, 0);
      const band = Math.round(60 * side / 800);
      const data = context.getImageData(0, 0, side, band).data;
      const ink = (x, y) => data[(y * side + x) * 4] < 128;
      const inked = [];
      for (let x = 0; x < side; x++) {
        let any = false;
        for (let y = 0; y < band && !any; y++) any = ink(x, y);
        inked.push(any);
      }
      const widths = [];
      for (let x = 0; x < side; x++) {
        if (!inked[x]) continue;
        const start = x;
        while (x < side && inked[x]) x++;
        if (x - start > 3) continue;
        const rows = [];
        for (let y = 0; y < band; y++) {
          let w = 0;
          for (let c = start; c < x; c++) if (ink(c, y)) w++;
          if (w) rows.push([y, w]);
        }
        let longest = 1;
        let width = 0;
        for (let i = 1, run = 1; i < rows.length; i++) {
          run = rows[i][0] === rows[i - 1][0] + 1 && rows[i][1] === rows[i - 1][1] ? run + 1 : 1;
          if (run > longest) [longest, width] = [run, rows[i][1]];
        }
        if (longest >= 9) widths.push(width);
      }
      return widths;
    }, side);
    assert.ok(stems.length >= 5, `${side}: ${stems}`);
    assert.equal(new Set(stems).size, 1, `${side}: stems ${stems} px wide`);
  }
  assert.equal(await frames(page), 1, "redrawn, not stepped");
  await page.finish();
});
