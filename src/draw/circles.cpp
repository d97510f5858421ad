#include <GL/gl.h>
#include <cmath>

#include "draw/primitives.h"

namespace {

constexpr double centreDotRadius = 0.05;  // model units

double cornerStep() { return 2.0 * circlePi / circleSegments; }

// Moves to the centre; the caller pops the matrix again.
void beginShape(const Point2& centre, const Rgba& colour) {
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslated(toScreen(centre.x), toScreen(centre.y), 0.0);
    glColor4f(colour.r, colour.g, colour.b, colour.a);
}

void endShape() {
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

}  // namespace

void drawDisc(const Point2& centre, double radius, const Rgba& colour) {
    const double r = toScreen(radius);
    const double step = cornerStep();
    beginShape(centre, colour);
    glBegin(GL_POLYGON);
    for (int i = 0; i < circleSegments; ++i) {
        glVertex2d(r * std::cos(i * step), r * std::sin(i * step));
    }
    glEnd();
    endShape();
}

void drawCircle(const Point2& centre, double radius, const Rgba& colour) {
    const double r = toScreen(radius);
    const double step = cornerStep();
    beginShape(centre, colour);
    // The line loop closes the 120-gon from the last corner back to corner 0,
    // which is taken exactly rather than from cosine and sine.
    glBegin(GL_LINE_LOOP);
    glVertex2d(r, 0.0);
    for (int i = 1; i < circleSegments; ++i) {
        glVertex2d(r * std::cos(i * step), r * std::sin(i * step));
    }
    glEnd();
    endShape();
}

void drawMarkedCircle(double k, const Point2& centre, double radius, const Rgba& colour) {
    const Point2 c{k * centre.x, k * centre.y};
    drawCircle(c, k * radius, colour);
    drawDisc(c, k * centreDotRadius, colour);
    drawScaledLine(k, Point2{centre.x + radius, centre.y}, Point2{centre.x - radius, centre.y}, colour);
    drawScaledLine(k, Point2{centre.x, centre.y + radius}, Point2{centre.x, centre.y - radius}, colour);
}
