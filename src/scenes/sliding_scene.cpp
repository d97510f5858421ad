// Scene 11: the sliding of the flanks of activePair. On the left the pair in
// mesh (scene 7's picture, zoomed onto the path of contact) with, at each
// contact point, the two flanks' velocities (red: gear 1's, blue: gear 2's,
// a rack's moving with its pitch line), their common component along the
// line of action (grey) and the sliding velocity between them (green, from
// the tip of gear 2's to the tip of gear 1's); on the right the specific
// sliding zeta1 and zeta2 along the effective path A..E, its zones of one
// and of two (or more) tooth pairs shaded, the contacts of the moment marked.
// The scene follows the contact nearest the pitch point C: ringed in the
// mesh, its s and zetas in the second title line.
//
// The numbers come from the pair's mesh (pair/mesh.h) and line of action
// (pair/line_of_action.h); this file only lays them out. Not here: the
// contact stress along the path (no load is given to the program).
#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/pair_state.h"
#include "pair/mesh/line_of_action.h"
#include "pair/mesh/mesh.h"
#include "pair/pair_kind.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

// Window units.
constexpr double pathSpan = 0.7;                // the nominal path's length at viewScale 0.5
constexpr Point2 pathMiddle{-0.45, -0.1};       // where the nominal path's middle stays at any zoom
constexpr double longestArrow = 0.3;            // the fastest flank point's velocity
constexpr double followRing = 0.024;
// The plot's floors, the highest below both curves' ends taken: zeta falls
// to -infinity at T1 and T2.
constexpr double zetaFloors[] = {-0.25, -0.5, -1.0, -2.0, -4.0};
constexpr int curvePoints = 121;

constexpr Rgba COMMON_GREY{0.35f, 0.35f, 0.35f, 0.0f};
constexpr Rgba SLIDING_GREEN{0.0f, 0.62f, 0.0f, 0.0f};

struct SlidingCache {
    bool ready = false;
    char title[128];
    char status[128];
    double zetaLow;     // the plot's lowest zeta, one of zetaFloors
    double arrowScale;  // window units per mm of speed per radian of gear 1's turn
    Point2 curve[2][curvePoints];  // zeta1 and zeta2, window units, within the plot
    int curveCount[2];
    MeshZone zones[maxMeshZones];
    int zoneCount;
    // With a torque (a spur pair): the Hertz stress along the path, the load
    // on one pair where it is alone and shared equally where two are in
    // contact, from 0 at the plot's bottom to its top at sigmaTop.
    Point2 stress[curvePoints];
    int stressCount;
    double sigmaTop;  // MPa
    // The plot of zeta1, zeta2 (and the stress) and its texts.
    PathPlot plot;
    char lowText[16];
    char stressText[48];
};

SlidingCache cache;

double plotX(double s) { return pathPlotX(cache.plot, s); }
double plotY(double zeta) { return pathPlotY(cache.plot, zeta); }

double zetaOf(int curve, double s) {
    const Sliding z = specificSliding(activeMesh.path, s);
    return curve == 0 ? z.zeta1 : z.zeta2;
}

