#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "app/console.h"
#include "app/state.h"
#include "geometry/gear_setup.h"
#include "support/expected_report.h"

namespace {

// Runs `run` (setupGear by default) with standard output captured.
std::string captureSetup(void (*run)() = setupGear) {
    fflush(stdout);
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const int saved = dup(1);
    dup2(fds[1], 1);
    run();
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
    close(fds[1]);
    std::string out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    return out;
}

void expectNear(const Point2& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-6);
    EXPECT_NEAR(p.y, y, 1e-6);
}

}  // namespace

TEST(GearSetup, TablesMatchReferenceValues) {
    selectConsoleCodeset("UTF-8");
    captureSetup();
    EXPECT_NEAR(baseRadius, 0.9396926208, 1e-10);
    EXPECT_EQ(involuteLastIndex, 400);
    EXPECT_EQ(flankLastIndex, 252);
    EXPECT_EQ(toothCount, 10);
    expectNear(tangentTable[0], 0.0, 0.939693);
    expectNear(involuteTable[0], 0.0, 0.939693);
    expectNear(tangentTable[100], 0.790724, 0.507718);
    expectNear(involuteTable[100], 0.283006, 1.298442);
    expectNear(tangentTable[252], 0.547212, -0.763925);
    expectNear(involuteTable[252], 2.472303, 0.615049);
    expectNear(tangentTable[400], -0.711162, -0.614224);
    expectNear(involuteTable[400], 1.745735, -3.458871);
    EXPECT_NEAR(std::hypot(involuteTable[251].x, involuteTable[251].y), 2.538927, 1e-6);
    EXPECT_NEAR(std::hypot(involuteTable[252].x, involuteTable[252].y), 2.547659, 1e-6);
}

TEST(GearSetup, EveryEntryIsATautStringTangentToTheBaseCircle) {
    selectConsoleCodeset("UTF-8");
    captureSetup();
    const double r = baseRadius;
    double lastDistance = 0.0;
    for (int i = 0; i <= involuteLastIndex; ++i) {
        const double t = i * stepAngle;
        const Point2& tangency = tangentTable[i];
        const Point2& end = involuteTable[i];
        SCOPED_TRACE(i);
        EXPECT_NEAR(std::hypot(tangency.x, tangency.y), r, 1e-12);
        // Angle from +y towards +x is the roll angle: clockwise unwinding.
        EXPECT_NEAR(tangency.x, r * std::sin(t), 1e-12);
        const Point2 string{end.x - tangency.x, end.y - tangency.y};
        EXPECT_NEAR(string.x * tangency.x + string.y * tangency.y, 0.0, 1e-12);  // perpendicular to the radius
        EXPECT_NEAR(std::hypot(string.x, string.y), r * t, 1e-12);             // length = arc unwound
        const double distance = std::hypot(end.x, end.y);
        if (i > 0) {
            EXPECT_GT(distance, lastDistance);
        }
        lastDistance = distance;
    }
}

TEST(GearSetup, RerunRestoresAnimationStateAndIdenticalTables) {
    selectConsoleCodeset("UTF-8");
    captureSetup();
    Point2 before[tableCapacity];
    std::memcpy(before, involuteTable, sizeof before);
    viewScale = 0.1;
    directionKey = 'D';
    stepScene1 = 17;
    stepScene23 = 300;
    driveAngle = 1.25;
    captureSetup();
    EXPECT_EQ(std::memcmp(before, involuteTable, sizeof before), 0);
    EXPECT_EQ(viewScale, 0.5);
    EXPECT_EQ(directionKey, 'd');
    EXPECT_EQ(stepScene1, 0);
    EXPECT_EQ(stepScene23, 0);
    EXPECT_EQ(driveAngle, 1.25);  // left alone: every scene that uses it resets it
}

TEST(GearSetup, ComputingPrintsNothingAndTheReportIsPrintedFromItsNumbers) {
    selectConsoleCodeset("UTF-8");
    captureSetup();
    Point2 before[tableCapacity];
    std::memcpy(before, involuteTable, sizeof before);
    viewScale = 0.1;
    static DemoGear gear{};
    EXPECT_EQ(captureSetup([] { gear = computeDemoGear(); }), "");
    EXPECT_EQ(std::memcmp(before, involuteTable, sizeof before), 0);
    EXPECT_EQ(viewScale, 0.5);
    // ra = 2, rf = -0.25, tan 60 degrees and 1.25 tan 20 degrees.
    EXPECT_EQ(gear.ra, 2.0);
    EXPECT_EQ(gear.rf, -0.25);
    EXPECT_NEAR(gear.rollMax, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(gear.rollMin, 1.25 * 0.36397023426620234, 1e-12);
    EXPECT_EQ(captureSetup([] { printDemoGearReport(gear); }), expectedReport);
}

TEST(ConsoleReport, Utf8AndAsciiLocalesGetUtf8Bytes) {
    for (const char* codeset : {"UTF-8", "utf8", "ANSI_X3.4-1968"}) {
        selectConsoleCodeset(codeset);
        EXPECT_EQ(captureSetup(), expectedReport) << codeset;
    }
}

TEST(ConsoleReport, ShiftJisLocaleGetsCodePage932Bytes) {
    for (const char* codeset : {"SHIFT_JIS", "SJIS", "CP932"}) {
        selectConsoleCodeset(codeset);
        const std::string out = captureSetup();
        ASSERT_FALSE(expectedReportCp932().empty());
        EXPECT_EQ(out, expectedReportCp932()) << codeset;
        // Spot checks independent of any converter: full-width comma, colon,
        // digit one, and the Greek alpha.
        EXPECT_NE(out.find("\x81\x43"), std::string::npos);
        EXPECT_NE(out.find("\x81\x46"), std::string::npos);
        EXPECT_NE(out.find("\x82\x50\x91\xce"), std::string::npos);  // "１対"
        EXPECT_NE(out.find("(\x83\xbfmax \x83\xbfmin)=( 99.24 -26.07)[deg]\n"), std::string::npos);
    }
    selectConsoleCodeset("UTF-8");
}

TEST(ConsoleReport, CodesetWithoutTheCharactersFallsBackToUtf8) {
    selectConsoleCodeset("ISO-8859-1");
    EXPECT_EQ(captureSetup(), expectedReport);
    selectConsoleCodeset("NO-SUCH-CODESET");
    EXPECT_STREQ(consoleCodeset(), "UTF-8");
    EXPECT_EQ(captureSetup(), expectedReport);
    selectConsoleCodeset("UTF-8");
}
