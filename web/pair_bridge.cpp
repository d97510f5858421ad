// The page's "Real gears" panel and the gear pair of scenes 7 to 9: what the
// page calls (as Module._name, from web/page/program_calls.js) to set the
// pair, read its numbers, warnings and scene 7's contact points, and get the
// pair's SVG and DXF and its solids' STL.
//
// Unlike the desktop, where the pair scenes exist only when the program is
// started with pair options, the page always has them: the default pair
// (10 and 30 teeth, m = 1, 20 degrees, no shift) is set silently when the
// page starts the pair, after the first frame. The console report stays
// the desktop's plain report; the pair's numbers go to the panel, never to
// standard output.
//
// The page's calls:
//   Module._webPairInputs(): the table of the pair's inputs (pair/inputs.h)
//       as a JSON array, from which the page makes its fields, their checks
//       and its link: name, unit, lo, hi, start, slot, whole, loOpen, perModule,
//       optional, kinds (names), option, link (the link's key, or null for
//       an input the page does not show), words (an input of words: its
//       words, '|' between them, the value a word's place; else null),
//       byKind (for each kind by name: its symbol, label, labelJa, said
//       [English, Japanese] and start, the kind's own where it names the
//       input otherwise).
//   Module._webPairKinds(): the table of kinds (pair/pair_kind.h) as a JSON
//       array in the order of _webSetPair's codes: name, en, ja, keys (the
//       scene keys only that kind offers: "9", "p").
//   Module._webPairInputText() / _webPairInputTextCapacity(): a buffer for a
//       field's text (UTF-8, NUL-terminated); Module._webReadPairInput(index,
//       m) reads it as input `index` by the command line's own rule: 0 a
//       value in range (Module._webPairInputValue()), 1 not a value of its
//       kind, 2 out of range; Module._webPairInputRange(index, m): the range
//       as the messages say it.
//   Module._webLinkClear(), _webLinkAdd() (webPairInputText holds one of
//       the link's "key=value", the key in small letters),
//       _webLinkRead(): the link's keys read as the command line reads the
//       same options (teeth=Z1,Z2 as --teeth Z1,Z2, kind as --pair; the
//       scene and unknown keys are the page's): 0 they fit, 1 they do not
//       fit the kind or each other (Module._webPairMessage() gives the
//       command line's refusal without the program's name); the values
//       are the fields' to read.
//   Module._webPairStart(): the pair scenes with the default pair, unless
//       a pair has been set already; before it (and before an accepted
//       _webSetPair), keys 7 to 9 are ignored and the numbers below are
//       not there to read.
//   Module._webSetPairInput(index, value): input `index` of the table (0
//       or NaN for an optional input left out; NaN for x1 beside a centre
//       distance: both shifts chosen for it); then
//   Module._webSetPair(kind): the pair of those inputs, kind 0 external,
//       1 internal (gear 2 a ring), 2 rack, 3 a planetary set (the numbers
//       below are then its sun–planet pair's); the inputs the kind does not use
//       (a rack's z2 and x2, the cutter of a pair without a ring) are taken
//       at their start.
//       0: accepted, now the pair of scenes 7 to 9; a frame of scene 7, 8 or
//          9 on screen is drawn again for the new pair, without a step (one
//          onFrameDrawn call, which the page may choose not to count); scene
//          9 becomes scene 7 for a pair other than internal.
//       1 and up: refused, input (answer - 1) of the table is wrong; the
//          last good pair stays;
//          Module._webPairMessage() says why (English).
//   Module._webPairKind(): the kind of the current pair, as above;
//   Module._webPairZc(): the teeth of its ring's cutter (0 for other kinds).
//   Module._webPairEpsilonAlpha(), _webPairAlphaWDeg(), _webPairCentreDistance(),
//   _webPairGa(), _webPairSa(gear): numbers of the current pair, mm (angles
//       in degrees); gear is 0 or 1.
//   Module._webPairEpsilonAlphaEff(): the effective contact ratio.
//   _webPairJn(), _webPairJt(), _webPairThinning(): the backlash, normal and
//       circumferential, and each gear's thinning on its working pitch circle;
//   _webPairDw(gear), _webPairY(), _webPairRatio(): working pitch diameter,
//       centre-distance modification coefficient, ratio z2 / z1;
//   _webPairSpanTeeth(gear) (0: no span can be measured), _webPairSpan(gear),
//   _webPairPinDiameter(gear), _webPairOverPins(gear) (0: the pin does not
//       touch the involute): the inspection sizes of the gear as cut, mm.
//       These are external pairs' numbers; 0 for the other kinds.
//   Module._webPairReport(mesh): the report's lines and warnings of the pair
//       (mesh 0; a set: its sun–planet mesh) or of a set's planet–ring mesh
//       (1), as JSON (see below): what the panel shows of them.
//   Module._webSetNumbers(): a planetary set's numbers as JSON (null for a
//       pair): zS, zP, zR, planets, fixed, input, output (the members'
//       words; fixedJa, inputJa, outputJa in Japanese), a, ratio, xS, xP, xR, l (between neighbouring planets'
//       centres), daP, and its planet–ring mesh's: ring {epsilonAlpha,
//       epsilonAlphaEff, alphaWDeg, ga, gears [{sa}, …]} (gear 1 the planet,
//       gear 2 the ring). The warnings and the base pitch are the report's
//       (_webPairReport).
//   Module._webSetTurn(member): scene 12's turn of the sun (0), carrier (1),
//       ring (2) or a planet about its centre (3) at the drive angle of the
//       moment, rad counter-clockwise; NaN for a pair.
//   Module._webPairContactCount(): the pair's contact points at the drive
//       angle of the moment (scenes 7 and 11 draw them);
//   Module._webPairContact(i): the i-th, mm along the path of contact from
//       its start (where gear 2's tip circle crosses the line of action).
//   Module._webPairPathLength(): the path of contact's length ga, mm.
//   Module._webContactLinesLength(): scene 10's contact lines of the moment,
//       their total length L in mm; _webPairEpsilonBeta(),
//       _webPairEpsilonGamma(): a helical pair's face and total contact
//       ratios (0 for spur gears).
//   Module._webSlidingS(): s (mm from T1) of the contact scene 11 follows,
//       the one nearest the pitch point at the drive angle of the moment (NaN
//       when no pair is in contact); Module._webSlidingZeta(gear): the
//       specific sliding zeta1 (gear 0) or zeta2 (gear 1) there.
//   Module._webSlidingCurve(points): the specific sliding along the
//       effective path, as doubles from the pointer returned: A, E, C (mm
//       from T1), zeta1 at the root and tip, zeta2 at the root and tip, the
//       number of zones and of points (2 to 401, as asked), each zone's
//       from, to and pairs in contact, then each point's s, zeta1 and zeta2
//       from A to E (-Infinity at a tangent point). Valid until the next call.
//   Module._webBendingS(): s (mm from T1) of the contact scene 13 follows at
//       the drive angle of the moment, beyond E while that pair is out of
//       contact (NaN without an effective path).
//   Module._webPairSvg() / _webPairSvgLength(): the SVG text of the pair (a
//       set: all its members), the same bytes as the desktop's --svg file; the pointer stays valid until
//       the next call of _webPairSvg.
//   Module._webPairDxf(apart) / _webPairDxfLength(): the DXF R12 text of the
//       pair, the same bytes as the desktop's --dxf file with --layout mesh
//       (apart 0) or --layout apart (apart 1); the pointer stays valid until
//       the next call of _webPairDxf.
//   Module._webPairStl() / _webPairStlLength(): the binary STL of the
//       pair's solids, the same bytes as the desktop's --stl file (no bore);
//       the pointer stays valid until the next call of _webPairStl.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/pair_state.h"
#include "app/state.h"
#include "pair/exports/exports.h"
#include "pair/inputs/gear_pair.h"
#include "pair/inputs/helical.h"
#include "pair/inputs/inputs.h"
#include "pair/mesh/line_of_action.h"
#include "pair/pair_kind.h"
#include "pair/mesh/mesh.h"
#include "pair/report/report.h"
#include "scenes/display.h"
#include "scenes/scene_table.h"
#include "scenes/scenes.h"

