// The real binary's pair options: --report's bytes, --svg's file, the exit
// statuses and messages of bad input, and what reaches GLUT. None of these
// runs needs a display: each ends before a window would open.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <gtest/gtest.h>
#include <locale.h>
#include <poll.h>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/options.h"
#include "pair/exports/exports.h"
#include "pair/pair_kind.h"
#include "pair/report/report.h"
#include "support/expected_report.h"
#include "support/program.h"

namespace {

constexpr int hangLimitMs = 60000;  // only to end a run that hangs, not a measure of speed

struct Finished {
    int status = -1;  // exit status; -1 if it did not exit normally
    std::string out;
    std::string err;
};

// What the child is given besides its arguments and environment.
struct Setting {
    long fileSizeLimit = -1;           // RLIMIT_FSIZE in bytes; -1: unchanged
    const char* standardOutput = nullptr;  // a file for standard output instead of the pipe
};

// Runs the binary with `arguments` and no X display, in the environment plus
// `environment` ("NAME=value"), and collects everything it writes.
Finished run(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {"LC_ALL=C.UTF-8"},
             const Setting& setting = {}) {
    int out[2];
    int err[2];
    Finished result;
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe: " << strerror(errno);
        return result;
    }
    const std::string path = programPath();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        if (setting.standardOutput != nullptr) {
            const int fd = open(setting.standardOutput, O_WRONLY);
            dup2(fd, 1);
            close(fd);
        }
        if (setting.fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(setting.fileSizeLimit), static_cast<rlim_t>(setting.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        for (int fd : {out[0], out[1], err[0], err[1]}) {
            close(fd);
        }
        unsetenv("DISPLAY");
        for (const std::string& entry : environment) {
            const size_t eq = entry.find('=');
            setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[2] = {&result.out, &result.err};
    int openPipes = 2;
    while (openPipes > 0) {
        if (poll(fds, 2, hangLimitMs) <= 0) {
            ADD_FAILURE() << "the program hangs";
            kill(pid, SIGKILL);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                char buffer[4096];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    into[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --openPipes;
                }
            }
        }
    }
    for (const pollfd& p : fds) {
        if (p.fd >= 0) {
            close(p.fd);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string reportOf(const PairInput& input) { return formatPairReport(input, pairNumbers(input)); }

PairGeometry pairGeometryOf(const PairInput& input) {
    PairGeometry pair;
    buildPairGeometry(input, pair);
    return pair;
}

TEST(PairOptions, ReportPrintsItsQuantitiesInOrderAndExits) {
    const Finished r = run({"--teeth", "10,30", "--report"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, reportOf(PairInput{}));

    // One quantity a line, "<label> <symbol> = <value> <unit>", at least four
    // decimals, the symbols in this order; one undercut warning, gear 1's.
    const std::vector<std::string> symbols = {"a",   "αw",  "d1",     "d2", "db1", "db2", "da1",
                                              "da2", "df1", "df2",    "pb", "ga",  "εα",  "εα_eff",
                                              "s1",  "s2",  "sa1",    "sa2", "xmin1", "xmin2", "dw1",
                                              "dw2", "y",   "i",      "jn", "jt",  "Δsw", "W1",
                                              "W2",  "dp1", "M1",     "dp2", "M2", "ζ1_root", "ζ1_tip",
                                              "ζ2_root", "ζ2_tip", "dB1", "dD1", "dB2", "dD2",
                                              "sFn1", "ρF1", "den1", "αFen1", "hFe1", "YF1", "YS1", "Y1",
                                              "sFn2", "ρF2", "den2", "αFen2", "hFe2", "YF2", "YS2", "Y2", "Yβ"};
    const std::regex quantity(R"(^\S+ (\S+) = -?[0-9]+\.[0-9]{4,}( (mm|deg))?$)");
    std::vector<std::string> seen;
    std::vector<std::string> undercut;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, quantity)) {
            seen.push_back(match[1]);
        }
        if (line.find("アンダーカット") != std::string::npos) {
            undercut.push_back(line);
        }
    }
    EXPECT_EQ(seen, symbols);
    ASSERT_EQ(undercut.size(), 1u);
    EXPECT_NE(undercut[0].find("歯車1"), std::string::npos);

    // The same numbers whichever way the values are written; omitted ones
    // keep their defaults.
    PairInput shifted;
    shifted.z1 = 12;
    shifted.z2 = 24;
    shifted.m = 3.0;
    shifted.x1 = 0.6;
    shifted.x2 = 0.36;
    const Finished s = run({"--report", "--module=3", "--teeth", "12,24", "--shift=0.6,0.36", "--pressure-angle", "20"});
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.out, reportOf(shifted));
    EXPECT_EQ(s.out.find("アンダーカット"), std::string::npos);
}

// --lang en: the same report in English, line for line, the same numbers
// in the same order; the lines worked by hand for 8 and 30 teeth, m = 1:
// a = m (z1 + z2) / 2 = 19 mm, i = 30 / 8 = 3.75; gear 1 is undercut
// (xmin1 = 1 - 8 sin^2 20 deg / 2 = 0.5321 > 0), which the report also gives
// as data: the warning's identifier, its gear and the shift it concerns.
TEST(PairOptions, LangEnPrintsTheSameReportInEnglish) {
    const Finished ja = run({"--report", "--teeth", "8,30", "--torque", "20"});
    const Finished en = run({"--report", "--teeth", "8,30", "--torque", "20", "--lang", "en"});
    EXPECT_EQ(en.status, 0);
    EXPECT_EQ(en.err, "");
    EXPECT_EQ(run({"--report", "--teeth", "8,30", "--torque", "20", "--lang=ja"}).out, ja.out);
    for (const char* line : {"\ncentre distance a = 19.0000 mm\n", "\ngear ratio i = 3.7500\n",
                             "\nleast shift without undercut xmin1 = 0.5321\n",
                             "\nWarning: gear 1 is undercut (its shift x1 < xmin1)\n", "\nteeth spanned k2 = 4\n"}) {
        EXPECT_NE(en.out.find(line), std::string::npos) << line;
    }
    const std::regex number(R"(-?[0-9]+\.[0-9]+|-∞)");
    const auto numbers = [&](const std::string& text) {
        std::vector<std::string> found;
        for (std::sregex_iterator i(text.begin(), text.end(), number), end; i != end; ++i) {
            found.push_back(i->str());
        }
        return found;
    };
    EXPECT_EQ(numbers(en.out), numbers(ja.out));
    EXPECT_EQ(std::count(en.out.begin(), en.out.end(), '\n'), std::count(ja.out.begin(), ja.out.end(), '\n'));
    // No kana, kanji or full-width forms: UTF-8 lead bytes 0xe3 to 0xe9, 0xef.
    EXPECT_EQ(std::count_if(en.out.begin(), en.out.end(),
                            [](char c) { return (c & 0xff) == 0xef || ((c & 0xff) >= 0xe3 && (c & 0xff) <= 0xe9); }),
              0);
    EXPECT_EQ(run({"--report", "--lang", "fr"}).status, 2);
    EXPECT_NE(run({"--lang", "en", "--version"}).out.find("involute-gears"), std::string::npos);

    PairInput input;
    input.z1 = 8;
    const PairReport report = pairReport(input, pairNumbers(input));
    const auto undercut = std::find_if(report.begin(), report.end(), [](const ReportLine& l) { return l.id == "undercut"; });
    ASSERT_NE(undercut, report.end());
    EXPECT_EQ(undercut->kind, ReportLineKind::warning);
    EXPECT_EQ(undercut->gear, 1);
    EXPECT_EQ(undercut->field, PairField::x1);
    const auto da2 = std::find_if(report.begin(), report.end(), [](const ReportLine& l) { return l.symbol == "da2"; });
    ASSERT_NE(da2, report.end());
    EXPECT_EQ(da2->gear, 2);
    EXPECT_DOUBLE_EQ(da2->value, 32.0);  // m (z2 + 2)
    EXPECT_EQ(da2->unit, Unit::mm);
}

TEST(PairOptions, ShiftJisConsoleGetsTheReportInCodePage932) {
    locale_t sjis = newlocale(LC_CTYPE_MASK, "ja_JP.SJIS", nullptr);
    if (sjis == nullptr) {
        GTEST_SKIP() << "locale ja_JP.SJIS is not installed";
    }
    freelocale(sjis);
    const Finished j = run({"--report"}, {"LC_ALL=ja_JP.SJIS"});
    EXPECT_EQ(j.status, 0);
    EXPECT_EQ(j.out, toCp932(reportOf(PairInput{})));
}

TEST(PairOptions, BadInputExitsTwoWithOneMessageNamingTheOptionAndRange) {
    struct Case {
        std::vector<std::string> arguments;
        const char* option;
        const char* range;
    };
    const Case cases[] = {
        {{"--teeth", "10,"}, "--teeth", "4 to 400"},
        {{"--teeth", "abc"}, "--teeth", "4 to 400"},
        {{"--teeth", "10.5,30"}, "--teeth", "4 to 400"},
        {{"--teeth"}, "--teeth", "4 to 400"},
        {{"--teeth", "3,30"}, "--teeth", "4 to 400"},
        {{"--teeth", "10,99999999999"}, "--teeth", "4 to 400"},
        {{"--module", "0.01"}, "--module", "0.05 to 100"},
        {{"--module", "1e999"}, "--module", "0.05 to 100"},
        {{"--module", "nan"}, "--module", "0.05 to 100"},
        {{"--pressure-angle", "40"}, "--pressure-angle", "10 to 35"},
        {{"--pressure-angle", "20deg"}, "--pressure-angle", "10 to 35"},
        {{"--shift", "0.2"}, "--shift", "-1.0 to 1.5"},
        {{"--shift", "0,1.6"}, "--shift", "-1.0 to 1.5"},
        // Pointed teeth: the message gives the shifts that keep a tip.
        {{"--teeth", "8,30", "--shift", "1.5,0"}, "--shift", "x1 must be -0.7780 to 0.6969"},
        {{"--teeth", "20,20", "--shift", "-0.5,-0.5"}, "--shift", "x1 + x2 must be above -0.8189"},
        {{"--svg"}, "--svg", "FILE"},
        {{"--svg", "--report"}, "--svg", "FILE"},
        {{"--dxf"}, "--dxf", "FILE"},
        {{"--svg", "-", "--dxf=-"}, "--dxf", "--svg writes to standard output already"},
        {{"--svg", "a", "--dxf", "a"}, "--dxf", "--svg writes that file already"},
        {{"--report=yes"}, "--report", "no value"},
        {{"--teeth", "12"}, "--teeth", "4 to 400"},
        {{"--shift", "0.2,"}, "--shift", "-1.0 to 1.5"},
        {{"--pair", "ring"}, "--pair", "external, internal, rack or planetary"},
        {{"--pair", "Rack"}, "--pair", "external, internal, rack or planetary"},
        // A planetary set: three tooth counts, its own options, whole planets.
        {{"--pair", "planetary", "--teeth", "12,24"}, "--teeth", "ZS,ZP,ZR"},
        {{"--teeth", "12,24,60"}, "--teeth", "Z1,Z2: two whole numbers"},
        {{"--planets", "3"}, "--planets", "--pair planetary"},
        {{"--pair", "planetary", "--planets", "13"}, "--planets", "2 to 12"},
        {{"--pair", "planetary", "--planets", "2.5"}, "--planets", "2 to 12"},
        {{"--pair", "planetary", "--fixed", "planet"}, "--fixed", "ring, carrier or sun"},
        {{"--pair", "planetary", "--teeth", "12,24,401"}, "--teeth", "4 to 400"},
        {{"--pair", "planetary", "--teeth", "12,24,60", "--centre-distance", "18"}, "--centre-distance",
         "--shift XS,XP"},
        {{"--layout", "side"}, "--layout", "mesh or apart"},
        // The solids: a file of their own, a bore above 0 that clears the
        // roots (df1 of 8 teeth shifted 0.4: 8 - 2.5 + 0.8 = 6.3 mm).
        {{"--stl"}, "--stl", "FILE"},
        {{"--svg", "-", "--stl", "-"}, "--stl", "--svg writes to standard output already"},
        {{"--dxf", "a", "--stl", "a"}, "--stl", "--dxf writes that file already"},
        {{"--stl", "a", "--bore", "0"}, "--bore", "a number of mm above 0"},
        {{"--stl", "a", "--bore", "inf"}, "--bore", "a number of mm above 0"},
        {{"--stl", "a", "--bore", "0x10"}, "--bore", "a number of mm above 0"},
        {{"--bore", "2"}, "--bore", "give --stl FILE too"},
        {{"--teeth", "8,30", "--shift", "0.4,0", "--stl", "a", "--bore", "6.3"}, "--bore",
         "at most 6.290 mm: gear 1's root diameter df1 = 6.300 mm"},
        // A rack takes gear 1's numbers alone, whichever option comes first.
        {{"--pair", "rack", "--teeth", "12,24"}, "--teeth", "Z1 alone, 4 to 400"},
        {{"--teeth", "12,24", "--pair=rack"}, "--teeth", "Z1 alone, 4 to 400"},
        {{"--pair", "rack", "--teeth", "12", "--shift", "0.1,0"}, "--shift", "X1 alone, -1.0 to 1.5"},
        {{"--pair", "rack", "--teeth", "3"}, "--teeth", "4 to 400"},
        // The pinion-type cutter: an internal gear's only, 8 to 200 teeth.
        {{"--pair", "internal", "--cutter-teeth", "7"}, "--cutter-teeth", "8 to 200"},
        {{"--pair", "internal", "--cutter-teeth", "201"}, "--cutter-teeth", "8 to 200"},
        {{"--pair", "internal", "--cutter-teeth", "20.5"}, "--cutter-teeth", "8 to 200"},
        {{"--cutter-teeth", "20"}, "--cutter-teeth", "--pair internal"},
        {{"--pair", "rack", "--teeth", "12", "--cutter-teeth", "20"}, "--cutter-teeth", "--pair internal"},
        // A planetary set's members take their usual pins.
        {{"--pair", "planetary", "--pin", "3"}, "--pin", "usual pins"},
        // Backlash 0 to 0.25 m and pins up to 5 m, whatever the order.
        {{"--backlash", "-0.001"}, "--backlash", "0 to 0.25 m = 0.25 mm"},
        {{"--backlash", "0.2501"}, "--backlash", "0 to 0.25 m = 0.25 mm"},
        {{"--backlash", "0.7501", "--module", "3"}, "--backlash", "0 to 0.25 m = 0.75 mm"},
        {{"--backlash", "inf"}, "--backlash", "0 to 0.25 m"},
        // The face width: above 0, at most 100 m, for every kind.
        {{"--face-width", "0"}, "--face-width", "0.01 to 100 m = 100 mm"},
        {{"--face-width", "1e-320"}, "--face-width", "0.01 to 100 m = 100 mm"},
        {{"--face-width", "301", "--module", "3"}, "--face-width", "0.01 to 100 m = 300 mm"},
        // Helical gears: 0 to 45 degrees, a right or a left hand.
        {{"--helix-angle", "45.01"}, "--helix-angle", "0 to 45"},
        {{"--helix-angle", "-5"}, "--helix-angle", "0 to 45"},
        {{"--hand", "Left"}, "--hand", "right or left"},
        {{"--hand", "2"}, "--hand", "right or left"},
        // Options of words take their words, never the words' places.
        {{"--hand", "0"}, "--hand", "right or left"},
        {{"--pair", "planetary", "--fixed", "2"}, "--fixed", "ring, carrier or sun"},
        {{"--pair", "1"}, "--pair", "external, internal, rack or planetary"},
        // The shifts are normal ones: the helical pinion's cure is said in xn.
        {{"--teeth", "8,30", "--shift", "1.5,0", "--helix-angle", "30"}, "--shift", "x1 must be -1.0000 to 1.1521"},
        {{"--pin", "0"}, "--pin", "above 0 and at most 5 m = 5 mm"},
        {{"--pin", "-1.7"}, "--pin", "above 0 and at most 5 m = 5 mm"},
        {{"--module", "2", "--pin", "10.001"}, "--pin", "at most 5 m = 10 mm"},
        // A module out of range is named before the ranges that hang on it.
        {{"--backlash", "0.1", "--module", "200"}, "--module", "0.05 to 100"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.push_back("--report");  // were the input taken, no window either
        const Finished r = run(arguments);
        SCOPED_TRACE(r.err);
        EXPECT_EQ(r.status, 2) << c.arguments[0];
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
        EXPECT_NE(r.err.find(c.option), std::string::npos);
        EXPECT_NE(r.err.find(c.range), std::string::npos);
    }

    // The ranges in multiples of the module, word for word: the value as
    // given, the input's name and its end in mm for this module (0.25 * 3 =
    // 0.75, 500 * 3 = 1500); a 0 the page would read as "left out" is
    // refused, and the first of two (the centre distance before the face
    // width, both before a tooth count out of range) is the one named.
    const std::pair<std::vector<std::string>, const char*> exact[] = {
        {{"--module", "3", "--backlash", "0.8"}, "--backlash \"0.8\": jn must be 0 to 0.25 m = 0.75 mm"},
        {{"--pin", "-0"}, "--pin \"-0\": D must be above 0 and at most 5 m = 5 mm"},
        {{"--teeth", "12,24", "--module", "3", "--centre-distance", "7000"},
         "--centre-distance \"7000\": a must be above 0 and at most 500 m = 1500 mm"},
        {{"--face-width", "0", "--centre-distance", "0"}, "--centre-distance \"0\": a must be above 0 and at most 500 m = 500 mm"},
        {{"--face-width=0", "--teeth", "3,30"}, "--face-width \"0\": b must be 0.01 to 100 m = 100 mm"},
    };
    for (const auto& c : exact) {
        std::vector<std::string> arguments = c.first;
        arguments.push_back("--report");
        const Finished r = run(arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, std::string("involute-gears: ") + c.second + "\n");
    }

    // A pair that cannot be cut blames the option given, or names the one
    // not given as the cure, never as the culprit.
    const Finished angle = run({"--pressure-angle", "35", "--report"});
    EXPECT_EQ(angle.status, 2);
    EXPECT_EQ(angle.err,
              "involute-gears: gear 1's teeth are pointed (tip thickness sa1 = -0.0559 mm); the cure: with these "
              "teeth, --shift x1 must be -1.0000 to -0.1230\n");
    const Finished shift = run({"--pressure-angle", "35", "--shift", "0,0", "--report"});
    EXPECT_EQ(shift.err,
              "involute-gears: --shift: gear 1's teeth are pointed (tip thickness sa1 = -0.0559 mm); with the other "
              "values as they are, x1 must be -1.0000 to -0.1230\n");
    // The severed neck of 4 teeth at 29.87 degrees, and its cure.
    const Finished severed = run({"--teeth", "4,33", "--pressure-angle", "29.87", "--shift", "-0.64,0.57", "--report"});
    EXPECT_EQ(severed.status, 2);
    EXPECT_EQ(severed.err,
              "involute-gears: --shift: the undercut cuts through the neck of gear 1's teeth (its two flanks cross: "
              "the outline would cross itself); with the other values as they are, x1 must be -0.4112 to -0.0033\n");
}

TEST(PairOptions, UnknownOptionsAbbreviationsAndStrayWordsExitTwoNamingThem) {
    struct Case {
        std::vector<std::string> arguments;
        const char* named;
    };
    const Case cases[] = {
        {{"--modul", "3", "--report"}, "\"--modul\""},
        {{"--module3", "--report"}, "\"--module3\""},
        {{"--Teeth", "12,24", "--report"}, "\"--Teeth\""},
        {{"--p=3", "--report"}, "\"--p\""},  // a prefix of three options
        {{"--report", "--frobnicate"}, "\"--frobnicate\""},
        {{"--teeth", "12,24", "-x"}, "\"-x\""},
        {{"-displayx", ":0", "--report"}, "\"-displayx\""},
        {{"--report", "word"}, "\"word\""},
        {{"--report", "--", "--teeth"}, "\"--teeth\""},
        {{"--teeth", "12,24", "30", "--report"}, "\"30\""},
        {{"--report", "-"}, "\"-\""},
        {{"--report", "--\x1b[2J"}, "\"--\\x1b[2J\""},
    };
    for (const Case& c : cases) {
        const Finished r = run(c.arguments);
        SCOPED_TRACE(r.err);
        EXPECT_EQ(r.status, 2) << c.named;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line";
        EXPECT_NE(r.err.find(c.named), std::string::npos);
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
    }
}

TEST(PairOptions, ValuesAreEchoedWithControlCharactersEscaped) {
    EXPECT_EQ(escapeForMessage("\x1b[31m,3"), "\\x1b[31m,3");
    EXPECT_EQ(escapeForMessage(std::string("a\0b\tc\x7f", 6)), "a\\x00b\\x09c\\x7f");
    EXPECT_EQ(escapeForMessage("C:\\gears"), "C:\\\\gears");
    // UTF-8 text stays; the C1 controls (CSI is U+009B), stray and overlong
    // bytes and encoded surrogates do not.
    EXPECT_EQ(escapeForMessage("歯車 é ½"), "歯車 é ½");
    EXPECT_EQ(escapeForMessage("\xc2\x9b" "2J"), "\\xc2\\x9b2J");
    EXPECT_EQ(escapeForMessage("\xc2\xa0"), "\xc2\xa0");
    EXPECT_EQ(escapeForMessage("\xff\xc0\xaf"), "\\xff\\xc0\\xaf");
    EXPECT_EQ(escapeForMessage("\xed\xa0\x80"), "\\xed\\xa0\\x80");
    EXPECT_EQ(escapeForMessage("\xe6\xad"), "\\xe6\\xad");

    const Finished r = run({"--teeth", "\x1b]0;owned\x07,30", "--report"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "involute-gears: --teeth \"\\x1b]0;owned\\x07,30\" is not Z1,Z2: two whole numbers, each 4 "
                     "to 400 (Z1 alone with --pair rack; ZS,ZP,ZR, three, with --pair planetary)\n");
}

// Reads `arguments` in this process as main does.
bool readArguments(std::vector<std::string> arguments, ProgramOptions& options, std::string& message,
                   std::vector<std::string>& left) {
    arguments.insert(arguments.begin(), "involute-gears");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    const bool read = readProgramOptions(&argc, argv.data(), options, message);
    left.assign(argv.begin(), argv.begin() + argc);
    return read;
}

// Every input of the table is taken at both ends of its range and refused
// just outside them, by the option the table names: the page checks its
// fields with the same table and reader, so the two refuse the same values.
// An end value may still be refused by the pair's own checks (a pointed
// tooth), but never for its range.
TEST(PairOptions, EveryInputOfTheTableIsTakenExactlyToTheEndsOfItsRange) {
    // A pair that takes every input: an internal pair for the cutter, an
    // external one for the pin.
    const PairInputSpec* inputs = pairInputSpecs();
    for (int i = 0; i < pairInputCount; ++i) {
        const PairInputSpec& input = inputs[i];
        const bool planetary = input.kinds == kindBit(PairKind::planetary);
        const bool internal = !planetary && (input.kinds & kindBit(PairKind::external)) == 0;
        const PairKind kind = planetary ? PairKind::planetary : internal ? PairKind::internal : PairKind::external;
        const double m = 2.0;
        const double scale = input.perModule ? m : 1.0;
        const double step = input.whole ? 1.0 : 1e-9 * std::max(1.0, std::fabs(input.hi * scale));
        const double values[4] = {input.lo * scale, input.hi * scale, input.lo * scale - step,
                                  input.hi * scale + step};
        for (int v = 0; v < 4; ++v) {
            if (input.loOpen && v == 0) {
                continue;  // lo itself is refused: "above lo"
            }
            char text[64];
            snprintf(text, sizeof text, input.whole ? "%.0f" : "%.12g", values[v]);
            if (input.words != nullptr && v < 2) {
                // An input of words takes its first and last words, never their places ("0", "2").
                const std::string words = input.words;
                snprintf(text, sizeof text, "%s",
                         v == 0 ? words.substr(0, words.find('|')).c_str() : words.substr(words.rfind('|') + 1).c_str());
            }
            std::vector<std::string> arguments{"--pair", pairKindModel(kind).name, "--teeth",
                                               planetary ? "30,90,210" : "30,90", "--module", "2"};
            // The other numbers of a list option that the kind takes keep their usual values.
            std::string parts[3];
            for (int j = 0; j < pairInputCount; ++j) {
                if (strcmp(inputs[j].option, input.option) == 0 && (inputs[j].kinds & kindBit(kind)) != 0) {
                    char other[32];
                    snprintf(other, sizeof other, "%g", inputs[j].id == PairInputId::z2 ? 90.0 : inputs[j].start);
                    parts[inputs[j].slot] = j == i ? text : other;
                }
            }
            std::string value = parts[0];
            for (int k = 1; k < 3 && !parts[k].empty(); ++k) {
                value += "," + parts[k];
            }
            arguments.push_back(std::string("--") + input.option);
            arguments.push_back(value);
            ProgramOptions o;
            std::string message;
            std::vector<std::string> left;
            const bool read = readArguments(arguments, o, message, left);
            const std::string range = inputRangeText(input, input.perModule ? m : 0.0);
            const bool refusedForRange = !read && message.find(range) != std::string::npos;
            EXPECT_EQ(refusedForRange, v >= 2) << input.name << " = " << value << ": " << message;
            if (read) {
                EXPECT_EQ(pairInputValue(o.pair, input.id), values[v]) << input.name;
            }
        }
    }
}

TEST(PairOptions, HelpAndVersionAnswerOnStandardOutput) {
    for (const char* help : {"--help", "-h"}) {
        const Finished r = run({"--teeth", "3", help});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, helpText()) << help;
    }
    // Written out by hand: every unit its own (the torque in N·m, E in GPa,
    // not degrees), the columns counted in characters (ν is two bytes), the
    // summary naming every scene there is.
    const std::string out = run({"--help"}).out;
    for (const char* expected : {
             "An interactive animation of involute gear geometry: six scenes of the involute\n"
             "and two meshing gears (keys 1 to 6); with the options of a pair, also the pair\n"
             "as its cutters make it: in mesh (7), cut by a rack (8) or, a ring, by a\n"
             "pinion-type cutter (9), its plane of action (10, key h), the sliding of its\n"
             "flanks (11, key v), a planetary set turning (12, key p) and a tooth of each\n"
             "gear bent at its root as a beam (13, key b); its report, its drawings and\n"
             "its solids.\n",
             "  --module M              m: module; a number of mm, 0.05 to 100\n"
             "  --pressure-angle DEG    α: pressure angle of the basic rack; a number of\n"
             "                          degrees, 10 to 35\n",
             "  --torque T              T: torque on gear 1, for the contact stress (left\n"
             "                          out: no stress); a number of N·m,\n"
             "                          above 0 and at most 1e+06\n"
             "  --elastic E[,NU]        E: modulus of elasticity of both flanks (206, steel);\n"
             "                          a number of GPa, 1 to 1000\n"
             "                          ν: Poisson's ratio of both flanks (0.3, steel); a\n"
             "                          number, 0 to 0.49\n",
             "  --lang LANG             the report's language: ja (Japanese, the default) or\n"
             "                          en (English); the same numbers in the same order\n"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(out.find("six scenes;"), std::string::npos);
    EXPECT_EQ(out.find("scenes 7 to 9"), std::string::npos);
    // Every description starts in column 27 (characters, not bytes).
    std::istringstream helpLines(out);
    for (std::string line; std::getline(helpLines, line);) {
        std::u32string wide;
        for (size_t i = 0; i < line.size(); ++i) {
            if ((line[i] & 0xc0) != 0x80) {
                wide += static_cast<char32_t>(static_cast<unsigned char>(line[i]));
            }
        }
        EXPECT_LE(wide.size(), 79u) << line;
        if (line.compare(0, 4, "  --") == 0 && wide.size() > 26) {
            EXPECT_EQ(wide.substr(24, 3), U"  " + std::u32string(1, wide[26])) << line;
            EXPECT_NE(wide[26], U' ') << line;
        }
    }
    // Every option of the table with its range; none of the lines too wide.
    const std::string text = helpText();
    const PairInputSpec* inputs = pairInputSpecs();
    for (int i = 0; i < pairInputCount; ++i) {
        EXPECT_NE(text.find(std::string("--") + inputs[i].option + " "), std::string::npos) << inputs[i].option;
        std::string range = inputRangeText(inputs[i], 0.0);
        EXPECT_NE(text.find(range), std::string::npos) << range;
    }
    for (const char* option : {"--pair", "--report", "--svg", "--dxf", "--layout", "--stl", "--bore", "--version"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    const Finished v = run({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "involute-gears " INVOLUTE_VERSION "\n");
    EXPECT_EQ(run({"--version=2"}).status, 2);
}

TEST(PairOptions, EveryOptionReachesThePairTheLastOneWinningAndGlutKeepsItsOwn) {
    ProgramOptions o;
    std::string message;
    std::vector<std::string> left;
    ASSERT_TRUE(readArguments({"-display", ":7", "--pair", "rack", "--teeth", "12", "--shift=-0.25", "-iconic",
                               "--module", "2", "--svg", "-", "--dxf", "a.dxf",
                               "-geometry", "300x300", "--layout", "apart", "-sync", "-direct", "-indirect",
                               "-gldebug"},
                              o, message, left))
        << message;
    EXPECT_EQ(left, (std::vector<std::string>{"involute-gears", "-display", ":7", "-iconic", "-geometry", "300x300",
                                              "-sync", "-direct", "-indirect", "-gldebug"}));
    EXPECT_TRUE(o.hasPair);
    EXPECT_EQ(o.pair.kind, PairKind::rack);
    EXPECT_EQ(o.pair.z1, 12);
    EXPECT_EQ(o.pair.x1, -0.25);
    EXPECT_EQ(o.pair.m, 2.0);
    EXPECT_EQ(o.pair.cutterTeeth, 0);
    EXPECT_TRUE(o.svg);
    EXPECT_EQ(o.svgPath, "-");
    EXPECT_TRUE(o.dxf);
    EXPECT_EQ(o.dxfPath, "a.dxf");
    EXPECT_EQ(o.layout, SheetLayout::apart);
    EXPECT_FALSE(o.report);
    // Backlash and the pin (an external pair's), at their largest.
    ASSERT_TRUE(readArguments({"--module", "2", "--backlash", "0.5", "--pin=10"}, o, message, left)) << message;
    EXPECT_EQ(o.pair.backlash, 0.5);     // 0.25 m: the largest allowed
    EXPECT_EQ(o.pair.pinDiameter, 10.0); // 5 m: the largest allowed
    // Backlash of a rack pair (its pin is refused above).
    ASSERT_TRUE(readArguments({"--pair", "rack", "--teeth", "12", "--module", "3", "--backlash", "0.75"}, o, message,
                              left))
        << message;
    EXPECT_EQ(o.pair.backlash, 0.75);
    ASSERT_TRUE(readArguments({"--pair", "internal", "--teeth", "42,50", "--backlash", "0.1"}, o, message, left))
        << message;
    EXPECT_EQ(o.pair.backlash, 0.1);
    // A zero written with a minus sign is read as zero: the report and the
    // drawings print "0.0000", never "-0.0000".
    ASSERT_TRUE(readArguments({"--backlash", "-0", "--shift", "-0,-0.0e5", "--pressure-angle", "20"}, o, message,
                              left))
        << message;
    EXPECT_FALSE(std::signbit(o.pair.backlash));
    EXPECT_FALSE(std::signbit(o.pair.x1));
    EXPECT_FALSE(std::signbit(o.pair.x2));

    // Repeated: the last one wins, each value read afresh.
    ASSERT_TRUE(readArguments({"--pair", "rack", "--pair", "internal", "--teeth", "8,30", "--teeth=12,60",
                               "--cutter-teeth", "200", "--cutter-teeth", "30", "--layout", "apart", "--layout",
                               "mesh", "--svg", "a.svg", "--svg", "b.svg", "--backlash", "0.1", "--backlash", "0"},
                              o, message, left))
        << message;
    EXPECT_EQ(left, std::vector<std::string>{"involute-gears"});
    EXPECT_EQ(o.pair.kind, PairKind::internal);
    EXPECT_EQ(o.pair.z1, 12);
    EXPECT_EQ(o.pair.z2, 60);
    EXPECT_EQ(o.pair.cutterTeeth, 30);
    EXPECT_EQ(o.layout, SheetLayout::mesh);
    EXPECT_EQ(o.svgPath, "b.svg");
    EXPECT_EQ(o.pair.backlash, 0.0);
    EXPECT_FALSE(o.dxf);

    // No options of the program's own: no pair, GLUT's arguments untouched.
    ASSERT_TRUE(readArguments({"-geometry", "10x10+0+0"}, o, message, left));
    EXPECT_FALSE(o.hasPair);
    EXPECT_EQ(left, (std::vector<std::string>{"involute-gears", "-geometry", "10x10+0+0"}));
}

TEST(PairOptions, RepeatedOptionsTheLastOneWins) {
    PairInput shifted;
    shifted.z1 = 12;
    shifted.z2 = 24;
    shifted.m = 3.0;
    shifted.x1 = 0.6;
    shifted.x2 = 0.36;
    const Finished r = run({"--teeth", "8,30", "--module=2", "--shift", "1.5,0", "--teeth=12,24", "--module", "3",
                            "--shift", "0.6,0.36", "--report", "--report"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, reportOf(shifted));
}

// A number with exactly 5 decimals at `at`; moves past it.
bool readFixed(const std::string& d, size_t& at, double& value) {
    const size_t start = at;
    if (at < d.size() && d[at] == '-') {
        ++at;
    }
    const size_t digits = at;
    while (at < d.size() && isdigit(static_cast<unsigned char>(d[at]))) {
        ++at;
    }
    if (at == digits || at >= d.size() || d[at] != '.') {
        return false;
    }
    const size_t decimals = ++at;
    while (at < d.size() && isdigit(static_cast<unsigned char>(d[at]))) {
        ++at;
    }
    value = std::stod(d.substr(start, at - start));
    return at - decimals == 5;
}

// "Mx y Lx y ... Lx y Z": one closed outline of absolute moves and lines.
bool readOutline(const std::string& d, std::vector<Point2>& points) {
    size_t at = 0;
    while (at < d.size()) {
        const char command = points.empty() ? 'M' : 'L';
        if (!points.empty() && d.compare(at, 2, " Z") == 0 && at + 2 == d.size()) {
            return true;
        }
        if (!points.empty() && d[at++] != ' ') {
            return false;
        }
        Point2 p{};
        if (d[at++] != command || !readFixed(d, at, p.x) || at >= d.size() || d[at++] != ' ' ||
            !readFixed(d, at, p.y)) {
            return false;
        }
        points.push_back(p);
    }
    return false;
}

TEST(PairOptions, SvgWritesBothOutlinesInMillimetres) {
    char directory[] = "/tmp/involute-svg-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string path = std::string(directory) + "/pair.svg";
    const Finished r = run({"--teeth", "12,24", "--module", "3", "--shift", "0.6,0.36", "--svg", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    std::ifstream file(path, std::ios::binary);
    const std::string svg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    PairInput input;
    input.z1 = 12;
    input.z2 = 24;
    input.m = 3.0;
    input.x1 = 0.6;
    input.x2 = 0.36;
    PairGeometry pair;
    buildPairGeometry(input, pair);
    EXPECT_EQ(svg, formatPairSvg(pair));

    const std::string number = R"(-?[0-9]+\.[0-9]{5})";
    EXPECT_TRUE(std::regex_search(svg, std::regex("<svg [^>]*width=\"" + number + "mm\" height=\"" + number +
                                                  "mm\" viewBox=\"" + number + " " + number + " " + number + " " +
                                                  number + "\"")));
    // Each gear one closed outline of absolute M and L commands, every
    // coordinate to 5 decimals, around its own centre (SVG's y points down).
    const double centre[2] = {0.0, pair.numbers.a};
    for (int g = 0; g < 2; ++g) {
        const size_t element = svg.find("<path id=\"gear" + std::to_string(g + 1) + "\"");
        ASSERT_NE(element, std::string::npos) << "gear" << g + 1;
        const size_t start = svg.find(" d=\"", element) + 4;
        const std::string d = svg.substr(start, svg.find('"', start) - start);
        const double ra = pair.numbers.gear[g].da / 2.0;
        const double rf = pair.numbers.gear[g].df / 2.0;
        std::vector<Point2> points;
        EXPECT_TRUE(readOutline(d, points)) << d.substr(0, 200);
        for (const Point2& p : points) {
            const double rho = std::hypot(p.x - centre[g], -p.y);
            EXPECT_LE(rho, ra + 1e-5);
            EXPECT_GE(rho, rf - 0.001 * input.m);
        }
        EXPECT_EQ(points.size(), pair.outline[g].points.size());
    }

    // A folder that does not exist, inside the test's own (a full disk is
    // the file-size limit in DrawingsAreWrittenWholeOrNotAtAll).
    const std::string unwritable = std::string(directory) + "/missing/pair.svg";
    const Finished bad = run({"--svg", unwritable});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find(unwritable), std::string::npos) << bad.err;

    // "-": the same bytes on standard output, for pipes.
    const Finished piped = run({"--teeth", "12,24", "--module", "3", "--shift", "0.6,0.36", "--svg", "-"});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(piped.out, svg);
    unlink(path.c_str());
    rmdir(directory);
}

std::string readWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* d = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(d)) {
            if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) {
                names.push_back(entry->d_name);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PairOptions, DrawingsAreWrittenWholeOrNotAtAll) {
    char directory[] = "/tmp/involute-atomic-XXXXXX";
    ASSERT_NE(mkdtemp(directory), nullptr);
    const std::string dir = directory;
    const std::string path = dir + "/pair.svg";
    {
        std::ofstream old(path, std::ios::binary);
        old << "old drawing\n";
    }
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    // A file-size limit below the drawing's size: the write fails part way
    // (EFBIG, SIGXFSZ ignored), the old file stays, no temporary is left.
    Setting limited;
    limited.fileSizeLimit = 4096;
    const Finished big = run({"--teeth", "40,60", "--svg", path}, {"LC_ALL=C.UTF-8"}, limited);
    EXPECT_EQ(big.status, 1);
    EXPECT_EQ(big.out, "");
    EXPECT_EQ(big.err, "involute-gears: --svg: cannot write " + path + ": " + strerror(EFBIG) + "\n");
    EXPECT_EQ(readWhole(path), "old drawing\n");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"pair.svg"});
    // The same for the DXF, written after an SVG that fits.
    const std::string dxf = dir + "/pair.dxf";
    {
        std::ofstream old(dxf, std::ios::binary);
        old << "old dxf\n";
    }
    const Finished bigDxf = run({"--teeth", "8,9", "--svg", "-", "--dxf", dxf}, {"LC_ALL=C.UTF-8"}, limited);
    EXPECT_EQ(bigDxf.status, 1);
    EXPECT_EQ(bigDxf.err, "involute-gears: --dxf: cannot write " + dxf + ": " + strerror(EFBIG) + "\n");
    EXPECT_EQ(readWhole(dxf), "old dxf\n");
    unlink(dxf.c_str());
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"pair.svg"});

    // Written whole: replaced, with the old file's permissions.
    const Finished good = run({"--teeth", "40,60", "--svg", path});
    EXPECT_EQ(good.status, 0) << good.err;
    PairInput input;
    input.z1 = 40;
    input.z2 = 60;
    PairGeometry pair;
    buildPairGeometry(input, pair);
    EXPECT_EQ(readWhole(path), formatPairSvg(pair));
    struct stat status{};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"pair.svg"});

    // Through a symbolic link: the link stays, the file it names is replaced.
    const std::string link = dir + "/link.svg";
    ASSERT_EQ(symlink("pair.svg", link.c_str()), 0);
    const Finished linked = run({"--svg", link});
    EXPECT_EQ(linked.status, 0) << linked.err;
    struct stat linkStatus{};
    ASSERT_EQ(lstat(link.c_str(), &linkStatus), 0);
    EXPECT_TRUE(S_ISLNK(linkStatus.st_mode));
    EXPECT_EQ(readWhole(path), formatPairSvg(pairGeometryOf(PairInput{})));
    unlink(link.c_str());

    // Standard output that cannot take it: exit 1 naming it.
    Setting full;
    full.standardOutput = "/dev/full";
    const Finished noSpace = run({"--svg", "-"}, {"LC_ALL=C.UTF-8"}, full);
    EXPECT_EQ(noSpace.status, 1);
    EXPECT_EQ(noSpace.err, std::string("involute-gears: --svg: cannot write standard output: ") + strerror(ENOSPC) + "\n");

    // Not a regular file: refused before anything is opened, so a FIFO
    // without a reader does not block; the FIFO, the directory and the
    // device stay. Every one is the test's own, made in its folder: were the
    // refusal broken, the rename could replace only these, never the
    // machine's own devices (the suite runs as root in CI).
    const std::string fifo = dir + "/fifo.svg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string subdirectory = dir + "/drawings";
    ASSERT_EQ(mkdir(subdirectory.c_str(), 0700), 0);
    std::vector<std::string> targets{fifo, subdirectory};
    std::vector<std::string> names{"drawings", "fifo.svg", "pair.svg"};
    // A character device like the null device (1, 3); making one needs root.
    const std::string device = dir + "/null.svg";
    if (mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        targets.push_back(device);
        names.insert(names.begin() + 2, "null.svg");
    } else {
        std::cout << "[ SKIPPED  ] the device-node case: mknod " << device << ": " << strerror(errno)
                  << " (needs root)\n";
    }
    for (const std::string& target : targets) {
        const Finished refused = run({"--svg", target, "--report"});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "involute-gears: --svg: cannot write " + target + ": not a regular file\n");
    }
    ASSERT_EQ(lstat(fifo.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    if (targets.size() == 3) {
        ASSERT_EQ(lstat(device.c_str(), &status), 0);
        EXPECT_TRUE(S_ISCHR(status.st_mode));
    }
    EXPECT_EQ(namesIn(dir), names);
    EXPECT_EQ(namesIn(subdirectory), std::vector<std::string>{});

    // A path with control characters is named with them escaped.
    const Finished escaped = run({"--svg", dir + "/none/\x1b[2J.svg"});
    EXPECT_EQ(escaped.status, 1);
    EXPECT_NE(escaped.err.find("/none/\\x1b[2J.svg: "), std::string::npos) << escaped.err;

    unlink(fifo.c_str());
    unlink(device.c_str());
    rmdir(subdirectory.c_str());
    unlink(path.c_str());
    rmdir(directory);
}

TEST(PairOptions, WithoutReportOrSvgTheUsualReportComesFirstAndGlutGetsTheRest) {
    // No display: the program gets as far as glutInit, which names the
    // display it was given, so -display must have reached it.
    const Finished r = run({"--teeth", "10,30", "-display", ":4711"});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.status, 2);
    // With a pair the key guide names the keys of scenes 11 and 13 too.
    EXPECT_EQ(r.out, expectedReport + std::string("\n'v'        ：(11)歯車対のすべり速度と比すべりの選択") +
                         "\n'b'        ：(13)歯元の曲げ（はりとしての歯）の選択" + reportOf(PairInput{}));
    EXPECT_NE(r.err.find("failed to open display ':4711'"), std::string::npos) << r.err;

    // GLUT's own options alone: the usual program, GLUT reading them.
    const Finished plain = run({"-display", ":4711", "-iconic"});
    EXPECT_NE(plain.status, 2);
    EXPECT_EQ(plain.out, expectedReport);
    EXPECT_NE(plain.err.find("failed to open display ':4711'"), std::string::npos) << plain.err;
}

}  // namespace

// A working centre distance chooses the shifts: KHK's 12 and 24 teeth of
// m = 3 at a = 56.4999 mm take x1 + x2 = 0.9600 (Gear Technical Reference);
// a distance out of reach is refused with the range, and a given x1 that
// fails is answered with a split that is then taken.
TEST(PairOptions, CentreDistanceChoosesTheShifts) {
    const Finished khk = run({"--report", "--teeth", "12,24", "--module", "3", "--centre-distance", "56.4999"});
    EXPECT_EQ(khk.status, 0) << khk.err;
    EXPECT_NE(khk.out.find("\n転位係数の和 x1 + x2 = 0.9600\n"), std::string::npos) << khk.out;
    EXPECT_NE(khk.out.find("\n中心距離 a = 56.4999 mm\n"), std::string::npos);
    EXPECT_NE(khk.out.find("ζ1_root = ζ2_root"), std::string::npos);

    const Finished far = run({"--report", "--teeth", "12,24", "--module", "3", "--centre-distance", "70"});
    EXPECT_EQ(far.status, 2);
    EXPECT_NE(far.err.find("--centre-distance \"70\": a must be "), std::string::npos) << far.err;

    // x1 = -1 would need x2 = 1.96, beyond its range; the split offered
    // instead is taken.
    const Finished kept = run({"--report", "--teeth", "12,24", "--module", "3", "--centre-distance", "56.4999",
                               "--shift", "-1"});
    EXPECT_EQ(kept.status, 2);
    const size_t offered = kept.err.find("with both shifts left to the program, x1 = ");
    ASSERT_NE(offered, std::string::npos) << kept.err;
    double x1 = 0.0;
    double x2 = 0.0;
    ASSERT_EQ(sscanf(kept.err.c_str() + offered, "with both shifts left to the program, x1 = %lf and x2 = %lf", &x1, &x2),
              2);
    char shifts[64];
    snprintf(shifts, sizeof shifts, "%.4f,%.4f", x1, x2);
    EXPECT_EQ(run({"--report", "--teeth", "12,24", "--module", "3", "--shift", shifts}).status, 0) << shifts;

    // A pressure angle offered for pointed teeth at the shifts as given: the
    // centre distance asked for (46.514 mm, where 10 and 90 teeth of m 0.5
    // sit near 20 mm) is then still refused, and the message says so with
    // the range that angle takes, rather than offering the angle alone.
    const std::vector<std::string> pointed = {"--report", "--pair", "internal", "--teeth", "10,90", "--module", "0.5",
                                              "--pressure-angle", "35", "--centre-distance", "46.514"};
    const Finished both = run(pointed);
    EXPECT_EQ(both.status, 2);
    const size_t at = both.err.find("but at ");
    ASSERT_NE(at, std::string::npos) << both.err;
    double alpha = 0.0;
    char range[64] = "";
    ASSERT_EQ(sscanf(both.err.c_str() + at, "but at %lf --centre-distance \"46.514\" is refused: %63[^\n]", &alpha, range), 2)
        << both.err;
    char angle[32];
    snprintf(angle, sizeof angle, "%.4f", alpha);
    std::vector<std::string> followed = pointed;
    followed[8] = angle;
    EXPECT_EQ(run(followed).err, std::string("involute-gears: --centre-distance \"46.514\": ") + range + "\n");

    // A centre distance out of reach with x1 given: the a that x1 kept can
    // reach come first (x2 then follows), then those of the program's own
    // split; each end and the middle of both are taken as offered (the
    // latter without --shift). It used to offer only the latter, whose ends
    // x1 = 0.823 cannot reach.
    std::vector<std::string> shifted = {"--report", "--teeth", "24,75", "--module", "2", "--pressure-angle", "21.08",
                                        "--shift", "0.823", "--centre-distance", "113.389"};
    const Finished unreachable = run(shifted);
    double ends[4] = {};
    ASSERT_EQ(sscanf(unreachable.err.c_str(),
                     "involute-gears: --centre-distance \"113.389\": with x1 = 0.8230 kept, a must be %lf to %lf mm; "
                     "with both shifts left to the program, a must be %lf to %lf mm\n",
                     &ends[0], &ends[1], &ends[2], &ends[3]),
              4)
        << unreachable.err;
    EXPECT_LT(ends[2], ends[0]);  // x1 kept reaches less
    EXPECT_GT(ends[3], ends[1]);
    for (int k = 0; k < 4; k += 2) {
        std::vector<std::string> followed = shifted;
        if (k == 2) {
            followed.erase(followed.begin() + 7, followed.begin() + 9);
        }
        for (double a : {ends[k], (ends[k] + ends[k + 1]) / 2.0, ends[k + 1]}) {
            char text[32];
            snprintf(text, sizeof text, "%.4f", a);
            followed.back() = text;
            EXPECT_EQ(run(followed).status, 0) << text << (k == 0 ? " x1 kept" : "");
        }
    }

    // So are the cutters offered for a ring: 51 and 116 teeth of m 1 sit
    // near 32.5 mm, never 74.951, whichever cutter cuts the ring.
    std::vector<std::string> cutter = {"--report", "--pair", "internal", "--teeth", "51,116", "--cutter-teeth", "140",
                                       "--centre-distance", "74.951"};
    const Finished beyond = run(cutter);
    int teeth = 0;
    const size_t beyondAt = beyond.err.find("but at ");
    ASSERT_NE(beyondAt, std::string::npos) << beyond.err;
    ASSERT_EQ(sscanf(beyond.err.c_str() + beyondAt, "but at %d teeth --centre-distance \"74.951\" is refused: %63[^\n]",
                     &teeth, range),
              2)
        << beyond.err;
    cutter[6] = std::to_string(teeth);
    EXPECT_EQ(run(cutter).err, std::string("involute-gears: --centre-distance \"74.951\": ") + range + "\n");

    EXPECT_EQ(run({"--report", "--pair", "rack", "--teeth", "12", "--centre-distance", "20"}).status, 2);
    EXPECT_EQ(run({"--report", "--teeth", "12,24", "--centre-distance", "20", "--shift", "0.1,0.2"}).status, 2);

    // The contact stress with a torque, on the face width given.
    const Finished loaded = run({"--report", "--teeth", "20,40", "--module", "2", "--torque", "50", "--face-width", "20"});
    EXPECT_EQ(loaded.status, 0) << loaded.err;
    EXPECT_NE(loaded.out.find("σH_C = "), std::string::npos);
    EXPECT_NE(loaded.out.find("b = 20.0000 mm"), std::string::npos);
    EXPECT_EQ(run({"--report"}).out.find("σH"), std::string::npos);
}

// A set whose ring the given cutter cannot cut is refused for its cutter,
// as an internal pair is: 20, 25 and 70 teeth mesh unshifted (xR = 0), so
// no shift is out of range.
TEST(PairOptions, PlanetarySetRefusedForItsCutterNamesTheCutter) {
    const Finished set = run({"--report", "--pair", "planetary", "--teeth", "20,25,70", "--cutter-teeth", "200"});
    EXPECT_EQ(set.status, 2);
    EXPECT_EQ(set.err.rfind("involute-gears: --cutter-teeth: ", 0), 0u) << set.err;
    EXPECT_NE(set.err.find("a cutter of 200 teeth cannot cut"), std::string::npos) << set.err;
    EXPECT_EQ(set.err.find("outside"), std::string::npos) << set.err;
}

// The page's link is read by the same reader as the command line: what does
// not fit the kind is refused in the option's own words, a bad value left to
// the fields; x1 with a centre distance stays as given.
TEST(PairOptions, TheLinksOptionsAreReadAsTheCommandLinesAndSayWhatDoesNotFit) {
    PairInput pair;
    std::string message;
    bool misfit = false;
    EXPECT_FALSE(readPairOptions({{"planets", "4"}}, pair, message, misfit));
    EXPECT_TRUE(misfit);
    EXPECT_EQ(message, "--planets and --fixed are for a planetary set (--pair planetary)");
    EXPECT_FALSE(readPairOptions({{"pair", "rack"}, {"teeth", "12,24"}}, pair, message, misfit));
    EXPECT_TRUE(misfit);
    // A bad value fits: the values are the caller's to read.
    EXPECT_TRUE(readPairOptions({{"teeth", "12,abc"}}, pair, message, misfit)) << message;
    // X1 alone beside a centre distance stays, as the command line keeps it.
    ASSERT_TRUE(readPairOptions({{"centre-distance", "56.4999"}, {"shift", "0.5"}}, pair, message, misfit)) << message;
    EXPECT_TRUE(pair.centreX1Given);
    ASSERT_TRUE(readPairOptions({{"centre-distance", "56.4999"}}, pair, message, misfit)) << message;
    EXPECT_FALSE(pair.centreX1Given);
    // A set's range refusal names the sun as the set's fields do.
    EXPECT_EQ(run({"--pair", "planetary", "--teeth", "3,24,63", "--report"}).err,
              "involute-gears: --teeth: zS must be a whole number from 4 to 400\n");
    // Left out, the teeth are the kind's: a set's assemble.
    ASSERT_TRUE(readPairOptions({{"pair", "planetary"}}, pair, message, misfit)) << message;
    EXPECT_EQ((std::vector<int>{pair.z1, pair.z2, pair.z3}), (std::vector<int>{20, 25, 70}));
}
