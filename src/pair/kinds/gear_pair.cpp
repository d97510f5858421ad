#include "pair/inputs/gear_pair.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/cutting/cutting.h"
#include "pair/inputs/helical.h"
#include "pair/solve/numeric.h"
#include "pair/kinds/kinds.h"
#include "pair/solve/number_format.h"
#include "pair/inputs/kind_traits.h"

namespace {

constexpr double lowContactRatio = 1.1;
constexpr double thinTipFactor = 0.25;              // sa below 0.25 m is a thin tip, and so is such a neck
constexpr double severedNeck = 0.002;               // m: a neck thinner than the outlines' accuracy is cut through
constexpr double largestPinModules = 5.0;           // m: the largest pin chosen, as --pin allows (app/options.h)
// m: how far a pin must stand out of the tip circle (radially) for its size
// to be measured: a pin flush with the tips lets the anvils rest on the
// tips, and the usual pin, moved to the nearest that stands out, would
// otherwise come out exactly flush (M = da).
constexpr double pinStandOutModules = 0.05;

// Tip thickness (arc) of a gear: sa = da (s / d + inv(alpha) - inv(alpha_a)),
// alpha_a = acos(db / da); negative when the flanks cross below the tip.
double tipThickness(double s, double d, double db, double da, double invAlpha) {
    if (da <= db) {
        return -1.0;  // no involute at all: the tip circle lies inside the base circle
    }
    return da * (s / d + invAlpha - involuteFunction(std::acos(db / da)));
}

// The span over k teeth and the size over pins of one gear as cut, its
// teeth thinned by jt / 2 on the working pitch circle, i.e. by jn / 2 along
// the base tangent and by jt / 2 d / dw on the reference circle.
// ballRatio: the ball's diameter over the transverse pin's (ballPinRatio):
// it is the ball, not the pin, that must stand out of the tip.
}  // namespace

