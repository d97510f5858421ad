// The pair's gears as solids to print (see exports.h): each gear's section
// taken from the drawings' outlines, placed apart, with a bore or a rim,
// stood up through the face width by pair/solid.h, and written as STL.
// Not here: the triangulation and the STL bytes themselves (solid.cpp).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/exports/exports.h"
#include "pair/inputs/helical.h"
#include "pair/inputs/kind_traits.h"
#include "pair/sets/planetary.h"
#include "pair/exports/solid.h"

namespace {

std::vector<Point2> moved(const GearOutline& outline, Point2 origin) {
    std::vector<Point2> points;
    points.reserve(outline.points.size());
    for (const Point2& p : outline.points) {
        points.push_back(Point2{origin.x + p.x, origin.y + p.y});
    }
    return points;
}

// A wheel centred at `centre`, with a bore of diameter `bore` (0: none).
SolidSection wheel(const GearOutline& outline, Point2 centre, double bore, double m) {
    SolidSection section;
    section.shape = SectionShape::round;
    section.centre = centre;
    section.outline = moved(outline, centre);
    if (bore > 0.0) {
        circlePolygon(centre, bore / 2.0, solidArcModules * m, section.hole);
    }
    return section;
}

// The gap between parts on the printer's plate: the drawings' 2 m apart,
// but never less than 2 mm, a few of a printer's lines, so that no two parts
// fuse.
constexpr double plateGapMm = 2.0;

// One part on the plate as a disc about its axis: the farthest point of
// its outline (`outer`) and, for a ring, the free disc inside its teeth
// (`inner`, the nearest point of its toothed outline; 0 for a wheel).
struct PlatePart {
    double outer;
    double inner;
};

// Where the parts go on the plate: the first (a ring) at (0, 0), then the
// others, largest first, each at the place that keeps the parts' bounding
// square smallest (then its area, then the first place found): inside
// the ring's free disc where one fits, else beside the parts already
// placed. The places tried touch two of the circles that bound a new part's
// centre (a placed part's outer circle grown by the new one's radius and the
// gap, the ring's free disc shrunk so), or one of them at its four
// compass points: the greedy packing of circles into the least square.
// Every part keeps `gap` from every other, judged on the discs that hold
// them.
std::vector<Point2> packOnPlate(const std::vector<PlatePart>& parts, double gap) {
    const size_t n = parts.size();
    std::vector<Point2> at(n, Point2{0.0, 0.0});
    std::vector<char> placed(n, 0);
    placed[0] = 1;
    const double tie = 1e-9 * (parts[0].outer + gap);
    for (size_t step = 1; step < n; ++step) {
        size_t i = 0;  // the largest part left, the first of equals
        for (size_t k = 1; k < n; ++k) {
            i = !placed[k] && (i == 0 || parts[k].outer > parts[i].outer) ? k : i;
        }
        const double r = parts[i].outer;
        // The circles a new centre may touch: each placed part's outer
        // circle grown by r and the gap, a ring's free disc shrunk so.
        struct Circle {
            Point2 c;
            double d;
        };
        std::vector<Circle> bounds;
        for (size_t j = 0; j < n; ++j) {
            if (placed[j]) {
                bounds.push_back(Circle{at[j], parts[j].outer + r + gap});
                if (parts[j].inner - r - gap > 0.0) {
                    bounds.push_back(Circle{at[j], parts[j].inner - r - gap});
                }
            }
        }
        bool found = false;
        Point2 best{0.0, 0.0};
        double bestSide = 0.0;
        double bestArea = 0.0;
        auto consider = [&](Point2 p) {
            double lo[2] = {p.x - r, p.y - r};
            double hi[2] = {p.x + r, p.y + r};
            for (size_t j = 0; j < n; ++j) {
                if (!placed[j]) {
                    continue;
                }
                const double dx = p.x - at[j].x;
                const double dy = p.y - at[j].y;
                const double d = std::sqrt(dx * dx + dy * dy);  // sqrt, not hypot: rounded alike everywhere
                if (d < parts[j].outer + r + gap - tie && !(d <= parts[j].inner - r - gap + tie)) {
                    return;  // overlaps part j (and is not inside its free disc)
                }
                lo[0] = std::min(lo[0], at[j].x - parts[j].outer);
                lo[1] = std::min(lo[1], at[j].y - parts[j].outer);
                hi[0] = std::max(hi[0], at[j].x + parts[j].outer);
                hi[1] = std::max(hi[1], at[j].y + parts[j].outer);
            }
            // The least square, then the least area (so the parts keep
            // together), the first place found of equals.
            const double side = std::max(hi[0] - lo[0], hi[1] - lo[1]);
            const double area = (hi[0] - lo[0]) * (hi[1] - lo[1]);
            if (!found || side < bestSide - tie || (side <= bestSide + tie && area < bestArea - tie * tie)) {
                found = true;
                best = p;
                bestSide = side;
                bestArea = area;
            }
        };
        if (parts[0].inner - r - gap >= 0.0) {
            consider(at[0]);
        }
        for (size_t a = 0; a < bounds.size(); ++a) {
            for (const Point2 d : {Point2{1, 0}, Point2{0, 1}, Point2{-1, 0}, Point2{0, -1}}) {
                consider(Point2{bounds[a].c.x + bounds[a].d * d.x, bounds[a].c.y + bounds[a].d * d.y});
            }
            for (size_t b = a + 1; b < bounds.size(); ++b) {
                // The two points where the circles cross, if they do.
                const double dx = bounds[b].c.x - bounds[a].c.x;
                const double dy = bounds[b].c.y - bounds[a].c.y;
                const double l = std::sqrt(dx * dx + dy * dy);
                if (l <= 0.0 || l > bounds[a].d + bounds[b].d || l < std::fabs(bounds[a].d - bounds[b].d)) {
                    continue;
                }
                const double along = (bounds[a].d * bounds[a].d - bounds[b].d * bounds[b].d + l * l) / (2.0 * l);
                const double across = std::sqrt(std::max(0.0, bounds[a].d * bounds[a].d - along * along));
                const Point2 foot{bounds[a].c.x + along * dx / l, bounds[a].c.y + along * dy / l};
                consider(Point2{foot.x - across * dy / l, foot.y + across * dx / l});
                consider(Point2{foot.x + across * dy / l, foot.y - across * dx / l});
            }
        }
        // (The compass points of the placed parts' outer circles always
        // include one that fits.) Put on a grid of 0.0001 mm, far inside
        // the gap: the last bits of a square root's or a sum's rounding
        // then cannot move a part between the desktop and the page.
        at[i] = Point2{std::round(best.x * 1e4) / 1e4, std::round(best.y * 1e4) / 1e4};
        placed[i] = 1;
    }
    return at;
}

// A section moved by (dx, dy), its axis with it.
void moveSection(SolidSection& section, double dx, double dy) {
    for (std::vector<Point2>* loop : {&section.outline, &section.hole}) {
        for (Point2& p : *loop) {
            p.x += dx;
            p.y += dy;
        }
    }
    section.centre.x += dx;
    section.centre.y += dy;
}

// The farthest (or nearest) point of `loop` from the section's axis.
double reachOf(const SolidSection& section, const std::vector<Point2>& loop, bool farthest) {
    double r = farthest ? 0.0 : INFINITY;
    for (const Point2& p : loop) {
        const double dx = p.x - section.centre.x;
        const double dy = p.y - section.centre.y;
        const double d = std::sqrt(dx * dx + dy * dy);  // sqrt, not hypot: rounded alike on every platform
        r = farthest ? std::max(r, d) : std::min(r, d);
    }
    return r;
}

// Moves the sections to their places on the printer's plate (packOnPlate):
// the ring (sections[ring], its rim the outline, its teeth the hole) at the
// origin, the wheels inside its teeth where they fit, else beside it, each
// max(2 m, 2 mm) clear of the others.
void packAboutRing(std::vector<SolidSection>& sections, size_t ring, double m) {
    std::vector<PlatePart> parts{PlatePart{reachOf(sections[ring], sections[ring].outline, true),
                                           reachOf(sections[ring], sections[ring].hole, false)}};
    for (size_t i = 0; i < sections.size(); ++i) {
        if (i != ring) {
            parts.push_back(PlatePart{reachOf(sections[i], sections[i].outline, true), 0.0});
        }
    }
    const std::vector<Point2> at = packOnPlate(parts, std::max(sheetGapModules * m, plateGapMm));
    for (size_t i = 0, k = 1; i < sections.size(); ++i) {
        const Point2& to = at[i == ring ? 0 : k++];
        moveSection(sections[i], to.x - sections[i].centre.x, to.y - sections[i].centre.y);
    }
}

// A planetary set's solids: the sun, each planet and the ring in its rim,
// each member's section from the drawings (the set's sheet apart, its
// centre crosses giving each member's axis), packed on the printer's plate
// about the ring (packOnPlate): inside its teeth where they fit, else beside
// it, rather than in the drawings' one row. A helical set's members twist as
// a helical pair's gears do, each by its own hand: the sun's as given, the
// planets' the other, the ring's the planets'.
void setSolids(const PairInput& input, double bore, std::vector<Solid>& solids) {
    PlanetaryDrawing drawing;
    buildPlanetaryDrawing(input, drawing);
    Sheet sheet;
    layOutPlanetary(drawing, SheetLayout::apart, sheet);
    const double m = input.m;
    std::vector<SolidSection> sections;
    SolidSection ring;
    ring.shape = SectionShape::round;
    for (const SheetPath& path : sheet.paths) {
        if (path.layer == "SUN" || path.layer == "PLANET") {
            // The member's centre: the middle of the first stroke of its cross.
            for (const SheetPath& cross : sheet.paths) {
                if (cross.layer == "CENTRES" && cross.id == "centre-" + path.id) {
                    const Point2 centre{(cross.points[0].x + cross.points[1].x) / 2.0, cross.points[0].y};
                    SolidSection wheelSection;
                    wheelSection.centre = centre;
                    wheelSection.outline = path.points;
                    if (bore > 0.0) {
                        circlePolygon(centre, bore / 2.0, solidArcModules * m, wheelSection.hole);
                    }
                    sections.push_back(wheelSection);
                    break;
                }
            }
        } else if (path.layer == "RING") {
            // Its teeth and its rim: the rim, farther out, is the outline.
            (ring.outline.empty() ? ring.outline : ring.hole) = path.points;
        } else if (path.layer == "CENTRES" && path.id == "centre-ring" && path.points[0].y == path.points[1].y) {
            // The cross's level stroke (the upright one's first point lies an arm below the centre).
            ring.centre = Point2{(path.points[0].x + path.points[1].x) / 2.0, path.points[0].y};
        }
    }
    auto reach = [&](const std::vector<Point2>& loop) {
        double r = 0.0;
        for (const Point2& p : loop) {
            r = std::max(r, std::hypot(p.x - ring.centre.x, p.y - ring.centre.y));
        }
        return r;
    };
    if (reach(ring.hole) > reach(ring.outline)) {
        std::swap(ring.outline, ring.hole);
    }
    sections.push_back(ring);
    packAboutRing(sections, sections.size() - 1, m);
    solids.assign(sections.size(), Solid{});
    // Twist b tan(beta) / r, r = mt z / 2 the member's transverse reference
    // radius; counter-clockwise seen from the top for a right hand.
    const double b = faceWidthOf(input);
    const double tanBeta = std::tan(input.betaDeg * degToRad);
    const double mt = drawing.sunPlanet.numbers.section.spur().m;
    const double sunHand = input.hand == Hand::right ? 1.0 : -1.0;
    for (size_t i = 0; i < sections.size(); ++i) {
        const bool sun = i == 0;
        const bool ringMember = i + 1 == sections.size();
        const int z = sun ? input.z1 : ringMember ? input.z3 : input.z2;
        const double twist = tanBeta == 0.0 ? 0.0 : (sun ? sunHand : -sunHand) * b * tanBeta / (mt * z / 2.0);
        buildSolid(sections[i], b, twist, solidTwistToleranceModules * m, solids[i]);
    }
}

}  // namespace

