// The table of scenes (scene_table.h): each scene's key, number, name, needs,
// step, drawing, scale and readout. Not here: what the scenes draw (the scene
// files) or their readouts say (scene_readout.cpp), the keys that choose no
// scene (app/keyboard.cpp).
#include "scenes/scene_table.h"

#include "app/pair_state.h"
#include "app/state.h"
#include "scenes/scenes.h"

namespace {

void stepInvoluteScene1() { stepCounter(stepScene1); }
void stepInvoluteScenes23() { stepCounter(stepScene23); }

// Scenes 1 to 6 draw the demonstration gear at viewScale window units per mm.
double demonstrationScale(int part) { return part == 0 ? viewScale : 0.0; }
double pairMeshScale(int part) { return part == 0 ? pairSceneScale() : 0.0; }
double rackCuttingScale(int part) { return part == 0 ? cuttingSceneScale() : 0.0; }
double ringScale(int part) { return part == 0 ? ringCuttingSceneScale() : 0.0; }
double planeScale(int part) { return part == 0 ? actionPlaneSceneScale() : 0.0; }
double slidingScale(int part) { return part == 0 ? slidingSceneScale() : 0.0; }
double setScale(int part) { return part == 0 ? planetarySceneScale() : 0.0; }
double bendingScale(int part) { return bendingSceneScale(part); }

constexpr Scene sceneTable[sceneCount] = {
    {'1', 1, "involute generation, base circle fixed", SceneNeeds::nothing, stepInvoluteScene1, drawFixedCircleScene,
     demonstrationScale, {nullptr, nullptr}, &fixedCircleReadout},
    {'2', 2, "involute generation, base circle turning", SceneNeeds::nothing, stepInvoluteScenes23,
     drawTurningCircleScene, demonstrationScale, {nullptr, nullptr}, &sharedCounterReadout},
    {'3', 3, "involute measurement, base circle rolling", SceneNeeds::nothing, stepInvoluteScenes23,
     drawRollingCircleScene, demonstrationScale, {nullptr, nullptr}, &sharedCounterReadout},
    {'4', 4, "crossed belt between two base circles", SceneNeeds::nothing, stepDriveAngle, drawBeltScene,
     demonstrationScale, {nullptr, nullptr}, &beltReadout},
    {'5', 5, "two gears meshing, with contact path", SceneNeeds::nothing, stepDriveAngle, drawMeshingScene,
     demonstrationScale, {nullptr, nullptr}, &meshingReadout},
    {'6', 6, "two gears meshing, without contact path", SceneNeeds::nothing, stepDriveAngle, drawMeshingScene,
     demonstrationScale, {nullptr, nullptr}, &meshingReadout},
    {'7', 7, "the gear pair of Real gears in mesh", SceneNeeds::pair, stepDriveAngle, drawPairScene, pairMeshScale,
     {nullptr, nullptr}, &driveReadout},
    {'8', 8, "the rack cutting gear 1 of Real gears", SceneNeeds::pair, stepDriveAngle, drawCuttingScene,
     rackCuttingScale, {nullptr, nullptr}, &driveReadout},
    {'9', 9, "the cutter cutting the ring of Real gears", SceneNeeds::ringCutting, stepDriveAngle,
     drawRingCuttingScene, ringScale, {nullptr, nullptr}, &driveReadout},
    {'h', 10, "the plane of action of the gear pair of Real gears", SceneNeeds::pair, stepDriveAngle,
     drawActionPlaneScene, planeScale, {nullptr, nullptr}, &driveReadout},
    {'v', 11, "the flanks' sliding in the gear pair of Real gears", SceneNeeds::pair, stepDriveAngle,
     drawSlidingScene, slidingScale, {nullptr, nullptr}, &driveReadout},
    {'p', 12, "the planetary set of Real gears turning with its carrier", SceneNeeds::planetarySet, stepDriveAngle,
     drawPlanetaryScene, setScale, {nullptr, nullptr}, &driveReadout},
    {'b', 13, "bending at the tooth root in the gear pair of Real gears", SceneNeeds::pair,
     stepDriveAngle, drawBendingScene, bendingScale, {"tooth 1", "tooth 2"}, &driveReadout},
};

// Scene n stands at index n - 1 (the page reads it there), and no key
// chooses two scenes.
constexpr bool tableInOrder() {
    for (int i = 0; i < sceneCount; ++i) {
        if (sceneTable[i].number != i + 1) {
            return false;
        }
        for (int j = 0; j < i; ++j) {
            if (sceneTable[j].key == sceneTable[i].key) {
                return false;
            }
        }
    }
    return true;
}
static_assert(tableInOrder(), "the scenes in the order of their numbers, each key once");

}  // namespace

const Scene* scenes() { return sceneTable; }

const Scene* sceneOfKey(char key) {
    for (const Scene& scene : sceneTable) {
        if (scene.key == key) {
            return &scene;
        }
    }
    return nullptr;
}

bool sceneFitsKind(const Scene& scene, PairKind kind) {
    switch (scene.needs) {
    case SceneNeeds::ringCutting:
        return pairKindTraits(kind).hasRingCutting;
    case SceneNeeds::planetarySet:
        return pairKindTraits(kind).hasSetScene;
    default:
        return true;
    }
}

bool sceneOffered(const Scene& scene) {
    return scene.needs == SceneNeeds::nothing || (pairScenesEnabled && sceneFitsKind(scene, activeInput.kind));
}
