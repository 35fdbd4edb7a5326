#include "tests/core/node_search_support.h"
#include "search/node_dividers.h"

#include "search/pair_searches.h"
#include "search/triple_searches.h"
#include "valuesets/lookups.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::Context;
using testing::PollCounter;
using testing::Table;
using Outs = testing::NodeOuts;
using Tables = testing::NodeTables;
using S = testing::NodeSearch;
using detail::InnerNodes;

constexpr double U = -7.0; // an output the search must not touch
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const Outs kUntouched{U, U, U, U, U, U};

const struct Info {
    S s;
    const char* name;
    int resistors;
    InnerNodes nodes;
    int scanned;   // the table whose values the search scans
    int pairFirst; // first table of a scanned parallel pair, or -1
} kSearches[] = {
    {S::Both3, "3Both", 3, InnerNodes::Both, 0, -1},
    {S::U3_3, "3U3", 3, InnerNodes::U3Only, 2, -1},
    {S::U2_3, "3U2", 3, InnerNodes::U2Only, 0, -1},
    {S::Both4, "4Both", 4, InnerNodes::Both, 0, -1},
    {S::U3_4, "4U3", 4, InnerNodes::U3Only, 3, 2},
    {S::U2_4, "4U2", 4, InnerNodes::U2Only, 0, -1},
    {S::Five, "5", 5, InnerNodes::Both, 0, -1},
    {S::Six, "6", 6, InnerNodes::Both, 1, 0},
};

NodeVoltageInput In(double u1, double u2, double u3, double u4, double rmin, double rmax) {
    return {u1, u2, u3, u4, 1, 1, rmin, rmax};
}

TEST(NodeDividers, Examples) {
    const auto F = SearchStatus::Found;
    const struct {
        const char* name;
        S s;
        NodeVoltageInput in;
        std::vector<Table> tables;
        int shared; // tables[shared + 1] is tables[shared] itself; -1: none
        double relTol;
        SearchStatus status;
        Outs expected;
    } cases[] = {
        // clang-format off
        // f2 = 0.6, f3 = 0.3, k2 = k3 = 0.75: R1 = 100 gets 100, 100 (e = 1/9 + 1/9); R1 = 400 gets 300, 300, exact.
        {"3Both, 2/9 below 2 tol = 0.24", S::Both3, In(10, 6, 3, 0, 1, 1e4), {{100, 400}, {100, 300}, {100, 300}}, -1, 0.12, F, {100, 100, 100, U, U, U}},
        {"3Both, 2/9 not below 2 tol = 0.22", S::Both3, In(10, 6, 3, 0, 1, 1e4), {{100, 400}, {100, 300}, {100, 300}}, -1, 0.11, F, {400, 300, 300, U, U, U}},
        {"3Both, rising voltages", S::Both3, In(0, 2, 5, 9, 1, 1e4), {{200}, {300}, {400}}, -1, 1e-6, F, {200, 300, 400, U, U, U}},
        {"3Both, total above RMax: outputs cleared", S::Both3, In(10, 6, 3, 0, 1, 2000), {{1000}, {1000}, {1000}}, -1, 1e-6, SearchStatus::NoSolution, {0, 0, 0, U, U, U}},
        {"3U2 does not look at U3 = U4", S::U2_3, In(10, 6, 0, 0, 1, 1e4), {{400}, {300}, {300}}, -1, 1e-6, F, {400, 300, 300, U, U, U}},
        {"3U3 does not look at U2", S::U3_3, In(10, kNaN, 3, 0, 1, 1e4), {{400}, {300}, {300}}, -1, 1e-6, F, {400, 300, 300, U, U, U}},
        // f3 = 0.5: (300, 100) and later (100, 300) both make 75 under 25 + 50.
        {"4U3, one table for R3, R4: R4 >= R3", S::U3_4, In(10, kNaN, 5, 0, 1, 1000), {{25, 50}, {25, 50}, {100, 300}, {100, 300}}, 2, 0, F, {25, 50, 100, 300, U, U}},
        {"4U3, equal copies: R3 = 300 first", S::U3_4, In(10, kNaN, 5, 0, 1, 1000), {{25, 50}, {25, 50}, {100, 300}, {100, 300}}, -1, 0, F, {25, 50, 300, 100, U, U}},
        // k2 = k3 = 1: R1 // R2 = 75 over 75 and 75 is exact.
        {"6, one table for R1, R2: R2 >= R1", S::Six, In(12, 8, 4, 0, 1, 1000), {{100, 300}, {100, 300}, {150}, {150}, {150}, {150}}, 0, 0, F, {100, 300, 150, 150, 150, 150}},
        {"6, equal copies: R1 = 300 first", S::Six, In(12, 8, 4, 0, 1, 1000), {{100, 300}, {100, 300}, {150}, {150}, {150}, {150}}, -1, 0, F, {300, 100, 150, 150, 150, 150}},
        // clang-format on
    };
    for (const auto& c : cases) {
        Tables t;
        for (const auto& table : c.tables)
            t.push_back(&table);
        if (c.shared >= 0)
            t[c.shared + 1] = t[c.shared];
        PollCounter counter;
        Outs o = kUntouched;
        EXPECT_EQ(testing::RunNodeSearch(c.s, c.in, t, o, Context(c.relTol, counter)), c.status)
            << c.name;
        EXPECT_EQ(o, c.expected) << c.name;
    }
    // One array with two counts is two tables: (300, 100) is tried.
    const double values[] = {100, 300}, rest[] = {150};
    PollCounter counter;
    Outs o = kUntouched;
    EXPECT_EQ(FindNodeDivider6(In(12, 8, 4, 0, 1, 1000), values, 2, values, 1, rest, 1, rest, 1,
                               rest, 1, rest, 1, o[0], o[1], o[2], o[3], o[4], o[5],
                               Context(0, counter)),
              F);
    EXPECT_EQ(o, (Outs{300, 100, 150, 150, 150, 150}));
}

