// GLUT on the page's canvas: the calls declared in web/include/GL/freeglut.h,
// and what the page calls in the program (as Module._name, all of it from
// web/page/program_calls.js).
//
// The window is the canvas with id "canvas". The program draws in its
// window's pixels (glutInitWindowSize, 800 x 800 for this program, square);
// the canvas's drawing buffer is any square the page asks for, and the frame
// is drawn scaled to it (frame_record.h), so the picture stays crisp at any
// size and device pixel ratio and is the same picture at every size. There
// is no event loop of our own: glutMainLoop draws the first frame, as a
// newly shown window gets, and hands control back to the browser with the
// program kept alive. From then on frames come from keys only, each one
// drawn synchronously inside webKey, as the desktop's keyboard callback
// draws them. The browser keeps the drawing buffer (preserveDrawingBuffer),
// so a covered or scrolled page needs no redraw and advances nothing; a new
// buffer size redraws the recorded frame without stepping the scene; only a
// lost and restored WebGL context steps it (webContextRestored).
//
// The page's calls:
//   Module._webKey(code)            one key, as the character typed (27: Esc)
//   Module._webSetBufferSide(side)  the drawing buffer becomes side x side
//                                   pixels (clamped to 1..4096; the side used
//                                   is returned) and shows the last frame
//                                   again, redrawn at that size; no step, no
//                                   onFrameDrawn. Before the first frame it
//                                   only sets the size the first frame gets.
//   Module._webBufferSide()         the drawing buffer's side in pixels
//   Module._webContextRestored()    after the canvas's webglcontextrestored
// On a resize: Module._webSetBufferSide(Math.round(cssSide * devicePixelRatio)).
// Saving a picture of a given size (800 for the window's own pixels, 2400
// for print), all in one task, so the screen never shows the other size:
//   var shown = Module._webBufferSide();
//   Module._webSetBufferSide(800);
//   var url = canvas.toDataURL("image/png");
//   Module._webSetBufferSide(shown);
// toDataURL reads the buffer the redraw just filled (the buffer is
// preserved), and setting the size back redraws the shown picture before
// the browser paints. At 800 the PNG is the desktop's picture pixel for
// pixel.
#include <GL/freeglut.h>

#include <cmath>
#include <cstdint>

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "bitmap_font.h"
#include "frame_record.h"
#include "glut_window.h"
#include "scenes/scenes.h"
#include "webgl_backend.h"

namespace {

constexpr char canvasSelector[] = "#canvas";
constexpr int helvetica18Id = 0x0008;  // GLUT_BITMAP_HELVETICA_18
constexpr int minBufferSide = 1;     // pixels
constexpr int maxBufferSide = 4096;  // pixels: 64 MB of drawing buffer

int windowWidth = 300;  // GLUT's default window size
int windowHeight = 300;
void (*displayCallback)() = nullptr;
void (*reshapeCallback)(int, int) = nullptr;
void (*keyboardCallback)(unsigned char, int, int) = nullptr;
int bufferSide = 0;  // pixels; 0 until the page or the window sets it
bool windowOpen = false;

// The size the frame is drawn at: the buffer the browser really gave, which
// may be smaller than asked for.
void useBufferSide() {
    const int given = webglDrawingBufferSide();
    frameSetBuffer(given > 0 && given < bufferSide ? given : bufferSide, windowWidth);
}

// What a window that is shown gets from GLUT: its size, then a frame.
void showWindow() {
    if (reshapeCallback != nullptr) {
        reshapeCallback(windowWidth, windowHeight);
    } else {
        glViewport(0, 0, windowWidth, windowHeight);
    }
    if (displayCallback != nullptr) {
        displayCallback();
    }
}

}  // namespace

void glutWebShowWindow() { showWindow(); }

namespace {
constexpr int frameTextCapacity = 1024;  // bytes: the titles of any frame, with room to spare
char frameText[frameTextCapacity] = {};
int frameTextLength = 0;
bool atTitle = false;  // the raster position is a title's: its glyphs are frame text

void appendFrameText(char c) {
    if (frameTextLength < frameTextCapacity - 1) {
        frameText[frameTextLength++] = c;
        frameText[frameTextLength] = '\0';
    }
}
}  // namespace

void glutWebFrameCleared() {
    atTitle = false;
    frameTextLength = 0;
    frameText[0] = '\0';
}

void glutWebRasterMoved(float x, float y) {
    // Titles are drawn before any transform, so their raster positions are
    // the title constants themselves, to float rounding.
    constexpr float tolerance = 1e-4f;
    const auto near = [](float a, float b) { return std::fabs(a - b) < tolerance; };
    atTitle = near(x, titleX) && (near(y, firstTitleY) || near(y, secondTitleY));
    if (atTitle && frameTextLength > 0 && frameText[frameTextLength - 1] != '\n') {
        appendFrameText('\n');
    }
}

// Whether the shaders linked is asked in a task of its own after the frame
// they drew: the frame's commands are already on their way to the GPU
// process, which compiles the shaders while the browser shows the page.
// (A timer of its own rather than emscripten_async_call, which brings
// 18 KB of emscripten's browser library into the page.)
EM_JS(void, confirmProgramSoon, (), {
    setTimeout(function () { Module["_webConfirmProgram"](); }, 0);
});

namespace {
// glutTimerFunc's callbacks, each run by a browser timer's task, or before
// the next key if that comes first (GLUT's loop runs the timers whose time
// has come before it takes the next event). A slot is free again when its
// callback has run; the browser's timer names its callback by id, so that
// it never runs another one set later in the same slot.
struct Timer {
    void (*callback)(int);
    int value;
    double due;  // ms, emscripten_get_now's clock
    unsigned id;
};
constexpr int maxTimers = 4;  // the program sets one, at start
Timer timers[maxTimers] = {};
unsigned lastTimerId = 0;

void runTimer(int slot) {
    const Timer timer = timers[slot];
    timers[slot] = {};
    timer.callback(timer.value);
}

void runDueTimers() {
    const double now = emscripten_get_now();
    for (int slot = 0; slot < maxTimers; ++slot) {
        if (timers[slot].callback != nullptr && timers[slot].due <= now) {
            runTimer(slot);
        }
    }
}
}  // namespace

