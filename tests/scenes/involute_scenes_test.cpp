// Scenes 1 to 3 on real Mesa, probed at positions computed from the tables.
#include <cmath>
#include <gtest/gtest.h>

#include "scenes/display.h"
#include "support/gl_window.h"

namespace {

Point2 scaled(const Point2& p) { return Point2{viewScale * p.x, viewScale * p.y}; }

Point2 lerp(const Point2& a, const Point2& b, double f) { return Point2{a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)}; }

// Draws the frame that shows index i of scene `key` (one step from i - 1).
Frame showIndex(char key, int i) {
    selectScene(key);
    int& counter = key == '1' ? stepScene1 : stepScene23;
    if (i == 0) {
        directionKey = 'D';  // stepping back from 0 stays at 0
        counter = 0;
    } else {
        counter = i - 1;
    }
    display();
    EXPECT_EQ(counter, i);
    const auto failures = frameInvariantFailures();
    EXPECT_TRUE(failures.empty()) << failures.front();
    return readFrame();
}

class InvoluteScenes : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        viewScale = 0.5;
    }
};

TEST_F(InvoluteScenes, FixedCircleShowsStringAndDotsAtTheTablePoints) {
    for (int i : {0, 1, 60, 150, 400}) {
        SCOPED_TRACE(i);
        const Frame f = showIndex('1', i);
        const Point2 tangency = scaled(tangentTable[i]);
        const Point2 end = scaled(involuteTable[i]);
        if (std::fabs(end.x) < 0.97 && std::fabs(end.y) < 0.97) {
            EXPECT_TRUE(dotAt(f, end, Shade::Red));
        }
        EXPECT_TRUE(dotAt(f, tangency, Shade::Red));
        if (i > 20 && i < 200) {
            for (double s : {0.3, 0.7}) {
                EXPECT_GT(countShade(f, lerp(tangency, end, s), 1, Shade::Red), 0) << "string";
                EXPECT_GT(countShade(f, lerp(origin, tangency, s), 1, Shade::Red), 0) << "radius";
            }
        }
        EXPECT_EQ(classify(f.at(3, 3)), Shade::White);
        EXPECT_EQ(classify(f.at(796, 796)), Shade::White);
    }
}

TEST_F(InvoluteScenes, TraceIsRedUpToTheIndexAndGreenBeyond) {
    const Frame f = showIndex('1', 100);
    const Point2 traced = scaled(involuteTable[50]);
    const Point2 ahead = scaled(involuteTable[160]);
    EXPECT_GT(countShade(f, traced, 1, Shade::Red), 0);
    EXPECT_EQ(countShade(f, traced, 1, Shade::Green), 0);
    EXPECT_GT(countShade(f, ahead, 1, Shade::Green), 0);
    EXPECT_EQ(countShade(f, ahead, 1, Shade::Red), 0);
}

TEST_F(InvoluteScenes, CountersSaturateAtBothEnds) {
    selectScene('1');
    stepScene1 = 400;
    display();
    display();
    EXPECT_EQ(stepScene1, 400);
    directionKey = 'D';
    display();
    EXPECT_EQ(stepScene1, 399);
    stepScene23 = 0;
    sceneKey = '2';
    display();
    EXPECT_EQ(stepScene23, 0);
    EXPECT_EQ(driveAngle, 0.0);
    // At index 0 both dots sit on the top of the base circle.
    const Frame f = showIndex('1', 0);
    EXPECT_TRUE(dotAt(f, Point2{0.0, viewScale * baseRadius}, Shade::Red));
}

TEST_F(InvoluteScenes, TurningCircleKeepsTheStringOnTheLineThroughTheTop) {
    const double h = viewScale * baseRadius;
    for (int i : {1, 50, 150, 300, 400}) {
        SCOPED_TRACE(i);
        const Frame f = showIndex('2', i);
        EXPECT_DOUBLE_EQ(driveAngle, i * stepAngle);
        const double length = h * i * stepAngle;  // the string grows to the left
        EXPECT_TRUE(dotAt(f, Point2{0.0, h}, Shade::Red));
        if (length < 0.97) {
            EXPECT_TRUE(dotAt(f, Point2{-length, h}, Shade::Red));
        }
        for (double s : {0.25, 0.5, 0.75}) {
            if (s * length > 0.02 && s * length < 0.97) {
                EXPECT_GT(countShade(f, Point2{-s * length, h}, 0, Shade::Red), 0) << s;
                EXPECT_EQ(countShade(f, Point2{-s * length, h + 0.01}, 0, Shade::Red), 0) << s;
            }
        }
    }
}

TEST_F(InvoluteScenes, RollingCircleBringsEveryInvoluteDotToTheArrowTip) {
    const double h = viewScale * baseRadius;
    for (int i : {0, 1, 150, 400}) {
        SCOPED_TRACE(i);
        const Frame f = showIndex('3', i);
        EXPECT_TRUE(dotAt(f, Point2{0.0, h}, Shade::Red)) << "involute dot off the arrow tip";
        const double contact = h * i * stepAngle;  // tangency dot moves right along the edge
        if (contact < 0.97) {
            EXPECT_TRUE(dotAt(f, Point2{contact, h}, Shade::Red));
        }
        EXPECT_GT(countShade(f, Point2{-0.15, h}, 1, Shade::Blue), 0) << "arrow shaft";
    }
}

TEST_F(InvoluteScenes, ZoomScalesGeometryButNotDots) {
    viewScale = 0.5 / 0.9 / 0.9;
    const Frame f = showIndex('3', 100);
    const double h = viewScale * baseRadius;
    EXPECT_TRUE(dotAt(f, Point2{0.0, h}, Shade::Red));
    EXPECT_GT(countShade(f, Point2{0.5, h}, 0, Shade::Red), 0) << "edge moved with the zoom";
    // The dot keeps its 4-pixel radius.
    EXPECT_EQ(countShade(f, Point2{0.02, h - 0.006}, 1, Shade::Red), 0);
}

TEST_F(InvoluteScenes, NonSquareWindowStretchesTheCircle) {
    resizeTestWindow(800, 400);
    showIndex('1', 1);
    const Frame f = showIndex('1', 1);
    ASSERT_EQ(f.height, 400);
    const double r = viewScale * baseRadius;  // 188 px across, 94 px up
    const double d = r * std::sqrt(0.5);
    auto redNear = [&](int x, int y) {
        int n = 0;
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                n += classify(f.at(x + dx, y + dy)) == Shade::Red ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(redNear(400 + static_cast<int>(d * 400), 200 - static_cast<int>(d * 200)), 0);
    EXPECT_EQ(redNear(400 + static_cast<int>(d * 400), 200 - static_cast<int>(d * 400)), 0);
    resizeTestWindow(800, 800);
}

}  // namespace
