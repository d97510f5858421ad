#include "pair/cutting/cutting.h"

#include <algorithm>
#include <cmath>

#include "pair/solve/numeric.h"

namespace {

constexpr int rackRoundSegments = 48;  // chords of each rack round in rackOutline
constexpr double cutterAddendum = 1.25;  // the pinion-type cutter's tip above its reference circle, in m
constexpr double cutterDedendum = 1.25;  // its root below it, in m
constexpr int cutterFlankSegments = 48;  // chords of each flank in pinionCutterOutline
constexpr int cutterArcSegments = 16;    // chords of each tip and root arc

}  // namespace

RackProfile makeRackProfile(double m, double alpha, double h) {
    // The normal section's rack (module mn = h m, pressure angle alpha_n),
    // its round worked out there and stretched across by 1 / h.
    const double alphaN = h == 1.0 ? alpha : std::atan(std::tan(alpha) * h);
    const double mn = h * m;
    RackProfile p{m, alpha, rackAddendum * h * m, rackTipRadius * h * m, 0.0, 0.0, h, alphaN};
    const double sinA = std::sin(alphaN);
    const double cosA = std::cos(alphaN);
    const double tanA = std::tan(alphaN);
    // Round tangent to the tip line and the flank u = pi mn / 4 + v tan(alpha_n):
    // its centre lies rho inside both.
    double ucN = pi * mn / 4.0 - (p.depth - p.rho) * tanA - p.rho / cosA;
    if (ucN < 0.0) {
        // Too steep for the full round: one round, centred on u = 0, touching
        // both flanks and the tip line.
        ucN = 0.0;
        p.rho = mn * (pi / 4.0 * cosA - rackAddendum * sinA) / (1.0 - sinA);
        if (p.rho <= 0.0) {
            // The flanks meet before the tip line: a sharp tip.
            p.rho = 0.0;
            p.depth = pi * mn / 4.0 / tanA;
        }
    }
    p.uc = ucN / h;
    p.vc = -p.depth + p.rho;
    return p;
}

double roundEnd(const RackProfile& p) { return pi / 2.0 - p.alphaN; }

ProfilePoint roundPoint(const RackProfile& p, double b) {
    if (p.h == 1.0) {
        const double nu = std::sin(b);
        const double nv = -std::cos(b);
        return ProfilePoint{p.uc + p.rho * nu, p.vc + p.rho * nv, nu, nv};
    }
    // The ellipse (rho / h across, rho in height): its outward normal is
    // (h sin(b), -cos(b)) normalised.
    const double nu = p.h * std::sin(b);
    const double nv = -std::cos(b);
    const double length = std::hypot(nu, nv);
    return ProfilePoint{p.uc + p.rho / p.h * std::sin(b), p.vc + p.rho * nv, nu / length, nv / length};
}

// Straight flank at height v.
ProfilePoint flankPoint(const RackProfile& p, double v) {
    return ProfilePoint{pi * p.m / 4.0 + v * std::tan(p.alpha), v, std::cos(p.alpha), -std::sin(p.alpha)};
}

// Height of the round's upper end, where it meets the flank.
double flankStart(const RackProfile& p) { return p.vc - p.rho * std::sin(p.alphaN); }