void inspectionSizes(const PairNumbers& n, double m, double pinDiameter, double ballRatio, GearNumbers& g) {
    const double rb = g.db / 2.0;
    const double formRadius = g.dNf / 2.0;
    const double tipRadius = g.da / 2.0;
    auto onInvolute = [&](double tangentLength) {
        const double rho = std::hypot(rb, tangentLength);
        return rho >= formRadius && rho <= tipRadius;
    };
    // Span (base tangent length): W = m cos(alpha) (pi (k - 0.5) + z inv(alpha))
    // + 2 x m sin(alpha), less the normal thinning jn / 2. The jaws touch the
    // flanks W / 2 either side of the base tangent point; k by the handbook
    // rule z alpha_x / 180 deg + 0.5, alpha_x the profile angle at d + 2 x m,
    // else the nearest k whose jaws touch the involute.
    auto span = [&](int k) {
        return m * std::cos(n.alpha) * (pi * (k - 0.5) + g.z * n.invAlpha) + 2.0 * g.x * m * std::sin(n.alpha) -
               n.jn / 2.0;
    };
    const double alphaX = std::acos(std::min(1.0, g.db / (g.d + 2.0 * g.x * m)));
    const int rule = std::clamp(static_cast<int>(std::lround(g.z * alphaX / pi + 0.5)), 1, g.z - 1);
    g.k = 0;
    g.W = 0.0;
    for (int step = 0; step < g.z && g.k == 0; ++step) {
        for (int k : {rule - step, rule + step}) {
            if (g.k == 0 && k >= 1 && k <= g.z - 1 && onInvolute(span(k) / 2.0)) {
                g.k = k;
                g.W = span(k);
            }
        }
    }
    // Over pins (balls): a pin in a space touches both flanks where the base
    // tangent through its centre meets them. With the contact at roll
    // t = tan(alpha_c) (radius rb sqrt(1 + t^2)) the centre lies at pressure
    // angle phi = t + eta, radius rb / cos(phi), and dp = db (tan(phi) - t),
    // eta = pi / z - s / d - inv(alpha) being the space's half angle on the
    // base circle; conversely inv(phi) = inv(alpha) + dp / db - (pi / z - s / d).
    // M = db / cos(phi) + dp for even z, with cos(pi / (2 z)) on the centre
    // distance for odd z (SDP/SI, "Elements of Metric Gear Technology",
    // tables 10-13 to 10-15). M is a size only where the pin touches the
    // involute (between dNf and da), keeps off the root circle and stands
    // out of the tip circle (by pinStandOutModules), where the anvils meet
    // the pins and not the tips.
    const double etaCut = pi / g.z - (g.s - n.thinning * g.d / g.dw) / g.d - n.invAlpha;
    const double ra = g.da / 2.0;
    const double rf = g.df / 2.0;
    const double tNf = std::sqrt(std::max(0.0, formRadius * formRadius - rb * rb)) / rb;
    const double tTip = std::sqrt(std::max(0.0, ra * ra - rb * rb)) / rb;
    const double phiMax = pi / 2.0 - 1e-6;  // a pin in a space whose flanks open out no faster than the pin grows
    struct Pin {
        double t, phi, dp, centre;
    };
    auto pinAt = [&](double t) {
        const double phi = t + etaCut;
        return Pin{t, phi, g.db * (std::tan(phi) - t), rb / std::cos(phi)};
    };
    auto pinOf = [&](double dp) {
        const double phi = inverseInvolute(n.invAlpha + dp / g.db - (pi / g.z - (g.s - n.thinning * g.d / g.dw) / g.d));
        return Pin{std::tan(phi) - dp / g.db, phi, dp, rb / std::cos(phi)};
    };
    // A helical gear's ball (ballRatio = cos(beta_b) < 1) touches the
    // helicoid off the transverse plane through its centre: the flank's
    // normal there lies in the plane tangent to the base cylinder at
    // beta_b to the transverse plane, so the contact lies the ball's radius
    // times cos(beta_b), not the transverse pin's radius, in from the
    // centre along the base tangent: at roll t + dp (1 - cos^2(beta_b)) / (2 rb)
    // with the transverse pin's dp and t. The ball's lowest point is its
    // own radius below the centre.
    auto contactT = [&](const Pin& p) { return p.t + p.dp * (1.0 - ballRatio * ballRatio) / (2.0 * rb); };
    // Each condition holds from some t upwards (dp, the centre, its lowest
    // and its outermost point all grow with t) or up to some t.
    auto onFlanks = [&](const Pin& p) {
        return p.phi > 0.0 && p.phi <= phiMax && p.dp > 0.0 && contactT(p) >= tNf && contactT(p) <= tTip &&
               p.centre - p.dp * ballRatio / 2.0 >= rf;
    };
    auto outsideTip = [&](const Pin& p) { return p.centre + p.dp * ballRatio / 2.0 >= ra + pinStandOutModules * m; };
    Pin pin{};
    if (pinDiameter > 0.0) {
        pin = pinOf(pinDiameter);
        g.pinGiven = true;
        g.pinOffFlanks = !onFlanks(pin);
        g.pinInsideTip = !outsideTip(pin);
    } else {
        // The usual pin touches the flanks on the circle of diameter
        // (z + 2 x) m: alpha' = acos(db / ((z + 2 x) m)), phi = tan(alpha') + eta,
        // dp = db (inv(phi) + eta), with eta = pi / (2 z) - inv(alpha) - 2 x tan(alpha) / z
        // of the teeth as designed (SDP/SI, table 10-13; the gear makers' rule
        // for shifted gears, e.g. Nagata Tekko's FAQ on over-pin sizes). Where
        // that circle lies inside the base circle, the aim is the base circle.
        const double aim = g.d + 2.0 * g.x * m;
        const double t0 = aim > g.db ? std::tan(std::acos(g.db / aim)) : 0.0;
        const double phi0 = t0 + pi / g.z - g.s / g.d - n.invAlpha;
        pin = pinOf(g.db * (std::tan(phi0) - t0));
        // Where that pin gives no size, the nearest that does: the pins that
        // do touch between two rolls, the upper one the tip's, or where the
        // flanks open out so fast that only a pin of more than 5 m would
        // touch them (a space of 4 teeth shifted far).
        double tHi = std::min(tTip, phiMax - etaCut);
        if (contactT(pinAt(tHi)) > tTip) {
            // A ball's contact, outside the transverse pin's, reaches the tip sooner.
            double good = 0.0;
            double bad = tHi;
            for (int i = 0; i < 60; ++i) {
                const double mid = (good + bad) / 2.0;
                (contactT(pinAt(mid)) <= tTip ? good : bad) = mid;
            }
            tHi = good;
        }
        if (pinAt(tHi).dp > largestPinModules * m) {
            double good = std::min(tNf, tHi);
            double bad = tHi;
            for (int i = 0; i < 60; ++i) {
                const double mid = (good + bad) / 2.0;
                (pinAt(mid).dp <= largestPinModules * m ? good : bad) = mid;
            }
            tHi = good;
        }
        auto fits = [&](double t) {
            const Pin p = pinAt(t);
            return p.phi > 0.0 && p.dp > 0.0 && contactT(p) >= tNf && p.centre - p.dp * ballRatio / 2.0 >= rf &&
                   outsideTip(p);
        };
        if (!(tHi >= tNf && fits(tHi))) {
            pin = Pin{};
        } else if (!(onFlanks(pin) && outsideTip(pin) && pin.dp <= largestPinModules * m)) {
            double tLo = tNf;
            if (!fits(tLo)) {
                double bad = tLo;
                double good = tHi;
                for (int i = 0; i < 60; ++i) {
                    const double mid = (bad + good) / 2.0;
                    (fits(mid) ? good : bad) = mid;
                }
                tLo = good;
            }
            pin = pinAt(std::clamp(pin.t, tLo, tHi));
        }
    }
    g.dp = pin.dp;
    g.M = pin.dp > 0.0 ? 2.0 * pin.centre * (g.z % 2 == 0 ? 1.0 : std::cos(pi / (2.0 * g.z))) + pin.dp : 0.0;
    g.pinOnInvolute = pin.dp > 0.0 && onFlanks(pin) && outsideTip(pin);
}

