// A pinion inside an internal (ring) gear: its numbers, the handbook's three
// interferences, the pinion-type cutter that cuts the ring, and the checks.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "pair/cutting/cutting.h"
#include "pair/inputs/helical.h"
#include "pair/kinds/kinds.h"
#include "pair/solve/number_format.h"

namespace {

constexpr double thinTipFactor = 0.25;     // sa below 0.25 m is a thin tip
// As an external gear's pins (gear_pair.cpp): the largest pin chosen, in m,
// and how far a pin must stand in from the ring's tip circle, in m.
constexpr double largestPinModules = 5.0;
constexpr double pinStandOutModules = 0.05;

// Distance along the line of action from a gear's base tangent point to
// where a circle of radius rho crosses it.

// A ring's size between two pins (balls) and its pin, into g (the ring,
// its dNf and df from its cutter, thinned for backlash as n.thinning says);
// m the transverse module, pinDiameter a given pin of the transverse section
// (a ball over ballRatio) or 0, ballRatio a helical ring's ball over its
// transverse pin (ballPinRatio).
//
// The ring's space is shaped as an external gear's tooth: its half angle on
// the base circle is eta = e / d + inv(alpha), e = pi m - s2 the space width
// on the reference circle, widened by the thinning. A pin touching both
// flanks at roll t (radius rb sqrt(1 + t^2)) has its centre on the base
// tangent dp / 2 back towards the tangent point, at pressure angle phi with
// tan(phi) = t - dp / db, and on the space's middle line where
//   inv(phi) = eta - dp / db,
// that is inv(phi) = pi / (2 z) + inv(alpha) + 2 x tan(alpha) / z - dp / (z m cos(alpha))
// unthinned; the size between pins is M = db / cos(phi) - dp for even z, with
// cos(pi / (2 z)) on the centres' distance for odd z (KHK, "Gear Technical
// Reference", dimension between pins of internal gears; SDP/SI, "Elements of
// Metric Gear Technology", between-pin measurement of internal gears). A
// helical ring's ball of dp has its centre where the transverse section's pin
// of dp / cos(beta_b) would (the same relation with dp / (z mn cos(alpha_n)),
// KHK's helical internal gear), and touches the helicoid the ball's radius
// times cos(beta_b) out from its centre along the base tangent, as on an
// external gear's flank. The usual pin touches on the circle of diameter
// (z + 2 x) m, as an external gear's does. M is a size only where the ball
// touches the involute between the ring's tip circle and where its involute
// ends (dNf), keeps off the root circle and stands in from the tip circle by
// pinStandOutModules (the anvils meet the balls, not the tips). Where the
// usual pin gives no size (at small pressure angles it can sink to within
// 0.05 m of the tips), the nearest that does, as on an external gear: the
// pins that fit are those touching between two rolls (below), and the pin
// at the nearer of them is taken.
void ringPinSize(const PairNumbers& n, double m, double pinDiameter, double ballRatio, GearNumbers& g) {
    const double rb = g.db / 2.0;
    const double ra = g.da / 2.0;
    const double rf = g.df / 2.0;
    const double eta = pi / g.z - (g.s - n.thinning * g.d / g.dw) / g.d + n.invAlpha;
    const double tTip = alongLine(ra, rb) / rb;
    const double tEnd = alongLine(g.dNf / 2.0, rb) / rb;
    struct Pin {
        double t, phi, dp, centre;
    };
    auto pinAt = [&](double t) {
        const double phi = t - eta;
        return Pin{t, phi, g.db * (t - std::tan(phi)), rb / std::cos(phi)};
    };
    // The ball's contact lies nearer its centre along the base tangent than
    // the transverse pin's (the flank's normal leans at beta_b out of the
    // transverse plane): at roll t - dp (1 - ballRatio^2) / (2 rb).
    auto contactT = [&](const Pin& p) { return p.t - p.dp * (1.0 - ballRatio * ballRatio) / (2.0 * rb); };
    auto onFlanks = [&](const Pin& p) {
        return p.phi > 0.0 && p.dp > 0.0 && contactT(p) >= tTip && contactT(p) <= tEnd &&
               p.centre + p.dp * ballRatio / 2.0 <= rf;
    };
    auto insideTip = [&](const Pin& p) { return p.centre - p.dp * ballRatio / 2.0 <= ra - pinStandOutModules * m; };
    // Along the rolls t from eta (phi = 0, the largest pin, db eta) to where
    // the flanks meet (dp = 0), dp shrinks (d(dp) / dt = -db tan^2(phi))
    // while the centre, the contact and the pin's inner and outer points all
    // move out (d(centre -+ dp / 2) / dt = rb tan(phi) (1 / cos(phi) +- tan(phi)),
    // both > 0; a ball's smaller radius keeps them so): each condition holds
    // from some roll on (rising) or up to some roll (falling), and the pins
    // that fit are those between the two.
    auto rising = [&](const Pin& p) { return p.phi > 0.0 && contactT(p) >= tTip && p.dp <= largestPinModules * m; };
    auto falling = [&](const Pin& p) {
        return p.dp > 0.0 && contactT(p) <= tEnd && p.centre + p.dp * ballRatio / 2.0 <= rf && insideTip(p);
    };
    auto fits = [&](double t) {
        const Pin p = pinAt(t);
        return rising(p) && falling(p);
    };
    Pin pin{};
    if (pinDiameter > 0.0) {
        g.pinGiven = true;
        const double inv = eta - pinDiameter / g.db;
        if (inv > 0.0) {
            const double phi = inverseInvolute(inv);
            pin = Pin{std::tan(phi) + pinDiameter / g.db, phi, pinDiameter, rb / std::cos(phi)};
        }
        g.pinOffFlanks = !onFlanks(pin);
        g.pinInsideTip = !insideTip(pin);
    } else {
        // The usual pin, at roll tan(alpha') on the circle (z + 2 x) m, or
        // the nearest that fits.
        const double aim = g.d + 2.0 * g.x * m;
        const double usual = aim > g.db ? alongLine(aim / 2.0, rb) / rb : 0.0;
        const double tLast = eta > 0.0 ? std::tan(inverseInvolute(eta)) : eta;
        if (fits(usual)) {
            pin = pinAt(usual);
        } else if (eta > 0.0 && rising(pinAt(tLast))) {
            double bad = eta;
            double good = tLast;
            for (int i = 0; i < 60; ++i) {
                const double mid = (bad + good) / 2.0;
                (rising(pinAt(mid)) ? good : bad) = mid;
            }
            const double tLo = good;
            good = tLo;
            bad = tLast;
            for (int i = 0; i < 60; ++i) {
                const double mid = (bad + good) / 2.0;
                (falling(pinAt(mid)) ? good : bad) = mid;
            }
            const double t = std::clamp(usual, tLo, good);
            if (fits(t)) {
                pin = pinAt(t);
            }
        }
    }
    const double ball = pin.dp * ballRatio;
    g.dp = pinDiameter > 0.0 ? pinDiameter * ballRatio : ball;
    g.pinOnInvolute = pin.dp > 0.0 && onFlanks(pin) && insideTip(pin);
    g.M = pin.dp > 0.0 ? 2.0 * pin.centre * (g.z % 2 == 0 ? 1.0 : std::cos(pi / (2.0 * g.z))) - ball : 0.0;
}

}  // namespace

