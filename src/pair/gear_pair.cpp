#include "pair/gear_pair.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double degToRad = pi / 180.0;
constexpr double inverseInvoluteTolerance = 1e-12;  // rad, on the angle
constexpr double lowContactRatio = 1.1;
constexpr double thinTipFactor = 0.25;              // sa below 0.25 m is a thin tip

// Outline sampling. The envelope is traced densely (far below 0.001 m between
// neighbouring samples and their chords), then thinned to outlineTolerance:
// together they stay well inside 0.001 m.
constexpr int roundSamples = 800;      // along the cutter's tip round
constexpr int flankSamples = 4000;     // along the cutter's straight flank
constexpr double outlineTolerance = 0.0004;  // in m: Douglas-Peucker on each flank
constexpr double arcTolerance = 0.0002;      // in m: sagitta of tip and root arc chords
constexpr int rackRoundSegments = 48;        // chords of each rack round in rackOutline

// The cutter's profile in its own tooth-centred frame: u across, 0 in the
// middle of a rack tooth; v up, 0 on the datum line; the tooth points to -v.
// Only the half u >= 0 is described; the other half is its mirror image.
struct RackProfile {
    double m;
    double alpha;
    double depth;   // tip line below the datum: 1.25 m, less where the flanks meet sooner
    double rho;     // tip round radius: 0.38 m, less where it does not fit
    double uc;      // round centre (uc, vc)
    double vc;
};

RackProfile makeRackProfile(double m, double alpha) {
    RackProfile p{m, alpha, rackAddendum * m, rackTipRadius * m, 0.0, 0.0};
    const double sinA = std::sin(alpha);
    const double cosA = std::cos(alpha);
    const double tanA = std::tan(alpha);
    // Round tangent to the tip line and the flank u = pi m / 4 + v tan(alpha):
    // its centre lies rho inside both.
    p.uc = pi * m / 4.0 - (p.depth - p.rho) * tanA - p.rho / cosA;
    if (p.uc < 0.0) {
        // Too steep for the full round: one round, centred on u = 0, touching
        // both flanks and the tip line.
        p.uc = 0.0;
        p.rho = m * (pi / 4.0 * cosA - rackAddendum * sinA) / (1.0 - sinA);
        if (p.rho <= 0.0) {
            // The flanks meet before the tip line: a sharp tip.
            p.rho = 0.0;
            p.depth = pi * m / 4.0 / tanA;
        }
    }
    p.vc = -p.depth + p.rho;
    return p;
}

// A point of the cutter's half profile with its unit normal pointing out of
// the cutter (into the gear's material).
struct ProfilePoint {
    double u, v, nu, nv;
};

// Round: b from 0 (normal straight down) to pi/2 - alpha (the flank's normal).
ProfilePoint roundPoint(const RackProfile& p, double b) {
    const double nu = std::sin(b);
    const double nv = -std::cos(b);
    return ProfilePoint{p.uc + p.rho * nu, p.vc + p.rho * nv, nu, nv};
}

// Straight flank at height v.
ProfilePoint flankPoint(const RackProfile& p, double v) {
    return ProfilePoint{pi * p.m / 4.0 + v * std::tan(p.alpha), v, std::cos(p.alpha), -std::sin(p.alpha)};
}

// Height of the round's upper end, where it meets the flank.
double flankStart(const RackProfile& p) { return p.vc - p.rho * std::sin(p.alpha); }

struct Polar {
    double rho;  // distance from the gear centre
    double psi;  // angle from the tooth's middle line, positive towards its counter-clockwise flank
};

// The point of the gear that the profile point p cuts (the law of gearing:
// they touch where p's normal passes through the pitch point). Cutting frame:
// the rack rolls on the reference circle (radius r) at the pitch point
// (0, r) with its datum at y = r + x m; the rack tooth whose half u >= 0 cuts
// tooth 0's counter-clockwise flank is centred pi m / 2 to the left of the
// space holding tooth 0, which stands at the top when the blank has turned
// by pi/2 (rackOutlineAt).
Polar envelopePoint(const RackProfile& p, double r, double xm, const ProfilePoint& q) {
    const double t = (-xm - q.v) / q.nv;  // along the normal to the rolling line y = r
    const double uStar = q.u + q.nu * t;  // where the normal meets it, in the tooth's frame
    const double phi = pi / 2.0 + (uStar - pi * p.m / 2.0) / r;  // blank's turn at contact
    const double qx = q.u - uStar;
    const double qy = r + xm + q.v;
    return Polar{std::hypot(qx, qy), std::remainder(std::atan2(qy, qx) - phi, 2.0 * pi)};
}

