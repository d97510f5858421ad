// Points and the constants of plane geometry that the program's state, the
// gear geometry and the scenes share. Nothing else: no drawing, no state.
#pragma once

// A point or vector in the plane, x then y (mm in the gear geometry, model
// units in the scenes).
struct Point2 {
    double x;
    double y;
};

// The one value of pi of the geometry, the gear drawing and the scenes (the
// circle primitives keep their own, circlePi).
constexpr double pi = 3.14159265358979;
constexpr double degToRad = pi / 180.0;  // radians per degree of a user's angle
