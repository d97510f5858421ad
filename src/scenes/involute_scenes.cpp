// Scenes 1 to 3: the involute unwound from a fixed base circle, the same seen
// from a frame turning with the circle, and the circle rolling along an edge.
#include <GL/gl.h>

#include "scenes/scenes.h"

namespace {

constexpr double arrowLength = 0.2;     // window units
constexpr double edgeReach = 10.0;      // window units: the edge runs past both sides

Point2 scaled(const Point2& p) { return Point2{viewScale * p.x, viewScale * p.y}; }

// The whole tabulated involute in green: one copy through drawGear.
void drawWholeInvolute() { drawGear(viewScale, 1, origin, involuteTable, involuteLastIndex, GREEN); }

// What turns with the base circle in scenes 2 and 3, in stacking order: the
// circle, the dots of index i, the whole involute and its trace up to i.
void drawCircleCarryingInvolute(int i) {
    drawMarkedCircle(viewScale, origin, baseRadius, RED);
    drawDisc(scaled(involuteTable[i]), dotRadius, RED);
    drawDisc(scaled(tangentTable[i]), dotRadius, RED);
    drawWholeInvolute();
    drawPolyline(viewScale, involuteTable, i, RED);
}

}  // namespace

void drawFixedCircleScene() {
    drawTitle(firstTitleY, "(1) involute generation(base circle fixed)");
    drawAxes(origin, 0.0);
    drawWholeInvolute();
    drawMarkedCircle(viewScale, origin, baseRadius, RED);
    const int i = stepScene1;
    drawScaledLine(viewScale, tangentTable[i], involuteTable[i], RED);  // the string
    drawScaledLine(viewScale, origin, tangentTable[i], RED);            // the radius to it
    drawDisc(scaled(involuteTable[i]), dotRadius, RED);
    drawDisc(scaled(tangentTable[i]), dotRadius, RED);
    drawPolyline(viewScale, involuteTable, i, RED);                     // traced so far
}

void drawTurningCircleScene() {
    drawTitle(firstTitleY, "(2) involute generation(base circle rotated)");
    drawAxes(origin, 0.0);  // before the turn: the cross stays put
    const int i = stepScene23;
    driveAngle = i * stepAngle;
    // Turning by the roll angle keeps tangency point i at the top of the
    // circle, so the string lies on the fixed line through the top.
    glRotated(driveAngle * radToDeg, origin.x, origin.y, 1.0);
    drawScaledLine(viewScale, tangentTable[i], involuteTable[i], RED);
    drawCircleCarryingInvolute(i);
    glRotated(-driveAngle * radToDeg, origin.x, origin.y, 1.0);
}

void drawRollingCircleScene() {
    drawTitle(firstTitleY, "(3) involute measurement(base circle rolling)");
    drawTitle(secondTitleY, "  Arrow contact point stands still if tooth profile has no error.");
    const double h = viewScale * baseRadius;  // the edge touches the top of the circle
    drawLine(Point2{-edgeReach, h}, Point2{edgeReach, h}, RED);
    drawArrow(Point2{0.0, h}, arrowLength, 0.0, BLUE);
    const int i = stepScene23;
    driveAngle = i * stepAngle;
    // Rolling without slipping: the centre moves by radius times angle while
    // the circle turns, so involute point i lands on the arrow's tip.
    glTranslated(viewScale * baseRadius * driveAngle, 0.0, 0.0);
    glRotated(driveAngle * radToDeg, origin.x, origin.y, 1.0);
    drawCircleCarryingInvolute(i);
    glRotated(-driveAngle * radToDeg, origin.x, origin.y, 1.0);
    glTranslated(-viewScale * baseRadius * driveAngle, 0.0, 0.0);
}
