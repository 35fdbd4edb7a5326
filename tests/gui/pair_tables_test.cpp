// The program's pair tables: one cache for every window's search, and the
// tables of the main value set built at start.
#include "tests/gui/gui_support.h"

#include "app/table_prebuild.h"
#include "circuits/outcome.h"

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;

// E192 from 1 ohm to 10 Mohm as the main value set and a relative
// tolerance of 0: the three-resistor searches scan exhaustively and take
// the pair table of their last two resistors.
class PairTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data" / "E192.val",
                                   dir.path() / "E192.val");
        dir.Write("omtr.ini", "[Setup]\nRelTol=0\nLabel=E192\n");
        program = std::make_unique<Program>(platform, dir.path());
        const ValueSetList& sets = program->mainWindow().valueSets();
        main = TableOf(sets.at(program->mainWindow().mainSelection()));
        ASSERT_GT(main.count, 500);
    }
    std::shared_ptr<const PairTable> Cached(PairOp op) {
        return program->pairTables().Find(op, main.values, main.count, main.values, main.count);
    }
    // Entry 4 (R1//R2//R3) needs the parallel table, entry 6 (R1//(R2+R3))
    // the series one.
    void Search(const char* className, const char* target) {
        auto* window = program->window(className);
        window->show();
        Find<QLineEdit>(*window, "Edit1")->setText(QString::fromLatin1(target));
        Click(*window, "Button2");
        EXPECT_FALSE(testing::Text(*window, "Edit2").isEmpty()) << className << " " << target;
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    ValueTable main;
};

TEST_F(PairTablesTest, SearchesOfTwoWindowsShareOneTable) {
    Search("TForm6", "1234.567");
    const auto table = Cached(PairOp::Parallel);
    ASSERT_NE(table, nullptr) << "the first search kept its table";
    const std::size_t count = program->pairTables().Count();
    Search("TForm6", "98765.4");
    Search("TForm8", "4321.5");
    EXPECT_EQ(program->pairTables().Count(), count);
    EXPECT_EQ(Cached(PairOp::Parallel), table);
}

TEST_F(PairTablesTest, PrebuildMakesTheFirstSearchesWarm) {
    program->StartPrebuild();
    program->WaitForPrebuild();
    const auto series = Cached(PairOp::Series);
    const auto parallel = Cached(PairOp::Parallel);
    ASSERT_NE(series, nullptr);
    ASSERT_NE(parallel, nullptr);
    const std::size_t count = program->pairTables().Count();
    // Had the build used other keys than the searches, they would add theirs.
    Search("TForm6", "1234.567");
    Search("TForm17", "1234.567");
    EXPECT_EQ(program->pairTables().Count(), count);
    EXPECT_EQ(Cached(PairOp::Series), series);
    EXPECT_EQ(Cached(PairOp::Parallel), parallel);
}

TEST_F(PairTablesTest, PrebuildStopsWhenAsked) {
    // Each table takes milliseconds to build; the stop comes at once.
    PairTableCache cache;
    {
        TablePrebuild build(cache, main.values, main.count);
        build.Stop();
    }
    EXPECT_EQ(cache.Count(), 0u);
    // The program stops its build the same way when it ends during it.
    program->StartPrebuild();
    program.reset();
}

} // namespace
} // namespace ohmtrim
