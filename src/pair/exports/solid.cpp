// Closed solids from plane sections (see solid.h): the section cut into
// small pieces, each ear-clipped for the bottom and top faces, the side walls
// layer by layer, and the binary STL bytes. Not here: which sections a gear
// pair gives (stl.cpp).
#include "pair/exports/solid.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace {

// Twice the signed area of a closed loop (shoelace): positive counter-clockwise.
double twiceArea(const std::vector<Point2>& loop) {
    double sum = 0.0;
    for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
        sum += loop[j].x * loop[i].y - loop[i].x * loop[j].y;
    }
    return sum;
}

// Every coordinate on a grid of 0.00001 mm, the drawings' five decimals:
// the last bits of a sine differ between the desktop's library and the
// page's, and a solid from the same section must be the same bytes on both.
constexpr double gridMm = 1e-5;
double onGrid(double v) { return std::round(v / gridMm) * gridMm; }

// A loop put on the grid, points that fall together kept once.
std::vector<Point2> loopOnGrid(const std::vector<Point2>& loop) {
    std::vector<Point2> out;
    out.reserve(loop.size());
    for (const Point2& p : loop) {
        const Point2 q{onGrid(p.x), onGrid(p.y)};
        if (out.empty() || q.x != out.back().x || q.y != out.back().y) {
            out.push_back(q);
        }
    }
    while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) {
        out.pop_back();
    }
    return out;
}

