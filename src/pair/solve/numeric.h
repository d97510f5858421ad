// The one-dimensional searches the pair's model makes: the edge of a region
// by bisection and the minimum of a unimodal function by golden section.
// Header-only templates over any callable; no allocation. Not here: grids
// and the choice of where to search (the callers').
#pragma once

#include <cmath>

// From `good` (where ok holds) towards `bad` (where it fails): the last
// value found where ok holds, after `steps` halvings of the interval.
template <typename Ok>
double bisectEdgeSteps(const Ok& ok, double good, double bad, int steps) {
    for (int i = 0; i < steps; ++i) {
        const double mid = (good + bad) / 2.0;
        (ok(mid) ? good : bad) = mid;
    }
    return good;
}

// The same, halving until good and bad lie within `tolerance`.
template <typename Ok>
double bisectEdge(const Ok& ok, double good, double bad, double tolerance) {
    while (std::fabs(bad - good) > tolerance) {
        const double mid = (good + bad) / 2.0;
        (ok(mid) ? good : bad) = mid;
    }
    return good;
}

// The argument of f's minimum in [lo, hi] (f unimodal there), by golden
// section: the middle of the bracket left after `steps` steps, each keeping
// 0.618 of it.
template <typename F>
double goldenSectionMin(const F& f, double lo, double hi, int steps) {
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    double b1 = hi - g * (hi - lo);
    double b2 = lo + g * (hi - lo);
    double f1 = f(b1);
    double f2 = f(b2);
    for (int k = 0; k < steps; ++k) {
        if (f1 < f2) {
            hi = b2;
            b2 = b1;
            f2 = f1;
            b1 = hi - g * (hi - lo);
            f1 = f(b1);
        } else {
            lo = b1;
            b1 = b2;
            f1 = f2;
            b2 = lo + g * (hi - lo);
            f2 = f(b2);
        }
    }
    return (lo + hi) / 2.0;
}
