// What leaves the program about a pair: the console report and the drawings
// (SVG, DXF). All are built as strings; writing them is the caller's.
#pragma once

#include <string>
#include <vector>

#include "pair/gear_pair.h"
#include "pair/outline.h"

// The pair's report for the console: UTF-8 lines, each begun by its newline,
// the last one ended by one too. One quantity a line as
// "<label> <symbol> = <value> <unit>" (symbols a, αw, d1 ... xmin2), then a
// warning line for each warning.
// The kind's own lines alone:
std::string formatPairReport(const PairNumbers& numbers);
// The whole report, the kind's (pair/pair_kind.h): of one mesh, the shifts
// chosen for a given centre distance, the kind's lines, then what happens
// along the line of action (the specific sliding at the ends of the
// effective path, the single-tooth contact diameters, the contact stress
// with a torque), formatMeshReport; of a planetary set, the set's numbers
// and then each of its meshes so (pair/planetary.h).
std::string formatPairReport(const PairInput& input, const PairNumbers& numbers);
std::string formatMeshReport(const PairInput& input, const PairNumbers& numbers);

// How the drawings place the gears: in mesh as scene 7 shows them, or side by
// side with a gap of 2 m between their outer circles, ready to cut.
enum class SheetLayout { mesh, apart };

// One line of a drawing, in mm on the drawing's plane (y up): a closed
// outline (the last point joins the first) or an open polyline.
struct SheetPath {
    std::string layer;            // "GEAR1", "GEAR2", "RACK", "CENTRES": the DXF layer, the SVG group
    std::string id;               // the SVG element's id: "gear1", "gear2", "centre1", ...
    bool closed = true;
    std::vector<Point2> points;
};

// A layer of the drawings: its name, its DXF colour (ACI: 1 red, 5 blue,
// 7 black/white) and its SVG stroke.
struct SheetLayer {
    const char* name;
    int colour;
    const char* svgColour;
};

// Everything the drawings draw, placed: each gear's closed outlines on its
// layer (an outline a gear, a ring also its rim, ...), then each gear's
// centre cross on CENTRES (two open strokes with the gear's id, "centre1"
// and "centre2"). Both drawings are written from one sheet, so they hold the
// very same points.
struct Sheet {
    std::vector<SheetPath> paths;
    double minX, minY, maxX, maxY;  // extents of every point, mm
    double m = 1.0;                  // module, mm: the margins are in m
    std::vector<SheetLayer> layers;  // every layer the DXF declares, "0" first
    std::string title;               // the DXF's comment: "involute gear pair, mm"
    std::string note;                // the SVG's comment: what is drawn, the numbers and the placing
};

constexpr double sheetGapModules = 2.0;        // apart: gap between the outer circles, in m
constexpr double sheetMarginModules = 2.0;     // around the drawing's extents, in m
constexpr double centreCrossModules = 0.5;     // half the length of a centre cross's arm, in m
constexpr double sheetLineWidthMm = 0.1;       // hairline, whatever the module

// mesh: gear 1 centred at (0, 0), gear 2 at (a, 0) turned by phase2, as in
// scene 7. apart: gear 1 at (0, 0), gear 2 at (R1 + 2 m + R2, 0) not turned,
// R being each gear's outer radius (its farthest outline point). A ring
// (centred at (a, 0) around the pinion) has its teeth and its rim on GEAR2,
// both with the id "gear2"; a rack is on RACK with the id "rack", its datum
// line at y = -a (apart: its tip line 2 m below gear 1's tip circle), and
// has no centre cross.
void layOutPair(const PairGeometry& pair, SheetLayout layout, Sheet& sheet);
// A pair's sheet from its input: its outlines built, then laid out so.
void layOutPairSheet(const PairInput& input, SheetLayout layout, Sheet& sheet);
// The sheet of any kind (a planetary set's: pair/planetary.h), by the kinds' table.
void layOutSheet(const PairInput& input, SheetLayout layout, Sheet& sheet);
// Sets the sheet's extents from its points.
void measureSheet(Sheet& sheet);
// The sheet's building blocks: an outline turned by `turn` about its own
// centre and moved to `centre` (nothing for an outline of fewer than 3
// points); a centre cross of arms `arm` long each way; the farthest point of
// an outline from its centre.
void addSheetOutline(Sheet& sheet, const char* layer, const char* id, const GearOutline& outline, Point2 centre,
                     double turn);
void addSheetCross(Sheet& sheet, const char* id, Point2 centre, double arm);
double outlineOuterRadius(const GearOutline& outline);

// The sheet as an SVG picture in millimetres: a group per layer
// (<g id="GEAR1">, ...) of <path> elements, hairlines of 0.1 mm; SVG's y
// axis points down, so every point (x, y) is written as (x, -y) and the
// picture looks as on screen. Coordinates to 5 decimals.
std::string formatPairSvg(const PairGeometry& pair, SheetLayout layout = SheetLayout::mesh);
std::string formatSheetSvg(const Sheet& sheet);

// The sheet as a DXF R12 (AC1009) drawing in millimetres ($INSUNITS 4):
// layers GEAR1 (red), GEAR2 and RACK (blue) and CENTRES in the tables; each closed
// outline one POLYLINE with flag 70 = 1, its VERTEX entities and SEQEND;
// each centre stroke a LINE. Widths 0: CAD's hairline. Coordinates to 5
// decimals, the same points as the SVG's (with y up, as DXF has it).
std::string formatPairDxf(const PairGeometry& pair, SheetLayout layout = SheetLayout::mesh);
std::string formatSheetDxf(const Sheet& sheet);
