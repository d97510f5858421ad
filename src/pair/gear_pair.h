// A pair of involute spur gears as a hobbing rack cuts them: the standard
// numbers of the pair (working pressure angle, centre distance, diameters,
// contact ratio, tooth thicknesses), the warnings a designer must see, and
// each gear's whole tooth outline. Draws nothing and writes nothing: the
// report, the SVG and the scenes take what they need from here.
//
// Units: lengths in mm, angles in radians unless the name says Deg.
// Gear 1 is the drive gear (index 0), gear 2 the driven gear (index 1).
// The cutter is the basic rack of ISO 53 profile A: straight flanks at alpha,
// addendum 1.25 m, tip radius 0.38 m, moved out by x m.
#pragma once

#include <string>
#include <vector>

#include "app/state.h"  // Point2

// ---- Allowed input ------------------------------------------------------------
constexpr int minTeeth = 4;
constexpr int maxTeeth = 400;
constexpr double minModule = 0.05;          // mm
constexpr double maxModule = 100.0;         // mm
constexpr double minPressureAngleDeg = 10.0;
constexpr double maxPressureAngleDeg = 35.0;
constexpr double minShift = -1.0;           // profile shift coefficient x
constexpr double maxShift = 1.5;

// ISO 53 profile A, in multiples of m.
constexpr double rackAddendum = 1.25;       // cutter tip above its datum line: cuts the gear's root
constexpr double rackDedendum = 1.0;        // gear addendum before the tip shortening of a shifted pair
constexpr double rackTipRadius = 0.38;
constexpr double bottomClearance = 0.25;

struct PairInput {
    int z1 = 10;            // teeth of the drive gear
    int z2 = 30;            // teeth of the driven gear
    double m = 1.0;         // module, mm
    double alphaDeg = 20.0; // pressure angle of the basic rack, degrees
    double x1 = 0.0;        // profile shift coefficients
    double x2 = 0.0;
};

// One gear's numbers.
struct GearNumbers {
    int z;
    double x;
    double d;     // reference diameter d = m z
    double db;    // base diameter db = d cos(alpha)
    double da;    // tip diameter (tip shortened by the pair's y so the clearance stays 0.25 m)
    double df;    // root diameter df = d - 2 m (1.25 - x); above about 32 degrees the rack's sharp tip, shallower, cuts it
    double s;     // tooth thickness on the reference circle s = m (pi/2 + 2 x tan(alpha)), arc
    double sa;    // tooth thickness on the tip circle, arc
    double xmin;  // least shift without undercut, 1 - z sin^2(alpha) / 2
    bool undercut;      // x < xmin
    bool interference;  // the mate's tip meets this gear below its involute: the path of contact runs past
                        // its tangent point on the line of action, or below where the rack's straight flank
                        // ended (large shifts, low angles: the fillet stands there)
    bool thinTip;       // sa < 0.25 m
};

struct PairNumbers {
    double alpha;        // pressure angle, rad
    double invAlpha;     // inv alpha = tan(alpha) - alpha
    double alphaW;       // working pressure angle, rad
    double a;            // centre distance, mm
    double y;            // centre-distance modification coefficient (a - m (z1 + z2) / 2) / m
    double pb;           // base pitch pi m cos(alpha), mm
    double ga;           // length of the path of contact, mm
    double epsilonAlpha; // transverse contact ratio ga / pb
    bool lowContactRatio;  // epsilonAlpha < 1.1
    GearNumbers gear[2];
};

// Which input is wrong, for the caller to name in its own words (an option,
// a form field).
enum class PairField { none, z1, z2, module, alpha, x1, x2 };

struct PairCheck {
    PairField field = PairField::none;  // none: the input is usable
    std::string message;                // English, e.g. "z1 must be 4 to 400"; "" when usable
};

// Checks the ranges and, for usable ranges, that neither gear has pointed
// teeth (sa <= 0).
PairCheck checkPair(const PairInput& input);

// The numbers of a pair that checkPair accepts.
PairNumbers pairNumbers(const PairInput& input);

// inv(angle) = tan(angle) - angle, and its inverse to 1e-12 rad.
double involuteFunction(double angle);
double inverseInvolute(double inv);

// ---- Outlines -------------------------------------------------------------------
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

// Works out everything for a pair that checkPair accepts. Done once per
// parameter change; nothing here is needed per frame.
void buildPairGeometry(const PairInput& input, PairGeometry& pair);

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

// The pair's report for the console: UTF-8 lines, each begun by its newline,
// the last one ended by one too. One quantity a line as
// "<label> <symbol> = <value> <unit>" (symbols a, αw, d1 ... xmin2), then a
// warning line for each warning.
std::string formatPairReport(const PairNumbers& numbers);

// Both outlines as an SVG picture in millimetres: gear 1 centred at (0, 0),
// gear 2 at (a, 0) turned by phase2; SVG's y axis points down, so every
// point (x, y) is written as (x, -y) and the picture looks as on screen.
std::string formatPairSvg(const PairGeometry& pair);

// Reduces a closed outline to the fewest points that keep it within
// `tolerance` (mm) of the original (Douglas-Peucker); for drawing at a zoom
// where `tolerance` is a quarter pixel.
void simplifyOutline(const std::vector<Point2>& points, double tolerance, std::vector<Point2>& out);
