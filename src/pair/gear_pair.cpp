#include "pair/gear_pair.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/cutting.h"
#include "pair/kinds.h"

namespace {

constexpr double inverseInvoluteTolerance = 1e-12;  // rad, on the angle
constexpr double lowContactRatio = 1.1;
constexpr double thinTipFactor = 0.25;              // sa below 0.25 m is a thin tip

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
    if (in.kind == PairKind::internal) {
        return internalPairNumbers(in);
    }
    if (in.kind == PairKind::rack) {
        return rackPairNumbers(in);
    }
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
    if (in.kind == PairKind::internal) {
        return checkInternalPair(in);
    }
    if (in.kind == PairKind::rack) {
        return checkRackPair(in);
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
