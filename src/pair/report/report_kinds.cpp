// The report lines of an internal pair and of a rack pair: the lines of an
// external pair's report that mean something for the kind, the cutter of the
// ring or the rack's pitch, and the kind's own warnings.
#include <cmath>
#include <cstdio>

#include "pair/kinds/kinds.h"
#include "pair/report/report_lines.h"

PairReport internalReport(const PairNumbers& n) {
    Report r;
    const GearNumbers& g1 = n.gear[0];
    const GearNumbers& g2 = n.gear[1];
    r.note("歯車対の諸元（内歯車）", "The pair's numbers (internal gear)");
    r.centreAndDiameters(n);
    r.count("ピニオンカッタ歯数", "zc", n.zc, "teeth of the pinion-type cutter");
    r.contact(n, 2);
    r.wheelTeeth(n, 1);  // the ring, cut by a pinion-type cutter, has no rack-cut undercut limit: no xmin2
    r.backlash(n, Report::eachGearThinning);
    r.inspectionSizes(n, 1);
    r.pinSize(g2, 2, true);  // the ring's between pins
    r.gearWarnings(g1, 0);
    r.gearWarnings(g2, 1, true);
    if (n.noTipClearance) {
        const std::string over = said("%.4f", n.a + g1.da / 2.0 - g2.df / 2.0);
        r.warn("noTipClearance", 1, PairField::none,
               said("歯車1の歯先が内歯車の歯底に当たります（頂げきがありません: a + da1/2 が df2/2 を %s mm 越えます）",
                    over.c_str()),
               said("gear 1's tip meets the ring's root (no tip clearance: a + da1/2 exceeds df2/2 by %s mm)",
                    over.c_str()));
    }
    if (n.involuteInterference) {
        r.warn("involuteInterference", 0, PairField::none,
               "インボリュート干渉が生じます（内歯車の歯先が歯車1の基礎円の接点を越えます: z1/z2 < 1 - tan αa2 / tan αw）",
               "involute interference (the ring's tip reaches past gear 1's base tangent point: z1/z2 < 1 - tan αa2 / "
               "tan αw)");
    }
    if (n.trochoidInterference) {
        r.warn("trochoidInterference", 0, PairField::none,
               "トロコイド干渉が生じます（かみ合いを離れる歯車1の歯先が内歯車の歯先を削ります）",
               "trochoid interference (gear 1's tip, leaving mesh, cuts the ring's tip)");
    }
    if (n.tipCirclesOverlap) {
        r.warn("radialAssemblyImpossible", 0, PairField::none,
               "半径方向に組み込めません（トリミング: 歯車1の歯先円が内歯車の歯先円に届くため、軸方向に差し込むしかありません）",
               "no radial assembly (trimming: gear 1's tip circle reaches the ring's, so gear 1 can only be slid in "
               "axially)");
    } else if (n.radialAssemblyImpossible) {
        r.warn("radialAssemblyImpossible", 0, PairField::none,
               "半径方向に組み込めません（トリミング: 歯車1は軸方向に差し込むしかありません）",
               "no radial assembly (trimming: gear 1 can only be slid in axially)");
    }
    r.contactWarnings(n);
    return r.lines;
}

PairReport rackReport(const PairNumbers& n) {
    Report r;
    const GearNumbers& g1 = n.gear[0];
    r.note("歯車対の諸元（ラックとピニオン）", "The pair's numbers (rack and pinion)");
    r.add("ラック基準線までの距離", "a", n.a, "mm", "distance to the rack's datum line");
    r.add("かみ合い圧力角", "αw", n.alphaW / degToRad, "deg", "working pressure angle");
    r.add("基準円直径", "d1", g1.d, "mm", "reference diameter");
    r.add("基礎円直径", "db1", g1.db, "mm", "base diameter");
    r.add("歯先円直径", "da1", g1.da, "mm", "tip diameter");
    r.add("歯底円直径", "df1", g1.df, "mm", "root diameter");
    r.add("ラックのピッチ", "p", pi * g1.d / g1.z, "mm", "rack pitch");  // p = pi m
    r.contact(n, 1);
    r.referenceThickness(g1, 1);
    r.add("ラック基準線上の歯厚", "s2", n.gear[1].s, "mm", "tooth thickness on the rack's datum line");
    r.tipThickness(g1, 1);
    r.leastShift(g1, 1);
    r.backlash(n, Report::rackThinning);
    r.inspectionSizes(n, 1);
    r.gearWarnings(g1, 0);
    r.contactWarnings(n);
    return r.lines;
}

PairReport kindReport(const PairNumbers& n) {
    // In the order of PairKind.
    PairReport (*const lines[])(const PairNumbers&) = {externalReport, internalReport, rackReport, externalReport};
    const int index = static_cast<int>(n.kind);
    return lines[index >= 0 && index < 4 ? index : 0](n);
}
