// A planetary gear set's model (pair/planetary.h): its two pairs at one
// centre distance, the ring's shift solved, the Willis ratio, the set's
// checks with their cures and its report. The drawings' sheet is in
// planetary_sheet.cpp. Draws nothing.
#include "pair/sets/planetary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "pair/inputs/helical.h"
#include "pair/mesh/line_of_action.h"
#include "pair/mesh/mesh_kinds.h"
#include "pair/solve/number_format.h"
#include "pair/report/report_lines.h"

namespace {

constexpr FixedMemberWords fixedWords[] = {
    {FixedMember::ring, "ring", "内歯車", "太陽歯車", "キャリア", "sun", "carrier"},
    {FixedMember::carrier, "carrier", "キャリア", "太陽歯車", "内歯車", "sun", "ring"},
    {FixedMember::sun, "sun", "太陽歯車", "内歯車", "キャリア", "ring", "carrier"},
};

}  // namespace

const FixedMemberWords& fixedMemberWords(FixedMember fixed) {
    for (const FixedMemberWords& w : fixedWords) {
        if (w.fixed == fixed) {
            return w;
        }
    }
    return fixedWords[0];
}

namespace {

bool inRangeZ3(const PairInput& in) { return in.z3 >= minTeeth && in.z3 <= maxTeeth; }
bool inRangePlanets(const PairInput& in) { return in.planets >= minPlanets && in.planets <= maxPlanets; }
bool spacedEqually(const PairInput& in) { return (in.z1 + in.z3) % in.planets == 0; }
// Neighbouring planets' tip circles keep clear of each other: the neighbour
// (adjacency) condition with a margin, l - daP >= planetTipGapModules m
// (pair/planetary.h).
bool tipsClear(const PairInput& in, const PlanetarySet& s) {
    return s.planetPitch - s.daP >= planetTipGapModules * in.m;
}
bool ringShiftInRange(const PlanetarySet& s) {
    return s.ringMeshes && s.planetRing.x2 >= minShift && s.planetRing.x2 <= maxShift;
}

// The rules of the set after the two pairs' own.
bool setRulesPass(const PairInput& in, const PlanetarySet& s) { return spacedEqually(in) && tipsClear(in, s); }

// What breaks the rules of the set itself (setRulesPass), "" when none.
std::string setRuleProblem(const PairInput& in, const PlanetarySet& s) {
    char text[320];
    if (!spacedEqually(in)) {
        snprintf(text, sizeof text,
                 "(z1 + z3) / N = %d / %d is not whole: %d planets cannot be spaced equally (each must find the sun's "
                 "and the ring's spaces where its teeth stand)",
                 in.z1 + in.z3, in.planets, in.planets);
    } else if (!tipsClear(in, s)) {
        snprintf(text, sizeof text,
                 "neighbouring planets' tip circles come too close: their centres lie l = 2 a sin(π/N) = %s mm "
                 "apart, less than their tip diameter daP = %s mm plus the gap of %g m = %s mm that planetary sets "
                 "keep between them",
                 fixed(s.planetPitch, 4).c_str(), fixed(s.daP, 4).c_str(), planetTipGapModules,
                 fixed(planetTipGapModules * in.m, 4).c_str());
    } else {
        return "";
    }
    return text;
}

// Whether the planet, which passes the rules of an internal pair with the
// ring, also turns in it (the planet–ring pair's own numbers, its cutter
// chosen as the drawings cut it): a tip that reaches past the ring's root
// circle and a trochoid interference (the planet's tip, leaving mesh, cuts
// the ring's tips) each lock the set. An internal pair alone is warned of
// them; a set whose planets cannot turn is no set. (An involute
// interference, the ring's tip in the planet's fillet, stays a warning, as
// the same fault of an external pair does.)
enum class RingTurn { turns, tipPastRoot, trochoid };
RingTurn ringTurn(const PlanetarySet& s, PairNumbers& n) {
    n = meshPairNumbers(s.planetRing);
    if (n.noTipClearance) {
        return RingTurn::tipPastRoot;
    }
    return n.trochoidInterference ? RingTurn::trochoid : RingTurn::turns;
}

}  // namespace