// Linear interpolation of psi at rho on a branch monotone in rho.
double psiAt(const std::vector<Polar>& branch, double rho) {
    const bool rising = branch.back().rho >= branch.front().rho;
    size_t lo = 0;
    size_t hi = branch.size() - 1;
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if ((branch[mid].rho <= rho) == rising) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const Polar& a = branch[lo];
    const Polar& b = branch[hi];
    if (b.rho == a.rho) {
        return std::min(a.psi, b.psi);
    }
    return a.psi + (b.psi - a.psi) * (rho - a.rho) / (b.rho - a.rho);
}

bool covers(const std::vector<Polar>& branch, double rho) {
    const double lo = std::min(branch.front().rho, branch.back().rho);
    const double hi = std::max(branch.front().rho, branch.back().rho);
    return rho >= lo && rho <= hi;
}

// Cuts a traced curve into pieces along which rho only rises or only falls.
void splitMonotone(const std::vector<Polar>& curve, std::vector<std::vector<Polar>>& pieces) {
    std::vector<Polar> piece;
    int direction = 0;
    for (const Polar& q : curve) {
        if (piece.size() >= 2) {
            const int d = q.rho > piece.back().rho ? 1 : (q.rho < piece.back().rho ? -1 : 0);
            if (direction == 0) {
                direction = d;
            } else if (d != 0 && d != direction) {
                const Polar last = piece.back();
                pieces.push_back(piece);
                piece.assign(1, last);
                direction = d;
            }
        } else if (piece.size() == 1) {
            direction = q.rho > piece.back().rho ? 1 : (q.rho < piece.back().rho ? -1 : 0);
        }
        piece.push_back(q);
    }
    if (piece.size() >= 2) {
        pieces.push_back(piece);
    }
}

// Marks in `keep` the points of the open polyline p[first..last] that
// Douglas-Peucker keeps at `tolerance`; first and last are always kept.
void douglasPeucker(const Point2* p, size_t first, size_t last, double tolerance, std::vector<char>& keep) {
    keep[first] = 1;
    keep[last] = 1;
    std::vector<std::pair<size_t, size_t>> stack{{first, last}};
    while (!stack.empty()) {
        const auto [i, j] = stack.back();
        stack.pop_back();
        if (j <= i + 1) {
            continue;
        }
        const double dx = p[j].x - p[i].x;
        const double dy = p[j].y - p[i].y;
        const double length = std::hypot(dx, dy);
        double worst = -1.0;
        size_t worstIndex = i;
        for (size_t k = i + 1; k < j; ++k) {
            const double ex = p[k].x - p[i].x;
            const double ey = p[k].y - p[i].y;
            double d = 0.0;
            if (length == 0.0) {
                d = std::hypot(ex, ey);
            } else {
                // Distance to the segment, not the line: an outline may turn back.
                const double t = std::clamp((ex * dx + ey * dy) / (length * length), 0.0, 1.0);
                d = std::hypot(ex - t * dx, ey - t * dy);
            }
            if (d > worst) {
                worst = d;
                worstIndex = k;
            }
        }
        if (worst > tolerance) {
            keep[worstIndex] = 1;
            stack.push_back({i, worstIndex});
            stack.push_back({worstIndex, j});
        }
    }
}

