#include "tests/core/search_test_support.h"
#include "search/star_searches.h"

#include "search/pair_searches.h"
#include "search/star_network.h"
#include "valuesets/lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
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
using enum Kind;

// The circuits as the windows offer them: branch shapes, and whether the
// search polls before its 1st, 21st ... candidate rather than after its 20th.
const struct Circuit {
    C circuit;
    const char* name;
    std::array<Kind, 3> branches;
    bool pollsFirst;
} kCircuits[] = {
    {C::Singles, "Singles", {Single, Single, Single}, true},
    {C::SeriesFirst, "SeriesFirst", {Series, Single, Single}, false},
    {C::ParallelFirst, "ParallelFirst", {Parallel, Single, Single}, false},
    {C::ParallelPairs, "ParallelPairs", {Single, Parallel, Parallel}, false},
    {C::SeriesParallelPairs, "SeriesParallelPairs", {Single, Series, Parallel}, false},
    {C::SeriesPairs, "SeriesPairs", {Single, Series, Series}, false},
    {C::AllParallel, "AllParallel", {Parallel, Parallel, Parallel}, false},
};

using Tables = std::vector<const Table*>;

SearchStatus RunStar(C c, const StarInput& in, const Tables& t, Outs& o, const SearchContext& ctx) {
    std::vector<StarTable> tables;
    for (const Table* table : t)
        tables.push_back({table->data(), static_cast<int>(table->size())});
    return FindStar(c, in, tables, o, ctx);
}

// Case 1: U0 4 with 10, 0, 0; case 2: U0 2 with 0, 0, 10. A star of 1000,
// 1000 and 2000 ohms gives these, so B2 / B1 = 1 and B3 / B1 = 2.
constexpr StarInput kStar{4, 10, 0, 0, 2, 0, 0, 10, 900, 1100};

StarInput WithRange(StarInput in, double rmin, double rmax) {
    in.RMin = rmin;
    in.RMax = rmax;
    return in;
}

// With three single resistors the search ends at the first R1 in range for
// which R2 = R1 and R3 = 2 R1 are in their tables; the star-point voltages
// of the chosen network are those typed. The other circuits built as the
// same star give them too.
TEST(StarSearches, The1000_1000_2000StarAndItsVoltages) {
    const Table e{470, 1000, 1100, 2000, 2200};
    PollCounter counter;
    Outs o = kUntouched;
    EXPECT_EQ(RunStar(C::Singles, kStar, {&e, &e, &e}, o, Context(1e-6, counter)),
              SearchStatus::Found);
    EXPECT_EQ(o, (Outs{1000, 1000, 2000, U, U, U}));
    const std::vector<double> values[] = {
        {o[0], o[1], o[2]},
        {400, 600, 1000, 2000},
        {2000, 2000, 1000, 2000},
        {1000, 2000, 2000, 4000, 4000},
        {1000, 300, 700, 4000, 4000},
        {1000, 300, 700, 1500, 500},
        {2000, 2000, 2000, 2000, 4000, 4000},
    };
    for (std::size_t k = 0; k < std::size(kCircuits); ++k) {
        const StarNetwork net = StarNetworkOf(kCircuits[k].circuit, values[k]);
        EXPECT_EQ(StarResistorCount(kCircuits[k].circuit), static_cast<int>(values[k].size()));
        EXPECT_NEAR(StarPointVoltage(net, 10, 0, 0), 4, 1e-12) << kCircuits[k].name;
        EXPECT_NEAR(StarPointVoltage(net, 0, 10, 0), 4, 1e-12) << kCircuits[k].name;
        EXPECT_NEAR(StarPointVoltage(net, 0, 0, 10), 2, 1e-12) << kCircuits[k].name;
    }
    // Too few values or tables, or an empty one: nothing is read past them.
    EXPECT_TRUE(std::isnan(StarNetworkOf(C::AllParallel, std::vector<double>(5, 1.0)).b1));
    EXPECT_EQ(RunStar(C::AllParallel, kStar, {&e, &e, &e, &e, &e}, o, Context(0, counter)),
              SearchStatus::InvalidInput);
    const Table empty;
    EXPECT_EQ(RunStar(C::SeriesFirst, kStar, {&e, &e, &e, &empty}, o, Context(0, counter)),
              SearchStatus::InvalidInput);
}

