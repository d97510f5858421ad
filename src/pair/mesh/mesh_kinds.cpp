// The pairs of two gears in mesh by kind (see mesh_kinds.h): the one place
// where an external, internal or rack pair's kind chooses its arithmetic.
#include "pair/mesh/mesh_kinds.h"

#include "pair/inputs/helical.h"
#include "pair/kinds/kinds.h"
#include "pair/outline/outline.h"

namespace {

// Each kind's operations on a pair given as the user gives it with its
// transverse section (pair/kinds.h).
struct MeshKind {
    PairNumbers (*numbers)(const PairInput& input, const TransverseSection& section);
    PairCheck (*check)(const PairInput& input, const TransverseSection& section, PassesEveryRule passes);
    void (*geometry)(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair);
    bool (*passes)(const PairInput& input, const TransverseSection& section, RingCutterMemo& memo);
};

// In the order of PairKind; a set's own pair of this layer is its sun and
// planet, an external mesh.
const MeshKind meshKinds[] = {
    {externalPairNumbers, checkExternalPair, buildExternalGeometry, externalPairPasses},
    {internalPairNumbers, checkInternalPair, buildInternalGeometry, internalPairPasses},
    {rackPairNumbers, checkRackPair, buildRackGeometry, rackPairPasses},
    {externalPairNumbers, checkExternalPair, buildExternalGeometry, externalPairPasses},
};

const MeshKind& meshKind(PairKind kind) {
    const int index = static_cast<int>(kind);
    return meshKinds[index >= 0 && index < 4 ? index : 0];
}

// A pair as it enters the model, here and nowhere else: its kind's
// operations and its transverse section, made once (pair/helical.h), which
// the kinds work in.
struct MeshPair {
    const MeshKind& kind;
    TransverseSection section;
};
MeshPair meshPair(const PairInput& input) { return MeshPair{meshKind(input.kind), transverseSection(input)}; }

}  // namespace

PairNumbers meshPairNumbers(const PairInput& input) {
    const MeshPair p = meshPair(input);
    return p.kind.numbers(input, p.section);
}

bool meshPairPasses(const PairInput& input, RingCutterMemo& memo) {
    const MeshPair p = meshPair(input);
    return p.kind.passes(input, p.section, memo);
}

PairCheck meshPairRules(const PairInput& input) {
    // A cure's every trial is a pair of its own, entered through meshPairPasses.
    const MeshPair p = meshPair(input);
    return p.kind.check(input, p.section, meshPairPasses);
}

PairCheck checkMeshPair(const PairInput& input) {
    PairCheck check = checkInputRanges(input);
    return check.field != PairField::none ? check : meshPairRules(input);
}

bool pairAccepted(const PairInput& input, RingCutterMemo& memo) {
    return checkInputRanges(input).field == PairField::none && meshPairPasses(input, memo);
}

void buildMeshGeometry(const PairInput& input, PairGeometry& pair) {
    meshKind(input.kind).geometry(input, meshPairNumbers(input), pair);
}
