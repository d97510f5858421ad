// Each gear's whole tooth outline as its cutter leaves it, and the pair
// placed in mesh. Worked out once per parameter change; draws nothing.
//
// Units: mm, angles in radians.
#pragma once

#include <vector>

#include "base/plane.h"
#include "pair/cutting/cutting.h"
#include "pair/inputs/gear_pair.h"

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
// An internal pair: the ring's centre at (a, 0) too, the pinion inside it,
// meshing on the pinion's -x side; outline[1] is the ring's toothed outline
// as its pinion-type cutter leaves it, `rim` its outer rim.
// A rack pair: outline[1] is the rack in its own frame (datum line y = 0,
// teeth pointing to +y, a space's middle at x = 0), placed with its datum
// line at y = -a and its own origin at x = rackShift, below the pinion.
struct PairGeometry {
    PairInput input;
    PairNumbers numbers;
    GearOutline outline[2];  // in each gear's own frame, tooth 0 on +x, before any turn
    double phase2;           // rad: gear 2's turn at drive angle 0, about (a, 0)
    GearOutline rim;         // internal: a circle of diameter df2 + 4 m (rimModules); otherwise empty
    double rackShift;        // rack: mm, where the rack's own origin stands on x at drive angle 0
};

// The ring's rim stands 2 m outside its root circle: diameter df2 + 4 m.
constexpr double rimModules = 4.0;
// The rack's back edge, 3 m below its datum line (1.75 m below the root
// line); the rack reaches a pitch beyond the pinion's tip circle on each side,
// made up to whole pitches so that each end falls in the middle of a space.
constexpr double rackBackModules = 3.0;

// One gear's outline as the basic rack cuts it (gear 0 or 1 of the pair
// numbers.section, its tip circle from `numbers`): what buildPairGeometry
// gives each gear of an external pair and the pinion of the other kinds.
void rackCutOutline(int gear, const PairNumbers& numbers, GearOutline& outline);

// The building blocks of every cut outline, the rack's and the pinion-type
// cutter's. Angles psi are measured from a tooth's middle line towards its
// counter-clockwise flank.
//
// What no position of the cutter removed, from the curves its profile traced
// on the blank: for every radius from rhoFrom to rhoTo the least psi any
// traced curve reaches there, with the corner put in where the least curve
// changes (the foot of an undercut involute). Ordered from rhoFrom to rhoTo.
void envelopeFlank(const std::vector<Polar>& traced, double rhoFrom, double rhoTo, std::vector<Polar>& flank);
// A gear's closed outline from one tooth's counter-clockwise flank, ordered
// from the root circle to the tip circle (outward for an external gear,
// inward for a ring): the flank thinned to 0.0004 m, its mirror image, the
// tip and root arcs, repeated for all z teeth, counter-clockwise.
void assembleOutline(const std::vector<Polar>& flank, double tipRadius, double rootRadius, int z, double m,
                     GearOutline& outline);

// Works out everything for a pair that checkPair accepts. Done once per
// parameter change; nothing here is needed per frame.
void buildPairGeometry(const PairInput& input, PairGeometry& pair);

// Tooth 0's counter-clockwise flank from the root circle to the tip circle,
// radius rising, traced as buildPairGeometry traces it but from `samples`
// points of the cutter's profile (the outlines use 4800): a few hundred give
// a coarser flank, cheap enough for checks over many pairs.
void traceToothFlank(int gear, const PairNumbers& numbers, int samples, std::vector<Point2>& flank);

// Tooth 0's counter-clockwise flank as the rack profile p cuts it on a blank
// of reference radius r (any r, a virtual gear's too), shift xm (mm), tip
// radius ra, turned by `turn` (rad) towards the tooth's middle for backlash,
// from roundCount + 1 points of the cutter's tip round and flankCount of its
// straight flank; ordered from the root circle to the tip circle. Returns the
// root radius r + xm - depth.
double rackCutFlank(const RackProfile& p, double r, double xm, double ra, double turn, int roundCount, int flankCount,
                    std::vector<Polar>& flank);

// Reduces a closed outline to the fewest points that keep it within
// `tolerance` (mm) of the original (Douglas-Peucker); for drawing at a zoom
// where `tolerance` is a quarter pixel.
void simplifyOutline(const std::vector<Point2>& points, double tolerance, std::vector<Point2>& out);
