// The readout under the keys (#readout: the scene's numbers and the zoom,
// after every frame) and the live region (#announce) that tells a screen
// reader the new state after a key, at most once a second while a key
// repeats. Not here: the Real gears panel's numbers (pair_panel.js).
"use strict";
var readouts = (function () {
  var readout = document.getElementById("readout");
  var announcer = document.getElementById("announce");

  function degrees(radians) { return radians * 180 / Math.PI; }

  function describe() {
    var v = program.view();
    var scene = v.scene;
    var lines = ["scene " + scene + ": " + entryOf(scene).name];
    var radius = v.baseRadius;
    if (scene <= 3) {
      var index = v.tableIndex;
      var roll = index * v.stepAngle;
      lines.push("table index " + index + " of 400");
      lines.push("roll angle  " + roll.toFixed(2) + " rad = " + degrees(roll).toFixed(1) + "°");
      lines.push("string      " + (radius * roll).toFixed(3) + " mm unwound (base radius × roll angle)");
    } else {
      var drive = v.driveAngle;
      var span = 2 * radius;
      lines.push("drive angle " + drive.toFixed(2) + " rad = " + degrees(drive).toFixed(1) + "°");
      if (scene === 4) {
        var along = radius * drive;
        var where = along >= 0 && along <= span ? "" : " (off the span)";
        lines.push("dot         " + along.toFixed(3) + " mm from the drive circle's tangency point, span " +
                   span.toFixed(3) + " mm" + where);
      } else if (scene <= 6) {
        // Flank pairs touch on the path one base pitch apart.
        var pitch = 2 * Math.PI / v.toothCount;
        var first = drive - Math.floor(drive / pitch) * pitch;
        var points = [];
        for (var a = first; radius * a <= span + 1e-9; a += pitch) points.push((radius * a).toFixed(3));
        lines.push("contact     " + points.join(", ") + " mm along the " + span.toFixed(3) +
                   " mm path from the drive end");
      }
    }
    lines.push("zoom        viewScale " + v.viewScale.toFixed(3) + scaleWords(v));
    return lines.join("\n");
  }

  // Scene `number` of the program's table of scenes.
  function entryOf(number) { return program.scenes()[number - 1]; }

  // CSS px per mm on the screen, as drawn: the program's pixels per mm in its
  // 800-px window, scaled to the picture's side. A scene that draws two parts
  // at their own scales (scene 13's teeth) names each; a scene that draws
  // nothing in mm (no effective path) says none.
  function pixelsPerMm(windowPx) { return windowPx * layout.side() / layout.windowSide; }
  function scaleWords(v) {
    var said = (entryOf(v.scene).parts || [""]).map(function (part, i) {
      var px = i ? program.partPixelsPerMm(i) : v.pixelsPerMm;
      return px > 0 ? pixelsPerMm(px).toFixed(1) + " px" + (part && " " + part) : "";
    }).filter(Boolean);
    return said.length ? " (1 mm = " + said.join(", ") + ")" : "";
  }

  // The same state as one short sentence for the live region.
  function sentence(key) {
    var v = program.view();
    var scene = v.scene;
    var text = "Scene " + scene;
    if (scene <= 3) {
      var index = v.tableIndex;
      text += ", step " + index + " of 400, roll angle " + degrees(index * v.stepAngle).toFixed(1) + "°";
    } else {
      text += ", drive angle " + degrees(v.driveAngle).toFixed(1) + "°";
    }
    if (key === "w" || key === "W") text += ", zoom " + v.viewScale.toFixed(3);
    return text + ".";
  }

  // ---- The live region: a new state after a key, at most once a second
  // while a key repeats, and the last state when the repeat stops.
  var announceIntervalMs = 1000;
  var spokenAt = -Infinity;
  var speakTimer = 0;
  var unspoken = "";
  function speak() {
    speakTimer = 0;
    spokenAt = performance.now();
    announcer.textContent = unspoken;
  }
  function announce(text) {
    unspoken = text;
    var wait = spokenAt + announceIntervalMs - performance.now();
    if (wait <= 0) speak();
    else if (!speakTimer) speakTimer = setTimeout(speak, wait);
  }

  // After every frame; the picture's titles as text where they are shown.
  var pictureTitle = document.getElementById("picture-title");
  function show() {
    readout.textContent = describe();
    if (document.body.classList.contains("small-picture")) pictureTitle.textContent = program.frameText();
  }

  // After a key the program took: z says that the picture changes at the
  // next key; a key that drew is told to a screen reader.
  function keyTaken(key, drew) {
    if (key === "z") {
      // z starts afresh and prints the report at once; the window keeps its
      // picture until the next frame, as on the desktop.
      var said = "reset: report printed again; the picture changes at the next key";
      var shown = readout.textContent;
      readout.textContent = said + (shown.lastIndexOf(said, 0) === 0 ? shown.slice(said.length) : "\n" + shown);
      announce("Reset: the report is printed again; the picture changes at the next key.");
    } else if (drew) {
      announce(sentence(key));
    }
  }

  // After every frame, from the first on, however soon it came (program.js).
  page.watchFrames(show);

  return { show: show, keyTaken: keyTaken, announce: announce };
})();
