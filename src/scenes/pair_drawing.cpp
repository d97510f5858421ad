// The pieces scenes 7 and 8 share: point arithmetic, thinning, the unit
// circle, and the reset of both scenes' caches.
#include <algorithm>
#include <cmath>

#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

namespace pairscene {

Point2 plus(const Point2& p, const Point2& q) { return Point2{p.x + q.x, p.y + q.y}; }
Point2 times(double k, const Point2& p) { return Point2{k * p.x, k * p.y}; }

double quarterPixelAt(double k) { return quarterPixel / (pixelsPerUnit * k); }

// Douglas-Peucker on the open polyline points[first .. last]: marks in `keep`
// the points needed to stay within `tolerance` of it.
void thin(const std::vector<Point2>& points, size_t first, size_t last, double tolerance, std::vector<char>& keep) {
    keep[first] = 1;
    keep[last] = 1;
    if (last <= first + 1) {
        return;
    }
    const Point2& a = points[first];
    const Point2& b = points[last];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    size_t far = first;
    double farthest = -1.0;
    for (size_t i = first + 1; i < last; ++i) {
        const double ex = points[i].x - a.x;
        const double ey = points[i].y - a.y;
        const double d = length > 0.0 ? std::fabs(ex * dy - ey * dx) / length : std::hypot(ex, ey);
        if (d > farthest) {
            farthest = d;
            far = i;
        }
    }
    if (farthest > tolerance) {
        thin(points, first, far, tolerance, keep);
        thin(points, far, last, tolerance, keep);
    }
}

// The unit circle as a closed polyline whose chords stay within a quarter
// pixel of a circle `radiusPx` pixels across: sagitta R (1 - cos(t / 2)),
// about R t^2 / 8.
void unitCircle(double radiusPx, std::vector<Point2>& points) {
    const double chordAngle = std::sqrt(8.0 * quarterPixel / std::max(radiusPx, 1.0));
    const int n = static_cast<int>(std::clamp(std::ceil(2.0 * pi / chordAngle), 24.0, double{maxCirclePoints}));
    points.clear();
    for (int i = 0; i < n; ++i) {
        points.push_back(Point2{std::cos(2.0 * pi * i / n), std::sin(2.0 * pi * i / n)});
    }
    points.push_back(points.front());
}

void drawPoints(double k, const std::vector<Point2>& points, const Rgba& colour) {
    drawPolyline(k, points.data(), static_cast<int>(points.size()) - 1, colour);
}

}  // namespace pairscene

void resetPairScenes() {
    pairscene::resetMeshScene();
    pairscene::resetCuttingScene();
}
