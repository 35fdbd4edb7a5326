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
#include "search/scan_rules.h"

#include <algorithm>
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

// Lower bound on the two-node error |(f2 - (B + C)/T)/f2| + |(f3 - C/T)/f3|,
// T = (A + B) + C, that a chain computes for every B of tb and C of tc, tb
// split before kb and tc before kc (any splits). In exact arithmetic
// (B + C)/T grows with B and with C, and C/T grows with C and falls with B;
// so in each quadrant of the splits (B at or below the neighbour below the
// split, or at or above the one above it, and the same for C) one of the
// two terms is at least its value at the quadrant's corner, or 0.
//
// Rounding: with B, C, A >= 0 the computed (B + C)/T is within 4.02u of the
// exact quotient (it is at most 1) and C/T within 3.02u, so a candidate's
// computed error is at least its exact one times (1 - 3u) less
// 4.1u (1/f2 + 1/f3); a corner's computed term q' bounds its exact one by
// q' (1 - 2.01u) - 4.02u / f. Together: the smallest corner term, times
// (1 - 5.1u), less 8.2u (1/f2 + 1/f3). The factors below are about four
// times that, which covers their own rounding; f2 and f3 from the input
// check lie in (0, 1), others give no bound.
inline double TwoNodeLowerBound(const detail::TwoNodeBoundOf& w, double a, const PairTable& tb,
                                std::size_t kb, const PairTable& tc, std::size_t kc) {
    if (!(w.f2 > 0 && w.f3 > 0))
        return -kInfinity;
    auto s = [&](double b, double c) { return (b + c) / (a + b + c); };
    auto r = [&](double b, double c) { return c / (a + b + c); };
    const bool bLow = kb > 0;
    const bool bHigh = kb < tb.Size();
    const bool cLow = kc > 0;
    const bool cHigh = kc < tc.Size();
    const double bl = bLow ? tb.Value(kb - 1) : 0;
    const double bh = bHigh ? tb.Value(kb) : 0;
    const double cl = cLow ? tc.Value(kc - 1) : 0;
    const double ch = cHigh ? tc.Value(kc) : 0;
    double q = kInfinity;
    if (bHigh && cHigh)
        q = std::min(q, Floor0((s(bh, ch) - w.f2) / w.f2));
    if (bLow && cLow)
        q = std::min(q, Floor0((w.f2 - s(bl, cl)) / w.f2));
    if (bHigh && cLow)
        q = std::min(q, Floor0((w.f3 - r(bh, cl)) / w.f3));
    if (bLow && cHigh)
        q = std::min(q, Floor0((r(bl, ch) - w.f3) / w.f3));
    return q * (1 - 32 * kUnitRoundoff) - 32 * kUnitRoundoff * (1 + 1 / w.f2 + 1 / w.f3);
}

// Lower bound on the term |(B/b1 - k)/k| of the star error for every B of
// table, split before at. No margin is needed: with b1 and k positive the
// computed g(B) = ((B/b1) - k)/k never decreases as B grows (each rounded
// step is monotone), so every B at or above the split's upper neighbour
// has g(B) at least g there, and every B at or below the lower neighbour at
// most g there; a side whose g has the wrong sign bounds nothing.
inline double StarTermLowerBound(double k, double b1, const PairTable& table, std::size_t at) {
    auto g = [&](double b) { return (b / b1 - k) / k; };
    double above = kInfinity;
    double below = kInfinity;
    if (at < table.Size()) {
        const double d = g(table.Value(at));
        above = d >= 0 ? d : 0;
    }
    if (at > 0) {
        const double d = g(table.Value(at - 1));
        below = d <= 0 ? -d : 0;
    }
    return std::min(above, below);
}

// Lower bound on the star error, the computed sum of its two terms: the
// rounded sum never decreases as either term grows, so the rounded sum of
// the terms' bounds bounds it.
inline double StarLowerBound(const detail::StarBoundOf& k, double b1, const PairTable& t2,
                             std::size_t at2, const PairTable& t3, std::size_t at3) {
    return StarTermLowerBound(k.k2, b1, t2, at2) + StarTermLowerBound(k.k3, b1, t3, at3);
}

} // namespace ohmtrim::fast
