// Ranked alternatives against a brute-force enumeration of every
// combination, and the first of them against the search's own answer.
#include "circuits/alternatives.h"

#include "tests/core/search_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Bits;
using testing::RandomDistinctTable;
using testing::Table;

struct Combination {
    std::vector<double> values;
    double resistance;
    double errorPercent;
};

// Which resistors of an entry may trade places without changing the
// circuit: all of them in the pure parallel and series circuits, R2 and R3
// in R1 // (R2 + R3) and R1 + R2 // R3.
std::vector<int> Interchangeable(int entry) {
    if (entry <= 3)
        return {0, 1};
    if (entry <= 5)
        return {0, 1, 2};
    return {1, 2};
}

// Is b a itself or a with interchangeable resistors of the same table swapped?
bool SameOrMirror(int entry, const std::vector<ValueTable>& tables, std::vector<double> a,
                  const std::vector<double>& b) {
    const std::vector<int> kind = Interchangeable(entry);
    // Every permutation of the interchangeable positions that keeps each
    // resistor on a table like its own.
    std::vector<int> perm = kind;
    std::sort(perm.begin(), perm.end());
    do {
        bool sameTables = true;
        std::vector<double> p = a;
        for (std::size_t i = 0; i < kind.size(); ++i) {
            const auto from = static_cast<std::size_t>(kind[i]);
            const auto to = static_cast<std::size_t>(perm[i]);
            sameTables = sameTables && tables[from].values == tables[to].values &&
                         tables[from].count == tables[to].count;
            p[to] = a[from];
        }
        if (sameTables && p == b)
            return true;
    } while (std::next_permutation(perm.begin(), perm.end()));
    return false;
}

// Every combination, derived as the calculator derives it, in the order of
// the absolute error and then R1, R2, R3; those already listed in a mirror
// left out.
std::vector<Combination> BruteForce(const CatalogueEntry& entry, double target,
                                    const std::vector<ValueTable>& tables) {
    const ResistanceInput in{target};
    std::vector<Combination> all;
    std::vector<int> index(tables.size(), 0);
    for (;;) {
        Combination c;
        for (std::size_t k = 0; k < tables.size(); ++k)
            c.values.push_back(tables[k].values[index[k]]);
        SolveOutcome out;
        FamilyOf(entry).derive(entry, in, c.values, out);
        c.resistance = *out.Result(ResultId::Resistance);
        c.errorPercent = *out.Result(ResultId::ErrorPercent);
        all.push_back(c);
        std::size_t k = 0;
        while (k < index.size() && index[k] == tables[k].count - 1)
            index[k++] = 0;
        if (k == index.size())
            break;
        ++index[k];
    }
    std::stable_sort(all.begin(), all.end(), [](const Combination& a, const Combination& b) {
        if (std::fabs(a.errorPercent) != std::fabs(b.errorPercent))
            return std::fabs(a.errorPercent) < std::fabs(b.errorPercent);
        return a.values < b.values;
    });
    std::vector<Combination> ranked;
    for (const Combination& c : all) {
        const bool listed = std::any_of(ranked.begin(), ranked.end(), [&](const Combination& r) {
            return SameOrMirror(entry.index, tables, r.values, c.values);
        });
        if (!listed)
            ranked.push_back(c);
    }
    return ranked;
}

ValueTable View(const Table& t) {
    return {t.data(), static_cast<int>(t.size()), false, false};
}

// A random small table; now and then with a value twice.
Table RandomTable(std::mt19937& gen) {
    Table t = RandomDistinctTable(gen, gen() % 2 == 0, 7, 30, 60);
    if (gen() % 4 == 0)
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(gen() % t.size()), t[gen() % t.size()]);
    std::sort(t.begin(), t.end());
    return t;
}

