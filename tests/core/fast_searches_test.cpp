#include "tests/core/fast_test_support.h"

#include "bench/eseries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Inputs;
using testing::Outcome;
using testing::Search;
using testing::Table;

// How a fast search meets its pair table: none yet (the plain scan with its
// budget, then the build), cached before the call, or cached and run in
// parts on two threads (dividers of two pairs; the parts also start when
// the table arrives during the scan).
enum class Mode { Cold, Warm, WarmTwoThreads, ColdTwoThreads };

const char* NameOf(Mode m) {
    switch (m) {
    case Mode::Cold:
        return "cold";
    case Mode::Warm:
        return "warm";
    case Mode::WarmTwoThreads:
        return "warm, two threads";
    case Mode::ColdTwoThreads:
        return "cold, two threads";
    }
    return "";
}

// The budgets of the plain scan before the cache is looked at and before a
// table is built, small enough for small tables to reach the fast path at
// any point of their scan (or not at all).
PairTableCache::Options RandomOptions(std::mt19937& gen) {
    static const std::int64_t kStartRows[] = {0, 1, 3, 10, 256};
    static const double kRowsPerEntry[] = {0, 0.05, 0.2, 0.8};
    PairTableCache::Options options;
    options.startRows = kStartRows[gen() % std::size(kStartRows)];
    options.plainRowsPerEntry = kRowsPerEntry[gen() % std::size(kRowsPerEntry)];
    options.pairsForThreads = 0; // small tables on two threads too, where allowed
    return options;
}

Outcome RunFast(Search s, Mode mode, const Inputs& in, const std::vector<const Table*>& t,
                double relTol, const PairTableCache::Options& options) {
    const bool prebuilt = mode == Mode::Warm || mode == Mode::WarmTwoThreads;
    const bool two = mode == Mode::WarmTwoThreads || mode == Mode::ColdTwoThreads;
    return testing::RunFast(s, in, t, relTol, options, prebuilt, two ? 2 : 1);
}

// Tables of one random case: each resistor its own table, or some of them
// sharing one (the same array, as a window passes one value set twice).
std::vector<Table> CaseTables(std::mt19937& gen, int resistors, std::vector<const Table*>& t) {
    std::vector<Table> tables;
    for (int m = 0; m < resistors; ++m)
        tables.push_back(testing::NastyTable(gen));
    t.clear();
    for (const Table& table : tables)
        t.push_back(&table);
    switch (gen() % 4) {
    case 0: // all share the first
        for (auto& p : t)
            p = t[0];
        break;
    case 1: // the last two share a table
        t[static_cast<std::size_t>(resistors - 1)] = t[static_cast<std::size_t>(resistors - 2)];
        break;
    case 2: // the first two share a table
        t[1] = t[0];
        break;
    default:
        break;
    }
    return tables;
}

// The range of a random case: around a value of one of its tables, now and
// then refused (reversed, below 1e-15, above 1e15) or the widest allowed.
void RandomRange(std::mt19937& gen, const std::vector<const Table*>& t, double& rmin,
                 double& rmax) {
    const Table& some = *t[gen() % t.size()];
    rmin = some[gen() % some.size()] * testing::LogUniform(gen, 0.1, 3);
    rmax = rmin * testing::LogUniform(gen, 1.2, 1e4);
    switch (gen() % 16) {
    case 0:
        std::swap(rmin, rmax);
        break;
    case 1:
        rmin = 0;
        break;
    case 2:
        rmax = 2e15;
        break;
    case 3:
        rmin = 1e-15;
        rmax = 1e15;
        break;
    default:
        break;
    }
}

