// Scene 10: the plane of action of activePair, unrolled flat. The rectangle
// of the effective path of contact (across, from A on the left to E on the
// right) by the face width b (up), the contact lines crossing it at the base
// helix angle beta_b, sweeping along as the pair turns, and their total
// length L. A spur pair's lines stand upright across the face.
//
// Not here: the numbers (pair/helical.h, actionPlane), the teeth themselves
// (scene 7 draws their transverse section).
#include <GL/freeglut.h>
#include <algorithm>
#include <cstdio>

#include "app/pair_state.h"
#include "pair/inputs/helical.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

namespace {

constexpr double fitWidth = 1.5;   // window units the rectangle may take across at the starting zoom
constexpr double fitHeight = 1.1;  // and up
constexpr double lineWidth = 0.006;  // window units: a contact line
const Point2 planeCentre{0.0, -0.1};  // the rectangle's middle, window units

Point2 onScreen(double k, const ActionPlane& p, double u, double w) {
    return Point2{planeCentre.x + k * (u - p.length / 2.0), planeCentre.y + k * (w - p.width / 2.0)};
}

}  // namespace

double actionPlaneSceneScale() {
    // The rectangle is the effective path gaEff across by the face width b up.
    const double length = activePair.numbers.gaEff;
    const double width = faceWidthOf(activePair.input);
    if (!(length > 0.0 && width > 0.0)) {
        return 0.0;
    }
    return std::min(fitWidth / length, fitHeight / width) * viewScale / pairscene::startViewScale;
}

void drawActionPlaneScene() {
    const PairInput& in = activePair.input;
    const PairNumbers& n = activePair.numbers;
    const ActionPlane p = actionPlane(in, n, driveAngle);
    char title[2][160];
    std::snprintf(title[0], sizeof title[0], "(10) plane of action: ga_eff=%.3f mm by b=%.3f mm, beta=%gdeg beta_b=%.3fdeg",
                  p.length, p.width, in.betaDeg, p.betaB / degToRad);
    std::snprintf(title[1], sizeof title[1], "     eps_alpha_eff=%.3f eps_beta=%.3f   green: contact lines, L = %.3f mm",
                  n.epsilonAlphaEff, n.helix.epsilonBeta, p.total);
    drawTitle(firstTitleY, title[0]);
    drawTitle(secondTitleY, title[1]);
    if (!(p.length > 0.0 && p.width > 0.0)) {
        return;
    }
    const double k = actionPlaneSceneScale();
    const Point2 corners[5] = {onScreen(k, p, 0.0, 0.0), onScreen(k, p, p.length, 0.0),
                               onScreen(k, p, p.length, p.width), onScreen(k, p, 0.0, p.width),
                               onScreen(k, p, 0.0, 0.0)};
    for (int i = 0; i < 4; ++i) {
        drawLine(corners[i], corners[i + 1], pairscene::GREY);
    }
    for (int i = 0; i < p.count; ++i) {
        const ContactLine& l = p.lines[i];
        drawWideLine(onScreen(k, p, l.u0, l.w0), onScreen(k, p, l.u1, l.w1), lineWidth, pairscene::DARK_GREEN);
    }
    // A and E under the rectangle's ends; the face's two sides beside it.
    const Point2 a = onScreen(k, p, 0.0, 0.0);
    const Point2 e = onScreen(k, p, p.length, 0.0);
    drawText(static_cast<float>(a.x - 0.01), static_cast<float>(a.y - 0.06), GLUT_BITMAP_HELVETICA_18, "A");
    drawText(static_cast<float>(e.x - 0.01), static_cast<float>(e.y - 0.06), GLUT_BITMAP_HELVETICA_18, "E");
}
