#include <cstdio>
#include <string>

#include "pair/exports.h"
#include "pair/kinds.h"
#include "pair/pair_kind.h"
#include "pair/report_lines.h"

std::string formatPairReport(const PairNumbers& n) { return pairKindModel(n.kind).report(n); }

std::string formatPairReport(const PairInput& input, const PairNumbers& numbers) {
    return pairKindModel(input.kind).wholeReport(input, numbers);
}

std::string formatExternalReport(const PairNumbers& n) {
    Report r;
    std::string& text = r.text;
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    text += "\n歯車対の諸元";
    r.centreAndDiameters(n);
    r.add("法線ピッチ", "pb", Report::basePitch(n), "mm");
    r.add("かみ合い長さ", "ga", n.ga, "mm");
    r.add("正面かみ合い率", "εα", n.epsilonAlpha, "");
    r.effectiveContact(n, 2);
    r.helical(n);
    r.add("基準円歯厚", "s1", g1.s, "mm");
    r.add("基準円歯厚", "s2", g2.s, "mm");
    r.add("歯先歯厚", "sa1", g1.sa, "mm");
    r.add("歯先歯厚", "sa2", g2.sa, "mm");
    r.add("切下げ限界転位係数", "xmin1", g1.xmin, "");
    r.add("切下げ限界転位係数", "xmin2", g2.xmin, "");
    // The pair as it runs, its backlash, and the sizes that inspect each
    // gear as cut (thinned for the backlash).
    r.add("かみ合いピッチ円直径", "dw1", g1.dw, "mm");
    r.add("かみ合いピッチ円直径", "dw2", g2.dw, "mm");
    r.add("中心距離修正係数", "y", n.y, "");
    r.add("歯数比", "i", n.i, "");
    r.add("法線方向バックラッシ", "jn", n.jn, "mm");
    r.add("円周方向バックラッシ", "jt", n.jt, "mm");
    r.add("歯厚減少量（各歯車、かみ合いピッチ円上）", "Δsw", n.thinning, "mm");
    r.inspectionSizes(n, 2);
    r.gearWarnings(g1, 0);
    r.gearWarnings(g2, 1);
    r.contactWarnings(n);
    text += "\n";
    return text;
}

void Report::inspectionSizes(const PairNumbers& n, int gears) {
    for (int i = 0; i < gears; ++i) {
        const GearNumbers& g = n.gear[i];
        if (g.k > 0) {
            snprintf(line, sizeof line, "\nまたぎ歯数 k%d = %d", i + 1, g.k);
            text += line;
            snprintf(line, sizeof line, "W%d", i + 1);
            const std::string symbol = line;
            add("またぎ歯厚", symbol.c_str(), g.W, "mm");
        } else {
            snprintf(line, sizeof line, "\nまたぎ歯厚 W%d: 測れません（どのまたぎ歯数でも測定面がインボリュートに当たりません）",
                     i + 1);
            text += line;
        }
    }
    for (int i = 0; i < gears; ++i) {
        const GearNumbers& g = n.gear[i];
        char symbol[16];
        if (g.dp > 0.0) {
            snprintf(symbol, sizeof symbol, "dp%d", i + 1);
            add("ピン径", symbol, g.dp, "mm");
        }
        if (g.pinOnInvolute) {
            snprintf(symbol, sizeof symbol, "M%d", i + 1);
            add("オーバーピン寸法", symbol, g.M, "mm");
        } else {
            snprintf(line, sizeof line, "\nオーバーピン寸法 M%d: 測れません（%s）", i + 1,
                     !g.pinGiven       ? "インボリュートに当たって歯先円の外に出るピンがありません"
                     : g.pinOffFlanks  ? "ピンがインボリュートに当たりません"
                                       : "ピンが歯先円の外に出ません");
            text += line;
        }
    }
}
