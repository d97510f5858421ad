// The table of a pair's inputs and the one reading and range check of their
// values (see inputs.h). Draws nothing, reads no program state.
#include "pair/inputs/inputs.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned externalAndInternal = kindBit(PairKind::external) | kindBit(PairKind::internal);
constexpr unsigned twoGearKinds = externalAndInternal | kindBit(PairKind::planetary);  // a gear 2 with teeth and shift
constexpr unsigned planetary = kindBit(PairKind::planetary);
// Helical teeth: every kind (a planetary set's hand is the sun's).
constexpr unsigned helicalKinds = externalAndInternal | kindBit(PairKind::rack) | planetary;

// The values a pair starts with: PairInput's own.
constexpr PairInput startInput{};

// In the order of PairInputId.
constexpr PairInputSpec specs[pairInputCount] = {
    {PairInputId::z1, "z1", "z1", "z_1 teeth, drive", "駆動歯車の歯数", "z1 (teeth of gear 1)", "歯数 z1", "teeth of gear 1, the drive", Unit::none,
     minTeeth, maxTeeth, true, false, false, false, allKinds, "teeth", "Z1", 0, "teeth", startInput.z1},
    {PairInputId::z2, "z2", "z2", "z_2 teeth, driven", "被動歯車の歯数", "z2 (teeth of gear 2)", "歯数 z2", "teeth of gear 2, the driven gear or the ring", Unit::none,
     minTeeth, maxTeeth, true, false, false, false, twoGearKinds, "teeth", "Z2", 1, "teeth", startInput.z2},
    {PairInputId::module, "module", "m", "module m, mm", "モジュール", "module m", "モジュール m", "module", Unit::mm, minModule,
     maxModule, false, false, false, false, allKinds, "module", "M", 0, "module", startInput.m},
    {PairInputId::alpha, "alpha", "α", "pressure angle α, °", "圧力角", "pressure angle α", "圧力角 α", "pressure angle of the basic rack", Unit::degree,
     minPressureAngleDeg, maxPressureAngleDeg, false, false, false, false, allKinds, "pressure-angle", "DEG", 0, "angle",
     startInput.alphaDeg},
    {PairInputId::x1, "x1", "x1", "shift x_1", "転位係数", "shift x1", "転位係数 x1", "profile shift coefficient of gear 1", Unit::none, minShift, maxShift, false,
     false, false, false, allKinds, "shift", "X1", 0, "shift", startInput.x1},
    {PairInputId::x2, "x2", "x2", "shift x_2", "転位係数", "shift x2", "転位係数 x2", "profile shift coefficient of gear 2", Unit::none, minShift, maxShift, false,
     false, false, false, twoGearKinds, "shift", "X2", 1, "shift", startInput.x2},
    {PairInputId::cutter, "cutter", "zc", "cutter teeth z_c", "ピニオンカッタの歯数",
     "zc (teeth of the ring's cutter; empty: chosen for the ring)", "カッタ歯数 zc（空欄なら内歯車に合わせて選ぶ）",
     "teeth of the pinion-type cutter that cuts the ring (left out: chosen for the ring)", Unit::none,
     minCutterTeeth, maxCutterTeeth, true, false, false, true, kindBit(PairKind::internal) | planetary, "cutter-teeth", "ZC", 0,
     "cutter", startInput.cutterTeeth},
    {PairInputId::backlash, "backlash", "jn", "backlash j_n, mm", "法線方向バックラッシ", "backlash jn (empty: none)",
     "バックラッシ jn（空欄なら 0）", "normal backlash (left out: none)", Unit::mm, 0, maxBacklashModules, false, false, true, true, allKinds, "backlash", "J", 0,
     "backlash", startInput.backlash},
    // The inspection sizes are worked out for external pairs only: the page
    // shows the usual pin's size and has no field for another.
    {PairInputId::pin, "pin", "dp", "pin (ball) diameter d_p, mm", "ピン径", "pin diameter dp (empty: the usual pin)",
     "ピン径 dp（空欄なら標準のピン）",
     "pin (ball) diameter of the over-pin size (left out: the usual pin)", Unit::mm, 0, maxPinModules, false, true, true, true,
     kindBit(PairKind::external) | kindBit(PairKind::internal) | kindBit(PairKind::rack), "pin", "D", 0, nullptr, startInput.pinDiameter},
    {PairInputId::faceWidth, "width", "b", "face width b, mm", "歯幅", "face width b (empty: 10 m)", "歯幅 b（空欄なら 10 m）",
     "face width (left out: 10 times the module)", Unit::mm, minFaceWidthModules, maxFaceWidthModules, false, false, true, true, allKinds,
     "face-width", "B", 0, "width", startInput.faceWidth},
    // The contact stress (pair/line_of_action.h): the torque on gear 1 and
    // the flanks' material, steel unless said.
    {PairInputId::torque, "torque", "T", "torque T_1, N·m", "トルク", "torque T (empty: no stress)", "トルク T（空欄なら応力なし）",
     "torque on gear 1, for the contact stress (left out: no stress)", Unit::newtonMetre, 0, maxTorque, false, true, false, true,
     allKinds, "torque", "T", 0, "torque", startInput.torque},
    {PairInputId::elasticE, "elasticE", "E", "modulus of elasticity E, GPa", "縦弾性係数", "modulus of elasticity E",
     "縦弾性係数 E", "modulus of elasticity of both flanks (206, steel)", Unit::gigapascal, 1, 1000, false, false, false, false, allKinds,
     "elastic", "E", 0, nullptr, startInput.elasticE},
    {PairInputId::elasticNu, "elasticNu", "ν", "Poisson's ratio ν", "ポアソン比", "Poisson's ratio ν", "ポアソン比 ν",
     "Poisson's ratio of both flanks (0.3, steel)", Unit::none, 0, 0.49, false, false, false, false, allKinds, "elastic", "NU", 1,
     nullptr, startInput.elasticNu},
    {PairInputId::centreDistance, "centre", "a", "centre distance a, mm", "中心距離", "centre distance a (empty: from the shifts)",
     "中心距離 a（空欄なら転位係数から）",
     "working centre distance; the shifts are chosen for it (left out: the shifts as given)", Unit::mm, 0,
     maxCentreDistanceModules, false, true, true, true, externalAndInternal, "centre-distance", "A", 0, "centre", startInput.centreDistance},
    // A planetary set: z1 is its sun, z2 its planet, z3 its ring (the teeth
    // key's third place: "teeth=ZS,ZP,ZR").
    {PairInputId::z3, "z3", "z3", "z_3 teeth, ring", "内歯車の歯数", "z3 (teeth of the ring)", "歯数 z3",
     "teeth of a planetary set's ring", Unit::none, minTeeth, maxTeeth, true, false, false, false,
     planetary, "teeth", "Z3", 2, "teeth", startInput.z3},
    {PairInputId::planets, "planets", "N", "planets N", "遊星歯車の数", "N (planets)", "遊星歯車の数 N",
     "planets of a planetary set, spaced equally about the sun", Unit::none, minPlanets, maxPlanets, true, false, false, false,
     planetary, "planets", "N", 0, "planets", startInput.planets},
    // Helical gears: m, alpha and x are then the normal module, pressure
    // angle and shift (pair/helical.h).
    {PairInputId::helix, "beta", "β", "helix angle β, °", "ねじれ角", "helix angle β", "ねじれ角 β",
     "helix angle of the teeth (0: spur gears; m, alpha and x are then those of the normal plane)", Unit::degree, 0,
     maxHelixAngleDeg, false, false, false, true, helicalKinds, "helix-angle", "DEG", 0, "helix", startInput.betaDeg},
    {PairInputId::hand, "hand", "hand", "hand of gear 1 (right, left)", "歯車1のねじれ方向（右・左）",
     "hand (right or left)", "ねじれ方向（右か左）",
     "hand of gear 1's helix (gear 2 of an external pair has the other hand, a ring and a rack the same)", Unit::none, 0, 1, true, false,
     false, true, helicalKinds, "hand", "HAND", 0, "hand", 0, "right|left"},
    // The member of a planetary set held still (FixedMember's order).
    {PairInputId::fixed, "fixed", "fixed", "fixed member (ring, carrier, sun)", "固定する要素（内歯車・キャリア・太陽歯車）",
     "fixed member (ring, carrier or sun)", "固定する要素（ring、carrier、sun のどれか）",
     "the member of a planetary set held still: ring (the default; the sun drives the carrier), carrier (the sun drives the ring) "
     "or sun (the ring drives the carrier)", Unit::none, 0, 2, true, false, false, false, planetary, "fixed", "MEMBER", 0, "fixed", 0,
     "ring|carrier|sun"},
};

