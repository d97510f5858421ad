// The report's lines about what happens along the line of action, for every
// kind of pair: the shifts chosen for a given centre distance (before the
// kind's own lines), then the specific sliding at the ends of the effective
// path, the diameters of single-tooth contact and, with a torque, the Hertz
// contact stress. The numbers come from pair/line_of_action.h; only the
// wording is here, in both languages. Not here: the kind's own lines (report.cpp,
// report_kinds.cpp).
#include <cmath>
#include <cstdio>

#include "pair/exports/exports.h"
#include "pair/inputs/helical.h"
#include "pair/mesh/line_of_action.h"
#include "pair/inputs/kind_traits.h"
#include "pair/kinds/kinds.h"
#include "pair/report/report_lines.h"

namespace {

// Root sliding of the two gears this close counts as equal (the split is
// found by bisection to 1e-7 in x1).
constexpr double equalSlidingTolerance = 1e-4;

// "ζ1_root = -1.2345", or what an infinite value means: the contact reaches
// the flank's base circle, where the flank does not move along itself.
void addSliding(Report& r, const char* symbol, double zeta) {
    if (std::isfinite(zeta)) {
        r.add("すべり率", symbol, zeta, "", "specific sliding");
    } else {
        r.note(said("すべり率 %s = -∞（接触点が基礎円上にあり、歯面が動きません）", symbol),
               said("specific sliding %s = -∞ (the contact is on the base circle, where the flank does not move)", symbol),
               Report::gearOf(symbol));
    }
}

void centreDistanceLines(Report& r, const PairInput& in, const PairNumbers& n) {
    r.note("中心距離から決めた転位係数", "The shifts chosen for the centre distance");
    r.add("指定の中心距離", "a", in.centreDistance, "mm", "centre distance given");
    r.add("転位係数", "x1", in.x1, "", "profile shift coefficient");
    r.add("転位係数", "x2", in.x2, "", "profile shift coefficient");
    const bool ring = pairKindTraits(in.kind).hasRingCutting;  // x2 - x1 is what a fixes
    r.add(ring ? "転位係数の差" : "転位係数の和", ring ? "x2 - x1" : "x1 + x2", ring ? in.x2 - in.x1 : in.x1 + in.x2, "",
          ring ? "difference of the shifts" : "sum of the shifts");
    const SlidingAtEnds z = slidingAtEnds(contactPath(n));
    if (in.centreX1Given) {
        r.note("（x1 は指定のまま、x2 は中心距離から）", "(x1 as given, x2 from the centre distance)");
    } else if (std::fabs(z.zeta1Root - z.zeta2Root) < equalSlidingTolerance) {
        r.note("（配分: 両歯車の歯元のすべり率が等しくなるように ζ1_root = ζ2_root）",
               "(the split: the specific sliding at both roots equal, ζ1_root = ζ2_root)");
    } else {
        r.note("（配分: 歯元のすべり率を等しくする配分では歯車が作れないため、それに最も近い作れる配分）",
               "(the split: the nearest that can be cut to the one of equal sliding at the roots, which cannot)");
    }
}

void lineOfActionLines(Report& r, const PairInput& in, const PairNumbers& n) {
    const ContactPath path = contactPath(n);
    const bool rack = !pairKindTraits(in.kind).hasGear2Shift;  // gear 2 has no diameters
    r.note("", "");
    r.note("かみ合い線に沿って（有効なかみ合いの始まり A から終わり E まで）",
           "Along the line of action (from the start A of the effective contact to its end E)");
    if (!(n.gaEff > 0.0)) {
        // No effective path: no contact whose sliding or single zone to give.
        r.note("有効なかみ合いがありません（εα_eff = 0: すべり率と一枚かみ合いの区間はありません）",
               "no effective contact (εα_eff = 0: no sliding and no single-tooth contact to give)");
        return;
    }
    const SlidingAtEnds z = slidingAtEnds(path);
    addSliding(r, "ζ1_root", z.zeta1Root);
    addSliding(r, "ζ1_tip", z.zeta1Tip);
    addSliding(r, "ζ2_root", z.zeta2Root);
    addSliding(r, "ζ2_tip", z.zeta2Tip);
    if (n.epsilonAlphaEff < 1.0) {
        r.note("一枚かみ合い: かみ合いの全域（εα_eff < 1、二組がかみ合う区間はありません）",
               "single-tooth contact: the whole path (εα_eff < 1, no stretch where two pairs mesh)");
    } else if (n.epsilonAlphaEff >= 2.0) {
        r.note("一枚かみ合い: ありません（εα_eff ≥ 2、常に二組以上がかみ合います）",
               "single-tooth contact: none (εα_eff ≥ 2, two pairs or more always mesh)");
    } else {
        const SingleToothContact c = singleToothContact(path);
        r.add("一枚かみ合いの最低点の直径", "dB1", c.dB1, "mm", "diameter of the lowest point of single-tooth contact");
        r.add("一枚かみ合いの最高点の直径", "dD1", c.dD1, "mm", "diameter of the highest point of single-tooth contact");
        if (!rack) {
            r.add("一枚かみ合いの最高点の直径", "dB2", c.dB2, "mm", "diameter of the highest point of single-tooth contact");
            r.add("一枚かみ合いの最低点の直径", "dD2", c.dD2, "mm", "diameter of the lowest point of single-tooth contact");
        }
        // A helical pair's load passes along its contact lines: judged on eps_gamma.
        if (isHelical(in) ? n.helix.epsilonGamma < nearlySingleContactRatio : c.nearlyWhole) {
            r.warn("nearlyWholeSingleContact", 0, PairField::none,
                   isHelical(in) ? "全かみ合い率が 1.05 未満です（εγ < 1.05）"
                                 : "一枚かみ合いの区間がかみ合いのほぼ全域を占めます（εα_eff < 1.05）",
                   isHelical(in) ? "the total contact ratio is below 1.05 (εγ < 1.05)"
                                 : "single-tooth contact takes up nearly the whole path (εα_eff < 1.05)");
        }
    }
    if (in.torque > 0.0 && n.gaEff > 0.0) {
        const HertzLoad load = hertzLoadOf(in);
        const bool helical = isHelical(in);
        const HertzStress h = helical ? helicalHertzStress(in, n, path, load) : hertzStress(path, load);
        const std::string T = fixed(in.torque, 4);
        const std::string b = fixed(load.b, 4);
        const std::string E = fixed(in.elasticE, 4);
        const std::string nu = fixed(in.elasticNu, 4);
        r.note(said("歯面の接触応力（ヘルツ: 両歯面を半径 ρ1, ρ2 の円柱とし、T = %s N·m, b = %s mm, E = %s GPa, ν = %s）",
                    T.c_str(), b.c_str(), E.c_str(), nu.c_str()),
               said("Contact stress of the flanks (Hertz: both flanks as cylinders of radii ρ1, ρ2, T = %s N·m, b = %s "
                    "mm, E = %s GPa, ν = %s)",
                    T.c_str(), b.c_str(), E.c_str(), nu.c_str()));
        r.note("（教材用の値です。係数を含む強度計算ではありません）",
               "(a value for teaching, not a strength rating with its factors)");
        r.add("法線荷重", "Fn", h.Fn, "N", "normal load");
        if (helical) {
            // The load along the contact lines, shared by their lengths.
            r.note("（はすば歯車: 荷重は接触線の長さに比例して分担し、歯面の曲率半径は歯直角断面の ρ / cos βb）",
                   "(helical gears: the load shared in proportion to the contact lines' lengths, the flanks' radii of "
                   "curvature those of the normal section, ρ / cos βb)");
            r.add("ピッチ点の接触応力（歯幅全体の一本の接触線で全荷重）", "σH_C", h.sigmaHC, "MPa",
                  "contact stress at the pitch point (the whole load on one contact line across the face)");
            r.add("最大の接触応力（その時の接触線の長さの和で荷重を分担）", "σH_max", h.sigmaHMax, "MPa",
                  "greatest contact stress (the load shared by the total length of the contact lines of the moment)");
        } else {
            r.add("ピッチ点の接触応力（一組で全荷重）", "σH_C", h.sigmaHC, "MPa",
                  "contact stress at the pitch point (one pair carries the whole load)");
            r.add("最大の接触応力（一枚かみ合いでは全荷重、二枚かみ合いでは等分）", "σH_max", h.sigmaHMax, "MPa",
                  "greatest contact stress (the whole load in single-tooth contact, half of it in double)");
        }
        const std::string s = fixed(h.sMax, 4);
        const std::string d = fixed(h.dMax1, 4);
        r.note(said("（σH_max の位置: T1 から s = %s mm、歯車1の直径 %s mm）", s.c_str(), d.c_str()),
               said("(where σH_max is: s = %s mm from T1, gear 1's diameter %s mm)", s.c_str(), d.c_str()));
    }
}

}  // namespace

PairReport meshReport(const PairInput& input, const PairNumbers& numbers) {
    Report r;
    if (input.centreDistance > 0.0) {
        centreDistanceLines(r, input, numbers);
    }
    r.append(kindReport(numbers));
    lineOfActionLines(r, input, numbers);
    rootBendingLines(r, input, numbers);
    return r.lines;
}