void pinionNumbers(const TransverseSection& section, PairNumbers& n) {
    const PairInput& in = section.spur();
    const double m = in.m;
    const double h = in.heightFactor;
    GearNumbers& g = n.gear[0];
    g.z = in.z1;
    g.x = in.x1;
    g.d = m * in.z1;
    g.db = g.d * std::cos(n.alpha);
    g.da = g.d + 2.0 * m * (h + in.x1) - 2.0 * in.tipReduction1;
    g.df = g.d - 2.0 * (makeRackProfile(m, n.alpha, h).depth - in.x1 * m);
    g.s = m * (pi / 2.0 + 2.0 * in.x1 * std::tan(n.alpha));
    g.sa = pinionTipThickness(section, in.x1);
    g.xmin = h - in.z1 * std::sin(n.alpha) * std::sin(n.alpha) / 2.0;
    g.undercut = in.x1 < g.xmin;
    g.thinTip = g.sa < thinTipFactor * h * m;
}

void pinionNeck(const TransverseSection& section, PairNumbers& n) {
    const PairInput& in = section.spur();
    GearNumbers& g = n.gear[0];
    const FlankForm form =
        flankForm(makeRackProfile(in.m, n.alpha, in.heightFactor), g.z, g.x * in.m, g.s, g.da / 2.0);
    neckNumbers(form, n.thinning / g.dw, in.heightFactor * in.m, g);
}

