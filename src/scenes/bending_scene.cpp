// Scene 13: the tooth as a beam. On the left a tooth of each gear of
// activePair, large, drawn from its cut flank with its tip up (gear 1's
// above, gear 2's below; a ring's tooth too, its tip towards the ring's
// centre): the tangents at 30 degrees (60 for a ring) to its centre line and
// the critical section sFn where they touch the fillets, Lewis's parabola of
// uniform strength, and the load as an arrow along the line of action at the
// contact point of the moment, its length the share of the load that tooth
// pair carries, its line carried on to the centre line, and the arm hFe from
// there down to the critical section. As the pair turns the contact runs up
// gear 1's flank and down gear 2's, through the zones of two and of one pair
// of teeth. On the right the root stress along the path of contact A..E
// (with a torque sigmaF in MPa, else YF YS Ybeta over the pairs in
// contact), the zones shaded as in scene 11, the moment's contact marked.
//
// Every number comes from pair/mesh/root_bending.h and pair/mesh/line_of_action.h,
// worked out once per pair; this file only lays them out. A frame allocates
// nothing.
#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/pair_state.h"
#include "pair/mesh/line_of_action.h"
#include "pair/mesh/mesh.h"
#include "pair/mesh/root_bending.h"
#include "pair/pair_kind.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

// Window units.
constexpr double toothBoxLeft = -0.98;
constexpr double toothBoxRight = 0.06;
constexpr double toothBoxHeight = 0.8;
constexpr double toothBoxTop[2] = {0.72, -0.14};  // gear 1's box above gear 2's
constexpr double fullLoadArrow = 0.3;            // the whole load's arrow
constexpr double arrowWidth = 0.005;
constexpr double markRadius = 0.009;
constexpr int flankPoints = 400;       // of each flank as drawn
constexpr int parabolaPoints = 60;
constexpr int zoneSamples = 24;        // plot points per zone of constant pairs in contact
constexpr int maxPlotPoints = maxMeshZones * (zoneSamples + 1);

constexpr Rgba ORANGE{0.9f, 0.45f, 0.0f, 0.0f};
constexpr Rgba SECTION_PURPLE{0.55f, 0.0f, 0.65f, 0.0f};

struct BendingCache {
    bool ready = false;
    char title[128];
    char status[160];
    RootBending bending;
    ContactPath path;
    // Each tooth in its own frame (t along its centre line, y across), mm:
    // the counter-clockwise flank from root to tip; the other is its mirror.
    Point2 flank[2][flankPoints];
    int flankCount[2];
    Point2 parabola[2][parabolaPoints];  // the upper half; the lower is its mirror
    double fit[2];                       // window units per mm at viewScale 0.5
    Point2 origin[2];                    // where (t, y) = (root, 0) lands
    double tRoot[2];
    // The plot: each gear's curve in window units, cut where the pairs in
    // contact change.
    MeshZone zones[maxMeshZones];
    int zoneCount;
    Point2 curve[2][maxPlotPoints];
    int curveCount[2];
    double top;   // the plot's top: the largest value
    bool loaded;  // the values are MPa
    double unit;  // MPa per unit of YF YS Ybeta / pairs of each gear (1 without a torque)
    double unitOf[2];
    PathPlot plot;  // as scene 11's, with its texts
    char topText[64];
    char gearText[2][32];  // the curves' legend
};

BendingCache cache;

Point2 toWindow(int gear, const Point2& q) {
    const double k = bendingSceneScale(gear);
    return Point2{cache.origin[gear].x + k * q.y, cache.origin[gear].y + k * (q.x - cache.tRoot[gear])};
}
Point2 mirrored(const Point2& q) { return Point2{q.x, -q.y}; }

double plotX(double s) { return pathPlotX(cache.plot, s); }
double plotY(double value) { return pathPlotY(cache.plot, value); }

double valueAt(int gear, double s) {
    return cache.unitOf[gear] * rootStressFactorAt(cache.bending, cache.path, gear, s);
}

