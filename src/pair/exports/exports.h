// What leaves the program about a pair: the console report, the drawings
// (SVG, DXF) and the solids to print (STL). All are built as strings;
// writing them is the caller's.
#pragma once

#include <string>
#include <vector>

#include "pair/inputs/gear_pair.h"
#include "pair/outline/outline.h"
#include "pair/exports/solid.h"

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
    std::string helixNote;  // a helical pair: its helix angle, hands and that the outlines are the transverse section; else ""
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

// Where layOutPair puts gear 2 (gear 1 stays at (0, 0), not turned): its
// centre, or a rack's own origin, and its turn about it, rad.
struct SheetPlacing {
    Point2 origin2;
    double turn2;
};
SheetPlacing placePair(const PairGeometry& pair, SheetLayout layout);

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

// ---- Solids for 3D printing (stl.cpp, built by pair/solid.h) -----------------
// Every gear of the pair as a closed solid of the face width b
// (faceWidthOf), placed as --layout apart places the drawings' outlines,
// so that none overlaps another on the printer's plate, the bottom faces on
// z = 0: gear 1 and an external pair's gear 2 as wheels, with a round bore
// of diameter `bore` through the centre when bore > 0; an internal pair's
// ring as its toothed outline inside the drawings' rim (diameter df2 + 4 m,
// rimModules); a rack as a bar, its toothed outline over the drawn length
// closed by its flat back. The faces' points are the drawings' points, so
// within 0.001 m of the true outlines; a bore's chords stray at most
// solidArcModules from its circle, as the rim's do.
constexpr double solidArcModules = 0.0002;  // in m: sagitta of a bore's chords
constexpr double solidToleranceModules = 0.001;  // in m: the outlines' accuracy
// A helical gear's twist is cut into layers whose chords stray at most this
// far from the helix at the tip (in m): 0.01 m is 0.01 mm on a gear of
// module 1, a fifth of the finest layer a resin printer lays down and far
// below a filament printer's 0.1 mm, while the outlines' own 0.001 m would
// take ten times the layers (a 400-tooth gear twisted by 45 degrees: about
// 300 MB of facets, several seconds) for no difference a print can show.
constexpr double solidTwistToleranceModules = 0.01;
// A bore stays this far inside each wheel's root circle (radially, in m):
// five times the outlines' accuracy, so the bore's chords and the root's
// never meet.
constexpr double boreClearanceModules = 0.005;

// The largest bore the pair's wheels take, mm: df - 2 x 0.005 m of the
// wheel of least root diameter (gear 1, or an external pair's gear 2), and
// which gear that is (0 or 1) with its df.
struct BoreLimit {
    double largest;
    int gear;
    double df;
};
BoreLimit boreLimit(const PairInput& input, const PairNumbers& numbers);

// The solids of a pair (a bore up to boreLimit's largest; 0: none), gear 1
// first; a helical wheel or ring twisted over b by b tan(beta) / r (r its
// transverse reference radius), counter-clockwise seen from the top for a
// right hand; a helical rack's bar sheared over b by b tan(beta) along the
// bar, towards +x for a right hand (its teeth slant, its ends with them).
void pairSolids(const PairGeometry& pair, double bore, std::vector<Solid>& solids);

// The solids as a binary STL in mm: what --stl writes.
std::string formatPairStl(const PairGeometry& pair, double bore);
// What --stl writes for an input: its pair's gears as above, or a planetary
// set's sun, each of its planets and its ring in its rim, placed as
// --layout apart places them (a helical set's each twisted by its own hand:
// the planets the other than the sun's, the ring the planets').
std::string formatInputStl(const PairInput& input, double bore);
// The solids formatInputStl writes, in its order (a set: the sun, the planets, the ring).
void inputSolids(const PairInput& input, double bore, std::vector<Solid>& solids);
