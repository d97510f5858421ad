// The cutting of a gear by its cutter: the basic rack's profile (ISO 53
// profile A: straight flanks at alpha, addendum 1.25 m, tip radius 0.38 m),
// the envelope point that a point of the cutter's profile cuts, and the rack
// as drawn in the cutting scene. Draws nothing.
//
// Units: mm, angles in radians.
#pragma once

#include <vector>

#include "pair/gear_pair.h"
#include "pair/plane.h"

// The cutter's profile in its own tooth-centred frame: u across, 0 in the
// middle of a rack tooth; v up, 0 on the datum line; the tooth points to -v.
// Only the half u >= 0 is described; the other half is its mirror image.
struct RackProfile {
    double m;
    double alpha;
    double depth;   // tip line below the datum: 1.25 m, less where the flanks meet sooner
    double rho;     // tip round radius: 0.38 m, less where it does not fit
    double uc;      // round centre (uc, vc)
    double vc;
};

RackProfile makeRackProfile(double m, double alpha);

// A point of the cutter's half profile with its unit normal pointing out of
// the cutter (into the gear's material).
struct ProfilePoint {
    double u, v, nu, nv;
};

// Round: b from 0 (normal straight down) to pi/2 - alpha (the flank's normal).
ProfilePoint roundPoint(const RackProfile& p, double b);
// Straight flank at height v.
ProfilePoint flankPoint(const RackProfile& p, double v);
// Height of the round's upper end, where it meets the flank (negative: below the datum).
double flankStart(const RackProfile& p);

// A point of a gear in polar form about its centre.
struct Polar {
    double rho;  // distance from the gear centre
    double psi;  // angle from the tooth's middle line, positive towards its counter-clockwise flank
};

// The point of the gear (reference radius r, shift x m = xm) that the
// profile point q cuts.
Polar envelopePoint(const RackProfile& p, double r, double xm, const ProfilePoint& q);

// The cutter that cuts gear `gearIndex`, in the rack's own frame: x along the
// rolling line, which is y = 0 (the line that touches the reference circle
// and rolls on it without slipping), the datum line at y = x m, the teeth
// pointing to -y (towards the blank's centre at (0, -r), r = m z / 2). A rack
// space is centred at x = 0: the space that forms the gear tooth standing
// under it. `points` gets an open polyline, left to right, from
// x = -teeth pi m / 2 to +teeth pi m / 2 (so `teeth` pitches of pi m).
// Rack profile: flanks at alpha, tip 1.25 m below the datum with rounds of
// 0.38 m; where the flanks are too steep for such rounds (alpha above about
// 23 degrees) the rounds shrink until they meet at the middle of the tip,
// and where the flanks meet before 1.25 m (alpha above about 32 degrees) the
// tip is their sharp meeting point, which then also sets the root circle.
// The space bottom, 1.25 m above the datum, is shaped like the tip (the rack
// is point-symmetric); it never touches the blank.
void rackOutline(const PairInput& input, int gearIndex, int teeth, std::vector<Point2>& points);

// The same rack where it stands when the blank has turned by `phi` (rad,
// counter-clockwise) in the cutting motion, in the blank's fixed frame:
// blank centre at (0, 0), the finished outline (outline[gearIndex], tooth 0 on
// +x) turned by phi about (0, 0). The rack's frame above is placed with its
// origin at (-r (phi - pi/2) + k pi m, r) for the whole k that brings the
// middle space within pi m / 2 of x = 0: it slides by -r phi as the blank
// turns by phi, and at phi = pi/2, with tooth 0 pointing up (+y), its space
// at x = 0 holds tooth 0. At every phi the outline lies on or outside the
// rack and touches it; the rack positions envelop the teeth.
void rackOutlineAt(const PairInput& input, int gearIndex, double phi, int teeth, std::vector<Point2>& points);