double cross(Point2 a, Point2 b, Point2 c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

// A piece of the face: a simple polygon, counter-clockwise, as indices into
// the points of one layer.
using Piece = std::vector<uint32_t>;

// Ear clipping of one small piece (O(k^2) for k corners at most, and only
// its reflex corners are looked at): an ear is a convex corner whose
// triangle holds no other corner of the piece, not even on its edges, so no
// triangle has zero area and none overlaps another. Only a reflex (or
// straight) corner can lie in a convex corner's triangle.
void clipEars(const Piece& piece, const std::vector<Point2>& p, std::vector<uint32_t>& out) {
    const size_t n = piece.size();
    std::vector<size_t> next(n);
    std::vector<size_t> prev(n);
    for (size_t i = 0; i < n; ++i) {
        next[i] = (i + 1) % n;
        prev[i] = (i + n - 1) % n;
    }
    const auto at = [&](size_t i) { return p[piece[i]]; };
    const auto turn = [&](size_t i) { return cross(at(prev[i]), at(i), at(next[i])); };
    std::vector<char> alive(n, 1);
    std::vector<size_t> reflex;
    for (size_t i = 0; i < n; ++i) {
        if (turn(i) <= 0.0) {
            reflex.push_back(i);
        }
    }
    const auto isEar = [&](size_t i) {
        const size_t a = prev[i];
        const size_t c = next[i];
        if (turn(i) <= 0.0) {
            return false;
        }
        const Point2 pa = at(a);
        const Point2 pi_ = at(i);
        const Point2 pc = at(c);
        for (size_t q : reflex) {
            if (!alive[q] || q == a || q == i || q == c) {
                continue;
            }
            const Point2 v = at(q);
            if (cross(pa, pi_, v) >= 0.0 && cross(pi_, pc, v) >= 0.0 && cross(pc, pa, v) >= 0.0) {
                return false;
            }
        }
        return true;
    };
    size_t left = n;
    size_t i = 0;
    size_t tried = 0;  // corners tried since the last ear
    while (left > 3) {
        if (tried > left) {
            // No ear (only a piece that is not simple has none): the most
            // convex corner, so that the clipping ends.
            size_t best = i;
            for (size_t k = next[i]; k != i; k = next[k]) {
                if (turn(k) > turn(best)) {
                    best = k;
                }
            }
            i = best;
        } else if (!isEar(i)) {
            i = next[i];
            ++tried;
            continue;
        }
        out.insert(out.end(), {piece[prev[i]], piece[i], piece[next[i]]});
        alive[i] = 0;
        next[prev[i]] = next[i];
        prev[next[i]] = prev[i];
        i = prev[i];
        --left;
        tried = 0;
    }
    out.insert(out.end(), {piece[prev[i]], piece[i], piece[next[i]]});
}

// The runs of a loop's points at its least (or greatest) distance from
// `centre`, within what the grid moves a point (and a billionth): the
// middle point of each run, in the loop's order.
std::vector<size_t> extremeRuns(const std::vector<Point2>& loop, Point2 centre, bool least) {
    const size_t n = loop.size();
    std::vector<double> r(n);
    for (size_t i = 0; i < n; ++i) {
        r[i] = std::hypot(loop[i].x - centre.x, loop[i].y - centre.y);
    }
    const double extreme = least ? *std::min_element(r.begin(), r.end()) : *std::max_element(r.begin(), r.end());
    const double slack = 1e-9 * extreme + 2.0 * gridMm;
    std::vector<char> in(n);
    size_t start = n;
    for (size_t i = 0; i < n; ++i) {
        in[i] = std::fabs(r[i] - extreme) <= slack;
        if (!in[i]) {
            start = i;
        }
    }
    std::vector<size_t> runs;
    if (start == n) {
        return runs;  // every point at one distance: a circle has no runs to cut at
    }
    size_t first = 0;
    size_t length = 0;
    for (size_t k = 1; k <= n; ++k) {
        const size_t i = (start + k) % n;
        if (in[i]) {
            if (length++ == 0) {
                first = k;
            }
        } else if (length > 0) {
            runs.push_back((start + first + (length - 1) / 2) % n);
            length = 0;
        }
    }
    return runs;
}

// The point of a circle-like loop about `centre` nearest in angle to `p`.
size_t nearestInAngle(const std::vector<Point2>& loop, Point2 centre, Point2 p) {
    const double want = std::atan2(p.y - centre.y, p.x - centre.x);
    size_t best = 0;
    double bestGap = HUGE_VAL;
    for (size_t i = 0; i < loop.size(); ++i) {
        double gap = std::fabs(std::atan2(loop[i].y - centre.y, loop[i].x - centre.x) - want);
        gap = std::min(gap, 2.0 * pi - gap);
        if (gap < bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    return best;
}

// A round section's pieces: between spokes (o_k, h_k), outline point o_k to
// hole point h_k (hole points numbered after the outline's; h_k = nO + nH,
// one past both, for the centre when there is no hole), each piece the
// outline from o_k to o_k+1 and the hole back from h_k+1 to h_k.
void roundPieces(const std::vector<Point2>& outline, const std::vector<Point2>& hole, Point2 centre,
                 std::vector<Piece>& pieces) {
    const size_t nO = outline.size();
    const size_t nH = hole.size();
    std::vector<size_t> o;
    std::vector<size_t> h;
    const auto spread = [&](const std::vector<Point2>& loop) {
        double lo = HUGE_VAL;
        double hi = 0.0;
        for (const Point2& q : loop) {
            const double r = std::hypot(q.x - centre.x, q.y - centre.y);
            lo = std::min(lo, r);
            hi = std::max(hi, r);
        }
        return hi - lo;
    };
    if (nH == 0 || spread(outline) >= spread(hole)) {
        // The toothed outline round a bore (or the centre): cut at its roots.
        o = extremeRuns(outline, centre, true);
        for (size_t k : o) {
            h.push_back(nH == 0 ? 0 : nearestInAngle(hole, centre, outline[k]));
        }
    } else {
        // The toothed hole of a ring inside its rim: cut at the ring's roots.
        h = extremeRuns(hole, centre, false);
        for (size_t k : h) {
            o.push_back(nearestInAngle(outline, centre, hole[k]));
        }
    }
    const size_t spokes = o.size();
    for (size_t k = 0; k < spokes; ++k) {
        const size_t k1 = (k + 1) % spokes;
        Piece piece;
        const size_t outer = spokes == 1 ? nO + 1 : (o[k1] + nO - o[k]) % nO + 1;
        for (size_t i = 0; i < outer; ++i) {
            piece.push_back(static_cast<uint32_t>((o[k] + i) % nO));
        }
        if (nH == 0) {
            piece.push_back(static_cast<uint32_t>(nO));  // the centre
        } else {
            const size_t inner = (h[k1] + nH - h[k]) % nH + 1;
            for (size_t i = 0; i < inner; ++i) {
                piece.push_back(static_cast<uint32_t>(nO + (h[k1] + nH - i) % nH));
            }
        }
        pieces.push_back(std::move(piece));
    }
}

// A bar's pieces; `outline` (counter-clockwise) gets a point on its back
// under each spoke. The back is the edge between the two lowest points,
// left to right; the rest is the top chain from the right end to the left.
void barPieces(std::vector<Point2>& outline, std::vector<Piece>& pieces) {
    size_t n = outline.size();
    size_t bl = 0;
    for (size_t i = 1; i < n; ++i) {
        const Point2& q = outline[i];
        if (q.y < outline[bl].y || (q.y == outline[bl].y && q.x < outline[bl].x)) {
            bl = i;
        }
    }
    std::rotate(outline.begin(), outline.begin() + static_cast<std::ptrdiff_t>(bl), outline.end());
    const double back = outline[0].y;
    // The chain is outline[2 .. n - 1]; its ends stand above the back's
    // corners, where the end walls are: spokes from the points between.
    double low = HUGE_VAL;
    for (size_t i = 3; i + 1 < n; ++i) {
        low = std::min(low, outline[i].y);
    }
    const double slack = 1e-9 * std::max(std::fabs(low), std::fabs(back)) + 2.0 * gridMm;
    std::vector<size_t> spokes;  // in the chain's order, right to left
    for (size_t i = 3; i + 1 < n;) {
        if (std::fabs(outline[i].y - low) > slack) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end + 1 < n - 1 && std::fabs(outline[end + 1].y - low) <= slack) {
            ++end;
        }
        spokes.push_back((i + end) / 2);
        i = end + 1;
    }
    const size_t s = spokes.size();
    if (s == 0) {
        Piece whole(n);
        for (size_t i = 0; i < n; ++i) {
            whole[i] = static_cast<uint32_t>(i);
        }
        pieces.push_back(whole);
        return;
    }
    // The back's new points, left to right, after the left corner.
    std::vector<Point2> feet;
    for (size_t j = s; j-- > 0;) {
        feet.push_back(Point2{outline[spokes[j]].x, back});
    }
    outline.insert(outline.begin() + 1, feet.begin(), feet.end());
    n = outline.size();
    // Spoke j (left to right) at point v[j], its foot at 1 + j.
    std::vector<uint32_t> v(s);
    for (size_t j = 0; j < s; ++j) {
        v[j] = static_cast<uint32_t>(spokes[s - 1 - j] + s);
    }
    const auto chain = [&](Piece& piece, uint32_t from, uint32_t to) {
        for (uint32_t i = from; i <= to; ++i) {
            piece.push_back(i);
        }
    };
    Piece first{0, 1};
    chain(first, v[0], static_cast<uint32_t>(n - 1));
    pieces.push_back(first);
    for (size_t j = 1; j < s; ++j) {
        Piece piece{static_cast<uint32_t>(j), static_cast<uint32_t>(j + 1)};
        chain(piece, v[j], v[j - 1]);
        pieces.push_back(piece);
    }
    Piece last{static_cast<uint32_t>(s), static_cast<uint32_t>(s + 1)};
    chain(last, static_cast<uint32_t>(s + 2), v[s - 1]);
    pieces.push_back(last);
}

// A facet's twelve floats, little-endian, as STL stores them.
void putFloats(char* at, const float (&values)[12]) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    memcpy(at, values, sizeof values);
#else
    for (float value : values) {
        uint32_t bits;
        memcpy(&bits, &value, sizeof bits);
        for (int k = 0; k < 4; ++k) {
            *at++ = static_cast<char>((bits >> (8 * k)) & 0xffu);
        }
    }
#endif
}

// A triangle's unit normal from its stored (single precision) corners,
// worked out in double, and as a reader that works in single precision
// finds it (admesh does): where the two differ, or either has no length,
// the facet's area is, in the file's own precision, next to nothing (a
// sliver: one corner all but on the opposite edge) and a reader "mends"
// its normal.
struct FacetNormal {
    double x, y, z;
};
FacetNormal normalOf(const SolidVertex& a, const SolidVertex& b, const SolidVertex& c) {
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    FacetNormal n{uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0.0) {
        n = FacetNormal{n.x / length, n.y / length, n.z / length};
    }
    return n;
}
constexpr double singleNormalTolerance = 1e-4;  // a tenth of admesh's 0.001 per component
bool trueInSinglePrecision(const SolidVertex& a, const SolidVertex& b, const SolidVertex& c) {
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const float nx = uy * vz - uz * vy;
    const float ny = uz * vx - ux * vz;
    const float nz = ux * vy - uy * vx;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    const FacetNormal n = normalOf(a, b, c);
    if (!(length > 1e-12f) || n.x * n.x + n.y * n.y + n.z * n.z == 0.0) {
        return false;
    }
    return std::fabs(nx / length - n.x) <= singleNormalTolerance &&
           std::fabs(ny / length - n.y) <= singleNormalTolerance &&
           std::fabs(nz / length - n.z) <= singleNormalTolerance;
}

// Merges each sliver with the triangle across its longest edge: the two
// make a quadrilateral whose other diagonal cuts it into two sound
// triangles (the sliver's far corner lies all but on the shared edge, so the
// quadrilateral is convex there). The solid stays closed and oriented, every
// edge still shared by two triangles, and its surface the same. Slivers come
// of the faces' ear clipping where the outline runs all but straight, far
// from the origin; a sliver whose neighbour gives no sound pair is left.
void mergeSlivers(Solid& solid) {
    const std::vector<SolidVertex>& v = solid.vertices;
    std::vector<uint32_t>& t = solid.triangles;
    const size_t count = t.size() / 3;
    auto sound = [&](size_t i) { return trueInSinglePrecision(v[t[3 * i]], v[t[3 * i + 1]], v[t[3 * i + 2]]); };
    std::vector<size_t> slivers;
    for (size_t i = 0; i < count; ++i) {
        if (!sound(i)) {
            slivers.push_back(i);
        }
    }
    if (slivers.empty()) {
        return;
    }
    auto edgeKey = [](uint32_t from, uint32_t to) { return (static_cast<uint64_t>(from) << 32) | to; };
    std::unordered_map<uint64_t, size_t> owner;  // a directed edge's triangle, for the edges slivers need
    auto longest = [&](size_t i) {
        int best = 0;
        double length = -1.0;
        for (int k = 0; k < 3; ++k) {
            const SolidVertex& a = v[t[3 * i + k]];
            const SolidVertex& b = v[t[3 * i + (k + 1) % 3]];
            const double l = std::hypot(double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z);
            if (l > length) {
                length = l;
                best = k;
            }
        }
        return best;
    };
    for (size_t i : slivers) {
        const int k = longest(i);
        owner[edgeKey(t[3 * i + (k + 1) % 3], t[3 * i + k])] = count;  // the reversed edge, its owner to find
    }
    for (size_t i = 0; i < count; ++i) {
        for (int k = 0; k < 3; ++k) {
            const auto found = owner.find(edgeKey(t[3 * i + k], t[3 * i + (k + 1) % 3]));
            if (found != owner.end()) {
                found->second = i;
            }
        }
    }
    for (size_t i : slivers) {
        if (sound(i)) {
            continue;  // mended with a neighbour already
        }
        const int k = longest(i);
        const uint32_t a = t[3 * i + k];
        const uint32_t b = t[3 * i + (k + 1) % 3];
        const uint32_t c = t[3 * i + (k + 2) % 3];
        const auto found = owner.find(edgeKey(b, a));
        if (found == owner.end() || found->second >= count) {
            continue;
        }
        const size_t j = found->second;
        int at = 0;
        while (at < 3 && !(t[3 * j + at] == b && t[3 * j + (at + 1) % 3] == a)) {
            ++at;
        }
        if (at == 3) {
            continue;  // its neighbour was flipped already
        }
        const uint32_t d = t[3 * j + (at + 2) % 3];
        // (a, b, c) and (b, a, d) become (a, d, c) and (d, b, c), if both are
        // sound and face the way the pair faced (no fold).
        const FacetNormal before = normalOf(v[b], v[a], v[d]);
        const FacetNormal n1 = normalOf(v[a], v[d], v[c]);
        const FacetNormal n2 = normalOf(v[d], v[b], v[c]);
        const bool faces = n1.x * before.x + n1.y * before.y + n1.z * before.z > 0.5 &&
                           n2.x * before.x + n2.y * before.y + n2.z * before.z > 0.5;
        if (!faces || !trueInSinglePrecision(v[a], v[d], v[c]) || !trueInSinglePrecision(v[d], v[b], v[c])) {
            continue;
        }
        const uint32_t first[3] = {a, d, c};
        const uint32_t second[3] = {d, b, c};
        memcpy(&t[3 * i], first, sizeof first);
        memcpy(&t[3 * j], second, sizeof second);
    }
}

}  // namespace

