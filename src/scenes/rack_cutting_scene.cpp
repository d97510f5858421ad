// Scene 8: the rack cutting gear 1 of activePair. The blank turns, the rack
// slides along the reference circle's tangent, and the rack positions already
// passed stay drawn on the blank, so that the tooth appears as their envelope.
//
// What depends only on the pair (titles, the rack's shape) is worked out at
// the first frame after resetPairScenes; the rack and the kept positions,
// thinned to a quarter pixel, again whenever viewScale has changed. A frame
// itself only sets matrices and sends stored points: it allocates nothing.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/pair_state.h"
#include "pair/cutting/cutting.h"
#include "pair/inputs/helical.h"
#include "pair/outline/outline.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

constexpr double cuttingPitches = 3.0;   // reference pitches across the window
constexpr int maxRackTeeth = 801;        // rack pitches held, whatever the zoom

// "%g": shift coefficients and modules as typed.
void formatTitles(char (&title)[2][128]) {
    const PairInput& in = activePair.input;
    const PairNumbers& n = activePair.numbers;
    std::snprintf(title[0], sizeof title[0], "(8) rack cutting gear 1: z1=%d m=%g alpha=%gdeg x1=%g (xmin=%.3f)",
                  in.z1, in.m, in.alphaDeg, in.x1, n.gear[0].xmin);
    std::snprintf(title[1], sizeof title[1], "     red: gear 1 as cut,  green: rack positions passed,  blue: rack");
}

// The blank's centre sits so that the rack's datum line runs through the
// window centre. The blank is turned by pi / 2 + driveAngle (tooth 0 at the
// top at driveAngle 0), and the rack's frame (rackOutline: rolling line
// y = 0, a space centred at x = 0) stands at (-r driveAngle, r) from the
// blank's centre, moved by whole pitches to stay near x = 0: rolling without
// slipping on the reference circle. At driveAngle 0 tooth 0 stands in the
// rack's middle space.
struct CuttingCache {
    bool ready = false;
    char title[2][128];
    double r;            // reference radius, mm
    double ra;           // tip radius, mm
    double pitch;        // rack pitch pi m, mm
    double rollStep;     // rad of blank turn between two kept rack positions
    double toothPitch;   // rad: 2 pi / z1
    double datumShift;   // x1 m: the rack's datum above the rolling line, mm
    double chordHalf;    // mm: half the tip circle's chord along the rack's tip line
    double fit;          // window units per mm at viewScale 0.5
    Point2 blankCentre;  // mm from the window centre
    std::vector<Point2> rackPitch;  // one rack pitch, tooth middle to tooth middle, before thinning
    // Remade whenever viewScale changes:
    double zoomScale = 0.0;
    int rackTeeth;                  // odd: pitches in `rack`, the middle one centred at x = 0
    int pitchPoints;                // points of `rack` per pitch
    std::vector<Point2> rack;       // thinned, rackTeeth pitches
    // The kept positions: in the frame of the blank at the moment the rack
    // stood there, the rack is the rack frame moved to (offset, r), one of
    // keptPerPitch offsets.
    KeptCutter kept;
    std::vector<Point2> fullOutline;   // gear 1, thinned, scratch
    std::vector<Point2> blank;      // gear 1's outline about +x, open (closed if whole)
    std::vector<Point2> circle;     // unit circle for the reference circle
    std::vector<char> keep;         // scratch of the thinning
};

CuttingCache cuttingCache;

void prepareCutting() {
    CuttingCache& c = cuttingCache;
    const PairInput& in = activePair.input;
    const GearNumbers& g1 = activePair.numbers.gear[0];
    c.r = g1.d / 2.0;
    c.ra = g1.da / 2.0;
    c.pitch = pi * activePair.numbers.section.spur().m;  // a helical gear's transverse pitch
    c.toothPitch = 2.0 * pi / in.z1;
    c.rollStep = c.pitch / keptPerPitch / c.r;
    c.datumShift = in.x1 * in.m;
    // The rack reaches the blank's material only where its teeth are inside
    // the tip circle: above the root circle, which the rack's tip line cuts.
    const double rf = g1.df / 2.0;
    c.chordHalf = std::sqrt(std::max(c.ra * c.ra - rf * rf, 0.0));
    c.fit = 2.0 / (cuttingPitches * c.pitch);
    c.blankCentre = Point2{0.0, -(c.r + c.datumShift)};
    rackOutline(activePair.numbers.section, 0, 1, c.rackPitch);
    c.rack.reserve(c.rackPitch.size() * 9);
    formatTitles(c.title);
    c.zoomScale = 0.0;
    c.kept.visited = false;
    c.ready = true;
}

