// Bending at the tooth root, found on each gear's own cut outline: the
// critical section where tangents at 30 degrees to the tooth's centre line
// (60 degrees for an internal gear) touch the fillets (ISO 6336-3), its chord
// sFn and the fillet's radius rhoF there, the load at the gear's outer point
// of single-tooth contact along the line of action with its angle alphaFen
// and arm hFe, the form factor YF, the stress correction factor YS (method
// B), the helix factor Ybeta, Lewis's form factor Y (load at the tip, the
// inscribed parabola) and, with a torque, the nominal root stress
//   sigmaF0 = Ft / (b mn) YF YS Ybeta
// and where along the path of contact the root stress is largest, the load
// shared equally by the pairs in contact as pair/line_of_action.h shares it.
// Helical gears through their virtual spur gear of zn teeth in the normal
// section (a helical ring: its transverse section). Draws nothing, reads no
// program state.
//
// Not here: any rating (application, dynamic, load distribution, contact
// ratio or life factors, permissible stresses), the rim thickness factor,
// protuberance cutters, the rack's teeth.
//
// Units: lengths in mm, angles in radians, torque in N m, forces in N,
// stresses in MPa.
#pragma once

#include <vector>

#include "base/plane.h"
#include "pair/cutting/cutting.h"
#include "pair/inputs/gear_pair.h"
#include "pair/mesh/line_of_action.h"

// ISO 6336-3: the critical section's tangents to the tooth's centre line.
constexpr double externalTangentAngle = 30.0 * degToRad;
constexpr double internalTangentAngle = 60.0 * degToRad;

// The tooth of one gear as a beam. Its frame: t along the tooth's centre
// line from the gear's centre towards the tip (for a ring, t = -x: from its
// root, the outer side, towards its tip, the inner side; its origin at the
// ring's centre), y across it; the counter-clockwise flank has y > 0.
struct ToothBeam {
    bool present;      // a gear with teeth (a rack has none here)
    bool internal;     // a ring: its tip points to its centre, tangents at 60 degrees
    bool fromOutline;  // the fillet departs from the standard's rack-cut fillet (undercut, a pinion-type cutter)
    bool transverse;   // a helical ring: worked out in its transverse section, not through zn
    double zn;         // teeth of the gear worked on: z, or zn of a helical gear's virtual spur gear
    double mn;         // its module, mm (normal for a helical gear)
    double alphaN;     // its pressure angle, rad
    double rb;         // its base radius, mm
    double ra;         // its tip radius, mm
    double rf;         // its root radius, mm
    double raTransverse;  // the tip radius of the gear's transverse section (ra for spur gears), mm
    std::vector<Polar> flank;  // its counter-clockwise flank, root to tip, as cut (dense)
    // The critical section.
    double tangentAngle;  // 30 or 60 degrees
    Point2 critical;      // (t, y) where the tangent touches the counter-clockwise fillet
    double sFn;           // chord there, 2 y, mm
    double rhoF;          // the fillet's radius of curvature there, mm
    double qs;            // the notch parameter sFn / (2 rhoF) (0 without a fillet there)
    // The load at the outer point of single-tooth contact. It is there only
    // where the pair has an effective path and the load's line crosses the
    // centre line outside the critical section (hFe > 0): a tooth stubbier
    // than that, or a pair that never touches on its involutes, has no
    // bending arm, YF and YS (no load is worked out then, and none reported).
    bool hasLoad;
    double den;       // diameter of the load point, mm
    Point2 load;      // (t, y) of the load point on the flank
    double alphaFen;  // angle of the load's line to the perpendicular of the centre line, rad
    double tLoad;     // t where the load's line crosses the centre line
    double hFe;       // bending arm tLoad - critical.t, mm
    double YF;        // 6 (hFe / mn) cos(alphaFen) / ((sFn / mn)^2 cos(alpha_n))
    double YS;        // (1.2 + 0.13 L) qs^(1 / (1.21 + 2.3 / L)), L = sFn / hFe, qs = sFn / (2 rhoF)
    // Lewis: the load at the tip, the parabola of uniform strength y^2 = k (tVertex - t).
    double tVertex;   // where the tip load's line crosses the centre line
    double lewisK;    // mm
    Point2 lewisTouch;  // where the parabola touches the fillet
    double lewisY;    // 2 k / (3 mn): sigma = Ft / (b mn Y)
};

// ISO 6336-3 gives YS's relation for notch parameters 1 <= qs < 8 only: a
// fillet far sharper (a ring's, cut by a sharp-cornered pinion cutter; a
// deep undercut) or far rounder than a rack's leaves it extrapolated.
constexpr double qsLowest = 1.0;
constexpr double qsBeyond = 8.0;
inline bool qsWithinStandard(double qs) { return qs >= qsLowest && qs < qsBeyond; }
// A tooth whose YS (and so its root stress) is that relation extrapolated.
inline bool ysExtrapolated(const ToothBeam& beam) { return beam.hasLoad && !qsWithinStandard(beam.qs); }

struct RootBending {
    ToothBeam gear[2];
    double Ybeta;      // 1 - min(epsilon_beta, 1) min(beta, 30 deg) / 120 deg; 1 for spur gears
    double pathScale;  // mm of the virtual gear's line of action per mm of the transverse one (1 for spur)
    // With a torque (PairInput::torque > 0):
    bool loaded;
    double Ft;          // 2000 T / d1, N
    double b;           // face width, mm
    double sigmaF0[2];  // MPa, the load at the outer point of single-tooth contact
    double sigmaFMax[2];  // the largest along A..E, the load shared by the pairs in contact, MPa
    double sMax[2];       // where: s from T1 (pair/line_of_action.h)
    double dMax[2];       // the diameter of that gear's contact point there (transverse), mm
};

// The whole of it, for a pair that checkPair accepts.
RootBending rootBending(const PairInput& input, const PairNumbers& numbers);

// The load's line, arm and factors with the contact on gear `gear`'s flank
// at diameter d (of the tooth worked on), the critical section staying put.
struct BeamLoad {
    Point2 load;
    double alphaFen;
    double tLoad;
    double hFe;
    double YF;
    double YS;
};
BeamLoad beamLoadAt(const ToothBeam& beam, double d);

// The root stress of gear `gear` per unit of Ft / (b mn), YF YS Ybeta over
// the pairs in contact, with the contact at s on the transverse path
// (pair/line_of_action.h); 0 off the effective path.
double rootStressFactorAt(const RootBending& bending, const ContactPath& path, int gear, double s);
// The diameter of the tooth worked on (the virtual gear's) at s.
double beamDiameterAt(const RootBending& bending, const ContactPath& path, int gear, double s);