double pinionInvoluteStart(const TransverseSection& section, double alpha) {
    const PairInput& in = section.spur();
    const double h = in.heightFactor;
    // The involute starts where the rack's straight flank ended or, when the
    // rack undercuts the pinion, higher: where its tip round's path crosses
    // the involute (the same rule as the external pairs' gears).
    const double m = in.m;
    const double s = m * (pi / 2.0 + 2.0 * in.x1 * std::tan(alpha));
    const double ra = m * in.z1 / 2.0 + m * (h + in.x1);
    const double rb = m * in.z1 * std::cos(alpha) / 2.0;
    const double start = flankForm(makeRackProfile(m, alpha, h), in.z1, in.x1 * m, s, ra).involuteStart;
    return alongLine(start, rb);
}

double pinionTipThickness(const TransverseSection& section, double x1) {
    // x1 of the section, as its other numbers: xn cos(beta) for a helical pair.
    const PairInput& in = section.spur();
    const double alpha = in.alphaDeg * degToRad;
    const double d = in.m * in.z1;
    const double db = d * std::cos(alpha);
    const double da = d + 2.0 * in.m * (in.heightFactor + x1) - 2.0 * in.tipReduction1;
    const double s = in.m * (pi / 2.0 + 2.0 * x1 * std::tan(alpha));
    // sa = da (s / d + inv(alpha) - inv(alpha_a)), less the thinning for
    // backlash at the tip: jt / 2 on the working pitch circle dw is
    // jt / 2 da / dw there, and with jt = jn / cos(alpha_w), dw = db / cos(alpha_w)
    // (alpha_w = alpha on a rack) that is jn da / (2 db) in every kind of pair.
    return da * (s / d + involuteFunction(alpha) - involuteFunction(std::acos(db / da))) - in.backlash * da / (2.0 * db);
}

