// The involute's own relations, shared by every layer of the pair's model.
// Angles in radians, lengths in mm. Not here: anything of a gear or a pair.
#pragma once

// inv(angle) = tan(angle) - angle, and its inverse to 1e-12 rad.
double involuteFunction(double angle);
double inverseInvolute(double inv);

// The length along an involute's generating line from the base circle's
// tangent point to radius r: sqrt(r^2 - rb^2), 0 inside the base circle.
double alongLine(double r, double rb);
