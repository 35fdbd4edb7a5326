// One test per rounding margin of the fast searches, each on near-ties
// where the margin decides: decimal values that binary doubles cannot hold,
// sums and quotients that round apart in the last bit, and neighbouring
// doubles. Each test checks that its case really sits on the edge, then
// that the fast search (or the bound) gets it right.

#include "search/fast_bounds.h"
#include "search/node_divider_scan.h"
#include "search/star_scan.h"
#include "tests/core/fast_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Inputs;
using testing::Outcome;
using testing::Search;
using testing::Table;

// The fast search with its table cached and no plain start, so that the
// fast path handles every row.
Outcome RunWarm(Search s, const Inputs& in, const std::vector<const Table*>& t, double relTol) {
    PairTableCache::Options options;
    options.startRows = 0;
    return testing::RunFast(s, in, t, relTol, options, true);
}

using testing::RunPlain;

// The walk of the fast FindSeriesPair stops beyond the best error plus a
// margin, because a row's error fl|fl(t - a) - b| and the distance
// fl|t - fl(a + b)| of its table entry round differently. Here the winner
// (5.3, 0.4) and the runner-up (4, 1.7) both miss 5.5 by about 0.2, and the
// winner's entry lies further out than its error.
TEST(FastNearTies, SeriesPairWalkGoesPastTheBestError) {
    const Table a{1.4, 3.4000000000000004, 4, 5.3, 160};
    const Table b{0.4, 1.7, 2.5, 4.8, 9.2, 800};
    const double t = 5.5;
    const double winnerError = std::fabs(t - 5.3 - 0.4);
    const double winnerDistance = std::fabs(t - (5.3 + 0.4));
    const double runnerUpError = std::fabs(t - 4 - 1.7);
    ASSERT_LT(winnerError, winnerDistance);
    ASSERT_LT(winnerError, runnerUpError);
    ASSERT_LT(runnerUpError, winnerDistance);

    Inputs in;
    in.target = t;
    const std::vector<const Table*> tables{&a, &b};
    const Outcome want = RunPlain(Search::SeriesPair, in, tables, 0);
    ASSERT_EQ(want.out[0], 5.3);
    ASSERT_EQ(want.out[1], 0.4);
    EXPECT_TRUE(testing::SameBits(RunWarm(Search::SeriesPair, in, tables, 0), want))
        << testing::Describe(RunWarm(Search::SeriesPair, in, tables, 0));
}

// Decimal values: their sums and quotients round in the last bit.
Table DecimalTable(std::mt19937& gen, int count) {
    Table t;
    for (int i = 0; i < count; ++i) {
        double v = static_cast<double>(1 + gen() % 97) / 100;
        if (gen() % 4 == 0)
            v = std::nextafter(v, gen() % 2 == 0 ? 1e300 : 0.0);
        t.push_back(v);
    }
    std::sort(t.begin(), t.end());
    return t;
}

double UlpsAway(double x, int ulps) {
    for (int k = 0; k < std::abs(ulps); ++k)
        x = std::nextafter(x, ulps > 0 ? 1e300 : 0.0);
    return x;
}