InternalInterference internalInterference(int z1, int z2, double ra1, double ra2, double rb1, double rb2, double a,
                                          double alphaW) {
    // The handbook's rules for internal gears (pressure angles at the tips
    // alpha_a = acos(rb / ra)).
    InternalInterference f{};
    const double alphaA1 = std::acos(std::min(1.0, rb1 / ra1));
    const double alphaA2 = std::acos(std::min(1.0, rb2 / ra2));
    const double invW = involuteFunction(alphaW);
    const double ratio = static_cast<double>(z1) / z2;
    // Involute interference: the ring's tip reaches past the pinion's base
    // tangent point T1, onto the pinion below its base circle.
    f.involute = ratio < 1.0 - std::tan(alphaA2) / std::tan(alphaW);
    // Trochoid interference: where the two tip circles cross, the pinion's
    // tip, turning out of mesh, must have left the ring's tooth tip behind:
    //   theta1 = acos((ra2^2 - ra1^2 - a^2) / (2 a ra1)) + inv(alpha_a1) - inv(alpha_w),
    //   theta2 = acos((a^2 + ra2^2 - ra1^2) / (2 a ra2)),
    //   clear while theta1 z1 / z2 + inv(alpha_w) - inv(alpha_a2) >= theta2.
    // Tip circles that do not cross: the pinion's tip never reaches the ring's
    // tip circle (clear), or its tip circle holds the ring's whole (never clear).
    const double c1 = (ra2 * ra2 - ra1 * ra1 - a * a) / (2.0 * a * ra1);
    const double c2 = (a * a + ra2 * ra2 - ra1 * ra1) / (2.0 * a * ra2);
    if (std::fabs(c1) <= 1.0 && std::fabs(c2) <= 1.0) {
        const double theta1 = std::acos(c1) + involuteFunction(alphaA1) - invW;
        const double theta2 = std::acos(c2);
        f.trochoid = theta1 * ratio + invW - involuteFunction(alphaA2) < theta2;
    } else {
        f.trochoid = ra1 + a > ra2;
    }
    // Trimming: pulled out radially, the pinion's tip corners must pass the
    // ring's:
    //   theta1 = asin sqrt((1 - (cos(alpha_a1) / cos(alpha_a2))^2) / (1 - (z1 / z2)^2)),
    //   theta2 = asin sqrt(((cos(alpha_a2) / cos(alpha_a1))^2 - 1) / ((z2 / z1)^2 - 1)).
    // The roots are above 1 exactly when ra1 > ra2: the pinion's tip circle
    // reaches the ring's and no radial path exists at all. Below 0 (a tip
    // circle of the pinion small beside the ring's) the corners never meet.
    f.tipsOverlap = ra1 >= ra2;
    const double q = std::cos(alphaA1) / std::cos(alphaA2);
    const double s1 = (1.0 - q * q) / (1.0 - ratio * ratio);
    const double s2 = (1.0 / (q * q) - 1.0) / (1.0 / (ratio * ratio) - 1.0);
    if (f.tipsOverlap) {
        f.trimming = true;
    } else if (s1 < 0.0 || s2 < 0.0) {
        f.trimming = false;
    } else {
        const double theta1 = std::asin(std::sqrt(std::min(1.0, s1)));
        const double theta2 = std::asin(std::sqrt(std::min(1.0, s2)));
        f.trimming = theta1 + involuteFunction(alphaA1) - invW <
                     (theta2 + involuteFunction(alphaA2) - invW) / ratio;
    }
    return f;
}

CutterFault cutterFault(const TransverseSection& section, int zc) {
    const PairInput& in = section.spur();
    const RingCutting c = ringCutting(section, zc);
    if (c.alphaW0 <= 0.0) {
        return CutterFault::noPressureAngle;
    }
    if (c.sac <= 0.0) {
        return CutterFault::pointed;
    }
    const double alpha = in.alphaDeg * degToRad;
    const double ra2 = (in.m * in.z2 - 2.0 * in.m * (in.heightFactor - in.x2)) / 2.0;
    const double rb2 = in.m * in.z2 * std::cos(alpha) / 2.0;
    if (c.a0 + c.rfc > ra2) {
        return CutterFault::rootHitsRingTip;
    }
    // The ring's tip meets the cutter's flank where its involute is: above
    // the base circle (the handbook's rule) and, for cutters whose root
    // circle lies outside their base circle, above the root.
    const double involuteStart = alongLine(std::max(c.rbc, c.rfc), c.rbc);
    const InternalInterference f = internalInterference(zc, in.z2, c.rac, ra2, c.rbc, rb2, c.a0, c.alphaW0);
    if (f.involute || alongLine(ra2, rb2) - c.a0 * std::sin(c.alphaW0) < involuteStart) {
        return CutterFault::involuteInterference;
    }
    if (f.trochoid) {
        return CutterFault::trochoidInterference;
    }
    return CutterFault::none;
}

