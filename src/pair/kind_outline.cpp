// The outlines of an internal pair and of a rack pair, placed in mesh.
#include "pair/kinds.h"
#include "pair/outline.h"

void buildKindGeometry(const PairInput& input, PairGeometry& pair) {
    pair.input = input;
    pair.numbers = pairNumbers(input);
    rackCutOutline(input, 0, pair.numbers, pair.outline[0]);
    pair.outline[1].points.clear();  // the ring's and the rack's outlines are not drawn yet
    pair.phase2 = 0.0;
}
