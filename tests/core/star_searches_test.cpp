#include "tests/core/search_test_support.h"
#include "search/star_searches.h"

#include "search/pair_searches.h"
#include "search/star_network.h"
#include "valuesets/lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::Context;
using testing::PollCounter;
using testing::Table;
using Outs = std::array<double, 6>;
using C = StarCircuit;

constexpr double U = -7.0; // an output the search must not touch
const Outs kUntouched{U, U, U, U, U, U};

enum class Kind { Single, Series, Parallel };

// The circuits as the windows offer them: branch shapes, and whether the
// search polls before its 1st, 21st ... candidate rather than after its 20th.
const struct Circuit {
    C circuit;
    const char* name;
    std::array<Kind, 3> branches;
    bool pollsFirst;
} kCircuits[] = {
    {C::Singles, "Singles", {Kind::Single, Kind::Single, Kind::Single}, true},
    {C::SeriesFirst, "SeriesFirst", {Kind::Series, Kind::Single, Kind::Single}, false},
    {C::ParallelFirst, "ParallelFirst", {Kind::Parallel, Kind::Single, Kind::Single}, false},
    {C::ParallelPairs, "ParallelPairs", {Kind::Single, Kind::Parallel, Kind::Parallel}, false},
    {C::SeriesParallelPairs,
     "SeriesParallelPairs",
     {Kind::Single, Kind::Series, Kind::Parallel},
     false},
    {C::SeriesPairs, "SeriesPairs", {Kind::Single, Kind::Series, Kind::Series}, false},
    {C::AllParallel, "AllParallel", {Kind::Parallel, Kind::Parallel, Kind::Parallel}, false},
};

using Tables = std::vector<const Table*>;

SearchStatus RunStar(C c, const StarInput& in, const Tables& t, Outs& o, const SearchContext& ctx) {
    auto p = [&](std::size_t m) { return t[m]->data(); };
    auto n = [&](std::size_t m) { return static_cast<int>(t[m]->size()); };
    switch (c) {
    case C::Singles:
        return FindStarSingles(in, p(0), n(0), p(1), n(1), p(2), n(2), o[0], o[1], o[2], ctx);
    case C::SeriesFirst:
        return FindStarSeriesFirst(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), o[0], o[1],
                                   o[2], o[3], ctx);
    case C::ParallelFirst:
        return FindStarParallelFirst(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), o[0], o[1],
                                     o[2], o[3], ctx);
    case C::ParallelPairs:
        return FindStarParallelPairs(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), p(4), n(4),
                                     o[0], o[1], o[2], o[3], o[4], ctx);
    case C::SeriesParallelPairs:
        return FindStarSeriesParallelPairs(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), p(4),
                                           n(4), o[0], o[1], o[2], o[3], o[4], ctx);
    case C::SeriesPairs:
        return FindStarSeriesPairs(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), p(4), n(4),
                                   o[0], o[1], o[2], o[3], o[4], ctx);
    case C::AllParallel:
        return FindStarAllParallel(in, p(0), n(0), p(1), n(1), p(2), n(2), p(3), n(3), p(4), n(4),
                                   p(5), n(5), o[0], o[1], o[2], o[3], o[4], o[5], ctx);
    }
    return SearchStatus::InvalidInput;
}

// Case 1: U0 4 with 10, 0, 0; case 2: U0 2 with 0, 0, 10. A star of 1000,
// 1000 and 2000 ohms gives these, so B2 / B1 = 1 and B3 / B1 = 2.
constexpr StarInput kStar{4, 10, 0, 0, 2, 0, 0, 10, 900, 1100};

StarInput WithRange(StarInput in, double rmin, double rmax) {
    in.RMin = rmin;
    in.RMax = rmax;
    return in;
}

