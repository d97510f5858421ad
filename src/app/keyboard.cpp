#include "app/keyboard.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "app/state.h"
#include "geometry/gear_setup.h"
#include "scenes/display.h"
#include "scenes/scene_table.h"
#include "scenes/scenes.h"

namespace {
constexpr unsigned char escapeKey = 27;
constexpr double zoomFactor = 0.9;  // 'w' multiplies viewScale by it, 'W' divides by it
}

void keyboard(unsigned char key, int /*mouseX*/, int /*mouseY*/) {
    switch (key) {
    case 'z':
        // A fresh start in scene 1; the window keeps its picture until the
        // next frame.
        stepScene23 = 0;
        stepScene1 = 0;
        sceneKey = '1';
        printDemoGearReport(computeDemoGear());
        return;
    case 'd':
    case 'D':
        directionKey = static_cast<char>(key);
        break;
    case 'w':
        // Unbounded zoom, but never to 0 or infinity: from there no number
        // of presses the other way could bring the picture back.
        if (viewScale * zoomFactor >= DBL_MIN) {
            viewScale = viewScale * zoomFactor;
        }
        break;
    case 'W':
        if (std::isfinite(viewScale / zoomFactor)) {
            viewScale = viewScale / zoomFactor;
        }
        break;
    case 's':
        break;
    case escapeKey:
        exit(0);
    default: {
        // A scene's key, where the program can show that scene (the table of
        // scenes says what each needs); any other key is ignored.
        const Scene* scene = sceneOfKey(static_cast<char>(key));
        if (scene == nullptr || !sceneOffered(*scene)) {
            return;
        }
        sceneKey = scene->key;
        directionKey = 'd';
        stepScene23 = 0;
        stepScene1 = 0;
        driveAngle = 0.0;
        if (scene->needs != SceneNeeds::nothing) {
            resetPairScenes();
        }
        break;
    }
    }
    display();
}