// The point of the gear that the profile point p cuts (the law of gearing:
// they touch where p's normal passes through the pitch point). Cutting frame:
// the rack rolls on the reference circle (radius r) at the pitch point
// (0, r) with its datum at y = r + x m; the rack tooth whose half u >= 0 cuts
// tooth 0's counter-clockwise flank is centred pi m / 2 to the left of the
// space holding tooth 0, which stands at the top when the blank has turned
// by pi/2 (rackOutlineAt).
Polar envelopePoint(const CuttingMotion& motion, const ProfilePoint& q) {
    const double r = motion.r;
    if (motion.rc == 0.0) {
        // A rack: its normal meets the rolling line y = r (datum at y = r + x m).
        const double xm = motion.xm;
        const double t = (-xm - q.v) / q.nv;  // along the normal to the rolling line
        const double uStar = q.u + q.nu * t;  // where the normal meets it, in the tooth's frame
        const double phi = pi / 2.0 + (uStar - motion.pitch / 2.0) / r;  // blank's turn at contact
        const double qx = q.u - uStar;
        const double qy = r + xm + q.v;
        return Polar{std::hypot(qx, qy), std::remainder(std::atan2(qy, qx) - phi, 2.0 * pi)};
    }
    // A pinion-type cutter: its normal meets the cutter's pitch circle
    // (radius rc) at W, on the side of the normal's foot F where q lies (the
    // other crossing is the conjugate point behind the cutter). Ring centre
    // at the origin, cutter centre at (a0, 0), pitch point (r, 0): the cutter
    // turned by phi = -angle(W) brings W there, and the ring, rolling with
    // it, has turned by phi rc / r the same way.
    const double along = q.u * q.nu + q.v * q.nv;
    const double fx = q.u - along * q.nu;
    const double fy = q.v - along * q.nv;
    const double reach2 = motion.rc * motion.rc - (fx * fx + fy * fy);
    if (reach2 < 0.0) {
        return Polar{-1.0, 0.0};
    }
    const double sigma = std::copysign(std::sqrt(reach2), along);
    const double phi = -std::atan2(fy + sigma * q.nv, fx + sigma * q.nu);
    const double x = motion.a0 + std::cos(phi) * q.u - std::sin(phi) * q.v;
    const double y = std::sin(phi) * q.u + std::cos(phi) * q.v;
    return Polar{std::hypot(x, y), std::remainder(std::atan2(y, x) - phi * motion.rc / r, 2.0 * pi)};
}

Polar envelopePoint(const RackProfile& p, double r, double xm, const ProfilePoint& q) {
    return envelopePoint(CuttingMotion{r, pi * p.m, xm, 0.0, 0.0}, q);
}

ProfilePoint cutterFlankPoint(const RingCutting& c, double alpha, double t) {
    // The involute unwound clockwise from the base circle at
    // thetaB = pi / (2 zc) + inv(alpha): its string touches the base circle at
    // thetaB - t, and the string's direction is the flank's outward normal.
    const double thetaB = pi / (2.0 * c.zc) + involuteFunction(alpha);
    const double tangent = thetaB - t;
    const double nx = std::sin(t);
    const double ny = std::cos(t);
    const double normalX = std::cos(thetaB) * nx - std::sin(thetaB) * ny;
    const double normalY = std::sin(thetaB) * nx + std::cos(thetaB) * ny;
    return ProfilePoint{c.rbc * std::cos(tangent) + c.rbc * t * normalX, c.rbc * std::sin(tangent) + c.rbc * t * normalY,
                        normalX, normalY};
}

ProfilePoint cutterCornerPoint(const RingCutting& c, double alpha, double turn) {
    const double tTip = std::sqrt(c.rac * c.rac - c.rbc * c.rbc) / c.rbc;
    ProfilePoint q = cutterFlankPoint(c, alpha, tTip);
    const double from = std::atan2(q.nv, q.nu);
    const double to = std::atan2(q.v, q.u);
    const double angle = from + std::remainder(to - from, 2.0 * pi) * turn;
    q.nu = std::cos(angle);
    q.nv = std::sin(angle);
    return q;
}

