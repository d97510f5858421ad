#include "app/options.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <vector>

namespace {

// getopt_long's codes for the long options, above every character code.
enum Code : int {
    codeTeeth = 256,
    codeModule,
    codePressureAngle,
    codeShift,
    codeReport,
    codeSvg,
    codePair,
    codeBacklash,
    codePin,
    codeCutterTeeth,
    codeDxf,
    codeLayout,
};

const option longOptions[] = {
    {"teeth", required_argument, nullptr, codeTeeth},
    {"module", required_argument, nullptr, codeModule},
    {"pressure-angle", required_argument, nullptr, codePressureAngle},
    {"shift", required_argument, nullptr, codeShift},
    {"report", no_argument, nullptr, codeReport},
    {"svg", required_argument, nullptr, codeSvg},
    {"pair", required_argument, nullptr, codePair},
    {"backlash", required_argument, nullptr, codeBacklash},
    {"pin", required_argument, nullptr, codePin},
    {"cutter-teeth", required_argument, nullptr, codeCutterTeeth},
    {"dxf", required_argument, nullptr, codeDxf},
    {"layout", required_argument, nullptr, codeLayout},
    {nullptr, 0, nullptr, 0},
};

// GLUT's documented options, left for glutInit; the first two take a value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
constexpr GlutOption glutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-iconic", false}, {"-direct", false},
    {"-indirect", false}, {"-gldebug", false}, {"-sync", false},
};

const option* findLong(const std::string& name) {
    for (const option* o = longOptions; o->name != nullptr; ++o) {
        if (name == std::string("--") + o->name) {
            return o;
        }
    }
    return nullptr;
}

const GlutOption* findGlut(const char* argument) {
    for (const GlutOption& g : glutOptions) {
        if (strcmp(argument, g.name) == 0) {
            return &g;
        }
    }
    return nullptr;
}

std::string nameOf(int code) {
    for (const option* o = longOptions; o->name != nullptr; ++o) {
        if (o->val == code) {
            return std::string("--") + o->name;
        }
    }
    return "";
}

// What each value must be, as the messages say it.
std::string expected(int code) {
    char text[160];
    switch (code) {
    case codeTeeth:
        snprintf(text, sizeof text, "Z1,Z2: two whole numbers, each %d to %d (Z1 alone with --pair rack)", minTeeth,
                 maxTeeth);
        break;
    case codeModule:
        snprintf(text, sizeof text, "M: a number of mm, %g to %g", minModule, maxModule);
        break;
    case codePressureAngle:
        snprintf(text, sizeof text, "DEG: a number of degrees, %g to %g", minPressureAngleDeg, maxPressureAngleDeg);
        break;
    case codeShift:
        snprintf(text, sizeof text, "X1,X2: two numbers, each %.1f to %.1f (X1 alone with --pair rack)", minShift,
                 maxShift);
        break;
    case codePair:
        snprintf(text, sizeof text, "KIND: external, internal or rack");
        break;
    case codeBacklash:
        snprintf(text, sizeof text, "J: a number of mm, 0 to %g m (the module times %g)", maxBacklashModules,
                 maxBacklashModules);
        break;
    case codePin:
        snprintf(text, sizeof text, "D: a number of mm, above 0 and at most %g m (the module times %g)", maxPinModules,
                 maxPinModules);
        break;
    case codeCutterTeeth:
        snprintf(text, sizeof text, "ZC: a whole number, %d to %d", minCutterTeeth, maxCutterTeeth);
        break;
    case codeSvg:
        snprintf(text, sizeof text, "FILE: the SVG file to write (- for standard output)");
        break;
    case codeDxf:
        snprintf(text, sizeof text, "FILE: the DXF file to write (- for standard output)");
        break;
    case codeLayout:
        snprintf(text, sizeof text, "KIND: mesh or apart");
        break;
    default:
        snprintf(text, sizeof text, "no value");
        break;
    }
    return text;
}

// A whole number in decimal, the whole text. Values far out of range come
// back as INT_MIN / INT_MAX and fail the range check later.
bool readWhole(const char* text, int& value) {
    const char* digits = text[0] == '+' || text[0] == '-' ? text + 1 : text;
    if (digits[0] == '\0' || strspn(digits, "0123456789") != strlen(digits)) {
        return false;
    }
    const long number = strtol(text, nullptr, 10);
    value = number > INT_MAX ? INT_MAX : number < INT_MIN ? INT_MIN : static_cast<int>(number);
    return true;
}

