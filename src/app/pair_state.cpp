#include "app/pair_state.h"

#include "scenes/scenes.h"
#include "pair/pair_kind.h"

bool pairScenesEnabled = false;
PairGeometry activePair;
PairMesh activeMesh;

void setActivePair(const PairInput& input) {
    buildPairGeometry(input, activePair);
    activeMesh = pairMesh(activePair.input, activePair.numbers);
    // Scene 9 cuts a ring: a pair of another kind shows its mesh instead.
    if (sceneKey == '9' && !pairKindModel(input.kind).hasRingCutting) {
        sceneKey = '7';
    }
    // The scenes keep outlines simplified for the old pair and, in scene 8,
    // the rack positions cut into the old blank.
    resetPairScenes();
}