// Inputs refused before any candidate, nothing written: the range comes
// first, then the ratios, then the start in an R1 table that stays below
// Rmin. A series branch 1 has no start to miss: it scans its sums, finds
// none in range and clears its outputs.
TEST(StarSearches, RefusedInputs) {
    const auto I = SearchStatus::InvalidInput;
    const auto N = SearchStatus::NoSolution;
    const StarInput proportional{4, 10, 0, 0, 8, 20, 0, 0, 900, 1100};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        StarInput in;
        SearchStatus status, seriesStatus;
    } cases[] = {
        {"Rmin equal to Rmax", WithRange(kStar, 1000, 1000), I, I},
        {"Rmin of 0, proportional cases", WithRange(proportional, 0, 1100), I, I},
        {"Rmax of 1e16", WithRange(kStar, 900, 1e16), I, I},
        {"Rmin NaN", WithRange(kStar, nan, 1100), I, I},
        {"proportional cases", proportional, N, N},
        {"the same case twice", {4, 10, 0, 0, 4, 10, 0, 0, 900, 1100}, N, N},
        {"U0 above U1, U2 and U3: negative ratio", {5, 0, 1, 2, 2, 0, 0, 10, 900, 1100}, N, N},
        {"U2 = U0 in both cases: zero ratio", {4, 10, 4, 0, 2, 0, 2, 10, 900, 1100}, N, N},
        // D1 = 2e-16 while D2 = -1: branch 3 carries almost nothing.
        {"U3 within 3e-16 of U0", {0, -1, 1, -1e-16, 0, -1, 2, -3e-16, 900, 1100}, N, N},
        {"R1 table below Rmin", kStar, I, N},
    };
    const Table small{100, 200}, wide{1000, 2000, 4000};
    for (const auto& circuit : kCircuits)
        for (const auto& c : cases) {
            const bool series = circuit.branches[0] == Series;
            Tables t(static_cast<std::size_t>(StarResistorCount(circuit.circuit)), &wide);
            t[0] = t[1] = &small;
            Outs expected = kUntouched;
            if (series && c.seriesStatus != c.status)
                std::fill_n(expected.begin(), t.size(), 0.0);
            PollCounter counter;
            Outs o = kUntouched;
            EXPECT_EQ(RunStar(circuit.circuit, c.in, t, o, Context(0, counter)),
                      series ? c.seriesStatus : c.status)
                << circuit.name << ", " << c.name;
            EXPECT_EQ(o, expected) << circuit.name << ", " << c.name;
        }
}

