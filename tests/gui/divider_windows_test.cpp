// The voltage-divider windows, each opened from its catalogue entry the way
// the user does it: every test runs once per window and circuit variant.
#include "windows/divider_windows.h"

#include "schematics/circuit.h"
#include "tests/gui/gui_support.h"

#include <QImage>
#include <QPainter>
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

using Values = std::vector<double>;

// What the tests know about one window at one catalogue entry, restated
// from the window's description of behaviour rather than read from the code.
struct DividerRow {
    int entry;
    const char* className;
    const char* go;
    const char* close;
    const char* u3;                  // input box of U3 (U1, U2, R max, R min are Edit1..Edit4)
    std::vector<const char*> chosen; // result boxes R1, R2, ...
    const char* outputVoltage;       // result box "U2"
    const char* total;               // result box "R"
    int rmaxHelp, rminHelp, totalHelp;
    bool titleBarEndsProgram;
    Circuit::DrawRoutine drawing;
    // Upper (U1 to U2) and lower (U2 to U3) branch of chosen values.
    double (*upper)(const Values& r);
    double (*lower)(const Values& r);
    std::vector<const char*> tabChain; // from the first control of the chain
};

// Names the row in failure messages.
void PrintTo(const DividerRow& row, std::ostream* os) {
    *os << "entry " << row.entry << " (" << row.className << ")";
}

// Branch formulas of the circuits.
// clang-format off
double First(const Values& r) { return r[0]; }
double Second(const Values& r) { return r[1]; }
double Third(const Values& r) { return r[2]; }
double Fourth(const Values& r) { return r[3]; }
double FirstParallelSecond(const Values& r) { return r[0] * r[1] / (r[0] + r[1]); }
double ThirdParallelFourth(const Values& r) { return r[2] * r[3] / (r[2] + r[3]); }
double FirstThreeParallel(const Values& r) { return 1 / (1 / r[0] + 1 / r[1] + 1 / r[2]); }
double FirstParallelSeriesOfNext(const Values& r) { return 1 / (1 / (r[1] + r[2]) + 1 / r[0]); }
// clang-format on

const std::vector<DividerRow>& Rows() {
    static const std::vector<const char*> kForm9Chain = {
        "Button1",   "Edit1",     "Edit2",     "Edit3",   "Edit4", "ComboBox1",
        "ComboBox2", "ComboBox3", "ComboBox4", "Button2", "Edit11"};
    static const std::vector<const char*> kForm9Chosen = {"Edit5", "Edit6", "Edit7", "Edit8"};
    // clang-format off
    static const std::vector<DividerRow> rows = {
        // entry, window, "&Go", "&Close", U3, chosen boxes, U2 box, R box,
        // help of R max, R min, R, title-bar close ends the program;
        // drawing, upper and lower branch; tab chain
        {8,  "TForm7",  "Button2", "Button1", "Edit9",  {"Edit5", "Edit6"},          "Edit8", "Edit7",  73,  72,  74, true,
         Circuit::DrawDivider2, First, Second,
         {"Button1", "Edit1", "Edit2", "Edit9", "Edit3", "Edit4", "ComboBox1", "ComboBox2", "Button2"}},
        {9,  "TForm22", "Button1", "Button2", "Edit10", {"Edit5", "Edit6", "Edit7"}, "Edit8", "Edit9", 154, 155, 150, false,
         Circuit::DrawDivider3, FirstParallelSecond, Third,
         {"Button2", "Edit1", "Edit2", "Edit10", "Edit3", "Edit4", "ComboBox1", "ComboBox2", "ComboBox3", "Button1"}},
        {10, "TForm9",  "Button2", "Button1", "Edit11", kForm9Chosen,                "Edit9", "Edit10",  87,  86,  88, true,
         Circuit::DrawDivider4Variant1, FirstThreeParallel, Fourth, kForm9Chain},
        {11, "TForm9",  "Button2", "Button1", "Edit11", kForm9Chosen,                "Edit9", "Edit10",  56,  55,  57, true,
         Circuit::DrawDivider4Variant2, FirstParallelSeriesOfNext, Fourth, kForm9Chain},
        {12, "TForm9",  "Button2", "Button1", "Edit11", kForm9Chosen,                "Edit9", "Edit10",  83,  82,  84, true,
         Circuit::DrawDivider4Variant3, FirstParallelSecond, ThirdParallelFourth, kForm9Chain},
    };
    // clang-format on
    return rows;
}