// A decimal number (1, 0.5, -.25, 2e-1), the whole text: no hexadecimal,
// no "inf" or "nan". LC_NUMERIC is "C", so the decimal point is '.'.
// "-0" is zero: kept as -0.0 it would be printed "-0.0000" in the report
// and "-0" in the drawings.
bool readNumber(const char* text, double& value) {
    if (text[0] == '\0' || strspn(text, "+-.0123456789eE") != strlen(text)) {
        return false;
    }
    char* end = nullptr;
    value = strtod(text, &end);
    if (value == 0.0) {
        value = 0.0;
    }
    return end != text && *end == '\0';
}

// "A" or "A,B", each part read by `read`; `count` says how many were given.
template <typename T, typename Read>
bool readOneOrTwo(const char* text, T& first, T& second, int& count, Read read) {
    const char* comma = strchr(text, ',');
    if (comma == nullptr) {
        count = 1;
        return read(text, first);
    }
    count = 2;
    const std::string head(text, comma);
    return read(head.c_str(), first) && read(comma + 1, second);
}

// The option a checkPair complaint is about.
int optionOf(PairField field) {
    switch (field) {
    case PairField::z1:
    case PairField::z2:
        return codeTeeth;
    case PairField::module:
        return codeModule;
    case PairField::alpha:
        return codePressureAngle;
    case PairField::cutter:
        return codeCutterTeeth;
    case PairField::x1:
    case PairField::x2:
    case PairField::none:
        break;
    }
    return codeShift;
}

std::string quoted(const std::string& value) { return "\"" + escapeForMessage(value) + "\""; }

std::string complaint(const std::string& text) { return "involute-gears: " + text; }

// What the options said, before the checks that need all of them.
struct Given {
    int teethCount = 0;  // numbers given to --teeth (0: not given)
    int shiftCount = 0;
    std::string teeth;   // the values as given, for the messages
    std::string shift;
    std::string backlash;
    std::string pin;
    bool cutterTeeth = false;
    unsigned codes = 0;  // bit code - codeTeeth for each option given
};

bool readValue(int code, const char* value, ProgramOptions& options, Given& given) {
    PairInput& pair = options.pair;
    switch (code) {
    case codeTeeth:
        given.teeth = value;
        return readOneOrTwo(value, pair.z1, pair.z2, given.teethCount, readWhole);
    case codeModule:
        return readNumber(value, pair.m);
    case codePressureAngle:
        return readNumber(value, pair.alphaDeg);
    case codeShift:
        given.shift = value;
        return readOneOrTwo(value, pair.x1, pair.x2, given.shiftCount, readNumber);
    case codePair:
        if (strcmp(value, "external") == 0) {
            pair.kind = PairKind::external;
        } else if (strcmp(value, "internal") == 0) {
            pair.kind = PairKind::internal;
        } else if (strcmp(value, "rack") == 0) {
            pair.kind = PairKind::rack;
        } else {
            return false;
        }
        return true;
    case codeBacklash:
        given.backlash = value;
        return readNumber(value, pair.backlash);
    case codePin:
        given.pin = value;
        return readNumber(value, pair.pinDiameter);
    case codeCutterTeeth:
        given.cutterTeeth = true;
        return readWhole(value, pair.cutterTeeth) && pair.cutterTeeth >= minCutterTeeth &&
               pair.cutterTeeth <= maxCutterTeeth;
    case codeSvg:
        options.svg = true;
        options.svgPath = value;
        return value[0] != '\0';
    case codeDxf:
        options.dxf = true;
        options.dxfPath = value;
        return value[0] != '\0';
    case codeLayout:
        if (strcmp(value, "mesh") == 0) {
            options.layout = SheetLayout::mesh;
        } else if (strcmp(value, "apart") == 0) {
            options.layout = SheetLayout::apart;
        } else {
            return false;
        }
        return true;
    case codeReport:
        options.report = true;
        return true;
    }
    return false;
}

