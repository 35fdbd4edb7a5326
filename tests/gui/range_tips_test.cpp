// The derived-result boxes of the calculators show the ranges of their
// results at 1, 2 and 5 per cent in a tooltip after a search, and lose it
// with the results.
#include "tests/gui/gui_support.h"

#include <QHelpEvent>
#include <QPixmap>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;

class RangeTipsTest : public ::testing::Test {
protected:
    RangeTipsTest() {
        dir.WriteValueSet("e.val", "E", {"10", "22", "47", "100"});
        dir.WriteValueSet("k.val", "K", {"1000"});
        dir.Write("omtr.ini", "[Setup]\nLabel=E\n");
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
    }

    // "&Next circuit" up to the entry, then "&Select circuit".
    QWidget& Open(int entry, const char* className) {
        for (int i = 0; i < entry; ++i)
            Click(program->mainWindow(), "Button1");
        Click(program->mainWindow(), "Button2");
        QWidget* window = program->window(className);
        EXPECT_NE(window, nullptr);
        return *window;
    }

    static QString Tip(const QWidget& window, const char* box) {
        return Find<QLineEdit>(window, box)->toolTip();
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
};

TEST_F(RangeTipsTest, SeriesPairShowsTheRangesOfResistanceAndError) {
    QWidget& window = Open(3, "TForm3");
    Find<QLineEdit>(window, "Edit1")->setText(QStringLiteral("69"));
    Click(window, "Button2");
    ASSERT_EQ(testing::Text(window, "Edit4").trimmed(), QStringLiteral("69"));
    // 22 + 47 with both at 0.99 and both at 1.01, and so on.
    EXPECT_EQ(Tip(window, "Edit4"), QString::fromUtf8("68.31 .. 69.69 at \u00b11 %\n"
                                                      "67.62 .. 70.38 at \u00b12 %\n"
                                                      "65.55 .. 72.45 at \u00b15 %"));
    EXPECT_EQ(Tip(window, "Edit5"), QString::fromUtf8("-1 .. 1 at \u00b11 %\n"
                                                      "-2 .. 2 at \u00b12 %\n"
                                                      "-5 .. 5 at \u00b15 %"));
    // The result boxes are disabled, and still show the tooltip on hovering.
    auto* box = Find<QLineEdit>(window, "Edit4");
    ASSERT_FALSE(box->isEnabled());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &hover);
    EXPECT_EQ(QToolTip::text(), Tip(window, "Edit4"));
    QToolTip::hideText();
    // The chosen values are parts, not results.
    EXPECT_TRUE(Tip(window, "Edit2").isEmpty());
    EXPECT_TRUE(Tip(window, "Edit3").isEmpty());

    if (const char* out = std::getenv("OHMTRIM_RENDER_DIR"); out != nullptr && *out != '\0') {
        std::filesystem::create_directories(out);
        QToolTip::showText(window.mapToGlobal(QPoint(400, 250)), Tip(window, "Edit4"), &window);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel"))
                w->grab().save(QString::fromStdString(std::string(out) + "/range_tip.png"));
        window.grab().save(QString::fromStdString(std::string(out) + "/range_tip_window.png"));
        QToolTip::hideText();
    }

    // A failed search clears the results and their tooltips.
    Find<QLineEdit>(window, "Edit1")->setText(QStringLiteral("x"));
    Click(window, "Button2");
    EXPECT_TRUE(testing::Text(window, "Edit4").isEmpty());
    EXPECT_TRUE(Tip(window, "Edit4").isEmpty());
    EXPECT_TRUE(Tip(window, "Edit5").isEmpty());
}

TEST_F(RangeTipsTest, DividerShowsTheRangeOfItsOutput) {
    QWidget& window = Open(8, "TForm7");
    for (int k = 1; k <= 2; ++k) {
        auto* list = Find<QComboBox>(window, ("ComboBox" + std::to_string(k)).c_str());
        // Typed into the list, as a user picks a value set.
        list->setFocus();
        QTest::keyClicks(list, QStringLiteral("K"));
    }
    Find<QLineEdit>(window, "Edit1")->setText(QStringLiteral("10"));
    Find<QLineEdit>(window, "Edit2")->setText(QStringLiteral("5"));
    Find<QLineEdit>(window, "Edit3")->setText(QStringLiteral("100000"));
    Find<QLineEdit>(window, "Edit4")->setText(QStringLiteral("1000"));
    Click(window, "Button2");
    ASSERT_EQ(testing::Text(window, "Edit8").trimmed(), QStringLiteral("5"));
    // 10 * 990 / 2000 up to 10 * 1010 / 2000, and so on.
    EXPECT_EQ(Tip(window, "Edit8"), QString::fromUtf8("4.95 .. 5.05 at \u00b11 %\n"
                                                      "4.9 .. 5.1 at \u00b12 %\n"
                                                      "4.75 .. 5.25 at \u00b15 %"));
    EXPECT_EQ(Tip(window, "Edit7"), QString::fromUtf8("1980 .. 2020 at \u00b11 %\n"
                                                      "1960 .. 2040 at \u00b12 %\n"
                                                      "1900 .. 2100 at \u00b15 %"));
    // Shown again from the main window: no results, no tooltips.
    Click(window, "Button1");
    Click(program->mainWindow(), "Button2");
    EXPECT_TRUE(Tip(window, "Edit8").isEmpty());
}

} // namespace
} // namespace ohmtrim