void rackOutline(const TransverseSection& section, int gearIndex, int teeth, std::vector<Point2>& points) {
    const PairInput& input = section.spur();
    const double m = input.m;
    const double x = gearIndex == 0 ? input.x1 : input.x2;
    const RackProfile p = makeRackProfile(m, input.alphaDeg * degToRad, input.heightFactor);
    const double xm = x * m;
    const double pitch = pi * m;

    // One rack tooth's half from the middle of its tip to the middle of the
    // space beside it, in the tooth-centred frame (u, v); the space's half is
    // the tooth's half turned by 180 degrees about the flank's midpoint on
    // the datum (u = pi m / 4, v = 0).
    std::vector<Point2> half;
    half.push_back(Point2{0.0, -p.depth});
    const double bEnd = roundEnd(p);
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

void rackOutlineAt(const TransverseSection& section, int gearIndex, double phi, int teeth,
                   std::vector<Point2>& points) {
    const PairInput& input = section.spur();
    const int z = gearIndex == 0 ? input.z1 : input.z2;
    const double r = input.m * z / 2.0;
    const double pitch = pi * input.m;
    double shift = -r * (phi - pi / 2.0);
    shift -= std::round(shift / pitch) * pitch;
    rackOutline(section, gearIndex, teeth, points);
    for (Point2& q : points) {
        q.x += shift;
        q.y += r;
    }
}

RingCutting ringCutting(const TransverseSection& section, int zc) {
    const PairInput& in = section.spur();
    const double m = in.m;
    const double h = in.heightFactor;
    const double alpha = in.alphaDeg * degToRad;
    RingCutting c{};
    c.zc = zc;
    c.rc = m * zc / 2.0;
    c.rbc = c.rc * std::cos(alpha);
    c.rac = c.rc + cutterAddendum * h * m;
    c.rfc = c.rc - cutterDedendum * h * m;
    c.sac = 2.0 * c.rac * (pi / (2.0 * zc) + involuteFunction(alpha) - involuteFunction(std::acos(c.rbc / c.rac)));
    // The cutter (x = 0) meshes with the ring (x2) as a pinion does.
    const double invW0 = 2.0 * std::tan(alpha) * in.x2 / (in.z2 - zc) + involuteFunction(alpha);
    if (invW0 > 0.0) {
        c.alphaW0 = inverseInvolute(invW0);
        c.a0 = (in.z2 - zc) / 2.0 * m * std::cos(alpha) / std::cos(c.alphaW0);
    }
    return c;
}


void pinionCutterOutline(const TransverseSection& section, int zc, std::vector<Point2>& points) {
    const PairInput& input = section.spur();
    const RingCutting c = ringCutting(section, zc);
    const double alpha = input.alphaDeg * degToRad;
    // The counter-clockwise flank of tooth 0 from the root circle up, in
    // polar form: radial below the base circle, then the involute evenly in
    // its arc length (t^2) to the tip.
    std::vector<Point2> flank;  // (rho, psi)
    const double psiBase = pi / (2.0 * zc) + involuteFunction(alpha);
    if (c.rfc < c.rbc) {
        flank.push_back(Point2{c.rfc, psiBase});
    }
    const double rStart = std::max(c.rbc, c.rfc);
    const double t0 = std::sqrt(rStart * rStart - c.rbc * c.rbc) / c.rbc;
    const double t1 = std::sqrt(c.rac * c.rac - c.rbc * c.rbc) / c.rbc;
    for (int i = 0; i <= cutterFlankSegments; ++i) {
        const double t = std::sqrt(t0 * t0 + (t1 * t1 - t0 * t0) * i / cutterFlankSegments);
        flank.push_back(Point2{c.rbc * std::sqrt(1.0 + t * t), psiBase - (t - std::atan(t))});
    }
    const double psiRoot = flank.front().y;
    const double psiTip = flank.back().y;
    const double toothAngle = 2.0 * pi / zc;
    points.clear();
    auto polar = [&](double rho, double psi) { points.push_back(Point2{rho * std::cos(psi), rho * std::sin(psi)}); };
    for (int k = 0; k < zc; ++k) {
        const double centre = k * toothAngle;
        for (const Point2& q : flank) {
            polar(q.x, centre - q.y);  // clockwise flank, root to tip
        }
        for (int i = 1; i < cutterArcSegments; ++i) {
            polar(c.rac, centre - psiTip + 2.0 * psiTip * i / cutterArcSegments);
        }
        for (size_t i = flank.size(); i-- > 0;) {
            polar(flank[i].x, centre + flank[i].y);  // counter-clockwise flank, tip to root
        }
        for (int i = 1; i < cutterArcSegments; ++i) {
            polar(c.rfc, centre + psiRoot + (toothAngle - 2.0 * psiRoot) * i / cutterArcSegments);
        }
    }
}

void pinionCutterOutlineAt(const TransverseSection& section, int zc, double phi, std::vector<Point2>& points) {
    const PairInput& input = section.spur();
    const RingCutting c = ringCutting(section, zc);
    pinionCutterOutline(section, zc, points);
    // Rolling: the cutter turns z2 / zc times the ring's turn, the same way.
    const double turn = pi / 2.0 + (phi - (pi / 2.0 - pi / input.z2)) * input.z2 / zc;
    const double cs = std::cos(turn);
    const double sn = std::sin(turn);
    for (Point2& q : points) {
        q = Point2{cs * q.x - sn * q.y, c.a0 + sn * q.x + cs * q.y};
    }
}

namespace {

constexpr int formSamples = 64;  // points of the tip round whose cuts are tried for the undercut

// Angle of the true involute at radius rho >= rb from the tooth's middle:
// psi = s / d + inv(alpha) - inv(acos(rb / rho)).
double involutePsi(double psiBase, double rb, double rho) {
    const double a = std::acos(std::min(1.0, rb / rho));
    return psiBase - (std::tan(a) - a);
}

}  // namespace

FlankForm flankForm(const RackProfile& p, int z, double xm, double s, double ra) {
    const double r = p.m * z / 2.0;
    const double sinA = std::sin(p.alpha);
    const double rb = r * std::cos(p.alpha);
    const double psiBase = s / (2.0 * r) + std::tan(p.alpha) - p.alpha;
    FlankForm form{rb, false, 0.0, 0.0};
    // The straight flank's lowest point cuts the gear on the line of action
    // r sin(alpha) + (v0 + x m) / sin(alpha) from the tangent point T: at
    // or beyond T there is no undercut and the involute starts there.
    const double fromT = r * sinA + (flankStart(p) + xm) / sinA;
    if (fromT >= 0.0) {
        form.involuteStart = std::hypot(rb, fromT);
        return form;
    }
    // Undercut: the tip round's path runs inside the involute above the base
    // circle. The involute begins at the highest radius where the round's
    // cut lies inside it (psi below the involute's; below the base circle,
    // below the involute's foot, so that a path rising through the base
    // circle is followed to where it crosses the involute).
    const double bEnd = roundEnd(p);
    auto cut = [&](double b) { return envelopePoint(p, r, xm, roundPoint(p, b)); };
    auto inside = [&](const Polar& q) { return q.psi < involutePsi(psiBase, rb, q.rho); };
    Polar samples[formSamples + 1];
    int highest = -1;
    int narrowest = -1;
    for (int i = 0; i <= formSamples; ++i) {
        samples[i] = cut(bEnd * i / formSamples);
        if (inside(samples[i]) && (highest < 0 || samples[i].rho > samples[highest].rho)) {
            highest = i;
        }
        if (samples[i].rho <= ra && (narrowest < 0 || samples[i].psi < samples[narrowest].psi)) {
            narrowest = i;
        }
    }
    if (highest < 0) {
        // Just past the undercut limit the round's path dips inside the
        // involute only just before it meets the straight flank (b = bEnd),
        // within the last sample step, and a hair above the base circle:
        // the deepest point of that step (golden section) shows the dip.
        auto depth = [&](double b) {
            const Polar q = cut(b);
            return q.psi - involutePsi(psiBase, rb, q.rho);
        };
        const double bDeep = goldenSectionMin(depth, bEnd * (formSamples - 1) / formSamples, bEnd, 60);
        if (depth(bDeep) < 0.0) {
            // The crossing lies between it and the flank's start, outside.
            double bIn = bDeep;
            double bOut = bEnd;
            for (int k = 0; k < 60; ++k) {
                const double mid = (bIn + bOut) / 2.0;
                (inside(cut(mid)) ? bIn : bOut) = mid;
            }
            form.involuteStart = std::max(rb, cut(bIn).rho);
        }
    }
    if (highest >= 0) {
        form.involuteStart = std::max(rb, samples[highest].rho);
        // The crossing lies between this sample and the neighbour outside
        // the involute at a greater radius.
        for (int side : {-1, 1}) {
            const int j = highest + side;
            if (j < 0 || j > formSamples || inside(samples[j]) || samples[j].rho <= samples[highest].rho) {
                continue;
            }
            double bIn = bEnd * highest / formSamples;
            double bOut = bEnd * j / formSamples;
            for (int k = 0; k < 36; ++k) {
                const double mid = (bIn + bOut) / 2.0;
                (inside(cut(mid)) ? bIn : bOut) = mid;
            }
            form.involuteStart = std::max(form.involuteStart, cut(bIn).rho);
        }
    }
    if (narrowest >= 0) {
        // Refine the narrowest place between its neighbours (golden section).
        const double lo = bEnd * std::max(0, narrowest - 1) / formSamples;
        const double hi = bEnd * std::min(formSamples, narrowest + 1) / formSamples;
        const Polar neck = cut(goldenSectionMin([&](double b) { return cut(b).psi; }, lo, hi, 32));
        // A neck only where the tooth is narrower there than on the involute
        // above it (whose narrowest place is the tip).
        const double psiStart = involutePsi(psiBase, rb, std::max(rb, std::min(ra, form.involuteStart)));
        if (neck.rho < form.involuteStart && neck.psi < psiStart) {
            form.pinched = true;
            form.neckRadius = neck.rho;
            form.neckHalfAngle = neck.psi;
        }
    }
    return form;
}
