// Scene 7: the gear pair of activePair in mesh, with the reference and base
// circles, the line of action, the path of contact, the pitch point and the
// contact points of the moment. Three kinds: two external gears side by side;
// the pinion inside its ring; the pinion on a rack below it. Where the teeth
// touch comes from the pair's mesh (pair/mesh.h, activeMesh): this scene
// only lays the pair out and draws it.
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
#include "pair/cutting/cutting.h"
#include "pair/mesh/mesh.h"
#include "pair/inputs/helical.h"
#include "pair/outline/outline.h"
#include "pair/pair_kind.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

constexpr double pairSpan = 1.5;         // window units from gear 1's tip to gear 2's tip
constexpr double contactDotRadius = 0.012;  // window units: contact points and pitch point

// Each kind's two title lines; "%g": shift coefficients and modules as typed.
void titleExternal(const PairInput& in, const PairNumbers& n, char (&title)[2][128]) {
    std::snprintf(title[0], sizeof title[0], "(7) gear pair in mesh: z1=%d z2=%d m=%g alpha=%gdeg", in.z1, in.z2, in.m,
                  in.alphaDeg);
    std::snprintf(title[1], sizeof title[1], "     x1=%g x2=%g eps_alpha=%.3f   red: drive gear,  blue: driven", in.x1,
                  in.x2, n.epsilonAlpha);
}

void titleInternal(const PairInput& in, const PairNumbers& n, char (&title)[2][128]) {
    std::snprintf(title[0], sizeof title[0], "(7) internal pair: z1=%d z2=%d m=%g alpha=%gdeg x1=%g x2=%g", in.z1,
                  in.z2, in.m, in.alphaDeg, in.x1, in.x2);
    std::snprintf(title[1], sizeof title[1], "     alphaw=%.3fdeg a=%.3f eps_alpha=%.3f   red: pinion,  blue: ring",
                  n.alphaW / degToRad, n.a, n.epsilonAlpha);
}

void titleRack(const PairInput& in, const PairNumbers& n, char (&title)[2][128]) {
    std::snprintf(title[0], sizeof title[0], "(7) rack and pinion: z1=%d m=%g alpha=%gdeg x1=%g", in.z1, in.m,
                  in.alphaDeg, in.x1);
    std::snprintf(title[1], sizeof title[1], "     a=%.3f (to datum) eps_alpha=%.3f   red: pinion,  blue: rack", n.a,
                  n.epsilonAlpha);
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
    bool gear2IsRack;  // gear 2 is a rack: drawn as its pitches round C, with its datum line and back edge
    Point2 centre[2];  // gear 1's centre; gear 2's (rack: where its datum line crosses the vertical through C at drive angle 0)
    double turn0;      // the picture's turn of the pair's own frame: pi for a ring (the mesh on the right), else 0
    double r[2];       // reference radius d / 2
    double rb[2];      // base radius db / 2
    double ra[2];      // tip radius da / 2
    double fit;        // window units per mm at viewScale 0.5
    Point2 pitchOnScreen;  // window units: C
    Point2 t1;         // tangent points of the line of action on the base circles
    Point2 t2;
    Point2 along;      // unit vector along the line of action, the way gear 1 drives the contact
    Point2 lineStart;  // the line of action as drawn: from T1 (a ring's: from T2, behind T1)
    Point2 lineEnd;    // to its far end (external: T2)
    double rackDatum;  // rack: the datum line's height, mm from C (-x1 m)
    double rackBack;   // rack: its back edge, mm below the datum line
    double rackPitch;  // rack: pi m
};

