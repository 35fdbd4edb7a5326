#include "app/main_window.h"

#include "app/application.h"
#include "circuits/catalogue.h"
#include "tests/gui/gui_support.h"
#include "windows/calculator_window.h"
#include "windows/input_dialog.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteValueSet("e6.val", "E6", {"1", "1.5", "2.2", "3.3", "4.7", "6.8"});
        dir.WriteValueSet(
            "e12.val", "E12",
            {"1", "1.2", "1.5", "1.8", "2.2", "2.7", "3.3", "3.9", "4.7", "5.6", "6.8", "8.2"});
        dir.WriteValueSet("e3.val", "E3", {"1", "2.2", "4.7"});
    }
    std::unique_ptr<Program> Start() {
        auto program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
        return program;
    }

    FakePlatform platform;
    TempProgramDir dir;
};

TEST_F(MainWindowTest, StartsAtEntryZeroWithTheCaptionAndSize) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    EXPECT_EQ(main.catalogueIndex(), 0);
    EXPECT_EQ(main.windowTitle(), QStringLiteral("  Ohmtrim  2.2"));
    EXPECT_EQ(main.size(), QSize(632, 400));
    EXPECT_EQ(main.minimumSize(), main.maximumSize()) << "fixed size";
}

TEST_F(MainWindowTest, PreviousFromZeroWrapsToTheLastEntry) {
    auto program = Start();
    Click(program->mainWindow(), "Button5");
    EXPECT_EQ(program->mainWindow().catalogueIndex(), kCatalogueSize - 1);
}

TEST_F(MainWindowTest, NextFromTheLastEntryWrapsToZero) {
    auto program = Start();
    Click(program->mainWindow(), "Button5");
    Click(program->mainWindow(), "Button1");
    EXPECT_EQ(program->mainWindow().catalogueIndex(), 0);
}

TEST_F(MainWindowTest, TwentyFourNextPressesReturnToTheStart) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    for (int start : {0, 5, 23}) {
        while (main.catalogueIndex() != start)
            Click(main, "Button1");
        for (int i = 0; i < 24; ++i)
            Click(main, "Button1");
        EXPECT_EQ(main.catalogueIndex(), start);
    }
}

TEST_F(MainWindowTest, ValueSetsAreListedInOrderWithTheFirstPreselected) {
    auto program = Start();
    auto* list = Find<QComboBox>(program->mainWindow(), "ComboBox1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("E3"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("E6"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("E12"));
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(MainWindowTest, SelectOpensTheSingleResistorWindowAndHidesTheMainWindow) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    Click(main, "Button1"); // entry 1
    Click(main, "Button2");
    QWidget* single = program->window("TForm2");
    ASSERT_NE(single, nullptr);
    EXPECT_TRUE(single->isVisible());
    EXPECT_FALSE(main.isVisible());
    Click(*single, "Button1"); // "&Close"
    EXPECT_FALSE(single->isVisible());
    EXPECT_TRUE(main.isVisible());
}

TEST_F(MainWindowTest, SelectOnAnEntryWithoutItsWindowKeepsTheMainWindow) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    for (const auto& entry : Catalogue()) {
        if (program->window(entry.window) != nullptr)
            continue;
        while (main.catalogueIndex() != entry.index)
            Click(main, "Button1");
        Click(main, "Button2");
        EXPECT_TRUE(main.isVisible()) << entry.index;
    }
}

// The input dialogs serve the windows that open them.
TEST_F(MainWindowTest, EveryRegisteredWindowServesCatalogueEntries) {
    for (const auto& registration : ProgramWindows()) {
        if (registration.type->inherits(&InputDialog::staticMetaObject))
            continue;
        int served = 0;
        for (const auto& entry : Catalogue())
            served += entry.window == registration.className() ? 1 : 0;
        EXPECT_GT(served, 0) << registration.className();
    }
}

TEST_F(MainWindowTest, WindowsShareOnePosition) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    main.move(210, 130);
    Click(main, "Button1");
    Click(main, "Button2");
    QWidget* single = program->window("TForm2");
    EXPECT_EQ(single->pos(), QPoint(210, 130));
    single->move(260, 170);
    Click(*single, "Button1");
    EXPECT_EQ(main.pos(), QPoint(260, 170));
    Click(main, "Button2");
    EXPECT_EQ(single->pos(), QPoint(260, 170));
}

TEST_F(MainWindowTest, HelpOpensTheOverview) {
    auto program = Start();
    Click(program->mainWindow(), "Button6");
    EXPECT_EQ(platform.helpContexts, std::vector<int>{1});
}

