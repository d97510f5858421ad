// Scene 7: the gear pair of activePair in mesh, with the reference and base
// circles, the line of action, the path of contact, the pitch point and the
// contact points of the moment. Three kinds: two external gears side by side;
// the pinion inside its ring; the pinion on a rack below it.
//
// What depends only on the pair (layout, titles) is worked out at the first
// frame after resetPairScenes; the outlines and circles thinned to a quarter
// pixel again whenever viewScale has changed. A frame itself only sets
// matrices and sends stored points: it allocates nothing.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/pair_state.h"
#include "pair/cutting.h"
#include "pair/helical.h"
#include "pair/outline.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

constexpr double pairSpan = 1.5;         // window units from gear 1's tip to gear 2's tip
constexpr double contactDotRadius = 0.012;  // window units: contact points and pitch point
constexpr int maxContactPoints = 8;      // more than any contact ratio of an accepted pair

// "%g": shift coefficients and modules as typed.
void formatTitles(char (&title)[2][128]) {
    const PairInput& in = activePair.input;
    const PairNumbers& n = activePair.numbers;
    switch (in.kind) {
    case PairKind::external:
        std::snprintf(title[0], sizeof title[0], "(7) gear pair in mesh: z1=%d z2=%d m=%g alpha=%gdeg", in.z1, in.z2,
                      in.m, in.alphaDeg);
        std::snprintf(title[1], sizeof title[1], "     x1=%g x2=%g eps_alpha=%.3f   red: drive gear,  blue: driven",
                      in.x1, in.x2, n.epsilonAlpha);
        break;
    case PairKind::internal:
        std::snprintf(title[0], sizeof title[0], "(7) internal pair: z1=%d z2=%d m=%g alpha=%gdeg x1=%g x2=%g", in.z1,
                      in.z2, in.m, in.alphaDeg, in.x1, in.x2);
        std::snprintf(title[1], sizeof title[1], "     alphaw=%.3fdeg a=%.3f eps_alpha=%.3f   red: pinion,  blue: ring",
                      n.alphaW / degToRad, n.a, n.epsilonAlpha);
        break;
    case PairKind::rack:
        std::snprintf(title[0], sizeof title[0], "(7) rack and pinion: z1=%d m=%g alpha=%gdeg x1=%g", in.z1, in.m,
                      in.alphaDeg, in.x1);
        std::snprintf(title[1], sizeof title[1], "     a=%.3f (to datum) eps_alpha=%.3f   red: pinion,  blue: rack",
                      n.a, n.epsilonAlpha);
        break;
    }
    if (n.helix.beta != 0.0) {
        // Helical: m, alpha and x are normal; the picture is the transverse
        // section. eps_beta follows eps_alpha, before the colours.
        const size_t used = std::strlen(title[0]);
        std::snprintf(title[0] + used, sizeof title[0] - used, " beta=%gdeg (transverse)", in.betaDeg);
        char* colours = std::strstr(title[1], "   red:");
        if (colours != nullptr) {
            const std::string rest = colours;
            std::snprintf(colours, sizeof title[1] - static_cast<size_t>(colours - title[1]), " eps_beta=%.3f%s",
                          n.helix.epsilonBeta, rest.c_str());
        }
    }
}

// Scene 7's layout in mm, in a frame whose origin is the pitch point C. The
// picture zooms about C: a point p lands at pitchOnScreen + k p (window
// units), k = fit viewScale / 0.5, so that the mesh stays in view.
// External and internal pairs have their centres on the x axis with gear 1's
// to the left of C; the ring's centre lies further left still (C on the far
// side of the pinion from it). The rack's pair is the same picture turned a
// quarter turn clockwise: the pinion above C, the rack's datum line
// horizontal below it.
struct MeshLayout {
    PairKind kind;
    Point2 centre[2];  // gear 1's centre; gear 2's (rack: where its datum line crosses the vertical through C at drive angle 0)
    double turn0;      // gear 1's turn at drive angle 0: tooth 0 points at C
    double r[2];       // reference radius d / 2
    double rb[2];      // base radius db / 2
    double ra[2];      // tip radius da / 2
    double fit;        // window units per mm at viewScale 0.5
    Point2 pitchOnScreen;  // window units: C
    Point2 t1;         // tangent points of the line of action on the base circles
    Point2 t2;
    Point2 along;      // unit vector along the line of action, the way gear 1 drives the contact
    Point2 lineEnd;    // the far end of the line of action as drawn (external: T2)
    double lengthT1T2; // a sin(alphaW); behind T1 for a ring, so no limit on the path; none for a rack
    double pathStart;  // mm from T1: gear 2's tip (the rack's tip line) on the line of action
    double pathEnd;    // mm from T1: gear 1's tip circle
    double flankStart; // mm from T1: below this gear 1's involute is cut away (fillet, undercut)
    double flankEnd;   // mm from T1: beyond this the same holds for gear 2
    double firstContact;  // mm from T1: a drive flank of gear 1 at driveAngle 0
    double pb;
    double gearRatio;  // z1 / z2: a ring turns with the pinion at this ratio, an external gear back
    double rackDatum;  // rack: the datum line's height, mm from C (-x1 m)
    double rackBack;   // rack: its back edge, mm below the datum line
    double rackPitch;  // rack: pi m
};

