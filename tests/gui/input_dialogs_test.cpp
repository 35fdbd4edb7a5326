// What the two input dialogs do alike, run against both: the node-voltage
// dialog opened from entry 13 and the star dialog opened from entry 17.
// Each reads its boxes by the same rule, so the same texts must fare the
// same in both.
#include "windows/node_windows.h"
#include "windows/star_input_dialog.h"

#include "circuits/catalogue.h"
#include "tests/gui/gui_support.h"

#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

// One dialog as its window opens it.
struct DialogRow {
    const char* name;
    int entry;
    const char* dialogClass;
    const char* inputButton; // of the window
    // Every box with a number the dialog accepts.
    std::vector<std::pair<const char*, const char*>> valid;
    // The box the cases type into (one that must hold a number), and the
    // member of the dialog's record it fills.
    const char* box;
    std::function<double(QWidget&)> stored;
    std::function<bool(QWidget&)> accepted;
};

void PrintTo(const DialogRow& row, std::ostream* os) {
    *os << row.name;
}

const std::vector<DialogRow>& Rows() {
    static const std::vector<DialogRow> rows = {
        {"NodeVoltages",
         13,
         "TForm18",
         "Button2",
         {{"Edit1", "10"},
          {"Edit2", "6"},
          {"Edit3", "3"},
          {"Edit4", "0"},
          {"Edit5", "1e6"},
          {"Edit6", "100"}},
         "Edit1",
         [](QWidget& d) { return static_cast<TForm18&>(d).state().record.U1; },
         [](QWidget& d) { return static_cast<TForm18&>(d).state().NodeInputReady; }},
        {"Star",
         17,
         "TForm14",
         "Button2",
         {{"Edit1", "4"},
          {"Edit2", "10"},
          {"Edit3", "0"},
          {"Edit4", "0"},
          {"Edit5", "900"},
          {"Edit6", "2"},
          {"Edit7", "0"},
          {"Edit8", "0"},
          {"Edit9", "10"},
          {"Edit10", "1100"}},
         "Edit1",
         [](QWidget& d) { return static_cast<TForm14&>(d).input().U0Case1; },
         [](QWidget& d) { return static_cast<TForm14&>(d).inputAccepted(); }},
    };
    return rows;
}

class InputDialogTest : public ::testing::TestWithParam<DialogRow> {
protected:
    void SetUp() override {
        dir.WriteValueSet("k.val", "K", {"1000"});
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
        dialog = program->window(GetParam().dialogClass);
        ASSERT_NE(dialog, nullptr);
    }

    // The window of the entry, shown afresh: nothing accepted in this visit.
    void OpenWindow() {
        if (window != nullptr)
            Click(*window, "Button1");
        TForm1& main = program->mainWindow();
        while (main.catalogueIndex() != GetParam().entry)
            Click(main, "Button1");
        Click(main, "Button2");
        window = program->window(CatalogueAt(GetParam().entry).window);
        ASSERT_NE(window, nullptr);
    }

    // "&Input data", every box valid but the one under test, "&Ok".
    void TypeAndOk(const QString& text) {
        Click(*window, GetParam().inputButton);
        ASSERT_TRUE(dialog->isVisible());
        for (const auto& [edit, valid] : GetParam().valid)
            Find<QLineEdit>(*dialog, edit)->setText(QString::fromLatin1(valid));
        Find<QLineEdit>(*dialog, GetParam().box)->setText(text);
        Click(*dialog, "Button1");
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    QWidget* window = nullptr;
    QWidget* dialog = nullptr;
};

INSTANTIATE_TEST_SUITE_P(BothDialogs, InputDialogTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return std::string(info.param.name); });