void prepareBending() {
    const PairInput& in = activePair.input;
    const PairKindModel& kind = pairKindModel(in.kind);
    if (kind.hasGear2Shift) {
        std::snprintf(cache.title, sizeof cache.title, "(13) bending at the root, %s: z1=%d z2=%d m=%g alpha=%gdeg x1=%g x2=%g",
                      kind.name, in.z1, in.z2, in.m, in.alphaDeg, in.x1, in.x2);
    } else {
        std::snprintf(cache.title, sizeof cache.title, "(13) bending at the root, %s: z1=%d m=%g alpha=%gdeg x1=%g",
                      kind.name, in.z1, in.m, in.alphaDeg, in.x1);
    }
    cache.bending = rootBending(in, activePair.numbers);
    cache.path = contactPath(activePair.numbers);
    for (int g = 0; g < 2; ++g) {
        const ToothBeam& beam = cache.bending.gear[g];
        cache.flankCount[g] = 0;
        if (!beam.present) {
            continue;
        }
        // The flank, every so many of its traced points, its ends kept.
        const size_t count = beam.flank.size();
        const size_t stride = std::max<size_t>(1, (count + flankPoints - 2) / (flankPoints - 1));
        for (size_t i = 0; i < count && cache.flankCount[g] < flankPoints - 1; i += stride) {
            const Polar& q = beam.flank[i];
            cache.flank[g][cache.flankCount[g]++] =
                Point2{(beam.internal ? -q.rho : q.rho) * std::cos(q.psi), q.rho * std::sin(q.psi)};
        }
        const Polar& last = beam.flank.back();
        cache.flank[g][cache.flankCount[g]++] =
            Point2{(beam.internal ? -last.rho : last.rho) * std::cos(last.psi), last.rho * std::sin(last.psi)};
        // The box: the tooth from its root to its tip, the flanks' widest
        // reach across; scaled to fit, centred across.
        double tLow = cache.flank[g][0].x;
        double tHigh = tLow;
        double yHigh = 0.0;
        for (int i = 0; i < cache.flankCount[g]; ++i) {
            tLow = std::min(tLow, cache.flank[g][i].x);
            tHigh = std::max(tHigh, cache.flank[g][i].x);
            yHigh = std::max(yHigh, cache.flank[g][i].y);
        }
        cache.fit[g] = std::min(0.9 * toothBoxHeight / (tHigh - tLow), 0.9 * (toothBoxRight - toothBoxLeft) / (2.0 * yHigh));
        cache.tRoot[g] = (tLow + tHigh) / 2.0;
        cache.origin[g] = Point2{(toothBoxLeft + toothBoxRight) / 2.0, toothBoxTop[g] - toothBoxHeight / 2.0};
        // Lewis's parabola y^2 = k (tVertex - t), from where it touches up to its vertex.
        for (int i = 0; i < parabolaPoints; ++i) {
            const double t = beam.lewisTouch.x + (beam.tVertex - beam.lewisTouch.x) * i / (parabolaPoints - 1);
            cache.parabola[g][i] = Point2{t, std::sqrt(std::max(0.0, beam.lewisK * (beam.tVertex - t)))};
        }
    }
    // The plot.
    const ContactPath& p = cache.path;
    cache.loaded = cache.bending.loaded;
    for (int g = 0; g < 2; ++g) {
        const ToothBeam& beam = cache.bending.gear[g];
        cache.unitOf[g] = cache.loaded && beam.present ? cache.bending.Ft / (cache.bending.b * beam.mn) : 1.0;
    }
    cache.zoneCount = meshZones(p, cache.zones, maxMeshZones);
    cache.top = 0.0;
    for (int g = 0; g < 2; ++g) {
        cache.curveCount[g] = 0;
        if (!cache.bending.gear[g].present) {
            continue;
        }
        for (int z = 0; z < cache.zoneCount; ++z) {
            const MeshZone& zone = cache.zones[z];
            for (int i = 0; i <= zoneSamples; ++i) {
                // Just inside the zone at its ends: the pairs of the zone.
                const double f = std::clamp(static_cast<double>(i) / zoneSamples, 1e-9, 1.0 - 1e-9);
                const double s = zone.from + (zone.to - zone.from) * f;
                cache.top = std::max(cache.top, valueAt(g, s));
                cache.curve[g][cache.curveCount[g]++] = Point2{s, valueAt(g, s)};
            }
        }
    }
    if (cache.top <= 0.0) {
        cache.top = 1.0;
    }
    cache.top *= 1.1;
    PathPlot& plot = cache.plot;
    plot = PathPlot{};
    plot.path = &p;
    plot.zones = cache.zones;
    plot.zoneCount = cache.zoneCount;
    plot.low = 0.0;
    plot.high = cache.top;
    plot.paperAbove = 0.27;
    plot.curves[0] = PlotCurve{cache.curve[0], cache.curveCount[0], RED};
    plot.curves[1] = PlotCurve{cache.curve[1], cache.curveCount[1], BLUE};
    plot.curveCount = 2;
    plot.labels[0] = PlotLabel{plotLeft - 0.05, plotBottom, "0"};
    plot.labelCount = 1;
    if (cache.loaded) {
        std::snprintf(cache.topText, sizeof cache.topText, "sigmaF 0..%.0f MPa", cache.top);
    } else {
        std::snprintf(cache.topText, sizeof cache.topText, "YF YS Ybeta / pairs, 0..%.2f", cache.top);
    }
    plot.legend[2] = PlotLegendLine{cache.topText, false, BLACK};
    // A curve whose YS lies outside the standard's range says so, as the
    // report's warning does (a ring's, cut by a sharp-cornered cutter).
    for (int g = 0; g < 2; ++g) {
        std::snprintf(cache.gearText[g], sizeof cache.gearText[g],
                      ysExtrapolated(cache.bending.gear[g]) ? "gear %d (YS extrapolated)" : "gear %d", g + 1);
    }
    plot.legend[1] = PlotLegendLine{cache.gearText[0], true, RED};
    if (cache.curveCount[1] > 0) {
        plot.legend[0] = PlotLegendLine{cache.gearText[1], true, BLUE};
    }
    if (p.E > p.A) {
        for (int g = 0; g < 2; ++g) {
            for (int i = 0; i < cache.curveCount[g]; ++i) {
                cache.curve[g][i] = Point2{plotX(cache.curve[g][i].x), plotY(cache.curve[g][i].y)};
            }
        }
    }
    cache.ready = true;
}