// The inputs as typed: U1, U2, U3, R max, R min.
struct Inputs {
    QString u1, u2, u3, rmax, rmin;
};

// Value sets of every test, listed by label length, then label:
// A B C D (one value each), S (seven values), E12.
enum SetIndex { kA, kB, kC, kD, kS, kE12 };

QString Padded(const char* text) {
    return QString::fromLatin1(text).leftJustified(15, QLatin1Char(' '));
}

class DividerFixture {
protected:
    DividerFixture() {
        dir.WriteValueSet("a.val", "A", {"3000"});
        dir.WriteValueSet("b.val", "B", {"6000"});
        dir.WriteValueSet("c.val", "C", {"2000"});
        dir.WriteValueSet("d.val", "D", {"1000"});
        dir.WriteValueSet("s.val", "S", {"100", "220", "470", "1000", "2200", "4700", "10000"});
        dir.WriteValueSet("e12.val", "E12",
                          {"100",   "120",   "150",   "180",   "220",   "270",   "330",   "390",
                           "470",   "560",   "680",   "820",   "1000",  "1200",  "1500",  "1800",
                           "2200",  "2700",  "3300",  "3900",  "4700",  "5600",  "6800",  "8200",
                           "10000", "12000", "15000", "18000", "22000", "27000", "33000", "39000",
                           "47000", "56000", "68000", "82000"});
    }

    void Start() {
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
    }

    // "&Select circuit" on the entry, with the main window's value set.
    void Open(const DividerRow& row, int mainSelection = kS) {
        TForm1& main = program->mainWindow();
        Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(mainSelection);
        while (main.catalogueIndex() != row.entry)
            Click(main, "Button1");
        Click(main, "Button2");
        window = qobject_cast<CalculatorWindow*>(program->window(row.className));
        ASSERT_NE(window, nullptr) << row.className;
        ASSERT_TRUE(window->isVisible()) << row.className;
    }

