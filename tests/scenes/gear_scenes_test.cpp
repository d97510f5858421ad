// The belt scene and the meshing scenes on real Mesa.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "scenes/display.h"
#include "scenes/scenes.h"
#include "support/gl_window.h"

namespace {

Point2 turned(const Point2& p, double angle, const Point2& centre) {
    return Point2{centre.x + p.x * std::cos(angle) - p.y * std::sin(angle),
                  centre.y + p.x * std::sin(angle) + p.y * std::cos(angle)};
}

Point2 scaled(const Point2& p) { return Point2{viewScale * p.x, viewScale * p.y}; }

// A dot with lines through its centre along the axes: its four diagonal
// pixels, 2.5 px out, show the dot's own colour.
bool dotBehindAxisLines(const Frame& f, Point2 p, Shade shade) {
    const double d = 2.5 / 400.0;
    return countShade(f, {p.x + d, p.y + d}, 0, shade) + countShade(f, {p.x - d, p.y + d}, 0, shade) +
               countShade(f, {p.x + d, p.y - d}, 0, shade) + countShade(f, {p.x - d, p.y - d}, 0, shade) ==
           4;
}

// Draws the frame one step after the given drive angle.
Frame showAngle(char key, double angleBefore) {
    selectScene(key);
    driveAngle = angleBefore;
    display();
    return readFrame();
}

// x where the flank profile[0 .. lastIndex], turned and moved, crosses y = 0
// inside the contact path; NAN where it does not.
double crossingOnPath(double angle, const Point2& centre) {
    for (int i = 1; i <= flankLastIndex; ++i) {
        const Point2 a = turned(involuteTable[i - 1], angle, centre);
        const Point2 b = turned(involuteTable[i], angle, centre);
        if ((a.y <= 0.0) != (b.y <= 0.0)) {
            const double x = a.x + (b.x - a.x) * (0.0 - a.y) / (b.y - a.y);
            if (std::fabs(x) <= baseRadius) {
                return x;
            }
        }
    }
    return NAN;
}

class GearScenes : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        viewScale = 0.5;
    }
};

TEST_F(GearScenes, BeltDotRunsAlongTheSpanWhereBothInvolutesMeet) {
    for (int steps : {0, 1, 60, 100, 150, 200}) {
        SCOPED_TRACE(steps);
        const double a = steps * stepAngle;
        const Frame f = showAngle('4', a - stepAngle);
        EXPECT_NEAR(driveAngle, a, 1e-12);
        const Point2 dot{baseRadius - a * baseRadius, 0.0};
        EXPECT_TRUE(dotBehindAxisLines(f, scaled(dot), Shade::Blue));
        // The drive involute's point of roll a and the driven involute's
        // point of roll 2 - a both lie on the dot.
        const Point2 drivePoint = turned(involuteTable[steps], driveAngle, driveCentre());
        const Point2 drivenPoint = turned(involuteTable[200 - steps], drivenAngle(), drivenCentre());
        EXPECT_NEAR(drivePoint.x, dot.x, 1e-9);
        EXPECT_NEAR(drivePoint.y, dot.y, 1e-9);
        EXPECT_NEAR(drivenPoint.x, dot.x, 1e-9);
        EXPECT_NEAR(drivenPoint.y, dot.y, 1e-9);
        // And the picture shows each involute where its circle has carried it.
        const Point2 redFurther = scaled(turned(involuteTable[steps + 60], driveAngle, driveCentre()));
        const Point2 blueFurther = scaled(turned(involuteTable[260 - steps], drivenAngle(), drivenCentre()));
        if (std::fabs(redFurther.x) < 0.97 && std::fabs(redFurther.y) < 0.97) {
            EXPECT_GT(countShade(f, redFurther, 1, Shade::Red), 0);
        }
        if (std::fabs(blueFurther.x) < 0.97 && std::fabs(blueFurther.y) < 0.97) {
            EXPECT_GT(countShade(f, blueFurther, 1, Shade::Blue), 0);
        }
        EXPECT_TRUE(frameInvariantFailures().empty());
    }
}

