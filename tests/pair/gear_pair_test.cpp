// The gear pair's numbers against published worked examples, and its outlines
// against the true involute, the reference-circle tooth thickness, the
// undercut the rack cuts and the pair placed in mesh; a twisted solid of a
// gear (the untwisted solids of every kind: exports_test.py).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "pair/cutting/cutting.h"
#include "pair/exports/exports.h"
#include "pair/inputs/gear_pair.h"
#include "pair/inputs/helical.h"
#include "pair/inputs/inputs.h"
#include "pair/kinds/kinds.h"
#include "pair/mesh/line_of_action.h"
#include "pair/solve/number_format.h"
#include "pair/outline/outline.h"
#include "pair/exports/solid.h"
#include "pair/sets/planetary.h"
#include "pair/pair_kind.h"

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;

PairInput makePair(int z1, int z2, double m, double alphaDeg, double x1, double x2) {
    PairInput in;
    in.z1 = z1;
    in.z2 = z2;
    in.m = m;
    in.alphaDeg = alphaDeg;
    in.x1 = x1;
    in.x2 = x2;
    return in;
}

// Published values are rounded: the computed value must round to them.
void expectRoundsTo(double value, double published, int decimals, const char* what) {
    const double half = 0.5 * std::pow(10.0, -decimals);
    EXPECT_NEAR(value, published, half) << what;
}

TEST(PairNumbers, PublishedExamples) {
    expectRoundsTo(involuteFunction(20.0 * degree), 0.014904, 6, "inv 20 deg");
    for (double angle : {10.0, 20.0, 26.0886, 40.0}) {
        EXPECT_NEAR(inverseInvolute(involuteFunction(angle * degree)), angle * degree, 1e-12) << angle;
    }

    // Least shift without undercut, 10 teeth at 20 degrees.
    expectRoundsTo(pairNumbers(makePair(10, 30, 1.0, 20.0, 0.0, 0.0)).gear[0].xmin, 0.415, 3, "xmin z = 10");

    // Standard pair 20 and 40 teeth: the contact ratio does not depend on m.
    for (double m : {1.0, 2.5, 100.0}) {
        const PairNumbers n = pairNumbers(makePair(20, 40, m, 20.0, 0.0, 0.0));
        expectRoundsTo(n.epsilonAlpha, 1.635, 3, "epsilon alpha 20/40");
        EXPECT_NEAR(n.alphaW, 20.0 * degree, 1e-12);
        EXPECT_NEAR(n.a, 30.0 * m, 1e-9 * m);
        EXPECT_FALSE(n.gear[0].undercut || n.gear[1].undercut || n.lowContactRatio);
    }

    // Profile-shifted pair m = 3, z = 12 and 24, x = 0.6 and 0.36.
    const PairNumbers n = pairNumbers(makePair(12, 24, 3.0, 20.0, 0.6, 0.36));
    expectRoundsTo(n.alphaW / degree, 26.0886, 4, "alpha w");
    expectRoundsTo(n.gear[0].da, 44.840, 3, "da1");
    expectRoundsTo(n.gear[1].da, 79.400, 3, "da2");
    expectRoundsTo(n.epsilonAlpha, 1.202, 3, "epsilon alpha shifted");
    // The relations that tie the rest together.
    EXPECT_NEAR(involuteFunction(n.alphaW), n.invAlpha + 2.0 * std::tan(n.alpha) * 0.96 / 36.0, 1e-15);
    EXPECT_NEAR(n.a, 54.0 * std::cos(n.alpha) / std::cos(n.alphaW), 1e-12);
    EXPECT_NEAR(n.gear[0].df, 36.0 - 2.0 * 3.0 * (1.25 - 0.6), 1e-12);
    EXPECT_NEAR(n.gear[1].s, 3.0 * (M_PI / 2.0 + 2.0 * 0.36 * std::tan(20.0 * degree)), 1e-12);
    // Bottom clearance: gear 1's tip stands 0.25 m off gear 2's root circle.
    EXPECT_NEAR(n.a - n.gear[0].da / 2.0 - n.gear[1].df / 2.0, 0.25 * 3.0, 1e-9);
    EXPECT_NEAR(n.a - n.gear[1].da / 2.0 - n.gear[0].df / 2.0, 0.25 * 3.0, 1e-9);
}

TEST(PairNumbers, WarningsAndRefusals) {
    // 10 teeth against 30 unshifted: gear 1 is undercut, and gear 2's tip
    // reaches past gear 1's tangent point on the line of action.
    PairNumbers n = pairNumbers(makePair(10, 30, 1.0, 20.0, 0.0, 0.0));
    EXPECT_TRUE(n.gear[0].undercut);
    EXPECT_TRUE(n.gear[0].interference);
    EXPECT_FALSE(n.gear[1].undercut);
    EXPECT_FALSE(n.gear[1].interference);
    // Shifted out of undercut (x1 = 0.5 > 0.415), the interference goes too.
    n = pairNumbers(makePair(10, 30, 1.0, 20.0, 0.5, 0.0));
    EXPECT_FALSE(n.gear[0].undercut || n.gear[0].interference);
    // Gear 2 shifted by 1.5: the rack's straight flank ended 0.5 m outside
    // its reference circle, and gear 1's tip, though short of the tangent
    // point, meets gear 2's fillet (the mesh test below sees the overlap).
    n = pairNumbers(makePair(30, 20, 1.0, 20.0, 0.0, 1.5));
    EXPECT_TRUE(n.gear[1].interference);
    EXPECT_FALSE(n.gear[0].interference || n.gear[1].undercut);
    EXPECT_GT(n.a * std::sin(n.alphaW) - std::sqrt(std::pow(n.gear[0].da / 2.0, 2) - std::pow(n.gear[0].db / 2.0, 2)),
              0.0)
        << "gear 1's tip runs past gear 2's tangent point after all";

    EXPECT_EQ(checkPair(makePair(10, 30, 1.0, 20.0, 0.0, 0.0)).field, PairField::none);
    struct Refused {
        PairInput input;
        PairField field;
    };
    const Refused refused[] = {
        {makePair(3, 30, 1.0, 20.0, 0.0, 0.0), PairField::z1},
        {makePair(10, 401, 1.0, 20.0, 0.0, 0.0), PairField::z2},
        {makePair(10, 30, 0.049, 20.0, 0.0, 0.0), PairField::module},
        {makePair(10, 30, 1.0, 35.01, 0.0, 0.0), PairField::alpha},
        {makePair(10, 30, 1.0, NAN, 0.0, 0.0), PairField::alpha},
        {makePair(10, 30, 1.0, 20.0, -1.01, 0.0), PairField::x1},
        {makePair(10, 30, 1.0, 20.0, 0.0, 1.51), PairField::x2},
        // Pointed teeth: 8 teeth shifted by 1.5 have no tooth left at the tip.
        {makePair(8, 30, 1.0, 20.0, 1.5, 0.0), PairField::x1},
        // x1 + x2 = -1 at 20 + 20 teeth: inv(alpha_w) < 0, no working
        // pressure angle (the floor is -0.81897).
        {makePair(20, 20, 1.0, 20.0, -0.4, -0.6), PairField::x2},
    };
    for (const Refused& r : refused) {
        const PairCheck check = checkPair(r.input);
        EXPECT_EQ(check.field, r.field) << check.message;
        EXPECT_FALSE(check.message.empty());
    }
    EXPECT_LE(pairNumbers(makePair(8, 30, 1.0, 20.0, 1.5, 0.0)).gear[0].sa, 0.0);
    EXPECT_EQ(checkPair(makePair(20, 20, 1.0, 20.0, -0.4, -0.4)).field, PairField::none);
}

// ---- Internal gears and racks -----------------------------------------------------

PairInput makeInternal(int z1, int z2, double m, double alphaDeg, double x1, double x2, int zc = 0) {
    PairInput in = makePair(z1, z2, m, alphaDeg, x1, x2);
    in.kind = PairKind::internal;
    in.cutterTeeth = zc;
    return in;
}

PairInput makeRack(int z1, double m, double alphaDeg, double x1) {
    PairInput in = makePair(z1, 30, m, alphaDeg, x1, 0.0);
    in.kind = PairKind::rack;
    return in;
}

// KHK (Kohara Gear Industry), "Gear Technical Reference", internal gears:
// the table of internal pairs with small tooth differences (m = 1, 20
// degrees, z2 = 50, x1 = 0), all free of involute and trochoid interference
// but only to be assembled axially; the same table is in SDP/SI, "Elements of
// Metric Gear Technology", table 5-4.
TEST(InternalPair, PublishedExamples) {
    struct Row {
        int z1;
        double x2, alphaWDeg, a, epsilonAlpha;
    };
    const Row rows[] = {
        {49, 1.00, 61.0605, 0.971, 1.105}, {48, 0.60, 46.0324, 1.354, 1.512}, {47, 0.40, 37.4155, 1.775, 1.726},
        {46, 0.30, 32.4521, 2.227, 1.835}, {45, 0.20, 28.2019, 2.666, 1.933}, {44, 0.11, 24.5356, 3.099, 2.014},
        {43, 0.06, 22.3755, 3.557, 2.053}, {42, 0.01, 20.3854, 4.010, 2.088},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.z1 << "/50 x2 = " << row.x2);
        const PairInput in = makeInternal(row.z1, 50, 1.0, 20.0, 0.0, row.x2);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        const PairNumbers n = pairNumbers(in);
        expectRoundsTo(n.alphaW / degree, row.alphaWDeg, 4, "alpha w");
        expectRoundsTo(n.a, row.a, 3, "a");
        expectRoundsTo(n.epsilonAlpha, row.epsilonAlpha, 3, "epsilon alpha");
        EXPECT_FALSE(n.involuteInterference);
        EXPECT_FALSE(n.trochoidInterference);
        EXPECT_TRUE(n.radialAssemblyImpossible);
        // From 47 teeth up the pinion's tip circle reaches the ring's (49:
        // 51 against 50 mm): the trimming rule has no solution at all.
        EXPECT_EQ(n.tipCirclesOverlap, row.z1 >= 47);
        // The ring's tip reaches the rack-cut pinion's fillet from 45 teeth
        // down, which the base-circle rule cannot see.
        EXPECT_EQ(n.gear[0].interference, row.z1 <= 45);
        EXPECT_FALSE(n.gear[1].interference);
        // The effective contact ratio: the nominal where the ring's tip stays
        // on the pinion's involute, shorter where it reaches the fillet.
        if (row.z1 >= 46) {
            EXPECT_NEAR(n.epsilonAlphaEff, n.epsilonAlpha, 1e-12);
        } else {
            EXPECT_LT(n.epsilonAlphaEff, n.epsilonAlpha - 0.001);
            EXPECT_GT(n.epsilonAlphaEff, 1.1);
        }
        EXPECT_FALSE(n.cannotRun || n.lowContactRatio);
        // The handbook's other numbers.
        EXPECT_NEAR(n.gear[0].da, row.z1 + 2.0, 1e-12);
        EXPECT_NEAR(n.gear[1].da, 50.0 - 2.0 * (1.0 - row.x2), 1e-12);
        EXPECT_NEAR(n.gear[0].df, n.gear[0].da - 4.5, 1e-12);
        EXPECT_NEAR(n.gear[1].s, M_PI / 2.0 - 2.0 * row.x2 * std::tan(20.0 * degree), 1e-12);
        // df2 where the chosen cutter's tip reaches: no deeper than the
        // handbook's nominal da2 + 4.5 m, and at most 0.21 m shallower
        // (radius) at the largest x2.
        const RingCutting c = ringCutting(n.section, n.zc);
        EXPECT_NEAR(n.gear[1].df, 2.0 * (c.a0 + c.rc + 1.25), 1e-12);
        EXPECT_LE(n.gear[1].df, n.gear[1].da + 4.5 + 1e-12);
        EXPECT_GE(n.gear[1].df, n.gear[1].da + 4.5 - 0.42);
        EXPECT_EQ(cutterFault(n.section, n.zc), CutterFault::none);
    }
    // The table's x2 is the least (to 0.01) that keeps the pinion's tip off the
    // ring's tips as it leaves mesh: 0.01 less and trochoid interference.
    for (const Row& row : {rows[5], rows[6], rows[7]}) {
        const PairNumbers n = pairNumbers(makeInternal(row.z1, 50, 1.0, 20.0, 0.0, row.x2 - 0.01));
        EXPECT_TRUE(n.trochoidInterference) << row.z1;
        EXPECT_FALSE(n.involuteInterference) << row.z1;
    }
    // Involute interference, at its edge: the ring's tip circle through the
    // pinion's base tangent point T1, where tan(alpha_a2) / tan(alpha_w) = 1 - z1 / z2.
    // A 60-tooth ring, no shift: tan(alpha_a2) = 0.2413 against
    // (1 - z1 / z2) tan(20 degrees) = 0.2366 for 21 teeth (clear) and
    // 0.2427 for 20 (interference).
    EXPECT_FALSE(pairNumbers(makeInternal(21, 60, 1.0, 20.0, 0.0, 0.0)).involuteInterference);
    EXPECT_TRUE(pairNumbers(makeInternal(20, 60, 1.0, 20.0, 0.0, 0.0)).involuteInterference);
}

// The pinion-type cutter: KHK's internal gear section (SDP/SI "Elements of
// Metric Gear Technology", table 5-3a and its note): unshifted cutters and
// rings at 20 degrees, each cutter with the least ring it can leave radially
// (trimming), and cutters of 15 to 22 teeth trim those rings' tips by
// involute interference.
TEST(InternalPair, CutterTable) {
    const int table[][2] = {{15, 34}, {16, 34}, {17, 35}, {18, 36}, {19, 37}, {20, 38}, {21, 39}, {22, 40},
                            {24, 42}, {25, 43}, {27, 45}, {28, 46}, {30, 48}, {31, 49}, {32, 50}, {33, 51},
                            {34, 52}, {35, 53}, {38, 56}, {40, 58}, {42, 60}, {44, 62}, {48, 66}, {50, 68},
                            {56, 74}, {60, 78}, {64, 82}, {66, 84}, {80, 98}, {96, 114}, {100, 118}};
    for (const auto& row : table) {
        const int zc = row[0];
        const int z2 = row[1];
        SCOPED_TRACE(::testing::Message() << "zc " << zc << " z2 " << z2);
        auto trimming = [&](int ring) {
            const PairInput in = makeInternal(10, ring, 1.0, 20.0, 0.0, 0.0);
            const RingCutting c = ringCutting(transverseSection(in), zc);
            const double alpha = 20.0 * degree;
            return internalInterference(zc, ring, c.rac, ring / 2.0 - 1.0, c.rbc, ring / 2.0 * std::cos(alpha),
                                        c.a0, c.alphaW0)
                .trimming;
        };
        EXPECT_FALSE(trimming(z2));
        if (zc != 15) {  // the table's 15 and 16 share z2 = 34
            EXPECT_TRUE(trimming(z2 - 1));
        }
        EXPECT_EQ(cutterFault(transverseSection(makeInternal(10, z2, 1.0, 20.0, 0.0, 0.0)), zc) ==
                      CutterFault::involuteInterference,
                  zc <= 22);
    }
}

TEST(InternalPair, CutterChoiceAndRefusals) {
    // 42/50 at x2 = 0.01: cutters of 22 to 41 teeth cut it cleanly (fewer
    // trim the ring's tips with their root, more with their tip path); the
    // default is the middle one.
    const PairInput ring = makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01);
    const TransverseSection ringSection = transverseSection(ring);
    EXPECT_EQ(cutterFault(ringSection, 21), CutterFault::involuteInterference);
    EXPECT_EQ(cutterFault(ringSection, 22), CutterFault::none);
    EXPECT_EQ(cutterFault(ringSection, 41), CutterFault::none);
    EXPECT_EQ(cutterFault(ringSection, 42), CutterFault::trochoidInterference);
    EXPECT_EQ(pairNumbers(ring).zc, 32);
    EXPECT_EQ(chooseCutterTeeth(ringSection), 32);
    // A 24-tooth ring (x2 = 1) takes cutters from 11 teeth.
    const PairInput small = makeInternal(12, 24, 1.0, 20.0, 0.0, 1.0);
    EXPECT_EQ(cutterFault(transverseSection(small), 10), CutterFault::involuteInterference);
    EXPECT_EQ(cutterFault(transverseSection(small), 11), CutterFault::none);

    struct Refused {
        PairInput input;
        PairField field;
        const char* message;
    };
    const Refused refused[] = {
        {makeInternal(50, 50, 1.0, 20.0, 0.0, 0.0), PairField::z2,
         "an internal gear needs more teeth than the pinion inside it: z2 = 50 must be above z1 = 50"},
        // No cutter cuts a ring of x2 = -0.5: the cure is the ring's shift.
        {makeInternal(42, 50, 1.0, 20.0, 0.7, -0.5), PairField::x2,
         "x1 - x2 = 1.2 leaves the pair no working pressure angle; with these teeth x1 - x2 must be below 0.1637; "
         "with the other values as they are, x2 must be 0.5363 to 1.5000"},
        {makeInternal(20, 24, 1.0, 20.0, 0.0, 0.2763), PairField::x2,
         "x2 = 0.2763 puts the internal gear's tip circle inside its base circle, where it has no involute; with 24 "
         "teeth x2 must be above 0.2764; with the other values as they are, x2 must be 0.3451 to 1.5000"},
        // Pointed above 0.5662; below -0.9536 the undercut cuts through the neck.
        {makeInternal(8, 50, 1.0, 20.0, 1.5, 1.0), PairField::x1,
         "gear 1's teeth are pointed (tip thickness sa1 = -1.4157 mm); with the other values as they are, x1 must be "
         "-0.9536 to 0.5662"},
        {makeInternal(20, 24, 1.0, 20.0, 0.0, 0.3), PairField::x2,
         "no pinion-type cutter can cut an internal gear of 24 teeth with x2 = 0.3 cleanly (every one trims its "
         "tips); with the other values as they are, x2 must be 0.3451 to 1.5000"},
        {makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01, 21), PairField::cutter,
         "a cutter of 21 teeth cannot cut this internal gear cleanly (the ring's tips reach below its involute and "
         "are trimmed); cutters of 22 to 41 teeth can"},
        {makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01, 42), PairField::cutter,
         "a cutter of 42 teeth cannot cut this internal gear cleanly (its tip path trims the ring's tips (trochoid "
         "interference)); cutters of 22 to 41 teeth can"},
        {makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01, 50), PairField::cutter,
         "a cutter of 50 teeth cannot cut this internal gear cleanly (it must have fewer teeth than the ring); "
         "cutters of 22 to 41 teeth can"},
    };
    for (const Refused& r : refused) {
        const PairCheck check = checkPair(r.input);
        EXPECT_EQ(check.field, r.field) << check.message;
        EXPECT_EQ(check.message, r.message);
    }
    // Just inside each edge above.
    EXPECT_EQ(checkPair(makeInternal(49, 50, 1.0, 20.0, 0.0, 1.0)).field, PairField::none);
    EXPECT_EQ(checkPair(makeInternal(42, 50, 1.0, 20.0, 0.1636, 0.0)).field, PairField::none);
    EXPECT_EQ(checkPair(makeInternal(20, 24, 1.0, 20.0, 0.0, 0.2764)).message.substr(0, 21), "no pinion-type cutter");
    EXPECT_EQ(checkPair(makeInternal(8, 50, 1.0, 20.0, 0.5662, 1.0)).field, PairField::none);
    // The shift difference alone would allow x1 = -0.4, but no cutter cuts
    // that ring.
    EXPECT_EQ(checkPair(makeInternal(42, 50, 1.0, 20.0, -0.4, -0.5)).problem.substr(0, 21), "no pinion-type cutter");
    EXPECT_EQ(checkPair(makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01, 22)).field, PairField::none);
    EXPECT_EQ(checkPair(makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01, 41)).field, PairField::none);
    // The suggested x2 holds from 0.3451 all the way to 1.5.
    for (int step = 0; step <= 23; ++step) {
        const double x2 = 0.3451 + step * 0.05;
        EXPECT_EQ(checkPair(makeInternal(20, 24, 1.0, 20.0, 0.0, x2)).field, PairField::none) << x2;
    }
    EXPECT_EQ(checkPair(makeInternal(20, 24, 1.0, 20.0, 0.0, 0.345)).field, PairField::x2);
}

// KHK, "Gear Technical Reference", rack and pinion (m = 3, z = 12, x = 0.6;
// the handbook's 51.8 mm adds the datum line's 32 mm above the rack's back).
TEST(RackPair, PublishedExample) {
    const PairInput in = makeRack(12, 3.0, 20.0, 0.6);
    ASSERT_EQ(checkPair(in).field, PairField::none);
    const PairNumbers n = pairNumbers(in);
    expectRoundsTo(n.a, 19.8, 4, "datum line from the pinion's centre");
    expectRoundsTo(n.gear[0].da, 45.6, 4, "da1");
    expectRoundsTo(n.gear[0].df, 32.1, 4, "df1");
    expectRoundsTo(n.epsilonAlpha, 1.427, 3, "epsilon alpha");
    EXPECT_EQ(n.alphaW, n.alpha);
    EXPECT_FALSE(n.gear[0].undercut || n.gear[0].interference);
    EXPECT_NEAR(n.epsilonAlphaEff, n.epsilonAlpha, 1e-12);
    // The rack's tip line 1 m inside the datum meets a 12-tooth pinion below
    // its base tangent point while x1 < xmin = 0.298 (undercut and
    // interference together), and clears it just above.
    const double xmin = pairNumbers(makeRack(12, 3.0, 20.0, 0.0)).gear[0].xmin;
    PairNumbers edge = pairNumbers(makeRack(12, 3.0, 20.0, xmin + 0.001));
    EXPECT_FALSE(edge.gear[0].undercut || edge.gear[0].interference);
    edge = pairNumbers(makeRack(12, 3.0, 20.0, xmin - 0.01));
    EXPECT_TRUE(edge.gear[0].undercut && edge.gear[0].interference);
    // Refused as the pinion of any pair is.
    const PairCheck pointed = checkPair(makeRack(8, 1.0, 20.0, 1.5));
    EXPECT_EQ(pointed.field, PairField::x1);
    EXPECT_EQ(pointed.message,
              "gear 1's teeth are pointed (tip thickness sa1 = -1.4157 mm); with the other values as they are, x1 must "
              "be -0.9536 to 0.5662");
    EXPECT_EQ(checkPair(makeRack(8, 1.0, 20.0, 0.5662)).field, PairField::none);
    EXPECT_EQ(checkPair(makeRack(8, 1.0, 20.0, 0.5663)).field, PairField::x1);
}

