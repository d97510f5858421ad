// The cutting of a gear by its cutter: the basic rack's profile (ISO 53
// profile A: straight flanks at alpha, addendum 1.25 m, tip radius 0.38 m),
// the envelope point that a point of the cutter's profile cuts, and the rack
// as drawn in the cutting scene. Draws nothing.
//
// Units: mm, angles in radians.
#pragma once

#include <vector>

#include "base/plane.h"
#include "pair/inputs/gear_pair.h"

// The cutter's profile in its own tooth-centred frame: u across, 0 in the
// middle of a rack tooth; v up, 0 on the datum line; the tooth points to -v.
// Only the half u >= 0 is described; the other half is its mirror image.
// A helical gear's transverse section is cut by the transverse section of
// the normal rack (h = cos(beta)): the normal profile stretched across by
// 1 / cos(beta), heights kept. Its tip round, a cylinder of 0.38 mn along
// the tooth, is there an ellipse of semi-axes rho / h across and rho in
// height, ending where the normal section's circle does: at the height
// vc - rho sin(alpha_n), on the flank at alpha (the transverse alpha_t).
struct RackProfile {
    double m;
    double alpha;
    double depth;   // tip line below the datum: 1.25 m, less where the flanks meet sooner
    double rho;     // tip round radius in height: 0.38 m, less where it does not fit; across it is rho / h
    double uc;      // round centre (uc, vc)
    double vc;
    double h;       // heights (1.25, 0.38) in multiples of h m: 1, a helical pair's transverse section cos(beta)
    double alphaN;  // the pressure angle of the normal section, tan(alpha_n) = h tan(alpha); alpha when h = 1
};

// The basic rack of module m and pressure angle alpha, its heights in
// multiples of h m (PairInput::heightFactor); for h < 1 the transverse
// section of the normal rack of module h m (see above).
RackProfile makeRackProfile(double m, double alpha, double h);

// The round's parameter at its upper end, where it meets the flank:
// pi / 2 - alpha_n (roundPoint's b runs from 0 to this).
double roundEnd(const RackProfile& p);

// The cutting mesh of a ring and a pinion-type cutter of zc teeth.
struct RingCutting {
    int zc;
    double alphaW0;  // pressure angle of the cutting mesh
    double a0;       // cutting centre distance, mm
    double rc;       // the cutter's reference radius m zc / 2
    double rbc;      // its base radius
    double rac;      // its tip radius rc + 1.25 m
    double rfc;      // its root radius rc - 1.25 m
    double sac;      // its tooth thickness on its tip circle (arc), mm
};

// The cutting mesh for zc teeth (zc < z2) in the pair's transverse section
// (pair/helical.h; a spur pair's is the pair); alphaW0 and a0 are 0 where
// there is no cutting pressure angle.
RingCutting ringCutting(const TransverseSection& section, int zc);

// A point of the cutter's half profile with its unit normal pointing out of
// the cutter (into the gear's material).
struct ProfilePoint {
    double u, v, nu, nv;
};

// Round: b from 0 (normal straight down) to roundEnd(p) (the flank's
// normal); b is the angle of the normal section's circle, the ellipse's
// point (uc + rho sin(b) / h, vc - rho cos(b)).
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

// How a cutter rolls on the blank it cuts, without slipping, at the pitch
// point where their rolling curves touch: a rack's rolling line on the
// blank's reference circle, or a pinion-type cutter's working pitch circle
// inside a ring's.
struct CuttingMotion {
    double r;      // the blank's rolling radius: a gear's reference radius, a ring's working pitch radius
    double pitch;  // pi m
    double xm;     // a rack: its datum line x m outside the rolling line
    double rc;     // 0 for a rack; a pinion-type cutter's working pitch radius r zc / z2
    double a0;     // a pinion-type cutter: its centre's distance from the ring's, r - rc
};

