// The numbers of a pair of involute spur gears as a hobbing rack cuts them:
// the input and its allowed ranges, the standard numbers of the pair (working
// pressure angle, centre distance, diameters, contact ratio, tooth
// thicknesses) and the warnings a designer must see. Draws nothing and writes
// nothing. The cutting (pair/cutting.h), the outlines (pair/outline.h) and
// the exports (pair/exports.h) are rooms of their own.
//
// Units: lengths in mm, angles in radians unless the name says Deg.
// Gear 1 is the drive gear (index 0), gear 2 the driven gear (index 1).
// The cutter is the basic rack of ISO 53 profile A: straight flanks at alpha,
// addendum 1.25 m, tip radius 0.38 m, moved out by x m.
#pragma once

#include <string>
#include <type_traits>

#include "base/plane.h"
#include "pair/solve/involute.h"

// ---- Allowed input ------------------------------------------------------------
constexpr int minTeeth = 4;
constexpr int maxTeeth = 400;
constexpr double minModule = 0.05;          // mm
constexpr double maxModule = 100.0;         // mm
constexpr double minPressureAngleDeg = 10.0;
constexpr double maxPressureAngleDeg = 35.0;
constexpr double minShift = -1.0;           // profile shift coefficient x
constexpr double maxShift = 1.5;
constexpr int minCutterTeeth = 8;           // zc of the pinion-type cutter of an internal gear
constexpr int maxCutterTeeth = 200;
constexpr double maxBacklashModules = 0.25; // jn at most 0.25 m: far above any fit's backlash
constexpr double maxPinModules = 5.0;       // dp at most 5 m: no pin that large touches a flank
// b at least 0.01 m: a thinner face (down to 1e-320 mm) made the stress per
// mm of face infinite.
constexpr double minFaceWidthModules = 0.01;
constexpr double maxFaceWidthModules = 100.0; // b at most 100 m: wide enough for a face contact ratio of 1 at a 2 degree helix
constexpr double maxCentreDistanceModules = 500.0;  // a at most 500 m: past two gears of 400 teeth
constexpr double maxTorque = 1.0e6;  // N m
constexpr int minPlanets = 2;   // planets of a planetary set
constexpr int maxPlanets = 12;
constexpr double defaultFaceWidthModules = 10.0; // b = 10 m when not given: the usual proportion of a spur gear's face
constexpr double maxHelixAngleDeg = 45.0;   // beta: beyond 45 degrees a helical gear is a worm

// ISO 53 profile A, in multiples of m.
constexpr double rackAddendum = 1.25;       // cutter tip above its datum line: cuts the gear's root
constexpr double rackDedendum = 1.0;        // gear addendum before the tip shortening of a shifted pair
constexpr double rackTipRadius = 0.38;
constexpr double bottomClearance = 0.25;

// The kinds of involute pair: two external gears; a pinion inside an
// internal (ring) gear; a pinion on a rack; and a planetary set, a sun and
// its planets (an external pair) inside a ring (an internal pair with the
// planet), pair/planetary.h.
enum class PairKind { external, internal, rack, planetary };

// The member of a planetary set held still: the ring (the sun drives the
// carrier), the carrier (the sun drives the ring) or the sun (the ring
// drives the carrier).
enum class FixedMember { ring, carrier, sun };

// The hand of a helix, as seen along the axis: a right-hand helix turns
// clockwise as it goes away from the viewer, like a right-hand thread.
enum class Hand { right, left };