    // Picks value set index for resistor k as the user does.
    void Pick(int k, int index) {
        auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    void Go(const DividerRow& row, const Inputs& in) {
        const std::pair<const char*, QString> boxes[] = {{"Edit1", in.u1},
                                                         {"Edit2", in.u2},
                                                         {row.u3, in.u3},
                                                         {"Edit3", in.rmax},
                                                         {"Edit4", in.rmin}};
        for (const auto& [edit, text] : boxes)
            Find<QLineEdit>(*window, edit)->setText(text);
        Click(*window, row.go);
    }

    // Chosen values, then the output voltage, then the total.
    QStringList Results(const DividerRow& row) const {
        QStringList r;
        for (const char* edit : row.chosen)
            r << Text(*window, edit);
        r << Text(*window, row.outputVoltage) << Text(*window, row.total);
        return r;
    }
    QStringList NoResults(const DividerRow& row) const {
        return QStringList(static_cast<qsizetype>(row.chosen.size()) + 2, QString());
    }
    Values Chosen(const DividerRow& row) const {
        Values r;
        for (const char* edit : row.chosen)
            r.push_back(Text(*window, edit).trimmed().toDouble());
        return r;
    }

    std::vector<FakePlatform::Box> Message(const char* text) const {
        return {{QString::fromLatin1(text), QStringLiteral(" Error")}};
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    CalculatorWindow* window = nullptr;
};

class DividerWindowTest : public DividerFixture, public ::testing::TestWithParam<DividerRow> {
protected:
    void SetUp() override { Start(); }
};

std::string RowName(const ::testing::TestParamInfo<DividerRow>& info) {
    return "Entry" + std::to_string(info.param.entry) + "_" + info.param.className;
}

INSTANTIATE_TEST_SUITE_P(Dividers, DividerWindowTest, ::testing::ValuesIn(Rows()), RowName);

TEST_P(DividerWindowTest, OpensFromItsCatalogueEntry) {
    const DividerRow& row = GetParam();
    Open(row);
    EXPECT_FALSE(program->mainWindow().isVisible());
    EXPECT_EQ(window->entry().index, row.entry);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("  Voltage divider"));
    EXPECT_EQ(window->size(), QSize(632, 400));
    for (std::size_t k = 1; k <= row.chosen.size(); ++k)
        EXPECT_EQ(window->selectionIndex(static_cast<int>(k)), kS) << k;
}

// Single-value tables leave the search one combination, so the results show
// the circuit's own formulas: R1 = 3000, R2 = 6000, R3 = 2000 (not in the
// three-resistor window), last resistor 1000, U1 = 10, U2 = 5, U3 = 0.
TEST_P(DividerWindowTest, ResultsFollowTheCircuitOfTheEntry) {
    const DividerRow& row = GetParam();
    struct Expected {
        int entry;
        std::vector<const char*> results; // R1.., U2, R
    };
    const Expected expected[] = {
        // 3000 above 1000: U2 = 10 * 1000 / 4000
        {8, {"3000", "1000", "2.5", "4000"}},
        // 3000 // 6000 = 2000 above 1000: U2 = 10 * 1000 / 3000
        {9, {"3000", "6000", "1000", "3.33333", "3000"}},
        // 3000 // 6000 // 2000 = 1000 above 1000
        {10, {"3000", "6000", "2000", "1000", "5", "2000"}},
        // 3000 // (6000 + 2000) = 2181.818... above 1000: U2 = 10000 / 3181.818...
        {11, {"3000", "6000", "2000", "1000", "3.14286", "3181.82"}},
        // 3000 // 6000 = 2000 above 2000 // 1000 = 666.666...: U2 = 10 * 666.67 / 2666.67
        {12, {"3000", "6000", "2000", "1000", "2.5", "2666.67"}},
    };
    Open(row);
    const std::vector<int> sets = row.chosen.size() == 2   ? std::vector<int>{kA, kD}
                                  : row.chosen.size() == 3 ? std::vector<int>{kA, kB, kD}
                                                           : std::vector<int>{kA, kB, kC, kD};
    for (std::size_t k = 0; k < sets.size(); ++k)
        Pick(static_cast<int>(k) + 1, sets[k]);
    Go(row, {"10", "5", "0", "100000", "1000"});
    for (const auto& e : expected) {
        if (e.entry != row.entry)
            continue;
        QStringList want;
        for (const char* r : e.results)
            want << Padded(r);
        EXPECT_EQ(Results(row), want);
    }
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyDepth, 0);
}

