// Bending at the tooth root on each gear's own cut outline (ISO 6336-3
// method B's quantities, Lewis's form factor), and the root stress along the
// path of contact. Not here: the report's wording (report_root_bending.cpp),
// any drawing (scenes/), any rating factor.
#include "pair/mesh/root_bending.h"

#include <algorithm>
#include <cmath>

#include "pair/inputs/helical.h"
#include "pair/inputs/kind_traits.h"
#include "pair/kinds/kinds.h"
#include "pair/outline/outline.h"

namespace {

// The flank traced densely, as the outlines trace it (pair/outline.cpp).
constexpr int roundSamples = 800;
constexpr int flankSamples = 4000;
// The fillet's curvature from a circle through points this far apart along
// the flank, in m: far above the tracing's error, far below the fillet's radius.
constexpr double curvatureSpan = 0.03;
// The root stress along the path: points per zone of constant pairs in contact.
constexpr int zoneSamples = 16;

Point2 inFrame(const ToothBeam& beam, double rho, double psi) {
    return Point2{(beam.internal ? -rho : rho) * std::cos(psi), rho * std::sin(psi)};
}

// psi of the flank at radius rho, interpolated; the flank's radius runs one
// way only (rising for an external gear, falling for a ring).
double flankPsiAt(const std::vector<Polar>& flank, double rho) {
    const bool rising = flank.back().rho >= flank.front().rho;
    size_t lo = 0;
    size_t hi = flank.size() - 1;
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if ((flank[mid].rho <= rho) == rising) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const Polar& a = flank[lo];
    const Polar& b = flank[hi];
    if (b.rho == a.rho) {
        return std::min(a.psi, b.psi);
    }
    return a.psi + (b.psi - a.psi) * (rho - a.rho) / (b.rho - a.rho);
}

// The point a given length along the flank (in frame) from point i, towards
// the tip for length > 0.
Point2 alongFlank(const std::vector<Point2>& p, size_t i, double length) {
    const int step = length > 0.0 ? 1 : -1;
    double left = std::fabs(length);
    long k = static_cast<long>(i);
    while (true) {
        const long next = k + step;
        if (next < 0 || next >= static_cast<long>(p.size())) {
            return p[static_cast<size_t>(k)];
        }
        const Point2& a = p[static_cast<size_t>(k)];
        const Point2& b = p[static_cast<size_t>(next)];
        const double d = std::hypot(b.x - a.x, b.y - a.y);
        if (d >= left && d > 0.0) {
            return Point2{a.x + (b.x - a.x) * left / d, a.y + (b.y - a.y) * left / d};
        }
        left -= d;
        k = next;
    }
}

// The circle through three points: its centre and radius (radius 0 when
// they lie on a line).
void circleThrough(const Point2& a, const Point2& b, const Point2& c, Point2& centre, double& radius) {
    const double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
    if (std::fabs(d) < 1e-300) {
        radius = 0.0;
        return;
    }
    const double a2 = a.x * a.x + a.y * a.y;
    const double b2 = b.x * b.x + b.y * b.y;
    const double c2 = c.x * c.x + c.y * c.y;
    centre = Point2{(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                    (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d};
    radius = std::hypot(a.x - centre.x, a.y - centre.y);
}

// Where the line of action through the flank point at radius rho crosses
// the tooth's centre line: the line touches the base circle, on the side of
// the tooth's middle for an external gear (the involute unwinds clockwise
// on the counter-clockwise flank), beyond the flank for a ring.
void loadLine(const ToothBeam& beam, double rho, Point2& point, double& tCross, double& alphaFen) {
    rho = std::clamp(rho, std::min(beam.flank.front().rho, beam.flank.back().rho),
                     std::max(beam.flank.front().rho, beam.flank.back().rho));
    const double psi = flankPsiAt(beam.flank, rho);
    point = inFrame(beam, rho, psi);
    const double alphaRho = std::acos(std::min(1.0, beam.rb / rho));
    const Point2 touch = inFrame(beam, beam.rb, beam.internal ? psi + alphaRho : psi - alphaRho);
    const double dy = touch.y - point.y;
    tCross = std::fabs(dy) > 1e-12 * beam.mn ? point.x - point.y * (touch.x - point.x) / dy : point.x;
    // The load's angle to the normal of the centre line, from the crossing
    // towards the flank: taken along the line from its touching point, not
    // from the crossing, which meets the flank point at a pointed tip (the
    // two differ by a half turn when the traced tip lies a hair past the
    // middle).
    alphaFen = beam.internal ? std::atan2(touch.x - point.x, touch.y - point.y)
                             : std::atan2(point.x - touch.x, point.y - touch.y);
}

void criticalSection(ToothBeam& beam) {
    // The tangent at angle theta to the centre line, running towards the
    // tip as the tooth narrows, has dy/dt = -tan(theta): it touches where
    // y + t tan(theta) is least, searched over the lower half of the tooth
    // (near the tip the flank may lean more than theta).
    const double k = std::tan(beam.tangentAngle);
    const double halfway = (beam.rf + beam.ra) / 2.0;
    std::vector<Point2> points(beam.flank.size());
    size_t best = 0;
    double least = 0.0;
    for (size_t i = 0; i < beam.flank.size(); ++i) {
        points[i] = inFrame(beam, beam.flank[i].rho, beam.flank[i].psi);
        const bool lower = beam.internal ? beam.flank[i].rho >= halfway : beam.flank[i].rho <= halfway;
        const double f = points[i].y + points[i].x * k;
        if (lower && (i == 0 || f < least)) {
            least = f;
            best = i;
        }
    }
    beam.critical = points[best];
    // The fillet's circle of curvature there; the touching point moved onto
    // it where its normal is the tangent's, (sin theta, cos theta) towards
    // the space.
    const double span = curvatureSpan * beam.mn;
    Point2 centre{0.0, 0.0};
    double radius = 0.0;
    circleThrough(alongFlank(points, best, -span), points[best], alongFlank(points, best, span), centre, radius);
    if (radius > 0.0 && centre.y > beam.critical.y) {
        beam.rhoF = radius;
        beam.critical = Point2{centre.x - radius * std::sin(beam.tangentAngle),
                               centre.y - radius * std::cos(beam.tangentAngle)};
    } else {
        beam.rhoF = radius;  // a flank bulging at the touching point: no fillet there
    }
    beam.sFn = 2.0 * beam.critical.y;
    beam.qs = beam.rhoF > 0.0 ? beam.sFn / (2.0 * beam.rhoF) : 0.0;

    // Lewis: the load at the tip, its line crossing the centre line at the
    // parabola's vertex; the parabola y^2 = k (tVertex - t) that touches
    // the tooth, the least k of the flank's points below the vertex.
    Point2 tip{0.0, 0.0};
    double alphaTip = 0.0;
    loadLine(beam, beam.ra, tip, beam.tVertex, alphaTip);
    beam.lewisK = 0.0;
    bool found = false;
    for (const Point2& q : points) {
        const double depth = beam.tVertex - q.x;
        if (depth > 1e-9 * beam.mn) {
            const double kq = q.y * q.y / depth;
            if (!found || kq < beam.lewisK) {
                beam.lewisK = kq;
                beam.lewisTouch = q;
                found = true;
            }
        }
    }
    beam.lewisY = 2.0 * beam.lewisK / (3.0 * beam.mn);
}

// The gear's tooth: a rack-cut gear through its virtual spur gear (zn in
// the normal section; z itself for spur gears), a ring as its pinion-type
// cutter leaves it.
ToothBeam toothBeam(const PairInput& in, const PairNumbers& n, int gear) {
    ToothBeam beam{};
    beam.present = true;
    beam.internal = gear == 1 && pairKindTraits(in.kind).hasRingCutting;
    beam.tangentAngle = beam.internal ? internalTangentAngle : externalTangentAngle;
    const GearNumbers& g = n.gear[gear];
    if (beam.internal) {
        // The ring in its own (for a helical ring, transverse) section.
        const PairInput& t = n.section.spur();
        beam.transverse = isHelical(in);
        beam.fromOutline = true;
        beam.zn = g.z;
        beam.mn = t.m;
        beam.alphaN = n.alpha;
        beam.rb = g.db / 2.0;
        beam.ra = g.da / 2.0;
        beam.raTransverse = beam.ra;
        beam.rf = ringToothFlank(n, beam.flank);
    } else {
        const double beta = in.betaDeg * degToRad;
        beam.zn = isHelical(in) ? n.helix.zn[gear] : g.z;
        beam.mn = in.m;
        beam.alphaN = in.alphaDeg * degToRad;
        beam.fromOutline = g.undercut;
        const double rn = beam.mn * beam.zn / 2.0;
        beam.rb = rn * std::cos(beam.alphaN);
        // The heights are the same in both sections (ISO 6336-3: dan = dn + da - d).
        beam.ra = rn + (g.da - g.d) / 2.0;
        beam.raTransverse = g.da / 2.0;
        const double x = gear == 0 ? in.x1 : in.x2;
        // The backlash's thinning, an arc on the transverse working pitch
        // circle, as a turn of the virtual gear: cos(beta) of it across the
        // tooth on a circle cos^2(beta_b) times larger.
        const double cosBetaB = std::cos(n.helix.betaB);
        const double turn = n.thinning > 0.0
                                ? n.thinning * std::cos(beta) * cosBetaB * cosBetaB / g.dw
                                : 0.0;
        beam.rf = rackCutFlank(makeRackProfile(beam.mn, beam.alphaN, 1.0), rn, x * beam.mn, beam.ra, turn,
                               roundSamples, flankSamples, beam.flank);
    }
    criticalSection(beam);
    return beam;
}

double clampToPath(const ContactPath& path, double s) { return std::clamp(s, path.A, std::max(path.A, path.E)); }

void setLoad(ToothBeam& beam, double den) {
    beam.den = den;
    const BeamLoad l = beamLoadAt(beam, den);
    beam.load = l.load;
    beam.alphaFen = l.alphaFen;
    beam.tLoad = l.tLoad;
    beam.hFe = l.hFe;
    beam.YF = l.YF;
    beam.YS = l.YS;
}

// How far in from its tip end of the path a gear's outer point of single
// contact lies: a base pitch short of the effective path (0 when one pair
// carries throughout), and in the virtual gear ISO 6336-3's
// pbn (epsilon_alpha_n - 1), epsilon_alpha_n = epsilon_alpha / cos^2(beta_b).
struct TipGap {
    double transverse;
    double virtualGear;
};
TipGap tipGap(const RootBending& bending, const ContactPath& path) {
    const double gaEff = std::max(0.0, path.E - path.A);
    const double gaN = gaEff * bending.pathScale;
    return TipGap{std::clamp(gaEff - path.pb, 0.0, gaEff), std::clamp(gaN - path.pb / bending.pathScale, 0.0, gaN)};
}

}  // namespace

BeamLoad beamLoadAt(const ToothBeam& beam, double d) {
    BeamLoad l{};
    loadLine(beam, d / 2.0, l.load, l.tLoad, l.alphaFen);
    l.hFe = l.tLoad - beam.critical.x;
    const double s = beam.sFn / beam.mn;
    // ISO 6336-3 (method B): YF = 6 (hFe / mn) cos(alphaFen) / ((sFn / mn)^2 cos(alpha_n)).
    l.YF = 6.0 * (l.hFe / beam.mn) * std::cos(l.alphaFen) / (s * s * std::cos(beam.alphaN));
    // YS = (1.2 + 0.13 L) qs^(1 / (1.21 + 2.3 / L)), L = sFn / hFe, qs = sFn / (2 rhoF).
    const double L = l.hFe > 0.0 ? beam.sFn / l.hFe : 0.0;
    l.YS = L > 0.0 && beam.qs > 0.0 ? (1.2 + 0.13 * L) * std::pow(beam.qs, 1.0 / (1.21 + 2.3 / L)) : 0.0;
    return l;
}

double beamDiameterAt(const RootBending& bending, const ContactPath& path, int gear, double s) {
    const ToothBeam& beam = bending.gear[gear];
    if (gear == 1 && beam.internal) {
        return diameter2At(path, s);
    }
    // The virtual gear's roll from its tip end of the path (gear 1's at E,
    // gear 2's at A): the transverse roll g from there mapped so that the
    // outer point of single contact falls where ISO 6336-3 puts it in the
    // virtual gear (tipGap), and scaled by the paths' lengths beyond it.
    const double end = gear == 0 ? path.E : path.A;
    const double rEnd = (gear == 0 ? diameter1At(path, end) : diameter2At(path, end)) / 2.0;
    // The same height below the tip in both sections.
    const double rEndN = beam.ra - (beam.raTransverse - rEnd);
    const double rollEnd = std::sqrt(std::max(0.0, rEndN * rEndN - beam.rb * beam.rb));
    const double g = std::fabs(s - end);
    double gn = 0.0;
    const TipGap gap = tipGap(bending, path);
    if (g <= gap.transverse && gap.transverse > 0.0) {
        gn = g * gap.virtualGear / gap.transverse;
    } else {
        gn = gap.virtualGear + (g - gap.transverse) * bending.pathScale;
    }
    const double roll = rollEnd - gn;
    return 2.0 * std::sqrt(roll * roll + beam.rb * beam.rb);
}

double rootStressFactorAt(const RootBending& bending, const ContactPath& path, int gear, double s) {
    const int pairs = pairsInContact(path, s);
    if (pairs == 0 || !bending.gear[gear].present) {
        return 0.0;
    }
    const BeamLoad l = beamLoadAt(bending.gear[gear], beamDiameterAt(bending, path, gear, s));
    return l.YF * l.YS * bending.Ybeta / pairs;
}

RootBending rootBending(const PairInput& in, const PairNumbers& n) {
    RootBending r{};
    const ContactPath path = contactPath(n);
    const bool helical = isHelical(in);
    const double beta = in.betaDeg * degToRad;
    // ISO 6336-3: Ybeta = 1 - epsilon_beta beta / 120 deg, epsilon_beta at most 1, beta at most 30 deg.
    r.Ybeta = helical ? 1.0 - std::min(n.helix.epsilonBeta, 1.0) * std::min(beta, 30.0 * degToRad) / (120.0 * degToRad)
                      : 1.0;
    // The virtual gear's path is the transverse one over cos(beta_b) long
    // (epsilon_alpha_n = epsilon_alpha / cos^2(beta_b), pbn = pbt cos(beta_b)).
    r.pathScale = helical ? 1.0 / std::cos(n.helix.betaB) : 1.0;
    const bool rack = !pairKindTraits(in.kind).hasGear2Shift;
    for (int i = 0; i < 2; ++i) {
        if (i == 1 && rack) {
            continue;
        }
        r.gear[i] = toothBeam(in, n, i);
    }
    // The load at each gear's outer point of single-tooth contact: gear 1's
    // at D, gear 2's at B, a base pitch in from its tip end (the tip itself
    // when one pair carries throughout). In the virtual gear, ISO 6336-3's
    // pbn (epsilon_alpha_n - 1) from the tip end.
    for (int i = 0; i < 2; ++i) {
        ToothBeam& beam = r.gear[i];
        if (!beam.present) {
            continue;
        }
        if (beam.internal) {
            setLoad(beam, diameter2At(path, clampToPath(path, path.B)));
            continue;
        }
        const double gap = tipGap(r, path).transverse;
        const double s = i == 0 ? path.E - gap : path.A + gap;
        setLoad(beam, beamDiameterAt(r, path, i, s));
    }
    for (ToothBeam& beam : r.gear) {
        beam.hasLoad = beam.present && path.E > path.A && beam.hFe > 0.0;
    }
    if (in.torque > 0.0 && path.E > path.A) {
        r.loaded = true;
        r.Ft = 2000.0 * in.torque / n.gear[0].d;
        r.b = faceWidthOf(in);
        // The zones of constant pairs in contact: cut at A + k pb and E - k pb.
        std::vector<double> cuts{path.A, path.E};
        for (int k = 1; path.A + k * path.pb < path.E; ++k) {
            cuts.push_back(path.A + k * path.pb);
            cuts.push_back(path.E - k * path.pb);
        }
        std::sort(cuts.begin(), cuts.end());
        for (int i = 0; i < 2; ++i) {
            const ToothBeam& beam = r.gear[i];
            if (!beam.hasLoad) {
                continue;
            }
            const double unit = r.Ft / (r.b * beam.mn);
            r.sigmaF0[i] = unit * beam.YF * beam.YS * r.Ybeta;
            r.sigmaFMax[i] = -1.0;
            for (size_t k = 0; k + 1 < cuts.size(); ++k) {
                if (cuts[k + 1] - cuts[k] <= 1e-12 * path.pb) {
                    continue;
                }
                const int pairs = std::max(1, pairsInContact(path, (cuts[k] + cuts[k + 1]) / 2.0));
                for (int j = 0; j <= zoneSamples; ++j) {
                    const double s = cuts[k] + (cuts[k + 1] - cuts[k]) * j / zoneSamples;
                    const BeamLoad l = beamLoadAt(beam, beamDiameterAt(r, path, i, s));
                    const double sigma = unit * l.YF * l.YS * r.Ybeta / pairs;
                    if (sigma > r.sigmaFMax[i]) {
                        r.sigmaFMax[i] = sigma;
                        r.sMax[i] = s;
                    }
                }
            }
            r.dMax[i] = i == 0 ? diameter1At(path, r.sMax[i]) : diameter2At(path, r.sMax[i]);
        }
    }
    return r;
}
