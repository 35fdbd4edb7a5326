// The node-voltage windows and their input dialog, each window opened from
// its catalogue entry the way the user does it.
#include "windows/node_windows.h"

#include "tests/gui/gui_support.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

// One catalogue entry, restated from the windows' description.
struct NodeRow {
    int entry;
    const char* className;
    int resistors;
    bool optionalU2U3; // one of U2 and U3 may be left empty
    int rmaxHelp, rminHelp;
    const char* u2;
    const char* u3;
    // The node voltages with 1000 ohms for every resistor, U1 = 10, U4 = 0
    // (sections A, B, C of 1000 each; 1000, 1000, 500; 1000, 500, 500; 500 each).
    const char* u2AllEqual;
    const char* u3AllEqual;
    std::vector<const char*> tabChain;
};

void PrintTo(const NodeRow& row, std::ostream* os) {
    *os << "entry " << row.entry;
}

const std::vector<NodeRow>& Rows() {
    // clang-format off
    static const std::vector<NodeRow> rows = {
        {13, "TForm10", 3, true,  96,  97, "Edit4", "Edit5", "6.66667", "3.33333",
         {"Button1", "Button2", "ComboBox1", "ComboBox2", "ComboBox3", "Button3"}},
        {14, "TForm11", 4, true,  161, 160, "Edit7", "Edit8", "6", "2",
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "Button2", "Button3"}},
        {15, "TForm11", 5, false, 163, 162, "Edit7", "Edit8", "5", "2.5",
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "Button2", "Button3"}},
        {16, "TForm11", 6, false, 99,  98, "Edit7", "Edit8", "6.66667", "3.33333",
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "Button2", "Button3"}},
    };
    // clang-format on
    return rows;
}

// The dialog's boxes: U1, U2, U3, U4, R max, R min.
using Typed = std::array<const char*, 6>;
constexpr const char* kBoxes[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
constexpr Typed kBothNodes{"10", "6", "3", "0", "1e6", "100"};

QString Padded(const char* text) {
    return QString::fromLatin1(text).leftJustified(15, QLatin1Char(' '));
}

// The names along the tab chain of window from its control first, as many
// as names holds, and the names expected.
std::pair<QStringList, QStringList> TabChain(QWidget& window,
                                             const std::vector<const char*>& names) {
    QStringList chain, expected;
    QWidget* w = Find<QWidget>(window, names.front());
    for (const char* name : names) {
        chain << w->objectName();
        expected << QString::fromLatin1(name);
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || w->isHidden() || w == &window);
    }
    return {chain, expected};
}

class NodeFixture {
public:
    NodeFixture() { dir.WriteValueSet("k.val", "K", {"1000"}); }

    void Start() {
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
        dialog = qobject_cast<TForm18*>(program->window("TForm18"));
        ASSERT_NE(dialog, nullptr);
    }

    void Open(const NodeRow& row, int mainSelection = 0) {
        TForm1& main = program->mainWindow();
        Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(mainSelection);
        while (main.catalogueIndex() != row.entry)
            Click(main, "Button1");
        Click(main, "Button2");
        window = qobject_cast<CalculatorWindow*>(program->window(row.className));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
    }

    // "&Input data", the boxes typed, "&Ok"; true when the dialog accepted.
    bool Confirm(const Typed& typed) {
        Click(*window, "Button2");
        EXPECT_TRUE(dialog->isVisible());
        for (std::size_t i = 0; i < typed.size(); ++i)
            Find<QLineEdit>(*dialog, kBoxes[i])->setText(QString::fromLatin1(typed[i]));
        const int beeps = platform.beeps;
        Click(*dialog, "Button1");
        EXPECT_EQ(dialog->isVisible(), platform.beeps != beeps) << "a beep leaves it open";
        const bool accepted = !dialog->isVisible();
        Click(*dialog, "Button2");
        return accepted;
    }

    QStringList Results(const NodeRow& row) const {
        QStringList r;
        for (int k = 1; k <= row.resistors; ++k)
            r << Text(*window, ("Edit" + std::to_string(k)).c_str());
        return r << Text(*window, row.u2) << Text(*window, row.u3);
    }
    QStringList NoResults(const NodeRow& row) const {
        return QStringList(row.resistors + 2, QString());
    }
    std::vector<FakePlatform::Box> Message(const char* text) const {
        return {{QString::fromLatin1(text), QStringLiteral(" Error")}};
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    CalculatorWindow* window = nullptr;
    TForm18* dialog = nullptr;
};

class NodeWindowTest : public NodeFixture, public ::testing::TestWithParam<NodeRow> {
protected:
    void SetUp() override { Start(); }
};

INSTANTIATE_TEST_SUITE_P(NodeChains, NodeWindowTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) {
                             return "Entry" + std::to_string(info.param.entry);
                         });