// Each circuit built as a 1000 / 1000 / 2000 star from one-value tables.
TEST(StarSearches, EachCircuitFindsThe1000_1000_2000StarAndItsVoltages) {
    const std::vector<double> values[] = {
        {1000, 1000, 2000},
        {400, 600, 1000, 2000},
        {2000, 2000, 1000, 2000},
        {1000, 2000, 2000, 4000, 4000},
        {1000, 300, 700, 4000, 4000},
        {1000, 300, 700, 1500, 500},
        {2000, 2000, 2000, 2000, 4000, 4000},
    };
    for (std::size_t k = 0; k < std::size(kCircuits); ++k) {
        const C c = kCircuits[k].circuit;
        std::vector<Table> tables;
        for (double v : values[k])
            tables.push_back({v});
        Tables t;
        for (const auto& table : tables)
            t.push_back(&table);
        Outs o = kUntouched;
        PollCounter counter;
        EXPECT_EQ(RunStar(c, kStar, t, o, Context(1e-6, counter)), SearchStatus::Found)
            << kCircuits[k].name;
        ASSERT_EQ(StarResistorCount(c), static_cast<int>(values[k].size()));
        EXPECT_TRUE(std::equal(values[k].begin(), values[k].end(), o.begin())) << kCircuits[k].name;
        const StarNetwork net = StarNetworkOf(c, values[k]);
        EXPECT_NEAR(StarPointVoltage(net, 10, 0, 0), 4, 1e-12) << kCircuits[k].name;
        EXPECT_NEAR(StarPointVoltage(net, 0, 0, 10), 2, 1e-12) << kCircuits[k].name;
        EXPECT_NEAR(StarPointVoltage(net, 0, 10, 0), 4, 1e-12) << kCircuits[k].name;
    }
    EXPECT_TRUE(std::isnan(StarNetworkOf(C::AllParallel, std::vector<double>(5, 1.0)).b1));
}

TEST(StarSearches, Examples) {
    const auto F = SearchStatus::Found;
    const auto I = SearchStatus::InvalidInput;
    const auto N = SearchStatus::NoSolution;
    const Table small{100, 200}, e{470, 1000, 1100, 2000, 2200};
    const Table a{1000, 2000, 4000}, aCopy = a, one{1000}, two{2000};
    const StarInput proportional{4, 10, 0, 0, 8, 20, 0, 0, 900, 1100};
    const StarInput zeroRatio{4, 10, 4, 0, 2, 0, 2, 10, 900, 1100}; // U2 = U0 in both
    const StarInput u0AboveAll{5, 0, 1, 2, 2, 0, 0, 10, 900, 1100};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        C circuit;
        StarInput in;
        Tables tables;
        double relTol;
        SearchStatus status;
        Outs expected;
    } cases[] = {
        {"first R1 in range with an exact R2 and R3",
         C::Singles,
         kStar,
         {&e, &e, &e},
         1e-6,
         F,
         {1000, 1000, 2000, U, U, U}},
        // 1000 and 1100 are both exact: the first one is kept.
        {"equal errors keep the smaller R1",
         C::Singles,
         WithRange(kStar, 900, 1200),
         {&e, &e, &e},
         0,
         F,
         {1000, 1000, 2000, U, U, U}},
        {"Rmin equal to Rmax",
         C::Singles,
         WithRange(kStar, 1000, 1000),
         {&e, &e, &e},
         0,
         I,
         kUntouched},
        {"Rmin of 0", C::Singles, WithRange(proportional, 0, 1100), {&e, &e, &e}, 0, I, kUntouched},
        {"Rmax of 1e16", C::Singles, WithRange(kStar, 900, 1e16), {&e, &e, &e}, 0, I, kUntouched},
        {"Rmin NaN", C::Singles, WithRange(kStar, nan, 1100), {&e, &e, &e}, 0, I, kUntouched},
        {"proportional cases", C::Singles, proportional, {&e, &e, &e}, 0, N, kUntouched},
        {"the same case twice",
         C::AllParallel,
         {4, 10, 0, 0, 4, 10, 0, 0, 900, 1100},
         {&e, &e, &e, &e, &e, &e},
         0,
         N,
         kUntouched},
        {"U0 above U1, U2 and U3: negative ratio",
         C::Singles,
         u0AboveAll,
         {&e, &e, &e},
         0,
         N,
         kUntouched},
        // A ratio of 0 is refused before the R1 table is looked at.
        {"zero ratio", C::Singles, zeroRatio, {&e, &e, &e}, 0, N, kUntouched},
        {"zero ratio, R1 table below Rmin",
         C::Singles,
         zeroRatio,
         {&small, &e, &e},
         0,
         N,
         kUntouched},
        // 2000 // 4000 is the only pair in range; one table tries it as
        // (2000, 4000), two tables meet (4000, 2000) first.
        {"one table for R1 and R2",
         C::ParallelFirst,
         WithRange(kStar, 1300, 1400),
         {&a, &a, &one, &two},
         0,
         F,
         {2000, 4000, 1000, 2000, U, U}},
        {"equal copies for R1 and R2",
         C::ParallelFirst,
         WithRange(kStar, 1300, 1400),
         {&a, &aCopy, &one, &two},
         0,
         F,
         {4000, 2000, 1000, 2000, U, U}},
    };
    for (const auto& c : cases) {
        PollCounter counter;
        Outs o = kUntouched;
        EXPECT_EQ(RunStar(c.circuit, c.in, c.tables, o, Context(c.relTol, counter)), c.status)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
}

