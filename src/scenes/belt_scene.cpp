// Scene 4: two equal base circles on a crossed belt, each carrying the
// involute; the dot on the belt's span is where the two involutes meet.
#include "scenes/scenes.h"

namespace {
// The span between the two tangency points is 2 * baseRadius long: 2.0
// radians of roll on either circle.
constexpr double spanRoll = 2.0;
}  // namespace

Point2 driveCentre() { return Point2{baseRadius, -baseRadius}; }
Point2 drivenCentre() { return Point2{-baseRadius, baseRadius}; }

double drivenAngle() { return (spanRoll - driveAngle) + pi; }

void stepDriveAngle() {
    if (directionKey == 'd') {
        angleIncrement = stepAngle;
    }
    if (directionKey == 'D') {
        angleIncrement = -stepAngle;
    }
    driveAngle = driveAngle + angleIncrement;
}

void drawBeltScene() {
    drawTitle(firstTitleY, "(4) draw 2 circle belt transmission and involute motion");
    drawTitle(secondTitleY, "     red:drive base circle,  blue:driven base circle");
    const Point2 drive = driveCentre();
    const Point2 driven = drivenCentre();
    drawScaledLine(viewScale, Point2{drive.x, 0.0}, Point2{driven.x, 0.0}, RED);  // the belt span
    drawDisc(Point2{(drive.x - driveAngle * baseRadius) * viewScale, 0.0}, dotRadius, BLUE);

    enterGearFrame(viewScale, origin, drive, driveAngle);
    drawMarkedCircle(viewScale, origin, baseRadius, RED);
    drawPolyline(viewScale, involuteTable, involuteLastIndex, RED);
    leaveGearFrame(viewScale, origin, drive, driveAngle);

    enterGearFrame(viewScale, origin, driven, drivenAngle());
    drawMarkedCircle(viewScale, origin, baseRadius, BLUE);
    drawPolyline(viewScale, involuteTable, involuteLastIndex, BLUE);
    leaveGearFrame(viewScale, origin, driven, drivenAngle());
}
