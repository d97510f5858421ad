#include "support/gl_window.h"

// Before the X headers, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "app/window.h"
#include "geometry/gear_setup.h"
#include "support/program.h"

namespace {

constexpr int windowTimeoutMs = 20000;  // sanitizer builds on software GL start slowly; not a measure of speed

int windowId = 0;
std::string windowFailure;  // why the window could not be opened: every later test fails with it
int reshapedWidth = 0;
int reshapedHeight = 0;

void noDisplay() {}  // frames are drawn by the tests themselves

void trackingReshape(int width, int height) {
    reshape(width, height);
    reshapedWidth = width;
    reshapedHeight = height;
}

void pumpEvents(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        glutMainLoopEvent();
        usleep(2000);
    }
}

}  // namespace

void openTestWindow() {
    if (!windowFailure.empty()) {
        FAIL() << windowFailure;
    }
    if (windowId != 0) {
        return;
    }
    // glutInit ends the process when the display cannot be opened, and
    // glutCreateWindow when there is no GL: look first, so that the test ends
    // with the reason (and every later one too) instead.
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr) {
        const char* name = getenv("DISPLAY");
        windowFailure = std::string("cannot open the X display \"") + (name != nullptr ? name : "") +
                        "\" (test.sh runs the suite under an Xvfb of its own)";
        FAIL() << windowFailure;
    }
    int glxError = 0;
    int glxEvent = 0;
    if (!glXQueryExtension(probe, &glxError, &glxEvent)) {
        XCloseDisplay(probe);
        windowFailure = "the X display has no GLX: no GL window can be made";
        FAIL() << windowFailure;
    }
    int argc = 1;
    char name[] = "involute-gears-test";
    char* argv[] = {name, nullptr};
    restartProgram();
    glutInitWindowSize(800, 800);
    // Fully on the screen, so that readFrame gets every pixel: without a
    // position freeglut maps the window at (-1, -1) on a bare X server.
    glutInitWindowPosition(0, 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    windowId = glutCreateWindow("involute-gears test");
    // Closed only now: had the probe been the server's last client, the
    // server would reset as it closed and could refuse glutInit meanwhile.
    XCloseDisplay(probe);
    glutDisplayFunc(noDisplay);
    glutReshapeFunc(trackingReshape);
    initGl();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(windowTimeoutMs);
    while (reshapedWidth != 800 && std::chrono::steady_clock::now() < deadline) {
        pumpEvents(1);
    }
    if (reshapedWidth != 800) {
        windowFailure = "the test window was not shown at 800 x 800 within " + std::to_string(windowTimeoutMs) + " ms";
        FAIL() << windowFailure;
    }
    pumpEvents(20);
}

void restartProgram() {
    sceneKey = '1';
    driveAngle = 0.0;
    computeDemoGear();  // the tables and the animation's start, without the report
}

void resizeTestWindow(int width, int height) {
    glutReshapeWindow(width, height);
    for (int i = 0; i < 1000 && (reshapedWidth != width || reshapedHeight != height); ++i) {
        pumpEvents(1);
    }
    pumpEvents(20);
}

Frame readFrame() {
    // What the window shows, read from the X server: Mesa's software
    // front buffer cannot be read back with glReadPixels after the swap.
    glFinish();
    Display* display = glXGetCurrentDisplay();
    XSync(display, False);
    Frame frame;
    const std::vector<unsigned> pixels = grabXWindow(display, glXGetCurrentDrawable(), &frame.width, &frame.height);
    frame.rgb.resize(static_cast<size_t>(3) * frame.width * frame.height);
    unsigned char* out = frame.rgb.data();
    for (int y = 0; y < frame.height; ++y) {
        const unsigned* in = pixels.data() + static_cast<size_t>(frame.height - 1 - y) * frame.width;
        for (int x = 0; x < frame.width; ++x, out += 3) {
            out[0] = static_cast<unsigned char>(in[x] >> 16);
            out[1] = static_cast<unsigned char>(in[x] >> 8);
            out[2] = static_cast<unsigned char>(in[x]);
        }
    }
    return frame;
}

int pixelX(const Frame& frame, double x) { return static_cast<int>(std::floor((x + 1.0) * 0.5 * frame.width)); }
int pixelY(const Frame& frame, double y) { return static_cast<int>(std::floor((y + 1.0) * 0.5 * frame.height)); }

Shade classify(const unsigned char* p) {
    const int r = p[0];
    const int g = p[1];
    const int b = p[2];
    if (r > 230 && g > 230 && b > 230) {
        return Shade::White;
    }
    if (r < 70 && g < 70 && b < 70) {
        return Shade::Dark;
    }
    if (r > 180 && g < 90 && b < 90) {
        return Shade::Red;
    }
    if (g > 180 && r < 90 && b < 90) {
        return Shade::Green;
    }
    if (b > 180 && r < 90 && g < 90) {
        return Shade::Blue;
    }
    return Shade::Other;
}

int countShade(const Frame& frame, Point2 point, int half, Shade shade) {
    const int cx = pixelX(frame, point.x);
    const int cy = pixelY(frame, point.y);
    int count = 0;
    for (int y = cy - half; y <= cy + half; ++y) {
        for (int x = cx - half; x <= cx + half; ++x) {
            if (x >= 0 && y >= 0 && x < frame.width && y < frame.height && classify(frame.at(x, y)) == shade) {
                ++count;
            }
        }
    }
    return count;
}

bool dotAt(const Frame& frame, Point2 point, Shade shade) {
    const double cx = (point.x + 1.0) * 0.5 * frame.width;
    const double cy = (point.y + 1.0) * 0.5 * frame.height;
    int inRing = 0;
    int matching = 0;
    for (int y = static_cast<int>(cy) - 4; y <= static_cast<int>(cy) + 4; ++y) {
        for (int x = static_cast<int>(cx) - 4; x <= static_cast<int>(cx) + 4; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d < 1.5 || d > 3.0 || x < 0 || y < 0 || x >= frame.width || y >= frame.height) {
                continue;
            }
            ++inRing;
            matching += classify(frame.at(x, y)) == shade ? 1 : 0;
        }
    }
    return inRing > 0 && matching * 10 >= inRing * 7;
}

void selectScene(char key) {
    sceneKey = key;
    directionKey = 'd';
    stepScene1 = 0;
    stepScene23 = 0;
    driveAngle = 0.0;
}

std::vector<const char*> frameInvariantFailures() {
    std::vector<const char*> failures;
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) {
        const double identity = (i % 5 == 0) ? 1.0 : 0.0;
        // Mesa keeps its matrices in single precision: a turn and its inverse
        // leave residues of a few float ulps.
        if (std::fabs(m[i] - identity) > 1e-5) {
            failures.push_back("model-view matrix is not the identity");
            break;
        }
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    if (depth != 1) {
        failures.push_back("model-view stack is not at its base");
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    if (mode != GL_MODELVIEW) {
        failures.push_back("matrix mode is not GL_MODELVIEW");
    }
    if (glGetError() != GL_NO_ERROR) {
        failures.push_back("GL error");
    }
    return failures;
}
