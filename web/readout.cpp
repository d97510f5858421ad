// Numbers for the page's live readout, read from the program's shared state
// after every frame (program.view() in web/page/program_calls.js). The page
// formats them.
#include <emscripten/emscripten.h>

#include "app/pair_state.h"
#include "app/state.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

namespace {

constexpr double pixelsPerWindowUnit = 400.0;  // the 800-px window spans 2 window units
constexpr double cuttingPitches = 3.0;         // scenes 8 and 9: reference pitches across the window

}  // namespace

extern "C" {

// 1 to 9, 10 (key 'h'), 11 (key 'v'), 12 (key 'p') or 13 (key 'b').
EMSCRIPTEN_KEEPALIVE int webScene() {
    return sceneKey == 'h'               ? 10
           : sceneKey == slidingSceneKey ? 11
           : sceneKey == 'p'             ? 12
           : sceneKey == bendingSceneKey ? 13
                                         : sceneKey - '0';
}

// The table index shown by scenes 1 to 3; -1 in scenes 4 to 9.
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
EMSCRIPTEN_KEEPALIVE double webDriveAngle() { return driveAngle; }          // radians, scenes 4 to 9
EMSCRIPTEN_KEEPALIVE double webViewScale() { return viewScale; }            // window units per model unit
EMSCRIPTEN_KEEPALIVE double webBaseRadius() { return baseRadius; }          // model units (mm)
EMSCRIPTEN_KEEPALIVE int webToothCount() { return toothCount; }

// Window pixels per mm of the model as the current scene draws it (the
// page scales the 800-px window to the picture's CSS side): scenes 1 to 6
// at viewScale window units per mm; scene 7 at the pair's own fit; scenes 8
// and 9 at three reference pitches pi m across the window (scenes.h), both
// times viewScale / 0.5; scene 11 at its own zoom onto the path of contact.
EMSCRIPTEN_KEEPALIVE double webPixelsPerMm() {
    switch (sceneKey) {
    case '7':
        return pairSceneScale() * pixelsPerWindowUnit;
    case slidingSceneKey:
        return slidingSceneScale() * pixelsPerWindowUnit;
    case '8':
    case '9':
        return 2.0 / (cuttingPitches * pi * activePair.input.m) * viewScale / pairscene::startViewScale * pixelsPerWindowUnit;
    default:
        return viewScale * pixelsPerWindowUnit;
    }
}

}  // extern "C"
