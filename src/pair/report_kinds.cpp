// The console report of an internal pair and of a rack pair: the lines of an
// external pair's report that mean something for the kind, the cutter of the
// ring or the rack's pitch, and the kind's own warnings.
#include <cmath>
#include <cstdio>

#include "pair/kinds.h"
#include "pair/report_lines.h"

std::string formatInternalReport(const PairNumbers& n) {
    Report r;
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    r.text += "\n歯車対の諸元（内歯車）";
    r.centreAndDiameters(n);
    snprintf(r.line, sizeof r.line, "\nピニオンカッタ歯数 zc = %d", n.zc);
    r.text += r.line;
    r.add("法線ピッチ", "pb", Report::basePitch(n), "mm");
    r.add("かみ合い長さ", "ga", n.ga, "mm");
    r.add("正面かみ合い率", "εα", n.epsilonAlpha, "");
    r.effectiveContact(n, 2);
    r.helical(n);
    r.add("基準円歯厚", "s1", g1.s, "mm");
    if (g2.noReferenceTooth) {
        r.text += "\n基準円歯厚 s2: ありません（基準円が歯先円より内側にあり、歯に掛かりません）";
    } else {
        r.add("基準円歯厚", "s2", g2.s, "mm");
    }
    r.add("歯先歯厚", "sa1", g1.sa, "mm");
    r.add("歯先歯厚", "sa2", g2.sa, "mm");
    r.add("切下げ限界転位係数", "xmin1", g1.xmin, "");
    r.add("かみ合いピッチ円直径", "dw1", g1.dw, "mm");
    r.add("かみ合いピッチ円直径", "dw2", g2.dw, "mm");
    r.add("法線方向バックラッシ", "jn", n.jn, "mm");
    r.add("円周方向バックラッシ", "jt", n.jt, "mm");
    r.add("歯厚減少量（各歯車、かみ合いピッチ円上）", "Δsw", n.thinning, "mm");
    r.inspectionSizes(n, 1);
    r.gearWarnings(g1, 0);
    r.gearWarnings(g2, 1);
    if (n.noTipClearance) {
        snprintf(r.line, sizeof r.line,
                 "\n警告: 歯車1の歯先が内歯車の歯底に当たります（頂げきがありません: a + da1/2 が df2/2 を %.4f mm 越えます）",
                 n.a + g1.da / 2.0 - g2.df / 2.0);
        r.text += r.line;
    }
    if (n.involuteInterference) {
        r.warn("インボリュート干渉が生じます（内歯車の歯先が歯車1の基礎円の接点を越えます: z1/z2 < 1 - tan αa2 / tan αw）");
    }
    if (n.trochoidInterference) {
        r.warn("トロコイド干渉が生じます（かみ合いを離れる歯車1の歯先が内歯車の歯先を削ります）");
    }
    if (n.tipCirclesOverlap) {
        r.warn("半径方向に組み込めません（トリミング: 歯車1の歯先円が内歯車の歯先円に届くため、軸方向に差し込むしかありません）");
    } else if (n.radialAssemblyImpossible) {
        r.warn("半径方向に組み込めません（トリミング: 歯車1は軸方向に差し込むしかありません）");
    }
    r.contactWarnings(n);
    r.text += "\n";
    return r.text;
}

std::string formatRackReport(const PairNumbers& n) {
    Report r;
    const GearNumbers& g1 = n.gear[0];
    r.text += "\n歯車対の諸元（ラックとピニオン）";
    r.add("ラック基準線までの距離", "a", n.a, "mm");
    r.add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg");
    r.add("基準円直径", "d1", g1.d, "mm");
    r.add("基礎円直径", "db1", g1.db, "mm");
    r.add("歯先円直径", "da1", g1.da, "mm");
    r.add("歯底円直径", "df1", g1.df, "mm");
    r.add("ラックのピッチ", "p", pi * g1.d / g1.z, "mm");  // p = pi m
    r.add("法線ピッチ", "pb", Report::basePitch(n), "mm");
    r.add("かみ合い長さ", "ga", n.ga, "mm");
    r.add("正面かみ合い率", "εα", n.epsilonAlpha, "");
    r.effectiveContact(n, 1);
    r.helical(n);
    r.add("基準円歯厚", "s1", g1.s, "mm");
    r.add("ラック基準線上の歯厚", "s2", n.gear[1].s, "mm");
    r.add("歯先歯厚", "sa1", g1.sa, "mm");
    r.add("切下げ限界転位係数", "xmin1", g1.xmin, "");
    r.add("法線方向バックラッシ", "jn", n.jn, "mm");
    r.add("円周方向バックラッシ", "jt", n.jt, "mm");
    r.add("歯厚減少量（ピニオンとラック、ピニオンの基準円上）", "Δs", n.thinning, "mm");
    r.inspectionSizes(n, 1);
    r.gearWarnings(g1, 0);
    r.contactWarnings(n);
    r.text += "\n";
    return r.text;
}
