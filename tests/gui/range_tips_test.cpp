// The derived-result boxes of a calculator show the ranges of their results
// at 1, 2 and 5 per cent in a tooltip after a search, and lose it with the
// results.
#include "tests/gui/gui_support.h"

#include <QHelpEvent>
#include <QToolTip>

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::Find;

TEST(RangeTips, ShownOnTheResultBoxesAndClearedWithTheResults) {
    testing::FakePlatform platform;
    testing::TempProgramDir dir;
    dir.WriteValueSet("e.val", "E", {"10", "22", "47", "100"});
    Program program(platform, dir.path());
    program.mainWindow().show();
    for (int i = 0; i < 3; ++i) // "&Next circuit" to the series pair
        Click(program.mainWindow(), "Button1");
    Click(program.mainWindow(), "Button2");
    QWidget& window = *program.window("TForm3");
    const auto tip = [&](const char* box) { return Find<QLineEdit>(window, box)->toolTip(); };

    Find<QLineEdit>(window, "Edit1")->setText(QStringLiteral("69"));
    Click(window, "Button2");
    ASSERT_EQ(testing::Text(window, "Edit4").trimmed(), QStringLiteral("69"));
    // 22 + 47 with both at 0.99 and both at 1.01, and so on.
    EXPECT_EQ(tip("Edit4"), QString::fromUtf8("68.31 .. 69.69 at \u00b11 %\n"
                                              "67.62 .. 70.38 at \u00b12 %\n"
                                              "65.55 .. 72.45 at \u00b15 %"));
    EXPECT_EQ(tip("Edit5"), QString::fromUtf8("-1 .. 1 at \u00b11 %\n-2 .. 2 at \u00b12 %\n"
                                              "-5 .. 5 at \u00b15 %"));
    EXPECT_TRUE(tip("Edit2").isEmpty()) << "a chosen value is a part, not a result";

    // The result boxes are disabled, and still show it on hovering.
    auto* box = Find<QLineEdit>(window, "Edit4");
    ASSERT_FALSE(box->isEnabled());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &hover);
    EXPECT_EQ(QToolTip::text(), tip("Edit4"));
    QToolTip::hideText();

    // A failed search clears the results and their tooltips.
    Find<QLineEdit>(window, "Edit1")->setText(QStringLiteral("x"));
    Click(window, "Button2");
    EXPECT_TRUE(tip("Edit4").isEmpty());
    EXPECT_TRUE(tip("Edit5").isEmpty());
}

} // namespace
} // namespace ohmtrim
