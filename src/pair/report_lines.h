// The lines every kind of pair's console report shares: one quantity a line,
// the effective contact ratio with its reason, each gear's warnings and the
// contact warnings. Private to report.cpp and report_kinds.cpp.
#pragma once

#include <cstdio>
#include <string>

#include "pair/gear_pair.h"
#include "pair/number_format.h"

struct Report {
    std::string text;
    char line[320];

    void add(const char* label, const char* symbol, double value, const char* unit) {
        snprintf(line, sizeof line, "\n%s %s = %s%s%s", label, symbol, fixed(value, 4).c_str(), unit[0] != '\0' ? " " : "",
                 unit);
        text += line;
    }
    // A pair of two gears (external or internal): the centre distance, the
    // working pressure angle and each gear's four diameters.
    void centreAndDiameters(const PairNumbers& n) {
        add("中心距離", "a", n.a, "mm");
        add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg");
        add("基準円直径", "d1", n.gear[0].d, "mm");
        add("基準円直径", "d2", n.gear[1].d, "mm");
        add("基礎円直径", "db1", n.gear[0].db, "mm");
        add("基礎円直径", "db2", n.gear[1].db, "mm");
        add("歯先円直径", "da1", n.gear[0].da, "mm");
        add("歯先円直径", "da2", n.gear[1].da, "mm");
        add("歯底円直径", "df1", n.gear[0].df, "mm");
        add("歯底円直径", "df2", n.gear[1].df, "mm");
    }
    // The effective contact ratio and, where it is shorter than the nominal,
    // why: the gear whose involute starts (ends, for the ring) where the
    // mate's tip cannot reach without running onto its fillet.
    void effectiveContact(const PairNumbers& n, int gears) {
        add("有効かみ合い率", "εα_eff", n.epsilonAlphaEff, "");
        for (int i = 0; i < gears; ++i) {
            if (n.gear[i].interference) {
                snprintf(line, sizeof line,
                         "\n（歯車%dのインボリュートは直径 %s mm から始まり、歯車%dの歯先はそれより歯元側まで届きます）",
                         i + 1, fixed(n.gear[i].dNf, 4).c_str(), 2 - i);
                text += line;
            }
        }
    }
    // The contact warnings, as for external pairs.
    void contactWarnings(const PairNumbers& n) {
        if (n.cannotRun) {
            warn("有効かみ合い率が 1 未満です（連続してかみ合えません）");
        }
        if (n.lowContactRatio) {
            warn("有効かみ合い率が 1.1 未満です");
        }
    }
    void warn(const char* warning) {
        text += "\n警告: ";
        text += warning;
    }
    // Undercut, interference below the involute, an all but severed neck and
    // a thin tip of gear i.
    void gearWarnings(const GearNumbers& g, int i) {
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
                     "\n警告: 歯車%dの歯はアンダーカットで切れかけています（くびれの歯厚 %s mm が 0.25m 未満）", i + 1,
                     fixed(g.neck, 4).c_str());
            text += line;
        }
        if (g.thinTip) {
            snprintf(line, sizeof line, "\n警告: 歯車%dの歯先が薄すぎます（歯先歯厚が 0.25m 未満）", i + 1);
            text += line;
        }
        if (g.pinGiven && !g.pinOnInvolute) {
            snprintf(line, sizeof line, "\n警告: 歯車%dはピン径 dp%d = %s mm ではオーバーピン寸法を測れません（%s）", i + 1,
                     i + 1, fixed(g.dp, 4).c_str(),
                     g.pinOffFlanks ? "ピンが dNf と da の間でインボリュートに当たりません"
                                    : "ピンが歯先円の外に出ず、測定面が歯先に当たります");
            text += line;
        }
    }
};
