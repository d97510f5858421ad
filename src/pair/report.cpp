#include <cstdio>
#include <string>

#include "pair/exports.h"
#include "pair/kinds.h"

std::string formatPairReport(const PairNumbers& n) {
    if (n.kind == PairKind::internal) {
        return formatInternalReport(n);
    }
    if (n.kind == PairKind::rack) {
        return formatRackReport(n);
    }
    std::string text;
    char line[256];
    auto add = [&](const char* label, const char* symbol, double value, const char* unit) {
        snprintf(line, sizeof line, "\n%s %s = %.4f%s%s", label, symbol, value, unit[0] != '\0' ? " " : "", unit);
        text += line;
    };
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    text += "\n歯車対の諸元";
    add("中心距離", "a", n.a, "mm");
    add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg");
    add("基準円直径", "d1", g1.d, "mm");
    add("基準円直径", "d2", g2.d, "mm");
    add("基礎円直径", "db1", g1.db, "mm");
    add("基礎円直径", "db2", g2.db, "mm");
    add("歯先円直径", "da1", g1.da, "mm");
    add("歯先円直径", "da2", g2.da, "mm");
    add("歯底円直径", "df1", g1.df, "mm");
    add("歯底円直径", "df2", g2.df, "mm");
    add("法線ピッチ", "pb", n.pb, "mm");
    add("かみ合い長さ", "ga", n.ga, "mm");
    add("正面かみ合い率", "εα", n.epsilonAlpha, "");
    add("有効かみ合い率", "εα_eff", n.epsilonAlphaEff, "");
    // Why the effective path is shorter: the gear whose involute starts above
    // where the mate's tip reaches.
    for (int i = 0; i < 2; ++i) {
        if (n.gear[i].interference) {
            snprintf(line, sizeof line,
                     "\n（歯車%dのインボリュートは直径 %.4f mm から始まり、歯車%dの歯先はそれより歯元側まで届きます）",
                     i + 1, n.gear[i].dNf, 2 - i);
            text += line;
        }
    }
    add("基準円歯厚", "s1", g1.s, "mm");
    add("基準円歯厚", "s2", g2.s, "mm");
    add("歯先歯厚", "sa1", g1.sa, "mm");
    add("歯先歯厚", "sa2", g2.sa, "mm");
    add("切下げ限界転位係数", "xmin1", g1.xmin, "");
    add("切下げ限界転位係数", "xmin2", g2.xmin, "");
    // The pair as it runs, its backlash, and the sizes that inspect each
    // gear as cut (thinned for the backlash).
    add("かみ合いピッチ円直径", "dw1", g1.dw, "mm");
    add("かみ合いピッチ円直径", "dw2", g2.dw, "mm");
    add("中心距離修正係数", "y", n.y, "");
    add("歯数比", "i", n.i, "");
    add("法線方向バックラッシ", "jn", n.jn, "mm");
    add("円周方向バックラッシ", "jt", n.jt, "mm");
    add("歯厚減少量（各歯車、かみ合いピッチ円上）", "Δsw", n.thinning, "mm");
    for (int i = 0; i < 2; ++i) {
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
    for (int i = 0; i < 2; ++i) {
        const GearNumbers& g = n.gear[i];
        char symbol[8];
        snprintf(symbol, sizeof symbol, "dp%d", i + 1);
        add("ピン径", symbol, g.dp, "mm");
        if (g.pinOnInvolute) {
            snprintf(symbol, sizeof symbol, "M%d", i + 1);
            add("オーバーピン寸法", symbol, g.M, "mm");
        } else {
            snprintf(line, sizeof line, "\nオーバーピン寸法 M%d: 測れません（ピンがインボリュートに当たりません）", i + 1);
            text += line;
        }
    }
    for (int i = 0; i < 2; ++i) {
        const GearNumbers& g = n.gear[i];
        if (g.undercut) {
            snprintf(line, sizeof line, "\n警告: 歯車%dにアンダーカットが生じます（転位係数が x%d < xmin%d）", i + 1,
                     i + 1, i + 1);
            text += line;
        }
        if (g.interference) {
            snprintf(line, sizeof line,
                     "\n警告: 歯車%dの歯元で干渉が生じます（相手の歯先がインボリュートの始まりより歯元側に当たります）",
                     i + 1);
            text += line;
        }
        if (g.thinNeck) {
            snprintf(line, sizeof line,
                     "\n警告: 歯車%dの歯はアンダーカットで切れかけています（くびれの歯厚 %.4f mm が 0.25m 未満）", i + 1,
                     g.neck);
            text += line;
        }
        if (g.thinTip) {
            snprintf(line, sizeof line, "\n警告: 歯車%dの歯先が薄すぎます（歯先歯厚が 0.25m 未満）", i + 1);
            text += line;
        }
    }
    if (n.cannotRun) {
        text += "\n警告: 有効かみ合い率が 1 未満です（連続してかみ合えません）";
    }
    if (n.lowContactRatio) {
        text += "\n警告: 有効かみ合い率が 1.1 未満です";
    }
    text += "\n";
    return text;
}