bool closedOutlineCrossesItself(const std::vector<Point2>& p);

// A pinion's rules hold on a rack: a neck cut through (6 teeth at x1 =
// -0.7, the outline drawn crossing itself), a tip pointed by backlash (8
// teeth at x1 = 0.52: sa1 = 0.0534 mm, -0.0201 mm for jn = 0.1 mm). A rack
// of 35 degrees has its space bottom where its flanks meet.
TEST(RackPair, SeveredNeckBacklashAndSteepRack) {
    PairGeometry pair;
    EXPECT_EQ(checkPair(makeRack(6, 1.0, 20.0, -0.7)).message,
              "the undercut cuts through the neck of gear 1's teeth (its two flanks cross: the outline would cross "
              "itself); with the other values as they are, x1 must be -0.6962 to 0.4149");
    buildPairGeometry(makeRack(6, 1.0, 20.0, -0.7), pair);
    EXPECT_TRUE(closedOutlineCrossesItself(pair.outline[0].points));
    PairInput thinned = makeRack(8, 1.0, 20.0, 0.52);
    EXPECT_EQ(checkPair(thinned).field, PairField::none);
    thinned.backlash = 0.1;
    EXPECT_EQ(checkPair(thinned).message,
              "gear 1's teeth are pointed (tip thickness sa1 = -0.0201 mm); with the other values as they are, x1 must "
              "be -0.9281 to 0.5024");
    // (pi m / 4 + jt / 4) / tan(alpha) below the datum line, not 1.25 m.
    PairInput steep = makeRack(20, 2.0, 35.0, 0.0);
    for (double jn : {0.0, 0.1}) {
        steep.backlash = jn;
        buildPairGeometry(steep, pair);
        EXPECT_FALSE(closedOutlineCrossesItself(pair.outline[1].points));
        double bottom = 0.0;
        for (const Point2& p : pair.outline[1].points) {
            bottom = p.y > -rackBackModules * 2.0 + 1e-9 ? std::min(bottom, p.y) : bottom;
        }
        EXPECT_NEAR(bottom, -(M_PI / 2.0 + jn / std::cos(35.0 * degree) / 4.0) / std::tan(35.0 * degree), 1e-12);
    }
}

// 4 teeth in a ring of 21 at 13.03 degrees, the shifts from a = 9.15 mm:
// a tip land of 6e-8 mm, accepted (sa > 0), whose traced tip passed the
// tooth's middle and crossed its mirror image (found by the fuzzer). The
// tooth ends in one point on its tip circle.
TEST(PairOutline, ToothPointedWithinTheTracingEndsInOnePoint) {
    PairInput in = makeInternal(4, 21, 1.0, 13.03, 0.0, 0.0);
    in.centreDistance = 9.15;
    std::string message;
    ASSERT_TRUE(applyCentreDistance(in, message)) << message;
    ASSERT_EQ(checkPair(in).field, PairField::none);
    PairGeometry pair;
    buildPairGeometry(in, pair);
    ASSERT_LT(pair.numbers.gear[0].sa, 1e-6);
    EXPECT_FALSE(closedOutlineCrossesItself(pair.outline[0].points));
    double far = 0.0;
    for (const Point2& p : pair.outline[0].points) {
        far = std::max(far, std::hypot(p.x, p.y));
    }
    EXPECT_NEAR(far, pair.numbers.gear[0].da / 2.0, 1e-6);
}

double drawnInvoluteStart(const PairGeometry& pair, int g, double tolerance);

// An undercut pinion on a rack: the rack's tip reaches below the corner the
// undercut leaves, so only part of the nominal path is involute contact.
// Checked from where the drawn outline's involute is seen to start.
TEST(RackPair, EffectiveContactOfAnUndercutPinion) {
    struct Case {
        PairInput input;
        double nominal, effective;
    };
    const Case cases[] = {
        // The same effective ratios as 8/30 and 10/30 (below): the path
        // still ends at the pinion's tip and starts at its involute.
        {makeRack(8, 1.0, 20.0, 0.0), 1.6439, 0.9128},
        {makeRack(10, 2.0, 20.0, 0.0), 1.6751, 1.0927},
        {makeRack(12, 3.0, 20.0, 0.0), 1.7006, 1.2746},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "z1 " << c.input.z1);
        ASSERT_EQ(checkPair(c.input).field, PairField::none);
        PairGeometry pair;
        buildPairGeometry(c.input, pair);
        const PairNumbers& n = pair.numbers;
        expectRoundsTo(n.epsilonAlpha, c.nominal, 4, "nominal");
        expectRoundsTo(n.epsilonAlphaEff, c.effective, 4, "effective");
        EXPECT_TRUE(n.gear[0].interference);
        EXPECT_EQ(n.cannotRun, c.effective < 1.0);
        EXPECT_EQ(n.lowContactRatio, c.effective >= 1.0 && c.effective < 1.1);
        // Along the line of action from T1: from where the outline's
        // involute starts to the pinion's tip circle (the rack's sharp-cornered
        // flank reaches past it).
        const double m = c.input.m;
        const double rb = n.gear[0].db / 2.0;
        const double seen = drawnInvoluteStart(pair, 0, 0.0002 * m);
        EXPECT_NEAR(seen, n.gear[0].dNf / 2.0, 0.002 * m);
        const double from = std::sqrt(seen * seen - rb * rb);
        const double to = std::sqrt(std::pow(n.gear[0].da / 2.0, 2) - rb * rb);
        EXPECT_NEAR((to - from) / n.pb, n.epsilonAlphaEff, 0.01);
    }
    // Backlash of a rack pair: jt = jn / cos(alpha), each thinned by jt / 2.
    PairInput played = makeRack(12, 3.0, 20.0, 0.6);
    played.backlash = 0.2;
    const PairNumbers withPlay = pairNumbers(played);
    EXPECT_NEAR(withPlay.jt, 0.2 / std::cos(20.0 * degree), 1e-12);
    EXPECT_NEAR(withPlay.gear[0].sa, pairNumbers(makeRack(12, 3.0, 20.0, 0.6)).gear[0].sa - withPlay.jt / 2.0 * 45.6 / 36.0,
                1e-12);
    EXPECT_NE(formatPairReport(withPlay).find("\n法線方向バックラッシ jn = 0.2000 mm"
                                              "\n円周方向バックラッシ jt = 0.2128 mm"
                                              "\n歯厚減少量（ピニオンとラック、ピニオンの基準円上） Δs = 0.1064 mm"),
              std::string::npos);
    // Below 1, its own warning after the interference that causes it.
    EXPECT_NE(formatPairReport(pairNumbers(makeRack(8, 1.0, 20.0, 0.0)))
                  .find("\n有効かみ合い率 εα_eff = 0.9128"
                        "\n（歯車1のインボリュートは直径 7.6136 mm から始まり、歯車2の歯先はそれより歯元側まで届きます）"),
              std::string::npos);
    EXPECT_NE(formatPairReport(pairNumbers(makeRack(8, 1.0, 20.0, 0.0)))
                  .find("\n警告: 有効かみ合い率が 1 未満です（連続してかみ合えません）\n"),
              std::string::npos);
    // The ring's tip on the rack-cut pinion of 42/50 (x2 = 0.01): the path
    // starts where the drawn pinion's involute does, not at the ring's tip.
    PairGeometry ring;
    buildPairGeometry(makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01), ring);
    const PairNumbers& n = ring.numbers;
    const double rb1 = n.gear[0].db / 2.0;
    // The rack's tip round leaves the involute tangentially: seen a little
    // lower than dNf, never higher.
    const double seen = drawnInvoluteStart(ring, 0, 0.0002);
    EXPECT_LE(seen, n.gear[0].dNf / 2.0 + 0.0005);
    EXPECT_GE(seen, n.gear[0].dNf / 2.0 - 0.02);
    const double to = std::sqrt(std::pow(n.gear[0].da / 2.0, 2) - rb1 * rb1);
    EXPECT_NEAR((to - std::sqrt(seen * seen - rb1 * rb1)) / n.pb, n.epsilonAlphaEff, 0.03);
    EXPECT_LT(n.epsilonAlphaEff, n.epsilonAlpha - 0.2);
    expectRoundsTo(n.epsilonAlphaEff, 1.8518, 4, "42/50 effective");
}

TEST(PairReport, InternalAndRackReports) {
    EXPECT_EQ(formatPairReport(pairNumbers(makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01))),
              "\n歯車対の諸元（内歯車）"
              "\n中心距離 a = 4.0099 mm"
              "\nかみ合い圧力角 αw = 20.3854 deg"
              "\n基準円直径 d1 = 42.0000 mm"
              "\n基準円直径 d2 = 50.0000 mm"
              "\n基礎円直径 db1 = 39.4671 mm"
              "\n基礎円直径 db2 = 46.9846 mm"
              "\n歯先円直径 da1 = 44.0000 mm"
              "\n歯先円直径 da2 = 48.0200 mm"
              "\n歯底円直径 df1 = 39.5000 mm"
              "\n歯底円直径 df2 = 52.5199 mm"
              "\nピニオンカッタ歯数 zc = 32"
              "\n法線ピッチ pb = 2.9521 mm"
              "\nかみ合い長さ ga = 6.1634 mm"
              "\n正面かみ合い率 εα = 2.0878"
              "\n有効かみ合い率 εα_eff = 1.8518"
              "\n（歯車1のインボリュートは直径 40.3757 mm から始まり、歯車2の歯先はそれより歯元側まで届きます）"
              "\n基準円歯厚 s1 = 1.5708 mm"
              "\n基準円歯厚 s2 = 1.5635 mm"
              "\n歯先歯厚 sa1 = 0.7641 mm"
              "\n歯先歯厚 sa2 = 0.9325 mm"
              "\n切下げ限界転位係数 xmin1 = -1.4565"
              "\nかみ合いピッチ円直径 dw1 = 42.1040 mm"
              "\nかみ合いピッチ円直径 dw2 = 50.1239 mm"
              "\n法線方向バックラッシ jn = 0.0000 mm"
              "\n円周方向バックラッシ jt = 0.0000 mm"
              "\n歯厚減少量（各歯車、かみ合いピッチ円上） Δsw = 0.0000 mm"
              // The pinion's span by hand: cos 20 (4.5 pi + 42 inv 20) = 13.8728.
              "\nまたぎ歯数 k1 = 5"
              "\nまたぎ歯厚 W1 = 13.8728 mm"
              "\nピン径 dp1 = 1.6955 mm"
              "\nオーバーピン寸法 M1 = 44.3052 mm"
              "\nピン径 dp2 = 1.6545 mm"
              "\nビトウィーンピン寸法 M2 = 47.8223 mm"
              "\n警告: 歯車1の歯元で干渉が生じます（相手の歯先がインボリュートの始まりより歯元側に当たります）"
              "\n警告: 半径方向に組み込めません（トリミング: 歯車1は軸方向に差し込むしかありません）\n");
    // Where the pinion's tip circle reaches the ring's, the trimming rule
    // has no solution: said so, with no number.
    const std::string overlap = formatPairReport(pairNumbers(makeInternal(49, 50, 1.0, 20.0, 0.0, 1.0)));
    EXPECT_NE(overlap.find("\n警告: 半径方向に組み込めません（トリミング: 歯車1の歯先円が内歯車の歯先円に届くため、軸方向に差し込むしかありません）\n"),
              std::string::npos);
    // The other two warnings, each on its own line.
    const std::string interfering = formatPairReport(pairNumbers(makeInternal(19, 60, 1.0, 20.0, 0.0, 0.0)));
    EXPECT_NE(interfering.find("\n警告: インボリュート干渉が生じます"), std::string::npos);
    EXPECT_NE(formatPairReport(pairNumbers(makeInternal(15, 40, 1.0, 14.3, 0.61, 1.19)))
                  .find("\n警告: 歯車1の歯先が内歯車の歯底に当たります（頂げきがありません: a + da1/2 が df2/2 を 0.0770 mm 越えます）"),
              std::string::npos);
    // Its edge: x1 = 0.37 leaves 0.004 mm, 0.39 none.
    EXPECT_FALSE(pairNumbers(makeInternal(15, 40, 1.0, 14.3, 0.37, 1.19)).noTipClearance);
    EXPECT_TRUE(pairNumbers(makeInternal(15, 40, 1.0, 14.3, 0.39, 1.19)).noTipClearance);
    const std::string trochoid = formatPairReport(pairNumbers(makeInternal(42, 50, 1.0, 20.0, 0.0, 0.0)));
    EXPECT_NE(trochoid.find("\n警告: トロコイド干渉が生じます（かみ合いを離れる歯車1の歯先が内歯車の歯先を削ります）"),
              std::string::npos);

    EXPECT_EQ(formatPairReport(pairNumbers(makeRack(12, 3.0, 20.0, 0.6))),
              "\n歯車対の諸元（ラックとピニオン）"
              "\nラック基準線までの距離 a = 19.8000 mm"
              "\nかみ合い圧力角 αw = 20.0000 deg"
              "\n基準円直径 d1 = 36.0000 mm"
              "\n基礎円直径 db1 = 33.8289 mm"
              "\n歯先円直径 da1 = 45.6000 mm"
              "\n歯底円直径 df1 = 32.1000 mm"
              "\nラックのピッチ p = 9.4248 mm"
              "\n法線ピッチ pb = 8.8564 mm"
              "\nかみ合い長さ ga = 12.6408 mm"
              "\n正面かみ合い率 εα = 1.4273"
              "\n有効かみ合い率 εα_eff = 1.4273"
              "\n基準円歯厚 s1 = 6.0227 mm"
              "\nラック基準線上の歯厚 s2 = 4.7124 mm"
              "\n歯先歯厚 sa1 = 0.6055 mm"
              "\n切下げ限界転位係数 xmin1 = 0.2981"
              "\n法線方向バックラッシ jn = 0.0000 mm"
              "\n円周方向バックラッシ jt = 0.0000 mm"
              "\n歯厚減少量（ピニオンとラック、ピニオンの基準円上） Δs = 0.0000 mm"
              // 3 cos 20 (2.5 pi + 12 inv 20) + 2 0.6 3 sin 20 = 23.8765 by hand.
              "\nまたぎ歯数 k1 = 3"
              "\nまたぎ歯厚 W1 = 23.8765 mm"
              "\nピン径 dp1 = 7.2278 mm"
              "\nオーバーピン寸法 M1 = 51.0224 mm"
              "\n警告: 歯車1の歯先が薄すぎます（歯先歯厚が 0.25m 未満）\n");
}

// A coordinate that rounds to zero prints as 0.00000: 20/50 wrote
// "-0.00000" twice in its SVG and once in its DXF, the rack pair 12 three
// times; a size that rounds to zero prints as 0.0000.
TEST(PairReport, NoNegativeZero) {
    EXPECT_EQ(fixed(-0.000004, 5), "0.00000");
    EXPECT_EQ(fixed(-0.0, 4), "0.0000");
    EXPECT_EQ(fixed(-0.00001, 5), "-0.00001");
    EXPECT_EQ(fixed(-10.0, 2), "-10.00");
    for (const PairInput& in : {makePair(20, 50, 1.0, 20.0, 0.0, 0.0), makeRack(12, 3.0, 20.0, 0.6)}) {
        PairGeometry pair;
        buildPairGeometry(in, pair);
        for (SheetLayout layout : {SheetLayout::mesh, SheetLayout::apart}) {
            const std::string svg = formatPairSvg(pair, layout);
            const std::string dxf = formatPairDxf(pair, layout);
            EXPECT_EQ(svg.find("-0.00000 "), std::string::npos);
            EXPECT_EQ(svg.find("-0.00000\""), std::string::npos);
            EXPECT_EQ(dxf.find("\n-0.00000\n"), std::string::npos);
            EXPECT_NE(svg.find(" 0.00000"), std::string::npos);  // the points are still there
        }
    }
}

// The report's lines that give a negative number: only the coefficients
// xmin and y may be negative, never a size.
std::string negativeSizes(const std::string& report) {
    std::string found;
    for (size_t p = report.find("= -"); p != std::string::npos; p = report.find("= -", p + 1)) {
        const size_t from = report.rfind('\n', p) + 1;
        const std::string line = report.substr(from, report.find('\n', p) - from);
        if (line.find(" xmin") == std::string::npos && line.find(" y = ") == std::string::npos) {
            found += line + "\n";
        }
    }
    return found;
}

// Every internal pair the checks accept reports numbers, never NaN, inf or
// a negative size.
TEST(InternalPair, NoNaNOrNegativeSizeAnywhere) {
    // Once printed negative: the ring's reference thickness s2 at large x2
    // (its reference circle inside its tip circle), the path of contact of
    // tip circles that leave none, and the pinion's tip thinned for backlash
    // past pointed (now refused, as external pairs are).
    const std::string ring = formatPairReport(pairNumbers(makeInternal(10, 70, 1.0, 29.5, -0.86, 1.48)));
    EXPECT_NE(ring.find("\n基準円歯厚 s2: ありません（基準円が歯先円より内側にあり、歯に掛かりません）\n"), std::string::npos)
        << ring;
    EXPECT_EQ(pairNumbers(makeInternal(38, 106, 1.0, 24.4, 1.19, -0.8)).ga, 0.0);
    PairInput thinned = makeInternal(6, 72, 1.0, 19.4, 0.29, 0.58);
    EXPECT_EQ(checkPair(thinned).field, PairField::none);
    thinned.backlash = 0.25;
    EXPECT_EQ(checkPair(thinned).message,
              "gear 1's teeth are pointed (tip thickness sa1 = -0.0145 mm); with the other values as they are, x1 "
              "must be -0.6339 to 0.2786");
    PairInput rack = makeRack(68, 1.0, 34.6, 0.87);
    rack.backlash = 0.25;
    EXPECT_EQ(checkPair(rack).field, PairField::x1);
    int accepted = 0;
    int pinless = 0;
    for (int z2 : {12, 20, 31, 50, 97, 400}) {
        for (int z1 : {4, 7, z2 / 2, z2 - 3, z2 - 1}) {
            for (double x1 : {-1.0, -0.3, 0.0, 0.5, 1.5}) {
                for (double x2 : {-1.0, -0.2, 0.0, 0.4, 1.0, 1.5}) {
                    for (double alphaDeg : {10.0, 20.0, 35.0}) {
                        PairInput in = makeInternal(z1, z2, 1.0, alphaDeg, x1, x2);
                        in.backlash = accepted % 2 == 0 ? 0.25 : 0.0;
                        if (z1 < 4 || checkPair(in).field != PairField::none) {
                            continue;
                        }
                        ++accepted;
                        const PairNumbers n = pairNumbers(in);
                        const std::string report = formatPairReport(n);
                        EXPECT_EQ(report.find("nan"), std::string::npos) << report;
                        EXPECT_EQ(report.find("inf"), std::string::npos) << report;
                        EXPECT_EQ(negativeSizes(report), "") << report;
                        // Every ring here has a pin that measures it (the
                        // usual pin left a third of them without a size,
                        // sunk to within 0.05 m of the tips).
                        pinless += !n.gear[1].pinOnInvolute;
                    }
                }
            }
        }
    }
    EXPECT_GT(accepted, 100);
    EXPECT_EQ(pinless, 0);
}

// ---- Outlines ------------------------------------------------------------------

struct Polar {
    double rho, psi;
};

Polar polar(const Point2& p) { return Polar{std::hypot(p.x, p.y), std::atan2(p.y, p.x)}; }

// The true involute flank of tooth 0 on its counter-clockwise side: at radius
// rho (>= rb) it lies at the angle half the tooth's thickness there,
// psi = s / d + inv(alpha) - inv(acos(rb / rho)). All involutes of one base
// circle are parallel curves, rb times their turn apart, so a point at angle
// psi lies rb |psi - psi_involute| from the flank.
double involuteDistance(const Polar& q, double s, double d, double rb, double alpha) {
    const double inv = [](double a) { return std::tan(a) - a; }(alpha);
    const double alphaRho = std::acos(rb / q.rho);
    const double psiInvolute = s / d + inv - (std::tan(alphaRho) - alphaRho);
    return rb * (q.psi - psiInvolute);  // > 0 outside the tooth, < 0 inside
}

