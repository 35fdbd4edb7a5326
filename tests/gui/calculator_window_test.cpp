// The framework with a window described only here: a star-circuit window
// with circuit variants whose title-bar close returns to the main window.
#include "windows/calculator_window.h"

#include "tests/gui/gui_support.h"
#include "windows/search_progress.h"
#include "windows/search_runner.h"

#include <QSignalSpy>
#include <QTimer>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;

using K = ControlKind;

// clang-format off
constexpr ControlSpec kControls[] = {
    {"Button3",   K::Button,   304,  12, 320, kButtonHeight, "&Input data", 110, 0, 2},
    {"Edit1",     K::Result,   340,  64, 160, kBoxHeight,    "",            31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 520,  64, 100, kBoxHeight,    "",            21,  0, 3},
    {"ComboBox2", K::ValueSet, 520, 112, 100, kBoxHeight,    "",            22,  0, 4},
    {"ComboBox3", K::ValueSet, 520, 160, 100, kBoxHeight,    "",            23,  0, 5},
    {"ComboBox4", K::ValueSet, 520, 208, 100, kBoxHeight,    "",            24,  0, 6},
    {"Button2",   K::Button,   304, 352, 153, kButtonHeight, "&Go",         27,  0, 1},
    {"Button1",   K::Button,   496, 352, 125, kButtonHeight, "&Close",      28,  0, 0},
};
// clang-format on

const CalculatorDescription kStarWindow{
    kControls, {}, {}, "Button2", "Button1", TitleBarClose::ReturnToMain,
};

class CalculatorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteValueSet("a.val", "A", {"1000", "2000"});
        dir.WriteValueSet("b.val", "B", {"1000"});
        program = std::make_unique<Program>(platform, dir.path());
        window = std::make_unique<CalculatorWindow>(program->mainWindow(), "TForm19", kStarWindow);
        program->mainWindow().show();
    }
    // As "&Select circuit" does it.
    void Open(int variant) {
        program->mainWindow().hide();
        window->setCircuitVariant(variant);
        window->show();
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<CalculatorWindow> window;
};

TEST_F(CalculatorWindowTest, VariantChoosesTheCatalogueEntry) {
    window->setCircuitVariant(1);
    EXPECT_EQ(window->entry().index, 18);
    window->setCircuitVariant(2);
    EXPECT_EQ(window->entry().index, 19);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("  Star circuit"));
}

TEST_F(CalculatorWindowTest, EveryListIsFilledAndTakesTheMainSelection) {
    Find<QComboBox>(program->mainWindow(), "ComboBox1")->setCurrentIndex(1);
    Open(1);
    for (int k = 1; k <= 4; ++k) {
        auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
        EXPECT_EQ(list->count(), 2) << k;
        EXPECT_EQ(list->currentIndex(), 1) << k;
        EXPECT_EQ(window->selectionIndex(k), 1) << k;
    }
}

TEST_F(CalculatorWindowTest, TitleBarCloseReturnsToTheMainWindow) {
    QSignalSpy ended(&program->mainWindow(), &TForm1::programEnded);
    Open(2);
    window->move(150, 90);
    EXPECT_FALSE(window->close()) << "the close itself is refused";
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program->mainWindow().isVisible());
    EXPECT_EQ(program->mainWindow().pos(), QPoint(150, 90));
    EXPECT_EQ(ended.count(), 0);
}

TEST_F(CalculatorWindowTest, CloseButtonReturnsToTheMainWindow) {
    Open(1);
    Click(*window, "Button1");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program->mainWindow().isVisible());
}

// A series window whose search is played by the test.
// clang-format off
constexpr ControlSpec kSeriesControls[] = {
    {"Edit1",     K::Input,    382,  16, 236, kBoxHeight,    "",       60, 15, 1},
    {"Button2",   K::Button,   300,  64, 320, kButtonHeight, "&Go",    27,  0, 4},
    {"Edit2",     K::Result,   344, 120, 129, kBoxHeight,    "",       31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 502, 120, 121, kBoxHeight,    "",       21,  0, 2},
    {"Edit3",     K::Result,   344, 176, 129, kBoxHeight,    "",       32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 502, 176, 121, kBoxHeight,    "",       22,  0, 3},
    {"Edit4",     K::Result,   382, 240, 236, kBoxHeight,    "",       61,  0, kNoTab},
    {"Edit5",     K::Result,   382, 296, 137, kBoxHeight,    "",       52,  0, kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight, "&Close", 28,  0, 0},
};
constexpr InputBinding kSeriesInputs[] = {{"Edit1", InputId::Target}};
constexpr ResultBinding kSeriesResults[] = {
    ChosenValue("Edit2", 1),
    ChosenValue("Edit3", 2),
    Derived("Edit4", ResultId::Resistance),
    Derived("Edit5", ResultId::ErrorPercent),
};
// clang-format on

const CalculatorDescription kSeriesWindow{
    kSeriesControls, kSeriesInputs, kSeriesResults, "Button2", "Button1", TitleBarClose::EndProgram,
};

class PlayedSearchWindow final : public CalculatorWindow {
public:
    using CalculatorWindow::CalculatorWindow;