BoreLimit boreLimit(const PairInput& input, const PairNumbers& numbers) {
    const double clearance = 2.0 * boreClearanceModules * input.m;
    BoreLimit limit{numbers.gear[0].df - clearance, 0, numbers.gear[0].df};
    if (pairKindTraits(input.kind).gear2Form == GearForm::wheel && numbers.gear[1].df < numbers.gear[0].df) {
        limit = BoreLimit{numbers.gear[1].df - clearance, 1, numbers.gear[1].df};
    }
    return limit;
}

void pairSolids(const PairGeometry& pair, double bore, std::vector<Solid>& solids) {
    const double m = pair.input.m;
    const double b = faceWidthOf(pair.input);
    // The layers of a twist keep within the outlines' own accuracy: a finer
    // wall would only add facets no printer can show, a coarser one would
    // lose what the outlines keep. Without a twist one layer spans b.
    const double tolerance = solidTwistToleranceModules * m;
    const SheetPlacing placing = placePair(pair, SheetLayout::apart);
    std::vector<SolidSection> sections;
    sections.push_back(wheel(pair.outline[0], {0.0, 0.0}, bore, m));
    SolidSection second;
    switch (pairKindTraits(pair.input.kind).gear2Form) {
    case GearForm::wheel:
        second = wheel(pair.outline[1], placing.origin2, bore, m);
        break;
    case GearForm::ring:
        second.shape = SectionShape::round;
        second.centre = placing.origin2;
        second.outline = moved(pair.rim, placing.origin2);
        second.hole = moved(pair.outline[1], placing.origin2);
        break;
    case GearForm::bar:
        second.shape = SectionShape::bar;
        second.outline = moved(pair.outline[1], placing.origin2);
        break;
    }
    sections.push_back(second);
    if (pairKindTraits(pair.input.kind).gear2Form == GearForm::ring) {
        // On the plate the pinion goes inside the ring's teeth where it fits.
        packAboutRing(sections, 1, m);
    }
    solids.assign(sections.size(), Solid{});
    // The twist over b of gear i: its helix at the reference radius r
    // advances b tan(beta) along the circumference. Gear 2 of an external
    // pair has the other hand, a ring the same.
    const PairKindTraits& kind = pairKindTraits(pair.input.kind);
    const double tanBeta = std::tan(pair.numbers.helix.beta);
    const double hand1 = pair.input.hand == Hand::right ? 1.0 : -1.0;
    const double hands[2] = {hand1, kind.mateHasSameHand ? hand1 : -hand1};
    for (size_t i = 0; i < sections.size(); ++i) {
        const double r = pair.numbers.gear[i].d / 2.0;
        const double twist = tanBeta == 0.0 || r <= 0.0 ? 0.0 : hands[i] * b * tanBeta / r;
        if (sections[i].shape == SectionShape::bar && tanBeta != 0.0) {
            // A helical rack's teeth slant along the bar: its section at
            // height z is the transverse outline moved by z tan(beta) along
            // x, as far as the pinion's teeth at the mesh (below the pinion,
            // where a counter-clockwise turn moves them towards +x) go round
            // in its twist: +x for a right hand. The bar's ends are sheared
            // with the teeth, not cut square: each end face leans at beta
            // across the bar, so every section is the same outline and the
            // volume is its area times b.
            sections[i].shearX = hands[i] * b * tanBeta;
        }
        buildSolid(sections[i], b, twist, tolerance, solids[i]);
    }
}

