// The pairs of two gears in mesh by kind (see mesh_kinds.h): the one place
// where an external, internal or rack pair's kind chooses its arithmetic.
#include "pair/mesh/mesh_kinds.h"

#include "pair/kinds/kinds.h"
#include "pair/outline/outline.h"

namespace {

struct MeshKind {
    PairNumbers (*numbers)(const PairInput& input);
    PairCheck (*check)(const PairInput& input);
    void (*geometry)(const PairInput& input, PairGeometry& pair);
};

// In the order of PairKind; a set's own pair of this layer is its sun and
// planet, an external mesh.
const MeshKind meshKinds[] = {
    {externalPairNumbers, checkExternalPair, buildExternalGeometry},
    {internalPairNumbers, checkInternalPair, buildInternalGeometry},
    {rackPairNumbers, checkRackPair, buildRackGeometry},
    {externalPairNumbers, checkExternalPair, buildExternalGeometry},
};

const MeshKind& meshKind(PairKind kind) {
    const int index = static_cast<int>(kind);
    return meshKinds[index >= 0 && index < 4 ? index : 0];
}

}  // namespace

PairNumbers meshPairNumbers(const PairInput& input) { return meshKind(input.kind).numbers(input); }

PairCheck checkMeshPair(const PairInput& input) {
    PairCheck check = checkInputRanges(input);
    return check.field != PairField::none ? check : meshKind(input.kind).check(input);
}

void buildMeshGeometry(const PairInput& input, PairGeometry& pair) { meshKind(input.kind).geometry(input, pair); }
