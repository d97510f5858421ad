// The transverse section of a helical pair and the numbers only a helical
// pair has (see helical.h). Not here: the spur relations themselves, which
// the kinds work out on the transverse section (gear_pair.cpp,
// internal_pair.cpp, rack_pair.cpp).
#include "pair/inputs/helical.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/inputs/kind_traits.h"

namespace {

// tan(alpha_t) = tan(alpha_n) / cos(beta) (ISO 21771).
double transversePressureAngle(double alphaN, double beta) { return std::atan(std::tan(alphaN) / std::cos(beta)); }

// tan(beta_b) = tan(beta) cos(alpha_t) (ISO 21771).
double baseHelixAngle(double beta, double alphaT) { return std::atan(std::tan(beta) * std::cos(alphaT)); }

constexpr double lowTotalContactRatio = 1.1;  // as the spur pairs' low effective ratio
constexpr double thinTipModules = 0.25;       // as the spur gears' thin tip, in mn

}  // namespace

double spanJawAllowance(double W, double betaB) { return std::min(spanJawMargin, W * std::sin(betaB)); }

TransverseSection transverseSection(const PairInput& in) {
    if (!isHelical(in)) {
        return TransverseSection(in);
    }
    const double beta = in.betaDeg * degToRad;
    const double c = std::cos(beta);
    const double alphaT = transversePressureAngle(in.alphaDeg * degToRad, beta);
    const double cosBetaB = ballPinRatio(in);
    PairInput t = in;
    t.betaDeg = 0.0;
    t.m = in.m / c;  // mt
    t.alphaDeg = alphaT / degToRad;
    t.x1 = in.x1 * c;  // xn mn = (xn cos(beta)) mt
    t.x2 = in.x2 * c;
    t.heightFactor = in.heightFactor * c;
    // The normal backlash jn along the base tangent of the transverse
    // section is jn / cos(beta_b) (jn = jt cos(alpha_wt) cos(beta_b)); so is
    // a ball's diameter seen there: a ball dp touching both flanks has its
    // centre where a pin of dp / cos(beta_b) would in the transverse section.
    t.backlash = in.backlash / cosBetaB;
    t.pinDiameter = in.pinDiameter / cosBetaB;
    t.faceWidth = faceWidthOf(in);
    return TransverseSection(t);
}

double ballPinRatio(const PairInput& in) {
    if (!isHelical(in)) {
        return 1.0;
    }
    const double beta = in.betaDeg * degToRad;
    return std::cos(baseHelixAngle(beta, transversePressureAngle(in.alphaDeg * degToRad, beta)));
}

void helicalNumbers(const PairInput& in, PairNumbers& n) {
    if (!isHelical(in)) {
        return;
    }
    HelixNumbers& h = n.helix;
    const double mn = in.m;
    const double alphaN = in.alphaDeg * degToRad;
    h.beta = in.betaDeg * degToRad;
    const double c = std::cos(h.beta);
    h.alphaT = n.alpha;
    h.mt = mn / c;
    h.betaB = baseHelixAngle(h.beta, h.alphaT);
    const double cosBetaB = std::cos(h.betaB);
    h.pbn = n.pb * cosBetaB;  // pbn = pbt cos(beta_b) = pi mn cos(alpha_n)
    h.b = faceWidthOf(in);
    const Hand other = in.hand == Hand::right ? Hand::left : Hand::right;
    h.hand[0] = in.hand;
    h.hand[1] = pairKindTraits(n.kind).mateHasSameHand ? in.hand : other;
    // Face contact ratio eps_beta = b sin(beta) / (pi mn), total
    // eps_gamma = eps_alpha + eps_beta (ISO 21771), here with the effective
    // transverse ratio.
    h.epsilonBeta = h.b * std::sin(h.beta) / (pi * mn);
    // Where the flanks never meet in involute contact (no effective path:
    // the tips miss on the line of action, or meet only fillets) the face
    // overlap carries no contact either.
    h.epsilonGamma = n.gaEff > 0.0 ? n.epsilonAlphaEff + h.epsilonBeta : 0.0;
    // A helical pair meshes continuously while eps_gamma >= 1: the contact
    // lines overlap across the face even where a transverse section has
    // gaps.
    n.cannotRun = h.epsilonGamma < 1.0;
    n.lowContactRatio = !n.cannotRun && h.epsilonGamma < lowTotalContactRatio;
    n.y /= c;
    n.jn = in.backlash;
    const double xs[2] = {in.x1, in.x2};
    for (int i = 0; i < 2; ++i) {
        const bool inspected = pairKindTraits(n.kind).hasInspectionSizes[i];
        GearNumbers& g = n.gear[i];
        if (g.z <= 0) {
            continue;  // the rack
        }
        g.x = xs[i];
        g.xmin /= c;  // xmin = 1 - z sin^2(alpha_t) / (2 cos(beta))
        // The tip is judged across the tooth: the normal tip thickness
        // san = sat cos(beta_a), tan(beta_a) = tan(beta) da / d (ISO 21771),
        // against 0.25 mn.
        const double betaA = std::atan(std::tan(h.beta) * g.da / g.d);
        g.thinTip = g.sa * std::cos(betaA) < thinTipModules * mn;
        // Virtual teeth zn = z / (cos^2(beta_b) cos(beta)) (ISO 21771).
        h.zn[i] = g.z / (cosBetaB * cosBetaB * c);
        if (!inspected) {
            continue;
        }
        // Span over k teeth in the normal plane (ISO 21771):
        // Wk = mn cos(alpha_n) (pi (k - 0.5) + z inv(alpha_t)) + 2 xn mn sin(alpha_n),
        // less jn / 2; k by the rule of the virtual spur gear,
        // k = zn alpha_x / pi + 0.5, cos(alpha_x) = zn cos(alpha_n) / (zn + 2 xn),
        // else the nearest k whose jaws touch the involute. The jaws touch
        // the flanks W / (2 cos(beta_b)) from the base tangent point in the
        // transverse section.
        auto span = [&](int k) {
            return mn * std::cos(alphaN) * (pi * (k - 0.5) + g.z * n.invAlpha) + 2.0 * g.x * mn * std::sin(alphaN) -
                   n.jn / 2.0;
        };
        const double rb = g.db / 2.0;
        auto onInvolute = [&](double w) {
            const double rho = std::hypot(rb, w / (2.0 * cosBetaB));
            return rho >= g.dNf / 2.0 && rho <= g.da / 2.0;
        };
        const double alphaX = std::acos(std::min(1.0, h.zn[i] * std::cos(alphaN) / (h.zn[i] + 2.0 * g.x)));
        const int rule = std::clamp(static_cast<int>(std::lround(h.zn[i] * alphaX / pi + 0.5)), 1, g.z - 1);
        g.k = 0;
        g.W = 0.0;
        for (int step = 0; step < g.z && g.k == 0; ++step) {
            for (int k : {rule - step, rule + step}) {
                if (g.k == 0 && k >= 1 && k <= g.z - 1 && onInvolute(span(k))) {
                    g.k = k;
                    g.W = span(k);
                }
            }
        }
        // The jaws must lie on the flanks across the face: b > W sin(beta_b)
        // plus a margin for the jaws themselves (the gear makers' rule).
        h.narrowForSpan[i] = g.k > 0 && h.b < g.W * std::sin(h.betaB) + spanJawAllowance(g.W, h.betaB);
        // Over balls: the transverse section's pin of dp / cos(beta_b) has its
        // centre where the ball's is; M = db / cos(phi) (cos(pi / (2 z)) for
        // odd z) + dp with the real ball (ISO 21771's radial size over balls).
        if (g.dp > 0.0) {
            const double dpt = g.dp;
            g.dp = dpt * cosBetaB;
            g.M += g.dp - dpt;
        }
    }
}