// Shown total and output voltage are what the shown values give: checked
// with the circuit's formulas on E12 values, which six digits show exactly.
TEST_P(DividerWindowTest, TotalAndOutputVoltageBelongToTheChosenValues) {
    const DividerRow& row = GetParam();
    Open(row, kE12);
    const struct {
        const char* name;
        Inputs in;
        double u1, u3;
    } cases[] = {
        {"falling", {"12", "5", "0", "20000", "1000"}, 12, 0},
        {"rising, U3 empty counts as 0", {"-12", "-5", "", "20000", "1000"}, -12, 0},
        {"rising to 12", {"0", "3", "12", "20000", "1000"}, 0, 12},
    };
    for (const auto& c : cases) {
        Go(row, c.in);
        const Values r = Chosen(row);
        ASSERT_EQ(r.size(), row.chosen.size()) << c.name;
        const double up = row.upper(r), low = row.lower(r);
        char u2[32], total[32];
        std::snprintf(u2, sizeof u2, "%-15.6G", c.u3 + (c.u1 - c.u3) * low / (up + low));
        std::snprintf(total, sizeof total, "%-15.6G", up + low);
        EXPECT_EQ(Text(*window, row.outputVoltage), QString::fromLatin1(u2)) << c.name;
        EXPECT_EQ(Text(*window, row.total), QString::fromLatin1(total)) << c.name;
        EXPECT_GE(up + low, 1000) << c.name;
        EXPECT_LE(up + low, 20000) << c.name;
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_P(DividerWindowTest, RisingVoltagesGiveTheSameResistances) {
    const DividerRow& row = GetParam();
    Open(row);
    Go(row, {"10", "5", "0", "100000", "1000"});
    const Values falling = Chosen(row);
    const double fallingU2 = Text(*window, row.outputVoltage).trimmed().toDouble();
    Go(row, {"0", "5", "10", "100000", "1000"});
    const Values rising = Chosen(row);
    ASSERT_EQ(falling.size(), row.chosen.size());
    EXPECT_EQ(rising, falling);
    // The same fraction of the span, measured from the other end.
    EXPECT_NEAR(Text(*window, row.outputVoltage).trimmed().toDouble(), 10 - fallingU2, 1e-4);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_P(DividerWindowTest, RisingFromZeroToTwelveComesCloseToThree) {
    const DividerRow& row = GetParam();
    Open(row, kE12);
    Go(row, {"0", "3", "12", "20000", "1000"});
    EXPECT_TRUE(platform.boxes.empty());
    // E12 steps are about 20 %; two resistors already meet 3 V of 12 V
    // within 1 %, more resistors only come closer.
    EXPECT_NEAR(Text(*window, row.outputVoltage).trimmed().toDouble(), 3, 0.03);
}

TEST_P(DividerWindowTest, InvalidInputShowsTheMessageAndNoResults) {
    const DividerRow& row = GetParam();
    Open(row);
    const QString tooLong = QStringLiteral("1") + QString(40000, QLatin1Char('0'));
    const struct {
        const char* name;
        Inputs in;
    } cases[] = {
        {"all voltages empty", {"", "", "", "100000", "1000"}},
        {"R min empty", {"10", "5", "", "100000", ""}},
        {"R max empty", {"10", "5", "", "", "1000"}},
        {"R min 0", {"10", "5", "", "100000", "0"}},
        {"R min negative", {"10", "5", "", "100000", "-1000"}},
        {"R min equal to R max", {"10", "5", "", "5000", "5000"}},
        {"R min above R max", {"10", "5", "", "1000", "5000"}},
        {"R max above 1e15", {"10", "5", "", "2e15", "1000"}},
        {"U2 equal to U1", {"10", "10", "0", "100000", "1000"}},
        {"U2 equal to U3", {"10", "0", "0", "100000", "1000"}},
        {"U2 outside U1..U3", {"10", "12", "0", "100000", "1000"}},
        {"unit letter", {"10", "5", "", "100k", "1000"}},
        {"decimal comma", {"10,5", "5", "", "100000", "1000"}},
        {"word for U3", {"10", "5", "zero", "100000", "1000"}},
        {"hexadecimal", {"10", "0x5", "", "100000", "1000"}},
        {"voltage beyond a double", {"1e400", "5", "", "100000", "1000"}},
        {"R max longer than any number", {"10", "5", "", tooLong, "1000"}},
    };
    for (const auto& c : cases) {
        Go(row, {"10", "5", "", "100000", "1000"});
        ASSERT_NE(Results(row), NoResults(row)) << c.name << ": results to clear";
        platform.boxes.clear();
        Go(row, c.in);
        EXPECT_EQ(platform.boxes, Message("Invalid input data.")) << c.name;
        EXPECT_EQ(platform.busyAtLastBox, 0) << c.name << ": cursor restored before the box";
        EXPECT_EQ(Results(row), NoResults(row)) << c.name;
    }
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_P(DividerWindowTest, InputsAreTrimmedAndKeptForCorrection) {
    const DividerRow& row = GetParam();
    Open(row);
    Go(row, {" 10\t", " 5 ", " 4k7 ", "\t100000 ", " 1000 "});
    EXPECT_EQ(platform.boxes, Message("Invalid input data."));
    const std::pair<const char*, const char*> shown[] = {
        {"Edit1", "10"}, {"Edit2", "5"}, {row.u3, "4k7"}, {"Edit3", "100000"}, {"Edit4", "1000"}};
    for (const auto& [edit, text] : shown)
        EXPECT_EQ(Text(*window, edit), QString::fromLatin1(text)) << edit;
}

TEST_P(DividerWindowTest, LongInputIsReadWhole) {
    const DividerRow& row = GetParam();
    Open(row);
    Go(row, {"10", "5", "", "100000", "1000"});
    const QStringList expected = Results(row);
    Go(row, {QStringLiteral("10.") + QString(5000, QLatin1Char('0')), "5", "", "100000", "1000"});
    EXPECT_EQ(Results(row), expected);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_P(DividerWindowTest, RangeBelowEveryTotalFindsNothing) {
    const DividerRow& row = GetParam();
    Open(row);
    Go(row, {"10", "5", "", "100000", "1000"});
    Go(row, {"10", "5", "0", "20", "10"});
    EXPECT_EQ(platform.boxes, Message("No solution found."));
    EXPECT_EQ(platform.busyAtLastBox, 0);
    EXPECT_EQ(Results(row), NoResults(row));
}

TEST_P(DividerWindowTest, NoValueSetMeansNothingHappens) {
    const DividerRow& row = GetParam();
    Open(row);
    Pick(1, -1);
    Go(row, {" 10 ", "5", "", "100000", "1000"});
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyShown, 0);
    EXPECT_EQ(Text(*window, "Edit1"), QStringLiteral("10"));
    EXPECT_EQ(Results(row), NoResults(row));
}

// TForm9 is shown after its other variants, so its contexts must come from
// this show.
TEST_P(DividerWindowTest, HelpContextsAfterShow) {
    const DividerRow& row = GetParam();
    for (const auto& other : Rows())
        if (std::string_view(other.className) == row.className && other.entry != row.entry) {
            Open(other);
            Click(*window, other.close);
        }
    Open(row);
    const std::pair<const char*, int> contexts[] = {
        {"Edit3", row.rmaxHelp}, {"Edit4", row.rminHelp}, {row.total, row.totalHelp}};
    for (const auto& [edit, context] : contexts)
        EXPECT_EQ(HelpContextOf(Find<QWidget>(*window, edit)), context) << edit;
    // And F1 asks the help viewer for it.
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    Find<QLineEdit>(*window, "Edit3")->setFocus();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(platform.helpContexts, std::vector<int>{row.rmaxHelp});
}

TEST_P(DividerWindowTest, TabChainAndResultBoxes) {
    const DividerRow& row = GetParam();
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
    for (const char* edit : row.chosen)
        EXPECT_FALSE(Find<QLineEdit>(*window, edit)->isEnabled()) << edit;
    EXPECT_FALSE(Find<QLineEdit>(*window, row.outputVoltage)->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(*window, row.total)->isEnabled());
}

TEST_P(DividerWindowTest, DrawsTheCircuitOfTheEntry) {
    const DividerRow& row = GetParam();
    Open(row);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(testing::ShowsDrawing(*program, *window, row.drawing, 300));
}

TEST_P(DividerWindowTest, TitleBarClose) {
    const DividerRow& row = GetParam();
    Open(row);
    testing::ExpectTitleBarClose(*program, *window, row.titleBarEndsProgram);
}

TEST_P(DividerWindowTest, CloseAndReopenClearsEverything) {
    const DividerRow& row = GetParam();
    Open(row);
    Pick(1, kE12);
    Go(row, {"10", "5", "0", "100000", "1000"});
    ASSERT_NE(Results(row), NoResults(row));
    Click(*window, row.close);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program->mainWindow().isVisible());
    Open(row, kD);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        EXPECT_EQ(edit->text(), QString()) << edit->objectName().toStdString();
    for (std::size_t k = 1; k <= row.chosen.size(); ++k)
        EXPECT_EQ(window->selectionIndex(static_cast<int>(k)), kD) << k;
}

// The worked examples of the two-resistor window.
class TwoResistorDividerTest : public DividerFixture, public ::testing::Test {
protected:
    void SetUp() override {
        Start();
        Open(Rows().front());
    }
    const DividerRow& row = Rows().front();
};

TEST_F(TwoResistorDividerTest, WorkedExamples) {
    const struct {
        const char* name;
        int set;
        Inputs in;
        std::vector<const char*> results; // R1, R2, U2, R
    } cases[] = {
        {"equal halves", kS, {"10", "5", "", "100000", "1000"}, {"1000", "1000", "5", "2000"}},
        {"rising voltages", kS, {"0", "5", "10", "100000", "1000"}, {"1000", "1000", "5", "2000"}},
        {"E12, 12 V to 5 V",
         kE12,
         {"12", "5", "0", "20000", "1000"},
         {"4700", "3300", "4.95", "8000"}},
    };
    for (const auto& c : cases) {
        Pick(1, c.set);
        Pick(2, c.set);
        Go(row, c.in);
        QStringList want;
        for (const char* r : c.results)
            want << Padded(r);
        EXPECT_EQ(Results(row), want) << c.name;
    }
    EXPECT_TRUE(platform.boxes.empty());
}

// An exhaustive search: E192 from 1 ohm to 10 Mohm for every resistor of
// the four-resistor window, and a relative tolerance of 0 so that nothing is
// good enough to stop early. Escape comes as soon as the search has started:
// with its pair tables it ends in milliseconds.
class DividerEscapeTest : public DividerFixture, public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data" / "E192.val",
                                   dir.path() / "E192.val");
        dir.Write("omtr.ini", "[Setup]\nRelTol=0\nLabel=E192\n");
        Start();
    }
};

