// The two kinds of pair beside the external one: a pinion inside an internal
// (ring) gear, and a pinion on a rack. Their numbers, their checks and the
// cutting of the ring by a pinion-type cutter; gear_pair.cpp, outline.cpp and
// the exports hand these kinds over to them. Draws nothing.
//
// Units: lengths in mm, angles in radians.
//
// Internal pairs follow the handbook convention for internal gears: x2 > 0
// moves the ring's teeth outward (away from the pinion), so
//   inv(alpha_w) = 2 tan(alpha) (x2 - x1) / (z2 - z1) + inv(alpha),
//   a = ((z2 - z1) / 2 + y) m, y = (z2 - z1) / 2 (cos(alpha) / cos(alpha_w) - 1),
//   da1 = d1 + 2 m (1 + x1), da2 = d2 - 2 m (1 - x2), s2 = m (pi / 2 - 2 x2 tan(alpha)).
// The pinion is cut by the basic rack as in an external pair. The ring is
// cut by a pinion-type cutter: an unshifted involute gear of zc teeth with
// addendum and dedendum 1.25 m and sharp tip corners, meshing with the ring
// (its tip circle da2 turned before cutting) at the cutting centre distance
// a0 of the pair cutter/ring; df2 = 2 (a0 + rc + 1.25 m).
//
// A rack pair: the rack's datum line at a = d1 / 2 + x1 m from the pinion's
// centre, alpha_w = alpha; the rack has addendum 1 m and dedendum 1.25 m.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/plane.h"
#include "pair/cutting/cutting.h"
#include "pair/inputs/gear_pair.h"
#include "pair/report/report.h"

// Why a cutter cannot cut a ring cleanly.
enum class CutterFault {
    none,
    noPressureAngle,       // inv(alpha_w0) <= 0: no cutting centre distance
    pointed,               // the cutter's own teeth come to a point below its tip circle
    rootHitsRingTip,       // the cutter's root circle reaches the ring's tip circle
    involuteInterference,  // the ring's tip meets the cutter below its involute: the tips are trimmed
    trochoidInterference,  // the cutter's tip path trims the ring's tips as it leaves mesh
};

CutterFault cutterFault(const TransverseSection& section, int zc);

// Of the cutters from minCutterTeeth to z2 - 1 (at most maxCutterTeeth)
// teeth for which `passes` holds, the run of consecutive ones nearest the
// cutter asked for (input.cutterTeeth); lowest 0 when none passes.
struct CutterRun {
    int lowest = 0;
    int highest = 0;
};
CutterRun nearestCutterRun(const PairInput& input, const std::function<bool(int)>& passes);
// "a cutter of 70 teeth cannot cut this internal gear cleanly (it must have
// fewer teeth than the ring)": the cutter asked for, and why.
std::string cutterFaultText(const PairInput& input, const TransverseSection& section);

// The cutter chosen for a ring when none is asked for: of the cutters from
// minCutterTeeth to z2 - 1 (at most maxCutterTeeth) teeth that cut the ring cleanly (cutterFault none), the one
// nearest the middle of their range, the larger of two equally near; so the
// cutter stands well clear of both limits, the ring's tips trimmed by the
// cutter's root (too few teeth) and by its tip path (too many). 0 when no
// cutter cuts the ring cleanly.
int chooseCutterTeeth(const TransverseSection& section);

// The handbook's three checks of a pinion (or cutter) of z1 teeth in a ring
// of z2 teeth (tip radii ra, base radii rb, centre distance a, working
// pressure angle alphaW).
struct InternalInterference {
    bool involute;      // z1 / z2 < 1 - tan(alpha_a2) / tan(alpha_w)
    bool trochoid;      // theta1 z1 / z2 + inv(alpha_w) - inv(alpha_a2) < theta2
    bool trimming;      // theta1 + inv(alpha_a1) - inv(alpha_w) < z2 / z1 (theta2 + inv(alpha_a2) - inv(alpha_w))
    bool tipsOverlap;   // ra1 >= ra2: the trimming rule has no solution, radial assembly is impossible
};
InternalInterference internalInterference(int z1, int z2, double ra1, double ra2, double rb1, double rb2, double a,
                                          double alphaW);

