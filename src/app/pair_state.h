// The gear pair that scenes 7 to 9 show. Set once at start-up from the
// command line (desktop) or from the page's form (browser), and again on
// every change of the pair's parameters; never per frame.
#pragma once

#include "pair/mesh/mesh.h"
#include "pair/outline/outline.h"
#include "pair/sets/planetary.h"

// False unless the program was started with pair options: keys 7 to 9 are
// then ignored and the program is exactly the six-scene animation.
extern bool pairScenesEnabled;

// The pair as given (a planetary set: the whole set), what the drawings and
// solids are made of.
extern PairInput activeInput;
// The pair of scenes 7 to 9, worked out by buildPairGeometry (a planetary
// set's: its sun–planet pair).
extern PairGeometry activePair;
// A planetary set's whole drawing, for scene 12: worked out only for a kind
// that has the scene (pair/pair_kind.h), else left as it was.
extern PlanetaryDrawing activeSet;
extern bool setSceneEnabled;  // activeSet is the pair's: key p shows scene 12
// Its mesh (pair/mesh.h): where its teeth touch at any drive angle.
extern PairMesh activeMesh;

// Makes `input` (which checkPair accepts) the pair of scenes 7 to 9 and
// works out everything they draw from it.
void setActivePair(const PairInput& input);
