// Gear set-up: the demonstration gear's dimensions, the involute and
// tangent-point tables, and the console report with the key guide. The
// computation and the report are separate steps: computeDemoGear prints
// nothing, printDemoGearReport only prints. Nothing here draws.
#pragma once

#include "base/plane.h"

// The demonstration gear of scenes 1 to 6 as its report gives it: module 1,
// so model units are mm; the standard basic rack (α = 20°, ha = 1.0 m,
// hf = 1.25 m) on a pitch circle of radius 1.
struct DemoGear {
    int z0;          // teeth the report names (4); the meshing scenes draw toothCount teeth
    double alpha;    // rad: pressure angle, pi / 9
    double ha;       // addendum
    double hf;       // dedendum
    double r;        // pitch radius
    double ra;       // tip radius, ra = r + ha
    double rf;       // root radius, rf = r - hf: negative with these values, and printed so
    double rb;       // base radius, rb = r cos α (the same value as baseRadius)
    double rollMin;  // roll from the pitch point down to the root, in pitch radii: hf tan α / r
    double rollMax;  // roll from the pitch point up to the tip circle, in pitch radii (see computeDemoGear)
    double flankHeight;  // model units a drawn flank reaches beyond the base circle
};

// Computes the demonstration gear; fills tangentTable and involuteTable
// (entries 0 to involuteLastIndex), baseRadius, toothCount and
// flankLastIndex; and puts the animation back to its start: viewScale 0.5,
// directionKey 'd', both step counters 0. Prints nothing. sceneKey is the
// caller's business.
DemoGear computeDemoGear();

// Writes the gear's console report and the key guide, and flushes them so
// that the whole report is on the console before anything else is printed.
void printDemoGearReport(const DemoGear& gear);

// Both, in that order, as the program does at start and on 'z'.
void setupGear();

// The involute of the base circle (radius baseRadius) at roll angle t:
// `tangency` is where the taut string leaves the circle, `involute` its free
// end. Angles of points are measured from +y towards +x.
void involutePoint(double t, Point2& tangency, Point2& involute);