struct PairCache {
    bool ready = false;
    MeshLayout mesh;
    char title[2][128];
    double zoomScale = 0.0;  // viewScale the point lists are made for; 0: not yet
    std::vector<Point2> outline[2];
    std::vector<Point2> rim;     // the ring's, thinned, closed
    std::vector<Point2> circle;  // unit circle, fine enough for the largest circle drawn
    // The rack: one pitch from the middle of a tooth to the next, in the
    // rack's frame (x along the datum line, y up from it, a space centred at
    // x = 0), and as drawn: rackTeeth of them, thinned, the middle one centred
    // at x = 0.
    std::vector<Point2> rackOnePitch;
    std::vector<char> keep;
    int rackTeeth = 0;
};

PairCache pairCache;

constexpr int maxRackTeeth = 801;  // rack pitches drawn, whatever the zoom

// The quarter turn clockwise that takes the side-by-side picture to the rack's.
Point2 quarterClockwise(const Point2& p) { return Point2{p.y, -p.x}; }

double radius(const Point2& p) { return std::hypot(p.x, p.y); }

// The radius that bounds gear i's involute flank: for an external gear the
// least radius from which its outline is the involute (within 0.001 m) all
// the way to the tip, for a ring the greatest radius up to which it is the
// involute from its tip; beyond it the cutter has cut the fillet (trochoid),
// or undercut the flank. Read off the flank of tooth 0 (external) or of the
// space beside it (ring) that faces counter-clockwise: an external tooth of
// thickness s, like a ring's space of width e = pi m - s, is bounded at
// radius rho by the involute at polar angle s / d + inv(alpha) -
// inv(acos(rb / rho)) from its middle. On the chord from the vertex off the
// involute nearest the tip to the next one towards the tip, the point within
// 0.001 m of the involute nearest the root.
double formRadius(int gear) {
    const PairNumbers& n = activePair.numbers;
    const GearNumbers& g = n.gear[gear];
    const bool ring = gear == 1 && activePair.input.kind == PairKind::internal;
    const double rb = g.db / 2.0;
    const double ra = g.da / 2.0;
    const double tolerance = 1e-3 * activePair.input.m;
    const double width = ring ? pi * transverseInput(activePair.input).m - g.s : g.s;  // a helical pair's mt  // of the tooth, or of the ring's space
    const double halfBase = width / g.d + n.invAlpha;
    const std::vector<Point2>& outline = activePair.outline[gear].points;
    const size_t count = outline.size();
    if (count < 3) {
        return ring ? g.df / 2.0 : rb;
    }
    // The middle of what the involute bounds: tooth 0 on +x, or for a ring
    // the space beside its tooth on +x (or the space on +x, if the ring's
    // outline has its space there).
    double middle = 0.0;
    if (ring) {
        size_t nearest = 0;
        for (size_t i = 1; i < count; ++i) {
            if (std::fabs(std::atan2(outline[i].y, outline[i].x)) < std::fabs(std::atan2(outline[nearest].y, outline[nearest].x))) {
                nearest = i;
            }
        }
        middle = radius(outline[nearest]) < (g.da + g.df) / 4.0 ? pi / g.z : 0.0;
    }
    auto polar = [&](const Point2& p) { return std::remainder(std::atan2(p.y, p.x) - middle, 2.0 * pi); };
    auto onFlank = [&](const Point2& p) {
        const double t = polar(p);
        // not another tooth, not the tip land
        return t >= 0.0 && t <= pi / g.z && (ring ? radius(p) > ra + tolerance : radius(p) < ra - tolerance);
    };
    auto onInvolute = [&](const Point2& p) {
        const double rho = radius(p);
        return rho > rb && std::fabs(polar(p) - (halfBase - involuteFunction(std::acos(rb / rho)))) * rho <= tolerance;
    };
    // Nearest the tip: the highest vertex of an external flank, the lowest of a ring's.
    auto nearerTip = [&](const Point2& p, const Point2& q) { return ring ? radius(p) < radius(q) : radius(p) > radius(q); };
    size_t cut = count;  // the vertex of the flank off the involute nearest the tip
    for (size_t i = 0; i < count; ++i) {
        if (onFlank(outline[i]) && !onInvolute(outline[i]) && (cut == count || nearerTip(outline[i], outline[cut]))) {
            cut = i;
        }
    }
    if (cut == count) {
        return ring ? g.df / 2.0 : rb;
    }
    const Point2& low = outline[cut];
    const Point2& before = outline[(cut + count - 1) % count];
    const Point2& after = outline[(cut + 1) % count];
    const Point2& high = nearerTip(before, after) ? before : after;
    double off = 0.0;  // along the chord: off the involute
    double on = 1.0;   // on it
    for (int i = 0; i < 50; ++i) {
        const double t = (off + on) / 2.0;
        (onInvolute(Point2{low.x + t * (high.x - low.x), low.y + t * (high.y - low.y)}) ? on : off) = t;
    }
    return radius(Point2{low.x + on * (high.x - low.x), low.y + on * (high.y - low.y)});
}