// The counter-clockwise flank of one tooth, from the root circle to the tip
// circle, as what no position of the cutter removed: for every radius the
// least angle from the tooth's middle that any traced curve reaches there.
// Undercut needs no rule of its own: where the tip round's path swings into
// the involute, it is the lesser angle.
void toothFlank(const PairInput& in, int gear, const PairNumbers& n, std::vector<Polar>& flank, double& rootRadius) {
    const double m = in.m;
    const int z = gear == 0 ? in.z1 : in.z2;
    const double x = gear == 0 ? in.x1 : in.x2;
    const double r = m * z / 2.0;
    const double xm = x * m;
    const double ra = n.gear[gear].da / 2.0;
    const RackProfile p = makeRackProfile(m, n.alpha);
    rootRadius = r + xm - p.depth;

    // The cutter's half profile: round, then flank up to where it cuts the
    // tip circle (a rack point h above the rolling line cuts no lower than
    // radius r + h).
    std::vector<Polar> traced;
    traced.reserve(roundSamples + flankSamples + 2);
    const double bEnd = pi / 2.0 - n.alpha;
    for (int i = 0; i <= roundSamples; ++i) {
        traced.push_back(envelopePoint(p, r, xm, roundPoint(p, bEnd * i / roundSamples)));
    }
    const double v0 = flankStart(p);
    const double v1 = std::min(ra - r - xm + 0.05 * m, rackAddendum * m);
    for (int i = 1; i <= flankSamples; ++i) {
        traced.push_back(envelopePoint(p, r, xm, flankPoint(p, v0 + (v1 - v0) * i / flankSamples)));
    }

    std::vector<std::vector<Polar>> pieces;
    splitMonotone(traced, pieces);

    std::vector<double> radii;
    radii.reserve(traced.size() + 2);
    radii.push_back(rootRadius);
    radii.push_back(ra);
    for (const Polar& q : traced) {
        if (q.rho > rootRadius && q.rho < ra) {
            radii.push_back(q.rho);
        }
    }
    std::sort(radii.begin(), radii.end());
    radii.erase(std::unique(radii.begin(), radii.end()), radii.end());

    auto least = [&](double rho, int& which) {
        double best = pi;
        which = -1;
        for (size_t k = 0; k < pieces.size(); ++k) {
            if (covers(pieces[k], rho)) {
                const double psi = psiAt(pieces[k], rho);
                if (psi < best) {
                    best = psi;
                    which = static_cast<int>(k);
                }
            }
        }
        return best;
    };

    flank.clear();
    int previousPiece = -1;
    for (double rho : radii) {
        int which = -1;
        const double psi = least(rho, which);
        if (which < 0) {
            continue;
        }
        if (previousPiece >= 0 && which != previousPiece && !flank.empty()) {
            // The least curve changes between two radii: put in the corner
            // where the two cross (the foot of an undercut involute).
            const std::vector<Polar>& a = pieces[previousPiece];
            const std::vector<Polar>& b = pieces[which];
            double lo = flank.back().rho;
            double hi = rho;
            if (covers(a, lo) && covers(b, lo) && covers(a, hi) && covers(b, hi)) {
                for (int i = 0; i < 60; ++i) {
                    const double mid = (lo + hi) / 2.0;
                    if ((psiAt(a, mid) - psiAt(b, mid)) * (psiAt(a, lo) - psiAt(b, lo)) > 0.0) {
                        lo = mid;
                    } else {
                        hi = mid;
                    }
                }
                flank.push_back(Polar{lo, psiAt(a, lo)});
            }
        }
        flank.push_back(Polar{rho, psi});
        previousPiece = which;
    }
}

// Points of the arc of radius rho from angle a0 to a1 (a1 > a0), ends left out.
void appendArc(double rho, double a0, double a1, double tolerance, std::vector<Point2>& out) {
    if (a1 <= a0) {
        return;
    }
    const double step = 2.0 * std::acos(std::max(0.0, 1.0 - tolerance / rho));
    const int count = std::max(1, static_cast<int>(std::ceil((a1 - a0) / std::max(step, 1e-9))));
    for (int i = 1; i < count; ++i) {
        const double t = a0 + (a1 - a0) * i / count;
        out.push_back(Point2{rho * std::cos(t), rho * std::sin(t)});
    }
}

void buildOutline(const PairInput& in, int gear, const PairNumbers& n, GearOutline& outline) {
    const int z = gear == 0 ? in.z1 : in.z2;
    const double ra = n.gear[gear].da / 2.0;
    std::vector<Polar> flank;
    double rootRadius = 0.0;
    toothFlank(in, gear, n, flank, rootRadius);

    // The counter-clockwise flank in Cartesian form, thinned.
    std::vector<Point2> dense(flank.size());
    for (size_t i = 0; i < flank.size(); ++i) {
        dense[i] = Point2{flank[i].rho * std::cos(flank[i].psi), flank[i].rho * std::sin(flank[i].psi)};
    }
    std::vector<char> keep(dense.size(), 0);
    douglasPeucker(dense.data(), 0, dense.size() - 1, outlineTolerance * in.m, keep);
    std::vector<Point2> upper;  // root to tip, counter-clockwise flank
    for (size_t i = 0; i < dense.size(); ++i) {
        if (keep[i]) {
            upper.push_back(dense[i]);
        }
    }
    const double psiRoot = flank.front().psi;
    const double psiTip = flank.back().psi;
    const double toothAngle = 2.0 * pi / z;

    // One tooth and the space after it, counter-clockwise from the root at
    // the foot of the clockwise flank.
    std::vector<Point2> tooth;
    for (const Point2& q : upper) {
        tooth.push_back(Point2{q.x, -q.y});  // clockwise flank: the mirror image
    }
    appendArc(ra, -psiTip, psiTip, arcTolerance * in.m, tooth);
    for (size_t i = upper.size(); i-- > 0;) {
        tooth.push_back(upper[i]);
    }
    appendArc(rootRadius, psiRoot, toothAngle - psiRoot, arcTolerance * in.m, tooth);

    outline.points.clear();
    outline.points.reserve(tooth.size() * static_cast<size_t>(z));
    for (int k = 0; k < z; ++k) {
        const double c = std::cos(k * toothAngle);
        const double s = std::sin(k * toothAngle);
        for (const Point2& q : tooth) {
            const Point2 turned{c * q.x - s * q.y, s * q.x + c * q.y};
            // Where the root arc has no length the next tooth's first point
            // repeats the last one.
            if (!outline.points.empty() && std::hypot(turned.x - outline.points.back().x,
                                                      turned.y - outline.points.back().y) < 1e-12 * in.m) {
                continue;
            }
            outline.points.push_back(turned);
        }
    }
    if (outline.points.size() > 1 &&
        std::hypot(outline.points.front().x - outline.points.back().x,
                   outline.points.front().y - outline.points.back().y) < 1e-12 * in.m) {
        outline.points.pop_back();
    }
}