// Every kind's numbers, checks and outlines take the user's input (normal
// system) and its transverse section, made once where the pair enters the
// model (pair/mesh_kinds.h hands them over); the relations of the kinds are
// worked out in the section, the helical pair's own numbers from the input
// (pair/helical.h). A check's cure tries other values of the user's input:
// `passes` is whether such a pair passes every rule of its kind, given as the
// user gives it (a pair of its own, entered as any pair is).
struct RingCutterMemo;
using PassesEveryRule = bool (*)(const PairInput& input, RingCutterMemo& memo);

// Numbers and checks of the two kinds (the checks run after the ranges of
// z, m, alpha and x are checked).
PairNumbers internalPairNumbers(const PairInput& input, const TransverseSection& section);
// The part of an internal pair's numbers that the rules read, in its
// section: the mesh (alpha_w, a), both gears' diameters, tooth thicknesses
// and the pinion's neck, thinned for backlash; no cutter chosen (zc 0,
// df2 0), no path of contact, none of a helical pair's own numbers.
PairNumbers internalGearNumbers(const TransverseSection& section);
PairCheck checkInternalPair(const PairInput& input, const TransverseSection& section, PassesEveryRule passes);
PairNumbers rackPairNumbers(const PairInput& input, const TransverseSection& section);
PairCheck checkRackPair(const PairInput& input, const TransverseSection& section, PassesEveryRule passes);

// The pinion of both kinds, an external gear that the rack cuts, with its
// tip circle not shortened: da1 = d1 + 2 m (1 + x1), all in the section.
// Its numbers into numbers.gear[0] (numbers.alpha set before):
void pinionNumbers(const TransverseSection& section, PairNumbers& numbers);
// Its tip thickness (arc) at shift x1 (the section's), as cut (thinned for the backlash); negative when pointed:
double pinionTipThickness(const TransverseSection& section, double x1);
// Where its involute starts, as a distance along the line of action from its
// base tangent point: where the rack's straight flank ended or, undercut,
// where the path of the rack's tip round crosses the involute (flankForm):
double pinionInvoluteStart(const TransverseSection& section, double alpha);
// The interference warning of every kind: whether a mate's tip, meeting the
// line of action `tipMeets` mm from the gear's tangent point, reaches past
// where the gear's involute starts (`involuteStart`, mm from the same point)
// by more than filletInterferenceTolerance mn of depth (mn the normal module,
// alpha the transverse pressure angle: a depth t is t / sin(alpha) along the
// line). A shallower reach is no interference: at 20 degrees the generating
// rack's round meets its straight flank 0.00004 m short of 1 m, so a rack, a
// ring or a large gear with its tip at exactly 1 m would otherwise warn of a
// tenth of a micrometre. The effective path is still clipped exactly where
// the involute starts, warned of or not.
constexpr double filletInterferenceTolerance = 0.001;
bool tipInterferes(double tipMeets, double involuteStart, double mn, double alpha);
// Its span W over k teeth and its size M over two pins (balls), with the pin
// dp, as an external gear's (numbers.gear[0]'s dNf, df and thinning set
// before; the same relations, SDP/SI's, as for an external pair's gears):
// gear g of n, m the module (transverse), pinDiameter the given pin or 0,
// ballRatio a helical gear's ball over its transverse pin (ballPinRatio).
void inspectionSizes(const PairNumbers& n, double m, double pinDiameter, double ballRatio, GearNumbers& g);
// Its neck numbers (pinched, neck, severed, thinNeck) as cut and thinned for
// backlash (numbers.gear[0] and numbers.thinning set before):
void pinionNeck(const TransverseSection& section, PairNumbers& numbers);

// ---- The rules of a pair whose values are in range --------------------------------
// Each kind checks them in its own order and refuses the pair at the first
// it breaks; the rules on a gear as cut are the same for every kind.
enum class Fault {
    none,
    fewerTeeth,       // internal: the ring has no more teeth than the pinion
    noWorkingAngle,   // inv(alpha_w) <= 0
    noRoot,           // df <= 0
    tipInsideBase,    // da <= db: no involute
    pointed,          // sa <= 0, the teeth as cut (thinned for backlash)
    severed,          // the undercut cuts through the neck: the outline would cross itself
    cutter,           // internal: the cutter asked for cannot cut the ring cleanly, others can
    noCleanCutter,    // internal: no pinion-type cutter cuts the ring cleanly
};