// A box's trimmed text is read whole or refused with a beep: never cut to
// what fits, which could make a different number of it.
TEST_P(InputDialogTest, ABoxIsReadWholeOrRefused) {
    const QString zeros61(61, QLatin1Char('0'));
    const QString blanks(40, QLatin1Char(' '));
    const struct {
        const char* name;
        QString text;
        bool accepted;
        double value;
    } cases[] = {
        {"blanks around", QStringLiteral(" \t5 "), true, 5},
        {"blanks around beyond 63 characters", blanks + QStringLiteral("-2.5") + blanks, true,
         -2.5},
        {"63 characters", QStringLiteral("1.") + zeros61, true, 1},
        {"the smallest step in 63 characters", QStringLiteral("0.") + zeros61.left(60) + "1", true,
         1e-61},
        // Cut to 63 characters these would read as 0 and as 1.
        {"a step of 64 characters", QStringLiteral("0.") + zeros61 + "1", false, 0},
        {"64 characters", QStringLiteral("1.") + zeros61 + "5", false, 0},
        {"hundreds of digits", QString(300, QLatin1Char('9')), false, 0},
        {"too large for a double", QStringLiteral("1e400"), false, 0},
        {"a unit", QStringLiteral("5V"), false, 0},
        {"a decimal comma", QStringLiteral("4,7"), false, 0},
        {"hexadecimal", QStringLiteral("0x10"), false, 0},
        {"infinity", QStringLiteral("inf"), false, 0},
        {"empty", QString(), false, 0},
    };
    for (const auto& c : cases) {
        OpenWindow();
        const int beeps = platform.beeps;
        TypeAndOk(c.text);
        EXPECT_EQ(GetParam().accepted(*dialog), c.accepted) << c.name;
        EXPECT_EQ(dialog->isVisible(), !c.accepted) << c.name;
        EXPECT_EQ(platform.beeps, beeps + (c.accepted ? 0 : 1)) << c.name;
        if (c.accepted) {
            EXPECT_EQ(GetParam().stored(*dialog), c.value) << c.name;
            EXPECT_EQ(Text(*dialog, GetParam().box), c.text.trimmed()) << c.name;
        }
        Click(*dialog, "Button2");
    }
    EXPECT_TRUE(platform.boxes.empty()) << "a dialog only beeps";
}

TEST_P(InputDialogTest, CloseKeepsWhatOkStoredAndReopeningShowsIt) {
    OpenWindow();
    TypeAndOk(QStringLiteral("0.000047"));
    ASSERT_TRUE(GetParam().accepted(*dialog));
    for (const bool titleBar : {false, true}) {
        Click(*window, GetParam().inputButton);
        EXPECT_EQ(Text(*dialog, GetParam().box), QStringLiteral("4.7E-05        "));
        Find<QLineEdit>(*dialog, GetParam().box)->setText(QStringLiteral("7"));
        if (titleBar)
            EXPECT_TRUE(dialog->close());
        else
            Click(*dialog, "Button2");
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(GetParam().accepted(*dialog));
        EXPECT_EQ(GetParam().stored(*dialog), 0.000047);
    }
    // A new visit of the window wants the data again and shows none.
    OpenWindow();
    EXPECT_FALSE(GetParam().accepted(*dialog));
    Click(*window, GetParam().inputButton);
    for (const auto& [edit, valid] : GetParam().valid)
        EXPECT_EQ(Text(*dialog, edit), QString()) << edit;
    EXPECT_EQ(platform.beeps, 0);
}

TEST_P(InputDialogTest, OpensModalCentredWithCloseFocused) {
    OpenWindow();
    window->move(20, 30);
    Click(*window, GetParam().inputButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("  Input data"));
    const QPoint offCentre =
        dialog->frameGeometry().center() - dialog->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
    ASSERT_NE(dialog->focusWidget(), nullptr);
    EXPECT_EQ(dialog->focusWidget()->objectName(), QStringLiteral("Button2"));
    // Opened again while open, it stays where it is.
    Click(*window, GetParam().inputButton);
    EXPECT_TRUE(dialog->isVisible());
    Click(*dialog, "Button2");
}

} // namespace
} // namespace ohmtrim
