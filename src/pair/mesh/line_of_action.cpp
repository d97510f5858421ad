// The line of action of a gear pair: its effective path, the specific
// sliding, the single-tooth contact diameters, the Hertz stress and the shifts
// for a working centre distance. See pair/line_of_action.h.
#include "pair/mesh/line_of_action.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/plane.h"
#include "pair/inputs/helical.h"
#include "pair/inputs/kind_traits.h"
#include "pair/solve/numeric.h"
#include "pair/kinds/kinds.h"
#include "pair/mesh/mesh_kinds.h"
#include "pair/solve/number_format.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
// The x1 grid over which a split is looked for, and the a grid over which
// the reachable centre distances are first looked for.
constexpr int shiftGridSteps = 100;
constexpr int centreDistanceGridSteps = 80;
// The x2 grid over which the centre distances are looked for with x1 kept.
constexpr int keptX1GridSteps = 100;
constexpr double centreDistanceTolerance = 1e-5;  // mm, the bisection; the ends are then rounded to 1e-4
constexpr double shiftTolerance = 1e-7;

// Distance along the line of action from the tangent point of a base circle
// of radius rb to where it meets the circle of radius r (0 inside the base circle).

// Whether checkMeshPair accepts it, without the refusal's cure that checkPair
// would search for and this search never reads.
bool accepted(const PairInput& in) {
    RingCutterMemo memo;
    return pairAccepted(in, memo);
}

}  // namespace

ContactPath contactPath(const PairNumbers& n) {
    ContactPath p{};
    // Gear 2 as the kind's traits have it turn: back (an external gear, T2
    // beyond C), the same way (a ring, T2 behind T1) or not at all (a rack,
    // sliding, its flank straight). A set's sun–planet pair is an external one.
    p.mate = -pairKindTraits(n.kind).gear2Turns;
    p.pb = n.pb;
    p.rb1 = n.gear[0].db / 2.0;
    // The pitch point: T1C = rw1 sin(alpha_w) (dw1 = d1 for the rack).
    p.C = n.gear[0].dw / 2.0 * std::sin(n.alphaW);
    if (p.mate == 0.0) {
        p.rb2 = 0.0;
        p.T1T2 = infinity;
        p.u = infinity;
    } else {
        p.rb2 = n.gear[1].db / 2.0;
        p.T1T2 = p.mate * n.a * std::sin(n.alphaW);
        p.u = static_cast<double>(n.gear[1].z) / n.gear[0].z;
    }
    // The effective path as the kind worked it out (gaEff = E - A).
    p.A = n.pathStart;
    p.E = n.pathEnd;
    p.B = p.E - p.pb;
    p.D = p.A + p.pb;
    return p;
}

double rho1At(const ContactPath&, double s) { return s; }

double rho2At(const ContactPath& p, double s) { return p.mate == 0.0 ? infinity : p.mate * (p.T1T2 - s); }

double diameter1At(const ContactPath& p, double s) { return 2.0 * std::hypot(p.rb1, s); }

double diameter2At(const ContactPath& p, double s) {
    return p.mate == 0.0 ? 0.0 : 2.0 * std::hypot(p.rb2, rho2At(p, s));
}

int pairsInContact(const ContactPath& p, double s) {
    // The pairs in contact touch at s + k pb for whole k, all within A..E.
    const double tolerance = 1e-12 * std::max(1.0, p.pb);
    const double first = std::ceil((p.A - s) / p.pb - tolerance);
    const double last = std::floor((p.E - s) / p.pb + tolerance);
    return static_cast<int>(std::max(0.0, last - first + 1.0));
}

Sliding specificSliding(const ContactPath& p, double s) {
    // Speeds along the flanks per unit omega1: v1 = rho1, v2 = rho2 / u (the
    // rack: the pitch line's speed r1 times sin(alpha), that is C).
    const double v1 = rho1At(p, s);
    const double v2 = p.mate == 0.0 ? p.C : rho2At(p, s) / p.u;
    Sliding z{};
    z.zeta1 = v1 != 0.0 ? 1.0 - v2 / v1 : -infinity;
    z.zeta2 = v2 != 0.0 ? 1.0 - v1 / v2 : -infinity;
    return z;
}

