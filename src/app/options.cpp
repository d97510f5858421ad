// The desktop program's command line (see options.h): the options of the
// pair's inputs, made from the table of inputs (pair/inputs/inputs.h), and
// the program's own options (what to do with the pair, --help, --version),
// read with getopt_long; how they fit the kind and each other; --help.
// Not here: the values' reading and ranges (the table of inputs), the
// checks of the whole pair (checkPair), what the program then does (main.cpp).
#include "app/options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <vector>

#include "pair/mesh/line_of_action.h"
#include "pair/pair_kind.h"
#include "pair/sets/planetary.h"

namespace {

// getopt_long's codes, above every character code: an option of the table
// of inputs has codeInputs plus the place in the table of its first input
// (--teeth z1's, --elastic E's); the program's own options follow.
constexpr int codeInputs = 256;
enum Code : int {
    codePair = codeInputs + pairInputCount,
    codeReport,
    codeSvg,
    codeDxf,
    codeLayout,
    codeLang,
    codeStl,
    codeBore,
    codeHelp,
    codeVersion,
    codeEnd,
};
static_assert(codeEnd - codeInputs <= 32, "Given::codes keeps a bit for each option");

// Where --help lists an option of the program's own.
enum class HelpGroup { pair, output, other };

// The options that are not an input of the pair, in the order --help lists
// them.
struct OwnOption {
    const char* name;      // without "--"
    char shortName;        // its one-letter form ("-h"), or 0
    int code;
    const char* value;     // its value in the usage ("FILE"), or nullptr: it takes none
    const char* expected;  // what its value must be, as the messages say it
    HelpGroup group;
    const char* help;      // what it does, for --help
};
constexpr OwnOption ownOptions[] = {
    {"pair", 0, codePair, "KIND", "KIND: external, internal, rack or planetary", HelpGroup::pair,
     "external (default), internal (a pinion inside a ring gear), rack or planetary (a sun, its planets and a ring: "
     "Z1 the sun, Z2 the planets, Z3 the ring; X1 the sun, X2 the planets)"},
    {"report", 0, codeReport, nullptr, nullptr, HelpGroup::output, "print the pair's numbers and warnings"},
    {"svg", 0, codeSvg, "FILE", "FILE: the SVG file to write (- for standard output)", HelpGroup::output,
     "write the outlines as an SVG picture in mm (- for standard output)"},
    {"dxf", 0, codeDxf, "FILE", "FILE: the DXF file to write (- for standard output)", HelpGroup::output,
     "write the outlines as a DXF R12 drawing in mm (- for standard output)"},
    {"layout", 0, codeLayout, "KIND", "KIND: mesh or apart", HelpGroup::output,
     "the drawings' placing: mesh (default) or apart"},
    {"lang", 0, codeLang, "LANG", "LANG: ja or en", HelpGroup::output,
     "the report's language: ja (Japanese, the default) or en (English); the same numbers in the same order"},
    {"stl", 0, codeStl, "FILE", "FILE: the STL file to write (- for standard output)", HelpGroup::output,
     "write every gear as a closed solid of the face width b for 3D printing, placed apart: a binary STL in mm (- "
     "for standard output); a ring with its rim, a rack as a bar with a flat back"},
    {"bore", 0, codeBore, "D", "D: a number of mm above 0", HelpGroup::output,
     "with --stl: a round bore of D mm through each wheel (not a ring or a rack), at most its root diameter less "
     "0.01 m"},
    {"help", 'h', codeHelp, nullptr, nullptr, HelpGroup::other, "print this help and exit"},
    {"version", 0, codeVersion, nullptr, nullptr, HelpGroup::other, "print the program's name and version and exit"},
};
constexpr int ownOptionCount = static_cast<int>(sizeof ownOptions / sizeof ownOptions[0]);
static_assert(ownOptionCount == codeEnd - codePair, "a code for each option of the program's own");

const PairInputSpec& spec(PairInputId id) { return pairInputSpec(id); }

// The place in the table of inputs of the first input of `id`'s option
// (z1 for z2 and z3: --teeth), under which the option is given.
int firstOfOption(PairInputId id) {
    int first = 0;
    while (strcmp(pairInputSpecs()[first].option, spec(id).option) != 0) {
        ++first;
    }
    return first;
}
int codeOf(PairInputId id) { return codeInputs + firstOfOption(id); }

// getopt_long's table: an option for each option of the table of inputs
// (at its first input, slot 0), then the program's own; made once.
struct LongOptions {
    option table[pairInputCount + ownOptionCount + 1];
};
const option* longOptions() {
    static const LongOptions made = [] {
        LongOptions o{};
        int n = 0;
        for (int i = 0; i < pairInputCount; ++i) {
            if (pairInputSpecs()[i].slot == 0) {
                o.table[n++] = {pairInputSpecs()[i].option, required_argument, nullptr, codeInputs + i};
            }
        }
        for (const OwnOption& own : ownOptions) {
            o.table[n++] = {own.name, own.value != nullptr ? required_argument : no_argument, nullptr, own.code};
        }
        return o;  // ends with a zero entry, as getopt_long wants
    }();
    return made.table;
}

const OwnOption* ownOption(int code) {
    for (const OwnOption& own : ownOptions) {
        if (own.code == code) {
            return &own;
        }
    }
    return nullptr;
}

// The code of an own option's one-letter form ('h': --help's), or 0.
int shortCode(int letter) {
    for (const OwnOption& own : ownOptions) {
        if (own.shortName != 0 && own.shortName == letter) {
            return own.code;
        }
    }
    return 0;
}

// getopt_long's short options: ':' (a missing value said as ':'), then the
// one-letter forms.
std::string shortOptions() {
    std::string letters = ":";
    for (const OwnOption& own : ownOptions) {
        letters += own.shortName != 0 ? std::string(1, own.shortName) : "";
    }
    return letters;
}

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
    for (const option* o = longOptions(); o->name != nullptr; ++o) {
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
    for (const option* o = longOptions(); o->name != nullptr; ++o) {
        if (o->val == code) {
            return std::string("--") + o->name;
        }
    }
    return "";
}

// The option of an input as the messages name it: "--teeth".
std::string nameOf(PairInputId id) { return nameOf(codeOf(id)); }

// A space that appendOption does not break a line at.
constexpr char unbreakable = '\x01';

// "a whole number, 4 to 400", "a number of mm, 0.05 to 100", "right or
// left": the value's kind and range as --help and the messages say it, a
// range in multiples of the module with its factor ("(the module times
// 0.25)").
std::string valueText(const PairInputSpec& input) {
    const char* plural = unitWords(input.unit).plural;
    const std::string unit = plural[0] == '\0' ? "" : std::string(" of ") + plural;
    std::string text = inputRangeText(input, 0.0);
    if (input.words == nullptr) {
        text = std::string(input.whole ? "a whole number" : "a number") + unit + ", " + text;
    }
    if (input.perModule) {
        char times[48];
        snprintf(times, sizeof times, " (the module times %g)", input.hi);
        text += times;
    }
    return text;
}

// The inputs an option of the table takes, in their places, or 0 of them.
int inputsOf(const std::string& option, const PairInputSpec* (&parts)[3]) {
    int count = 0;
    for (int i = 0; i < pairInputCount && count < 3; ++i) {
        if (option == pairInputSpecs()[i].option) {
            parts[count++] = &pairInputSpecs()[i];
        }
    }
    return count;
}

// The option's value as its usage writes it: "M", "Z1[,Z2][,Z3]", "E[,NU]".
std::string usageValue(const PairInputSpec* const* parts, int count) {
    std::string usage = parts[0]->metavar;
    for (int k = 1; k < count; ++k) {
        usage += std::string("[,") + parts[k]->metavar + "]";
    }
    return usage;
}

// What --teeth and --shift take, as the messages say it (how the options
// fit together says it too).
std::string expectedTeeth() {
    return "Z1,Z2: two whole numbers, each " + inputRangeText(spec(PairInputId::z1), 0.0) +
           " (Z1 alone with --pair rack; ZS,ZP,ZR, three, with --pair planetary)";
}
std::string expectedShift() {
    return "X1,X2: two numbers, each " + inputRangeText(spec(PairInputId::x1), 0.0) + " (X1 alone with --pair rack)";
}

// What each value must be, as the messages say it; the ranges from the
// table of inputs.
std::string expected(int code) {
    if (code == codeOf(PairInputId::z1)) {
        return expectedTeeth();
    }
    if (code == codeOf(PairInputId::x1)) {
        return expectedShift();
    }
    if (const OwnOption* own = ownOption(code)) {
        return own->expected != nullptr ? own->expected : "no value";
    }
    // An option of the table of inputs: "M: a number of mm, 0.05 to 100";
    // one of two inputs: "E[,NU]: E a number of GPa, 1 to 1000, NU a number, 0 to 0.49".
    const PairInputSpec* parts[3] = {};
    const int count = inputsOf(nameOf(code).substr(2), parts);
    if (count == 1) {
        return std::string(parts[0]->metavar) + ": " + valueText(*parts[0]);
    }
    std::string text = usageValue(parts, count) + ":";
    for (int k = 0; k < count; ++k) {
        text += std::string(k == 0 ? " " : ", ") + parts[k]->metavar + " " + valueText(*parts[k]);
    }
    return text;
}

// Whether an option's values are refused as soon as they are read when out
// of range ("--torque "-1" is not T: ..."). The teeth, the module, the
// pressure angle and the shifts are judged with the whole pair (checkPair
// names the value of a list at fault and offers cures), the ranges in
// multiples of the module once the module is known (checkTogether).
bool rangedAsRead(const PairInputSpec& input) {
    for (const PairInputId id : {PairInputId::z1, PairInputId::module, PairInputId::alpha, PairInputId::x1}) {
        if (strcmp(input.option, spec(id).option) == 0) {
            return false;
        }
    }
    return !input.perModule;
}

// An option of the table of inputs: "A", "A,B" or (an option of three
// inputs) "A,B,C", its last place taking the rest of the text, each read by
// the table's rule into the pair; `places` is how many were given.
bool readInputs(int code, const char* text, int places, PairInput& pair) {
    const PairInputSpec* parts[3] = {};
    inputsOf(nameOf(code).substr(2), parts);
    const char* at = text;
    for (int k = 0; k < places; ++k) {
        const char* comma = k + 1 < places ? strchr(at, ',') : nullptr;
        const std::string piece = comma != nullptr ? std::string(at, comma) : std::string(at);
        double value = 0.0;
        if (!readInputText(*parts[k], piece.c_str(), value)) {
            return false;
        }
        setPairInputValue(pair, parts[k]->id, value);
        at = comma != nullptr ? comma + 1 : at;
    }
    for (int k = 0; k < places; ++k) {
        if (rangedAsRead(*parts[k]) && !inputInRange(*parts[k], pairInputValue(pair, parts[k]->id), pair.m)) {
            return false;
        }
    }
    return true;
}

// The option a checkPair complaint is about: the input's own, from the
// table of inputs (a complaint about no input in particular: --shift).
int optionOf(PairField field) { return codeOf(field == PairField::none ? PairInputId::x1 : field); }

std::string quoted(const std::string& value) { return "\"" + escapeForMessage(value) + "\""; }

std::string complaint(const std::string& text) { return "involute-gears: " + text; }

// What the options said, before the checks that need all of them.
struct Given {
    // Each option of the table of inputs as given, under its first input:
    // its text (for the messages) and how many places of its list it gave
    // ("A", "A,B" or, with a third input, "A,B,C"); 0: not given.
    std::string text[pairInputCount];
    int places[pairInputCount] = {};
    std::string bore;
    unsigned codes = 0;  // bit code - codeInputs for each option given