double willisRatio(int zS, int zR, FixedMember fixed) {
    const double i0 = -static_cast<double>(zR) / zS;  // sun to ring, carrier held
    switch (fixed) {
    case FixedMember::ring:
        return 1.0 - i0;
    case FixedMember::carrier:
        return i0;
    case FixedMember::sun:
        return 1.0 - 1.0 / i0;
    }
    return 0.0;
}


PlanetarySet planetarySet(const PairInput& in) {
    PlanetarySet s{};
    const int n = in.planets > 0 ? in.planets : 1;
    s.sunPlanet = in;
    s.sunPlanet.kind = PairKind::external;
    s.sunPlanet.centreDistance = 0.0;
    s.sunPlanet.cutterTeeth = 0;
    s.sunPlanet.torque = in.torque / n;
    // a of the sun–planet pair, as externalPairNumbers works it out in the
    // transverse section (a helical set's, pair/helical.h; a spur set's is
    // its own): inv(alpha_w) = inv(alpha) + 2 tan(alpha) (xS + xP) / (zS + zP),
    // a = m (zS + zP) / 2 cos(alpha) / cos(alpha_w). With mt, alpha_t and
    // xn cos(beta) this is ISO 21771's inv(alpha_wt) = inv(alpha_t)
    // + 2 tan(alpha_n) (xnS + xnP) / (zS + zP).
    const TransverseSection section = transverseSection(in);
    const PairInput& t = section.spur();
    const double alpha = t.alphaDeg * degToRad;
    const double invW = involuteFunction(alpha) + 2.0 * std::tan(alpha) * (t.x1 + t.x2) / (t.z1 + t.z2);
    s.a = invW > 0.0 ? t.m * (t.z1 + t.z2) / 2.0 * std::cos(alpha) / std::cos(inverseInvolute(invW)) : NAN;
    // y = (a - m (zS + zP) / 2) / m; the planet's tip da2 = d2 + 2 m (h + y - xS),
    // h the rack's heights in m (1; cos(beta) in a helical set's transverse section).
    const double y = (s.a - t.m * (t.z1 + t.z2) / 2.0) / t.m;
    s.daP = t.m * t.z2 + 2.0 * t.m * (t.heightFactor + y - t.x1);
    s.planetPitch = 2.0 * s.a * std::sin(pi / n);

    PairInput& ring = s.planetRing;
    ring = in;
    ring.kind = PairKind::internal;
    ring.z1 = in.z2;
    ring.z2 = in.z3;
    ring.x1 = in.x2;
    // Helical: the sun's hand is given; the planet, gear 1 of this pair, has
    // the other, and the ring (mateHasSameHand) the planet's.
    ring.hand = in.hand == Hand::right ? Hand::left : Hand::right;
    ring.centreDistance = 0.0;
    ring.pinDiameter = 0.0;  // the ring's cutter: --cutter-teeth's, or chosen for it
    // The planet carries its share T / N of the sun's torque: its normal
    // load is the sun mesh's, Fn = T / (N rbS), its torque Fn rbP.
    ring.torque = in.torque / n * in.z2 / in.z1;
    // The planet is one gear: its tip as its mesh with the sun shortens it,
    // by m (xS + xP - y) off the radius the rack alone gives (radii in the
    // transverse section, where daP is).
    if (std::isfinite(s.a)) {
        const double daRack = t.m * t.z2 + 2.0 * t.m * (t.heightFactor + t.x2);
        ring.tipReduction1 = std::max(0.0, (daRack - s.daP) / 2.0);
    }
    const CentreDistanceShift r = std::isfinite(s.a) ? shiftTotalForCentreDistance(ring, s.a) : CentreDistanceShift{};
    s.ringMeshes = r.ok;
    // The solved shift's rounding error (1e-15 off 0, or off 1.5 on one
    // split of xS and xP and not another) is no shift: within 1e-9 of 0 or
    // of an end of the range it is that value, so the rules read the same xR
    // for every split that gives the same a.
    ring.x2 = r.ok ? ring.x1 + r.shiftTotal : 0.0;
    for (const double exact : {0.0, minShift, maxShift}) {
        ring.x2 = std::fabs(ring.x2 - exact) < 1e-9 ? exact : ring.x2;
    }
    s.ratio = willisRatio(in.z1, in.z3, in.fixed);
    return s;
}

