// The scene blocks that display runs between its frame brackets. Each draws
// its titles first and leaves the model-view matrix as it found it. Scenes 7
// to 13 show activePair (app/pair_state.h) and exist only when
// pairScenesEnabled; scene 9 only for an internal pair, scene 12 only for a
// planetary set. Which key chooses which scene, what each needs and which
// scale the page reads: scenes/scene_table.h.
#pragma once

#include <vector>

#include "app/state.h"
#include "draw/primitives.h"

constexpr float titleX = -0.9f;        // window units, before any transform
constexpr float firstTitleY = 0.85f;
constexpr float secondTitleY = 0.8f;
constexpr double dotRadius = 0.01;     // window units: every moving dot

// Draws one title line at (titleX, y) in the titles' bitmap font.
void drawTitle(float y, const char* text);

// Scenes 1 to 3 step their counter c: one up for 'd', one down for 'D',
// then clamped to 0 .. involuteLastIndex. Returns the new c.
int stepCounter(int& counter);

// Every scene's draw function below draws the scene as it stands; display
// (display.h) advances it by one step first.

void drawFixedCircleScene();     // scene 1
void drawTurningCircleScene();   // scene 2
void drawRollingCircleScene();   // scene 3

// Scenes 4 to 6: the two centres and the driven angle of the crossed belt.
Point2 driveCentre();
Point2 drivenCentre();
double drivenAngle();
// Sets angleIncrement from directionKey and adds it to driveAngle: the step
// of every scene from 4 to 9.
void stepDriveAngle();

void drawBeltScene();            // scene 4
void drawMeshingScene();         // scenes 5 and 6

// ---- Scenes 7 to 9: the gear pair of activePair --------------------------------
// They take their size from the pair so that it fills the window at viewScale
// 0.5, whatever m and z are:
//   scene 7: pairScale window units per mm, times viewScale / 0.5: at
//            viewScale 0.5 the pair spans 1.5 window units, centred:
//              external: 1.5 / (a + ra1 + ra2), from gear 1's tip to gear 2's;
//              internal: 1.5 / (the ring's outer diameter), the ring centred;
//              rack: 1.5 / (the height from the pinion's tip to the rack's
//              back edge), the pinion above the rack, C on the vertical
//              through the window's centre.
//            w and W zoom about the pitch point C, which stays where it is,
//            so the mesh stays in view.
//   scene 8: cuttingScale = 2 / (3 pi m) window units per mm (three pitches
//            across the window), times viewScale / 0.5, about the window
//            centre, where the rack's datum line crosses the blank's top.
//   scene 9: the same scale for the pinion-type cutter cutting the ring, about
//            the window centre, where the cutter's reference circle touches
//            the ring's cutting pitch circle.
// All turn by the rule of scenes 4 to 6: driveAngle grows (d) or shrinks (D)
// by 0.01 rad a frame and is gear 1's counter-clockwise turn; an external
// gear 2 turns back by driveAngle z1 / z2, a ring forward by as much, a rack
// slides by r1 driveAngle to the right. Outlines, the rack and the circles are thinned
// to a quarter pixel whenever the pair or viewScale has changed since the
// last frame, never otherwise; a frame allocates nothing.
void drawPairScene();            // scene 7
void drawCuttingScene();         // scene 8
void drawRingCuttingScene();     // scene 9
// Scenes 8 and 9's scales, window units per mm at the current viewScale.
double cuttingSceneScale();
double ringCuttingSceneScale();
// Scene 12 (key 'p'): activeSet, a planetary set, turning with its
// carrier (scenes/planetary_scene.cpp); its point lists thinned to a quarter
// pixel whenever the set or viewScale has changed, never otherwise.
void drawPlanetaryScene();
void resetPlanetaryScene();
// Its scale: window units per mm at the current viewScale, the ring's rim
// 1.5 window units across at viewScale 0.5; 0 without a set.
double planetarySceneScale();
// Scene 11 (key 'v'): the flanks' velocities at the contact
// points and the specific sliding zeta1, zeta2 along the path of contact,
// at 1 / (length of the path of contact) window units per mm times
// viewScale / 0.5, the path's middle fixed in the window's left half.
void drawSlidingScene();
// Its scale, window units per mm at the current viewScale.
double slidingSceneScale();
// Scene 13 (key 'b'): a tooth of each gear as a beam, bent at
// its root by the load of the moment, and the root stress along the path of
// contact (scenes/bending_scene.cpp); every kind of pair.
void drawBendingScene();
// The scale of gear `gear`'s tooth (0 or 1), window units per mm at the
// current viewScale: each tooth fits its own box; 0 for a gear without one
// (a rack).
double bendingSceneScale(int gear);
// Where the tooth pair that scene 13 follows touches when gear 1 has turned
// by `turn` (rad): s from T1 (pair/line_of_action.h), beyond E while that
// pair is out of contact; -1 without an effective path.
double bendingContactAt(double turn);
// Scene 10 (key 'h'): the plane of action, its contact lines and their total
// length (action_plane_scene.cpp); every kind of pair.
void drawActionPlaneScene();
// Its scale: window units per mm at the current viewScale, the rectangle
// gaEff by b fitted into 1.5 by 1.1 window units at viewScale 0.5; 0 without
// an effective path.
double actionPlaneSceneScale();

// Forgets everything the three scenes keep from one frame to the next: the
// thinned outlines, the titles, the rack and cutter positions of scenes 8
// and 9. Run by setActivePair and by the keys '7' to '9' and 'v'.
void resetPairScenes();

// Scene 7's mapping: window units per mm at the current viewScale, and where
// a point given in mm from the pitch point C lands in the window.
double pairSceneScale();
Point2 pairSceneToWindow(const Point2& p);
// Centre of gear i (0: drive, 1: driven), mm from C; C lies on the line of
// centres, gear 1 to its left (for a ring, both centres to its left; for a
// rack, the pinion's above it, and for the rack the point of its datum line
// below C at driveAngle 0).
Point2 pairSceneCentre(int gear);
// Where gear i's own frame (that of activePair.outline[i]) stands at the
// current driveAngle: its point p at origin + p turned by `turn`, mm from C.
// The rack's frame has x along its datum line, y up, a space at x = 0.
struct ScenePlacement {
    Point2 origin;
    double turn;  // rad, counter-clockwise
};
ScenePlacement pairScenePlacement(int gear);
// The outline of gear i as scene 7 draws it, in mm in the gear's own frame,
// closed: the last point repeats the first (the rack: its pitches around
// x = 0, open). Valid after a frame of scene 7 at the current viewScale.
const std::vector<Point2>& pairSceneOutline(int gear);

// The point of the line of action `distance` mm from T1, in mm from C (the
// contact points of the moment, their distances from T1: meshAt(activeMesh,
// driveAngle), pair/mesh.h).
Point2 pairContactPoint(double distance);
