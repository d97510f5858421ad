// Gear set-up: the demonstration gear's dimensions, the involute and
// tangent-point tables, and the console report with the key guide.
#pragma once

#include "base/plane.h"

// Computes the geometry, fills tangentTable and involuteTable (entries 0 to
// involuteLastIndex), prints the whole report and flushes it, and puts the
// animation back to its start: viewScale 0.5, directionKey 'd', both step
// counters 0. sceneKey is the caller's business.
void setupGear();

// The involute of the base circle (radius baseRadius) at roll angle t:
// `tangency` is where the taut string leaves the circle, `involute` its free
// end. Angles of points are measured from +y towards +x.
void involutePoint(double t, Point2& tangency, Point2& involute);