int chooseCutterTeeth(const TransverseSection& section) {
    const int z2 = section.spur().z2;
    int lowest = 0;
    int highest = 0;
    for (int zc = minCutterTeeth; zc <= std::min(maxCutterTeeth, z2 - 1); ++zc) {
        if (cutterFault(section, zc) == CutterFault::none) {
            lowest = lowest == 0 ? zc : lowest;
            highest = zc;
        }
    }
    if (lowest == 0) {
        return 0;
    }
    // The middle, or the clean cutter nearest it (the larger of two).
    const int middle = (lowest + highest + 1) / 2;
    for (int step = 0; step <= highest - lowest; ++step) {
        for (int zc : {middle + step, middle - step}) {
            if (zc >= lowest && zc <= highest && cutterFault(section, zc) == CutterFault::none) {
                return zc;
            }
        }
    }
    return 0;
}

PairNumbers internalGearNumbers(const TransverseSection& section) {
    // A helical pair's numbers are its transverse section's (pair/helical.h).
    const PairInput& in = section.spur();
    PairNumbers n{};
    n.section = section;
    n.kind = PairKind::internal;
    const double m = in.m;
    n.alpha = in.alphaDeg * degToRad;
    n.invAlpha = involuteFunction(n.alpha);
    // inv(alpha_w) = 2 tan(alpha) (x2 - x1) / (z2 - z1) + inv(alpha).
    n.alphaW = inverseInvolute(2.0 * std::tan(n.alpha) * (in.x2 - in.x1) / (in.z2 - in.z1) + n.invAlpha);
    // y = (z2 - z1) / 2 (cos(alpha) / cos(alpha_w) - 1), a = ((z2 - z1) / 2 + y) m.
    n.y = (in.z2 - in.z1) / 2.0 * (std::cos(n.alpha) / std::cos(n.alphaW) - 1.0);
    n.a = ((in.z2 - in.z1) / 2.0 + n.y) * m;
    n.pb = pi * m * std::cos(n.alpha);
    pinionNumbers(section, n);

    GearNumbers& g = n.gear[1];
    g.z = in.z2;
    g.x = in.x2;
    g.d = m * in.z2;
    g.db = g.d * std::cos(n.alpha);
    g.da = g.d - 2.0 * m * (in.heightFactor - in.x2);
    g.s = m * (pi / 2.0 - 2.0 * in.x2 * std::tan(n.alpha));
    g.noReferenceTooth = g.s <= 0.0;
    // The ring's tooth is the space of an external gear: its half angle at
    // radius rho is s2 / d2 - inv(alpha) + inv(alpha_rho), growing outward.
    g.sa = g.da > g.db ? g.da * (g.s / g.d - n.invAlpha + involuteFunction(std::acos(g.db / g.da))) : -1.0;
    // Backlash as for external pairs: a kept, each gear thinned by half the
    // circular backlash jt = jn / cos(alpha_w) on its working pitch circle,
    // dw = 2 a z / (z2 - z1); at the tip that is jt / 2 da / dw.
    n.jn = in.backlash;
    n.jt = n.jn / std::cos(n.alphaW);
    n.thinning = n.jt / 2.0;
    for (GearNumbers& gear : n.gear) {
        gear.dw = 2.0 * n.a * gear.z / (in.z2 - in.z1);
    }
    g.sa -= n.thinning * g.da / g.dw;  // the pinion's sa is thinned already (pinionTipThickness)
    g.thinTip = g.sa < thinTipFactor * in.heightFactor * m;
    pinionNeck(section, n);
    return n;
}