SlidingAtEnds slidingAtEnds(const ContactPath& p) {
    const Sliding atA = specificSliding(p, p.A);
    const Sliding atE = specificSliding(p, p.E);
    return SlidingAtEnds{atA.zeta1, atE.zeta1, atE.zeta2, atA.zeta2};
}

SingleToothContact singleToothContact(const ContactPath& p) {
    SingleToothContact c{};
    c.dB1 = diameter1At(p, p.B);
    c.dD1 = diameter1At(p, p.D);
    c.dB2 = diameter2At(p, p.B);
    c.dD2 = diameter2At(p, p.D);
    c.nearlyWhole = (p.E - p.A) / p.pb < nearlySingleContactRatio;
    return c;
}

double sigmaHAt(const ContactPath& p, const HertzLoad& load, double s, double F) {
    // Relative curvature 1 / rho1 + 1 / rho2 of two convex flanks; the
    // ring's concave flank subtracts; the rack's straight flank adds nothing.
    const double rho1 = rho1At(p, s);
    double curvature = 1.0 / rho1;
    if (p.mate != 0.0) {
        curvature += p.mate / rho2At(p, s);
    }
    const double compliance = (1.0 - load.nu1 * load.nu1) / load.E1 + (1.0 - load.nu2 * load.nu2) / load.E2;
    return std::sqrt(F / (load.b * pi) * curvature / compliance);
}

HertzStress helicalHertzStress(const PairInput& in, const PairNumbers& n, const ContactPath& p, const HertzLoad& load) {
    HertzStress h{};
    const double cosBetaB = std::cos(n.helix.betaB);
    const double Fbt = 1000.0 * load.T / p.rb1;  // the transverse component, N
    h.Fn = Fbt / cosBetaB;
    // sigmaHAt with b = 1 takes q cos(beta_b) as its F: per mm of line,
    // with the normal radii rho / cos(beta_b).
    HertzLoad perMm = load;
    perMm.b = 1.0;
    const double b = load.b;
    h.sigmaHC = sigmaHAt(p, perMm, p.C, h.Fn * cosBetaB / b * cosBetaB);
    h.sigmaHMax = -1.0;
    // The lines' ends move evenly with the turn, and the total length L
    // changes evenly between the moments a line's end passes a corner of
    // the plane of action (its shift u0 at 0, -b tan(beta_b), gaEff or
    // gaEff - b tan(beta_b), modulo pbt). Between those moments each end's
    // stress is worked out at both ends of the stretch (the limits: a line
    // just entering at a corner, its length 0, while the others carry the
    // whole load) and at its largest inside (golden section).
    const double pitch = p.pb;
    const double reach = b * std::tan(n.helix.betaB);
    const double length = n.gaEff;
    std::vector<double> moments{0.0, pitch};
    for (double corner : {0.0, -reach, length, length - reach}) {
        moments.push_back(corner - std::floor(corner / pitch) * pitch);
    }
    std::sort(moments.begin(), moments.end());
    auto stressAt = [&](double shift, int line, int end, double* where) {
        const ActionPlane plane = actionPlane(in, n, shift / p.rb1);
        if (line >= plane.count || !(plane.total > 0.0)) {
            return -1.0;
        }
        const double s = p.A + (end == 0 ? plane.lines[line].u0 : plane.lines[line].u1);
        if (where != nullptr) {
            *where = s;
        }
        return sigmaHAt(p, perMm, s, h.Fn / plane.total * cosBetaB);
    };
    auto consider = [&](double shift, int line, int end) {
        double s = 0.0;
        const double sigma = stressAt(shift, line, end, &s);
        if (sigma > h.sigmaHMax) {
            h.sigmaHMax = sigma;
            h.sMax = s;
        }
    };
    const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
    for (size_t k = 0; k + 1 < moments.size(); ++k) {
        const double span = moments[k + 1] - moments[k];
        if (!(span > 1e-13 * pitch)) {
            continue;
        }
        const double lo = moments[k] + 1e-9 * span;
        const double hi = moments[k + 1] - 1e-9 * span;
        const int count = actionPlane(in, n, (lo + hi) / 2.0 / p.rb1).count;
        for (int line = 0; line < count; ++line) {
            for (int end = 0; end < 2; ++end) {
                consider(lo, line, end);
                consider(hi, line, end);
                double a = lo;
                double c = hi;
                double x1 = c - golden * (c - a);
                double x2 = a + golden * (c - a);
                double f1 = stressAt(x1, line, end, nullptr);
                double f2 = stressAt(x2, line, end, nullptr);
                for (int i = 0; i < 40; ++i) {
                    if (f1 > f2) {
                        c = x2;
                        x2 = x1;
                        f2 = f1;
                        x1 = c - golden * (c - a);
                        f1 = stressAt(x1, line, end, nullptr);
                    } else {
                        a = x1;
                        x1 = x2;
                        f1 = f2;
                        x2 = a + golden * (c - a);
                        f2 = stressAt(x2, line, end, nullptr);
                    }
                }
                consider((a + c) / 2.0, line, end);
            }
        }
    }
    if (h.sigmaHMax < 0.0) {
        h.sigmaHMax = h.sigmaHC;  // no line in contact at any moment: no effective path
        h.sMax = p.C;
    }
    h.dMax1 = diameter1At(p, h.sMax);
    return h;
}

