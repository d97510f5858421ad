// The involute function, its inverse, and the distance along the line of
// action to a radius (see involute.h).
#include "pair/solve/involute.h"

#include <algorithm>
#include <cmath>

#include "base/plane.h"

namespace {

constexpr double inverseInvoluteTolerance = 1e-12;  // rad, on the angle

}  // namespace

double involuteFunction(double angle) { return std::tan(angle) - angle; }

double inverseInvolute(double inv) {
    // Newton on tan(a) - a = inv, d/da = tan^2(a), from Cheng's first guess
    // a = (3 inv)^(1/3), which is close for the pressure angles of gears.
    if (inv <= 0.0) {
        return 0.0;
    }
    double a = std::cbrt(3.0 * inv);
    a = std::min(a, 1.5);
    for (int i = 0; i < 100; ++i) {
        const double t = std::tan(a);
        const double next = a - (t - a - inv) / (t * t);
        const double clamped = std::clamp(next, a / 2.0, (a + pi / 2.0) / 2.0);
        if (std::fabs(clamped - a) < inverseInvoluteTolerance * 1e-3) {
            return clamped;
        }
        a = clamped;
    }
    return a;
}

double alongLine(double r, double rb) { return std::sqrt(std::max(0.0, r * r - rb * rb)); }
