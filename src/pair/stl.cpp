// The pair's gears as solids to print (see exports.h): each gear's section
// taken from the drawings' outlines, placed apart, with a bore or a rim,
// stood up through the face width by pair/solid.h, and written as STL.
// Not here: the triangulation and the STL bytes themselves (solid.cpp).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/exports.h"
#include "pair/pair_kind.h"
#include "pair/solid.h"

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

}  // namespace

BoreLimit boreLimit(const PairInput& input, const PairNumbers& numbers) {
    const double clearance = 2.0 * boreClearanceModules * input.m;
    BoreLimit limit{numbers.gear[0].df - clearance, 0, numbers.gear[0].df};
    if (pairKindModel(input.kind).gear2Form == GearForm::wheel && numbers.gear[1].df < numbers.gear[0].df) {
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
    switch (pairKindModel(pair.input.kind).gear2Form) {
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
    solids.assign(sections.size(), Solid{});
    // The twist over b of gear i: its helix at the reference radius r
    // advances b tan(beta) along the circumference. Gear 2 of an external
    // pair has the other hand, a ring the same.
    const PairKindModel& kind = pairKindModel(pair.input.kind);
    const double tanBeta = std::tan(pair.numbers.helix.beta);
    const double hand1 = pair.input.hand == Hand::right ? 1.0 : -1.0;
    const double hands[2] = {hand1, kind.mateHasSameHand ? hand1 : -hand1};
    for (size_t i = 0; i < sections.size(); ++i) {
        const double r = pair.numbers.gear[i].d / 2.0;
        const double twist = tanBeta == 0.0 || r <= 0.0 ? 0.0 : hands[i] * b * tanBeta / r;
        buildSolid(sections[i], b, twist, tolerance, solids[i]);
    }
}

std::string formatPairStl(const PairGeometry& pair, double bore) {
    std::vector<Solid> solids;
    pairSolids(pair, bore, solids);
    const PairInput& in = pair.input;
    char header[96];
    snprintf(header, sizeof header, "involute-gears %s pair, mm: z %d %d, m %g, b %g, bore %g",
             pairKindModel(in.kind).name, in.z1, pairKindModel(in.kind).hasGear2Shift ? in.z2 : 0, in.m,
             faceWidthOf(in), bore);
    return formatStl(solids, header);
}
