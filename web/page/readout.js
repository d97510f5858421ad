// The readout under the keys (#readout: the scene's numbers and the zoom,
// after every frame) and the live region (#announce) that tells a screen
// reader the new state after a key, at most once a second while a key
// repeats. The program writes their text (program.readout, .announcement);
// here only when and where it shows. Not here: the Real gears panel's
// numbers (pair_panel.js).
"use strict";
var readouts = (function () {
  var readout = document.getElementById("readout");
  var announcer = document.getElementById("announce");

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
    // The program writes the text; the page gives only its CSS px per window px.
    readout.textContent = program.readout(layout.side() / layout.windowSide);
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
      announce(program.announcement(key));
    }
  }

  // After every frame, from the first on, however soon it came (program.js).
  page.watchFrames(show);

  return { show: show, keyTaken: keyTaken, announce: announce };
})();
