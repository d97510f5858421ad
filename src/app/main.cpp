// involute-gears: an interactive animation of involute spur-gear geometry.
#include <csignal>
#include <cstdio>
#include <string>

#include "app/console.h"
#include "app/options.h"
#include "app/output_file.h"
#include "app/pair_state.h"
#include "app/state.h"
#include "app/window.h"
#include "pair/exports/exports.h"
#include "pair/report/report.h"
#include "geometry/gear_setup.h"

#ifdef __EMSCRIPTEN__
#include <GL/freeglut.h>
#endif

namespace {

#ifndef __EMSCRIPTEN__
// A text such as the pair's report, a line at a time: each line is converted to the
// console's codeset on its own, within consoleWrite's line length.
void printLines(const std::string& report) {
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start + 1);
        if (end == std::string::npos) {
            end = report.size();
        }
        consoleWrite(report.substr(start, end - start).c_str());
        start = end;
    }
    consoleFlush();
}

void printPairReport(const PairInput& input, const PairNumbers& numbers, Language language) {
    printLines(formatReport(pairReport(input, numbers), language));
}

constexpr int exitBadInput = 2;
constexpr int exitCannotWrite = 1;

// Writes one drawing whole or not at all; says why not, naming the file.
bool writeDrawing(const char* option, const std::string& path, const std::string& text) {
    std::string reason;
    if (writeWholeFile(path, text, reason)) {
        return true;
    }
    const std::string where = path == "-" ? "standard output" : escapeForMessage(path);
    fprintf(stderr, "involute-gears: %s: cannot write %s: %s\n", option, where.c_str(), reason.c_str());
    return false;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    // Writing the report to a console that has gone away (a closed pipe)
    // must not end the program.
    signal(SIGPIPE, SIG_IGN);
    initConsole();

    ProgramOptions options;
#ifndef __EMSCRIPTEN__
    // The page has no command line (its pair comes from the panel, through
    // web/pair_bridge.cpp): the option parser and the file writer stay out
    // of it.
    std::string message;
    if (!readProgramOptions(&argc, argv, options, message)) {
        fprintf(stderr, "%s\n", message.c_str());
        return exitBadInput;
    }
    if (options.help || options.version) {
        // In the console's codeset, as the reports (the help names α).
        printLines(options.help ? helpText() : versionText());
        return ferror(stdout) == 0 ? 0 : exitCannotWrite;
    }
    // --svg, --dxf, --stl and --report answer and end the program: no
    // window, no display, no scene. The report needs the numbers alone; the
    // drawings and the solids the outlines too.
    if (options.svg || options.dxf) {
        Sheet sheet;
        layOutSheet(options.pair, options.layout, sheet);  // the kind's: a planetary set draws all its members
        if (options.svg && !writeDrawing("--svg", options.svgPath, formatSheetSvg(sheet))) {
            return exitCannotWrite;
        }
        if (options.dxf && !writeDrawing("--dxf", options.dxfPath, formatSheetDxf(sheet))) {
            return exitCannotWrite;
        }
    }
    if (options.stl) {
        if (!writeDrawing("--stl", options.stlPath, formatInputStl(options.pair, options.bore))) {
            return exitCannotWrite;
        }
    }
    if (options.report) {
        printPairReport(options.pair, pairNumbers(options.pair), options.language);
        return 0;
    }
    if (options.svg || options.dxf || options.stl) {
        return 0;
    }
    if (options.hasPair) {
        setActivePair(options.pair);
        pairScenesEnabled = true;
    }
#endif

    sceneKey = '1';
#ifdef __EMSCRIPTEN__
    // The page shows its first frame before the report: the gear is set up
    // now, and the report box takes its report in the task after that
    // frame. (The page starts with no pair: its pair comes from the panel.)
    static DemoGear startGear;
    startGear = computeDemoGear();
    glutTimerFunc(0, [](int) { printDemoGearReport(startGear); }, 0);
#else
    // The demonstration gear's report first on the console, the pair's after it.
    printDemoGearReport(computeDemoGear());
    if (options.hasPair) {
        // The pair as given: a planetary set's scenes show its sun–planet pair, its report the whole set.
        printPairReport(options.pair, activePair.numbers, options.language);
    }
#endif
    startGlut(&argc, argv);
}
