// Each gear's whole tooth outline as its cutter leaves it, and the pair
// placed in mesh. Worked out once per parameter change; draws nothing.
//
// Units: mm, angles in radians.
#pragma once

#include <vector>

#include "pair/gear_pair.h"
#include "pair/plane.h"

// One gear's closed outline as the rack cuts it, centred at (0, 0), in mm:
// for each tooth the involute from the tip circle down to where the fillet
// meets it, the fillet traced by the cutter's rounded tip (undercut where
// the cutting removes the foot of the involute), the root circle, and the
// tip circle. Tooth 0 is symmetric about the +x axis; the points run
// counter-clockwise; the last point is not a repeat of the first. Every
// point is within 0.001 m of the true outline, and so is every chord.
struct GearOutline {
    std::vector<Point2> points;
};

// Both gears of the pair, as placed in mesh at drive angle 0: gear 1 with a
// tooth on +x, gear 2 turned by `phase2` about its own centre so that the
// two touch on the drive flanks with no backlash (and no overlap).
struct PairGeometry {
    PairInput input;
    PairNumbers numbers;
    GearOutline outline[2];  // in each gear's own frame, tooth 0 on +x, before any turn
    double phase2;           // rad: gear 2's turn at drive angle 0, about (a, 0)
};

// One gear's outline as the basic rack cuts it (gear 0 or 1 of `input`,
// its tip circle from `numbers`): what buildPairGeometry gives each gear of
// an external pair and the pinion of the other kinds.
void rackCutOutline(const PairInput& input, int gear, const PairNumbers& numbers, GearOutline& outline);

// Works out everything for a pair that checkPair accepts. Done once per
// parameter change; nothing here is needed per frame.
void buildPairGeometry(const PairInput& input, PairGeometry& pair);

// Reduces a closed outline to the fewest points that keep it within
// `tolerance` (mm) of the original (Douglas-Peucker); for drawing at a zoom
// where `tolerance` is a quarter pixel.
void simplifyOutline(const std::vector<Point2>& points, double tolerance, std::vector<Point2>& out);