// The points of tooth 0's counter-clockwise flank between the radii lo and
// hi, and the midpoints of the chords between them (not of the tip circle's
// chords, which lie on no flank).
std::vector<Polar> flankSamples(const std::vector<Point2>& outline, int z, double lo, double hi) {
    std::vector<Polar> out;
    const size_t n = outline.size();
    auto wanted = [&](const Polar& q) { return q.psi > 0.0 && q.psi < M_PI / z && q.rho >= lo && q.rho <= hi; };
    for (size_t i = 0; i < n; ++i) {
        const Point2& a = outline[i];
        const Point2& b = outline[(i + 1) % n];
        const Polar qa = polar(a);
        const Polar qb = polar(b);
        if (wanted(qa)) {
            out.push_back(qa);
            if (wanted(qb) && std::fabs(qa.rho - qb.rho) > 1e-9 * hi) {
                out.push_back(polar(Point2{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0}));
            }
        }
    }
    return out;
}

// Arc length on radius rho between tooth 0's two flanks, from where the
// outline crosses that circle.
double thicknessAt(const std::vector<Point2>& outline, int z, double rho) {
    double upper = NAN;
    double lower = NAN;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const Polar a = polar(outline[i]);
        const Polar b = polar(outline[(i + 1) % n]);
        if ((a.rho - rho) * (b.rho - rho) > 0.0 || a.rho == b.rho || std::fabs(a.psi) > M_PI / z) {
            continue;
        }
        // The chord's crossing of the circle, by the chord itself.
        const double t = (rho - a.rho) / (b.rho - a.rho);
        const Point2 p{outline[i].x + t * (outline[(i + 1) % n].x - outline[i].x),
                       outline[i].y + t * (outline[(i + 1) % n].y - outline[i].y)};
        const double psi = std::atan2(p.y, p.x);
        (psi > 0.0 ? upper : lower) = psi;
    }
    return rho * (upper - lower);
}

TEST(PairOutline, InvoluteThicknessAndUndercut) {
    // Unshifted, shifted and at other pressure angles; no gear undercut.
    const PairInput pairs[] = {
        makePair(20, 40, 1.0, 20.0, 0.3, 0.0),
        makePair(12, 24, 3.0, 20.0, 0.6, 0.36),
        makePair(8, 30, 2.0, 20.0, 0.6, -0.2),
        makePair(15, 60, 0.5, 14.5, 0.8, 0.2),
        makePair(30, 9, 1.0, 30.0, 0.0, 0.2),
        makePair(25, 40, 1.0, 35.0, 0.0, 0.0),
    };
    for (const PairInput& in : pairs) {
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const PairNumbers& n = pair.numbers;
        for (int g = 0; g < 2; ++g) {
            SCOPED_TRACE(::testing::Message() << "z " << in.z1 << "/" << in.z2 << " alpha " << in.alphaDeg
                                              << " gear " << g + 1);
            const GearNumbers& gear = n.gear[g];
            ASSERT_FALSE(gear.undercut);
            const std::vector<Point2>& outline = pair.outline[g].points;
            const double r = gear.d / 2.0;
            const double rb = gear.db / 2.0;
            const double ra = gear.da / 2.0;
            const double m = in.m;
            // The rack's flank is straight down to 1 m below its datum at 20
            // degrees and steeper (the round then starts lower), to
            // 1.25 m - 0.38 m (1 - sin(alpha)) at flatter angles: the gear's
            // flank is a pure involute from where the line of action meets
            // that depth up to the tip.
            const double straight = std::min(1.0, 1.25 - 0.38 * (1.0 - std::sin(n.alpha)));
            const double lowest = (straight - gear.x) * m / std::sin(n.alpha);
            const double along = r * std::sin(n.alpha) - lowest;
            const double formRadius = std::hypot(rb, std::max(0.0, along)) + 0.01 * m;
            double worst = 0.0;
            const std::vector<Polar> flank = flankSamples(outline, gear.z, formRadius, ra - 1e-9 * m);
            ASSERT_GT(flank.size(), 3u);
            for (const Polar& q : flank) {
                worst = std::max(worst, std::fabs(involuteDistance(q, gear.s, gear.d, rb, n.alpha)));
            }
            EXPECT_LE(worst, 0.001 * m) << "involute off by " << worst / m << " m";
            // Below the involute the fillet leaves material, never less.
            for (const Polar& q : flankSamples(outline, gear.z, rb, formRadius)) {
                EXPECT_GE(involuteDistance(q, gear.s, gear.d, rb, n.alpha), -0.001 * m) << q.rho;
            }
            EXPECT_NEAR(thicknessAt(outline, gear.z, r), gear.s, 0.001 * m);
            // The tip circle's arc between the two flanks is sa.
            EXPECT_NEAR(thicknessAt(outline, gear.z, ra - 1e-6 * m), gear.sa, 0.001 * m);
            // Tip and root circles.
            double lo = INFINITY;
            double hi = 0.0;
            for (const Point2& p : outline) {
                lo = std::min(lo, std::hypot(p.x, p.y));
                hi = std::max(hi, std::hypot(p.x, p.y));
            }
            EXPECT_NEAR(hi, ra, 1e-9 * m);
            EXPECT_NEAR(lo, gear.df / 2.0, 0.001 * m);
        }
    }

    // Eight teeth: unshifted, the cutter's tip cuts away the foot of the
    // involute (the flank runs inside it just above the base circle);
    // shifted by 0.6 (xmin = 0.532) the involute is whole.
    for (double x : {0.0, 0.6}) {
        PairGeometry pair;
        buildPairGeometry(makePair(8, 30, 1.0, 20.0, x, 0.0), pair);
        const GearNumbers& gear = pair.numbers.gear[0];
        EXPECT_EQ(gear.undercut, x < 0.5);
        double deepest = 0.0;
        for (const Polar& q : flankSamples(pair.outline[0].points, 8, gear.db / 2.0, gear.da / 2.0)) {
            deepest = std::min(deepest, involuteDistance(q, gear.s, gear.d, gear.db / 2.0, pair.numbers.alpha));
        }
        if (x < 0.5) {
            EXPECT_LT(deepest, -0.05) << "no undercut at x = 0";
        } else {
            EXPECT_GT(deepest, -0.001) << "undercut at x = 0.6";
        }
    }
}

// Distance from p to the segment a-b.
double segmentDistance(const Point2& p, const Point2& a, const Point2& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

bool inside(const Point2& p, const std::vector<Point2>& polygon) {
    bool in = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point2& a = polygon[i];
        const Point2& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
            in = !in;
        }
    }
    return in;
}

// How far the points of `a` come into `b` (> 0: overlap), and the least
// distance from a point of `a` above and below the line of centres to `b`.
struct Contact {
    double overlap = 0.0;
    double gapAbove = INFINITY;
    double gapBelow = INFINITY;
};

void measure(const std::vector<Point2>& a, const std::vector<Point2>& b, const std::vector<size_t>& nearSegments,
             Contact& c) {
    for (const Point2& p : a) {
        double distance = INFINITY;
        for (size_t i : nearSegments) {
            distance = std::min(distance, segmentDistance(p, b[i], b[(i + 1) % b.size()]));
        }
        if (inside(p, b)) {
            c.overlap = std::max(c.overlap, distance);
            distance = 0.0;
        }
        double& gap = p.y > 0.0 ? c.gapAbove : c.gapBelow;
        gap = std::min(gap, distance);
    }
}

// Gear 1 turned by theta about (0, 0) and gear 2 at (a, 0) turned by
// phase2 - theta z1 / z2: how they meet, from the points of each outline
// within the other's tip circle.
Contact meshContact(const PairGeometry& pair, double theta) {
    const PairInput& in = pair.input;
    const double a = pair.numbers.a;
    const double ra[2] = {pair.numbers.gear[0].da / 2.0, pair.numbers.gear[1].da / 2.0};
    const Point2 centre[2] = {Point2{0.0, 0.0}, Point2{a, 0.0}};
    const double turn[2] = {theta, pair.phase2 - theta * in.z1 / in.z2};
    std::vector<Point2> placed[2];
    std::vector<Point2> near[2];
    std::vector<size_t> nearSegments[2];  // segment i runs from point i to point i + 1
    for (int g = 0; g < 2; ++g) {
        const double c = std::cos(turn[g]);
        const double s = std::sin(turn[g]);
        const Point2& other = centre[1 - g];
        std::vector<char> isNear;
        for (const Point2& p : pair.outline[g].points) {
            const Point2 q{centre[g].x + c * p.x - s * p.y, s * p.x + c * p.y};
            isNear.push_back(std::hypot(q.x - other.x, q.y - other.y) < ra[1 - g] + 0.05 * in.m);
            if (isNear.back()) {
                near[g].push_back(q);
            }
            placed[g].push_back(q);
        }
        for (size_t i = 0; i < isNear.size(); ++i) {
            if (isNear[i] || isNear[(i + 1) % isNear.size()]) {
                nearSegments[g].push_back(i);
            }
        }
    }
    Contact contact;
    measure(near[0], placed[1], nearSegments[1], contact);
    measure(near[1], placed[0], nearSegments[0], contact);
    return contact;
}

TEST(PairOutline, PairInMeshTouchesOnBothFlanksWithoutOverlap) {
    const PairInput pairs[] = {
        makePair(10, 30, 1.0, 20.0, 0.0, 0.0),
        makePair(12, 24, 3.0, 20.0, 0.6, 0.36),
        makePair(20, 40, 1.0, 25.0, -0.3, 0.2),
        makePair(9, 11, 2.0, 20.0, 0.5, 0.5),
    };
    for (const PairInput& in : pairs) {
        SCOPED_TRACE(::testing::Message() << "z " << in.z1 << "/" << in.z2 << " x " << in.x1 << "/" << in.x2);
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const double tolerance = 0.001 * in.m;
        const Contact start = meshContact(pair, 0.0);
        EXPECT_LE(start.overlap, tolerance);
        EXPECT_LE(start.gapAbove, tolerance) << "drive flanks apart";
        EXPECT_LE(start.gapBelow, tolerance) << "backlash on the other flanks";
        // Turned through a whole tooth pitch, still no overlap.
        double worst = 0.0;
        for (int step = 1; step < 24; ++step) {
            worst = std::max(worst, meshContact(pair, 2.0 * M_PI / in.z1 * step / 24.0).overlap);
        }
        EXPECT_LE(worst, tolerance);
    }

    // The interference warned of above is real: somewhere in the pitch gear
    // 1's tip cuts into gear 2's fillet.
    PairGeometry pair;
    buildPairGeometry(makePair(30, 20, 1.0, 20.0, 0.0, 1.5), pair);
    double worst = 0.0;
    for (int step = 0; step < 24; ++step) {
        worst = std::max(worst, meshContact(pair, 2.0 * M_PI / 30.0 * step / 24.0).overlap);
    }
    EXPECT_GT(worst, 0.002);
}

// ---- Helical pairs (normal system) ----------------------------------------------

bool outlineCrossesItself(const PairInput& in, const PairNumbers& n, int g, int samples);

PairInput helicalPair(int z1, int z2, double mn, double betaDeg, double xn1, double xn2) {
    PairInput in = makePair(z1, z2, mn, 20.0, xn1, xn2);
    in.betaDeg = betaDeg;
    return in;
}

// The pinion of a rack pair and of an internal pair is an external gear:
// its span by hand (ISO 21771's W = m cos(alpha) (pi (k - 0.5) + z inv(alpha))
// + 2 x m sin(alpha), k = 2 by the rule z alpha_x / 180 + 0.5), and its pin,
// placed in a space of the outline the rack cuts at M / 2 - dp / 2 from the
// centre, touching both flanks (its nearest approach to the cut outline dp / 2).
TEST(RackPair, PinionsOfEveryKindHaveTheirSpanAndSizeOverPins) {
    for (const PairKind kind : {PairKind::rack, PairKind::internal}) {
        for (const double x1 : {0.0, 0.3}) {
            PairInput in = makePair(12, 40, 2.0, 20.0, x1, 0.0);
            in.kind = kind;
            SCOPED_TRACE(::testing::Message() << pairKindModel(kind).name << " x1 = " << x1);
            ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
            const PairNumbers n = pairNumbers(in);
            const GearNumbers& g = n.gear[0];
            EXPECT_EQ(g.k, 2);
            expectRoundsTo(g.W, x1 == 0.0 ? 9.1925 : 9.6030, 4, "W1");  // 2 (4.59626 + 2 x1 0.34202)
            ASSERT_TRUE(g.pinOnInvolute);
            PairGeometry pair;
            buildPairGeometry(in, pair);
            const double r = (g.M - g.dp) / 2.0;  // 12 teeth: opposite spaces
            const Point2 centre{r * std::cos(pi / 12.0), r * std::sin(pi / 12.0)};
            const std::vector<Point2>& outline = pair.outline[0].points;
            double nearest = INFINITY;
            for (size_t i = 0; i < outline.size(); ++i) {
                nearest = std::min(nearest, segmentDistance(centre, outline[i], outline[(i + 1) % outline.size()]));
            }
            EXPECT_NEAR(nearest, g.dp / 2.0, 0.002 * in.m);
            EXPECT_NE(formatPairReport(in, n).find("オーバーピン寸法 M1"), std::string::npos);
        }
    }
}

// A ring's size between pins against two pins placed in its cut outline by
// brute force: a pin of the transverse diameter on the middle line of the
// space after tooth 0, moved out until it touches both flanks (its centre
// dp / 2 from the nearest segment of the outline its cutter left), the size
// then 2 r (cos(pi / (2 z)) for odd z) less the ball. The relation under
// test is the handbooks' (KHK, "Gear Technical Reference", dimension between
// pins of internal gears: inv(phi) = pi / (2 z) + inv(alpha) + 2 x tan(alpha) / z
// - dp / (z m cos(alpha)), M = z m cos(alpha) / cos(phi) - dp; ZAKGEAR's
// "Dimension between pins" calculator gives the helical ring's transverse
// form with dp / cos(beta_b)). The pin touches between the tip circle and
// where the ring's involute ends, keeps off the root and stands in from the
// tips. At small pressure angles the usual pin (touching on (z + 2 x) m) can
// sink to within 0.05 m of the tips; the nearest that stands in far enough
// is then taken: its inner point exactly 0.05 m in from the tip circle.
TEST(InternalPair, RingSizeBetweenPinsAgreesWithPinsPlacedInItsCutOutline) {
    struct Case {
        int z1, z2;
        double m, alpha, x1, x2, backlash, beta, pin;
        bool nearest;  // the usual pin stands in less than 0.05 m
    } cases[] = {
        {20, 60, 2.0, 20.0, 0.0, 0.0, 0.0, 0.0, 0.0, false},     // even, the usual pin
        {12, 41, 1.5, 20.0, 0.2, 0.5, 0.0, 0.0, 0.0, false},     // odd, shifted out
        {15, 50, 1.0, 25.0, 0.3, 0.2, 0.1, 0.0, 0.0, false},     // thinned for backlash
        {20, 60, 2.0, 20.0, 0.0, 0.0, 0.0, 0.0, 3.6, false},     // a pin given
        {18, 61, 2.0, 20.0, 0.2, 0.3, 0.0, 20.0, 0.0, false},    // helical, odd: a ball
        {18, 60, 2.0, 20.0, 0.2, 0.3, 0.05, 30.0, 3.7, false},   // helical, a ball given
        {38, 138, 1.0, 15.6, -0.03, -0.25, 0.0, 0.0, 0.0, true}, // the usual pin 0.007 m in
        {45, 181, 1.0, 14.6, -0.2, -0.3, 0.0, 20.0, 0.0, true},  // helical, odd
    };
    for (const Case& c : cases) {
        PairInput in = makePair(c.z1, c.z2, c.m, c.alpha, c.x1, c.x2);
        in.kind = PairKind::internal;
        in.backlash = c.backlash;
        in.betaDeg = c.beta;
        in.pinDiameter = c.pin;
        SCOPED_TRACE(::testing::Message() << c.z1 << "/" << c.z2 << " beta " << c.beta << " pin " << c.pin);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const GearNumbers& g = pair.numbers.gear[1];
        ASSERT_TRUE(g.pinOnInvolute);
        if (c.pin > 0.0) {
            EXPECT_NEAR(g.dp, c.pin, 1e-12);
        }
        const double mt = pair.numbers.section.spur().m;
        const double pin = g.dp / ballPinRatio(in);  // the transverse section's
        const std::vector<Point2>& ring = pair.outline[1].points;
        const Point2 middle{std::cos(M_PI / c.z2), std::sin(M_PI / c.z2)};
        auto nearest = [&](double r, double* where) {
            double least = INFINITY;
            for (size_t i = 0; i < ring.size(); ++i) {
                const Point2& a = ring[i];
                const Point2& b = ring[(i + 1) % ring.size()];
                const double d = segmentDistance({r * middle.x, r * middle.y}, a, b);
                if (d < least) {
                    least = d;
                    *where = std::hypot(a.x, a.y);
                }
            }
            return least;
        };
        double lo = g.da / 2.0 - pin;  // clear of the flanks, deep in the space's mouth
        double hi = g.df / 2.0;        // on the root circle
        double contact = 0.0;
        ASSERT_GT(nearest(lo, &contact), pin / 2.0);
        for (int i = 0; i < 60; ++i) {
            const double mid = (lo + hi) / 2.0;
            (nearest(mid, &contact) > pin / 2.0 ? lo : hi) = mid;
        }
        nearest(lo, &contact);
        // The outline keeps within 0.001 m of the true flank: the pin at the
        // relation's centre is that close to touching; the flanks, at about
        // 20 degrees to the space's middle line, move the centre some three
        // times as far, and M twice that.
        const double across = c.z2 % 2 == 0 ? 1.0 : std::cos(M_PI / (2.0 * c.z2));
        double unused = 0.0;
        EXPECT_NEAR(nearest((g.M + g.dp) / (2.0 * across), &unused), pin / 2.0, 0.001 * mt);
        EXPECT_NEAR(2.0 * lo * across - g.dp, g.M, 0.006 * mt);
        if (c.beta == 0.0) {
            EXPECT_GE(contact, g.da / 2.0 - 0.002 * mt);
            EXPECT_LE(contact, g.dNf / 2.0 + 0.002 * mt);
        }
        EXPECT_LE(lo + g.dp / 2.0, g.df / 2.0);
        if (c.nearest) {
            EXPECT_NEAR(lo - g.dp / 2.0, g.da / 2.0 - 0.05 * mt, 0.003 * mt);
        } else {
            EXPECT_LE(lo - g.dp / 2.0, g.da / 2.0 - 0.05 * mt + 1e-9);
        }
        // Reported in both languages, after the pinion's size over pins.
        const PairReport report = pairReport(in, pair.numbers);
        const std::string ja = formatReport(report, Language::ja);
        const std::string en = formatReport(report, Language::en);
        const std::string M2 = fixed(g.M, 4);
        EXPECT_NE(ja.find("オーバーピン寸法 M1 = "), std::string::npos);
        EXPECT_GT(ja.find("\nピン径 dp2 = " + fixed(g.dp, 4) + " mm\nビトウィーンピン寸法 M2 = " + M2 + " mm\n"),
                  ja.find("オーバーピン寸法 M1 = "));
        EXPECT_NE(en.find("\npin diameter dp2 = " + fixed(g.dp, 4) + " mm\nsize between pins M2 = " + M2 + " mm\n"),
                  std::string::npos);
    }
    // A pin too large to enter the space: no size, and the warning says why.
    PairInput in = makePair(20, 60, 2.0, 20.0, 0.0, 0.0);
    in.kind = PairKind::internal;
    in.pinDiameter = 6.0;
    const std::string ja = formatPairReport(in, pairNumbers(in));
    EXPECT_NE(ja.find("\nビトウィーンピン寸法 M2: 測れません（ピンがインボリュートに当たりません）\n"), std::string::npos) << ja;
    EXPECT_NE(ja.find("警告: 歯車2はピン径 dp2 = 6.0000 mm ではビトウィーンピン寸法を測れません"), std::string::npos);
}

