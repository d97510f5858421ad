#include "app/pair_state.h"

bool pairScenesEnabled = false;
PairGeometry activePair;

void setActivePair(const PairInput& input) { buildPairGeometry(input, activePair); }