PairNumbers internalPairNumbers(const PairInput& input, const TransverseSection& section) {
    const PairInput& in = section.spur();
    PairNumbers n = internalGearNumbers(section);
    const double m = in.m;
    GearNumbers& g = n.gear[1];
    n.zc = in.cutterTeeth > 0 ? in.cutterTeeth : chooseCutterTeeth(section);
    if (n.zc > 0) {
        const RingCutting c = ringCutting(section, n.zc);
        g.df = 2.0 * (c.a0 + c.rac);
    }

    // Path of contact: from where the ring's tip crosses the line of action
    // to where the pinion's does; T2 lies a sin(alpha_w) beyond T1.
    const double ra1 = n.gear[0].da / 2.0;
    const double rb1 = n.gear[0].db / 2.0;
    const double ra2 = g.da / 2.0;
    const double rb2 = g.db / 2.0;
    const double tangentSpan = n.a * std::sin(n.alphaW);
    // eps_alpha = (sqrt(ra1^2 - rb1^2) - sqrt(ra2^2 - rb2^2) + a sin(alpha_w)) / (pi m cos(alpha)).
    // Where the ring's tip meets the line of action beyond the pinion's tip
    // the two tip circles leave no path of contact at all: ga = 0, not a
    // negative length (the effective ratio below is 0 and says it cannot run).
    n.ga = std::max(0.0, alongLine(ra1, rb1) - alongLine(ra2, rb2) + tangentSpan);
    n.epsilonAlpha = n.ga / n.pb;

    const InternalInterference f = internalInterference(in.z1, in.z2, ra1, ra2, rb1, rb2, n.a, n.alphaW);
    n.involuteInterference = f.involute;
    n.trochoidInterference = f.trochoid;
    n.radialAssemblyImpossible = f.trimming;
    n.tipCirclesOverlap = f.tipsOverlap;
    // The external pairs' rule: the ring's tip meets the pinion at
    // sqrt(ra2^2 - rb2^2) - a sin(alpha_w) from T1, which must not lie
    // below where the rack-cut involute starts (its base circle or, for the
    // rack's rounded tip, higher: the fillet).
    n.gear[0].interference =
        tipInterferes(alongLine(ra2, rb2) - tangentSpan, pinionInvoluteStart(section, n.alpha), in.heightFactor * in.m,
                      n.alpha);
    // And the pinion's tip meets the ring at sqrt(ra1^2 - rb1^2) + a sin(alpha_w)
    // from T2, which must not lie beyond the involute the cutter's tip
    // corner left (outside it the corner's path, the fillet, stands).
    if (n.zc > 0) {
        const RingCutting c = ringCutting(section, n.zc);
        const double ringInvoluteEnd = alongLine(c.rac, c.rbc) + c.a0 * std::sin(c.alphaW0);
        // (From T2 outward, so the sign of the reach is turned.)
        n.gear[1].interference = tipInterferes(-(alongLine(ra1, rb1) + tangentSpan), -ringInvoluteEnd,
                                               in.heightFactor * in.m, n.alpha);
        // The pinion's tip is not shortened, and the cutter's root is
        // shallower than the nominal one: at large shifts the tip can reach
        // past the ring's root circle on its way round.
        n.noTipClearance = n.a + ra1 > g.df / 2.0;
    }
    // Effective path of contact, measured along the line of action from T1
    // (as for external pairs): it starts where the ring's tip meets the
    // pinion, or higher where the pinion's involute starts (u1 >= 0, so never
    // behind T1), and ends at the pinion's tip, or sooner where the ring's
    // involute ends and the fillet its cutter's tip corner left begins.
    const double pinionStart = pinionInvoluteStart(section, n.alpha);
    n.gear[0].dNf = 2.0 * std::sqrt(pinionStart * pinionStart + rb1 * rb1);
    const double ringTipMeets = alongLine(ra2, rb2) - tangentSpan;
    const double start = pathStartBeside(ringTipMeets, pinionStart, n.gear[0].interference);
    double end = alongLine(ra1, rb1);
    if (n.zc > 0) {
        const RingCutting c = ringCutting(section, n.zc);
        const double ringInvoluteEnd = alongLine(c.rac, c.rbc) + c.a0 * std::sin(c.alphaW0);  // from T2
        g.dNf = 2.0 * std::sqrt(ringInvoluteEnd * ringInvoluteEnd + rb2 * rb2);
        if (n.gear[1].interference) {
            end = std::min(end, ringInvoluteEnd - tangentSpan);
        }
    }
    effectiveContact(n, start, end);
    // The pinion is an external gear: its span and its size over pins.
    inspectionSizes(n, m, in.pinDiameter, ballPinRatio(input), n.gear[0]);
    if (n.zc > 0) {
        ringPinSize(n, m, in.pinDiameter, ballPinRatio(input), g);
    }
    helicalNumbers(input, n);
    return n;
}