double cuttingScale() { return cuttingCache.fit * viewScale / startViewScale; }

// Half the window's width in mm at scale k.
double windowHalfWidth(double k) { return 1.0 / k; }

// Polar angle from -pi to pi.
double polarAngle(const Point2& p) { return std::atan2(p.y, p.x); }

double angleBetween(double from, double to) { return std::remainder(to - from, 2.0 * pi); }

// The blank's angle either side of the top within which its material, the
// ring from the root circle to the tip circle, can show in the window: a
// point at radius rho and angle t from the top lies rho sin(t) to the side of
// the window's centre and rho cos(t) - (r + x1 m) above it; plus a few pixels.
double visibleHalfAngle(double k) {
    const CuttingCache& c = cuttingCache;
    const double w = windowHalfWidth(k);
    const double rf = activePair.numbers.gear[0].df / 2.0;
    const double side = w >= rf ? pi : std::asin(w / rf);
    const double top = std::acos(std::clamp((c.r + c.datumShift - w) / c.ra, -1.0, 1.0));
    const double margin = 3.0 / (pixelsPerUnit * k * std::max(rf, c.pitch));
    return std::min(std::min(side, top) + margin, pi);
}

// The rack frame's offset at the kept positions j with j mod keptPerPitch =
// q: after j steps of 1 / keptPerPitch pitch to the left, within half a
// pitch of the blank's top.
double keptOffset(int q) {
    const double pitch = cuttingCache.pitch;
    const double offset = -q * pitch / keptPerPitch;
    return offset < -pitch / 2.0 ? offset + pitch : offset;
}

// The pieces of the rack (thinned, at rack-frame offset `offset`, rolling
// line through the blank's top) that lie inside the blank's tip circle.
void clipKeptRack(double offset) {
    CuttingCache& c = cuttingCache;
    keepPieces(c.rack.size(), [&](size_t i) { return Point2{c.rack[i].x + offset, c.rack[i].y + c.r}; },
               c.chordHalf + c.pitch, c.ra, true, c.kept);
}

// The rack for the current zoom: enough pitches to cross the window and the
// tip circle's chord, each thinned to a quarter pixel; and gear 1's outline,
// thinned, cut down to the teeth the window can show.
void prepareCuttingPoints() {
    CuttingCache& c = cuttingCache;
    if (c.zoomScale == viewScale) {
        return;
    }
    const double k = cuttingScale();
    const double tolerance = quarterPixelAt(k);

    const std::vector<Point2>& one = c.rackPitch;
    c.keep.assign(one.size(), 0);
    thin(one, 0, one.size() - 1, tolerance, c.keep);
    const double across = std::max(windowHalfWidth(k), c.chordHalf) + 2.0 * c.pitch;
    const double halfTeeth = std::min(std::ceil(across / c.pitch), double{maxRackTeeth / 2});
    c.rackTeeth = 2 * static_cast<int>(halfTeeth) + 1;
    c.rack.clear();
    for (int t = 0; t < c.rackTeeth; ++t) {
        const double shift = (t - (c.rackTeeth - 1) / 2) * c.pitch;
        for (size_t i = t == 0 ? 0 : 1; i < one.size(); ++i) {
            if (c.keep[i]) {
                c.rack.push_back(Point2{one[i].x + shift, one[i].y});
            }
        }
    }
    c.pitchPoints = static_cast<int>(c.rack.size() - 1) / c.rackTeeth;
    c.kept.points.clear();
    c.kept.pieces.clear();
    c.kept.pieceReach = 0.0;
    for (int q = 0; q < keptPerPitch; ++q) {
        c.kept.pieceStart[q] = static_cast<int>(c.kept.pieces.size());
        clipKeptRack(keptOffset(q));
    }
    c.kept.pieceStart[keptPerPitch] = static_cast<int>(c.kept.pieces.size());

    const std::vector<Point2>& raw = activePair.outline[0].points;
    c.fullOutline.reserve(raw.size() + 1);
    c.blank.reserve(raw.size() + 1);
    simplifyOutline(raw, tolerance, c.fullOutline);
    c.blank.clear();
    const double reach = visibleHalfAngle(k) + c.toothPitch;
    const size_t n = c.fullOutline.size();
    if (reach >= pi || n < 2) {
        c.blank = c.fullOutline;
        if (!c.blank.empty()) {
            c.blank.push_back(c.blank.front());
        }
    } else {
        size_t first = 0;
        size_t last = 0;
        for (size_t i = 1; i < n; ++i) {
            const double a = polarAngle(c.fullOutline[i]);
            if (std::fabs(angleBetween(-reach, a)) < std::fabs(angleBetween(-reach, polarAngle(c.fullOutline[first])))) {
                first = i;
            }
            if (std::fabs(angleBetween(reach, a)) < std::fabs(angleBetween(reach, polarAngle(c.fullOutline[last])))) {
                last = i;
            }
        }
        for (size_t i = first;; i = (i + 1) % n) {
            c.blank.push_back(c.fullOutline[i]);
            if (i == last) {
                break;
            }
        }
    }
    unitCircle(c.r * k * pixelsPerUnit, c.circle);
    c.zoomScale = viewScale;
}