bool planetarySetPasses(const PairInput& in, RingCutterMemo& memo) {
    if (!inRangeZ3(in) || !inRangePlanets(in)) {
        return false;
    }
    // The cheap rules first: a cure asks this of hundreds of sets.
    const PlanetarySet s = planetarySet(in);
    PairNumbers ring;
    return setRulesPass(in, s) && ringShiftInRange(s) && meshPairPasses(s.sunPlanet, memo) &&
           meshPairPasses(s.planetRing, memo) && ringTurn(s, ring) == RingTurn::turns;
}

std::string workingPlanetCounts(const PairInput& in, int& largest) {
    std::vector<int> counts;
    RingCutterMemo memo;
    PairInput p = in;
    for (int n = minPlanets; n <= maxPlanets; ++n) {
        p.planets = n;
        if (planetarySetPasses(p, memo)) {
            counts.push_back(n);
        }
    }
    largest = counts.empty() ? 0 : counts.back();
    std::string text;
    for (size_t k = 0; k < counts.size(); ++k) {
        text += (k == 0 ? "" : k + 1 == counts.size() ? " or " : ", ") + std::to_string(counts[k]);
    }
    return text;
}

PairCheck checkPlanetarySet(const PairInput& in) {
    char text[512];
    PairCheck check;
    // z3 and N in range: checkPair's checkInputRanges has seen to them.
    const PlanetarySet s = planetarySet(in);
    // The sun–planet pair by the rules of an external pair.
    const PairCheck sun = checkMeshPair(s.sunPlanet);
    if (sun.field != PairField::none) {
        const std::string problem =
            "the sun and planet (gears 1 and 2 of an external pair): " + (sun.problem.empty() ? sun.message : sun.problem);
        return refusalWithCure(in, sun.field == PairField::x2 ? 1 : 0, problem, planetarySetPasses);
    }
    // The ring at the sun–planet distance, its shift solved with xP kept
    // (the one planetarySet solved, which the rules and the cures read).
    PairCheck ring;
    const double xR = s.planetRing.x2;
    if (s.ringMeshes && !ringShiftInRange(s)) {
        ring.field = PairField::z3;
        snprintf(text, sizeof text, "its shift would be xR = %s, outside %.1f to %.1f", fixed(xR, 4).c_str(), minShift,
                 maxShift);
        ring.problem = text;
    } else if (s.ringMeshes) {
        ring = checkMeshPair(s.planetRing);
        if (ring.field != PairField::none) {
            // The internal pair's problem, or its whole message where it has
            // none of its own (a cutter refused, its cutters named).
            snprintf(text, sizeof text, "with its shift xR = %s, ", fixed(xR, 4).c_str());
            ring.problem = text + (ring.problem.empty() ? ring.message : ring.problem);
        }
    } else {
        ring.field = PairField::z3;
        ring.problem = shiftTotalForCentreDistance(s.planetRing, s.a).message;
    }
    if (ring.field != PairField::none) {
        snprintf(text, sizeof text, "the ring (z3 = %d) cannot mesh with the planet at the sun–planet distance a = %s mm: ",
                 in.z3, fixed(s.a, 4).c_str());
        std::string problem = text + ring.problem;
        if (ring.field == PairField::cutter) {
            // The cutter asked for is the fault. The cutters named are those
            // with which the whole set passes, not only those that cut the
            // ring cleanly: the ring's root, which the planets' tips must
            // clear, is the one its cutter cuts.
            RingCutterMemo memo;
            const CutterRun run = nearestCutterRun(s.planetRing, [&](int zc) {
                PairInput p = in;
                p.cutterTeeth = zc;
                return planetarySetPasses(p, memo);
            });
            snprintf(text, sizeof text,
                     "the ring (z3 = %d) cannot mesh with the planet at the sun–planet distance a = %s mm: with its "
                     "shift xR = %s, %s",
                     in.z3, fixed(s.a, 4).c_str(), fixed(xR, 4).c_str(), cutterFaultText(s.planetRing, transverseSection(s.planetRing)).c_str());
            check.field = PairField::cutter;
            check.message = text;
            if (run.lowest > 0) {
                snprintf(text, sizeof text, "; cutters of %d to %d teeth can", run.lowest, run.highest);
            } else {
                snprintf(text, sizeof text,
                         "; with the other values as they are, no cutter of %d to %d teeth gives a set that can be built",
                         minCutterTeeth, std::min(maxCutterTeeth, in.z3 - 1));
            }
            check.message += text;
            // A rule of the set that no cutter mends is said too.
            const std::string rule = setRuleProblem(in, s);
            check.message += rule.empty() || run.lowest > 0 ? "" : "; and " + rule;
            return check;
        }
        PairInput alone = s.planetRing;
        alone.x1 = alone.x2 = 0.0;
        // "a must be 15.0351 to 17.8809 mm": the distances, said as such.
        std::string reach = reachableCentreDistances(alone).message;
        const std::string head = "a must be ";
        reach = reach.compare(0, head.size(), head) == 0 ? "a = " + reach.substr(head.size()) : "no a (" + reach + ")";
        problem += "; with any split of its shifts the planet–ring pair alone reaches " + reach;
        return refusalWithCure(in, 0, problem, planetarySetPasses);
    }
    // The planet turns in the ring.
    PairNumbers n;
    const RingTurn turn = ringTurn(s, n);
    if (turn != RingTurn::turns) {
        const GearNumbers& planet = n.gear[0];
        const GearNumbers& ringGear = n.gear[1];  // its root df3 the one its cutter cuts
        if (turn == RingTurn::tipPastRoot) {
            snprintf(text, sizeof text,
                     "the planets cannot turn in the ring (xR = %s): a planet's tip reaches past the ring's root "
                     "circle (a + daP / 2 = %s mm, beyond df3 / 2 = %s mm, the root its cutter of %d teeth cuts)",
                     fixed(xR, 4).c_str(), fixed(n.a + planet.da / 2.0, 4).c_str(), fixed(ringGear.df / 2.0, 4).c_str(),
                     n.zc);
        } else {
            snprintf(text, sizeof text,
                     "the planets cannot turn in the ring (xR = %s): a planet's tip, leaving mesh, cuts the ring's "
                     "tips (trochoid interference)",
                     fixed(xR, 4).c_str());
        }
        return refusalWithCure(in, 0, text, planetarySetPasses);
    }
    // The rules of the set itself; their cure is the planet count.
    int largest = 0;
    const std::string rule = setRuleProblem(in, s);
    if (rule.empty()) {
        return check;
    }
    snprintf(text, sizeof text, "%s", rule.c_str());
    check.field = PairField::planets;
    check.problem = text;
    const std::string counts = workingPlanetCounts(in, largest);
    if (counts.empty()) {
        snprintf(text, sizeof text, "; no planet count from %d to %d is both spaced equally and clear of its neighbours",
                 minPlanets, maxPlanets);
        check.message = check.problem + text;
        return check;
    }
    check.cure = "N must be " + counts +
                 (spacedEqually(in) ? " (" + std::to_string(largest) + " the most that fit, spaced equally)"
                                    : " (spaced equally, tips clear)");
    check.cureLo = check.cureHi = largest;
    check.message = check.problem + "; with the other values as they are, " + check.cure;
    return check;
}