int twistLayers(double twist, double radius, double tolerance) {
    if (twist == 0.0 || radius <= tolerance) {
        return 1;
    }
    const double step = 2.0 * std::acos(1.0 - tolerance / radius);
    return std::max(1, static_cast<int>(std::ceil(std::fabs(twist) / step)));
}

void circlePolygon(Point2 centre, double radius, double tolerance, std::vector<Point2>& out) {
    const double step = 2.0 * std::acos(std::max(-1.0, 1.0 - tolerance / radius));
    const int count = std::max(16, static_cast<int>(std::ceil(2.0 * pi / std::max(step, 1e-9))));
    out.clear();
    for (int i = 0; i < count; ++i) {
        const double t = 2.0 * pi * i / count;
        out.push_back(Point2{centre.x + radius * std::cos(t), centre.y + radius * std::sin(t)});
    }
}

void buildSolid(const SolidSection& section, double b, double twist, double tolerance, Solid& solid) {
    std::vector<Point2> outline = loopOnGrid(section.outline);
    std::vector<Point2> hole = section.shape == SectionShape::round ? loopOnGrid(section.hole) : std::vector<Point2>{};
    const Point2 centre{onGrid(section.centre.x), onGrid(section.centre.y)};
    if (twiceArea(outline) < 0.0) {
        std::reverse(outline.begin(), outline.end());
    }
    if (!hole.empty() && twiceArea(hole) < 0.0) {
        std::reverse(hole.begin(), hole.end());
    }
    std::vector<Piece> pieces;
    if (section.shape == SectionShape::bar) {
        barPieces(outline, pieces);
    } else {
        roundPieces(outline, hole, centre, pieces);
    }
    const size_t nO = outline.size();
    const size_t nH = hole.size();
    const size_t perLayer = nO + nH;
    const bool centrePoint = section.shape == SectionShape::round && nH == 0;

    // The face's triangles, once, on the section as given.
    std::vector<Point2> flat = outline;
    flat.insert(flat.end(), hole.begin(), hole.end());
    flat.push_back(centre);
    std::vector<uint32_t> face;
    for (const Piece& piece : pieces) {
        clipEars(piece, flat, face);
    }

    double radius = 0.0;
    for (size_t i = 0; i < perLayer; ++i) {
        radius = std::max(radius, std::hypot(flat[i].x - centre.x, flat[i].y - centre.y));
    }
    const int layers = twistLayers(twist, radius, tolerance);

    solid.vertices.clear();
    solid.vertices.reserve(perLayer * (layers + 1) + 2);
    for (int k = 0; k <= layers; ++k) {
        const double turn = twist * k / layers;
        const double c = std::cos(turn);
        const double s = std::sin(turn);
        const float z = static_cast<float>(b * k / layers);
        const double along = section.shearX * k / layers;
        for (size_t i = 0; i < perLayer; ++i) {
            const double dx = flat[i].x - centre.x;
            const double dy = flat[i].y - centre.y;
            double x = centre.x + c * dx - s * dy;
            if (along != 0.0) {
                x += along;  // only then: adding 0 would turn a -0 into +0 and change an unsheared solid's bytes
            }
            solid.vertices.push_back(SolidVertex{static_cast<float>(onGrid(x)),
                                                 static_cast<float>(onGrid(centre.y + s * dx + c * dy)), z});
        }
    }
    const uint32_t bottomCentre = static_cast<uint32_t>(solid.vertices.size());
    if (centrePoint) {
        const float cx = static_cast<float>(centre.x);
        const float cy = static_cast<float>(centre.y);
        solid.vertices.push_back(SolidVertex{cx, cy, 0.0f});
        solid.vertices.push_back(SolidVertex{cx, cy, static_cast<float>(b)});
    }

    // The walls: the outline counter-clockwise and the hole clockwise, so
    // that every wall faces out of the material. Each quad between two
    // layers is cut along the diagonal whose ends lie nearer in angle about
    // the centre (the twist turns the upper end towards one of them), so a
    // triangle spans no more angle than a layer's turn or an outline chord
    // and keeps to the tolerance twistLayers allows.
    const size_t wallTriangles = 2 * (nO + nH) * static_cast<size_t>(layers);
    solid.triangles.resize(3 * wallTriangles + 2 * face.size());
    uint32_t* out = solid.triangles.data();
    const double step = twist / layers;
    const auto angleOf = [&](uint32_t i) { return std::atan2(flat[i].y - centre.y, flat[i].x - centre.x); };
    const auto wall = [&](uint32_t from, uint32_t to) {
        // Angle from `from` to `to` (the outline's chord), wrapped to (-pi, pi].
        double chord = angleOf(to) - angleOf(from);
        chord -= 2.0 * pi * std::round(chord / (2.0 * pi));
        // Diagonal from `from` below to `to` above spans |chord + step|;
        // from `to` below to `from` above, |chord - step|.
        const bool rising = std::fabs(chord + step) <= std::fabs(chord - step);
        const uint32_t up = static_cast<uint32_t>(perLayer);
        for (int k = 0; k < layers; ++k) {
            const uint32_t a = static_cast<uint32_t>(k * perLayer) + from;
            const uint32_t c = static_cast<uint32_t>(k * perLayer) + to;
            const uint32_t corners[2][6] = {{a, c, a + up, c, c + up, a + up}, {a, c, c + up, a, c + up, a + up}};
            memcpy(out, corners[rising ? 1 : 0], sizeof corners[0]);
            out += 6;
        }
    };
    for (size_t i = 0; i < nO; ++i) {
        wall(static_cast<uint32_t>(i), static_cast<uint32_t>((i + 1) % nO));
    }
    for (size_t i = 0; i < nH; ++i) {
        wall(static_cast<uint32_t>(nO + (i + 1) % nH), static_cast<uint32_t>(nO + i));
    }
    // The faces: the top as triangulated (seen from +z, counter-clockwise),
    // the bottom turned over.
    const uint32_t top = static_cast<uint32_t>(layers * perLayer);
    for (size_t t = 0; t < face.size(); t += 3) {
        uint32_t up[3];
        uint32_t down[3];
        for (int k = 0; k < 3; ++k) {
            const uint32_t i = face[t + k];
            up[k] = i == perLayer ? bottomCentre + 1 : top + i;
            down[k] = i == perLayer ? bottomCentre : i;
        }
        const uint32_t corners[6] = {up[0], up[1], up[2], down[0], down[2], down[1]};
        memcpy(out, corners, sizeof corners);
        out += 6;
    }
    mergeSlivers(solid);
}

