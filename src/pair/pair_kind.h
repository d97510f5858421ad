// The kinds of gear pair behind one interface: each kind's numbers, checks
// with their cures, outlines and report, and what the front ends need to
// know of it (its name on the command line and in the page's link, whether
// it has a ring to cut), chosen in this one place by the kind. Draws
// nothing, reads no program state.
//
// The top of the pair's model: every layer below reads a kind's traits as
// data (kind_traits.h) and a pair of two gears through mesh_kinds.h, so none
// of them depends on this table. checkPair, pairNumbers (gear_pair.h),
// buildPairGeometry (outline.h), formatPairReport and layOutSheet
// (exports.h) choose by it.
//
// Not here: the kinds' arithmetic itself (gear_pair.cpp for external pairs,
// internal_pair.cpp and rack_pair.cpp, kinds.h), the inputs' ranges
// (inputs.h).
#pragma once

#include <string>

#include "pair/inputs/gear_pair.h"
#include "pair/inputs/kind_traits.h"
#include "pair/report/report.h"

struct PairGeometry;
struct RingCutterMemo;
struct Sheet;
enum class SheetLayout;

// A kind's traits (kind_traits.h: its names, its parts, how it meshes) and
// its operations.
struct PairKindModel : PairKindTraits {
    // The numbers of a pair the checks accept.
    PairNumbers (*numbers)(const PairInput& input);
    // The checks of a pair whose inputs are in range (checkPair checks the
    // ranges first), with the cure, if any.
    PairCheck (*check)(const PairInput& input);
    // The outlines, placed in mesh: what scenes 7 to 9 show (a planetary
    // set: its sun and one planet).
    void (*geometry)(const PairInput& input, PairGeometry& pair);
    // The report (pair/report.h): the kind's own lines, and the whole report
    // (with the lines along the line of action; a planetary set's of both
    // meshes).
    PairReport (*report)(const PairNumbers& numbers);
    PairReport (*wholeReport)(const PairInput& input, const PairNumbers& numbers);
    // The drawings' sheet of the whole kind, placed (pair/exports.h).
    void (*sheet)(const PairInput& input, SheetLayout layout, Sheet& sheet);
    // Whether a pair in range passes every rule (the cures are checked so).
    bool (*passes)(const PairInput& input, RingCutterMemo& memo);
};

// The model of a kind; of every kind, in the order of PairKind.
const PairKindModel& pairKindModel(PairKind kind);
const PairKindModel* pairKindModels();  // pairKindCount entries

// The kind named `name` ("external", "internal", "rack", "planetary"), or nullptr.
const PairKindModel* pairKindNamed(const char* name);
