// What each kind of gear pair is, as data: its names, which parts it has,
// how its gear 2 sits and turns in mesh, how its helix and its cures are
// said. Every layer of the pair's model may read it; it calls nothing, so
// reading a kind's traits never ties a lower layer to the kinds' operations
// (those are pair_kind.h's table, at the top of the model).
//
// Not here: the kinds' numbers, checks, outlines and report (pair_kind.h),
// nor the values a pair of the kind starts with (pair/inputs/inputs.h).
#pragma once

#include "base/plane.h"
#include "pair/inputs/gear_pair.h"

// What gear 2 is as a solid to print (the STL, pair/exports.h): a round
// wheel like gear 1 (a bore may go through it), a ring (its teeth inside
// its rim) or a bar (a rack, its teeth on top of a flat back).
enum class GearForm { wheel, ring, bar };

struct PairKindTraits {
    PairKind kind;
    const char* name;     // as --pair and the page's link say it: "external"
    const char* english;  // as the page names it: "external pair"
    const char* japanese; // "外歯車の対"
    bool hasGear2Shift;   // gear 2 has teeth and a shift of its own (a rack has neither)
    bool hasRingCutting;  // a ring cut by a pinion-type cutter: scene 9
    GearForm gear2Form;   // gear 2 as a solid, and where the drawings put it apart
    bool hasSetScene;     // a planetary set turning with its carrier: scene 12 (key p)
    // The mesh (pair/mesh.h), in the pair's own frame (pair/outline.h):
    double meshTurn;      // rad clockwise from gear 1's tooth 0 (+x) to the pitch point: 0 external, pi a ring
                          // (the mesh on the pinion's -x side), pi / 2 a rack (below the pinion)
    double gear2Turns;    // gear 2's turn per z1 / z2 of gear 1's: -1 external (back), +1 a ring (the same way),
                          // 0 a rack (it slides)
    bool hasInspectionSizes[2];  // each gear's span W and size over pins are worked out: every external gear
                                 // (a rack pair's and an internal pair's pinion too), not a rack or a ring
    bool mateHasSameHand;     // helical: gear 2's helix has gear 1's hand (a ring, a rack), else the other
    const char* shiftNames[2];  // how the cures name x1 and x2: "x1", "x2"; a set's "xS" (the sun's), "xP"
};

constexpr int pairKindCount = 4;

// In the order of PairKind. A set's scenes 7 and 8 show its sun–planet
// pair: an external mesh.
inline constexpr PairKindTraits pairKindTraitsTable[pairKindCount] = {
    {PairKind::external, "external", "external pair", "外歯車の対", true, false, GearForm::wheel, false, 0.0, -1.0,
     {true, true}, false, {"x1", "x2"}},
    {PairKind::internal, "internal", "internal (ring) gear", "内歯車", true, true, GearForm::ring, false, pi, 1.0,
     {true, false}, true, {"x1", "x2"}},
    {PairKind::rack, "rack", "rack and pinion", "ラックとピニオン", false, false, GearForm::bar, false, pi / 2.0, 0.0,
     {true, false}, true, {"x1", "x2"}},
    {PairKind::planetary, "planetary", "planetary gear set", "遊星歯車装置", true, false, GearForm::wheel, true, 0.0,
     -1.0, {true, true}, false, {"xS", "xP"}},
};

// The traits of a kind (an unknown kind reads as the external pair's).
constexpr const PairKindTraits& pairKindTraits(PairKind kind) {
    const int index = static_cast<int>(kind);
    return pairKindTraitsTable[index >= 0 && index < pairKindCount ? index : 0];
}
