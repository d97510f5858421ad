#include "pair/outline/outline.h"

#include <algorithm>
#include <cmath>

#include "pair/cutting/cutting.h"
#include "pair/inputs/helical.h"
#include "pair/kinds/kinds.h"

namespace {

// Outline sampling. The envelope is traced densely (far below 0.001 m between
// neighbouring samples and their chords), then thinned to outlineTolerance:
// together they stay well inside 0.001 m.
constexpr int roundSamples = 800;      // along the cutter's tip round
constexpr int flankSamples = 4000;     // along the cutter's straight flank
constexpr double outlineTolerance = 0.0004;  // in m: Douglas-Peucker on each flank
constexpr double arcTolerance = 0.0002;      // in m: sagitta of tip and root arc chords

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

void toothFlank(int gear, const PairNumbers& n, int roundCount, int flankCount, std::vector<Polar>& flank,
                double& rootRadius) {
    const PairInput& in = n.section.spur();  // a helical gear's transverse section (pair/helical.h)
    const double m = in.m;
    const int z = gear == 0 ? in.z1 : in.z2;
    const double r = m * z / 2.0;
    // Thinned for backlash: the rack moved tangentially (a thicker rack
    // tooth) cuts the whole flank turned by jt / (2 dw) towards the tooth's
    // middle.
    const double turn = n.thinning > 0.0 ? n.thinning / n.gear[gear].dw : 0.0;
    rootRadius = rackCutFlank(makeRackProfile(m, n.alpha, in.heightFactor), r, (gear == 0 ? in.x1 : in.x2) * m,
                              n.gear[gear].da / 2.0, turn, roundCount, flankCount, flank);
}

}  // namespace

double rackCutFlank(const RackProfile& p, double r, double xm, double ra, double turn, int roundCount, int flankCount,
                    std::vector<Polar>& flank) {
    const double m = p.m;
    const double rootRadius = r + xm - p.depth;
    // The cutter's half profile: round, then flank up to where it cuts the
    // tip circle (a rack point h above the rolling line cuts no lower than
    // radius r + h).
    std::vector<Polar> traced;
    traced.reserve(static_cast<size_t>(roundCount + flankCount + 2));
    const double bEnd = roundEnd(p);
    for (int i = 0; i <= roundCount; ++i) {
        traced.push_back(envelopePoint(p, r, xm, roundPoint(p, bEnd * i / roundCount)));
    }
    const double v0 = flankStart(p);
    const double v1 = std::min(ra - r - xm + 0.05 * m, rackAddendum * p.h * m);
    for (int i = 1; i <= flankCount; ++i) {
        traced.push_back(envelopePoint(p, r, xm, flankPoint(p, v0 + (v1 - v0) * i / flankCount)));
    }

    envelopeFlank(traced, rootRadius, ra, flank);
    if (turn > 0.0) {
        for (Polar& q : flank) {
            q.psi -= turn;
        }
    }
    return rootRadius;
}

