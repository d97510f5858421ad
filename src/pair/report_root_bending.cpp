// The report's lines about bending at the tooth root, for every kind of
// pair: each gear's critical section, load, form and stress correction
// factors and Lewis's form factor, the helix factor and, with a torque, the
// nominal root stress and where along the path it is largest. The numbers
// come from pair/root_bending.h; only the wording is here.
#include <cmath>
#include <cstdio>

#include "pair/exports.h"
#include "pair/helical.h"
#include "pair/report_lines.h"
#include "pair/root_bending.h"

namespace {

void addOf(Report& r, const char* label, const char* symbol, int gear, double value, const char* unit) {
    char name[24];
    snprintf(name, sizeof name, "%s%d", symbol, gear + 1);
    r.add(label, name, value, unit);
}

}  // namespace

std::string formatRootBendingReport(const PairInput& in, const PairNumbers& n) {
    const RootBending b = rootBending(in, n);
    Report r;
    r.text += "\n\n歯元の曲げ（ISO 6336-3 方法B: 歯形中心線と 30° をなす接線が歯元すみ肉に接する危険断面、"
              "荷重は一枚かみ合いの最高点。値はいずれも切った歯形から）";
    if (isHelical(in)) {
        r.text += "\n（はすば歯車: 歯直角断面の相当平歯車 zn の歯形で）";
    }
    for (int i = 0; i < 2; ++i) {
        const ToothBeam& t = b.gear[i];
        if (!t.present) {
            continue;
        }
        addOf(r, "危険断面の歯厚", "sFn", i, t.sFn, "mm");
        addOf(r, "危険断面の歯元すみ肉の曲率半径", "ρF", i, t.rhoF, "mm");
        addOf(r, "荷重点の直径（一枚かみ合いの最高点）", "den", i, t.den, "mm");
        addOf(r, "荷重の作用角", "αFen", i, t.alphaFen / degToRad, "deg");
        addOf(r, "曲げの腕の長さ", "hFe", i, t.hFe, "mm");
        addOf(r, "歯形係数", "YF", i, t.YF, "");
        addOf(r, "応力修正係数", "YS", i, t.YS, "");
        addOf(r, "ルイスの歯形係数（歯先に荷重、内接する放物線）", "Y", i, t.lewisY, "");
        if (t.internal) {
            snprintf(r.line, sizeof r.line,
                     "\n（歯車%dは内歯車: 接線は 60°。ピニオンカッタで切った歯形から求めた値で、"
                     "規格の式が前提とするラックで切った歯元とは異なります%s）",
                     i + 1, t.transverse ? "。はすば歯車の内歯車は正面断面で" : "");
            r.text += r.line;
        } else if (t.fromOutline) {
            snprintf(r.line, sizeof r.line,
                     "\n（歯車%dの歯元は切下げで削られています: 規格の式の前提とは異なり、値は切った歯形から求めたもの）",
                     i + 1);
            r.text += r.line;
        }
    }
    r.add("ねじれ角係数", "Yβ", b.Ybeta, "");
    if (b.loaded) {
        snprintf(r.line, sizeof r.line, "\n歯元の曲げ応力（T = %s N·m, b = %s mm, σF0 = Ft / (b mn) · YF · YS · Yβ）",
                 fixed(in.torque, 4).c_str(), fixed(b.b, 4).c_str());
        r.text += r.line;
        r.text += "\n（教材用の値です。使用係数・動荷重係数・荷重分布係数・寿命係数を含まず、強度の評価ではありません）";
        r.add("円周力（基準円上）", "Ft", b.Ft, "N");
        for (int i = 0; i < 2; ++i) {
            if (!b.gear[i].present) {
                continue;
            }
            addOf(r, "呼び歯元応力（一枚かみ合いの最高点に全荷重）", "σF0_", i, b.sigmaF0[i], "MPa");
            addOf(r, "かみ合い線に沿った最大の歯元応力（かみ合う組で等分）", "σF_max", i, b.sigmaFMax[i], "MPa");
            snprintf(r.line, sizeof r.line, "\n（σF_max%d の位置: T1 から s = %s mm、歯車%dの直径 %s mm）", i + 1,
                     fixed(b.sMax[i], 4).c_str(), i + 1, fixed(b.dMax[i], 4).c_str());
            r.text += r.line;
        }
    }
    return r.text;
}