// One pitch of the pair's rack, from the middle of the tooth at x = -pi m / 2
// to the next, in its own frame (x along the datum line, y up from it
// towards the pinion, a space centred at x = 0): its teeth's edge, which
// rises and falls with x, taken from the rack's outline.
void rackOnePitch(std::vector<Point2>& points) {
    const double m = activePair.input.m;
    const double half = pi * transverseInput(activePair.input).m / 2.0;  // a helical rack's transverse pitch
    const double back = -rackBackModules * m;
    points.clear();
    double top = back;
    for (const Point2& p : activePair.outline[1].points) {
        top = std::max(top, p.y);
        if (std::fabs(p.x) < half && p.y > back + 0.01 * m) {
            points.push_back(p);
        }
    }
    std::sort(points.begin(), points.end(), [](const Point2& p, const Point2& q) { return p.x < q.x; });
    points.insert(points.begin(), Point2{-half, top});
    points.push_back(Point2{half, top});
}

// Involute contact geometry, textbook relations: the line of action through
// the pitch point C at the working pressure angle alphaW touches the base
// circles at T1 and T2, |T1T2| = a sin(alphaW), |T1C| = rb1 tan(alphaW); a
// tip circle of radius ra crosses it sqrt(ra^2 - rb^2) from the tangent
// point of its own gear. For a ring T2 lies behind T1, on the same side of C:
// its tip circle crosses the line sqrt(ra2^2 - rb2^2) - a sin(alphaW) from T1.
// A rack's tip line crosses the path of contact ga before gear 1's tip does.
void prepareMesh() {
    const PairNumbers& n = activePair.numbers;
    const PairKind kind = activePair.input.kind;
    MeshLayout& s = pairCache.mesh;
    s.kind = kind;
    for (int i = 0; i < 2; ++i) {
        s.r[i] = n.gear[i].d / 2.0;
        s.rb[i] = n.gear[i].db / 2.0;
        s.ra[i] = n.gear[i].da / 2.0;
    }
    // C divides the centre distance as the base radii do: rw1 = rb1 / cos(alphaW).
    const double rw1 = s.rb[0] / std::cos(n.alphaW);
    const double c = std::cos(n.alphaW);
    const double sn = std::sin(n.alphaW);
    s.centre[0] = Point2{-rw1, 0.0};
    s.turn0 = 0.0;
    s.along = Point2{sn, c};
    s.t1 = plus(s.centre[0], Point2{s.rb[0] * c, -s.rb[0] * sn});
    s.pathEnd = std::sqrt(s.ra[0] * s.ra[0] - s.rb[0] * s.rb[0]);
    const double form1 = formRadius(0);
    s.flankStart = std::sqrt(std::max(form1 * form1 - s.rb[0] * s.rb[0], 0.0));
    s.pb = n.pb;
    s.gearRatio = static_cast<double>(activePair.input.z1) / activePair.input.z2;
    if (kind == PairKind::external) {
        s.centre[1] = Point2{n.a - rw1, 0.0};
        s.fit = pairSpan / (n.a + s.ra[0] + s.ra[1]);
        // The middle of the span from gear 1's tip to gear 2's tip at the window centre.
        const double middle = (n.a + s.ra[1] - s.ra[0]) / 2.0;  // from gear 1's centre
        s.pitchOnScreen = Point2{s.fit * (rw1 - middle), 0.0};
        s.t2 = plus(s.centre[1], Point2{-s.rb[1] * c, s.rb[1] * sn});
        s.lineEnd = s.t2;
        s.lengthT1T2 = n.a * sn;
        s.pathStart = s.lengthT1T2 - std::sqrt(s.ra[1] * s.ra[1] - s.rb[1] * s.rb[1]);
        // An involute point of radius rho lies sqrt(rho^2 - rb^2) from its
        // gear's tangent point.
        const double form2 = formRadius(1);
        s.flankEnd = s.lengthT1T2 - std::sqrt(std::max(form2 * form2 - s.rb[1] * s.rb[1], 0.0));
    } else if (kind == PairKind::internal) {
        // The pair's own frame (the ring's centre at (a, 0), the mesh on the
        // pinion's -x side) turned by a half turn: the mesh on the right.
        s.centre[1] = Point2{-rw1 - n.a, 0.0};
        s.turn0 = pi;
        // The ring with its rim, centred in the window.
        double rim = n.gear[1].df / 2.0;
        for (const Point2& p : activePair.rim.points) {
            rim = std::max(rim, radius(p));
        }
        s.fit = pairSpan / (2.0 * rim);
        s.pitchOnScreen = Point2{s.fit * (rw1 + n.a), 0.0};
        s.t2 = plus(s.centre[1], Point2{s.rb[1] * c, -s.rb[1] * sn});
        s.lengthT1T2 = -n.a * sn;
        s.pathStart = std::sqrt(s.ra[1] * s.ra[1] - s.rb[1] * s.rb[1]) - n.a * sn;
        const double form2 = formRadius(1);
        s.flankEnd = std::sqrt(std::max(form2 * form2 - s.rb[1] * s.rb[1], 0.0)) - n.a * sn;
        s.lineEnd = plus(s.t1, times(s.pathEnd + s.pb / 2.0, s.along));
    } else {
        rackOnePitch(pairCache.rackOnePitch);
        s.rackBack = -rackBackModules * activePair.input.m;
        s.rackPitch = pi * transverseInput(activePair.input).m;
        s.rackDatum = -activePair.input.x1 * activePair.input.m;
        // Turned a quarter clockwise: the pinion above C, tooth 0 pointing down.
        s.centre[0] = quarterClockwise(s.centre[0]);
        // The pair's own frame is not turned: the pinion's tooth 0 on +x, the
        // rack's origin rackShift along its datum line from below the pinion's centre.
        s.centre[1] = Point2{activePair.rackShift, s.rackDatum};
        s.turn0 = 0.0;
        s.along = quarterClockwise(s.along);
        s.t1 = quarterClockwise(s.t1);
        const double top = s.centre[0].y + s.ra[0];
        const double bottom = s.rackDatum + s.rackBack;
        s.fit = pairSpan / (top - bottom);
        s.pitchOnScreen = Point2{0.0, pairSpan / 2.0 - s.fit * top};
        s.lengthT1T2 = INFINITY;
        s.pathStart = s.pathEnd - n.ga;
        s.flankEnd = INFINITY;
        // Down to the rack's back edge.
        s.lineEnd = plus(s.t1, times((s.t1.y - bottom) / -s.along.y, s.along));
    }
    // Tooth 0 of gear 1 is symmetric about +x; half its angle on the base
    // circle is s / d + inv(alpha) with s = m (pi/2 + 2 x tan(alpha)). Its
    // counter-clockwise flank meets the line of action, which touches the
    // base circle at polar angle -alphaW, rb times the angle between the two
    // from T1; the ring's pinion starts a half turn on, the rack's a quarter
    // turn on against the picture turned a quarter clockwise.
    const GearNumbers& g1 = n.gear[0];
    const double halfToothBase = g1.s / g1.d + n.invAlpha;
    const double startTurn = kind == PairKind::internal ? pi : kind == PairKind::rack ? pi / 2.0 : 0.0;
    s.firstContact = s.rb[0] * (halfToothBase + n.alphaW + startTurn);
    formatTitles(pairCache.title);
    pairCache.zoomScale = 0.0;
    pairCache.ready = true;
}