// One array with two counts is two tables: 4000 // 2000 needs R1 above R2.
TEST(StarSearches, SameArrayWithAnotherCountIsAnotherTable) {
    const double a[] = {1000, 2000, 4000}, one[] = {1000}, two[] = {2000};
    PollCounter counter;
    Outs o = kUntouched;
    EXPECT_EQ(FindStarParallelFirst(WithRange(kStar, 1300, 1400), a, 3, a, 2, one, 1, two, 1, o[0],
                                    o[1], o[2], o[3], Context(0, counter)),
              SearchStatus::Found);
    EXPECT_EQ(o, (Outs{4000, 2000, 1000, 2000, U, U}));
}

// An R1 table that stays below Rmin: no start for a single or parallel
// branch 1 (status 1, nothing written); a series branch 1 scans its sums
// and records nothing (status 2, outputs 0.0).
TEST(StarSearches, R1TableBelowRminByShapeOfBranch1) {
    const Table small{100, 200}, wide{1000, 2000, 4000};
    for (const auto& c : kCircuits) {
        const bool series = c.branches[0] == Kind::Series;
        Tables t(static_cast<std::size_t>(StarResistorCount(c.circuit)), &wide);
        t[0] = t[1] = &small;
        Outs expected = kUntouched;
        if (series)
            std::fill_n(expected.begin(), t.size(), 0.0);
        PollCounter counter;
        Outs o = kUntouched;
        EXPECT_EQ(RunStar(c.circuit, kStar, t, o, Context(0, counter)),
                  series ? SearchStatus::NoSolution : SearchStatus::InvalidInput)
            << c.name;
        EXPECT_EQ(o, expected) << c.name;
    }
}

// Escape held from the given poll on: the search returns at that poll and
// writes nothing. R1 (and R2) run over 45 values, all in range; the first
// candidate is exact, which does not end a search at tolerance 0.
TEST(StarSearches, EscapeEndsTheSearchAtAPoll) {
    Table r1;
    for (int i = 0; i < 45; ++i)
        r1.push_back(1000 + i);
    const Table rest{500, 1000, 2000, 4000};
    for (const auto& c : kCircuits)
        for (int downFrom : {1, 2}) {
            Tables t(static_cast<std::size_t>(StarResistorCount(c.circuit)), &rest);
            t[0] = &r1;
            if (c.branches[0] != Kind::Single)
                t[1] = &r1;
            PollCounter counter;
            counter.downFrom = downFrom;
            Outs o = kUntouched;
            EXPECT_EQ(RunStar(c.circuit, WithRange(kStar, 1, 1e6), t, o, Context(0, counter)),
                      SearchStatus::Aborted)
                << c.name << ", Escape from poll " << downFrom;
            EXPECT_EQ(counter.polls, downFrom) << c.name;
            EXPECT_EQ(o, kUntouched) << c.name;
        }
}

