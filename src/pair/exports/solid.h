// Closed solids for 3D printing: a plane section (one closed outline, or an
// outline with a hole) stood up through a height b, each layer of it turned
// about the section's centre for a twist or moved along x for a shear, as
// triangles that close the solid,
// and those triangles as a binary STL file. Draws nothing, reads no program
// state and knows nothing of gears: which outline a gear gives, its bore and
// its place on the plate are the exports' (pair/exports.h).
//
// Not here: repairing an outline that crosses itself (the outlines given
// are simple polygons), curved surfaces other than the twist, a twist and a
// shear together (no gear has both).
//
// Units: mm, angles in radians.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/plane.h"

// How a section's faces are cut into small pieces to triangulate (each piece
// is ear-clipped on its own, so a 400-tooth gear costs 400 small clippings,
// not one of its whole outline).
enum class SectionShape {
    // About `centre`: the outline (or the hole) whose radius varies is cut
    // along a straight line from each run of its points nearest the other
    // loop (a gear's root, a ring's root) to the nearest point of that other
    // loop, which must be a circle about the centre (a bore, a ring's rim),
    // or to the centre where there is no hole: one piece per tooth.
    round,
    // A bar whose lowest edge is straight and horizontal (a rack's flat
    // back) and whose top is a chain rising and falling along x (its teeth):
    // cut straight down from each lowest run of the chain to the back.
    bar,
};

struct SolidSection {
    SectionShape shape = SectionShape::round;
    std::vector<Point2> outline;  // closed (last point not a repeat), either direction, mm
    std::vector<Point2> hole;     // round only: empty, or a closed loop inside the outline
    Point2 centre{0.0, 0.0};      // the axis of the twist (and of a round section's pieces)
    // The top moved this far along x from the bottom, each layer between in
    // proportion to its height (a shear, as a helical rack's teeth slant
    // along its bar): linear in z, so one layer is exact and each side face
    // is a parallelogram. 0: none.
    double shearX = 0.0;
};

struct SolidVertex {
    float x, y, z;  // mm, as STL stores them
};

// A closed, consistently oriented triangle mesh: each triangle's corners run
// counter-clockwise seen from outside, every edge is shared by exactly two
// triangles (once in each direction), none has zero area.
struct Solid {
    std::vector<SolidVertex> vertices;
    std::vector<uint32_t> triangles;  // three indices into vertices per triangle
};

// The number of layers a twist needs: each layer turned by at most the angle
// whose chord, at the farthest point `radius` from the axis, strays
// `tolerance` from its arc (sagitta r (1 - cos(step / 2)) <= tolerance).
// At least 1; 1 for no twist.
int twistLayers(double twist, double radius, double tolerance);

// The section stood up from z = 0 to z = b, the layer at height z turned by
// twist z / b (counter-clockwise, seen from +z) about section.centre, in
// twistLayers(twist, farthest point, tolerance) layers (the layer at z also
// moved by section.shearX z / b along x): the side walls as
// two triangles per outline edge and layer, the bottom and top faces
// triangulated piece by piece. Every coordinate is first put on a grid of
// 0.00001 mm (the drawings' five decimals), so that one section gives the
// same solid, byte for byte, wherever the program runs. Replaces `solid`.
void buildSolid(const SolidSection& section, double b, double twist, double tolerance, Solid& solid);

// A circle about `centre` as a closed counter-clockwise polygon whose chords
// stray at most `tolerance` from it (at least 16 points): a bore or a rim.
void circlePolygon(Point2 centre, double radius, double tolerance, std::vector<Point2>& out);

// The solids as one binary STL: an 80-byte header (`header`, cut or padded
// with spaces; it must not begin with "solid"), the triangle count and each
// triangle's unit normal and corners as little-endian 32-bit floats, its
// attribute word 0. The normal is worked out from the stored corners.
std::string formatStl(const std::vector<Solid>& solids, const std::string& header);