TEST_F(GearScenes, BeltDotLeavesTheSpanBeyondItsEnds) {
    const Frame f = showAngle('4', -0.5 - stepAngle);  // D from the start: to the right
    EXPECT_TRUE(dotBehindAxisLines(f, scaled(Point2{baseRadius * 1.5, 0.0}), Shade::Blue));
    EXPECT_EQ(countShade(f, scaled(Point2{baseRadius * 1.2, 0.0}), 0, Shade::Red), 0);  // no span there
}

TEST_F(GearScenes, ContactPathIsTheOnlyDifferenceBetweenScenesFiveAndSix) {
    for (double a : {0.0, 0.37, 1.9}) {
        SCOPED_TRACE(a);
        const Frame five = showAngle('5', a);
        const Frame six = showAngle('6', a);
        const int pathEnd = static_cast<int>(viewScale * baseRadius * 400.0) + 2;
        int green = 0;
        for (int y = 0; y < five.height; ++y) {
            for (int x = 0; x < five.width; ++x) {
                const unsigned char* p5 = five.at(x, y);
                const unsigned char* p6 = six.at(x, y);
                ASSERT_NE(classify(p6), Shade::Green) << x << "," << y;
                const bool title = y > pixelY(five, 0.75);
                if (title || (p5[0] == p6[0] && p5[1] == p6[1] && p5[2] == p6[2])) {
                    continue;
                }
                ASSERT_EQ(classify(p5), Shade::Green) << x << "," << y;
                ASSERT_LE(std::abs(y - 400), 1) << "green off the path";
                ASSERT_LE(std::abs(x - 400), pathEnd) << "green beyond the path";
                ++green;
            }
        }
        EXPECT_GT(green, 200);
    }
}

TEST_F(GearScenes, FlanksMeetInPairsOnTheContactPath) {
    const double pitch = 2.0 * pi / toothCount;
    for (double before : {0.0, 0.13, 0.31, 2.0}) {
        SCOPED_TRACE(before);
        const Frame f = showAngle('6', before);
        std::vector<double> drive;
        std::vector<double> driven;
        for (int c = 1; c <= toothCount; ++c) {
            const double x = crossingOnPath(driveAngle + c * pitch, driveCentre());
            const double y = crossingOnPath(drivenAngle() - c * pitch, drivenCentre());
            if (!std::isnan(x)) {
                drive.push_back(x);
            }
            if (!std::isnan(y)) {
                driven.push_back(y);
            }
        }
        std::sort(drive.begin(), drive.end());
        std::sort(driven.begin(), driven.end());
        ASSERT_EQ(drive.size(), driven.size());
        ASSERT_GE(drive.size(), 3u);
        for (size_t i = 0; i < drive.size(); ++i) {
            EXPECT_NEAR(drive[i], driven[i], 2e-3);  // the same point, up to the table's sampling
            if (i > 0) {
                EXPECT_NEAR(drive[i] - drive[i - 1], baseRadius * pitch, 2e-3);
            }
            // The meeting flanks are drawn there (the driven one on top).
            const Point2 meet = scaled(Point2{drive[i], 0.0});
            if (std::fabs(drive[i]) < baseRadius - 0.1) {  // flanks curl tightly near their base
                EXPECT_GT(countShade(f, {meet.x, meet.y + 0.008}, 1, Shade::Blue), 0);
                EXPECT_GT(countShade(f, {meet.x, meet.y - 0.008}, 1, Shade::Blue), 0);
            }
        }
        EXPECT_TRUE(frameInvariantFailures().empty());
    }
}

TEST_F(GearScenes, ZoomScalesGearsCentresAndPathTogether) {
    for (double scale : {0.5, 0.5 * 0.9 * 0.9, 0.5 / 0.9 / 0.9}) {
        SCOPED_TRACE(scale);
        viewScale = scale;
        const Frame f = showAngle('5', 0.0);
        EXPECT_TRUE(dotAt(f, scaled(driveCentre()), Shade::Red));
        EXPECT_TRUE(dotAt(f, scaled(drivenCentre()), Shade::Blue));
        const double end = scale * baseRadius;
        EXPECT_GT(countShade(f, {end - 0.1, 0.0}, 1, Shade::Green), 0);
        EXPECT_EQ(countShade(f, {end + 0.015, 0.0}, 1, Shade::Green), 0);
        // A drive flank starts at the drive end of the path at angle 0.01.
        EXPECT_GT(countShade(f, {end, 0.0}, 2, Shade::Red), 0);
    }
}

}  // namespace
