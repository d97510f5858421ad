// Scene 9: the pinion-type cutter cutting the ring of an internal pair. The
// ring turns, the cutter inside it turns with it at z2 / zc of its speed, and
// the cutter positions already passed stay drawn on the ring, so that the
// ring's teeth appear as their envelope, as scene 8 shows the rack cutting
// gear 1.
//
// What depends only on the pair (titles, the cutter, the kept positions'
// layout) is worked out at the first frame after resetPairScenes; the
// outlines and the kept pieces, thinned to a quarter pixel, again whenever
// viewScale has changed. A frame itself only sets matrices and sends stored
// points: it allocates nothing.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/pair_state.h"
#include "pair/cutting/cutting.h"
#include "pair/outline/outline.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

constexpr double cuttingPitches = 3.0;  // reference pitches across the window

// The ring is placed so that the middle of its teeth, between its tip and
// root circles, runs through the window centre at the top; the ring turns
// counter-clockwise by driveAngle from ringTurn0, which brings a space of the
// ring to the top. The cutter's centre lies a0 (the cutting centre distance)
// above the ring's, and the cutter turns by cutterTurn0 + driveAngle z2 / zc:
// the reference circles of the cutting mesh roll on each other.
struct RingCuttingCache {
    bool ready = false;
    bool cutterKnown = false;  // the cutter's outline and placement are there
    char title[2][128];
    double r2;           // the ring's reference radius, mm
    double ra2;          // its tip radius (the least of the ring), mm
    double rc;           // the cutter's reference radius, mm
    double a0;           // cutting centre distance, mm
    double ratio;        // z2 / zc: the cutter's turn per turn of the ring
    double ringTurn0;    // rad
    double cutterTurn0;  // rad
    double rollStep;     // rad of ring turn between two kept cutter positions
    double fit;          // window units per mm at viewScale 0.5
    Point2 ringCentre;   // mm from the window centre
    std::vector<Point2> cutterRaw;  // the cutter, its own frame, tooth 0 on +x, closed (last point not repeated)
    KeptCutter kept;
    // Remade whenever viewScale changes:
    double zoomScale = 0.0;
    std::vector<Point2> ring;    // thinned, closed
    std::vector<Point2> cutter;  // thinned, closed
    std::vector<Point2> circle;  // unit circle for the reference circles
};

RingCuttingCache ringCache;

void formatTitles(char (&title)[2][128], int zc) {
    const PairInput& in = activePair.input;
    std::snprintf(title[0], sizeof title[0], "(9) pinion cutter cutting the ring: z2=%d zc=%d m=%g alpha=%gdeg x2=%g",
                  in.z2, zc, in.m, in.alphaDeg, in.x2);
    std::snprintf(title[1], sizeof title[1], "     red: ring as cut,  green: cutter positions passed,  blue: cutter");
}

// The cutter and its cutting mesh with the ring (pair/cutting.h): its
// outline in its own frame, and its start. With the ring's space at pi / z2
// facing up (the ring turned by pi/2 - pi/z2) the cutter's tooth 0 points
// straight up into it; from there the cutter turns z2 / zc times as far as
// the ring, the same way (pinionCutterOutlineAt).
void takeCutter(RingCuttingCache& c) {
    const PairInput& in = activePair.input;
    const RingCutting cutter = ringCutting(activePair.numbers.section, activePair.numbers.zc);
    c.cutterKnown = cutter.a0 > 0.0;
    c.rc = cutter.rc;
    c.a0 = cutter.a0;
    c.ratio = static_cast<double>(in.z2) / cutter.zc;
    c.ringTurn0 = pi / 2.0 - pi / in.z2;
    c.cutterTurn0 = pi / 2.0;
    c.cutterRaw.clear();
    if (c.cutterKnown) {
        pinionCutterOutline(activePair.numbers.section, cutter.zc, c.cutterRaw);
    }
}

void prepareRingCutting() {
    RingCuttingCache& c = ringCache;
    const PairInput& in = activePair.input;
    const GearNumbers& g2 = activePair.numbers.gear[1];
    c.r2 = g2.d / 2.0;
    c.ra2 = g2.da / 2.0;
    c.fit = 2.0 / (cuttingPitches * pi * in.m);
    c.ringCentre = Point2{0.0, -(g2.da + g2.df) / 4.0};
    c.rollStep = 2.0 * pi / in.z2 / keptPerPitch;
    takeCutter(c);
    formatTitles(c.title, activePair.numbers.zc);
    c.zoomScale = 0.0;
    c.kept.visited = false;
    c.ready = true;
}

