#include "tests/core/search_test_support.h"
#include "circuits/solve.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string_view>
#include <vector>

namespace ohmtrim {
namespace {

using testing::CeilingRef;
using testing::Context;
using testing::E12From100To82000;
using testing::kSmallDividerTable;
using testing::PollCounter;
using testing::Table;

// A result of an outcome (NaN when absent).
double ResultOf(const SolveOutcome& out, ResultId id) {
    return out.Result(id).value_or(std::nan(""));
}

// The divider calculator of a catalogue entry on one table per resistor.
SolveOutcome SolveEntry(int entry, const DividerInput& in, const std::vector<ValueTable>& tables,
                        const SearchContext& ctx) {
    return Solve(CatalogueAt(entry), in, tables, ctx);
}

std::vector<ValueTable> TablesOf(const std::vector<const Table*>& tables) {
    std::vector<ValueTable> out;
    for (const Table* t : tables)
        out.push_back({t->data(), static_cast<int>(t->size()), false, false});
    return out;
}

struct SolveCase {
    const char* name;
    int entry;
    DividerInput in;
    std::vector<const Table*> tables;
    std::vector<double> values;
    double resistance;
    double u2;
};

TEST(SolveDivider, ChosenValuesTotalAndOutputVoltage) {
    const Table e12 = E12From100To82000();
    const Table t2000{1000, 2000}, t1000{1000}, t300{300}, t100{100}, t200{200};
    const Table upper{100, 200, 400}, t400{400};
    // Upper and lower branches by hand for the four-resistor rows.
    const double triple = 1 / (1 / 300.0 + 1 / 300.0 + 1 / 300.0);
    const double series = 1 / (1 / (100.0 + 100.0) + 1 / 200.0);
    const double pair = 400.0 * 200.0 / (400.0 + 200.0);
    const SolveCase cases[] = {
        {"two resistors",
         8,
         {10, 5, 0, 1000, 100000},
         {&kSmallDividerTable, &kSmallDividerTable},
         {1000, 1000},
         2000,
         5},
        {"two resistors, rising voltages",
         8,
         {0, 5, 10, 1000, 100000},
         {&kSmallDividerTable, &kSmallDividerTable},
         {1000, 1000},
         2000,
         10 + (0 - 10) * 1000.0 / 2000.0},
        // 12 V to 5 V out of E12: 4700 over 3300 gives 12 * 3300 / 8000 = 4.95 V.
        {"two resistors, E12", 8, {12, 5, 0, 1000, 20000}, {&e12, &e12}, {4700, 3300}, 8000, 4.95},
        {"two resistors, E12 rising",
         8,
         {0, 7, 12, 1000, 20000},
         {&e12, &e12},
         {4700, 3300},
         8000,
         12 + (0 - 12) * 3300.0 / 8000.0},
        {"R1 // R2 above R3",
         9,
         {10, 5, 0, 100, 10000},
         {&t2000, &t2000, &t1000},
         {2000, 2000, 1000},
         2000,
         10 * 1000.0 / 2000.0},
        {"R1 // R2 // R3 above R4",
         10,
         {10, 5, 0, 100, 1000},
         {&t300, &t300, &t300, &t100},
         {300, 300, 300, 100},
         triple + 100,
         10 * 100.0 / (triple + 100)},
        {"R1 // (R2 + R3) above R4",
         11,
         {10, 5, 0, 100, 1000},
         {&t200, &t100, &t100, &t100},
         {200, 100, 100, 100},
         series + 100,
         10 * 100.0 / (series + 100)},
        {"R1 // R2 above R3 // R4",
         12,
         {10, 5, 0, 1, 100000},
         {&upper, &upper, &t400, &t200},
         {200, 400, 400, 200},
         pair + pair,
         10 * pair / (pair + pair)},
    };
    for (const auto& c : cases) {
        const auto tables = TablesOf(c.tables);
        const SolveOutcome out = SolveEntry(c.entry, c.in, tables, SearchContext{});
        EXPECT_EQ(out.status, SearchStatus::Found) << c.name;
        EXPECT_EQ(out.values, c.values) << c.name;
        ASSERT_EQ(out.results.size(), 2u) << c.name;
        EXPECT_EQ(out.results[0].id, ResultId::Resistance) << c.name;
        EXPECT_EQ(out.results[1].id, ResultId::U2) << c.name;
        EXPECT_EQ(ResultOf(out, ResultId::Resistance), c.resistance) << c.name;
        EXPECT_EQ(ResultOf(out, ResultId::U2), c.u2) << c.name;
    }
}

// U1 = 0, U2 = 3, U3 = 12 (rising) with E12 for every resistor: the output
// the chosen values give is close to 3 V and the total lies in the range.
TEST(SolveDivider, RisingVoltagesGiveAnOutputCloseToTheWantedOne) {
    const Table e12 = E12From100To82000();
    const DividerInput in{0, 3, 12, 1000, 100000};
    for (int entry = 8; entry <= 12; ++entry) {
        const std::vector<const Table*> t(static_cast<std::size_t>(CatalogueAt(entry).resistors),
                                          &e12);
        const auto tables = TablesOf(t);
        const SolveOutcome out = SolveEntry(entry, in, tables, SearchContext{});
        EXPECT_EQ(out.status, SearchStatus::Found) << "entry " << entry;
        EXPECT_NEAR(ResultOf(out, ResultId::U2), 3, 0.03) << "entry " << entry;
        EXPECT_GE(ResultOf(out, ResultId::Resistance), 1000) << "entry " << entry;
        EXPECT_LE(ResultOf(out, ResultId::Resistance), 100000) << "entry " << entry;
    }
}

// A failed search carries its status only.
TEST(SolveDivider, FailuresCarryNoValuesAndNoResults) {
    const struct {
        const char* name;
        DividerInput in;
        SearchStatus status;
    } cases[] = {
        {"all voltages 0", {0, 0, 0, 1000, 100000}, SearchStatus::InvalidInput},
        {"R min 0", {10, 5, 0, 0, 100000}, SearchStatus::InvalidInput},
        {"R min equal to R max", {10, 5, 0, 1000, 1000}, SearchStatus::InvalidInput},
        {"R max above 1e15", {10, 5, 0, 1000, 2e15}, SearchStatus::InvalidInput},
        {"U2 outside U1..U3", {10, 12, 0, 1000, 100000}, SearchStatus::InvalidInput},
        {"R max below every total", {10, 5, 0, 1, 90}, SearchStatus::NoSolution},
    };
    for (int entry = 8; entry <= 12; ++entry)
        for (const auto& c : cases) {
            const std::vector<const Table*> t(
                static_cast<std::size_t>(CatalogueAt(entry).resistors), &kSmallDividerTable);
            const SolveOutcome out = SolveEntry(entry, c.in, TablesOf(t), SearchContext{});
            EXPECT_EQ(out.status, c.status) << "entry " << entry << ": " << c.name;
            EXPECT_TRUE(out.values.empty()) << "entry " << entry << ": " << c.name;
            EXPECT_TRUE(out.results.empty()) << "entry " << entry << ": " << c.name;
        }
}

// Entries that are not dividers, or the wrong number of tables.
TEST(SolveDivider, RefusesWhatIsNotADividerCalculator) {
    const DividerInput in{10, 5, 0, 1000, 100000};
    const struct {
        const char* name;
        int entry;
        int tables;
    } cases[] = {
        {"series pair entry", 3, 2},
        {"two-resistor divider with three tables", 8, 3},
        {"four-resistor divider with three tables", 12, 3},
    };
    for (const auto& c : cases) {
        const std::vector<const Table*> t(static_cast<std::size_t>(c.tables), &kSmallDividerTable);
        const SolveOutcome out = SolveEntry(c.entry, in, TablesOf(t), SearchContext{});
        EXPECT_EQ(out.status, SearchStatus::InvalidInput) << c.name;
        EXPECT_TRUE(out.values.empty()) << c.name;
    }
    std::vector<ValueTable> empty = TablesOf({&kSmallDividerTable, &kSmallDividerTable});
    empty[1].count = 0;
    EXPECT_EQ(SolveEntry(8, in, empty, SearchContext{}).status, SearchStatus::InvalidInput)
        << "empty table";
}

TEST(SolveDivider, EscapeHeldAbortsWithNothingToShow) {
    std::atomic<bool> escape{true};
    SearchContext ctx;
    ctx.escape = &escape;
    ctx.relTol = 0; // no exact early find among the pairs before the first poll
    const Table big = [] {
        Table t;
        for (int i = 1; i <= 100; ++i)
            t.push_back(i * 10.0);
        return t;
    }();
    for (int entry = 8; entry <= 12; ++entry) {
        const std::vector<const Table*> t(static_cast<std::size_t>(CatalogueAt(entry).resistors),
                                          &big);
        const auto tables = TablesOf(t);
        const SolveOutcome out = SolveEntry(entry, {10, 5, 0, 1e-3, 1e15}, tables, ctx);
        EXPECT_EQ(out.status, SearchStatus::Aborted) << "entry " << entry;
        EXPECT_TRUE(out.values.empty()) << "entry " << entry;
        EXPECT_TRUE(out.results.empty()) << "entry " << entry;
    }
}

} // namespace
} // namespace ohmtrim
