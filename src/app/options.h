// The desktop program's own command-line options: the gear pair of the
// pair's scenes and what to do with it. The pair's options, their ranges,
// units and words come from the one table of inputs (pair/inputs/inputs.h);
// the program's own (--pair, --report, --svg, --dxf, --layout, --lang, --stl,
// --bore, --help, --version) from a small table in options.cpp. `--help`
// prints them all, with their units and ranges: the list lives there, not
// here.
//
// Each may also be written --name=value, in full: abbreviations are refused.
// A repeated option: the last one wins. An omitted pair value takes its
// kind's start value (the table of inputs). Any of these options gives the program a pair; without them it
// is the six-scene animation alone. GLUT's documented options (-display NAME,
// -geometry SPEC, -iconic, -direct, -indirect, -gldebug, -sync) are left for
// glutInit; any other argument is refused.
#pragma once

#include <string>
#include <vector>

#include "pair/exports/exports.h"
#include "pair/inputs/gear_pair.h"
#include "pair/inputs/inputs.h"
#include "pair/report/report.h"

struct ProgramOptions {
    bool help = false;      // --help or -h: print the options (helpText) and exit 0
    bool version = false;   // --version: print the name and version and exit 0
    bool hasPair = false;   // at least one option above was given
    PairInput pair;         // checked by checkPair when hasPair
    bool report = false;    // --report
    bool svg = false;       // --svg
    std::string svgPath;    // --svg's FILE ("-": standard output)
    bool dxf = false;       // --dxf
    std::string dxfPath;    // --dxf's FILE ("-": standard output)
    SheetLayout layout = SheetLayout::mesh;  // --layout
    bool stl = false;       // --stl
    std::string stlPath;    // --stl's FILE ("-": standard output)
    double bore = 0.0;      // --bore, mm; 0: none
    Language language = Language::ja;  // --lang: the report's language
    // Refused because an option does not fit the kind of pair or the other
    // options (a second tooth count for a rack, --planets for a pair, a
    // centre distance for a set), not for a value.
    bool misfit = false;
};

// Takes the options above out of argv (argc and argv shrink to GLUT's
// options, in the same order, argv[0] first) and checks the pair. On bad
// input returns false and sets `message` to one English line naming the
// option, the value given (control characters escaped) and the allowed
// range; argc and argv are then unspecified.
bool readProgramOptions(int* argc, char** argv, ProgramOptions& options, std::string& message);

// How the pair's options fit the kind and each other, each an option's
// name without "--" and its text ({"teeth", "12,24"}), by the same code as
// readProgramOptions checks a command line of them: true when they fit,
// `pair` then of that kind with the kind's teeth (centreX1Given said),
// else false with `message` the command line's own words without the
// program's name (`misfit` true). The values themselves are not read here:
// the caller reads them, as the page's fields do, by the table of inputs.
// The page's link is checked so.
struct OptionText {
    std::string option;
    std::string text;
};
bool readPairOptions(const std::vector<OptionText>& given, PairInput& pair, std::string& message, bool& misfit);

// Every option with its unit and range, made from the pair's table of inputs
// (pair/inputs.h): what --help prints.
std::string helpText();

// "involute-gears 1.0.0": what --version prints.
std::string versionText();

// `text` with every control character (C0, DEL, C1) and every byte that is
// not UTF-8 written as \xNN, and a backslash as \\: safe to echo to a terminal.
std::string escapeForMessage(const std::string& text);
