// The table of the kinds of gear pair (see pair_kind.h): the one place where
// a pair's kind chooses its numbers, checks, outlines and report.
#include "pair/pair_kind.h"

#include <cstring>

#include "pair/exports.h"
#include "pair/kinds.h"
#include "pair/outline.h"
#include "pair/planetary.h"

namespace {

// In the order of PairKind.
const PairKindModel models[pairKindCount] = {
    {PairKind::external, "external", "external pair", "外歯車の対", externalPairNumbers, checkExternalPair,
     buildExternalGeometry, formatExternalReport, formatMeshReport, layOutPairSheet, externalPairPasses, true, false,
     GearForm::wheel, false, 0.0, -1.0, {true, true}, false, {"x1", "x2"}, {10, 30, 70}},
    {PairKind::internal, "internal", "internal (ring) gear", "内歯車", internalPairNumbers, checkInternalPair,
     buildInternalGeometry, formatInternalReport, formatMeshReport, layOutPairSheet, internalPairPasses, true, true,
     GearForm::ring, false, pi, 1.0, {true, false}, true, {"x1", "x2"}, {10, 30, 70}},
    {PairKind::rack, "rack", "rack and pinion", "ラックとピニオン", rackPairNumbers, checkRackPair, buildRackGeometry,
     formatRackReport, formatMeshReport, layOutPairSheet, rackPairPasses, false, false, GearForm::bar, false, pi / 2.0,
     0.0, {true, false}, true, {"x1", "x2"}, {10, 30, 70}},
    // Its scenes 7 and 8 show the sun–planet pair: an external mesh.
    {PairKind::planetary, "planetary", "planetary gear set", "遊星歯車装置", planetaryNumbers, checkPlanetarySet,
     buildPlanetaryGeometry, formatExternalReport, formatPlanetaryReport, layOutPlanetarySheet, planetarySetPasses,
     true, false, GearForm::wheel, true, 0.0, -1.0, {true, true}, false, {"xS", "xP"}, {20, 25, 70}},
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
