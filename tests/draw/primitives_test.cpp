// The primitives on real Mesa: what they draw and the GL state they leave.
#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

#include "app/window.h"
#include "draw/primitives.h"
#include "support/gl_window.h"

namespace {

struct GlState {
    bool lighting;
    float lineWidth;
    float colour[4];
    double modelView[16];
    int stackDepth;
};

GlState readState() {
    GlState s{};
    s.lighting = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    glGetFloatv(GL_CURRENT_COLOR, s.colour);
    glGetDoublev(GL_MODELVIEW_MATRIX, s.modelView);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.stackDepth);
    return s;
}

void expectMatrixUnchanged(const GlState& before, const GlState& after) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(after.modelView[i], before.modelView[i], 1e-5) << "matrix element " << i;
    }
    EXPECT_EQ(after.stackDepth, before.stackDepth);
}

// A frame drawn by the test itself: beginFrame, the drawing, endFrame.
template <typename Draw>
Frame drawFrame(Draw draw) {
    beginFrame();
    draw();
    endFrame();
    return readFrame();
}

// Starts every test from the same state, lighting off and a 5 px width, so
// what a primitive leaves behind shows.
class Primitives : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        beginFrame();
        glDisable(GL_LIGHTING);
        glLineWidth(5.0f);
        glColor4f(0.3f, 0.3f, 0.3f, 1.0f);
    }
};

TEST_F(Primitives, ToScreenIsTheIdentity) {
    for (double x : {0.0, -0.0, 1.0, -0.4698463104, 123456.789, -1e300, 1e-300}) {
        EXPECT_EQ(toScreen(x), x);
    }
}

TEST_F(Primitives, LinesLeaveLightingOnTheirColourAndTheirWidth) {
    const Point2 a{-0.5, 0.1};
    const Point2 b{0.5, 0.1};
    drawLine(a, b, RED);
    GlState s = readState();
    EXPECT_TRUE(s.lighting);
    EXPECT_EQ(s.lineWidth, 5.0f);
    EXPECT_EQ(s.colour[0], 1.0f);
    EXPECT_EQ(s.colour[3], 0.0f);  // alpha passed through as stored

    glLineWidth(5.0f);
    drawWideLine(a, b, 0.01, BLUE);
    s = readState();
    EXPECT_TRUE(s.lighting);
    EXPECT_EQ(s.lineWidth, 2.0f);
    EXPECT_EQ(s.colour[2], 1.0f);
}

