// The lines every kind of pair's report shares, as data (pair/report.h):
// one quantity a line, the effective contact ratio with its reason, each
// gear's warnings and the contact warnings, each in Japanese and English.
// Private to the report's files (report.cpp, report_kinds.cpp,
// report_line_of_action.cpp, planetary.cpp).
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "pair/inputs/gear_pair.h"
#include "pair/inputs/helical.h"
#include "pair/solve/number_format.h"
#include "pair/report/report.h"

// printf into a string (the report's lines are short).
inline std::string said(const char* format, ...) __attribute__((format(printf, 1, 2)));
inline std::string said(const char* format, ...) {
    char text[400];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

struct Report {
    PairReport lines;

    // The report's unit words ("mm", "deg", "N", "MPa", "") as units.
    static Unit unitNamed(const char* unit) {
        for (Unit u : {Unit::mm, Unit::degree, Unit::newtonMetre, Unit::gigapascal, Unit::newton, Unit::megapascal}) {
            if (strcmp(unitWords(u).report, unit) == 0) {
                return u;
            }
        }
        return Unit::none;
    }
    // The gear a symbol names: its one digit 1 to 3 ("d1", "ζ2_root",
    // "zn1"), or a set's member letter at its end ("xS" 1, "daP" 2, "xR" 3);
    // 0 for the pair's ("a", "x1 + x2").
    static int gearOf(const std::string& symbol) {
        int gear = 0;
        int digits = 0;
        for (char c : symbol) {
            if (c >= '0' && c <= '9') {
                ++digits;
                gear = c >= '1' && c <= '3' ? c - '0' : 0;
            }
        }
        if (digits == 1) {
            return gear;
        }
        if (digits == 0 && symbol.size() > 1) {
            const char last = symbol.back();
            return last == 'S' ? 1 : last == 'P' ? 2 : last == 'R' ? 3 : 0;
        }
        return 0;
    }
    // A quantity: "<label> <symbol> = <value> <unit>"; its English name
    // `english` (the Japanese label when not given).
    void add(const char* label, const char* symbol, double value, const char* unit, const char* english = nullptr) {
        ReportLine line;
        line.kind = ReportLineKind::quantity;
        line.symbol = symbol;
        line.value = value;
        line.unit = unitNamed(unit);
        line.ja = label;
        line.en = english != nullptr ? english : label;
        line.gear = gearOf(line.symbol);
        lines.push_back(line);
    }
    void add(const std::string& label, const std::string& symbol, double value, const char* unit,
             const std::string& english) {
        add(label.c_str(), symbol.c_str(), value, unit, english.c_str());
    }
    // A whole number: "<label> <symbol> = <value>".
    void count(const char* label, const std::string& symbol, int value, const char* english) {
        ReportLine line;
        line.kind = ReportLineKind::count;
        line.symbol = symbol;
        line.value = value;
        line.ja = label;
        line.en = english;
        line.gear = gearOf(symbol);
        lines.push_back(line);
    }
    // A heading or a note, whole in each language ("" and "": a blank line).
    void note(const std::string& ja, const std::string& en, int gear = 0) {
        ReportLine line;
        line.ja = ja;
        line.en = en;
        line.gear = gear;
        lines.push_back(line);
    }
    // A warning: its identifier, the gear and the input it concerns.
    void warn(const char* id, int gear, PairField field, const std::string& ja, const std::string& en) {
        ReportLine line;
        line.kind = ReportLineKind::warning;
        line.ja = ja;
        line.en = en;
        line.gear = gear;
        line.id = id;
        line.field = field;
        lines.push_back(line);
    }
    void warn(const char* ja, const char* en = nullptr) { warn("", 0, PairField::none, ja, en != nullptr ? en : ja); }
    void append(const PairReport& more) { lines.insert(lines.end(), more.begin(), more.end()); }

    // The span W and the size over pins (balls) with the pin, of gears 1 to
    // `gears` (report.cpp): every external gear's, a rack's or a ring's pinion's too.
    void inspectionSizes(const PairNumbers& n, int gears);
    // Gear k's pin and its size over pins (between pins for a ring), or why
    // there is none (report.cpp).
    void pinSize(const GearNumbers& g, int k, bool between);
    // A pair of two gears (external or internal): the centre distance, the
    // working pressure angle and each gear's four diameters.
    void centreAndDiameters(const PairNumbers& n) {
        add("中心距離", "a", n.a, "mm", "centre distance");
        add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg", "working pressure angle");
        add("基準円直径", "d1", n.gear[0].d, "mm", "reference diameter");
        add("基準円直径", "d2", n.gear[1].d, "mm", "reference diameter");
        add("基礎円直径", "db1", n.gear[0].db, "mm", "base diameter");
        add("基礎円直径", "db2", n.gear[1].db, "mm", "base diameter");
        add("歯先円直径", "da1", n.gear[0].da, "mm", "tip diameter");
        add("歯先円直径", "da2", n.gear[1].da, "mm", "tip diameter");
        add("歯底円直径", "df1", n.gear[0].df, "mm", "root diameter");
        add("歯底円直径", "df2", n.gear[1].df, "mm", "root diameter");
    }
    // The backlash of the pair (normal and circumferential) and the thinning
    // of the teeth that gives it; `thinning` names where it is measured.
    struct ThinningWords {
        const char* ja;
        const char* symbol;
        const char* en;
    };
    static constexpr ThinningWords eachGearThinning{"歯厚減少量（各歯車、かみ合いピッチ円上）", "Δsw",
                                                    "tooth thinning (each gear, on its working pitch circle)"};
    static constexpr ThinningWords rackThinning{"歯厚減少量（ピニオンとラック、ピニオンの基準円上）", "Δs",
                                                "tooth thinning (pinion and rack, on the pinion's reference circle)"};
    void backlash(const PairNumbers& n, const ThinningWords& thinning) {
        add("法線方向バックラッシ", "jn", n.jn, "mm", "normal backlash");
        add("円周方向バックラッシ", "jt", n.jt, "mm", "circumferential backlash");
        add(thinning.ja, thinning.symbol, n.thinning, "mm", thinning.en);
    }
    // The effective contact ratio and, where it is shorter than the nominal,
    // why: the gear whose involute starts (ends, for the ring) where the
    // mate's tip cannot reach without running onto its fillet.
    void effectiveContact(const PairNumbers& n, int gears) {
        add("有効かみ合い率", "εα_eff", n.epsilonAlphaEff, "", "effective transverse contact ratio");
        for (int i = 0; i < gears; ++i) {
            if (n.gear[i].interference) {
                const std::string d = fixed(n.gear[i].dNf, 4);
                note(said("（歯車%dのインボリュートは直径 %s mm から始まり、歯車%dの歯先はそれより歯元側まで届きます）", i + 1,
                          d.c_str(), 2 - i),
                     said("(gear %d's involute begins at the diameter %s mm, and gear %d's tip reaches below it)", i + 1,
                          d.c_str(), 2 - i),
                     i + 1);
                lines.back().id = "involuteStart";
            }
        }
    }
    // The pair's contact, as every two-gear mesh reports it: the base pitch,
    // the length of the path of contact, the transverse and the effective
    // contact ratio (with the reasons of gears 1 to `gears`) and a helical
    // pair's own lines.
    void contact(const PairNumbers& n, int gears) {
        add("法線ピッチ", "pb", basePitch(n), "mm", "base pitch");
        add("かみ合い長さ", "ga", n.ga, "mm", "length of the path of contact");
        add("正面かみ合い率", "εα", n.epsilonAlpha, "", "transverse contact ratio");
        effectiveContact(n, gears);
        helical(n);
    }
    // Gear k's tooth thickness on its reference circle sk, or why it has
    // none (a ring's reference circle may lie inside its tip circle).
    void referenceThickness(const GearNumbers& g, int k) {
        if (g.noReferenceTooth) {
            note(said("基準円歯厚 s%d: ありません（基準円が歯先円より内側にあり、歯に掛かりません）", k),
                 said("tooth thickness on the reference circle s%d: none (the reference circle lies inside the tip "
                      "circle, clear of the teeth)",
                      k),
                 k);
            return;
        }
        add("基準円歯厚", said("s%d", k), g.s, "mm", "tooth thickness on the reference circle");
    }
    void tipThickness(const GearNumbers& g, int k) { add("歯先歯厚", said("sa%d", k), g.sa, "mm", "tip thickness"); }
    void leastShift(const GearNumbers& g, int k) {
        add("切下げ限界転位係数", said("xmin%d", k), g.xmin, "", "least shift without undercut");
    }
    // A pair of two wheels (external or internal): each gear's tooth
    // thicknesses, the least shift of gears 1 to `leastShifts` (a ring has
    // none) and each gear's working pitch diameter.
    void wheelTeeth(const PairNumbers& n, int leastShifts) {
        for (int k = 1; k <= 2; ++k) {
            referenceThickness(n.gear[k - 1], k);
        }
        for (int k = 1; k <= 2; ++k) {
            tipThickness(n.gear[k - 1], k);
        }
        for (int k = 1; k <= leastShifts; ++k) {
            leastShift(n.gear[k - 1], k);
        }
        for (int k = 1; k <= 2; ++k) {
            add("かみ合いピッチ円直径", said("dw%d", k), n.gear[k - 1].dw, "mm", "working pitch diameter");
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
        add("ねじれ角", "β", h.beta / degToRad, "deg", "helix angle");
        const bool rack = n.gear[1].z <= 0;
        const bool right1 = h.hand[0] == Hand::right;
        const bool right2 = h.hand[1] == Hand::right;
        note(said("ねじれ方向 歯車1: %s、%s: %s", right1 ? "右" : "左", rack ? "ラック" : "歯車2", right2 ? "右" : "左"),
             said("hand gear 1: %s, %s: %s", right1 ? "right" : "left", rack ? "rack" : "gear 2",
                  right2 ? "right" : "left"));
        add("正面モジュール", "mt", h.mt, "mm", "transverse module");
        add("正面圧力角", "αt", h.alphaT / degToRad, "deg", "transverse pressure angle");
        add("基礎円筒ねじれ角", "βb", h.betaB / degToRad, "deg", "base helix angle");
        add("正面法線ピッチ", "pbt", n.pb, "mm", "transverse base pitch");
        add("正面かみ合い圧力角", "αwt", n.alphaW / degToRad, "deg", "transverse working pressure angle");
        add("歯幅", "b", h.b, "mm", "face width");
        add("重なりかみ合い率", "εβ", h.epsilonBeta, "", "face contact ratio");
        add("全かみ合い率（有効正面かみ合い率 + 重なりかみ合い率）", "εγ", h.epsilonGamma, "",
            "total contact ratio (effective transverse + face contact ratio)");
        for (int i = 0; i < 2; ++i) {
            if (n.gear[i].z > 0) {
                add("相当平歯車歯数", said("zn%d", i + 1), h.zn[i], "", "virtual number of teeth");
            }
        }
        note("（はすば歯車: 円と歯厚、かみ合い長さ、輪郭は正面（軸直角断面）のもの。m, α, x, y, xmin は歯直角方式）",
             "(helical gears: the circles, tooth thicknesses, path of contact and outlines are those of the transverse "
             "section; m, α, x, y and xmin those of the normal section)");
    }
    // The contact warnings, as for external pairs.
    void contactWarnings(const PairNumbers& n) {
        for (int i = 0; i < 2; ++i) {
            if (n.helix.narrowForSpan[i]) {
                warn("narrowForSpan", i + 1, PairField::none,
                     said("歯幅が狭く歯車%dのまたぎ歯厚を測れません（b < W%d sin βb + %s mm: 測定子が歯面に載りません）", i + 1,
                          i + 1, fixed(spanJawAllowance(n.gear[i].W, n.helix.betaB), 4).c_str()),
                     said("the face is too narrow to measure gear %d's span (b < W%d sin βb + %s mm: the jaws do not "
                          "rest on the flanks)",
                          i + 1, i + 1, fixed(spanJawAllowance(n.gear[i].W, n.helix.betaB), 4).c_str()));
            }
        }
        const bool helical = n.helix.beta != 0.0;  // judged on eps_gamma (pair/inputs/helical.cpp)
        if (n.cannotRun) {
            warn("cannotRun", 0, PairField::none,
                 helical ? "全かみ合い率 εγ が 1 未満です（連続してかみ合えません）"
                         : "有効かみ合い率が 1 未満です（連続してかみ合えません）",
                 helical ? "the total contact ratio εγ is below 1 (the pair cannot run continuously)"
                         : "the effective contact ratio is below 1 (the pair cannot run continuously)");
        }
        if (n.lowContactRatio) {
            warn("lowContactRatio", 0, PairField::none, helical ? "全かみ合い率 εγ が 1.1 未満です" : "有効かみ合い率が 1.1 未満です",
                 helical ? "the total contact ratio εγ is below 1.1" : "the effective contact ratio is below 1.1");
        }
    }
    // Undercut, interference below the involute, an all but severed neck and
    // a thin tip of gear i, and a given pin that gives no size (over pins;
    // between pins for a ring).
    void gearWarnings(const GearNumbers& g, int i, bool between = false) {
        const PairField shift = i == 0 ? PairField::x1 : PairField::x2;
        const int k = i + 1;
        if (g.undercut) {
            warn("undercut", k, shift, said("歯車%dにアンダーカットが生じます（転位係数が x%d < xmin%d）", k, k, k),
                 said("gear %d is undercut (its shift x%d < xmin%d)", k, k, k));
        }
        if (g.interference) {
            warn("interference", k, shift,
                 said("歯車%dの歯元で干渉が生じます（相手の歯先がインボリュートの始まりより歯元側に当たります）", k),
                 said("interference at gear %d's root (the mate's tip meets it below the start of its involute)", k));
        }
        if (g.thinNeck) {
            const std::string neck = fixed(g.neck, 4);
            warn("thinNeck", k, shift,
                 said("歯車%dの歯はアンダーカットで切れかけています（くびれの歯厚 %s mm が 0.25m 未満）", k, neck.c_str()),
                 said("the undercut all but severs gear %d's teeth (the neck's thickness %s mm is below 0.25m)", k,
                      neck.c_str()));
        }
        if (g.thinTip) {
            warn("thinTip", k, shift, said("歯車%dの歯先が薄すぎます（歯先歯厚が 0.25m 未満）", k),
                 said("gear %d's tip is too thin (its tip thickness is below 0.25m)", k));
        }
        if (g.pinGiven && !g.pinOnInvolute) {
            const std::string dp = fixed(g.dp, 4);
            const std::string ja = g.pinOffFlanks ? std::string("ピンが dNf と da の間でインボリュートに当たりません")
                                                  : said("ピンが歯先円の%sに出ず、測定面が歯先に当たります",
                                                         between ? "内側" : "外");
            const std::string en = g.pinOffFlanks ? std::string("the pin does not touch the involute between dNf and da")
                                                  : said("the pin does not stand %s the tip circle: the anvils meet the tips",
                                                         between ? "in from" : "out of");
            warn("pinOff", k, PairField::none,
                 said("歯車%dはピン径 dp%d = %s mm では%s寸法を測れません（%s）", k, k, dp.c_str(),
                      between ? "ビトウィーンピン" : "オーバーピン", ja.c_str()),
                 said("gear %d's size %s pins cannot be measured with pins of dp%d = %s mm (%s)", k,
                      between ? "between" : "over", k, dp.c_str(), en.c_str()));
        }
    }
};

// The lines about bending at the tooth root (pair/mesh/root_bending.h) that
// close a mesh's report (report_root_bending.cpp).
void rootBendingLines(Report& r, const PairInput& input, const PairNumbers& numbers);
