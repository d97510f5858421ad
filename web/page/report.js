// The report box (#report): the program's standard output as a UTF-8
// terminal shows it, one block per report, the last 120 kept, scrolled to
// the end unless the reader has scrolled up. Not here: the program's
// standard error (the console) and the readout.
"use strict";
var reportBox = (function () {
  var report = document.getElementById("report");

  // ---- The report: standard output as a terminal shows it, decoded as it
  // comes and put into the page once per animation frame. Each report is a
  // block of its own, split just after the newline that starts the next one,
  // so the lines read as on a terminal and whole old reports can be dropped
  // from the front; the box scrolls, and stays at the end unless scrolled up.
  var reportStart = "\n糸の巻き戻し";
  var maxReports = 120;
  var decoder = new TextDecoder("utf-8");
  var pendingText = "";
  var flushQueued = false;
  var stuckToEnd = true;

  function output(bytes) {
    pendingText += decoder.decode(bytes, { stream: true });
    if (!flushQueued) {
      flushQueued = true;
      requestAnimationFrame(flushReport);
    }
  }

  function newBlock(text) {
    var block = document.createElement("span");
    block.lang = "ja";
    block.textContent = text;
    report.appendChild(block);
    if (endWatcher) {
      endWatcher.disconnect();
      endWatcher.observe(block);
    }
    return block;
  }

  function flushReport() {
    flushQueued = false;
    var text = pendingText;
    pendingText = "";
    var last = report.lastElementChild ? report.lastElementChild.firstChild : null;
    // A report's start may have arrived partly in the previous frame.
    var tail = last ? last.data.slice(1 - reportStart.length) : "";
    var at = (tail + text).indexOf(reportStart);
    if (at >= 0 && at < tail.length) {
      last.deleteData(last.length - tail.length + at, tail.length - at);
      text = (tail + text).slice(at);
    }
    var pieces = text.split(reportStart);
    if (pieces[0] !== "") {
      if (last) last.appendData(pieces[0]);
      else newBlock(pieces[0]);
    }
    for (var i = 1; i < pieces.length; i++) {
      // The newline ends the block before; the first report keeps its own.
      if (report.lastElementChild) report.lastElementChild.firstChild.appendData("\n");
      newBlock((report.lastElementChild ? "" : "\n") + reportStart.slice(1) + pieces[i]);
    }
    while (report.childElementCount > maxReports) report.removeChild(report.firstElementChild);
  }

  // Scrolling to the end after the browser's own layout, never forcing one:
  // a ResizeObserver on the last block runs once layout is done.
  var endWatcher = typeof ResizeObserver === "function" ? new ResizeObserver(function () {
    if (stuckToEnd) report.scrollTop = report.scrollHeight;
  }) : null;
  report.addEventListener("scroll", function () {
    stuckToEnd = report.scrollTop + report.clientHeight >= report.scrollHeight - 4;
  }, { passive: true });

  return { output: output };
})();
