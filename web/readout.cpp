// Numbers for the page's live readout, read from the program's shared state
// after every frame. The page formats them.
#include <emscripten/emscripten.h>

#include "app/state.h"

extern "C" {

// 1 to 6.
EMSCRIPTEN_KEEPALIVE int webScene() { return sceneKey - '0'; }

// The table index shown by scenes 1 to 3; -1 in scenes 4 to 6.
EMSCRIPTEN_KEEPALIVE int webTableIndex() {
    if (sceneKey == '1') {
        return stepScene1;
    }
    if (sceneKey == '2' || sceneKey == '3') {
        return stepScene23;
    }
    return -1;
}

EMSCRIPTEN_KEEPALIVE double webStepAngle() { return stepAngle; }            // radians per table index
EMSCRIPTEN_KEEPALIVE double webDriveAngle() { return driveAngle; }          // radians, scenes 4 to 6
EMSCRIPTEN_KEEPALIVE double webViewScale() { return viewScale; }            // window units per model unit
EMSCRIPTEN_KEEPALIVE double webBaseRadius() { return baseRadius; }          // model units (mm)
EMSCRIPTEN_KEEPALIVE int webToothCount() { return toothCount; }

}  // extern "C"
