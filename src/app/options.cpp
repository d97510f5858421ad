#include "app/options.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Option { teeth, module, pressureAngle, shift, report, svg };

struct OptionName {
    Option option;
    const char* name;
    bool takesValue;
};

constexpr OptionName optionNames[] = {
    {Option::teeth, "--teeth", true},   {Option::module, "--module", true}, {Option::pressureAngle, "--pressure-angle", true},
    {Option::shift, "--shift", true},   {Option::report, "--report", false}, {Option::svg, "--svg", true},
};

// What each value must be, as the messages say it.
const char* expected(Option option) {
    static char text[128];
    switch (option) {
    case Option::teeth:
        snprintf(text, sizeof text, "Z1,Z2: two whole numbers, each %d to %d", minTeeth, maxTeeth);
        break;
    case Option::module:
        snprintf(text, sizeof text, "M: a number of mm, %g to %g", minModule, maxModule);
        break;
    case Option::pressureAngle:
        snprintf(text, sizeof text, "DEG: a number of degrees, %g to %g", minPressureAngleDeg, maxPressureAngleDeg);
        break;
    case Option::shift:
        snprintf(text, sizeof text, "X1,X2: two numbers, each %.1f to %.1f", minShift, maxShift);
        break;
    case Option::svg:
        snprintf(text, sizeof text, "FILE: the SVG file to write");
        break;
    case Option::report:
        snprintf(text, sizeof text, "no value");
        break;
    }
    return text;
}

const char* optionName(Option option) {
    for (const OptionName& o : optionNames) {
        if (o.option == option) {
            return o.name;
        }
    }
    return "";
}

// A whole number in decimal, the whole text. Values far out of range come
// back as LONG_MIN / LONG_MAX and fail the range check later.
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
bool readNumber(const char* text, double& value) {
    if (text[0] == '\0' || strspn(text, "+-.0123456789eE") != strlen(text)) {
        return false;
    }
    char* end = nullptr;
    value = strtod(text, &end);
    return end != text && *end == '\0';
}

// "A,B" with each part read by `read`.
template <typename T, typename Read>
bool readPair(const char* text, T& first, T& second, Read read) {
    const char* comma = strchr(text, ',');
    if (comma == nullptr) {
        return false;
    }
    const std::string head(text, comma);
    return read(head.c_str(), first) && read(comma + 1, second);
}

bool readValue(Option option, const char* value, ProgramOptions& options) {
    PairInput& pair = options.pair;
    switch (option) {
    case Option::teeth:
        return readPair(value, pair.z1, pair.z2, readWhole);
    case Option::module:
        return readNumber(value, pair.m);
    case Option::pressureAngle:
        return readNumber(value, pair.alphaDeg);
    case Option::shift:
        return readPair(value, pair.x1, pair.x2, readNumber);
    case Option::svg:
        options.svg = true;
        options.svgPath = value;
        return value[0] != '\0';
    case Option::report:
        options.report = true;
        return true;
    }
    return false;
}

// The option a checkPair complaint is about.
Option optionOf(PairField field) {
    switch (field) {
    case PairField::z1:
    case PairField::z2:
        return Option::teeth;
    case PairField::module:
        return Option::module;
    case PairField::alpha:
        return Option::pressureAngle;
    case PairField::x1:
    case PairField::x2:
    case PairField::none:
        break;
    }
    return Option::shift;
}

}  // namespace

bool readProgramOptions(int* argc, char** argv, ProgramOptions& options, std::string& message) {
    options = ProgramOptions{};
    int kept = 1;
    for (int i = 1; i < *argc; ++i) {
        const char* argument = argv[i];
        const OptionName* found = nullptr;
        const char* value = nullptr;
        for (const OptionName& o : optionNames) {
            const size_t length = strlen(o.name);
            if (strncmp(argument, o.name, length) == 0 && (argument[length] == '\0' || argument[length] == '=')) {
                found = &o;
                value = argument[length] == '=' ? argument + length + 1 : nullptr;
                break;
            }
        }
        if (found == nullptr) {
            argv[kept++] = argv[i];  // GLUT's, or nobody's: glutInit decides
            continue;
        }
        options.hasPair = true;
        const char* name = found->name;
        if (!found->takesValue) {
            if (value != nullptr) {
                message = std::string("involute-gears: ") + name + " takes no value (given \"" + value + "\")";
                return false;
            }
            readValue(found->option, "", options);
            continue;
        }
        if (value == nullptr) {
            // The next argument is the value, unless there is none or it is
            // another long option ("--teeth --report").
            if (i + 1 >= *argc || strncmp(argv[i + 1], "--", 2) == 0) {
                message = std::string("involute-gears: ") + name + " needs a value, " + expected(found->option);
                return false;
            }
            value = argv[++i];
        }
        if (!readValue(found->option, value, options)) {
            message = std::string("involute-gears: ") + name + " \"" + value + "\" is not " + expected(found->option);
            return false;
        }
    }
    *argc = kept;
    argv[kept] = nullptr;
    if (options.hasPair) {
        const PairCheck check = checkPair(options.pair);
        if (check.field != PairField::none) {
            message = std::string("involute-gears: ") + optionName(optionOf(check.field)) + ": " + check.message;
            return false;
        }
    }
    return true;
}