// Tip thickness (arc) of a gear: sa = da (s / d + inv(alpha) - inv(alpha_a)),
// alpha_a = acos(db / da); negative when the flanks cross below the tip.
double tipThickness(double s, double d, double db, double da, double invAlpha) {
    if (da <= db) {
        return -1.0;  // no involute at all: the tip circle lies inside the base circle
    }
    return da * (s / d + invAlpha - involuteFunction(std::acos(db / da)));
}

bool inRange(double value, double lo, double hi) { return value >= lo && value <= hi; }  // false for NaN

// Largest shift of gear `gear` (others fixed) whose teeth are not pointed,
// searched from `lo` (usable) to `hi` (pointed).
double largestUnpointedShift(PairInput in, int gear, double lo, double hi) {
    double& x = gear == 0 ? in.x1 : in.x2;
    for (int i = 0; i < 60; ++i) {
        x = (lo + hi) / 2.0;
        const PairNumbers n = pairNumbers(in);
        if (n.gear[0].sa > 0.0 && n.gear[1].sa > 0.0) {
            lo = x;
        } else {
            hi = x;
        }
    }
    return lo;
}

}  // namespace

double involuteFunction(double angle) { return std::tan(angle) - angle; }

double inverseInvolute(double inv) {
    // Newton on tan(a) - a = inv, d/da = tan^2(a), from Cheng's first guess
    // a = (3 inv)^(1/3), which is close for the pressure angles of gears.
    if (inv <= 0.0) {
        return 0.0;
    }
    double a = std::cbrt(3.0 * inv);
    a = std::min(a, 1.5);
    for (int i = 0; i < 100; ++i) {
        const double t = std::tan(a);
        const double next = a - (t - a - inv) / (t * t);
        const double clamped = std::clamp(next, a / 2.0, (a + pi / 2.0) / 2.0);
        if (std::fabs(clamped - a) < inverseInvoluteTolerance * 1e-3) {
            return clamped;
        }
        a = clamped;
    }
    return a;
}

