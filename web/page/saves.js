// The saves: "Save picture" (the frame at the desktop window's 800 x 800)
// and "Save large picture" (2400 x 2400, for print), and the download of
// any bytes as a file, which the Real gears panel's file saves use too.
// Not here: what is in those files (the program makes them).
"use strict";
var saves = (function () {
  var canvas = document.getElementById("canvas");
  var largeSide = 2400;        // px: "Save large picture", for print

  // Bytes (a Uint8Array) handed to the browser as a download named `name`.
  function download(bytes, type, name) {
    var link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([bytes], { type: type }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
  }

  // The picture drawn again at the size asked for, read, and drawn back at
  // the shown size, all in one task so that the screen never shows the
  // other size; nothing steps.
  function savePicture(pictureSide, suffix) {
    var programReady = layout.bufferReady();
    var scene = programReady ? program.scene() : 1;
    var url;
    if (programReady) {
      var shown = program.bufferSide();
      program.setBufferSide(pictureSide);
      try {
        url = canvas.toDataURL("image/png");
      } finally {
        program.setBufferSide(shown);
      }
    } else {
      url = canvas.toDataURL("image/png");
    }
    var bytes = atob(url.slice(url.indexOf(",") + 1));
    var data = new Uint8Array(bytes.length);
    for (var i = 0; i < bytes.length; i++) data[i] = bytes.charCodeAt(i);
    download(data, "image/png", "involute-gears-scene" + scene + suffix + ".png");
  }
  document.querySelector('button[data-action="save"]').addEventListener("click", function () {
    savePicture(layout.windowSide, "");
  });
  document.querySelector('button[data-action="save-large"]').addEventListener("click", function () {
    savePicture(largeSide, "-" + largeSide);
  });

  return { download: download };
})();