namespace {

// The STL's 80-byte header: what the solids are of.
std::string stlHeader(const PairInput& in, double bore) {
    char header[160];  // formatStl keeps its first 80 bytes
    if (pairKindTraits(in.kind).hasSetScene) {
        snprintf(header, sizeof header, "involute-gears set, mm: z %d %d %d, N %d, m %g, b %g, bore %g", in.z1, in.z2,
                 in.z3, in.planets, in.m, faceWidthOf(in), bore);
    } else {
        snprintf(header, sizeof header, "involute-gears %s pair, mm: z %d %d, m %g, b %g, bore %g",
                 pairKindTraits(in.kind).name, in.z1, pairKindTraits(in.kind).hasGear2Shift ? in.z2 : 0, in.m,
                 faceWidthOf(in), bore);
    }
    return header;
}

}  // namespace

std::string formatPairStl(const PairGeometry& pair, double bore) {
    std::vector<Solid> solids;
    pairSolids(pair, bore, solids);
    return formatStl(solids, stlHeader(pair.input, bore));
}

void inputSolids(const PairInput& input, double bore, std::vector<Solid>& solids) {
    if (!pairKindTraits(input.kind).hasSetScene) {
        PairGeometry pair;
        buildPairGeometry(input, pair);
        pairSolids(pair, bore, solids);
        return;
    }
    // A planetary set: every member, not only its sun–planet pair.
    setSolids(input, bore, solids);
}

std::string formatInputStl(const PairInput& input, double bore) {
    std::vector<Solid> solids;
    inputSolids(input, bore, solids);
    return formatStl(solids, stlHeader(input, bore));
}