// A triple search's row bound is the distance of the target from the row
// value at a table neighbour, less a margin for the rounding of the table,
// of that value and of the search's own expression. Split anywhere, it must
// stay at or below the computed error of every candidate of the row; the
// targets sit a few ulps from candidate values, where the row's expression
// and the bound's round apart.
TEST(FastNearTies, TripleRowBoundStaysBelowEveryCandidate) {
    std::mt19937 gen(17);
    const struct {
        const char* name;
        PairOp op;
        fast::RowForm form;
        double (*value)(double a, double b, double c); // the search's expression
    } kinds[] = {
        {"FindSeriesTriple", PairOp::Series, fast::RowForm::Series,
         [](double a, double b, double c) { return a + b + c; }},
        {"FindParallelTriple", PairOp::Parallel, fast::RowForm::Parallel,
         [](double a, double b, double c) { return 1 / (1 / a + 1 / b + 1 / c); }},
        {"FindParallelSeries", PairOp::Series, fast::RowForm::Parallel,
         [](double a, double b, double c) { return (b + c) * a / (a + b + c); }},
        {"FindSeriesParallel", PairOp::Parallel, fast::RowForm::Series,
         [](double a, double b, double c) { return 1 / (1 / b + 1 / c) + a; }},
    };
    int tight = 0; // cases where the bound comes within 4 ulps of an error
    for (const auto& kind : kinds) {
        for (int k = 0; k < 300 * testing::SoakFactor(); ++k) {
            const Table b = DecimalTable(gen, 2 + static_cast<int>(gen() % 8));
            const Table c = gen() % 2 == 0 ? b : DecimalTable(gen, 2 + static_cast<int>(gen() % 8));
            std::unique_ptr<PairTable> table;
            ASSERT_EQ(PairTable::Build(kind.op, b.data(), static_cast<int>(b.size()), c.data(),
                                       static_cast<int>(c.size()), SearchContext{}, table),
                      PairTable::Outcome::Built);
            const double a = static_cast<double>(1 + gen() % 97) / 100;
            const double t = UlpsAway(kind.value(a, testing::Pick(gen, b), testing::Pick(gen, c)),
                                      static_cast<int>(gen() % 7) - 3);
            double smallest = fast::kInfinity;
            for (std::size_t e = 0; e < table->Size(); ++e) {
                const double error =
                    std::fabs(t - kind.value(a, b[static_cast<std::size_t>(table->Row(e))],
                                             c[static_cast<std::size_t>(table->Column(e))]));
                smallest = std::min(smallest, error);
            }
            for (std::size_t split = 0; split <= table->Size(); ++split) {
                const double bound = fast::RowLowerBound(kind.form, a, t, split, *table);
                ASSERT_LE(bound, smallest) << kind.name << ", case " << k << ", split " << split;
                // Within twice the margin of the smallest error.
                tight += smallest - bound <= 64 * fast::kUnitRoundoff * (t + smallest);
            }
        }
    }
    EXPECT_GT(tight, 0) << "no case came near the margin";
}

// The divider of two pairs bounds a candidate's error |w - R/(P + R)| by the
// errors at the table neighbours of the ideal R, less a margin: R/(P + R)
// computed is not monotone in R at the level of its last bit. The tables
// hold neighbouring doubles, so that the pair values come in such runs.
TEST(FastNearTies, DividerFractionBoundStaysBelowEveryCandidate) {
    std::mt19937 gen(23);
    const double fractions[] = {0.5, 1.0 / 3, 2.0 / 3, 0.3, 0.7, 0.25};
    int tight = 0;
    for (int k = 0; k < 600 * testing::SoakFactor(); ++k) {
        Table t3 = DecimalTable(gen, 2 + static_cast<int>(gen() % 6));
        for (std::size_t i = 0, n = t3.size(); i < n; ++i)
            t3.push_back(std::nextafter(t3[i], 1e300));
        std::sort(t3.begin(), t3.end());
        std::unique_ptr<PairTable> table;
        ASSERT_EQ(PairTable::Build(PairOp::Parallel, t3.data(), static_cast<int>(t3.size()),
                                   t3.data(), static_cast<int>(t3.size()), SearchContext{}, table),
                  PairTable::Outcome::Built);
        const double w = fractions[gen() % std::size(fractions)];
        // The upper branch that makes some table value exact, a few ulps off.
        const double r = table->Value(gen() % table->Size());
        const double upper = UlpsAway(r * (1 - w) / w, static_cast<int>(gen() % 5) - 2);
        double smallest = fast::kInfinity;
        for (std::size_t e = 0; e < table->Size(); ++e) {
            const double rLow = table->Value(e);
            smallest = std::min(smallest, std::fabs(w - rLow / (upper + rLow)));
        }
        for (std::size_t split = 0; split <= table->Size(); ++split) {
            const double bound = fast::FractionLowerBound(w, upper, split, *table);
            ASSERT_LE(bound, smallest) << "case " << k << ", split " << split;
            tight += smallest - bound <= 32 * fast::kUnitRoundoff;
        }
    }
    EXPECT_GT(tight, 0) << "no case came near the margin";
}