HertzLoad hertzLoadOf(const PairInput& in) {
    HertzLoad load{};
    load.T = in.torque;
    load.b = faceWidthOf(in);
    load.E1 = load.E2 = in.elasticE * 1000.0;  // GPa to MPa
    load.nu1 = load.nu2 = in.elasticNu;
    return load;
}

HertzStress hertzStress(const ContactPath& p, const HertzLoad& load) {
    HertzStress h{};
    h.Fn = 1000.0 * load.T / p.rb1;  // T = Fn rb1, T in N m, rb1 in mm
    h.sigmaHC = sigmaHAt(p, load, p.C, h.Fn);
    // The load changes only where a pair enters or leaves (A + k pb, E - k
    // pb); between, 1 / rho1 +- 1 / rho2 is convex (external) or falls
    // (internal, rack) along s, so the largest stress of each stretch is at
    // one of its ends, with that stretch's share of the load.
    std::vector<double> cuts{p.A, p.E};
    for (double s = p.A + p.pb; s < p.E; s += p.pb) {
        cuts.push_back(s);
    }
    for (double s = p.E - p.pb; s > p.A; s -= p.pb) {
        cuts.push_back(s);
    }
    std::sort(cuts.begin(), cuts.end());
    h.sigmaHMax = -1.0;
    auto consider = [&](double s, double F) {
        const double sigma = sigmaHAt(p, load, s, F);
        if (sigma > h.sigmaHMax) {
            h.sigmaHMax = sigma;
            h.sMax = s;
        }
    };
    if (cuts.back() <= cuts.front()) {
        consider(p.A, h.Fn);  // no effective path: the one contact carries all
    }
    for (size_t k = 0; k + 1 < cuts.size(); ++k) {
        if (cuts[k + 1] <= cuts[k]) {
            continue;
        }
        const int n = std::max(1, pairsInContact(p, (cuts[k] + cuts[k + 1]) / 2.0));
        consider(cuts[k], h.Fn / n);
        consider(cuts[k + 1], h.Fn / n);
    }
    h.dMax1 = diameter1At(p, h.sMax);
    return h;
}

// ---- Profile shifts for a working centre distance --------------------------------