TEST(HelicalPair, PublishedExamples) {
    // KHK, "Gear Technical Reference", calculations of profile shifted
    // helical gears in the normal system (mn 3, alpha_n 20, beta 30 deg,
    // z 12 and 60, xn1 0.09809, b 20 mm), as tabled in "Profile Shifted
    // External Helical Gear - Normal" (Utilities for Alibre).
    PairInput khk = helicalPair(12, 60, 3.0, 30.0, 0.09809, 0.0);
    khk.faceWidth = 20.0;
    const PairNumbers n = pairNumbers(khk);
    expectRoundsTo(n.helix.alphaT / degree, 22.79588, 5, "alpha t");
    expectRoundsTo(n.alphaW / degree, 23.1126, 4, "alpha wt");
    expectRoundsTo(n.y, 0.0974, 4, "y");  // 0.09744 published, from alpha_wt rounded to 23.1126
    expectRoundsTo(n.a, 125.000, 3, "a");
    const double published[2][5] = {{41.569, 38.322, 41.667, 48.154, 34.658},
                                    {207.846, 191.611, 208.333, 213.842, 200.346}};
    for (int i = 0; i < 2; ++i) {
        const GearNumbers& g = n.gear[i];
        expectRoundsTo(g.d, published[i][0], 3, "d");
        expectRoundsTo(g.db, published[i][1], 3, "db");
        expectRoundsTo(g.dw, published[i][2], 3, "dw");
        expectRoundsTo(g.da, published[i][3], 3, "da");
        expectRoundsTo(g.df, published[i][4], 3, "df");
        EXPECT_EQ(g.x, i == 0 ? 0.09809 : 0.0);
    }
    expectRoundsTo(n.epsilonAlpha, 1.294, 3, "epsilon alpha");
    expectRoundsTo(n.helix.epsilonBeta, 1.061, 3, "epsilon beta");

    // ISO 21771:2007 worked to ten places in "Gear Generating Profile Shift
    // Calculations" (mn 3.5, alpha_n 20, beta 21 deg, z 31 and 30): the
    // shift sum 0.6518771313 gives a = 116.5 mm.
    const PairNumbers iso = pairNumbers(helicalPair(31, 30, 3.5, 21.0, 0.291, 0.6518771312 - 0.291));
    EXPECT_NEAR(iso.helix.alphaT / degree, 21.2990642859, 1e-9);
    EXPECT_NEAR(iso.alphaW / degree, 23.8707609654, 1e-8);
    EXPECT_NEAR(iso.a, 116.5, 1e-7);
    EXPECT_NEAR(involuteFunction(iso.alphaW), 0.0259052382, 1e-10);
    // And back: the working centre distance gives the normal shift sum.
    EXPECT_NEAR(shiftTotalForCentreDistance(helicalPair(31, 30, 3.5, 21.0, 0.0, 0.0), 116.5).shiftTotal,
                0.651877131252, 1e-9);
    expectRoundsTo(shiftTotalForCentreDistance(khk, 125.0).shiftTotal, 0.09809, 5, "xn1 + xn2 for a = 125");

    // The span in the normal plane is the transverse base tangent length
    // times cos(beta_b): k pitches pbt less a space, plus the base
    // thickness, all in the transverse section, seen across the helix.
    for (const GearNumbers& g : n.gear) {
        ASSERT_GT(g.k, 0);
        const double sbt = g.db * (g.s / g.d + n.invAlpha);  // base tooth thickness (arc), transverse
        EXPECT_NEAR(g.W, ((g.k - 1) * n.pb + sbt) * std::cos(n.helix.betaB), 1e-9);
    }
    // Virtual teeth and the undercut limit of the transverse section.
    EXPECT_NEAR(n.helix.zn[0], 12.0 / std::pow(std::cos(n.helix.betaB), 2) / std::cos(30.0 * degree), 1e-12);
    EXPECT_NEAR(n.gear[0].xmin,
                1.0 - 12.0 * std::pow(std::sin(n.helix.alphaT), 2) / (2.0 * std::cos(30.0 * degree)), 1e-12);
}

TEST(HelicalPair, OutlinesMeshAtTheCentreDistanceOfTheTransverseSection) {
    // Independent of the numbers: the transverse outlines, cut by the
    // transverse rack, placed at a from inv(alpha_wt) touch on both flanks
    // without overlap, for each kind; the rules hold on them.
    const PairInput pairs[] = {
        helicalPair(12, 60, 3.0, 30.0, 0.09809, 0.0),
        helicalPair(9, 23, 1.0, 40.0, 0.4, -0.2),
        helicalPair(17, 31, 2.0, 12.5, -0.3, 0.6),
    };
    for (const PairInput& in : pairs) {
        SCOPED_TRACE(::testing::Message() << "z " << in.z1 << "/" << in.z2 << " beta " << in.betaDeg);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const double tolerance = 0.001 * in.m;
        const Contact start = meshContact(pair, 0.0);
        EXPECT_LE(start.overlap, tolerance);
        EXPECT_LE(start.gapAbove, tolerance);
        EXPECT_LE(start.gapBelow, tolerance);
        // The clearance is 0.25 mn, not 0.25 mt.
        EXPECT_NEAR(pair.numbers.a - pair.numbers.gear[0].da / 2.0 - pair.numbers.gear[1].df / 2.0, 0.25 * in.m, 1e-9);
        for (int g = 0; g < 2; ++g) {
            EXPECT_FALSE(outlineCrossesItself(in, pair.numbers, g, 180));
        }
    }
    // A helical pinion with too few teeth is refused with a cure, and every
    // value of the cure passes.
    PairInput bad = helicalPair(5, 40, 1.0, 35.0, 1.2, 0.0);
    const PairCheck check = checkPair(bad);
    ASSERT_EQ(check.field, PairField::x1) << check.message;
    for (double x : {check.cureLo, (check.cureLo + check.cureHi) / 2.0, check.cureHi}) {
        bad.x1 = x;
        EXPECT_EQ(checkPair(bad).field, PairField::none) << check.message << " at " << x;
    }
    // Ring and rack: the transverse section's numbers, the report's own lines.
    PairInput ring = helicalPair(15, 50, 2.0, 20.0, 0.0, 0.0);
    ring.kind = PairKind::internal;
    PairInput rack = helicalPair(15, 30, 2.0, 20.0, 0.2, 0.0);
    rack.kind = PairKind::rack;
    for (const PairInput& in : {ring, rack}) {
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        const PairNumbers n = pairNumbers(in);
        EXPECT_NEAR(n.pb, M_PI * 2.0 / std::cos(20.0 * degree) * std::cos(n.helix.alphaT), 1e-12);
        const std::string report = formatPairReport(n);
        EXPECT_NE(report.find("\n正面モジュール mt = 2.1284 mm"), std::string::npos) << report;
        EXPECT_NE(report.find("εβ = "), std::string::npos) << report;
    }
    EXPECT_NEAR(pairNumbers(rack).y, 0.2, 1e-12);  // a = r1 + xn mn
}

// The transverse section of a helical gear, cut by brute force: the basic
// rack drawn in its normal section (straight flanks at alpha_n, a circle of
// 0.38 mn round its tip), stretched across by 1 / cos(beta) into the
// transverse section, rolled on the reference circle. A point (X, Y) of the
// rack, Y from the rolling line, seen from the blank turned by phi, lies at
// (X - r phi, r + Y) turned by -phi: it crosses the radius rho at
// phi = (X +- sqrt(rho^2 - (r + Y)^2)) / r. The counter-clockwise flank of
// the tooth under the space at X = 0 (at angle pi / 2) lies at the least
// angle any rack point reaches there.
double contactRatioFrom(const PairNumbers& n, const double start[2]);

struct NormalRackCut {
    double r, mt, xm;
    std::vector<Point2> points;  // one rack tooth's outline, centred at X = 0
};

NormalRackCut normalRackCut(double mn, double alphaNDeg, double betaDeg, int z, double xn) {
    const double alphaN = alphaNDeg * degree;
    const double c = std::cos(betaDeg * degree);
    NormalRackCut cut{mn / c * z / 2.0, mn / c, xn * mn, {}};
    const double rho = 0.38 * mn;
    const double depth = 1.25 * mn;
    const double uc = M_PI * mn / 4.0 - (depth - rho) * std::tan(alphaN) - rho / std::cos(alphaN);
    const double vc = -depth + rho;
    const int n = 5000;
    for (int i = 0; i <= n; ++i) {  // the round, then the flank up to 1.25 mn
        const double b = (M_PI / 2.0 - alphaN) * i / n;
        cut.points.push_back(Point2{(uc + rho * std::sin(b)) / c, vc - rho * std::cos(b)});
    }
    const double v0 = vc - rho * std::sin(alphaN);
    for (int i = 1; i <= n; ++i) {
        const double v = v0 + (depth - v0) * i / n;
        cut.points.push_back(Point2{(M_PI * mn / 4.0 + v * std::tan(alphaN)) / c, v});
    }
    for (size_t i = cut.points.size(); i-- > 0;) {
        cut.points.push_back(Point2{-cut.points[i].x, cut.points[i].y});
    }
    return cut;
}

// The flank's angle from the tooth's middle at radius rho (NAN where no
// rack point reaches rho).
double normalRackCutPsi(const NormalRackCut& cut, double rho) {
    double least = INFINITY;
    for (int k = -2; k <= 2; ++k) {
        const double centre = (k + 0.5) * M_PI * cut.mt;
        for (const Point2& q : cut.points) {
            const double X = centre + q.x;
            const double Y = cut.xm + q.y;
            const double h2 = rho * rho - (cut.r + Y) * (cut.r + Y);
            if (h2 < 0.0) {
                continue;
            }
            for (double sign : {-1.0, 1.0}) {
                const double phi = (X + sign * std::sqrt(h2)) / cut.r;
                const double psi = std::atan2(cut.r + Y, X - cut.r * phi) - phi - M_PI / 2.0;
                if (psi > -1e-9 && psi < least) {
                    least = psi;
                }
            }
        }
    }
    return std::isfinite(least) ? least : NAN;
}

TEST(HelicalPair, TheTransverseSectionIsTheNormalRacksCut) {
    struct Case {
        int z1, z2;
        double betaDeg, xn1, xn2;
    };
    const Case cases[] = {{12, 40, 30.0, 0.0, 0.0}, {9, 30, 40.0, 0.3, 0.0}, {7, 25, 25.0, 0.0, 0.2},
                          {15, 15, 45.0, -0.2, 0.1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "z " << c.z1 << "/" << c.z2 << " beta " << c.betaDeg);
        const PairInput in = helicalPair(c.z1, c.z2, 2.0, c.betaDeg, c.xn1, c.xn2);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const PairNumbers& n = pair.numbers;
        double seen[2];
        for (int g = 0; g < 2; ++g) {
            const GearNumbers& gear = n.gear[g];
            const NormalRackCut cut = normalRackCut(in.m, in.alphaDeg, in.betaDeg, gear.z, gear.x);
            // The outline's flank at each radius from the root to the tip.
            const double rf = gear.df / 2.0;
            const double ra = gear.da / 2.0;
            double worst = 0.0;
            seen[g] = ra;
            bool involute = true;
            for (int i = 400; i-- > 1;) {
                const double rho = rf + (ra - rf) * i / 400.0;
                const double upper = thicknessAt(pair.outline[g].points, gear.z, rho) / 2.0 / rho;
                const double psi = normalRackCutPsi(cut, rho);
                ASSERT_TRUE(std::isfinite(psi) && std::isfinite(upper)) << rho;
                if (rho > rf + 0.05 * in.m) {  // on the root circle the flank runs along it
                    worst = std::max(worst, rho * std::fabs(upper - psi));
                }
                // Where the cut is the involute: within 0.0003 mn of it.
                const double alphaRho = rho > gear.db / 2.0 ? std::acos(gear.db / 2.0 / rho) : 0.0;
                const double psiInvolute = gear.s / gear.d + n.invAlpha - (std::tan(alphaRho) - alphaRho);
                involute = involute && rho > gear.db / 2.0 && rho * std::fabs(psi - psiInvolute) < 3e-4 * in.m;
                if (involute) {
                    seen[g] = rho;
                }

            }
            EXPECT_LE(worst, 0.001 * in.m) << "gear " << g + 1 << ": off the cut by " << worst / in.m << " mn";
            EXPECT_LE(seen[g], gear.dNf / 2.0 + (ra - rf) / 400.0 + 0.002 * in.m) << "gear " << g + 1;  // a step
        }
        EXPECT_NEAR(contactRatioFrom(n, seen), n.epsilonAlphaEff, 0.01);
    }
}

// A ball in a helical gear's space touches the twisted flank (the involute
// helicoid) off the transverse plane through its centre. Found here by
// minimising the distance from the ball's centre, (M - dp) / 2 from the axis
// in the space's middle ((M + dp) / 2 in a ring's space), to the helicoid,
// the transverse involute turned by z tan(beta) / r at the axial place z:
// the nearest point is dp / 2 away (M is true) and the ball's size is given
// only where that point lies on the involute, between dNf and the tip circle.
TEST(HelicalPair, TheBallTouchesTheHelicoidInsideTheTip) {
    for (const bool ring : {false, true}) {
        PairInput in = helicalPair(20, ring ? 60 : 40, 2.0, ring ? 35.0 : 40.0, 0.0, 0.0);
        in.kind = ring ? PairKind::internal : PairKind::external;
        const int k = ring ? 1 : 0;
        const PairNumbers plain = pairNumbers(in);
        const GearNumbers& g0 = plain.gear[k];
        const double rb = g0.db / 2.0;
        const double tanBeta = std::tan(in.betaDeg * degree);
        // The flank's angle on the base circle from the middle of the tooth
        // (an external gear's) or of the space (a ring's) it bounds.
        const double base = (ring ? M_PI / g0.z - g0.s / g0.d : g0.s / g0.d) + plain.invAlpha;
        const double middle = ring ? 0.0 : M_PI / g0.z;  // the space's middle, where the ball's centre is
        int disagreeing = 0;
        int onInvolute = 0;
        for (double dp = 2.0; dp <= 6.0; dp += 0.05) {
            in.pinDiameter = dp;
            const GearNumbers& g = pairNumbers(in).gear[k];
            if (g.M <= 0.0) {
                continue;  // too large to enter a ring's space
            }
            const double centre = ring ? (g.M + dp) / 2.0 : (g.M - dp) / 2.0;
            const double cx = centre * std::cos(middle);
            const double cy = centre * std::sin(middle);
            auto distance = [&](double t, double z, double* radius) {
                const double rho = rb * std::sqrt(1.0 + t * t);
                const double psi = base - (t - std::atan(t)) + z * tanBeta / (g0.d / 2.0);
                if (radius != nullptr) {
                    *radius = rho;
                }
                return std::sqrt(std::pow(rho * std::cos(psi) - cx, 2) + std::pow(rho * std::sin(psi) - cy, 2) + z * z);
            };
            // Nested golden sections: over z, the least over t.
            const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
            auto minimise = [&](auto f, double a, double b) {
                for (int i = 0; i < 100; ++i) {
                    const double x1 = b - golden * (b - a);
                    const double x2 = a + golden * (b - a);
                    if (f(x1) < f(x2)) {
                        b = x2;
                    } else {
                        a = x1;
                    }
                }
                return (a + b) / 2.0;
            };
            auto bestT = [&](double z) {
                return minimise([&](double t) { return distance(t, z, nullptr); }, 0.0, ring ? 1.0 : 2.0);
            };
            const double z = minimise([&](double zz) { return distance(bestT(zz), zz, nullptr); }, -3.0 * dp, 3.0 * dp);
            double contact = 0.0;
            EXPECT_NEAR(distance(bestT(z), z, &contact), dp / 2.0, 1e-6) << dp << (ring ? " ring" : "");
            const bool onFlank = contact <= std::max(g.da, g.dNf) / 2.0 && contact >= std::min(g.da, g.dNf) / 2.0;
            if (std::fabs(contact - g.da / 2.0) > 1e-6 && std::fabs(contact - g.dNf / 2.0) > 1e-6) {
                disagreeing += onFlank != !g.pinOffFlanks ? 1 : 0;
            }
            onInvolute += onFlank ? 1 : 0;
        }
        EXPECT_EQ(disagreeing, 0) << ring;
        EXPECT_GT(onInvolute, 5) << ring;
        EXPECT_LT(onInvolute, 80) << ring;
    }
}

TEST(HelicalPair, ContactLinesOfThePlaneOfAction) {
    // Averaged over a base pitch of turn, the total length of the contact
    // lines is b eps_alpha / cos(beta_b) (the mean contact line length of
    // ISO 6336-2); a spur pair's lines run straight across, b long each.
    PairInput in = helicalPair(12, 60, 3.0, 30.0, 0.09809, 0.0);
    in.faceWidth = 20.0;
    for (double beta : {30.0, 8.0, 0.0}) {
        in.betaDeg = beta;
        const PairNumbers n = pairNumbers(in);
        const double turnPerPitch = n.pb / (n.gear[0].db / 2.0);
        double sum = 0.0;
        const int steps = 2000;
        for (int i = 0; i < steps; ++i) {
            const ActionPlane p = actionPlane(in, n, turnPerPitch * (i + 0.5) / steps);
            sum += p.total;
            for (int j = 0; j < p.count; ++j) {
                const ContactLine& l = p.lines[j];
                EXPECT_NEAR(l.u1 - l.u0, (l.w1 - l.w0) * std::tan(n.helix.betaB), 1e-9);
                EXPECT_TRUE(l.u0 >= -1e-9 && l.u1 <= p.length + 1e-9 && l.w0 >= 0.0 && l.w1 <= 20.0 + 1e-9);
            }
            if (beta == 0.0) {
                EXPECT_NEAR(p.total, 20.0 * p.count, 1e-9);
            }
        }
        EXPECT_NEAR(sum / steps, 20.0 * n.epsilonAlphaEff / std::cos(n.helix.betaB), 2.0 * 20.0 / steps) << beta;  // a spur line jumps in or out
    }
}

// ---- The other kinds' drawings, checked from the SVG alone ----------------------------

namespace kinds {

// The subpaths of the SVG element with this id, each a list of points (y
// written as -y turned back).
std::vector<std::vector<Point2>> svgSubpaths(const std::string& svg, const std::string& id) {
    std::vector<std::vector<Point2>> subpaths;
    const std::string start = "<path id=\"" + id + "\" d=\"";
    const size_t at = svg.find(start);
    if (at == std::string::npos) {
        return subpaths;
    }
    const size_t end = svg.find('"', at + start.size());
    const std::string d = svg.substr(at + start.size(), end - at - start.size());
    size_t i = 0;
    while (i < d.size()) {
        const char c = d[i];
        if (c == 'M') {
            subpaths.emplace_back();
        }
        if (c == 'M' || c == 'L') {
            double x = 0.0;
            double y = 0.0;
            int used = 0;
            if (sscanf(d.c_str() + i + 1, "%lf %lf%n", &x, &y, &used) == 2) {
                subpaths.back().push_back(Point2{x, -y});
                i += 1 + used;
                continue;
            }
        }
        ++i;
    }
    return subpaths;
}

// In the frame of a gear centred at `centre` and turned by `turn`.
std::vector<Point2> intoFrame(const std::vector<Point2>& points, Point2 centre, double turn) {
    std::vector<Point2> out;
    const double c = std::cos(-turn);
    const double s = std::sin(-turn);
    for (const Point2& p : points) {
        const double x = p.x - centre.x;
        const double y = p.y - centre.y;
        out.push_back(Point2{c * x - s * y, s * x + c * y});
    }
    return out;
}

double smallestRadius(const std::vector<Point2>& points) {
    double r = INFINITY;
    for (const Point2& p : points) {
        r = std::min(r, std::hypot(p.x, p.y));
    }
    return r;
}

double largestRadius(const std::vector<Point2>& points) {
    double r = 0.0;
    for (const Point2& p : points) {
        r = std::max(r, std::hypot(p.x, p.y));
    }
    return r;
}

// How far the pinion (turned by theta) and the ring (turned by phase2 +
// theta z1 / z2: an internal pair turns both the same way) come into each
// other's material, and the gaps either side of the line of centres. The
// ring's material is outside its toothed outline.
Contact ringContact(const std::vector<Point2>& pinion, const std::vector<Point2>& ring, const PairGeometry& pair,
                    double theta) {
    const PairInput& in = pair.input;
    const double a = pair.numbers.a;
    const double ra1 = pair.numbers.gear[0].da / 2.0;
    const double ra2 = pair.numbers.gear[1].da / 2.0;
    auto place = [](const std::vector<Point2>& points, Point2 centre, double turn) {
        std::vector<Point2> out;
        for (const Point2& p : points) {
            out.push_back(Point2{centre.x + std::cos(turn) * p.x - std::sin(turn) * p.y,
                                 centre.y + std::sin(turn) * p.x + std::cos(turn) * p.y});
        }
        return out;
    };
    const std::vector<Point2> p1 = place(pinion, {0.0, 0.0}, theta);
    const std::vector<Point2> p2 = place(ring, {a, 0.0}, pair.phase2 + theta * in.z1 / in.z2);
    Contact contact;
    auto distanceTo = [](const Point2& p, const std::vector<Point2>& outline, const std::vector<size_t>& segments) {
        double d = INFINITY;
        for (size_t i : segments) {
            d = std::min(d, segmentDistance(p, outline[i], outline[(i + 1) % outline.size()]));
        }
        return d;
    };
    auto nearSegments = [](const std::vector<Point2>& outline, auto isNear) {
        std::vector<size_t> out;
        for (size_t i = 0; i < outline.size(); ++i) {
            if (isNear(outline[i]) || isNear(outline[(i + 1) % outline.size()])) {
                out.push_back(i);
            }
        }
        return out;
    };
    const double reach = 0.05 * in.m;
    auto nearRing = [&](const Point2& p) { return std::hypot(p.x - a, p.y) > ra2 - reach; };
    auto nearPinion = [&](const Point2& p) { return std::hypot(p.x, p.y) < ra1 + reach; };
    const std::vector<size_t> ringSegments = nearSegments(p2, nearPinion);
    const std::vector<size_t> pinionSegments = nearSegments(p1, nearRing);
    auto record = [&](const Point2& p, double distance, bool overlapping) {
        if (overlapping) {
            contact.overlap = std::max(contact.overlap, distance);
            distance = 0.0;
        }
        double& gap = p.y > 0.0 ? contact.gapAbove : contact.gapBelow;
        gap = std::min(gap, distance);
    };
    for (const Point2& p : p1) {
        if (nearRing(p)) {
            record(p, distanceTo(p, p2, ringSegments), !inside(p, p2));
        }
    }
    for (const Point2& p : p2) {
        if (nearPinion(p)) {
            record(p, distanceTo(p, p1, pinionSegments), inside(p, p1));
        }
    }
    return contact;
}

}  // namespace kinds

