#include "app/keyboard.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "app/pair_state.h"
#include "app/state.h"
#include "geometry/gear_setup.h"
#include "pair/pair_kind.h"
#include "scenes/display.h"
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
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
        sceneKey = static_cast<char>(key);
        directionKey = 'd';
        stepScene23 = 0;
        stepScene1 = 0;
        driveAngle = 0.0;
        break;
    case '7':
    case '8':
    case '9':
    case 'h':
    case slidingSceneKey:
    case 'p':
    case bendingSceneKey:
        // The pair's scenes (7 to 9, 10 on 'h', 11 on 'v', 12 on 'p' and 13 on 'b')
        // exist only when the program was given a pair, the ring's cutting
        // (9) only for an internal pair and the set turning with its carrier
        // (12) only for a planetary set.
        if (!pairScenesEnabled || (key == '9' && !pairKindModel(activeInput.kind).hasRingCutting) ||
            (key == 'p' && !setSceneEnabled)) {
            return;
        }
        sceneKey = static_cast<char>(key);
        directionKey = 'd';
        stepScene23 = 0;
        stepScene1 = 0;
        driveAngle = 0.0;
        resetPairScenes();
        break;
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
    default:
        return;
    }
    display();
}
