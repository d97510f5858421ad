// The program's module: how the page hands emscripten the program (the
// inline wasm, decoded here) and where the program's hooks lead (output to
// the report box, frames and failures to the page's life in program.js).
// Asks for the WebGL context before the page's first paint, with the
// program's shaders (shaders.html) compiled and linked, and compiles
// and starts the program at once, while the page is still being read (most
// of the page's scripts come after the program's, page.html).
// Not here: anything shown on the page. Performance marks: "page-script",
// "wasm-ready", "runtime-ready" (and "first-frame" and "panels-shown", in
// program.js).
"use strict";
performance.mark("page-script");
var Module = (function () {
  // The WebGL context is asked for now, before the page's first paint: asked
  // for at the program's start, it waits for the browser's GPU process to
  // finish painting the page first, several times as long. The program's
  // emscripten_webgl_create_context then gets this same context, so these
  // are the attributes webglOpen (web/webgl_backend.cpp) asks for; it checks
  // that the context has them.
  //
  // The program's shaders (shaders.html) are compiled and linked with it,
  // and the link status asked for at once, which the browser then keeps:
  // the GPU process has just made the context and answers in a millisecond.
  // Asked at the first frame (glUseProgram asks it), the answer waits for
  // whatever the GPU process is busy with then, the browser's own frames
  // among them (tens of milliseconds each without a GPU). webglOpen takes
  // this program (takeProgram below).
  var attributes = ["windowPos", "colour", "viewport"];  // at locations 0, 1 and 2, as webgl_backend.cpp draws them
  function makeProgram(gl) {
    var made = { program: gl.createProgram() };
    [["vertex", gl.VERTEX_SHADER], ["fragment", gl.FRAGMENT_SHADER]].forEach(function (kind) {
      var shader = gl.createShader(kind[1]);
      gl.shaderSource(shader, document.getElementById(kind[0] + "-shader").text);
      gl.compileShader(shader);
      gl.attachShader(made.program, shader);
      made[kind[0]] = shader;
    });
    attributes.forEach(function (name, location) { gl.bindAttribLocation(made.program, location, name); });
    gl.linkProgram(made.program);
    return made;
  }
  var early = null;
  try {
    var gl = document.getElementById("canvas").getContext("webgl", { alpha: false, depth: false, stencil: false,
                                                                      antialias: false, preserveDrawingBuffer: true });
    if (gl) {
      early = { gl: gl, made: makeProgram(gl) };
      gl.getProgramParameter(early.made.program, gl.LINK_STATUS);
    }
  } catch (e) {
    // No WebGL: the program finds none either and says so.
  }

  // The wasm is inline as base64 (one self-contained file). Decoded here,
  // once and synchronously, it spares emscripten's fetch() of a data: URL,
  // which costs tens of milliseconds of round trips through the browser's
  // network service, and fails under a Content-Security-Policy connect-src.
  function decodeBase64(text) {
    if (typeof Uint8Array.fromBase64 === "function") return Uint8Array.fromBase64(text);
    var chars = atob(text);
    var bytes = new Uint8Array(chars.length);
    for (var i = 0; i < chars.length; i++) bytes[i] = chars.charCodeAt(i);
    return bytes;
  }
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
    // emscripten's SINGLE_FILE build keeps the wasm as a data: URL in the
    // global wasmBinaryFile; with it missing (another toolchain), starting
    // is impossible here, and the page says so.
    instantiateWasm: function (imports, receiveInstance) {
      var url = typeof wasmBinaryFile === "string" ? wasmBinaryFile : "";
      var comma = url.indexOf(";base64,");
      if (url.lastIndexOf("data:", 0) !== 0 || comma < 0) {
        failToRun("the program's WebAssembly is not inline in the page");
        return {};
      }
      // Compiled and started at once, while the page is still being read:
      // the first frame is drawn before the page's later scripts run. A
      // browser that compiles only small modules on the page's thread
      // (a RangeError) compiles it in the background instead.
      var bytes = decodeBase64(url.slice(comma + 8));
      var compiled;
      try {
        compiled = new WebAssembly.Module(bytes);
      } catch (error) {
        if (!(error instanceof RangeError)) {
          failToRun(error);
          return {};
        }
        WebAssembly.instantiate(bytes, imports).then(function (result) {
          performance.mark("wasm-ready");
          receiveInstance(result.instance, result.module);
        }, failToRun);
        return {};
      }
      var instance;
      try {
        instance = new WebAssembly.Instance(compiled, imports);
      } catch (error) {
        failToRun(error);
        return {};
      }
      performance.mark("wasm-ready");
      receiveInstance(instance, compiled);
      return instance.exports;
    },
    // The shader program for the program's context: the one made with the
    // page, or a new one (after a lost context came back); its shaders
    // too, for their logs should the link have failed.
    takeProgram: function (gl) {
      var made = early && early.gl === gl && !gl.isContextLost() ? early.made : makeProgram(gl);
      early = null;
      return made;
    },
    onRuntimeInitialized: function () { performance.mark("runtime-ready"); page.start(); },
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); }
  };
})();
