// The drawings' sheet: each gear's outlines and centre cross, placed in mesh
// or apart. Shared by the SVG and the DXF writers.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/exports/exports.h"
#include "pair/inputs/helical.h"
#include "pair/solve/number_format.h"
#include "pair/inputs/kind_traits.h"
#include "pair/mesh/mesh_kinds.h"

void addSheetOutline(Sheet& sheet, const char* layer, const char* id, const GearOutline& outline, Point2 centre,
                double turn) {
    if (outline.points.size() < 3) {
        return;  // no outline (yet) for this gear
    }
    SheetPath path;
    path.layer = layer;
    path.id = id;
    path.closed = true;
    const double c = std::cos(turn);
    const double s = std::sin(turn);
    path.points.reserve(outline.points.size());
    for (const Point2& p : outline.points) {
        path.points.push_back({centre.x + c * p.x - s * p.y, centre.y + s * p.x + c * p.y});
    }
    sheet.paths.push_back(std::move(path));
}

void addSheetCross(Sheet& sheet, const char* id, Point2 centre, double arm) {
    sheet.paths.push_back({"CENTRES", id, false, {{centre.x - arm, centre.y}, {centre.x + arm, centre.y}}});
    sheet.paths.push_back({"CENTRES", id, false, {{centre.x, centre.y - arm}, {centre.x, centre.y + arm}}});
}

double outlineOuterRadius(const GearOutline& outline) {
    double r = 0.0;
    for (const Point2& p : outline.points) {
        r = std::max(r, std::hypot(p.x, p.y));
    }
    return r;
}

SheetPlacing placePair(const PairGeometry& pair, SheetLayout layout) {
    const double m = pair.input.m;
    SheetPlacing placing{{pair.numbers.a, 0.0}, pair.phase2};
    if (pairKindTraits(pair.input.kind).gear2Form == GearForm::bar) {
        // The rack below the pinion, its datum line horizontal; apart, its
        // tip line 2 m below the pinion's tip circle.
        placing.origin2 = {pair.rackShift, -pair.numbers.a};
        if (layout == SheetLayout::apart) {
            placing.origin2 = {0.0, -(outlineOuterRadius(pair.outline[0]) + sheetGapModules * m + m)};
        }
        placing.turn2 = 0.0;
    } else if (layout == SheetLayout::apart) {
        const double r2 = std::max(outlineOuterRadius(pair.outline[1]), outlineOuterRadius(pair.rim));
        placing.origin2 = {outlineOuterRadius(pair.outline[0]) + sheetGapModules * m + r2, 0.0};
        placing.turn2 = 0.0;
    }
    return placing;
}

void layOutPair(const PairGeometry& pair, SheetLayout layout, Sheet& sheet) {
    const double m = pair.input.m;
    const SheetPlacing placing = placePair(pair, layout);
    sheet.paths.clear();
    addSheetOutline(sheet, "GEAR1", "gear1", pair.outline[0], {0.0, 0.0}, 0.0);
    if (pairKindTraits(pair.input.kind).gear2Form == GearForm::bar) {
        addSheetOutline(sheet, "RACK", "rack", pair.outline[1], placing.origin2, 0.0);
        addSheetCross(sheet, "centre1", {0.0, 0.0}, centreCrossModules * m);
    } else {
        addSheetOutline(sheet, "GEAR2", "gear2", pair.outline[1], placing.origin2, placing.turn2);
        if (!pair.rim.points.empty()) {
            addSheetOutline(sheet, "GEAR2", "gear2", pair.rim, placing.origin2, placing.turn2);  // a ring's rim: a second outline of #gear2
        }
        addSheetCross(sheet, "centre1", {0.0, 0.0}, centreCrossModules * m);
        addSheetCross(sheet, "centre2", placing.origin2, centreCrossModules * m);
    }

    sheet.m = m;
    sheet.layers = {{"0", 7, "#000000"}, {"GEAR1", 1, "#ff0000"}, {"GEAR2", 5, "#0000ff"}, {"RACK", 5, "#0000ff"},
                    {"CENTRES", 7, "#000000"}};
    sheet.title = "involute gear pair, mm";
    const PairInput& in = pair.input;
    char note[512];
    snprintf(note, sizeof note, "involute gear pair, mm: z1 = %d, z2 = %d, m = %g, alpha = %g deg, x1 = %g, x2 = %g; a = %s; %s",
             in.z1, in.z2, in.m, in.alphaDeg, in.x1 + 0.0, in.x2 + 0.0, fixed(pair.numbers.a, 5).c_str(),
             layout == SheetLayout::mesh ? "in mesh, gear 2 turned to touch on the drive flanks"
                                         : "apart, 2 m between the outer circles");
    sheet.note = note;
    sheet.helixNote = helicalDrawingNote(in, pair.numbers.section);
    measureSheet(sheet);
}

void layOutPairSheet(const PairInput& input, SheetLayout layout, Sheet& sheet) {
    PairGeometry pair;
    buildMeshGeometry(input, pair);
    layOutPair(pair, layout, sheet);
}

void measureSheet(Sheet& sheet) {
    sheet.minX = sheet.minY = HUGE_VAL;
    sheet.maxX = sheet.maxY = -HUGE_VAL;
    for (const SheetPath& path : sheet.paths) {
        for (const Point2& p : path.points) {
            sheet.minX = std::min(sheet.minX, p.x);
            sheet.maxX = std::max(sheet.maxX, p.x);
            sheet.minY = std::min(sheet.minY, p.y);
            sheet.maxY = std::max(sheet.maxY, p.y);
        }
    }
}
