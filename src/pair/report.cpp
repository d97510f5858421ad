#include <cstdio>

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
