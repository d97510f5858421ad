// keyboard straight from the tests: the state each key leaves, and random
// input under the sanitizers.
#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

#include "app/keyboard.h"
#include "app/pair_state.h"
#include "support/gl_window.h"

namespace {

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        keyboard('1', 0, 0);
        viewScale = 0.5;
    }
};

TEST_F(Keyboard, SceneKeysRestartWithDirectionForward) {
    keyboard('D', 0, 0);
    keyboard('w', 0, 0);
    driveAngle = 3.0;
    for (char key : {'2', '3', '4', '5', '6', '1'}) {
        directionKey = 'D';
        keyboard(static_cast<unsigned char>(key), 0, 0);
        EXPECT_EQ(sceneKey, key);
        EXPECT_EQ(directionKey, 'd');
        EXPECT_NEAR(viewScale, 0.45, 1e-15);  // a scene key keeps the zoom
        if (key >= '4') {
            EXPECT_DOUBLE_EQ(driveAngle, 0.01);  // one step already drawn
        }
    }
    EXPECT_EQ(stepScene1, 1);
}

TEST_F(Keyboard, DirectionAppliesToTheFrameItDraws) {
    keyboard('s', 0, 0);
    keyboard('s', 0, 0);
    EXPECT_EQ(stepScene1, 3);
    keyboard('D', 0, 0);
    EXPECT_EQ(stepScene1, 2);
    keyboard('4', 0, 0);
    keyboard('D', 0, 0);
    keyboard('D', 0, 0);
    EXPECT_NEAR(driveAngle, -0.01, 1e-15);  // no clamp in the belt scenes
}

TEST_F(Keyboard, ZoomRoundTripsAndUnknownKeysDoNothing) {
    for (int i = 0; i < 20; ++i) {
        keyboard('w', 0, 0);
    }
    for (int i = 0; i < 20; ++i) {
        keyboard('W', 0, 0);
    }
    EXPECT_NEAR(viewScale, 0.5, 1e-12);
    const int step = stepScene1;
    for (int key : {int{'Z'}, int{'S'}, int{'x'}, int{'q'}, 0, 255, 200, int{'7'}, int{'8'}, int{'9'}, int{'v'}, int{'0'}, int{' '}}) {
        keyboard(static_cast<unsigned char>(key), 0, 0);
    }
    EXPECT_EQ(stepScene1, step);
    EXPECT_EQ(sceneKey, '1');
}

TEST_F(Keyboard, RandomKeysKeepEveryInvariant) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> anyKey(0, 255);
    std::uniform_int_distribution<int> commandKey(0, 11);
    const char commands[] = "123456dDwWs";
    for (int n = 0; n < 4000; ++n) {
        // Half the keys are commands, so every scene sees many frames.
        int key = (n % 2 == 0) ? anyKey(random) : commands[commandKey(random) % 11];
        if (key == 27 || key == 'z') {
            continue;  // Esc ends the process; 'z' prints the report
        }
        keyboard(static_cast<unsigned char>(key), 0, 0);
        ASSERT_TRUE(sceneKey >= '1' && sceneKey <= '6') << n;
        ASSERT_TRUE(directionKey == 'd' || directionKey == 'D') << n;
        ASSERT_TRUE(stepScene1 >= 0 && stepScene1 <= involuteLastIndex) << n;
        ASSERT_TRUE(stepScene23 >= 0 && stepScene23 <= involuteLastIndex) << n;
        ASSERT_GT(viewScale, 0.0) << n;
        const auto failures = frameInvariantFailures();
        ASSERT_TRUE(failures.empty()) << n << ": " << failures.front();
    }
}

TEST_F(Keyboard, ZoomNeverLeavesThePositiveFiniteRange) {
    for (int i = 0; i < 8000; ++i) {
        keyboard('w', 0, 0);
    }
    EXPECT_GE(viewScale, DBL_MIN);
    for (int i = 0; i < 100; ++i) {
        keyboard('W', 0, 0);
    }
    EXPECT_GT(viewScale, DBL_MIN * 100);  // the way back still works
    for (int i = 0; i < 8000; ++i) {
        keyboard('W', 0, 0);
    }
    EXPECT_TRUE(std::isfinite(viewScale));
    ASSERT_TRUE(frameInvariantFailures().empty());
}

