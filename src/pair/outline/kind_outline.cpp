// The outlines of an internal pair and of a rack pair, placed in mesh: the
// pinion as the rack cuts it, the ring as its pinion-type cutter cuts it,
// and the mating rack.
#include <algorithm>
#include <cmath>

#include "pair/cutting/cutting.h"
#include "pair/kinds/kinds.h"
#include "pair/outline/outline.h"

namespace {

// Tracing the pinion-type cutter's path, densely (as the rack's in
// outline.cpp): chords far below 0.001 m before thinning.
constexpr int cutterFlankSamples = 4000;
constexpr int cutterCornerSamples = 800;
constexpr double arcTolerance = 0.0002;  // in m: sagitta of the rim's chords

// The ring: its outline from one tooth's flank and its root radius.
void ringOutline(const PairNumbers& n, GearOutline& outline) {
    std::vector<Polar> flank;
    const double rootRadius = ringToothFlank(n, flank);
    assembleOutline(flank, n.gear[1].da / 2.0, rootRadius, n.gear[1].z, n.section.spur().m, outline);
}

void circleOutline(double radius, double m, GearOutline& outline) {
    const double step = 2.0 * std::acos(1.0 - arcTolerance * m / radius);
    const int count = std::max(16, static_cast<int>(std::ceil(2.0 * pi / step)));
    outline.points.clear();
    for (int i = 0; i < count; ++i) {
        const double t = 2.0 * pi * i / count;
        outline.points.push_back(Point2{radius * std::cos(t), radius * std::sin(t)});
    }
}

// The mating rack in its own frame: straight flanks at alpha, the tip line
// 1 m above the datum line, the root line 1.25 m below it, a space's middle
// at x = 0, from x = -length / 2 to +length / 2 (a whole number of pitches
// ends it in the middle of a space at each end), closed by its ends and its
// back edge rackBackModules below the datum; each tooth thinned by
// `thinning` (both flanks moved thinning / 2 towards its middle). Where the
// flanks of a space meet before the root line (alpha above about 32
// degrees), the space's bottom is their meeting point, as a rack is made.
void rackOutline(const TransverseSection& section, double length, double thinning, GearOutline& outline) {
    const PairInput& in = section.spur();  // a helical rack's transverse section: heights h m
    const double m = in.m;
    const double h = in.heightFactor;
    const double pitch = pi * m;
    const double tanA = std::tan(in.alphaDeg * degToRad);
    const double tip = h * m;
    const double half = length / 2.0;
    // One pitch of the profile from a space's middle: root, flank up, tip,
    // flank down; a tooth's half thickness at height v is pi m / 4 - v tan(alpha).
    const double quarter = pitch / 4.0 - thinning / 2.0;
    // The space's half width pi m / 2 - (quarter - v tan(alpha)) is 0 at
    // v = (quarter - pi m / 2) / tan(alpha).
    const double root = std::max(-1.25 * h * m, (quarter - pitch / 2.0) / tanA);
    const Point2 pattern[] = {
        {0.0, root},
        {pitch / 2.0 - (quarter - root * tanA), root},
        {pitch / 2.0 - (quarter - tip * tanA), tip},
        {pitch / 2.0 + (quarter - tip * tanA), tip},
        {pitch / 2.0 + (quarter - root * tanA), root},
    };
    std::vector<Point2> profile;
    const int first = static_cast<int>(std::floor(-half / pitch)) - 1;
    const int last = static_cast<int>(std::ceil(half / pitch)) + 1;
    for (int k = first; k <= last; ++k) {
        for (const Point2& p : pattern) {
            profile.push_back(Point2{p.x + k * pitch, p.y});
        }
    }
    // Clip to the rack's length, crossing points included.
    outline.points.clear();
    outline.points.push_back(Point2{-half, -rackBackModules * m});
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const Point2& a = profile[i];
        const Point2& b = profile[i + 1];
        if (a.x < -half && b.x >= -half) {
            outline.points.push_back(Point2{-half, a.y + (b.y - a.y) * (-half - a.x) / (b.x - a.x)});
        }
        if (b.x > -half && b.x < half) {
            outline.points.push_back(b);
        }
        if (a.x < half && b.x >= half) {
            outline.points.push_back(Point2{half, a.y + (b.y - a.y) * (half - a.x) / (b.x - a.x)});
        }
    }
    outline.points.push_back(Point2{half, -rackBackModules * m});
    // Points repeated where a crossing falls on a corner.
    outline.points.erase(std::unique(outline.points.begin(), outline.points.end(),
                                     [&](const Point2& a, const Point2& b) {
                                         return std::hypot(a.x - b.x, a.y - b.y) < 1e-12 * m;
                                     }),
                         outline.points.end());
}

