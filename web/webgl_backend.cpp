// WebGL 1 through emscripten's bindings, called by their emscripten_gl*
// names: the plain gl* names belong to the GL 1.1 layer (gl_immediate.cpp),
// which the program's own code calls.
//
// GL state this file sets, once, and nobody else touches: one program with
// two attribute arrays and one constant attribute (the viewport), one array
// buffer, the viewport, the clear colour. No depth test, no blending, no
// culling (WebGL's defaults), as on the desktop.
//
// One wait for the browser's GPU process on the way to the first frame, and
// as late as can be: every WebGL query (a link status, a uniform's location)
// is a round trip that waits until the GPU process has done everything
// asked of it so far (6 to 11 ms at start-up on a small machine, even in a
// page that only clears), and WebGL asks whether the program linked before
// it lets glUseProgram use it. So the shader program is made by the page
// with the context (web/page/context.js) and linked by the GPU process while
// the page reads on; glUseProgram comes at the first frame's first draw,
// after the frame is recorded; the viewport reaches the shader as a
// constant vertex attribute, whose location is bound before the link, not
// as a uniform; and the shaders' own logs are asked for only after the first
// frame, should the link have failed (webglConfirmProgram).
//
// A shader that does not compile or a program that does not link is told to
// the page (Module.onFailure) with the browser's log, and from then on
// nothing is drawn: a wrong picture is worse than none. Until the status is
// known, draws with a program that failed draw nothing (WebGL refuses them).
#include "webgl_backend.h"

#include <cstdio>

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <webgl/webgl1.h>

namespace {

// The shaders' attributes, at the locations the page binds them to
// (web/page/module.js, in the order web/page/shaders.html declares them).
constexpr GLuint positionAttribute = 0;
constexpr GLuint colourAttribute = 1;
constexpr GLuint viewportAttribute = 2;  // no array: one value for every vertex
constexpr int maxLogChars = 1024;

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
GLuint program = 0;
GLuint vertexBuffer = 0;
GLuint vertexShader = 0;    // kept until the link status is known, to say which one failed
GLuint fragmentShader = 0;
bool ready = false;      // the program linked, or its status is still to come: drawing may go on
bool confirmed = false;  // the link status has been asked for
bool inUse = false;      // glUseProgram has been called for the program

EM_JS(void, pageFailure, (const char* message), {
    if (Module["onFailure"]) Module["onFailure"](UTF8ToString(message));
});

// Tells the page what failed, with the browser's log. A lost context fails
// every compile and link and says nothing; it is no fault of ours, and the
// page draws again when the context comes back.
void reportFailure(const char* what, const char* log) {
    if (emscripten_is_webgl_context_lost(context)) {
        return;
    }
    static char message[maxLogChars + 64];
    std::snprintf(message, sizeof message, "the WebGL %s: %s", what, log[0] != '\0' ? log : "(no log)");
    pageFailure(message);
}

// Why a shader did not compile, told to the page; false when it did.
bool reportCompileFailure(GLuint shader, GLenum type) {
    GLint compiled = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) {
        return false;
    }
    static char log[maxLogChars];
    log[0] = '\0';
    emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    reportFailure(type == GL_VERTEX_SHADER ? "vertex shader did not compile" : "fragment shader did not compile", log);
    return true;
}

// The page's shader program for the current context (Module.takeProgram,
// web/page/module.js), entered in emscripten's tables of GL objects as its
// glCreateProgram and glCreateShader would, so that the emscripten_gl*
// calls take it and its two shaders.
EM_JS(GLuint, takePageProgram, (GLuint * shaders), {
    var made = Module["takeProgram"](GLctx);
    var program = made.program;
    var id = GL.getNewId(GL.programs);
    program.name = id;
    program.maxUniformLength = program.maxAttributeLength = program.maxUniformBlockNameLength = 0;
    program.uniformIdCounter = 1;
    GL.programs[id] = program;
    [made.vertex, made.fragment].forEach(function(shader, i) {
        var shaderId = GL.getNewId(GL.shaders);
        GL.shaders[shaderId] = shader;
        HEAPU32[(shaders >> 2) + i] = shaderId;
    });
    return id;
});

// The program, compiled and linked by the page (at once with the context,
// at start-up), without asking anything here.
void startProgram() {
    GLuint shaders[2] = {0, 0};
    program = takePageProgram(shaders);
    vertexShader = shaders[0];
    fragmentShader = shaders[1];
    confirmed = false;
}