TEST(KindOutline, RingInvoluteRootRimAndMesh) {
    struct Case {
        PairInput input;
        bool filletWarning;     // the pinion's fillet meets the ring's tip
        bool clearanceWarning;  // the pinion's tip reaches the ring's root; the only overlaps allowed
    };
    const Case cases[] = {
        {makeInternal(30, 60, 1.0, 20.0, 0.0, 0.5), false, false},
        {makeInternal(12, 24, 1.0, 20.0, 0.0, 1.0), false, false},
        {makeInternal(16, 40, 2.0, 25.0, 0.2, 0.3), false, false},
        {makeInternal(42, 50, 1.0, 20.0, 0.0, 0.01), true, false},
        // Low angle, large shifts: a + ra1 = 22.078 mm against a root the
        // 27-tooth cutter left at 22.001 mm.
        {makeInternal(15, 40, 1.0, 14.3, 0.61, 1.19), false, true},
    };
    for (const Case& k : cases) {
        const PairInput& in = k.input;
        SCOPED_TRACE(::testing::Message() << "internal " << in.z1 << "/" << in.z2 << " m " << in.m << " alpha "
                                          << in.alphaDeg << " x " << in.x1 << "/" << in.x2);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const PairNumbers& n = pair.numbers;
        EXPECT_EQ(n.gear[0].interference, k.filletWarning);
        EXPECT_EQ(n.noTipClearance, k.clearanceWarning);
        EXPECT_FALSE(n.involuteInterference || n.trochoidInterference || n.gear[1].interference);
        const std::string svg = formatPairSvg(pair);
        const auto gear1 = kinds::svgSubpaths(svg, "gear1");
        const auto gear2 = kinds::svgSubpaths(svg, "gear2");
        ASSERT_EQ(gear1.size(), 1u);
        ASSERT_EQ(gear2.size(), 2u) << "the ring's teeth and its rim";
        EXPECT_NE(svg.find("<path id=\"gear2\" d=\"M"), std::string::npos);
        EXPECT_EQ(std::count(svg.begin(), svg.end(), 'Z'), 3 + 0) << "three closed outlines";
        const double m = in.m;
        const double alpha = in.alphaDeg * degree;
        const Point2 centre2{n.a, 0.0};
        // The ring's own frame, tooth 0 on +x.
        const std::vector<Point2> teeth = kinds::intoFrame(gear2[0], centre2, pair.phase2);
        const std::vector<Point2> rim = kinds::intoFrame(gear2[1], centre2, pair.phase2);
        // The rim: a circle 2 m outside the root circle.
        const double rimRadius = (n.gear[1].df + 4.0 * m) / 2.0;
        EXPECT_NEAR(kinds::smallestRadius(rim), rimRadius, 0.0003 * m);
        EXPECT_NEAR(kinds::largestRadius(rim), rimRadius, 0.0003 * m);
        // Tip circle da2 = d2 - 2 m (1 - x2); root circle where the cutter
        // reached: the cutting centre distance (cutter unshifted, zc teeth)
        // plus its tip radius m zc / 2 + 1.25 m.
        const double ra2 = (in.z2 - 2.0 * (1.0 - in.x2)) * m / 2.0;
        const int zc = n.zc;
        const double invW0 = 2.0 * std::tan(alpha) * in.x2 / (in.z2 - zc) + std::tan(alpha) - alpha;
        const double alphaW0 = inverseInvolute(invW0);
        const double a0 = (in.z2 - zc) * m / 2.0 * std::cos(alpha) / std::cos(alphaW0);
        const double rac = zc * m / 2.0 + 1.25 * m;
        EXPECT_NEAR(kinds::smallestRadius(teeth), ra2, 2e-5);  // mm: the SVG's rounding
        EXPECT_NEAR(kinds::largestRadius(teeth), a0 + rac, 0.001 * m);
        // The involute of the ring, from its tip circle to where the
        // cutter's tip corner generated it: the ring's tooth half angle at
        // rho is s2 / d2 - inv(alpha) + inv(alpha_rho).
        const double rb2 = in.z2 * m * std::cos(alpha) / 2.0;
        const double rbc = zc * m * std::cos(alpha) / 2.0;
        const double involuteEnd =
            std::hypot(rb2, std::sqrt(rac * rac - rbc * rbc) + a0 * std::sin(alphaW0)) - 0.01 * m;
        const double s2 = m * (M_PI / 2.0 - 2.0 * in.x2 * std::tan(alpha));
        const double d2 = in.z2 * m;
        // (The SVG's 5 decimals leave the tip arc's points 1e-5 mm about the
        // tip circle: the flank is taken from 0.0002 m above it.)
        const std::vector<Polar> flank = flankSamples(teeth, in.z2, ra2 + 0.0002 * m, involuteEnd);
        ASSERT_GT(flank.size(), 3u);
        double worst = 0.0;
        for (const Polar& q : flank) {
            const double alphaRho = std::acos(rb2 / q.rho);
            const double psi = s2 / d2 - (std::tan(alpha) - alpha) + (std::tan(alphaRho) - alphaRho);
            worst = std::max(worst, std::fabs(rb2 * (q.psi - psi)));
        }
        EXPECT_LE(worst, 0.001 * m) << "the ring's involute off by " << worst / m << " m";
        // The thickness on the reference circle (or, where that is the tip
        // circle, just outside it).
        const double rhoT = std::max(d2 / 2.0, ra2 + 0.05 * m);
        const double alphaT = std::acos(rb2 / rhoT);
        EXPECT_NEAR(thicknessAt(teeth, in.z2, rhoT),
                    2.0 * rhoT * (s2 / d2 - (std::tan(alpha) - alpha) + (std::tan(alphaT) - alphaT)), 0.001 * m);
        // Beyond the involute, the cutter corner's path leaves the root
        // fillet: never inside the involute's extension (material kept).
        for (const Polar& q : flankSamples(teeth, in.z2, involuteEnd, a0 + rac - 0.001 * m)) {
            const double alphaRho = std::acos(rb2 / q.rho);
            const double psi = s2 / d2 - (std::tan(alpha) - alpha) + (std::tan(alphaRho) - alphaRho);
            EXPECT_GE(rb2 * (q.psi - psi), -0.001 * m) << q.rho;
        }
        // In mesh with zero backlash: touching on both flanks, no overlap
        // through a whole pitch unless the fillet warning names it.
        const std::vector<Point2> pinion = gear1[0];
        const std::vector<Point2> ringTeeth = teeth;
        const Contact start = kinds::ringContact(pinion, ringTeeth, pair, 0.0);
        EXPECT_LE(start.gapAbove, 0.001 * m) << "drive flanks apart";
        EXPECT_LE(start.gapBelow, 0.001 * m) << "backlash on the other flanks";
        double overlap = start.overlap;
        for (int step = 1; step < 12; ++step) {
            overlap = std::max(overlap, kinds::ringContact(pinion, ringTeeth, pair, 2.0 * M_PI / in.z1 * step / 12.0).overlap);
        }
        if (k.filletWarning || k.clearanceWarning) {
            EXPECT_GT(overlap, 0.01 * m) << "the warned interference is not there";
        } else {
            EXPECT_LE(overlap, 0.001 * m);
        }
    }
}

// Backlash of an internal pair: a kept, jt = jn / cos(alpha_w), the ring's
// teeth thinned by jt / 2 on its working pitch circle (the SVG's outline,
// measured against the same ring without backlash).
TEST(KindOutline, InternalBacklashThinsTheRing) {
    const PairInput tight = makeInternal(30, 60, 1.0, 20.0, 0.0, 0.5);
    PairInput loose = tight;
    loose.backlash = 0.2;
    PairGeometry pair[2];
    buildPairGeometry(tight, pair[0]);
    buildPairGeometry(loose, pair[1]);
    const PairNumbers& n = pair[1].numbers;
    EXPECT_EQ(n.a, pair[0].numbers.a);
    EXPECT_NEAR(n.jt, 0.2 / std::cos(n.alphaW), 1e-12);
    EXPECT_NEAR(n.gear[1].dw, 2.0 * n.a * 60 / 30, 1e-12);
    EXPECT_NEAR(n.gear[0].sa, pair[0].numbers.gear[0].sa - n.jt / 2.0 * n.gear[0].da / n.gear[0].dw, 1e-12);
    EXPECT_NEAR(n.gear[1].sa, pair[0].numbers.gear[1].sa - n.jt / 2.0 * n.gear[1].da / n.gear[1].dw, 1e-12);
    double thickness[2];
    const double rho = n.gear[1].dw / 2.0;
    for (int i = 0; i < 2; ++i) {
        const auto gear2 = kinds::svgSubpaths(formatPairSvg(pair[i]), "gear2");
        ASSERT_EQ(gear2.size(), 2u);
        thickness[i] = thicknessAt(kinds::intoFrame(gear2[0], Point2{n.a, 0.0}, pair[i].phase2), 60, rho);
    }
    EXPECT_NEAR(thickness[0] - thickness[1], n.jt / 2.0, 0.0005);
    EXPECT_NE(formatPairReport(n).find("\n法線方向バックラッシ jn = 0.2000 mm"), std::string::npos);
}

TEST(KindOutline, RackStraightFlanksAndMesh) {
    // The last with backlash: pinion and rack each thinned by jt / 2, the
    // play jn / 2 on each side of the tooth at the bottom.
    PairInput played = makeRack(12, 3.0, 20.0, 0.6);
    played.backlash = 0.3;
    for (const PairInput& in :
         {makeRack(12, 3.0, 20.0, 0.6), makeRack(20, 1.0, 25.0, 0.0), makeRack(9, 2.0, 20.0, 0.5), played}) {
        SCOPED_TRACE(::testing::Message() << "rack, pinion " << in.z1 << " m " << in.m << " alpha " << in.alphaDeg
                                          << " x1 " << in.x1 << " jn " << in.backlash);
        ASSERT_EQ(checkPair(in).field, PairField::none);
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const PairNumbers& n = pair.numbers;
        const std::string svg = formatPairSvg(pair);
        const auto rack = kinds::svgSubpaths(svg, "rack");
        ASSERT_EQ(rack.size(), 1u);
        EXPECT_EQ(kinds::svgSubpaths(svg, "gear2").size(), 0u);
        EXPECT_NE(svg.find("<g id=\"RACK\""), std::string::npos);
        const std::vector<Point2>& r = rack[0];
        const double m = in.m;
        const double datum = -(in.z1 * m / 2.0 + in.x1 * m);  // the datum line, below the pinion
        const double tanA = std::tan(in.alphaDeg * degree);
        double left = INFINITY;
        double right = -INFINITY;
        int flanks = 0;
        for (size_t i = 0; i < r.size(); ++i) {
            const Point2& p = r[i];
            const Point2& q = r[(i + 1) % r.size()];
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            // Every point on the tip line, the root line, the back edge or
            // an end.
            const bool onLine = std::fabs(p.y - (datum + m)) < 1e-4 * m || std::fabs(p.y - (datum - 1.25 * m)) < 1e-4 * m ||
                                std::fabs(p.y - (datum - 3.0 * m)) < 1e-4 * m;
            const bool onEnd = std::fabs(std::fabs(p.x) - std::fabs(r.front().x)) < 1e-4 * m;
            EXPECT_TRUE(onLine || onEnd) << p.x << " " << p.y;
            // Every slanted segment is a flank at alpha from the vertical.
            if (std::fabs(q.y - p.y) > 1e-6 * m && std::fabs(q.x - p.x) > 1e-6 * m) {
                EXPECT_NEAR(std::fabs(q.x - p.x) / std::fabs(q.y - p.y), tanA, 1e-4);
                ++flanks;
            }
        }
        // The path of contact lies within the pinion's tip circle: the rack
        // reaches a pitch beyond it on each side.
        const double ra1 = n.gear[0].da / 2.0;
        EXPECT_LE(left, -(ra1 + M_PI * m));
        EXPECT_GE(right, ra1 + M_PI * m);
        EXPECT_GE(flanks, 2 * static_cast<int>(2.0 * (ra1 + M_PI * m) / (M_PI * m)));
        // In mesh with zero backlash: the pinion touches both flanks of the
        // rack space below it and never enters the rack, the rack sliding
        // r1 theta as the pinion turns by theta.
        const std::vector<Point2> pinion = kinds::svgSubpaths(svg, "gear1")[0];
        const double r1 = in.z1 * m / 2.0;
        double worst = 0.0;
        for (int step = 0; step < 24; ++step) {
            const double theta = 2.0 * M_PI / in.z1 * step / 24.0;
            std::vector<Point2> turned;
            for (const Point2& p : pinion) {
                turned.push_back(Point2{std::cos(theta) * p.x - std::sin(theta) * p.y,
                                        std::sin(theta) * p.x + std::cos(theta) * p.y});
            }
            std::vector<Point2> moved = r;
            for (Point2& p : moved) {
                p.x += r1 * theta;
            }
            std::vector<size_t> all(moved.size());
            for (size_t i = 0; i < all.size(); ++i) {
                all[i] = i;
            }
            Contact c;
            std::vector<Point2> low;
            for (const Point2& p : turned) {
                if (p.y < datum + 1.05 * m) {
                    low.push_back(p);
                }
            }
            measure(low, moved, all, c);
            worst = std::max(worst, c.overlap);
            if (step == 0) {
                // Both sides of the tooth or space at the bottom: x < 0 and x > 0.
                double gapLeft = INFINITY;
                double gapRight = INFINITY;
                for (const Point2& p : low) {
                    double d = INFINITY;
                    for (size_t i : all) {
                        d = std::min(d, segmentDistance(p, moved[i], moved[(i + 1) % moved.size()]));
                    }
                    if (std::fabs(p.x) < M_PI * m) {
                        (p.x < 0.0 ? gapLeft : gapRight) = std::min(p.x < 0.0 ? gapLeft : gapRight, d);
                    }
                }
                EXPECT_NEAR(gapLeft, in.backlash / 2.0, 0.001 * m);
                EXPECT_NEAR(gapRight, in.backlash / 2.0, 0.001 * m);
            }
        }
        EXPECT_LE(worst, 0.001 * m);
    }
}


// Scene 9's cutter: at every cutting angle the pinion-type cutter stands in
// the ring's spaces, its flanks on the ring's, never in the ring's material
// (outside the toothed outline).
TEST(KindOutline, PinionCutterEnvelopsTheRing) {
    for (const PairInput& in : {makeInternal(30, 60, 1.0, 20.0, 0.0, 0.5), makeInternal(42, 50, 2.0, 20.0, 0.0, 0.01),
                                makeInternal(12, 24, 1.0, 20.0, 0.0, 1.0)}) {
        SCOPED_TRACE(::testing::Message() << "ring " << in.z2 << " x2 " << in.x2);
        PairGeometry pair;
        buildPairGeometry(in, pair);
        const int zc = pair.numbers.zc;
        const double m = in.m;
        const double phiUp = M_PI / 2.0 - M_PI / in.z2;  // a ring space facing the cutter's centre
        std::vector<Point2> cutter;
        pinionCutterOutline(pair.numbers.section, zc, cutter);
        EXPECT_NEAR(kinds::largestRadius(cutter), zc * m / 2.0 + 1.25 * m, 1e-9 * m);
        for (int step = -8; step <= 8; ++step) {
            const double phi = phiUp + step * (2.0 * M_PI / in.z2) / 8.0;
            pinionCutterOutlineAt(pair.numbers.section, zc, phi, cutter);
            const std::vector<Point2> ring = kinds::intoFrame(pair.outline[1].points, {0.0, 0.0}, -phi);
            // The ring's segments within the cutter's reach, and the cutter's
            // points among the ring's teeth. The outline runs
            // counter-clockwise: its inside (the spaces, free of material)
            // lies to the left of the nearest segment.
            const double ra2 = pair.numbers.gear[1].da / 2.0;
            const double reach = zc * m / 2.0 + 4.0 * m;
            const double a0 = ringCutting(pair.numbers.section, zc).a0;
            std::vector<size_t> near;
            for (size_t i = 0; i < ring.size(); ++i) {
                const Point2& next = ring[(i + 1) % ring.size()];
                if (std::hypot(ring[i].x, ring[i].y - a0) < reach || std::hypot(next.x, next.y - a0) < reach) {
                    near.push_back(i);
                }
            }
            double deepest = 0.0;
            double nearest = INFINITY;
            for (const Point2& p : cutter) {
                if (std::hypot(p.x, p.y) < ra2 - 0.05 * m) {
                    continue;
                }
                double d = INFINITY;
                double side = 0.0;
                for (size_t i : near) {
                    const Point2& a = ring[i];
                    const Point2& b = ring[(i + 1) % ring.size()];
                    const double di = segmentDistance(p, a, b);
                    if (di < d) {
                        d = di;
                        side = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
                    }
                }
                nearest = std::min(nearest, d);
                if (side < 0.0) {
                    deepest = std::max(deepest, d);
                }
            }
            EXPECT_LE(deepest, 0.001 * m) << "phi step " << step;
            if (step == 0) {
                EXPECT_LE(nearest, 0.001 * m) << "the cutter does not touch the ring";
            }
        }
    }
}



// ---- Effective contact, warnings at their edges, refusals and their cures ----

// Where the drawn involute of gear g really starts: the lowest radius from
// which every point of tooth 0's flank, as the outline traces it before
// thinning, lies within `tolerance` of the true involute up to the tip.
double drawnInvoluteStart(const PairGeometry& pair, int g, double tolerance) {
    const GearNumbers& gear = pair.numbers.gear[g];
    std::vector<Point2> flank;
    traceToothFlank(g, pair.numbers, 4800, flank);
    double start = gear.da / 2.0;
    for (size_t i = flank.size(); i-- > 0;) {
        const Polar q = polar(flank[i]);
        if (q.rho < gear.db / 2.0 ||
            std::fabs(involuteDistance(q, gear.s, gear.d, gear.db / 2.0, pair.numbers.alpha)) > tolerance) {
            break;
        }
        start = q.rho;
    }
    return start;
}

// The effective contact ratio from given involute starts: along the line of
// action from T1, contact from where gear 2's tip circle or gear 1's
// involute start is reached, whichever is later, to where gear 1's tip
// circle or gear 2's involute start is, whichever is sooner.
double contactRatioFrom(const PairNumbers& n, const double start[2]) {
    double reach[2];
    double fromT[2];
    for (int g = 0; g < 2; ++g) {
        const double rb = n.gear[g].db / 2.0;
        reach[g] = std::sqrt(std::pow(n.gear[g].da / 2.0, 2) - rb * rb);
        fromT[g] = std::sqrt(std::max(0.0, start[g] * start[g] - rb * rb));
    }
    const double span = n.a * std::sin(n.alphaW);
    return std::max(0.0, std::min(reach[0], span - fromT[1]) - std::max(span - reach[1], fromT[0])) / n.pb;
}

TEST(PairNumbers, EffectiveContactRatioWhereTheDrawnInvolutesMeet) {
    struct Case {
        PairInput input;
        double nominal;    // ga / pb between the tip circles
        double effective;  // where both flanks are the involutes the rack left
        bool clipped[2];   // the path cut at gear 1's / gear 2's involute start
    };
    const Case cases[] = {
        // Undercut pinions: the mate's tip reaches below the neck's corner.
        {makePair(8, 30, 1.0, 20.0, 0.0, 0.0), 1.4802, 0.9128, {true, false}},
        {makePair(6, 40, 1.0, 20.0, 0.0, 0.0), 1.4705, 0.7340, {true, false}},
        {makePair(10, 30, 1.0, 20.0, 0.0, 0.0), 1.5115, 1.0927, {true, false}},
        // T1T2 is 0.67 mm: the involutes the rack leaves never reach each other.
        {makePair(100, 100, 1.0, 10.0, -0.5087, -0.5087), 5.3654, 0.0, {true, true}},
        // Whole involutes: nothing to clip.
        {makePair(20, 20, 1.0, 20.0, 1.2, 1.2), 0.9047, 0.9047, {false, false}},
        {makePair(12, 24, 3.0, 20.0, 0.6, 0.36), 1.2021, 1.2021, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "z " << c.input.z1 << "/" << c.input.z2 << " alpha " << c.input.alphaDeg
                                          << " x " << c.input.x1 << "/" << c.input.x2);
        ASSERT_EQ(checkPair(c.input).field, PairField::none);
        PairGeometry pair;
        buildPairGeometry(c.input, pair);
        const PairNumbers& n = pair.numbers;
        expectRoundsTo(n.epsilonAlpha, c.nominal, 4, "nominal");
        expectRoundsTo(n.epsilonAlphaEff, c.effective, 4, "effective");
        EXPECT_EQ(n.gear[0].interference, c.clipped[0]);
        EXPECT_EQ(n.gear[1].interference, c.clipped[1]);
        EXPECT_EQ(n.cannotRun, c.effective < 1.0);
        // The same from where the outline's involute is seen to start: the
        // highest point off the involute by more than the outline's
        // accuracy (the fillet leaves the involute tangentially, so it is
        // seen a little lower than dNf, never higher).
        double seen[2];
        for (int g = 0; g < 2; ++g) {
            seen[g] = drawnInvoluteStart(pair, g, 0.0002 * c.input.m);
            EXPECT_LE(seen[g], n.gear[g].dNf / 2.0 + 0.0005 * c.input.m) << "gear " << g + 1;
            if (n.gear[g].undercut) {
                // The undercut corner is sharp: seen where it is.
                EXPECT_NEAR(seen[g], n.gear[g].dNf / 2.0, 0.001 * c.input.m) << "gear " << g + 1;
            }
        }
        EXPECT_NEAR(contactRatioFrom(n, seen), n.epsilonAlphaEff, 0.01);
    }
}