Inputs DividerInputs(std::mt19937& gen, const std::vector<const Table*>& t) {
    Inputs in;
    double u1 = 0, u2 = 0, u3 = 0;
    switch (gen() % 6) {
    case 0:
    case 1: { // exact ratios: many candidates hit the wanted fraction exactly
        static const double kRatios[][3] = {{10, 5, 0}, {3, 2, 0}, {12, 8, 0}, {10, 2, 0},
                                            {4, 3, 0},  {9, 3, 0}, {5, 4, 1}};
        const auto& r = kRatios[gen() % std::size(kRatios)];
        u1 = r[0];
        u2 = r[1];
        u3 = r[2];
        break;
    }
    case 2:
    case 3:
        u3 = std::uniform_real_distribution<double>(-5, 5)(gen);
        u2 = u3 + testing::LogUniform(gen, 1e-3, 10);
        u1 = u2 + testing::LogUniform(gen, 1e-3, 10);
        break;
    case 4: { // invalid or extreme voltages
        static const double kOdd[][3] = {{5, 5, 0},
                                         {5, 6, 0},
                                         {1, 2e-15, 0},
                                         {1e300, 1, -1e300},
                                         {std::numeric_limits<double>::quiet_NaN(), 1, 0},
                                         {1e15, 1, 0},
                                         {1, 1 - 1e-15, 0}};
        const auto& r = kOdd[gen() % std::size(kOdd)];
        u1 = r[0];
        u2 = r[1];
        u3 = r[2];
        break;
    }
    default:
        u3 = 0;
        u2 = static_cast<double>(1 + gen() % 9);
        u1 = u2 + static_cast<double>(1 + gen() % 9);
        break;
    }
    if (gen() % 2 == 0)
        std::swap(u1, u3); // rising voltages
    in.u1 = u1;
    in.u2 = u2;
    in.u3 = u3;
    RandomRange(gen, t, in.rmin, in.rmax);
    return in;
}

// Node voltages: exact shares (many chains hit them exactly and tie),
// random ones, small integers, and refused or extreme ones; falling or
// rising. A node the search does not use gets anything.
Inputs NodeInputs(std::mt19937& gen, const std::vector<const Table*>& t, char nodes) {
    double u[4] = {};
    switch (gen() % 6) {
    case 0:
    case 1: {
        static const double kShares[][4] = {{12, 8, 4, 0},     {10, 5, 2.5, 0}, {9, 6, 3, 0},
                                            {12, 7.5, 3.3, 0}, {10, 6, 3, 0},   {4, 3, 2, 1},
                                            {8, 6, 2, 0},      {3, 2, 1, 0}};
        const auto& r = kShares[gen() % std::size(kShares)];
        std::copy(std::begin(r), std::end(r), u);
        break;
    }
    case 2:
    case 3:
        u[3] = std::uniform_real_distribution<double>(-5, 5)(gen);
        for (int m = 2; m >= 0; --m)
            u[m] = u[m + 1] + testing::LogUniform(gen, 1e-3, 10);
        break;
    case 4: {
        static const double kOdd[][4] = {{5, 5, 2, 0},
                                         {5, 6, 2, 0},
                                         {1, 3e-15, 2e-15, 0},
                                         {1e300, 1, 0.5, -1e300},
                                         {std::numeric_limits<double>::quiet_NaN(), 1, 0.5, 0},
                                         {1e15, 2, 1, 0},
                                         {1, 1 - 1e-15, 0.5, 0}};
        const auto& r = kOdd[gen() % std::size(kOdd)];
        std::copy(std::begin(r), std::end(r), u);
        break;
    }
    default:
        u[3] = 0;
        for (int m = 2; m >= 0; --m)
            u[m] = u[m + 1] + static_cast<double>(1 + gen() % 5);
        break;
    }
    if (gen() % 2 == 0)
        std::reverse(std::begin(u), std::end(u));
    Inputs in;
    in.node = {u[0], u[1], u[2], u[3], 1, 1, 0, 0};
    if (nodes == '3') {
        in.node.HasU2 = 0;
        in.node.U2 = gen() % 2 == 0 ? 0.0 : 1e300;
    } else if (nodes == '2') {
        in.node.HasU3 = 0;
        in.node.U3 = gen() % 2 == 0 ? 0.0 : -7.0;
    }
    RandomRange(gen, t, in.node.RMin, in.node.RMax);
    return in;
}

