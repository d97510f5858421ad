// The gear pair that scenes 7 to 9 show. Set once at start-up from the
// command line (desktop) or from the page's form (browser), and again on
// every change of the pair's parameters; never per frame.
#pragma once

#include "pair/mesh.h"
#include "pair/outline.h"

// False unless the program was started with pair options: keys 7 to 9 are
// then ignored and the program is exactly the six-scene animation.
extern bool pairScenesEnabled;

// The pair of scenes 7 to 9, worked out by buildPairGeometry.
extern PairGeometry activePair;
// Its mesh (pair/mesh.h): where its teeth touch at any drive angle.
extern PairMesh activeMesh;

// Makes `input` (which checkPair accepts) the pair of scenes 7 to 9 and
// works out everything they draw from it.
void setActivePair(const PairInput& input);
