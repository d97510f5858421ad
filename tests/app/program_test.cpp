// The real binary on the X server, driven by real key events.
#include <X11/Xatom.h>
#include <X11/keysym.h>
#include <chrono>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <locale.h>
#include <string>
#include <sys/wait.h>
#include <thread>

#include "support/expected_report.h"
#include "support/program.h"

namespace {

constexpr int startTimeoutMs = 20000;   // sanitizer builds on software GL start slowly
constexpr int frameTimeoutMs = 5000;
constexpr int settleMs = 400;           // long enough for an unwanted frame to show

const size_t reportBytes = strlen(expectedReport);

void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(settleMs)); }

unsigned pixel(const std::vector<unsigned>& image, int x, int y) { return image[static_cast<size_t>(y) * 800 + x]; }

bool isDark(unsigned rgb) { return ((rgb >> 16) & 0xFF) < 70 && ((rgb >> 8) & 0xFF) < 70 && (rgb & 0xFF) < 70; }

std::string windowProperty(Program& program, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(program.display, program.window, XInternAtom(program.display, name, False), 0, 4096, False,
                       AnyPropertyType, &type, &format, &items, &after, &data);
    std::string value = data != nullptr ? std::string(reinterpret_cast<char*>(data), items) : std::string();
    if (data != nullptr) {
        XFree(data);
    }
    return value;
}

class RunningProgram : public ::testing::Test {
protected:
    // Each test calls it as ASSERT_NO_FATAL_FAILURE(start()): a program that
    // shows no window ends the test with the reason, before anything reads
    // the window.
    void start(const std::vector<std::string>& environment = {"LC_ALL=C.UTF-8"}) {
        ASSERT_TRUE(startProgram(program, environment));
        ASSERT_TRUE(waitForWindow(program, startTimeoutMs)) << program.failure;
        // The report is flushed before the window is created, so all of it
        // is in the pipe by now.
        report = readOutput(program.outFd, 0, 0);
        first = waitForChange(program, std::vector<unsigned>(800 * 800, 0), frameTimeoutMs);
        settle();
        first = grabWindow(program);
    }
    void TearDown() override { stopProgram(program); }

    std::vector<unsigned> press(unsigned long keysym) {
        const std::vector<unsigned> before = grabWindow(program);
        pressKey(program, keysym);
        return waitForChange(program, before, frameTimeoutMs);
    }

    Program program;
    std::string report;
    std::vector<unsigned> first;
};

TEST_F(RunningProgram, ReportIsCompleteWhenTheTitledWindowAppears) {
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_EQ(report, expectedReport);
    int width = 0;
    int height = 0;
    grabWindow(program, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 800);
    EXPECT_EQ(windowProperty(program, "_NET_WM_NAME"), expectedTitle);
    EXPECT_EQ(windowProperty(program, "_NET_WM_ICON_NAME"), expectedTitle);
    // White background, and the first frame's title is already near-black.
    for (auto corner : {std::pair{3, 3}, std::pair{796, 3}, std::pair{3, 796}, std::pair{796, 796}}) {
        EXPECT_EQ(pixel(first, corner.first, corner.second), 0xFFFFFFu);
    }
    int darkTitlePixels = 0;
    for (int y = 40; y < 66; ++y) {
        for (int x = 30; x < 380; ++x) {
            darkTitlePixels += isDark(pixel(first, x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(darkTitlePixels, 300);
}

TEST_F(RunningProgram, ShiftJisTerminalGetsCodePage932) {
    locale_t sjis = newlocale(LC_CTYPE_MASK, "ja_JP.SJIS", nullptr);
    if (sjis == nullptr) {
        GTEST_SKIP() << "locale ja_JP.SJIS is not installed";
    }
    freelocale(sjis);
    ASSERT_NO_FATAL_FAILURE(start({"LC_ALL=ja_JP.SJIS"}));
    const std::string expected = expectedReportCp932();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(report, expected);
    // The title on the window is the same whatever the console's codeset.
    EXPECT_EQ(windowProperty(program, "_NET_WM_NAME"), expectedTitle);
}

TEST(ProgramWithoutDisplay, PrintsTheReportThenFailsInGlut) {
    Program program;
    ASSERT_TRUE(startProgram(program, {"DISPLAY=", "LC_ALL=C.UTF-8"}));
    const int status = waitForExit(program, startTimeoutMs);
    ASSERT_NE(status, -1) << "the program did not end";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_EQ(readOutput(program.outFd, reportBytes, 1000), expectedReport);
    EXPECT_NE(readOutput(program.errFd, 1, 1000).find("failed to open display"), std::string::npos);
    stopProgram(program);
}

TEST_F(RunningProgram, SceneKeysChangeThePictureAndUnknownKeysDrawNothing) {
    ASSERT_NO_FATAL_FAILURE(start());
    std::vector<unsigned> previous = first;
    for (unsigned long key : {XK_2, XK_3, XK_4, XK_5, XK_6, XK_1}) {
        const std::vector<unsigned> now = press(key);
        EXPECT_NE(now, previous) << "key " << static_cast<char>(key) << " left the picture unchanged";
        previous = now;
    }
    for (unsigned long key : {XK_x, XK_Z, XK_S, XK_q}) {
        pressKey(program, key);
        settle();
        EXPECT_EQ(grabWindow(program), previous) << "key " << static_cast<char>(key) << " drew a frame";
    }
    EXPECT_NE(press(XK_s), previous);
    EXPECT_EQ(readOutput(program.outFd, 0, 0), "");
}

TEST_F(RunningProgram, ResetReprintsTheReportAndRestoresTheStart) {
    ASSERT_NO_FATAL_FAILURE(start());
    pressKey(program, XK_1);  // restarts scene 1: its first step again
    settle();
    const std::vector<unsigned> sceneOneFirstStep = grabWindow(program);
    press(XK_3);
    press(XK_w);
    press(XK_D);
    const std::vector<unsigned> beforeReset = grabWindow(program);
    pressKey(program, XK_z);
    EXPECT_EQ(readOutput(program.outFd, reportBytes, frameTimeoutMs), expectedReport);
    settle();
    EXPECT_EQ(grabWindow(program), beforeReset) << "'z' must not draw";
    // The next frame is scene 1 at its first step, at the starting zoom.
    EXPECT_EQ(press(XK_s), sceneOneFirstStep);
}

TEST_F(RunningProgram, EscapeEndsWithStatusZeroAndNoMoreOutput) {
    ASSERT_NO_FATAL_FAILURE(start());
    press(XK_4);
    pressKey(program, XK_Escape);
    const int status = waitForExit(program, frameTimeoutMs);
    ASSERT_NE(status, -1) << "Esc did not end the program";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readOutput(program.outFd, 0, 200), "");
}

TEST_F(RunningProgram, ClosedConsoleDoesNotEndTheProgram) {
    ASSERT_NO_FATAL_FAILURE(start());
    close(program.outFd);  // like `involute-gears | head -3`
    program.outFd = -1;
    pressKey(program, XK_z);  // the reprinted report meets a closed pipe
    EXPECT_NE(press(XK_2), first) << "the program stopped drawing";
    pressKey(program, XK_Escape);
    const int status = waitForExit(program, frameTimeoutMs);
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
