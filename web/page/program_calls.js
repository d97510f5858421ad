// The page's calls into the program: the only part that calls its exported
// functions (Module._web…, defined in web/*.cpp) and reads its memory
// (Module.HEAPU8: its C strings, the bytes of a saved file, the buffer a
// Real gears field's text is read from; Module.HEAPF64: the sliding curve).
// The other parts call the named
// functions here. Read after the program's script and before keys.js, the
// first part that calls it while the page is read; program.js calls it only
// once the page has been read (a restart, a restored context).
// Lengths are in mm, angles in radians unless named "Deg", the drawing
// buffer's side in device pixels. Not here: Module's own hooks (module.js).
"use strict";
var program = (function () {
  var m = Module;
  // A C string of the program's (UTF-8, NUL-terminated) at `pointer`.
  function text(pointer) {
    var bytes = m.HEAPU8;
    var end = pointer;
    while (bytes[end] !== 0) end++;
    return new TextDecoder("utf-8").decode(bytes.subarray(pointer, end));
  }
  // A copy of `length` bytes of the program's memory from `pointer`.
  function bytesAt(pointer, length) { return m.HEAPU8.slice(pointer, pointer + length); }
  // The program's function `name`, called with the arguments given.
  function call(name) { return function (a, b) { return m[name](a, b); }; }
  // What the program's getters prefix + name give (called with `arg`), each
  // under its name with a small first letter: "_webPairJn" as jn.
  function values(prefix, names, arg) {
    var all = {};
    names.split(" ").forEach(function (name) { all[name[0].toLowerCase() + name.slice(1)] = m[prefix + name](arg); });
    return all;
  }
  // The names of the pair's inputs, in the table's order (read once).
  var names = null;
  var sceneTable = null;
  function inputNames() {
    if (!names) names = JSON.parse(text(m._webPairInputs())).map(function (input) { return input.name; });
    return names;
  }
  return {
    // ---- Keys, scenes and the drawing buffer (web/glut.cpp, readout.cpp, restart.cpp).
    // One key as the character typed (27: Esc, which ends the program: ExitStatus is thrown).
    key: call("_webKey"),
    // The table of scenes (web/readout.cpp's _webScenes), read once: [{key, number, needs
    // ("nothing", "pair", "ring": a kind with a ring to cut, "set": a planetary set)}, …] in
    // the order of their numbers.
    scenes: function () {
      if (!sceneTable) sceneTable = JSON.parse(text(m._webScenes()));
      return sceneTable;
    },
    // The number of the scene shown, 1 to 13.
    scene: call("_webScene"),
    // Scene 1, the start-up report, zoom reset: the program started afresh (draws a frame).
    restart: call("_webRestart"),
    // After the canvas's webglcontextrestored: the picture drawn again.
    contextRestored: call("_webContextRestored"),
    // The drawing buffer's side; setting it (kept to the program's limits, which it returns)
    // draws the frame again.
    bufferSide: call("_webBufferSide"),
    setBufferSide: call("_webSetBufferSide"),
    // The picture's titles, as the frame draws them.
    frameText: function () { return text(m._webFrameText()); },
    // The readout's lines of the scene shown, "\n" between them, its px CSS px: cssPxPerWindowPx is
    // the picture's CSS side over the program's 800-px window ("" before the first scene).
    readout: function (cssPxPerWindowPx) { return text(m._webReadout(cssPxPerWindowPx)); },
    // The sentence a screen reader is told after the key (a character) drew the scene shown.
    announcement: function (key) { return text(m._webAnnouncement(key.charCodeAt(0))); },

    // ---- The pair of scenes 7 to 9 (web/pair_bridge.cpp).
    // The table of the pair's inputs (pair/inputs.h), as the command line's options have it.
    pairInputs: function () { return JSON.parse(text(m._webPairInputs())); },
    // The kinds of pair, in setPair's order: name, en, ja, keys (the scene keys only it offers).
    pairKinds: function () { return JSON.parse(text(m._webPairKinds())); },
    // `words` read as input `index` of the table by the command line's own rule (mm: the
    // module, for ranges given in multiples of it): the value, or null when it is not a
    // value of its kind or out of range.
    readPairInput: function (index, words, mm) {
      var bytes = new TextEncoder().encode(words);
      if (words.indexOf("\0") >= 0 || bytes.length >= m._webPairInputTextCapacity()) return null;
      var at = m._webPairInputText();
      m.HEAPU8.set(bytes, at);
      m.HEAPU8[at + bytes.length] = 0;
      return m._webReadPairInput(index, mm) === 0 ? m._webPairInputValue() : null;
    },
    // Input `index`'s range as the messages say it ("0 to 0.25 m = 0.75 mm").
    pairInputRange: function (index, mm) { return text(m._webPairInputRange(index, mm)); },
    // The pair scenes are there, with the default pair unless one was set.
    pairStart: call("_webPairStart"),
    // The pair of the values v (v[name] for every input of pairInputs(), in its unit; 0 for an
    // optional one left out; null for x1 left out beside a centre distance, as --centre-distance
    // without --shift: both shifts chosen) and of `kind` (0 external, 1 internal, 2 rack, 3 planetary: the pair's
    // numbers are then its sun–planet pair's). 0 when taken,
    // redrawing the scene's moment (not a frame: page.quietly); else 1 + the index in
    // pairInputs() of the value it refuses, and pairMessage() says why.
    setPair: function (v, kind) {
      return page.quietly(function () {
        inputNames().forEach(function (name, index) {
          m._webSetPairInput(index, v[name] === null ? NaN : Number(v[name]));  // null: left out
        });
        return m._webSetPair(kind);
      });
    },
    pairMessage: function () { return text(m._webPairMessage()); },
    // Whether the link's keys and values ([[key, value], …], the keys in small letters) fit the
    // kind and each other as the command line's same options must (pair_bridge.cpp's
    // _webLinkRead): null when they do, else the command line's refusal.
    readLink: function (pairs) {
      var at = m._webPairInputText();
      m._webLinkClear();
      pairs.forEach(function (pair) {
        var bytes = new TextEncoder().encode(pair[0] + "=" + pair[1]).slice(0, m._webPairInputTextCapacity() - 1);
        m.HEAPU8.set(bytes, at);
        m.HEAPU8[at + bytes.length] = 0;
        m._webLinkAdd();
      });
      return m._webLinkRead() === 0 ? null : text(m._webPairMessage());
    },
    // The shift of gear 0 or 1 of the pair taken (chosen for its centre distance when one was given).
    pairShift: call("_webPairX"),
    // The pair's numbers: the contact ratios, alphaWDeg (degrees), centreDistance (or from
    // the pinion's centre to the rack's datum line), ga (path of contact), zc (teeth of the
    // ring's cutter; 0 for the other kinds), backlash jn and jt, the thinning of each gear, y,
    // ratio (i); and each gear's (gears[0], gears[1]): sa (tip thickness), dw (working pitch
    // diameter), span W over spanTeeth
    // k (0: no span measurable), overPins M over pins of pinDiameter (M 0: the pin does not
    // touch the involute; pinDiameter 0: no pin measures).
    pairNumbers: function () {
      var numbers = values("_webPair", "EpsilonAlpha EpsilonAlphaEff EpsilonBeta EpsilonGamma AlphaWDeg CentreDistance Ga Zc Jn Jt Thinning Y " +
                                       "Ratio");
      numbers.gears = [0, 1].map(function (g) {
        return values("_webPair", "Sa Dw SpanTeeth Span OverPins PinDiameter", g);
      });
      return numbers;
    },
    // A planetary set's own numbers and its planet–ring mesh's (pair_bridge.cpp's
    // _webSetNumbers), or null for a pair.
    setNumbers: function () { return JSON.parse(text(m._webSetNumbers())); },
    // The report's lines of mesh 0 (the pair's; a set's sun–planet mesh) or 1 (a set's
    // planet–ring mesh), as the console's report has them (pair_bridge.cpp's _webPairReport):
    // [{kind, symbol, value (as printed), unit, ja, en, gear, id, field}, …].
    pairReport: function (mesh) { return JSON.parse(text(m._webPairReport(mesh))); },
    // Scene 12's turns of the moment, rad counter-clockwise: the sun, the carrier, the ring
    // and a planet about its own centre.
    setTurns: function () {
      return { sun: m._webSetTurn(0), carrier: m._webSetTurn(1), ring: m._webSetTurn(2), planet: m._webSetTurn(3) };
    },
    // Scene 13's contact of the moment: s, mm from T1 (beyond E: that pair out of contact; NaN: no path).
    bendingS: call("_webBendingS"),
    // Scene 7's contact points of the moment, mm along the path of contact from where a
    // pair starts touching, and the path's length.
    contacts: function () {
      var at = [];
      for (var i = 0, count = m._webPairContactCount(); i < count; i++) at.push(m._webPairContact(i));
      return { at: at, pathLength: m._webPairPathLength() };
    },
    // Scene 11's contact, the one nearest the pitch point: s (mm from T1; NaN: no contact) and
    // the specific sliding zeta1 and zeta2 there.
    // Scene 10's contact lines of the moment: their total length, mm.
    contactLinesLength: call("_webContactLinesLength"),
    sliding: function () { return { s: m._webSlidingS(), zeta1: m._webSlidingZeta(0), zeta2: m._webSlidingZeta(1) }; },
    // The specific sliding along the effective path A..E at `points` samples: A, E, C (mm from
    // T1), ends {zeta1Root, zeta1Tip, zeta2Root, zeta2Tip}, zones [[from, to, pairs], …], and
    // the arrays s, zeta1, zeta2 (-Infinity at a tangent point).
    slidingCurve: function (points) {
      var d = m.HEAPF64, at = m._webSlidingCurve(points) / 8, zones = d[at + 7], count = d[at + 8];
      var c = { A: d[at], E: d[at + 1], C: d[at + 2], zones: [], s: [], zeta1: [], zeta2: [],
                ends: { zeta1Root: d[at + 3], zeta1Tip: d[at + 4], zeta2Root: d[at + 5], zeta2Tip: d[at + 6] } };
      for (var i = 0, z = at + 9; i < zones; i++, z += 3) c.zones.push([d[z], d[z + 1], d[z + 2]]);
      for (var j = 0, p = at + 9 + 3 * zones; j < count; j++, p += 3) {
        c.s.push(d[p]);
        c.zeta1.push(d[p + 1]);
        c.zeta2.push(d[p + 2]);
      }
      return c;
    },
    // The pair's outlines as the desktop's --svg and --dxf (in mesh) write them: the file's bytes.
    svg: function () { var at = m._webPairSvg(); return bytesAt(at, m._webPairSvgLength()); },
    dxf: function () { var at = m._webPairDxf(0); return bytesAt(at, m._webPairDxfLength()); },
    // The pair's solids as the desktop's --stl writes them (no bore): the file's bytes.
    stl: function () { var at = m._webPairStl(); return bytesAt(at, m._webPairStlLength()); }
  };
})();