TEST_F(MainWindowTest, F1OpensTheHelpOfTheFocusedControl) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    Find<QPushButton>(main, "Button5")->setFocus();
    QTest::keyClick(&main, Qt::Key_F1);
    EXPECT_EQ(platform.helpContexts, std::vector<int>{11});
}

TEST_F(MainWindowTest, ExitSavesTheChosenLabelAndTheNextStartPreselectsIt) {
    {
        auto program = Start();
        TForm1& main = program->mainWindow();
        QSignalSpy ended(&main, &TForm1::programEnded);
        Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(2);
        Click(main, "Button4");
        EXPECT_EQ(ended.count(), 1);
        EXPECT_FALSE(main.isVisible());
    }
    EXPECT_NE(dir.Read("omtr.ini").find("Label=E12"), std::string::npos) << dir.Read("omtr.ini");
    auto program = Start();
    EXPECT_EQ(Find<QComboBox>(program->mainWindow(), "ComboBox1")->currentText(),
              QStringLiteral("E12"));
}

TEST_F(MainWindowTest, CalculatorWindowStartsFromTheMainSelection) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(1);
    Click(main, "Button1");
    Click(main, "Button2");
    QWidget* single = program->window("TForm2");
    auto* list = Find<QComboBox>(*single, "ComboBox1");
    EXPECT_EQ(list->currentIndex(), 1);
    // A choice made in the window is forgotten on the next visit.
    list->setCurrentIndex(2);
    emit list->activated(2);
    EXPECT_EQ(static_cast<CalculatorWindow*>(single)->selectionIndex(1), 2);
    Click(*single, "Button1");
    Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(0);
    Click(main, "Button2");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(static_cast<CalculatorWindow*>(single)->selectionIndex(1), 0);
}

TEST_F(MainWindowTest, TitleBarCloseOfTheSingleResistorWindowEndsTheProgram) {
    auto program = Start();
    TForm1& main = program->mainWindow();
    QSignalSpy ended(&main, &TForm1::programEnded);
    Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(1);
    Click(main, "Button1");
    Click(main, "Button2");
    QWidget* single = program->window("TForm2");
    EXPECT_TRUE(single->close());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(single->isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_NE(dir.Read("omtr.ini").find("Label=E6"), std::string::npos);
}

// Start-up with other directories.
class StartupTest : public ::testing::Test {
protected:
    FakePlatform platform;
    TempProgramDir dir;
};

TEST_F(StartupTest, OneBrokenAndTwoGoodFilesGiveOneBoxAndTwoSets) {
    dir.WriteValueSet("a.val", "A", {"10", "22"});
    dir.WriteValueSet("b.val", "B", {"10", "4k7"});
    dir.WriteValueSet("c.val", "C", {"47"});
    Program program(platform, dir.path());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text, QStringLiteral("Input error: R2"));
    EXPECT_EQ(platform.boxes[0].caption, QStringLiteral("b.val"));
    EXPECT_EQ(Find<QComboBox>(program.mainWindow(), "ComboBox1")->count(), 2);
    EXPECT_FALSE(program.mainWindow().isVisible()) << "boxes come before the main window";
}

TEST_F(StartupTest, EmptyDirectoryStillOpensWindowsAndGoOnlyTrims) {
    dir.Write("omtr.ini", "[Setup]\nLabel=XYZ\n");
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    EXPECT_EQ(Find<QComboBox>(main, "ComboBox1")->count(), 0);
    EXPECT_EQ(main.mainSelection(), -1);
    Click(main, "Button1");
    Click(main, "Button2");
    QWidget* single = program.window("TForm2");
    ASSERT_TRUE(single->isVisible());
    auto* list = Find<QComboBox>(*single, "ComboBox1");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentIndex(), -1);
    Find<QLineEdit>(*single, "Edit1")->setText(QStringLiteral(" 12\t"));
    Click(*single, "Button2");
    EXPECT_EQ(Text(*single, "Edit1"), QStringLiteral("12"));
    for (const char* result : {"Edit2", "Edit3", "Edit4", "Edit5"})
        EXPECT_EQ(Text(*single, result), QString()) << result;
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyShown, 0);
    // Leaving keeps the stored label.
    Click(*single, "Button1");
    Click(main, "Button4");
    EXPECT_EQ(dir.Read("omtr.ini"), "[Setup]\nLabel=XYZ\n");
}

// The icon is an SVG drawing: without Qt's SVG plugins it would silently
// come out empty.
TEST(ProgramIcon, DrawsAtWindowSizes) {
    const QIcon icon = ProgramIcon();
    for (const int size : {16, 32, 64}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 0) << "the body is drawn at " << size;
        EXPECT_EQ(qAlpha(image.pixel(size / 2, 1)), 0) << "above it is clear at " << size;
    }
}

} // namespace
} // namespace ohmtrim
