// The pieces scenes 7 to 9 share: point arithmetic, thinning, the unit
// circle, the kept cutter positions of scenes 8 and 9, and the reset of the
// scenes' caches.
#include <GL/gl.h>
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

double fromTop(const Point2& p) { return std::atan2(-p.x, p.y); }

int circleCrossings(const Point2& a, const Point2& b, double radius, double (&t)[2]) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double qa = dx * dx + dy * dy;
    const double qb = 2.0 * (a.x * dx + a.y * dy);
    const double qc = a.x * a.x + a.y * a.y - radius * radius;
    const double disc = qb * qb - 4.0 * qa * qc;
    if (qa <= 0.0 || disc <= 0.0) {
        return 0;
    }
    const double root = std::sqrt(disc);
    int count = 0;
    for (double u : {(-qb - root) / (2.0 * qa), (-qb + root) / (2.0 * qa)}) {
        if (u > 0.0 && u < 1.0) {
            t[count++] = u;
        }
    }
    return count;
}

void visit(KeptCutter& kept, double turn) {
    if (!kept.visited) {
        kept.lowest = turn;
        kept.highest = turn;
        kept.visited = true;
    }
    kept.lowest = std::min(kept.lowest, turn);
    kept.highest = std::max(kept.highest, turn);
}

void drawKept(double k, const Point2& blankCentre, const KeptCutter& kept, double turn, double rollStep, double beta) {
    const double reach = std::min(beta + kept.pieceReach, pi);
    const double lo = std::max({kept.lowest, turn - reach, turn - maxKeptEachSide * rollStep});
    const double hi = std::min({kept.highest, turn + reach, turn + maxKeptEachSide * rollStep});
    for (double j = std::ceil(lo / rollStep); j * rollStep <= hi; j += 1.0) {
        const double since = turn - j * rollStep;
        const int q = static_cast<int>(j - std::floor(j / keptPerPitch) * keptPerPitch);
        bool entered = false;
        for (int p = kept.pieceStart[q]; p < kept.pieceStart[q + 1]; ++p) {
            const KeptPiece& piece = kept.pieces[static_cast<size_t>(p)];
            if (beta < pi && (piece.to + since < -beta || piece.from + since > beta)) {
                continue;
            }
            if (!entered) {
                // Push and pop rather than the inverse turn: hundreds of
                // copies a frame would pile up the rounding.
                glPushMatrix();
                enterGearFrame(k, origin, blankCentre, since);
                entered = true;
            }
            drawPolyline(k, kept.points.data() + piece.first, piece.last - piece.first, KEPT_GREEN);
        }
        if (entered) {
            glPopMatrix();
        }
    }
}

}  // namespace pairscene

void resetPairScenes() {
    pairscene::resetMeshScene();
    pairscene::resetCuttingScene();
    pairscene::resetRingCuttingScene();
    resetPlanetaryScene();
    pairscene::resetSlidingScene();
    pairscene::resetBendingScene();
}
