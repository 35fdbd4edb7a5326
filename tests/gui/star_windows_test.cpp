// The star-circuit windows and their input dialog, each window opened from
// its catalogue entry the way the user does it: every test runs once per
// window and circuit variant.
#include "windows/star_windows.h"

#include "schematics/circuit.h"
#include "tests/gui/gui_support.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <ostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

// What the tests know about one window at one catalogue entry, restated
// from the window's description of behaviour rather than read from the code.
struct StarRow {
    int entry;
    const char* className;
    const char* input; // "&Input data"
    const char* go;
    std::vector<const char*> chosen; // result boxes R1, R2, ...
    const char* u0Case1;
    const char* u0Case2;
    const char* caseHeading; // of case 1
    int inputHelp;
    const char* minLabel; // the dialog's range captions and help contexts
    const char* maxLabel;
    int minHelp, maxHelp;
    bool titleBarEndsProgram;
    Circuit::DrawRoutine drawing;
    // The star of 1000, 1000 and 2000 ohms: the value of each resistor,
    // which is also the label of the one-value set that holds it.
    std::vector<const char*> starSets;
    std::vector<const char*> tabChain; // from the first control of the chain
};

void PrintTo(const StarRow& row, std::ostream* os) {
    *os << "entry " << row.entry << " (" << row.className << ")";
}