namespace {

std::string refusal;  // why the last webSetPair was refused; "" after an accepted one
PairInput pendingInput;  // the inputs webSetPairInput has given, for webSetPair
bool x1Given = true;     // webSetPairInput's x1 was a value, not left out
std::string svgText;
std::string dxfText;
std::string stlBytes;
MeshMoment moment{};  // the contacts webPairContactCount found
// webSlidingCurve's numbers: 9 heads, 3 for each zone, 3 for each point.
constexpr int maxCurvePoints = 401;
double curve[9 + 3 * maxMeshZones + 3 * maxCurvePoints];

// The contact scene 11 follows at the drive angle of the moment, or -1.
int followedContact(MeshMoment& now) {
    now = meshAt(activeMesh, driveAngle);
    return contactNearestPitchPoint(activeMesh, now);
}

std::string inputsJson;
char inputText[128];
double inputValue = 0.0;
std::string rangeText;

// [{"name": "z1", …}, …]: every field of the table, the kinds by name.
// The table's texts hold no quote or backslash, so they go in as they are.
std::string formatInputsJson() {
    std::string json = "[";
    for (int i = 0; i < pairInputCount; ++i) {
        const PairInputSpec& s = pairInputSpecs()[i];
        std::string kinds;
        for (int k = 0; k < pairKindCount; ++k) {
            if ((s.kinds & kindBit(pairKindModels()[k].kind)) != 0) {
                kinds += std::string(kinds.empty() ? "" : ",") + "\"" + pairKindModels()[k].name + "\"";
            }
        }
        char entry[1024];
        snprintf(entry, sizeof entry,
                 "%s{\"name\":\"%s\",\"unit\":\"%s\",\"lo\":%.17g,\"hi\":%.17g,\"start\":%.17g,\"slot\":%d,\"whole\":%d,\"loOpen\":%d,"
                 "\"perModule\":%d,\"optional\":%d,\"kinds\":[%s],\"option\":\"%s\",\"link\":%s%s%s,"
                 "\"words\":%s%s%s}",
                 i == 0 ? "" : ",", s.name, unitWords(s.unit).symbol, s.lo, s.hi,
                 s.start, s.slot, s.whole, s.loOpen, s.perModule, s.optional,
                 kinds.c_str(), s.option,
                 s.linkKey != nullptr ? "\"" : "", s.linkKey != nullptr ? s.linkKey : "null",
                 s.linkKey != nullptr ? "\"" : "", s.words != nullptr ? "\"" : "",
                 s.words != nullptr ? s.words : "null", s.words != nullptr ? "\"" : "");
        json += entry;
        // Each kind's own words and start ("byKind": {"planetary": {...}}).
        std::string byKind;
        for (int k = 0; k < pairKindCount; ++k) {
            const PairKind kind = pairKindModels()[k].kind;
            const PairInputWords w = pairInputWords(s, kind);
            snprintf(entry, sizeof entry,
                     "%s\"%s\":{\"symbol\":\"%s\",\"label\":\"%s\",\"labelJa\":\"%s\",\"said\":[\"%s\",\"%s\"],"
                     "\"start\":%.17g}",
                     k == 0 ? "" : ",", pairKindModels()[k].name, w.symbol, w.label, w.labelJa, w.said, w.saidJa,
                     inputStart(s, kind));
            byKind += entry;
        }
        json.insert(json.size() - 1, ",\"byKind\":{" + byKind + "}");
    }
    return json + "]";
}

// The page's pair scenes start with the default pair, built when the page
// first asks for the pair (webPairStart): working out its outlines costs
// more than the first frame, which shows scene 1 and does not need them.
// Until then keys 7 to 9 are ignored, as by a desktop program without a
// pair; the page starts the pair before it sends them.
bool pairStarted = false;

bool pairSceneShown() {
    const Scene* scene = sceneOfKey(sceneKey);
    return scene != nullptr && scene->needs != SceneNeeds::nothing;
}


std::string setJson;


}  // namespace

