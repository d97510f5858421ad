// What the pair scenes draw alike: the zoom they start from, the drawing
// tolerance, their colours, the thinning of point lists to a quarter pixel,
// the unit circle their circles are scaled from, and the plot of values
// along the path of contact (scenes 11 and 13). Private to the pair scenes
// (scenes.h is their interface).
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/primitives.h"
#include "pair/mesh/line_of_action.h"
#include "pair/mesh/mesh.h"

namespace pairscene {

constexpr double startViewScale = 0.5;   // the zoom at which the scales below hold
constexpr double quarterPixel = 0.25;    // px: the drawing tolerance of every curve
constexpr int maxCirclePoints = 8192;    // corners of the unit circle at the highest zoom

constexpr Rgba LIGHT_RED{1.0f, 0.6f, 0.6f, 0.0f};
constexpr Rgba LIGHT_BLUE{0.6f, 0.6f, 1.0f, 0.0f};
constexpr Rgba PALE_RED{1.0f, 0.8f, 0.8f, 0.0f};
constexpr Rgba PALE_BLUE{0.8f, 0.8f, 1.0f, 0.0f};
constexpr Rgba GREY{0.55f, 0.55f, 0.55f, 0.0f};
constexpr Rgba BLACK{0.0f, 0.0f, 0.0f, 0.0f};
constexpr Rgba DARK_GREEN{0.0f, 0.45f, 0.0f, 0.0f};
constexpr Rgba KEPT_GREEN{0.45f, 0.85f, 0.45f, 0.0f};
constexpr Rgba WHITE{1.0f, 1.0f, 1.0f, 0.0f};

Point2 plus(const Point2& p, const Point2& q);
Point2 times(double k, const Point2& p);

// Tolerance in mm of a quarter pixel at k window units per mm.
double quarterPixelAt(double k);

// Douglas-Peucker on the open polyline points[first .. last]: marks in `keep`
// the points needed to stay within `tolerance` of it.
void thin(const std::vector<Point2>& points, size_t first, size_t last, double tolerance, std::vector<char>& keep);

// The unit circle as a closed polyline whose chords stay within a quarter
// pixel of a circle `radiusPx` pixels across.
void unitCircle(double radiusPx, std::vector<Point2>& points);

// A closed polyline (last point repeats the first) at scale k.
void drawPoints(double k, const std::vector<Point2>& points, const Rgba& colour);

// ---- Kept cutter positions (scenes 8 and 9) ---------------------------------
// A cutter (rack or pinion-type) is kept on the blank every `rollStep` of the
// blank's turn. Every `keptPerPitch`-th position stands in the same way to
// the blank's tooth pitch, so the cutter's pieces that reach into the blank's
// material are worked out once for each of the keptPerPitch phases, in the
// blank's frame at the moment the cutter stood there (mm from the blank's
// centre), and each kept position is drawn as its phase's pieces turned by
// the blank's turn since.
constexpr int keptPerPitch = 21;      // kept positions per pitch of travel (about 0.15 m apart)
constexpr int maxKeptEachSide = 320;  // kept positions drawn on either side of the present one

struct KeptPiece {
    int first;    // index in KeptCutter::points
    int last;
    double from;  // angular extent of the piece, rad counter-clockwise from the top
    double to;
};

struct KeptCutter {
    std::vector<Point2> points;
    std::vector<KeptPiece> pieces;
    int pieceStart[keptPerPitch + 1];  // the pieces of phase q: pieceStart[q] .. pieceStart[q + 1] - 1
    double pieceReach;                 // rad: the largest angle of any piece from the top
    bool visited = false;              // lowest and highest hold the blank turns shown so far
    double lowest;
    double highest;
};

// Angle of p (mm from the blank's centre) counter-clockwise from the top.
double fromTop(const Point2& p);

// Where the segment a-b crosses the circle of radius `radius` about (0, 0):
// the parameters t in (0, 1) of a + t (b - a), in increasing order; returns
// how many.
int circleCrossings(const Point2& a, const Point2& b, double radius, double (&t)[2]);

// Adds to `kept` the pieces of the open polyline pointAt(0 .. count - 1) (mm
// from the blank's centre) that lie inside the circle of `radius` (or
// outside it, where `inside` is false), cut where they cross it; points
// farther than `xLimit` to either side of the blank's centre are left out.
template <class PointAt>
void keepPieces(size_t count, PointAt pointAt, double xLimit, double radius, bool inside, KeptCutter& kept) {
    const double radius2 = radius * radius;
    bool open = false;
    auto within = [&](const Point2& p) { return (p.x * p.x + p.y * p.y <= radius2) == inside; };
    auto add = [&](const Point2& p) {
        if (!open) {
            const double a = fromTop(p);
            kept.pieces.push_back(KeptPiece{static_cast<int>(kept.points.size()), 0, a, a});
            open = true;
        }
        KeptPiece& piece = kept.pieces.back();
        kept.points.push_back(p);
        piece.last = static_cast<int>(kept.points.size()) - 1;
        piece.from = std::min(piece.from, fromTop(p));
        piece.to = std::max(piece.to, fromTop(p));
        kept.pieceReach = std::max({kept.pieceReach, -piece.from, piece.to});
    };
    auto close = [&]() {
        if (open && kept.pieces.back().last == kept.pieces.back().first) {
            kept.points.pop_back();
            kept.pieces.pop_back();
        }
        open = false;
    };
    Point2 previous{};
    for (size_t i = 0; i < count; ++i) {
        const Point2 p = pointAt(i);
        if (std::fabs(p.x) > xLimit) {
            close();
            previous = p;
            continue;
        }
        if (i > 0) {
            double t[2];
            const int n = circleCrossings(previous, p, radius, t);
            for (int j = 0; j < n; ++j) {
                add(Point2{previous.x + t[j] * (p.x - previous.x), previous.y + t[j] * (p.y - previous.y)});
                if (open && !within(Point2{previous.x + (t[j] + 1e-9) * (p.x - previous.x),
                                           previous.y + (t[j] + 1e-9) * (p.y - previous.y)})) {
                    close();
                }
            }
        }
        if (within(p)) {
            add(p);
        } else {
            close();
        }
        previous = p;
    }
    close();
}

// Notes the blank turn `turn` as shown.
void visit(KeptCutter& kept, double turn);

// Draws the kept positions j (blank turn j rollStep) between the turns shown
// so far, within `reach` rad of the present turn and maxKeptEachSide
// positions of it: of each, its phase's pieces that the blank's turn since
// has not carried beyond `beta` rad of the top (no limit for beta >= pi), in
// the frame of the blank's centre (mm from the window centre at scale k).
void drawKept(double k, const Point2& blankCentre, const KeptCutter& kept, double turn, double rollStep, double beta);

// ---- The pair in mesh (scenes 7 and 11) ----------------------------------------
// Scene 7's picture of activePair at the current driveAngle, at k window
// units per mm with the pitch point C at `pitch` (window units): the
// reference and base circles, the line of action, both gears, the path of
// contact, C and the contact points of the moment. Thins its point lists
// again only when k (or pitch.x) has changed.
void drawPairMesh(double k, const Point2& pitch);
// The unit vector along the line of action in that picture, the way gear 1
// drives the contact (pairContactPoint, scenes.h, gives its points).
Point2 meshAlong();

// Forget what each scene keeps from frame to frame (resetPairScenes runs all).
void resetMeshScene();
void resetCuttingScene();
void resetRingCuttingScene();
void resetSlidingScene();
void resetBendingScene();

// ---- The plot along the path of contact (scenes 11 and 13) -----------------
// Values along the effective path A..E, on white paper over the window's
// right side: the zones of one and of two (or more) tooth pairs in contact
// shaded and numbered, the frame, the curves, the axes' names, a legend of
// up to three lines above, and the marks of the contacts of the moment.
// Window units.
constexpr double plotLeft = 0.2;
constexpr double plotRight = 0.92;
constexpr double plotBottom = -0.55;
constexpr double plotTop = 0.45;
constexpr double plotMarkRadius = 0.009;  // the dot of a contact on a curve
constexpr double plotStrokeWidth = 0.005;  // a legend's stroke, 2 px
constexpr int maxPlotCurves = 3;
constexpr int maxPlotLabels = 3;
constexpr int plotLegendLines = 3;

constexpr Rgba SINGLE_SHADE{1.0f, 0.93f, 0.72f, 0.0f};  // one pair carries the load
constexpr Rgba DOUBLE_SHADE{0.86f, 0.93f, 0.86f, 0.0f}; // two or more share it

struct PlotCurve {
    const Point2* points;  // window units
    int count;
    Rgba colour;
};
struct PlotLabel {  // a number on the values' axis, window units
    double x;
    double y;
    const char* text;
};
struct PlotLegendLine {
    const char* text;  // nullptr: no such line
    bool stroke;       // a stroke of `colour` before the text
    Rgba colour;
};
struct PathPlot {
    const ContactPath* path;
    const MeshZone* zones;
    int zoneCount;
    double low;         // the value at the plot's bottom
    double high;        // and at its top
    double paperAbove;  // paper above the plot, for the legend
    bool zeroLine;      // a grey line at the value 0
    bool pitchPoint;    // a grey line at C, named, where C lies on the path
    PlotCurve curves[maxPlotCurves];
    int curveCount;
    PlotLabel labels[maxPlotLabels];
    int labelCount;
    PlotLegendLine legend[plotLegendLines];  // from the lowest line up, 0.07 apart
};

// Where s (mm from T1) and a value land in the plot, window units.
double pathPlotX(const PathPlot& plot, double s);
double pathPlotY(const PathPlot& plot, double value);
// The whole plot but the marks; without an effective path only the paper
// and the words "no effective path".
void drawPathPlot(const PathPlot& plot);
// A contact at s: a black line across the plot where `line`, and a dot on
// each curve i < count that has points, at values[i], where it is not below
// the plot's bottom. Nothing without an effective path.
void drawPathPlotMark(const PathPlot& plot, double s, bool line, const double* values, int count);

// An arrow from `from` to `to` (window units): a 2-px shaft and a filled
// head 0.03 long (at most half the arrow); nothing for an arrow shorter than
// 1e-4. Scene 11's velocities, scene 13's load.
void drawArrow(const Point2& from, const Point2& to, const Rgba& colour);

}  // namespace pairscene