namespace {

// Gear 2's flank as ContactPath::mate has it: +1 an external gear, -1 a
// ring, 0 a rack. The shifts' total that sets the working pressure angle is
// x2 + mate x1 (x1 + x2 external, x2 - x1 a ring), over z2 + mate z1 teeth.
double mateOf(const PairInput& in) { return -pairKindTraits(in.kind).gear2Turns; }
int teethSum(const PairInput& in) { return in.z2 + static_cast<int>(mateOf(in)) * in.z1; }
const char* shiftTotalName(const PairInput& in) { return mateOf(in) < 0.0 ? "x2 - x1" : "x1 + x2"; }

// The pair with shift x1 and the total fixed: x2 = total - mate x1.
PairInput withShifts(const PairInput& in, double total, double x1) {
    PairInput p = in;
    p.x1 = x1;
    p.x2 = total - mateOf(in) * x1;
    return p;
}

// The x1 for which both shifts lie in minShift..maxShift.
std::pair<double, double> shiftBox(const PairInput& in, double total) {
    if (mateOf(in) < 0.0) {
        return {std::max(minShift, minShift - total), std::min(maxShift, maxShift - total)};
    }
    return {std::max(minShift, total - maxShift), std::min(maxShift, total - minShift)};
}

// zeta1Root - zeta2Root; mostly rises with x1 (gear 2's tip recedes from
// gear 1's root, gear 1's tip reaches deeper into gear 2's), but falls where
// an undercut pinion's involute start moves the path's end instead.
double rootSlidingGap(const PairInput& p) {
    const SlidingAtEnds z = slidingAtEnds(contactPath(meshPairNumbers(p)));
    return z.zeta1Root - z.zeta2Root;
}

// From accepted `good` towards rejected `bad`: the last accepted x1.
double acceptedEdge(const PairInput& in, double total, double good, double bad) {
    return bisectEdge([&](double x1) { return accepted(withShifts(in, total, x1)); }, good, bad, shiftTolerance);
}

// Some accepted x1 for the total, the hints tried first, then a grid over
// the box; NaN when none is found.
double someAcceptedShift(const PairInput& in, double total, const std::vector<double>& hints) {
    const auto box = shiftBox(in, total);
    if (box.first > box.second) {
        return notANumber;
    }
    for (double x1 : hints) {
        if (std::isfinite(x1) && x1 >= box.first && x1 <= box.second && accepted(withShifts(in, total, x1))) {
            return x1;
        }
    }
    for (int k = 0; k <= shiftGridSteps; ++k) {
        const double x1 = box.first + (box.second - box.first) * k / shiftGridSteps;
        if (accepted(withShifts(in, total, x1))) {
            return x1;
        }
    }
    return notANumber;
}

// The middle of the window of accepted x1 around an accepted one.
double windowMiddle(const PairInput& in, double total, double x1) {
    const auto box = shiftBox(in, total);
    const double step = (box.second - box.first) / shiftGridSteps;
    double ends[2];
    for (int side = 0; side < 2; ++side) {
        const double direction = side == 0 ? -1.0 : 1.0;
        const double limit = side == 0 ? box.first : box.second;
        double good = x1;
        ends[side] = limit;
        while (std::fabs(limit - good) > 0.0) {
            const double next = direction < 0 ? std::max(limit, good - step) : std::min(limit, good + step);
            if (!accepted(withShifts(in, total, next))) {
                ends[side] = acceptedEdge(in, total, good, next);
                break;
            }
            good = next;
        }
    }
    return (ends[0] + ends[1]) / 2.0;
}

// A helical pair's in its transverse section: the total xn mn is
// (xn cos(beta)) mt there (pair/helical.h).
double centreDistanceOf(const TransverseSection& section, double total) {
    const PairInput& in = section.spur();
    const double alpha = in.alphaDeg * degToRad;
    const int zSum = teethSum(in);
    const double alphaW =
        inverseInvolute(involuteFunction(alpha) + 2.0 * std::tan(alpha) * (total * in.heightFactor) / zSum);
    return in.m * zSum / 2.0 * std::cos(alpha) / std::cos(alphaW);
}

// shiftTotalForCentreDistance in the pair's transverse section.
CentreDistanceShift shiftTotalInSection(const TransverseSection& section, double a) {
    const PairInput& in = section.spur();
    CentreDistanceShift r{};
    if (mateOf(in) == 0.0) {
        r.message = "a rack pair's centre distance follows from x1 alone: a = m z1 / 2 + x1 m";
        return r;
    }
    const int zSum = teethSum(in);
    const double alpha = in.alphaDeg * degToRad;
    // cos(alpha_w) = a0 cos(alpha) / a, a0 = m (z2 +- z1) / 2.
    const double a0 = in.m * zSum / 2.0;
    const double cosAlphaW = a0 * std::cos(alpha) / a;
    if (!(zSum > 0 && a > 0.0 && cosAlphaW < 1.0)) {
        char text[160];
        snprintf(text, sizeof text, "a = %g mm gives no working pressure angle: it must be above %.4f mm", a,
                 a0 * std::cos(alpha));
        r.message = text;
        return r;
    }
    r.ok = true;
    r.alphaW = std::acos(cosAlphaW);
    r.shiftTotal = zSum * (involuteFunction(r.alphaW) - involuteFunction(alpha)) / (2.0 * std::tan(alpha)) /
                   in.heightFactor;  // in mn
    return r;
}

}  // namespace