// Just past the undercut limit the involute starts a hair above the base
// circle; taken to start on it, epsilonAlphaEff jumped (by 0.008 for 17
// teeth against 100, more where the mate's tip reaches deeper). Through
// x1 = xmin1 in steps of 0.0005 it changes by no more than the step's share
// (up to 0.0013 here), for external, rack and internal pinions alike.
TEST(PairNumbers, EffectiveContactRatioSmoothThroughTheUndercutLimit) {
    for (PairKind kind : {PairKind::external, PairKind::rack, PairKind::internal}) {
        for (int z1 : {8, 10, 14, 17}) {
            PairInput in = makePair(z1, 100, 1.0, 20.0, 0.0, kind == PairKind::external ? 0.0 : 0.5);
            in.kind = kind;
            const double xmin = 1.0 - z1 * std::pow(std::sin(20.0 * degree), 2) / 2.0;
            double previous = NAN;
            double previousStart = NAN;
            for (int k = -200; k <= 20; ++k) {
                in.x1 = xmin + 0.0005 * k;
                SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind) << " z1 " << z1 << " x1 "
                                                  << in.x1);
                ASSERT_EQ(checkPair(in).field, PairField::none);
                const PairNumbers n = pairNumbers(in);
                if (!std::isnan(previous)) {
                    EXPECT_LT(std::fabs(n.epsilonAlphaEff - previous), 0.002);
                }
                if (k < 0) {
                    // Undercut: the involute starts above db, ever nearer it.
                    EXPECT_GT(n.gear[0].dNf, n.gear[0].db);
                    EXPECT_TRUE(std::isnan(previousStart) || n.gear[0].dNf < previousStart);
                } else if (k == 0) {
                    EXPECT_NEAR(n.gear[0].dNf, n.gear[0].db, 1e-6 * in.m);
                }
                previous = n.epsilonAlphaEff;
                previousStart = n.gear[0].dNf;
            }
        }
    }
}

// The report's lines for the effective contact ratio and its reason.
TEST(PairNumbers, ReportGivesTheEffectiveContactRatioAndWhy) {
    const std::string report = formatPairReport(pairNumbers(makePair(8, 30, 1.0, 20.0, 0.0, 0.0)));
    EXPECT_NE(report.find("\n正面かみ合い率 εα = 1.4802\n有効かみ合い率 εα_eff = 0.9128\n"
                          "（歯車1のインボリュートは直径 7.6136 mm から始まり、歯車2の歯先はそれより歯元側まで届きます）\n"),
              std::string::npos)
        << report;
    const std::string whole = formatPairReport(pairNumbers(makePair(12, 24, 3.0, 20.0, 0.6, 0.36)));
    EXPECT_NE(whole.find("\n有効かみ合い率 εα_eff = 1.2021\n基準円歯厚"), std::string::npos) << whole;
}

TEST(PairNumbers, EachWarningAtItsEdge) {
    struct Edge {
        const char* what;
        PairInput inside;   // just short of the warning
        PairInput outside;  // just past it
        bool (*flag)(const PairNumbers&);
        const char* line;   // the report's warning line
    };
    const Edge edges[] = {
        // Effective contact ratio 1.00005 / 0.99995.
        {"cannot run", makePair(20, 20, 1.0, 20.0, 1.0104, 1.0104), makePair(20, 20, 1.0, 20.0, 1.0106, 1.0106),
         [](const PairNumbers& n) { return n.cannotRun; }, "\n警告: 有効かみ合い率が 1 未満です（連続してかみ合えません）"},
        // 1.10005 / 1.09995.
        {"low contact", makePair(20, 20, 1.0, 20.0, 0.8140, 0.8140), makePair(20, 20, 1.0, 20.0, 0.8142, 0.8142),
         [](const PairNumbers& n) { return n.lowContactRatio; }, "\n警告: 有効かみ合い率が 1.1 未満です"},
        // Gear 2's tip reaches gear 1's undercut corner at x1 = 0.31631 and
        // 0.001 m past it, the depth every kind neglects, at 0.31556.
        {"interference", makePair(10, 30, 1.0, 20.0, 0.3156, 0.0), makePair(10, 30, 1.0, 20.0, 0.3155, 0.0),
         [](const PairNumbers& n) { return n.gear[0].interference; },
         "\n警告: 歯車1の歯元で干渉が生じます（相手の歯先がインボリュートの始まりより歯元側に当たります）"},
        // xmin1 = 1 - 10 sin^2(20 deg) / 2 = 0.41511.
        {"undercut", makePair(10, 30, 1.0, 20.0, 0.4152, 0.0), makePair(10, 30, 1.0, 20.0, 0.4150, 0.0),
         [](const PairNumbers& n) { return n.gear[0].undercut; },
         "\n警告: 歯車1にアンダーカットが生じます（転位係数が x1 < xmin1）"},
        // sa1 = 0.25007 / 0.24993 mm.
        {"thin tip", makePair(10, 30, 1.0, 20.0, 0.5284, 0.0), makePair(10, 30, 1.0, 20.0, 0.5287, 0.0),
         [](const PairNumbers& n) { return n.gear[0].thinTip; },
         "\n警告: 歯車1の歯先が薄すぎます（歯先歯厚が 0.25m 未満）"},
        // The undercut neck 0.25016 / 0.24984 mm across.
        {"thin neck", makePair(6, 40, 1.0, 20.0, -0.5406, 0.0), makePair(6, 40, 1.0, 20.0, -0.5409, 0.0),
         [](const PairNumbers& n) { return n.gear[0].thinNeck; },
         "\n警告: 歯車1の歯はアンダーカットで切れかけています（くびれの歯厚 0.2498 mm が 0.25m 未満）"},
    };
    for (const Edge& e : edges) {
        SCOPED_TRACE(e.what);
        const PairNumbers in = pairNumbers(e.inside);
        const PairNumbers out = pairNumbers(e.outside);
        EXPECT_FALSE(e.flag(in));
        EXPECT_TRUE(e.flag(out));
        EXPECT_EQ(checkPair(e.inside).field, PairField::none);
        EXPECT_EQ(checkPair(e.outside).field, PairField::none);
        const std::string line = e.line;
        const std::string warned = formatPairReport(out);
        EXPECT_NE(warned.find(line + "\n"), std::string::npos) << warned;
        // The warning's own words (the neck's width aside) are absent inside.
        EXPECT_EQ(formatPairReport(in).find(line.substr(0, line.find("（"))), std::string::npos);
    }
    // Below 1 only the stronger warning.
    EXPECT_EQ(formatPairReport(pairNumbers(makePair(20, 20, 1.0, 20.0, 1.2, 1.2))).find("1.1 未満"), std::string::npos);

    // The severed neck is refused: 6 teeth at x1 = -0.6963 keep a neck of
    // 0.0019 mm, within the outline's accuracy of meeting; at -0.6962 a
    // hair of 0.0022 mm is left (and warned of).
    const PairCheck severed = checkPair(makePair(6, 40, 1.0, 20.0, -0.6963, 0.0));
    EXPECT_EQ(severed.field, PairField::x1);
    EXPECT_EQ(severed.message,
              "the undercut cuts through the neck of gear 1's teeth (its two flanks cross: the outline would cross "
              "itself); with the other values as they are, x1 must be -0.6962 to 0.4681");
    EXPECT_EQ(checkPair(makePair(6, 40, 1.0, 20.0, -0.6962, 0.0)).field, PairField::none);
    EXPECT_TRUE(pairNumbers(makePair(6, 40, 1.0, 20.0, -0.6962, 0.0)).gear[0].thinNeck);
}

bool segmentsCross(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
    auto side = [](const Point2& p, const Point2& q, const Point2& r) {
        return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
    };
    // Proper crossings only, by more than 1e-12 of the coordinates: segments
    // that merely share an end (a root arc of no length) are not crossed by
    // rounding.
    const double e = 1e-12 * (std::fabs(a.x) + std::fabs(a.y) + std::fabs(c.x) + std::fabs(c.y)) *
                     (std::hypot(b.x - a.x, b.y - a.y) + std::hypot(d.x - c.x, d.y - c.y));
    const double d1 = side(c, d, a);
    const double d2 = side(c, d, b);
    const double d3 = side(a, b, c);
    const double d4 = side(a, b, d);
    return ((d1 > e && d2 < -e) || (d1 < -e && d2 > e)) && ((d3 > e && d4 < -e) || (d3 < -e && d4 > e));
}

// Does a polyline whose radius only rises cross another such polyline? Only
// segments that share radii can meet; both are walked together.
bool risingCross(const std::vector<Point2>& p, const std::vector<Point2>& q) {
    auto rho = [](const Point2& v) { return std::hypot(v.x, v.y); };
    size_t j = 0;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const double lo = rho(p[i]);
        const double hi = rho(p[i + 1]);
        while (j + 1 < q.size() && rho(q[j + 1]) < lo) {
            ++j;
        }
        for (size_t k = j; k + 1 < q.size() && rho(q[k]) <= hi; ++k) {
            if (segmentsCross(p[i], p[i + 1], q[k], q[k + 1])) {
                return true;
            }
        }
    }
    return false;
}

// Whether a closed outline crosses itself: the edges in order of their
// least x, each against those after it that begin before it ends in x.
bool closedOutlineCrossesItself(const std::vector<Point2>& p) {
    const size_t n = p.size();
    auto end = [&](size_t i) { return p[(i + 1) % n]; };
    std::vector<size_t> edges(n);
    for (size_t i = 0; i < n; ++i) {
        edges[i] = i;
    }
    std::sort(edges.begin(), edges.end(),
              [&](size_t a, size_t b) { return std::min(p[a].x, end(a).x) < std::min(p[b].x, end(b).x); });
    for (size_t i = 0; i < n; ++i) {
        const size_t a = edges[i];
        for (size_t j = i + 1; j < n && std::min(p[edges[j]].x, end(edges[j]).x) <= std::max(p[a].x, end(a).x); ++j) {
            const size_t b = edges[j];
            if ((a + 1) % n != b && (b + 1) % n != a && segmentsCross(p[a], end(a), p[b], end(b))) {
                return true;
            }
        }
    }
    return false;
}

// Whether gear g's outline crosses itself, from tooth 0's flank traced
// from `samples` cutter points: its two flanks (the clockwise one the
// mirror image), the next tooth's clockwise flank, and the tip and root
// chords between them.
bool outlineCrossesItself(const PairInput& in, const PairNumbers& n, int g, int samples) {
    std::vector<Point2> traced;
    traceToothFlank(g, n, samples, traced);
    // A sharp-tipped rack cuts the root from one point: drop repeats (closer
    // than 1e-6 m, far below the outline's accuracy).
    std::vector<Point2> ccw;
    for (const Point2& p : traced) {
        if (ccw.empty() || std::hypot(p.x - ccw.back().x, p.y - ccw.back().y) > 1e-6 * in.m) {
            ccw.push_back(p);
        }
    }
    const int z = g == 0 ? in.z1 : in.z2;
    const double turn = 2.0 * M_PI / z;
    std::vector<Point2> cw;
    std::vector<Point2> next;
    for (const Point2& p : ccw) {
        cw.push_back(Point2{p.x, -p.y});
        next.push_back(Point2{std::cos(turn) * p.x + std::sin(turn) * p.y, std::sin(turn) * p.x - std::cos(turn) * p.y});
    }
    if (risingCross(ccw, cw) || risingCross(ccw, next)) {
        return true;
    }
    // The tooth's tip chord and the root chord to the next tooth against
    // every flank segment.
    const Point2 chords[2][2] = {{cw.back(), ccw.back()}, {ccw.front(), next.front()}};
    for (const auto& chord : chords) {
        for (const std::vector<Point2>* flank : {&ccw, &cw, &next}) {
            for (size_t i = 1; i + 2 < flank->size(); ++i) {
                if (segmentsCross(chord[0], chord[1], (*flank)[i], (*flank)[i + 1])) {
                    return true;
                }
            }
        }
    }
    // Both flanks on their own side of the tooth's middle at the tip, or
    // the tip chord is no tooth.
    return ccw.back().y <= 0.0;
}

TEST(PairCheck, RefusalsNameTheCureAndEveryValueOfItIsAccepted) {
    struct Case {
        PairInput input;
        PairField field;
        const char* message;
    };
    const Case cases[] = {
        // The undercut neck cut through: the outline crosses itself.
        {makePair(4, 33, 1.0, 29.87, -0.64, 0.57), PairField::x1,
         "the undercut cuts through the neck of gear 1's teeth (its two flanks cross: the outline would cross "
         "itself); with the other values as they are, x1 must be -0.4112 to -0.0033"},
        // Pointed at x1 = 1.5, but not for every x1.
        {makePair(12, 24, 1.0, 20.0, 1.5, -1.0), PairField::x1,
         "gear 1's teeth are pointed (tip thickness sa1 = -0.6841 mm); with the other values as they are, x1 must be "
         "0.2630 to 0.8331"},
        // 35 degrees alone: the shift is the cure, not the culprit.
        {makePair(10, 30, 1.0, 35.0, 0.0, 0.0), PairField::x1,
         "gear 1's teeth are pointed (tip thickness sa1 = -0.0559 mm); with the other values as they are, x1 must be "
         "-1.0000 to -0.1230"},
        {makePair(20, 20, 1.0, 20.0, -0.5, -0.5), PairField::x1,
         "x1 + x2 = -1 leaves the pair no working pressure angle (the base circles would touch; with these teeth "
         "x1 + x2 must be above -0.8189); with the other values as they are, x1 must be -0.3189 to 1.4840"},
    };
    for (const Case& c : cases) {
        const PairCheck check = checkPair(c.input);
        EXPECT_EQ(check.field, c.field) << check.message;
        if (c.message != nullptr) {
            EXPECT_EQ(check.message, c.message);
        }
        EXPECT_EQ(check.message, check.problem + "; with the other values as they are, " + check.cure);
    }

    // The real outline of 4 teeth at 29.87 degrees crosses itself where it is
    // refused and not at the ends of the cure.
    PairInput severed = makePair(4, 33, 1.0, 29.87, -0.64, 0.57);
    EXPECT_TRUE(outlineCrossesItself(severed, pairNumbers(severed), 0, 4800));
    for (double x1 : {-0.4112, -0.0033}) {
        severed.x1 = x1;
        EXPECT_FALSE(outlineCrossesItself(severed, pairNumbers(severed), 0, 4800)) << x1;
    }
}

// Random pairs of every kind (fixed seed), small teeth and extreme values
// favoured: no accepted pair has an outline that crosses itself (an
// external pair's traced, the others' as drawn) or reports a negative tip
// thickness, and every value of a refusal's cure is accepted.
TEST(PairCheck, RandomSweepAcceptsNoCrossedOutlineAndEveryCure) {
    std::mt19937 random(18);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto teeth = [&](int most) { return 4 + static_cast<int>(std::pow(unit(random), 3.0) * (most - 4)); };
    auto shift = [&] { return std::round((-1.0 + 2.5 * unit(random)) * 1e4) / 1e4; };
    const PairKind kinds[3] = {PairKind::external, PairKind::internal, PairKind::rack};
    int accepted[3] = {};
    int cured[3] = {};
    int uncured = 0;
    for (int k = 0; k < 2400; ++k) {
        const int kind = k % 3;
        const int most = kind == 0 ? 400 : 60;  // the others' outlines are drawn whole
        PairInput in = makePair(teeth(most), teeth(most), 1.0, std::round((10.0 + 25.0 * unit(random)) * 100.0) / 100.0,
                                shift(), shift());
        in.kind = kinds[kind];
        if (in.kind == PairKind::internal) {
            in.z2 = in.z1 + teeth(100) - 3;
            in.cutterTeeth = unit(random) < 0.2 ? std::min(maxCutterTeeth, teeth(in.z2) + 4) : 0;
        }
        in.backlash = unit(random) < 0.3 ? 0.0 : std::round(unit(random) * 0.25 * 1e4) / 1e4;
        SCOPED_TRACE(::testing::Message() << "kind " << kind << " z " << in.z1 << "/" << in.z2 << " alpha "
                                          << in.alphaDeg << " x " << in.x1 << "/" << in.x2 << " jn " << in.backlash
                                          << " zc " << in.cutterTeeth);
        const PairCheck check = checkPair(in);
        if (check.field == PairField::none) {
            ++accepted[kind];
            const PairNumbers n = pairNumbers(in);
            PairGeometry pair;
            if (kind != 0) {
                buildPairGeometry(in, pair);
            }
            for (int g = 0; g < 2; ++g) {
                EXPECT_FALSE(kind == 0 ? outlineCrossesItself(in, n, g, 180)
                                       : closedOutlineCrossesItself(pair.outline[g].points))
                    << "gear " << g + 1;
            }
            const std::string report = formatPairReport(n);
            EXPECT_EQ(report.find("sa1 = -"), std::string::npos) << report;
            EXPECT_EQ(report.find("sa2 = -"), std::string::npos) << report;
            continue;
        }
        if (check.field == PairField::cutter) {
            continue;  // names the cutters that can, no range of a shift or angle
        }
        ASSERT_NE(check.problem, "") << check.message;
        if (check.cure.empty()) {
            ++uncured;
            continue;
        }
        ++cured[kind];
        double PairInput::*field = check.field == PairField::x1   ? &PairInput::x1
                                   : check.field == PairField::x2 ? &PairInput::x2
                                                                  : &PairInput::alphaDeg;
        const double lo = check.cureLo;
        const double hi = check.cureHi;
        for (int i = 0; i <= 10; ++i) {
            // Both ends, the middle and a random point in each other tenth.
            PairInput trial = in;
            trial.*field =
                i == 0 ? lo : i == 5 ? (lo + hi) / 2.0 : i == 10 ? hi : lo + (hi - lo) * (i + unit(random)) / 10.0;
            EXPECT_EQ(checkPair(trial).field, PairField::none) << check.message << ": refused at " << trial.*field;
        }
    }
    // The sweep reaches all three outcomes, for every kind.
    for (int kind = 0; kind < 3; ++kind) {
        EXPECT_GT(accepted[kind], 150) << kind;
        EXPECT_GT(cured[kind], 100) << kind;
    }
    EXPECT_GT(uncured, 0);
    std::printf("sweep: %d/%d/%d accepted, %d/%d/%d refused with a cure, %d without\n", accepted[0], accepted[1],
                accepted[2], cured[0], cured[1], cured[2], uncured);
}

// ---- Working pitch circles, backlash and inspection sizes ----------------------

TEST(PairNumbers, WorkingPitchCirclesAndInspectionSizesAgainstPublishedExamples) {
    // The 12/24 teeth, m = 3, x = 0.6/0.36 pair as tabulated by bolsover.com
    // ("Profile Shifted External Spur Gears"): working pitch diameters 37.667
    // and 75.333 mm, centre distance increment factor y = 0.83333 (for a
    // rounded to 56.500 mm; 0.8333 from the shifts).
    const PairNumbers shifted = pairNumbers(makePair(12, 24, 3.0, 20.0, 0.6, 0.36));
    expectRoundsTo(shifted.gear[0].dw, 37.667, 3, "dw1");
    expectRoundsTo(shifted.gear[1].dw, 75.333, 3, "dw2");
    expectRoundsTo(shifted.y, 0.833, 3, "y");
    EXPECT_DOUBLE_EQ(shifted.i, 2.0);

    // Span measurement, the worked example of MachineCalcs' "Span Measurement
    // Over Teeth Calculator": 20 teeth, m = 2 mm, 20 degrees, no shift:
    // k = round(20 / 9 + 0.5) = 3, W = 15.321 mm, the jaws touching on
    // diameter 40.59 mm.
    const GearNumbers g = pairNumbers(makePair(20, 40, 2.0, 20.0, 0.0, 0.0)).gear[0];
    EXPECT_EQ(g.k, 3);
    expectRoundsTo(g.W, 15.321, 3, "W");
    expectRoundsTo(std::hypot(g.db, g.W), 40.59, 2, "contact diameter");

    // Over pins: the pin of the usual rule touches the flanks on the
    // reference circle, and for an even tooth count M = db / cos(phi) + dp
    // with phi = alpha + eta (eta = pi / (2 z) unshifted): 20 teeth, m = 2,
    // phi = 20 + 4.5 degrees.
    const double phi = (20.0 + 4.5) * degree;
    EXPECT_NEAR(g.dp, g.db * (std::tan(phi) - std::tan(20.0 * degree)), 1e-12);
    EXPECT_NEAR(g.M, g.db / std::cos(phi) + g.dp, 1e-9);
    EXPECT_TRUE(g.pinOnInvolute);

    // A ball given: MESYS AG's online "Calculation of geometry for helical
    // gear" (ISO 21771) for 20 teeth, mn = 1, alpha_n = 20 deg, beta = 0,
    // x = 0 and a ball of DM = 1.7 mm gives MdK = 22.2941 mm.
    PairInput ball = makePair(20, 40, 1.0, 20.0, 0.0, 0.0);
    ball.pinDiameter = 1.7;
    const GearNumbers b = pairNumbers(ball).gear[0];
    EXPECT_TRUE(b.pinOnInvolute);
    expectRoundsTo(b.M, 22.2941, 4, "MdK");
}

// Where the pin of gear g touches: from its M back to its centre's pressure
// angle, then along the base tangent dp / 2 short of the centre.
double pinContactRadius(const GearNumbers& g) {
    const double centre = (g.M - g.dp) / 2.0 / (g.z % 2 == 0 ? 1.0 : std::cos(M_PI / (2.0 * g.z)));
    const double rb = g.db / 2.0;
    const double t = std::sqrt(centre * centre - rb * rb) - g.dp / 2.0;
    return t < 0.0 ? 0.0 : std::hypot(rb, t);
}

