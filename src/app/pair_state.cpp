#include "app/pair_state.h"

#include "scenes/scenes.h"

bool pairScenesEnabled = false;
PairGeometry activePair;

void setActivePair(const PairInput& input) {
    buildPairGeometry(input, activePair);
    // The scenes keep outlines simplified for the old pair and, in scene 8,
    // the rack positions cut into the old blank.
    resetPairScenes();
}