struct PairCache {
    bool ready = false;
    MeshLayout mesh;
    char title[2][128];
    double pointsScale = 0.0;  // window units per mm the point lists are made for; 0: not yet
    double pointsReach = 0.0;  // and the reach of the rack across the window from C, window units
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

// One pitch of the pair's rack, from the middle of the tooth at x = -pi m / 2
// to the next, in its own frame (x along the datum line, y up from it
// towards the pinion, a space centred at x = 0): its teeth's edge, which
// rises and falls with x, taken from the rack's outline.
void rackOnePitch(std::vector<Point2>& points) {
    const double m = activePair.input.m;
    const double half = pi * activePair.numbers.section.spur().m / 2.0;  // a helical rack's transverse pitch
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

// Scene 7's layout of each kind, the table below choosing: where the
// picture puts the centres, the line of action and C, and its scale.
// Involute contact geometry, textbook relations: the line of action through
// the pitch point C at the working pressure angle alphaW touches the base
// circles at T1 and T2, |T1T2| = a sin(alphaW), |T1C| = rb1 tan(alphaW).
// Each is handed rw1 and the cosine and sine of alphaW; gear 1's centre,
// the line of action's direction and T1 are set before, for the pair side
// by side.
void layOutExternal(MeshLayout& s, const PairNumbers& n, double rw1, double c, double sn) {
    s.centre[1] = Point2{n.a - rw1, 0.0};
    s.fit = pairSpan / (n.a + s.ra[0] + s.ra[1]);
    // The middle of the span from gear 1's tip to gear 2's tip at the window centre.
    const double middle = (n.a + s.ra[1] - s.ra[0]) / 2.0;  // from gear 1's centre
    s.pitchOnScreen = Point2{s.fit * (rw1 - middle), 0.0};
    s.t2 = plus(s.centre[1], Point2{-s.rb[1] * c, s.rb[1] * sn});
    s.lineStart = s.t1;
    s.lineEnd = s.t2;
}

void layOutInternal(MeshLayout& s, const PairNumbers& n, double rw1, double c, double sn) {
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
    // From T2, behind T1, to half a base pitch beyond gear 1's tip.
    s.lineStart = s.t2;
    s.lineEnd = plus(s.t1, times(activeMesh.end + activeMesh.path.pb / 2.0, s.along));
}

void layOutRack(MeshLayout& s, const PairNumbers&, double, double, double) {
    rackOnePitch(pairCache.rackOnePitch);
    s.gear2IsRack = true;
    s.rackBack = -rackBackModules * activePair.input.m;
    s.rackPitch = pi * activePair.input.m;
    s.rackDatum = -activePair.input.x1 * activePair.input.m;
    // Turned a quarter clockwise: the pinion above C, tooth 0 pointing down.
    s.centre[0] = quarterClockwise(s.centre[0]);
    // The pair's own frame is not turned: the pinion's tooth 0 on +x, the
    // rack's origin rackShift along its datum line from below the pinion's centre.
    s.centre[1] = Point2{activePair.rackShift, s.rackDatum};
    s.along = quarterClockwise(s.along);
    s.t1 = quarterClockwise(s.t1);
    const double top = s.centre[0].y + s.ra[0];
    const double bottom = s.rackDatum + s.rackBack;
    s.fit = pairSpan / (top - bottom);
    s.pitchOnScreen = Point2{0.0, pairSpan / 2.0 - s.fit * top};
    // Down to the rack's back edge.
    s.lineStart = s.t1;
    s.lineEnd = plus(s.t1, times((s.t1.y - bottom) / -s.along.y, s.along));
}

// A helical pair: m, alpha and x are normal, the picture is its transverse
// section; beta after the first line, eps_beta after eps_alpha.
void addHelixToTitles(const PairInput& in, const PairNumbers& n, char (&title)[2][128]) {
    if (n.helix.beta == 0.0) {
        return;
    }
    const size_t used = std::strlen(title[0]);
    std::snprintf(title[0] + used, sizeof title[0] - used, " beta=%gdeg (transverse)", in.betaDeg);
    char* colours = std::strstr(title[1], "   red:");
    if (colours != nullptr) {
        const std::string rest = colours;
        std::snprintf(colours, sizeof title[1] - static_cast<size_t>(colours - title[1]), " eps_beta=%.3f%s",
                      n.helix.epsilonBeta, rest.c_str());
    }
}

struct KindPicture {
    void (*layOut)(MeshLayout& s, const PairNumbers& n, double rw1, double c, double sn);
    void (*title)(const PairInput& in, const PairNumbers& n, char (&title)[2][128]);
};

// In the order of PairKind.
const KindPicture kindPictures[pairKindCount] = {
    {layOutExternal, titleExternal},
    {layOutInternal, titleInternal},
    {layOutRack, titleRack},
    {layOutExternal, titleExternal},  // a planetary set: its sun–planet pair
};

void prepareMesh() {
    const PairNumbers& n = activePair.numbers;
    MeshLayout& s = pairCache.mesh;
    s = MeshLayout{};
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
    const KindPicture& picture = kindPictures[static_cast<int>(activePair.input.kind)];
    picture.layOut(s, n, rw1, c, sn);
    picture.title(activePair.input, n, pairCache.title);
    addHelixToTitles(activePair.input, n, pairCache.title);
    pairCache.pointsScale = 0.0;
    pairCache.ready = true;
}

double pairScale() { return pairCache.mesh.fit * viewScale / startViewScale; }

// The rack for the current zoom: enough pitches to cross the window, each
// thinned to a quarter pixel.
void prepareRackPoints(double k, double tolerance, double reach) {
    const std::vector<Point2>& one = pairCache.rackOnePitch;
    std::vector<char>& keep = pairCache.keep;
    keep.assign(one.size(), 0);
    thin(one, 0, one.size() - 1, tolerance, keep);
    const MeshLayout& s = pairCache.mesh;
    // The window reaches `reach` units from C either way; a pitch more each side for the slide.
    const double halfTeeth = std::min(std::ceil(reach / (k * s.rackPitch)) + 1.0, double{maxRackTeeth / 2});
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

// The point lists for k window units per mm, the window reaching `reach`
// window units from C to either side.
void prepareMeshPoints(double k, double reach) {
    if (pairCache.pointsScale == k && pairCache.pointsReach == reach) {
        return;
    }
    const double tolerance = quarterPixelAt(k);
    const int gears = pairCache.mesh.gear2IsRack ? 1 : 2;
    for (int i = 0; i < gears; ++i) {
        std::vector<Point2>& outline = pairCache.outline[i];
        outline.reserve(activePair.outline[i].points.size() + 1);
        simplifyOutline(activePair.outline[i].points, tolerance, outline);
        if (!outline.empty()) {
            outline.push_back(outline.front());
        }
    }
    if (gears == 1) {
        prepareRackPoints(k, tolerance, reach);
    }
    pairCache.rim.reserve(activePair.rim.points.size() + 1);
    simplifyOutline(activePair.rim.points, tolerance, pairCache.rim);
    if (!pairCache.rim.empty()) {
        pairCache.rim.push_back(pairCache.rim.front());
    }
    const double largest = std::max(pairCache.mesh.r[1], pairCache.mesh.r[0]);
    unitCircle(largest * k * pixelsPerUnit, pairCache.circle);
    pairCache.pointsScale = k;
    pairCache.pointsReach = reach;
}

// Where gear 2 stands at the current drive angle (pair/mesh.h): its turn
// about its centre in the picture, or for the rack its slide along its
// datum line.
double drivenTurn() { return pairCache.mesh.turn0 + activePair.phase2 + gear2TurnAt(activeMesh, driveAngle); }

double rackSlide() { return rackTravelAt(activeMesh, driveAngle); }

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
    if (s.gear2IsRack) {
        return ScenePlacement{Point2{s.centre[1].x + rackSlide(), s.centre[1].y}, 0.0};
    }
    return ScenePlacement{s.centre[1], drivenTurn()};
}

const std::vector<Point2>& pairSceneOutline(int gear) { return pairCache.outline[gear]; }

Point2 pairContactPoint(double distance) {
    pairSceneScale();
    const MeshLayout& s = pairCache.mesh;
    return plus(s.t1, times(distance, s.along));
}

void drawPairScene() {
    if (!pairCache.ready) {
        prepareMesh();
    }
    const double k = pairScale();
    const MeshLayout& s = pairCache.mesh;
    const double reach = 1.0 + std::fabs(s.pitchOnScreen.x);
    prepareMeshPoints(k, reach);
    drawTitle(firstTitleY, pairCache.title[0]);
    drawTitle(secondTitleY, pairCache.title[1]);
    drawPairMesh(k, s.pitchOnScreen);
}

Point2 pairscene::meshAlong() {
    pairSceneScale();
    return pairCache.mesh.along;
}

void pairscene::drawPairMesh(double k, const Point2& pitch) {
    if (!pairCache.ready) {
        prepareMesh();
    }
    const double reach = 1.0 + std::fabs(pitch.x);
    prepareMeshPoints(k, reach);
    const MeshLayout& s = pairCache.mesh;
    // Everything below in the frame of the pitch point C. Push and pop: at an
    // extreme zoom a translation and its inverse would not cancel in Mesa's
    // single precision.
    glPushMatrix();
    enterGearFrame(1.0, origin, pitch, 0.0);
    // Reference and base circles: the unit circle scaled by k times the
    // radius; the rack's datum line across the window.
    const int circles = s.gear2IsRack ? 1 : 2;
    for (int i = 0; i < circles; ++i) {
        enterGearFrame(k, origin, s.centre[i], 0.0);
        drawPoints(k * s.r[i], pairCache.circle, i == 0 ? PALE_RED : PALE_BLUE);
        drawPoints(k * s.rb[i], pairCache.circle, i == 0 ? LIGHT_RED : LIGHT_BLUE);
        leaveGearFrame(k, origin, s.centre[i], 0.0);
    }
    const double halfWidth = reach / k;  // mm: across the window from C either way
    if (s.gear2IsRack) {
        drawScaledLine(k, Point2{-halfWidth, s.rackDatum}, Point2{halfWidth, s.rackDatum}, PALE_BLUE);
    }
    drawScaledLine(k, s.lineStart, s.lineEnd, GREY);  // the line of action

    const ScenePlacement first = pairScenePlacement(0);
    enterGearFrame(k, origin, first.origin, first.turn);
    drawPoints(k, pairCache.outline[0], RED);
    leaveGearFrame(k, origin, first.origin, first.turn);
    if (s.gear2IsRack) {
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

    drawScaledLine(k, plus(s.t1, times(activeMesh.start, s.along)), plus(s.t1, times(activeMesh.end, s.along)), GREEN);
    drawDisc(origin, contactDotRadius, BLACK);  // C
    const MeshMoment moment = meshAt(activeMesh, driveAngle);
    for (int i = 0; i < moment.count; ++i) {
        drawDisc(times(k, plus(s.t1, times(moment.contact[i].s, s.along))), contactDotRadius, DARK_GREEN);
    }
    glPopMatrix();
}