// The checks that need every option read: how many numbers the kind of pair
// takes, and the ranges given in multiples of the module.
bool checkTogether(const ProgramOptions& options, const Given& given, std::string& message) {
    const PairInput& pair = options.pair;
    const bool rack = pair.kind == PairKind::rack;
    if (given.teethCount == 2 && rack) {
        message = complaint("--teeth " + quoted(given.teeth) +
                            ": a rack has no tooth count of its own; with --pair rack give Z1 alone, " +
                            std::to_string(minTeeth) + " to " + std::to_string(maxTeeth));
        return false;
    }
    if (given.teethCount == 1 && !rack) {
        message = complaint("--teeth " + quoted(given.teeth) + " is not " + expected(codeTeeth));
        return false;
    }
    if (given.shiftCount == 2 && rack) {
        char range[64];
        snprintf(range, sizeof range, "%.1f to %.1f", minShift, maxShift);
        message = complaint("--shift " + quoted(given.shift) +
                            ": the rack is not shifted; with --pair rack give X1 alone, " + range);
        return false;
    }
    if (given.shiftCount == 1 && !rack) {
        message = complaint("--shift " + quoted(given.shift) + " is not " + expected(codeShift));
        return false;
    }
    if (given.cutterTeeth && pair.kind != PairKind::internal) {
        message = complaint("--cutter-teeth: only an internal gear (--pair internal) is cut by a pinion-type cutter");
        return false;
    }
    // The inspection sizes are worked out for external pairs only so far:
    // refused for the other kinds rather than silently ignored.
    if (pair.kind != PairKind::external && !given.pin.empty()) {
        message = complaint("--pin: the inspection sizes are worked out for external pairs only (--pair external)");
        return false;
    }
    if (options.svg && options.dxf && options.svgPath == options.dxfPath) {
        message = complaint("--dxf " + quoted(options.dxfPath) + ": --svg writes " +
                            (options.svgPath == "-" ? std::string("to standard output") : std::string("that file")) +
                            " already; give each drawing its own file");
        return false;
    }
    // The module's own complaint comes first when it is out of range.
    if (!(pair.m >= minModule && pair.m <= maxModule)) {
        return true;
    }
    char range[96];
    if (!given.backlash.empty() && !(pair.backlash >= 0.0 && pair.backlash <= maxBacklashModules * pair.m)) {
        snprintf(range, sizeof range, "jn must be 0 to %g m = %g mm", maxBacklashModules, maxBacklashModules * pair.m);
        message = complaint("--backlash " + quoted(given.backlash) + ": " + range);
        return false;
    }
    if (!given.pin.empty() && !(pair.pinDiameter > 0.0 && pair.pinDiameter <= maxPinModules * pair.m)) {
        snprintf(range, sizeof range, "D must be above 0 and at most %g m = %g mm", maxPinModules,
                 maxPinModules * pair.m);
        message = complaint("--pin " + quoted(given.pin) + ": " + range);
        return false;
    }
    return true;
}

// Sorts argv's arguments before getopt_long reads them: GLUT's options (and
// their values) go to `glut`; every other argument to `own`. Refuses what
// getopt_long would let through: an abbreviated or unknown option ("--modul",
// "--module3", "--Teeth", "-x") and a value given to --report.
bool sortArguments(int argc, char** argv, std::vector<char*>& own, std::vector<char*>& glut, std::string& message) {
    own.push_back(argv[0]);
    glut.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        char* argument = argv[i];
        if (strcmp(argument, "--") == 0) {
            // The end of the options: what follows are words, refused later.
            own.insert(own.end(), argv + i, argv + argc);
            return true;
        }
        if (strncmp(argument, "--", 2) == 0) {
            const char* equals = strchr(argument, '=');
            const std::string name = equals == nullptr ? std::string(argument) : std::string(argument, static_cast<size_t>(equals - argument));
            const option* o = findLong(name);
            if (o == nullptr) {
                message = complaint("unknown option " + quoted(name));
                return false;
            }
            if (o->has_arg == no_argument && equals != nullptr) {
                message = complaint(name + " takes no value (given " + quoted(equals + 1) + ")");
                return false;
            }
            own.push_back(argument);
            // A separate value is the next argument unless that is an option
            // too ("--teeth --report": the value is missing).
            if (o->has_arg == required_argument && equals == nullptr && i + 1 < argc &&
                strncmp(argv[i + 1], "--", 2) != 0) {
                own.push_back(argv[++i]);
            }
            continue;
        }
        if (argument[0] == '-' && argument[1] != '\0') {
            const GlutOption* g = findGlut(argument);
            if (g == nullptr) {
                message = complaint("unknown option " + quoted(argument));
                return false;
            }
            glut.push_back(argument);
            if (g->takesValue && i + 1 < argc) {
                glut.push_back(argv[++i]);
            }
            continue;
        }
        own.push_back(argument);  // a word: refused after getopt_long
    }
    return true;
}

}  // namespace