void prepareSliding() {
    const PairInput& in = activePair.input;
    const PairKindModel& kind = pairKindModel(in.kind);
    if (kind.hasGear2Shift) {
        std::snprintf(cache.title, sizeof cache.title, "(11) sliding, %s: z1=%d z2=%d m=%g alpha=%gdeg x1=%g x2=%g",
                      kind.name, in.z1, in.z2, in.m, in.alphaDeg, in.x1, in.x2);
    } else {
        std::snprintf(cache.title, sizeof cache.title, "(11) sliding, %s: z1=%d m=%g alpha=%gdeg x1=%g", kind.name,
                      in.z1, in.m, in.alphaDeg, in.x1);
    }
    const ContactPath& p = activeMesh.path;
    // The floor: below the lower of the two zetas at the path's ends (each
    // is lowest at its own gear's root), where a floor is.
    const SlidingAtEnds ends = slidingAtEnds(p);
    const double lowest = std::min(ends.zeta1Root, ends.zeta2Root);
    for (double floor : zetaFloors) {
        cache.zetaLow = floor;
        if (floor <= lowest) {
            break;
        }
    }
    PathPlot& plot = cache.plot;
    plot = PathPlot{};
    plot.path = &p;
    plot.low = cache.zetaLow;
    plot.high = 1.0;
    plot.zeroLine = true;  // the pitch point, pure rolling
    plot.pitchPoint = true;
    // The fastest flank point is at an end of the path: rho1 and rho2 grow
    // away from their tangent points.
    double fastest = 0.0;
    for (double s : {p.A, p.E}) {
        const FlankSpeeds v = flankSpeeds(p, s);
        fastest = std::max({fastest, std::hypot(v.common, v.v1), std::hypot(v.common, v.v2)});
    }
    cache.arrowScale = fastest > 0.0 ? longestArrow / fastest : 0.0;
    // Each curve where it lies above the floor (each falls below it at one end only).
    for (int c = 0; c < 2; ++c) {
        cache.curveCount[c] = 0;
        if (!(p.E > p.A)) {
            continue;
        }
        for (int i = 0; i < curvePoints; ++i) {
            const double s = p.A + (p.E - p.A) * i / (curvePoints - 1);
            const double z = zetaOf(c, s);
            if (z >= cache.zetaLow) {
                cache.curve[c][cache.curveCount[c]++] = Point2{plotX(s), plotY(z)};
            }
        }
    }
    cache.zoneCount = meshZones(p, cache.zones, maxMeshZones);
    cache.stressCount = 0;
    if (in.torque > 0.0 && activePair.numbers.helix.beta == 0.0 && p.E > p.A) {
        const HertzLoad load = hertzLoadOf(in);
        const double Fn = hertzStress(p, load).Fn;
        double sigma[curvePoints];
        cache.sigmaTop = 0.0;
        for (int i = 0; i < curvePoints; ++i) {
            const double s = p.A + (p.E - p.A) * i / (curvePoints - 1);
            sigma[i] = sigmaHAt(p, load, s, Fn / std::max(1, pairsInContact(p, s)));
            cache.sigmaTop = std::max(cache.sigmaTop, sigma[i]);
        }
        for (int i = 0; i < curvePoints && cache.sigmaTop > 0.0; ++i) {
            const double s = p.A + (p.E - p.A) * i / (curvePoints - 1);
            cache.stress[cache.stressCount++] =
                Point2{plotX(s), plotBottom + sigma[i] / cache.sigmaTop * (plotTop - plotBottom)};
        }
    }
    // The curves, the values' axis from the floor to 1, the legend: a stroke
    // of each curve's colour and its name (the stress on its own scale, 0 at
    // the plot's bottom, the largest at its top).
    plot.zones = cache.zones;
    plot.zoneCount = cache.zoneCount;
    plot.curves[0] = PlotCurve{cache.curve[0], cache.curveCount[0], RED};
    plot.curves[1] = PlotCurve{cache.curve[1], cache.curveCount[1], BLUE};
    plot.curves[2] = PlotCurve{cache.stress, cache.stressCount, SLIDING_GREEN};
    plot.curveCount = cache.stressCount > 1 ? 3 : 2;
    std::snprintf(cache.lowText, sizeof cache.lowText, "%g", cache.zetaLow);
    plot.labels[0] = PlotLabel{plotLeft - 0.05, plotTop - 0.015, "1"};
    plot.labels[1] = PlotLabel{plotLeft - 0.05, plotY(0.0) - 0.015, "0"};
    plot.labels[2] = PlotLabel{plotLeft - 0.07, plotBottom, cache.lowText};
    plot.labelCount = 3;
    plot.legend[0] = PlotLegendLine{"zeta2 (gear 2)", true, BLUE};
    plot.legend[1] = PlotLegendLine{"zeta1 (gear 1)", true, RED};
    if (cache.stressCount > 1) {
        std::snprintf(cache.stressText, sizeof cache.stressText, "sigmaH 0..%.0f MPa", cache.sigmaTop);
        plot.legend[2] = PlotLegendLine{cache.stressText, true, SLIDING_GREEN};
    }
    // The paper above the plot: room for the legend's two lines, three with the stress.
    plot.paperAbove = cache.stressCount > 1 ? 0.27 : 0.2;
    cache.ready = true;
}

}  // namespace

void pairscene::resetSlidingScene() { cache.ready = false; }

double slidingSceneScale() { return pathSpan / (activeMesh.end - activeMesh.start) * viewScale / startViewScale; }

void drawSlidingScene() {
    if (!cache.ready) {
        prepareSliding();
    }
    const MeshMoment moment = meshAt(activeMesh, driveAngle);
    const int followed = contactNearestPitchPoint(activeMesh, moment);
    if (followed >= 0) {
        const double s = moment.contact[followed].s;
        const Sliding z = specificSliding(activeMesh.path, s);
        std::snprintf(cache.status, sizeof cache.status,
                      "     s=%.3fmm zeta1=%.3f zeta2=%.3f   red v1, blue v2, green sliding", s, z.zeta1, z.zeta2);
    } else {
        std::snprintf(cache.status, sizeof cache.status, "     no contact   red v1, blue v2, green sliding");
    }
    drawTitle(firstTitleY, cache.title);
    drawTitle(secondTitleY, cache.status);

    // The mesh, zoomed so that the nominal path spans pathSpan, its middle
    // kept at pathMiddle.
    const double k = slidingSceneScale();
    const Point2 middle = pairContactPoint((activeMesh.start + activeMesh.end) / 2.0);
    const Point2 pitch{pathMiddle.x - k * middle.x, pathMiddle.y - k * middle.y};
    drawPairMesh(k, pitch);

    // The velocities at each contact, for gear 1 turning the way the scene
    // steps: along the line of action u and across it n (u turned a quarter
    // counter-clockwise, the way gear 1's turn carries its flank point).
    const Point2 u = meshAlong();
    const Point2 n{-u.y, u.x};
    const double a = (angleIncrement < 0.0 ? -1.0 : 1.0) * cache.arrowScale;
    for (int i = 0; i < moment.count; ++i) {
        const double s = moment.contact[i].s;
        const Point2 q = pairContactPoint(s);
        const Point2 at{pitch.x + k * q.x, pitch.y + k * q.y};
        const FlankSpeeds v = flankSpeeds(activeMesh.path, s);
        const Point2 common{at.x + a * v.common * u.x, at.y + a * v.common * u.y};
        const Point2 tip1{common.x + a * v.v1 * n.x, common.y + a * v.v1 * n.y};
        const Point2 tip2{common.x + a * v.v2 * n.x, common.y + a * v.v2 * n.y};
        drawArrow(at, common, COMMON_GREY);
        drawArrow(at, tip1, RED);
        drawArrow(at, tip2, BLUE);
        drawArrow(tip2, tip1, SLIDING_GREEN);
        if (i == followed) {
            drawCircle(at, followRing, BLACK);
        }
    }

    drawPathPlot(cache.plot);
    for (int i = 0; i < moment.count; ++i) {
        const double s = moment.contact[i].s;
        const Sliding z = specificSliding(activeMesh.path, s);
        const double zetas[2] = {z.zeta1, z.zeta2};
        drawPathPlotMark(cache.plot, s, i == followed, zetas, 2);
    }
}