// The two cases of a star: mostly the voltages of a real star of small
// whole-number branches (so that many candidates meet the ratios exactly
// and tie), sometimes random voltages or cases that fix no ratio.
Inputs StarInputs(std::mt19937& gen, const std::vector<const Table*>& t) {
    Inputs in;
    double v[8] = {};
    switch (gen() % 5) {
    case 3:
        for (double& x : v)
            x = std::uniform_real_distribution<double>(-10, 10)(gen);
        break;
    case 4: {
        static const double kOdd[][8] = {
            {4, 10, 0, 0, 8, 20, 0, 0},                                     // proportional
            {2, 10, 2, 0, 5, 0, 5, 10},                                     // a ratio of 0
            {4, 10, 0, 0, 2, 0, 0, 10},                                     // 1000 / 1000 / 2000
            {1e300, -1e300, 0, 1e300, 1, 0, 0, 2},                          // overflow
            {std::numeric_limits<double>::quiet_NaN(), 1, 2, 3, 4, 5, 6, 7} // NaN
        };
        const auto& r = kOdd[gen() % std::size(kOdd)];
        std::copy(std::begin(r), std::end(r), v);
        break;
    }
    default: {
        static const double kBranches[] = {1, 2, 3, 4, 5, 10, 0.5, 2.5};
        const double b[3] = {kBranches[gen() % std::size(kBranches)],
                             kBranches[gen() % std::size(kBranches)],
                             kBranches[gen() % std::size(kBranches)]};
        for (int c = 0; c < 2; ++c) {
            double sum = 0;
            double g = 0;
            for (int m = 0; m < 3; ++m) {
                v[4 * c + 1 + m] = static_cast<double>(gen() % 13);
                sum += v[4 * c + 1 + m] / b[m];
                g += 1 / b[m];
            }
            v[4 * c] = sum / g;
        }
        break;
    }
    }
    in.star = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], 0, 0};
    RandomRange(gen, t, in.star.RMin, in.star.RMax);
    return in;
}

Inputs RandomInputs(std::mt19937& gen, Search s, const std::vector<const Table*>& t) {
    switch (testing::FamilyOf(s)) {
    case testing::Family::Divider:
        return DividerInputs(gen, t);
    case testing::Family::Node:
        return NodeInputs(gen, t, testing::NodesOf(s));
    case testing::Family::Star:
        return StarInputs(gen, t);
    case testing::Family::Resistance:
        break;
    }
    Inputs in;
    in.target = testing::NastyTarget(gen, *t[0], *t[1], *t[t.size() - 1]);
    return in;
}

