// A pinion on a rack: its numbers and checks.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "pair/cutting/cutting.h"
#include "pair/inputs/helical.h"
#include "pair/kinds/kinds.h"

namespace {

constexpr double rackAddendumInMesh = 1.0;  // the mating rack's tip line below its datum, in m
constexpr double rackDedendumInMesh = 1.25;  // and its root line above it (see rackOutline)

}  // namespace

PairNumbers rackPairNumbers(const PairInput& input, const TransverseSection& section) {
    // A helical pair's numbers are its transverse section's (pair/helical.h);
    // the rack's heights are those of the normal rack, h m in the section.
    const PairInput& in = section.spur();
    PairNumbers n{};
    n.section = section;
    n.kind = PairKind::rack;
    const double m = in.m;
    const double h = in.heightFactor;
    n.alpha = in.alphaDeg * degToRad;
    n.invAlpha = involuteFunction(n.alpha);
    n.alphaW = n.alpha;  // the rack's flanks meet the pinion at alpha whatever the shift
    n.a = m * in.z1 / 2.0 + in.x1 * m;  // pinion centre to the rack's datum line
    n.y = in.x1;
    n.pb = pi * m * std::cos(n.alpha);

    pinionNumbers(section, n);
    GearNumbers& g = n.gear[0];
    n.gear[1].s = pi * m / 2.0;
    // Backlash as for external pairs: the datum distance kept, the pinion
    // and the rack each thinned by half the circular backlash jt = jn / cos(alpha)
    // on the pinion's working pitch circle, its reference circle (the rack
    // by jt / 2 along its whole height).
    n.jn = in.backlash;
    n.jt = n.jn / std::cos(n.alpha);
    n.thinning = n.jt / 2.0;
    g.dw = g.d;  // the pinion's sa is thinned already (pinionTipThickness)
    pinionNeck(section, n);

    // Path of contact: from where the rack's tip line, (1 - x1) m inside the
    // pitch line, crosses the line of action to the pinion's tip circle:
    // eps_alpha = (sqrt(ra1^2 - rb1^2) - r1 sin(alpha) + (m - x1 m) / sin(alpha)) / (pi m cos(alpha)).
    const double ra = g.da / 2.0;
    const double rb = g.db / 2.0;
    const double r = g.d / 2.0;
    const double sinA = std::sin(n.alpha);
    const double approach = (rackAddendumInMesh * h - in.x1) * m / sinA;  // pitch point to the rack's tip
    n.ga = std::sqrt(ra * ra - rb * rb) - r * sinA + approach;
    n.epsilonAlpha = n.ga / n.pb;
    // The rack's tip meets the pinion r sin(alpha) - approach from T1; the
    // involute starts where the cutter's straight flank ended (see pairNumbers).
    const double pinionStart = pinionInvoluteStart(section, n.alpha);
    g.interference = tipInterferes(r * sinA - approach, pinionStart, h * m, n.alpha);
    g.dNf = 2.0 * std::sqrt(pinionStart * pinionStart + rb * rb);
    // Effective path of contact, from T1 along the line of action (as for
    // external pairs): from the rack's tip, or higher where the pinion's
    // involute starts (never behind T1), to the pinion's tip, or sooner
    // where the mating rack's straight flank ends at its root line
    // rackDedendumInMesh m beyond the datum (its corners are sharp, so the
    // pinion's tip, 1 m beyond the datum, never gets there).
    const double rackFlankEnd = r * sinA + (rackDedendumInMesh * h + in.x1) * m / sinA;
    effectiveContact(n, pathStartBeside(r * sinA - approach, pinionStart, g.interference),
                     std::min(std::sqrt(ra * ra - rb * rb), rackFlankEnd));
    // The pinion is an external gear: its span and its size over pins.
    inspectionSizes(n, m, in.pinDiameter, ballPinRatio(input), g);
    helicalNumbers(input, n);
    return n;
}

Breach rackBreach(const PairInput& in, const TransverseSection& section) {
    // The pinion is the one gear cut: its root, tip and neck. The rack's
    // tooth stays wider than 0 at its tip line for every alpha and jn
    // allowed (pi m / 2 - 2 m tan(35 deg) - jt / 2 > 0.01 m).
    return Breach{gearFault(rackPairNumbers(in, section).gear[0]), 0};
}

bool rackPairPasses(const PairInput& in, const TransverseSection& section, RingCutterMemo&) {
    return rackBreach(in, section).fault == Fault::none;
}

PairCheck checkRackPair(const PairInput& in, const TransverseSection& section, PassesEveryRule passes) {
    const Breach breach = rackBreach(in, section);
    if (breach.fault == Fault::none) {
        return PairCheck{};
    }
    return refusalWithCure(in, 0, gearProblem(breach.fault, 0, rackPairNumbers(in, section).gear[0], in.x1), passes);
}
