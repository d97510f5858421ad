// Drawing primitives: every piece of geometry the scenes draw goes through
// these functions; also the colour type, the basic colours and the
// primitives' fixed sizes. No program state: scale factors come in as
// arguments.
//
// Units: "window units" run from -1 to +1 across the window (identity
// projection); model units become window units by a scale factor k, which
// the callers take from viewScale. Line widths in units become pixels at 400
// pixels per unit.
//
// GL state each primitive leaves behind (nothing else is touched):
//   primitive                     lighting   colour        line width  model-view
//   drawLine, drawScaledLine      enabled    given colour  unchanged   unchanged
//   drawWideLine                  enabled    given colour  2 px        unchanged
//   drawPolyline (lastIndex > 0)  enabled    given colour  2 px        unchanged
//   drawPolyline (lastIndex <= 0) no GL call at all
//   drawFilledPolygon             enabled    given colour  unchanged   unchanged
//   drawDisc, drawCircle,
//   drawMarkedCircle              enabled    given colour  unchanged   unchanged (push/pop)
//   enterGearFrame/leaveGearFrame unchanged  unchanged     unchanged   times the frame / its inverse
//   drawGear                      as drawPolyline                      unchanged (up to rounding)
//   drawArrow                     enabled    given colour  unchanged   unchanged (push/pop)
//   drawAxes                      enabled    black         2 px        unchanged (push/pop)
//   drawText                      unchanged  unchanged (attribute push/pop)
#pragma once

#include "base/plane.h"

struct Rgba {
    float r;
    float g;
    float b;
    float a;
};

// Fixed values of the primitives and the scenes that call them.
constexpr double pixelsPerUnit = 400.0;       // 800-pixel window over 2 units; fixed on resize
constexpr int circleSegments = 120;           // corners of every disc and circle
constexpr double arrowWidth = 0.02;           // window units: width of the arrow shaft
constexpr double arrowHeadLength = 0.1;       // window units: length of the arrow head
constexpr Rgba RED{1.0f, 0.0f, 0.0f, 0.0f};   // alpha 0: blending is never enabled
constexpr Rgba GREEN{0.0f, 1.0f, 0.0f, 0.0f};
constexpr Rgba BLUE{0.0f, 0.0f, 1.0f, 0.0f};

// ---- Mapping and lines ------------------------------------------------------
// Units to GL coordinates: the identity (400 pixels per unit either way).
double toScreen(double x);
// A segment in window units, drawn with the line width in force.
void drawLine(const Point2& from, const Point2& to, const Rgba& colour);
// A segment between two model points multiplied by k.
void drawScaledLine(double k, const Point2& from, const Point2& to, const Rgba& colour);
// A segment in window units, `width` units wide (not scaled by k).
void drawWideLine(const Point2& from, const Point2& to, double width, const Rgba& colour);
// The chain points[0] .. points[lastIndex], each multiplied by k, 1.6 px wide.
void drawPolyline(double k, const Point2* points, int lastIndex, const Rgba& colour);
// A filled convex polygon of `count` corners in window units.
void drawFilledPolygon(const Point2* corners, int count, const Rgba& colour);

// ---- Circles (120-gons) ------------------------------------------------------
// A filled disc; centre and radius in window units.
void drawDisc(const Point2& centre, double radius, const Rgba& colour);
// A circle outline; centre and radius in window units.
void drawCircle(const Point2& centre, double radius, const Rgba& colour);
// A circle with a centre dot (radius 0.05 model units) and its horizontal and
// vertical diameters; centre and radius in model units, scaled by k.
void drawMarkedCircle(double k, const Point2& centre, double radius, const Rgba& colour);

// ---- Gear frames and gears ----------------------------------------------------
// Moves the model-view matrix to k * (anchor + centre) and turns it by angle
// (radians, counter-clockwise).
void enterGearFrame(double k, const Point2& anchor, const Point2& centre, double angle);
// Undoes enterGearFrame with the same arguments.
void leaveGearFrame(double k, const Point2& anchor, const Point2& centre, double angle);
// n copies of profile[0 .. lastIndex], turned by 1, 2, ..., n pitches of
// 2 pi / n about the model point `centre`; n must be at least 1.
void drawGear(double k, int n, const Point2& centre, const Point2* profile, int lastIndex, const Rgba& colour);

// ---- Arrow, axes, text -----------------------------------------------------------
// A filled arrow with its tip at `tip` (window units), `length` long, pointing
// along the direction `angle` (radians from +x).
void drawArrow(const Point2& tip, double length, double angle, const Rgba& colour);
// A black cross of two lines from -10 to +10 through `centre`, turned by angle.
void drawAxes(const Point2& centre, double angle);
// One line of bitmap text at raster position (x, y). Sets no colour: the
// glyphs take the raster colour (near-black while lighting is enabled).
void drawText(float x, float y, void* font, const char* text);
