#include "app/pair_state.h"

#include "scenes/scene_table.h"
#include "scenes/scenes.h"
#include "pair/pair_kind.h"

bool pairScenesEnabled = false;
PairInput activeInput;
PairGeometry activePair;
PlanetaryDrawing activeSet;
bool setSceneEnabled = false;
PairMesh activeMesh;

void setActivePair(const PairInput& input) {
    activeInput = input;
    buildPairGeometry(input, activePair);
    activeMesh = pairMesh(activePair.input, activePair.numbers);
    setSceneEnabled = pairKindModel(input.kind).hasSetScene;
    if (setSceneEnabled) {
        buildPlanetaryDrawing(input, activeSet);
    }
    // A scene the new kind has not (scene 9 cuts a ring, scene 12 turns a
    // planetary set): the pair's mesh instead.
    const Scene* shown = sceneOfKey(sceneKey);
    if (shown != nullptr && !sceneFitsKind(*shown, input.kind)) {
        sceneKey = '7';
    }
    // The scenes keep outlines simplified for the old pair and, in scene 8,
    // the rack positions cut into the old blank.
    resetPairScenes();
}
