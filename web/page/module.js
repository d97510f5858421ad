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
// The page's packed parts: seven bits to a character, gzipped.
var packedParts = (function () {
  // The wasm is inline, gzipped, seven bits to a character (#program-code,
  // as web/tools/pack_program.mjs writes it: one self-contained file, less
  // than half the size of the plain wasm in base64), and so is What to
  // notice (#notes-code). No fetch(): a data: URL costs round trips through
  // the browser's network service and fails under a Content-Security-Policy
  // connect-src.
  // "N:" and then N bytes, seven bits to an ASCII character; DEL and a
  // digit 0 to 3 stand for 0, 13, 60 and 127. The text is turned into bytes
  // by the browser's TextEncoder and the bits put together by a small
  // WebAssembly function, whose text (WAT) is this, as wasm-as and
  // wasm-opt -Oz make it into the bytes below:
  //   (module
  //     (memory (export "memory") 1)
  //     (data (i32.const 0) "\00\0d\3c\7f")   ;; the escaped values, by digit
  //     ;; Characters [in, end) to bytes from out; returns the end of the bytes.
  //     (func (export "decode") (param $in i32) (param $end i32) (param $out i32) (result i32)
  //       (local $c i32) (local $held i32) (local $bits i32)
  //       (block $done
  //         (loop $next
  //           (br_if $done (i32.ge_u (local.get $in) (local.get $end)))
  //           (local.set $c (i32.load8_u (local.get $in)))
  //           (local.set $in (i32.add (local.get $in) (i32.const 1)))
  //           (if (i32.eq (local.get $c) (i32.const 127))
  //             (then
  //               (local.set $c (i32.load8_u (i32.sub (i32.load8_u (local.get $in)) (i32.const 48))))
  //               (local.set $in (i32.add (local.get $in) (i32.const 1)))))
  //           (local.set $held (i32.or (i32.shl (local.get $held) (i32.const 7)) (local.get $c)))
  //           (local.set $bits (i32.add (local.get $bits) (i32.const 7)))
  //           (if (i32.ge_u (local.get $bits) (i32.const 8))
  //             (then
  //               (local.set $bits (i32.sub (local.get $bits) (i32.const 8)))
  //               (i32.store8 (local.get $out) (i32.shr_u (local.get $held) (local.get $bits)))
  //               (local.set $out (i32.add (local.get $out) (i32.const 1)))
  //               (local.set $held (i32.and (local.get $held)
  //                                         (i32.sub (i32.shl (i32.const 1) (local.get $bits)) (i32.const 1))))))
  //           (br $next)))
  //       (local.get $out)))
  // The same loop in the page's JavaScript runs once, cold, in the
  // interpreter: 15 to 40 ms for the 134 KB, where this takes 2 to 4.
  var sevenBitsDecoder = [
    0, 97, 115, 109, 1, 0, 0, 0, 1, 8, 1, 96, 3, 127, 127, 127, 1, 127, 3, 2, 1, 0, 5, 3, 1, 0, 1, 7, 19, 2, 6, 109,
    101, 109, 111, 114, 121, 2, 0, 6, 100, 101, 99, 111, 100, 101, 0, 0, 10, 123, 1, 121, 1, 3, 127, 3, 64, 32, 0, 32,
    1, 79, 69, 4, 64, 32, 0, 45, 0, 0, 33, 5, 32, 0, 65, 1, 106, 33, 0, 32, 5, 65, 255, 0, 70, 4, 64, 32, 0, 45, 0, 0,
    65, 48, 107, 45, 0, 0, 33, 5, 32, 0, 65, 1, 106, 33, 0, 11, 32, 3, 65, 7, 116, 32, 5, 114, 33, 3, 32, 4, 65, 7,
    106, 34, 4, 65, 8, 79, 4, 64, 32, 2, 32, 3, 32, 4, 65, 8, 107, 34, 4, 118, 58, 0, 0, 32, 3, 65, 1, 32, 4, 116, 65,
    1, 107, 113, 33, 3, 32, 2, 65, 1, 106, 33, 2, 11, 12, 1, 11, 11, 32, 2, 11, 11, 9, 1, 0, 65, 1, 11, 3, 13, 60, 127
  ];
  var damaged = "a packed part of the page is damaged";
  // The same loop in JavaScript, where WebAssembly is not allowed (a
  // Content-Security-Policy without 'wasm-unsafe-eval'): the program cannot
  // run then, but What to notice is still put into the page.
  var escapedValues = [0, 13, 60, 127];
  function decodeInScript(text, from, length) {
    var bytes = new Uint8Array(length);
    var held = 0;
    var bits = 0;
    var n = 0;
    for (var i = from; i < text.length && n < length; i++) {
      var c = text.charCodeAt(i);
      if (c === 127) c = escapedValues[text.charCodeAt(++i) - 48];
      held = (held << 7) | c;
      bits += 7;
      if (bits >= 8) {
        bits -= 8;
        bytes[n++] = held >> bits;
        held &= (1 << bits) - 1;
      }
    }
    if (n !== length) throw new Error(damaged);
    return bytes;
  }
  function decodeSevenBits(text) {
    var colon = text.indexOf(":");
    var length = Number(text.slice(0, colon));
    var chars = text.length - colon - 1;
    var decoder;
    try {
      decoder = new WebAssembly.Instance(new WebAssembly.Module(new Uint8Array(sevenBitsDecoder))).exports;
    } catch (error) {
      return decodeInScript(text, colon + 1, length);
    }
    var input = 4;  // after the escaped values
    var output = input + chars;
    decoder.memory.grow(Math.ceil((output + length) / 65536));
    var memory = new Uint8Array(decoder.memory.buffer);
    // One byte a character: a character beyond ASCII would not fit.
    if (new TextEncoder().encodeInto(text.slice(colon + 1), memory.subarray(input, output)).read !== chars) {
      throw new Error(damaged);
    }
    var end = decoder.decode(input, output, output);
    if (end - output !== length) throw new Error(damaged);
    return memory.slice(output, end);
  }
  // A packed element's bytes, unpacked: a Response of them. Its text is
  // emptied (the page keeps no second copy). The stream of the bytes at
  // hand is unpacked by promise jobs, which run as soon as the running
  // script ends, not by tasks that wait for the page's parser to let go (as
  // a Blob's stream would).
  function unpack(element) {
    var bytes = decodeSevenBits(element.text);
    element.text = "";
    var gzipped = new ReadableStream({
      start: function (controller) {
        controller.enqueue(bytes);
        controller.close();
      }
    });
    return new Response(gzipped.pipeThrough(new DecompressionStream("gzip")));
  }
  return { unpack: unpack };
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
    var response = packedParts.unpack(packed);
    performance.mark("wasm-decoded");
    return response.arrayBuffer().then(function (wasm) {
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