CentreDistanceShift shiftTotalForCentreDistance(const PairInput& input, double a) {
    return shiftTotalInSection(transverseSection(input), a);
}

CentreDistanceShift shiftForCentreDistance(const PairInput& in, double a, double x1) {
    CentreDistanceShift r = shiftTotalForCentreDistance(in, a);
    if (!r.ok) {
        return r;
    }
    const PairInput p = withShifts(in, r.shiftTotal, x1);
    r.x1 = p.x1;
    r.x2 = p.x2;
    r.message = checkMeshPair(p).message;
    r.accepted = r.message.empty();
    return r;
}

CentreDistanceShift shiftForCentreDistance(const PairInput& in, double a) {
    CentreDistanceShift r = shiftTotalForCentreDistance(in, a);
    if (!r.ok) {
        return r;
    }
    const double total = r.shiftTotal;
    const auto box = shiftBox(in, total);
    // The accepted x1 of a grid over the box, and the root sliding gap there.
    std::vector<double> xs;
    std::vector<double> gaps;
    std::vector<bool> ok;
    for (int k = 0; box.first <= box.second && k <= shiftGridSteps; ++k) {
        const double x1 = box.first + (box.second - box.first) * k / shiftGridSteps;
        xs.push_back(x1);
        ok.push_back(accepted(withShifts(in, total, x1)));
        gaps.push_back(ok.back() ? rootSlidingGap(withShifts(in, total, x1)) : notANumber);
    }
    int nearest = -1;
    for (size_t k = 0; k < xs.size(); ++k) {
        if (ok[k] && (nearest < 0 || std::fabs(gaps[k]) < std::fabs(gaps[nearest]))) {
            nearest = static_cast<int>(k);
        }
        if (k > 0 && ok[k] && ok[k - 1] && (gaps[k - 1] <= 0.0) != (gaps[k] < 0.0)) {
            // Bisection on x1 for zeta1Root = zeta2Root, the gap rising or
            // falling through 0 (lo keeps the sign of the gap at xs[k - 1]).
            double lo = xs[k - 1];
            double hi = xs[k];
            const bool negativeAtLo = gaps[k - 1] < 0.0;
            while (hi - lo > shiftTolerance) {
                const double mid = (lo + hi) / 2.0;
                ((rootSlidingGap(withShifts(in, total, mid)) < 0.0) == negativeAtLo ? lo : hi) = mid;
            }
            r.balanced = true;
            const CentreDistanceShift split = shiftForCentreDistance(in, a, (lo + hi) / 2.0);
            if (split.accepted) {
                r.x1 = split.x1;
                r.x2 = split.x2;
                r.accepted = true;
                return r;
            }
            r.balanced = false;
        }
    }
    if (nearest < 0) {
        char text[200];
        snprintf(text, sizeof text, "no split of %s = %s gives a pair that can be cut",
                 shiftTotalName(in), fixed(total, 4).c_str());
        r.message = text;
        return r;
    }
    // The equal split cannot be cut: the accepted x1 nearest it, at the edge
    // of the accepted window on the side where the gap goes to 0 (the
    // window's own slope of the gap says which).
    double x1 = xs[nearest];
    const int last = static_cast<int>(xs.size()) - 1;
    double slope = 1.0;
    if (nearest < last && ok[nearest + 1]) {
        slope = gaps[nearest + 1] - gaps[nearest];
    } else if (nearest > 0 && ok[nearest - 1]) {
        slope = gaps[nearest] - gaps[nearest - 1];
    }
    const int towards = (gaps[nearest] < 0.0) == (slope >= 0.0) ? nearest + 1 : nearest - 1;
    if (towards >= 0 && towards < static_cast<int>(xs.size()) && !ok[towards]) {
        x1 = acceptedEdge(in, total, x1, xs[towards]);
    }
    const CentreDistanceShift split = shiftForCentreDistance(in, a, x1);
    r.x1 = split.x1;
    r.x2 = split.x2;
    r.accepted = split.accepted;
    r.balanced = split.accepted && std::fabs(rootSlidingGap(withShifts(in, total, x1))) < 1e-6;  // a lone window
    r.message = split.message;
    return r;
}