    bool has(PairInputId id) const { return (codes & (1u << (codeOf(id) - codeInputs))) != 0; }
    const std::string& textOf(PairInputId id) const { return text[firstOfOption(id)]; }
    int placesOf(PairInputId id) const { return places[firstOfOption(id)]; }
};

// What an option tells of the options together: that it was given, its
// text and how many places of its list it gives.
void noteGiven(int code, const char* value, Given& given) {
    given.codes |= 1u << (code - codeInputs);
    if (code == codeBore) {
        given.bore = value;
    }
    if (code >= codeInputs + pairInputCount) {
        return;
    }
    const PairInputSpec* parts[3] = {};
    const int count = inputsOf(nameOf(code).substr(2), parts);
    int places = 1;
    for (const char* c = value; *c != '\0'; ++c) {
        places += *c == ',' ? 1 : 0;
    }
    given.text[code - codeInputs] = value;
    given.places[code - codeInputs] = std::min(places, count);
}

bool readValue(int code, const char* value, ProgramOptions& options, const Given& given) {
    if (code < codeInputs + pairInputCount) {
        return readInputs(code, value, given.places[code - codeInputs], options.pair);
    }
    switch (code) {
    case codePair:
        if (const PairKindModel* kind = pairKindNamed(value)) {
            options.pair.kind = kind->kind;
            return true;
        }
        return false;
    case codeSvg:
        options.svg = true;
        options.svgPath = value;
        return value[0] != '\0';
    case codeDxf:
        options.dxf = true;
        options.dxfPath = value;
        return value[0] != '\0';
    case codeStl:
        options.stl = true;
        options.stlPath = value;
        return value[0] != '\0';
    case codeBore: {
        // A decimal number as the pair's inputs are read (no hexadecimal,
        // no "inf" or "nan"), above 0.
        char* end = nullptr;
        options.bore = strtod(value, &end);
        return value[0] != '\0' && *end == '\0' && strpbrk(value, "xXnNiI") == nullptr &&
               std::isfinite(options.bore) && options.bore > 0.0;
    }
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
    case codeLang:
        if (strcmp(value, "ja") == 0 || strcmp(value, "en") == 0) {
            options.language = value[0] == 'e' ? Language::en : Language::ja;
            return true;
        }
        return false;
    case codeHelp:
        options.help = true;
        return true;
    case codeVersion:
        options.version = true;
        return true;
    }
    return false;
}

// The checks that need every option read, of the options alone: how many
// numbers the kind of pair takes, and the options of some kinds only.
bool checkOptionsFit(const ProgramOptions& options, const Given& given, std::string& message) {
    const PairInput& pair = options.pair;
    const int teethCount = given.placesOf(PairInputId::z1);
    const int shiftCount = given.placesOf(PairInputId::x1);
    const std::string& teeth = given.textOf(PairInputId::z1);
    const std::string& shift = given.textOf(PairInputId::x1);
    const std::string& centreDistance = given.textOf(PairInputId::centreDistance);
    // A kind without gear 2's numbers of its own (a rack) takes Z1 and X1 alone.
    const bool rack = !pairKindModel(pair.kind).hasGear2Shift;
    if (teethCount == 2 && rack) {
        message = complaint(nameOf(PairInputId::z1) + " " + quoted(teeth) +
                            ": a rack has no tooth count of its own; with --pair rack give Z1 alone, " +
                            inputRangeText(spec(PairInputId::z1), 0.0));
        return false;
    }
    // A planetary set takes three: its sun's, its planets' and its ring's.
    const bool planetary = (spec(PairInputId::z3).kinds & kindBit(pair.kind)) != 0;
    if (teethCount == 3 && !planetary) {  // as before there was a third
        message = complaint(nameOf(PairInputId::z1) + " " + quoted(teeth) + " is not " + expectedTeeth());
        return false;
    }
    if (planetary && (teethCount == 1 || teethCount == 2)) {
        message = complaint(nameOf(PairInputId::z1) + " " + quoted(teeth) +
                            ": a planetary set takes ZS,ZP,ZR, the teeth of its sun, planets and ring, each " +
                            inputRangeText(spec(PairInputId::z3), 0.0));
        return false;
    }
    if ((given.has(PairInputId::planets) || given.has(PairInputId::fixed)) && !planetary) {
        message = complaint(nameOf(PairInputId::planets) + " and " + nameOf(PairInputId::fixed) +
                            " are for a planetary set (--pair planetary)");
        return false;
    }
    if (teethCount == 1 && !rack) {
        message = complaint(nameOf(PairInputId::z1) + " " + quoted(teeth) + " is not " + expectedTeeth());
        return false;
    }
    if (shiftCount == 2 && rack) {
        message = complaint(nameOf(PairInputId::x1) + " " + quoted(shift) +
                            ": the rack is not shifted; with --pair rack give X1 alone, " +
                            inputRangeText(spec(PairInputId::x1), 0.0));
        return false;
    }
    // X1 alone with a centre distance: X2 follows from it.
    if (shiftCount == 1 && !rack && centreDistance.empty()) {
        message = complaint(nameOf(PairInputId::x1) + " " + quoted(shift) + " is not " + expectedShift());
        return false;
    }
    const auto uses = [&](PairInputId id) { return (spec(id).kinds & kindBit(pair.kind)) != 0; };
    if (given.has(PairInputId::cutter) && !uses(PairInputId::cutter)) {
        message = complaint(nameOf(PairInputId::cutter) +
                            ": only an internal gear (--pair internal) is cut by a pinion-type cutter");
        return false;
    }
    if (!centreDistance.empty() && !uses(PairInputId::centreDistance)) {
        message = complaint(nameOf(PairInputId::centreDistance) +
                            (planetary ? ": a planetary set's centre distance follows from the sun's and the planets' "
                                         "shifts; give them with --shift XS,XP"
                                       : ": a rack pair's centre distance follows from x1 alone (a = m z1 / 2 + x1 m); "
                                         "give it with --shift X1"));
        return false;
    }
    if (!centreDistance.empty() && shiftCount == 2) {
        message = complaint(nameOf(PairInputId::centreDistance) + " " + quoted(centreDistance) + " and " +
                            nameOf(PairInputId::x1) + " " + quoted(shift) +
                            ": the shifts follow from the centre distance; give X1 alone, or no --shift");
        return false;
    }
    if (!given.textOf(PairInputId::pin).empty() && !uses(PairInputId::pin)) {
        message = complaint(nameOf(PairInputId::pin) + ": a planetary set's gears are measured with their usual pins; "
                            "--pin is for a pair (--pair external, internal or rack)");
        return false;
    }
    return true;
}

// One option's value read into the options, or the message why not.
bool readOption(int code, const char* value, ProgramOptions& options, Given& given, std::string& message) {
    noteGiven(code, value, given);
    if (!readValue(code, value, options, given)) {
        message = complaint(nameOf(code) + " " + quoted(value) + " is not " + expected(code));
        return false;
    }
    return true;
}

// How the options fit together (checkOptionsFit, options.misfit when they
// do not), then what they leave to the kind: its own teeth, and whether x1
// stays beside a centre distance.
bool fitTogether(ProgramOptions& options, const Given& given, std::string& message) {
    if (!checkOptionsFit(options, given, message)) {
        options.misfit = true;
        return false;
    }
    if (given.placesOf(PairInputId::z1) == 0) {
        // The kind's own teeth: a planetary set's assemble with its 3 planets.
        for (const PairInputId id : {PairInputId::z1, PairInputId::z2, PairInputId::z3}) {
            setPairInputValue(options.pair, id, inputStart(spec(id), options.pair.kind));
        }
    }
    options.pair.centreX1Given = given.placesOf(PairInputId::x1) == 1;
    return true;
}

// The other checks that need every option read: the files, the bore, and
// the ranges given in multiples of the module.
bool checkTogether(const ProgramOptions& options, const Given& given, std::string& message) {
    const PairInput& pair = options.pair;
    if (options.svg && options.dxf && options.svgPath == options.dxfPath) {
        message = complaint("--dxf " + quoted(options.dxfPath) + ": --svg writes " +
                            (options.svgPath == "-" ? std::string("to standard output") : std::string("that file")) +
                            " already; give each drawing its own file");
        return false;
    }
    // The solids share no file with a drawing either.
    const struct {
        bool given;
        const std::string& path;
        const char* option;
    } drawings[] = {{options.svg, options.svgPath, "--svg"}, {options.dxf, options.dxfPath, "--dxf"}};
    for (const auto& drawing : drawings) {
        if (options.stl && drawing.given && drawing.path == options.stlPath) {
            message = complaint("--stl " + quoted(options.stlPath) + ": " + drawing.option + " writes " +
                                (drawing.path == "-" ? std::string("to standard output") : std::string("that file")) +
                                " already; give the solids a file of their own");
            return false;
        }
    }
    if (!given.bore.empty() && !options.stl) {
        message = complaint("--bore " + quoted(given.bore) + ": only the solids have a bore; give --stl FILE too");
        return false;
    }
    // The module's own complaint comes first when it is out of range.
    if (!inputInRange(spec(PairInputId::module), pair.m, pair.m)) {
        return true;
    }
    // The ranges in multiples of the module, each refused with the value
    // as given (0 too, which the page reads as left out), in the order they
    // have always been said.
    for (const PairInputId id :
         {PairInputId::backlash, PairInputId::pin, PairInputId::centreDistance, PairInputId::faceWidth}) {
        const PairInputSpec& input = spec(id);
        const std::string& text = given.textOf(id);
        if (!text.empty() && !inputInRange(input, pairInputValue(pair, id), pair.m)) {
            // The pin is named as its option's usage names its value, D.
            const char* name = id == PairInputId::pin ? input.metavar : inputAsciiName(input, pair.kind);
            message = complaint(nameOf(id) + " " + quoted(text) + ": " + name + " must be " +
                                inputRangeText(input, pair.m));
            return false;
        }
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
        if (argument[0] == '-' && argument[1] != '\0' && argument[2] == '\0' && shortCode(argument[1]) != 0) {
            own.push_back(argument);  // "-h", the usual short form of --help
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

// A cure (a pressure angle, a ring's cutter) that the centre distance
// given then refuses: the message says both, instead of offering the cure
// alone. False (and the message) in that case.
bool centreDistanceKeepsCure(const PairInput& pair, const PairCheck& check, const Given& given, std::string& message) {
    const std::string then = cureRefusedByCentreDistance(
        pair, check, nameOf(PairInputId::centreDistance) + " " + quoted(given.textOf(PairInputId::centreDistance)));
    if (then.empty()) {
        return true;
    }
    const int option = optionOf(check.field);
    if (given.has(check.field)) {
        message = complaint(nameOf(option) + ": " + check.problem + "; " + check.cure + then);
    } else {
        message = complaint(check.problem + "; the cure: with these teeth, " + nameOf(option) + " " + check.cure + then);
    }
    return false;
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
    const std::string shorts = shortOptions();
    for (;;) {
        int code = getopt_long(count, own.data(), shorts.c_str(), longOptions(), nullptr);
        if (code == -1) {
            break;
        }
        if (code == ':') {
            message = complaint(nameOf(optopt) + " needs a value, " + expected(optopt));
            return false;
        }
        code = shortCode(code) != 0 ? shortCode(code) : code;
        if (code < codeInputs) {  // not expected after sortArguments; refused all the same
            message = complaint("unknown option " + quoted(own[optind - 1]));
            return false;
        }
        options.hasPair = options.hasPair || (code != codeHelp && code != codeVersion && code != codeLang);
        const char* value = optarg == nullptr ? "" : optarg;
        // A value taken from the next argument that is itself an option means
        // the value was left out.
        if (optarg != nullptr && optarg == own[optind - 1] && strncmp(value, "--", 2) == 0) {
            message = complaint(nameOf(code) + " needs a value, " + expected(code));
            return false;
        }
        if (!readOption(code, value, options, given, message)) {
            return false;
        }
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
    // --help and --version answer whatever else is given.
    if (options.help || options.version) {
        return true;
    }
    if (!options.hasPair) {
        return true;
    }
    if (!fitTogether(options, given, message)) {
        return false;
    }
    if (!checkTogether(options, given, message)) {
        return false;
    }
    // The shifts for a centre distance, once the other numbers pass: a
    // pair refused for its teeth or module is said so first.
    PairCheck check = checkPair(options.pair);
    const bool shiftsToCome = check.field == PairField::x1 || check.field == PairField::x2 || check.field == PairField::none;
    if (options.pair.centreDistance > 0.0 && shiftsToCome) {
        std::string why;
        if (!applyCentreDistance(options.pair, why)) {
            message = complaint(nameOf(PairInputId::centreDistance) + " " + quoted(given.textOf(PairInputId::centreDistance)) +
                            ": " + why);
            return false;
        }
        check = checkPair(options.pair);
    }
    if (check.field != PairField::none) {
        // A pair that cannot be cut names the option that cures it; one the
        // user did not give is named as the cure, not as the culprit.
        const int option = optionOf(check.field);
        if (!centreDistanceKeepsCure(options.pair, check, given, message)) {
            return false;
        }
        if (check.cure.empty() || (given.codes & (1u << (option - codeInputs))) != 0) {
            message = complaint(nameOf(option) + ": " + check.message);
        } else {
            message = complaint(check.problem + "; the cure: with these teeth, " + nameOf(option) + " " + check.cure);
        }
        return false;
    }
    if (options.bore > 0.0) {
        // A bore that reaches a wheel's root circle would cut its teeth off
        // the solid: refused, with the largest that fits (to 0.001 mm, down).
        const BoreLimit limit = boreLimit(options.pair, pairNumbers(options.pair));
        if (options.bore > limit.largest) {
            char text[160];
            snprintf(text, sizeof text, "D must be at most %.3f mm: gear %d's root diameter df%d = %.3f mm less 0.01 m",
                     std::floor(limit.largest * 1000.0) / 1000.0, limit.gear + 1, limit.gear + 1, limit.df);
            message = complaint("--bore " + quoted(given.bore) + ": a bore that large cuts into a root circle; " + text);
            return false;
        }
    }
    return true;
}

bool readPairOptions(const std::vector<OptionText>& given, PairInput& pair, std::string& message, bool& misfit) {
    ProgramOptions options;
    Given read;
    for (const OptionText& g : given) {
        const option* o = findLong("--" + g.option);
        if (o != nullptr) {
            noteGiven(o->val, g.text.c_str(), read);
        }
        if (o != nullptr && o->val == codePair) {
            const PairKindModel* kind = pairKindNamed(g.text.c_str());
            options.pair.kind = kind != nullptr ? kind->kind : options.pair.kind;
        }
    }
    const bool fit = fitTogether(options, read, message);
    const std::string name = "involute-gears: ";
    if (message.compare(0, name.size(), name) == 0) {
        message.erase(0, name.size());
    }
    misfit = options.misfit;
    pair = options.pair;
    return fit;
}

namespace {

// valueText with its range never split over two lines.
std::string helpRange(const PairInputSpec& input) {
    std::string range = inputRangeText(input, 0.0);
    std::string text = valueText(input);
    std::string kept = range;
    std::replace(kept.begin(), kept.end(), ' ', unbreakable);
    return text.replace(text.find(range), range.size(), kept);
}

// Which kinds of pair use an input, when not all of them do.
std::string helpKinds(unsigned kinds) {
    if (kinds == allKinds) {
        return "";
    }
    std::vector<std::string> used;
    for (int k = 0; k < pairKindCount; ++k) {
        if ((kinds & (1u << k)) != 0) {
            used.push_back(pairKindModels()[k].name);
        }
    }
    std::string names;
    for (size_t k = 0; k < used.size(); ++k) {
        names += (k == 0 ? "" : k + 1 == used.size() ? " and " : ", ") + used[k];
    }
    return "; " + names + (kinds == kindBit(PairKind::planetary) ? " sets only" : " pairs only");
}

// The columns a UTF-8 text takes on a terminal: one a character (the help's
// characters, α, ν, β, ·, are all narrow), not one a byte.
size_t columns(const std::string& text) {
    size_t count = 0;
    for (char c : text) {
        count += (static_cast<unsigned char>(c) & 0xc0) != 0x80 ? 1 : 0;  // not a continuation byte
    }
    return count;
}

// "  --usage   what it does", the text wrapped at the words to 79 columns.
void appendOption(std::string& text, const std::string& usage, const std::string& what) {
    constexpr size_t column = 26;
    constexpr size_t width = 79;
    std::string line = "  " + usage;
    if (columns(line) >= column) {
        text += line + "\n";
        line.clear();
    }
    line += std::string(column - columns(line), ' ');
    size_t at = 0;
    bool first = true;
    while (at < what.size()) {
        size_t end = what.find(' ', at);
        end = end == std::string::npos ? what.size() : end;
        const std::string word = what.substr(at, end - at);
        if (!first && columns(line) + 1 + columns(word) > width) {
            text += line + "\n";
            line = std::string(column, ' ');
            first = true;
        }
        line += (first ? "" : " ") + word;
        first = false;
        at = end + 1;
    }
    text += line + "\n";
    std::replace(text.begin(), text.end(), unbreakable, ' ');
}

// The program's own options of one group, as --help lists them:
// "--svg FILE", "-h, --help".
void appendOwnOptions(std::string& text, HelpGroup group) {
    for (const OwnOption& own : ownOptions) {
        if (own.group != group) {
            continue;
        }
        std::string usage = own.shortName != 0 ? std::string("-") + own.shortName + ", --" : std::string("--");
        usage += own.name + (own.value != nullptr ? std::string(" ") + own.value : std::string());
        appendOption(text, usage, own.help);
    }
}

}  // namespace

std::string helpText() {
    std::string text =
        "Usage: involute-gears [OPTION]... [GLUT OPTION]...\n"
        "An interactive animation of involute gear geometry: six scenes of the involute\n"
        "and two meshing gears (keys 1 to 6); with the options of a pair, also the pair\n"
        "as its cutters make it: in mesh (7), cut by a rack (8) or, a ring, by a\n"
        "pinion-type cutter (9), its plane of action (10, key h), the sliding of its\n"
        "flanks (11, key v), a planetary set turning (12, key p) and a tooth of each\n"
        "gear bent at its root as a beam (13, key b); its report, its drawings and\n"
        "its solids.\n"
        "\n"
        "The pair (any of these gives the program a pair):\n";
    appendOwnOptions(text, HelpGroup::pair);
    // The table's inputs, one line each, grouped by their option.
    const PairInputSpec* inputs = pairInputSpecs();
    for (int i = 0; i < pairInputCount; ++i) {
        const PairInputSpec& input = inputs[i];
        if (input.slot != 0) {
            continue;
        }
        const PairInputSpec* parts[3] = {};
        const int count = inputsOf(input.option, parts);
        const std::string usage = std::string("--") + input.option + " " + usageValue(parts, count);
        for (int k = 0; k < count; ++k) {
            const PairInputSpec& part = *parts[k];
            std::string what = std::string(part.symbol) + ": " + part.help + "; " + helpRange(part);
            what += helpKinds(part.kinds);
            if (part.slot == 1 && (part.kinds & kindBit(PairKind::rack)) == 0) {
                what += std::string(" (a rack: ") + parts[0]->metavar + " alone)";
            }
            // The kinds that name it otherwise: "in a planetary set zS, the sun's teeth".
            for (int kind = 0; kind < pairKindCount; ++kind) {
                const PairKindModel& model = pairKindModels()[kind];
                const PairInputWords words = pairInputWords(part, model.kind);
                if ((part.kinds & kindBit(model.kind)) != 0 && strcmp(words.help, part.help) != 0) {
                    what += std::string("; in ") + (model.name[0] == 'i' ? "an " : "a ") + model.english + " " +
                            words.symbol + ", " + words.help;
                }
            }
            appendOption(text, k == 0 ? usage : "", what);
        }
    }
    text += "\nWhat to do with it (each answers and exits, with no window):\n";
    appendOwnOptions(text, HelpGroup::output);
    text += "\nOther options:\n";
    appendOwnOptions(text, HelpGroup::other);
    text +=
        "\nEach option may be written --name=value, in full. GLUT's own options\n"
        "(-display NAME, -geometry SPEC, -iconic, -direct, -indirect, -gldebug, -sync)\n"
        "are passed to GLUT.\n"
        "Exit status: 0 done, 1 a file could not be written, 2 bad input.\n";
    return text;
}

std::string versionText() { return std::string("involute-gears ") + INVOLUTE_VERSION + "\n"; }
