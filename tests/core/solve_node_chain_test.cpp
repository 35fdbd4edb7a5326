#include "tests/core/node_search_support.h"
#include "circuits/node_chain.h"
#include "circuits/solve.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::NodeOuts;
using S = testing::NodeSearch;

double Par(double x, double y) {
    return x * y / (x + y);
}

enum Given { kBoth, kU2, kU3, kNeither };
constexpr std::optional<S> kNone;

// The search the windows run for the nodes given (none: the input is
// invalid), and the sections A, B, C of the chosen values.
const struct ChainRow {
    int entry;
    std::array<std::optional<S>, 4> search; // by Given
    std::array<double, 3> (*sections)(const NodeOuts& r);
} kChains[] = {
    {13,
     {S::Both3, S::U2_3, S::U3_3, kNone},
     [](const NodeOuts& r) {
         return std::array{r[0], r[1], r[2]};
     }},
    {14,
     {S::Both4, S::U2_4, S::U3_4, kNone},
     [](const NodeOuts& r) {
         return std::array{r[0], r[1], Par(r[2], r[3])};
     }},
    {15,
     {S::Five, kNone, kNone, kNone},
     [](const NodeOuts& r) {
         return std::array{r[0], Par(r[1], r[2]), Par(r[3], r[4])};
     }},
    {16,
     {S::Six, kNone, kNone, kNone},
     [](const NodeOuts& r) {
         return std::array{Par(r[0], r[1]), Par(r[2], r[3]), Par(r[4], r[5])};
     }},
};

// Every entry on random tables, voltages and ranges, with each choice of
// given nodes: Solve returns what the chosen search returns (its outputs too
// when it writes them without finding), and node voltages computed from
// the chosen values. A node not given holds a voltage the search would
// refuse, so it must not be looked at.
TEST(SolveNodeChain, RunsTheSearchOfTheNodesGivenAndShowsBothNodeVoltages) {
    std::mt19937 gen(9);
    for (int round = 0; round < 40; ++round) {
        std::vector<testing::Table> tables;
        testing::NodeTables t;
        for (int k = 0; k < 6; ++k)
            tables.push_back(testing::RandomDistinctTable(gen, round % 2 == 0, 12, 30, 200));
        std::vector<ValueTable> views;
        for (const auto& table : tables) {
            t.push_back(&table);
            views.push_back({table.data(), static_cast<int>(table.size()), false, false});
        }
        const double u4 = static_cast<double>(gen() % 5), rmin = 1 + gen() % 200;
        NodeVoltageInput in{u4 + 9, u4 + 6, u4 + 2, u4, 1, 1, rmin, rmin + 1 + gen() % 100};
        if (round % 3 == 0) // rising
            std::swap(in.U1, in.U4), in.U2 = in.U1 + 3, in.U3 = in.U1 + 7;
        for (const ChainRow& chain : kChains) {
            const CatalogueEntry& entry = CatalogueAt(chain.entry);
            for (int given = kBoth; given <= kNeither; ++given) {
                NodeVoltageInput record = in;
                record.HasU2 = given == kBoth || given == kU2;
                record.HasU3 = given == kBoth || given == kU3;
                record.U2 = record.HasU2 ? record.U2 : 1e9;
                record.U3 = record.HasU3 ? record.U3 : 1e9;
                testing::PollCounter counter;
                const SearchContext ctx = testing::Context(round % 4 == 0 ? 0 : 1e-3, counter);
                const SolveOutcome out =
                    Solve(entry, record, std::span(views).first(entry.resistors), ctx);
                const auto search = chain.search[static_cast<std::size_t>(given)];
                const std::string name = std::to_string(chain.entry) + " given " +
                                         std::to_string(given) + " round " + std::to_string(round);
                NodeOuts r;
                r.fill(std::numeric_limits<double>::quiet_NaN());
                const SearchStatus status = search
                                                ? testing::RunNodeSearch(*search, record, t, r, ctx)
                                                : SearchStatus::InvalidInput;
                ASSERT_EQ(out.status, status) << name;
                const std::vector<double> written(r.begin(), r.begin() + entry.resistors);
                EXPECT_EQ(out.values, std::isnan(r[0]) ? std::vector<double>{} : written) << name;
                if (status != SearchStatus::Found) {
                    EXPECT_TRUE(out.results.empty()) << name;
                    continue;
                }
                const auto [a, b, c] = chain.sections(r);
                const double span = record.U1 - record.U4, total = a + b + c;
                EXPECT_EQ(out.Result(ResultId::U2), record.U4 + span * (b + c) / total) << name;
                EXPECT_EQ(out.Result(ResultId::U3), record.U4 + span * c / total) << name;
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