PairNumbers pairNumbers(const PairInput& in) {
    PairNumbers n{};
    const double m = in.m;
    const int z[2] = {in.z1, in.z2};
    const double x[2] = {in.x1, in.x2};
    n.alpha = in.alphaDeg * degToRad;
    n.invAlpha = involuteFunction(n.alpha);
    // inv(alpha_w) = inv(alpha) + 2 tan(alpha) (x1 + x2) / (z1 + z2): no backlash.
    n.alphaW = inverseInvolute(n.invAlpha + 2.0 * std::tan(n.alpha) * (x[0] + x[1]) / (z[0] + z[1]));
    // a = m (z1 + z2) / 2 cos(alpha) / cos(alpha_w); y = (a - m (z1 + z2) / 2) / m.
    const double a0 = m * (z[0] + z[1]) / 2.0;
    n.a = a0 * std::cos(n.alpha) / std::cos(n.alphaW);
    n.y = (n.a - a0) / m;
    n.pb = pi * m * std::cos(n.alpha);
    const double cutterDepth = makeRackProfile(m, n.alpha).depth;
    for (int i = 0; i < 2; ++i) {
        GearNumbers& g = n.gear[i];
        g.z = z[i];
        g.x = x[i];
        g.d = m * z[i];
        g.db = g.d * std::cos(n.alpha);
        // The tips are shortened by the pair's y so that the bottom clearance
        // stays 0.25 m: da1 = d1 + 2 m (1 + y - x2), da2 = d2 + 2 m (1 + y - x1).
        g.da = g.d + 2.0 * m * (1.0 + n.y - x[1 - i]);
        // The root circle is where the cutter's tip reaches: with the full
        // addendum of 1.25 m, df = d - 2 m (1.25 - x); above about 32 degrees
        // the rack's flanks meet before that depth and their meeting point
        // cuts a shallower root (what the outline shows).
        g.df = g.d - 2.0 * (cutterDepth - x[i] * m);
        g.s = m * (pi / 2.0 + 2.0 * x[i] * std::tan(n.alpha));
        g.sa = tipThickness(g.s, g.d, g.db, g.da, n.invAlpha);
        // No undercut while x >= 1 - z sin^2(alpha) / 2 (the rack's tip line
        // at 1 m stays above the interference point).
        g.xmin = 1.0 - z[i] * std::sin(n.alpha) * std::sin(n.alpha) / 2.0;
        g.undercut = x[i] < g.xmin;
        g.thinTip = g.sa < thinTipFactor * m;
    }
    // Path of contact between the two tip circles on the line of action:
    // ga = sqrt(ra1^2 - rb1^2) + sqrt(ra2^2 - rb2^2) - a sin(alpha_w).
    double reach[2];
    for (int i = 0; i < 2; ++i) {
        const double ra = n.gear[i].da / 2.0;
        const double rb = n.gear[i].db / 2.0;
        reach[i] = std::sqrt(std::max(0.0, ra * ra - rb * rb));
    }
    const double tangentSpan = n.a * std::sin(n.alphaW);  // between the two tangent points T1 T2
    n.ga = reach[0] + reach[1] - tangentSpan;
    n.epsilonAlpha = n.ga / n.pb;
    n.lowContactRatio = n.epsilonAlpha < lowContactRatio;
    // Interference: the mate's tip meets this gear below the start of its
    // involute. Along the line of action the mate's tip reaches to
    // T1 T2 - reach(mate) from this gear's tangent point T, and an involute
    // point at radius rho lies sqrt(rho^2 - rb^2) from T. The involute starts
    // at T itself (the classic criterion: the path of contact runs past T)
    // or, where the rack's straight flank ends above the generating line's
    // interference point, at the point that flank end cuts:
    // r sin(alpha) - (hF - x m) / sin(alpha) from T, hF the straight
    // flank's depth below the datum (1 m at 20 degrees; the tip round
    // below it cuts the fillet). Below that the flank is the fillet, which
    // stands outside the involute, so the teeth would overlap.
    const double straightDepth = -flankStart(makeRackProfile(m, n.alpha));
    for (int i = 0; i < 2; ++i) {
        const double r = n.gear[i].d / 2.0;
        const double sinA = std::sin(n.alpha);
        const double involuteStart = std::max(0.0, r * sinA - (straightDepth - x[i] * m) / sinA);
        n.gear[i].interference = tangentSpan - reach[1 - i] < involuteStart;
    }
    return n;
}