// The range always counts, the voltages only of the nodes a search uses.
TEST(NodeDividers, InvalidInputWritesNothing) {
    const struct {
        const char* name;
        NodeVoltageInput in;
        bool both, u2, u3; // valid for searches using both nodes, U2 only, U3 only
    } cases[] = {
        // clang-format off
        {"falling", In(10, 6, 3, 0, 1, 1e4), true, true, true},
        {"rising", In(0, 2, 5, 9, 1, 1e4), true, true, true},
        {"RMin 0", In(10, 6, 3, 0, 0, 1e4), false, false, false},
        {"RMin not a number", In(10, 6, 3, 0, kNaN, 1e4), false, false, false},
        {"RMax above 1e15", In(10, 6, 3, 0, 1, 2e15), false, false, false},
        {"RMin equal to RMax", In(10, 6, 3, 0, 1e4, 1e4), false, false, false},
        {"U3 equal to U4", In(10, 6, 0, 0, 1, 1e4), false, true, false},
        {"U2 equal to U1", In(10, 10, 3, 0, 1, 1e4), false, false, true},
        {"U3 not a number", In(10, 6, kNaN, 0, 1, 1e4), false, true, false},
        {"span U1 - U4 overflows", In(1e308, 0, -1, -1e308, 1, 1e4), false, false, false},
        // Each neighbour 5e-16 apart, falling and rising.
        {"U2 near U1", In(1, 1 - 5e-16, 0.25, 0, 1, 1e4), false, false, true},
        {"U2 near U3", In(1, 0.25 + 5e-16, 0.25, 0, 1, 1e4), false, true, true},
        {"U3 near U4", In(1, 0.75, 5e-16, 0, 1, 1e4), false, true, false},
        {"U2 alone near U4", In(1, 5e-16, kNaN, 0, 1, 1e4), false, false, false},
        {"U3 alone near U1", In(1, kNaN, 1 - 5e-16, 0, 1, 1e4), false, false, false},
        {"rising, U2 near U1", In(0, 5e-16, 0.75, 1, 1, 1e4), false, false, true},
        {"rising, U2 near U3", In(0, 0.25, 0.25 + 5e-16, 1, 1, 1e4), false, true, true},
        {"rising, U3 near U4", In(0, 0.25, 1 - 5e-16, 1, 1, 1e4), false, true, false},
        {"rising, U2 alone near U4", In(0, 1 - 5e-16, kNaN, 1, 1, 1e4), false, false, false},
        {"rising, U3 alone near U1", In(0, kNaN, 5e-16, 1, 1, 1e4), false, false, false},
        // clang-format on
    };
    const Table t{100, 200};
    for (const auto& info : kSearches)
        for (const auto& c : cases) {
            const bool valid = info.nodes == InnerNodes::Both     ? c.both
                               : info.nodes == InnerNodes::U2Only ? c.u2
                                                                  : c.u3;
            PollCounter counter;
            Outs o = kUntouched;
            const SearchStatus status =
                testing::RunNodeSearch(info.s, c.in, Tables(6, &t), o, Context(0, counter));
            EXPECT_EQ(status == SearchStatus::InvalidInput, !valid) << info.name << ", " << c.name;
            if (!valid) {
                EXPECT_EQ(o, kUntouched) << info.name << ", " << c.name;
            }
        }
}

