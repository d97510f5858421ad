// Helical gear pairs in the normal system (ISO 21771): the transverse
// section that the pair's numbers, checks and outlines are worked out in, and
// the numbers only a helical pair has (base helix angle, face and total
// contact ratios, virtual teeth, the span in the normal plane, the ball
// size). Draws nothing, reads no program state.
//
// Not here: the axial view of the teeth (the outlines are the transverse
// section only), helical internal gears cut by a helical shaper cutter's own
// guide (the ring's cutter is taken as the transverse section of one),
// crossed-axis pairs.
//
// Units: lengths in mm, angles in radians unless the name says Deg.
//
// The normal system: the hob is the basic rack in the normal plane (module
// mn = PairInput::m, pressure angle alpha_n, heights in mn, shift xn mn). In
// the transverse section it is a rack of
//   mt = mn / cos(beta), tan(alpha_t) = tan(alpha_n) / cos(beta),
// whose heights stay those of the normal rack, (1, 1.25, 0.38 and 0.25) mn,
// that is (cos(beta), 1.25 cos(beta), ...) mt, and whose shift xn mn is
// xn cos(beta) mt. A spur pair of module mt, pressure angle alpha_t, shifts
// xn cos(beta) and heights cos(beta) m is therefore the helical pair's
// transverse section: inv(alpha_wt) = 2 tan(alpha_n) (xn1 + xn2) / (z1 + z2)
// + inv(alpha_t) and every other spur relation follow with these numbers.
// The rack's tip round, a cylinder of 0.38 mn along the tooth, is an ellipse
// in the transverse section (pair/cutting.h's RackProfile): the flank ends
// at the same height in every section.
#pragma once

#include <string>

#include "pair/inputs/gear_pair.h"

// Whether the pair has helical teeth.
inline bool isHelical(const PairInput& input) { return input.betaDeg != 0.0; }

// The transverse section of the pair of the user's input (normal system):
// the spur pair of m = mt, alphaDeg = alpha_t, x = xn cos(beta),
// heightFactor = cos(beta), the backlash and a given ball as the transverse
// section sees them (jn and dp over cos(beta_b)), the face width as given
// (or 10 mn), betaDeg 0; a spur pair (beta = 0) as it is.
// Made where a pair enters the model, once per pair, and nowhere else:
// - pair/mesh_kinds.cpp, for a pair of two gears of every kind (its numbers,
//   its checks, each trial of a cure): the kinds take the section from there,
//   and PairNumbers::section keeps it for the outlines, the scenes, the
//   drawings and the solids;
// - pair/planetary.cpp, for a set's own relations (the sun-planet distance
//   and the planet's tip, from the set's input, before either pair is made);
// - pair/line_of_action.cpp, for the centre distance the shifts give and the
//   shifts a centre distance asks for, asked before any pair is made.
TransverseSection transverseSection(const PairInput& input);
// cos(beta_b): a ball of diameter dp touches a helical gear's flanks where a
// pin of dp / cos(beta_b) would in its transverse section; 1 for spur gears.
double ballPinRatio(const PairInput& input);

// Turns the numbers of the transverse section (transverseSection(input))
// into the helical pair's: x, y and xmin back in multiples of mn, jn the
// normal backlash, the span W over k teeth in the normal plane (k from the
// virtual teeth zn), the ball size with the real ball, and PairNumbers::helix.
// Does nothing to a spur pair's numbers.
void helicalNumbers(const PairInput& input, PairNumbers& numbers);

// What a drawing of a helical pair says of it: its helix angle and hands,
// that m, alpha and x are normal and that the outlines are the transverse
// section, `section` its section (mt and alpha_t); "" for spur gears.
std::string helicalDrawingNote(const PairInput& input, const TransverseSection& section);

// The plane of action: the rectangle of the effective path of contact
// (gaEff, along the transverse line of action, u from its start A) by the
// face width b (w across the face). The contact lines cross it at beta_b to
// the w direction, one every pbt along u: u = u0 + w tan(beta_b) for a
// right-hand gear 1, w from the back face up to the face scene 7 shows;
// a left-hand gear 1's lean the other way, u = u0 + (b - w) tan(beta_b). As
// gear 1 turns by theta they move on by rb1 theta. A spur pair's lines run
// straight across (beta_b = 0).
constexpr int maxContactLines = 64;  // b <= 100 m and beta <= 45 deg give fewer than 30
struct ContactLine {
    double u0, w0, u1, w1;  // ends, mm
};
struct ActionPlane {
    double length;  // gaEff, mm
    double width;   // b, mm
    double betaB;   // rad
    int count;      // lines in the rectangle
    ContactLine lines[maxContactLines];
    double total;   // their total length, mm
};
// The lines with gear 1 turned by theta (rad) from the start of scene 7's
// mesh (a line at u = 0 on the back face when theta = 0: w = 0 for a right
// hand, w = b for a left).
ActionPlane actionPlane(const PairInput& input, const PairNumbers& numbers, double theta);

// The least face width b that lets the jaws of a span micrometer lie on the
// flanks of a helical gear: the jaws touch the two flanks W sin(beta_b)
// apart across the face, plus an allowance that keeps each contact off the
// face's edges: the gear makers' 5 mm, but no more than the spread
// W sin(beta_b) itself, so that as beta goes to 0 (both contacts in one
// transverse section, the spur gear's measurement) the rule goes with it
// (a fixed 5 mm made every gear of b < 5 mm unmeasurable at any beta > 0).
constexpr double spanJawMargin = 5.0;  // mm
double spanJawAllowance(double W, double betaB);