// 2000 // 4000 is the only pair in 1300..1400. One table for R1 and R2 tries
// it as (2000, 4000); two tables meet (4000, 2000) first, and one array
// with two counts is two tables.
TEST(StarSearches, OneTableForAParallelBranch1TriesEachPairOnce) {
    const double a[] = {1000, 2000, 4000}, copy[] = {1000, 2000, 4000}, one[] = {1000},
                 two[] = {2000};
    const struct {
        const char* name;
        StarTable r2;
        Outs expected;
    } cases[] = {{"same table", {a, 3}, {2000, 4000, 1000, 2000, U, U}},
                 {"equal copy", {copy, 3}, {4000, 2000, 1000, 2000, U, U}},
                 {"same array, other count", {a, 2}, {4000, 2000, 1000, 2000, U, U}}};
    for (const auto& c : cases) {
        const StarTable tables[] = {{a, 3}, c.r2, {one, 1}, {two, 1}};
        PollCounter counter;
        Outs o = kUntouched;
        EXPECT_EQ(FindStar(C::ParallelFirst, WithRange(kStar, 1300, 1400), tables, o,
                           Context(0, counter)),
                  SearchStatus::Found)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
}

// ---- property test: every search against a literal reference ----------------

// The search written out plainly, one candidate after the other in scan
// order. Every value or pair the scan looks at counts as a visit; Escape is
// looked at on the visits 1, 21, 41 ... or 20, 40, 60 ... and is down from
// poll escapeFrom on. polls counts the looks.
SearchStatus Reference(const Circuit& c, const StarInput& in, const Tables& t, double relTol,
                       int escapeFrom, Outs& o, int& polls) {
    polls = 0;
    if (!(in.RMin >= 1e-15 && in.RMax <= 1e15 && in.RMin < in.RMax))
        return SearchStatus::InvalidInput;
    const double a1 = in.U0Case1 - in.U1Case1, a2 = in.U0Case1 - in.U2Case1,
                 a3 = in.U0Case1 - in.U3Case1, b1 = in.U0Case2 - in.U1Case2,
                 b2 = in.U0Case2 - in.U2Case2, b3 = in.U0Case2 - in.U3Case2;
    const double d1 = a1 * b3 - b1 * a3, d2 = a1 * b2 - b1 * a2;
    const double k2 = (b2 * a3 - a2 * b3) / d1, k3 = (a2 * b3 - b2 * a3) / d2;
    const double inf = std::numeric_limits<double>::infinity();
    if (std::fabs(d1) < 1e-15 || !(k2 > 0 && k2 < inf) || std::fabs(d2) < 1e-15 ||
        !(k3 > 0 && k3 < inf))
        return SearchStatus::NoSolution;
    const Table &r1 = *t[0], &r2 = *t[1];
    const int n1 = static_cast<int>(r1.size()), n2 = static_cast<int>(r2.size());
    const int s = testing::CeilingRef(in.RMin, r1);
    if (c.branches[0] != Series && s == -1)
        return SearchStatus::InvalidInput;

    int visits = 0;
    auto escape = [&] {
        ++visits;
        return visits % 20 == (c.pollsFirst ? 1 : 0) && ++polls >= escapeFrom;
    };
    bool found = false, stop = false;
    double best = 1e300;
    std::vector<double> chosen(static_cast<std::size_t>(StarResistorCount(c.circuit)), 0.0);
    auto judge = [&](double branch1, std::vector<double> v) {
        double b[3] = {branch1, 0, 0};
        for (std::size_t m = 1; m <= 2; ++m) {
            const double target = (m == 1 ? k2 : k3) * branch1;
            const Table& ta = *t[v.size()];
            const int na = static_cast<int>(ta.size());
            if (c.branches[m] == Single) {
                v.push_back(ta[static_cast<std::size_t>(NearestIndex(target, ta.data(), na))]);
                b[m] = v.back();
                continue;
            }
            const Table& tb = *t[v.size() + 1];
            double x = 0, y = 0;
            (c.branches[m] == Series ? FindSeriesPair : FindParallelPair)(
                target, 0.1 * relTol, ta.data(), na, tb.data(), static_cast<int>(tb.size()), x, y);
            v.insert(v.end(), {x, y});
            b[m] = c.branches[m] == Series ? x + y : x * y / (x + y);
        }
        const double e = std::fabs((b[1] / b[0] - k2) / k2) + std::fabs((b[2] / b[0] - k3) / k3);
        if (!(e < best))
            return;
        found = true;
        chosen = v;
        stop = e < 2 * relTol;
        best = e;
    };
    if (c.branches[0] == Single) {
        for (int i = s; i < n1 && !stop; ++i) {
            if (escape())
                return SearchStatus::Aborted;
            if (r1[i] > in.RMax)
                break;
            judge(r1[i], {r1[i]});
        }
    } else if (c.branches[0] == Parallel) {
        for (int i = n1 - 1; i >= s && !stop; --i)
            for (int j = n2 - 1; j >= (t[0] == t[1] ? i : 0) && !stop; --j) {
                if (escape())
                    return SearchStatus::Aborted;
                const double p = r1[i] * r2[j] / (r1[i] + r2[j]);
                if (p < in.RMin)
                    break;
                if (p <= in.RMax)
                    judge(p, {r1[i], r2[j]});
            }
    } else {
        const int iEnd = testing::CeilingRef(in.RMax, r1), jEnd = testing::CeilingRef(in.RMax, r2);
        for (int i = 0; i <= (iEnd == -1 ? n1 - 1 : iEnd) && !stop; ++i)
            for (int j = 0; j <= (jEnd == -1 ? n2 - 1 : jEnd) && !stop; ++j) {
                if (escape())
                    return SearchStatus::Aborted;
                if (r1[i] + r2[j] > in.RMax)
                    break;
                if (r1[i] + r2[j] >= in.RMin)
                    judge(r1[i] + r2[j], {r1[i], r2[j]});
            }
    }
    std::copy(chosen.begin(), chosen.end(), o.begin());
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

class StarProperty : public ::testing::TestWithParam<Circuit> {};

// Random small tables (sometimes one table for two resistors), voltages of
// a star with small whole conductances (sometimes any voltages),
// ranges that are sometimes invalid, Escape sometimes held: status, every
// output bit and the number of Escape polls agree with the reference.
TEST_P(StarProperty, MatchesLiteralReferenceOnRandomTables) {
    const Circuit& c = GetParam();
    const std::size_t count = static_cast<std::size_t>(StarResistorCount(c.circuit));
    int seen[4] = {};
    for (std::uint32_t seed = 1; seed <= 600; ++seed) {
        std::mt19937 gen(seed * 7919u + static_cast<std::uint32_t>(c.circuit));
        auto pick = [&](int n) { return static_cast<int>(gen() % static_cast<unsigned>(n)); };
        const bool dense = seed % 2 == 0;
        std::vector<Table> tables;
        for (std::size_t m = 0; m < count; ++m)
            tables.push_back(testing::RandomDistinctTable(gen, dense, m == 0 ? 80 : 8, 60, 3000));
        Tables t;
        for (const auto& table : tables)
            t.push_back(&table);
        if (pick(3) == 0)
            t[1] = t[0];
        if (count >= 5 && pick(3) == 0)
            t[count - 1] = t[count - 2];

        // The far-end voltages are whole multiples of the summed conductances,
        // so the star-point voltages and the ratios come out exact.
        const double g1 = 1 + pick(4), g2 = 1 + pick(4), g3 = 1 + pick(4);
        double u[8];
        for (double& x : u)
            x = (pick(21) - 10) * (g1 + g2 + g3);
        if (pick(5) != 0)
            for (int k : {0, 4})
                u[k] = (g1 * u[k + 1] + g2 * u[k + 2] + g3 * u[k + 3]) / (g1 + g2 + g3);
        // A parallel branch 1 lies below its R1: a lower range keeps it in reach.
        const double rmin =
            (dense ? 1 : 100) * (1 + pick(30)) * (c.branches[0] == Parallel ? 0.4 : 1);
        const StarInput in{u[0], u[1], u[2], u[3], u[4],
                           u[5], u[6], u[7], rmin, rmin * (pick(10) == 0 ? 1 : 1 + pick(40) / 4.0)};
        const int escapeFrom = seed % 3 != 0 ? 1 + pick(2) : INT_MAX;
        for (double relTol : {0.0, 1e-6, 0.05}) {
            PollCounter counter;
            counter.downFrom = escapeFrom;
            Outs got = kUntouched, want = kUntouched;
            int polls = 0;
            const SearchStatus status = RunStar(c.circuit, in, t, got, Context(relTol, counter));
            const SearchStatus expected = Reference(c, in, t, relTol, escapeFrom, want, polls);
            const auto label = ::testing::Message() << "seed " << seed << ", tolerance " << relTol;
            EXPECT_EQ(status, expected) << label;
            for (std::size_t m = 0; m < got.size(); ++m)
                EXPECT_EQ(Bits(got[m]), Bits(want[m])) << label << ", R" << m + 1;
            EXPECT_EQ(counter.polls, polls) << label;
            ++seen[static_cast<int>(status)];
        }
    }
    for (int n : seen)
        EXPECT_GT(n, 80); // every status often enough for the comparison to say something
}

INSTANTIATE_TEST_SUITE_P(StarSearches, StarProperty, ::testing::ValuesIn(kCircuits),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ohmtrim
