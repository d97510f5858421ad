#include "scenes/display.h"

#include <GL/freeglut.h>

#include "app/window.h"
#include "scenes/scene_table.h"
#include "scenes/scenes.h"

void drawTitle(float y, const char* text) { drawText(titleX, y, GLUT_BITMAP_HELVETICA_18, text); }

int stepCounter(int& counter) {
    if (directionKey == 'd') {
        counter = counter + 1;
    }
    if (directionKey == 'D') {
        counter = counter - 1;
    }
    if (counter > involuteLastIndex) {
        counter = involuteLastIndex;
    }
    if (counter < 0) {
        counter = 0;
    }
    return counter;
}

void advanceScene() {
    const Scene* scene = sceneOfKey(sceneKey);
    if (scene != nullptr) {
        scene->step();
    } else {
        stepDriveAngle();
    }
}

namespace {

void drawScene() {
    const Scene* scene = sceneOfKey(sceneKey);
    if (scene != nullptr) {
        scene->draw();
    }
}

}  // namespace

void display() {
    beginFrame();
    advanceScene();
    drawScene();
    endFrame();
}

void drawFrame() {
    beginFrame();
    drawScene();
    endFrame();
}