double ringCuttingScale() { return ringCache.fit * viewScale / startViewScale; }

// The ring's angle either side of the top within which its material, from
// its tip circle outwards, can show in the window: a point at radius rho >=
// ra2 and angle t from the top lies rho sin(t) to the side of the window's
// centre; plus a few pixels.
double visibleHalfAngle(double k) {
    const RingCuttingCache& c = ringCache;
    const double w = 1.0 / k;
    const double side = w >= c.ra2 ? pi : std::asin(w / c.ra2);
    return std::min(side + 3.0 / (pixelsPerUnit * k * c.ra2), pi);
}

// The cutter's pieces outside the ring's tip circle, where it cuts, at the
// ring turn `turn` (one of the keptPerPitch phases), mm from the ring's
// centre in its fixed frame.
void keepCutter(double turn) {
    RingCuttingCache& c = ringCache;
    const double angle = c.cutterTurn0 + turn * c.ratio;
    const double cs = std::cos(angle);
    const double sn = std::sin(angle);
    keepPieces(
        c.cutter.size(),
        [&](size_t i) {
            const Point2& p = c.cutter[i];
            return Point2{p.x * cs - p.y * sn, c.a0 + p.x * sn + p.y * cs};
        },
        INFINITY, c.ra2, false, c.kept);
}

void prepareRingCuttingPoints() {
    RingCuttingCache& c = ringCache;
    if (c.zoomScale == viewScale) {
        return;
    }
    const double k = ringCuttingScale();
    const double tolerance = quarterPixelAt(k);
    const std::vector<Point2>& raw = activePair.outline[1].points;
    c.ring.reserve(raw.size() + 1);
    simplifyOutline(raw, tolerance, c.ring);
    if (!c.ring.empty()) {
        c.ring.push_back(c.ring.front());
    }
    c.cutter.reserve(c.cutterRaw.size() + 1);
    simplifyOutline(c.cutterRaw, tolerance, c.cutter);
    if (!c.cutter.empty()) {
        c.cutter.push_back(c.cutter.front());
    }
    c.kept.points.clear();
    c.kept.pieces.clear();
    c.kept.pieceReach = 0.0;
    for (int q = 0; q < keptPerPitch; ++q) {
        c.kept.pieceStart[q] = static_cast<int>(c.kept.pieces.size());
        if (c.cutterKnown) {
            keepCutter(q * c.rollStep);
        }
    }
    c.kept.pieceStart[keptPerPitch] = static_cast<int>(c.kept.pieces.size());
    unitCircle(c.r2 * k * pixelsPerUnit, c.circle);
    c.zoomScale = viewScale;
}

}  // namespace

void pairscene::resetRingCuttingScene() { ringCache.ready = false; }

double ringCuttingSceneScale() {
    if (!ringCache.ready) {
        prepareRingCutting();
    }
    return ringCuttingScale();
}

void drawRingCuttingScene() {
    if (!ringCache.ready) {
        prepareRingCutting();
    }
    prepareRingCuttingPoints();
    RingCuttingCache& c = ringCache;
    drawTitle(firstTitleY, c.title[0]);
    drawTitle(secondTitleY, c.title[1]);
    visit(c.kept, driveAngle);
    const double k = ringCuttingSceneScale();

    // The cutter where it was, every rollStep of ring turn, carried round
    // with the ring since.
    drawKept(k, c.ringCentre, c.kept, driveAngle, c.rollStep, visibleHalfAngle(k));

    // The ring, turned, with its reference circle, and the cutter with its own.
    enterGearFrame(k, origin, c.ringCentre, 0.0);
    drawPoints(k * c.r2, c.circle, PALE_RED);
    leaveGearFrame(k, origin, c.ringCentre, 0.0);
    const double ringTurn = c.ringTurn0 + driveAngle;
    glPushMatrix();
    enterGearFrame(k, origin, c.ringCentre, ringTurn);
    drawPoints(k, c.ring, RED);
    glPopMatrix();
    if (c.cutterKnown) {
        const Point2 cutterCentre{c.ringCentre.x, c.ringCentre.y + c.a0};
        glPushMatrix();
        enterGearFrame(k, origin, cutterCentre, 0.0);
        drawPoints(k * c.rc, c.circle, PALE_BLUE);
        leaveGearFrame(k, origin, cutterCentre, 0.0);
        enterGearFrame(k, origin, cutterCentre, c.cutterTurn0 + driveAngle * c.ratio);
        drawPoints(k, c.cutter, BLUE);
        glPopMatrix();
    }
}
