// The lines every kind of pair's console report shares: one quantity a line,
// the effective contact ratio with its reason, each gear's warnings and the
// contact warnings. Private to report.cpp and report_kinds.cpp.
#pragma once

#include <cstdio>
#include <string>

#include "pair/gear_pair.h"
#include "pair/helical.h"
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
    // The base pitch of the report's pb line: a helical pair's in the normal
    // plane, pbn = pbt cos(beta_b).
    static double basePitch(const PairNumbers& n) { return n.helix.beta == 0.0 ? n.pb : n.helix.pbn; }
    // A helical pair's own lines (none for spur gears): the transverse
    // section's module, pressure angles and base pitch, the base helix
    // angle, the face and total contact ratios and the virtual teeth.
    void helical(const PairNumbers& n) {
        const HelixNumbers& h = n.helix;
        if (h.beta == 0.0) {
            return;
        }
        add("ねじれ角", "β", h.beta / degToRad, "deg");
        snprintf(line, sizeof line, "\nねじれ方向 歯車1: %s、%s: %s", h.hand[0] == Hand::right ? "右" : "左",
                 n.gear[1].z > 0 ? "歯車2" : "ラック", h.hand[1] == Hand::right ? "右" : "左");
        text += line;
        add("正面モジュール", "mt", h.mt, "mm");
        add("正面圧力角", "αt", h.alphaT / degToRad, "deg");
        add("基礎円筒ねじれ角", "βb", h.betaB / degToRad, "deg");
        add("正面法線ピッチ", "pbt", n.pb, "mm");
        add("正面かみ合い圧力角", "αwt", n.alphaW / degToRad, "deg");
        add("歯幅", "b", h.b, "mm");
        add("重なりかみ合い率", "εβ", h.epsilonBeta, "");
        add("全かみ合い率（有効正面かみ合い率 + 重なりかみ合い率）", "εγ", h.epsilonGamma, "");
        for (int i = 0; i < 2; ++i) {
            if (n.gear[i].z > 0) {
                char symbol[8];
                snprintf(symbol, sizeof symbol, "zn%d", i + 1);
                add("相当平歯車歯数", symbol, h.zn[i], "");
            }
        }
        text += "\n（はすば歯車: 円と歯厚、かみ合い長さ、輪郭は正面（軸直角断面）のもの。m, α, x, y, xmin は歯直角方式）";
    }
    // The contact warnings, as for external pairs.
    void contactWarnings(const PairNumbers& n) {
        for (int i = 0; i < 2; ++i) {
            if (n.helix.narrowForSpan[i]) {
                snprintf(line, sizeof line,
                         "\n警告: 歯幅が狭く歯車%dのまたぎ歯厚を測れません（b < W%d sin βb + %s mm: 測定子が歯面に載りません）",
                         i + 1, i + 1, fixed(spanJawAllowance(n.gear[i].W, n.helix.betaB), 4).c_str());
                text += line;
            }
        }
        const bool helical = n.helix.beta != 0.0;  // judged on eps_gamma (pair/helical.cpp)
        if (n.cannotRun) {
            warn(helical ? "全かみ合い率 εγ が 1 未満です（連続してかみ合えません）"
                         : "有効かみ合い率が 1 未満です（連続してかみ合えません）");
        }
        if (n.lowContactRatio) {
            warn(helical ? "全かみ合い率 εγ が 1.1 未満です" : "有効かみ合い率が 1.1 未満です");
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