double pairScale() { return pairCache.mesh.fit * viewScale / startViewScale; }

// The rack for the current zoom: enough pitches to cross the window, each
// thinned to a quarter pixel.
void prepareRackPoints(double k, double tolerance) {
    const std::vector<Point2>& one = pairCache.rackOnePitch;
    std::vector<char>& keep = pairCache.keep;
    keep.assign(one.size(), 0);
    thin(one, 0, one.size() - 1, tolerance, keep);
    const MeshLayout& s = pairCache.mesh;
    // The window is 2 units wide, C in its middle; a pitch more each side for the slide.
    const double halfTeeth = std::min(std::ceil(1.0 / (k * s.rackPitch)) + 1.0, double{maxRackTeeth / 2});
    pairCache.rackTeeth = 2 * static_cast<int>(halfTeeth) + 1;
    std::vector<Point2>& rack = pairCache.outline[1];
    rack.clear();
    for (int t = 0; t < pairCache.rackTeeth; ++t) {
        const double shift = (t - (pairCache.rackTeeth - 1) / 2) * s.rackPitch;
        for (size_t i = t == 0 ? 0 : 1; i < one.size(); ++i) {
            if (keep[i]) {
                rack.push_back(Point2{one[i].x + shift, one[i].y});
            }
        }
    }
}

