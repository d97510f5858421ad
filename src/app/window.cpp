#include "app/window.h"

#include <GL/freeglut.h>
#include <cstdlib>

#include "app/keyboard.h"
#include "app/window_title.h"
#include "scenes/display.h"

const char windowTitle[] =
    "糸の巻き戻しによるインボリュート曲線創成　1,..,6：創成画面変更，d,D:正逆回転，s:継続";

namespace {
constexpr int windowWidth = 800;   // pixels: 400 pixels per window unit
constexpr int windowHeight = 800;
}  // namespace

void startGlut(int* argc, char** argv) {
    glutInitWindowSize(windowWidth, windowHeight);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    openWindow();
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    initGl();
    glutMainLoop();
    // freeglut returns from its loop only when told to; nothing here does.
    exit(0);
}

void openWindow() {
    (void)glutCreateWindow(windowTitle);
    // freeglut stores the title as Latin-1 only; give the window manager the
    // UTF-8 title as well so it shows the real characters.
    setUtf8WindowTitle(windowTitle);
}

void initGl() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    // Every primitive switches lighting off for its own geometry and on again
    // after it, and the titles take their near-black colour from lighting
    // being on when their raster position is set. Switching it on here gives
    // the very first frame the same dark titles as every later one.
    glEnable(GL_LIGHTING);
}

void reshape(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

void beginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();  // the model-view matrix: reshape left it current
}

void endFrame() {
    glFlush();
    glutSwapBuffers();
}
