// What happens along the line of action of a gear pair of any kind
// (external, internal, rack): the effective path of contact and its
// single-tooth zone, the specific sliding of both flanks, the diameters of
// the single-tooth contact points, the Hertz contact stress of the flanks as
// two cylinders, and the profile shifts that give a working centre distance.
// Draws nothing and reads no program state; the scenes and the page draw
// from these numbers. Not here: friction, dynamic factors, load sharing by
// tooth stiffness (the load is shared equally by the pairs in contact), any
// ISO 6336 factor beyond the bare Hertz stress.
//
// Units: lengths in mm, angles in radians, torque in N m, forces in N,
// moduli of elasticity and stresses in MPa (N/mm^2).
//
// Positions s on the line of action are measured from T1, gear 1's base
// tangent point, positive towards the pitch point C (gear 1's contact point
// runs from its root at small s to its tip at large s). Gear 1's flank's
// radius of curvature is rho1 = s. Gear 2's tangent point T2 is at s = T1T2:
//   external: T1T2 = +a sin(alpha_w), T2 beyond C; rho2 = T1T2 - s;
//   internal: T1T2 = -a sin(alpha_w), T2 behind T1 (both tangent points on
//             the same side of C, T2 the farther); rho2 = s - T1T2, the ring's
//             flank is concave;
//   rack:     T1T2 = +infinity (the rack's flank is straight); rho2 infinite.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "pair/inputs/gear_pair.h"

// The single-tooth zone covers nearly the whole path below this effective
// contact ratio: the load then rests on one pair almost all the time.
constexpr double nearlySingleContactRatio = 1.05;

// Steel, the default of both flanks (Hertz): E = 206 GPa, nu = 0.3.
constexpr double steelE = 206000.0;  // MPa
constexpr double steelNu = 0.3;

// The effective path of contact on the line of action, s from T1.
struct ContactPath {
    double mate;  // gear 2's flank: +1 convex (an external gear), -1 concave (a ring), 0 straight (a rack)
    double T1T2;  // where T2 lies (see above): + external, - internal, +infinity rack
    double u;     // z2 / z1 = omega1 / omega2; +infinity for a rack
    double rb1;   // base radii; rb2 = 0 for a rack
    double rb2;
    double pb;    // base pitch pi m cos(alpha)
    double C;     // the pitch point: rho1 = (dw1 / 2) sin(alpha_w)
    double A;     // start of the effective path, gear 1's root end: where gear 2's tip meets gear 1, or
                  // farther out where gear 1's involute starts (dNf1)
    double E;     // its end, gear 1's tip end: gear 1's tip, or sooner where gear 2's involute starts;
                  // E - A = gaEff (E = A when there is no effective path)
    double B;     // E - pb: single-tooth contact from B to D when epsilonAlphaEff < 2
    double D;     // A + pb
};

// From the numbers of any kind (its effective path from PairNumbers::pathStart
// to pathEnd, worked out with its warnings).
ContactPath contactPath(const PairNumbers& numbers);

// Radii of curvature of the two flanks at s (rho2: infinity for a rack).
double rho1At(const ContactPath& path, double s);
double rho2At(const ContactPath& path, double s);
// Diameter on gear 1 and gear 2 of the contact point at s: d = 2 sqrt(rb^2 + rho^2)
// (gear 2 of a rack: 0, it has no diameters).
double diameter1At(const ContactPath& path, double s);
double diameter2At(const ContactPath& path, double s);
// Tooth pairs in contact when one of them touches at s (A <= s + k pb <= E); 0 off the path.
int pairsInContact(const ContactPath& path, double s);