struct PairInput {
    PairKind kind = PairKind::external;
    int z1 = 10;            // teeth of the drive gear (the pinion)
    int z2 = 30;            // teeth of the driven gear or ring; not used for a rack
    double m = 1.0;         // module, mm
    double alphaDeg = 20.0; // pressure angle of the basic rack, degrees
    double x1 = 0.0;        // profile shift coefficients (x2: not used for a rack)
    double x2 = 0.0;
    double backlash = 0.0;    // jn, normal backlash, mm
    double pinDiameter = 0.0; // dp, pin (ball) diameter of the over-pin size, mm; 0: by the usual rule
    int cutterTeeth = 0;      // zc of the pinion-type cutter of an internal gear; 0: chosen per ring
    double faceWidth = 0.0;   // b, face width, mm; 0: defaultFaceWidthModules times m
    // Along the line of action (pair/line_of_action.h): the load of the
    // contact stress and the flanks' material, and a working centre distance
    // from which the shifts are chosen (applyCentreDistance).
    double torque = 0.0;        // T on gear 1, N m; 0: no load given, no stress worked out
    double elasticE = 206.0;    // E of both flanks, GPa (steel)
    double elasticNu = 0.3;     // Poisson's ratio of both flanks (steel)
    double centreDistance = 0.0;  // a, mm; 0: the shifts are as given
    bool centreX1Given = false;   // with a: x1 was given and x2 follows (else both by equal root sliding)
    // A planetary set (pair/planetary.h): z1 and x1 are the sun's, z2 and x2
    // the planet's; the ring's shift is solved for the sun–planet distance.
    int z3 = 70;                  // teeth of the ring
    int planets = 3;              // N, spaced equally about the sun
    FixedMember fixed = FixedMember::ring;
    // Helical gears (ISO 21771, normal system): m, alpha and x are then the
    // normal module mn, the normal pressure angle alpha_n and the shift xn in
    // multiples of mn; the pair's numbers are those of its transverse section
    // (pair/helical.h).
    double betaDeg = 0.0;     // helix angle beta on the reference cylinder, degrees; 0: spur gears
    Hand hand = Hand::right;  // hand of gear 1 (gear 2 of an external pair has the other, a ring and a rack the same)
    // The basic rack's heights (addendum, dedendum, tip round, clearance) in
    // multiples of m: 1, except in a helical pair's transverse section, whose
    // m is mt and whose heights stay multiples of mn = mt cos(beta).
    double heightFactor = 1.0;
    // How much lower gear 1's tip radius is than the basic rack makes it,
    // mm: a planet's, shortened in its mesh with the sun, when its mesh with
    // the ring is worked out (pair/planetary.h); 0 otherwise.
    double tipReduction1 = 0.0;
};

// The transverse section of a pair (pair/helical.h): the spur pair whose
// relations give a helical pair's numbers, checks and outlines (module mt,
// pressure angle alpha_t, shifts xn cos(beta), heights cos(beta) mt); a spur
// pair's is the pair itself. A type of its own, so that a function working
// in the section cannot be handed the user's (normal) input, nor the other
// way round: only transverseSection (pair/helical.h) makes one from an input.
struct TransverseSection {
    TransverseSection() = default;  // the section of PairInput{}, a spur pair: that pair itself
    const PairInput& spur() const { return spur_; }

private:
    explicit TransverseSection(const PairInput& spur) : spur_(spur) {}
    friend TransverseSection transverseSection(const PairInput& input);
    PairInput spur_;
};
static_assert(!std::is_constructible_v<TransverseSection, PairInput> &&
                  !std::is_convertible_v<PairInput, TransverseSection>,
              "a transverse section is made only by transverseSection, never taken for the user's input");

// The face width b a pair is worked out with, mm: the one given, or 10 m.
inline double faceWidthOf(const PairInput& input) {
    return input.faceWidth > 0.0 ? input.faceWidth : defaultFaceWidthModules * input.m;
}

