// The plane's point type and the fixed angle constants that every part of the
// program shares: the gear-pair model, the gear set-up, the drawing
// primitives, the scenes, the program's state and the web layer. This is the
// bottom of the include graph: it includes nothing and holds no state, no
// drawing and no gear quantities.
#pragma once

// A point or vector in the plane, x then y (mm in the gear geometry, model
// units in the scenes).
struct Point2 {
    double x;
    double y;
};

// Model units; also the x, y of the rotation axis (0, 0, 1).
constexpr Point2 origin{0.0, 0.0};

// ---- Angles -------------------------------------------------------------------
// Two values of pi, on purpose. `pi` is the one of the geometry, the gear
// drawing and the scenes; the circle primitives keep their own, shorter
// `circlePi`, with which their 120-gons have always been drawn: the frames
// in tests/reference/ are compared pixel for pixel, so neither may be
// replaced by the other. Likewise the degree factors are written out as
// typed rather than derived from either pi, and each user takes its own.
constexpr double pi = 3.14159265358979;
constexpr double degToRad = pi / 180.0;      // radians per degree of a user's angle
constexpr double radToDeg = 57.2957795;      // degrees per radian (glRotated in scenes and gear frames)
constexpr double radPerDeg = 0.01745329252;  // radians per degree (drawArrow, drawAxes)
constexpr double circlePi = 3.1415926536;    // circle primitives only
