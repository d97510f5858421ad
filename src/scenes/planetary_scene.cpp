// Scene 12 (key p): a planetary set turning with its carrier. The sun, the
// planets and the ring as their cutters leave them (activeSet,
// app/pair_state.h), the carrier's arms from the centre to each planet; the
// member given as input turns by driveAngle, the fixed one stands, the third
// follows by Willis. Not here: the set's numbers and outlines
// (pair/planetary.h), the contact along each mesh (scene 7 shows the
// sun–planet pair's), the helix of a helical set (drawn is its transverse
// section, the title saying so).
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/pair_state.h"
#include "draw/primitives.h"
#include "pair/solve/number_format.h"
#include "scenes/pair_drawing.h"
#include "scenes/scenes.h"

using namespace pairscene;

namespace {

constexpr double setSpan = 1.5;  // window units across the ring's rim at viewScale 0.5
constexpr double carrierHubRadius = 0.015;  // window units: the carrier's hub and the planets' pins

struct SetCache {
    bool ready = false;
    double fit = 1.0;        // window units per mm at viewScale 0.5
    double zoomScale = 0.0;  // viewScale the point lists are made for; 0: not yet
    char title[2][160];
    std::vector<Point2> sun, planet, ring, rim;  // thinned, closed
};

SetCache setCache;

void thinClosed(const GearOutline& outline, double tolerance, std::vector<Point2>& out) {
    out.reserve(outline.points.size() + 1);
    simplifyOutline(outline.points, tolerance, out);
    if (!out.empty()) {
        out.push_back(out.front());
    }
}

void prepare() {
    const PlanetaryDrawing& d = activeSet;
    const PairInput& in = d.set.sunPlanet;
    if (!setCache.ready) {
        setCache.fit = setSpan / std::max(2.0 * outlineOuterRadius(d.planetRing.rim), in.m);
        std::snprintf(setCache.title[0], sizeof setCache.title[0],
                      "(12) planetary set: zS=%d zP=%d zR=%d N=%d m=%g   %s fixed", in.z1, in.z2, d.set.planetRing.z2,
                      in.planets, in.m, fixedMemberWords(in.fixed).name);
        if (in.betaDeg != 0.0) {
            // A helical set: m is normal, the picture its transverse section.
            const size_t used = std::strlen(setCache.title[0]);
            std::snprintf(setCache.title[0] + used, sizeof setCache.title[0] - used, "   beta=%gdeg (transverse)",
                          in.betaDeg);
        }
        std::snprintf(setCache.title[1], sizeof setCache.title[1],
                      "     i=%.4f a=%.3f xR=%s   red: sun, green: planets, blue: ring, grey: carrier", d.set.ratio,
                      d.set.a, fixed(d.set.planetRing.x2, 4).c_str());
        setCache.zoomScale = 0.0;
        setCache.ready = true;
    }
    if (setCache.zoomScale != viewScale) {
        const double tolerance = quarterPixelAt(setCache.fit * viewScale / startViewScale);
        thinClosed(d.sunPlanet.outline[0], tolerance, setCache.sun);
        thinClosed(d.sunPlanet.outline[1], tolerance, setCache.planet);
        thinClosed(d.planetRing.outline[1], tolerance, setCache.ring);
        thinClosed(d.planetRing.rim, tolerance, setCache.rim);
        setCache.zoomScale = viewScale;
    }
}

}  // namespace

void resetPlanetaryScene() { setCache.ready = false; }

double planetarySceneScale() {
    if (!setSceneEnabled) {
        return 0.0;
    }
    prepare();
    return setCache.fit * viewScale / startViewScale;
}

void drawPlanetaryScene() {
    prepare();
    drawTitle(firstTitleY, setCache.title[0]);
    drawTitle(secondTitleY, setCache.title[1]);
    const PlanetaryDrawing& d = activeSet;
    const PairInput& in = d.set.sunPlanet;
    const SetTurns t = setTurns(in, driveAngle);
    const double k = planetarySceneScale();
    glPushMatrix();
    enterGearFrame(k, origin, origin, t.sun);
    drawPoints(k, setCache.sun, RED);
    leaveGearFrame(k, origin, origin, t.sun);
    enterGearFrame(k, origin, origin, d.ringTurn + t.ring);
    drawPoints(k, setCache.ring, BLUE);
    drawPoints(k, setCache.rim, BLUE);
    leaveGearFrame(k, origin, origin, d.ringTurn + t.ring);
    for (int i = 0; i < in.planets; ++i) {
        const double theta = 2.0 * pi * i / in.planets + t.carrier;
        const Point2 centre{d.set.a * std::cos(theta), d.set.a * std::sin(theta)};
        const double turn = d.planetTurn[i] + t.planet;
        enterGearFrame(k, origin, centre, turn);
        drawPoints(k, setCache.planet, DARK_GREEN);
        leaveGearFrame(k, origin, centre, turn);
        drawScaledLine(k, origin, centre, GREY);  // the carrier's arm
        drawDisc(times(k, centre), carrierHubRadius, GREY);
    }
    drawDisc(origin, carrierHubRadius, GREY);
    glPopMatrix();
}
