// Shared state of the whole program: every constant and variable that more
// than one function uses, in one place, with its unit. All of it lives for the
// whole run; nothing is allocated.
#pragma once

#include "pair/plane.h"  // Point2, pi

struct Rgba {
    float r;
    float g;
    float b;
    float a;
};

// ---- Constants ------------------------------------------------------------
// Fixed values, not derived at run time. Where two stand for the same quantity
// (two values of pi, a factor and its reciprocal) each user takes its own;
// pi itself, of the geometry, the gear drawing and the scenes, is in pair/plane.h.
constexpr double radToDeg = 57.2957795;        // degrees per radian (glRotated in scenes and gear frames)
constexpr double stepAngle = 0.01;             // radians: roll angle of one table entry and one animation step
constexpr double circlePi = 3.1415926536;      // circle primitives only
constexpr int circleSegments = 120;            // corners of every disc and circle
constexpr double radPerDeg = 0.01745329252;    // radians per degree (drawArrow, drawAxes)
constexpr double arrowWidth = 0.02;            // window units: width of the arrow shaft
constexpr double arrowHeadLength = 0.1;        // window units: length of the arrow head
constexpr Rgba RED{1.0f, 0.0f, 0.0f, 0.0f};    // alpha 0: blending is never enabled
constexpr Rgba GREEN{0.0f, 1.0f, 0.0f, 0.0f};
constexpr Rgba BLUE{0.0f, 0.0f, 1.0f, 0.0f};
constexpr Point2 origin{0.0, 0.0};             // model units; also the x, y of the rotation axis (0, 0, 1)

constexpr int tableCapacity = 401;             // entries 0 .. 400 of both point tables

// ---- Animation state ------------------------------------------------------
extern char sceneKey;            // '1' .. '9', 'v' (scene 11): the scene shown (7 to 11 only with a pair)
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