TEST_P(NodeWindowTest, ShowsTheRowsOfItsResistorsInsideTheWindow) {
    const NodeRow& row = GetParam();
    Open(row);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("  Voltage divider"));
    EXPECT_EQ(window->size(), QSize(632, 400));
    std::vector<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!w->isHidden())
            shown.push_back(w);
    for (int k = 1; k <= 6; ++k) {
        const auto* list = window->findChild<QWidget*>("ComboBox" + QString::number(k));
        EXPECT_EQ(list != nullptr && !list->isHidden(), k <= row.resistors) << k;
    }
    int lastRow = 0;
    for (const QWidget* w : shown) {
        EXPECT_TRUE(window->rect().contains(w->geometry())) << w->objectName().toStdString();
        if (qobject_cast<const QComboBox*>(w) != nullptr)
            lastRow = std::max(lastRow, w->geometry().bottom());
        for (const QWidget* other : shown)
            EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry()))
                << w->objectName().toStdString() << " " << other->objectName().toStdString();
    }
    for (const char* below : {row.u2, row.u3, "Button1", "Button3"})
        EXPECT_GT(Find<QWidget>(*window, below)->y(), lastRow) << below;
}

TEST_P(NodeWindowTest, GoNeedsTheDialogConfirmedDuringThisVisit) {
    const NodeRow& row = GetParam();
    Open(row);
    Click(*window, "Button3");
    EXPECT_EQ(platform.boxes, Message("Invalid input data."));
    EXPECT_EQ(platform.busyAtLastBox, 0);
    ASSERT_TRUE(Confirm(kBothNodes));
    platform.boxes.clear();
    Click(*window, "Button3");
    QStringList want(row.resistors, Padded("1000"));
    EXPECT_EQ(Results(row), want << Padded(row.u2AllEqual) << Padded(row.u3AllEqual));
    EXPECT_TRUE(platform.boxes.empty());
    // A new visit clears the results and wants the data again.
    Click(*window, "Button1");
    Open(row);
    EXPECT_EQ(Results(row), NoResults(row));
    Click(*window, "Button3");
    EXPECT_EQ(platform.boxes, Message("Invalid input data."));
    Click(*window, "Button2");
    for (const char* box : kBoxes)
        EXPECT_EQ(Text(*dialog, box), QString()) << box;
}

TEST_P(NodeWindowTest, FailedSearchesShowTheirMessageAndNoResults) {
    const NodeRow& row = GetParam();
    Open(row);
    const struct {
        Typed typed;
        const char* message;
    } cases[] = {
        {{"10", "6", "0", "0", "1e6", "100"}, "Invalid input data."}, // U3 = U4
        {{"10", "6", "3", "0", "100", "10"}, "No solution found."},   // every total above R max
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Confirm(kBothNodes));
        Click(*window, "Button3");
        ASSERT_NE(Results(row), NoResults(row));
        platform.boxes.clear();
        ASSERT_TRUE(Confirm(c.typed));
        Click(*window, "Button3");
        EXPECT_EQ(platform.boxes, Message(c.message)) << c.typed[2] << " " << c.typed[4];
        EXPECT_EQ(platform.busyAtLastBox, 0);
        EXPECT_EQ(Results(row), NoResults(row));
    }
}

TEST_P(NodeWindowTest, DialogAcceptsOneInnerNodeOnlyWhereTheChainAllowsIt) {
    const NodeRow& row = GetParam();
    Open(row);
    Click(*window, "Button2");
    EXPECT_EQ(!Find<QLabel>(*dialog, "Label9")->isHidden(), row.optionalU2U3);
    Click(*dialog, "Button2");
    EXPECT_FALSE(Confirm({"10", "", "", "0", "1e6", "100"}));
    EXPECT_EQ(Confirm({"10", "", "3", "0", "1e6", "100"}), row.optionalU2U3);
    EXPECT_EQ(Confirm({"10", "6", " ", "0", "1e6", "100"}), row.optionalU2U3);
}

TEST_P(NodeWindowTest, HelpOfTheRangeBoxesComesFromTheWindow) {
    const NodeRow& row = GetParam();
    Open(row);
    Click(*window, "Button2");
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    for (const char* box : {"Edit5", "Edit6", "Edit1"}) {
        Find<QLineEdit>(*dialog, box)->setFocus();
        QTest::keyClick(dialog, Qt::Key_F1);
    }
    EXPECT_EQ(platform.helpContexts, (std::vector<int>{row.rmaxHelp, row.rminHelp, 93}));
}

TEST_P(NodeWindowTest, TabChainAndTitleBarClose) {
    const NodeRow& row = GetParam();
    QSignalSpy ended(&program->mainWindow(), &TForm1::programEnded);
    Open(row);
    const auto [chain, expected] = TabChain(*window, row.tabChain);
    EXPECT_EQ(chain, expected);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ended.count(), 1);
}