// The usual pin of a shifted gear touches the flanks on the circle of
// diameter (z + 2 x) m (SDP/SI, "Elements of Metric Gear Technology", table
// 10-13; Nagata Tekko's note on over-pin sizes), and its M stands out of the
// tip circle: the pin on the reference circle gave gear 1 of the shifted 12/24
// pair M1 = 41.2145 mm, inside its tip circle of 44.840 mm.
TEST(PairNumbers, TheUsualPinTouchesTheInvoluteAndStandsOutOfTheTip) {
    const PairNumbers shifted = pairNumbers(makePair(12, 24, 3.0, 20.0, 0.6, 0.36));
    for (int i = 0; i < 2; ++i) {
        const GearNumbers& g = shifted.gear[i];
        EXPECT_NEAR(pinContactRadius(g), (g.z + 2.0 * g.x) * 3.0 / 2.0, 1e-9);
        EXPECT_GT(g.M, g.da);
    }
    expectRoundsTo(shifted.gear[0].dp, 7.2278, 4, "dp1");
    expectRoundsTo(shifted.gear[0].M, 51.0224, 4, "M1");
    // Random pairs (fixed seed): every accepted pair's gears get a pin that
    // touches between dNf and da and stands out of the tip circle (for odd z
    // the pin's outermost point beyond da / 2).
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int accepted = 0;
    int usual = 0;
    int pinless = 0;
    for (int k = 0; k < 1500; ++k) {
        const PairInput in = makePair(4 + static_cast<int>(std::pow(unit(random), 3.0) * 396.0),
                                      4 + static_cast<int>(std::pow(unit(random), 3.0) * 396.0), 1.0,
                                      10.0 + 25.0 * unit(random), -1.0 + 2.5 * unit(random), -1.0 + 2.5 * unit(random));
        if (checkPair(in).field != PairField::none) {
            continue;
        }
        ++accepted;
        for (const GearNumbers& g : pairNumbers(in).gear) {
            SCOPED_TRACE(::testing::Message() << "z " << g.z << " alpha " << in.alphaDeg << " x " << g.x);
            if (!g.pinOnInvolute) {
                // Only where no pin up to 5 m gives a size (4 teeth shifted far).
                ++pinless;
                EXPECT_EQ(g.dp, 0.0);
                PairInput tried = in;
                for (int i = 1; i <= 500; ++i) {
                    tried.pinDiameter = 0.01 * i;
                    const PairNumbers t = pairNumbers(tried);
                    ASSERT_FALSE(t.gear[0].z == g.z && t.gear[0].pinOnInvolute && t.gear[0].x == g.x) << i;
                    ASSERT_FALSE(t.gear[1].z == g.z && t.gear[1].pinOnInvolute && t.gear[1].x == g.x) << i;
                }
                continue;
            }
            EXPECT_GT(g.dp, 0.0);
            const double contact = pinContactRadius(g);
            EXPECT_GE(contact, g.dNf / 2.0 - 1e-9);
            EXPECT_LE(contact, g.da / 2.0 + 1e-9);
            const double centre = (g.M - g.dp) / 2.0 / (g.z % 2 == 0 ? 1.0 : std::cos(M_PI / (2.0 * g.z)));
            // Out of the tip by 0.05 m at least: a pin flush with the tips is no size to measure over.
            EXPECT_GE(centre + g.dp / 2.0 - g.da / 2.0, 0.05 - 1e-9);
            EXPECT_GE(centre - g.dp / 2.0, g.df / 2.0 - 1e-9) << "the pin sits on the root";
            usual += std::fabs(contact - (g.z + 2.0 * g.x) / 2.0) < 1e-9;
        }
    }
    EXPECT_GT(accepted, 400);
    EXPECT_GT(usual, accepted);  // most gears keep the usual pin
    EXPECT_LT(pinless, 10);
    // A helical gear's ball is smaller than the transverse pin whose centre
    // it shares: the ball itself stands out, M >= da + 0.1 mt (z even).
    PairInput helical = makePair(34, 73, 0.5, 14.5, -0.27, 0.28);
    helical.betaDeg = 10.0;
    const GearNumbers& ball = pairNumbers(helical).gear[0];
    EXPECT_GE(ball.M - ball.da, 0.1 * 0.5 / std::cos(10.0 * degree) - 1e-9);

    // A pin given that gives no size: warned of, and no M.
    PairInput given = makePair(12, 24, 3.0, 20.0, 0.6, 0.36);
    const struct {
        double dp;
        const char* line;
    } pins[] = {
        {1.0, "\nオーバーピン寸法 M1: 測れません（ピンがインボリュートに当たりません）"
              "\nピン径 dp2 = 1.0000 mm\nオーバーピン寸法 M2: 測れません（ピンがインボリュートに当たりません）\n"
              "警告: 歯車1はピン径 dp1 = 1.0000 mm ではオーバーピン寸法を測れません（ピンが dNf と da の間でインボリュートに当たりません）"},
        {3.761, "\nオーバーピン寸法 M1: 測れません（ピンが歯先円の外に出ません）\n"},
        {30.0, "警告: 歯車2はピン径 dp2 = 30.0000 mm ではオーバーピン寸法を測れません（ピンが dNf と da の間でインボリュートに当たりません）"},
    };
    for (const auto& pin : pins) {
        given.pinDiameter = pin.dp;
        const std::string report = formatPairReport(pairNumbers(given));
        EXPECT_NE(report.find(pin.line), std::string::npos) << report;
    }
    given.pinDiameter = 3.761;
    EXPECT_NE(formatPairReport(pairNumbers(given))
                  .find("\n警告: 歯車1はピン径 dp1 = 3.7610 mm ではオーバーピン寸法を測れません（ピンが歯先円の外に出ず、測定面が歯先に当たります）"),
              std::string::npos);
}

// The size over pins from the outline itself: a pin of diameter dp on the
// middle line of the space after tooth 0, pushed in until it touches both
// flanks (its centre dp / 2 from the nearest outline segment).
double outlinePinSize(const std::vector<Point2>& outline, int z, double dp) {
    const double angle = M_PI / z;
    const Point2 direction{std::cos(angle), std::sin(angle)};
    auto clearance = [&](double radius) {
        const Point2 c{radius * direction.x, radius * direction.y};
        double least = INFINITY;
        for (size_t i = 0; i < outline.size(); ++i) {
            least = std::min(least, segmentDistance(c, outline[i], outline[(i + 1) % outline.size()]));
        }
        return least;
    };
    double lo = INFINITY;  // on the root circle: the pin cuts into the outline
    double hi = 0.0;
    for (const Point2& p : outline) {
        lo = std::min(lo, std::hypot(p.x, p.y));
        hi = std::max(hi, std::hypot(p.x, p.y));
    }
    hi += dp;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2.0;
        (clearance(mid) < dp / 2.0 ? lo : hi) = mid;
    }
    // Opposite spaces for even z; for odd z the nearest to opposite, half a
    // pitch off.
    return (z % 2 == 0 ? 2.0 * hi : 2.0 * hi * std::cos(M_PI / (2.0 * z))) + dp;
}

// The span from the outline: the k teeth turned so that their block is
// symmetric about +x, the jaws' common normal is the line x = rb, tangent to
// the base circle; the jaws touch the block's outer flanks where they cross
// it.
double outlineSpan(const std::vector<Point2>& outline, int z, int k, double rb) {
    const double turn = -(k - 1) * M_PI / z;  // tooth 0 at 0, tooth k-1 at (k - 1) 2 pi / z
    const double half = k * M_PI / z;
    auto turned = [&](const Point2& p) {
        return Point2{std::cos(turn) * p.x - std::sin(turn) * p.y, std::sin(turn) * p.x + std::cos(turn) * p.y};
    };
    double top = -INFINITY;
    double bottom = INFINITY;
    for (size_t i = 0; i < outline.size(); ++i) {
        const Point2 a = turned(outline[i]);
        const Point2 b = turned(outline[(i + 1) % outline.size()]);
        if ((a.x - rb) * (b.x - rb) > 0.0 || a.x == b.x) {
            continue;
        }
        const double y = a.y + (rb - a.x) / (b.x - a.x) * (b.y - a.y);
        if (std::fabs(std::atan2(y, rb)) <= half) {
            top = std::max(top, y);
            bottom = std::min(bottom, y);
        }
    }
    return top - bottom;
}

TEST(PairNumbers, BacklashThinsBothGearsAndTheSizesAgreeWithTheOutlines) {
    for (double backlash : {0.0, 0.12}) {
        for (const PairInput& base : {makePair(12, 24, 3.0, 20.0, 0.6, 0.36), makePair(9, 31, 2.0, 25.0, 0.3, -0.2)}) {
            PairInput in = base;
            in.backlash = backlash;
            SCOPED_TRACE(::testing::Message() << "z " << in.z1 << "/" << in.z2 << " jn " << backlash);
            ASSERT_EQ(checkPair(in).field, PairField::none);
            PairGeometry pair;
            buildPairGeometry(in, pair);
            const PairNumbers& n = pair.numbers;
            // jt = jn / cos(alpha_w), each gear thinned by jt / 2.
            EXPECT_NEAR(n.jt, backlash / std::cos(n.alphaW), 1e-12);
            EXPECT_NEAR(n.thinning, n.jt / 2.0, 1e-12);
            EXPECT_NEAR(n.gear[0].dw + n.gear[1].dw, 2.0 * n.a, 1e-9);
            const PairNumbers plain = pairNumbers(base);
            for (int g = 0; g < 2; ++g) {
                const GearNumbers& gear = n.gear[g];
                const std::vector<Point2>& outline = pair.outline[g].points;
                // On the working pitch circle the tooth is jt / 2 thinner than
                // the one cut without backlash (sw1 + sw2 = pw there).
                const double sw = gear.dw * (plain.gear[g].s / gear.d + n.invAlpha - involuteFunction(n.alphaW));
                EXPECT_NEAR(thicknessAt(outline, gear.z, gear.dw / 2.0), sw - n.jt / 2.0, 0.001 * in.m);
                EXPECT_NEAR(thicknessAt(outline, gear.z, gear.da / 2.0 - 1e-6 * in.m), gear.sa, 0.001 * in.m);
                // The span loses jn / 2, and both sizes match the outline.
                EXPECT_NEAR(gear.W, plain.gear[g].W - backlash / 2.0, 1e-12);
                ASSERT_GT(gear.k, 0);
                EXPECT_NEAR(outlineSpan(outline, gear.z, gear.k, gear.db / 2.0), gear.W, 0.002 * in.m);
                ASSERT_TRUE(gear.pinOnInvolute);
                EXPECT_NEAR(outlinePinSize(outline, gear.z, gear.dp), gear.M, 0.003 * in.m);
            }
            // In mesh: touching on the drive flanks, the play jn on the others.
            const Contact start = meshContact(pair, 0.0);
            EXPECT_LE(start.overlap, 0.001 * in.m);
            EXPECT_LE(start.gapAbove, 0.001 * in.m) << "drive flanks apart";
            EXPECT_NEAR(start.gapBelow, backlash, 0.002 * in.m) << "the play on the other flanks";
        }
    }
    // A pin of the user's diameter.
    PairInput pinned = makePair(12, 24, 3.0, 20.0, 0.6, 0.36);
    pinned.pinDiameter = 5.0;
    EXPECT_DOUBLE_EQ(pairNumbers(pinned).gear[0].dp, 5.0);
    EXPECT_DOUBLE_EQ(pairNumbers(pinned).gear[1].dp, 5.0);
}

// ---- Planetary sets ---------------------------------------------------------------

PairInput makeSet(int zS, int zP, int zR, int planets, double m, double xS, double xP) {
    PairInput in = makePair(zS, zP, m, 20.0, xS, xP);
    in.kind = PairKind::planetary;
    in.z3 = zR;
    in.planets = planets;
    return in;
}

TEST(PlanetarySet, WillisRatiosAndTheRingShiftAgainstPublishedAndIndependentNumbers) {
    // Each ratio against the set's own kinematic relation, carrier held or
    // not: zS wS + zR wR = (zS + zR) wC (the fixed member at 0, the output at
    // 1, the input at i).
    for (const auto& z : {std::make_pair(12, 60), std::make_pair(17, 73), std::make_pair(40, 50)}) {
        const double zS = z.first;
        const double zR = z.second;
        const double ring = willisRatio(z.first, z.second, FixedMember::ring);  // wS = i, wC = 1
        const double carrier = willisRatio(z.first, z.second, FixedMember::carrier);  // wS = i, wR = 1
        const double sun = willisRatio(z.first, z.second, FixedMember::sun);  // wR = i, wC = 1
        EXPECT_NEAR(zS * ring, zS + zR, 1e-12);
        EXPECT_NEAR(zS * carrier + zR, 0.0, 1e-12);
        EXPECT_NEAR(zR * sun, zS + zR, 1e-12);
    }
    EXPECT_DOUBLE_EQ(willisRatio(12, 60, FixedMember::ring), 6.0);

    // KHK, Gear Technical Reference, profile shifted spur gears (m 3, z 12
    // and 24, x 0.6 and 0.36: alpha_w 26.0886 deg, a 56.4999 mm) as the sun
    // and planets of a ring of 60 = 12 + 2 x 24 teeth: both meshes have the
    // same reference distance, so the same working angle, and the ring's
    // shift is xR = xP + (xS + xP) = 1.32.
    const PairInput khk = makeSet(12, 24, 60, 3, 3.0, 0.6, 0.36);
    ASSERT_EQ(checkPair(khk).field, PairField::none) << checkPair(khk).message;
    const PlanetarySet set = planetarySet(khk);
    expectRoundsTo(set.a, 56.4999, 4, "a");
    expectRoundsTo(pairNumbers(set.planetRing).alphaW / degree, 26.0886, 4, "ring's alpha w");
    EXPECT_NEAR(set.planetRing.x2, 1.32, 1e-12);
    EXPECT_NEAR(set.ratio, 6.0, 1e-12);

    // A ring of other teeth: its solved shift puts the internal pair, worked
    // out forwards, at the sun–planet distance, as shiftForCentreDistance
    // with the planet's shift kept has it.
    for (const PairInput& in : {makeSet(12, 23, 60, 3, 1.0, 0.0, 0.0), makeSet(18, 30, 80, 2, 2.0, 0.4, 0.1),
                                makeSet(21, 43, 108, 3, 1.75, 0.438, 0.0426)}) {
        const PlanetarySet s = planetarySet(in);
        EXPECT_NEAR(pairNumbers(s.planetRing).a, s.a, 1e-9 * in.m);
        EXPECT_NEAR(pairNumbers(s.sunPlanet).a, s.a, 1e-9 * in.m);
        EXPECT_NEAR(shiftForCentreDistance(s.planetRing, s.a, in.x2).x2, s.planetRing.x2, 1e-12);
        // The planet is one gear in both meshes: the same tip, shortened
        // with the sun, and so the same tip thickness.
        const GearNumbers planetWithSun = pairNumbers(s.sunPlanet).gear[1];
        const GearNumbers planetInRing = pairNumbers(s.planetRing).gear[0];
        EXPECT_NEAR(planetInRing.da, s.daP, 1e-9 * in.m);
        EXPECT_NEAR(planetInRing.da, planetWithSun.da, 1e-9 * in.m);
        EXPECT_NEAR(planetInRing.sa, planetWithSun.sa, 1e-9 * in.m);
    }

    // Helical sets (m, alpha, x normal; the sun right hand): each mesh worked
    // out forwards in its transverse section meets the other at the set's a,
    // the ring's normal shift is ISO 21771's from that a, the planets and the
    // ring are left-handed; as beta goes to 0 the spur set's numbers.
    for (PairInput in : {makeSet(12, 23, 60, 3, 1.0, 0.0, 0.0), makeSet(18, 30, 80, 2, 2.0, 0.4, 0.1),
                         makeSet(21, 43, 108, 3, 1.75, 0.438, 0.0426)}) {
        const PlanetarySet spur = planetarySet(in);
        in.betaDeg = 25.0;
        SCOPED_TRACE(::testing::Message() << in.z1 << "/" << in.z2 << "/" << in.z3);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        const PlanetarySet s = planetarySet(in);
        const PairNumbers ring = pairNumbers(s.planetRing);
        EXPECT_NEAR(ring.a, s.a, 1e-9 * in.m);
        EXPECT_NEAR(pairNumbers(s.sunPlanet).a, s.a, 1e-9 * in.m);
        const double alphaN = 20.0 * degree;
        const double alphaT = std::atan(std::tan(alphaN) / std::cos(25.0 * degree));
        const double alphaWt = std::acos(in.m / std::cos(25.0 * degree) * (in.z3 - in.z2) / 2.0 * std::cos(alphaT) / s.a);
        EXPECT_NEAR(s.planetRing.x2, in.x2 + (in.z3 - in.z2) * (involuteFunction(alphaWt) - involuteFunction(alphaT)) /
                                                 (2.0 * std::tan(alphaN)), 1e-9);
        EXPECT_EQ(ring.helix.hand[0], Hand::left);
        EXPECT_EQ(ring.helix.hand[1], Hand::left);
        in.betaDeg = 1e-7;
        const PlanetarySet flat = planetarySet(in);
        EXPECT_NEAR(flat.a, spur.a, 1e-9 * in.m);
        EXPECT_NEAR(flat.planetRing.x2, spur.planetRing.x2, 1e-9);
        EXPECT_NEAR(flat.daP, spur.daP, 1e-9 * in.m);
    }

    // The report: the set's numbers, then each mesh's whole report, warnings and all.
    PairInput loaded = khk;
    loaded.fixed = FixedMember::carrier;
    loaded.torque = 30.0;
    const std::string report = formatPairReport(loaded, pairNumbers(loaded));
    const size_t ratio = report.find("\n速比（出力は入力と逆向きに回ります） i = -5.0000");
    const size_t ringShift = report.find("\n転位係数（内歯車、中心距離 a から） xR = 1.3200");
    const size_t sunMesh = report.find(formatMeshReport(planetarySet(loaded).sunPlanet,
                                                         pairNumbers(planetarySet(loaded).sunPlanet)));
    const size_t ringMesh = report.find(formatMeshReport(planetarySet(loaded).planetRing,
                                                          pairNumbers(planetarySet(loaded).planetRing)));
    EXPECT_LT(ratio, ringShift);
    EXPECT_LT(ringShift, sunMesh);
    EXPECT_LT(sunMesh, ringMesh);
    EXPECT_NE(ringMesh, std::string::npos);
    // Each planet takes T / N: 10 N m on the sun's mesh, 20 on the planet's.
    EXPECT_NE(report.find("T = 10.0000 N·m"), std::string::npos);
    EXPECT_NE(report.find("T = 20.0000 N·m"), std::string::npos);
}

TEST(PlanetarySet, RefusalsNameCuresEveryValueOfWhichIsAccepted) {
    struct Case {
        PairInput input;
        PairField field;
        const char* message;
    };
    PairInput helical = makeSet(12, 24, 56, 2, 1.0, 0.0, 0.0);  // its transverse a, its normal shifts
    helical.betaDeg = 20.0;
    const Case cases[] = {
        {helical, PairField::x1,
         "the ring (z3 = 56) cannot mesh with the planet at the sun–planet distance a = 19.1552 mm: its shift would "
         "be xR = 2.7883, outside -1.0 to 1.5; with any split of its shifts the planet–ring pair alone reaches "
         "a = 15.8775 to 18.9670 mm; with the other values as they are, xS must be -0.8799 to -0.7178"},
        {makeSet(10, 30, 70, 3, 1.0, 0.0, 0.0), PairField::planets,
         "(z1 + z3) / N = 80 / 3 is not whole: 3 planets cannot be spaced equally (each must find the sun's and the "
         "ring's spaces where its teeth stand); with the other values as they are, N must be 2 (spaced equally, tips "
         "clear)"},
        {makeSet(12, 24, 60, 6, 1.0, 0.0, 0.0), PairField::planets,
         "neighbouring planets' tip circles come too close: their centres lie l = 2 a sin(π/N) = 18.0000 mm apart, "
         "less than their tip diameter daP = 26.0000 mm plus the gap of 0.5 m = 0.5000 mm that planetary sets keep "
         "between them; with the other values as they are, N must be 2 or 3 (3 the most that fit, spaced equally)"},
        // Tips that clear by less than 0.5 m: l = 40 sin(pi / 4) = 28.2843, daP = 28 by hand.
        {makeSet(14, 26, 66, 4, 1.0, 0.0, 0.0), PairField::planets, nullptr},
        {makeSet(12, 24, 56, 2, 1.0, 0.0, 0.0), PairField::x1,
         "the ring (z3 = 56) cannot mesh with the planet at the sun–planet distance a = 18.0000 mm: its shift would "
         "be xR = 2.6900, outside -1.0 to 1.5; with any split of its shifts the planet–ring pair alone reaches "
         "a = 15.0351 to 17.8809 mm; with the other values as they are, xS must be -0.7370 to -0.6264"},
        {makeSet(8, 30, 70, 2, 1.0, -0.5, 0.0), PairField::x1,
         "the ring (z3 = 70) cannot mesh with the planet at the sun–planet distance a = 18.4259 mm: a = 18.4259 mm "
         "gives no working pressure angle: it must be above 18.7939 mm; with any split of its shifts the "
         "planet–ring pair alone reaches a = 18.7939 to 21.9471 mm; with the other values as they are, xS must be "
         "-0.1566 to 0.6969"},  // below -0.1566 a planet's tip cuts the ring's (trochoid interference)
    };
    for (const Case& c : cases) {
        const PairCheck check = checkPair(c.input);
        EXPECT_EQ(check.field, c.field) << check.message;
        if (c.message != nullptr) {
            EXPECT_EQ(check.message, c.message);
        }
        // Every value the cure names, and the shifts' ends and middle, pass.
        PairInput cured = c.input;
        if (c.field == PairField::planets) {
            for (int n = minPlanets; n <= maxPlanets; ++n) {
                cured.planets = n;
                const std::string named = std::to_string(n);
                const size_t at = check.cure.find(named);
                const bool listed = at != std::string::npos && at < check.cure.find('(') &&
                                    !isdigit(static_cast<unsigned char>(check.cure[at + named.size()]));
                EXPECT_EQ(checkPair(cured).field == PairField::none, listed) << n;
            }
        } else {
            for (double x : {check.cureLo, (check.cureLo + check.cureHi) / 2.0, check.cureHi}) {
                cured.x1 = x;
                EXPECT_EQ(checkPair(cured).field, PairField::none) << x << ": " << checkPair(cured).message;
            }
        }
    }
}

