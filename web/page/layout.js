// The page's layout: the picture's size on every screen (beside or under
// the controls, the key strip's columns and whether its buttons show their
// labels), its drawing buffer at the screen's own pixels, and full screen
// for lectures (and Esc there). Not here: the keys themselves (keys.js),
// the saves (saves.js), the styles (layout.css).
"use strict";
var layout = (function () {
  var body = document.body;
  var root = document.documentElement;
  var main = document.querySelector("main");
  var canvas = document.getElementById("canvas");
  var strip = document.getElementById("strip");

  var windowSide = 800;        // CSS px: the program's window, the picture's largest size on the page
  var maxBufferSide = 4096;    // px: what the program's drawing buffer takes at most
  var tap = 44;                // CSS px: the smallest button side for a finger
  var gap = 6;                 // CSS px between buttons (the strip's CSS gap)
  var labelledWidth = 150;     // CSS px: the narrowest button that shows its label
  var labelledHeight = 48;     // CSS px: a labelled button's height, two lines
  var titleHeight = 40;        // CSS px: the title and the gap under it, one line
  var columnMaxWidth = 640;    // CSS px: #column's max-width
  // Under this side the picture's titles (Helvetica 18, capitals 13 window
  // px tall) have capitals under 8 CSS px: 800 x 8 / 13 = 492.3. The page
  // then shows them as text too, under the picture or beside it.
  var smallTitleSide = 493;
  var pictureTitleRoom = 40;   // CSS px: two lines of that text, under the picture
  var leastShare = 0.8;        // the picture's least side, of the window's smaller side
  // The strip's buttons: its keys and full screen, and in full screen the
  // Real gears panel's scene keys too (keys.js puts them in).
  var pageButtons = strip.querySelectorAll("button[data-key]:not(.in-fullscreen)").length + 2;  // and Real gears
  var fullscreenButtons = strip.querySelectorAll("button[data-key]").length + 1;

  var side = windowSide;       // CSS px, the picture's side now
  var programReady = false;    // the program takes buffer sizes from onRuntimeInitialized on
  var pseudoFullscreen = false;  // where the Fullscreen API is missing (phones), the page fills the window instead
  var leftFullscreenAt = -Infinity;  // performance.now() when the page last saw full screen end
  var wasFullscreen = false;

  function fullscreenElement() { return document.fullscreenElement || document.webkitFullscreenElement || null; }
  function inFullscreen() { return pseudoFullscreen || fullscreenElement() !== null; }

  // The room the page has: in the page, the layout viewport without the
  // scroll bar; on phones the smaller of the heights with and without the
  // browser's address bar, so that the picture does not jump while scrolling.
  function viewport() {
    if (inFullscreen()) return { w: window.innerWidth, h: window.innerHeight };
    return { w: root.clientWidth, h: Math.min(window.innerHeight, root.clientHeight) };
  }

  // ---- The key strip: its buttons in rows of `cols` (12 keys, Real gears and
  // full screen on the page; the 9 keys 1 to 9, d, D, s, w, W, z and full
  // screen in full screen).
  function stripPlan(width, height, allowLabels) {
    var cell = [labelledWidth, tap];
    for (var labelled = allowLabels ? 1 : 0; labelled >= 0; labelled--) {
      var fits = Math.floor((width + gap) / ((labelled ? labelledWidth : tap) + gap));
      var cols = [6, 4, 3, 2, 1].find(function (n) { return n <= fits; });
      if (!cols) continue;
      var rows = Math.ceil(pageButtons / cols);
      var extent = rows * (labelled ? labelledHeight : tap) + (rows - 1) * gap;
      if (extent <= height) return { labelled: labelled === 1, cols: cols, height: extent };
    }
    return null;
  }

  // A side whose device pixels are whole, so that the buffer maps 1:1 onto
  // the screen (at 125 % a multiple of 4 CSS px), if one is near.
  function snap(s) {
    var dpr = window.devicePixelRatio || 1;
    for (var k = s; k > s - 8; k--) if (Math.abs(k * dpr - Math.round(k * dpr)) < 0.01) return k;
    return s;
  }

  // The largest picture that leaves room for the strip, beside or under it.
  // 2 px for the picture's border.
  function planPage(v) {
    var pad = v.w < 600 || v.h < 700 ? 8 : 16;
    var beside = null;
    for (var s = Math.min(windowSide, v.h - 2 * pad - 2); s >= 100 && !beside; s -= 2) {
      var column = Math.min(columnMaxWidth, v.w - 3 * pad - 2 - s);
      var labelled = stripPlan(column, v.h - 2 * pad - titleHeight, true);
      var strip = labelled && labelled.labelled ? labelled : stripPlan(column, v.h - 2 * pad, false);
      if (strip) beside = { mode: "beside", side: s, pad: pad, strip: strip };
    }
    var under = null;
    for (s = Math.min(windowSide, v.w - 2 * pad - 2); s >= 100 && !under; s -= 2) {
      var titleRoom = s < smallTitleSide ? pictureTitleRoom : 0;
      strip = stripPlan(s + 2, v.h - 3 * pad - 2 - s - titleRoom, true);
      if (strip) under = { mode: "under", side: s, pad: pad, strip: strip };
    }
    var plan = beside && under ? (under.side > beside.side || (under.side === beside.side && v.h > v.w) ? under : beside)
                               : beside || under;
    // However small the window, the picture takes most of its smaller
    // side; the keys then scroll with the page. Never more than the
    // program's window, which a large window has room for beside the keys.
    var least = Math.min(windowSide, Math.floor(leastShare * Math.min(v.w, v.h)));
    if (!plan || plan.side < least) {
      var wide = v.w > v.h;
      var big = Math.max(least, Math.min(windowSide, (wide ? v.h : v.w) - 2 * pad - 2));
      var across = wide ? Math.min(columnMaxWidth, v.w - 3 * pad - 2 - big) : big + 2;
      plan = { mode: wide ? "beside" : "under", side: big, pad: pad, scrolls: true,
               strip: stripPlan(across, Infinity, false) || { labelled: false, cols: 1 } };
    }
    plan.side = snap(plan.side);
    return plan;
  }

  // Full screen: the picture as large as the screen's smaller side, the
  // strip (compact) beside it on a landscape screen, under it on a portrait
  // one, so that it hides nothing of the drawing.
  function planFullscreen(v) {
    var landscape = v.w >= v.h;
    var along = (landscape ? v.h : v.w) - 16;  // the strip's own padding
    var fits = Math.floor((along + gap) / (tap + gap));
    var cols;
    if (landscape) {
      // As few columns as hold every button in the height.
      cols = [1, 2, 3, 4, 5, 6].find(function (n) { return Math.ceil(fullscreenButtons / n) <= fits; }) || 6;
    } else {
      cols = [6, 4, 3, 2, 1].find(function (n) { return n <= fits; }) || 1;
    }
    var rows = Math.ceil(fullscreenButtons / cols);
    var across = (landscape ? cols : rows) * (tap + gap) - gap + 16;
    var s = Math.max(100, Math.min(v.w, v.h, (landscape ? v.w : v.h) - across));
    return { mode: landscape ? "landscape" : "portrait", side: s, pad: 0, strip: { labelled: false, cols: cols } };
  }

  function apply(plan) {
    var fullscreen = inFullscreen();
    body.classList.toggle("fullscreen", fullscreen);
    body.classList.toggle("pseudo", pseudoFullscreen);
    root.classList.toggle("fullscreen", fullscreen);
    body.classList.toggle("portrait", fullscreen && plan.mode === "portrait");
    body.classList.toggle("beside", !fullscreen && plan.mode === "beside");
    body.classList.toggle("under", !fullscreen && plan.mode === "under");
    body.classList.toggle("compact", !plan.strip.labelled);
    body.classList.toggle("strip-first", plan.mode === "beside" && !plan.strip.labelled);
    root.style.setProperty("--side", plan.side + "px");
    root.style.setProperty("--pad", plan.pad + "px");
    root.style.setProperty("--cols", String(plan.strip.cols));
    body.classList.toggle("small-picture", plan.side < smallTitleSide);
    var resized = side !== plan.side;
    side = plan.side;
    // The readout's scale and the titles' text follow the picture's size,
    // from the first frame on: also while the page is still being read (the
    // program can draw before "running"), or no frame may come to set them;
    // before readout.js is read, it shows them itself when it is.
    var alive = page.running() || (body.dataset.state === "starting" && typeof readouts !== "undefined");
    if (resized && page.frames() > 0 && alive) readouts.show();
  }

  // Printing lays the page out on the sheet, the picture at its printed
  // size (layout.css), and changes the resolution the media query below
  // watches: the screen's plan and drawing buffer stay as they are. A
  // buffer resized then would be printed before the program has drawn into
  // it (blank), or with the frame cut to its new size.
  var printQuery = window.matchMedia ? window.matchMedia("print") : null;
  function printing() { return printQuery !== null && printQuery.matches; }

  // Lays the page out for the room it has, then checks that the strip's
  // keys are on the screen (fonts differ); where not, the picture gives up
  // the difference.
  function fit() {
    if (printing()) return;
    var v = viewport();
    checkStrip(planNow(v), v);
    fitBuffer();
  }

  function planNow(v) {
    var plan = inFullscreen() ? planFullscreen(v) : planPage(v);
    apply(plan);
    return plan;
  }

  // laidOutBottom: the strip's bottom as the layout the browser has just
  // done found it (an IntersectionObserver's entry), read without forcing
  // one; the page is not scrolled then.
  function checkStrip(plan, v, laidOutBottom) {
    if (inFullscreen() || plan.scrolls) return;
    for (var tries = 0; tries < 4; tries++) {
      var bottom = tries === 0 && laidOutBottom !== undefined ? laidOutBottom
                                                              : strip.getBoundingClientRect().bottom + window.scrollY;
      var over = bottom - (v.h - plan.pad);
      if (over <= 0.5) break;
      if (plan.strip.labelled) {
        plan.strip = stripPlan(plan.mode === "beside" ? Math.min(columnMaxWidth, v.w - 3 * plan.pad - 2 - plan.side)
                                                      : plan.side + 2, Infinity, false);
      } else {
        plan.side = snap(plan.side - Math.ceil(over));
      }
      apply(plan);
    }
  }

  // At start-up the browser lays the page out when it is ready to, not
  // when this script asks: a forced layout here would hold the program's
  // start up for the whole first layout. The room comes from the first
  // layout of #room, an element of the viewport's size (a ResizeObserver's
  // first call, before the first paint); the plan needs no layout of the
  // page, which is laid out only after the first frame (program.js). The
  // strip's check then waits for the layout of the whole page (an
  // IntersectionObserver's first call), when its place is read for free.
  function fitWhenLaidOut() {
    var room = document.getElementById("room");
    if (typeof ResizeObserver !== "function" || typeof IntersectionObserver !== "function" || !room) {
      fit();
      page.whenPanelsShown(fit);
      return;
    }
    var laidOut = new ResizeObserver(function (entries) {
      laidOut.disconnect();
      var box = entries[0].contentRect;
      var v = { w: Math.round(box.width), h: Math.round(box.height) };
      var plan = planNow(v);
      fitBuffer();
      page.whenPanelsShown(function () {
        var shown = new IntersectionObserver(function (entries) {
          shown.disconnect();
          if (side !== plan.side) return;  // the window changed meanwhile: fit() has planned again
          checkStrip(plan, v, entries[0].boundingClientRect.bottom);
          fitBuffer();
        });
        shown.observe(strip);
      });
    });
    laidOut.observe(room);
  }

  // The drawing buffer at the screen's own pixels: crisp at every size and
  // device pixel ratio.
  function fitBuffer() {
    if (!programReady || printing()) return;
    var want = Math.min(maxBufferSide, Math.round(side * (window.devicePixelRatio || 1)));
    if (program.bufferSide() === want) return;
    try {
      program.setBufferSide(want);
    } catch (e) {
      console.warn("the picture could not be resized: " + e);
    }
  }

  // Browser zoom and moving the window to another screen change the device
  // pixel ratio, which a media query on the current ratio reports.
  function watchPixelRatio() {
    var query = window.matchMedia && window.matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)");
    if (!query) return;
    var changed = function () {
      if (query.removeEventListener) query.removeEventListener("change", changed); else query.removeListener(changed);
      fit();
      watchPixelRatio();
    };
    if (query.addEventListener) query.addEventListener("change", changed); else query.addListener(changed);
  }

  // ---- Full screen
  function enterFullscreen() {
    var request = main.requestFullscreen || main.webkitRequestFullscreen;
    if (!request) {
      pseudoFullscreen = true;
      fullscreenChanged();
      return;
    }
    var result = request.call(main);
    if (result && result.catch) result.catch(function () { pseudoFullscreen = true; fullscreenChanged(); });
  }

  // Leaves full screen; false when the page was not in it.
  function leaveFullscreen() {
    if (pseudoFullscreen) {
      pseudoFullscreen = false;
      fullscreenChanged();
      return true;
    }
    if (fullscreenElement() === null) return false;
    var exit = document.exitFullscreen || document.webkitExitFullscreen;
    var result = exit.call(document);
    if (result && result.catch) result.catch(function () {});
    return true;
  }

  // Esc in full screen only leaves it. Browsers leave full screen on Esc
  // themselves, and some still hand the key to the page afterwards: an Esc
  // pressed (its event's timeStamp) before the page saw full screen end is
  // that key, not the program's Esc. True when Esc has been used up here.
  function escapeLeavesFullscreen(pressedAt) {
    return leaveFullscreen() || pressedAt <= leftFullscreenAt;
  }

  function fullscreenChanged() {
    var now = inFullscreen();
    if (wasFullscreen && !now) leftFullscreenAt = performance.now();
    wasFullscreen = now;
    fit();
  }

  // ---- Real gears, from the strip: the panel brought into view with the
  // picture (on a phone held upright the picture then stays at the top while
  // the panel scrolls under it); pressed again, the page as it was.
  var panelButton = strip.querySelector('[data-action="real-gears"]');
  var panel = document.getElementById("real-gears");
  panelButton.addEventListener("click", function () {
    var open = !body.classList.contains("panel-open");
    body.classList.toggle("panel-open", open);
    panelButton.setAttribute("aria-expanded", open ? "true" : "false");
    if (!open) return;
    requestAnimationFrame(function () {
      var pictureBottom = body.classList.contains("under") ? side + 2 + 2 * currentPad() : 0;
      window.scrollTo(0, panel.getBoundingClientRect().top + window.scrollY - pictureBottom);
      panel.focus({ preventScroll: true });
    });
  });
  function currentPad() { return parseFloat(root.style.getPropertyValue("--pad")) || 0; }

  strip.querySelector('[data-action="fullscreen"]').addEventListener("click", function () {
    if (!leaveFullscreen()) enterFullscreen();
  });
  document.addEventListener("fullscreenchange", fullscreenChanged);
  document.addEventListener("webkitfullscreenchange", fullscreenChanged);
  window.addEventListener("resize", fit);
  window.addEventListener("orientationchange", fit);
  watchPixelRatio();


  // The runtime is up and the program's first frame is still to come: the
  // buffer size set now is the one it is drawn at.
  function programStarting() {
    programReady = true;
    fitBuffer();
  }

  fitWhenLaidOut();
  page.whenStarted(programStarting);

  return { escapeLeavesFullscreen: escapeLeavesFullscreen, inFullscreen: inFullscreen, leaveFullscreen: leaveFullscreen,
           programStarting: programStarting, windowSide: windowSide, bufferReady: function () { return programReady; },
           side: function () { return side; } };
})();
