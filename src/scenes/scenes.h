// The scene blocks that display runs between its frame brackets. Each draws
// its titles first and leaves the model-view matrix as it found it. Scenes 7
// and 8 show activePair (app/pair_state.h) and exist only when
// pairScenesEnabled.
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

void drawFixedCircleScene();     // scene 1
void drawTurningCircleScene();   // scene 2
void drawRollingCircleScene();   // scene 3

// Scenes 4 to 6: the two centres and the driven angle of the crossed belt.
Point2 driveCentre();
Point2 drivenCentre();
double drivenAngle();
// Sets angleIncrement from directionKey and adds it to driveAngle.
void stepDriveAngle();

void drawBeltScene();            // scene 4
void drawMeshingScene();         // scenes 5 and 6

// ---- Scenes 7 and 8: the gear pair of activePair ------------------------------
// Both take their size from the pair so that it fills the window at viewScale
// 0.5, whatever m and z are, and zoom about the window centre:
//   scene 7: pairScale = 1.5 / (a + ra1 + ra2) window units per mm, times
//            viewScale / 0.5; the pair's middle, a point (a + ra2 - ra1) / 2
//            to the right of gear 1's centre, sits at the window centre.
//   scene 8: cuttingScale = 2 / (3 pi m) window units per mm (three pitches
//            across the window), times viewScale / 0.5, about the cutting zone
//            at the top of the blank.
// Outlines are simplified to a quarter pixel whenever the pair or viewScale
// has changed since the last frame, never otherwise.
void drawPairScene();            // scene 7
void drawCuttingScene();         // scene 8

// Forgets everything the two scenes keep from one frame to the next: the
// simplified outlines, the titles, the rack positions of scene 8. Run by
// setActivePair and by the keys '7' and '8'.
void resetPairScenes();

// Window units per mm of scene 7 at the current viewScale.
double pairSceneScale();
// The outline of gear i (0, 1) as scene 7 draws it, in mm in the gear's own
// frame, closed: the last point repeats the first. Valid after a frame of
// scene 7 at the current viewScale.
const std::vector<Point2>& pairSceneOutline(int gear);

// Scene 7's contact points of the moment: their distances (mm) along the line
// of action from gear 1's tangent point T1 at the current driveAngle, in
// increasing order, up to `capacity` of them; returns how many. Only points
// on the path of contact and between T1 and T2 count.
int pairContactDistances(double* distances, int capacity);
// Start and end of the path of contact on the same scale (mm from T1): where
// gear 2's and gear 1's tip circles cross the line of action.
double pathOfContactStart();
double pathOfContactEnd();