void drawLabel(double x, double y, const char* text) {
    drawText(static_cast<float>(x), static_cast<float>(y), GLUT_BITMAP_HELVETICA_18, text);
}

// One tooth, its beam's construction lines and, with the contact at s on
// the path, its load.
void drawTooth(int g, double s, int pairs) {
    const ToothBeam& beam = cache.bending.gear[g];
    const Rgba& colour = g == 0 ? RED : BLUE;
    Point2 points[flankPoints];
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < cache.flankCount[g]; ++i) {
            points[i] = toWindow(g, side == 0 ? cache.flank[g][i] : mirrored(cache.flank[g][i]));
        }
        drawPolyline(1.0, points, cache.flankCount[g] - 1, colour);
    }
    const Point2 tip = cache.flank[g][cache.flankCount[g] - 1];
    drawLine(toWindow(g, tip), toWindow(g, mirrored(tip)), colour);
    // The centre line.
    drawLine(toWindow(g, Point2{cache.flank[g][0].x, 0.0}), toWindow(g, Point2{tip.x, 0.0}), GREY);
    // The tangents from where they touch to the centre line, and the section between.
    const Point2 c = beam.critical;
    const Point2 meet{c.x + c.y / std::tan(beam.tangentAngle), 0.0};
    drawLine(toWindow(g, c), toWindow(g, meet), DARK_GREEN);
    drawLine(toWindow(g, mirrored(c)), toWindow(g, meet), DARK_GREEN);
    drawWideLine(toWindow(g, c), toWindow(g, mirrored(c)), arrowWidth, SECTION_PURPLE);
    const Point2 label = toWindow(g, c);
    drawLabel(label.x + 0.02, label.y - 0.02, "sFn");
    // Lewis's parabola.
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < parabolaPoints; ++i) {
            points[i] = toWindow(g, side == 0 ? cache.parabola[g][i] : mirrored(cache.parabola[g][i]));
        }
        drawPolyline(1.0, points, parabolaPoints - 1, ORANGE);
    }
    // The load at the contact of the moment: along the line of action onto
    // the flank, its line on to the centre line, the arm down to the section.
    if (pairs == 0) {
        return;
    }
    const BeamLoad l = beamLoadAt(beam, beamDiameterAt(cache.bending, cache.path, g, s));
    const Point2 at = toWindow(g, l.load);
    const Point2 cross = toWindow(g, Point2{l.tLoad, 0.0});
    const double dx = cross.x - at.x;
    const double dy = cross.y - at.y;
    const double length = std::hypot(dx, dy);
    if (length > 1e-9) {
        const double arrow = fullLoadArrow / pairs;
        drawArrow(Point2{at.x - arrow * dx / length, at.y - arrow * dy / length}, at, BLACK);
    }
    drawLine(at, cross, GREY);
    drawWideLine(cross, toWindow(g, Point2{c.x, 0.0}), arrowWidth, ORANGE);
    drawLabel(cross.x + 0.015, (cross.y + toWindow(g, Point2{c.x, 0.0}).y) / 2.0, "hFe");
    drawDisc(at, markRadius, colour);
}

}  // namespace