TEST(RankAlternatives, AgreeWithBruteForceEnumeration) {
    std::mt19937 gen(1515);
    for (int round = 0; round < 600; ++round) {
        const CatalogueEntry& entry = CatalogueAt(2 + round % 6);
        // Up to three tables, each resistor on one of them: shared tables
        // bring the mirror rule in, a copy of a table does not.
        Table pool[3] = {RandomTable(gen), RandomTable(gen), {}};
        pool[2] = pool[0];
        std::vector<ValueTable> tables;
        for (int k = 0; k < entry.resistors; ++k)
            tables.push_back(View(pool[gen() % 3]));
        // Half of the targets are the value of a combination, so that
        // exact hits and equal errors come up.
        double target = std::uniform_real_distribution<double>(0.3, 200)(gen);
        const std::vector<Combination> all = BruteForce(entry, target, tables);
        if (round % 2 == 0)
            target = all[gen() % all.size()].resistance;
        const std::vector<Combination> expected = BruteForce(entry, target, tables);
        const int count = 1 + static_cast<int>(gen() % 25);

        std::vector<Alternative> got;
        ASSERT_EQ(RankAlternatives(entry, ResistanceInput{target}, tables, count, {}, got),
                  AlternativesStatus::Found);
        ASSERT_EQ(got.size(), std::min(expected.size(), static_cast<std::size_t>(count)))
            << "entry " << entry.index << " round " << round;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].values, expected[i].values)
                << "entry " << entry.index << " round " << round << " rank " << i;
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
        const std::vector<ValueTable> tables{View(a), View(round % 2 ? a : b), View(b)};
        const std::span<const ValueTable> used(tables.data(),
                                               static_cast<std::size_t>(entry.resistors));
        const double target = std::uniform_real_distribution<double>(0.2, 500)(gen);
        const SolveInputs in = ResistanceInput{target};
        const SolveOutcome answer = Solve(entry, in, used, exact);
        ASSERT_EQ(answer.status, SearchStatus::Found);
        const double answerError = *answer.Result(ResultId::ErrorPercent);

        std::vector<Alternative> first;
        ASSERT_EQ(RankAlternatives(entry, in, used, 1, {}, first), AlternativesStatus::Found);
        ASSERT_EQ(first.size(), 1U);
        EXPECT_LE(std::fabs(first[0].errorPercent), std::fabs(answerError))
            << "entry " << entry.index << " round " << round;
        if (first[0].values == answer.values) {
            EXPECT_EQ(Bits(first[0].errorPercent), Bits(answerError));
        }
    }
}

TEST(RankAlternatives, TablesOutOfOrderGiveTheSameList) {
    const Table sorted{10, 22, 33, 47, 68, 100};
    const Table shuffled{68, 10, 100, 33, 22, 47};
    const CatalogueEntry& entry = CatalogueAt(5);
    std::vector<Alternative> fromSorted, fromShuffled;
    const std::vector<ValueTable> s{View(sorted), View(sorted), View(sorted)};
    const std::vector<ValueTable> u{View(shuffled), View(shuffled), View(shuffled)};
    ASSERT_EQ(RankAlternatives(entry, ResistanceInput{101}, s, 10, {}, fromSorted),
              AlternativesStatus::Found);
    ASSERT_EQ(RankAlternatives(entry, ResistanceInput{101}, u, 10, {}, fromShuffled),
              AlternativesStatus::Found);
    ASSERT_EQ(fromSorted.size(), 10U);
    for (std::size_t i = 0; i < fromSorted.size(); ++i)
        EXPECT_EQ(fromSorted[i].values, fromShuffled[i].values) << i;
}

TEST(RankAlternatives, RefusesWhatTheCalculatorRefuses) {
    const Table t{10, 22, 47};
    const std::vector<ValueTable> two{View(t), View(t)};
    struct Refusal {
        const char* name;
        int entry;
        SolveInputs in;
        int count;
    };
    const Refusal refusals[] = {
        {"NaN target", 3, ResistanceInput{std::nan("")}, 5},
        {"target below the range", 3, ResistanceInput{1e-16}, 5},
        {"target above the range", 3, ResistanceInput{2e15}, 5},
        {"no count", 3, ResistanceInput{50}, 0},
        {"too many", 3, ResistanceInput{50}, kMaxAlternatives + 1},
        {"a divider", 8, DividerInput{}, 5},
        {"tables of another entry", 4, ResistanceInput{50}, 5},
    };
    for (const Refusal& r : refusals) {
        std::vector<Alternative> out{{{1.0}, 1, 1}};
        EXPECT_EQ(RankAlternatives(CatalogueAt(r.entry), r.in, two, r.count, {}, out),
                  AlternativesStatus::InvalidInput)
            << r.name;
        EXPECT_TRUE(out.empty()) << r.name;
    }
}

TEST(RankAlternatives, EscapeWhileThePairTableIsBuilt) {
    Table t;
    for (int i = 1; i <= 400; ++i)
        t.push_back(i);
    const std::vector<ValueTable> three{View(t), View(t), View(t)};
    const std::atomic<bool> escape{true};
    SearchContext ctx;
    ctx.escape = &escape;
    std::vector<Alternative> out;
    EXPECT_EQ(RankAlternatives(CatalogueAt(5), ResistanceInput{123.4}, three, 5, ctx, out),
              AlternativesStatus::Aborted);
}

} // namespace
} // namespace ohmtrim
