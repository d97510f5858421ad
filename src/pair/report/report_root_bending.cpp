// The report's lines about bending at the tooth root, for every kind of
// pair: each gear's critical section, load, form and stress correction
// factors and Lewis's form factor, the helix factor and, with a torque, the
// nominal root stress and where along the path it is largest. The numbers
// come from pair/mesh/root_bending.h; only the words are here.
#include <string>

#include "pair/inputs/helical.h"
#include "pair/mesh/root_bending.h"
#include "pair/report/report_lines.h"

namespace {

void addOf(Report& r, const char* ja, const char* symbol, int gear, double value, const char* unit, const char* en) {
    r.add(ja, said("%s%d", symbol, gear + 1), value, unit, en);
}

}  // namespace

void rootBendingLines(Report& r, const PairInput& in, const PairNumbers& n) {
    const RootBending b = rootBending(in, n);
    r.note("", "");
    r.note("歯元の曲げ（ISO 6336-3 方法B: 歯形中心線と 30° をなす接線が歯元すみ肉に接する危険断面、"
           "荷重は一枚かみ合いの最高点。値はいずれも切った歯形から）",
           "Bending at the tooth root (ISO 6336-3 method B: the critical section where tangents at 30° to the "
           "tooth's centre line touch the fillets, the load at the outer point of single-tooth contact; every value "
           "from the cut outline)");
    if (isHelical(in)) {
        r.note("（はすば歯車: 歯直角断面の相当平歯車 zn の歯形で）",
               "(helical gears: on the outline of the virtual spur gear zn in the normal section)");
    }
    for (int i = 0; i < 2; ++i) {
        const ToothBeam& t = b.gear[i];
        if (!t.present) {
            continue;
        }
        addOf(r, "危険断面の歯厚", "sFn", i, t.sFn, "mm", "chord of the critical section");
        addOf(r, "危険断面の歯元すみ肉の曲率半径", "ρF", i, t.rhoF, "mm", "radius of the fillet at the critical section");
        if (t.hasLoad) {
            addOf(r, "荷重点の直径（一枚かみ合いの最高点）", "den", i, t.den, "mm",
                  "diameter of the load (the outer point of single-tooth contact)");
            addOf(r, "荷重の作用角", "αFen", i, t.alphaFen / degToRad, "deg", "angle of the load");
            addOf(r, "曲げの腕の長さ", "hFe", i, t.hFe, "mm", "bending arm");
            addOf(r, "歯形係数", "YF", i, t.YF, "", "form factor");
            addOf(r, "応力修正係数", "YS", i, t.YS, "", "stress correction factor");
            if (ysExtrapolated(t)) {
                const std::string qs = fixed(t.qs, 2);
                r.warn("ysExtrapolated", i + 1, PairField::none,
                       said("歯車%dの切欠きパラメータ qs = sFn / (2 ρF) = %s は、ISO 6336-3 の YS の式が成り立つ "
                            "1 ≤ qs < 8 の外です: YS%d は式を外挿した値です",
                            i + 1, qs.c_str(), i + 1),
                       said("gear %d's notch parameter qs = sFn / (2 ρF) = %s lies outside 1 ≤ qs < 8, where ISO "
                            "6336-3's relation for YS holds: YS%d is that relation extrapolated",
                            i + 1, qs.c_str(), i + 1));
            }
        } else if (n.gaEff > 0.0) {
            r.note(said("（歯車%dの荷重の作用線は危険断面より歯元側で歯形中心線と交わります: 曲げの腕がなく、YF と YS "
                        "はありません）",
                        i + 1),
                   said("(gear %d's load line crosses the tooth's centre line below the critical section: no bending "
                        "arm, no YF or YS)",
                        i + 1),
                   i + 1);
        } else {
            r.note(said("（歯車%dに荷重点はありません: 有効なかみ合いがないため、YF と YS はありません）", i + 1),
                   said("(gear %d has no load point: without an effective contact there is no YF or YS)", i + 1),
                   i + 1);
        }
        addOf(r, "ルイスの歯形係数（歯先に荷重、内接する放物線）", "Y", i, t.lewisY, "",
              "Lewis's form factor (the load at the tip, the inscribed parabola)");
        if (t.internal) {
            r.note(said("（歯車%dは内歯車: 接線は 60°。ピニオンカッタで切った歯形から求めた値で、"
                        "規格の式が前提とするラックで切った歯元とは異なります%s）",
                        i + 1, t.transverse ? "。はすば歯車の内歯車は正面断面で" : ""),
                   said("(gear %d is a ring: tangents at 60°; the values come from the outline its pinion-type cutter "
                        "left, not the rack-cut root the standard's formulas assume%s)",
                        i + 1, t.transverse ? "; a helical ring in its transverse section" : ""),
                   i + 1);
        } else if (t.fromOutline) {
            r.note(said("（歯車%dの歯元は切下げで削られています: 規格の式の前提とは異なり、値は切った歯形から求めたもの）",
                        i + 1),
                   said("(gear %d is undercut: unlike the standard's formulas assume, the values come from the cut "
                        "outline)",
                        i + 1),
                   i + 1);
        }
    }
    r.add("ねじれ角係数", "Yβ", b.Ybeta, "", "helix factor");
    if (b.loaded) {
        const std::string T = fixed(in.torque, 4);
        const std::string w = fixed(b.b, 4);
        r.note(said("歯元の曲げ応力（T = %s N·m, b = %s mm, σF0 = Ft / (b mn) · YF · YS · Yβ）", T.c_str(), w.c_str()),
               said("Root bending stress (T = %s N·m, b = %s mm, σF0 = Ft / (b mn) · YF · YS · Yβ)", T.c_str(),
                    w.c_str()));
        r.note("（教材用の値です。使用係数・動荷重係数・荷重分布係数・寿命係数を含まず、強度の評価ではありません）",
               "(a value for teaching, not a rating: no application, dynamic, load distribution or life factors)");
        r.add("円周力（基準円上）", "Ft", b.Ft, "N", "tangential load on the reference circle");
        for (int i = 0; i < 2; ++i) {
            if (!b.gear[i].hasLoad) {
                continue;
            }
            addOf(r, "呼び歯元応力（一枚かみ合いの最高点に全荷重）", "σF0_", i, b.sigmaF0[i], "MPa",
                  "nominal root stress (the whole load at the outer point of single-tooth contact)");
            addOf(r, "かみ合い線に沿った最大の歯元応力（かみ合う組で等分）", "σF_max", i, b.sigmaFMax[i], "MPa",
                  "greatest root stress along the line of action (the load shared by the pairs in contact)");
            const std::string s = fixed(b.sMax[i], 4);
            const std::string d = fixed(b.dMax[i], 4);
            r.note(said("（σF_max%d の位置: T1 から s = %s mm、歯車%dの直径 %s mm）", i + 1, s.c_str(), i + 1, d.c_str()),
                   said("(where σF_max%d is: s = %s mm from T1, gear %d's diameter %s mm)", i + 1, s.c_str(), i + 1,
                        d.c_str()),
                   i + 1);
        }
    }
}
