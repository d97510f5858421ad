// The mesh of a gear pair of any kind at a moment: gear 1 turned by an
// angle from the pair's placement in mesh (pair/outline.h), gear 2 turned
// with it (a rack moved along), which pairs of teeth touch and where on the
// line of action, the nominal and the effective path of contact and its
// zones of single and double (or more) contact, and the speeds of the two
// flanks at a point of contact. Every kind through the table of kinds
// (pair/pair_kind.h). Draws nothing and reads no program state: the scenes
// and the page draw and print from these numbers.
//
// Not here: where a picture puts the pair (the scenes' layouts), the
// outlines themselves (pair/outline.h), the sliding and stresses as numbers
// of the path alone (pair/line_of_action.h, whose ContactPath this builds on).
//
// Units: lengths in mm, angles in radians, speeds in mm per radian of gear
// 1's turn (multiply by omega1 in rad/s for mm/s). Positions s on the line of
// action are measured from T1, as in pair/line_of_action.h.
#pragma once

#include "pair/inputs/gear_pair.h"
#include "pair/mesh/line_of_action.h"

// More contact points than any accepted pair has at once (epsilonAlpha < 3
// for every pair in range).
constexpr int maxMeshContacts = 8;
// Zones of a constant number of tooth pairs along the path: one more than
// twice the most pairs in contact.
constexpr int maxMeshZones = 2 * maxMeshContacts + 1;

// What stays the same while the pair turns.
struct PairMesh {
    ContactPath path;     // the effective path A..E (where both flanks are the involutes the cutters left), B, D,
                          // the pitch point C, T2 (line_of_action.h); the contact points lie on A..E
    double start;         // the nominal path's start: where gear 2's tip circle (a rack's tip line) crosses the
                          // line of action
    double end;           // its end, gear 1's tip circle; end - start = ga
    double firstContact;  // s of the drive flank of gear 1's tooth 0 at turn 0, on the line of action extended
    double gear2Ratio;    // gear 2's turn per turn of gear 1: -z1 / z2 external (back), +z1 / z2 a ring (with
                          // it), 0 a rack (it slides instead)
    double r1;            // a rack's travel per radian of gear 1's turn: its reference radius (the pitch line
                          // rolls on the reference circle)
    int z1;
};

PairMesh pairMesh(const PairInput& input, const PairNumbers& numbers);

// One pair of teeth in contact.
struct MeshContact {
    double s;   // on the line of action, mm from T1
    int tooth;  // gear 1's tooth whose drive flank touches there, 0 .. z1 - 1 counter-clockwise from tooth 0
};

// The contacts of a moment, in increasing s: the drive flanks of gear 1,
// one base pitch apart, that lie on the effective path A..E (ends included).
struct MeshMoment {
    int count;
    MeshContact contact[maxMeshContacts];
};

// Gear 1 turned counter-clockwise by `turn` from the placement in mesh:
// every flank moves rb1 turn along the line of action.
MeshMoment meshAt(const PairMesh& mesh, double turn);
// Which of the moment's contacts lies nearest the pitch point C (the one
// scene 11 and the page follow); -1 when there is none.
int contactNearestPitchPoint(const PairMesh& mesh, const MeshMoment& moment);

// Gear 2's turn about its own centre from its placement (add phase2) when
// gear 1 has turned by `turn`; 0 for a rack.
double gear2TurnAt(const PairMesh& mesh, double turn);
// A rack's travel along its datum line, mm, in the way gear 1's pitch point
// moves at the contact; 0 for gears.
double rackTravelAt(const PairMesh& mesh, double turn);

// A stretch of the effective path with `pairs` tooth pairs in contact
// whenever one of them touches in it: the double contact zones A..B and D..E
// and the single one B..D for 1 <= epsilonAlphaEff < 2.
struct MeshZone {
    double from;  // s from T1
    double to;
    int pairs;
};
// The zones from A to E in order, none of zero length; returns how many
// (0 without an effective path).
int meshZones(const ContactPath& path, MeshZone* zones, int capacity);

// The two flanks' speeds at the contact point s, per radian of gear 1's
// turn (kinematics of a point on a turning body, v = omega x r). Both flanks
// move along the line of action at rb1 (they stay in contact); across it,
// along the common tangent of the flanks, gear 1's point moves at rho1 and
// gear 2's at rho2 / u (a rack's: its pitch line's speed r1 times
// sin(alpha_w), that is C), both counted positive the same way (gear 1's
// turn carries its point at +rho1). The sliding speed is the difference,
// zero at C; zeta1 = sliding / v1, zeta2 = -sliding / v2
// (line_of_action.h's specificSliding).
struct FlankSpeeds {
    double common;   // along the line of action, rb1 (= rb2 omega2 / omega1)
    double v1;       // gear 1's flank point across the line, rho1
    double v2;       // gear 2's, rho2 / u, or C for a rack
    double sliding;  // v1 - v2: gear 1's flank against gear 2's
};
FlankSpeeds flankSpeeds(const ContactPath& path, double s);