std::string helicalDrawingNote(const PairInput& in, const TransverseSection& section) {
    if (!isHelical(in)) {
        return "";
    }
    const PairInput& t = section.spur();
    const char* hand = in.hand == Hand::right ? "right" : "left";
    const char* mate = pairKindTraits(in.kind).mateHasSameHand ? hand : in.hand == Hand::right ? "left" : "right";
    char text[320];
    snprintf(text, sizeof text,
             "helical gears: beta = %g deg, gear 1 %s hand, its mate %s hand; m, alpha and x are the normal ones; "
             "the outlines are the transverse section (mt = %.5f mm, alpha t = %.5f deg)",
             in.betaDeg, hand, mate, t.m, t.alphaDeg);
    return text;
}

ActionPlane actionPlane(const PairInput& in, const PairNumbers& n, double theta) {
    ActionPlane p{};
    p.length = n.gaEff;
    p.width = faceWidthOf(in);
    p.betaB = n.helix.betaB;
    const double pitch = n.pb;  // pbt
    if (!(pitch > 0.0) || !(p.length > 0.0)) {
        return p;
    }
    const double slope = std::tan(p.betaB);  // du / dw
    const double reach = p.width * slope;    // how far a line leans across the face
    const double shift = std::fmod(n.gear[0].db / 2.0 * theta, pitch);
    // u0 runs over every line that meets the rectangle: from -reach to length.
    const double first = std::ceil((-reach - shift) / pitch);
    for (double j = first; p.count < maxContactLines; j += 1.0) {
        const double u0 = shift + j * pitch;
        if (u0 > p.length) {
            break;
        }
        // The part of w in [0, b] where u0 + w slope lies in [0, length].
        double wLo = 0.0;
        double wHi = p.width;
        if (slope > 0.0) {
            wLo = std::max(wLo, -u0 / slope);
            wHi = std::min(wHi, (p.length - u0) / slope);
        } else if (u0 < 0.0) {
            continue;
        }
        if (wHi <= wLo) {
            continue;
        }
        p.lines[p.count++] = ContactLine{u0 + wLo * slope, wLo, u0 + wHi * slope, wHi};
        p.total += (wHi - wLo) / std::cos(p.betaB);
    }
    // w runs from the back face up to the face scene 7 shows (z up out of the
    // picture, as the solids stand). Going up a right-hand gear 1 turns
    // counter-clockwise, ahead of its back face: its lines lean forward,
    // du/dw = +tan(beta_b). A left-hand gear 1 is its mirror image across the
    // middle of the face: the same lines with w and b - w exchanged, leaning
    // back (the same lengths, so the same loads and stresses).
    if (n.helix.hand[0] == Hand::left) {
        for (int i = 0; i < p.count; ++i) {
            p.lines[i].w0 = p.width - p.lines[i].w0;
            p.lines[i].w1 = p.width - p.lines[i].w1;
        }
    }
    return p;
}