void draw(GLenum mode, const WindowVertex* vertices, int count) {
    if (!ready || count <= 0) {
        return;
    }
    // The program is put to use only now, at the frame's first draw, rather
    // than with the context: WebGL asks the GPU process whether it linked
    // and waits for the answer, which has had the whole frame's recording
    // to come by then.
    if (!inUse) {
        emscripten_glUseProgram(program);
        inUse = true;
    }
    // One upload and one draw call per batch.
    emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(WindowVertex)) * count, vertices,
                            GL_STREAM_DRAW);
    emscripten_glDrawArrays(mode, 0, count);
}

}  // namespace

bool webglOpen(const char* canvasSelector) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;      // the scenes' colours have alpha 0: an opaque buffer ignores it, as the desktop's does
    attributes.depth = EM_FALSE;      // nothing enables a depth test
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;  // the desktop draws aliased lines and polygons
    attributes.preserveDrawingBuffer = EM_TRUE;  // the frame stays readable for "Save picture"
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    // No WebGL extension is used: asking the browser for all of them, as
    // emscripten does by default, costs a round trip to its GPU process each
    // (tens of milliseconds at start-up, before the first frame).
    attributes.enableExtensionsByDefault = EM_FALSE;
    // The page may have asked for the canvas's context already (early, to
    // have it sooner); the browser then hands back that one, whatever is
    // asked here.
    context = emscripten_webgl_create_context(canvasSelector, &attributes);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        return false;
    }
    EmscriptenWebGLContextAttributes given;
    if (emscripten_webgl_get_context_attributes(context, &given) == EMSCRIPTEN_RESULT_SUCCESS &&
        (given.alpha != attributes.alpha || given.antialias != attributes.antialias ||
         given.preserveDrawingBuffer != attributes.preserveDrawingBuffer)) {
        // Another picture than the desktop's, or a frame that cannot be saved.
        pageFailure("the WebGL context has other attributes than the program draws with (alpha, antialias, "
                    "preserveDrawingBuffer)");
        return true;
    }
    webglRestore();
    return true;
}

void webglRestore() {
    startProgram();
    ready = true;
    inUse = false;  // at the first draw

    emscripten_glGenBuffers(1, &vertexBuffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    emscripten_glEnableVertexAttribArray(positionAttribute);
    emscripten_glEnableVertexAttribArray(colourAttribute);
    emscripten_glVertexAttribPointer(positionAttribute, 2, GL_FLOAT, GL_FALSE, sizeof(WindowVertex), nullptr);
    emscripten_glVertexAttribPointer(colourAttribute, 4, GL_FLOAT, GL_FALSE, sizeof(WindowVertex),
                                     reinterpret_cast<const void*>(2 * sizeof(float)));
}

void webglViewport(int x, int y, int width, int height) {
    if (!ready) {
        return;
    }
    emscripten_glViewport(x, y, width, height);
    emscripten_glVertexAttrib4f(viewportAttribute, static_cast<float>(x), static_cast<float>(y),
                                0.5f * static_cast<float>(width), 0.5f * static_cast<float>(height));
}

bool webglConfirmProgram() {
    if (confirmed || program == 0) {
        return ready;
    }
    confirmed = true;
    GLint linked = GL_FALSE;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    ready = linked == GL_TRUE;
    // The shaders' own status only when the link failed, to say which one
    // did not compile.
    if (!ready && !reportCompileFailure(vertexShader, GL_VERTEX_SHADER) &&
        !reportCompileFailure(fragmentShader, GL_FRAGMENT_SHADER)) {
        static char log[maxLogChars];
        log[0] = '\0';
        emscripten_glGetProgramInfoLog(program, sizeof log, nullptr, log);
        reportFailure("program did not link", log);
    }
    // Attached to the program, the shaders live on with it.
    emscripten_glDeleteShader(vertexShader);
    emscripten_glDeleteShader(fragmentShader);
    vertexShader = 0;
    fragmentShader = 0;
    return ready;
}

void webglClear(float r, float g, float b, float a) {
    if (!ready) {
        return;
    }
    emscripten_glClearColor(r, g, b, a);
    emscripten_glClear(GL_COLOR_BUFFER_BIT);
}

void webglTriangles(const WindowVertex* vertices, int count) { draw(GL_TRIANGLES, vertices, count); }

int webglDrawingBufferSide() {
    int width = 0;
    int height = 0;
    if (context <= 0 || emscripten_webgl_get_drawing_buffer_size(context, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS) {
        return 0;
    }
    return width < height ? width : height;
}