// One gear's numbers.
struct GearNumbers {
    int z;
    double x;
    double d;     // reference diameter d = m z
    double db;    // base diameter db = d cos(alpha)
    double da;    // tip diameter (tip shortened by the pair's y so the clearance stays 0.25 m)
    double df;    // root diameter df = d - 2 m (1.25 - x); above about 32 degrees the rack's sharp tip, shallower, cuts it
    double s;     // tooth thickness on the reference circle s = m (pi/2 + 2 x tan(alpha)), arc
    bool noReferenceTooth;  // s <= 0: the reference circle meets no tooth (a ring's, at large x2, lies inside its
                            // tip circle, where its flanks extended would cross); s is then no size to print
    double sa;    // tooth thickness on the tip circle, arc, of the teeth as cut (thinned for backlash)
    double xmin;  // least shift without undercut, 1 - z sin^2(alpha) / 2
    bool undercut;      // x < xmin
    bool interference;  // the mate's tip meets this gear below the start of its involute (dNf): the path of
                        // contact between the tip circles reaches past it (the effective path is cut there)
    bool thinTip;       // sa < 0.25 m
    double dNf;         // diameter where the involute the cutter leaves begins (the flank is the involute from
                        // there to the tip): where the rack's straight flank ends, or, undercut, where the path
                        // of the rack's tip round crosses the involute; db or more
    bool pinched;       // the undercut leaves a neck narrower than the tooth above it
    double neck;        // chord across the tooth at that neck, mm (pinched only; < 0: the flanks cross there)
    bool thinNeck;      // not severed and neck < 0.25 m: the undercut all but severs the tooth
    bool severed;       // neck <= 0.002 m, the outlines' accuracy: the two flanks cross or may, the outline
                        // crossing itself
    // Working pitch circle and the inspection sizes of the teeth as cut
    // (thinned for backlash, see PairNumbers::jt).
    double dw;          // working pitch diameter 2 a z / (z1 + z2)
    int k;              // teeth spanned: z alpha_x / pi + 0.5 rounded, alpha_x = acos(db / (d + 2 x m)),
                        // or the nearest count whose jaws touch the involute; 0 when none does
    double W;           // span over k teeth, m cos(alpha) (pi (k - 0.5) + z inv(alpha)) + 2 x m sin(alpha) - jn / 2
    double dp;          // pin (ball) diameter: PairInput::pinDiameter, or the usual one, touching the flanks on the
                        // circle of diameter (z + 2 x) m, else the nearest pin that gives a size; 0 when none does
    double M;           // size over two pins in opposite spaces (odd z: the nearest to opposite); 0 without a pin
    bool pinOnInvolute; // M is a true size: the pin touches the flanks between dNf and da, keeps off the root
                        // circle and stands out of the tip circle (its outermost point beyond da / 2)
    bool pinGiven;      // dp is PairInput::pinDiameter
    bool pinOffFlanks;  // a given pin touches no involute between dNf and da (or sits on the root circle)
    bool pinInsideTip;  // a given pin does not stand out of the tip circle: the anvils would meet the tips
};

// A helical pair's own numbers (ISO 21771 normal system); all 0 for spur gears.
struct HelixNumbers {
    double beta;          // helix angle on the reference cylinder, rad
    double betaB;         // base helix angle, tan(beta_b) = tan(beta) cos(alpha_t)
    double mt;            // transverse module mn / cos(beta), mm
    double alphaT;        // transverse pressure angle, tan(alpha_t) = tan(alpha_n) / cos(beta)
    double pbn;           // normal base pitch pi mn cos(alpha_n) = pbt cos(beta_b), mm
    double b;             // face width, mm
    double epsilonBeta;   // face (overlap) contact ratio b sin(beta) / (pi mn)
    double epsilonGamma;  // total contact ratio epsilonAlphaEff + epsilonBeta
    double zn[2];         // virtual teeth z / (cos^2(beta_b) cos(beta)); the rack's 0
    bool narrowForSpan[2];  // b < W sin(beta_b) + the jaws' margin: the span cannot be measured
    Hand hand[2];         // each gear's hand (gear 2 of an external pair the other, a ring's and a rack's the same)
};