// The scanned table holds 10, 20, ... 10 n (a scanned pair gets 10 for its
// first resistor, so n pairs); the others hold the same or only `other`.
// U 10/7/3/0 gives f1 = f3 = 0.3. Polls per search in kSearches order.
TEST(NodeDividers, EscapePolls) {
    const int never = INT_MAX;
    const struct {
        const char* name;
        int n, downFrom;
        double rmin, rmax, other; // other 0: every table the scanned one
        int polls[8];
    } cases[] = {
        // clang-format off
        {"19 candidates", 19, never, 1e-3, 1e15, 0, {1, 1, 1, 0, 0, 0, 0, 0}},
        {"20 candidates", 20, never, 1e-3, 1e15, 0, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"21 candidates", 21, never, 1e-3, 1e15, 0, {2, 2, 2, 1, 1, 1, 1, 1}},
        {"40 candidates", 40, never, 1e-3, 1e15, 0, {2, 2, 2, 2, 2, 2, 2, 2}},
        {"41 candidates", 41, never, 1e-3, 1e15, 0, {3, 3, 3, 2, 2, 2, 2, 2}},
        {"held from the start, 19", 19, 1, 1e-3, 1e15, 0, {1, 1, 1, 0, 0, 0, 0, 0}},
        {"held from the start, 41", 41, 1, 1e-3, 1e15, 0, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"down from the 2nd poll", 41, 2, 1e-3, 1e15, 0, {2, 2, 2, 2, 2, 2, 2, 2}},
        // pMin = 9.576: 10 // 230 is the last pair above it, 10 // 220 the 20th.
        {"a pair below pMin ends the row", 41, never, 31.92, 1e15, 0, {3, 3, 3, 2, 1, 2, 2, 1}},
        // 3Both, 3U3, 3U2, 4Both stop at the first; 4U2, 5 go on to R1 = 310 > f1 RMax.
        {"totals above RMax", 41, never, 1e-3, 1000, 1e4, {1, 1, 1, 0, 2, 1, 1, 2}},
        // No value reaches RMin: 3Both scans all, the others end before any inner search.
        {"no start value", 41, 1, 1e14, 1e15, 0, {1, 0, 0, 0, 0, 0, 0, 0}},
        // clang-format on
    };
    const Table ten{10};
    for (const auto& c : cases) {
        Table big;
        for (int i = 1; i <= c.n; ++i)
            big.push_back(10.0 * i);
        const Table other{c.other};
        for (std::size_t k = 0; k < std::size(kSearches); ++k) {
            const Info& info = kSearches[k];
            Tables t(6, c.other == 0 ? &big : &other);
            t[info.scanned] = &big;
            if (info.pairFirst >= 0)
                t[info.pairFirst] = &ten;
            PollCounter counter;
            counter.downFrom = c.downFrom;
            Outs o = kUntouched;
            const SearchStatus status = testing::RunNodeSearch(
                info.s, In(10, 7, 3, 0, c.rmin, c.rmax), t, o, Context(0, counter));
            const auto label = ::testing::Message() << info.name << ", " << c.name;
            EXPECT_EQ(counter.polls, c.polls[k]) << label;
            EXPECT_EQ(status == SearchStatus::Aborted, c.polls[k] >= c.downFrom) << label;
            if (status == SearchStatus::Aborted) {
                EXPECT_EQ(o, kUntouched) << label;
            }
        }
    }
}

