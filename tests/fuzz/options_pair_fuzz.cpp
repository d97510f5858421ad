// libFuzzer target over the command line and the gear pair's model: the
// fuzzer's bytes, split at newlines (or NULs), are the program's arguments.
// readProgramOptions reads them; a pair it accepts gets its numbers and its
// report and, when small enough to trace quickly, its outlines and the SVG
// and DXF text, all in memory (no file is written, no window opened).
//
// Aborts, besides the sanitizers' own reports, on text that prints a number
// no drawing or report may hold: "nan" or "inf" in any case, in the report,
// the SVG, the DXF or a refusal's own words; and, when
// checkNegativeZero is on, a negative zero ("-0", "-0.00000") in them.
// Built by tests/fuzz/fuzz.sh with clang; not part of the gcc test build.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/options.h"
#include "pair/exports.h"
#include "pair/outline.h"

namespace {

// Negative zeros are still written by today's formatting of the drawings:
// off unless built with -DINVOLUTE_FUZZ_NEGATIVE_ZERO=1 (tests/fuzz/fuzz.sh
// passes INVOLUTE_FUZZ_CXXFLAGS on).
#ifndef INVOLUTE_FUZZ_NEGATIVE_ZERO
#define INVOLUTE_FUZZ_NEGATIVE_ZERO 0
#endif
constexpr bool checkNegativeZero = INVOLUTE_FUZZ_NEGATIVE_ZERO != 0;

// Outlines are traced from thousands of cutter positions per tooth: pairs
// with more teeth than this together get numbers and report only, so that
// each run stays well within the fuzzer's time limit.
constexpr int maxTracedTeeth = 160;
constexpr size_t maxArguments = 64;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "nan" or "inf" as a word of its own (any case), as printf writes them.
size_t findNotANumber(const std::string& text) {
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        if (i > 0 && isLetter(text[i - 1])) {
            continue;
        }
        char word[4] = {static_cast<char>(tolower(static_cast<unsigned char>(text[i]))),
                        static_cast<char>(tolower(static_cast<unsigned char>(text[i + 1]))),
                        static_cast<char>(tolower(static_cast<unsigned char>(text[i + 2]))), '\0'};
        if (strcmp(word, "nan") == 0 || strcmp(word, "inf") == 0) {
            // "info", "infeasible": a longer word, not a number.
            if (i + 3 < text.size() && isLetter(text[i + 3]) &&
                !(strcmp(word, "inf") == 0 && text.compare(i, 8, "infinity") == 0)) {
                continue;
            }
            return i;
        }
    }
    return std::string::npos;
}

// A number written as a negative zero: '-', not after a digit or a letter,
// then zeros with at most one decimal point, then no further digit.
size_t findNegativeZero(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '-' || text[i + 1] != '0' ||
            (i > 0 && (isdigit(static_cast<unsigned char>(text[i - 1])) || isLetter(text[i - 1])))) {
            continue;
        }
        size_t j = i + 1;
        bool point = false;
        while (j < text.size() && (text[j] == '0' || (text[j] == '.' && !point))) {
            point = point || text[j] == '.';
            ++j;
        }
        if (j == text.size() || !(isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.')) {
            return i;
        }
    }
    return std::string::npos;
}

[[noreturn]] void fail(const char* what, const std::string& text, size_t at) {
    const size_t from = at > 60 ? at - 60 : 0;
    fprintf(stderr, "options_pair_fuzz: %s in the text, at byte %zu: ...%s...\n", what, at,
            text.substr(from, 120).c_str());
    abort();
}

void checkText(const char* name, const std::string& text) {
    size_t at = findNotANumber(text);
    if (at != std::string::npos) {
        fail((std::string(name) + ": nan or inf").c_str(), text, at);
    }
    if (checkNegativeZero) {
        at = findNegativeZero(text);
        if (at != std::string::npos) {
            fail((std::string(name) + ": a negative zero").c_str(), text, at);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The arguments, each its own string: argv points into them.
    std::vector<std::string> words{"involute-gears"};
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n' || c == '\0') {
            words.push_back(word);
            word.clear();
            if (words.size() > maxArguments) {
                return 0;
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(&w[0]);
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    ProgramOptions options;
    std::string message;
    if (!readProgramOptions(&argc, argv.data(), options, message)) {
        // A refusal's own words (not an echo of a value, which is quoted)
        // hold ranges worked out from the pair: never a nan.
        if (message.find('"') == std::string::npos) {
            checkText("message", message);
        }
        return 0;
    }
    if (argc < 1 || argv[argc] != nullptr) {
        fprintf(stderr, "options_pair_fuzz: GLUT's argv not ended by a null pointer\n");
        abort();
    }
    if (!options.hasPair) {
        return 0;
    }
    const PairNumbers numbers = pairNumbers(options.pair);
    checkText("report", formatPairReport(numbers));
    const int teeth = options.pair.z1 + (options.pair.kind == PairKind::rack ? 0 : options.pair.z2);
    if (teeth > maxTracedTeeth) {
        return 0;
    }
    PairGeometry pair;
    buildPairGeometry(options.pair, pair);
    checkText("svg", formatPairSvg(pair, options.layout));
    checkText("dxf", formatPairDxf(pair, options.layout));
    return 0;
}