void pairscene::resetBendingScene() { cache.ready = false; }

double bendingSceneScale(int gear) {
    if (!cache.ready) {
        prepareBending();
    }
    return gear >= 0 && gear < 2 && cache.bending.gear[gear].present ? cache.fit[gear] * viewScale / startViewScale
                                                                       : 0.0;
}

double bendingContactAt(double turn) {
    // One tooth pair's contact: it enters at A and runs along the line of
    // action at rb1 per radian of gear 1's turn; the next pair follows a
    // base pitch behind, so the pattern repeats every whole number of base
    // pitches that covers the path, the pair out of contact past E.
    const ContactPath p = cache.ready ? cache.path : contactPath(activePair.numbers);
    if (!(p.E > p.A) || !(p.pb > 0.0)) {
        return -1.0;
    }
    const double cycle = p.pb * std::max(1.0, std::ceil((p.E - p.A) / p.pb - 1e-9));
    double along = std::fmod(p.rb1 * turn, cycle);
    if (along < 0.0) {
        along += cycle;
    }
    return p.A + along;
}

void drawBendingScene() {
    if (!cache.ready) {
        prepareBending();
    }
    const double s = bendingContactAt(driveAngle);
    const int pairs = s >= 0.0 ? pairsInContact(cache.path, s) : 0;
    if (pairs > 0) {
        char gear2[64] = "";
        if (cache.bending.gear[1].present) {
            std::snprintf(gear2, sizeof gear2, " gear 2: %.3f", valueAt(1, s));
        }
        std::snprintf(cache.status, sizeof cache.status, "     s=%.3fmm, %d pair%s in contact; %s gear 1: %.3f%s", s,
                      pairs, pairs == 1 ? "" : "s", cache.loaded ? "sigmaF MPa" : "YF YS Ybeta / pairs",
                      valueAt(0, s), gear2);
    } else {
        std::snprintf(cache.status, sizeof cache.status, "     this pair of teeth is out of contact");
    }
    drawTitle(firstTitleY, cache.title);
    drawTitle(secondTitleY, cache.status);
    for (int g = 0; g < 2; ++g) {
        if (cache.bending.gear[g].present) {
            drawTooth(g, s, pairs);
        }
    }
    drawPathPlot(cache.plot);
    if (pairs > 0) {
        const double values[2] = {valueAt(0, s), cache.bending.gear[1].present ? valueAt(1, s) : 0.0};
        drawPathPlotMark(cache.plot, s, true, values, 2);
    }
}
