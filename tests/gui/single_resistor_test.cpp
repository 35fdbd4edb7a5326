#include "windows/single_resistor_window.h"

#include "tests/gui/gui_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

// The single-resistor window on one value set, opened from the main window.
class SingleResistorTest : public ::testing::Test {
protected:
    void Open(std::initializer_list<const char*> values, const std::string& extra = {}) {
        dir.WriteValueSet("set.val", "S", values, extra);
        program = std::make_unique<Program>(platform, dir.path());
        TForm1& main = program->mainWindow();
        main.show();
        Click(main, "Button1"); // entry 1
        Click(main, "Button2");
        window = program->window("TForm2");
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
    }
    void Go(const QString& input) {
        Find<QLineEdit>(*window, "Edit1")->setText(input);
        Click(*window, "Button2");
    }
    // Nearest, error, smaller, bigger.
    std::vector<QString> Results() const {
        return {Text(*window, "Edit2"), Text(*window, "Edit5"), Text(*window, "Edit3"),
                Text(*window, "Edit4")};
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    QWidget* window = nullptr;
};

struct NearestCase {
    const char* name;
    const char* input;
    std::vector<const char*> expected; // nearest, error, smaller, bigger
};

const char* const kSeries[] = {"1", "1.2", "1.5", "1.8"};

TEST_F(SingleResistorTest, ShowsNearestNeighboursAndError) {
    Open({"1", "1.2", "1.5", "1.8"});
    const NearestCase cases[] = {
        {"neighbours of the nearest, not of x",
         "1.25",
         {"1.2            ", "-4             ", "1              ", "1.5            "}},
        {"nearest above x",
         "1.4",
         {"1.5            ", "7.14           ", "1.2            ", "1.8            "}},
        {"exact hit has error 0",
         "1.5",
         {"1.5            ", "0              ", "1.2            ", "1.8            "}},
        {"below the smallest: no smaller",
         "0.5",
         {"1              ", "100            ", "", "1.2            "}},
        {"above the largest: no bigger",
         "7",
         {"1.8            ", "-74.3          ", "1.5            ", ""}},
        {"largest accepted target",
         "1e15",
         {"1.8            ", "-100           ", "1.5            ", ""}},
        {"blanks around are trimmed",
         "  1.2 ",
         {"1.2            ", "0              ", "1              ", "1.5            "}},
    };
    for (const auto& c : cases) {
        Go(QString::fromLatin1(c.input));
        std::vector<QString> expected;
        for (const char* e : c.expected)
            expected.push_back(QString::fromLatin1(e));
        EXPECT_EQ(Results(), expected) << c.name;
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(SingleResistorTest, TieOfNineAndAHalfGoesToNinePointOne) {
    Open({"9.1", "10"});
    Go(QStringLiteral("9.5"));
    EXPECT_EQ(Results(), (std::vector<QString>{QStringLiteral("9.1            "),
                                               QStringLiteral("-4.21          "), QString(),
                                               QStringLiteral("10             ")}));
}

TEST_F(SingleResistorTest, NeverShowsShortOrOpenCircuitEntries) {
    Open({"10", "22", "47"},
         "ShortCircuitResistanceLevel=0.001\nOpenCircuitResistanceLevel=1e12\n");
    Go(QStringLiteral("0.002"));
    EXPECT_EQ(Text(*window, "Edit2"), QStringLiteral("10             "));
    EXPECT_EQ(Text(*window, "Edit3"), QString()) << "no smaller: the short circuit is not one";
    Go(QStringLiteral("1e11"));
    EXPECT_EQ(Text(*window, "Edit2"), QStringLiteral("47             "));
    EXPECT_EQ(Text(*window, "Edit4"), QString()) << "no bigger: the open circuit is not one";
}

TEST_F(SingleResistorTest, OneRealEntryHasNoNeighbours) {
    Open({"470"});
    Go(QStringLiteral("500"));
    EXPECT_EQ(Results(),
              (std::vector<QString>{QStringLiteral("470            "),
                                    QStringLiteral("-6             "), QString(), QString()}));
}

TEST_F(SingleResistorTest, InvalidInputShowsTheMessageAndLeavesResultsEmpty) {
    Open({"1", "1.2", "1.5", "1.8"});
    const struct {
        const char* name;
        const char* input;
        const char* shownAfter;
    } cases[] = {
        {"unit letter", " 4k7 ", "4k7"},
        {"decimal comma", "4,7", "4,7"},
        {"zero", "0", "0"},
        {"empty", "", ""},
        {"above 1e15", "1.1e15", "1.1e15"},
        {"hexadecimal", "0x10", "0x10"},
        {"infinity", "inf", "inf"},
        {"below 1e-15", "1e-16", "1e-16"},
    };
    for (const auto& c : cases) {
        Go(QStringLiteral("1.5")); // results to clear
        platform.boxes.clear();
        Go(QString::fromLatin1(c.input));
        EXPECT_EQ(platform.boxes,
                  (std::vector<FakePlatform::Box>{
                      {QStringLiteral("Invalid input data."), QStringLiteral(" Error")}}))
            << c.name;
        EXPECT_EQ(platform.busyAtLastBox, 0) << c.name << ": cursor restored before the box";
        EXPECT_EQ(Text(*window, "Edit1"), QString::fromLatin1(c.shownAfter)) << c.name;
        EXPECT_EQ(Results(), std::vector<QString>(4)) << c.name;
    }
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_F(SingleResistorTest, InputTakesAtMostTwelveCharacters) {
    Open({"1"});
    auto* edit = Find<QLineEdit>(*window, "Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("1234567890123"));
    EXPECT_EQ(edit->text(), QStringLiteral("123456789012"));
}

TEST_F(SingleResistorTest, ShowingAgainClearsEveryBox) {
    Open({"1", "2"});
    Go(QStringLiteral("1.1"));
    ASSERT_FALSE(Text(*window, "Edit2").isEmpty());
    Click(*window, "Button1");
    Click(program->mainWindow(), "Button2");
    for (const char* edit : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
        EXPECT_EQ(Text(*window, edit), QString()) << edit;
}

TEST_F(SingleResistorTest, LayoutCaptionAndTabOrder) {
    Open({"1"});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("  Single resistor"));
    EXPECT_EQ(window->size(), QSize(632, 400));
    // Result boxes are greyed and take no focus.
    for (const char* edit : {"Edit2", "Edit3", "Edit4", "Edit5"})
        EXPECT_FALSE(Find<QLineEdit>(*window, edit)->isEnabled()) << edit;
    EXPECT_FALSE(Find<QComboBox>(*window, "ComboBox1")->isEditable());
    // The tab chain from "&Close".
    QWidget* w = Find<QWidget>(*window, "Button1");
    QStringList chain;
    for (int i = 0; i < 4; ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || w == window);
        chain << w->objectName();
    }
    EXPECT_EQ(chain, (QStringList{"Edit1", "Button2", "ComboBox1", "Button1"}));
}

TEST_F(SingleResistorTest, F1OpensTheHelpOfTheInputBox) {
    Open({"1"});
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Find<QLineEdit>(*window, "Edit1")->setFocus();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(platform.helpContexts, std::vector<int>{40});
}

} // namespace
} // namespace ohmtrim