bool ringCanBeCut(const TransverseSection& section, RingCutterMemo& memo) {
    const PairInput& in = section.spur();
    if (!(memo.known && memo.z2 == in.z2 && memo.m == in.m && memo.alphaDeg == in.alphaDeg && memo.x2 == in.x2 &&
          memo.heightFactor == in.heightFactor)) {
        memo = RingCutterMemo{true, in.z2, in.m, in.alphaDeg, in.x2, in.heightFactor, false};
        for (int zc = minCutterTeeth; zc <= std::min(maxCutterTeeth, in.z2 - 1) && !memo.clean; ++zc) {
            memo.clean = cutterFault(section, zc) == CutterFault::none;
        }
    }
    return memo.clean;
}

// The shift difference x1 - x2 from which inv(alpha_w) = 2 tan(alpha)
// (x2 - x1) / (z2 - z1) + inv(alpha) is 0 or less: no working pressure angle.
// A helical pair's in multiples of mn: its transverse section's over cos(beta).
double shiftDifferenceCeiling(const TransverseSection& section) {
    const PairInput& in = section.spur();
    const double alpha = in.alphaDeg * degToRad;
    return involuteFunction(alpha) * (in.z2 - in.z1) / (2.0 * std::tan(alpha)) / in.heightFactor;
}

Breach internalBreach(const PairInput& in, const TransverseSection& section, RingCutterMemo& memo) {
    if (in.z2 <= in.z1) {
        return Breach{Fault::fewerTeeth, 1};
    }
    if (in.x1 - in.x2 >= shiftDifferenceCeiling(section)) {
        return Breach{Fault::noWorkingAngle, 0};
    }
    const PairNumbers n = internalGearNumbers(section);
    // The ring's tip circle outside its base circle first: its tooth
    // thickness means nothing without.
    if (hasTipInsideBase(n.gear[1])) {
        return Breach{Fault::tipInsideBase, 1};
    }
    const Fault pinion = gearFault(n.gear[0]);
    if (pinion != Fault::none) {
        return Breach{pinion, 0};
    }
    // The ring's tooth widens towards its root: pointed at most.
    if (isPointed(n.gear[1])) {
        return Breach{Fault::pointed, 1};
    }
    if (in.cutterTeeth > 0) {
        const bool clean = in.cutterTeeth < in.z2 && cutterFault(section, in.cutterTeeth) == CutterFault::none;
        if (clean) {
            return Breach{};
        }
        return Breach{ringCanBeCut(section, memo) ? Fault::cutter : Fault::noCleanCutter, 1};
    }
    return ringCanBeCut(section, memo) ? Breach{} : Breach{Fault::noCleanCutter, 1};
}

bool internalPairPasses(const PairInput& in, const TransverseSection& section, RingCutterMemo& memo) {
    return internalBreach(in, section, memo).fault == Fault::none;
}