// The fast searches against their plain functions on thousands of small
// nasty cases, in every mode: status and outputs bit for bit. The searches
// that validate their input must meet every status but an abort.
void CompareOnRandomCases(const std::vector<Search>& searches, std::uint32_t seed, int perSearch) {
    int checks = 0;
    int mismatches = 0;
    for (Search s : searches) {
        std::mt19937 gen(seed + static_cast<std::uint32_t>(s) * 7919u);
        int statuses[4] = {0, 0, 0, 0};
        for (int k = 0; k < perSearch * testing::SoakFactor(); ++k) {
            std::vector<const Table*> t;
            const std::vector<Table> tables = CaseTables(gen, testing::ResistorsOf(s), t);
            const Inputs in = RandomInputs(gen, s, t);
            const double relTol =
                testing::kToleranceClasses[gen() % std::size(testing::kToleranceClasses)];
            const Outcome want = testing::RunPlain(s, in, t, relTol);
            const PairTableCache::Options options = RandomOptions(gen);
            ++statuses[static_cast<int>(want.status)];
            for (Mode mode : {Mode::Cold, Mode::Warm, Mode::WarmTwoThreads, Mode::ColdTwoThreads}) {
                if ((mode == Mode::WarmTwoThreads || mode == Mode::ColdTwoThreads) &&
                    !testing::EnumeratesPairs(s))
                    continue;
                const Outcome got = RunFast(s, mode, in, t, relTol, options);
                ++checks;
                if (testing::SameBits(got, want))
                    continue;
                if (++mismatches <= 10)
                    ADD_FAILURE() << testing::NameOf(s) << ", case " << k << ", " << NameOf(mode)
                                  << ", tolerance " << relTol << ", " << testing::Describe(s, in)
                                  << "\n  plain " << testing::Describe(want) << "\n  fast  "
                                  << testing::Describe(got);
            }
        }
        if (testing::FamilyOf(s) != testing::Family::Resistance) {
            EXPECT_GT(statuses[0], perSearch / 20) << testing::NameOf(s);
            EXPECT_GT(statuses[1], perSearch / 50) << testing::NameOf(s);
            EXPECT_GT(statuses[2], perSearch / 50) << testing::NameOf(s);
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << checks << " checks";
}

TEST(FastSearches, ResistanceSearchesMatchPlainOnNastyTables) {
    CompareOnRandomCases(
        {std::begin(testing::kResistanceSearches), std::end(testing::kResistanceSearches)}, 1,
        5000);
}

TEST(FastSearches, DividersMatchPlainOnNastyTables) {
    CompareOnRandomCases(
        {std::begin(testing::kDividerSearches), std::end(testing::kDividerSearches)}, 2, 4000);
}

TEST(FastSearches, NodeDividersMatchPlainOnNastyTables) {
    CompareOnRandomCases({std::begin(testing::kNodeSearches), std::end(testing::kNodeSearches)}, 3,
                         2500);
}

TEST(FastSearches, StarsMatchPlainOnNastyTables) {
    CompareOnRandomCases({std::begin(testing::kStarSearches), std::end(testing::kStarSearches)}, 4,
                         2500);
}

// A pair search walks the table outwards from the target only while that
// pays: when the entries near the target belong to rows the scan never
// reaches, it gives way to the plain scan of the rows it has not seen. Here
// hundreds of such entries lie nearer to the target than the best
// candidate, which is in the fourth row.
TEST(FastSearches, PairWalkGivesWayToThePlainScan) {
    // Parallel: rows below the target are no candidates; their values a // b
    // with large b crowd just below it. 150 // 302.7 misses by 0.3.
    Table belowTarget;
    for (int k = 0; k < 25; ++k)
        belowTarget.push_back(99.75 + 0.01 * k);
    Table parallelA = belowTarget;
    parallelA.insert(parallelA.end(), {100.5, 101, 150});
    Table parallelB{302.7};
    for (int k = 1; k <= 40; ++k)
        parallelB.push_back(1e5 * k);
    // Series: rows above the target are no candidates; a + b with tiny b
    // crowds just above it. 50 + 49.75 misses by 0.25.
    Table seriesA{1, 10, 20, 50};
    for (int k = 1; k <= 30; ++k)
        seriesA.push_back(100 + 0.01 * k);
    Table seriesB{49.75};
    for (int k = 1; k <= 20; ++k)
        seriesB.insert(seriesB.begin(), 1e-3 * k);
    std::sort(seriesB.begin(), seriesB.end());
    const struct {
        Search search;
        const Table* a;
        const Table* b;
        double expectedA;
    } cases[] = {{Search::ParallelPair, &parallelA, &parallelB, 150},
                 {Search::SeriesPair, &seriesA, &seriesB, 50}};
    for (const auto& c : cases) {
        Inputs in;
        in.target = 100;
        const std::vector<const Table*> t{c.a, c.b};
        const Outcome want = testing::RunPlain(c.search, in, t, 0);
        ASSERT_EQ(want.out[0], c.expectedA) << testing::NameOf(c.search);
        PairTableCache::Options options;
        options.startRows = 0;
        const Outcome got = RunFast(c.search, Mode::Warm, in, t, 0, options);
        EXPECT_TRUE(testing::SameBits(got, want))
            << testing::NameOf(c.search) << "\n  plain " << testing::Describe(want) << "\n  fast  "
            << testing::Describe(got);
    }
}

// ---- full value sets ---------------------------------------------------------------

using bench::ESeries;

// The series from 1 ohm to 10 Mohm, with and without a short-circuit and an
// open-circuit entry.
Table Series(ESeries s, bool boundaries) {
    Table t = bench::ESeriesValues(s, 0, 7);
    return boundaries ? bench::WithBoundaries(t, 0.001, 1e12) : t;
}

// Each search on whole E-series tables, one table for every resistor as the
// windows pass the main value set, against its plain function, in every
// mode. The plain searches set the pace: exhaustive dividers run over the
// whole range on the small sets only, over a narrow one on E96, and not at
// all on E192 (they take seconds each there; the benchmark covers them).
class WholeValueSets {
public:
    void Resistance(ESeries series, bool boundaries, int cases) {
        const Table t = Series(series, boundaries);
        for (Search s : testing::kResistanceSearches) {
            const std::vector<const Table*> tables(testing::ResistorsOf(s), &t);
            for (int k = 0; k < cases * testing::SoakFactor(); ++k) {
                Inputs in;
                in.target = k % 2 == 0 ? testing::LogUniform(m_gen, 0.5, 2e7)
                                       : testing::NastyTarget(m_gen, t, t, t);
                const double tol =
                    testing::kToleranceClasses[m_gen() % std::size(testing::kToleranceClasses)];
                Compare(s, in, tables, tol, {Mode::Cold, Mode::Warm});
            }
        }
    }

    struct DividerCase {
        double u1, u2, u3, rmin, rmax, tol;
    };
    void Dividers(ESeries series, bool boundaries, const std::vector<DividerCase>& cases) {
        const Table t = Series(series, boundaries);
        for (Search s : testing::kDividerSearches) {
            const std::vector<const Table*> tables(testing::ResistorsOf(s), &t);
            for (const DividerCase& d : cases) {
                Inputs in;
                in.u1 = d.u1;
                in.u2 = d.u2;
                in.u3 = d.u3;
                in.rmin = d.rmin;
                in.rmax = d.rmax;
                Compare(s, in, tables, d.tol, {Mode::Cold, Mode::Warm, Mode::WarmTwoThreads});
            }
        }
    }

    // Every search of a family on the same inputs, each with its tolerance.
    void Family(const Search* first, const Search* last, ESeries series, bool boundaries,
                const std::vector<std::pair<Inputs, double>>& cases) {
        const Table t = Series(series, boundaries);
        for (const Search* s = first; s != last; ++s) {
            const std::vector<const Table*> tables(testing::ResistorsOf(*s), &t);
            for (const auto& [in, tol] : cases) {
                if (testing::EnumeratesPairs(*s))
                    Compare(*s, in, tables, tol, {Mode::Cold, Mode::Warm, Mode::WarmTwoThreads});
                else
                    Compare(*s, in, tables, tol, {Mode::Cold, Mode::Warm});
            }
        }
    }

    int Mismatches() const { return m_mismatches; }

private:
    void Compare(Search s, const Inputs& in, const std::vector<const Table*>& tables, double tol,
                 std::initializer_list<Mode> modes) {
        const Outcome want = testing::RunPlain(s, in, tables, tol);
        for (Mode mode : modes) {
            const Outcome got = RunFast(s, mode, in, tables, tol, PairTableCache::Options{});
            if (!testing::SameBits(got, want) && ++m_mismatches <= 10)
                ADD_FAILURE() << testing::NameOf(s) << ", " << tables[0]->size() << " values, "
                              << NameOf(mode) << ", " << testing::Describe(s, in) << ", tolerance "
                              << tol << "\n  plain " << testing::Describe(want) << "\n  fast  "
                              << testing::Describe(got);
        }
    }

    std::mt19937 m_gen{5};
    int m_mismatches = 0;
};

TEST(FastSearches, ResistanceSearchesMatchPlainOnWholeValueSets) {
    WholeValueSets sets;
    sets.Resistance(ESeries::E12, false, 30);
    sets.Resistance(ESeries::E24, true, 30);
    sets.Resistance(ESeries::E96, false, 4);
    sets.Resistance(ESeries::E96, true, 3);
    sets.Resistance(ESeries::E192, false, 2);
    EXPECT_EQ(sets.Mismatches(), 0);
}

TEST(FastSearches, DividersMatchPlainOnWholeValueSets) {
    const std::vector<WholeValueSets::DividerCase> whole{{12, 5, 0, 1, 1e7, 0},
                                                         {10, 5, 0, 100, 1e6, 0},
                                                         {0, 3.3, 5, 1e3, 1e5, 0},
                                                         {12, 5, 0, 1e3, 1e5, 1e-6}};
    const std::vector<WholeValueSets::DividerCase> narrow{{12, 5, 0, 1e3, 1.2e3, 0},
                                                          {10, 5, 0, 2e3, 2.2e3, 0},
                                                          {12, 5, 0, 1, 1e7, 1e-6},
                                                          {10, 5, 0, 1, 1e7, 1e-6}};
    const std::vector<WholeValueSets::DividerCase> tolerance{
        {12, 5, 0, 1, 1e7, 1e-6}, {10, 5, 0, 1, 1e7, 1e-6}, {12, 3.3, 0, 1e3, 1e6, 1e-3}};
    WholeValueSets sets;
    sets.Dividers(ESeries::E12, false, whole);
    sets.Dividers(ESeries::E24, true, whole);
    sets.Dividers(ESeries::E96, false, narrow);
    sets.Dividers(ESeries::E192, false, tolerance);
    EXPECT_EQ(sets.Mismatches(), 0);
}

// Node voltages: typed ones, exact shares whose many chains tie, both on a
// wide range; a narrow range where the tolerance is 0 on the larger sets.
Inputs Node(double u1, double u2, double u3, double rmin, double rmax) {
    Inputs in;
    in.node = {u1, u2, u3, 0, 1, 1, rmin, rmax};
    return in;
}

// Stars of about 1k, 2.7k and 5.6k ohms with voltages typed to four
// digits, and of 1000, 1000 and 2000 ohms (exact ratios 1 and 2, ties).
Inputs Star(bool exactRatios, double rmin, double rmax) {
    Inputs in;
    in.star = exactRatios ? StarInput{4, 10, 0, 0, 2, 0, 0, 10, rmin, rmax}
                          : StarInput{8.324, 12, 0, 5, 2.173, 0, 3.3, 12, rmin, rmax};
    return in;
}

TEST(FastSearches, NodeDividersMatchPlainOnWholeValueSets) {
    const Search* first = std::begin(testing::kNodeSearches);
    const Search* last = std::end(testing::kNodeSearches);
    WholeValueSets sets;
    sets.Family(first, last, ESeries::E12, false,
                {{Node(12, 7.5, 3.3, 1, 1e7), 0}, {Node(12, 8, 4, 1, 1e7), 0}});
    sets.Family(first, last, ESeries::E24, true,
                {{Node(12, 8, 4, 1e3, 1.6e3), 0}, {Node(12, 7.5, 3.3, 1, 1e7), 1e-6}});
    sets.Family(first, last, ESeries::E96, false,
                {{Node(12, 7.5, 3.3, 1e3, 1.05e3), 0}, {Node(12, 8, 4, 1, 1e7), 1e-6}});
    sets.Family(first, last, ESeries::E192, false,
                {{Node(12, 7.5, 3.3, 1, 1e7), 1e-6}, {Node(5, 3.3, 1.2, 1e3, 1e6), 1e-3}});
    EXPECT_EQ(sets.Mismatches(), 0);
}

TEST(FastSearches, StarsMatchPlainOnWholeValueSets) {
    const Search* first = std::begin(testing::kStarSearches);
    const Search* last = std::end(testing::kStarSearches);
    WholeValueSets sets;
    sets.Family(first, last, ESeries::E12, true,
                {{Star(false, 1, 1e7), 0}, {Star(true, 1, 1e7), 0}});
    sets.Family(first, last, ESeries::E24, false,
                {{Star(true, 1e3, 1e4), 0}, {Star(false, 1, 1e7), 1e-6}});
    sets.Family(first, last, ESeries::E96, false,
                {{Star(false, 1e3, 1.2e3), 0}, {Star(true, 1, 1e7), 1e-6}});
    sets.Family(first, last, ESeries::E192, false,
                {{Star(false, 1, 1e7), 1e-6}, {Star(true, 1e3, 1e4), 1e-3}});
    EXPECT_EQ(sets.Mismatches(), 0);
}

// ---- Escape, threads and progress ---------------------------------------------

// With the table cached, a fast divider on one thread polls Escape exactly
// where its plain function does: Escape held from any poll on ends both the
// same way, after the same number of polls.
TEST(FastSearches, DividersPollEscapeWhereThePlainOnesDo) {
    const Table e12 = Series(ESeries::E12, false);
    for (Search s : testing::kDividerSearches) {
        const std::vector<const Table*> t(testing::ResistorsOf(s), &e12);
        Inputs in;
        in.u1 = 12;
        in.u2 = 5;
        in.u3 = 0;
        in.rmin = 10;
        in.rmax = 1e6;
        for (int downFrom : {1, 2, 3, 7, 40, 1000000}) {
            testing::PollCounter plainPolls;
            plainPolls.downFrom = downFrom;
            const Outcome want = testing::Run(s, false, in, t, testing::Context(0, plainPolls));
            PairTableCache cache;
            testing::Prebuild(cache, s, t);
            testing::PollCounter fastPolls;
            fastPolls.downFrom = downFrom;
            SearchContext ctx = testing::Context(0, fastPolls);
            ctx.tables = &cache;
            const Outcome got = testing::Run(s, true, in, t, ctx);
            EXPECT_TRUE(testing::SameBits(got, want))
                << testing::NameOf(s) << ", Escape from poll " << downFrom << "\n  plain "
                << testing::Describe(want) << "\n  fast  " << testing::Describe(got);
            EXPECT_EQ(fastPolls.polls, plainPolls.polls)
                << testing::NameOf(s) << ", Escape from poll " << downFrom;
        }
    }
}

// Escape while a table is being built, or while two threads share the
// enumeration, aborts the search: nothing is written.
TEST(FastSearches, EscapeAbortsBuildsAndTwoThreads) {
    const Table e96 = Series(ESeries::E96, false);
    const struct {
        const char* name;
        Search search;
        int threads;
        bool prebuilt;
        int downFrom; // polls before Escape is down
    } cases[] = {
        {"triple, during the build", Search::ParallelTriple, 1, false, 1},
        {"divider, during the build", Search::DividerTripleTop, 1, false, 2},
        {"pairs divider, two threads", Search::DividerPairs, 2, true, 50},
        {"pairs divider, build then two threads", Search::DividerPairs, 2, false, 3},
    };
    for (const auto& c : cases) {
        const std::vector<const Table*> t(testing::ResistorsOf(c.search), &e96);
        Inputs in;
        in.target = 47.35; // the plain scan takes some milliseconds: the table is built
        in.u1 = 12;
        in.u2 = 5;
        in.u3 = 0;
        in.rmin = 1;
        in.rmax = 1e7;
        PairTableCache cache;
        if (c.prebuilt)
            testing::Prebuild(cache, c.search, t);
        testing::PollCounter polls;
        polls.downFrom = c.downFrom;
        SearchContext ctx = testing::Context(0, polls);
        ctx.tables = &cache;
        ctx.threads = c.threads;
        const Outcome got = testing::Run(c.search, true, in, t, ctx);
        EXPECT_EQ(got.status, SearchStatus::Aborted) << c.name;
        EXPECT_EQ(got.out, (Outcome{}.out)) << c.name;
        EXPECT_EQ(polls.polls, c.downFrom) << c.name;
    }
}

} // namespace
} // namespace ohmtrim
