// The program's keys on the page: the one list of them (the key strip's
// buttons and the Real gears panel's scene buttons are made from it), the
// keyboard (the character typed decides, as on the desktop; a clicker's
// PageDown/PageUp and arrows act as d and D), the buttons (mouse, pen and
// touch, held ones repeating), sending a key to the program, and the
// marking of the chosen scene and direction. Not here: where the buttons
// sit and how large (layout.js), full screen itself (layout.js).
"use strict";
var keys = (function () {
  var body = document.body;
  var report = document.getElementById("report");
  var strip = document.getElementById("strip");

  // Every key of the program that has a button, in the strip's order.
  // `where`: "strip" (the key strip) or "pair" (the Real gears panel; in
  // full screen, which shows only the picture and the strip, the strip
  // holds these too). `short`: the word a compact button shows under its key.
  // Which scene a key chooses, and what it needs, come from the program's
  // table of scenes (sceneOf below).
  var keyList = [
    { key: "1", short: "fixed", ja: "(1) 基礎円固定", en: "base circle fixed", where: "strip" },
    { key: "2", short: "turn", ja: "(2) 基礎円回転", en: "base circle turning", where: "strip" },
    { key: "3", short: "roll", ja: "(3) 基礎円転がり", en: "base circle rolling", where: "strip" },
    { key: "4", short: "belt", ja: "(4) かみ合い運動", en: "crossed belt", where: "strip" },
    { key: "5", short: "path", ja: "(5) 斜がけ糸あり", en: "gears, contact path", where: "strip" },
    { key: "6", short: "mesh", ja: "(6) なし", en: "gears, no contact path", where: "strip" },
    { key: "d", short: "fwd", ja: "正回転", en: "forward", where: "strip" },
    { key: "D", short: "back", ja: "逆回転", en: "backward", where: "strip" },
    { key: "s", short: "step", ja: "描画継続", en: "one more step", where: "strip" },
    { key: "w", short: "shrink", ja: "図の縮小", en: "shrink", where: "strip" },
    { key: "W", short: "grow", ja: "図の拡大", en: "enlarge", where: "strip" },
    { key: "z", short: "reset", ja: "リセット", en: "reset, report again", where: "strip" },
    { key: "7", short: "pair", ja: "(7) 歯車対のかみ合い", en: "the pair in mesh", where: "pair" },
    { key: "8", short: "rack", ja: "(8) ラックによる歯切り", en: "the rack cutting gear 1", where: "pair" },
    { key: "9", short: "ring", ja: "(9) ピニオンカッタによる内歯車の歯切り", en: "the cutter cutting the ring (internal pairs)",
      where: "pair" },
    { key: "h", short: "plane", ja: "(10) 作用面と接触線", en: "the plane of action and its contact lines", where: "pair" },
    { key: "v", short: "slide", ja: "(11) すべり速度と比すべり", en: "the flanks' sliding", where: "pair" },
    { key: "p", short: "set", ja: "(12) 遊星歯車装置", en: "the planetary set turning (planetary sets)", where: "pair" },
    { key: "b", short: "bend", ja: "(13) 歯元の曲げ", en: "the tooth as a beam: bending at the root", where: "pair" }
  ];
  // The program's table of scenes by key, once the program has started (the
  // buttons above stand before it does).
  var sceneByKey = {};
  page.whenStarted(function () {
    program.scenes().forEach(function (scene) { sceneByKey[scene.key] = scene; });
  });
  // The scene a key chooses, NaN for another key; the key of a scene; the
  // keys of the scenes that only some kinds of pair have (a ring to cut, a
  // planetary set).
  function sceneOf(key) { return sceneByKey.hasOwnProperty(key) ? sceneByKey[key].number : NaN; }
  function keyOf(scene) {
    for (var key in sceneByKey) if (sceneByKey[key].number === scene) return key;
    return String(scene);
  }
  function kindKeys() {
    return Object.keys(sceneByKey).filter(function (key) {
      return sceneByKey[key].needs !== "nothing" && sceneByKey[key].needs !== "pair";
    });
  }
  // A presentation clicker's keys, as the program's keys: forward is d,
  // backward D.
  var clickerKeys = { PageDown: 100, ArrowRight: 100, PageUp: 68, ArrowLeft: 68 };
  var direction = 0;  // the program's direction key as sent: 0 until d, D or a scene key

  // <button data-key><kbd>key</kbd><span><span lang="ja">…</span><small>…</small></span></button>
  function makeButton(entry) {
    var button = document.createElement("button");
    button.dataset.key = entry.key;
    var kbd = document.createElement("kbd");
    kbd.textContent = entry.key;
    var label = document.createElement("span");
    var ja = document.createElement("span");
    ja.lang = "ja";
    ja.textContent = entry.ja;
    var en = document.createElement("small");
    en.textContent = entry.en;
    label.appendChild(ja);
    label.appendChild(en);
    // Shown instead of the label on a compact button; the label stays for
    // screen readers.
    var word = document.createElement("b");
    word.className = "word";
    word.setAttribute("aria-hidden", "true");
    word.textContent = entry.short;
    button.appendChild(kbd);
    button.appendChild(label);
    button.appendChild(word);
    return button;
  }
  var pairKeys = document.querySelector("#real-gears .pair-keys");
  var firstAction = strip.querySelector('[data-action="real-gears"]');  // the keys come before it
  keyList.forEach(function (entry) {
    if (entry.where === "pair") {
      pairKeys.appendChild(makeButton(entry));
      var copy = makeButton(entry);
      copy.className = "in-fullscreen";
      strip.insertBefore(copy, firstAction);
    } else {
      strip.insertBefore(makeButton(entry), firstAction);
    }
  });

  // A program that could not start (before this script was read) takes no keys.
  if (body.dataset.state === "failed") {
    strip.querySelectorAll("button[data-key]").forEach(function (b) { b.disabled = true; });
    pairKeys.querySelectorAll("button[data-key]").forEach(function (b) { b.disabled = true; });
  }

  // One key, as the program's keyboard callback takes it. Esc makes the
  // program exit(0); the exit arrives here as a thrown ExitStatus.
  function sendKey(code) {
    if (!page.running()) return;
    var framesBefore = page.frames();
    try {
      // A scene of the pair: the pair scenes are there
      var chosen = sceneByKey[String.fromCharCode(code)];
      if (chosen && chosen.needs !== "nothing") pairPanel.start();
      program.key(code);
      keySent(code);
    } catch (e) {
      if (e && e.name === "ExitStatus") {
        page.end("The program has ended (Esc, exit status " + e.status + ").");
        readouts.announce("The program has ended.");
        return;
      }
      page.fail("The program stopped with an error at key " + JSON.stringify(String.fromCharCode(code)) + " (" +
                (e && e.message ? e.message : e) + "). Reload the page to start it again.");
      return;
    }
    readouts.keyTaken(String.fromCharCode(code), page.frames() !== framesBefore);
  }

  // ---- Keyboard: the character typed decides, as on the desktop. A held
  // key repeats as the system's auto-repeat sends it.
  var namedKeys = { Escape: 27, Enter: 13, Tab: 9, Backspace: 8, Delete: 127 };
  document.addEventListener("keydown", function (e) {
    if (e.ctrlKey || e.altKey || e.metaKey || e.isComposing) return;
    var code = e.key.length === 1 ? e.key.charCodeAt(0) : namedKeys[e.key] || clickerKeys[e.key];
    if (code === undefined || code > 255) return;
    // In full screen Esc only leaves it (where the browser lets the page see Esc at all).
    if (code === 27 && layout.escapeLeavesFullscreen(e.timeStamp)) {
      e.preventDefault();
      return;
    }
    // In the report box the clicker's keys scroll it, as they scroll any box.
    if (clickerKeys[e.key] && e.target === report) return;
    // Space, Enter and Tab keep their usual work on buttons and focus.
    if (e.key !== " " && e.key !== "Enter" && e.key !== "Tab") e.preventDefault();
    sendKey(code);
  });

  // ---- Buttons. Mouse and pen act at the press. A touch acts when it ends
  // as a tap, or, held still, when the repeat delay ends; a touch that moves
  // first is a scroll and presses nothing. Held, d, D, s, w and W repeat like
  // auto-repeat; z and the scene keys 1 to 9 act once, as they do nothing more
  // when repeated.
  var repeatDelayMs = 400;
  var repeatIntervalMs = 33;
  var scrollSlopPx = 10;
  var repeatingKeys = "dDswW";
  var held = null;
  var delayTimer = 0;
  var repeatTimer = 0;

  function stopRepeat() {
    clearTimeout(delayTimer);
    clearInterval(repeatTimer);
    delayTimer = repeatTimer = 0;
    if (held) held.button.classList.remove("held");
    held = null;
  }

  function act() {
    held.acted = true;
    var key = held.button.dataset.key;
    sendKey(key.charCodeAt(0));
    if (held && repeatingKeys.indexOf(key) >= 0) {
      repeatTimer = setInterval(function () { if (held) sendKey(key.charCodeAt(0)); }, repeatIntervalMs);
    }
  }

  function press(e) {
    var button = e.currentTarget;
    if (button.disabled || (e.pointerType === "mouse" && e.button !== 0)) return;
    // Touch captures the pointer to the button; release it so that sliding
    // off the button is seen and stops the repeat.
    if (button.hasPointerCapture && button.hasPointerCapture(e.pointerId)) button.releasePointerCapture(e.pointerId);
    stopRepeat();
    held = { button: button, pointer: e.pointerId, x: e.clientX, y: e.clientY, touch: e.pointerType === "touch", acted: false };
    button.classList.add("held");
    if (held.touch) {
      delayTimer = setTimeout(function () { if (held) act(); }, repeatDelayMs);
      return;
    }
    e.preventDefault();
    var key = button.dataset.key;
    sendKey(key.charCodeAt(0));
    if (repeatingKeys.indexOf(key) >= 0) delayTimer = setTimeout(function () { if (held) act(); }, repeatDelayMs);
  }

  function moved(e) {
    if (held && held.pointer === e.pointerId && held.touch &&
        Math.abs(e.clientX - held.x) + Math.abs(e.clientY - held.y) > scrollSlopPx) stopRepeat();
  }

  function release(e) {
    if (!held || held.button !== e.currentTarget || held.pointer !== e.pointerId) return;
    if (e.type === "pointerup" && held.touch && !held.acted) sendKey(held.button.dataset.key.charCodeAt(0));
    stopRepeat();
  }

  var buttons = document.querySelectorAll("button[data-key]");
  for (var i = 0; i < buttons.length; i++) {
    var b = buttons[i];
    b.title = "key " + b.dataset.key;
    b.addEventListener("pointerdown", press);
    b.addEventListener("pointermove", moved);
    b.addEventListener("pointerup", release);
    b.addEventListener("pointerleave", release);
    b.addEventListener("pointercancel", release);
    b.addEventListener("contextmenu", function (e) { e.preventDefault(); });
    // Enter or Space on a focused button: one key, no repeat (detail 0
    // marks a click that no pointer made).
    b.addEventListener("click", function (e) { if (e.detail === 0) sendKey(e.currentTarget.dataset.key.charCodeAt(0)); });
  }
  window.addEventListener("blur", stopRepeat);
  document.addEventListener("visibilitychange", stopRepeat);

  // ---- The chosen scene and direction, on their buttons.
  function showChosen() {
    var scene = page.running() || page.frames() > 0 ? program.scene() : 1;
    var list = strip.querySelectorAll("button[data-key]");
    for (var i = 0; i < list.length; i++) {
      var key = list[i].dataset.key;
      if (key === "d" || key === "D" || sceneByKey.hasOwnProperty(key)) {
        var chosen = /[dD]/.test(key) ? key.charCodeAt(0) === direction : sceneOf(key) === scene;
        list[i].setAttribute("aria-pressed", chosen ? "true" : "false");
      }
    }
  }

  // A key the program has taken. d and D choose the direction; a scene key
  // sets it to d where the program took it (its scene now shows: the pair
  // scenes only with a pair, 9 only for a ring, p only for a set); z keeps
  // it (the program does not reset it).
  function keySent(code) {
    if (code === 100 || code === 68) direction = code;
    else if (sceneOf(String.fromCharCode(code)) === program.scene()) direction = 100;
    showChosen();
  }

  // Now, and after every frame from now on (program.js).
  showChosen();
  page.watchFrames(showChosen);

  // The program started again: no direction chosen yet, as at the start.
  function restarted() {
    direction = 0;
    showChosen();
  }

  return { keyList: keyList, sceneOf: sceneOf, keyOf: keyOf, kindKeys: kindKeys, sendKey: sendKey, stopRepeat: stopRepeat, showChosen: showChosen, restarted: restarted };
})();
