// The one description of every number a user gives a gear pair: its name,
// symbol, unit, range, the kinds of pair that use it, its command-line
// option, its key in the page's link and its labels. The option reader
// (app/options.cpp) and its --help, and the page's fields, link and checks
// (through web/pair_bridge.cpp) are all made from this table, and a value is
// read and range-checked here only, so the command line and the page refuse
// exactly the same values.
//
// Not here: the checks that need the whole pair (pointed teeth, undercut,
// interference: checkPair in gear_pair.h), the kind of pair itself and the
// options that say what to do with the pair (--report, --svg, --dxf,
// --layout: app/options.cpp).
#pragma once

#include <string>

#include "pair/inputs/gear_pair.h"
#include "pair/inputs/kind_traits.h"
#include "pair/inputs/units.h"

// Which kinds use an input: bit (1 << int(PairKind)).
constexpr unsigned kindBit(PairKind kind) { return 1u << static_cast<unsigned>(kind); }
constexpr unsigned allKinds =
    kindBit(PairKind::external) | kindBit(PairKind::internal) | kindBit(PairKind::rack) | kindBit(PairKind::planetary);

struct PairInputSpec {
    PairInputId id;
    const char* name;     // the page's field name, "z1"
    const char* symbol;   // as engineers write it, "z1", "α", "jn"
    const char* label;    // English label; '_' makes the next character a subscript: "z_1 teeth, drive"
    const char* labelJa;  // Japanese label
    const char* said;     // how messages name it, English: "z1 (teeth of gear 1)"
    const char* saidJa;   // and Japanese: "歯数 z1"
    const char* help;     // what it is, for --help: "teeth of gear 1, the drive"
    Unit unit;            // its unit and the words for it (pair/units.h); none for a count or a coefficient
    double lo;            // range, ends included (lo excluded when loOpen);
    double hi;            //   in multiples of the module m when perModule
    bool whole;           // whole numbers only
    bool loOpen;          // lo itself is refused: "above lo"
    bool perModule;       // lo and hi are multiples of m
    bool optional;        // 0 (an empty field in the page) is the program's own choice
    unsigned kinds;       // the kinds of pair that use it
    const char* option;   // its option, without "--": "teeth"
    const char* metavar;  // its value in the option's usage and messages: "Z1", "M", "DEG"
    int slot;             // its place in the option's comma-separated list (and the link's)
    const char* linkKey;  // its key in the page's link, or nullptr: not in the page
    double start;         // the value a pair starts with (PairInput's default)
    // An input that takes words: its words, '|' between them, the value
    // being the word's place ("right|left": right 0, left 1); nullptr for
    // a number. The page shows such an input as a choice of its words.
    const char* words = nullptr;
};

// The table, in the order of PairInputId.
constexpr int pairInputCount = 19;
const PairInputSpec& pairInputSpec(PairInputId id);
const PairInputSpec* pairInputSpecs();  // pairInputCount entries

// The value a pair of the kind starts with (the kind's own teeth: a set's
// must assemble), as --teeth left out and a link without "teeth" give it.
double inputStart(const PairInputSpec& spec, PairKind kind);

// An input's words in one kind of pair: the table's own, or the kind's
// where it names the input otherwise (a planetary set's z1 is its sun's
// teeth, zS, an internal pair's z2 its ring's), as the page's labels,
// --help and the range refusals say it.
struct PairInputWords {
    const char* symbol;   // as PairInputSpec's
    const char* label;
    const char* labelJa;
    const char* said;
    const char* saidJa;
    const char* help;
};
PairInputWords pairInputWords(const PairInputSpec& spec, PairKind kind);

// The input's name in a message written in ASCII: its symbol, or for a
// Greek one ("α") its field name ("alpha"); in the kind's words.
const char* inputAsciiName(const PairInputSpec& spec, PairKind kind);

// How checkPair refuses a value outside the input's range: "z1 must be a
// whole number from 4 to 400", "m must be 0.05 to 100 mm", "alpha must be
// 10 to 35 degrees", "jn must be 0 to 0.25 m = 0.75 mm" (m the module);
// "zS must be ..." in a planetary set.
std::string inputRangeRefusal(const PairInputSpec& spec, PairKind kind, double m);

// Reads `text` as the input's value: an input of words as one of its words
// only ("right": 0, "left": 1; "0" is no word);
// for a whole input a whole number in decimal ("+12", "-3"; far out of
// range becomes +-INT_MAX and fails the range), else a decimal number ("1", "0.5", "-.25", "2e-1"; no
// hexadecimal, no "inf" or "nan"), the whole text. False when it is not one.
bool readInputText(const PairInputSpec& spec, const char* text, double& value);

// Whether `value` lies in the input's range; m is the module for the
// ranges given in multiples of it. False for NaN.
bool inputInRange(const PairInputSpec& spec, double value, double m);

// The range as the messages say it: "4 to 400", "-1.0 to 1.5", "right or left",
// "ring, carrier or sun",
// "0 to 0.25 m = 0.75 mm", "above 0 and at most 5 m = 15 mm" (m given) or
// "0 to 0.25 m" (m = 0).
std::string inputRangeText(const PairInputSpec& spec, double m);

// The value of an input in a pair, and setting it.
double pairInputValue(const PairInput& input, PairInputId id);
void setPairInputValue(PairInput& input, PairInputId id, double value);