// One dialog shared by both windows: its boxes, as the user types them.
class NodeDialogTest : public NodeFixture, public ::testing::Test {
protected:
    void SetUp() override {
        Start();
        Open(Rows().front());
    }
    QStringList Boxes() const {
        QStringList texts;
        for (const char* box : kBoxes)
            texts << Text(*dialog, box);
        return texts;
    }
};

TEST_F(NodeDialogTest, TabChainBadNumbersAndTrimming) {
    Click(*window, "Button2");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("  Input data"));
    EXPECT_EQ(dialog->size(), QSize(432, 276));
    EXPECT_TRUE(dialog->isModal());
    const auto [chain, expected] = TabChain(
        *dialog, {"Button2", "Edit1", "Edit2", "Edit3", "Edit4", "Edit6", "Edit5", "Button1"});
    EXPECT_EQ(chain, expected);
    Click(*dialog, "Button2");
    EXPECT_FALSE(Confirm({"12abc", "6", "3", "0", "1e6", "100"}));
    EXPECT_FALSE(Confirm({"10", "6", "3", "", "1e6", "100"}));
    EXPECT_FALSE(Confirm({"10", "6", "3", "0", "1e6", "1e400"}));
    EXPECT_EQ(platform.beeps, 3);
    EXPECT_TRUE(platform.boxes.empty());
    Click(*window, "Button3");
    EXPECT_EQ(platform.boxes, Message("Invalid input data.")) << "nothing was stored";
    // Boxes are trimmed one by one up to the first that fails.
    Click(*window, "Button2");
    const Typed typed{" 10 ", "6x", " 3 ", "0", "1e6", "100"};
    for (std::size_t i = 0; i < typed.size(); ++i)
        Find<QLineEdit>(*dialog, kBoxes[i])->setText(QString::fromLatin1(typed[i]));
    Click(*dialog, "Button1");
    EXPECT_EQ(Boxes(), QStringList({"10", "6x", " 3 ", "0", "1e6", "100"}));
    Find<QLineEdit>(*dialog, "Edit2")->setText(QStringLiteral("\t6 "));
    Click(*dialog, "Button1");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Boxes(), QStringList({"10", "6", "3", "0", "1e6", "100"}));
}

TEST_F(NodeDialogTest, ReopeningShowsTheConfirmedValuesAndCloseKeepsThem) {
    ASSERT_TRUE(Confirm({" 12 ", "", "3", "-0.5", "1e6", "100"}));
    Click(*window, "Button2");
    EXPECT_EQ(Boxes(), QStringList({Padded("12"), "", Padded("3"), Padded("-0.5"), Padded("1E+06"),
                                    Padded("100")}));
    // Changed and closed: the confirmed record stays.
    Find<QLineEdit>(*dialog, "Edit1")->setText(QStringLiteral("abc"));
    Click(*dialog, "Button2");
    EXPECT_FALSE(dialog->isVisible());
    dialog->show();
    EXPECT_TRUE(dialog->close()) << "the title-bar close closes it too";
    Click(*window, "Button3");
    EXPECT_TRUE(platform.boxes.empty());
    // U3 of three equal resistors between 12 and -0.5.
    EXPECT_EQ(Text(*window, "Edit5"), Padded("3.66667"));
    EXPECT_EQ(platform.beeps, 0);
}

// Six E192 resistors at relative tolerance 0: an exhaustive search, with
// Escape as soon as it has started (with its pair tables it ends in
// milliseconds).
TEST(NodeEscape, EscapeDuringTheSearchLeavesNoResultsAndNoMessage) {
    NodeFixture f;
    std::filesystem::copy_file(std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data" / "E192.val",
                               f.dir.path() / "E192.val");
    f.dir.Write("omtr.ini", "[Setup]\nRelTol=0\nLabel=E192\n");
    f.Start();
    const NodeRow& row = Rows().back();
    f.Open(row, 1); // after K
    ASSERT_TRUE(f.Confirm({"10", "6", "3", "0", "1e7", "1"}));
    bool pressedWhileSearching = false;
    QTimer::singleShot(0, f.window, [&] {
        pressedWhileSearching = f.program->mainWindow().searchRunner().busy();
        QTest::keyClick(f.window, Qt::Key_Escape);
    });
    Click(*f.window, "Button3");
    EXPECT_TRUE(pressedWhileSearching);
    EXPECT_EQ(f.Results(row), f.NoResults(row));
    EXPECT_TRUE(f.platform.boxes.empty());
    EXPECT_EQ(f.platform.busyDepth, 0);
}

} // namespace
} // namespace ohmtrim
