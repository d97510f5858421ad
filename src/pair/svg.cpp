#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/exports.h"

std::string formatPairSvg(const PairGeometry& pair) {
    const PairNumbers& n = pair.numbers;
    const double ra1 = n.gear[0].da / 2.0;
    const double ra2 = n.gear[1].da / 2.0;
    const double margin = 2.0 * pair.input.m;
    const double left = -ra1 - margin;
    const double right = n.a + ra2 + margin;
    const double half = std::max(ra1, ra2) + margin;
    char buffer[512];
    std::string svg;
    snprintf(buffer, sizeof buffer,
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.5fmm\" height=\"%.5fmm\" "
             "viewBox=\"%.5f %.5f %.5f %.5f\">\n",
             right - left, 2.0 * half, left, -half, right - left, 2.0 * half);
    svg += buffer;
    snprintf(buffer, sizeof buffer,
             "<!-- involute gear pair, mm: z1 = %d, z2 = %d, m = %g, alpha = %g deg, x1 = %g, x2 = %g; "
             "a = %.5f; gear 2 turned by %.9f rad to mesh without backlash; y is written as -y -->\n",
             pair.input.z1, pair.input.z2, pair.input.m, pair.input.alphaDeg, pair.input.x1, pair.input.x2, n.a,
             pair.phase2);
    svg += buffer;
    const double strokeWidth = 0.02 * pair.input.m;
    for (int i = 0; i < 2; ++i) {
        const std::vector<Point2>& points = pair.outline[i].points;
        const double turn = i == 0 ? 0.0 : pair.phase2;
        const double cx = i == 0 ? 0.0 : n.a;
        const double c = std::cos(turn);
        const double s = std::sin(turn);
        snprintf(buffer, sizeof buffer, "<path id=\"gear%d\" fill=\"none\" stroke=\"%s\" stroke-width=\"%.5f\" d=\"",
                 i + 1, i == 0 ? "#ff0000" : "#0000ff", strokeWidth);
        svg += buffer;
        for (size_t k = 0; k < points.size(); ++k) {
            const double x = cx + c * points[k].x - s * points[k].y;
            const double y = s * points[k].x + c * points[k].y;
            snprintf(buffer, sizeof buffer, "%s%.5f %.5f", k == 0 ? "M" : " L", x, -y);
            svg += buffer;
        }
        svg += " Z\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}