std::string formatStl(const std::vector<Solid>& solids, const std::string& header) {
    size_t count = 0;
    for (const Solid& solid : solids) {
        count += solid.triangles.size() / 3;
    }
    // Reserved and appended to, not filled first: a twisted gear's file
    // runs to hundreds of MB, and writing it twice costs as much as making it.
    std::string stl;
    stl.reserve(84 + 50 * count);
    std::string head = header.substr(0, 80);
    head.resize(80, ' ');
    stl += head;
    for (int k = 0; k < 4; ++k) {
        stl += static_cast<char>((count >> (8 * k)) & 0xffu);
    }
    char facet[50] = {};  // the attribute byte count at its end stays 0
    for (const Solid& solid : solids) {
        for (size_t t = 0; t < solid.triangles.size(); t += 3) {
            const SolidVertex& a = solid.vertices[solid.triangles[t]];
            const SolidVertex& b = solid.vertices[solid.triangles[t + 1]];
            const SolidVertex& c = solid.vertices[solid.triangles[t + 2]];
            const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            double nx = uy * vz - uz * vy;
            double ny = uz * vx - ux * vz;
            double nz = ux * vy - uy * vx;
            const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
            if (length > 0.0) {
                nx /= length;
                ny /= length;
                nz /= length;
            }
            const float values[12] = {static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz),
                                      a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
            putFloats(facet, values);
            stl.append(facet, sizeof facet);
        }
    }
    return stl;
}