// Specific sliding (Niemann/Winter, Maschinenelemente II, spezifisches
// Gleiten; Maitra, Handbook of Gear Design, specific sliding): the flanks'
// speeds along themselves are v1 = omega1 rho1 and v2 = omega2 rho2, both
// pointing the same way for an external pair (gear 2 turns the other way and
// touches on the other side of T2) and for an internal one (the ring turns
// the same way and touches on the same side of T2), so with positive radii
//   zeta1 = 1 - v2 / v1 = 1 - rho2 / (u rho1),  zeta2 = 1 - v1 / v2 = 1 - u rho1 / rho2.
// A rack moves with the pitch line at omega1 r1; along its flank (normal to
// the line of action, at 90 deg - alpha to the pitch line) that is
// v2 = omega1 r1 sin(alpha) = omega1 C, the limit of omega2 rho2 as z2 grows:
//   zeta1 = 1 - C / s,  zeta2 = 1 - s / C.
// 0 at C; -infinity where a flank's speed is 0 (at T1 for zeta1).
struct Sliding {
    double zeta1;
    double zeta2;
};
Sliding specificSliding(const ContactPath& path, double s);

// At the ends of the effective path.
struct SlidingAtEnds {
    double zeta1Root;  // at A
    double zeta1Tip;   // at E
    double zeta2Root;  // at E
    double zeta2Tip;   // at A
};
SlidingAtEnds slidingAtEnds(const ContactPath& path);

// Diameters of the single-tooth contact points B and D on each gear. Gear
// 1's contact runs from its root (A) to its tip (E): after the pair ahead
// leaves at E (this pair at B) it carries alone until the pair behind enters
// at A (this pair at D).
struct SingleToothContact {
    double dB1;  // gear 1 at B: its lowest point of single contact, a base pitch in from where its tip contact ends
    double dD1;  // gear 1 at D: its highest point of single contact
    double dB2;  // gear 2 at B: its highest point of single contact (0 for a rack)
    double dD2;  // gear 2 at D: its lowest point of single contact (0 for a rack)
    bool nearlyWhole;  // epsilonAlphaEff < nearlySingleContactRatio: the single zone covers nearly the whole path
};
SingleToothContact singleToothContact(const ContactPath& path);

// Hertz contact stress of the flanks as two cylinders of radii rho1, rho2
// (Hertz, line contact; as in ISO 6336-2 before its factors):
//   sigmaH = sqrt(F / (b pi) (1 / rho1 +- 1 / rho2) / ((1 - nu1^2) / E1 + (1 - nu2^2) / E2)),
// minus for the ring's concave flank, 1 / rho2 = 0 for a rack.
struct HertzLoad {
    double T;  // torque on gear 1, N m
    double b;  // face width, mm
    double E1 = steelE;
    double nu1 = steelNu;
    double E2 = steelE;
    double nu2 = steelNu;
};
double sigmaHAt(const ContactPath& path, const HertzLoad& load, double s, double F);
// The load a pair's input gives: its torque, face width (faceWidthOf) and
// the flanks' E (GPa in the input) and nu, the same for both.
HertzLoad hertzLoadOf(const PairInput& input);

struct HertzStress {
    double Fn;         // normal load 1000 T / rb1, N
    double sigmaHC;    // at the pitch point with the whole load on one pair, MPa
    double sigmaHMax;  // the largest along A..E, the load shared equally by the pairs in contact
                       // (one from B to D, two in the double zones), MPa
    double sMax;       // where: s from T1
    double dMax1;      // and the diameter on gear 1 there
};
HertzStress hertzStress(const ContactPath& path, const HertzLoad& load);
// A helical pair's (numbers from pairNumbers, path from contactPath): the
// load shared by the contact lines in proportion to their length, the same
// load q per mm everywhere on them, q = Fbn / L with L their total length at
// the moment (pair/helical.h's actionPlane) and Fbn = 1000 T / (rb1 cos(beta_b))
// the normal load; the flanks' radii in the normal plane rho / cos(beta_b):
//   sigmaH = sqrt(q cos(beta_b) (1 / rho1 +- 1 / rho2) / (pi ((1 - nu1^2) / E1 + (1 - nu2^2) / E2))).
// sigmaHC: the whole load on one line across the face through C (length
// b / cos(beta_b)); sigmaHMax: the largest over a base pitch of turn, at the
// ends of the lines in contact, the moments a line's end passes a corner of
// the plane of action included (a line entering there has no length yet and
// the others carry the whole load). As beta goes to 0 it tends to the whole
// load on one line at the ends of the path, not to the spur pair's sharing
// by the pairs in contact. Fn is Fbn.
HertzStress helicalHertzStress(const PairInput& input, const PairNumbers& numbers, const ContactPath& path,
                               const HertzLoad& load);

