// The table of the kinds of gear pair (see pair_kind.h): the one place where
// a pair's kind chooses its numbers, checks, outlines and report.
#include "pair/pair_kind.h"

#include <cstring>

#include "pair/exports/exports.h"
#include "pair/kinds/kinds.h"
#include "pair/mesh/mesh_kinds.h"
#include "pair/outline/outline.h"
#include "pair/sets/planetary.h"

namespace {

// In the order of PairKind.
// The pairs of two gears enter through pair/mesh_kinds.h, which makes
// their transverse section.
const PairKindModel models[pairKindCount] = {
    {pairKindTraitsTable[0], meshPairNumbers, meshPairRules, buildMeshGeometry, externalReport, meshReport,
     layOutPairSheet, meshPairPasses},
    {pairKindTraitsTable[1], meshPairNumbers, meshPairRules, buildMeshGeometry, internalReport, meshReport,
     layOutPairSheet, meshPairPasses},
    {pairKindTraitsTable[2], meshPairNumbers, meshPairRules, buildMeshGeometry, rackReport, meshReport,
     layOutPairSheet, meshPairPasses},
    // Its scenes 7 and 8 show the sun–planet pair: an external mesh.
    {pairKindTraitsTable[3], planetaryNumbers, checkPlanetarySet, buildPlanetaryGeometry, externalReport,
     planetaryReport, layOutPlanetarySheet, planetarySetPasses},
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

PairNumbers pairNumbers(const PairInput& input) { return pairKindModel(input.kind).numbers(input); }

PairCheck checkPair(const PairInput& input) {
    const PairCheck ranges = checkInputRanges(input);
    return ranges.field != PairField::none ? ranges : pairKindModel(input.kind).check(input);
}

void buildPairGeometry(const PairInput& input, PairGeometry& pair) { pairKindModel(input.kind).geometry(input, pair); }

PairReport pairReport(const PairInput& input, const PairNumbers& numbers) {
    return pairKindModel(input.kind).wholeReport(input, numbers);
}

std::string formatPairReport(const PairNumbers& numbers) {
    return formatReport(pairKindModel(numbers.kind).report(numbers), Language::ja);
}

std::string formatPairReport(const PairInput& input, const PairNumbers& numbers) {
    return formatReport(pairReport(input, numbers), Language::ja);
}

void layOutSheet(const PairInput& input, SheetLayout layout, Sheet& sheet) {
    pairKindModel(input.kind).sheet(input, layout, sheet);
}