// The kinds' own words for an input, where they differ from the table's.
struct KindWords {
    PairInputId id;
    PairKind kind;
    PairInputWords words;
};
constexpr KindWords kindWords[] = {
    {PairInputId::z2, PairKind::internal,
     {"z2", "z_2 teeth, ring", "内歯車の歯数", "z2 (teeth of the ring)", "歯数 z2", "the ring's teeth"}},
    // A planetary set: its sun, planets and ring, as its numbers and its
    // cures name them (kind_traits.h's shiftNames).
    {PairInputId::z1, PairKind::planetary,
     {"zS", "z_S teeth, sun", "太陽歯車の歯数", "zS (teeth of the sun)", "歯数 zS", "the sun's teeth"}},
    {PairInputId::z2, PairKind::planetary,
     {"zP", "z_P teeth, planets", "遊星歯車の歯数", "zP (teeth of the planets)", "歯数 zP", "the planets' teeth"}},
    {PairInputId::z3, PairKind::planetary,
     {"zR", "z_R teeth, ring", "内歯車の歯数", "zR (teeth of the ring)", "歯数 zR", "the ring's teeth"}},
    {PairInputId::x1, PairKind::planetary,
     {"xS", "shift x_S, sun", "太陽歯車の転位係数", "shift xS", "転位係数 xS", "the sun's shift"}},
    {PairInputId::x2, PairKind::planetary,
     {"xP", "shift x_P, planets", "遊星歯車の転位係数", "shift xP", "転位係数 xP", "the planets' shift"}},
};

