// An external pair's report lines, and the report's console text in either
// language (pair/report.h, pair/exports.h). Not here: the other kinds' own
// lines (report_kinds.cpp, planetary.cpp), the lines along the line of
// action (report_line_of_action.cpp).
#include <cstdio>
#include <string>

#include "pair/exports/exports.h"
#include "pair/kinds/kinds.h"
#include "pair/report/report_lines.h"

std::string reportValue(const ReportLine& line) {
    return line.kind == ReportLineKind::count ? std::to_string(static_cast<long>(line.value)) : fixed(line.value, 4);
}

std::string formatReport(const PairReport& report, Language language) {
    std::string text;
    const bool ja = language == Language::ja;
    for (const ReportLine& line : report) {
        const std::string& words = ja ? line.ja : line.en;
        text += "\n";
        switch (line.kind) {
        case ReportLineKind::quantity:
        case ReportLineKind::count: {
            const char* unit = unitWords(line.unit).report;
            text += words + " " + line.symbol + " = " + reportValue(line) + (unit[0] != '\0' ? " " : "") + unit;
            break;
        }
        case ReportLineKind::text:
            text += words;
            break;
        case ReportLineKind::warning:
            text += (ja ? "警告: " : "Warning: ") + words;
            break;
        }
    }
    return text + "\n";
}

std::string formatMeshReport(const PairInput& input, const PairNumbers& numbers) {
    return formatReport(meshReport(input, numbers), Language::ja);
}

PairReport externalReport(const PairNumbers& n) {
    Report r;
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    r.note("歯車対の諸元", "The pair's numbers");
    r.centreAndDiameters(n);
    r.contact(n, 2);
    // The teeth, the pair as it runs, its backlash, and the sizes that
    // inspect each gear as cut (thinned for the backlash).
    r.wheelTeeth(n, 2);
    r.add("中心距離修正係数", "y", n.y, "", "centre distance modification coefficient");
    r.add("歯数比", "i", n.i, "", "gear ratio");
    r.backlash(n, Report::eachGearThinning);
    r.inspectionSizes(n, 2);
    r.gearWarnings(g1, 0);
    r.gearWarnings(g2, 1);
    r.contactWarnings(n);
    return r.lines;
}

void Report::inspectionSizes(const PairNumbers& n, int gears) {
    for (int i = 0; i < gears; ++i) {
        const GearNumbers& g = n.gear[i];
        if (g.k > 0) {
            count("またぎ歯数", said("k%d", i + 1), g.k, "teeth spanned");
            add("またぎ歯厚", said("W%d", i + 1), g.W, "mm", "span measurement");
        } else {
            note(said("またぎ歯厚 W%d: 測れません（どのまたぎ歯数でも測定面がインボリュートに当たりません）", i + 1),
                   said("span measurement W%d: none (over no number of teeth do the jaws touch the involute)", i + 1),
                   i + 1);
        }
    }
    for (int i = 0; i < gears; ++i) {
        pinSize(n.gear[i], i + 1, false);
    }
}

void Report::pinSize(const GearNumbers& g, int k, bool between) {
    // Over pins outside an external gear, between pins inside a ring: the
    // pin must stand out of (in from) the tip circle.
    const char* name = between ? "ビトウィーンピン寸法" : "オーバーピン寸法";
    const char* english = between ? "size between pins" : "size over pins";
    const char* side = between ? "内側" : "外";
    const char* sideEn = between ? "in from" : "out of";
    if (g.dp > 0.0) {
        add("ピン径", said("dp%d", k), g.dp, "mm", "pin diameter");
    }
    if (g.pinOnInvolute) {
        add(name, said("M%d", k), g.M, "mm", english);
        return;
    }
    const std::string ja = !g.pinGiven      ? said("インボリュートに当たって歯先円の%sに出るピンがありません", side)
                           : g.pinOffFlanks ? std::string("ピンがインボリュートに当たりません")
                                            : said("ピンが歯先円の%sに出ません", side);
    const std::string en = !g.pinGiven      ? said("no pin touches the involute and stands %s the tip circle", sideEn)
                           : g.pinOffFlanks ? std::string("the pin does not touch the involute")
                                            : said("the pin does not stand %s the tip circle", sideEn);
    note(said("%s M%d: 測れません（%s）", name, k, ja.c_str()), said("%s M%d: none (%s)", english, k, en.c_str()), k);
}