// The point lists of scene 7 for the current zoom.
void prepareMeshPoints() {
    if (pairCache.zoomScale == viewScale) {
        return;
    }
    const double k = pairScale();
    const double tolerance = quarterPixelAt(k);
    const int gears = pairCache.mesh.kind == PairKind::rack ? 1 : 2;
    for (int i = 0; i < gears; ++i) {
        std::vector<Point2>& outline = pairCache.outline[i];
        outline.reserve(activePair.outline[i].points.size() + 1);
        simplifyOutline(activePair.outline[i].points, tolerance, outline);
        if (!outline.empty()) {
            outline.push_back(outline.front());
        }
    }
    if (gears == 1) {
        prepareRackPoints(k, tolerance);
    }
    pairCache.rim.reserve(activePair.rim.points.size() + 1);
    simplifyOutline(activePair.rim.points, tolerance, pairCache.rim);
    if (!pairCache.rim.empty()) {
        pairCache.rim.push_back(pairCache.rim.front());
    }
    const double largest = std::max(pairCache.mesh.r[1], pairCache.mesh.r[0]);
    unitCircle(largest * k * pixelsPerUnit, pairCache.circle);
    pairCache.zoomScale = viewScale;
}

// Where gear 2 stands at the current drive angle: its turn about its centre
// (external: back by z1 / z2; ring: with the pinion by z1 / z2), or for the
// rack its slide of r1 driveAngle, the pinion's reference circle rolling
// on the rack's rolling line.
double drivenTurn() {
    const MeshLayout& s = pairCache.mesh;
    if (s.kind == PairKind::internal) {
        return pi + activePair.phase2 + driveAngle * s.gearRatio;
    }
    return activePair.phase2 - driveAngle * s.gearRatio;
}

double rackSlide() { return pairCache.mesh.r[0] * driveAngle; }

}  // namespace

void pairscene::resetMeshScene() { pairCache.ready = false; }

double pairSceneScale() {
    if (!pairCache.ready) {
        prepareMesh();
    }
    return pairScale();
}

Point2 pairSceneToWindow(const Point2& p) {
    const double k = pairSceneScale();
    return plus(pairCache.mesh.pitchOnScreen, times(k, p));
}

Point2 pairSceneCentre(int gear) {
    pairSceneScale();
    return pairCache.mesh.centre[gear];
}

ScenePlacement pairScenePlacement(int gear) {
    pairSceneScale();
    const MeshLayout& s = pairCache.mesh;
    if (gear == 0) {
        return ScenePlacement{s.centre[0], s.turn0 + driveAngle};
    }
    if (s.kind == PairKind::rack) {
        return ScenePlacement{Point2{s.centre[1].x + rackSlide(), s.centre[1].y}, 0.0};
    }
    return ScenePlacement{s.centre[1], drivenTurn()};
}