extern "C" {

// The table of inputs as JSON, for the page's fields, checks and link.
EMSCRIPTEN_KEEPALIVE const char* webPairInputs() {
    if (inputsJson.empty()) {
        inputsJson = formatInputsJson();
    }
    return inputsJson.c_str();
}

// The kinds of pair, in the order of webSetPair's codes, as JSON: each one's
// name (the link's word), its names in English and Japanese, and the scene
// keys only it offers ("9": its ring cut, "p": its set turning).
EMSCRIPTEN_KEEPALIVE const char* webPairKinds() {
    static std::string json;
    if (json.empty()) {
        json = "[";
        for (int k = 0; k < pairKindCount; ++k) {
            const PairKindModel& kind = pairKindModels()[k];
            // The keys of the scenes that need more than a pair and that this kind has.
            std::string keys;
            for (int i = 0; i < sceneCount; ++i) {
                const Scene& scene = scenes()[i];
                if (scene.needs != SceneNeeds::nothing && scene.needs != SceneNeeds::pair &&
                    sceneFitsKind(scene, kind.kind)) {
                    keys += scene.key;
                }
            }
            json += std::string(k == 0 ? "" : ",") + "{\"name\":\"" + kind.name + "\",\"en\":\"" + kind.english +
                    "\",\"ja\":\"" + kind.japanese + "\",\"keys\":\"" + keys + "\"}";
        }
        json += "]";
    }
    return json.c_str();
}

// The page writes a field's text (UTF-8, NUL-terminated) here, then asks
// webReadPairInput to read it by the same rule as the command line.
EMSCRIPTEN_KEEPALIVE char* webPairInputText() { return inputText; }
EMSCRIPTEN_KEEPALIVE int webPairInputTextCapacity() { return static_cast<int>(sizeof inputText); }

// Reads webPairInputText as input `index` of the table: 0 a value in range
// (webPairInputValue), 1 not a value of its kind, 2 out of range. m is the
// module, for the ranges given in multiples of it.
EMSCRIPTEN_KEEPALIVE int webReadPairInput(int index, double m) {
    if (index < 0 || index >= pairInputCount) {
        return 1;
    }
    const PairInputSpec& spec = pairInputSpecs()[index];
    inputText[sizeof inputText - 1] = '\0';
    if (!readInputText(spec, inputText, inputValue)) {
        return 1;
    }
    return inputInRange(spec, inputValue, m) ? 0 : 2;
}

EMSCRIPTEN_KEEPALIVE double webPairInputValue() { return inputValue; }

// Input `index`'s range as the messages say it ("0 to 0.25 m = 0.75 mm").
EMSCRIPTEN_KEEPALIVE const char* webPairInputRange(int index, double m) {
    rangeText = index >= 0 && index < pairInputCount ? inputRangeText(pairInputSpecs()[index], m) : "";
    return rangeText.c_str();
}

// The page gives the pair's inputs one at a time, by their index in the
// table of inputs (webSetPairInput), then the kind (webSetPair): every input
// of the table reaches the pair this way, none is named here.
EMSCRIPTEN_KEEPALIVE void webSetPairInput(int index, double value) {
    if (index >= 0 && index < pairInputCount) {
        // A value left out arrives as NaN: 0, the program's own choice, for
        // an optional input; the start for the others (the page has no field
        // for some: the flanks' material).
        const PairInputSpec& spec = pairInputSpecs()[index];
        if (spec.id == PairInputId::x1) {
            // With a centre distance, x1 left out: both shifts chosen for it,
            // as --centre-distance without --shift; x1 given: x2 follows.
            x1Given = value == value;
        }
        setPairInputValue(pendingInput, spec.id, value == value ? value : spec.optional ? 0.0 : spec.start);
    }
}

EMSCRIPTEN_KEEPALIVE int webSetPair(int kind) {
    PairInput input = pendingInput;
    // The kinds in the order of the table of kinds; anything else: external.
    input.kind = pairKindModels()[kind >= 0 && kind < pairKindCount ? kind : 0].kind;
    // Every input the kind does not use back at its start (a rack's z2 is
    // no number of its own); checkPair checks the others' ranges.
    for (int i = 0; i < pairInputCount; ++i) {
        const PairInputSpec& spec = pairInputSpecs()[i];
        if ((spec.kinds & kindBit(input.kind)) == 0) {
            setPairInputValue(input, spec.id, inputStart(spec, input.kind));
        }
    }
    input.centreX1Given = x1Given && input.centreDistance > 0.0;
    // The shifts for a centre distance (the page's shift fields then show
    // them), once the other numbers pass.
    PairCheck check = checkPair(input);
    const bool shiftsToCome = check.field == PairField::x1 || check.field == PairField::x2 || check.field == PairField::none;
    if (input.centreDistance > 0.0 && shiftsToCome) {
        if (!applyCentreDistance(input, refusal)) {
            return static_cast<int>(PairInputId::centreDistance) + 1;
        }
        check = checkPair(input);
    }
    const std::string then = cureRefusedByCentreDistance(input, check, "the centre distance");
    if (!then.empty()) {
        // A cure (an angle, a cutter) refused for the centre distance: both said.
        refusal = check.problem + "; " + check.cure + then;
        return static_cast<int>(check.field) + 1;
    }
    if (check.field != PairField::none) {
        refusal = check.message;
        return static_cast<int>(check.field) + 1;  // the check names the input by its place in the table
    }
    refusal.clear();
    setActivePair(input);
    pairScenesEnabled = true;
    pairStarted = true;
    if (pairSceneShown()) {
        drawFrame();  // the same moment, for the new pair: no step
    }
    return 0;
}

// The pair scenes with the default pair, unless a pair is there already;
// prints nothing.
EMSCRIPTEN_KEEPALIVE void webPairStart() {
    if (!pairStarted) {
        setActivePair(PairInput{});
        pairScenesEnabled = true;
        pairStarted = true;
    }
}

// A link's keys and values, one at a time ("key=value" in
// webPairInputText, the key in small letters; webLinkAdd), then read as the
// command line reads the same options (webLinkRead). The link's keys are
// the table's (teeth=Z1,Z2 is --teeth Z1,Z2), kind is --pair; other keys
// (the scene, unknown ones) are the page's.
std::vector<OptionText> linkOptions;

EMSCRIPTEN_KEEPALIVE void webLinkClear() { linkOptions.clear(); }

EMSCRIPTEN_KEEPALIVE void webLinkAdd() {
    inputText[sizeof inputText - 1] = '\0';
    const char* equals = strchr(inputText, '=');
    if (equals == nullptr) {
        return;
    }
    const std::string key(static_cast<const char*>(inputText), equals);
    const std::string text(equals + 1);
    if (key == "kind") {
        linkOptions.push_back({"pair", text});
        return;
    }
    // The key's option (teeth: --teeth).
    for (int i = 0; i < pairInputCount; ++i) {
        const PairInputSpec& spec = pairInputSpecs()[i];
        if (spec.linkKey != nullptr && key == spec.linkKey) {
            linkOptions.push_back({spec.option, text});
            return;
        }
    }
}

// 0: the link's options fit the kind and each other as the command line
// checks them; 1: they do not (a second tooth count for a rack, planets for
// a pair, a centre distance for a set), webPairMessage says why in the
// command line's words. The values are the fields' to read.
EMSCRIPTEN_KEEPALIVE int webLinkRead() {
    PairInput pair;
    bool misfit = false;
    if (readPairOptions(linkOptions, pair, refusal, misfit)) {
        return 0;
    }
    return 1;
}

EMSCRIPTEN_KEEPALIVE const char* webPairMessage() { return refusal.c_str(); }

// The shifts of the current pair (chosen for its centre distance, when one was given).
EMSCRIPTEN_KEEPALIVE double webPairX(int gear) {
    const bool ownShift = gear == 0 || pairKindModel(activeInput.kind).hasGear2Shift;
    return !ownShift ? 0.0 : gear == 0 ? activeInput.x1 : activeInput.x2;
}

EMSCRIPTEN_KEEPALIVE int webPairKind() { return static_cast<int>(activeInput.kind); }
EMSCRIPTEN_KEEPALIVE int webPairZc() { return pairKindModel(activeInput.kind).hasRingCutting ? activePair.numbers.zc : 0; }

EMSCRIPTEN_KEEPALIVE double webPairEpsilonAlpha() { return activePair.numbers.epsilonAlpha; }
EMSCRIPTEN_KEEPALIVE double webPairAlphaWDeg() { return activePair.numbers.alphaW * 180.0 / pi; }
EMSCRIPTEN_KEEPALIVE double webPairCentreDistance() { return activePair.numbers.a; }
EMSCRIPTEN_KEEPALIVE double webPairGa() { return activePair.numbers.ga; }
EMSCRIPTEN_KEEPALIVE double webPairSa(int gear) { return activePair.numbers.gear[gear == 1 ? 1 : 0].sa; }

EMSCRIPTEN_KEEPALIVE double webPairEpsilonAlphaEff() { return activePair.numbers.epsilonAlphaEff; }
EMSCRIPTEN_KEEPALIVE double webPairJn() { return activePair.numbers.jn; }
EMSCRIPTEN_KEEPALIVE double webPairJt() { return activePair.numbers.jt; }
EMSCRIPTEN_KEEPALIVE double webPairThinning() { return activePair.numbers.thinning; }
EMSCRIPTEN_KEEPALIVE double webPairDw(int gear) { return activePair.numbers.gear[gear == 1 ? 1 : 0].dw; }
EMSCRIPTEN_KEEPALIVE double webPairY() { return activePair.numbers.y; }
EMSCRIPTEN_KEEPALIVE double webPairRatio() { return activePair.numbers.i; }
EMSCRIPTEN_KEEPALIVE int webPairSpanTeeth(int gear) { return activePair.numbers.gear[gear == 1 ? 1 : 0].k; }
EMSCRIPTEN_KEEPALIVE double webPairSpan(int gear) { return activePair.numbers.gear[gear == 1 ? 1 : 0].W; }
EMSCRIPTEN_KEEPALIVE double webPairPinDiameter(int gear) { return activePair.numbers.gear[gear == 1 ? 1 : 0].dp; }
EMSCRIPTEN_KEEPALIVE double webPairOverPins(int gear) {
    const GearNumbers& g = activePair.numbers.gear[gear == 1 ? 1 : 0];
    return g.pinOnInvolute ? g.M : 0.0;
}


// The report of one mesh as the console gives it (pair/report.h), as a JSON
// array of its lines: mesh 0 the pair's (a set: its sun–planet mesh), 1 a
// set's planet–ring mesh ("[]" for a pair). Each line: kind ("quantity",
// "count", "text", "warning"), symbol, value (as the report writes it), unit
// (its symbol: "mm", "°", "MPa"), ja, en, gear (1 to 3, 0 the pair's), id
// (a warning's identifier) and field (the input a warning concerns, its
// name in the table of inputs, or null).
EMSCRIPTEN_KEEPALIVE const char* webPairReport(int mesh) {
    static std::string json;
    PairReport report;
    if (mesh == 0) {
        report = meshReport(activePair.input, activePair.numbers);
    } else if (mesh == 1 && setSceneEnabled) {
        report = meshReport(activeSet.planetRing.input, activeSet.planetRing.numbers);
    }
    const auto quoted = [](const std::string& text) {
        std::string out = "\"";
        for (char c : text) {
            if (c == '"' || c == '\\') {
                out += '\\';
            }
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
        return out + "\"";
    };
    static const char* const kinds[] = {"quantity", "count", "text", "warning"};
    json = "[";
    for (const ReportLine& line : report) {
        json += std::string(json.size() > 1 ? "," : "") + "{\"kind\":\"" + kinds[static_cast<int>(line.kind)] +
                "\",\"symbol\":" + quoted(line.symbol) + ",\"value\":" + quoted(reportValue(line)) +
                ",\"unit\":" + quoted(unitWords(line.unit).symbol) + ",\"ja\":" + quoted(line.ja) +
                ",\"en\":" + quoted(line.en) + ",\"gear\":" + std::to_string(line.gear) +
                ",\"id\":" + quoted(line.id) + ",\"field\":" +
                (line.field == PairField::none ? std::string("null") : quoted(pairInputSpec(line.field).name)) + "}";
    }
    json += "]";
    return json.c_str();
}

// A planetary set's own numbers and its planet–ring mesh's, as JSON; "null"
// for a pair of another kind.
EMSCRIPTEN_KEEPALIVE const char* webSetNumbers() {
    if (!setSceneEnabled) {
        return "null";
    }
    const PlanetarySet& set = activeSet.set;
    const PairNumbers& ring = activeSet.planetRing.numbers;
    const FixedMemberWords& words = fixedMemberWords(activeInput.fixed);
    char json[1536];
    snprintf(json, sizeof json,
             "{\"zS\":%d,\"zP\":%d,\"zR\":%d,\"planets\":%d,\"fixed\":\"%s\",\"input\":\"%s\",\"output\":\"%s\","
             "\"fixedJa\":\"%s\",\"inputJa\":\"%s\",\"outputJa\":\"%s\","
             "\"a\":%.17g,\"ratio\":%.17g,\"xS\":%.17g,\"xP\":%.17g,\"xR\":%.17g,\"l\":%.17g,\"daP\":%.17g,"
             "\"ring\":{\"epsilonAlpha\":%.17g,\"epsilonAlphaEff\":%.17g,\"alphaWDeg\":%.17g,\"ga\":%.17g,"
             "\"gears\":[{\"sa\":%.17g},{\"sa\":%.17g}]}}",
             activeInput.z1, activeInput.z2, activeInput.z3, activeInput.planets, words.name,
             words.drivingName, words.drivenName, words.japanese, words.driving, words.driven, set.a, set.ratio,
             set.sunPlanet.x1, set.sunPlanet.x2, set.planetRing.x2, set.planetPitch, set.daP, ring.epsilonAlpha,
             ring.epsilonAlphaEff, ring.alphaW * 180.0 / pi, ring.ga, ring.gear[0].sa, ring.gear[1].sa);
    setJson = json;
    return setJson.c_str();
}

// How far member `member` of a planetary set (0 the sun, 1 the carrier, 2
// the ring, 3 a planet about its own centre) has turned at the drive angle
// of the moment, rad counter-clockwise, as scene 12 draws it.
EMSCRIPTEN_KEEPALIVE double webSetTurn(int member) {
    if (!setSceneEnabled) {
        return NAN;
    }
    const SetTurns t = setTurns(activeSet.set.sunPlanet, driveAngle);
    return member == 0 ? t.sun : member == 1 ? t.carrier : member == 2 ? t.ring : t.planet;
}

// The mesh (pair/mesh.h) measures along the line of action from T1; the
// page gets the distances from the nominal path's start, where gear 2's tip
// circle crosses the line of action.
EMSCRIPTEN_KEEPALIVE int webPairContactCount() {
    moment = meshAt(activeMesh, driveAngle);
    return moment.count;
}

EMSCRIPTEN_KEEPALIVE double webPairContact(int i) {
    return i >= 0 && i < moment.count ? moment.contact[i].s - activeMesh.start : 0.0;
}

EMSCRIPTEN_KEEPALIVE double webPairPathLength() { return activeMesh.end - activeMesh.start; }

// Scene 10's contact lines at the moment, as the scene draws them: their
// total length L, mm.
EMSCRIPTEN_KEEPALIVE double webContactLinesLength() {
    return actionPlane(activePair.input, activePair.numbers, driveAngle).total;
}
// A helical pair's face and total contact ratios (0 for a spur pair).
EMSCRIPTEN_KEEPALIVE double webPairEpsilonBeta() { return activePair.numbers.helix.epsilonBeta; }
EMSCRIPTEN_KEEPALIVE double webPairEpsilonGamma() {
    return activePair.numbers.helix.beta != 0.0 ? activePair.numbers.helix.epsilonGamma : 0.0;
}

EMSCRIPTEN_KEEPALIVE double webSlidingS() {
    MeshMoment now;
    const int i = followedContact(now);
    return i >= 0 ? now.contact[i].s : NAN;
}

EMSCRIPTEN_KEEPALIVE double webSlidingZeta(int gear) {
    MeshMoment now;
    const int i = followedContact(now);
    if (i < 0) {
        return NAN;
    }
    const Sliding z = specificSliding(activeMesh.path, now.contact[i].s);
    return gear == 1 ? z.zeta2 : z.zeta1;
}

EMSCRIPTEN_KEEPALIVE const double* webSlidingCurve(int points) {
    const ContactPath& p = activeMesh.path;
    points = points < 2 ? 2 : points > maxCurvePoints ? maxCurvePoints : points;
    const SlidingAtEnds ends = slidingAtEnds(p);
    double* at = curve;
    for (double value : {p.A, p.E, p.C, ends.zeta1Root, ends.zeta1Tip, ends.zeta2Root, ends.zeta2Tip}) {
        *at++ = value;
    }
    MeshZone zones[maxMeshZones];
    const int zoneCount = meshZones(p, zones, maxMeshZones);
    *at++ = zoneCount;
    *at++ = points;
    for (int i = 0; i < zoneCount; ++i) {
        *at++ = zones[i].from;
        *at++ = zones[i].to;
        *at++ = zones[i].pairs;
    }
    for (int i = 0; i < points; ++i) {
        const double s = p.A + (p.E - p.A) * i / (points - 1);
        const Sliding z = specificSliding(p, s);
        *at++ = s;
        *at++ = z.zeta1;
        *at++ = z.zeta2;
    }
    return curve;
}

EMSCRIPTEN_KEEPALIVE const char* webPairSvg() {
    Sheet sheet;
    layOutSheet(activeInput, SheetLayout::mesh, sheet);  // as the desktop's --svg: a set draws all its members
    svgText = formatSheetSvg(sheet);
    return svgText.c_str();
}

EMSCRIPTEN_KEEPALIVE int webPairSvgLength() { return static_cast<int>(svgText.size()); }

EMSCRIPTEN_KEEPALIVE const char* webPairDxf(int apart) {
    Sheet sheet;
    layOutSheet(activeInput, apart != 0 ? SheetLayout::apart : SheetLayout::mesh, sheet);
    dxfText = formatSheetDxf(sheet);
    return dxfText.c_str();
}

EMSCRIPTEN_KEEPALIVE int webPairDxfLength() { return static_cast<int>(dxfText.size()); }

EMSCRIPTEN_KEEPALIVE const char* webPairStl() {
    stlBytes = formatInputStl(activeInput, 0.0);
    return stlBytes.data();
}

EMSCRIPTEN_KEEPALIVE int webPairStlLength() { return static_cast<int>(stlBytes.size()); }

EMSCRIPTEN_KEEPALIVE double webBendingS() {
    const double s = bendingContactAt(driveAngle);
    return s < 0.0 ? NAN : s;
}

}  // extern "C"