TEST_F(Keyboard, ResetAfterExtremeZoomGivesBackTheNormalPicture) {
    keyboard('1', 0, 0);
    const Frame normal = readFrame();
    for (int i = 0; i < 8000; ++i) {
        keyboard('W', 0, 0);
    }
    fflush(stdout);
    keyboard('z', 0, 0);
    EXPECT_EQ(viewScale, 0.5);
    EXPECT_EQ(sceneKey, '1');
    keyboard('s', 0, 0);
    const Frame after = readFrame();
    EXPECT_EQ(after.rgb, normal.rgb);
}

// Started with a pair, 7 and 8 (and 9 for an internal pair) are scene keys
// like 1 to 6; 'z' still goes back to scene 1 at the starting zoom without
// drawing.
class KeyboardWithPair : public Keyboard {
protected:
    void SetUp() override {
        Keyboard::SetUp();
        PairInput pair;
        pair.z1 = 8;
        pair.z2 = 30;
        setActivePair(pair);
        pairScenesEnabled = true;
    }
    void TearDown() override {
        pairScenesEnabled = false;
        keyboard('1', 0, 0);
    }
};

TEST_F(KeyboardWithPair, SevenAndEightChooseThePairScenesAndTurnByTheBeltRule) {
    keyboard('w', 0, 0);
    for (char key : {'7', '8', 'v'}) {
        directionKey = 'D';
        driveAngle = 3.0;
        keyboard(static_cast<unsigned char>(key), 0, 0);
        EXPECT_EQ(sceneKey, key);
        EXPECT_EQ(directionKey, 'd');
        EXPECT_DOUBLE_EQ(driveAngle, 0.01);  // one step already drawn
        EXPECT_NEAR(viewScale, 0.45, 1e-15);
        keyboard('D', 0, 0);
        keyboard('D', 0, 0);
        EXPECT_NEAR(driveAngle, -0.01, 1e-15);  // no clamp
        keyboard('s', 0, 0);
        EXPECT_NEAR(driveAngle, -0.02, 1e-15);
        EXPECT_TRUE(frameInvariantFailures().empty());
    }
    fflush(stdout);
    keyboard('z', 0, 0);
    EXPECT_EQ(sceneKey, '1');
    EXPECT_EQ(viewScale, 0.5);
}

TEST_F(KeyboardWithPair, NineIsIgnoredUnlessThePairIsInternal) {
    keyboard('8', 0, 0);
    const double angle = driveAngle;
    keyboard('9', 0, 0);
    EXPECT_EQ(sceneKey, '8');
    EXPECT_EQ(driveAngle, angle);  // no frame drawn either
    PairInput rack;
    rack.kind = PairKind::rack;
    rack.z1 = 12;
    setActivePair(rack);
    keyboard('9', 0, 0);
    EXPECT_EQ(sceneKey, '8');

    PairInput ring;
    ring.kind = PairKind::internal;
    ring.z1 = 42;
    ring.z2 = 50;
    ring.x2 = 0.01;
    setActivePair(ring);
    keyboard('w', 0, 0);
    directionKey = 'D';
    driveAngle = 3.0;
    keyboard('9', 0, 0);
    EXPECT_EQ(sceneKey, '9');
    EXPECT_EQ(directionKey, 'd');
    EXPECT_DOUBLE_EQ(driveAngle, 0.01);  // one step already drawn
    EXPECT_NEAR(viewScale, 0.45, 1e-15);
    keyboard('D', 0, 0);
    keyboard('D', 0, 0);
    EXPECT_NEAR(driveAngle, -0.01, 1e-15);
    EXPECT_TRUE(frameInvariantFailures().empty());
    // A pair of another kind (the page's form) takes scene 9 to scene 7.
    setActivePair(rack);
    EXPECT_EQ(sceneKey, '7');
    setActivePair(ring);
    keyboard('9', 0, 0);
    pairScenesEnabled = false;  // no pair: ignored like 7 and 8
    keyboard('1', 0, 0);
    keyboard('9', 0, 0);
    EXPECT_EQ(sceneKey, '1');
}

