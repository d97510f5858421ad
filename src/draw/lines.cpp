#include <GL/gl.h>

#include "draw/primitives.h"

namespace {
constexpr double polylineWidth = 0.004;   // units: 1.6 pixels
constexpr float restingLineWidth = 2.0f;  // pixels, left behind by every wide line
}  // namespace

// Units and GL coordinates are the same square; the mapping is the identity,
// returned exactly rather than as x * 400 / 400, which can differ in the last bit.
double toScreen(double x) { return x; }

void drawLine(const Point2& from, const Point2& to, const Rgba& colour) {
    glDisable(GL_LIGHTING);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glBegin(GL_LINES);
    glVertex2d(toScreen(from.x), toScreen(from.y));
    glVertex2d(toScreen(to.x), toScreen(to.y));
    glEnd();
    glEnable(GL_LIGHTING);
}

void drawScaledLine(double k, const Point2& from, const Point2& to, const Rgba& colour) {
    const Point2 a{k * from.x, k * from.y};
    const Point2 b{k * to.x, k * to.y};
    drawLine(a, b, colour);
}

void drawWideLine(const Point2& from, const Point2& to, double width, const Rgba& colour) {
    glDisable(GL_LIGHTING);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glLineWidth(static_cast<float>(toScreen(width) * pixelsPerUnit));
    glBegin(GL_LINES);
    glVertex2d(toScreen(from.x), toScreen(from.y));
    glVertex2d(toScreen(to.x), toScreen(to.y));
    glEnd();
    glLineWidth(restingLineWidth);
    glEnable(GL_LIGHTING);
}

void drawPolyline(double k, const Point2* points, int lastIndex, const Rgba& colour) {
    if (lastIndex <= 0) {
        return;
    }
    // One GL_LINES bracket with independent segments looks exactly like one
    // drawWideLine per segment, but toggling lighting per segment makes Mesa
    // revalidate its state every time, which dominated the frame time.
    glDisable(GL_LIGHTING);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glLineWidth(static_cast<float>(toScreen(polylineWidth) * pixelsPerUnit));
    glBegin(GL_LINES);
    for (int i = 1; i <= lastIndex; ++i) {
        glVertex2d(toScreen(k * points[i - 1].x), toScreen(k * points[i - 1].y));
        glVertex2d(toScreen(k * points[i].x), toScreen(k * points[i].y));
    }
    glEnd();
    glLineWidth(restingLineWidth);
    glEnable(GL_LIGHTING);
}

void drawFilledPolygon(const Point2* corners, int count, const Rgba& colour) {
    glDisable(GL_LIGHTING);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
    glBegin(GL_POLYGON);
    for (int i = 0; i < count; ++i) {
        glVertex2d(toScreen(corners[i].x), toScreen(corners[i].y));
    }
    glEnd();
    glEnable(GL_LIGHTING);
}