// ---- Profile shifts for a working centre distance (external and internal pairs) ----
// Without backlash: cos(alpha_w) = a0 cos(alpha) / a, a0 = m (z2 +- z1) / 2, and
//   external: x1 + x2 = (z1 + z2) (inv(alpha_w) - inv(alpha)) / (2 tan(alpha)),
//   internal: x2 - x1 = (z2 - z1) (inv(alpha_w) - inv(alpha)) / (2 tan(alpha))
// (ISO 21771; KHK, Gear Technical Reference, the shifts from the centre distance).
struct CentreDistanceShift {
    bool ok;              // a gives a working pressure angle
    double alphaW;        // working pressure angle, rad
    double shiftTotal;    // x1 + x2 (external) or x2 - x1 (internal)
    double x1;
    double x2;
    bool balanced;        // x1 found by equal root sliding, zeta1Root = zeta2Root (not given)
    bool accepted;        // checkPair accepts the pair with these shifts
    std::string message;  // why not, "" when accepted
};
// The shift total for a (no split: x1, x2 = 0; ok false when no alpha_w exists).
CentreDistanceShift shiftTotalForCentreDistance(const PairInput& input, double a);
// The split with equal specific sliding at both roots (bisection on x1 with
// the total fixed), or, where that split cannot be cut, the nearest x1 that
// can; input.x1 and input.x2 are ignored.
CentreDistanceShift shiftForCentreDistance(const PairInput& input, double a);
// With x1 given, x2 follows.
CentreDistanceShift shiftForCentreDistance(const PairInput& input, double a, double x1);

// The centre distances some split can reach (checkPair accepts it), as
// intervals, their ends found by bisection to 1e-4 mm and rounded inwards to
// 4 decimals, every end accepted; message "a must be 40.1234 to 45.6789 mm"
// (" or " between intervals), or why no a can be reached. With
// input.centreX1Given, the message first gives the a that x1 kept can reach
// (its x2 following): "with x1 = 0.8230 kept, a must be ...; with both
// shifts left to the program, a must be ...".
struct CentreDistanceRange {
    std::vector<std::pair<double, double>> intervals;
    std::string message;
};
CentreDistanceRange reachableCentreDistances(const PairInput& input);

// The shifts of a pair given its working centre distance: with
// input.centreDistance > 0, sets input.x1 and input.x2 (with
// input.centreX1Given, x1 stays and x2 follows; else the split of equal root
// sliding, or the nearest one that can be cut) and returns true; false with
// `message` saying why and what can be reached, the input unchanged. True
// and nothing done without a centre distance.
bool applyCentreDistance(PairInput& input, std::string& message);

// A cure of the pressure angle, or of a ring's cutter, is worked out at
// the shifts as given; with a centre distance the shifts follow from it
// instead, and a value the cure offers may then still be refused for the
// centre distance. Tries each end and the middle of the offered range with
// the centre distance applied. Where one is refused, returns what the
// refusal adds after the cure, with `centreDistance` as the front end
// names that input: " with the shifts as given, but at 12.5238
// --centre-distance "46.514" is refused: a must be 19.5242 to 20.9179 mm"
// (a cutter: "at 19 teeth"). "" where all pass, and without a centre
// distance or such a cure.
std::string cureRefusedByCentreDistance(const PairInput& input, const PairCheck& check,
                                        const std::string& centreDistance);