const std::vector<Point2>& pairSceneOutline(int gear) { return pairCache.outline[gear]; }

int pairContactDistances(double* distances, int capacity) {
    if (!pairCache.ready) {
        prepareMesh();
    }
    const MeshLayout& s = pairCache.mesh;
    const double lo = std::max({s.pathStart, s.flankStart, 0.0});
    const double hi = s.kind == PairKind::external ? std::min({s.pathEnd, s.flankEnd, s.lengthT1T2})
                                                   : std::min(s.pathEnd, s.flankEnd);
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

Point2 pairContactPoint(double distance) {
    pairSceneScale();
    const MeshLayout& s = pairCache.mesh;
    return plus(s.t1, times(distance, s.along));
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
    prepareMeshPoints();
    const MeshLayout& s = pairCache.mesh;
    drawTitle(firstTitleY, pairCache.title[0]);
    drawTitle(secondTitleY, pairCache.title[1]);
    stepDriveAngle();
    const double k = pairScale();

    // Everything below in the frame of the pitch point C. Push and pop: at an
    // extreme zoom a translation and its inverse would not cancel in Mesa's
    // single precision.
    glPushMatrix();
    enterGearFrame(1.0, origin, s.pitchOnScreen, 0.0);
    // Reference and base circles: the unit circle scaled by k times the
    // radius; the rack's datum line across the window.
    const int circles = s.kind == PairKind::rack ? 1 : 2;
    for (int i = 0; i < circles; ++i) {
        enterGearFrame(k, origin, s.centre[i], 0.0);
        drawPoints(k * s.r[i], pairCache.circle, i == 0 ? PALE_RED : PALE_BLUE);
        drawPoints(k * s.rb[i], pairCache.circle, i == 0 ? LIGHT_RED : LIGHT_BLUE);
        leaveGearFrame(k, origin, s.centre[i], 0.0);
    }
    const double halfWidth = 1.0 / k;  // mm: C is in the window's middle across
    if (s.kind == PairKind::rack) {
        drawScaledLine(k, Point2{-halfWidth, s.rackDatum}, Point2{halfWidth, s.rackDatum}, PALE_BLUE);
    }
    drawScaledLine(k, s.kind == PairKind::internal ? s.t2 : s.t1, s.lineEnd, GREY);  // the line of action

    const ScenePlacement first = pairScenePlacement(0);
    enterGearFrame(k, origin, first.origin, first.turn);
    drawPoints(k, pairCache.outline[0], RED);
    leaveGearFrame(k, origin, first.origin, first.turn);
    if (s.kind == PairKind::rack) {
        // The rack's pitches around C, moved by whole pitches to stay there,
        // and its back edge.
        const double slide = s.centre[1].x + rackSlide();
        const Point2 at{slide - std::round(slide / s.rackPitch) * s.rackPitch, s.rackDatum};
        glPushMatrix();
        enterGearFrame(k, origin, at, 0.0);
        drawPolyline(k, pairCache.outline[1].data(), static_cast<int>(pairCache.outline[1].size()) - 1, BLUE);
        glPopMatrix();
        const double back = s.rackDatum + s.rackBack;
        drawScaledLine(k, Point2{-halfWidth, back}, Point2{halfWidth, back}, BLUE);
    } else {
        const double turn = drivenTurn();
        enterGearFrame(k, origin, s.centre[1], turn);
        drawPoints(k, pairCache.outline[1], BLUE);
        if (!pairCache.rim.empty()) {
            drawPoints(k, pairCache.rim, BLUE);
        }
        leaveGearFrame(k, origin, s.centre[1], turn);
    }

    drawScaledLine(k, plus(s.t1, times(s.pathStart, s.along)), plus(s.t1, times(s.pathEnd, s.along)), GREEN);
    drawDisc(origin, contactDotRadius, BLACK);  // C
    double contact[maxContactPoints];
    const int count = pairContactDistances(contact, maxContactPoints);
    for (int i = 0; i < count; ++i) {
        drawDisc(times(k, plus(s.t1, times(contact[i], s.along))), contactDotRadius, DARK_GREEN);
    }
    glPopMatrix();
}
