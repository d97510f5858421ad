// What scenes 7 and 8 draw alike: the zoom they start from, the drawing
// tolerance, their colours, the thinning of point lists to a quarter pixel
// and the unit circle their circles are scaled from. Private to the pair
// scenes (scenes.h is their interface).
#pragma once

#include <vector>

#include "app/state.h"

namespace pairscene {

constexpr double startViewScale = 0.5;   // the zoom at which the scales below hold
constexpr double quarterPixel = 0.25;    // px: the drawing tolerance of every curve
constexpr int maxCirclePoints = 8192;    // corners of the unit circle at the highest zoom

constexpr Rgba LIGHT_RED{1.0f, 0.6f, 0.6f, 0.0f};
constexpr Rgba LIGHT_BLUE{0.6f, 0.6f, 1.0f, 0.0f};
constexpr Rgba PALE_RED{1.0f, 0.8f, 0.8f, 0.0f};
constexpr Rgba PALE_BLUE{0.8f, 0.8f, 1.0f, 0.0f};
constexpr Rgba GREY{0.55f, 0.55f, 0.55f, 0.0f};
constexpr Rgba BLACK{0.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba DARK_GREEN{0.0f, 0.45f, 0.0f, 0.0f};
constexpr Rgba KEPT_GREEN{0.45f, 0.85f, 0.45f, 0.0f};

Point2 plus(const Point2& p, const Point2& q);
Point2 times(double k, const Point2& p);

// Tolerance in mm of a quarter pixel at k window units per mm.
double quarterPixelAt(double k);

// Douglas-Peucker on the open polyline points[first .. last]: marks in `keep`
// the points needed to stay within `tolerance` of it.
void thin(const std::vector<Point2>& points, size_t first, size_t last, double tolerance, std::vector<char>& keep);

// The unit circle as a closed polyline whose chords stay within a quarter
// pixel of a circle `radiusPx` pixels across.
void unitCircle(double radiusPx, std::vector<Point2>& points);

// A closed polyline (last point repeats the first) at scale k.
void drawPoints(double k, const std::vector<Point2>& points, const Rgba& colour);

// Forget what each scene keeps from frame to frame (resetPairScenes runs both).
void resetMeshScene();
void resetCuttingScene();

}  // namespace pairscene
