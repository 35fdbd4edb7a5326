// Every text of every window must fit its control and no control may
// overlap another, with the fonts the program really uses.
#include "tests/gui/gui_support.h"

#include <QFontInfo>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::FakePlatform;
using testing::TempProgramDir;

// Room a line edit or combo box needs around its text (frame and margins).
constexpr int kBoxPadding = 12;
// Room a push button needs around its caption.
constexpr int kButtonPadding = 8;

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteValueSet("wide.val", "WWWWW", {"1"});
        program = std::make_unique<Program>(platform, dir.path());
        windows.push_back(&program->mainWindow());
        for (const auto& registration : ProgramWindows())
            windows.push_back(program->window(registration.className()));
    }
    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    std::vector<QWidget*> windows;
};

std::string NameOf(const QWidget* w) {
    return w->parentWidget()->objectName().toStdString() + "." + w->objectName().toStdString();
}

TEST_F(LayoutTest, ControlsUseTheMappedFont) {
    for (QWidget* window : windows)
        for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("Liberation Sans"))
                << NameOf(w);
}

TEST_F(LayoutTest, EveryControlLiesInsideTheClientArea) {
    for (QWidget* window : windows)
        for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(window->rect().contains(w->geometry())) << NameOf(w);
}

TEST_F(LayoutTest, NoControlOverlapsAnother) {
    // Controls a window hides in its present layout may share a place.
    for (QWidget* window : windows)
        EXPECT_EQ(testing::OverlappingControls(*window), std::vector<std::string>{})
            << window->objectName().toStdString();
}

TEST_F(LayoutTest, LabelsAreSizedToTheirText) {
    for (QWidget* window : windows) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QFontMetrics fm(label->font());
            EXPECT_GE(label->width(), fm.horizontalAdvance(label->text())) << NameOf(label);
            EXPECT_GE(label->height(), fm.height()) << NameOf(label);
        }
    }
}

TEST_F(LayoutTest, ButtonCaptionsFit) {
    for (QWidget* window : windows) {
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            const QFontMetrics fm(button->font());
            const QString text = button->text().remove(QLatin1Char('&'));
            EXPECT_LE(fm.horizontalAdvance(text) + kButtonPadding, button->width())
                << NameOf(button);
            EXPECT_LE(fm.height() + kButtonPadding, button->height()) << NameOf(button);
        }
    }
}

TEST_F(LayoutTest, LongestResultsAndValueSetLabelsFit) {
    // The widest texts a box can get: a resistance or voltage in "%-15.6G"
    // (the trailing blanks may be cut), an error in "%-15.3G", a typed input
    // up to its length limit, and a value-set label of five wide letters.
    const QString value = QStringLiteral("-8.88888E-15");
    const QString percent = QStringLiteral("-8.88E+08");
    // An input box without a length limit scrolls its text; it must show at
    // least nine digits whole.
    const QString unlimitedInput(9, QLatin1Char('8'));
    for (QWidget* window : windows) {
        for (QLineEdit* edit : window->findChildren<QLineEdit*>()) {
            const QFontMetrics fm(edit->font());
            QString widest = edit->isEnabled() ? unlimitedInput : percent;
            if (edit->isEnabled() && edit->maxLength() < 100)
                widest = QString(edit->maxLength(), QLatin1Char('8'));
            if (!edit->isEnabled() && edit->width() > 140)
                widest = value;
            EXPECT_LE(fm.horizontalAdvance(widest) + kBoxPadding, edit->width())
                << NameOf(edit) << " " << widest.toStdString();
        }
        for (QComboBox* list : window->findChildren<QComboBox*>()) {
            const QFontMetrics fm(list->font());
            QStyleOptionComboBox option;
            option.initFrom(list);
            const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                              QStyle::SC_ComboBoxEditField, list);
            EXPECT_LE(fm.horizontalAdvance(QStringLiteral("WWWWW")), field.width()) << NameOf(list);
        }
    }
}

} // namespace
} // namespace ohmtrim