namespace {

// What keeps an external pair whose values are in range from being cut
// (the Fault of pair/kinds.h), and the gear it concerns.
using Problem = Breach;

// The shift sum below which inv(alpha_w) = inv(alpha) + 2 tan(alpha)
// (x1 + x2) / (z1 + z2) is 0 or less: the base circles would touch and
// there is no working pressure angle.
// A helical pair's, in multiples of mn: its transverse section's over cos(beta).
double shiftSumFloor(const TransverseSection& section) {
    const PairInput& in = section.spur();
    const double alpha = in.alphaDeg * degToRad;
    return -involuteFunction(alpha) * (in.z1 + in.z2) / (2.0 * std::tan(alpha)) / in.heightFactor;
}

Problem findProblem(const PairInput& in, const TransverseSection& section, PairNumbers& n) {
    if (in.x1 + in.x2 <= shiftSumFloor(section)) {
        return Problem{Fault::noWorkingAngle, in.x2 < in.x1 ? 1 : 0};
    }
    n = externalPairNumbers(in, section);
    // df = d - 2 m (1.25 - x) > 0 needs x > 1.25 - z / 2 (only 4 teeth can miss).
    for (int i = 0; i < 2; ++i) {
        if (hasNoRoot(n.gear[i])) {
            return Problem{Fault::noRoot, i};
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (hasTipInsideBase(n.gear[i])) {
            return Problem{Fault::tipInsideBase, i};
        }
        if (isPointed(n.gear[i])) {
            return Problem{Fault::pointed, i};
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (n.gear[i].severed) {
            return Problem{Fault::severed, i};
        }
    }
    return Problem{};
}

}  // namespace

bool externalPairPasses(const PairInput& in, const TransverseSection& section, RingCutterMemo&) {
    PairNumbers n;
    return findProblem(in, section, n).fault == Fault::none;
}

namespace {

// The values of one input (others as they are) that give a usable pair:
// the run of usable values nearest `given` within [lo, hi], found on a grid
// of `steps` and its ends narrowed by bisection, then walked again in finer
// steps (a grid can step over a narrow gap, such as a pressure angle at
// which neither of a small ring's two cutters cuts cleanly), then rounded
// inwards to `decimals` places so that both printed ends are usable.
struct Cure {
    bool found = false;
    double lo = 0.0;
    double hi = 0.0;
};

// The run of values passing `ok` nearest `given`, on a grid of `steps` over
// [lo, hi]; an end inside [lo, hi] narrowed by bisection to the grid step /
// 2^20, an end at lo or hi kept as it is.
template <typename Ok>
Cure nearestRun(const Ok& ok, double given, double lo, double hi, int steps) {
    auto at = [&](int k) { return lo + (hi - lo) * k / steps; };
    int bestFirst = -1;
    int bestLast = -1;
    double bestDistance = INFINITY;
    for (int k = 0; k <= steps;) {
        if (!ok(at(k))) {
            ++k;
            continue;
        }
        const int first = k;
        while (k + 1 <= steps && ok(at(k + 1))) {
            ++k;
        }
        const double distance = given < at(first) ? at(first) - given : given > at(k) ? given - at(k) : 0.0;
        if (distance < bestDistance) {
            bestDistance = distance;
            bestFirst = first;
            bestLast = k;
        }
        ++k;
    }
    if (bestFirst < 0) {
        return Cure{};
    }
    auto edge = [&](double good, double bad) { return bisectEdgeSteps(ok, good, bad, 20); };
    return Cure{true, bestFirst > 0 ? edge(at(bestFirst), at(bestFirst - 1)) : lo,
                bestLast < steps ? edge(at(bestLast), at(bestLast + 1)) : hi};
}

Cure cureRange(PairInput in, double PairInput::*field, double lo, double hi, int steps, double unit,
               RingCutterMemo& memo, PassesEveryRule passes) {
    const double given = in.*field;
    auto ok = [&](double v) {
        in.*field = v;
        return passes(in, memo);
    };
    Cure run = nearestRun(ok, given, lo, hi, steps);
    for (int round = 0; run.found && round < 3; ++round) {
        const Cure inner = nearestRun(ok, given, run.lo, run.hi, 200);
        if (inner.lo == run.lo && inner.hi == run.hi) {
            break;
        }
        run = inner;
    }
    if (!run.found) {
        return run;
    }
    // Printed with 4 decimals: round inwards, and step in further should
    // the rounded end itself fall outside.
    double from = std::ceil(run.lo / unit - 1e-9) * unit;
    double to = std::floor(run.hi / unit + 1e-9) * unit;
    for (int i = 0; i < 4 && from <= to && !ok(from); ++i) {
        from += unit;
    }
    for (int i = 0; i < 4 && from <= to && !ok(to); ++i) {
        to -= unit;
    }
    Cure cure;
    if (from <= to && ok(from) && ok(to)) {
        cure = Cure{true, from, to};
    }
    return cure;
}

}  // namespace

PairNumbers externalPairNumbers(const PairInput& input, const TransverseSection& section) {
    // A helical pair's numbers are its transverse section's (pair/helical.h).
    const PairInput& in = section.spur();
    PairNumbers n{};
    n.section = section;
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
    n.i = static_cast<double>(z[1]) / z[0];
    n.jn = in.backlash;
    n.jt = n.jn / std::cos(n.alphaW);
    n.thinning = n.jt / 2.0;
    const double h = in.heightFactor;  // the rack's heights in multiples of m: 1, a helical pair's cos(beta)
    const double cutterDepth = makeRackProfile(m, n.alpha, h).depth;
    for (int i = 0; i < 2; ++i) {
        GearNumbers& g = n.gear[i];
        g.z = z[i];
        g.x = x[i];
        g.d = m * z[i];
        g.db = g.d * std::cos(n.alpha);
        // The tips are shortened by the pair's y so that the bottom clearance
        // stays 0.25 m: da1 = d1 + 2 m (1 + y - x2), da2 = d2 + 2 m (1 + y - x1).
        g.da = g.d + 2.0 * m * (h + n.y - x[1 - i]);
        // The root circle is where the cutter's tip reaches: with the full
        // addendum of 1.25 m, df = d - 2 m (1.25 - x); above about 32 degrees
        // the rack's flanks meet before that depth and their meeting point
        // cuts a shallower root (what the outline shows).
        g.df = g.d - 2.0 * (cutterDepth - x[i] * m);
        g.s = m * (pi / 2.0 + 2.0 * x[i] * std::tan(n.alpha));
        // dw = 2 a z / (z1 + z2); thinning by jt / 2 there is, at the tip,
        // jt / 2 da / dw (the flanks turn by jt / (2 dw) each).
        g.dw = 2.0 * n.a * z[i] / (z[0] + z[1]);
        g.sa = tipThickness(g.s, g.d, g.db, g.da, n.invAlpha) - n.thinning * g.da / g.dw;
        // No undercut while x >= 1 - z sin^2(alpha) / 2 (the rack's tip line
        // at 1 m stays above the interference point).
        g.xmin = h - z[i] * std::sin(n.alpha) * std::sin(n.alpha) / 2.0;
        g.undercut = x[i] < g.xmin;
        g.thinTip = g.sa < thinTipFactor * h * m;
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
    // Effective path of contact, measured along the line of action from T1
    // (T1 T2 = a sin(alpha_w)): gear i's flank is the involute only from
    // dNf outwards, which lies u_i = sqrt(rNf^2 - rb^2) from its tangent
    // point. Contact where either flank is not an involute (fillet or
    // undercut) is no involute action: the path runs from
    // max(T1T2 - reach2, u1) to min(reach1, T1T2 - u2). Both u >= 0, so it
    // never runs beyond T1 or T2. Interference is the mate's tip reaching
    // past u: the nominal path runs below the involute's start.
    double fromT[2];
    for (int i = 0; i < 2; ++i) {
        GearNumbers& g = n.gear[i];
        const FlankForm form = flankForm(makeRackProfile(m, n.alpha, h), g.z, g.x * m, g.s, g.da / 2.0);
        g.dNf = 2.0 * form.involuteStart;
        fromT[i] = std::sqrt(std::max(0.0, form.involuteStart * form.involuteStart - g.db * g.db / 4.0));
        // Thinning for backlash turns each flank by jt / (2 dw) towards the
        // tooth's middle.
        neckNumbers(form, n.thinning / g.dw, h * m, g);
    }
    n.gear[0].interference = tipInterferes(tangentSpan - reach[1], fromT[0], h * m, n.alpha);
    n.gear[1].interference = tipInterferes(tangentSpan - reach[0], fromT[1], h * m, n.alpha);
    effectiveContact(n, pathStartBeside(tangentSpan - reach[1], fromT[0], n.gear[0].interference),
                     tangentSpan - pathStartBeside(tangentSpan - reach[0], fromT[1], n.gear[1].interference));
    for (GearNumbers& g : n.gear) {
        inspectionSizes(n, m, in.pinDiameter, ballPinRatio(input), g);
    }
    helicalNumbers(input, n);
    return n;
}

bool tipInterferes(double tipMeets, double involuteStart, double mn, double alpha) {
    return tipMeets < involuteStart - filletInterferenceTolerance * mn / std::sin(alpha);
}

double pathStartBeside(double tipMeets, double involuteStart, bool interference) {
    return interference ? std::max(tipMeets, involuteStart) : std::max(0.0, tipMeets);
}

void effectiveContact(PairNumbers& n, double start, double end) {
    n.pathStart = start;
    n.pathEnd = std::max(start, end);
    n.gaEff = n.pathEnd - n.pathStart;
    n.epsilonAlphaEff = n.gaEff / n.pb;
    n.cannotRun = n.epsilonAlphaEff < 1.0;
    n.lowContactRatio = !n.cannotRun && n.epsilonAlphaEff < lowContactRatio;
}

PairCheck checkExternalPair(const PairInput& in, const TransverseSection& section, PassesEveryRule passes) {
    char text[256];
    const double xs[2] = {in.x1, in.x2};
    PairNumbers n{};
    const Problem problem = findProblem(in, section, n);
    const int i = problem.gear;
    switch (problem.fault) {
    case Fault::none:
        return PairCheck{};
    case Fault::noWorkingAngle:
        snprintf(text, sizeof text,
                 "x1 + x2 = %s leaves the pair no working pressure angle (the base circles would touch; with these "
                 "teeth x1 + x2 must be above %.4f)",
                 shortNumber(in.x1 + in.x2).c_str(), std::ceil(shiftSumFloor(section) * 1e4) / 1e4);
        return refusalWithCure(in, i, text, passes);
    default:
        return refusalWithCure(in, i, gearProblem(problem.fault, i, n.gear[i], xs[i]), passes);
    }
}

bool hasNoRoot(const GearNumbers& g) { return g.df <= 0.0; }

bool hasTipInsideBase(const GearNumbers& g) { return g.da <= g.db; }

bool isPointed(const GearNumbers& g) { return g.sa <= 0.0; }

Fault gearFault(const GearNumbers& g) {
    if (hasNoRoot(g)) {
        return Fault::noRoot;
    }
    if (hasTipInsideBase(g)) {
        return Fault::tipInsideBase;
    }
    if (isPointed(g)) {
        return Fault::pointed;
    }
    return g.severed ? Fault::severed : Fault::none;
}

std::string gearProblem(Fault fault, int i, const GearNumbers& g, double x) {
    char text[256] = "";
    switch (fault) {
    case Fault::noRoot:
        snprintf(text, sizeof text, "x%d = %s leaves gear %d no root circle (df%d = %s mm)", i + 1, shortNumber(x).c_str(), i + 1, i + 1,
                 fixed(g.df, 4).c_str());
        break;
    case Fault::tipInsideBase:
        snprintf(text, sizeof text,
                 "gear %d's tip circle (da%d = %s mm) lies inside its base circle (db%d = %s mm): its teeth have "
                 "no involute",
                 i + 1, i + 1, fixed(g.da, 4).c_str(), i + 1, fixed(g.db, 4).c_str());
        break;
    case Fault::pointed:
        snprintf(text, sizeof text, "gear %d's teeth are pointed (tip thickness sa%d = %s mm)", i + 1, i + 1,
                 fixed(g.sa, 4).c_str());
        break;
    case Fault::severed:
        snprintf(text, sizeof text,
                 "the undercut cuts through the neck of gear %d's teeth (its two flanks cross: the outline would "
                 "cross itself)",
                 i + 1);
        break;
    default:
        break;
    }
    return text;
}

void neckNumbers(const FlankForm& form, double turn, double m, GearNumbers& g) {
    // The neck's chord 2 rho sin(psi), psi the flank's angle from the
    // tooth's middle there, less the turn of each flank.
    g.pinched = form.pinched;
    g.neck = form.pinched ? 2.0 * form.neckRadius * std::sin(form.neckHalfAngle - turn) : 0.0;
    g.severed = form.pinched && g.neck <= severedNeck * m;
    g.thinNeck = form.pinched && !g.severed && g.neck < thinTipFactor * m;
}

PairCheck refusalWithCure(const PairInput& in, int i, const std::string& problem, PassesEveryRule passes) {
    char text[256];
    PairCheck check;
    check.problem = problem;
    RingCutterMemo memo;
    // The cure: a shift of the gear concerned, else of its mate, else a
    // pressure angle, with the rest as given.
    const int order[2] = {i, 1 - i};
    for (int k : order) {
        if (k == 1 && !pairKindTraits(in.kind).hasGear2Shift) {
            continue;  // a rack has no shift of its own
        }
        const Cure cure = cureRange(in, k == 0 ? &PairInput::x1 : &PairInput::x2, minShift, maxShift, 25, 1e-4, memo, passes);
        if (cure.found) {
            snprintf(text, sizeof text, "%s must be %s to %s", pairKindTraits(in.kind).shiftNames[k],
                     fixed(cure.lo, 4).c_str(), fixed(cure.hi, 4).c_str());
            check.field = k == 0 ? PairField::x1 : PairField::x2;
            check.cure = text;
            check.cureLo = cure.lo;
            check.cureHi = cure.hi;
            break;
        }
    }
    if (check.field == PairField::none) {
        const Cure cure =
            cureRange(in, &PairInput::alphaDeg, minPressureAngleDeg, maxPressureAngleDeg, 25, 1e-4, memo, passes);
        if (cure.found) {
            snprintf(text, sizeof text, "alpha must be %s to %s degrees", fixed(cure.lo, 4).c_str(),
                     fixed(cure.hi, 4).c_str());
            check.field = PairField::alpha;
            check.cure = text;
            check.cureLo = cure.lo;
            check.cureHi = cure.hi;
        }
    }
    if (check.field == PairField::none) {
        check.field = i == 0 ? PairField::x1 : PairField::x2;
        snprintf(text, sizeof text,
                 "; no shift of %s (%.1f to %.1f) and no pressure angle (%g to %g degrees) cures it with these teeth",
                 pairKindTraits(in.kind).hasGear2Shift ? "either gear" : "gear 1", minShift, maxShift, minPressureAngleDeg,
                 maxPressureAngleDeg);
        check.message = check.problem + text;
    } else {
        check.message = check.problem + "; with the other values as they are, " + check.cure;
    }
    return check;
}
