// Shared state of the whole program: every variable that more than one
// function uses, in one place, with its unit, and the constants that size and
// step its tables. All of it lives for the whole run; nothing is allocated.
#pragma once

#include "base/plane.h"  // Point2, origin and the angle constants

// ---- Constants ------------------------------------------------------------
// The demonstration gear's table size and step. The plane's constants (both
// values of pi, the degree factors, origin) are in base/plane.h, the colours
// and the primitives' sizes in draw/primitives.h.
constexpr double stepAngle = 0.01;             // radians: roll angle of one table entry and one animation step
constexpr int tableCapacity = 401;             // entries 0 .. 400 of both point tables

// ---- Animation state ------------------------------------------------------
extern char sceneKey;            // '1' .. '9', 'h', 'v', 'p', 'b' (scenes 10 to 13): the scene shown (7 to 13 only with a pair)
extern char directionKey;        // 'd' forward, 'D' backward
extern double viewScale;         // window units per model unit (0.5: 1 model unit = 200 px)
extern int stepScene1;           // table index of scene 1, 0 .. involuteLastIndex
extern int stepScene23;          // table index shared by scenes 2 and 3, 0 .. involuteLastIndex
extern double driveAngle;        // radians, counter-clockwise turn of the (drive) base circle
extern double angleIncrement;    // radians per frame in scenes 4 to 9

// ---- Gear geometry (written only by setupGear) -----------------------------
extern double baseRadius;        // model units (mm at module 1)
extern int toothCount;           // teeth per meshing gear
extern int involuteLastIndex;    // last filled index of both tables
extern int flankLastIndex;       // last table index of one drawn tooth flank
extern Point2 tangentTable[tableCapacity];   // model units: where the string leaves the base circle
extern Point2 involuteTable[tableCapacity];  // model units: the free end of the string