CentreDistanceRange reachableCentreDistances(const PairInput& normal) {
    const PairInput& in = normal;
    const TransverseSection section = transverseSection(normal);
    const PairInput& t = section.spur();  // a helical pair's angles in its transverse section
    CentreDistanceRange range;
    if (mateOf(in) == 0.0) {
        range.message = "a rack pair's centre distance follows from x1 alone: a = m z1 / 2 + x1 m";
        return range;
    }
    const double alpha = t.alphaDeg * degToRad;
    const int zSum = teethSum(in);
    if (zSum <= 0) {
        range.message = checkMeshPair(in).message;
        return range;
    }
    // The totals the shift ranges allow, above the one that leaves no
    // working pressure angle (inv(alpha_w) > 0).
    const double noAngle = -zSum * involuteFunction(alpha) / (2.0 * std::tan(alpha)) / t.heightFactor;
    // External: x1 + x2 from 2 minShift to 2 maxShift; internal: x2 - x1
    // from minShift - maxShift to maxShift - minShift.
    const double totalLo = std::max(mateOf(in) < 0.0 ? minShift - maxShift : 2.0 * minShift, noAngle + 1e-9);
    const double totalHi = mateOf(in) < 0.0 ? maxShift - minShift : 2.0 * maxShift;
    const double aLo = centreDistanceOf(section, totalLo);
    const double aHi = centreDistanceOf(section, totalHi);
    auto totalAt = [&](double a) { return shiftTotalInSection(section, a).shiftTotal; };

    // The grid over a: an accepted x1 at each (NaN where none).
    std::vector<double> as;
    std::vector<double> shifts;
    double hint = notANumber;
    for (int k = 0; k <= centreDistanceGridSteps; ++k) {
        const double a = aLo + (aHi - aLo) * k / centreDistanceGridSteps;
        as.push_back(a);
        shifts.push_back(someAcceptedShift(in, totalAt(a), {hint}));
        if (std::isfinite(shifts.back())) {
            hint = shifts.back();
        }
    }
    // An edge between an accepted a and a rejected one, by bisection; at
    // each step the middle of the accepted window of the last accepted a is
    // tried first (kept x1, kept x2 and between), so a window that closes
    // towards the edge is followed to its end.
    auto edge = [&](double good, double goodX1, double bad) {
        while (std::fabs(bad - good) > centreDistanceTolerance) {
            const double mid = (good + bad) / 2.0;
            const double goodTotal = totalAt(good);
            const double middle = windowMiddle(in, goodTotal, goodX1);
            const double shiftChange = totalAt(mid) - goodTotal;
            const double keptX2 = middle + mateOf(in) * shiftChange;
            const double x1 = someAcceptedShift(in, totalAt(mid), {middle, keptX2, (middle + keptX2) / 2.0});
            if (std::isfinite(x1)) {
                good = mid;
                goodX1 = x1;
            } else {
                bad = mid;
            }
        }
        return std::make_pair(good, goodX1);
    };
    // Rounded inwards to 4 decimals and moved further in while --centre-distance
    // there would be refused: a given a is judged by shiftForCentreDistance,
    // whose grid of x1 can miss a window of splits narrower than its step that
    // the edge's bisection followed to its end. From the rounded end, steps
    // of 1e-4 mm (growing twofold after a few, never past the other end), then
    // a bisection back to the first accepted 1e-4 mark: every end offered is
    // one the program then takes.
    auto ownSplit = [&](double a) { return shiftForCentreDistance(in, a).accepted; };
    auto rounded = [&](double a, double otherEnd, int direction, const auto& judged) {
        const double r = direction > 0 ? std::ceil(a * 1e4 - 1e-6) / 1e4 : std::floor(a * 1e4 + 1e-6) / 1e4;
        const long span = std::lround(std::floor((otherEnd - r) * direction * 1e4 + 1e-6));
        auto at = [&](long k) { return std::round(r * 1e4 + direction * k) / 1e4; };
        long bad = -1;
        long good = -1;
        for (long k = 0, step = 1; k <= span; k = std::min(span + (k == span), k + step)) {
            if (judged(at(k))) {
                good = k;
                break;
            }
            bad = k;
            if (k >= 8) {
                step *= 2;
            }
        }
        if (good < 0) {
            return notANumber;
        }
        while (good - bad > 1) {
            const long mid = (good + bad) / 2;
            (judged(at(mid)) ? good : bad) = mid;
        }
        return at(good);
    };
    for (size_t k = 0; k < as.size(); ++k) {
        if (!std::isfinite(shifts[k]) || (k > 0 && std::isfinite(shifts[k - 1]))) {
            continue;
        }
        // A run of accepted a from k.
        size_t last = k;
        while (last + 1 < as.size() && std::isfinite(shifts[last + 1])) {
            ++last;
        }
        std::pair<double, double> lo{as[k], shifts[k]};
        std::pair<double, double> hi{as[last], shifts[last]};
        if (k > 0) {
            lo = edge(as[k], shifts[k], as[k - 1]);
        }
        if (last + 1 < as.size()) {
            hi = edge(as[last], shifts[last], as[last + 1]);
        }
        const double from = rounded(lo.first, hi.first, +1, ownSplit);
        const double to = rounded(hi.first, lo.first, -1, ownSplit);
        if (std::isfinite(from) && std::isfinite(to) && from <= to) {
            range.intervals.emplace_back(from, to);
        }
    }
    auto said = [](const std::vector<std::pair<double, double>>& intervals) {
        std::string words;
        char text[96];
        for (size_t k = 0; k < intervals.size(); ++k) {
            snprintf(text, sizeof text, "%s%s to %s", k == 0 ? "a must be " : " or ",
                     fixed(intervals[k].first, 4).c_str(), fixed(intervals[k].second, 4).c_str());
            words += text;
        }
        return words + " mm";
    };
    range.message = range.intervals.empty()
                        ? "no working centre distance: no split of the shifts gives a pair that can be cut with "
                          "these teeth"
                        : said(range.intervals);
    if (!in.centreX1Given) {
        return range;
    }
    // With x1 given, x2 follows from a (a grows with x2): the runs of x2 in
    // its range that give a pair that can be cut, on a grid, their ends
    // bisected and turned into a, rounded inwards as above but judged with
    // x1 kept.
    const double x1 = in.x1;
    auto cut = [&](double x2) {
        PairInput p = in;
        p.x2 = x2;
        return x2 + mateOf(in) * x1 > noAngle && accepted(p);
    };
    auto keptX1 = [&](double a) { return shiftForCentreDistance(in, a, x1).accepted; };
    auto edgeX2 = [&](double good, double bad) { return bisectEdgeSteps(cut, good, bad, 50); };
    std::vector<double> x2s;
    std::vector<bool> cuts;
    for (int k = 0; k <= keptX1GridSteps; ++k) {
        x2s.push_back(minShift + (maxShift - minShift) * k / keptX1GridSteps);
        cuts.push_back(cut(x2s.back()));
    }
    std::vector<std::pair<double, double>> kept;
    for (size_t k = 0; k < x2s.size(); ++k) {
        if (!cuts[k] || (k > 0 && cuts[k - 1])) {
            continue;
        }
        size_t last = k;
        while (last + 1 < x2s.size() && cuts[last + 1]) {
            ++last;
        }
        const double aLoKept =
            centreDistanceOf(section, (k > 0 ? edgeX2(x2s[k], x2s[k - 1]) : x2s[k]) + mateOf(in) * x1);
        const double aHiKept = centreDistanceOf(
            section, (last + 1 < x2s.size() ? edgeX2(x2s[last], x2s[last + 1]) : x2s[last]) + mateOf(in) * x1);
        const double from = rounded(aLoKept, aHiKept, +1, keptX1);
        const double to = rounded(aHiKept, aLoKept, -1, keptX1);
        if (std::isfinite(from) && std::isfinite(to) && from <= to) {
            kept.emplace_back(from, to);
        }
    }
    range.message = "with x1 = " + fixed(x1, 4) + " kept, " +
                    (kept.empty() ? std::string("no x2 gives a pair that can be cut") : said(kept)) +
                    "; with both shifts left to the program, " + range.message;
    return range;
}