std::string escapeForMessage(const std::string& text) {
    std::string out;
    char hex[8];
    const auto escape = [&](unsigned char byte) {
        snprintf(hex, sizeof hex, "\\x%02x", byte);
        out += hex;
    };
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7f) {
            escape(c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // A UTF-8 sequence is kept whole if it is well formed (shortest form,
        // no surrogates) and not one of the C1 controls U+0080 to U+009F.
        const int length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
        bool good = length > 0 && i + length <= text.size();
        for (int k = 1; good && k < length; ++k) {
            good = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
        }
        if (good) {
            const unsigned char c1 = static_cast<unsigned char>(text[i + 1]);
            good = !(c == 0xc2 && c1 < 0xa0) && !(c == 0xe0 && c1 < 0xa0) && !(c == 0xed && c1 >= 0xa0) &&
                   !(c == 0xf0 && c1 < 0x90) && !(c == 0xf4 && c1 >= 0x90);
        }
        if (!good) {
            escape(c);
            ++i;
            continue;
        }
        out.append(text, i, static_cast<size_t>(length));
        i += static_cast<size_t>(length);
    }
    return out;
}

bool readProgramOptions(int* argc, char** argv, ProgramOptions& options, std::string& message) {
    options = ProgramOptions{};
    std::vector<char*> own;
    std::vector<char*> glut;
    if (!sortArguments(*argc, argv, own, glut, message)) {
        return false;
    }
    Given given;
    // getopt_long on the program's own arguments only; optind = 0 starts it
    // afresh (the tests read several command lines in one process).
    const int count = static_cast<int>(own.size());
    own.push_back(nullptr);
    optind = 0;
    opterr = 0;
    for (;;) {
        const int code = getopt_long(count, own.data(), ":", longOptions, nullptr);
        if (code == -1) {
            break;
        }
        if (code == ':') {
            message = complaint(nameOf(optopt) + " needs a value, " + expected(optopt));
            return false;
        }
        if (code < codeTeeth) {  // not expected after sortArguments; refused all the same
            message = complaint("unknown option " + quoted(own[optind - 1]));
            return false;
        }
        options.hasPair = true;
        const char* value = code == codeReport ? "" : optarg;
        // A value taken from the next argument that is itself an option means
        // the value was left out.
        if (code != codeReport && optarg == own[optind - 1] && strncmp(value, "--", 2) == 0) {
            message = complaint(nameOf(code) + " needs a value, " + expected(code));
            return false;
        }
        if (!readValue(code, value, options, given)) {
            message = complaint(nameOf(code) + " " + quoted(value) + " is not " + expected(code));
            return false;
        }
        given.codes |= 1u << (code - codeTeeth);
    }
    if (optind < count) {
        message = complaint("unexpected argument " + quoted(own[optind]) +
                            " (the options are --name VALUE or --name=VALUE; see involute-gears(1))");
        return false;
    }
    for (size_t i = 0; i < glut.size(); ++i) {
        argv[i] = glut[i];
    }
    *argc = static_cast<int>(glut.size());
    argv[*argc] = nullptr;
    if (!options.hasPair) {
        return true;
    }
    if (!checkTogether(options, given, message)) {
        return false;
    }
    const PairCheck check = checkPair(options.pair);
    if (check.field != PairField::none) {
        // A pair that cannot be cut names the option that cures it; one the
        // user did not give is named as the cure, not as the culprit.
        const int option = optionOf(check.field);
        if (check.cure.empty() || (given.codes & (1u << (option - codeTeeth))) != 0) {
            message = complaint(nameOf(option) + ": " + check.message);
        } else {
            message = complaint(check.problem + "; the cure: with these teeth, " + nameOf(option) + " " + check.cure);
        }
        return false;
    }
    return true;
}