// The point of the blank that the profile point q cuts: where q stands when
// its normal passes through the pitch point (the law of gearing), in the
// blank's frame. The one step that differs between the cutters is where the
// normal meets the cutter's rolling curve (its line or its circle); that
// point is then rolled onto the pitch point.
// A rack (q in its tooth-centred frame): psi from the middle of the gear's
// tooth that the rack tooth's half u >= 0 cuts on its counter-clockwise side.
// A pinion-type cutter (q in the cutter's frame, centre at the origin, its
// tooth 0 centred on +x): psi from the middle of the ring's space that tooth
// 0 cuts; rho < 0 where q's normal misses the cutter's pitch circle (q never
// touches the ring).
Polar envelopePoint(const CuttingMotion& motion, const ProfilePoint& q);
// The rack's: the gear of reference radius r, shift x m = xm.
Polar envelopePoint(const RackProfile& p, double r, double xm, const ProfilePoint& q);

// The pinion-type cutter's tooth 0, its counter-clockwise half, in the
// cutter's frame with the outward normal: the involute flank at roll
// parameter t = tan(alpha_rho) (radius rbc sqrt(1 + t^2)), and the sharp tip
// corner with the normal turned by `turn` from the flank's (0) to the
// radial (1).
ProfilePoint cutterFlankPoint(const RingCutting& cutter, double alpha, double t);
ProfilePoint cutterCornerPoint(const RingCutting& cutter, double alpha, double turn);

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
// A helical gear's: the normal rack's transverse section (m is mt, x m the
// shift xn mn), from the pair's section.
void rackOutline(const TransverseSection& section, int gearIndex, int teeth, std::vector<Point2>& points);

// The same rack where it stands when the blank has turned by `phi` (rad,
// counter-clockwise) in the cutting motion, in the blank's fixed frame:
// blank centre at (0, 0), the finished outline (outline[gearIndex], tooth 0 on
// +x) turned by phi about (0, 0). The rack's frame above is placed with its
// origin at (-r (phi - pi/2) + k pi m, r) for the whole k that brings the
// middle space within pi m / 2 of x = 0: it slides by -r phi as the blank
// turns by phi, and at phi = pi/2, with tooth 0 pointing up (+y), its space
// at x = 0 holds tooth 0. At every phi the outline lies on or outside the
// rack and touches it; the rack positions envelop the teeth.
void rackOutlineAt(const TransverseSection& section, int gearIndex, double phi, int teeth, std::vector<Point2>& points);

// The pinion-type cutter of zc teeth (PairNumbers::zc) that cuts the ring of
// an internal pair, as a closed outline in its own frame (centre at the
// origin, tooth 0 centred on +x, counter-clockwise): involute flanks from
// where they start (its base circle, or its root circle where that lies
// outside) to its sharp tip corners, radial flanks below the base circle,
// tip and root arcs.
void pinionCutterOutline(const TransverseSection& section, int zc, std::vector<Point2>& points);

// The same cutter where it stands when the ring has turned by `phi` (rad,
// counter-clockwise) in the cutting motion, in the ring's fixed frame: ring
// centre at (0, 0), the finished ring outline (outline[1], tooth 0 on +x)
// turned by phi about (0, 0). The cutter's centre stays at (0, a0), the
// cutting centre distance above; it turns the same way as the ring, by
// z2 / zc times as much, and at phi = pi/2 - pi/z2, with a ring space facing
// up, its tooth 0 points straight up into it. At every phi the ring's
// outline lies on or outside the cutter and touches it; the cutter's
// positions envelop the ring's teeth.
void pinionCutterOutlineAt(const TransverseSection& section, int zc, double phi, std::vector<Point2>& points);

// Where the involute that the cutter leaves on a gear's flank begins, and
// the narrowest place of the tooth below it where the undercut pinches it.
struct FlankForm {
    double involuteStart;  // radius, mm: the flank is the true involute from here to the tip (rb or more)
    bool pinched;          // the undercut leaves a neck narrower than the tooth just above it
    double neckRadius;     // radius of the neck, mm (pinched only)
    double neckHalfAngle;  // psi of the flank there, rad: <= 0 when the two flanks cross (the tooth is severed)
};

// The flank form of a gear of z teeth, shift x m = xm, reference tooth
// thickness s and tip radius ra, cut by the rack profile p. Without
// undercut the involute begins where the rack's straight flank ends; with
// undercut, where the path of the rack's tip round crosses the involute.
FlankForm flankForm(const RackProfile& p, int z, double xm, double s, double ra);