// The values a kind starts with where they differ from the table's (and
// PairInput's): a planetary set's teeth must assemble, (zS + zR) / N whole
// for the 3 planets it starts with, and zR = zS + 2 zP for its 70-tooth ring:
// 20 and 25.
struct KindStart {
    PairInputId id;
    PairKind kind;
    double start;
};
constexpr KindStart kindStarts[] = {
    {PairInputId::z1, PairKind::planetary, 20},
    {PairInputId::z2, PairKind::planetary, 25},
};

// The place of `text` among the input's words ('|' between them), or -1.
int wordPlace(const char* words, const char* text) {
    const size_t length = strlen(text);
    int place = 0;
    for (const char* word = words;; ++place) {
        const char* end = strchr(word, '|');
        const size_t wordLength = end != nullptr ? static_cast<size_t>(end - word) : strlen(word);
        if (length > 0 && wordLength == length && strncmp(word, text, length) == 0) {
            return place;
        }
        if (end == nullptr) {
            return -1;
        }
        word = end + 1;
    }
}

}  // namespace

const PairInputSpec* pairInputSpecs() { return specs; }

const PairInputSpec& pairInputSpec(PairInputId id) { return specs[static_cast<int>(id)]; }

PairInputWords pairInputWords(const PairInputSpec& spec, PairKind kind) {
    for (const KindWords& k : kindWords) {
        if (k.id == spec.id && k.kind == kind) {
            return k.words;
        }
    }
    return {spec.symbol, spec.label, spec.labelJa, spec.said, spec.saidJa, spec.help};
}

