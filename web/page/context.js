// The WebGL context and the program's shader program, made as soon as the
// program's wasm has been decoded and unpacked and its compile started
// (module.js), before the rest of the page is read. Making the context
// blocks the page's thread while the browser's GPU process makes it (tens
// of milliseconds, as in a page that only draws); the wasm compiles on the
// browser's background threads meanwhile. Made before the wasm was read,
// the context was ready sooner but the page's own reading, decoding and
// unpacking all came after the wait instead of before it; asked for at the
// program's start, it waited for the browser to finish painting the page
// first, several times as long.
//
// The program's emscripten_webgl_create_context then gets this same
// context, so these are the attributes webglOpen (web/webgl_backend.cpp)
// asks for; it checks that the context has them. The link status is not
// asked for here: the answer waits for the GPU process to compile and link
// the shaders, which it does while the page reads on; the program's
// glUseProgram asks, at its first frame's first draw, when it is there. (The
// browser paints nothing before that frame, so no frames of its own keep
// the GPU process busy then.)
//
// Not here: anything drawn (the program draws), and what to do without
// WebGL (the program finds none either and says so). Performance mark:
// "webgl-context" (made, or found missing).
"use strict";
var webglContext = (function () {
  var attributes = ["windowPos", "colour", "viewport"];  // at locations 0, 1 and 2, as webgl_backend.cpp draws them
  // The shaders compiled and the program linked, not yet asked about.
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
    }
  } catch (e) {
    // No WebGL: the program finds none either and says so.
  }

  performance.mark("webgl-context");
  return {
    // The shader program for the program's context: the one made with the
    // page, or a new one (after a lost context came back); its shaders
    // too, for their logs should the link have failed.
    takeProgram: function (gl) {
      var made = early && early.gl === gl && !gl.isContextLost() ? early.made : makeProgram(gl);
      early = null;
      return made;
    }
  };
})();
