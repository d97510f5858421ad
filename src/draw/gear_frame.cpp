#include <GL/gl.h>

#include "draw/primitives.h"

void enterGearFrame(double k, const Point2& anchor, const Point2& centre, double angle) {
    glTranslated(toScreen((anchor.x + centre.x) * k), toScreen((anchor.y + centre.y) * k), 0.0);
    glRotated(angle * radToDeg, 0.0, 0.0, 1.0);
}

void leaveGearFrame(double k, const Point2& anchor, const Point2& centre, double angle) {
    glRotated(-angle * radToDeg, 0.0, 0.0, 1.0);
    glTranslated(-toScreen((anchor.x + centre.x) * k), -toScreen((anchor.y + centre.y) * k), 0.0);
}

void drawGear(double k, int n, const Point2& centre, const Point2* profile, int lastIndex, const Rgba& colour) {
    const double pitch = 2.0 * pi / n;
    // Move to the gear's centre once, then turn one pitch per copy: the
    // copies are spaced about that centre, and the last one, a whole turn
    // round, lies on the profile's own orientation.
    enterGearFrame(k, origin, centre, 0.0);
    for (int tooth = 0; tooth < n; ++tooth) {
        enterGearFrame(k, origin, origin, pitch);
        drawPolyline(k, profile, lastIndex, colour);
    }
    leaveGearFrame(k, origin, origin, 2.0 * pi);
    leaveGearFrame(k, origin, centre, 0.0);
}
