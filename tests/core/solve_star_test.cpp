#include "tests/core/search_test_support.h"
#include "circuits/solve.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Context;
using testing::PollCounter;
using testing::Table;

using Values = std::vector<double>;

std::vector<ValueTable> TablesOf(const std::vector<Table>& tables) {
    std::vector<ValueTable> out;
    for (const Table& t : tables)
        out.push_back({t.data(), static_cast<int>(t.size()), false, false});
    return out;
}

// One table of one value per resistor: the search has one network to offer.
std::vector<Table> SingleValueTables(const Values& values) {
    std::vector<Table> tables;
    for (double v : values)
        tables.push_back({v});
    return tables;
}

double Par(double x, double y) {
    return x * y / (x + y);
}

// The star-point voltage of branches b1, b2, b3 ending at u1, u2, u3, by the
// window's formula; g23, g13 and g12 are the branches in parallel.
double StarPoint(double b1, double b2, double b3, double g23, double g13, double g12, double u1,
                 double u2, double u3) {
    return g23 * u1 / (b1 + g23) + g13 * u2 / (b2 + g13) + g12 * u3 / (b3 + g12);
}

// Case 1: U0 4 with 10, 0, 0; case 2: U0 2 with 0, 0, 10: the voltages of a
// star of 1000, 1000 and 2000 ohms.
constexpr StarInput kStar{4, 10, 0, 0, 2, 0, 0, 10, 900, 1100};

// Every star entry built as that star from one value per resistor: the
// values come back in resistor order and the star-point voltages are those
// the window's formula gives for the branches of the entry's circuit.
TEST(SolveStar, ValuesAndStarPointVoltagesOfEveryEntry) {
    const struct {
        int entry;
        Values values;
        double b1, b2, b3;
    } cases[] = {
        {17, {1000, 1000, 2000}, 1000, 1000, 2000},
        {18, {400, 600, 1000, 2000}, 400 + 600, 1000, 2000},
        {19, {2000, 2000, 1000, 2000}, Par(2000, 2000), 1000, 2000},
        {20, {1000, 2000, 2000, 4000, 4000}, 1000, Par(2000, 2000), Par(4000, 4000)},
        {21, {1000, 300, 700, 4000, 4000}, 1000, 300 + 700, Par(4000, 4000)},
        {22, {1000, 300, 700, 1500, 500}, 1000, 300 + 700, 1500 + 500},
        {23,
         {2000, 2000, 1500, 3000, 4000, 4000},
         Par(2000, 2000),
         Par(1500, 3000),
         Par(4000, 4000)},
    };
    for (const auto& c : cases) {
        const auto tables = SingleValueTables(c.values);
        PollCounter counter;
        const SolveOutcome out =
            Solve(CatalogueAt(c.entry), kStar, TablesOf(tables), Context(1e-6, counter));
        ASSERT_EQ(out.status, SearchStatus::Found) << "entry " << c.entry;
        EXPECT_EQ(out.values, c.values) << "entry " << c.entry;
        double g23 = Par(c.b2, c.b3), g13 = Par(c.b1, c.b3), g12 = Par(c.b1, c.b2);
        if (c.entry == 23) {
            // Pairs of branches as reciprocals of their summed conductances.
            const Values& r = c.values;
            g23 = 1 / (1 / r[2] + 1 / r[3] + 1 / r[4] + 1 / r[5]);
            g13 = 1 / (1 / r[0] + 1 / r[1] + 1 / r[4] + 1 / r[5]);
            g12 = 1 / (1 / r[0] + 1 / r[1] + 1 / r[2] + 1 / r[3]);
        }
        ASSERT_EQ(out.results.size(), 2u) << "entry " << c.entry;
        EXPECT_EQ(out.results[0].id, ResultId::U0Case1);
        EXPECT_EQ(out.results[1].id, ResultId::U0Case2);
        EXPECT_EQ(out.results[0].value, StarPoint(c.b1, c.b2, c.b3, g23, g13, g12, 10, 0, 0))
            << "entry " << c.entry;
        EXPECT_EQ(out.results[1].value, StarPoint(c.b1, c.b2, c.b3, g23, g13, g12, 0, 0, 10))
            << "entry " << c.entry;
        EXPECT_NEAR(out.results[0].value, 4, 1e-12) << "entry " << c.entry;
        EXPECT_NEAR(out.results[1].value, 2, 1e-12) << "entry " << c.entry;
    }
}