// The divider of two pairs passes over the pairs above P_max at the top of
// each row at once, found by bisection. a // b computed is not monotone in b
// at the level of its last bit: here b+ = b plus one ulp gives a smaller
// value than b, and P_max is exactly that value. So b lies above P_max and
// b+ does not, and only the margin keeps the bisection from passing over b+,
// the best candidate.
TEST(FastNearTies, PairsAboveTheRangeAreSkippedOnlyWhenCertain) {
    const double a = 1.4324620000000001;
    const double b = 6.3009839999999997;
    const double bUp = std::nextafter(b, 1e300);
    const double pb = a * b / (a + b);
    const double pUp = a * bUp / (a + bUp);
    ASSERT_LT(pUp, pb);

    // u = 0.5, so P_max = Rmax / 2 = pUp exactly. The lower pair for b+ is
    // (L, L), a little below pUp, so the total stays within Rmax; the row of
    // R1 = 1000 comes first and fetches the table, so that the row of a
    // starts with the table at hand.
    const Table t1{a, 1000};
    const Table t2{1, b, bUp, 100};
    const Table lower{1, 2 * pUp * (1 - 1e-9)};
    Inputs in;
    in.u1 = 10;
    in.u2 = 5;
    in.u3 = 0;
    in.rmin = 1e-3;
    in.rmax = 2 * pUp;
    ASSERT_EQ(in.rmax * (1 - 0.5), pUp);
    const std::vector<const Table*> tables{&t1, &t2, &lower, &lower};
    const Outcome want = RunPlain(Search::DividerPairs, in, tables, 0);
    ASSERT_EQ(want.status, SearchStatus::Found);
    ASSERT_EQ(want.out[0], a);
    ASSERT_EQ(want.out[1], bUp);
    const Outcome got = RunWarm(Search::DividerPairs, in, tables, 0);
    EXPECT_TRUE(testing::SameBits(got, want)) << testing::Describe(got);
}

// When nothing ends a triple search, the rows left after the scan in order
// are evaluated in order of their bounds while one could still beat the best
// error, or tie with it from an earlier row: a tie goes to the earlier row.
// Here 4.5 + 4.2 + 4.2 and 6.3 + 3.3 + 3.3 miss 12.9 (one ulp below) by
// the very same computed error, and the row of 4.5 comes first.
TEST(FastNearTies, AnEarlierRowThatCanOnlyTieIsStillEvaluated) {
    const Table t{3.3, 4.2, 4.5, 6.3, 9.6};
    const double target = std::nextafter(12.9, 0.0);
    ASSERT_EQ(std::fabs(target - (4.5 + 4.2 + 4.2)), std::fabs(target - (6.3 + 3.3 + 3.3)));
    Inputs in;
    in.target = target;
    const std::vector<const Table*> tables{&t, &t, &t};
    const Outcome want = RunPlain(Search::SeriesTriple, in, tables, 0);
    ASSERT_EQ(want.out[0], 4.5);
    const Outcome got = RunWarm(Search::SeriesTriple, in, tables, 0);
    EXPECT_TRUE(testing::SameBits(got, want)) << testing::Describe(got);
}

// A pair table of t with itself, and t with each value also one ulp up, so
// that the pair values come in runs whose quotients round apart.
std::unique_ptr<PairTable> NeighbourPairTable(std::mt19937& gen, PairOp op) {
    Table t = DecimalTable(gen, 2 + static_cast<int>(gen() % 5));
    for (std::size_t i = 0, n = t.size(); i < n; ++i)
        t.push_back(std::nextafter(t[i], 1e300));
    std::sort(t.begin(), t.end());
    std::unique_ptr<PairTable> table;
    const auto n = static_cast<int>(t.size());
    if (PairTable::Build(op, t.data(), n, t.data(), n, SearchContext{}, table) !=
        PairTable::Outcome::Built)
        ADD_FAILURE() << "no pair table";
    return table;
}