// ---- property test: every search against a literal reference ----------------

// One branch-1 candidate: its visit number (counting every pair or value
// the scan looks at) and its values.
struct Candidate {
    int visit;
    double b1;
    std::vector<double> values;
};

double BranchValue(Kind k, double a, double b) {
    return k == Kind::Series ? a + b : a * b / (a + b);
}

// The search written out plainly: list the branch-1 candidates in scan
// order, then complete and judge them one by one. visits is what the scan
// looked at up to its end.
SearchStatus Reference(const Circuit& c, const StarInput& in, const Tables& t, double relTol,
                       Outs& o, int& visits) {
    visits = 0;
    if (!(in.RMin >= 1e-15 && in.RMax <= 1e15 && in.RMin < in.RMax))
        return SearchStatus::InvalidInput;
    const double a1 = in.U0Case1 - in.U1Case1, a2 = in.U0Case1 - in.U2Case1,
                 a3 = in.U0Case1 - in.U3Case1, b1 = in.U0Case2 - in.U1Case2,
                 b2 = in.U0Case2 - in.U2Case2, b3 = in.U0Case2 - in.U3Case2;
    const double d1 = a1 * b3 - b1 * a3, d2 = a1 * b2 - b1 * a2;
    const double k2 = (b2 * a3 - a2 * b3) / d1, k3 = (a2 * b3 - b2 * a3) / d2;
    if (std::fabs(d1) < 1e-15 || !(k2 > 0) || std::isinf(k2) || std::fabs(d2) < 1e-15 ||
        !(k3 > 0) || std::isinf(k3))
        return SearchStatus::NoSolution;
    const Table& r1 = *t[0];
    const Table& r2 = *t[1];
    const int n1 = static_cast<int>(r1.size()), n2 = static_cast<int>(r2.size());
    const int s = testing::CeilingRef(in.RMin, r1);
    if (c.branches[0] != Kind::Series && s == -1)
        return SearchStatus::InvalidInput;

    std::vector<Candidate> list;
    if (c.branches[0] == Kind::Single) {
        for (int i = s; i < n1 && (++visits, r1[i] <= in.RMax); ++i)
            list.push_back({visits, r1[i], {r1[i]}});
    } else if (c.branches[0] == Kind::Parallel) {
        for (int i = n1 - 1; i >= s; --i)
            for (int j = n2 - 1; j >= (t[0] == t[1] ? i : 0); --j) {
                ++visits;
                const double p = BranchValue(Kind::Parallel, r1[i], r2[j]);
                if (p < in.RMin)
                    break;
                if (p <= in.RMax)
                    list.push_back({visits, p, {r1[i], r2[j]}});
            }
    } else {
        const int iEnd = testing::CeilingRef(in.RMax, r1), jEnd = testing::CeilingRef(in.RMax, r2);
        for (int i = 0; i <= (iEnd == -1 ? n1 - 1 : iEnd); ++i)
            for (int j = 0; j <= (jEnd == -1 ? n2 - 1 : jEnd); ++j) {
                ++visits;
                const double sum = r1[i] + r2[j];
                if (sum > in.RMax)
                    break;
                if (sum >= in.RMin)
                    list.push_back({visits, sum, {r1[i], r2[j]}});
            }
    }

    bool found = false;
    double best = 1e300;
    std::vector<double> chosen(static_cast<std::size_t>(StarResistorCount(c.circuit)), 0.0);
    for (const Candidate& cand : list) {
        std::vector<double> v = cand.values;
        double b[2];
        for (int m = 1; m <= 2; ++m) {
            const double target = (m == 1 ? k2 : k3) * cand.b1;
            const Table& ta = *t[v.size()];
            const int na = static_cast<int>(ta.size());
            if (c.branches[static_cast<std::size_t>(m)] == Kind::Single) {
                v.push_back(ta[static_cast<std::size_t>(NearestIndex(target, ta.data(), na))]);
                b[m - 1] = v.back();
                continue;
            }
            const Table& tb = *t[v.size() + 1];
            const int nb = static_cast<int>(tb.size());
            double x = 0, y = 0;
            if (c.branches[static_cast<std::size_t>(m)] == Kind::Series)
                FindSeriesPair(target, 0.1 * relTol, ta.data(), na, tb.data(), nb, x, y);
            else
                FindParallelPair(target, 0.1 * relTol, ta.data(), na, tb.data(), nb, x, y);
            v.insert(v.end(), {x, y});
            b[m - 1] = BranchValue(c.branches[static_cast<std::size_t>(m)], x, y);
        }
        const double e =
            std::fabs((b[0] / cand.b1 - k2) / k2) + std::fabs((b[1] / cand.b1 - k3) / k3);
        if (e < best) {
            found = true;
            chosen = v;
            if (e < 2 * relTol) {
                visits = cand.visit;
                break;
            }
            best = e;
        }
    }
    std::copy(chosen.begin(), chosen.end(), o.begin());
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

class StarProperty : public ::testing::TestWithParam<Circuit> {};

// Random small tables (sometimes one table for two resistors), voltages of
// a real star with small whole conductances (sometimes any voltages), and
// ranges that are sometimes invalid: status, every output bit and the
// number of Escape polls agree with the reference.
TEST_P(StarProperty, MatchesLiteralReferenceOnRandomTables) {
    const Circuit& c = GetParam();
    const std::size_t count = static_cast<std::size_t>(StarResistorCount(c.circuit));
    int found = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        std::mt19937 gen(seed * 7919u + static_cast<std::uint32_t>(c.circuit));
        auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
        const bool dense = seed % 2 == 0;
        std::vector<Table> tables;
        for (std::size_t m = 0; m < count; ++m)
            tables.push_back(
                testing::RandomDistinctTable(gen, dense, m == 0 ? 24 : 8, 30, dense ? 30 : 3000));
        Tables t;
        for (const auto& table : tables)
            t.push_back(&table);
        if (pick(3) == 0)
            t[1] = t[0];
        if (count >= 5 && pick(3) == 0)
            t[count - 1] = t[count - 2];

        double u[8];
        for (double& x : u)
            x = pick(21) - 10;
        if (pick(5) != 0)
            for (int k = 0; k < 2; ++k) {
                const double g1 = 1 + pick(5), g2 = 1 + pick(5), g3 = 1 + pick(5);
                u[4 * k] =
                    (g1 * u[4 * k + 1] + g2 * u[4 * k + 2] + g3 * u[4 * k + 3]) / (g1 + g2 + g3);
            }
        // A parallel branch 1 lies below its R1: a lower range keeps it in reach.
        const double rmin =
            (dense ? 1 : 100) * (1 + pick(30)) * (c.branches[0] == Kind::Parallel ? 0.4 : 1);
        const StarInput in{u[0], u[1], u[2], u[3], u[4],
                           u[5], u[6], u[7], rmin, rmin * (pick(10) == 0 ? 1 : 1 + pick(40) / 4.0)};
        for (double relTol : {0.0, 1e-6, 0.05}) {
            PollCounter counter;
            Outs got = kUntouched, want = kUntouched;
            int visits = 0;
            const SearchStatus status = RunStar(c.circuit, in, t, got, Context(relTol, counter));
            const SearchStatus expected = Reference(c, in, t, relTol, want, visits);
            const auto label = ::testing::Message() << "seed " << seed << ", tolerance " << relTol;
            EXPECT_EQ(status, expected) << label;
            for (std::size_t m = 0; m < got.size(); ++m)
                EXPECT_EQ(Bits(got[m]), Bits(want[m])) << label << ", R" << m + 1;
            EXPECT_EQ(counter.polls, c.pollsFirst ? (visits + 19) / 20 : visits / 20) << label;
            found += status == SearchStatus::Found ? 1 : 0;
        }
    }
    EXPECT_GT(found, 300); // enough found cases for the comparison to say something
}

INSTANTIATE_TEST_SUITE_P(StarSearches, StarProperty, ::testing::ValuesIn(kCircuits),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ohmtrim
