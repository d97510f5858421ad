#include <GL/freeglut.h>

#include "draw/primitives.h"

namespace {
constexpr double axisReach = 10.0;     // far outside the window: the cross spans it whole
constexpr float axisLineWidth = 2.0f;  // pixels
}  // namespace

void drawArrow(const Point2& tip, double length, double angle, const Rgba& colour) {
    const double tx = toScreen(tip.x);
    const double ty = toScreen(tip.y);
    const double w = toScreen(arrowWidth);
    const double h = toScreen(arrowHeadLength);
    double s = toScreen(length) - h;  // shaft length behind the head
    if (s < 0.0) {
        s = 0.0;
    }
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glTranslated(tx, ty, 0.0);
    glRotated(angle / radPerDeg, 0.0, 0.0, 1.0);

    glBegin(GL_POLYGON);  // shaft, from the head's notch backwards
    glVertex2d(-h, -0.5 * w);
    glVertex2d(-h - s, -0.5 * w);
    glVertex2d(-h - s, 0.5 * w);
    glVertex2d(-h, 0.5 * w);
    glEnd();

    const double barbBack = 0.5 * h;
    const double barbSpread = 0.4 * h;
    // Two triangles sharing the axis make a notched head whose barbs reach
    // back past the shaft's front end.
    glBegin(GL_POLYGON);
    glVertex2d(0.0, 0.0);
    glVertex2d(-h, 0.0);
    glVertex2d(-h - barbBack, barbSpread);
    glEnd();
    glBegin(GL_POLYGON);
    glVertex2d(0.0, 0.0);
    glVertex2d(-h, 0.0);
    glVertex2d(-h - barbBack, -barbSpread);
    glEnd();

    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawAxes(const Point2& centre, double angle) {
    glDisable(GL_LIGHTING);
    glLineWidth(axisLineWidth);
    glPushMatrix();
    glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
    glTranslated(toScreen(centre.x), toScreen(centre.y), 0.0);
    glRotated(angle / radPerDeg, 0.0, 0.0, 1.0);
    glBegin(GL_LINES);
    glVertex2d(-axisReach, 0.0);
    glVertex2d(axisReach, 0.0);
    glVertex2d(0.0, -axisReach);
    glVertex2d(0.0, axisReach);
    glEnd();
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

void drawText(float x, float y, void* font, const char* text) {
    // The current colour and raster position are saved and restored. The
    // glyph colour is fixed when the raster position is set: with lighting
    // enabled and no light, that is the ambient term, a near-black grey.
    glPushAttrib(GL_CURRENT_BIT);
    glRasterPos2f(x, y);
    for (const char* c = text; *c != '\0'; ++c) {
        glutBitmapCharacter(font, static_cast<int>(static_cast<signed char>(*c)));
    }
    glPopAttrib();
}