const std::vector<StarRow>& Rows() {
    // clang-format off
    static const std::vector<StarRow> rows = {
        {17, "TForm12", "Button2", "Button3", {"Edit1", "Edit2", "Edit3"}, "Edit4", "Edit5", "CASE 1", 107,
         "R1  min", "R1  max", 119, 120, true, Circuit::DrawStarSingles,
         {"1000", "1000", "2000"},
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "Button2", "Button3"}},
        {18, "TForm19", "Button3", "Button2", {"Edit1", "Edit2", "Edit3", "Edit4"}, "Edit5", "Edit6", "CASE1", 110,
         "R1+R2  min", "R1+R2  max", 123, 124, false, Circuit::DrawStarSeriesFirst,
         {"400", "600", "1000", "2000"},
         {"Button1", "Button2", "Button3", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4"}},
        {19, "TForm19", "Button3", "Button2", {"Edit1", "Edit2", "Edit3", "Edit4"}, "Edit5", "Edit6", "CASE1", 110,
         "R1//R2  min", "R1//R2  max", 121, 122, false, Circuit::DrawStarParallelFirst,
         {"2000", "2000", "1000", "2000"},
         {"Button1", "Button2", "Button3", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4"}},
        {20, "TForm21", "Button3", "Button2", {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}, "Edit6", "Edit7", "CASE1", 107,
         "R1  min", "R1  max", 119, 120, false, Circuit::DrawStarParallelPairs,
         {"1000", "2000", "2000", "4000", "4000"},
         {"Button1", "Button2", "Button3", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}},
        {21, "TForm21", "Button3", "Button2", {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}, "Edit6", "Edit7", "CASE1", 107,
         "R1  min", "R1  max", 119, 120, false, Circuit::DrawStarSeriesParallelPairs,
         {"1000", "300", "700", "4000", "4000"},
         {"Button1", "Button2", "Button3", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}},
        {22, "TForm21", "Button3", "Button2", {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"}, "Edit6", "Edit7", "CASE1", 107,
         "R1  min", "R1  max", 119, 120, false, Circuit::DrawStarSeriesPairs,
         {"1000", "300", "700", "1000", "1000"},
         {"Button1", "Button2", "Button3", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}},
        {23, "TForm13", "Button2", "Button3", {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"}, "Edit7", "Edit8", "CASE 1", 110,
         "R1//R2  min", "R1//R2  max", 121, 122, true, Circuit::DrawStarAllParallel,
         {"2000", "2000", "2000", "2000", "4000", "4000"},
         {"Button1", "ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "Button2", "Button3"}},
    };
    // clang-format on
    return rows;
}

// The ten boxes of the dialog: U0..U3 of case 1, U0..U3 of case 2, the
// lower and the upper bound of branch 1.
struct DialogInput {
    QString case1[4];
    QString case2[4];
    QString rmin, rmax;
};

// Case 1: U0 4 with 10, 0, 0 at the far ends; case 2: U0 2 with 0, 0, 10.
// The branch-1 range of each circuit's star lies in 900..1100.
const DialogInput kStar{{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "900", "1100"};

QString Padded(const char* text) {
    return QString::fromLatin1(text).leftJustified(15, QLatin1Char(' '));
}

class StarFixture {
protected:
    StarFixture() {
        // One value each, labelled with it, and S with several.
        for (const char* value : {"300", "400", "600", "700", "1000", "2000", "4000"})
            dir.WriteValueSet(std::string(value) + ".val", value, {value});
        dir.WriteValueSet("s.val", "S", {"100", "220", "470", "1000", "2000", "4700", "10000"});
    }

    void Start() {
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
        dialog = qobject_cast<TForm14*>(program->window("TForm14"));
        ASSERT_NE(dialog, nullptr);
    }

    int SetIndex(const char* label) const {
        return Find<QComboBox>(program->mainWindow(), "ComboBox1")
            ->findText(QString::fromLatin1(label));
    }

    // "&Select circuit" on the entry, with the main window's value set.
    void Open(const StarRow& row, const char* mainSet = "S") {
        TForm1& main = program->mainWindow();
        Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(SetIndex(mainSet));
        while (main.catalogueIndex() != row.entry)
            Click(main, "Button1");
        Click(main, "Button2");
        window = qobject_cast<StarWindow*>(program->window(row.className));
        ASSERT_NE(window, nullptr) << row.className;
        ASSERT_TRUE(window->isVisible()) << row.className;
    }

    // Picks a value set for resistor k as the user does.
    void Pick(int k, int index) {
        auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    // "&Input data" with the dialog handled by inDialog while it is open;
    // the dialog must be closed again when inDialog returns, or the test
    // fails (and the dialog is closed for it).
    void InputData(const StarRow& row, const std::function<void()>& inDialog) {
        Click(*window, row.input);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->isModal());
        inDialog();
        if (dialog->isVisible()) {
            ADD_FAILURE() << "dialog left open";
            dialog->close();
        }
    }

    void Type(const DialogInput& in) {
        const char* case1[] = {"Edit1", "Edit2", "Edit3", "Edit4"};
        const char* case2[] = {"Edit6", "Edit7", "Edit8", "Edit9"};
        for (int i = 0; i < 4; ++i) {
            Find<QLineEdit>(*dialog, case1[i])->setText(in.case1[i]);
            Find<QLineEdit>(*dialog, case2[i])->setText(in.case2[i]);
        }
        Find<QLineEdit>(*dialog, "Edit5")->setText(in.rmin);
        Find<QLineEdit>(*dialog, "Edit10")->setText(in.rmax);
    }

    // The dialog accepted with in, then "&Go".
    void Accept(const StarRow& row, const DialogInput& in) {
        InputData(row, [&] {
            Type(in);
            Click(*dialog, "Button1");
        });
    }
    void Go(const StarRow& row) { Click(*window, row.go); }

    // Chosen values, then U0 of case 1 and of case 2.
    QStringList Results(const StarRow& row) const {
        QStringList r;
        for (const char* edit : row.chosen)
            r << Text(*window, edit);
        r << Text(*window, row.u0Case1) << Text(*window, row.u0Case2);
        return r;
    }
    QStringList NoResults(const StarRow& row) const {
        return QStringList(static_cast<qsizetype>(row.chosen.size()) + 2, QString());
    }

    std::vector<FakePlatform::Box> Message(const char* text, const char* caption) const {
        return {{QString::fromLatin1(text), QString::fromLatin1(caption)}};
    }
    std::vector<FakePlatform::Box> InvalidRange() const {
        return Message("Invalid resistance range.", " Error");
    }
    std::vector<FakePlatform::Box> WrongCombination() const {
        return Message("There is something wrong with\nthe combination of input values.",
                       " No Solution");
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    StarWindow* window = nullptr;
    TForm14* dialog = nullptr;
};

class StarWindowTest : public StarFixture, public ::testing::TestWithParam<StarRow> {
protected:
    void SetUp() override { Start(); }
};

std::string RowName(const ::testing::TestParamInfo<StarRow>& info) {
    return "Entry" + std::to_string(info.param.entry) + "_" + info.param.className;
}

INSTANTIATE_TEST_SUITE_P(Stars, StarWindowTest, ::testing::ValuesIn(Rows()), RowName);

TEST_P(StarWindowTest, OpensFromItsCatalogueEntry) {
    const StarRow& row = GetParam();
    Open(row);
    EXPECT_FALSE(program->mainWindow().isVisible());
    EXPECT_EQ(window->entry().index, row.entry);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("  Star circuit"));
    EXPECT_EQ(window->size(), QSize(632, 400));
    for (std::size_t k = 1; k <= row.chosen.size(); ++k)
        EXPECT_EQ(window->selectionIndex(static_cast<int>(k)), SetIndex("S")) << k;
    QStringList headings;
    for (const QLabel* label : window->findChildren<QLabel*>())
        headings << label->text();
    EXPECT_TRUE(headings.contains(QStringLiteral("NODE VOLTAGE RESULTS")));
    EXPECT_TRUE(headings.contains(QString::fromLatin1(row.caseHeading)));
}

// Each circuit built as the star of 1000, 1000 and 2000 ohms from one value
// per resistor: the values in resistor order, and U0 = 4 and 2.
TEST_P(StarWindowTest, TheWorkedStarGivesItsVoltages) {
    const StarRow& row = GetParam();
    Open(row);
    for (std::size_t k = 0; k < row.starSets.size(); ++k)
        Pick(static_cast<int>(k) + 1, SetIndex(row.starSets[k]));
    Accept(row, kStar);
    Go(row);
    QStringList want;
    for (const char* value : row.starSets)
        want << Padded(value);
    want << Padded("4") << Padded("2");
    EXPECT_EQ(Results(row), want);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyDepth, 0);
    EXPECT_GT(platform.busyShown, 0);
}

TEST_P(StarWindowTest, GoBeforeTheDialogWasAcceptedInThisVisit) {
    const StarRow& row = GetParam();
    Open(row);
    Go(row);
    EXPECT_EQ(platform.boxes, InvalidRange());
    EXPECT_EQ(platform.busyAtLastBox, 0) << "cursor restored before the box";
    // Accepted data count only while the window stays open; so does data
    // accepted in another star window.
    Accept(row, kStar);
    Go(row);
    ASSERT_NE(Results(row), NoResults(row));
    for (const StarRow& other : {row, Rows().front(), Rows().back()}) {
        Click(*window, "Button1");
        Open(other);
        platform.boxes.clear();
        Go(other);
        EXPECT_EQ(platform.boxes, InvalidRange()) << other.entry;
        EXPECT_EQ(Results(other), NoResults(other)) << other.entry;
        Accept(other, kStar);
        Go(other);
        EXPECT_NE(Results(other), NoResults(other)) << other.entry;
    }
}

TEST_P(StarWindowTest, FailedSearchesShowTheirMessagesAndNoResults) {
    const StarRow& row = GetParam();
    const bool seriesFirst = row.entry == 18;
    struct Case {
        const char* name;
        DialogInput in;
        std::vector<FakePlatform::Box> message;
    };
    const std::vector<Case> table = {
        {"lower bound equal to the upper one",
         {{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "1000", "1000"},
         InvalidRange()},
        {"upper bound beyond 1e15",
         {{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "900", "1e16"},
         InvalidRange()},
        {"upper bound below the lower one",
         {{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "1100", "900"},
         InvalidRange()},
        {"proportional cases",
         {{"4", "10", "0", "0"}, {"8", "20", "0", "0"}, "900", "1100"},
         WrongCombination()},
        {"U0 above every far end: a negative ratio",
         {{"5", "0", "1", "2"}, {"2", "0", "0", "10"}, "900", "1100"},
         WrongCombination()},
        // The largest value of S is 10000: a single or parallel branch 1 has
        // no start, a series one finds no sum in range.
        {"branch 1 above every value",
         {{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "1e6", "2e6"},
         seriesFirst ? WrongCombination() : InvalidRange()},
    };
    Open(row);
    for (const Case& c : table) {
        Accept(row, kStar);
        Go(row);
        ASSERT_NE(Results(row), NoResults(row)) << c.name << ": results to clear";
        platform.boxes.clear();
        Accept(row, c.in);
        Go(row);
        EXPECT_EQ(platform.boxes, c.message) << c.name;
        EXPECT_EQ(platform.busyAtLastBox, 0) << c.name;
        EXPECT_EQ(Results(row), NoResults(row)) << c.name;
    }
}

TEST_P(StarWindowTest, NoValueSetMeansNothingHappens) {
    const StarRow& row = GetParam();
    Open(row);
    Accept(row, kStar);
    Pick(static_cast<int>(row.chosen.size()), -1);
    Go(row);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyShown, 0);
    EXPECT_EQ(Results(row), NoResults(row));
}

// The caller sets the dialog's range captions and their help contexts; the
// other boxes keep theirs. F1 asks the help viewer for the focused box's.
TEST_P(StarWindowTest, DialogCaptionsAndHelpComeFromTheCaller) {
    const StarRow& row = GetParam();
    // The other variants of the window first, so that nothing is left over.
    for (const auto& other : Rows())
        if (std::string_view(other.className) == row.className && other.entry != row.entry) {
            Open(other);
            InputData(other, [&] { Click(*dialog, "Button2"); });
            Click(*window, "Button1");
        }
    Open(row);
    EXPECT_EQ(HelpContextOf(Find<QWidget>(*window, row.input)), row.inputHelp);
    InputData(row, [&] {
        EXPECT_EQ(Find<QLabel>(*dialog, "Label1")->text(), QString::fromLatin1(row.minLabel));
        EXPECT_EQ(Find<QLabel>(*dialog, "Label2")->text(), QString::fromLatin1(row.maxLabel));
        const std::pair<const char*, int> contexts[] = {
            {"Edit1", 111},         {"Edit2", 112},          {"Edit3", 113},   {"Edit4", 114},
            {"Edit6", 115},         {"Edit7", 116},          {"Edit8", 117},   {"Edit9", 118},
            {"Edit5", row.minHelp}, {"Edit10", row.maxHelp}, {"Button1", 100}, {"Button2", 101}};
        for (const auto& [edit, context] : contexts)
            EXPECT_EQ(HelpContextOf(Find<QWidget>(*dialog, edit)), context) << edit;
        QApplication::setActiveWindow(dialog);
        if (QTest::qWaitForWindowActive(dialog)) {
            Find<QLineEdit>(*dialog, "Edit10")->setFocus();
            QTest::keyClick(dialog, Qt::Key_F1);
            EXPECT_EQ(platform.helpContexts, std::vector<int>{row.maxHelp});
        } else {
            ADD_FAILURE() << "dialog not active";
        }
        Click(*dialog, "Button2");
    });
}

TEST_P(StarWindowTest, TabChainAndResultBoxes) {
    const StarRow& row = GetParam();
    Open(row);
    QWidget* w = Find<QWidget>(*window, row.tabChain.front());
    QStringList chain{w->objectName()};
    for (std::size_t i = 0; i < row.tabChain.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || w == window);
        chain << w->objectName();
    }
    QStringList expected;
    for (const char* name : row.tabChain)
        expected << QString::fromLatin1(name);
    expected << expected.front(); // and round again
    EXPECT_EQ(chain, expected);
    std::vector<const char*> results = row.chosen;
    results.push_back(row.u0Case1);
    results.push_back(row.u0Case2);
    for (const char* edit : results)
        EXPECT_FALSE(Find<QLineEdit>(*window, edit)->isEnabled()) << edit;
}

TEST_P(StarWindowTest, DrawsTheCircuitOfTheEntry) {
    const StarRow& row = GetParam();
    Open(row);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // TForm13's "&Input data" reaches into the drawing area at x = 296.
    EXPECT_TRUE(testing::ShowsDrawing(*program, *window, row.drawing, 296));
}

TEST_P(StarWindowTest, TitleBarClose) {
    const StarRow& row = GetParam();
    Open(row);
    testing::ExpectTitleBarClose(*program, *window, row.titleBarEndsProgram);
}

// ---- the dialog -------------------------------------------------------------------

class StarDialogTest : public StarFixture, public ::testing::Test {
protected:
    void SetUp() override {
        Start();
        Open(row);
    }
    QString Box(const char* edit) const { return Text(*dialog, edit); }
    const StarRow& row = Rows().front();
};

// Box by box, Edit1 to Edit10: trimmed and written back up to the first
// box that fails, which beeps and keeps the dialog open with nothing stored.
TEST_F(StarDialogTest, OkBeepsAtTheFirstBoxThatHoldsNoNumber) {
    const QString longest = QStringLiteral("1.") + QString(61, QLatin1Char('0'));
    const struct {
        const char* name;
        const char* edit;
        QString text;
        const char* trimmedBefore; // a box read before the failing one
    } cases[] = {
        {"a unit", "Edit2", QStringLiteral("5V"), "Edit1"},
        {"empty", "Edit3", QString(), "Edit2"},
        {"blanks only", "Edit5", QStringLiteral("   "), "Edit4"},
        {"a decimal comma", "Edit7", QStringLiteral("4,7"), "Edit6"},
        {"64 characters", "Edit10", longest + QStringLiteral("0"), "Edit9"},
        {"hexadecimal", "Edit6", QStringLiteral("0x10"), "Edit5"},
    };
    for (const auto& c : cases) {
        const int beeps = platform.beeps;
        InputData(row, [&] {
            Type({{" 4 ", " 10 ", " 0 ", " 0 "}, {" 2 ", " 0 ", " 0 ", " 10 "}, " 900 ", " 1100 "});
            Find<QLineEdit>(*dialog, c.edit)->setText(c.text);
            Click(*dialog, "Button1");
            EXPECT_TRUE(dialog->isVisible()) << c.name;
            EXPECT_EQ(platform.beeps, beeps + 1) << c.name;
            EXPECT_EQ(Box(c.trimmedBefore), Box(c.trimmedBefore).trimmed()) << c.name;
            EXPECT_EQ(Box("Edit10").startsWith(QLatin1Char(' ')),
                      std::string_view(c.edit) != "Edit10")
                << c.name << ": boxes after the failing one stay as typed";
            Click(*dialog, "Button2");
        });
        EXPECT_FALSE(dialog->inputAccepted()) << c.name;
    }
    EXPECT_TRUE(platform.boxes.empty()) << "the dialog shows no message";
    // 63 characters still fit.
    InputData(row, [&] {
        Type({{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "900", longest});
        Click(*dialog, "Button1");
    });
    EXPECT_TRUE(dialog->inputAccepted());
}

// " 5 " is read as 5 and shown trimmed; every box goes to its field (Edit5
// is the lower bound, Edit10 the upper); reopening shows the numbers in
// "%-15.6G".
TEST_F(StarDialogTest, AcceptedNumbersAreStoredAndShownAgain) {
    InputData(row, [&] {
        EXPECT_EQ(Box("Edit1"), QString()) << "nothing accepted in this visit";
        Type({{" 5 ", "-12.5", "1e3", "0.000047"}, {"1", "2", "3", "4"}, " 900\t", "1100"});
        Click(*dialog, "Button1");
        EXPECT_EQ(Box("Edit1"), QStringLiteral("5"));
        EXPECT_EQ(Box("Edit5"), QStringLiteral("900"));
    });
    ASSERT_TRUE(dialog->inputAccepted());
    const StarInput& in = dialog->input();
    const double fields[] = {in.U0Case1, in.U1Case1, in.U2Case1, in.U3Case1, in.U0Case2,
                             in.U1Case2, in.U2Case2, in.U3Case2, in.RMin,    in.RMax};
    const double typed[] = {5, -12.5, 1000, 0.000047, 1, 2, 3, 4, 900, 1100};
    for (std::size_t i = 0; i < std::size(typed); ++i)
        EXPECT_EQ(fields[i], typed[i]) << "field " << i + 1;
    InputData(row, [&] {
        const std::pair<const char*, const char*> shown[] = {
            {"Edit1", "5"},   {"Edit2", "-12.5"}, {"Edit3", "1000"}, {"Edit4", "4.7E-05"},
            {"Edit5", "900"}, {"Edit6", "1"},     {"Edit10", "1100"}};
        for (const auto& [edit, text] : shown)
            EXPECT_EQ(Box(edit), Padded(text)) << edit;
        // "&Close" keeps what was accepted, though the boxes changed.
        Find<QLineEdit>(*dialog, "Edit1")->setText(QStringLiteral("7"));
        Click(*dialog, "Button2");
    });
    EXPECT_TRUE(dialog->inputAccepted());
    EXPECT_EQ(dialog->input().U0Case1, 5);
    // So does the title bar's close.
    InputData(row, [&] { dialog->close(); });
    EXPECT_TRUE(dialog->inputAccepted());
}

TEST_F(StarDialogTest, LayoutAndTabOrder) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("  Input data"));
    EXPECT_EQ(dialog->size(), QSize(347, 390));
    const char* order[] = {"Button2", "Edit1", "Edit6", "Edit2", "Edit7",  "Edit3",
                           "Edit8",   "Edit4", "Edit9", "Edit5", "Edit10", "Button1"};
    QWidget* w = Find<QWidget>(*dialog, order[0]);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || w == dialog);
        EXPECT_EQ(w->objectName(), QString::fromLatin1(order[i]));
    }
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        EXPECT_GE(edit->maxLength(), 32767) << edit->objectName().toStdString() << ": no limit";
}

// The worked example in TForm12 with a value set that holds 1000 and 2000.
TEST_F(StarDialogTest, WorkedExampleOfTheThreeResistorStar) {
    Accept(row, kStar);
    Go(row);
    EXPECT_EQ(Results(row), (QStringList{Padded("1000"), Padded("1000"), Padded("2000"),
                                         Padded("4"), Padded("2")}));
}

// ---- Escape ------------------------------------------------------------------------

// Six E192 tables from 1 ohm to 10 Mohm and a relative tolerance of 0: the
// all-parallel star scans exhaustively; Escape comes as soon as it has
// started (with its pair tables it ends in milliseconds).
class StarEscapeTest : public StarFixture, public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data" / "E192.val",
                                   dir.path() / "E192.val");
        dir.Write("omtr.ini", "[Setup]\nRelTol=0\nLabel=E192\n");
        Start();
    }
};

TEST_F(StarEscapeTest, EscapeDuringTheSearchLeavesNoResultsAndNoMessage) {
    const StarRow& row = Rows().back();
    Open(row, "E192");
    Accept(row, {{"4", "10", "0", "0"}, {"2", "0", "0", "10"}, "1", "1e7"});
    for (const char* edit : row.chosen)
        Find<QLineEdit>(*window, edit)->setText(QStringLiteral("stale"));
    bool pressedWhileSearching = false;
    QTimer::singleShot(0, window, [&] {
        pressedWhileSearching = program->mainWindow().searchRunner().busy();
        QTest::keyClick(window, Qt::Key_Escape);
    });
    Go(row);
    EXPECT_TRUE(pressedWhileSearching);
    EXPECT_EQ(Results(row), NoResults(row));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyDepth, 0);
}

// ---- help ------------------------------------------------------------------------

// Every context a star window or the dialog gives a control has its topic,
// and the topic names what the control is.
TEST(StarHelp, EveryContextHasATopicThatNamesIt) {
    std::ifstream file(std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data/omtr.html");
    std::stringstream ss;
    ss << file.rdbuf();
    const std::string html = ss.str();
    // The heading a context's anchor stands in.
    const auto heading = [&](int context) {
        const std::string anchor = "<a name=\"ctx-" + std::to_string(context) + "\"></a>";
        const std::size_t at = html.find(anchor);
        if (at == std::string::npos)
            return std::string();
        const std::size_t end = html.find("</h3>", at);
        std::string text = html.substr(at, end - at);
        return std::regex_replace(text, std::regex("<[^>]*>"), "");
    };
    const std::pair<int, const char*> topics[] = {
        {105, "U0, case 1"}, {106, "U0, case 2"}, {107, "Input data"}, {108, "U0, case 1"},
        {109, "U0, case 2"}, {110, "Input data"}, {111, "U0"},         {112, "U1"},
        {113, "U2"},         {114, "U3"},         {115, "U0"},         {116, "U1"},
        {117, "U2"},         {118, "U3"},         {119, "minimum"},    {120, "maximum"},
        {121, "minimum"},    {122, "maximum"},    {123, "minimum"},    {124, "maximum"},
        {100, "Ok"},         {101, "Close"},      {27, "Go"},          {28, "Close"},
    };
    for (const auto& [context, words] : topics)
        EXPECT_NE(heading(context).find(words), std::string::npos)
            << context << ": " << heading(context);
}

} // namespace
} // namespace ohmtrim