PairCheck checkPair(const PairInput& in) {
    char text[256];
    auto fail = [&](PairField field) { return PairCheck{field, text}; };
    if (!(in.z1 >= minTeeth && in.z1 <= maxTeeth)) {
        snprintf(text, sizeof text, "z1 must be a whole number from %d to %d", minTeeth, maxTeeth);
        return fail(PairField::z1);
    }
    if (!(in.z2 >= minTeeth && in.z2 <= maxTeeth)) {
        snprintf(text, sizeof text, "z2 must be a whole number from %d to %d", minTeeth, maxTeeth);
        return fail(PairField::z2);
    }
    if (!inRange(in.m, minModule, maxModule)) {
        snprintf(text, sizeof text, "m must be %g to %g mm", minModule, maxModule);
        return fail(PairField::module);
    }
    if (!inRange(in.alphaDeg, minPressureAngleDeg, maxPressureAngleDeg)) {
        snprintf(text, sizeof text, "alpha must be %g to %g degrees", minPressureAngleDeg, maxPressureAngleDeg);
        return fail(PairField::alpha);
    }
    const double xs[2] = {in.x1, in.x2};
    for (int i = 0; i < 2; ++i) {
        if (!inRange(xs[i], minShift, maxShift)) {
            snprintf(text, sizeof text, "x%d must be %.1f to %.1f", i + 1, minShift, maxShift);
            return fail(i == 0 ? PairField::x1 : PairField::x2);
        }
    }
    // inv(alpha_w) = inv(alpha) + 2 tan(alpha) (x1 + x2) / (z1 + z2) must stay
    // above 0: at 0 the centre distance is rb1 + rb2, the base circles touch
    // and there is no working pressure angle. So x1 + x2 must be above
    // -inv(alpha) (z1 + z2) / (2 tan(alpha)).
    const double alpha = in.alphaDeg * degToRad;
    const double shiftSumFloor = -involuteFunction(alpha) * (in.z1 + in.z2) / (2.0 * std::tan(alpha));
    if (in.x1 + in.x2 <= shiftSumFloor) {
        const int i = in.x2 < in.x1 ? 1 : 0;
        snprintf(text, sizeof text,
                 "x1 + x2 = %g leaves the pair no working pressure angle (the base circles would touch); with "
                 "these teeth x1 + x2 must be above %.4f",
                 in.x1 + in.x2, std::ceil(shiftSumFloor * 1e4) / 1e4);
        return fail(i == 0 ? PairField::x1 : PairField::x2);
    }
    const PairNumbers n = pairNumbers(in);
    for (int i = 0; i < 2; ++i) {
        // df = d - 2 m (1.25 - x) > 0 needs x > 1.25 - z / 2 (only 4 teeth can miss).
        if (n.gear[i].df <= 0.0) {
            snprintf(text, sizeof text,
                     "x%d = %g leaves gear %d no root circle (df%d = %.4f mm); with %d teeth x%d must be above %g to "
                     "%.1f",
                     i + 1, xs[i], i + 1, i + 1, n.gear[i].df, n.gear[i].z, i + 1, rackAddendum - n.gear[i].z / 2.0,
                     maxShift);
            return fail(i == 0 ? PairField::x1 : PairField::x2);
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (n.gear[i].sa <= 0.0) {
            // Name the shift that makes the pointed gear's tooth and the range
            // that keeps both gears' teeth with a tip.
            const double lo = std::max(minShift, rackAddendum - n.gear[i].z / 2.0 + 1e-9);
            PairInput low = in;
            (i == 0 ? low.x1 : low.x2) = lo;
            const PairNumbers ln = pairNumbers(low);
            if (ln.gear[0].sa > 0.0 && ln.gear[1].sa > 0.0) {
                const double best = largestUnpointedShift(in, i, lo, xs[i]);
                snprintf(text, sizeof text,
                         "x%d = %g makes gear %d's teeth pointed (tip thickness sa%d = %.4f mm); with these teeth "
                         "x%d must be %g to %.4f",
                         i + 1, xs[i], i + 1, i + 1, n.gear[i].sa, i + 1, lo, std::floor(best * 1e4) / 1e4);
            } else {
                snprintf(text, sizeof text,
                         "gear %d's teeth are pointed (tip thickness sa%d = %.4f mm) for every x%d from %g to %.1f "
                         "with these teeth",
                         i + 1, i + 1, n.gear[i].sa, i + 1, lo, maxShift);
            }
            return fail(i == 0 ? PairField::x1 : PairField::x2);
        }
    }
    return PairCheck{};
}

void buildPairGeometry(const PairInput& input, PairGeometry& pair) {
    pair.input = input;
    pair.numbers = pairNumbers(input);
    buildOutline(input, 0, pair.numbers, pair.outline[0]);
    buildOutline(input, 1, pair.numbers, pair.outline[1]);
    // Gear 1's tooth 0 lies on the line of centres; gear 2 turns a space onto
    // it. With a from alpha_w the working tooth thicknesses add up to the
    // working pitch (sw1 + sw2 = pw), so the tooth fills the space at the
    // working pitch circles and both flanks touch: no backlash, no overlap.
    // Gear 2's spaces lie at pi / z2 + k 2 pi / z2; the one facing gear 1
    // must be at pi.
    pair.phase2 = pi - pi / input.z2;
}

void rackOutline(const PairInput& input, int gearIndex, int teeth, std::vector<Point2>& points) {
    const double m = input.m;
    const double x = gearIndex == 0 ? input.x1 : input.x2;
    const RackProfile p = makeRackProfile(m, input.alphaDeg * degToRad);
    const double xm = x * m;
    const double pitch = pi * m;

    // One rack tooth's half from the middle of its tip to the middle of the
    // space beside it, in the tooth-centred frame (u, v); the space's half is
    // the tooth's half turned by 180 degrees about the flank's midpoint on
    // the datum (u = pi m / 4, v = 0).
    std::vector<Point2> half;
    half.push_back(Point2{0.0, -p.depth});
    const double bEnd = pi / 2.0 - p.alpha;
    for (int i = 0; i <= rackRoundSegments; ++i) {
        const ProfilePoint q = roundPoint(p, bEnd * i / rackRoundSegments);
        half.push_back(Point2{q.u, q.v});
    }
    const size_t toFlank = half.size();
    for (size_t i = toFlank; i-- > 0;) {
        half.push_back(Point2{pitch / 2.0 - half[i].x, -half[i].y});
    }

    // Rack frame: space centred at 0, rolling line y = 0, datum y = x m.
    // Rack tooth centres at (k + 1/2) pi m.
    points.clear();
    const double left = -teeth * pitch / 2.0;
    const double right = teeth * pitch / 2.0;
    const int firstTooth = static_cast<int>(std::floor(left / pitch - 0.5)) - 1;
    const int lastTooth = static_cast<int>(std::ceil(right / pitch - 0.5)) + 1;
    auto add = [&](double u, double v) {
        if (u < left - 1e-12 * m || u > right + 1e-12 * m) {
            return;
        }
        if (!points.empty() && std::fabs(points.back().x - u) < 1e-12 * m &&
            std::fabs(points.back().y - (v + xm)) < 1e-12 * m) {
            return;
        }
        points.push_back(Point2{u, v + xm});
    };
    auto clipAdd = [&](const Point2& a, const Point2& b) {
        // Adds b, and where the segment a-b crosses an end, the crossing.
        for (double edge : {left, right}) {
            if ((a.x - edge) * (b.x - edge) < 0.0) {
                const double t = (edge - a.x) / (b.x - a.x);
                add(edge, a.y + t * (b.y - a.y));
            }
        }
        add(b.x, b.y);
    };
    Point2 previous{-1e300, 0.0};
    bool havePrevious = false;
    for (int k = firstTooth; k <= lastTooth; ++k) {
        const double centre = (k + 0.5) * pitch;
        // Left half (mirrored, walked from the space's middle to the tip's
        // middle), then the right half.
        for (size_t i = half.size(); i-- > 0;) {
            const Point2 q{centre - half[i].x, half[i].y};
            if (havePrevious) {
                clipAdd(previous, q);
            } else {
                add(q.x, q.y);
            }
            previous = q;
            havePrevious = true;
        }
        for (size_t i = 1; i < half.size(); ++i) {
            const Point2 q{centre + half[i].x, half[i].y};
            clipAdd(previous, q);
            previous = q;
        }
    }
}

void rackOutlineAt(const PairInput& input, int gearIndex, double phi, int teeth, std::vector<Point2>& points) {
    const int z = gearIndex == 0 ? input.z1 : input.z2;
    const double r = input.m * z / 2.0;
    const double pitch = pi * input.m;
    double shift = -r * (phi - pi / 2.0);
    shift -= std::round(shift / pitch) * pitch;
    rackOutline(input, gearIndex, teeth, points);
    for (Point2& q : points) {
        q.x += shift;
        q.y += r;
    }
}

void simplifyOutline(const std::vector<Point2>& points, double tolerance, std::vector<Point2>& out) {
    out.clear();
    const size_t n = points.size();
    if (n < 4) {
        out = points;
        return;
    }
    // Split the closed outline at its first point and the point farthest
    // from it, then thin both halves as open polylines.
    size_t far = 0;
    double farthest = -1.0;
    for (size_t i = 1; i < n; ++i) {
        const double d = std::hypot(points[i].x - points[0].x, points[i].y - points[0].y);
        if (d > farthest) {
            farthest = d;
            far = i;
        }
    }
    std::vector<Point2> ring(points);
    ring.push_back(points[0]);
    std::vector<char> keep(n + 1, 0);
    douglasPeucker(ring.data(), 0, far, tolerance, keep);
    douglasPeucker(ring.data(), far, n, tolerance, keep);
    for (size_t i = 0; i < n; ++i) {
        if (keep[i]) {
            out.push_back(points[i]);
        }
    }
}

std::string formatPairReport(const PairNumbers& n) {
    std::string text;
    char line[256];
    auto add = [&](const char* label, const char* symbol, double value, const char* unit) {
        snprintf(line, sizeof line, "\n%s %s = %.4f%s%s", label, symbol, value, unit[0] != '\0' ? " " : "", unit);
        text += line;
    };
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    text += "\n歯車対の諸元";
    add("中心距離", "a", n.a, "mm");
    add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg");
    add("基準円直径", "d1", g1.d, "mm");
    add("基準円直径", "d2", g2.d, "mm");
    add("基礎円直径", "db1", g1.db, "mm");
    add("基礎円直径", "db2", g2.db, "mm");
    add("歯先円直径", "da1", g1.da, "mm");
    add("歯先円直径", "da2", g2.da, "mm");
    add("歯底円直径", "df1", g1.df, "mm");
    add("歯底円直径", "df2", g2.df, "mm");
    add("法線ピッチ", "pb", n.pb, "mm");
    add("かみ合い長さ", "ga", n.ga, "mm");
    add("正面かみ合い率", "εα", n.epsilonAlpha, "");
    add("基準円歯厚", "s1", g1.s, "mm");
    add("基準円歯厚", "s2", g2.s, "mm");
    add("歯先歯厚", "sa1", g1.sa, "mm");
    add("歯先歯厚", "sa2", g2.sa, "mm");
    add("切下げ限界転位係数", "xmin1", g1.xmin, "");
    add("切下げ限界転位係数", "xmin2", g2.xmin, "");
    for (int i = 0; i < 2; ++i) {
        const GearNumbers& g = n.gear[i];
        if (g.undercut) {
            snprintf(line, sizeof line, "\n警告: 歯車%dにアンダーカットが生じます（転位係数が x%d < xmin%d）", i + 1,
                     i + 1, i + 1);
            text += line;
        }
        if (g.interference) {
            snprintf(line, sizeof line,
                     "\n警告: 歯車%dの歯元で干渉が生じます（相手の歯先がインボリュートの始まりより歯元側に当たります）",
                     i + 1);
            text += line;
        }
        if (g.thinTip) {
            snprintf(line, sizeof line, "\n警告: 歯車%dの歯先が薄すぎます（歯先歯厚が 0.25m 未満）", i + 1);
            text += line;
        }
    }
    if (n.lowContactRatio) {
        text += "\n警告: かみ合い率が 1.1 未満です";
    }
    text += "\n";
    return text;
}

std::string formatPairSvg(const PairGeometry& pair) {
    const PairNumbers& n = pair.numbers;
    const double ra1 = n.gear[0].da / 2.0;
    const double ra2 = n.gear[1].da / 2.0;
    const double margin = 2.0 * pair.input.m;
    const double left = -ra1 - margin;
    const double right = n.a + ra2 + margin;
    const double half = std::max(ra1, ra2) + margin;
    char buffer[512];
    std::string svg;
    snprintf(buffer, sizeof buffer,
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.5fmm\" height=\"%.5fmm\" "
             "viewBox=\"%.5f %.5f %.5f %.5f\">\n",
             right - left, 2.0 * half, left, -half, right - left, 2.0 * half);
    svg += buffer;
    snprintf(buffer, sizeof buffer,
             "<!-- involute gear pair, mm: z1 = %d, z2 = %d, m = %g, alpha = %g deg, x1 = %g, x2 = %g; "
             "a = %.5f; gear 2 turned by %.9f rad to mesh without backlash; y is written as -y -->\n",
             pair.input.z1, pair.input.z2, pair.input.m, pair.input.alphaDeg, pair.input.x1, pair.input.x2, n.a,
             pair.phase2);
    svg += buffer;
    const double strokeWidth = 0.02 * pair.input.m;
    for (int i = 0; i < 2; ++i) {
        const std::vector<Point2>& points = pair.outline[i].points;
        const double turn = i == 0 ? 0.0 : pair.phase2;
        const double cx = i == 0 ? 0.0 : n.a;
        const double c = std::cos(turn);
        const double s = std::sin(turn);
        snprintf(buffer, sizeof buffer, "<path id=\"gear%d\" fill=\"none\" stroke=\"%s\" stroke-width=\"%.5f\" d=\"",
                 i + 1, i == 0 ? "#ff0000" : "#0000ff", strokeWidth);
        svg += buffer;
        for (size_t k = 0; k < points.size(); ++k) {
            const double x = cx + c * points[k].x - s * points[k].y;
            const double y = s * points[k].x + c * points[k].y;
            snprintf(buffer, sizeof buffer, "%s%.5f %.5f", k == 0 ? "M" : " L", x, -y);
            svg += buffer;
        }
        svg += " Z\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}
