// The pair's sheet as a DXF R12 (AC1009) drawing in millimetres: the oldest
// DXF that every CAD program and laser cutter's software still reads.
#include <cstdio>

#include "pair/exports/exports.h"
#include "pair/inputs/helical.h"
#include "pair/solve/number_format.h"

namespace {

// One group: its code on a line, its value on the next.
void group(std::string& dxf, int code, const char* value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%d\n", code);
    dxf += buffer;
    dxf += value;
    dxf += '\n';
}

void group(std::string& dxf, int code, int value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%d", value);
    group(dxf, code, buffer);
}

// A coordinate, to 5 decimals as in the SVG (never -0.00000).
void coordinate(std::string& dxf, int code, double value) {
    char buffer[64];
    group(dxf, code, formatFixed(buffer, sizeof buffer, value, 5));
}

void point(std::string& dxf, int code, Point2 p) {
    coordinate(dxf, code, p.x);
    coordinate(dxf, code + 10, p.y);
    coordinate(dxf, code + 20, 0.0);
}

}  // namespace

std::string formatPairDxf(const PairGeometry& pair, SheetLayout layout) {
    Sheet sheet;
    layOutPair(pair, layout, sheet);
    return formatSheetDxf(sheet);
}

std::string formatSheetDxf(const Sheet& sheet) {
    std::string dxf;
    size_t size = 1024;
    for (const SheetPath& path : sheet.paths) {
        size += 96 * path.points.size() + 128;
    }
    dxf.reserve(size);

    group(dxf, 999, sheet.title.c_str());
    if (!sheet.helixNote.empty()) {
        group(dxf, 999, sheet.helixNote.c_str());
    }
    group(dxf, 0, "SECTION");
    group(dxf, 2, "HEADER");
    group(dxf, 9, "$ACADVER");
    group(dxf, 1, "AC1009");
    group(dxf, 9, "$INSUNITS");
    group(dxf, 70, 4);  // millimetres
    group(dxf, 9, "$EXTMIN");
    point(dxf, 10, {sheet.minX, sheet.minY});
    group(dxf, 9, "$EXTMAX");
    point(dxf, 10, {sheet.maxX, sheet.maxY});
    group(dxf, 0, "ENDSEC");

    group(dxf, 0, "SECTION");
    group(dxf, 2, "TABLES");
    group(dxf, 0, "TABLE");
    group(dxf, 2, "LTYPE");
    group(dxf, 70, 1);
    group(dxf, 0, "LTYPE");
    group(dxf, 2, "CONTINUOUS");
    group(dxf, 70, 0);
    group(dxf, 3, "Solid line");
    group(dxf, 72, 65);
    group(dxf, 73, 0);
    coordinate(dxf, 40, 0.0);
    group(dxf, 0, "ENDTAB");
    group(dxf, 0, "TABLE");
    group(dxf, 2, "LAYER");
    // The sheet's layers with their ACI colours, "0" (which every DXF has) first.
    group(dxf, 70, static_cast<int>(sheet.layers.size()));
    for (const SheetLayer& layer : sheet.layers) {
        group(dxf, 0, "LAYER");
        group(dxf, 2, layer.name);
        group(dxf, 70, 0);
        group(dxf, 62, layer.colour);
        group(dxf, 6, "CONTINUOUS");
    }
    group(dxf, 0, "ENDTAB");
    group(dxf, 0, "ENDSEC");

    group(dxf, 0, "SECTION");
    group(dxf, 2, "ENTITIES");
    for (const SheetPath& path : sheet.paths) {
        const char* layer = path.layer.c_str();
        if (!path.closed && path.points.size() == 2) {
            group(dxf, 0, "LINE");
            group(dxf, 8, layer);
            point(dxf, 10, path.points[0]);
            point(dxf, 11, path.points[1]);
            continue;
        }
        group(dxf, 0, "POLYLINE");
        group(dxf, 8, layer);
        group(dxf, 66, 1);  // vertices follow
        point(dxf, 10, {0.0, 0.0});
        group(dxf, 70, path.closed ? 1 : 0);
        coordinate(dxf, 40, 0.0);  // widths 0: a hairline
        coordinate(dxf, 41, 0.0);
        for (const Point2& p : path.points) {
            group(dxf, 0, "VERTEX");
            group(dxf, 8, layer);
            point(dxf, 10, p);
        }
        group(dxf, 0, "SEQEND");
        group(dxf, 8, layer);
    }
    group(dxf, 0, "ENDSEC");
    group(dxf, 0, "EOF");
    return dxf;
}