TEST(NodeDividers, NodeVoltagesOfChain) {
    const struct {
        double u1, u4, a, b, c, u2, u3;
    } cases[] = {
        {10, 0, 400, 300, 300, 6, 3},
        {0, 9, 200, 300, 400, 2, 5},
        {5, -5, 100, 100, 0, 0, -5},
        {3, 0, 1, 1, 3, 2.4, 1.8}, // (U1 - U4) * C / T, not (U1 - U4) * (C / T)
    };
    for (const auto& c : cases) {
        const ChainNodeVoltages v = NodeVoltagesOfChain(c.u1, c.u4, c.a, c.b, c.c);
        EXPECT_EQ(v.u2, c.u2) << c.u1 << " " << c.a;
        EXPECT_EQ(v.u3, c.u3) << c.u1 << " " << c.a;
    }
}

// ---- property test against a literal reference ---------------------------------------

struct Candidate {
    Outs r;
    double total, error;
};

// Every candidate of a search in scan order, with the rules that judge
// them. started is false when no value can reach RMin (nothing written).
struct Enumeration {
    bool started = true, aboveRMaxEnds = true;
    double stopBelow = 0;
    std::vector<Candidate> list;
};

Enumeration Enumerate(S s, const NodeVoltageInput& in, const Tables& t, double tol) {
    const double u1 = in.U1, u2 = in.U2, u3 = in.U3, u4 = in.U4, inner = 0.1 * tol;
    const double f1 = (u1 - u2) / (u1 - u4), f2 = (u2 - u4) / (u1 - u4);
    const double f3 = (u3 - u4) / (u1 - u4), fU = (u1 - u3) / (u1 - u4);
    const double k2 = (u2 - u3) / (u1 - u2), k3 = (u3 - u4) / (u1 - u2);
    const double kU = (u1 - u3) / (u3 - u4), kL = (u2 - u4) / (u1 - u2);
    auto par = [](double x, double y) { return x * y / (x + y); };
    auto both = [&](double b, double c, double T) {
        return std::fabs((f2 - (b + c) / T) / f2) + std::fabs((f3 - c / T) / f3);
    };
    auto v = [&](int m) -> const Table& { return *t[m]; };
    auto p = [&](int m) { return t[m]->data(); };
    auto n = [&](int m) { return static_cast<int>(t[m]->size()); };
    Enumeration en;
    auto add = [&](Outs r, double T, double e) { en.list.push_back({r, T, e}); };
    auto from = [&](double bound, int m) { // first index of table m not below bound
        int i = 0;
        while (i < n(m) && v(m)[i] < bound)
            ++i;
        en.started = i < n(m);
        return i;
    };
    // Pairs x // y from the top down, y >= x with one table; P outside the band is no candidate.
    auto pairs = [&](int mx, int my, double pMin, double pMax, auto complete) {
        for (int j = n(mx) - 1, s = from(pMin, mx); j >= s; --j)
            for (int i = n(my) - 1; i >= (t[mx] == t[my] ? j : 0); --i)
                if (par(v(mx)[j], v(my)[i]) <= pMax && par(v(mx)[j], v(my)[i]) >= pMin)
                    complete(v(mx)[j], v(my)[i], par(v(mx)[j], v(my)[i]));
    };
    Outs r{};
    switch (s) {
    case S::Both3:
        en.stopBelow = 2 * tol;
        for (double r1 : v(0)) {
            const double r2 = v(1)[NearestIndex(k2 * r1, p(1), n(1))];
            const double r3 = v(2)[NearestIndex(k3 * r1, p(2), n(2))];
            add({r1, r2, r3}, r1 + r2 + r3, both(r2, r3, r1 + r2 + r3));
        }
        break;
    case S::U3_3:
        en.stopBelow = tol * f3;
        for (int i = from(in.RMin * f3, 2); i < n(2); ++i) {
            FindSeriesPair(kU * v(2)[i], inner, p(0), n(0), p(1), n(1), r[0], r[1]);
            const double T = r[0] + r[1] + v(2)[i];
            add({r[0], r[1], v(2)[i]}, T, std::fabs(f3 - v(2)[i] / T));
        }
        break;
    case S::U2_3:
        en.stopBelow = tol * f1;
        for (int i = from(in.RMin * f1, 0); i < n(0); ++i) {
            FindSeriesPair(kL * v(0)[i], inner, p(1), n(1), p(2), n(2), r[1], r[2]);
            const double T = v(0)[i] + r[1] + r[2];
            add({v(0)[i], r[1], r[2]}, T, std::fabs(f1 - v(0)[i] / T));
        }
        break;
    case S::Both4:
        en.stopBelow = 2 * tol;
        for (int i = from(in.RMin * f1, 0); i < n(0); ++i) {
            const double r2 = v(1)[NearestIndex(k2 * v(0)[i], p(1), n(1))];
            FindParallelPair(k3 * v(0)[i], inner, p(2), n(2), p(3), n(3), r[2], r[3]);
            const double T = v(0)[i] + r2 + par(r[2], r[3]);
            add({v(0)[i], r2, r[2], r[3]}, T, both(r2, par(r[2], r[3]), T));
        }
        break;
    case S::U3_4:
        en = {true, false, tol * fU, {}};
        pairs(2, 3, f3 * in.RMin, f3 * in.RMax, [&](double x, double y, double pv) {
            FindSeriesPair(kU * pv, inner, p(0), n(0), p(1), n(1), r[0], r[1]);
            const double T = r[0] + r[1] + pv;
            add({r[0], r[1], x, y}, T, std::fabs(fU - (r[0] + r[1]) / T));
        });
        break;
    case S::U2_4:
        en = {true, false, tol * f2, {}};
        for (int i = from(f1 * in.RMin, 0); i < n(0) && !(v(0)[i] > f1 * in.RMax); ++i) {
            FindSeriesParallel(kL * v(0)[i], inner, p(1), n(1), p(2), n(2), p(3), n(3), r[1], r[2],
                               r[3]);
            const double L = r[1] + par(r[2], r[3]);
            add({v(0)[i], r[1], r[2], r[3]}, v(0)[i] + L, std::fabs(f2 - L / (v(0)[i] + L)));
        }
        break;
    case S::Five:
        en = {true, false, 2 * tol, {}};
        for (int i = from(f1 * in.RMin, 0); i < n(0) && !(v(0)[i] > f1 * in.RMax); ++i) {
            FindParallelPair(k2 * v(0)[i], inner, p(1), n(1), p(2), n(2), r[1], r[2]);
            FindParallelPair(k3 * v(0)[i], inner, p(3), n(3), p(4), n(4), r[3], r[4]);
            const double B = par(r[1], r[2]), C = par(r[3], r[4]), T = v(0)[i] + B + C;
            add({v(0)[i], r[1], r[2], r[3], r[4]}, T, both(B, C, T));
        }
        break;
    case S::Six:
        en = {true, false, 2 * tol, {}};
        pairs(0, 1, f1 * in.RMin, f1 * in.RMax, [&](double x, double y, double a) {
            FindParallelPair(k2 * a, inner, p(2), n(2), p(3), n(3), r[2], r[3]);
            FindParallelPair(k3 * a, inner, p(4), n(4), p(5), n(5), r[4], r[5]);
            const double B = par(r[2], r[3]), C = par(r[4], r[5]), T = a + B + C;
            add({x, y, r[2], r[3], r[4], r[5]}, T, both(B, C, T));
        });
        break;
    }
    return en;
}

