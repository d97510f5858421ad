// Scene 7: the gear pair of activePair in mesh, with the reference and base
// circles, the line of action, the path of contact, the pitch point and the
// contact points of the moment.
//
// What depends only on the pair (layout, titles) is worked out at the first
// frame after resetPairScenes; the outlines and circles thinned to a quarter
// pixel again whenever viewScale has changed. A frame itself only sets
// matrices and sends stored points: it allocates nothing.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/pair_state.h"
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
    std::snprintf(title[0], sizeof title[0], "(7) gear pair in mesh: z1=%d z2=%d m=%g alpha=%gdeg", in.z1, in.z2, in.m,
                  in.alphaDeg);
    std::snprintf(title[1], sizeof title[1], "     x1=%g x2=%g eps_alpha=%.3f   red: drive gear,  blue: driven", in.x1,
                  in.x2, n.epsilonAlpha);
}

// Scene 7's layout in mm, in a frame whose origin is the pitch point C. The
// picture zooms about C: a point p lands at pitchOnScreen + k p (window
// units), k = fit viewScale / 0.5, so that the mesh stays in view.
struct MeshLayout {
    Point2 centre[2];
    double r[2];       // reference radius d / 2
    double rb[2];      // base radius db / 2
    double ra[2];      // tip radius da / 2
    double fit;        // window units per mm at viewScale 0.5
    Point2 pitchOnScreen;  // window units: C; the pair's middle is at the window centre at viewScale 0.5
    Point2 t1;         // tangent points of the line of action on the base circles
    Point2 t2;
    Point2 along;      // unit vector from T1 to T2
    double lengthT1T2; // a sin(alphaW)
    double pathStart;  // mm from T1: gear 2's tip circle on the line of action
    double pathEnd;    // mm from T1: gear 1's tip circle
    double flankStart; // mm from T1: below this gear 1's involute is cut away (fillet, undercut)
    double flankEnd;   // mm from T1: beyond this the same holds for gear 2
    double firstContact;  // mm from T1: a drive flank of gear 1 at driveAngle 0
    double pb;
    double gearRatio;  // z1 / z2
};

struct PairCache {
    bool ready = false;
    MeshLayout mesh;
    char title[2][128];
    double zoomScale = 0.0;  // viewScale the point lists are made for; 0: not yet
    std::vector<Point2> outline[2];
    std::vector<Point2> circle;  // unit circle, fine enough for the largest circle drawn
};

PairCache pairCache;

// The least radius from which gear i's outline is the involute (within
// 0.001 m) all the way to the tip: below it the rack has cut the fillet, or
// undercut the flank. Read off tooth 0's counter-clockwise flank, whose
// involute has the polar angle s / d + inv(alpha) - inv(acos(rb / rho)) at
// radius rho: on the chord from the highest vertex off the involute to the
// next one up, the lowest point within 0.001 m of it.
double formRadius(int gear) {
    const PairNumbers& n = activePair.numbers;
    const GearNumbers& g = n.gear[gear];
    const double rb = g.db / 2.0;
    const double ra = g.da / 2.0;
    const double tolerance = 1e-3 * activePair.input.m;
    const double halfToothBase = g.s / g.d + n.invAlpha;
    const std::vector<Point2>& outline = activePair.outline[gear].points;
    const size_t count = outline.size();
    auto radius = [](const Point2& p) { return std::hypot(p.x, p.y); };
    auto onFlank = [&](const Point2& p) {
        const double polar = std::atan2(p.y, p.x);
        return polar >= 0.0 && polar <= pi / g.z && radius(p) < ra - tolerance;  // not another tooth, not the tip land
    };
    auto onInvolute = [&](const Point2& p) {
        const double rho = radius(p);
        return rho > rb && std::fabs(std::atan2(p.y, p.x) - (halfToothBase - involuteFunction(std::acos(rb / rho)))) *
                               rho <= tolerance;
    };
    size_t cut = count;  // the highest vertex of the flank off the involute
    for (size_t i = 0; i < count; ++i) {
        if (onFlank(outline[i]) && !onInvolute(outline[i]) && (cut == count || radius(outline[i]) > radius(outline[cut]))) {
            cut = i;
        }
    }
    if (cut == count) {
        return rb;
    }
    const Point2& low = outline[cut];
    const Point2& before = outline[(cut + count - 1) % count];
    const Point2& after = outline[(cut + 1) % count];
    const Point2& high = radius(before) > radius(after) ? before : after;
    double off = 0.0;  // along the chord: off the involute
    double on = 1.0;   // on it
    for (int i = 0; i < 50; ++i) {
        const double t = (off + on) / 2.0;
        (onInvolute(Point2{low.x + t * (high.x - low.x), low.y + t * (high.y - low.y)}) ? on : off) = t;
    }
    return radius(Point2{low.x + on * (high.x - low.x), low.y + on * (high.y - low.y)});
}

