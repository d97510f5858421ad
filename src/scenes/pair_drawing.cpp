// The pieces the pair scenes share: point arithmetic, thinning, the unit
// circle, the kept cutter positions of scenes 8 and 9, the plot along the
// path of contact of scenes 11 and 13, and the reset of the scenes' caches.
// Not here: the values a plot shows (each scene works out its own).
#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

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

double pathPlotX(const PathPlot& plot, double s) {
    const ContactPath& p = *plot.path;
    return plotLeft + (s - p.A) / (p.E - p.A) * (plotRight - plotLeft);
}

double pathPlotY(const PathPlot& plot, double value) {
    return plotBottom + (value - plot.low) / (plot.high - plot.low) * (plotTop - plotBottom);
}

namespace {

void drawLabel(double x, double y, const char* text) {
    drawText(static_cast<float>(x), static_cast<float>(y), GLUT_BITMAP_HELVETICA_18, text);
}

}  // namespace

void drawPathPlot(const PathPlot& plot) {
    const Point2 paper[4] = {Point2{plotLeft - 0.1, plotBottom - 0.16}, Point2{1.0, plotBottom - 0.16},
                             Point2{1.0, plotTop + plot.paperAbove}, Point2{plotLeft - 0.1, plotTop + plot.paperAbove}};
    drawFilledPolygon(paper, 4, WHITE);
    const ContactPath& p = *plot.path;
    if (!(p.E > p.A)) {
        drawLabel(plotLeft, 0.0, "no effective path");
        return;
    }
    char text[16];
    for (int i = 0; i < plot.zoneCount; ++i) {
        const MeshZone& zone = plot.zones[i];
        const double x0 = pathPlotX(plot, zone.from);
        const double x1 = pathPlotX(plot, zone.to);
        const Point2 box[4] = {Point2{x0, plotBottom}, Point2{x1, plotBottom}, Point2{x1, plotTop}, Point2{x0, plotTop}};
        drawFilledPolygon(box, 4, zone.pairs >= 2 ? DOUBLE_SHADE : SINGLE_SHADE);
        // The number of pairs in contact, at the zone's top.
        std::snprintf(text, sizeof text, "%d", zone.pairs);
        drawLabel((x0 + x1) / 2.0 - 0.01, plotTop - 0.05, text);
    }
    if (plot.zeroLine) {
        drawLine(Point2{plotLeft, pathPlotY(plot, 0.0)}, Point2{plotRight, pathPlotY(plot, 0.0)}, GREY);
    }
    const Point2 frame[5] = {Point2{plotLeft, plotBottom}, Point2{plotRight, plotBottom}, Point2{plotRight, plotTop},
                             Point2{plotLeft, plotTop}, Point2{plotLeft, plotBottom}};
    drawPolyline(1.0, frame, 4, BLACK);
    if (plot.pitchPoint && p.C > p.A && p.C < p.E) {
        drawLine(Point2{pathPlotX(plot, p.C), plotBottom}, Point2{pathPlotX(plot, p.C), plotTop}, GREY);
        drawLabel(pathPlotX(plot, p.C) - 0.012, plotBottom - 0.06, "C");
    }
    for (int i = 0; i < plot.curveCount; ++i) {
        drawPolyline(1.0, plot.curves[i].points, plot.curves[i].count - 1, plot.curves[i].colour);
    }
    drawLabel(plotLeft - 0.012, plotBottom - 0.06, "A");
    drawLabel(plotRight - 0.012, plotBottom - 0.06, "E");
    drawLabel(plotLeft + 0.2, plotBottom - 0.12, "s along the path");
    for (int i = 0; i < plot.labelCount; ++i) {
        drawLabel(plot.labels[i].x, plot.labels[i].y, plot.labels[i].text);
    }
    for (int i = 0; i < plotLegendLines; ++i) {
        const PlotLegendLine& line = plot.legend[i];
        if (line.text == nullptr) {
            continue;
        }
        // The stroke at the line's height, the text's baseline a little below.
        constexpr double strokeAbove[plotLegendLines] = {0.06, 0.13, 0.2};
        constexpr double textAbove[plotLegendLines] = {0.045, 0.115, 0.185};
        if (line.stroke) {
            drawWideLine(Point2{plotLeft, plotTop + strokeAbove[i]}, Point2{plotLeft + 0.06, plotTop + strokeAbove[i]},
                         plotStrokeWidth, line.colour);
        }
        drawLabel(line.stroke ? plotLeft + 0.08 : plotLeft, plotTop + textAbove[i], line.text);
    }
}

void drawPathPlotMark(const PathPlot& plot, double s, bool line, const double* values, int count) {
    const ContactPath& p = *plot.path;
    if (!(p.E > p.A)) {
        return;
    }
    const double x = pathPlotX(plot, s);
    if (line) {
        drawLine(Point2{x, plotBottom}, Point2{x, plotTop}, BLACK);
    }
    for (int i = 0; i < count && i < plot.curveCount; ++i) {
        if (plot.curves[i].count > 0 && values[i] >= plot.low) {
            drawDisc(Point2{x, pathPlotY(plot, values[i])}, plotMarkRadius, plot.curves[i].colour);
        }
    }
}

void drawArrow(const Point2& from, const Point2& to, const Rgba& colour) {
    constexpr double headLength = 0.03;     // window units
    constexpr double headHalfWidth = 0.011;
    constexpr double arrowWidth = 0.005;    // 2 px
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length < 1e-4) {
        return;
    }
    const Point2 u{dx / length, dy / length};
    const double head = std::min(headLength, 0.5 * length);
    const Point2 base{to.x - head * u.x, to.y - head * u.y};
    drawWideLine(from, base, arrowWidth, colour);
    const double half = headHalfWidth * head / headLength;
    const Point2 corners[3] = {to, Point2{base.x - half * u.y, base.y + half * u.x},
                               Point2{base.x + half * u.y, base.y - half * u.x}};
    drawFilledPolygon(corners, 3, colour);
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
