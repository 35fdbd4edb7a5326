// Ranked alternatives against a brute-force enumeration of every
// combination, and the first of them against the search's own answer.
#include "circuits/alternatives.h"

#include "tests/core/search_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::RandomDistinctTable;
using testing::Table;

ValueTable View(const Table& t) {
    return {t.data(), static_cast<int>(t.size()), false, false};
}

// Every combination as the calculator derives it, ordered by the absolute
// error and then R1, R2, R3, keeping the first of each set of mirrors:
// combinations equal once the values of interchangeable resistors (all in
// the pure series and parallel circuits, R2 and R3 in the mixed ones) on
// the same table are sorted.
std::vector<Alternative> BruteForce(const CatalogueEntry& entry, double target,
                                    const std::vector<ValueTable>& t) {
    std::vector<Alternative> all;
    std::vector<int> i(t.size(), 0);
    for (std::size_t k = 0; k < i.size();) {
        Alternative a{{}, 0, 0};
        for (std::size_t r = 0; r < t.size(); ++r)
            a.values.push_back(t[r].values[i[r]]);
        SolveOutcome out;
        FamilyOf(entry).derive(entry, ResistanceInput{target}, a.values, out);
        a.resistance = *out.Result(ResultId::Resistance);
        a.errorPercent = *out.Result(ResultId::ErrorPercent);
        all.push_back(a);
        for (k = 0; k < i.size() && i[k] == t[k].count - 1; ++k)
            i[k] = 0;
        if (k < i.size())
            ++i[k];
    }
    std::sort(all.begin(), all.end(), [](const Alternative& a, const Alternative& b) {
        if (std::fabs(a.errorPercent) != std::fabs(b.errorPercent))
            return std::fabs(a.errorPercent) < std::fabs(b.errorPercent);
        return a.values < b.values;
    });
    const std::size_t first = entry.index <= 5 ? 0 : 1;
    std::set<std::vector<double>> seen;
    std::vector<Alternative> ranked;
    for (const Alternative& a : all) {
        std::vector<double> key = a.values;
        for (std::size_t p = first; p < t.size(); ++p)
            for (std::size_t q = p + 1; q < t.size(); ++q)
                if (t[p].values == t[q].values && key[q] < key[p])
                    std::swap(key[p], key[q]);
        if (seen.insert(key).second)
            ranked.push_back(a);
    }
    return ranked;
}

TEST(RankAlternatives, AgreeWithBruteForceEnumeration) {
    std::mt19937 gen(1515);
    for (int round = 0; round < 600; ++round) {
        const CatalogueEntry& entry = CatalogueAt(2 + round % 6);
        // Each resistor on one of three tables: a shared table brings the
        // mirror rule in, a copy of one does not; now and then a value twice.
        Table pool[3] = {RandomDistinctTable(gen, gen() % 2 == 0, 7, 30, 60),
                         RandomDistinctTable(gen, gen() % 2 == 0, 7, 30, 60),
                         {}};
        pool[1].push_back(pool[1].back());
        pool[2] = pool[0];
        std::vector<ValueTable> tables;
        for (int k = 0; k < entry.resistors; ++k)
            tables.push_back(View(pool[gen() % 3]));
        // Half of the targets are the value of a combination: exact hits
        // and equal errors.
        double target = std::uniform_real_distribution<double>(0.3, 200)(gen);
        if (round % 2 == 0) {
            const auto any = BruteForce(entry, target, tables);
            target = any[gen() % any.size()].resistance;
        }
        const std::vector<Alternative> expected = BruteForce(entry, target, tables);
        const int count = 1 + static_cast<int>(gen() % 25);

        std::vector<Alternative> got;
        ASSERT_EQ(RankAlternatives(entry, ResistanceInput{target}, tables, count, {}, got),
                  AlternativesStatus::Found);
        ASSERT_EQ(got.size(), std::min(expected.size(), static_cast<std::size_t>(count)));
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].values, expected[i].values) << entry.index << " " << round << " " << i;
            EXPECT_EQ(Bits(got[i].resistance), Bits(expected[i].resistance));
            EXPECT_EQ(Bits(got[i].errorPercent), Bits(expected[i].errorPercent));
        }
    }
}

TEST(RankAlternatives, FirstIsNeverWorseThanTheSearchWithoutTolerance) {
    std::mt19937 gen(77);
    SearchContext exact;
    exact.relTol = 0;
    for (int round = 0; round < 3000; ++round) {
        const CatalogueEntry& entry = CatalogueAt(2 + round % 6);
        const Table a = RandomDistinctTable(gen, round % 3 == 0, 12, 40, 300);
        const Table b = RandomDistinctTable(gen, round % 3 == 0, 12, 40, 300);
        const std::vector<ValueTable> all{View(a), View(round % 2 ? a : b), View(b)};
        const std::span tables(all.data(), static_cast<std::size_t>(entry.resistors));
        const SolveInputs in = ResistanceInput{std::uniform_real_distribution(0.2, 500.0)(gen)};
        const SolveOutcome answer = Solve(entry, in, tables, exact);
        const double answerError = *answer.Result(ResultId::ErrorPercent);

        std::vector<Alternative> first;
        ASSERT_EQ(RankAlternatives(entry, in, tables, 1, {}, first), AlternativesStatus::Found);
        EXPECT_LE(std::fabs(first.at(0).errorPercent), std::fabs(answerError)) << round;
        if (first[0].values == answer.values) {
            EXPECT_EQ(Bits(first[0].errorPercent), Bits(answerError)) << round;
        }
    }
}

TEST(RankAlternatives, RefusesWhatTheCalculatorRefuses) {
    const Table t{10, 22, 47};
    const std::vector<ValueTable> two{View(t), View(t)};
    const struct {
        int entry;
        SolveInputs in;
        int count;
    } refusals[] = {{3, ResistanceInput{std::nan("")}, 5},
                    {3, ResistanceInput{1e-16}, 5},
                    {3, ResistanceInput{50}, 0},
                    {3, ResistanceInput{50}, 101},
                    {8, DividerInput{}, 5},
                    {4, ResistanceInput{50}, 5}};
    for (const auto& r : refusals) {
        std::vector<Alternative> out;
        EXPECT_EQ(RankAlternatives(CatalogueAt(r.entry), r.in, two, r.count, {}, out),
                  AlternativesStatus::InvalidInput)
            << r.entry << " " << r.count;
    }
}

} // namespace
} // namespace ohmtrim
