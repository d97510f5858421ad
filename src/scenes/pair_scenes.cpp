// Scenes 7 and 8: the gear pair of activePair. Scene 7 shows both gears in
// mesh with their reference and base circles, the line of action, the path
// of contact, the pitch point and the contact points of the moment. Scene 8
// shows the rack cutting gear 1: the blank turns, the rack slides along the
// reference circle's tangent, and the rack positions already passed stay
// drawn on the blank, so that the tooth appears as their envelope.
//
// Everything that depends only on the pair (layout, titles, the rack) is
// worked out at the first frame after resetPairScenes; the simplified
// outlines again whenever viewScale has changed. A frame itself only sets
// matrices and sends the stored points.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/pair_state.h"
#include "scenes/scenes.h"

namespace {

constexpr double startViewScale = 0.5;   // the zoom at which the scales below hold
constexpr double pairSpan = 1.5;         // window units from gear 1's tip to gear 2's tip (scene 7)
constexpr double cuttingPitches = 3.0;   // reference pitches across the window (scene 8)
constexpr double quarterPixel = 0.25;    // px: the outlines' drawing tolerance
constexpr double contactDotRadius = 0.012;  // window units: contact points and pitch point
constexpr int maxContactPoints = 8;      // more than any contact ratio of an accepted pair

// Scene 8: where the rack is kept on the blank.
constexpr double keptRackTravel = 0.15;  // in m: rack travel between two kept positions
constexpr int keptEachSide = 64;         // kept positions drawn on either side of the present one
constexpr int rackTeeth = 5;             // rack pitches drawn
constexpr double slicePitches = 2.5;     // the blank is drawn this many pitches either side of the top
constexpr int referenceArcPoints = 200;

constexpr Rgba LIGHT_RED{1.0f, 0.65f, 0.65f, 0.0f};
constexpr Rgba LIGHT_BLUE{0.65f, 0.65f, 1.0f, 0.0f};
constexpr Rgba PALE_RED{1.0f, 0.82f, 0.82f, 0.0f};
constexpr Rgba PALE_BLUE{0.82f, 0.82f, 1.0f, 0.0f};
constexpr Rgba GREY{0.55f, 0.55f, 0.55f, 0.0f};
constexpr Rgba BLACK{0.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba DARK_GREEN{0.0f, 0.45f, 0.0f, 0.0f};

// Scene 7's layout, mm, in a frame whose origin is the window centre.
struct MeshLayout {
    Point2 centre[2];
    double r[2];       // reference radius d / 2
    double rb[2];      // base radius db / 2
    double ra[2];      // tip radius da / 2
    double fit;        // window units per mm at viewScale 0.5
    Point2 t1;         // tangent points of the line of action on the base circles
    Point2 t2;
    Point2 along;      // unit vector from T1 to T2
    Point2 pitchPoint;
    double lengthT1T2; // a sin(alphaW)
    double pathStart;  // mm from T1: gear 2's tip circle on the line of action
    double pathEnd;    // mm from T1: gear 1's tip circle
    double firstContact;  // mm from T1: a drive flank of gear 1 at driveAngle 0
    double pb;
    double gearRatio;  // z1 / z2
};

struct PairCache {
    bool ready = false;
    MeshLayout mesh;
    char title[2][128];
    double outlineScale = 0.0;  // viewScale the outlines are simplified for; 0: not yet
    std::vector<Point2> outline[2];
};

// Scene 8. The blank's centre is placed so that the rack's datum line runs
// through the window centre. The blank is turned by pi / 2 + driveAngle and
// the rack's frame (rackOutline: rolling line y = 0, a space centred at
// x = 0) sits at (-r driveAngle, r) from the blank's centre, so at
// driveAngle 0 tooth 0 stands at the top in the rack's middle space.
struct CuttingCache {
    bool ready = false;
    char title[2][128];
    double r;            // reference radius, mm
    double rollStep;     // rad of blank turn between two kept rack positions
    double toothPitch;   // rad: 2 pi / z1
    double fit;          // window units per mm at viewScale 0.5
    Point2 blankCentre;  // mm from the window centre
    std::vector<Point2> rack;
    std::vector<Point2> referenceArc;  // about +x, slicePitches either side
    bool visited = false;              // lowest and highest hold angles of this run
    double lowest;                     // the drive angles shown so far
    double highest;
    double outlineScale = 0.0;
    std::vector<Point2> fullOutline;   // simplified, scratch
    std::vector<Point2> blank;         // gear 1's outline about +x, open (closed if whole)
};

PairCache pairCache;
CuttingCache cuttingCache;

Point2 plus(const Point2& p, const Point2& q) { return Point2{p.x + q.x, p.y + q.y}; }
Point2 times(double k, const Point2& p) { return Point2{k * p.x, k * p.y}; }

// "%g" without a trailing noise: shift coefficients and modules as typed.
void formatTitles(char (&title)[2][128], bool cutting) {
    const PairInput& in = activePair.input;
    if (cutting) {
        std::snprintf(title[0], sizeof title[0], "(8) rack cutting gear 1: z1=%d m=%g alpha=%gdeg x1=%g", in.z1, in.m,
                      in.alphaDeg, in.x1);
        std::snprintf(title[1], sizeof title[1], "     red: gear 1 as cut,  green: rack positions,  blue: rack");
        return;
    }
    std::snprintf(title[0], sizeof title[0], "(7) gear pair in mesh: z1=%d z2=%d m=%g alpha=%gdeg", in.z1, in.z2, in.m,
                  in.alphaDeg);
    std::snprintf(title[1], sizeof title[1], "     x1=%g x2=%g eps=%.3f   red: drive gear,  blue: driven", in.x1,
                  in.x2, activePair.numbers.epsilonAlpha);
}

// Involute contact geometry, textbook relations: the line of action through
// the pitch point at the working pressure angle alphaW touches the base
// circles at T1 and T2, |T1T2| = a sin(alphaW); a tip circle of radius ra
// crosses it sqrt(ra^2 - rb^2) from the tangent point of its own gear.
void prepareMesh() {
    const PairNumbers& n = activePair.numbers;
    MeshLayout& s = pairCache.mesh;
    for (int i = 0; i < 2; ++i) {
        s.r[i] = n.gear[i].d / 2.0;
        s.rb[i] = n.gear[i].db / 2.0;
        s.ra[i] = n.gear[i].da / 2.0;
    }
    const double middle = (n.a + s.ra[1] - s.ra[0]) / 2.0;  // from gear 1's centre
    s.centre[0] = Point2{-middle, 0.0};
    s.centre[1] = Point2{n.a - middle, 0.0};
    s.fit = pairSpan / (n.a + s.ra[0] + s.ra[1]);
    // Gear 1 turns counter-clockwise and drives: contact runs from below the
    // centre line near gear 1 up to gear 2.
    const double c = std::cos(n.alphaW);
    const double sn = std::sin(n.alphaW);
    s.along = Point2{sn, c};
    s.t1 = plus(s.centre[0], Point2{s.rb[0] * c, -s.rb[0] * sn});
    s.t2 = plus(s.centre[1], Point2{-s.rb[1] * c, s.rb[1] * sn});
    s.lengthT1T2 = n.a * sn;
    s.pitchPoint = plus(s.t1, times(s.rb[0] * std::tan(n.alphaW), s.along));
    s.pathEnd = std::sqrt(s.ra[0] * s.ra[0] - s.rb[0] * s.rb[0]);
    s.pathStart = s.lengthT1T2 - std::sqrt(s.ra[1] * s.ra[1] - s.rb[1] * s.rb[1]);
    // Tooth 0 of gear 1 is symmetric about +x; half its angle on the base
    // circle is s / d + inv(alpha) with s = m (pi/2 + 2 x tan(alpha)). Its
    // counter-clockwise flank meets the tangent at polar angle -alphaW after
    // rb times the angle between the two.
    const GearNumbers& g1 = n.gear[0];
    const double halfToothBase = g1.s / g1.d + n.invAlpha;
    s.firstContact = s.rb[0] * (halfToothBase + n.alphaW);
    s.pb = n.pb;
    s.gearRatio = static_cast<double>(activePair.input.z1) / activePair.input.z2;
    formatTitles(pairCache.title, false);
    pairCache.outlineScale = 0.0;
    pairCache.ready = true;
}

double pairScale() { return pairCache.mesh.fit * viewScale / startViewScale; }

// Tolerance in mm of a quarter pixel at k window units per mm.
double quarterPixelAt(double k) { return quarterPixel / (pixelsPerUnit * k); }

void closeOutline(std::vector<Point2>& points) {
    if (!points.empty()) {
        points.push_back(points.front());
    }
}

void prepareOutlines() {
    if (pairCache.outlineScale == viewScale) {
        return;
    }
    const double tolerance = quarterPixelAt(pairScale());
    for (int i = 0; i < 2; ++i) {
        pairCache.outline[i].reserve(activePair.outline[i].points.size() + 1);
        simplifyOutline(activePair.outline[i].points, tolerance, pairCache.outline[i]);
        closeOutline(pairCache.outline[i]);
    }
    pairCache.outlineScale = viewScale;
}

void drawClosed(double k, const std::vector<Point2>& points, const Rgba& colour) {
    drawPolyline(k, points.data(), static_cast<int>(points.size()) - 1, colour);
}

// ---- Scene 8 -----------------------------------------------------------------

void prepareCutting() {
    CuttingCache& c = cuttingCache;
    const PairInput& in = activePair.input;
    const GearNumbers& g1 = activePair.numbers.gear[0];
    c.r = g1.d / 2.0;
    c.toothPitch = 2.0 * pi / in.z1;
    c.rollStep = keptRackTravel * in.m / c.r;
    c.fit = 2.0 / (cuttingPitches * pi * in.m);
    // The rack's datum line, x m above the reference circle, through the
    // window centre.
    c.blankCentre = Point2{0.0, -(c.r + in.x1 * in.m)};
    rackOutline(in, 0, rackTeeth, c.rack);
    const double reach = std::min(pi, slicePitches * c.toothPitch);
    c.referenceArc.clear();
    for (int i = 0; i <= referenceArcPoints; ++i) {
        const double t = -reach + 2.0 * reach * i / referenceArcPoints;
        c.referenceArc.push_back(Point2{c.r * std::cos(t), c.r * std::sin(t)});
    }
    formatTitles(c.title, true);
    c.outlineScale = 0.0;
    c.visited = false;
    c.ready = true;
}

double cuttingScale() { return cuttingCache.fit * viewScale / startViewScale; }

// Polar angle from -pi to pi.
double polarAngle(const Point2& p) { return std::atan2(p.y, p.x); }

double angleBetween(double from, double to) { return std::remainder(to - from, 2.0 * pi); }

// Gear 1's simplified outline from the middle of the tooth space slicePitches
// below +x to the one above, open; the whole closed outline where that would
// go round (z1 of 5 or less).
void prepareBlank() {
    CuttingCache& c = cuttingCache;
    if (c.outlineScale == viewScale) {
        return;
    }
    const std::vector<Point2>& raw = activePair.outline[0].points;
    c.fullOutline.reserve(raw.size() + 1);
    c.blank.reserve(raw.size() + 1);
    simplifyOutline(raw, quarterPixelAt(cuttingScale()), c.fullOutline);
    c.blank.clear();
    const double reach = slicePitches * c.toothPitch;
    const size_t n = c.fullOutline.size();
    if (reach >= pi || n < 2) {
        c.blank = c.fullOutline;
        closeOutline(c.blank);
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
    c.outlineScale = viewScale;
}

// Where the rack's frame sits, from the blank's centre, when the blank has
// turned by phi: rolling without slipping on the reference circle moves it by
// r phi, to the left while the blank turns counter-clockwise.
Point2 rackPlace(double phi) { return Point2{-cuttingCache.r * phi, cuttingCache.r}; }

void drawRackAt(double k, double turnSince, double phi, const Rgba& colour) {
    const CuttingCache& c = cuttingCache;
    // Push and pop rather than the inverse calls: up to 129 copies a frame
    // would pile up the rounding of as many turns and turns back.
    glPushMatrix();
    enterGearFrame(k, origin, c.blankCentre, turnSince);
    enterGearFrame(k, origin, rackPlace(phi), 0.0);
    drawPolyline(k, c.rack.data(), static_cast<int>(c.rack.size()) - 1, colour);
    glPopMatrix();
}

}  // namespace

void resetPairScenes() {
    pairCache.ready = false;
    cuttingCache.ready = false;
}

double pairSceneScale() {
    if (!pairCache.ready) {
        prepareMesh();
    }
    return pairScale();
}

const std::vector<Point2>& pairSceneOutline(int gear) { return pairCache.outline[gear]; }

int pairContactDistances(double* distances, int capacity) {
    if (!pairCache.ready) {
        prepareMesh();
    }
    const MeshLayout& s = pairCache.mesh;
    const double lo = std::max(s.pathStart, 0.0);
    const double hi = std::min(s.pathEnd, s.lengthT1T2);
    // Gear 1 turning by driveAngle carries every flank rb1 driveAngle along
    // the line of action; its drive flanks are one base pitch apart.
    const double base = s.firstContact + s.rb[0] * driveAngle;
    int count = 0;
    for (double j = std::ceil((lo - base) / s.pb); count < capacity; j += 1.0) {
        const double distance = base + j * s.pb;
        if (distance > hi) {
            break;
        }
        distances[count++] = distance;
    }
    return count;
}

double pathOfContactStart() {
    pairSceneScale();
    return pairCache.mesh.pathStart;
}

double pathOfContactEnd() {
    pairSceneScale();
    return pairCache.mesh.pathEnd;
}

void drawPairScene() {
    if (!pairCache.ready) {
        prepareMesh();
    }
    prepareOutlines();
    const MeshLayout& s = pairCache.mesh;
    drawTitle(firstTitleY, pairCache.title[0]);
    drawTitle(secondTitleY, pairCache.title[1]);
    stepDriveAngle();
    const double k = pairScale();

    for (int i = 0; i < 2; ++i) {
        const Point2 c = times(k, s.centre[i]);
        drawCircle(c, k * s.r[i], i == 0 ? PALE_RED : PALE_BLUE);
        drawCircle(c, k * s.rb[i], i == 0 ? LIGHT_RED : LIGHT_BLUE);
    }
    drawScaledLine(k, s.t1, s.t2, GREY);  // the line of action

    const double drivenTurn = activePair.phase2 - driveAngle * s.gearRatio;
    enterGearFrame(k, origin, s.centre[0], driveAngle);
    drawClosed(k, pairCache.outline[0], RED);
    leaveGearFrame(k, origin, s.centre[0], driveAngle);
    enterGearFrame(k, origin, s.centre[1], drivenTurn);
    drawClosed(k, pairCache.outline[1], BLUE);
    leaveGearFrame(k, origin, s.centre[1], drivenTurn);

    drawScaledLine(k, plus(s.t1, times(s.pathStart, s.along)), plus(s.t1, times(s.pathEnd, s.along)), GREEN);
    drawDisc(times(k, s.pitchPoint), contactDotRadius, BLACK);
    double contact[maxContactPoints];
    const int count = pairContactDistances(contact, maxContactPoints);
    for (int i = 0; i < count; ++i) {
        drawDisc(times(k, plus(s.t1, times(contact[i], s.along))), contactDotRadius, DARK_GREEN);
    }
}

void drawCuttingScene() {
    if (!cuttingCache.ready) {
        prepareCutting();
    }
    prepareBlank();
    CuttingCache& c = cuttingCache;
    drawTitle(firstTitleY, c.title[0]);
    drawTitle(secondTitleY, c.title[1]);
    stepDriveAngle();
    if (!c.visited) {
        c.lowest = driveAngle;
        c.highest = driveAngle;
        c.visited = true;
    }
    c.lowest = std::min(c.lowest, driveAngle);
    c.highest = std::max(c.highest, driveAngle);
    const double k = cuttingScale();

    // The rolling line: the reference circle's tangent at the top.
    const double rollY = c.blankCentre.y + c.r;
    drawScaledLine(k, Point2{-2.0 / k, rollY}, Point2{2.0 / k, rollY}, GREY);

    // The blank, drawn about the tooth nearest the top.
    const double blankTurn = pi / 2.0 + driveAngle;
    const double toTop = std::round((pi / 2.0 - blankTurn) / c.toothPitch) * c.toothPitch;
    enterGearFrame(k, origin, c.blankCentre, blankTurn + toTop);
    drawPolyline(k, c.referenceArc.data(), referenceArcPoints, PALE_RED);
    drawPolyline(k, c.blank.data(), static_cast<int>(c.blank.size()) - 1, RED);
    leaveGearFrame(k, origin, c.blankCentre, blankTurn + toTop);

    // The rack where it was, every rollStep of blank turn, carried round with
    // the blank since.
    const double lo = std::max(c.lowest, driveAngle - keptEachSide * c.rollStep);
    const double hi = std::min(c.highest, driveAngle + keptEachSide * c.rollStep);
    for (double j = std::ceil(lo / c.rollStep); j * c.rollStep <= hi; j += 1.0) {
        const double phi = j * c.rollStep;
        drawRackAt(k, driveAngle - phi, phi, GREEN);
    }
    drawRackAt(k, 0.0, driveAngle, BLUE);
}