TEST_F(Primitives, EmptyPolylineTouchesNoState) {
    const GlState before = readState();
    drawPolyline(0.5, involuteTable, 0, GREEN);
    drawPolyline(0.5, involuteTable, -3, GREEN);
    const GlState after = readState();
    EXPECT_FALSE(after.lighting);
    EXPECT_EQ(after.lineWidth, 5.0f);
    EXPECT_EQ(after.colour[0], before.colour[0]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Primitives, PolylineIsScaledButItsWidthIsNot) {
    // A two-point chain along y = 0.2 model units, drawn at k = 1 and k = 2.
    const Point2 chain[] = {{-0.4, 0.2}, {0.0, 0.2}, {0.4, 0.2}};
    Frame once = drawFrame([&] { drawPolyline(1.0, chain, 2, RED); });
    EXPECT_EQ(readState().lineWidth, 2.0f);
    EXPECT_GT(countShade(once, {0.2, 0.2}, 2, Shade::Red), 0);
    EXPECT_EQ(countShade(once, {0.6, 0.4}, 2, Shade::Red), 0);
    Frame twice = drawFrame([&] { drawPolyline(2.0, chain, 2, RED); });
    EXPECT_GT(countShade(twice, {0.6, 0.4}, 2, Shade::Red), 0);
    EXPECT_EQ(countShade(twice, {0.2, 0.2}, 2, Shade::Red), 0);
    // 1.6 px wide at both scales: at most 2 rows of a column are red.
    for (const Frame* f : {&once, &twice}) {
        const int column = pixelX(*f, 0.1);
        int red = 0;
        for (int y = 0; y < f->height; ++y) {
            red += classify(f->at(column, y)) == Shade::Red ? 1 : 0;
        }
        EXPECT_GE(red, 1);
        EXPECT_LE(red, 2);
    }
}

TEST_F(Primitives, CirclesAreClosedAndCentred) {
    const GlState before = readState();
    Frame f = drawFrame([] { drawMarkedCircle(0.5, Point2{0.4, -0.2}, 0.8, BLUE); });
    const GlState after = readState();
    expectMatrixUnchanged(before, after);
    EXPECT_TRUE(after.lighting);
    EXPECT_EQ(after.lineWidth, 5.0f);  // outline and diameters set no width
    const Point2 c{0.2, -0.1};         // k * centre
    EXPECT_TRUE(dotAt(f, c, Shade::Blue));
    // The outline passes through every direction, corner 0 and the closing
    // edge from corner 119 back to it included.
    for (double degrees = 0.0; degrees < 360.0; degrees += 1.5) {
        const double a = degrees * M_PI / 180.0;
        EXPECT_GT(countShade(f, {c.x + 0.4 * std::cos(a), c.y + 0.4 * std::sin(a)}, 2, Shade::Blue), 0) << degrees;
    }
    // Both diameters, ends included.
    EXPECT_GT(countShade(f, {c.x + 0.39, c.y}, 1, Shade::Blue), 0);
    EXPECT_GT(countShade(f, {c.x, c.y - 0.39}, 1, Shade::Blue), 0);
    EXPECT_EQ(countShade(f, {c.x + 0.2, c.y + 0.2}, 2, Shade::Blue), 0);
}

TEST_F(Primitives, DiscIsASmallFilledDot) {
    Frame f = drawFrame([] { drawDisc(Point2{0.3, 0.2}, 0.01, RED); });
    EXPECT_TRUE(readState().lighting);
    EXPECT_EQ(countShade(f, {0.3, 0.2}, 2, Shade::Red), 25);  // filled
    EXPECT_EQ(countShade(f, {0.3, 0.2}, 6, Shade::Red), countShade(f, {0.3, 0.2}, 4, Shade::Red));
    EXPECT_GT(countShade(f, {0.3, 0.2}, 4, Shade::Red), 36);
}

TEST_F(Primitives, GearFrameMovesThenTurnsAndLeavesNoTrace) {
    const GlState before = readState();
    // k = 0.5, centre (1, 0.4), a quarter turn: model (0.6, 0) lands at
    // 0.5 * ((1, 0.4) + (0, 0.6)) = (0.5, 0.5).
    Frame f = drawFrame([] {
        const Point2 centre{1.0, 0.4};
        enterGearFrame(0.5, origin, centre, pi / 2.0);
        drawDisc(Point2{0.3, 0.0}, 0.01, GREEN);
        leaveGearFrame(0.5, origin, centre, pi / 2.0);
    });
    EXPECT_TRUE(dotAt(f, {0.5, 0.5}, Shade::Green));
    expectMatrixUnchanged(before, readState());
}

TEST_F(Primitives, GearCopiesAreSpacedAboutItsCentre) {
    const Point2 spoke[] = {{0.0, 0.2}, {0.0, 0.6}};  // a radial stroke straight up
    for (const Point2 centre : {origin, Point2{0.6, -0.4}}) {
        SCOPED_TRACE(centre.x);
        const GlState before = readState();
        Frame f = drawFrame([&] { drawGear(0.5, 4, centre, spoke, 1, RED); });
        expectMatrixUnchanged(before, readState());
        const Point2 c{0.5 * centre.x, 0.5 * centre.y};
        // Four copies, a quarter turn apart, around k * centre.
        EXPECT_GT(countShade(f, {c.x, c.y + 0.2}, 1, Shade::Red), 0);
        EXPECT_GT(countShade(f, {c.x - 0.2, c.y}, 1, Shade::Red), 0);
        EXPECT_GT(countShade(f, {c.x, c.y - 0.2}, 1, Shade::Red), 0);
        EXPECT_GT(countShade(f, {c.x + 0.2, c.y}, 1, Shade::Red), 0);
        EXPECT_EQ(countShade(f, {c.x + 0.14, c.y + 0.14}, 2, Shade::Red), 0);
    }
    // One copy lies in the profile's own orientation.
    Frame single = drawFrame([&] { drawGear(0.5, 1, origin, spoke, 1, RED); });
    EXPECT_GT(countShade(single, {0.0, 0.2}, 1, Shade::Red), 0);
    EXPECT_EQ(countShade(single, {0.0, -0.2}, 2, Shade::Red), 0);
}

TEST_F(Primitives, ArrowPointsAlongItsAngleWithANotchedHead) {
    Frame right = drawFrame([] { drawArrow(Point2{0.0, 0.3}, 0.2, 0.0, BLUE); });
    EXPECT_TRUE(readState().lighting);
    EXPECT_GT(countShade(right, {-0.15, 0.3}, 1, Shade::Blue), 0);   // shaft
    EXPECT_GT(countShade(right, {-0.13, 0.33}, 0, Shade::Blue), 0);  // upper barb
    EXPECT_GT(countShade(right, {-0.13, 0.27}, 0, Shade::Blue), 0);  // lower barb
    EXPECT_EQ(countShade(right, {-0.09, 0.33}, 1, Shade::Blue), 0);  // the head narrows to the tip
    EXPECT_EQ(countShade(right, {0.05, 0.3}, 2, Shade::Blue), 0);    // nothing beyond the tip
    EXPECT_EQ(countShade(right, {-0.25, 0.3}, 2, Shade::Blue), 0);   // shaft is 0.1 long

    Frame up = drawFrame([] { drawArrow(Point2{0.0, 0.3}, 0.2, M_PI / 2.0, BLUE); });
    EXPECT_GT(countShade(up, {0.0, 0.15}, 1, Shade::Blue), 0);  // lies below its tip
    EXPECT_EQ(countShade(up, {-0.15, 0.3}, 2, Shade::Blue), 0);

    Frame stub = drawFrame([] { drawArrow(Point2{0.0, 0.3}, 0.05, 0.0, BLUE); });
    EXPECT_GT(countShade(stub, {-0.05, 0.3}, 1, Shade::Blue), 0);  // the head alone
    EXPECT_EQ(countShade(stub, {-0.2, 0.3}, 2, Shade::Blue), 0);
}

TEST_F(Primitives, AxesCrossTheWholeWindowTwoPixelsWide) {
    Frame f = drawFrame([] { drawAxes(origin, 0.0); });
    const GlState s = readState();
    EXPECT_TRUE(s.lighting);
    EXPECT_EQ(s.lineWidth, 2.0f);
    EXPECT_EQ(s.colour[0], 0.0f);
    for (double t : {-0.99, -0.5, 0.5, 0.99}) {
        EXPECT_GT(countShade(f, {t, 0.0}, 1, Shade::Dark), 0);
        EXPECT_GT(countShade(f, {0.0, t}, 1, Shade::Dark), 0);
    }
    int rows = 0;
    for (int y = 0; y < f.height; ++y) {
        rows += classify(f.at(100, y)) == Shade::Dark ? 1 : 0;
    }
    EXPECT_EQ(rows, 2);
}

TEST_F(Primitives, TextKeepsColourAndRasterPositionAndIsDarkUnderLighting) {
    glEnable(GL_LIGHTING);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glRasterPos2f(0.5f, 0.5f);
    float rasterBefore[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, rasterBefore);
    drawText(-0.9f, 0.85f, GLUT_BITMAP_HELVETICA_18, "(1) involute generation(base circle fixed)");
    const GlState s = readState();
    float rasterAfter[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, rasterAfter);
    EXPECT_EQ(s.colour[1], 0.2f);
    EXPECT_EQ(s.colour[3], 0.4f);
    EXPECT_EQ(rasterAfter[0], rasterBefore[0]);
    EXPECT_EQ(rasterAfter[1], rasterBefore[1]);
    endFrame();
    Frame f = readFrame();
    int dark = 0;
    for (int y = pixelY(f, 0.85) - 4; y < pixelY(f, 0.85) + 16; ++y) {
        for (int x = pixelX(f, -0.9); x < pixelX(f, -0.1); ++x) {
            dark += classify(f.at(x, y)) == Shade::Dark ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 300);
}

}  // namespace