    SearchStatus status = SearchStatus::Found;
    bool waitForEscape = false;
    double reported = 0; // the progress a waiting search reports
    double target = 0;
    int tables = 0;

protected:
    SolveOutcome RunSolve(const CatalogueEntry&, const SolveInputs& in,
                          std::span<const ValueTable> t, const SearchContext& ctx) override {
        target = std::get<ResistanceInput>(in).target;
        tables = static_cast<int>(t.size());
        SolveOutcome out;
        out.status = status;
        if (waitForEscape) {
            ctx.ReportProgress(reported);
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (!ctx.EscapeDown() && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            out.status = ctx.EscapeDown() ? SearchStatus::Aborted : SearchStatus::Found;
        }
        if (out.status == SearchStatus::Found) {
            out.values = {22, 47};
            out.results = {{ResultId::Resistance, 69}, {ResultId::ErrorPercent, 0}};
        }
        return out;
    }
};

class GoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteValueSet("a.val", "A", {"10", "22", "47", "100"});
        program = std::make_unique<Program>(platform, dir.path());
        window =
            std::make_unique<PlayedSearchWindow>(program->mainWindow(), "TForm3", kSeriesWindow);
        window->show();
    }
    void Go(const char* input) {
        Find<QLineEdit>(*window, "Edit1")->setText(QString::fromLatin1(input));
        Click(*window, "Button2");
    }
    QStringList Results() const {
        QStringList r;
        for (const char* e : {"Edit2", "Edit3", "Edit4", "Edit5"})
            r << Find<QLineEdit>(*window, e)->text();
        return r;
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<PlayedSearchWindow> window;
};

TEST_F(GoTest, FoundShowsChosenValuesAndNamedResults) {
    Go(" 69 ");
    EXPECT_EQ(window->target, 69);
    EXPECT_EQ(window->tables, 2);
    EXPECT_EQ(Results(), (QStringList{"22             ", "47             ", "69             ",
                                      "0              "}));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyShown, 1);
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_F(GoTest, NoSolutionShowsTheMessageAfterTheCursorIsBack) {
    Go("69");
    window->status = SearchStatus::NoSolution;
    Go("69");
    EXPECT_EQ(platform.boxes, (std::vector<FakePlatform::Box>{{QStringLiteral("No solution found."),
                                                               QStringLiteral(" Error")}}));
    EXPECT_EQ(platform.busyAtLastBox, 0);
    EXPECT_EQ(Results(), QStringList(4, QString())) << "old results were cleared";
}

TEST_F(GoTest, InvalidInputFromTheSearchShowsTheMessage) {
    window->status = SearchStatus::InvalidInput;
    Go("69");
    EXPECT_EQ(platform.boxes,
              (std::vector<FakePlatform::Box>{
                  {QStringLiteral("Invalid input data."), QStringLiteral(" Error")}}));
}

TEST_F(GoTest, EscapeDuringTheSearchShowsNothing) {
    window->waitForEscape = true;
    QTimer::singleShot(50, window.get(), [&] { QTest::keyClick(window.get(), Qt::Key_Escape); });
    Go("69");
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(Results(), QStringList(4, QString()));
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_F(GoTest, LongSearchShowsItsProgressOverTheButtonsUntilItEnds) {
    using Clock = std::chrono::steady_clock;
    window->waitForEscape = true;
    window->reported = 0.25;
    const auto start = Clock::now();
    SearchProgress* panel = nullptr;
    Clock::duration shownAfter{};
    QString text;
    QRect area;
    QTimer::singleShot(0, window.get(), [&] {
        if (QTest::qWaitFor([&] {
                panel = window->findChild<SearchProgress*>();
                return panel != nullptr && panel->isVisible() && panel->value() == 250;
            })) {
            shownAfter = Clock::now() - start;
            text = panel->text();
            area = panel->geometry();
        }
        QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    Go("69");
    ASSERT_FALSE(area.isEmpty()) << "no progress shown";
    EXPECT_GE(shownAfter, std::chrono::milliseconds(SearchRunner::kProgressDelayMs));
    EXPECT_EQ(text, QStringLiteral("Searching\u2026 Esc cancels"));
    EXPECT_EQ(area, window->progressRect());
    EXPECT_TRUE(area.contains(Find<QWidget>(*window, "Button2")->geometry()));
    // Escape ended the search, and the panel went with it.
    EXPECT_EQ(window->findChild<SearchProgress*>(), nullptr);
    EXPECT_EQ(Results(), QStringList(4, QString()));
    EXPECT_TRUE(platform.boxes.empty());
}

// The progress of a long search covers the row of "&Go" and never a box
// the user reads or a list, in every window of the program.
TEST(ProgressArea, CoversGoButNoBoxOrListInEveryWindow) {
    FakePlatform platform;
    TempProgramDir dir;
    dir.WriteValueSet("a.val", "A", {"10", "22"});
    Program program(platform, dir.path());
    int windows = 0;
    for (const auto& registration : ProgramWindows()) {
        const auto* w = qobject_cast<CalculatorWindow*>(program.window(registration.className()));
        if (w == nullptr)
            continue;
        ++windows;
        const QRect area = w->progressRect();
        int buttons = 0;
        for (const auto* b : w->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
            buttons += area.contains(b->geometry()) ? 1 : 0;
        EXPECT_GE(buttons, 1) << w->objectName().toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), w->size()).contains(area)) << w->objectName().toStdString();
        for (const QWidget* c : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const bool read = qobject_cast<const QLineEdit*>(c) != nullptr ||
                              qobject_cast<const QComboBox*>(c) != nullptr;
            EXPECT_FALSE(read && area.intersects(c->geometry()))
                << w->objectName().toStdString() << " " << c->objectName().toStdString();
        }
    }
    EXPECT_GT(windows, 10);
}

} // namespace
} // namespace ohmtrim
