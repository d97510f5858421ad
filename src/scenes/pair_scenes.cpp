// Scenes 7 and 8: the gear pair of activePair. Scene 7 shows both gears in
// mesh with their reference and base circles, the line of action, the path
// of contact, the pitch point and the contact points of the moment. Scene 8
// shows the rack cutting gear 1: the blank turns, the rack slides along the
// reference circle's tangent, and the rack positions already passed stay
// drawn on the blank, so that the tooth appears as their envelope.
//
// Everything that depends only on the pair (layout, titles, the rack's shape)
// is worked out at the first frame after resetPairScenes; the point lists
// that depend on the zoom (outlines, rack and circles thinned to a quarter
// pixel) again whenever viewScale has changed. A frame itself only sets
// matrices and sends stored points: it allocates nothing.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/pair_state.h"
#include "pair/cutting.h"
#include "pair/outline.h"
#include "scenes/scenes.h"

namespace {

constexpr double startViewScale = 0.5;   // the zoom at which the scales below hold
constexpr double pairSpan = 1.5;         // window units from gear 1's tip to gear 2's tip (scene 7)
constexpr double cuttingPitches = 3.0;   // reference pitches across the window (scene 8)
constexpr double quarterPixel = 0.25;    // px: the drawing tolerance of every curve
constexpr double contactDotRadius = 0.012;  // window units: contact points and pitch point
constexpr int maxContactPoints = 8;      // more than any contact ratio of an accepted pair
constexpr int maxCirclePoints = 8192;    // corners of the unit circle at the highest zoom

// Scene 8: where the rack is kept on the blank.
constexpr int keptPerPitch = 21;         // kept positions per rack pitch of travel (about 0.15 m apart)
constexpr int maxKeptEachSide = 320;     // kept positions drawn on either side of the present one
constexpr int maxRackTeeth = 801;        // rack pitches held, whatever the zoom

constexpr Rgba LIGHT_RED{1.0f, 0.6f, 0.6f, 0.0f};
constexpr Rgba LIGHT_BLUE{0.6f, 0.6f, 1.0f, 0.0f};
constexpr Rgba PALE_RED{1.0f, 0.8f, 0.8f, 0.0f};
constexpr Rgba PALE_BLUE{0.8f, 0.8f, 1.0f, 0.0f};
constexpr Rgba GREY{0.55f, 0.55f, 0.55f, 0.0f};
constexpr Rgba BLACK{0.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba DARK_GREEN{0.0f, 0.45f, 0.0f, 0.0f};
constexpr Rgba KEPT_GREEN{0.45f, 0.85f, 0.45f, 0.0f};

Point2 plus(const Point2& p, const Point2& q) { return Point2{p.x + q.x, p.y + q.y}; }
Point2 times(double k, const Point2& p) { return Point2{k * p.x, k * p.y}; }

// Tolerance in mm of a quarter pixel at k window units per mm.
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

// "%g": shift coefficients and modules as typed.
void formatTitles(char (&title)[2][128], bool cutting) {
    const PairInput& in = activePair.input;
    const PairNumbers& n = activePair.numbers;
    if (cutting) {
        std::snprintf(title[0], sizeof title[0], "(8) rack cutting gear 1: z1=%d m=%g alpha=%gdeg x1=%g (xmin=%.3f)",
                      in.z1, in.m, in.alphaDeg, in.x1, n.gear[0].xmin);
        std::snprintf(title[1], sizeof title[1], "     red: gear 1 as cut,  green: rack positions passed,  blue: rack");
        return;
    }
    std::snprintf(title[0], sizeof title[0], "(7) gear pair in mesh: z1=%d z2=%d m=%g alpha=%gdeg", in.z1, in.z2, in.m,
                  in.alphaDeg);
    std::snprintf(title[1], sizeof title[1], "     x1=%g x2=%g eps_alpha=%.3f   red: drive gear,  blue: driven", in.x1,
                  in.x2, n.epsilonAlpha);
}

// ---- Scene 7 -----------------------------------------------------------------

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
    formatTitles(pairCache.title, false);
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

// ---- Scene 8 -----------------------------------------------------------------

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
    bool visited = false;           // lowest and highest hold the drive angles shown so far
    double lowest;
    double highest;
    // Remade whenever viewScale changes:
    double zoomScale = 0.0;
    int rackTeeth;                  // odd: pitches in `rack`, the middle one centred at x = 0
    int pitchPoints;                // points of `rack` per pitch
    std::vector<Point2> rack;       // thinned, rackTeeth pitches
    // The kept positions: in the frame of the blank at the moment the rack
    // stood there, the rack is the rack frame moved to (offset, r). Every
    // keptPerPitch-th position has the same offset, so the rack's pieces
    // inside the blank's tip circle are worked out once for each of the
    // keptPerPitch offsets: those of offset q are pieces[pieceStart[q]] up to
    // pieces[pieceStart[q + 1]] - 1, points of keptPoints, mm from the
    // blank's centre.
    struct Piece {
        int first;    // index in keptPoints
        int last;
        double from;  // angular extent of the piece, rad counter-clockwise from the top
        double to;
    };
    std::vector<Point2> keptPoints;
    std::vector<Piece> pieces;
    int pieceStart[keptPerPitch + 1];
    double pieceReach;  // rad: the largest angle of any piece from the top
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
    c.pitch = pi * in.m;
    c.toothPitch = 2.0 * pi / in.z1;
    c.rollStep = c.pitch / keptPerPitch / c.r;
    c.datumShift = in.x1 * in.m;
    // The rack reaches the blank's material only where its teeth are inside
    // the tip circle: above the root circle, which the rack's tip line cuts.
    const double rf = g1.df / 2.0;
    c.chordHalf = std::sqrt(std::max(c.ra * c.ra - rf * rf, 0.0));
    c.fit = 2.0 / (cuttingPitches * c.pitch);
    c.blankCentre = Point2{0.0, -(c.r + c.datumShift)};
    rackOutline(in, 0, 1, c.rackPitch);
    c.rack.reserve(c.rackPitch.size() * 9);
    formatTitles(c.title, true);
    c.zoomScale = 0.0;
    c.visited = false;
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

// Where the segment a-b crosses the circle of radius `radius` about (0, 0):
// the parameters t in (0, 1) of a + t (b - a), in increasing order; returns
// how many.
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

// Angle of p (mm from the blank's centre) counter-clockwise from the top.
double fromTop(const Point2& p) { return std::atan2(-p.x, p.y); }

// The pieces of the rack (thinned, at rack-frame offset `offset`, rolling
// line through the blank's top) that lie inside the blank's tip circle.
void clipKeptRack(double offset) {
    CuttingCache& c = cuttingCache;
    const double radius2 = c.ra * c.ra;
    bool open = false;
    auto inside = [&](const Point2& p) { return p.x * p.x + p.y * p.y <= radius2; };
    auto add = [&](const Point2& p) {
        if (!open) {
            const double a = fromTop(p);
            c.pieces.push_back(CuttingCache::Piece{static_cast<int>(c.keptPoints.size()), 0, a, a});
            open = true;
        }
        CuttingCache::Piece& piece = c.pieces.back();
        c.keptPoints.push_back(p);
        piece.last = static_cast<int>(c.keptPoints.size()) - 1;
        piece.from = std::min(piece.from, fromTop(p));
        piece.to = std::max(piece.to, fromTop(p));
        c.pieceReach = std::max({c.pieceReach, -piece.from, piece.to});
    };
    auto close = [&]() {
        if (open && c.pieces.back().last == c.pieces.back().first) {
            c.keptPoints.pop_back();
            c.pieces.pop_back();
        }
        open = false;
    };
    Point2 previous{};
    for (size_t i = 0; i < c.rack.size(); ++i) {
        const Point2 p{c.rack[i].x + offset, c.rack[i].y + c.r};
        if (std::fabs(p.x) > c.chordHalf + c.pitch) {
            close();
            previous = p;
            continue;
        }
        if (i > 0) {
            double t[2];
            const int n = circleCrossings(previous, p, c.ra, t);
            for (int j = 0; j < n; ++j) {
                add(Point2{previous.x + t[j] * (p.x - previous.x), previous.y + t[j] * (p.y - previous.y)});
                if (open && !inside(Point2{previous.x + (t[j] + 1e-9) * (p.x - previous.x),
                                           previous.y + (t[j] + 1e-9) * (p.y - previous.y)})) {
                    close();
                }
            }
        }
        if (inside(p)) {
            add(p);
        } else {
            close();
        }
        previous = p;
    }
    close();
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
    c.keptPoints.clear();
    c.pieces.clear();
    c.pieceReach = 0.0;
    for (int q = 0; q < keptPerPitch; ++q) {
        c.pieceStart[q] = static_cast<int>(c.pieces.size());
        clipKeptRack(keptOffset(q));
    }
    c.pieceStart[keptPerPitch] = static_cast<int>(c.pieces.size());

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

void drawCuttingScene() {
    if (!cuttingCache.ready) {
        prepareCutting();
    }
    prepareCuttingPoints();
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
    const double halfWidth = windowHalfWidth(k);

    // The rolling line, the reference circle's tangent at the top, and the
    // rack's datum line x1 m above it.
    const double rollY = c.blankCentre.y + c.r;
    drawScaledLine(k, Point2{-halfWidth, rollY}, Point2{halfWidth, rollY}, GREY);
    drawScaledLine(k, Point2{-halfWidth, rollY + c.datumShift}, Point2{halfWidth, rollY + c.datumShift}, LIGHT_BLUE);

    // The rack where it was, every rollStep of blank turn, carried round with
    // the blank since: of each, the pieces inside the blank's tip circle that
    // the turn since has not carried out of the window.
    const double beta = visibleHalfAngle(k);
    const double reach = std::min(beta + c.pieceReach, pi);
    const double lo = std::max({c.lowest, driveAngle - reach, driveAngle - maxKeptEachSide * c.rollStep});
    const double hi = std::min({c.highest, driveAngle + reach, driveAngle + maxKeptEachSide * c.rollStep});
    for (double j = std::ceil(lo / c.rollStep); j * c.rollStep <= hi; j += 1.0) {
        const double since = driveAngle - j * c.rollStep;
        const int q = static_cast<int>(j - std::floor(j / keptPerPitch) * keptPerPitch);
        bool entered = false;
        for (int p = c.pieceStart[q]; p < c.pieceStart[q + 1]; ++p) {
            const CuttingCache::Piece& piece = c.pieces[static_cast<size_t>(p)];
            if (beta < pi && (piece.to + since < -beta || piece.from + since > beta)) {
                continue;
            }
            if (!entered) {
                // Push and pop rather than the inverse turn: hundreds of
                // copies a frame would pile up the rounding.
                glPushMatrix();
                enterGearFrame(k, origin, c.blankCentre, since);
                entered = true;
            }
            drawPolyline(k, c.keptPoints.data() + piece.first, piece.last - piece.first, KEPT_GREEN);
        }
        if (entered) {
            glPopMatrix();
        }
    }

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