TEST_F(DividerEscapeTest, EscapeDuringTheSearchLeavesNoResultsAndNoMessage) {
    const int e192 = 6; // after A, B, C, D, S and E12
    ASSERT_EQ(Find<QComboBox>(program->mainWindow(), "ComboBox1")->itemText(e192),
              QStringLiteral("E192"));
    for (const auto& row : Rows()) {
        if (std::string_view(row.className) != "TForm9")
            continue;
        Open(row, e192);
        for (const char* edit : row.chosen)
            Find<QLineEdit>(*window, edit)->setText(QStringLiteral("stale"));
        Find<QLineEdit>(*window, row.total)->setText(QStringLiteral("stale"));
        Find<QLineEdit>(*window, row.outputVoltage)->setText(QStringLiteral("stale"));
        bool pressedWhileSearching = false;
        QTimer::singleShot(0, window, [&] {
            pressedWhileSearching = program->mainWindow().searchRunner().busy();
            QTest::keyClick(window, Qt::Key_Escape);
        });
        Go(row, {"10", "3.3", "", "1e6", "1000"});
        EXPECT_TRUE(pressedWhileSearching) << row.entry;
        // Run to its end, the search finds a solution and fills the boxes.
        EXPECT_EQ(Results(row), NoResults(row)) << row.entry;
        EXPECT_TRUE(platform.boxes.empty()) << row.entry;
        EXPECT_EQ(platform.busyDepth, 0) << row.entry;
        Click(*window, row.close);
    }
}

} // namespace
} // namespace ohmtrim
