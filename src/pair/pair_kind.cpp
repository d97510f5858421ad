// The table of the kinds of gear pair (see pair_kind.h): the one place where
// a pair's kind chooses its numbers, checks, outlines and report.
#include "pair/pair_kind.h"

#include <cstring>

#include "pair/exports.h"
#include "pair/kinds.h"
#include "pair/outline.h"

namespace {

// In the order of PairKind.
const PairKindModel models[pairKindCount] = {
    {PairKind::external, "external", "external pair", "外歯車の対", externalPairNumbers, checkExternalPair,
     buildExternalGeometry, formatExternalReport, externalPairPasses, true, false, true, false},
    {PairKind::internal, "internal", "internal (ring) gear", "内歯車", internalPairNumbers, checkInternalPair,
     buildInternalGeometry, formatInternalReport, internalPairPasses, true, true, false, true},
    {PairKind::rack, "rack", "rack and pinion", "ラックとピニオン", rackPairNumbers, checkRackPair, buildRackGeometry,
     formatRackReport, rackPairPasses, false, false, false, true},
};

}  // namespace

const PairKindModel* pairKindModels() { return models; }

const PairKindModel& pairKindModel(PairKind kind) {
    const int index = static_cast<int>(kind);
    return models[index >= 0 && index < pairKindCount ? index : 0];
}

const PairKindModel* pairKindNamed(const char* name) {
    for (const PairKindModel& model : models) {
        if (strcmp(model.name, name) == 0) {
            return &model;
        }
    }
    return nullptr;
}
