// The table of scenes for the page, and the numbers of its live readout read
// from the program's shared state after every frame (program.view() in
// web/page/program_calls.js). The page formats them. Not here: the pair's
// numbers (pair_bridge.cpp).
#include <emscripten/emscripten.h>

#include <cstdio>

#include "app/state.h"
#include "draw/primitives.h"
#include "scenes/scene_table.h"

namespace {

// The words of SceneNeeds, in its order.
constexpr const char* needsWords[] = {"nothing", "pair", "ring", "set"};

}  // namespace

extern "C" {

// The table of scenes (scenes/scene_table.h) as a JSON array in the order of
// their numbers: key, number, name (English), needs ("nothing", "pair",
// "ring": a kind with a ring to cut, "set": a planetary set) and parts (what
// each of a scene's two scales is, or null for one scale).
EMSCRIPTEN_KEEPALIVE const char* webScenes() {
    // The table's texts hold no quote or backslash: they go in as they are.
    static char json[2048];
    if (json[0] == '\0') {
        int used = std::snprintf(json, sizeof json, "[");
        for (int i = 0; i < sceneCount; ++i) {
            const Scene& s = scenes()[i];
            used += std::snprintf(json + used, sizeof json - used,
                                  "%s{\"key\":\"%c\",\"number\":%d,\"name\":\"%s\",\"needs\":\"%s\",\"parts\":",
                                  i == 0 ? "" : ",", s.key, s.number, s.name, needsWords[static_cast<int>(s.needs)]);
            used += s.parts[0] == nullptr
                        ? std::snprintf(json + used, sizeof json - used, "null}")
                        : std::snprintf(json + used, sizeof json - used, "[\"%s\",\"%s\"]}", s.parts[0], s.parts[1]);
        }
        std::snprintf(json + used, sizeof json - used, "]");
    }
    return json;
}

// The number of the scene shown, 1 to 13 (0 before the first).
EMSCRIPTEN_KEEPALIVE int webScene() {
    const Scene* scene = sceneOfKey(sceneKey);
    return scene != nullptr ? scene->number : 0;
}

// The table index shown by scenes 1 to 3; -1 in the others.
EMSCRIPTEN_KEEPALIVE int webTableIndex() {
    const int scene = webScene();
    return scene == 1 ? stepScene1 : scene == 2 || scene == 3 ? stepScene23 : -1;
}

EMSCRIPTEN_KEEPALIVE double webStepAngle() { return stepAngle; }            // radians per table index
EMSCRIPTEN_KEEPALIVE double webDriveAngle() { return driveAngle; }          // radians, scenes 4 to 9
EMSCRIPTEN_KEEPALIVE double webViewScale() { return viewScale; }            // window units per model unit
EMSCRIPTEN_KEEPALIVE double webBaseRadius() { return baseRadius; }          // model units (mm)
EMSCRIPTEN_KEEPALIVE int webToothCount() { return toothCount; }

// Window pixels per mm of the model as the current scene draws it, from
// the scene's own scale (the page scales the 800-px window to the picture's
// CSS side): part 0, or part 1 of a scene with two scales (0 where there is
// none).
EMSCRIPTEN_KEEPALIVE double webPixelsPerMm(int part) {
    const Scene* scene = sceneOfKey(sceneKey);
    return scene != nullptr ? scene->scale(part) * pixelsPerUnit : 0.0;
}

}  // extern "C"