// The rack's frame when the blank has turned by phi: r phi to the left,
// moved on by whole pitches to within half a pitch of the blank's top.
double rackOffset(double phi) {
    const CuttingCache& c = cuttingCache;
    const double travel = -c.r * phi;
    return travel - std::round(travel / c.pitch) * c.pitch;
}

// Draws the pitches of the rack at offset `offset` that hold some x in
// [from, to] (rack frame), in a frame turned by `turnSince` about the blank's
// centre.
void drawRackPart(double k, double turnSince, double offset, double from, double to, const Rgba& colour) {
    const CuttingCache& c = cuttingCache;
    const int middle = (c.rackTeeth - 1) / 2;
    // The pitch t holds x from (t - middle - 1/2) to (t - middle + 1/2) pitches.
    const double highest = c.rackTeeth - 1;
    const double firstPitch = std::clamp(std::floor((from - offset) / c.pitch + 0.5) + middle, 0.0, highest + 1.0);
    const double lastPitch = std::clamp(std::floor((to - offset) / c.pitch + 0.5) + middle, -1.0, highest);
    const int first = static_cast<int>(firstPitch);
    const int last = static_cast<int>(lastPitch);
    if (first > last) {
        return;
    }
    // Push and pop rather than the inverse calls: hundreds of copies a frame
    // would pile up the rounding of as many turns and turns back.
    glPushMatrix();
    enterGearFrame(k, origin, c.blankCentre, turnSince);
    enterGearFrame(k, origin, Point2{offset, c.r}, 0.0);
    drawPolyline(k, c.rack.data() + first * c.pitchPoints, (last - first + 1) * c.pitchPoints, colour);
    glPopMatrix();
}

}  // namespace

void pairscene::resetCuttingScene() { cuttingCache.ready = false; }

double cuttingSceneScale() {
    if (!cuttingCache.ready) {
        prepareCutting();
    }
    return cuttingScale();
}

void drawCuttingScene() {
    if (!cuttingCache.ready) {
        prepareCutting();
    }
    prepareCuttingPoints();
    CuttingCache& c = cuttingCache;
    drawTitle(firstTitleY, c.title[0]);
    drawTitle(secondTitleY, c.title[1]);
    visit(c.kept, driveAngle);
    const double k = cuttingSceneScale();
    const double halfWidth = windowHalfWidth(k);

    // The rolling line, the reference circle's tangent at the top, and the
    // rack's datum line x1 m above it.
    const double rollY = c.blankCentre.y + c.r;
    drawScaledLine(k, Point2{-halfWidth, rollY}, Point2{halfWidth, rollY}, GREY);
    drawScaledLine(k, Point2{-halfWidth, rollY + c.datumShift}, Point2{halfWidth, rollY + c.datumShift}, LIGHT_BLUE);

    // The rack where it was, every rollStep of blank turn, carried round with
    // the blank since: of each, the pieces inside the blank's tip circle that
    // the turn since has not carried out of the window.
    drawKept(k, c.blankCentre, c.kept, driveAngle, c.rollStep, visibleHalfAngle(k));

    // The blank, drawn about the tooth nearest the top, with its reference circle.
    const double blankTurn = pi / 2.0 + driveAngle;
    const double toTop = std::round((pi / 2.0 - blankTurn) / c.toothPitch) * c.toothPitch;
    enterGearFrame(k, origin, c.blankCentre, 0.0);
    drawPoints(k * c.r, c.circle, PALE_RED);
    leaveGearFrame(k, origin, c.blankCentre, 0.0);
    enterGearFrame(k, origin, c.blankCentre, blankTurn + toTop);
    drawPoints(k, c.blank, RED);
    leaveGearFrame(k, origin, c.blankCentre, blankTurn + toTop);

    // The rack now, across the window.
    drawRackPart(k, 0.0, rackOffset(driveAngle), -halfWidth - c.pitch, halfWidth + c.pitch, BLUE);
}
