// A planetary gear set: a sun, N equal planets spaced equally about it on a
// carrier, and a ring round them. Two meshes make it, at one centre distance
// a, the sun–planet pair's: the sun–planet pair (an external pair, gear 1 the
// sun, gear 2 the planet) and the planet–ring pair (an internal pair, gear 1
// the planet, gear 2 the ring), whose ring shift is solved for that a with
// the planet's shift kept. Here: the set's two pairs, its ratio by Willis, its
// checks with their cures, its report, and its drawings' sheet (the sun, the
// planets turned so that they mesh, the ring with its rim). Draws nothing on
// screen and reads no program state.
//
// Not here: the meshes' own numbers, checks, outlines and report lines (the
// kinds', pair/kinds.h), the carrier's shape, the planets' bearings, planets
// spaced unequally, and load sharing between planets beyond equal shares
// (each planet takes T / N of the sun's torque T).
//
// Units: lengths in mm, angles in radians.
#pragma once

#include <string>

#include "pair/exports/exports.h"
#include "pair/inputs/gear_pair.h"
#include "pair/kinds/kinds.h"
#include "pair/outline/outline.h"

// The set's two pairs and the numbers of the whole.
struct PlanetarySet {
    PairInput sunPlanet;   // external: gear 1 the sun (z1, x1), gear 2 the planet (z2, x2); T / N on the sun
    PairInput planetRing;  // internal: gear 1 the planet (z2, x2), gear 2 the ring (z3, its shift x2 solved);
                           // T / N zP / zS on the planet
    double a;              // centre distance of both meshes, the sun–planet pair's, mm (NaN: no working angle)
    bool ringMeshes;       // a gives the planet–ring pair a working pressure angle: planetRing.x2 is solved
    double ratio;          // i = omega_in / omega_out (willisRatio)
    double planetPitch;    // l = 2 a sin(pi / N), between neighbouring planets' centres, mm
    double daP;            // the planet's tip diameter, as the sun–planet pair shortens it, mm
};

// The set of `input` (kind planetary, every input in range). The ring's
// shift for a (shiftTotalForCentreDistance, as shiftForCentreDistance with
// x1 = xP kept):
//   cos(alpha_w') = m (zR - zP) / 2 cos(alpha) / a,
//   xR = xP + (zR - zP) (inv(alpha_w') - inv(alpha)) / (2 tan(alpha)).
// A helical set (betaDeg > 0; m, alpha and the shifts normal, the hand the
// sun's) is worked out in its transverse section (pair/helical.h): both
// meshes share the transverse a, and the ring's normal shift is, by
// ISO 21771 (Niemann, Maschinenelemente II),
//   cos(alpha_wt') = mt (zR - zP) / 2 cos(alpha_t) / a,
//   xR = xP + (zR - zP) (inv(alpha_wt') - inv(alpha_t)) / (2 tan(alpha_n)).
// The planets have the other hand, the ring the planets'. The planets'
// spacing rule (zS + zR) / N whole holds in the transverse section as it
// does for spur teeth: every transverse section is the same set turned.
PlanetarySet planetarySet(const PairInput& input);

// The ratio by Willis (Müller, Die Umlaufgetriebe; Looman, Zahnradgetriebe):
// with the carrier held the sun drives the ring at i0 = -zR / zS, so
//   ring fixed:    i = 1 + zR / zS  (sun in, carrier out, the same way round)
//   carrier fixed: i = -zR / zS     (sun in, ring out, the other way round)
//   sun fixed:     i = 1 + zS / zR  (ring in, carrier out, the same way round)
double willisRatio(int zS, int zR, FixedMember fixed);

// How far each member has turned when the input has turned by `drive`
// (rad, counter-clockwise), the fixed member standing: by Willis,
// zS phiS + zR phiR = (zS + zR) phiC; a planet turns with the carrier and,
// against it, by -(phiS - phiC) zS / zP about its own centre.
struct SetTurns {
    double sun;
    double ring;
    double carrier;
    double planet;
};
SetTurns setTurns(const PairInput& input, double drive);

// How the members are named with `fixed` held: the member held, the one
// that drives and the one driven.
struct FixedMemberWords {
    FixedMember fixed;
    const char* name;         // --fixed's word, read as the table of inputs' fixed (pair/inputs.h): "ring"
    const char* japanese;     // the report's: the member held, "内歯車"
    const char* driving;      //   the one driving, "太陽歯車"
    const char* driven;       //   the one driven, "キャリア"
    const char* drivingName;  // the same in English: "sun"
    const char* drivenName;   //   "carrier"
};
const FixedMemberWords& fixedMemberWords(FixedMember fixed);

