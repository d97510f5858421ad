// The pair's sheet as an SVG picture in millimetres.
#include <cstdio>

#include "pair/exports/exports.h"
#include "pair/inputs/helical.h"
#include "pair/solve/number_format.h"

namespace {

const char* colourOf(const Sheet& sheet, const std::string& layer) {
    for (const SheetLayer& l : sheet.layers) {
        if (layer == l.name) {
            return l.svgColour;
        }
    }
    return "#000000";
}

}  // namespace

std::string formatPairSvg(const PairGeometry& pair, SheetLayout layout) {
    Sheet sheet;
    layOutPair(pair, layout, sheet);
    return formatSheetSvg(sheet);
}

std::string formatSheetSvg(const Sheet& sheet) {
    const double margin = sheetMarginModules * sheet.m;
    const double left = sheet.minX - margin;
    const double top = -sheet.maxY - margin;  // y is written as -y
    const double width = sheet.maxX - sheet.minX + 2.0 * margin;
    const double height = sheet.maxY - sheet.minY + 2.0 * margin;
    char buffer[512];
    std::string svg;
    snprintf(buffer, sizeof buffer,
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%smm\" height=\"%smm\" "
             "viewBox=\"%s %s %s %s\">\n",
             fixed(width, 5).c_str(), fixed(height, 5).c_str(), fixed(left, 5).c_str(), fixed(top, 5).c_str(),
             fixed(width, 5).c_str(), fixed(height, 5).c_str());
    svg += buffer;
    svg += "<!-- " + sheet.note + "; y is written as -y -->\n";
    if (!sheet.helixNote.empty()) {
        svg += "<!-- " + sheet.helixNote + " -->\n";
    }
    const std::string* openLayer = nullptr;
    for (size_t i = 0; i < sheet.paths.size(); ++i) {
        const SheetPath& path = sheet.paths[i];
        if (openLayer == nullptr || *openLayer != path.layer) {
            if (openLayer != nullptr) {
                svg += "</g>\n";
            }
            snprintf(buffer, sizeof buffer, "<g id=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"%g\">\n",
                     path.layer.c_str(), colourOf(sheet, path.layer), sheetLineWidthMm);
            svg += buffer;
            openLayer = &path.layer;
        }
        // Strokes of one id in a row (a centre cross's two) make one element.
        const bool continues = i > 0 && sheet.paths[i - 1].id == path.id;
        if (!continues) {
            svg += "<path id=\"" + path.id + "\" d=\"";
        }
        char x[64];
        char y[64];
        for (size_t k = 0; k < path.points.size(); ++k) {
            svg += k == 0 ? (continues ? " M" : "M") : " L";
            svg += formatFixed(x, sizeof x, path.points[k].x, 5);
            svg += ' ';
            svg += formatFixed(y, sizeof y, -path.points[k].y, 5);
        }
        if (path.closed) {
            svg += " Z";
        }
        if (i + 1 == sheet.paths.size() || sheet.paths[i + 1].id != path.id) {
            svg += "\"/>\n";
        }
    }
    if (openLayer != nullptr) {
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}
