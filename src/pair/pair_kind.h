// The kinds of gear pair behind one interface: each kind's numbers, checks
// with their cures, outlines and report, and what the front ends need to
// know of it (its name on the command line and in the page's link, whether
// it has a ring to cut), chosen in this one place by the kind. Draws
// nothing, reads no program state.
//
// Not here: the kinds' arithmetic itself (gear_pair.cpp for external pairs,
// internal_pair.cpp and rack_pair.cpp, kinds.h), the inputs' ranges
// (inputs.h).
#pragma once

#include <string>

#include "pair/gear_pair.h"

struct PairGeometry;
struct RingCutterMemo;

struct PairKindModel {
    PairKind kind;
    const char* name;     // as --pair and the page's link say it: "external"
    const char* english;  // as the page names it: "external pair"
    const char* japanese; // "外歯車の対"
    // The numbers of a pair the checks accept.
    PairNumbers (*numbers)(const PairInput& input);
    // The checks of a pair whose inputs are in range (checkPair checks the
    // ranges first), with the cure, if any.
    PairCheck (*check)(const PairInput& input);
    // The outlines, placed in mesh.
    void (*geometry)(const PairInput& input, PairGeometry& pair);
    // The console report.
    std::string (*report)(const PairNumbers& numbers);
    // Whether a pair in range passes every rule (the cures are checked so).
    bool (*passes)(const PairInput& input, RingCutterMemo& memo);
    bool hasGear2Shift;   // gear 2 has teeth and a shift of its own (a rack has neither)
    bool hasRingCutting;  // a ring cut by a pinion-type cutter: scene 9
    bool hasInspectionSizes;  // the span W and the size over pins are worked out (external pairs)
    bool mateHasSameHand;     // helical: gear 2's helix has gear 1's hand (a ring, a rack), else the other
};

constexpr int pairKindCount = 3;

// The model of a kind; of every kind, in the order of PairKind.
const PairKindModel& pairKindModel(PairKind kind);
const PairKindModel* pairKindModels();  // pairKindCount entries

// The kind named `name` ("external", "internal", "rack"), or nullptr.
const PairKindModel* pairKindNamed(const char* name);