double inputStart(const PairInputSpec& spec, PairKind kind) {
    for (const KindStart& k : kindStarts) {
        if (k.id == spec.id && k.kind == kind) {
            return k.start;
        }
    }
    return spec.start;
}

const char* inputAsciiName(const PairInputSpec& spec, PairKind kind) {
    const char* symbol = pairInputWords(spec, kind).symbol;
    return static_cast<unsigned char>(symbol[0]) < 0x80 ? symbol : spec.name;
}

std::string inputRangeRefusal(const PairInputSpec& spec, PairKind kind, double m) {
    const char* plural = unitWords(spec.unit).plural;
    // A range in multiples of the module says its end in mm itself.
    const bool unit = plural[0] != '\0' && !spec.perModule;
    return std::string(inputAsciiName(spec, kind)) + " must be " + (spec.whole ? "a whole number from " : "") +
           inputRangeText(spec, m) + (unit ? std::string(" ") + plural : "");
}

PairCheck checkInputRanges(const PairInput& input) {
    // In the table's order: the teeth, module, pressure angle and shifts
    // first, as the kinds' own checks assume them in range. An optional
    // input left out (0) is the program's own choice; one the kind does not
    // use is not looked at.
    for (const PairInputSpec& spec : specs) {
        const double value = pairInputValue(input, spec.id);
        if ((spec.kinds & kindBit(input.kind)) == 0 || (spec.optional && value == 0.0)) {
            continue;
        }
        const bool moduleGood = inputInRange(pairInputSpec(PairInputId::module), input.m, input.m);
        if (spec.perModule && !moduleGood) {
            continue;  // said of the module, which comes first
        }
        if (!inputInRange(spec, value, input.m)) {
            PairCheck check;
            check.field = spec.id;
            check.message = inputRangeRefusal(spec, input.kind, input.m);
            return check;
        }
    }
    return PairCheck{};
}

bool readInputText(const PairInputSpec& spec, const char* text, double& value) {
    if (spec.words != nullptr) {
        // One of its words, as --pair takes only its kinds' names: a digit
        // would be a number standing for a word the user never sees.
        const int place = wordPlace(spec.words, text);
        if (place < 0) {
            return false;
        }
        value = place;
        return true;
    }
    if (spec.whole) {
        const char* digits = text[0] == '+' || text[0] == '-' ? text + 1 : text;
        if (digits[0] == '\0' || strspn(digits, "0123456789") != strlen(digits)) {
            return false;
        }
        const long number = strtol(text, nullptr, 10);
        value = number > INT_MAX ? INT_MAX : number < -INT_MAX ? -INT_MAX : static_cast<double>(number);
        return true;
    }
    // LC_NUMERIC is "C", so the decimal point is '.'.
    if (text[0] == '\0' || strspn(text, "+-.0123456789eE") != strlen(text)) {
        return false;
    }
    char* end = nullptr;
    value = strtod(text, &end);
    // "-0" is zero: kept as -0.0 it would be printed "-0.0000" in the report
    // and "-0" in the drawings.
    if (value == 0.0) {
        value = 0.0;
    }
    return end != text && *end == '\0';
}

bool inputInRange(const PairInputSpec& spec, double value, double m) {
    const double scale = spec.perModule ? m : 1.0;
    const double lo = spec.lo * scale;
    const double hi = spec.hi * scale;
    return (spec.loOpen ? value > lo : value >= lo) && value <= hi;  // false for NaN
}