EM_JS(void, pageTimer, (unsigned int milliseconds, unsigned id), {
    setTimeout(function () { Module["_webTimer"](id); }, milliseconds);
});

// What the page learns from the program.
EM_JS(void, pageFrameDrawn, (), {
    if (Module["onFrameDrawn"]) Module["onFrameDrawn"]();
});
EM_JS(void, pageNoWebGL, (), {
    if (Module["onNoWebGL"]) Module["onNoWebGL"]();
});

extern "C" {

void glutInitWindowSize(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

void glutInit(int* /*argc*/, char** /*argv*/) {}

void glutInitDisplayMode(unsigned int /*mode*/) {}

int glutCreateWindow(const char* /*title*/) {
    if (bufferSide == 0) {
        bufferSide = windowWidth;
    }
    // Setting a canvas's size, even to the size it has, makes the browser
    // allocate its drawing buffer anew in the GPU process, which the first
    // frame then waits for: only a size that differs is set.
    int width = 0;
    int height = 0;
    if (emscripten_get_canvas_element_size(canvasSelector, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS ||
        width != bufferSide || height != bufferSide) {
        emscripten_set_canvas_element_size(canvasSelector, bufferSide, bufferSide);
    }
    if (!webglOpen(canvasSelector)) {
        // As GLUT on a display without GL: say so and end the program.
        pageNoWebGL();
        emscripten_force_exit(1);
    }
    windowOpen = true;
    useBufferSide();
    return 1;
}

void glutDisplayFunc(void (*callback)()) { displayCallback = callback; }

void glutReshapeFunc(void (*callback)(int, int)) { reshapeCallback = callback; }

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { keyboardCallback = callback; }

void glutMainLoop() {
    showWindow();
    confirmProgramSoon();
    emscripten_exit_with_live_runtime();
}

void glutSwapBuffers() {
    glFlush();
    pageFrameDrawn();
}

void glutTimerFunc(unsigned int milliseconds, void (*callback)(int), int value) {
    for (int slot = 0; slot < maxTimers; ++slot) {
        if (timers[slot].callback == nullptr) {
            timers[slot] = {callback, value, emscripten_get_now() + milliseconds, ++lastTimerId};
            pageTimer(milliseconds, lastTimerId);
            return;
        }
    }
}

void glutBitmapCharacter(void* font, int character) {
    // Only the one font, and only codes 1 to 127: the program's titles are
    // ASCII, and bytes above 127 arrive negative, which GLUT rejects.
    if (reinterpret_cast<intptr_t>(font) != helvetica18Id || character < 1 || character > 127) {
        return;
    }
    if (atTitle) {
        appendFrameText(static_cast<char>(character));
    }
    const BitmapGlyph& g = fontHelvetica18.glyphs[character];
    glBitmap(g.width, g.height, g.xorig, g.yorig, g.xmove, g.ymove, fontHelvetica18.bits + g.offset);
}

// The browser gave back a WebGL context it had taken away (the GPU was
// reset, or the tab was put aside): the picture is gone, so the window gets
// its size and a frame again, as a desktop window shown anew; the frame
// steps the scene once.
EMSCRIPTEN_KEEPALIVE void webContextRestored() {
    webglRestore();
    useBufferSide();
    showWindow();
    confirmProgramSoon();
}

// The drawing buffer becomes side x side pixels and shows the recorded
// frame again at that size. The display callback is not called: it would
// step the scene.
EMSCRIPTEN_KEEPALIVE int webSetBufferSide(int side) {
    bufferSide = side < minBufferSide ? minBufferSide : side > maxBufferSide ? maxBufferSide : side;
    // Setting the size empties the buffer, even the same size again.
    emscripten_set_canvas_element_size(canvasSelector, bufferSide, bufferSide);
    if (windowOpen) {
        useBufferSide();
        frameReplay();
    }
    return bufferSide;
}

// The frame's titles as text, a line each (ASCII), for the page.
EMSCRIPTEN_KEEPALIVE const char* webFrameText() { return frameText; }

// A glutTimerFunc callback whose time has come, unless a key ran it
// already; the page does not call it.
EMSCRIPTEN_KEEPALIVE void webTimer(unsigned id) {
    for (int slot = 0; slot < maxTimers; ++slot) {
        if (timers[slot].callback != nullptr && timers[slot].id == id) {
            runTimer(slot);
            return;
        }
    }
}

// Whether the shaders linked (see confirmProgramSoon); the page does not call it.
EMSCRIPTEN_KEEPALIVE void webConfirmProgram() { webglConfirmProgram(); }

EMSCRIPTEN_KEEPALIVE int webBufferSide() { return bufferSide > 0 ? bufferSide : windowWidth; }

// The page's keyboard and buttons: one key, as the character typed (27 for
// Esc). The mouse position is not known to the page and the program ignores
// it. Esc makes the program call exit(0), which throws out of here to the
// page, and the page stops sending keys. The runtime stays alive (see
// glutMainLoop), so Module._webRestart (web/restart.cpp) can start the
// program again.
EMSCRIPTEN_KEEPALIVE void webKey(int key) {
    runDueTimers();
    if (keyboardCallback != nullptr && key > 0 && key < 256) {
        keyboardCallback(static_cast<unsigned char>(key), 0, 0);
    }
}

}  // extern "C"