bool applyCentreDistance(PairInput& in, std::string& message) {
    if (!(in.centreDistance > 0.0)) {
        return true;
    }
    const double a = in.centreDistance;
    const CentreDistanceShift r = in.centreX1Given ? shiftForCentreDistance(in, a, in.x1) : shiftForCentreDistance(in, a);
    if (r.accepted) {
        in.x1 = r.x1;
        in.x2 = r.x2;
        return true;
    }
    char text[320];
    if (in.centreX1Given && r.ok) {
        // With x1 kept: x2 is fixed by a; say why that pair fails, and
        // whether the program's own split would do.
        const CentreDistanceShift own = shiftForCentreDistance(in, a);
        if (own.accepted) {
            snprintf(text, sizeof text,
                     "with x1 = %s it needs x2 = %s, and then %s; with both shifts left to the program, x1 = %s and "
                     "x2 = %s can be cut",
                     fixed(r.x1, 4).c_str(), fixed(r.x2, 4).c_str(), r.message.c_str(), fixed(own.x1, 4).c_str(),
                     fixed(own.x2, 4).c_str());
            message = text;
            return false;
        }
    }
    const CentreDistanceRange range = reachableCentreDistances(in);
    message = range.message;
    return false;
}

std::string cureRefusedByCentreDistance(const PairInput& input, const PairCheck& check,
                                        const std::string& centreDistance) {
    const bool alpha = check.field == PairField::alpha;
    if (!(input.centreDistance > 0.0) || check.cure.empty() || !(alpha || check.field == PairField::cutter)) {
        return "";
    }
    const double tries[3] = {check.cureLo, 0.5 * (check.cureLo + check.cureHi), check.cureHi};
    for (double value : tries) {
        PairInput trial = input;
        char at[32];
        if (alpha) {
            trial.alphaDeg = value;
            snprintf(at, sizeof at, "%.4f", value);
        } else {
            trial.cutterTeeth = static_cast<int>(std::lround(value));
            snprintf(at, sizeof at, "%d teeth", trial.cutterTeeth);
        }
        std::string why;
        if (!applyCentreDistance(trial, why)) {
            return std::string(" with the shifts as given, but at ") + at + " " + centreDistance +
                   " is refused: " + why;
        }
    }
    return "";
}
