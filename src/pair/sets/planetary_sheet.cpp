// A planetary set's drawings' sheet (pair/planetary.h): the sun, the planets
// at their angles turned so that they mesh with the sun and the ring, and
// the ring with its rim, each member on its own layer; in mesh or apart.
// A helical set's drawings are its transverse section, with a note saying so.
// Not here: the outlines themselves (the sun–planet pair's and the
// planet–ring pair's, pair/outline.h) and the writing of SVG and DXF.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/inputs/helical.h"
#include "pair/mesh/mesh_kinds.h"
#include "pair/solve/number_format.h"
#include "pair/sets/planetary.h"

void buildPlanetaryDrawing(const PairInput& input, PlanetaryDrawing& d) {
    d.set = planetarySet(input);
    buildMeshGeometry(d.set.sunPlanet, d.sunPlanet);
    buildMeshGeometry(d.set.planetRing, d.planetRing);
    const double zS = input.z1;
    const double zP = input.z2;
    const double zR = input.z3;
    for (int k = 0; k < maxPlanets; ++k) {
        const double theta = 2.0 * pi * k / input.planets;
        d.planetTurn[k] = d.sunPlanet.phase2 + theta * (1.0 + zS / zP);
    }
    d.ringTurn = pi + d.planetRing.phase2 + (d.planetTurn[0] - pi) * zP / zR;
}

void layOutPlanetary(const PlanetaryDrawing& d, SheetLayout layout, Sheet& sheet) {
    const PairInput& in = d.set.sunPlanet;
    const double m = in.m;
    const int n = d.set.sunPlanet.planets;
    const double arm = centreCrossModules * m;
    const GearOutline& sun = d.sunPlanet.outline[0];
    const GearOutline& planet = d.sunPlanet.outline[1];
    const GearOutline& ring = d.planetRing.outline[1];
    const GearOutline& rim = d.planetRing.rim;
    sheet.paths.clear();
    sheet.m = m;
    sheet.layers = {{"0", 7, "#000000"}, {"SUN", 1, "#ff0000"}, {"PLANET", 3, "#008000"}, {"RING", 5, "#0000ff"},
                    {"CENTRES", 7, "#000000"}};
    sheet.title = "involute planetary gear set, mm";
    char id[32];
    addSheetOutline(sheet, "SUN", "sun", sun, {0.0, 0.0}, 0.0);
    const double rP = outlineOuterRadius(planet);
    const double rSun = outlineOuterRadius(sun);
    Point2 ringCentre{0.0, 0.0};
    Point2 centres[maxPlanets];
    for (int k = 0; k < n; ++k) {
        const double theta = 2.0 * pi * k / n;
        centres[k] = layout == SheetLayout::mesh
                         ? Point2{d.set.a * std::cos(theta), d.set.a * std::sin(theta)}
                         : Point2{rSun + sheetGapModules * m + rP + k * (2.0 * rP + sheetGapModules * m), 0.0};
        snprintf(id, sizeof id, "planet%d", k + 1);
        addSheetOutline(sheet, "PLANET", id, planet, centres[k], layout == SheetLayout::mesh ? d.planetTurn[k] : 0.0);
    }
    double ringTurn = d.ringTurn;
    if (layout == SheetLayout::apart) {
        const double rRing = std::max(outlineOuterRadius(ring), outlineOuterRadius(rim));
        ringCentre = {centres[n - 1].x + rP + sheetGapModules * m + rRing, 0.0};
        ringTurn = 0.0;
    }
    addSheetOutline(sheet, "RING", "ring", ring, ringCentre, ringTurn);
    addSheetOutline(sheet, "RING", "ring", rim, ringCentre, ringTurn);
    addSheetCross(sheet, "centre-sun", {0.0, 0.0}, arm);
    for (int k = 0; k < n; ++k) {
        snprintf(id, sizeof id, "centre-planet%d", k + 1);
        addSheetCross(sheet, id, centres[k], arm);
    }
    if (layout == SheetLayout::apart) {
        addSheetCross(sheet, "centre-ring", ringCentre, arm);
    }
    char note[512];
    snprintf(note, sizeof note,
             "involute planetary gear set, mm: z1 = %d (sun), z2 = %d (planets, N = %d), z3 = %d (ring), m = %g, "
             "alpha = %g deg, x1 = %g, x2 = %g, x3 = %s; a = %s; %s",
             in.z1, in.z2, n, in.z3, m, in.alphaDeg, in.x1 + 0.0, in.x2 + 0.0, fixed(d.set.planetRing.x2, 5).c_str(),
             fixed(d.set.a, 5).c_str(),
             layout == SheetLayout::mesh ? "in mesh, each planet turned into the sun's and the ring's spaces"
                                         : "apart, 2 m between the outer circles");
    sheet.note = note;
    sheet.helixNote.clear();
    if (isHelical(in)) {
        // The pair's note names gear 1 and its mate; a set has three members.
        const PairInput& t = d.sunPlanet.numbers.section.spur();
        const char* sun = in.hand == Hand::right ? "right" : "left";
        const char* planets = d.set.planetRing.hand == Hand::right ? "right" : "left";
        snprintf(note, sizeof note,
                 "helical gears: beta = %g deg, the sun %s hand, the planets and the ring %s hand; m, alpha and x are "
                 "the normal ones; the outlines are the transverse section (mt = %.5f mm, alpha t = %.5f deg)",
                 in.betaDeg, sun, planets, t.m, t.alphaDeg);
        sheet.helixNote = note;
    }
    measureSheet(sheet);
}

void layOutPlanetarySheet(const PairInput& input, SheetLayout layout, Sheet& sheet) {
    PlanetaryDrawing drawing;
    buildPlanetaryDrawing(input, drawing);
    layOutPlanetary(drawing, layout, sheet);
}
