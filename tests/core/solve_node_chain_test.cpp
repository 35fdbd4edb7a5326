#include "tests/core/search_test_support.h"
#include "circuits/node_chain.h"
#include "circuits/solve.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Context;
using testing::PollCounter;
using testing::Table;

using Outs = std::array<double, 6>;
using Search = SearchStatus (*)(const NodeVoltageInput&, const std::vector<Table>&, Outs&,
                                const SearchContext&);

// clang-format off
SearchStatus Both3(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider3Both(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), o[0], o[1], o[2], c);
}
SearchStatus U3Of3(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider3U3(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), o[0], o[1], o[2], c);
}
SearchStatus U2Of3(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider3U2(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), o[0], o[1], o[2], c);
}
SearchStatus Both4(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider4Both(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), t[3].data(), int(t[3].size()), o[0], o[1], o[2], o[3], c);
}
SearchStatus U3Of4(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider4U3(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), t[3].data(), int(t[3].size()), o[0], o[1], o[2], o[3], c);
}
SearchStatus U2Of4(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider4U2(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), t[3].data(), int(t[3].size()), o[0], o[1], o[2], o[3], c);
}
SearchStatus Five(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider5(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), t[3].data(), int(t[3].size()), t[4].data(), int(t[4].size()), o[0], o[1], o[2], o[3], o[4], c);
}
SearchStatus Six(const NodeVoltageInput& in, const std::vector<Table>& t, Outs& o, const SearchContext& c) {
    return FindNodeDivider6(in, t[0].data(), int(t[0].size()), t[1].data(), int(t[1].size()), t[2].data(), int(t[2].size()), t[3].data(), int(t[3].size()), t[4].data(), int(t[4].size()), t[5].data(), int(t[5].size()), o[0], o[1], o[2], o[3], o[4], o[5], c);
}
// clang-format on

double Par(double x, double y) {
    return x * y / (x + y);
}

enum Given { kBoth, kU2, kU3, kNeither };

// The search the windows run for the nodes given (null: none runs, the
// input is invalid), and the sections A, B, C of the chosen values.
const struct ChainRow {
    int entry;
    std::array<Search, 4> search; // by Given
    std::array<double, 3> (*sections)(const Outs& r);
} kChains[] = {
    {13,
     {Both3, U2Of3, U3Of3, nullptr},
     [](const Outs& r) {
         return std::array{r[0], r[1], r[2]};
     }},
    {14,
     {Both4, U2Of4, U3Of4, nullptr},
     [](const Outs& r) {
         return std::array{r[0], r[1], Par(r[2], r[3])};
     }},
    {15,
     {Five, nullptr, nullptr, nullptr},
     [](const Outs& r) {
         return std::array{r[0], Par(r[1], r[2]), Par(r[3], r[4])};
     }},
    {16,
     {Six, nullptr, nullptr, nullptr},
     [](const Outs& r) {
         return std::array{Par(r[0], r[1]), Par(r[2], r[3]), Par(r[4], r[5])};
     }},
};

// Every entry on random tables and voltages, with each choice of given
// nodes: Solve returns what the chosen search returns, and node voltages
// computed from the chosen values. A node not given holds a voltage the
// search would refuse, so it must not be looked at.
TEST(SolveNodeChain, RunsTheSearchOfTheNodesGivenAndShowsBothNodeVoltages) {
    std::mt19937 gen(9);
    for (int round = 0; round < 40; ++round) {
        std::vector<Table> tables;
        for (int k = 0; k < 6; ++k)
            tables.push_back(testing::RandomDistinctTable(gen, round % 2 == 0, 12, 30, 200));
        const double u4 = static_cast<double>(gen() % 5);
        const double rmin = 1 + gen() % 200;
        NodeVoltageInput in{u4 + 9, u4 + 6, u4 + 2, u4, 1, 1, rmin, rmin + 1 + gen() % 100};
        if (round % 3 == 0)
            std::swap(in.U1, in.U4), in.U2 = in.U1 + 3, in.U3 = in.U1 + 7;
        for (const ChainRow& chain : kChains) {
            const CatalogueEntry& entry = CatalogueAt(chain.entry);
            std::vector<ValueTable> views;
            for (int k = 0; k < entry.resistors; ++k)
                views.push_back(
                    {tables[k].data(), static_cast<int>(tables[k].size()), false, false});
            for (int given = kBoth; given <= kNeither; ++given) {
                NodeVoltageInput record = in;
                record.HasU2 = given == kBoth || given == kU2;
                record.HasU3 = given == kBoth || given == kU3;
                if (!record.HasU2)
                    record.U2 = 1e9;
                if (!record.HasU3)
                    record.U3 = 1e9;
                PollCounter counter;
                const SearchContext ctx = Context(round % 4 == 0 ? 0 : 1e-3, counter);
                const SolveOutcome out = Solve(entry, record, views, ctx);
                const Search search = chain.search[static_cast<std::size_t>(given)];
                if (search == nullptr) {
                    EXPECT_EQ(out.status, SearchStatus::InvalidInput) << chain.entry << given;
                    EXPECT_TRUE(out.values.empty());
                    continue;
                }
                Outs r;
                r.fill(std::numeric_limits<double>::quiet_NaN());
                const SearchStatus status = search(record, tables, r, ctx);
                ASSERT_EQ(out.status, status) << chain.entry << " " << given << " round " << round;
                if (std::isnan(r[0])) {
                    EXPECT_TRUE(out.values.empty());
                    continue;
                }
                ASSERT_EQ(out.values, std::vector<double>(r.begin(), r.begin() + entry.resistors));
                if (status != SearchStatus::Found) {
                    EXPECT_TRUE(out.results.empty());
                    continue;
                }
                const auto [a, b, c] = chain.sections(r);
                const double t = a + b + c;
                EXPECT_EQ(out.Result(ResultId::U2),
                          record.U4 + (record.U1 - record.U4) * (b + c) / t);
                EXPECT_EQ(out.Result(ResultId::U3), record.U4 + (record.U1 - record.U4) * c / t);
            }
        }
    }
}

TEST(SolveNodeChain, ChainsWithOneInnerNodeSearchesNeedOnlyOneNode) {
    for (const auto& [entry, needed] : {std::pair{13, 1}, {14, 1}, {15, 2}, {16, 2}})
        EXPECT_EQ(InnerNodesNeeded(CatalogueAt(entry)), needed) << entry;
}

} // namespace
} // namespace ohmtrim