PairCheck checkInternalPair(const PairInput& in, const TransverseSection& section, PassesEveryRule passes) {
    char text[320];
    RingCutterMemo memo;
    const Breach breach = internalBreach(in, section, memo);
    switch (breach.fault) {
    case Fault::none:
        return PairCheck{};
    case Fault::fewerTeeth:
        snprintf(text, sizeof text,
                 "an internal gear needs more teeth than the pinion inside it: z2 = %d must be above z1 = %d",
                 in.z2, in.z1);
        return PairCheck{PairField::z2, text};
    case Fault::noWorkingAngle:
        snprintf(text, sizeof text,
                 "x1 - x2 = %s leaves the pair no working pressure angle; with these teeth x1 - x2 must be below "
                 "%s",
                 shortNumber(in.x1 - in.x2).c_str(),
                 fixed(std::floor(shiftDifferenceCeiling(section) * 1e4) / 1e4, 4).c_str());
        return refusalWithCure(in, 0, text, passes);
    case Fault::tipInsideBase: {
        // da2 = d2 - 2 m (1 - x2) > db2 = d2 cos(alpha): x2 > 1 - z2 (1 - cos(alpha)) / 2;
        // a helical ring's x2 > 1 - z2 (1 - cos(alpha_t)) / (2 cos(beta)).
        const PairInput& t = section.spur();
        const double ringFloor = (t.heightFactor - t.z2 * (1.0 - std::cos(t.alphaDeg * degToRad)) / 2.0) / t.heightFactor;
        snprintf(text, sizeof text,
                 "x2 = %s puts the internal gear's tip circle inside its base circle, where it has no involute; with "
                 "%d teeth x2 must be above %s",
                 shortNumber(in.x2).c_str(), in.z2, fixed(std::ceil(ringFloor * 1e4) / 1e4, 4).c_str());
        return refusalWithCure(in, 1, text, passes);
    }
    case Fault::cutter:
        break;
    case Fault::noCleanCutter:
        snprintf(text, sizeof text,
                 "no pinion-type cutter can cut an internal gear of %d teeth with x2 = %s cleanly (every one trims "
                 "its tips)",
                 in.z2, shortNumber(in.x2).c_str());
        return refusalWithCure(in, 1, text, passes);
    default: {
        const int i = breach.gear;
        const PairNumbers n = internalGearNumbers(section);
        return refusalWithCure(in, i, gearProblem(breach.fault, i, n.gear[i], i == 0 ? in.x1 : in.x2), passes);
    }
    }
    // The cutter asked for cannot cut the ring cleanly, and others can:
    // name the run of clean cutters nearest it (everything else passed, and
    // the cutter changes nothing else the rules read).
    const CutterRun run =
        nearestCutterRun(in, [&](int zc) { return cutterFault(section, zc) == CutterFault::none; });
    PairCheck check;
    check.field = PairField::cutter;
    check.problem = cutterFaultText(in, section);
    snprintf(text, sizeof text, "cutters of %d to %d teeth can", run.lowest, run.highest);
    check.cure = text;
    check.cureLo = run.lowest;
    check.cureHi = run.highest;
    check.message = check.problem + "; " + check.cure;
    return check;
}

CutterRun nearestCutterRun(const PairInput& in, const std::function<bool(int)>& passes) {
    const int zc = in.cutterTeeth;
    CutterRun run;
    int distance = 0;
    for (int k = minCutterTeeth; k <= std::min(maxCutterTeeth, in.z2 - 1); ++k) {
        if (!passes(k)) {
            continue;
        }
        int last = k;
        while (last + 1 <= std::min(maxCutterTeeth, in.z2 - 1) && passes(last + 1)) {
            ++last;
        }
        const int away = zc < k ? k - zc : zc - last;
        if (run.lowest == 0 || away < distance) {
            run.lowest = k;
            run.highest = last;
            distance = away;
        }
        k = last;
    }
    return run;
}

std::string cutterFaultText(const PairInput& in, const TransverseSection& section) {
    const int zc = in.cutterTeeth;
    const CutterFault fault = zc < in.z2 ? cutterFault(section, zc) : CutterFault::noPressureAngle;
    const char* why = "";
    switch (fault) {
    case CutterFault::noPressureAngle:
        why = zc >= in.z2 ? "it must have fewer teeth than the ring" : "it has no cutting pressure angle";
        break;
    case CutterFault::pointed:
        why = "its own teeth are pointed";
        break;
    case CutterFault::rootHitsRingTip:
        why = "its root circle reaches the ring's tip circle";
        break;
    case CutterFault::involuteInterference:
        why = "the ring's tips reach below its involute and are trimmed";
        break;
    case CutterFault::trochoidInterference:
        why = "its tip path trims the ring's tips (trochoid interference)";
        break;
    case CutterFault::none:
        break;
    }
    char text[200];
    snprintf(text, sizeof text, "a cutter of %d teeth cannot cut this internal gear cleanly (%s)", zc, why);
    return text;
}