// Involute contact geometry, textbook relations: the line of action through
// the pitch point C at the working pressure angle alphaW touches the base
// circles at T1 and T2, |T1T2| = a sin(alphaW), |T1C| = rb1 tan(alphaW); a
// tip circle of radius ra crosses it sqrt(ra^2 - rb^2) from the tangent
// point of its own gear.
void prepareMesh() {
    const PairNumbers& n = activePair.numbers;
    MeshLayout& s = pairCache.mesh;
    for (int i = 0; i < 2; ++i) {
        s.r[i] = n.gear[i].d / 2.0;
        s.rb[i] = n.gear[i].db / 2.0;
        s.ra[i] = n.gear[i].da / 2.0;
    }
    // C divides the centre distance as the base radii do: rw1 = rb1 / cos(alphaW).
    const double rw1 = s.rb[0] / std::cos(n.alphaW);
    s.centre[0] = Point2{-rw1, 0.0};
    s.centre[1] = Point2{n.a - rw1, 0.0};
    s.fit = pairSpan / (n.a + s.ra[0] + s.ra[1]);
    // The middle of the span from gear 1's tip to gear 2's tip at the window centre.
    const double middle = (n.a + s.ra[1] - s.ra[0]) / 2.0;  // from gear 1's centre
    s.pitchOnScreen = Point2{s.fit * (rw1 - middle), 0.0};
    // Gear 1 turns counter-clockwise and drives: contact runs from below the
    // centre line near gear 1 up to gear 2.
    const double c = std::cos(n.alphaW);
    const double sn = std::sin(n.alphaW);
    s.along = Point2{sn, c};
    s.t1 = plus(s.centre[0], Point2{s.rb[0] * c, -s.rb[0] * sn});
    s.t2 = plus(s.centre[1], Point2{-s.rb[1] * c, s.rb[1] * sn});
    s.lengthT1T2 = n.a * sn;
    s.pathEnd = std::sqrt(s.ra[0] * s.ra[0] - s.rb[0] * s.rb[0]);
    s.pathStart = s.lengthT1T2 - std::sqrt(s.ra[1] * s.ra[1] - s.rb[1] * s.rb[1]);
    // An involute point of radius rho lies sqrt(rho^2 - rb^2) from its
    // gear's tangent point.
    const double form1 = formRadius(0);
    const double form2 = formRadius(1);
    s.flankStart = std::sqrt(std::max(form1 * form1 - s.rb[0] * s.rb[0], 0.0));
    s.flankEnd = s.lengthT1T2 - std::sqrt(std::max(form2 * form2 - s.rb[1] * s.rb[1], 0.0));
    // Tooth 0 of gear 1 is symmetric about +x; half its angle on the base
    // circle is s / d + inv(alpha) with s = m (pi/2 + 2 x tan(alpha)). Its
    // counter-clockwise flank meets the line of action, which touches the
    // base circle at polar angle -alphaW, rb times the angle between the two
    // from T1.
    const GearNumbers& g1 = n.gear[0];
    const double halfToothBase = g1.s / g1.d + n.invAlpha;
    s.firstContact = s.rb[0] * (halfToothBase + n.alphaW);
    s.pb = n.pb;
    s.gearRatio = static_cast<double>(activePair.input.z1) / activePair.input.z2;
    formatTitles(pairCache.title);
    pairCache.zoomScale = 0.0;
    pairCache.ready = true;
}

double pairScale() { return pairCache.mesh.fit * viewScale / startViewScale; }

// The point lists of scene 7 for the current zoom.
void prepareMeshPoints() {
    if (pairCache.zoomScale == viewScale) {
        return;
    }
    const double k = pairScale();
    const double tolerance = quarterPixelAt(k);
    for (int i = 0; i < 2; ++i) {
        std::vector<Point2>& outline = pairCache.outline[i];
        outline.reserve(activePair.outline[i].points.size() + 1);
        simplifyOutline(activePair.outline[i].points, tolerance, outline);
        if (!outline.empty()) {
            outline.push_back(outline.front());
        }
    }
    const double largest = std::max(pairCache.mesh.r[1], pairCache.mesh.r[0]);
    unitCircle(largest * k * pixelsPerUnit, pairCache.circle);
    pairCache.zoomScale = viewScale;
}

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

const std::vector<Point2>& pairSceneOutline(int gear) { return pairCache.outline[gear]; }

int pairContactDistances(double* distances, int capacity) {
    if (!pairCache.ready) {
        prepareMesh();
    }
    const MeshLayout& s = pairCache.mesh;
    const double lo = std::max({s.pathStart, s.flankStart, 0.0});
    const double hi = std::min({s.pathEnd, s.flankEnd, s.lengthT1T2});
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
    // Reference and base circles: the unit circle scaled by k times the radius.
    for (int i = 0; i < 2; ++i) {
        enterGearFrame(k, origin, s.centre[i], 0.0);
        drawPoints(k * s.r[i], pairCache.circle, i == 0 ? PALE_RED : PALE_BLUE);
        drawPoints(k * s.rb[i], pairCache.circle, i == 0 ? LIGHT_RED : LIGHT_BLUE);
        leaveGearFrame(k, origin, s.centre[i], 0.0);
    }
    drawScaledLine(k, s.t1, s.t2, GREY);  // the line of action

    const double drivenTurn = activePair.phase2 - driveAngle * s.gearRatio;
    enterGearFrame(k, origin, s.centre[0], driveAngle);
    drawPoints(k, pairCache.outline[0], RED);
    leaveGearFrame(k, origin, s.centre[0], driveAngle);
    enterGearFrame(k, origin, s.centre[1], drivenTurn);
    drawPoints(k, pairCache.outline[1], BLUE);
    leaveGearFrame(k, origin, s.centre[1], drivenTurn);

    drawScaledLine(k, plus(s.t1, times(s.pathStart, s.along)), plus(s.t1, times(s.pathEnd, s.along)), GREEN);
    drawDisc(origin, contactDotRadius, BLACK);  // C
    double contact[maxContactPoints];
    const int count = pairContactDistances(contact, maxContactPoints);
    for (int i = 0; i < count; ++i) {
        drawDisc(times(k, plus(s.t1, times(contact[i], s.along))), contactDotRadius, DARK_GREEN);
    }
    glPopMatrix();
}
