// Scenes 5 and 6: two ten-flank gears on the belt scene's circles, turning by
// its rule, with (5) and without (6) the green contact path.
#include "scenes/scenes.h"

void drawMeshingScene() {
    if (sceneKey == '5') {
        drawTitle(firstTitleY, "(5) 2-gear meshing motion wth contact path");
    }
    if (sceneKey == '6') {
        drawTitle(firstTitleY, "(6) 2-gear meshing motion wthout contact path");
    }
    drawTitle(secondTitleY, "     red:drive base circle,  blue:driven base circle");
    const Point2 drive = driveCentre();
    const Point2 driven = drivenCentre();
    if (sceneKey == '5') {
        drawScaledLine(viewScale, Point2{drive.x, 0.0}, Point2{driven.x, 0.0}, GREEN);  // contact path
    }

    enterGearFrame(viewScale, origin, drive, driveAngle);
    drawMarkedCircle(viewScale, origin, baseRadius, RED);
    drawGear(viewScale, toothCount, origin, involuteTable, flankLastIndex, RED);
    leaveGearFrame(viewScale, origin, drive, driveAngle);

    enterGearFrame(viewScale, origin, driven, drivenAngle());
    drawMarkedCircle(viewScale, origin, baseRadius, BLUE);
    drawGear(viewScale, toothCount, origin, involuteTable, flankLastIndex, BLUE);
    leaveGearFrame(viewScale, origin, driven, drivenAngle());
}
