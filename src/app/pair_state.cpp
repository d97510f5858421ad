#include "app/pair_state.h"

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
    } else if (sceneKey == 'p') {
        sceneKey = '7';  // scene 12 shows a planetary set: another pair shows its mesh
    }
    // Scene 9 cuts a ring: a pair of another kind shows its mesh instead.
    if (sceneKey == '9' && !pairKindModel(input.kind).hasRingCutting) {
        sceneKey = '7';
    }
    // The scenes keep outlines simplified for the old pair and, in scene 8,
    // the rack positions cut into the old blank.
    resetPairScenes();
}