// A node-voltage chain A / B / C bounds the error of every B of one pair
// table and C of another by the errors at the corners of the splits, less a
// margin for the rounding of the total and of both quotients. The node
// voltages make one chain of table values exact, a few ulps off, so that
// the smallest error lies within rounding of 0 where the margin decides.
TEST(FastNearTies, TwoNodeBoundStaysBelowEveryCandidate) {
    std::mt19937 gen(29);
    int tight = 0;
    for (int k = 0; k < 150 * testing::SoakFactor(); ++k) {
        const auto tb = NeighbourPairTable(gen, PairOp::Parallel);
        const auto tc = NeighbourPairTable(gen, gen() % 2 == 0 ? PairOp::Parallel : PairOp::Series);
        ASSERT_TRUE(tb && tc);
        const double a = static_cast<double>(1 + gen() % 97) / 100;
        const double b0 = tb->Value(gen() % tb->Size());
        const double c0 = tc->Value(gen() % tc->Size());
        const auto off = [&] { return static_cast<int>(gen() % 5) - 2; };
        NodeVoltageInput in;
        in.U1 = UlpsAway(a + b0 + c0, off());
        in.U2 = UlpsAway(b0 + c0, off());
        in.U3 = UlpsAway(c0, off());
        in.U4 = 0;
        in.HasU2 = 1;
        in.HasU3 = 1;
        const detail::NodeTargets w = detail::WantedShares(in);
        const detail::TwoNodeBoundOf of = detail::TwoNodeBound(w);
        double smallest = fast::kInfinity;
        for (std::size_t i = 0; i < tb->Size(); ++i)
            for (std::size_t j = 0; j < tc->Size(); ++j) {
                const double b = tb->Value(i);
                const double c = tc->Value(j);
                smallest = std::min(smallest, detail::TwoNodeError(w, b, c, a + b + c));
            }
        const double margin = 64 * fast::kUnitRoundoff * (1 + 1 / w.f2 + 1 / w.f3);
        for (std::size_t kb = 0; kb <= tb->Size(); ++kb)
            for (std::size_t kc = 0; kc <= tc->Size(); ++kc) {
                const double bound = fast::TwoNodeLowerBound(of, a, *tb, kb, *tc, kc);
                ASSERT_LE(bound, smallest) << "case " << k << ", splits " << kb << " " << kc;
                tight += smallest - bound <= margin;
            }
    }
    EXPECT_GT(tight, 0) << "no case came near the margin";
}

// A star's error |(B2/B1 - k2)/k2| + |(B3/B1 - k3)/k3| is bounded with no
// margin at all: each computed term never falls as its pair value grows.
// The wanted ratios are those of table values a few ulps off, so that the
// terms of the best candidates are a few ulps and the bound must meet them
// exactly or stay below.
TEST(FastNearTies, StarBoundStaysBelowEveryCandidate) {
    std::mt19937 gen(31);
    int exact = 0;
    for (int k = 0; k < 300 * testing::SoakFactor(); ++k) {
        const auto t2 = NeighbourPairTable(gen, gen() % 2 == 0 ? PairOp::Parallel : PairOp::Series);
        const auto t3 = NeighbourPairTable(gen, gen() % 2 == 0 ? PairOp::Parallel : PairOp::Series);
        ASSERT_TRUE(t2 && t3);
        const double b1 = static_cast<double>(1 + gen() % 97) / 100;
        const auto off = [&] { return static_cast<int>(gen() % 5) - 2; };
        const detail::StarBoundOf of{UlpsAway(t2->Value(gen() % t2->Size()) / b1, off()),
                                     UlpsAway(t3->Value(gen() % t3->Size()) / b1, off())};
        double smallest = fast::kInfinity;
        for (std::size_t i = 0; i < t2->Size(); ++i)
            for (std::size_t j = 0; j < t3->Size(); ++j)
                smallest = std::min(
                    smallest, detail::StarError(b1, t2->Value(i), t3->Value(j), of.k2, of.k3));
        for (std::size_t at2 = 0; at2 <= t2->Size(); ++at2)
            for (std::size_t at3 = 0; at3 <= t3->Size(); ++at3) {
                const double bound = fast::StarLowerBound(of, b1, *t2, at2, *t3, at3);
                ASSERT_LE(bound, smallest) << "case " << k << ", splits " << at2 << " " << at3;
                exact += bound == smallest && smallest > 0;
            }
    }
    EXPECT_GT(exact, 0) << "no bound met its smallest error";
}

} // namespace
} // namespace ohmtrim