// What the pinion of both kinds has in common: its numbers and outline.
void buildPinion(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair) {
    pair.input = input;
    pair.numbers = numbers;
    rackCutOutline(0, pair.numbers, pair.outline[0]);
    pair.rim.points.clear();
    pair.phase2 = 0.0;
    pair.rackShift = 0.0;
}

}  // namespace

double ringToothFlank(const PairNumbers& n, std::vector<Polar>& flank) {
    // For every profile point of the cutter's tooth half, the ring point it
    // cuts, as an angle from the middle of the ring tooth beside it; what no
    // cutter position removed is the ring's flank.
    const PairInput& in = n.section.spur();  // a helical ring's transverse section (pair/helical.h)
    const RingCutting c = ringCutting(n.section, n.zc);
    const int z2 = in.z2;
    const double r2w = c.a0 * z2 / (z2 - c.zc);  // working pitch radii of the cutting mesh
    const CuttingMotion motion{r2w, pi * in.m, 0.0, r2w - c.a0, c.a0};
    const double ra2 = n.gear[1].da / 2.0;
    const double rootRadius = c.a0 + c.rac;  // df2 / 2: where the cutter's tip reaches
    std::vector<Polar> traced;
    traced.reserve(cutterFlankSamples + cutterCornerSamples + 2);
    auto trace = [&](const ProfilePoint& q) {
        const Polar p = envelopePoint(motion, q);
        if (p.rho > 0.0) {
            // The space's counter-clockwise side is the clockwise flank of
            // the tooth pi / z2 further on: mirrored, pi / z2 - psi.
            traced.push_back(Polar{p.rho, pi / z2 - p.psi});
        }
    };
    // The flank from where the cutter's involute starts (its base or root
    // circle) to its tip, evenly in arc length (t^2), then the tip corner.
    const double rStart = std::max(c.rbc, c.rfc);
    const double t0 = std::sqrt(rStart * rStart - c.rbc * c.rbc) / c.rbc;
    const double t1 = std::sqrt(c.rac * c.rac - c.rbc * c.rbc) / c.rbc;
    for (int i = 0; i <= cutterFlankSamples; ++i) {
        const double f = static_cast<double>(i) / cutterFlankSamples;
        trace(cutterFlankPoint(c, n.alpha, std::sqrt(t0 * t0 + (t1 * t1 - t0 * t0) * f)));
    }
    for (int i = 1; i <= cutterCornerSamples; ++i) {
        trace(cutterCornerPoint(c, n.alpha, static_cast<double>(i) / cutterCornerSamples));
    }
    envelopeFlank(traced, rootRadius, ra2, flank);
    // Thinned for backlash: the whole flank turned by jt / (2 dw2) towards
    // the tooth's middle (a cutter turned a little further cuts it).
    if (n.thinning > 0.0) {
        const double turn = n.thinning / n.gear[1].dw;
        for (Polar& q : flank) {
            q.psi -= turn;
        }
    }
    return rootRadius;
}

void buildInternalGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair) {
    buildPinion(input, numbers, pair);
    const PairNumbers& n = pair.numbers;
    ringOutline(n, pair.outline[1]);
    circleOutline((n.gear[1].df + rimModules * input.m) / 2.0, input.m, pair.rim);
    // They mesh on the pinion's -x side, at angle pi from both centres.
    // With a from alpha_w the working thicknesses fill the working
    // pitch: where the pinion has a tooth at pi (z1 even) the ring has
    // the middle of a space there, else the middle of a tooth.
    pair.phase2 = input.z1 % 2 == 0 ? pi - pi / input.z2 : pi;
}

void buildRackGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair) {
    buildPinion(input, numbers, pair);
    const PairNumbers& n = pair.numbers;
    // The rack meshes at the pinion's bottom (angle -pi/2), where the
    // pinion tooth nearest it stands delta off; rolled on the reference
    // circle, the rack's space faces it r1 delta along x.
    const double r1 = n.gear[0].d / 2.0;
    const double toothAngle = 2.0 * pi / input.z1;
    const double nearest = std::round((-pi / 2.0) / toothAngle) * toothAngle;
    pair.rackShift = r1 * (nearest + pi / 2.0);
    // A pitch beyond the tip circle on each side, and a pitch more for
    // the rack's shift as the pinion turns through a tooth, made up to whole
    // pitches: each end then falls in the middle of a space (a space's
    // middle is at x = 0), so every tooth is whole and no sliver of a tip
    // is left at an end to break off a cut part.
    const double pitch = pi * n.section.spur().m;
    const double pitches = std::ceil((n.gear[0].da / 2.0 + 2.0 * pitch) / pitch);
    rackOutline(n.section, 2.0 * pitches * pitch, n.thinning, pair.outline[1]);
}