SetTurns setTurns(const PairInput& in, double drive) {
    // zS phiS + zR phiR = (zS + zR) phiC (Willis): the input turns by drive,
    // the fixed member not at all.
    const double zS = in.z1;
    const double zR = in.z3;
    SetTurns t{};
    switch (in.fixed) {
    case FixedMember::ring:
        t.sun = drive;
        t.carrier = zS * drive / (zS + zR);
        break;
    case FixedMember::carrier:
        t.sun = drive;
        t.ring = -zS * drive / zR;
        break;
    case FixedMember::sun:
        t.ring = drive;
        t.carrier = zR * drive / (zS + zR);
        break;
    }
    // A planet turns with the carrier and, against it, rolls on the sun.
    t.planet = t.carrier - (t.sun - t.carrier) * zS / in.z2;
    return t;
}

PairNumbers planetaryNumbers(const PairInput& input) { return meshPairNumbers(planetarySet(input).sunPlanet); }

void buildPlanetaryGeometry(const PairInput& input, PairGeometry& pair) {
    buildMeshGeometry(planetarySet(input).sunPlanet, pair);
}

PairReport planetaryReport(const PairInput& in, const PairNumbers&) {
    const PlanetarySet s = planetarySet(in);
    const FixedMemberWords& w = fixedMemberWords(in.fixed);
    Report r;
    r.note("遊星歯車装置の諸元（歯車1: 太陽歯車、歯車2: 遊星歯車、歯車3: 内歯車）",
           "The planetary set's numbers (gear 1: the sun, gear 2: the planets, gear 3: the ring)");
    r.add("中心距離（太陽歯車と遊星歯車、遊星歯車と内歯車）", "a", s.a, "mm",
          "centre distance (sun and planet, planet and ring)");
    r.note(said("固定: %s（%sから入れ、%sから出す）", w.japanese, w.driving, w.driven),
           said("fixed: the %s (in at the %s, out at the %s)", w.name, w.drivingName, w.drivenName));
    r.add(s.ratio < 0.0 ? "速比（出力は入力と逆向きに回ります）" : "速比（出力は入力と同じ向きに回ります）", "i", s.ratio, "",
          s.ratio < 0.0 ? "ratio (the output turns against the input)" : "ratio (the output turns with the input)");
    r.count("遊星歯車の数", "N", in.planets, "number of planets");
    if (isHelical(in)) {
        // The hands of all three members; each mesh's lines below name only its two.
        r.add("ねじれ角（m、α、x は歯直角）", "β", in.betaDeg, "deg", "helix angle (m, α and x normal)");
        const bool sun = in.hand == Hand::right;
        const bool planet = s.planetRing.hand == Hand::right;
        r.note(said("ねじれ方向 太陽歯車: %s、遊星歯車: %s、内歯車: %s", sun ? "右" : "左", planet ? "右" : "左",
                    planet ? "右" : "左"),
               said("hand sun: %s, planets: %s, ring: %s", sun ? "right" : "left", planet ? "right" : "left",
                    planet ? "right" : "left"));
    }
    r.add("転位係数（太陽歯車）", "xS", in.x1, "", "profile shift coefficient (sun)");
    r.add("転位係数（遊星歯車）", "xP", in.x2, "", "profile shift coefficient (planets)");
    r.add("転位係数（内歯車、中心距離 a から）", "xR", s.planetRing.x2, "",
          "profile shift coefficient (ring, from the centre distance a)");
    r.add("遊星歯車の中心間距離 2a sin(π/N)", "l", s.planetPitch, "mm", "distance between planets' centres 2a sin(π/N)");
    r.add("遊星歯車の歯先円直径", "daP", s.daP, "mm", "planets' tip diameter");
    if (in.torque > 0.0) {
        const std::string T = fixed(in.torque, 4);
        r.note(said("（トルク T = %s N·m は太陽歯車のもの。遊星歯車 1 個あたり T/N）", T.c_str()),
               said("(the torque T = %s N·m is the sun's; T/N a planet)", T.c_str()));
    }
    r.note("", "");
    r.note("太陽歯車と遊星歯車（外歯車の対: 歯車1 が太陽歯車、歯車2 が遊星歯車）",
           "Sun and planet (an external pair: gear 1 the sun, gear 2 a planet)");
    r.append(meshReport(s.sunPlanet, meshPairNumbers(s.sunPlanet)));
    r.note("", "");
    r.note("遊星歯車と内歯車（内歯車の対: 歯車1 が遊星歯車、歯車2 が内歯車）",
           "Planet and ring (an internal pair: gear 1 a planet, gear 2 the ring)");
    r.append(meshReport(s.planetRing, meshPairNumbers(s.planetRing)));
    return r.lines;
}
