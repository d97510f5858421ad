// The report's lines about what happens along the line of action, for every
// kind of pair: the shifts chosen for a given centre distance (before the
// kind's own lines), then the specific sliding at the ends of the effective
// path, the diameters of single-tooth contact and, with a torque, the Hertz
// contact stress. The numbers come from pair/line_of_action.h; only the
// wording is here. Not here: the kind's own lines (report.cpp,
// report_kinds.cpp).
#include <cmath>
#include <cstdio>

#include "pair/exports.h"
#include "pair/helical.h"
#include "pair/line_of_action.h"
#include "pair/pair_kind.h"
#include "pair/report_lines.h"

namespace {

// Root sliding of the two gears this close counts as equal (the split is
// found by bisection to 1e-7 in x1).
constexpr double equalSlidingTolerance = 1e-4;

// "ζ1_root = -1.2345", or what an infinite value means: the contact reaches
// the flank's base circle, where the flank does not move along itself.
void addSliding(Report& r, const char* symbol, double zeta) {
    if (std::isfinite(zeta)) {
        r.add("すべり率", symbol, zeta, "");
    } else {
        snprintf(r.line, sizeof r.line, "\nすべり率 %s = -∞（接触点が基礎円上にあり、歯面が動きません）", symbol);
        r.text += r.line;
    }
}

void centreDistanceLines(Report& r, const PairInput& in, const PairNumbers& n) {
    r.text += "\n中心距離から決めた転位係数";
    r.add("指定の中心距離", "a", in.centreDistance, "mm");
    r.add("転位係数", "x1", in.x1, "");
    r.add("転位係数", "x2", in.x2, "");
    const bool ring = pairKindModel(in.kind).hasRingCutting;  // x2 - x1 is what a fixes
    r.add(ring ? "転位係数の差" : "転位係数の和", ring ? "x2 - x1" : "x1 + x2", ring ? in.x2 - in.x1 : in.x1 + in.x2, "");
    const SlidingAtEnds z = slidingAtEnds(contactPath(in, n));
    if (in.centreX1Given) {
        r.text += "\n（x1 は指定のまま、x2 は中心距離から）";
    } else if (std::fabs(z.zeta1Root - z.zeta2Root) < equalSlidingTolerance) {
        r.text += "\n（配分: 両歯車の歯元のすべり率が等しくなるように ζ1_root = ζ2_root）";
    } else {
        r.text += "\n（配分: 歯元のすべり率を等しくする配分では歯車が作れないため、それに最も近い作れる配分）";
    }
}

void lineOfActionLines(Report& r, const PairInput& in, const PairNumbers& n) {
    const ContactPath path = contactPath(in, n);
    const bool rack = !pairKindModel(in.kind).hasGear2Shift;  // gear 2 has no diameters
    r.text += "\n\nかみ合い線に沿って（有効なかみ合いの始まり A から終わり E まで）";
    if (!(n.gaEff > 0.0)) {
        // No effective path: no contact whose sliding or single zone to give.
        r.text += "\n有効なかみ合いがありません（εα_eff = 0: すべり率と一枚かみ合いの区間はありません）";
        return;
    }
    const SlidingAtEnds z = slidingAtEnds(path);
    addSliding(r, "ζ1_root", z.zeta1Root);
    addSliding(r, "ζ1_tip", z.zeta1Tip);
    addSliding(r, "ζ2_root", z.zeta2Root);
    addSliding(r, "ζ2_tip", z.zeta2Tip);
    if (n.epsilonAlphaEff < 1.0) {
        r.text += "\n一枚かみ合い: かみ合いの全域（εα_eff < 1、二組がかみ合う区間はありません）";
    } else if (n.epsilonAlphaEff >= 2.0) {
        r.text += "\n一枚かみ合い: ありません（εα_eff ≥ 2、常に二組以上がかみ合います）";
    } else {
        const SingleToothContact c = singleToothContact(path);
        r.add("一枚かみ合いの最低点の直径", "dB1", c.dB1, "mm");
        r.add("一枚かみ合いの最高点の直径", "dD1", c.dD1, "mm");
        if (!rack) {
            r.add("一枚かみ合いの最高点の直径", "dB2", c.dB2, "mm");
            r.add("一枚かみ合いの最低点の直径", "dD2", c.dD2, "mm");
        }
        // A helical pair's load passes along its contact lines: judged on eps_gamma.
        if (isHelical(in) ? n.helix.epsilonGamma < nearlySingleContactRatio : c.nearlyWhole) {
            r.warn(isHelical(in) ? "全かみ合い率が 1.05 未満です（εγ < 1.05）"
                                 : "一枚かみ合いの区間がかみ合いのほぼ全域を占めます（εα_eff < 1.05）");
        }
    }
    if (in.torque > 0.0 && n.gaEff > 0.0) {
        const HertzLoad load = hertzLoadOf(in);
        const bool helical = isHelical(in);
        const HertzStress h = helical ? helicalHertzStress(in, n, path, load) : hertzStress(path, load);
        snprintf(r.line, sizeof r.line,
                 "\n歯面の接触応力（ヘルツ: 両歯面を半径 ρ1, ρ2 の円柱とし、T = %s N·m, b = %s mm, E = %s GPa, ν = %s）",
                 fixed(in.torque, 4).c_str(), fixed(load.b, 4).c_str(), fixed(in.elasticE, 4).c_str(),
                 fixed(in.elasticNu, 4).c_str());
        r.text += r.line;
        r.text += "\n（教材用の値です。係数を含む強度計算ではありません）";
        r.add("法線荷重", "Fn", h.Fn, "N");
        if (helical) {
            // The load along the contact lines, shared by their lengths.
            r.text += "\n（はすば歯車: 荷重は接触線の長さに比例して分担し、歯面の曲率半径は歯直角断面の ρ / cos βb）";
            r.add("ピッチ点の接触応力（歯幅全体の一本の接触線で全荷重）", "σH_C", h.sigmaHC, "MPa");
            r.add("最大の接触応力（その時の接触線の長さの和で荷重を分担）", "σH_max", h.sigmaHMax, "MPa");
        } else {
            r.add("ピッチ点の接触応力（一組で全荷重）", "σH_C", h.sigmaHC, "MPa");
            r.add("最大の接触応力（一枚かみ合いでは全荷重、二枚かみ合いでは等分）", "σH_max", h.sigmaHMax, "MPa");
        }
        snprintf(r.line, sizeof r.line, "\n（σH_max の位置: T1 から s = %s mm、歯車1の直径 %s mm）",
                 fixed(h.sMax, 4).c_str(), fixed(h.dMax1, 4).c_str());
        r.text += r.line;
    }
}

}  // namespace

std::string formatMeshReport(const PairInput& input, const PairNumbers& numbers) {
    Report r;
    if (input.centreDistance > 0.0) {
        centreDistanceLines(r, input, numbers);
    }
    std::string kindLines = formatPairReport(numbers);
    kindLines.pop_back();  // its last newline: the line-of-action lines follow
    r.text += kindLines;
    lineOfActionLines(r, input, numbers);
    r.text += "\n";
    return r.text;
}