struct PairNumbers {
    // The pair as these numbers were worked out: a helical pair's transverse
    // section (pair/helical.h: mt, alpha_t, xn cos(beta), heights in mn), a
    // spur pair as given. Made once, where the pair enters the model
    // (pair/mesh_kinds.h); the outlines, the cutting scenes, the tooth beams,
    // the drawings' notes and the solids read it rather than convert again.
    TransverseSection section;
    double alpha;        // pressure angle, rad
    double invAlpha;     // inv alpha = tan(alpha) - alpha
    double alphaW;       // working pressure angle, rad
    double a;            // centre distance, mm
    double y;            // centre-distance modification coefficient (a - m (z1 + z2) / 2) / m
    double pb;           // base pitch pi m cos(alpha), mm
    double ga;           // length of the path of contact, mm
    double epsilonAlpha; // transverse contact ratio ga / pb (nominal: between the tip circles)
    double gaEff;        // the part of the path of contact where both flanks are the involutes the cutter left, mm
    double pathStart;    // where that part starts (A) and ends (E), mm from T1 along the line of action
    double pathEnd;      //   (E = A where there is none)
    double epsilonAlphaEff;  // effective contact ratio gaEff / pb
    bool cannotRun;      // epsilonAlphaEff < 1: some of the time no tooth pair is in involute contact
    bool lowContactRatio;  // 1 <= epsilonAlphaEff < 1.1
    double i;            // ratio z2 / z1
    // Backlash (ISO 21771 / ISO/TR 10064-2 relations for spur gears): the
    // working centre distance a is kept and each gear's teeth are thinned by
    // jt / 2 on its working pitch circle, as a rack moved tangentially
    // (thickened) cuts them; jn = jt cos(alpha_w).
    double jn;           // normal backlash, mm (PairInput::backlash)
    double jt;           // circumferential backlash on the working pitch circles, jn / cos(alpha_w), mm
    double thinning;     // each gear's tooth thinning on its working pitch circle, jt / 2 (arc), mm
    GearNumbers gear[2];
    // The other kinds (pair/kinds.h). Internal: gear[1] is the ring, its x2
    // moves its teeth outward, its df2 is where the pinion-type cutter of zc
    // teeth reaches. Rack: a is the distance from the pinion's centre to the
    // rack's datum line (y = x1), gear[1] holds only the rack's tooth
    // thickness on the datum line (s = pi m / 2) and its undercut/xmin stay
    // false/0.
    PairKind kind;
    int zc;                     // internal: teeth of the pinion-type cutter that cuts the ring
    bool involuteInterference;  // internal: the ring's tip reaches past the pinion's base tangent point
    bool trochoidInterference;  // internal: the pinion's tip path cuts the ring's tip as it leaves mesh
    bool radialAssemblyImpossible;  // internal: trimming; the pinion can only be slid in axially
    bool tipCirclesOverlap;     // internal: da1 >= da2, so the trimming rule has no solution at all
    bool noTipClearance;        // internal: a + da1 / 2 > df2 / 2, the pinion's tip reaches the ring's root
    // Helical pairs: the numbers above are those of the transverse section
    // (alpha, alphaW, pb, ga, epsilonAlpha, the diameters, s, sa, dw, jt
    // transverse; jn the normal backlash) except the shifts x, y and xmin,
    // which are in multiples of mn, and the span W and ball size dp, M,
    // measured as on any helical gear (W in the normal plane).
    HelixNumbers helix;
};

// The inputs of a pair, one identifier each, in the order of the table of
// inputs (pair/inputs.h), and none. The checks name the input that is wrong
// by it (PairField), the report's warnings the input they concern, and the
// front ends name it in their own words (an option, a form field) from the
// table.
enum class PairInputId {
    z1, z2, module, alpha, x1, x2, cutter, backlash, pin, faceWidth, torque, elasticE, elasticNu, centreDistance, z3,
    planets, helix, hand, fixed,
    none  // not one of the inputs
};
using PairField = PairInputId;

struct PairCheck {
    PairField field = PairField::none;  // none: the input is usable
    std::string message;                // English, e.g. "z1 must be 4 to 400"; "" when usable
    // For values in range that give no pair that can be cut: what is wrong
    // ("gear 1's teeth are pointed (...)"), and the cure, the range of
    // `field` that gives a usable pair with the other values as they are
    // ("x1 must be 0.3000 to 0.8123"; a ring's "cutters of 19 to 107 teeth
    // can"; a set's planet counts), every value of it (ends included)
    // accepted; "" when nothing cures it. Then message is problem + "; with
    // the other values as they are, " + cure (a cutter's: problem + "; " +
    // cure).
    std::string problem{};
    std::string cure{};
    double cureLo = 0.0;  // the cure's range of `field`, in its unit (a set: the largest count, twice)
    double cureHi = 0.0;
};

// Checks the ranges and, for values in range, that the pair can be cut:
// a working pressure angle, root circles, tips outside the base circles and
// not pointed (sa > 0, thinned for backlash), and no tooth whose neck the
// undercut cuts through; the same rules on the gears of every kind, and each
// kind's own (pair/kinds.h). A pair in range that fails is given the cure,
// if any, on the shift of the gear concerned, else of its mate, else on the
// pressure angle: the range with which the pair passes every rule of its
// kind.
// Chosen by the kind with the table of kinds (pair_kind.cpp), the top of the
// pair's model; the kinds' own layers use mesh_kinds.h instead.
PairCheck checkPair(const PairInput& input);

// The numbers of a pair that checkPair accepts (of a set: its sun–planet pair's).
PairNumbers pairNumbers(const PairInput& input);

// The first of checkPair's checks, the same for every kind: each input the
// kind uses within its range in the table of inputs (pair/inputs/inputs.h),
// in the table's order. PairField::none when all are.
PairCheck checkInputRanges(const PairInput& input);

