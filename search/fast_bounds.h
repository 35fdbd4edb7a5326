#pragma once

// Certified lower bounds on the computed error of every candidate a nested
// pair search could return, read off the pair table. A bound lets a fast
// search skip a row or a candidate that cannot end the scan, win, or tie.
//
// Each bound splits the sorted table before some entry k: every entry is at
// or below the entry before k, or at or above the entry at k. The
// candidate's exact value grows with the pair value, so the two neighbours
// bound the exact value on each side. Any split is valid; splitting where
// the ideal pair value would go only makes the bound tight. Rounding is accounted for below,
// with u the unit roundoff.

#include "search/fast_scan.h"
#include "search/pair_table.h"

#include <cstddef>

namespace ohmtrim::fast {

// Slack between a stored pair value v and the exact value p of its pair:
// p = v (1 + e) with |e| <= 3.01u for a*b/(a+b) (three roundings) and u for
// a + b. v (1 + 8u) rounded is above v (1 + 6.9u), so above every such p;
// v (1 - 8u) rounded is below every such p.
inline constexpr double kPairValueSlack = 8 * kUnitRoundoff;

enum class RowForm {
    Parallel, // the row's value is a // p = a p / (a + p)
    Series,   // the row's value is a + p
};

// Lower bound on the computed error |t - R| of every candidate of a triple
// search row: R1 = a, the nested pair of value p from table. R is the
// search's own expression of the three values; it is within 6u R of the
// exact a // p or a + p for all four triple searches (at most five roundings
// of positive terms).
// The table is split before entry k (any k from 0 to Size()).
inline double RowLowerBound(RowForm form, double a, double t, std::size_t k,
                            const PairTable& table) {
    auto value = [&](double p) { return form == RowForm::Parallel ? a * p / (a + p) : a + p; };
    const std::size_t n = table.Size();
    double e = kInfinity;
    if (k < n)
        e = value(table.Value(k) * (1 - kPairValueSlack)) - t;
    if (k > 0) {
        const double below = t - value(table.Value(k - 1) * (1 + kPairValueSlack));
        e = below < e ? below : e;
    }
    // e is a side's distance computed from a neighbour V = value(p') with
    // p' past every exact pair value on that side; V is within 3.01u of the
    // exact value at p'. For e > 0 the exact error on that side is at least
    // e (1 - u) - 3.02u t (low side) or e (1 - 4.02u) - 3.01u t (high side),
    // and the computed error of a candidate is at least its exact error
    // (1 - 7u) - 6.01u t. Together: e (1 - 12u) - 10u t; the factors below
    // are about three times that, which also covers their own rounding. For
    // e <= 0 the result is negative, which bounds any error.
    return e * (1 - 32 * kUnitRoundoff) - 32 * kUnitRoundoff * t;
}

// Lower bound on the computed error |w - R/(P + R)| of a divider candidate
// whose lower branch R is any value of table, P its upper branch (w the
// wanted lower fraction, 0 < w < 1). R is the table value bit for bit, so
// only the quotient rounds: R/(P + R) is computed within 2.01u of the exact
// fraction, which grows with R and stays below 1. A side's computed distance
// e from its neighbour then bounds that side's exact distance by e - 3.1u,
// and a candidate's computed error is at least its exact one minus 2.01u
// (and a factor 1 - u): e - 6.2u in all. 16u covers that and the
// subtraction below.
// The table is split before entry k (any k from 0 to Size()).
inline double FractionLowerBound(double w, double upper, std::size_t k, const PairTable& table) {
    const std::size_t n = table.Size();
    double e = kInfinity;
    if (k < n) {
        const double r = table.Value(k);
        e = r / (upper + r) - w;
    }
    if (k > 0) {
        const double r = table.Value(k - 1);
        const double below = w - r / (upper + r);
        e = below < e ? below : e;
    }
    return e - 16 * kUnitRoundoff;
}

} // namespace ohmtrim::fast
