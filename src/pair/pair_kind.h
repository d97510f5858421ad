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
struct Sheet;
enum class SheetLayout;

// What gear 2 is as a solid to print (the STL, pair/exports.h): a round
// wheel like gear 1 (a bore may go through it), a ring (its teeth inside
// its rim) or a bar (a rack, its teeth on top of a flat back).
enum class GearForm { wheel, ring, bar };

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
    // The outlines, placed in mesh: what scenes 7 to 9 show (a planetary
    // set: its sun and one planet).
    void (*geometry)(const PairInput& input, PairGeometry& pair);
    // The console report: the kind's own lines, and the whole report (with
    // the lines along the line of action; a planetary set's of both meshes).
    std::string (*report)(const PairNumbers& numbers);
    std::string (*wholeReport)(const PairInput& input, const PairNumbers& numbers);
    // The drawings' sheet of the whole kind, placed (pair/exports.h).
    void (*sheet)(const PairInput& input, SheetLayout layout, Sheet& sheet);
    // Whether a pair in range passes every rule (the cures are checked so).
    bool (*passes)(const PairInput& input, RingCutterMemo& memo);
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
                                 // (a rack pair's and an internal pair's pinion too), not a rack
    bool mateHasSameHand;     // helical: gear 2's helix has gear 1's hand (a ring, a rack), else the other
    const char* shiftNames[2];  // how the cures name x1 and x2: "x1", "x2"; a set's "xS" (the sun's), "xP"
    // The teeth a pair of the kind has when none are given (--teeth left
    // out): z1, z2, z3. A planetary set's must assemble: (zS + zR) / N whole
    // for the N it starts with, zR = zS + 2 zP.
    int startTeeth[3];
};

constexpr int pairKindCount = 4;

// The model of a kind; of every kind, in the order of PairKind.
const PairKindModel& pairKindModel(PairKind kind);
const PairKindModel* pairKindModels();  // pairKindCount entries

// The kind named `name` ("external", "internal", "rack", "planetary"), or nullptr.
const PairKindModel* pairKindNamed(const char* name);
