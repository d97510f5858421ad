// The mesh of a gear pair at a moment: contacts, path ends, zones and the
// flanks' speeds. See pair/mesh.h.
#include "pair/mesh/mesh.h"

#include <algorithm>
#include <cmath>

#include "pair/inputs/kind_traits.h"

namespace {

// Distance along the line of action from the tangent point of a base circle
// of radius rb to where the circle of radius r crosses it.

}  // namespace

PairMesh pairMesh(const PairInput& input, const PairNumbers& n) {
    const PairKindTraits& kind = pairKindTraits(input.kind);
    PairMesh mesh{};
    mesh.path = contactPath(n);
    const double rb1 = n.gear[0].db / 2.0;
    mesh.end = alongLine(n.gear[0].da / 2.0, rb1);
    // Gear 2's tip circle crosses the line of action sqrt(ra2^2 - rb2^2) from
    // T2: before T2 for an external gear, beyond T2 (which lies behind T1)
    // for a ring; a rack's tip line crosses it ga before gear 1's tip does.
    const double reach2 = alongLine(n.gear[1].da / 2.0, n.gear[1].db / 2.0);
    mesh.start = mesh.path.mate == 0.0 ? mesh.end - n.ga : mesh.path.T1T2 - mesh.path.mate * reach2;
    // Tooth 0 of gear 1 is symmetric about +x; half its angle on the base
    // circle is s / d + inv(alpha), s = m (pi / 2 + 2 x tan(alpha)). The line
    // of action touches the base circle alpha_w before the pitch point's
    // direction, which lies kind.meshTurn clockwise of +x; tooth 0's drive
    // (counter-clockwise) flank meets the line rb1 times the angle between
    // the two from T1 (an involute is as long as the arc it unwinds).
    const GearNumbers& g1 = n.gear[0];
    const double halfToothBase = g1.s / g1.d + n.invAlpha;
    mesh.firstContact = rb1 * (halfToothBase + n.alphaW + kind.meshTurn);
    // A rack has no z2 (it may be 0): no turn.
    mesh.gear2Ratio = kind.gear2Turns == 0.0 ? 0.0 : kind.gear2Turns * (static_cast<double>(input.z1) / input.z2);
    mesh.r1 = g1.d / 2.0;
    mesh.z1 = input.z1;
    return mesh;
}

MeshMoment meshAt(const PairMesh& mesh, double turn) {
    const ContactPath& p = mesh.path;
    MeshMoment moment{};
    // Gear 1 turning by `turn` carries every flank rb1 turn along the line
    // of action; its drive flanks are one base pitch apart, tooth j's j base
    // pitches beyond tooth 0's.
    const double base = mesh.firstContact + p.rb1 * turn;
    for (double j = std::ceil((p.A - base) / p.pb); moment.count < maxMeshContacts; j += 1.0) {
        const double s = base + j * p.pb;
        if (s > p.E) {
            break;
        }
        const double tooth = j - std::floor(j / mesh.z1) * mesh.z1;
        moment.contact[moment.count++] = MeshContact{s, static_cast<int>(tooth)};
    }
    return moment;
}

int contactNearestPitchPoint(const PairMesh& mesh, const MeshMoment& moment) {
    int nearest = -1;
    for (int i = 0; i < moment.count; ++i) {
        const double gap = std::fabs(moment.contact[i].s - mesh.path.C);
        if (nearest < 0 || gap < std::fabs(moment.contact[nearest].s - mesh.path.C)) {
            nearest = i;
        }
    }
    return nearest;
}

double gear2TurnAt(const PairMesh& mesh, double turn) { return turn * mesh.gear2Ratio; }

double rackTravelAt(const PairMesh& mesh, double turn) { return mesh.gear2Ratio == 0.0 ? mesh.r1 * turn : 0.0; }

int meshZones(const ContactPath& p, MeshZone* zones, int capacity) {
    // The count of pairs changes where a pair enters (s + k pb = A) or leaves
    // (s - k pb = E): at A + k pb and E - k pb.
    double cuts[maxMeshZones + 1];
    int cutCount = 0;
    cuts[cutCount++] = p.A;
    for (int k = 1; k < maxMeshContacts && cutCount + 2 <= maxMeshZones; ++k) {
        for (double cut : {p.A + k * p.pb, p.E - k * p.pb}) {
            if (cut > p.A && cut < p.E) {
                cuts[cutCount++] = cut;
            }
        }
    }
    cuts[cutCount++] = p.E;
    // In order; a dozen values at most, so by insertion.
    for (int i = 1; i < cutCount; ++i) {
        for (int j = i; j > 0 && cuts[j] < cuts[j - 1]; --j) {
            std::swap(cuts[j], cuts[j - 1]);
        }
    }
    int count = 0;
    for (int i = 0; i + 1 < cutCount && count < capacity; ++i) {
        if (cuts[i + 1] <= cuts[i]) {
            continue;
        }
        const int pairs = pairsInContact(p, (cuts[i] + cuts[i + 1]) / 2.0);
        if (count > 0 && zones[count - 1].pairs == pairs) {
            zones[count - 1].to = cuts[i + 1];  // A + k pb = E - j pb: no change there
        } else {
            zones[count++] = MeshZone{cuts[i], cuts[i + 1], pairs};
        }
    }
    return count;
}

FlankSpeeds flankSpeeds(const ContactPath& p, double s) {
    FlankSpeeds v{};
    v.common = p.rb1;
    v.v1 = rho1At(p, s);
    // A rack's flank: the limit of rho2 / u as z2 grows (line_of_action.h).
    v.v2 = std::isinf(p.u) ? p.C : rho2At(p, s) / p.u;
    v.sliding = v.v1 - v.v2;
    return v;
}