void envelopeFlank(const std::vector<Polar>& traced, double rhoFrom, double rhoTo, std::vector<Polar>& flank) {
    std::vector<std::vector<Polar>> pieces;
    splitMonotone(traced, pieces);

    std::vector<double> radii;
    radii.reserve(traced.size() + 2);
    const double lowest = std::min(rhoFrom, rhoTo);
    const double highest = std::max(rhoFrom, rhoTo);
    radii.push_back(lowest);
    radii.push_back(highest);
    for (const Polar& q : traced) {
        if (q.rho > lowest && q.rho < highest) {
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
    if (rhoFrom > rhoTo) {
        std::reverse(flank.begin(), flank.end());
    }
}

namespace {

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

void buildOutline(int gear, const PairNumbers& n, GearOutline& outline) {
    const PairInput& in = n.section.spur();
    const int z = gear == 0 ? in.z1 : in.z2;
    const double ra = n.gear[gear].da / 2.0;
    std::vector<Polar> flank;
    double rootRadius = 0.0;
    toothFlank(gear, n, roundSamples, flankSamples, flank, rootRadius);

    assembleOutline(flank, ra, rootRadius, z, in.m, outline);
}

}  // namespace

void assembleOutline(const std::vector<Polar>& flank, double ra, double rootRadius, int z, double m,
                     GearOutline& outline) {
    // The counter-clockwise flank in Cartesian form, thinned.
    std::vector<Point2> dense(flank.size());
    for (size_t i = 0; i < flank.size(); ++i) {
        dense[i] = Point2{flank[i].rho * std::cos(flank[i].psi), flank[i].rho * std::sin(flank[i].psi)};
    }
    std::vector<char> keep(dense.size(), 0);
    douglasPeucker(dense.data(), 0, dense.size() - 1, outlineTolerance * m, keep);
    std::vector<Point2> upper;  // root to tip, counter-clockwise flank
    for (size_t i = 0; i < dense.size(); ++i) {
        if (keep[i]) {
            upper.push_back(dense[i]);
        }
    }
    // A tooth whose tip land is thinner than the tracing's error (the pair's
    // rule refuses only sa <= 0) may have its traced flank reach the tooth's
    // middle (y = 0) just below the tip circle, or pass it: it would cross
    // its mirror image there. It is cut where it last reaches the middle, and
    // the tooth ends in that point.
    bool pointed = false;
    if (upper.size() > 1 && upper.back().y <= 0.0) {
        size_t i = upper.size() - 1;
        while (i > 0 && upper[i - 1].y <= 0.0) {
            --i;
        }
        if (i > 0) {
            const Point2 a = upper[i - 1];
            const Point2 b = upper[i];
            const double t = a.y / (a.y - b.y);
            upper.resize(i);
            upper.push_back(Point2{a.x + t * (b.x - a.x), 0.0});
            pointed = true;
        }
    }
    const double psiRoot = flank.front().psi;
    const double psiTip = pointed ? 0.0 : flank.back().psi;
    const double toothAngle = 2.0 * pi / z;

    // One tooth and the space after it, counter-clockwise from the root at
    // the foot of the clockwise flank.
    std::vector<Point2> tooth;
    for (const Point2& q : upper) {
        tooth.push_back(Point2{q.x, -q.y});  // clockwise flank: the mirror image
    }
    appendArc(ra, -psiTip, psiTip, arcTolerance * m, tooth);
    // A pointed tooth's point is the mirrored flank's last point already.
    for (size_t i = upper.size() - (pointed ? 1 : 0); i-- > 0;) {
        tooth.push_back(upper[i]);
    }
    appendArc(rootRadius, psiRoot, toothAngle - psiRoot, arcTolerance * m, tooth);

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
                                                      turned.y - outline.points.back().y) < 1e-12 * m) {
                continue;
            }
            outline.points.push_back(turned);
        }
    }
    if (outline.points.size() > 1 &&
        std::hypot(outline.points.front().x - outline.points.back().x,
                   outline.points.front().y - outline.points.back().y) < 1e-12 * m) {
        outline.points.pop_back();
    }
}


void rackCutOutline(int gear, const PairNumbers& numbers, GearOutline& outline) {
    buildOutline(gear, numbers, outline);
}

void buildExternalGeometry(const PairInput& input, const PairNumbers& numbers, PairGeometry& pair) {
    pair.input = input;
    pair.numbers = numbers;
    buildOutline(0, pair.numbers, pair.outline[0]);
    buildOutline(1, pair.numbers, pair.outline[1]);
    // Gear 1's tooth 0 lies on the line of centres; gear 2 turns a space onto
    // it. With a from alpha_w the working tooth thicknesses add up to the
    // working pitch (sw1 + sw2 = pw), so the tooth fills the space at the
    // working pitch circles and both flanks touch: no backlash, no overlap.
    // Gear 2's spaces lie at pi / z2 + k 2 pi / z2; the one facing gear 1
    // must be at pi.
    pair.phase2 = pi - pi / input.z2;
    pair.rim.points.clear();
    pair.rackShift = 0.0;
    // With backlash both gears' flanks are turned towards their teeth's
    // middles, gear 1's by jt / (2 dw1), gear 2's by jt / (2 dw2); gear 2
    // turns back onto gear 1's drive flank by the first times z1 / z2 plus
    // the second, jt / dw2 in all, and the play opens on the other flanks.
    pair.phase2 += pair.numbers.jt / pair.numbers.gear[1].dw;
}

void traceToothFlank(int gear, const PairNumbers& numbers, int samples, std::vector<Point2>& flank) {
    // The outlines' share of round and flank samples, 1 : 5.
    const int roundCount = std::max(2, samples / 6);
    std::vector<Polar> polar;
    double rootRadius = 0.0;
    toothFlank(gear, numbers, roundCount, std::max(2, samples - roundCount), polar, rootRadius);
    flank.clear();
    for (const Polar& q : polar) {
        flank.push_back(Point2{q.rho * std::cos(q.psi), q.rho * std::sin(q.psi)});
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
