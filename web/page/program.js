// The program's life on the page: body[data-state] ("starting", "running"
// once the program has started and the page been read, "ended" after Esc,
// "failed"), body[data-frames], what happens at the
// first frame, the rest of the page shown after it (body[data-panels]),
// the parts read after the program has started catching up with it
// (watchFrames: the one way the parts hear of frames; whenStarted), the notice (#notice) that says the program has ended or
// cannot run and what to do, a start that never comes, and a lost WebGL
// context. Which controls work in each state. Not here: sending keys
// (keys.js), the readout's text (readout.js), the layout (layout.js).
"use strict";
var page = (function () {
  var body = document.body;
  var notice = document.getElementById("notice");
  var canvas = document.getElementById("canvas");
  var ended = false;  // Esc, or a failure: no more keys
  var frames = 0;
  var startTimeoutMs = 4000;

  function controls(selector) { return document.querySelectorAll(selector); }
  function disableAll(selector) {
    var list = controls(selector);
    for (var i = 0; i < list.length; i++) list[i].disabled = true;
  }
  function enableAll(selector) {
    var list = controls(selector);
    for (var i = 0; i < list.length; i++) list[i].disabled = false;
  }
  var keyControls = "button[data-key]";
  var saveControls = '[data-action^="save"]';
  // Nothing to save until the first frame is on the canvas.
  disableAll(saveControls);

  // Keys reach the program only while it runs.
  function running() { return !ended && body.dataset.state === "running"; }
  function frameCount() { return frames; }

  // Something that happens once: what asks for it before runs when it
  // happens, what asks after runs at once.
  function once() {
    var happened = false;
    var waiting = [];
    return {
      then: function (callback) {
        if (happened) callback();
        else waiting.push(callback);
      },
      // False when it had happened already.
      happen: function () {
        if (happened) return false;
        happened = true;
        waiting.splice(0).forEach(function (callback) { callback(); });
        return true;
      }
    };
  }

  // ---- The picture first. Until the browser has shown the first frame, the
  // rest of the page (keys, panels, notes, report) is not laid out:
  // body[data-panels="waiting"] hides it, as laying out its text (fonts,
  // Japanese among them) costs several times what the frame does. Then it
  // is shown ("shown"), and what waited for it (the Real gears panel's pair,
  // the strip's check) runs. A failure shows it at once: the notice is in it.
  var panelsShown = once();
  function showPanels() {
    // Start-up ends here: what the page lays out from now on is the column.
    if (body.dataset.panels !== "shown") performance.mark("panels-shown");
    body.dataset.panels = "shown";
    panelsShown.happen();
  }

  // The column's packed parts (What to notice, whose Japanese would take
  // eight bytes a character as character references): unpacked after the
  // first frame and put in their place before the column is shown. One
  // that cannot be unpacked is left out and said on the console; the
  // program runs on. (Once: a failure before the first frame unpacks them
  // as it shows the column.)
  var columnUnpacked = null;
  function unpackColumn() {
    if (columnUnpacked) return columnUnpacked;
    var parts = document.querySelectorAll('script[type="application/gzip"][data-html]');
    columnUnpacked = Promise.all(Array.prototype.map.call(parts, function (part) {
      return Promise.resolve(part).then(function () {
        return packedParts.unpack(part).then(function (bytes) { return new TextDecoder("utf-8").decode(bytes); });
      }).then(function (html) {
        part.insertAdjacentHTML("afterend", html);
      }, function (error) {
        console.warn("#" + part.id + " is not shown: " + error.message);
      }).then(function () { part.remove(); });
    }));
    return columnUnpacked;
  }

  // The program starts while the page is still being read (page.html):
  // the parts read after it (the readout, the keys, the layout) learn of
  // every frame, and of the start, from when they are there, and catch up
  // at once with what they missed.
  var frameWatchers = [];
  function watchFrames(callback) {
    frameWatchers.push(callback);
    if (frames > 0) callback();
  }
  var started = once();

  // A redraw for a new pair (quietly) is the same moment of the scene: no
  // frame is counted and no part hears of it.
  var quiet = false;
  function quietly(call) {
    var was = quiet;
    quiet = true;
    try { return call(); } finally { quiet = was; }
  }

  function frameDrawn() {
    if (quiet) return;
    frames += 1;
    body.dataset.frames = String(frames);
    frameWatchers.forEach(function (callback) { callback(); });
    if (frames === 1) {
      performance.mark("first-frame");
      if (!ended) enableAll(saveControls);
      // After the frame is shown (the task after the next rendering): the
      // focus, while the layout is still the frame's own, so that focusing
      // forces none; then the rest of the page. Keys reach the page wherever
      // the focus is; the canvas takes it, unless the reader has put it
      // elsewhere.
      // The column's packed parts are unpacked meanwhile, not in the frame's own call.
      requestAnimationFrame(function () {
        var unpacked = unpackColumn();
        setTimeout(function () {
          if (document.activeElement === body || document.activeElement === null) canvas.focus({ preventScroll: true });
          unpacked.then(showPanels);
        }, 0);
      });
    }
  }

  function stopEverything(state, message, role) {
    ended = true;
    if (typeof keys === "object") keys.stopRepeat();  // a failure may come before keys.js is read
    clearTimeout(startTimer);
    body.dataset.state = state;
    notice.setAttribute("role", role);
    notice.textContent = message;
    notice.hidden = false;
    disableAll(keyControls);
    unpackColumn();
    showPanels();
  }

  // Esc: the program has ended, as on the desktop; the last picture may
  // still be saved, and "Start again" starts the program again in place.
  function end(message) {
    if (ended) return;
    stopEverything("ended", message, "status");
    var again = document.createElement("button");
    again.dataset.action = "restart";
    again.textContent = "Start again · ";
    var ja = document.createElement("span");
    ja.lang = "ja";
    ja.textContent = "もう一度始める";
    again.appendChild(ja);
    again.addEventListener("click", restart);
    notice.appendChild(document.createTextNode(" "));
    notice.appendChild(again);
  }

  // A fresh start without a reload: scene 1, the start-up report, zoom
  // reset, forward; the Real gears panel keeps its pair.
  function restart() {
    if (body.dataset.state !== "ended") return;
    ended = false;
    notice.hidden = true;
    notice.textContent = "";
    body.dataset.state = "running";
    enableAll(keyControls);
    keys.restarted();
    try {
      program.restart();
    } catch (e) {
      fail("The program stopped with an error as it started again (" + (e && e.message ? e.message : e) +
           "). Reload the page to start it again.");
      return;
    }
    canvas.focus({ preventScroll: true });
    readouts.announce("The program has started again.");
  }

  // The program cannot go on: what happened and what to do, no keys, and
  // no save (it could hand out a blank or stale picture).
  function fail(message) {
    if (body.dataset.state === "failed" && !startTimedOut) return;
    startTimedOut = false;
    stopEverything("failed", message, "alert");
    disableAll(saveControls);
    revealNotice();
  }

  // The notice where it can be read: full screen (which shows only the
  // picture and the keys) is left, and the notice scrolled into view once
  // the page is laid out without it.
  function revealNotice() {
    var scroll = function () { requestAnimationFrame(function () { notice.scrollIntoView({ block: "nearest" }); }); };
    if (typeof layout === "object" && layout.inFullscreen()) {
      layout.leaveFullscreen();
      if (layout.inFullscreen()) {
        document.addEventListener("fullscreenchange", scroll, { once: true });
        document.addEventListener("webkitfullscreenchange", scroll, { once: true });
        return;
      }
    }
    scroll();
  }

  // WebAssembly refused, or the runtime aborted.
  function failToRun(reason) {
    var text = String(reason && reason.message ? reason.message : reason);
    if (!runtimeStarted) {
      fail("The program cannot start here: this browser did not run its WebAssembly (" + text + "). " +
           "A web server whose Content-Security-Policy lacks 'wasm-unsafe-eval' causes this. " +
           "Save this page (Ctrl+S, or ⌘S on a Mac) and open the saved file: it runs from disk.");
    } else {
      fail("The program stopped with an error (" + text + "). Reload the page to start it again.");
    }
  }

  // A lost WebGL context is given back only when the loss is prevented; the
  // program then draws its picture again. Until then the canvas is blank:
  // nothing to save.
  canvas.addEventListener("webglcontextlost", function (e) {
    e.preventDefault();
    disableAll(saveControls);
  });
  canvas.addEventListener("webglcontextrestored", function () {
    if (!running()) return;
    program.contextRestored();
    if (!ended && frames > 0) enableAll(saveControls);
  });

  // A start that never comes (a script blocked, a browser too old) is said
  // too; should the program start after all, the page carries on.
  var startTimedOut = false;
  var startTimer = setTimeout(function () {
    if (body.dataset.state !== "starting") return;
    fail("The program has not started after " + startTimeoutMs / 1000 + " seconds. Reload the page; if it still " +
         "does not start, save the page (Ctrl+S, or ⌘S on a Mac) and open the saved file, or try another browser.");
    startTimedOut = true;
  }, startTimeoutMs);

  // The runtime is up; the program's main, with the first frame, comes
  // next. The parts that size the picture are told now. Keys reach the
  // program ("running") once the page has also been read: the program starts
  // while it is being read, before the scripts that take keys.
  var runtimeStarted = false;
  var pageRead = document.readyState !== "loading";
  function start() {
    runtimeStarted = true;
    if (body.dataset.state === "failed") {
      if (!startTimedOut) return;
      startTimedOut = false;
      ended = false;
      notice.hidden = true;
      enableAll(keyControls);
    }
    clearTimeout(startTimer);
    started.happen();
    // The program names the window in Japanese.
    document.querySelector("title").lang = "ja";
    if (pageRead) body.dataset.state = "running";
  }
  document.addEventListener("DOMContentLoaded", function () {
    pageRead = true;
    if (runtimeStarted && body.dataset.state === "starting") body.dataset.state = "running";
  });

  return { frameDrawn: frameDrawn, end: end, fail: fail, failToRun: failToRun, start: start,
           running: running, frames: frameCount, whenPanelsShown: panelsShown.then, watchFrames: watchFrames,
           whenStarted: started.then, quietly: quietly };
})();