// A set whose planet's tip reaches past the root its cutter cuts in the
// ring cannot turn: refused, and its cure, applied, gives a set whose
// planet's tip circle (a + daP / 2) stays inside the deepest point of the
// ring's outline as the cutter simulation cuts it (not the numbers' df3).
// The set the program starts with assembles, and the ring's solved shift is
// one number whatever the split that gives it.
TEST(PlanetarySet, SetsThatCannotTurnAreRefusedAndTheirCuresTurn) {
    PairInput locked = makeSet(21, 20, 61, 2, 1.0, -0.472, 0.897);
    locked.alphaDeg = 14.5;
    auto deepestRing = [](const PairInput& in) {
        PairGeometry ring;
        buildPairGeometry(planetarySet(in).planetRing, ring);
        double r = 0.0;
        for (const Point2& p : ring.outline[1].points) {
            r = std::max(r, std::hypot(p.x, p.y));
        }
        return r;
    };
    const PlanetarySet s = planetarySet(locked);
    EXPECT_GT(s.a + s.daP / 2.0, deepestRing(locked) + 0.05);  // the cut ring itself says it locks
    const PairCheck check = checkPair(locked);
    ASSERT_EQ(check.field, PairField::x1) << check.message;
    EXPECT_NE(check.message.find("cannot turn in the ring"), std::string::npos) << check.message;
    for (double x : {check.cureLo, (check.cureLo + check.cureHi) / 2.0, check.cureHi}) {
        PairInput cured = locked;
        cured.x1 = x;
        EXPECT_EQ(checkPair(cured).field, PairField::none) << x << ": " << checkPair(cured).message;
        const PlanetarySet c = planetarySet(cured);
        EXPECT_LT(c.a + c.daP / 2.0, deepestRing(cured)) << x;
    }

    // A cutter the ring cannot have: the cutters named are those with which
    // the set turns, not only those that cut the ring cleanly (for this set
    // 43 to 52 do, and cut its root too shallow for the planets' tips).
    PairInput cutter = makeSet(10, 21, 53, 3, 1.0, 0.1219, 0.9851);
    cutter.cutterTeeth = 58;
    const PairCheck named = checkPair(cutter);
    ASSERT_EQ(named.field, PairField::cutter) << named.message;
    int lowest = 0;
    int highest = 0;
    const size_t at = named.message.find("cutters of ");
    ASSERT_NE(at, std::string::npos) << named.message;
    ASSERT_EQ(std::sscanf(named.message.c_str() + at, "cutters of %d to %d teeth can", &lowest, &highest), 2);
    for (int zc : {lowest, (lowest + highest) / 2, highest}) {
        PairInput cured = cutter;
        cured.cutterTeeth = zc;
        EXPECT_EQ(checkPair(cured).field, PairField::none) << zc << ": " << checkPair(cured).message;
        const PlanetarySet c = planetarySet(cured);
        EXPECT_LT(c.a + c.daP / 2.0, deepestRing(cured)) << zc;
    }

    // The start: 20 + 25 + 70 teeth, 3 planets, (20 + 70) / 3 whole.
    PairInput start;
    start.kind = PairKind::planetary;
    for (const PairInputId id : {PairInputId::z1, PairInputId::z2, PairInputId::z3}) {
        setPairInputValue(start, id, inputStart(pairInputSpec(id), PairKind::planetary));
    }
    EXPECT_EQ(start.z1 + start.z2 + start.z3, 115);
    EXPECT_EQ(checkPair(start).field, PairField::none) << checkPair(start).message;

    // xR = 1.5 exactly, reached by two splits: with zR - zP = zS + zP both
    // meshes' inv(alpha_w) relations match, xR - xP = xS + xP, xR = xS + 2 xP.
    for (const double xP : {0.5, 0.25}) {
        const PairInput in = makeSet(20, 25, 70, 3, 1.0, 1.5 - 2.0 * xP, xP);
        EXPECT_EQ(planetarySet(in).planetRing.x2, 1.5) << xP;
    }
}

// The drawn set assembles: no planet's outline enters the sun's or the
// ring's (points of one inside the other, beyond the outlines' accuracy),
// and each planet touches both, in mesh; apart, every member is drawn, each
// on its layer. Sets whose meshes warn of nothing but the ring's YS (a
// ring's tip in the planet's fillet would overlap as warned), rings of
// zS + 2 zP teeth and of others.
TEST(PlanetarySet, DrawnPlanetsMeshWithTheSunAndTheRingWithoutOverlap) {
    PairInput helical = makeSet(18, 29, 80, 2, 1.0, 0.6, 0.3);  // its transverse section, spaced as a spur set
    helical.betaDeg = 25.0;
    helical.hand = Hand::left;
    helical.faceWidth = 25.0;  // wide enough to measure the span: no warning
    for (PairInput in : {makeSet(12, 24, 60, 3, 1.0, 0.4, 0.3), makeSet(22, 18, 58, 5, 1.0, 0.3, 0.5),
                         makeSet(22, 17, 58, 4, 2.0, 0.9, 0.6), makeSet(18, 29, 80, 2, 1.0, 0.6, 0.3), helical}) {
        SCOPED_TRACE(::testing::Message() << in.z1 << "/" << in.z2 << "/" << in.z3 << " N = " << in.planets);
        ASSERT_EQ(checkPair(in).field, PairField::none) << checkPair(in).message;
        for (const ReportLine& line : pairReport(in, pairNumbers(in))) {
            // The ring's YS, extrapolated for its sharp fillet, is no interference.
            ASSERT_TRUE(line.kind != ReportLineKind::warning || line.id == "ysExtrapolated") << line.en;
        }
        Sheet sheet;
        layOutSheet(in, SheetLayout::mesh, sheet);
        const std::vector<Point2>* sun = nullptr;
        const std::vector<Point2>* ring = nullptr;
        std::vector<const std::vector<Point2>*> planets;
        for (const SheetPath& path : sheet.paths) {
            if (path.id == "sun" && path.layer == "SUN") {
                sun = &path.points;
            } else if (path.id == "ring" && path.layer == "RING" && ring == nullptr) {
                ring = &path.points;  // its teeth; the rim follows
            } else if (path.id.rfind("planet", 0) == 0 && path.layer == "PLANET") {
                planets.push_back(&path.points);
            }
        }
        ASSERT_TRUE(sun != nullptr && ring != nullptr);
        ASSERT_EQ(planets.size(), static_cast<size_t>(in.planets));
        const double tolerance = 0.002 * in.m;  // the outlines' own accuracy, twice
        // The deepest point of `a` into the solid of `b` (inside b's outline,
        // or outside it for the ring, whose solid lies outside its teeth),
        // and the nearest approach, both from the points of `a` near `b`.
        struct Meeting {
            double overlap = 0.0;
            double nearest = INFINITY;
        };
        auto meet = [&](const std::vector<Point2>& a, const std::vector<Point2>& b, bool ringSolid, Meeting& c) {
            std::vector<Point2> near;
            double rMin = INFINITY;
            double rMax = 0.0;
            for (const Point2& p : b) {
                rMin = std::min(rMin, std::hypot(p.x, p.y));
                rMax = std::max(rMax, std::hypot(p.x, p.y));
            }
            for (const Point2& p : a) {
                const double r = std::hypot(p.x, p.y);
                if (ringSolid ? r > rMin - 0.05 * in.m : r < rMax + 0.05 * in.m) {
                    near.push_back(p);
                }
            }
            for (const Point2& p : near) {
                double distance = INFINITY;
                for (size_t i = 0; i < b.size(); ++i) {
                    distance = std::min(distance, segmentDistance(p, b[i], b[(i + 1) % b.size()]));
                }
                if (inside(p, b) != ringSolid) {
                    c.overlap = std::max(c.overlap, distance);
                }
                c.nearest = std::min(c.nearest, distance);
            }
        };
        for (const std::vector<Point2>* planet : planets) {
            Meeting withSun;
            Meeting withRing;
            meet(*planet, *sun, false, withSun);
            meet(*sun, *planet, false, withSun);
            meet(*planet, *ring, true, withRing);
            EXPECT_LT(withSun.overlap, tolerance);
            EXPECT_LT(withRing.overlap, tolerance);
            EXPECT_LT(withSun.nearest, tolerance);  // in touch, as meshing teeth are
            EXPECT_LT(withRing.nearest, tolerance);
        }
        // A planet turned by half a tooth more overlaps both: the check sees a wrong turn.
        PlanetaryDrawing wrong;
        buildPlanetaryDrawing(in, wrong);
        wrong.planetTurn[0] += pi / in.z2;
        Sheet off;
        layOutPlanetary(wrong, SheetLayout::mesh, off);
        Meeting turned;
        meet(off.paths[1].points, *sun, false, turned);
        EXPECT_GT(turned.overlap, 0.1 * in.m);
        // And a ring turned by half a tooth more overlaps planet 1.
        wrong.planetTurn[0] -= pi / in.z2;
        wrong.ringTurn += pi / in.z3;
        layOutPlanetary(wrong, SheetLayout::mesh, off);
        Meeting ringTurned;
        meet(off.paths[1].points, off.paths[1 + in.planets].points, true, ringTurned);
        EXPECT_GT(ringTurned.overlap, 0.1 * in.m);

        Sheet apart;
        layOutSheet(in, SheetLayout::apart, apart);
        const std::string dxf = formatSheetDxf(apart);
        for (const char* layer : {"\nSUN\n", "\nPLANET\n", "\nRING\n", "\nCENTRES\n"}) {
            EXPECT_NE(dxf.find(layer), std::string::npos) << layer;
        }
        EXPECT_EQ(apart.paths.size(), sheet.paths.size() + 2);  // the ring's own centre cross
    }
}

}  // namespace

// A twisted solid: each layer of a bored gear turned about its own centre
// (away from the origin), as few layers as keep the chords within the
// tolerance, still closed and oriented as admesh sees it.
TEST(PairSolid, TwistTurnsTheTopAboutTheCentreAndTheSolidStaysClosed) {
    PairGeometry pair;
    buildPairGeometry(makePair(40, 41, 2.0, 20.0, 0.0, 0.0), pair);
    const Point2 centre{50.0, 20.0};
    const double b = 12.0;
    const double twist = 0.3;
    const double tolerance = solidToleranceModules * 2.0;
    SolidSection section;
    section.centre = centre;
    for (const Point2& p : pair.outline[0].points) {
        section.outline.push_back(Point2{centre.x + p.x, centre.y + p.y});
    }
    circlePolygon(centre, 10.0, 0.0004, section.hole);
    Solid solid;
    buildSolid(section, b, twist, tolerance, solid);

    // The fewest layers whose chords keep to the tolerance at the tip.
    const double ra = pair.numbers.gear[0].da / 2.0;
    const int layers = twistLayers(twist, ra, tolerance);
    EXPECT_LE(ra * (1.0 - std::cos(twist / layers / 2.0)), tolerance);
    EXPECT_GT(ra * (1.0 - std::cos(twist / (layers - 1) / 2.0)), tolerance);
    const size_t perLayer = section.outline.size() + section.hole.size();
    EXPECT_EQ(solid.vertices.size(), perLayer * static_cast<size_t>(layers + 1));

    // Every point of the top is a point of the bottom turned by the twist
    // about the centre, and the top has as many as the bottom.
    std::vector<Point2> bottom;
    std::vector<Point2> top;
    for (const SolidVertex& v : solid.vertices) {
        if (v.z == 0.0f) {
            bottom.push_back(Point2{v.x, v.y});
        } else if (v.z == static_cast<float>(b)) {
            top.push_back(Point2{v.x, v.y});
        }
    }
    ASSERT_EQ(top.size(), bottom.size());
    std::sort(bottom.begin(), bottom.end(), [](Point2 p, Point2 q) { return p.x < q.x; });
    double worst = 0.0;
    for (const Point2& p : top) {
        const double dx = p.x - centre.x;
        const double dy = p.y - centre.y;
        const Point2 back{centre.x + std::cos(twist) * dx + std::sin(twist) * dy,
                          centre.y - std::sin(twist) * dx + std::cos(twist) * dy};
        double nearest = HUGE_VAL;
        auto it = std::lower_bound(bottom.begin(), bottom.end(), back.x - 1e-3,
                                   [](Point2 q, double x) { return q.x < x; });
        for (; it != bottom.end() && it->x <= back.x + 1e-3; ++it) {
            nearest = std::min(nearest, std::hypot(it->x - back.x, it->y - back.y));
        }
        worst = std::max(worst, nearest);
    }
    EXPECT_LT(worst, 2e-5);  // float's resolution at 80 mm, a few times over

    // Closed and oriented: each directed edge once, its reverse once; no
    // triangle of zero area; the volume the section's area times b, less
    // what the chords between layers cut off (at most the tolerance over
    // the outline's length).
    std::vector<std::pair<uint64_t, int>> edges;
    double volume = 0.0;
    for (size_t t = 0; t < solid.triangles.size(); t += 3) {
        const SolidVertex* c[3];
        for (int k = 0; k < 3; ++k) {
            const uint32_t from = solid.triangles[t + k];
            const uint32_t to = solid.triangles[t + (k + 1) % 3];
            edges.push_back({std::min(from, to) * uint64_t{1} << 32 | std::max(from, to), from < to ? 1 : -1});
            c[k] = &solid.vertices[solid.triangles[t + k]];
        }
        const double ux = c[1]->x - c[0]->x, uy = c[1]->y - c[0]->y, uz = c[1]->z - c[0]->z;
        const double vx = c[2]->x - c[0]->x, vy = c[2]->y - c[0]->y, vz = c[2]->z - c[0]->z;
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
        EXPECT_GT(std::sqrt(nx * nx + ny * ny + nz * nz), 0.0);
        volume += (c[0]->x * nx + c[0]->y * ny + c[0]->z * nz) / 6.0;
    }
    std::sort(edges.begin(), edges.end());
    for (size_t i = 0; i < edges.size(); i += 2) {
        ASSERT_EQ(edges[i].first, edges[i + 1].first);
        ASSERT_EQ(edges[i].second + edges[i + 1].second, 0);
        ASSERT_TRUE(i + 2 == edges.size() || edges[i + 2].first != edges[i].first);
    }
    const auto area = [](const std::vector<Point2>& loop) {
        double sum = 0.0;
        for (size_t i = 0, j = loop.size() - 1; i < loop.size(); j = i++) {
            sum += loop[j].x * loop[i].y - loop[i].x * loop[j].y;
        }
        return std::fabs(sum) / 2.0;
    };
    double length = 0.0;
    for (size_t i = 0, j = section.outline.size() - 1; i < section.outline.size(); j = i++) {
        length += std::hypot(section.outline[i].x - section.outline[j].x, section.outline[i].y - section.outline[j].y);
    }
    const double full = (area(section.outline) - area(section.hole)) * b;
    EXPECT_LE(volume, full * (1.0 + 1e-6));
    EXPECT_GE(volume, full - tolerance * length * b);

    // admesh finds nothing to repair in the STL file.
    char folder[] = "/tmp/involute-solid-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/twisted.stl";
    const std::string stl = formatStl({solid}, "twisted gear");
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(stl.data(), 1, stl.size(), file);
    fclose(file);
    FILE* admesh = popen(("admesh '" + path + "'").c_str(), "r");
    ASSERT_NE(admesh, nullptr);
    std::string report;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, admesh) != nullptr) {
        report += buffer;
    }
    EXPECT_EQ(pclose(admesh), 0);
    remove(path.c_str());
    rmdir(folder);
    for (const char* line : {"Edges fixed           :     0", "Facets removed        :     0",
                             "Facets added          :     0", "Facets reversed       :     0",
                             "Degenerate facets     :     0", "Number of parts       :     1"}) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    }
}

// A helical pair's solids turn by b tan(beta) / r over the face width: gear 1
// (right hand) counter-clockwise seen from the top, an external mate the
// other way, a ring the same way; so do a helical set's members, each by
// its hand; a helical rack's bar is sheared along itself. Read off the first point of the bottom and
// of the top layer, which are the same point of the section.
TEST(PairSolid, HelicalWheelsTwistByTheirHelixAndHand) {
    for (PairKind kind : {PairKind::external, PairKind::internal}) {
        PairInput in = kind == PairKind::external ? makePair(20, 40, 2.0, 20.0, 0.0, 0.0)
                                                  : makeInternal(20, 60, 2.0, 20.0, 0.0, 0.0);
        in.betaDeg = 20.0;
        in.faceWidth = 20.0;
        PairGeometry pair;
        buildPairGeometry(in, pair);
        std::vector<Solid> solids;
        pairSolids(pair, 0.0, solids);
        ASSERT_EQ(solids.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const std::vector<SolidVertex>& v = solids[i].vertices;
            size_t top = 0;
            while (top < v.size() && v[top].z == 0.0f) {
                ++top;
            }
            ASSERT_LT(top, v.size());
            // The gear's axis, wherever the plate put it: the mean of its
            // bottom points, which repeat every tooth.
            Point2 centre{0.0, 0.0};
            for (size_t k = 0; k < top; ++k) {
                centre.x += v[k].x / static_cast<double>(top);
                centre.y += v[k].y / static_cast<double>(top);
            }
            const size_t layers = v.size() / top - 1;
            const SolidVertex& a = v[0];
            const SolidVertex& e = v[top * layers];
            ASSERT_EQ(e.z, 20.0f);
            const double turn = std::remainder(std::atan2(e.y - centre.y, e.x - centre.x) -
                                                   std::atan2(a.y - centre.y, a.x - centre.x),
                                               2.0 * pi);
            const double sign = i == 0 || kind == PairKind::internal ? 1.0 : -1.0;
            EXPECT_NEAR(turn, sign * 20.0 * std::tan(20.0 * degToRad) / (pair.numbers.gear[i].d / 2.0), 1e-5)
                << static_cast<int>(kind) << " gear " << i + 1;
        }
    }

    // A set, the sun left-handed: the sun clockwise, the planets and the ring
    // counter-clockwise, each by b tan(beta) / (mt z / 2), about its centre
    // (the mean of its bottom's points, which repeat tooth by tooth).
    PairInput set = makeSet(18, 29, 80, 2, 1.0, 0.6, 0.3);
    set.betaDeg = 25.0;
    set.hand = Hand::left;
    set.faceWidth = 25.0;
    std::vector<Solid> members;
    inputSolids(set, 0.0, members);
    ASSERT_EQ(members.size(), 4u);
    const double mt = 1.0 / std::cos(25.0 * degToRad);
    const int zs[4] = {18, 29, 29, 80};
    for (size_t i = 0; i < members.size(); ++i) {
        const std::vector<SolidVertex>& v = members[i].vertices;
        size_t top = 0;
        Point2 centre{0.0, 0.0};
        for (; top < v.size() && v[top].z == 0.0f; ++top) {
            centre.x += v[top].x;
            centre.y += v[top].y;
        }
        centre = Point2{centre.x / top, centre.y / top};
        const SolidVertex& a = v[0];
        const SolidVertex& e = v[top * (v.size() / top - 1)];  // a wheel's two centre points follow the layers
        ASSERT_EQ(e.z, 25.0f);
        const double turn = std::remainder(
            std::atan2(e.y - centre.y, e.x - centre.x) - std::atan2(a.y - centre.y, a.x - centre.x), 2.0 * pi);
        EXPECT_NEAR(turn, (i == 0 ? -1.0 : 1.0) * 25.0 * std::tan(25.0 * degToRad) / (mt * zs[i] / 2.0), 1e-5)
            << "member " << i;
    }

    // A rack's bar slants: one layer, its top the bottom moved along the bar
    // by b tan(beta), towards +x for a right hand (where the right-handed
    // pinion's teeth at the mesh, below it, go as it twists
    // counter-clockwise), towards -x for a left.
    for (Hand hand : {Hand::right, Hand::left}) {
        PairInput rack = makeRack(12, 2.0, 20.0, 0.3);
        rack.betaDeg = 20.0;
        rack.hand = hand;
        rack.faceWidth = 20.0;
        std::vector<Solid> solids;
        inputSolids(rack, 0.0, solids);
        ASSERT_EQ(solids.size(), 2u);
        const std::vector<SolidVertex>& v = solids[1].vertices;
        const size_t n = v.size() / 2;
        ASSERT_EQ(v.size(), 2 * n);
        const double along = (hand == Hand::right ? 1.0 : -1.0) * 20.0 * std::tan(20.0 * degToRad);
        double worst = 0.0;
        for (size_t i = 0; i < n; ++i) {
            ASSERT_EQ(v[i].z, 0.0f);
            ASSERT_EQ(v[n + i].z, 20.0f);
            worst = std::max({worst, std::fabs(v[n + i].x - v[i].x - along), std::fabs(double{v[n + i].y} - v[i].y)});
        }
        EXPECT_LT(worst, 2e-5);  // the grid and float at 40 mm
    }
}