std::string inputRangeText(const PairInputSpec& spec, double m) {
    if (spec.words != nullptr) {
        // "right or left", "ring, carrier or sun".
        std::string said = spec.words;
        const size_t last = said.rfind('|');
        if (last != std::string::npos) {
            said.replace(last, 1, " or ");
        }
        for (size_t at = said.find('|'); at != std::string::npos; at = said.find('|', at)) {
            said.replace(at, 1, ", ");
        }
        return said;
    }
    char text[128];
    // The shifts are said to one decimal ("-1.0 to 1.5"), the rest as short
    // as they are.
    const bool oneDecimal = spec.id == PairInputId::x1 || spec.id == PairInputId::x2;
    const char* format = oneDecimal ? "%.1f to %.1f" : spec.loOpen ? "above %g and at most %g" : "%g to %g";
    int used = snprintf(text, sizeof text, format, spec.lo, spec.hi);
    if (spec.perModule && used > 0 && static_cast<size_t>(used) < sizeof text) {
        used += snprintf(text + used, sizeof text - static_cast<size_t>(used), " m");
        if (m > 0.0 && static_cast<size_t>(used) < sizeof text) {
            snprintf(text + used, sizeof text - static_cast<size_t>(used), " = %g mm", spec.hi * m);
        }
    }
    return text;
}

double pairInputValue(const PairInput& in, PairInputId id) {
    switch (id) {
    case PairInputId::z1:
        return in.z1;
    case PairInputId::z2:
        return in.z2;
    case PairInputId::module:
        return in.m;
    case PairInputId::alpha:
        return in.alphaDeg;
    case PairInputId::x1:
        return in.x1;
    case PairInputId::x2:
        return in.x2;
    case PairInputId::cutter:
        return in.cutterTeeth;
    case PairInputId::backlash:
        return in.backlash;
    case PairInputId::pin:
        return in.pinDiameter;
    case PairInputId::faceWidth:
        return in.faceWidth;
    case PairInputId::torque:
        return in.torque;
    case PairInputId::elasticE:
        return in.elasticE;
    case PairInputId::elasticNu:
        return in.elasticNu;
    case PairInputId::centreDistance:
        return in.centreDistance;
    case PairInputId::z3:
        return in.z3;
    case PairInputId::planets:
        return in.planets;
    case PairInputId::helix:
        return in.betaDeg;
    case PairInputId::hand:
        return in.hand == Hand::left ? 1.0 : 0.0;
    case PairInputId::fixed:
        return static_cast<double>(in.fixed);
    case PairInputId::none:
        break;
    }
    return 0.0;
}

void setPairInputValue(PairInput& in, PairInputId id, double value) {
    // Whole inputs come from readInputText or the page's checked fields:
    // within int's range.
    switch (id) {
    case PairInputId::z1:
        in.z1 = static_cast<int>(value);
        break;
    case PairInputId::z2:
        in.z2 = static_cast<int>(value);
        break;
    case PairInputId::module:
        in.m = value;
        break;
    case PairInputId::alpha:
        in.alphaDeg = value;
        break;
    case PairInputId::x1:
        in.x1 = value;
        break;
    case PairInputId::x2:
        in.x2 = value;
        break;
    case PairInputId::cutter:
        in.cutterTeeth = static_cast<int>(value);
        break;
    case PairInputId::backlash:
        in.backlash = value;
        break;
    case PairInputId::pin:
        in.pinDiameter = value;
        break;
    case PairInputId::faceWidth:
        in.faceWidth = value;
        break;
    case PairInputId::torque:
        in.torque = value;
        break;
    case PairInputId::elasticE:
        in.elasticE = value;
        break;
    case PairInputId::elasticNu:
        in.elasticNu = value;
        break;
    case PairInputId::centreDistance:
        in.centreDistance = value;
        break;
    case PairInputId::z3:
        in.z3 = static_cast<int>(value);
        break;
    case PairInputId::planets:
        in.planets = static_cast<int>(value);
        break;
    case PairInputId::helix:
        in.betaDeg = value;
        break;
    case PairInputId::hand:
        in.hand = value == 1.0 ? Hand::left : Hand::right;
        break;
    case PairInputId::fixed:
        in.fixed = value == 1.0 ? FixedMember::carrier : value == 2.0 ? FixedMember::sun : FixedMember::ring;
        break;
    case PairInputId::none:
        break;
    }
}
