// GLUT on the page's canvas: the calls declared in web/include/GL/freeglut.h.
//
// The window is the canvas with id "canvas"; its drawing buffer gets the
// requested window size, and the page decides how large it is shown. There
// is no event loop of our own: glutMainLoop draws the first frame, as a
// newly shown window gets, and hands control back to the browser with the
// program kept alive. From then on frames come from keys only, each one
// drawn synchronously inside webKey, as the desktop's keyboard callback
// draws them. The browser keeps the drawing buffer (preserveDrawingBuffer),
// so a covered or scrolled page needs no redraw and advances nothing; only a
// lost and restored WebGL context does (webContextRestored).
#include <GL/freeglut.h>

#include <cstdint>

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "bitmap_font.h"
#include "webgl_backend.h"

namespace {

constexpr char canvasSelector[] = "#canvas";
constexpr int helvetica18Id = 0x0008;  // GLUT_BITMAP_HELVETICA_18

int windowWidth = 300;  // GLUT's default window size
int windowHeight = 300;
void (*displayCallback)() = nullptr;
void (*reshapeCallback)(int, int) = nullptr;
void (*keyboardCallback)(unsigned char, int, int) = nullptr;

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
    emscripten_set_canvas_element_size(canvasSelector, windowWidth, windowHeight);
    if (!webglOpen(canvasSelector)) {
        // As GLUT on a display without GL: say so and end the program.
        pageNoWebGL();
        emscripten_force_exit(1);
    }
    return 1;
}

void glutDisplayFunc(void (*callback)()) { displayCallback = callback; }

void glutReshapeFunc(void (*callback)(int, int)) { reshapeCallback = callback; }

void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { keyboardCallback = callback; }

void glutMainLoop() {
    showWindow();
    emscripten_exit_with_live_runtime();
}

void glutSwapBuffers() {
    glFlush();
    pageFrameDrawn();
}

void glutBitmapCharacter(void* font, int character) {
    // Only the one font, and only codes 1 to 127: the program's titles are
    // ASCII, and bytes above 127 arrive negative, which GLUT rejects.
    if (reinterpret_cast<intptr_t>(font) != helvetica18Id || character < 1 || character > 127) {
        return;
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
    showWindow();
}

// The page's keyboard and buttons: one key, as the character typed (27 for
// Esc). The mouse position is not known to the page and the program ignores
// it. Esc makes the program call exit(0), which throws out of here to the
// page, and the page stops sending keys.
EMSCRIPTEN_KEEPALIVE void webKey(int key) {
    if (keyboardCallback != nullptr && key > 0 && key < 256) {
        keyboardCallback(static_cast<unsigned char>(key), 0, 0);
    }
}

}  // extern "C"