// The least gap between neighbouring planets' tip circles, in multiples of
// m: l - daP >= 0.5 m. The neighbour (adjacency) condition itself is daP <
// l = 2 a sin(pi / N) (as in C. Glinsky's planetary-gear geometry notes,
// Drivetrain Hub, where N at most floor(pi / asin(daP / 2a)) planets fit);
// it has no margin, so tips 2e-5 mm apart would pass. The margin is this
// program's choice: twice the basic rack's bottom clearance c = 0.25 m (ISO
// 53), the least gap a tip keeps anywhere else in the set, so that the
// planets' tips, their run-out and the oil between them never touch.
constexpr double planetTipGapModules = 0.5;

// The rules of a set whose inputs are in range, in this order, each refused
// with a cure that passes every rule: z3 and N in range; the sun–planet pair
// passes every rule of an external pair (the cure: xS, else xP, else alpha);
// the ring meshes at a, its solved shift in range and the planet–ring pair
// passing every rule of an internal pair (the same cures; the problem names
// the internal pair's complaint and the distances that pair reaches with any
// split); the planet turns in the ring (its tip keeps inside the ring's
// root circle, no trochoid interference: the same cures);
// (zS + zR) / N whole, so that every planet's teeth fall into the
// sun's spaces and the ring's (the cure: the planet counts that pass); and
// neighbouring planets' tip circles clear, l - daP >= planetTipGapModules m
// (the cure: the planet counts that pass, the largest named).
PairCheck checkPlanetarySet(const PairInput& input);
bool planetarySetPasses(const PairInput& input, RingCutterMemo& memo);
// The planet counts from minPlanets to maxPlanets with which the set passes
// every rule, the other values as they are, as "2, 3 or 6"; "" when none.
std::string workingPlanetCounts(const PairInput& input, int& largest);

// What the kinds' table hands over: the sun–planet pair's numbers and
// outlines (what scenes 7 and 8 show of a set), the whole report (the set's
// numbers, then each mesh's whole report with its warnings), the sheet.
PairNumbers planetaryNumbers(const PairInput& input);
void buildPlanetaryGeometry(const PairInput& input, PairGeometry& pair);
PairReport planetaryReport(const PairInput& input, const PairNumbers& numbers);

// ---- The drawn set (planetary_sheet.cpp) ---------------------------------------
// The sun centred at (0, 0) unturned (tooth 0 on +x), planet k centred at
// a (cos(theta_k), sin(theta_k)), theta_k = 2 pi k / N, the ring centred at
// (0, 0). Planet 0 is turned as the sun–planet pair places gear 2
// (phase2); turning the whole of that mesh by theta_k and the sun back by
// -theta_k (the planet rolling on it) gives planet k's turn
//   psi_k = phase2 + theta_k (1 + zS / zP).
// The ring meshes with planet 0 as the planet–ring pair places it, that pair
// turned by pi about the planet (the ring's centre on the planet's -x side):
//   rho = pi + phase2' + (psi_0 - pi) zP / zR.
// Planet k meets the ring so too when psi_k and planet 0's turn carried round
// by the ring, psi_0 + theta_k (1 - zR / zP), differ by whole teeth:
// theta_k (zS + zR) / (2 pi / zP) = k (zS + zR) / N, whole for every k exactly
// when (zS + zR) / N is.
struct PlanetaryDrawing {
    PlanetarySet set;
    PairGeometry sunPlanet;   // outline[0] the sun, outline[1] the planet, phase2
    PairGeometry planetRing;  // outline[1] the ring, rim its rim, phase2
    double planetTurn[maxPlanets];  // psi_k
    double ringTurn;                // rho
};
void buildPlanetaryDrawing(const PairInput& input, PlanetaryDrawing& drawing);

// Mesh: as above. Apart: the sun at (0, 0), the planets to its right in a
// row, then the ring, 2 m between outer circles, none turned. Layers SUN
// (id "sun"), PLANET (ids "planet1" ... "planetN"), RING (id "ring": its
// teeth and its rim) and CENTRES (ids "centre-sun", "centre-planet1" ...,
// and apart "centre-ring").
void layOutPlanetary(const PlanetaryDrawing& drawing, SheetLayout layout, Sheet& sheet);
void layOutPlanetarySheet(const PairInput& input, SheetLayout layout, Sheet& sheet);
