// The program's module: how the page hands emscripten the program (the
// inline wasm, gzipped, unpacked and compiled here) and where the program's hooks lead (output to
// the report box, frames and failures to the page's life in program.js).
// Read before the WebGL context is made (context.js): it decodes and
// unpacks the program and starts compiling it, which the browser does on
// its background threads while the context is being made; the program
// starts when its script is read, with the module compiled by then.
// The unpacking of the page's packed parts (packedParts: the wasm, and What
// to notice, which program.js unpacks after the first frame) is here too.
// Not here: anything shown on the page; the WebGL context (context.js).
// Performance marks: "page-script",
// "wasm-decoded", "wasm-unpacked", "wasm-compiled", "wasm-asked" (the program's script asks for it),
// "wasm-ready", "runtime-ready" (and "first-frame" and "panels-shown", in
// program.js).
"use strict";
performance.mark("page-script");
// The page's packed parts: gzipped, in base64.
var packedParts = (function () {
  // The wasm is inline, gzipped and in base64 (#program-code, as
  // web/tools/pack_program.mjs writes it: one self-contained file, less
  // than half the size of the plain wasm in base64), and so is What to notice
  // (#notes-code). No fetch(): a data: URL costs round trips through the
  // browser's network service and fails under a Content-Security-Policy
  // connect-src.
  var damaged = "a packed part of the page is damaged";
  // The browser's own decoder where it has one (1 to 2 ms for the
  // program's 160 KB of text); otherwise atob and a loop.
  function decodeBase64(text) {
    try {
      if (typeof Uint8Array.fromBase64 === "function") return Uint8Array.fromBase64(text);
      var binary = atob(text);
      var bytes = new Uint8Array(binary.length);
      for (var i = 0; i < binary.length; i++) bytes[i] = binary.charCodeAt(i);
      return bytes;
    } catch (error) {
      throw new Error(damaged);
    }
  }
  // A packed element's bytes, unpacked: a promise of them, in one
  // Uint8Array. Its text is emptied (the page keeps no second copy). The
  // stream of the bytes at hand is unpacked by promise jobs, which run as
  // soon as the running script ends, not by tasks that wait for the page's
  // parser to let go (as a Blob's stream would). The unpacked pieces are
  // read here and put into a buffer of the size gzip's trailer gives, which
  // takes half the time a Response's arrayBuffer() does (8 against 16 ms for
  // the program, before the context is made).
  function unpack(element) {
    var bytes = decodeBase64(element.text);
    element.text = "";
    if (bytes.length < 18) return Promise.reject(new Error(damaged));
    var gzipped = new ReadableStream({
      start: function (controller) {
        controller.enqueue(bytes);
        controller.close();
      }
    });
    var reader = gzipped.pipeThrough(new DecompressionStream("gzip")).getReader();
    // ISIZE, the last four bytes: the unpacked size (modulo 2^32, far above any part).
    var n = bytes.length;
    var size = (bytes[n - 4] | bytes[n - 3] << 8 | bytes[n - 2] << 16 | bytes[n - 1] << 24) >>> 0;
    var unpacked = new Uint8Array(size);
    var at = 0;
    function next(piece) {
      if (piece.done) {
        if (at !== size) throw new Error(damaged);
        return unpacked;
      }
      if (at + piece.value.length > size) throw new Error(damaged);
      unpacked.set(piece.value, at);
      at += piece.value.length;
      return reader.read().then(next);
    }
    // Bytes that are not gzip, or cut short, fail the stream with the
    // browser's own words: they are a damaged part all the same.
    return reader.read().then(next).catch(function () { throw new Error(damaged); });
  }
  return { unpack: unpack, damaged: damaged };
})();
var Module = (function () {
  var tooOld = "this browser cannot unpack the program (it has no DecompressionStream)";
  function compileProgram() {
    var packed = document.getElementById("program-code");
    if (!packed) return Promise.reject(new Error("the program's WebAssembly is not inline in the page"));
    if (typeof DecompressionStream !== "function") return Promise.reject(new Error(tooOld));
    // Unpacked as soon as this script ends, before the next one
    // (context.js) makes the context; the unpacked wasm is then compiled
    // whole (not as it streams: the streaming compile reads its bytes on the
    // page's thread), on the browser's background threads, while the
    // context is made.
    var unpacking = packedParts.unpack(packed);
    performance.mark("wasm-decoded");
    return unpacking.then(function (wasm) {
      performance.mark("wasm-unpacked");
      return WebAssembly.compile(wasm);
    }).then(function (module) {
      performance.mark("wasm-compiled");
      return module;
    });
  }
  var compiling;
  try {
    compiling = compileProgram();
  } catch (error) {
    compiling = Promise.reject(error);
  }
  // A failure is told when the program's script asks for the module
  // (instantiateWasm), once the page's life (program.js) is there to tell it.
  var compiledModule = null;
  compiling.then(function (module) { compiledModule = module; }, function () {});

  function failToRun(reason) { page.failToRun(reason); }
  return {
    canvas: document.getElementById("canvas"),
    // Every byte of standard output, as a terminal shows it.
    onOutput: function (fd, bytes) {
      if (fd === 1) reportBox.output(bytes);
      else console.warn(new TextDecoder("utf-8").decode(bytes));
    },
    onFrameDrawn: function () { page.frameDrawn(); },
    onNoWebGL: function () {
      page.fail("This browser cannot show the picture: WebGL is switched off or missing. " +
                "Switch on hardware acceleration (or WebGL) in the browser's settings, or use another browser.");
    },
    // A shader that did not compile or link: nothing can be drawn.
    onFailure: function (message) {
      page.fail("The picture cannot be drawn: " + message + ". Try another browser or device.");
    },
    onAbort: failToRun,
    // The compiled program instantiated with the glue's imports; the first
    // frame follows as soon as it is ready, whether or not the rest of the
    // page has been read.
    instantiateWasm: function (imports, receiveInstance) {
      performance.mark("wasm-asked");
      function failed(error) {
        if (error && error.message === tooOld) {
          page.fail("The program cannot start: " + tooOld + ". Update the browser, or use another one.");
        } else if (error && error.message === packedParts.damaged) {
          // Not the browser's fault: a page cut short or changed on its way.
          page.fail("The program cannot start: this copy of the page is damaged (its program is cut short or " +
                    "changed). Download or save the page again.");
        } else {
          failToRun(error);
        }
      }
      // Compiled already (while the page's scripts before this one ran): the
      // program starts at once, before the page's later scripts, unless the
      // browser instantiates only small modules on the page's thread.
      if (compiledModule) {
        var instance = null;
        try {
          instance = new WebAssembly.Instance(compiledModule, imports);
        } catch (error) {
          if (!(error instanceof RangeError)) {
            failed(error);
            return {};
          }
        }
        if (instance) {
          performance.mark("wasm-ready");
          receiveInstance(instance, compiledModule);
          return instance.exports;
        }
      }
      compiling.then(function (compiled) {
        return WebAssembly.instantiate(compiled, imports).then(function (instance) {
          performance.mark("wasm-ready");
          receiveInstance(instance, compiled);
        });
      }).catch(failed);
      return {};
    },
    // The shader program for the program's context (context.js).
    takeProgram: function (gl) { return webglContext.takeProgram(gl); },
    onRuntimeInitialized: function () { performance.mark("runtime-ready"); page.start(); },
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); }
  };
})();
