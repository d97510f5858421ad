#include "scenes/display.h"

#include <GL/freeglut.h>

#include "app/window.h"
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
    if (sceneKey == '1') {
        stepCounter(stepScene1);
    } else if (sceneKey == '2' || sceneKey == '3') {
        stepCounter(stepScene23);
    } else {
        stepDriveAngle();
    }
}

namespace {

void drawScene() {
    if (sceneKey == '1') {
        drawFixedCircleScene();
    }
    if (sceneKey == '2') {
        drawTurningCircleScene();
    }
    if (sceneKey == '3') {
        drawRollingCircleScene();
    }
    if (sceneKey == '4') {
        drawBeltScene();
    }
    if (sceneKey == '5' || sceneKey == '6') {
        drawMeshingScene();
    }
    if (sceneKey == '7') {
        drawPairScene();
    }
    if (sceneKey == '8') {
        drawCuttingScene();
    }
    if (sceneKey == '9') {
        drawRingCuttingScene();
    }
    if (sceneKey == 'h') {
        drawActionPlaneScene();
    }
    if (sceneKey == 'p') {
        drawPlanetaryScene();
    }
    if (sceneKey == slidingSceneKey) {
        drawSlidingScene();
    }
    if (sceneKey == bendingSceneKey) {
        drawBendingScene();
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