// A failure carries the values only where the search wrote them: 0.0 for
// every resistor after a scan that met nothing in range, none otherwise.
TEST(SolveStar, FailuresCarryTheValuesTheSearchWrote) {
    const auto I = SearchStatus::InvalidInput;
    const auto N = SearchStatus::NoSolution;
    const auto A = SearchStatus::Aborted;
    const StarInput below{4, 10, 0, 0, 2, 0, 0, 10, 1e5, 2e5};
    const struct {
        const char* name;
        int entry;
        StarInput in;
        bool escape;
        SearchStatus status;
        bool zeros;
    } cases[] = {
        {"range upside down", 17, {4, 10, 0, 0, 2, 0, 0, 10, 1100, 900}, false, I, false},
        {"proportional cases", 23, {4, 10, 0, 0, 8, 20, 0, 0, 900, 1100}, false, N, false},
        {"U2 equal to U0 in both cases",
         20,
         {4, 10, 4, 0, 2, 0, 2, 10, 900, 1100},
         false,
         N,
         false},
        {"R1 table below R min, single branch 1", 17, below, false, I, false},
        {"R1 table below R min, parallel branch 1", 19, below, false, I, false},
        {"no sum reaches R min, series branch 1", 18, below, false, N, true},
        {"no candidate in range", 22, {4, 10, 0, 0, 2, 0, 0, 10, 1500, 1600}, false, N, true},
        {"Escape held", 17, kStar, true, A, false},
    };
    const Table t{1000, 2000, 4000};
    for (const auto& c : cases) {
        const int n = CatalogueAt(c.entry).resistors;
        const std::vector<Table> tables(static_cast<std::size_t>(n), t);
        PollCounter counter;
        counter.downFrom = c.escape ? 1 : counter.downFrom;
        const SolveOutcome out =
            Solve(CatalogueAt(c.entry), c.in, TablesOf(tables), Context(0, counter));
        EXPECT_EQ(out.status, c.status) << c.name;
        EXPECT_EQ(out.values, c.zeros ? Values(static_cast<std::size_t>(n), 0.0) : Values())
            << c.name;
        EXPECT_TRUE(out.results.empty()) << c.name;
    }
    // Inputs of another family are no star input.
    const std::vector<Table> tables(3, t);
    EXPECT_EQ(
        Solve(CatalogueAt(17), DividerInput{10, 5, 0, 900, 1100}, TablesOf(tables), SearchContext{})
            .status,
        I);
}

// The command line's texts, read by the dialog's rule: four numbers per case
// (negative ones too), every number given, blanks around them trimmed, at
// most 63 characters each.
TEST(SolveStar, InputTextsAreReadByTheDialogRule) {
    const std::string longest = "1." + std::string(61, '0');
    const struct {
        const char* name;
        std::string case1;
        std::string rmin;
        bool valid;
    } cases[] = {
        {"plain", "4,10,0,0", "900", true},
        {"negative numbers", "-5,0,12,-12", "900", true},
        {"blanks around the numbers", " 5 ,\t10, 0 ,0 ", " 900 ", true},
        {"63 characters", "4,10,0," + longest, longest, true},
        {"64 characters", "4,10,0," + longest + "0", "900", false},
        {"R min of 64 characters", "4,10,0,0", longest + "0", false},
        {"three numbers", "4,10,0", "900", false},
        {"five numbers", "4,10,0,0,1", "900", false},
        {"an empty number", "4,,0,0", "900", false},
        {"a unit", "5V,10,0,0", "900", false},
        {"empty R min", "4,10,0,0", "", false},
        {"blank R min", "4,10,0,0", "  ", false},
    };
    for (const auto& c : cases) {
        const InputText texts[] = {{InputId::Case1, c.case1},
                                   {InputId::Case2, "2,0,0,10"},
                                   {InputId::RMin, c.rmin},
                                   {InputId::RMax, "1100"}};
        SolveInputs in;
        EXPECT_EQ(ParseInputs(CatalogueAt(21), texts, in), c.valid) << c.name;
        bool fieldsValid = true;
        for (const InputField& field : FamilyOf(CatalogueAt(21)).inputs)
            for (const auto& t : texts)
                if (t.id == field.id)
                    fieldsValid =
                        fieldsValid && InputTextValid(FamilyOf(CatalogueAt(21)), field, t.text);
        EXPECT_EQ(fieldsValid, c.valid) << c.name;
    }
    const InputText texts[] = {{InputId::Case1, " -5, 0,12,-12 "},
                               {InputId::Case2, "1,5,0,-3"},
                               {InputId::RMin, "900"},
                               {InputId::RMax, "1e3"}};
    SolveInputs in;
    ASSERT_TRUE(ParseInputs(CatalogueAt(17), texts, in));
    ASSERT_TRUE(std::holds_alternative<StarInput>(in));
    const StarInput& s = std::get<StarInput>(in);
    const double got[] = {s.U0Case1, s.U1Case1, s.U2Case1, s.U3Case1, s.U0Case2,
                          s.U1Case2, s.U2Case2, s.U3Case2, s.RMin,    s.RMax};
    const double want[] = {-5, 0, 12, -12, 1, 5, 0, -3, 900, 1000};
    for (std::size_t i = 0; i < std::size(want); ++i)
        EXPECT_EQ(got[i], want[i]) << "field " << i + 1;
}

} // namespace
} // namespace ohmtrim