struct Breach {
    Fault fault = Fault::none;
    int gear = 0;  // the gear concerned: its shift is the first cure tried
};

// The rules on one gear as cut, in this order: a root circle, a tip circle
// outside the base circle, teeth not pointed, a neck not cut through.
bool hasNoRoot(const GearNumbers& g);
bool hasTipInsideBase(const GearNumbers& g);
bool isPointed(const GearNumbers& g);
Fault gearFault(const GearNumbers& g);
// The refusal of those four for gear `gear` (0 or 1) with shift x, the same
// words for every kind.
std::string gearProblem(Fault fault, int gear, const GearNumbers& g, double x);
// Sets the neck numbers of g from its flank form, its flanks turned by
// `turn` (rad) towards the tooth's middle for backlash; m the module.
void neckNumbers(const FlankForm& form, double turn, double m, GearNumbers& g);

// Whether some pinion-type cutter cuts the ring cleanly; the last answer is
// kept for the same ring (the section's z2, m, alpha, x2 and heights), so a
// cure that tries many values of the other inputs asks once.
struct RingCutterMemo {
    bool known = false;
    int z2 = 0;
    double m = 0.0;
    double alphaDeg = 0.0;
    double x2 = 0.0;
    double heightFactor = 0.0;
    bool clean = false;
};
bool ringCanBeCut(const TransverseSection& section, RingCutterMemo& memo);

// The first rule each kind's pair breaks (ranges checked before).
Breach internalBreach(const PairInput& input, const TransverseSection& section, RingCutterMemo& memo);
Breach rackBreach(const PairInput& input, const TransverseSection& section);
// Whether a pair in range passes every rule of its kind.
bool externalPairPasses(const PairInput& input, const TransverseSection& section, RingCutterMemo& memo);
bool internalPairPasses(const PairInput& input, const TransverseSection& section, RingCutterMemo& memo);
bool rackPairPasses(const PairInput& input, const TransverseSection& section, RingCutterMemo& memo);

// The refusal of a pair that breaks a rule: `problem`, and the cure, the
// range of the shift of gear `gear`, else of its mate (a rack has none),
// else of the pressure angle, every value of which gives a pair that passes
// every rule of its kind (`passes`, the kind's own), the others as given;
// no cure where none does.
PairCheck refusalWithCure(const PairInput& input, int gear, const std::string& problem, PassesEveryRule passes);

// The ring's counter-clockwise tooth flank as its pinion-type cutter of
// numbers.zc teeth cuts it (a helical ring's transverse section), thinned for
// backlash, ordered from the root circle (outermost) to the tip circle;
// returns the root radius df2 / 2.
double ringToothFlank(const PairNumbers& numbers, std::vector<Polar>& flank);

// The outlines of these kinds from the pair's numbers, placed in mesh
// (pair/mesh_kinds.h hands them over).
struct PairGeometry;
void buildInternalGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair);
void buildRackGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair);

// An external pair's numbers, checks, outlines and report, which
// pair/mesh_kinds.h hands over as it does the other kinds'.
PairNumbers externalPairNumbers(const PairInput& input, const TransverseSection& section);
PairCheck checkExternalPair(const PairInput& input, const TransverseSection& section, PassesEveryRule passes);
void buildExternalGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair);
PairReport externalReport(const PairNumbers& numbers);

// The report lines of these kinds (pair/report.h), in the same form as an
// external pair's.
PairReport internalReport(const PairNumbers& numbers);
PairReport rackReport(const PairNumbers& numbers);
// The effective path from `start` to `end` (mm from T1; none where end <=
// start, the tips missing) and what it gives every kind alike: gaEff,
// epsilon_alpha_eff = gaEff / pb, the pair that cannot run continuously
// (below 1) and the low contact ratio (below 1.1).
void effectiveContact(PairNumbers& n, double start, double end);
// Where the effective path starts beside a gear whose involute starts
// `involuteStart` from its tangent point, the mate's tip meeting the line
// `tipMeets` from it: at the involute's start where the interference warning
// says the tip reaches past it (tipInterferes), else where the tip meets the
// line, never behind the tangent point. The same rule for every kind.
double pathStartBeside(double tipMeets, double involuteStart, bool interference);

// The kind's own report lines, chosen by numbers.kind (a set's: its sun and
// planet's, an external mesh's), before those along the line of action.
PairReport kindReport(const PairNumbers& numbers);