// Skip totals below RMin, end at or skip those above RMax, keep the first
// strictly smallest error, end at the first accepted error below the stop.
// ties counts candidates equal to the best at the time.
SearchStatus Pick(const Enumeration& en, const NodeVoltageInput& in, int resistors, Outs& o,
                  int& ties) {
    if (!en.started)
        return SearchStatus::NoSolution;
    double best = 1e300;
    Outs rec{};
    bool found = false;
    for (const Candidate& c : en.list) {
        if (c.total > in.RMax && en.aboveRMaxEnds)
            break;
        if (c.total < in.RMin || c.total > in.RMax)
            continue;
        ties += c.error == best ? 1 : 0;
        if (c.error < best) {
            rec = c.r;
            found = true;
            if (c.error < en.stopBelow)
                break;
            best = c.error;
        }
    }
    for (int m = 0; m < resistors; ++m)
        o[m] = rec[m];
    return found ? SearchStatus::Found : SearchStatus::NoSolution;
}

TEST(NodeDividers, MatchLiteralReferenceOnRandomTables) {
    for (const auto& info : kSearches) {
        int found = 0, ties = 0;
        for (double tol : {0.0, 1e-6, 0.05})
            for (std::uint32_t seed = 1; seed <= 400; ++seed) {
                std::mt19937 gen(seed * 7919u + static_cast<std::uint32_t>(info.s) * 104729u +
                                 static_cast<std::uint32_t>(tol * 1e3));
                const bool dense = seed % 2 == 0; // small integers: exact ratios and ties
                std::vector<Table> tables;
                for (int m = 0; m < info.resistors; ++m)
                    tables.push_back(testing::RandomDistinctTable(gen, dense, 8, 12, 3000));
                Tables t;
                for (const auto& table : tables)
                    t.push_back(seed % 4 == 0 ? &tables[0] : &table); // one value set throughout
                if (seed % 3 == 0 && info.pairFirst >= 0)
                    t[info.pairFirst + 1] = t[info.pairFirst];
                const double step = dense ? 1 : 0.01;
                double u[4] = {step * static_cast<double>(gen() % 20) - 5};
                for (int k = 1; k < 4; ++k)
                    u[k] = u[k - 1] + step * static_cast<double>(1 + gen() % 3);
                const bool up = gen() % 2 == 0;
                const std::uint32_t span = dense ? 40 : 3000;
                const double rmin = 1 + static_cast<double>(gen() % span);
                NodeVoltageInput in = In(u[up ? 0 : 3], u[up ? 1 : 2], u[up ? 2 : 1], u[up ? 3 : 0],
                                         rmin, rmin + 1 + static_cast<double>(gen() % (3 * span)));
                if (info.nodes == InnerNodes::U2Only)
                    in.U3 = kNaN;
                if (info.nodes == InnerNodes::U3Only)
                    in.U2 = kNaN;

                PollCounter counter;
                Outs got = kUntouched, want = kUntouched;
                const SearchStatus status =
                    testing::RunNodeSearch(info.s, in, t, got, Context(tol, counter));
                const SearchStatus expected =
                    Pick(Enumerate(info.s, in, t, tol), in, info.resistors, want, ties);
                const auto label = ::testing::Message()
                                   << info.name << ", tol " << tol << ", seed " << seed;
                EXPECT_EQ(status, expected) << label;
                for (std::size_t m = 0; m < 6; ++m)
                    EXPECT_EQ(Bits(got[m]), Bits(want[m])) << label << ", R" << m + 1;
                found += status == SearchStatus::Found ? 1 : 0;
            }
        // Enough cases must find a chain, and some must tie, for the
        // comparison to say much.
        EXPECT_GT(found, 400) << info.name;
        EXPECT_GT(ties, 0) << info.name;
    }
}

} // namespace
} // namespace ohmtrim
