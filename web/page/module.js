// The program's module: how the page hands emscripten the program (the
// inline wasm, gzipped, unpacked and compiled here) and where the program's hooks lead (output to
// the report box, frames and failures to the page's life in program.js).
// Starts compiling the program first of all, in the background, while the
// page is still being read; the program starts as soon as it is compiled.
// Not here: anything shown on the page; the WebGL context (context.js).
// Performance marks: "page-script",
// "wasm-compiled", "wasm-asked" (the program's script asks for it),
// "wasm-ready", "runtime-ready" (and "first-frame" and "panels-shown", in
// program.js).
"use strict";
performance.mark("page-script");
var Module = (function () {
  // The wasm is inline, gzipped, seven bits to a character (#program-code,
  // as web/tools/pack_program.mjs writes it: one self-contained file, less
  // than half the size of the plain wasm in base64). It is
  // unpacked by the browser's own DecompressionStream and compiled as it
  // streams out, in the background, starting here, while the page is still
  // being read and the WebGL context is made. No fetch(): a data: URL costs
  // round trips through the browser's network service and fails under a
  // Content-Security-Policy connect-src.
  // "N:" and then N bytes, seven bits to a character: a character of code
  // below 128 is its 7 bits; U+0100, U+0101, U+0102 stand for 0, 13 and 60.
  function decodeSevenBits(text) {
    var colon = text.indexOf(":");
    var bytes = new Uint8Array(Number(text.slice(0, colon)));
    var held = 0;
    var bits = 0;
    var out = 0;
    for (var i = colon + 1; i < text.length && out < bytes.length; i++) {
      var code = text.charCodeAt(i);
      held = (held << 7) | (code < 128 ? code : code === 0x100 ? 0 : code === 0x101 ? 13 : 60);
      bits += 7;
      if (bits >= 8) {
        bits -= 8;
        bytes[out++] = held >> bits;
        held &= (1 << bits) - 1;
      }
    }
    return bytes;
  }
  var tooOld = "this browser cannot unpack the program (it has no DecompressionStream)";
  function compileProgram() {
    var packed = document.getElementById("program-code");
    if (!packed) return Promise.reject(new Error("the program's WebAssembly is not inline in the page"));
    if (typeof DecompressionStream !== "function") return Promise.reject(new Error(tooOld));
    var bytes = decodeSevenBits(packed.text);
    packed.text = "";
    // A stream of the bytes at hand: unpacked by promise jobs, which run
    // between the page's scripts, not by tasks that wait for the page's
    // parser to let go (as a Blob's stream would).
    var gzipped = new ReadableStream({
      start: function (controller) {
        controller.enqueue(bytes);
        controller.close();
      }
    });
    var response = new Response(gzipped.pipeThrough(new DecompressionStream("gzip")),
                                { headers: { "content-type": "application/wasm" } });
    var compiled = typeof WebAssembly.compileStreaming === "function" ? WebAssembly.compileStreaming(response)
      : response.arrayBuffer().then(function (wasm) { return WebAssembly.compile(wasm); });
    return compiled.then(function (module) { performance.mark("wasm-compiled"); return module; });
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
