// libFuzzer target over the command line and the gear pair's model: the
// fuzzer's bytes, split at newlines (or NULs), are the program's arguments.
// readProgramOptions reads them; a pair it accepts gets its numbers and its
// report and, when small enough to trace quickly, its outlines and the SVG
// and DXF text, all in memory (no file is written, no window opened).
//
// Aborts, besides the sanitizers' own reports, on a refusal's message that
// holds a control character or broken UTF-8, and on text that prints a number
// no drawing or report may hold: "nan" or "inf" in any case, in the report,
// the SVG, the DXF or a refusal's own words; and, each when switched on
// below, a length in the report under zero (checkNegativeSize), an outline
// that crosses itself (checkCrossing) and a negative zero ("-0",
// "-0.00000") in the texts (checkNegativeZero).
// Built by tests/fuzz/fuzz.sh with clang; not part of the gcc test build.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/options.h"
#include "pair/exports/exports.h"
#include "pair/outline/outline.h"

namespace {

// Three findings beyond crashes, each on unless built with its macro set
// to 0 (tests/fuzz/fuzz.sh passes INVOLUTE_FUZZ_CXXFLAGS on): a negative zero
// ("-0.00000") in the drawings;
#ifndef INVOLUTE_FUZZ_NEGATIVE_ZERO
#define INVOLUTE_FUZZ_NEGATIVE_ZERO 1
#endif
constexpr bool checkNegativeZero = INVOLUTE_FUZZ_NEGATIVE_ZERO != 0;
// a length in the report ("... = <value> mm") below zero: a diameter, a
// thickness, a span or size over pins that no gear can have;
#ifndef INVOLUTE_FUZZ_NEGATIVE_SIZE
#define INVOLUTE_FUZZ_NEGATIVE_SIZE 1
#endif
constexpr bool checkNegativeSize = INVOLUTE_FUZZ_NEGATIVE_SIZE != 0;
// an outline that crosses itself (a tooth's two flanks crossing at a pointed
// tip or a severed neck): a drawing no cutter can follow.
#ifndef INVOLUTE_FUZZ_CROSSING
#define INVOLUTE_FUZZ_CROSSING 1
#endif
constexpr bool checkCrossing = INVOLUTE_FUZZ_CROSSING != 0;

// Outlines are traced from thousands of cutter positions per tooth: pairs
// with more teeth than this together get numbers and report only, so that
// each run stays well within the fuzzer's time limit.
constexpr int maxTracedTeeth = 160;
constexpr size_t maxArguments = 64;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "nan" or "inf" (any case) as printf writes them: not inside a lower-case
// word ("finance"), but after an SVG path command ("Lnan", "M-inf").
size_t findNotANumber(const std::string& text) {
    for (size_t i = 0; i + 3 <= text.size(); ++i) {
        if (i > 0 && text[i - 1] >= 'a' && text[i - 1] <= 'z') {
            continue;
        }
        std::string word = text.substr(i, 8);
        for (char& c : word) {
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        }
        if (word.compare(0, 3, "nan") == 0 || word.compare(0, 3, "inf") == 0) {
            // "info", "infeasible": a longer word, not a number.
            if (i + 3 < text.size() && isLetter(text[i + 3]) && word != "infinity") {
                continue;
            }
            return i;
        }
    }
    return std::string::npos;
}

// A number written as a negative zero: '-', not after a digit nor as an
// exponent's sign ("1e-05"), then zeros with at most one decimal point, then
// no further digit. After an SVG path command too: "L-0.00000".
size_t findNegativeZero(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '-' || text[i + 1] != '0' || (i > 0 && isDigit(text[i - 1])) ||
            (i > 1 && (text[i - 1] == 'e' || text[i - 1] == 'E') && (isDigit(text[i - 2]) || text[i - 2] == '.'))) {
            continue;
        }
        size_t j = i + 1;
        bool point = false;
        while (j < text.size() && (text[j] == '0' || (text[j] == '.' && !point))) {
            point = point || text[j] == '.';
            ++j;
        }
        if (j == text.size() || !(isDigit(text[j]) || text[j] == '.')) {
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

// Where `text` stops being safe to print to a terminal: a C0 control, DEL,
// a byte that is not well-formed UTF-8 (overlong, surrogate, beyond
// U+10FFFF) or a C1 control U+0080 to U+009F. npos when it is safe.
size_t findUnsafeByte(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7f) {
                return i;
            }
            ++i;
            continue;
        }
        const size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            return i;
        }
        unsigned long code = c & (0x7f >> length);
        for (size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) {
                return i;
            }
            code = code << 6 | (next & 0x3f);
        }
        const unsigned long least = length == 2 ? 0xa0 : length == 3 ? 0x800 : 0x10000;  // 0xa0: past C1
        if (code < least || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) {
            return i;
        }
        i += length;
    }
    return std::string::npos;
}

