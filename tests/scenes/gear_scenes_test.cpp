// The belt scene, the meshing scenes and the gear pair's scenes 7 to 9 on
// real Mesa.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "app/pair_state.h"
#include "pair/cutting/cutting.h"
#include "scenes/display.h"
#include "scenes/scene_readout.h"
#include "scenes/scenes.h"
#include "support/gl_window.h"

// Every C++ allocation of this process is counted, so that a test can tell
// that a frame allocates nothing. The whole family of plain and array
// operators is replaced, so that every delete meets the new it belongs to.
namespace {
std::atomic<long> allocations{0};

void* counted(std::size_t size) noexcept {
    ++allocations;
    return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = counted(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = counted(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

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

std::string readoutOf(double cssPxPerWindowPx) {
    char lines[1024];
    ReadoutText text{lines, sizeof lines, 0};
    writeReadout(text, cssPxPerWindowPx);
    return lines;
}

std::string announcementOf(char key) {
    char sentence[256];
    ReadoutText text{sentence, sizeof sentence, 0};
    writeAnnouncement(text, key);
    return sentence;
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

// The demonstration gear worked by hand: rb = cos 20° = 0.93969 mm, so a
// roll or drive angle of 0.6 rad (34.38°) unwinds 0.56382 mm, 1 rad (57.30°)
// 0.93969 mm, and the span is 2 rb = 1.87939 mm; the zoom 0.5 of the 800-px
// window's 400 px per unit is 200 px per mm, 100 in a picture half as wide.
TEST_F(GearScenes, ReadoutSaysTheStateWorkedByHand) {
    showAngle('4', 0.6 - stepAngle);
    EXPECT_EQ(readoutOf(1.0), "scene 4: crossed belt between two base circles\n"
                              "drive angle 0.60 rad = 34.4°\n"
                              "dot         0.564 mm from the drive circle's tangency point, span 1.879 mm\n"
                              "zoom        viewScale 0.500 (1 mm = 200.0 px)");
    EXPECT_EQ(announcementOf('w'), "Scene 4, drive angle 34.4°, zoom 0.500.");
    showAngle('4', -0.5 - stepAngle);
    EXPECT_NE(readoutOf(0.5).find("dot         -0.470 mm from the drive circle's tangency point, span 1.879 mm "
                                  "(off the span)\nzoom        viewScale 0.500 (1 mm = 100.0 px)"),
              std::string::npos);
    selectScene('1');
    stepScene1 = 100;
    EXPECT_EQ(readoutOf(1.0), "scene 1: involute generation, base circle fixed\n"
                              "table index 100 of 400\n"
                              "roll angle  1.00 rad = 57.3°\n"
                              "string      0.940 mm unwound (base radius × roll angle)\n"
                              "zoom        viewScale 0.500 (1 mm = 200.0 px)");
    EXPECT_EQ(announcementOf('d'), "Scene 1, step 100 of 400, roll angle 57.3°.");
    stepScene1 = 0;
}

// The readout's numbers as JavaScript's toFixed writes them (node gives these):
// ties away from zero, where printf rounds to even; no -0; exponent form from 1e21.
TEST(Readout, NumbersRoundAsTheyAlwaysHave) {
    const struct {
        double x;
        int decimals;
        const char* said;
    } cases[] = {{0.125, 2, "0.13"}, {0.9375, 3, "0.938"}, {2.5, 0, "3"},    {9.5, 0, "10"},
                 {-9.5, 0, "-10"},   {-0.0, 3, "0.000"},   {-1e-4, 2, "-0.00"}, {0.1, 1, "0.1"},
                 {1e21, 3, "1e+21"}, {1.5e300, 1, "1.5e+300"}, {1.2345678901234568e21, 1, "1.2345678901234568e+21"}};
    for (const auto& c : cases) {
        char said[64];
        ReadoutText text{said, sizeof said, 0};
        appendFixed(text, c.x, c.decimals);
        EXPECT_STREQ(said, c.said) << c.x;
    }
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
        // The readout names every meeting, mm from the path's drive end at x = rb.
        const std::string lines = readoutOf(1.0);
        const size_t contact = lines.find("contact     ");
        ASSERT_NE(contact, std::string::npos) << lines;
        std::vector<double> said;
        for (const char* at = lines.c_str() + contact + 12;;) {
            char* end = nullptr;
            said.push_back(std::strtod(at, &end));
            if (end == at || std::strncmp(end, ", ", 2) != 0) {
                break;
            }
            at = end + 2;
        }
        for (double x : drive) {
            EXPECT_TRUE(std::any_of(said.begin(), said.end(), [&](double s) { return std::fabs(s - (baseRadius - x)) < 2e-3; }))
                << x << " in " << lines;
        }
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

// ---- Scenes 7 to 9 ----------------------------------------------------------------

PairInput makePair(int z1, int z2, double m = 1.0, double alphaDeg = 20.0, double x1 = 0.0, double x2 = 0.0) {
    PairInput pair;
    pair.z1 = z1;
    pair.z2 = z2;
    pair.m = m;
    pair.alphaDeg = alphaDeg;
    pair.x1 = x1;
    pair.x2 = x2;
    return pair;
}

// The pairs the scenes are looked at with: the default, a mid-size pair, the
// published shifted example, undercut and shifted small gears, the ends of
// the ranges of teeth and pressure angle.
const PairInput pairsShown[] = {
    makePair(10, 30),
    makePair(20, 50),
    makePair(12, 24, 3.0, 20.0, 0.6, 0.36),
    makePair(8, 30),
    makePair(8, 30, 1.0, 20.0, 0.6, 0.0),
    makePair(30, 40, 1.0, 10.0, 1.0, 1.0),
    makePair(12, 40, 1.0, 35.0, -0.2, 0.0),
    makePair(4, 400, 1.0, 20.0, 0.2, 0.0),
};

Point2 rotated(const Point2& p, double angle) {
    return Point2{p.x * std::cos(angle) - p.y * std::sin(angle), p.x * std::sin(angle) + p.y * std::cos(angle)};
}

double segmentDistance(const Point2& p, const Point2& a, const Point2& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Distance from p to the closed outline.
double outlineDistance(const Point2& p, const std::vector<Point2>& outline) {
    double best = INFINITY;
    for (size_t i = 0; i < outline.size(); ++i) {
        best = std::min(best, segmentDistance(p, outline[i], outline[(i + 1) % outline.size()]));
    }
    return best;
}

bool insideOutline(const Point2& p, const std::vector<Point2>& outline) {
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const Point2& a = outline[i];
        const Point2& b = outline[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x)) {
            inside = !inside;
        }
    }
    return inside;
}

// Pixels of exactly this colour (as Mesa writes a flat line or disc) in the
// square of half-size `half` around the point (window units).
int countColour(const Frame& f, Point2 point, int half, const unsigned char (&rgb)[3]) {
    const int cx = pixelX(f, point.x);
    const int cy = pixelY(f, point.y);
    int count = 0;
    for (int y = cy - half; y <= cy + half; ++y) {
        for (int x = cx - half; x <= cx + half; ++x) {
            if (x >= 0 && y >= 0 && x < f.width && y < f.height && std::equal(rgb, rgb + 3, f.at(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

bool inWindow(const Point2& w, double margin = 0.02) {
    return std::fabs(w.x) < 1.0 - margin && w.y > -1.0 + margin && w.y < 0.7;  // below the titles
}

const unsigned char redPixel[3] = {255, 0, 0};
const unsigned char bluePixel[3] = {0, 0, 255};
const unsigned char contactPixel[3] = {0, 115, 0};
const unsigned char keptPixel[3] = {115, 217, 115};

class PairScenes : public ::testing::Test {
protected:
    void SetUp() override {
        openTestWindow();
        keyboard('1', 0, 0);
        viewScale = 0.5;
        pairScenesEnabled = true;
    }
    void TearDown() override {
        pairScenesEnabled = false;
        keyboard('1', 0, 0);
    }
};

// Gear 1 turns by driveAngle, gear 2 back by driveAngle z1 / z2: every
// contact point of the moment lies on both outlines, where the picture shows
// its dot, and both outlines are drawn where they are.
TEST_F(PairScenes, Scene7ContactPointsLieOnBothOutlinesWhereTheyAreDrawn) {
    for (const PairInput& pair : pairsShown) {
        setActivePair(pair);
        SCOPED_TRACE(testing::Message() << pair.z1 << "/" << pair.z2 << " m " << pair.m << " alpha " << pair.alphaDeg
                                        << " x " << pair.x1 << "," << pair.x2);
        keyboard('7', 0, 0);
        int contactsSeen = 0;
        for (int steps : {0, 7, 23, 60}) {
            for (int i = 0; i < steps; ++i) {
                keyboard(i % 2 == 0 ? 'd' : 's', 0, 0);
            }
            if (steps == 60) {
                keyboard('D', 0, 0);  // backwards too
            }
            const Frame f = readFrame();
            const double drivenTurn = activePair.phase2 - driveAngle * pair.z1 / pair.z2;
            const Point2 c1 = pairSceneCentre(0);
            const Point2 c2 = pairSceneCentre(1);
            EXPECT_NEAR(c2.x - c1.x, activePair.numbers.a, 1e-9);
            const MeshMoment moment = meshAt(activeMesh, driveAngle);
            for (int i = 0; i < moment.count; ++i) {
                const Point2 p = pairContactPoint(moment.contact[i].s);
                const Point2 on1 = rotated(Point2{p.x - c1.x, p.y - c1.y}, -driveAngle);
                const Point2 on2 = rotated(Point2{p.x - c2.x, p.y - c2.y}, -drivenTurn);
                EXPECT_LT(outlineDistance(on1, activePair.outline[0].points), 2e-3 * pair.m) << steps;
                EXPECT_LT(outlineDistance(on2, activePair.outline[1].points), 2e-3 * pair.m) << steps;
                if (inWindow(pairSceneToWindow(p))) {
                    EXPECT_GE(countColour(f, pairSceneToWindow(p), 1, contactPixel), 5) << steps;
                    ++contactsSeen;
                }
            }
            // The outlines as drawn: a pixel of the gear's colour within one
            // pixel of each of its outline's points in the window, but where
            // the other gear or a dot covers it.
            for (int gear = 0; gear < 2; ++gear) {
                const std::vector<Point2>& outline = activePair.outline[gear].points;
                const Point2 centre = gear == 0 ? c1 : c2;
                const double turn = gear == 0 ? driveAngle : drivenTurn;
                int shown = 0;
                int drawn = 0;
                for (size_t i = 0; i < outline.size(); i += 7) {
                    const Point2 q = rotated(outline[i], turn);
                    const Point2 w = pairSceneToWindow(Point2{centre.x + q.x, centre.y + q.y});
                    if (!inWindow(w)) {
                        continue;
                    }
                    ++shown;
                    const int own = countColour(f, w, 1, gear == 0 ? redPixel : bluePixel);
                    const int other = countShade(f, w, 2, gear == 0 ? Shade::Blue : Shade::Red);
                    drawn += own > 0 || (gear == 0 && other > 0) ? 1 : 0;
                }
                // A gear a few pixels across (4 teeth beside 400) is a blot.
                if (pairSceneScale() * activePair.numbers.gear[gear].df * 200.0 > 20.0) {
                    ASSERT_GT(shown, 20);
                    EXPECT_GE(drawn * 100, shown * 97) << "gear " << gear + 1 << " at step " << steps;
                }
            }
            EXPECT_TRUE(frameInvariantFailures().empty());
        }
        EXPECT_GE(contactsSeen, 3);
    }
}

// The number of teeth in contact alternates between the whole numbers on
// either side of epsilonAlpha, and the dots move one base pitch per tooth.
TEST_F(PairScenes, Scene7HasEpsilonAlphaContactsOnAverage) {
    for (const PairInput& pair : {makePair(20, 50), makePair(12, 24, 3.0, 20.0, 0.6, 0.36), makePair(30, 40, 1.0, 10.0, 1.0, 1.0)}) {
        setActivePair(pair);
        const double epsilon = activePair.numbers.epsilonAlpha;
        SCOPED_TRACE(epsilon);
        const int samples = 2000;
        const double toothTurn = 2.0 * pi / pair.z1;
        long total = 0;
        for (int i = 0; i < samples; ++i) {
            driveAngle = toothTurn * (i + 0.5) / samples;
            const MeshMoment moment = meshAt(activeMesh, driveAngle);
            const int count = moment.count;
            EXPECT_TRUE(count == static_cast<int>(std::floor(epsilon)) || count == static_cast<int>(std::ceil(epsilon)));
            for (int j = 1; j < count; ++j) {
                EXPECT_NEAR(moment.contact[j].s - moment.contact[j - 1].s, activePair.numbers.pb, 1e-9);
            }
            total += count;
        }
        EXPECT_NEAR(static_cast<double>(total) / samples, epsilon, 2e-3);
        EXPECT_NEAR(activeMesh.end - activeMesh.start, activePair.numbers.ga, 1e-9);
    }
}

// w and W zoom about the pitch point: its dot stays on the same pixel while
// the gears' centres move away from it in proportion; each zoom thins the
// outlines anew to a quarter pixel, and frames at one zoom allocate nothing.
TEST_F(PairScenes, Scene7ZoomsAboutThePitchPointWithOutlinesToAQuarterPixel) {
    setActivePair(makePair(20, 50));
    keyboard('7', 0, 0);
    const Point2 pitch = pairSceneToWindow(Point2{0.0, 0.0});
    size_t previousPoints = 0;
    for (int presses = 0; presses <= 24; presses += 8) {
        SCOPED_TRACE(presses);
        keyboard('7', 0, 0);
        viewScale = 0.5;
        for (int i = 0; i < presses; ++i) {
            keyboard('W', 0, 0);
        }
        const Frame f = readFrame();
        const double k = pairSceneScale();
        EXPECT_NEAR(k, 1.5 / (activePair.numbers.a + activePair.numbers.gear[0].da / 2.0 +
                              activePair.numbers.gear[1].da / 2.0) * viewScale / 0.5, 1e-12);
        EXPECT_NEAR(pairSceneToWindow(Point2{0.0, 0.0}).x, pitch.x, 1e-12);
        EXPECT_TRUE(dotAt(f, pitch, Shade::Dark));
        const Point2 c1 = pairSceneToWindow(pairSceneCentre(0));
        EXPECT_NEAR(c1.x, pitch.x + k * pairSceneCentre(0).x, 1e-12);
        // Within a quarter pixel of the cut outline, with more points the
        // closer the view.
        const double quarter = 0.25 / (400.0 * k);
        for (int gear = 0; gear < 2; ++gear) {
            const std::vector<Point2>& drawn = pairSceneOutline(gear);
            ASSERT_GT(drawn.size(), 3u);
            EXPECT_EQ(drawn.front().x, drawn.back().x);
            EXPECT_EQ(drawn.front().y, drawn.back().y);
            double worst = 0.0;
            for (const Point2& p : activePair.outline[gear].points) {
                worst = std::max(worst, outlineDistance(p, drawn));
            }
            EXPECT_LE(worst, quarter * 1.0001) << "gear " << gear + 1;
        }
        EXPECT_GT(pairSceneOutline(1).size(), previousPoints);
        previousPoints = pairSceneOutline(1).size();
        const long before = allocations.load();
        for (int i = 0; i < 10; ++i) {
            keyboard(i == 5 ? 'D' : 's', 0, 0);
        }
        EXPECT_EQ(allocations.load(), before) << "a frame of scene 7 allocated";
    }
}

PairInput makeRing(int z1, int z2, double x1, double x2, int cutter = 0) {
    PairInput pair = makePair(z1, z2, 1.0, 20.0, x1, x2);
    pair.kind = PairKind::internal;
    pair.cutterTeeth = cutter;
    return pair;
}

PairInput makeRack(int z1, double m, double x1, double alphaDeg = 20.0) {
    PairInput pair = makePair(z1, 30, m, alphaDeg, x1, 0.0);
    pair.kind = PairKind::rack;
    return pair;
}

// The rings and racks the scenes are looked at with: the handbook's three
// rings of 50 teeth (working pressure angles of 20, 32 and 61 degrees), a
// ring with few teeth, the handbook's rack pair, an undercut pinion on a rack
// and a steep rack.
const PairInput otherKindsShown[] = {
    makeRing(42, 50, 0.0, 0.01), makeRing(46, 50, 0.0, 0.3), makeRing(49, 50, 0.0, 1.0), makeRing(12, 24, 0.0, 0.5),
    makeRack(12, 3.0, 0.6),      makeRack(8, 1.0, 0.0),      makeRack(20, 1.0, 0.0, 30.0),
};

// A point of gear i's own frame where scene 7 puts it now, mm from C.
Point2 placed(int gear, const Point2& p) {
    const ScenePlacement at = pairScenePlacement(gear);
    const Point2 q = rotated(p, at.turn);
    return Point2{at.origin.x + q.x, at.origin.y + q.y};
}

// A point of scene 7 (mm from C) in gear i's own frame; for the rack, moved
// by whole pitches to within half a pitch of its middle space.
Point2 ownFrame(int gear, const Point2& p) {
    const ScenePlacement at = pairScenePlacement(gear);
    Point2 q = rotated(Point2{p.x - at.origin.x, p.y - at.origin.y}, -at.turn);
    if (gear == 1 && activePair.input.kind == PairKind::rack) {
        const double pitch = pi * activePair.input.m;
        q.x -= std::round(q.x / pitch) * pitch;
    }
    return q;
}

// A ring turns with its pinion by z1 / z2 of its angle, a rack slides by r1
// times it, under the pinion's reference circle; every contact point of the
// moment lies on both outlines, where the picture shows its dot, and both
// gears are drawn where they are.
TEST_F(PairScenes, Scene7TurnsRingAndRackByTheirRulesWithContactsOnBothOutlines) {
    for (const PairInput& pair : otherKindsShown) {
        setActivePair(pair);
        const bool rack = pair.kind == PairKind::rack;
        SCOPED_TRACE(testing::Message() << (rack ? "rack " : "ring ") << pair.z1 << "/" << pair.z2 << " m " << pair.m
                                        << " x " << pair.x1 << "," << pair.x2);
        keyboard('7', 0, 0);
        int contactsSeen = 0;
        for (int steps : {0, 9, 31, 60}) {
            for (int i = 0; i < steps; ++i) {
                keyboard(i % 2 == 0 ? 'd' : 's', 0, 0);
            }
            if (steps == 60) {
                keyboard('D', 0, 0);
            }
            const Frame f = readFrame();
            const double r1 = pair.m * pair.z1 / 2.0;
            if (rack) {
                EXPECT_NEAR(pairScenePlacement(1).origin.x - pairSceneCentre(1).x, r1 * driveAngle, 1e-12);
                EXPECT_NEAR(pairScenePlacement(1).origin.y, -pair.x1 * pair.m, 1e-12);  // the datum line
                EXPECT_NEAR(pairSceneCentre(0).y, r1, 1e-9);  // the reference circle touches the rolling line at C
            } else {
                // The pair's own frame (the ring's centre at (a, 0)) turned a half
                // turn, the mesh on the right.
                EXPECT_NEAR(pairScenePlacement(1).turn, pi + activePair.phase2 + driveAngle * pair.z1 / pair.z2, 1e-12);
                const Point2 c1 = pairSceneCentre(0);
                const Point2 c2 = pairSceneCentre(1);
                EXPECT_NEAR(c1.x - c2.x, activePair.numbers.a, 1e-9);
                EXPECT_LT(c1.x, 0.0);  // C beyond the pinion's centre, seen from the ring's
            }
            EXPECT_NEAR(pairScenePlacement(0).turn - (rack ? 0.0 : pi), driveAngle, 1e-12);
            const MeshMoment moment = meshAt(activeMesh, driveAngle);
            for (int i = 0; i < moment.count; ++i) {
                const Point2 p = pairContactPoint(moment.contact[i].s);
                EXPECT_LT(outlineDistance(ownFrame(0, p), activePair.outline[0].points), 2e-3 * pair.m) << steps;
                EXPECT_LT(outlineDistance(ownFrame(1, p), activePair.outline[1].points), 2e-3 * pair.m) << steps;
                if (inWindow(pairSceneToWindow(p))) {
                    EXPECT_GE(countColour(f, pairSceneToWindow(p), 1, contactPixel), 5) << steps;
                    ++contactsSeen;
                }
            }
            for (int gear = 0; gear < 2; ++gear) {
                // The rack's straight flanks are single segments: points along them.
                std::vector<Point2> outline;
                const std::vector<Point2>& own = activePair.outline[gear].points;
                for (size_t i = 0; i < own.size(); i += gear == 1 && rack ? 1 : 7) {
                    const Point2& next = own[(i + 1) % own.size()];
                    for (double t : {0.0, 0.25, 0.5, 0.75}) {
                        outline.push_back(Point2{own[i].x + t * (next.x - own[i].x), own[i].y + t * (next.y - own[i].y)});
                        if (!(gear == 1 && rack)) {
                            break;
                        }
                    }
                }
                int shown = 0;
                int drawn = 0;
                for (size_t i = 0; i < outline.size(); ++i) {
                    Point2 q = outline[i];
                    if (gear == 1 && rack) {  // the rack as drawn: its pitches around C
                        const double slide = pairScenePlacement(1).origin.x;
                        q.x -= std::round(slide / (pi * pair.m)) * pi * pair.m;
                    }
                    const Point2 w = pairSceneToWindow(placed(gear, q));
                    if (!inWindow(w)) {
                        continue;
                    }
                    ++shown;
                    const int mine = countColour(f, w, 1, gear == 0 ? redPixel : bluePixel);
                    const int other = countShade(f, w, 2, gear == 0 ? Shade::Blue : Shade::Red);
                    drawn += mine > 0 || (gear == 0 && other > 0) ? 1 : 0;
                }
                ASSERT_GT(shown, 20) << "gear " << gear + 1;
                EXPECT_GE(drawn * 100, shown * 97) << "gear " << gear + 1 << " at step " << steps;
            }
            EXPECT_TRUE(frameInvariantFailures().empty());
        }
        EXPECT_GE(contactsSeen, 3);
    }
}

// The contact points are epsilonAlpha on average in these kinds too, a base
// pitch apart, over the path of contact ga.
TEST_F(PairScenes, Scene7HasEpsilonAlphaContactsOnAverageInRingsAndRacks) {
    for (const PairInput& pair : otherKindsShown) {
        setActivePair(pair);
        const double epsilon = activePair.numbers.epsilonAlpha;
        SCOPED_TRACE(epsilon);
        EXPECT_NEAR(activeMesh.end - activeMesh.start, activePair.numbers.ga, 1e-9);
        if (activePair.numbers.gear[0].undercut || activePair.numbers.gear[0].interference ||
            activePair.numbers.gear[1].interference) {
            continue;  // fewer: the flanks are not involutes all along the path
        }
        const int samples = 2000;
        long total = 0;
        for (int i = 0; i < samples; ++i) {
            driveAngle = 2.0 * pi / pair.z1 * (i + 0.5) / samples;
            total += meshAt(activeMesh, driveAngle).count;
        }
        EXPECT_NEAR(static_cast<double>(total) / samples, epsilon, 2e-3);
    }
}

// w and W zoom the ring's pair about the pitch point too; frames of scene 7
// for a ring and a rack, and of scene 9, allocate nothing.
TEST_F(PairScenes, RingAndRackZoomAboutThePitchPointAndFramesAllocateNothing) {
    setActivePair(makeRing(42, 50, 0.0, 0.01));
    keyboard('7', 0, 0);
    const Point2 pitch = pairSceneToWindow(Point2{0.0, 0.0});
    EXPECT_NEAR(pairSceneToWindow(pairSceneCentre(1)).x, 0.0, 1e-12);  // the ring in the middle
    for (int presses : {0, 8, 16}) {
        SCOPED_TRACE(presses);
        keyboard('7', 0, 0);
        viewScale = 0.5;
        for (int i = 0; i < presses; ++i) {
            keyboard('W', 0, 0);
        }
        const Frame f = readFrame();
        EXPECT_NEAR(pairSceneToWindow(Point2{0.0, 0.0}).x, pitch.x, 1e-12);
        EXPECT_TRUE(dotAt(f, pitch, Shade::Dark));
        const double k = pairSceneScale();
        const double quarter = 0.25 / (400.0 * k);
        double worst = 0.0;
        for (const Point2& p : activePair.outline[1].points) {
            worst = std::max(worst, outlineDistance(p, pairSceneOutline(1)));
        }
        EXPECT_LE(worst, quarter * 1.0001) << "the ring";
        const long before = allocations.load();
        for (int i = 0; i < 10; ++i) {
            keyboard(i == 5 ? 'D' : 's', 0, 0);
        }
        EXPECT_EQ(allocations.load(), before) << "a frame of scene 7 allocated";
    }
    for (char scene : {'9', '7'}) {
        if (scene == '7') {
            setActivePair(makeRack(12, 3.0, 0.6));
        }
        keyboard(static_cast<unsigned char>(scene), 0, 0);
        keyboard('W', 0, 0);
        const long before = allocations.load();
        for (int i = 0; i < 10; ++i) {
            keyboard(i == 5 ? 'D' : 's', 0, 0);
        }
        EXPECT_EQ(allocations.load(), before) << "a frame of scene " << scene << " allocated";
    }
}

// Scene 8 in the blank's frame: the blue rack stands where rackOutlineAt
// puts it, the red outline is turned with the blank, and the rack positions
// kept on the blank (green) reach the outline but never into the gear's
// material, whose boundary they envelop.
TEST_F(PairScenes, Scene8RackPositionsEnvelopTheToothAndNeverCutIntoIt) {
    for (const PairInput& pair : {makePair(8, 30), makePair(8, 30, 1.0, 20.0, 0.6, 0.0), makePair(20, 50),
                                  makePair(12, 40, 1.0, 35.0, -0.2, 0.0)}) {
        setActivePair(pair);
        SCOPED_TRACE(testing::Message() << pair.z1 << " teeth x1 " << pair.x1 << " alpha " << pair.alphaDeg);
        keyboard('8', 0, 0);
        for (int i = 0; i < 199; ++i) {
            keyboard('s', 0, 0);
        }
        const long before = allocations.load();
        keyboard('s', 0, 0);
        EXPECT_EQ(allocations.load(), before) << "a frame of scene 8 allocated";
        const Frame f = readFrame();
        const double k = 2.0 / (3.0 * pi * pair.m) * viewScale / 0.5;
        const double r = pair.m * pair.z1 / 2.0;
        const Point2 blank{0.0, -(r + pair.x1 * pair.m)};
        auto toWindow = [&](const Point2& p) { return Point2{k * (blank.x + p.x), k * (blank.y + p.y)}; };
        const double turn = pi / 2.0 + driveAngle;

        std::vector<Point2> rack;
        rackOutlineAt(activePair.numbers.section, 0, turn, 5, rack);
        int shown = 0;
        int drawn = 0;
        for (size_t i = 1; i < rack.size(); ++i) {
            for (double t : {0.1, 0.3, 0.5, 0.7, 0.9}) {
                const Point2 w = toWindow(Point2{rack[i - 1].x + t * (rack[i].x - rack[i - 1].x),
                                                 rack[i - 1].y + t * (rack[i].y - rack[i - 1].y)});
                if (inWindow(w)) {
                    ++shown;
                    drawn += countColour(f, w, 1, bluePixel) > 0 ? 1 : 0;
                }
            }
        }
        ASSERT_GT(shown, 20);
        EXPECT_GE(drawn * 100, shown * 97) << "the rack";

        const std::vector<Point2>& outline = activePair.outline[0].points;
        shown = 0;
        drawn = 0;
        for (size_t i = 0; i < outline.size(); i += 5) {
            const Point2 w = toWindow(rotated(outline[i], turn));
            if (inWindow(w)) {
                ++shown;
                drawn += countColour(f, w, 1, redPixel) + countColour(f, w, 1, bluePixel) > 0 ? 1 : 0;
            }
        }
        ASSERT_GT(shown, 30);
        EXPECT_GE(drawn * 100, shown * 97) << "the outline";

        // Every green pixel, taken back into the gear's frame, lies outside
        // the gear's material or within two pixels of its outline.
        const double twoPixels = 2.0 / (400.0 * k);
        int green = 0;
        int inMaterial = 0;
        int touching = 0;
        for (int y = 0; y < pixelY(f, 0.7); ++y) {
            for (int x = 0; x < f.width; ++x) {
                if (!std::equal(keptPixel, keptPixel + 3, f.at(x, y))) {
                    continue;
                }
                ++green;
                const Point2 w{(x + 0.5) / f.width * 2.0 - 1.0, (y + 0.5) / f.height * 2.0 - 1.0};
                const Point2 q = rotated(Point2{w.x / k - blank.x, w.y / k - blank.y}, -turn);
                if (insideOutline(q, outline)) {
                    (outlineDistance(q, outline) <= twoPixels ? touching : inMaterial) += 1;
                } else if (touching < 200 && outlineDistance(q, outline) <= twoPixels) {
                    ++touching;
                }
            }
        }
        EXPECT_GT(green, 3000);
        EXPECT_GT(touching, 100) << "the kept positions do not reach the outline";
        EXPECT_EQ(inMaterial, 0) << "kept rack positions cut into the tooth";
        EXPECT_TRUE(frameInvariantFailures().empty());
    }
}

// The run of a closed outline (counter-clockwise about (0, 0)) within
// `span` rad either side of the direction `middle`, in its own order, closed
// through the centre: a polygon that holds the outline's inside there.
std::vector<Point2> sectorOf(const std::vector<Point2>& outline, double middle, double span) {
    auto off = [&](size_t i) { return std::fabs(std::remainder(std::atan2(outline[i].y, outline[i].x) - middle, 2.0 * pi)); };
    const size_t n = outline.size();
    size_t nearest = 0;
    for (size_t i = 1; i < n; ++i) {
        nearest = off(i) < off(nearest) ? i : nearest;
    }
    size_t first = nearest;
    size_t count = 1;
    while (count < n && off((first + n - 1) % n) < span) {
        first = (first + n - 1) % n;
        ++count;
    }
    while (count < n && off((first + count) % n) < span) {
        ++count;
    }
    std::vector<Point2> sector;
    for (size_t i = 0; i < count; ++i) {
        sector.push_back(outline[(first + i) % n]);
    }
    sector.push_back(Point2{0.0, 0.0});
    return sector;
}

// Scene 9 in the ring's frame: the red ring turns with driveAngle, and the
// cutter positions kept on it (green) fill its spaces up to the outline but
// never reach into its material, between the toothed outline and the rim.
TEST_F(PairScenes, Scene9CutterPositionsEnvelopTheRingAndNeverCutIntoIt) {
    for (const PairInput& pair : {makeRing(42, 50, 0.0, 0.01), makeRing(46, 50, 0.0, 0.3), makeRing(12, 24, 0.0, 0.5)}) {
        setActivePair(pair);
        SCOPED_TRACE(testing::Message() << pair.z1 << "/" << pair.z2 << " x2 " << pair.x2);
        keyboard('9', 0, 0);
        ASSERT_EQ(sceneKey, '9');
        for (int i = 0; i < 99; ++i) {
            keyboard('s', 0, 0);
        }
        const long before = allocations.load();
        keyboard('s', 0, 0);
        EXPECT_EQ(allocations.load(), before) << "a frame of scene 9 allocated";
        const Frame f = readFrame();
        const GearNumbers& g2 = activePair.numbers.gear[1];
        const double k = 2.0 / (3.0 * pi * pair.m) * viewScale / 0.5;
        const Point2 ring{0.0, -(g2.da + g2.df) / 4.0};
        auto toWindow = [&](const Point2& p) { return Point2{k * (ring.x + p.x), k * (ring.y + p.y)}; };
        const double turn = pi / 2.0 - pi / pair.z2 + driveAngle;  // the ring's space at pi / z2 to the top

        const std::vector<Point2>& outline = activePair.outline[1].points;
        int shown = 0;
        int drawn = 0;
        for (size_t i = 0; i < outline.size(); i += 3) {
            const Point2 w = toWindow(rotated(outline[i], turn));
            if (inWindow(w)) {
                ++shown;
                drawn += countColour(f, w, 1, redPixel) + countColour(f, w, 1, bluePixel) > 0 ? 1 : 0;
            }
        }
        ASSERT_GT(shown, 30);
        EXPECT_GE(drawn * 100, shown * 97) << "the ring";

        double rim = 0.0;
        for (const Point2& p : activePair.rim.points) {
            rim = std::max(rim, std::hypot(p.x, p.y));
        }
        const double twoPixels = 2.0 / (400.0 * k);
        // Only the ring's part about the top of the window, every other pixel.
        const std::vector<Point2> sector =
            sectorOf(outline, pi / 2.0 - turn, std::min(1.0 / k / (g2.da / 2.0) + 4.0 * pi / pair.z2, pi));
        int green = 0;
        int inMaterial = 0;
        int touching = 0;
        for (int y = 0; y < pixelY(f, 0.7); y += 2) {
            for (int x = 0; x < f.width; x += 2) {
                if (!std::equal(keptPixel, keptPixel + 3, f.at(x, y))) {
                    continue;
                }
                ++green;
                const Point2 w{(x + 0.5) / f.width * 2.0 - 1.0, (y + 0.5) / f.height * 2.0 - 1.0};
                const Point2 q = rotated(Point2{w.x / k - ring.x, w.y / k - ring.y}, -turn);
                const bool material = !insideOutline(q, sector) && std::hypot(q.x, q.y) < rim;
                const bool near = outlineDistance(q, sector) <= twoPixels;
                if (material && !near) {
                    ++inMaterial;
                } else if (near) {
                    ++touching;
                }
            }
        }
        EXPECT_GT(green, 750);
        EXPECT_GT(touching, 25) << "the kept positions do not reach the outline";
        EXPECT_EQ(inMaterial, 0) << "kept cutter positions cut into the ring";
        EXPECT_TRUE(frameInvariantFailures().empty());
    }
}

}  // namespace