// Key p: scene 12, a planetary set's, only for one; its carrier turns by
// i times less than the sun (ring fixed), the frame drawn whatever the zoom.
TEST_F(KeyboardWithPair, PShowsAPlanetarySetTurningWithItsCarrier) {
    keyboard('7', 0, 0);
    keyboard('p', 0, 0);
    EXPECT_EQ(sceneKey, '7');  // an external pair has no scene 12
    PairInput set;
    set.kind = PairKind::planetary;
    set.z1 = 12;
    set.z2 = 24;
    set.z3 = 60;
    set.x1 = 0.4;
    set.x2 = 0.3;
    setActivePair(set);
    keyboard('p', 0, 0);
    EXPECT_EQ(sceneKey, 'p');
    EXPECT_DOUBLE_EQ(driveAngle, 0.01);
    const Frame frame = readFrame();
    // The sun's outline (red) about the centre, a planet's (dark green) about
    // its centre on +x (the rim spans 1.5 window units).
    const double k = 1.5 / (2.0 * outlineOuterRadius(activeSet.planetRing.rim));
    EXPECT_GT(countShade(frame, Point2{k * 7.0, 0.0}, 12, Shade::Red), 0);
    EXPECT_EQ(countShade(frame, Point2{k * activeSet.set.a, 0.0}, 20, Shade::Red), 0);
    const SetTurns turns = setTurns(set, 1.0);
    EXPECT_NEAR(turns.sun / turns.carrier, 6.0, 1e-12);
    EXPECT_EQ(turns.ring, 0.0);
    for (char zoom : {'w', 'W'}) {
        viewScale = zoom == 'w' ? DBL_MIN / 0.8 : DBL_MAX * 0.8;
        keyboard(static_cast<unsigned char>(zoom), 0, 0);
        const auto failures = frameInvariantFailures();
        ASSERT_TRUE(failures.empty()) << zoom << ": " << failures.front();
    }
    // Another kind takes scene 12 to scene 7.
    setActivePair(PairInput{});
    EXPECT_EQ(sceneKey, '7');
}

TEST_F(KeyboardWithPair, RandomKeysAndExtremeZoomKeepEveryInvariant) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> commandKey(0, 13);
    const char commands[] = "123456789dDwWs";
    for (int n = 0; n < 1500; ++n) {
        keyboard(static_cast<unsigned char>(commands[commandKey(random) % 14]), 0, 0);
        ASSERT_TRUE(sceneKey >= '1' && sceneKey <= '8') << n;  // 9 only for a ring
        const auto failures = frameInvariantFailures();
        ASSERT_TRUE(failures.empty()) << n << ": " << failures.front();
    }
    PairInput ring;
    ring.kind = PairKind::internal;
    ring.z1 = 42;
    ring.z2 = 50;
    ring.x2 = 0.01;
    setActivePair(ring);
    for (int n = 0; n < 400; ++n) {
        keyboard(static_cast<unsigned char>(commands[commandKey(random) % 14]), 0, 0);
        ASSERT_TRUE(sceneKey >= '1' && sceneKey <= '9') << n;
        const auto failures = frameInvariantFailures();
        ASSERT_TRUE(failures.empty()) << n << ": " << failures.front();
    }
    for (char scene : {'7', '8', '9'}) {
        for (char zoom : {'w', 'W'}) {
            keyboard(static_cast<unsigned char>(scene), 0, 0);
            viewScale = zoom == 'w' ? DBL_MIN / 0.8 : DBL_MAX * 0.8;  // where 8000 presses end
            keyboard(static_cast<unsigned char>(zoom), 0, 0);
            keyboard('s', 0, 0);
            const auto failures = frameInvariantFailures();
            ASSERT_TRUE(failures.empty()) << scene << zoom << ": " << failures.front();
        }
    }
}

}  // namespace