double cross(const Point2& o, const Point2& a, const Point2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether the closed outline has two edges that cross properly (each strictly
// on both sides of the other; touching and overlap are not counted). A sweep
// over the edges sorted by their left end: only edges whose x ranges overlap
// are compared.
bool crossesItself(const std::vector<Point2>& points, size_t& edgeA, size_t& edgeB) {
    const size_t n = points.size();
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    const auto left = [&](size_t i) { return std::min(points[i].x, points[(i + 1) % n].x); };
    const auto right = [&](size_t i) { return std::max(points[i].x, points[(i + 1) % n].x); };
    std::sort(order.begin(), order.end(), [&](size_t i, size_t j) { return left(i) < left(j); });
    for (size_t k = 0; k < n; ++k) {
        const size_t i = order[k];
        const Point2& a = points[i];
        const Point2& b = points[(i + 1) % n];
        for (size_t l = k + 1; l < n && left(order[l]) <= right(i); ++l) {
            const size_t j = order[l];
            if (j == (i + 1) % n || i == (j + 1) % n) {
                continue;  // neighbours share a point
            }
            const Point2& c = points[j];
            const Point2& d = points[(j + 1) % n];
            if (std::max(c.y, d.y) < std::min(a.y, b.y) || std::max(a.y, b.y) < std::min(c.y, d.y)) {
                continue;
            }
            const double c1 = cross(a, b, c);
            const double c2 = cross(a, b, d);
            const double c3 = cross(c, d, a);
            const double c4 = cross(c, d, b);
            if (((c1 > 0 && c2 < 0) || (c1 < 0 && c2 > 0)) && ((c3 > 0 && c4 < 0) || (c3 < 0 && c4 > 0))) {
                edgeA = i;
                edgeB = j;
                return true;
            }
        }
    }
    return false;
}

// The first report line whose length in mm is negative.
size_t findNegativeLength(const std::string& report) {
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start + 1);
        if (end == std::string::npos) {
            end = report.size();
        }
        const std::string line = report.substr(start, end - start);
        const size_t equals = line.find(" = ");
        if (equals != std::string::npos && line.size() > 3 && line.compare(line.size() - 3, 3, " mm") == 0) {
            const double value = strtod(line.c_str() + equals + 3, nullptr);
            if (value < 0.0) {
                return start + equals;
            }
        }
        start = end;
    }
    return std::string::npos;
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
        // The message goes to a terminal: whatever was typed, it holds no
        // control character and no broken UTF-8.
        const size_t unsafe = findUnsafeByte(message);
        if (unsafe != std::string::npos) {
            fail("message: a byte unsafe for a terminal", message, unsafe);
        }
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
    // --help and --version end the program before any pair is worked out:
    // the pair's values are then read but not checked.
    if (!options.hasPair || options.help || options.version) {
        return 0;
    }
    const PairNumbers numbers = pairNumbers(options.pair);
    const std::string report = formatPairReport(options.pair, numbers);
    checkText("report", report);
    if (checkNegativeSize) {
        const size_t at = findNegativeLength(report);
        if (at != std::string::npos) {
            fail("report: a negative length", report, at);
        }
    }
    const int teeth = options.pair.z1 + (options.pair.kind == PairKind::rack ? 0 : options.pair.z2);
    if (teeth > maxTracedTeeth) {
        return 0;
    }
    PairGeometry pair;
    buildPairGeometry(options.pair, pair);
    for (int gear = 0; checkCrossing && gear < 2; ++gear) {
        size_t a = 0;
        size_t b = 0;
        if (crossesItself(pair.outline[gear].points, a, b)) {
            const Point2& p = pair.outline[gear].points[a];
            const Point2& q = pair.outline[gear].points[b];
            fprintf(stderr, "options_pair_fuzz: gear %d's outline crosses itself: edges from (%.5f, %.5f) and (%.5f, %.5f)\n",
                    gear + 1, p.x, p.y, q.x, q.y);
            abort();
        }
    }
    checkText("svg", formatPairSvg(pair, options.layout));
    checkText("dxf", formatPairDxf(pair, options.layout));
    if (options.stl) {
        // The solids: 80 bytes of header, a count, 50 bytes a facet.
        const std::string stl = formatPairStl(pair, options.bore);
        if (stl.size() < 84 || (stl.size() - 84) % 50 != 0) {
            fprintf(stderr, "options_pair_fuzz: an STL of %zu bytes\n", stl.size());
            abort();
        }
    }
    return 0;
}
