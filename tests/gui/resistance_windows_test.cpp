// The six windows that build a wanted resistance out of two or three
// values, driven as the user drives them: opened from the catalogue,
// value sets picked in their lists, the target typed, "&Go" pressed.
#include "windows/resistance_windows.h"

#include "tests/gui/gui_support.h"

#include <QSignalSpy>

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

struct WindowCase {
    const char* className;
    int entry; // catalogue entry that opens it
    const char* caption;
    int resistors;
    int maxLength;          // of the wanted resistance; 0 when unlimited
    int inputHelp;          // context help of the wanted resistance
    QStringList tabChain;   // from "&Close" round to it again
    const char* largestAll; // what all values 100 give, "%-15.6G"
};

const QStringList kChainOfTwo = {"Edit1", "ComboBox1", "ComboBox2", "Button2", "Button1"};
const QStringList kChainOfThree = {"Edit1",     "ComboBox1", "ComboBox2",
                                   "ComboBox3", "Button2",   "Button1"};

// "&Go" follows the wanted resistance directly in the series/parallel window.
const QStringList kChainOfThreeGoFirst = {"Edit1",     "Button2",   "ComboBox1",
                                          "ComboBox2", "ComboBox3", "Button1"};

const WindowCase kWindows[] = {
    {"TForm5", 2, "  Two resistors in parallel", 2, 15, 50, kChainOfTwo, "50"},
    {"TForm3", 3, "  Two resistors in series", 2, 15, 60, kChainOfTwo, "200"},
    {"TForm6", 4, "  Three resistors in parallel", 3, 0, 62, kChainOfThree, "33.3333"},
    {"TForm4", 5, "  Three resistors in series", 3, 15, 64, kChainOfThree, "300"},
    {"TForm17", 6, "  Parallel / series connection", 3, 15, 66, kChainOfThree, "66.6667"},
    {"TForm8", 7, "  Series / parallel connection", 3, 0, 68, kChainOfThreeGoFirst, "150"},
};

// Names the parameter in test output instead of dumping its bytes.
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.className;
}

const WindowCase& CaseOf(const char* className) {
    for (const auto& c : kWindows)
        if (std::string_view(c.className) == className)
            return c;
    ADD_FAILURE() << className;
    return kWindows[0];
}

// A box text as the windows format it: padded with blanks to 15 characters.
QString Padded(const char* text) {
    return QString::fromLatin1(text).leftJustified(15, QLatin1Char(' '));
}

// The result boxes in the order R1, R2[, R3], resistance, error.
std::vector<const char*> ResultBoxes(int resistors) {
    if (resistors == 2)
        return {"Edit2", "Edit3", "Edit4", "Edit5"};
    return {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
}

// One program on a directory of value sets, with helpers to reach a window
// the way the user does.
class Session {
public:
    explicit Session(FakePlatform& platform, const TempProgramDir& dir)
        : program(std::make_unique<Program>(platform, dir.path())) {
        program->mainWindow().show();
    }

    // "&Next circuit" up to the entry, then "&Select circuit".
    QWidget* Open(const WindowCase& c) {
        TForm1& main = program->mainWindow();
        for (int i = 0; i < c.entry; ++i)
            Click(main, "Button1");
        Click(main, "Button2");
        return program->window(c.className);
    }

    // Types the label's letter into value-set list k, as a user picks it.
    static void Pick(QWidget& window, int k, const char* label) {
        auto* list = Find<QComboBox>(window, ("ComboBox" + std::to_string(k)).c_str());
        list->setFocus();
        QTest::keyClicks(list, QString::fromLatin1(label));
        EXPECT_EQ(list->currentText(), QString::fromLatin1(label));
    }

    static void Go(QWidget& window, const QString& target) {
        Find<QLineEdit>(window, "Edit1")->setText(target);
        Click(window, "Button2");
    }

    static std::vector<QString> Results(const QWidget& window, int resistors) {
        std::vector<QString> texts;
        for (const char* box : ResultBoxes(resistors))
            texts.push_back(Text(window, box));
        return texts;
    }

    std::unique_ptr<Program> program;
};

// Value sets chosen so that each circuit has one exact best combination
// that a person can check by hand; E is the set of the worked examples.
void WriteValueSets(TempProgramDir& dir) {
    dir.WriteValueSet("e.val", "E", {"10", "22", "47", "100"});
    dir.WriteValueSet("p.val", "P", {"1", "2"});
    dir.WriteValueSet("q.val", "Q", {"4", "8"});
    dir.WriteValueSet("r.val", "R", {"16", "32"});
    dir.WriteValueSet("w.val", "W", {"1", "5"});
    dir.WriteValueSet("x.val", "X", {"2", "3"});
    dir.WriteValueSet("y.val", "Y", {"4", "5"});
}

class ResistanceWindowTest : public ::testing::TestWithParam<WindowCase> {
protected:
    void SetUp() override {
        WriteValueSets(dir);
        dir.Write("omtr.ini", "[Setup]\nLabel=E\n");
        session = std::make_unique<Session>(platform, dir);
        window = session->Open(GetParam());
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
    }
    std::vector<QString> Results() const { return Session::Results(*window, GetParam().resistors); }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Session> session;
    QWidget* window = nullptr;
};

TEST_P(ResistanceWindowTest, OpensFromItsCatalogueEntryInPlaceOfTheMainWindow) {
    EXPECT_FALSE(session->program->mainWindow().isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromLatin1(GetParam().caption));
    EXPECT_EQ(window->size(), QSize(632, 400));
    for (const char* box : ResultBoxes(GetParam().resistors))
        EXPECT_FALSE(Find<QLineEdit>(*window, box)->isEnabled()) << box;
    for (int k = 1; k <= GetParam().resistors; ++k) {
        auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
        EXPECT_FALSE(list->isEditable());
        EXPECT_EQ(list->currentText(), QStringLiteral("E")) << "main selection, list " << k;
    }
}

TEST_P(ResistanceWindowTest, InvalidTargetsShowTheMessageAndNoResults) {
    const struct {
        const char* name;
        const char* typed;
        const char* shownAfter;
    } cases[] = {
        {"unit suffix", "1k", "1k"},
        {"unit suffix with blanks", " 4k7 ", "4k7"},
        {"decimal comma", "4,7", "4,7"},
        {"trailing word", "47 ohm", "47 ohm"},
        {"zero", "0", "0"},
        {"empty box reads as 0", "", ""},
        {"blanks only", "   ", ""},
        {"above 1e15", "1.1e15", "1.1e15"},
        {"below 1e-15", "1e-16", "1e-16"},
        {"negative", "-47", "-47"},
        {"hexadecimal", "0x2F", "0x2F"},
    };
    for (const auto& c : cases) {
        Session::Go(*window, QStringLiteral("47")); // results to clear
        ASSERT_FALSE(Results().front().isEmpty());
        platform.boxes.clear();
        Session::Go(*window, QString::fromLatin1(c.typed));
        EXPECT_EQ(platform.boxes,
                  (std::vector<FakePlatform::Box>{
                      {QStringLiteral("Invalid input data."), QStringLiteral(" Error")}}))
            << c.name;
        EXPECT_EQ(platform.busyAtLastBox, 0) << c.name << ": cursor restored before the box";
        EXPECT_EQ(Text(*window, "Edit1"), QString::fromLatin1(c.shownAfter)) << c.name;
        EXPECT_EQ(Results(), std::vector<QString>(ResultBoxes(GetParam().resistors).size()))
            << c.name;
    }
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_P(ResistanceWindowTest, LargestTargetIsAcceptedAndGivesTheLargestValues) {
    // Every circuit grows with each of its values, so 1e15 takes 100 for
    // every resistor and misses by practically -100 %.
    Session::Go(*window, QStringLiteral("\t 1e15  "));
    EXPECT_EQ(Text(*window, "Edit1"), QStringLiteral("1e15"));
    std::vector<QString> expected(static_cast<std::size_t>(GetParam().resistors), Padded("100"));
    expected.push_back(Padded(GetParam().largestAll));
    expected.push_back(Padded("-100"));
    EXPECT_EQ(Results(), expected);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.busyShown, 1);
    EXPECT_EQ(platform.busyDepth, 0);
}

TEST_P(ResistanceWindowTest, CloseAndReopenClearsEveryBoxAndResetsTheLists) {
    Session::Pick(*window, 1, "P");
    Session::Pick(*window, 2, "Q");
    Session::Go(*window, QStringLiteral("5"));
    ASSERT_FALSE(Results().front().isEmpty());
    const QPoint moved(window->pos() + QPoint(17, 9));
    window->move(moved);

    Click(*window, "Button1"); // "&Close"
    TForm1& main = session->program->mainWindow();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.pos(), moved) << "the main window takes the position the window had";

    auto* mainList = Find<QComboBox>(main, "ComboBox1");
    mainList->setCurrentIndex(mainList->findText(QStringLiteral("X")));
    Click(main, "Button2"); // "&Select circuit" on the same entry
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(Text(*window, "Edit1"), QString());
    EXPECT_EQ(Results(), std::vector<QString>(ResultBoxes(GetParam().resistors).size()));
    auto* calculator = static_cast<CalculatorWindow*>(window);
    for (int k = 1; k <= GetParam().resistors; ++k) {
        auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
        EXPECT_EQ(list->currentText(), QStringLiteral("X")) << "list " << k;
        EXPECT_EQ(calculator->selectionIndex(k), main.mainSelection()) << "list " << k;
    }
}

TEST_P(ResistanceWindowTest, TitleBarCloseEndsTheProgram) {
    TForm1& main = session->program->mainWindow();
    QSignalSpy ended(&main, &TForm1::programEnded);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(main.isVisible());
}

TEST_P(ResistanceWindowTest, TabOrderStartsAtClose) {
    QWidget* w = Find<QWidget>(*window, "Button1");
    QStringList chain;
    for (qsizetype i = 0; i < GetParam().tabChain.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || w == window);
        chain << w->objectName();
    }
    EXPECT_EQ(chain, GetParam().tabChain);
}

TEST_P(ResistanceWindowTest, FirstShowFocusesCloseAndF1OpensTheInputHelp) {
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->focusWidget(), Find<QWidget>(*window, "Button1"));
    Find<QLineEdit>(*window, "Edit1")->setFocus();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(platform.helpContexts, std::vector<int>{GetParam().inputHelp});
}

TEST_P(ResistanceWindowTest, LengthLimitOfTheWantedResistance) {
    auto* edit = Find<QLineEdit>(*window, "Edit1");
    edit->setFocus();
    const QString typed(40, QLatin1Char('1'));
    QTest::keyClicks(edit, typed);
    const int limit = GetParam().maxLength;
    EXPECT_EQ(edit->text(), limit > 0 ? typed.left(limit) : typed);
}

INSTANTIATE_TEST_SUITE_P(Windows, ResistanceWindowTest, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.className); });

// The chosen values, the resistance they give and the error, worked out by
// hand for value sets with a single exact (or a single nearest) answer.
TEST(ResistanceWindowResults, GoShowsValuesResistanceAndError) {
    const struct {
        const char* name;
        const char* className;
        std::vector<const char*> sets; // label per resistor
        const char* target;
        std::vector<const char*> expected; // R1, R2[, R3], resistance, error
    } cases[] = {
        {"parallel pair: 22 // 47 = 14.9855 for 15",
         "TForm5",
         {"E", "E"},
         "15",
         {"22", "47", "14.9855", "-0.0966"}},
        {"series pair: 22 + 47 is exact", "TForm3", {"E", "E"}, "69", {"22", "47", "69", "0"}},
        {"series pair: 1e3 reads as 1000, 200 is the most",
         "TForm3",
         {"E", "E"},
         "1e3",
         {"100", "100", "200", "-80"}},
        {"parallel triple: 2 // 4 // 4 = 1",
         "TForm6",
         {"X", "Y", "Q"},
         "1",
         {"2", "4", "4", "1", "0"}},
        {"series triple: 2 + 4 + 32 = 38",
         "TForm4",
         {"P", "Q", "R"},
         "38",
         {"2", "4", "32", "38", "0"}},
        {"series triple: below the smallest sum gives it and +2000 %",
         "TForm4",
         {"P", "Q", "R"},
         "1",
         {"1", "4", "16", "21", "2E+03"}},
        {"parallel/series: 2 // (1 + 1) = 1",
         "TForm17",
         {"X", "W", "W"},
         "1",
         {"2", "1", "1", "1", "0"}},
        {"series/parallel: 1 + 4 // 4 = 3",
         "TForm8",
         {"P", "Y", "Q"},
         "3",
         {"1", "4", "4", "3", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlatform platform;
        TempProgramDir dir;
        WriteValueSets(dir);
        Session session(platform, dir);
        const WindowCase& wc = CaseOf(c.className);
        QWidget* window = session.Open(wc);
        ASSERT_NE(window, nullptr);
        for (std::size_t k = 0; k < c.sets.size(); ++k)
            Session::Pick(*window, static_cast<int>(k) + 1, c.sets[k]);
        Session::Go(*window, QString::fromLatin1(c.target));
        std::vector<QString> expected;
        for (const char* e : c.expected)
            expected.push_back(Padded(e));
        EXPECT_EQ(Session::Results(*window, wc.resistors), expected);
        EXPECT_TRUE(platform.boxes.empty());
    }
}

// Without a value set the lists stay empty and "&Go" only trims the target
// and clears the results: no message, no busy cursor.
TEST(ResistanceWindowNoValueSets, GoOnlyTrimsAndClears) {
    for (const auto& wc : kWindows) {
        SCOPED_TRACE(wc.className);
        FakePlatform platform;
        TempProgramDir dir;
        Session session(platform, dir);
        QWidget* window = session.Open(wc);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
        for (int k = 1; k <= wc.resistors; ++k) {
            auto* list = Find<QComboBox>(*window, ("ComboBox" + std::to_string(k)).c_str());
            EXPECT_EQ(list->count(), 0);
            EXPECT_EQ(list->currentIndex(), -1);
        }
        Session::Go(*window, QStringLiteral(" 69\t"));
        EXPECT_EQ(Text(*window, "Edit1"), QStringLiteral("69"));
        EXPECT_EQ(Session::Results(*window, wc.resistors),
                  std::vector<QString>(ResultBoxes(wc.resistors).size()));
        EXPECT_TRUE(platform.boxes.empty());
        EXPECT_EQ(platform.busyShown, 0);
    }
}

// The two windows without a length limit take texts of any length; "&Go"
// reads the whole text, so a long spelling of a valid number is accepted
// and anything else is invalid input.
TEST(ResistanceWindowLongInput, ThousandCharactersAreReadWhole) {
    const QString zeros(997, QLatin1Char('0'));
    const struct {
        const char* name;
        const char* className;
        std::vector<const char*> sets;
        QString typed;
        std::vector<const char*> expected; // empty: invalid input
    } cases[] = {
        {"parallel triple: 1.000...",
         "TForm6",
         {"X", "Y", "Q"},
         "1.0" + zeros,
         {"2", "4", "4", "1", "0"}},
        {"series/parallel: 3.000...",
         "TForm8",
         {"P", "Y", "Q"},
         "3.0" + zeros,
         {"1", "4", "4", "3", "0"}},
        {"parallel triple: 1000 nines overflow",
         "TForm6",
         {"X", "Y", "Q"},
         QString(1000, QLatin1Char('9')),
         {}},
        {"series/parallel: 1000 nines overflow",
         "TForm8",
         {"P", "Y", "Q"},
         QString(1000, QLatin1Char('9')),
         {}},
        {"parallel triple: 0.000...1 underflows the range",
         "TForm6",
         {"X", "Y", "Q"},
         "0." + QString(997, QLatin1Char('0')) + "1",
         {}},
        {"series/parallel: a letter after 999 digits",
         "TForm8",
         {"P", "Y", "Q"},
         QString(999, QLatin1Char('4')) + "k",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.typed.size(), 1000);
        FakePlatform platform;
        TempProgramDir dir;
        WriteValueSets(dir);
        Session session(platform, dir);
        const WindowCase& wc = CaseOf(c.className);
        QWidget* window = session.Open(wc);
        ASSERT_NE(window, nullptr);
        for (std::size_t k = 0; k < c.sets.size(); ++k)
            Session::Pick(*window, static_cast<int>(k) + 1, c.sets[k]);
        auto* edit = Find<QLineEdit>(*window, "Edit1");
        edit->setFocus();
        QTest::keyClicks(edit, c.typed);
        ASSERT_EQ(edit->text(), c.typed);
        Click(*window, "Button2");
        EXPECT_EQ(edit->text(), c.typed) << "the text stays as typed";
        std::vector<QString> expected;
        for (const char* e : c.expected)
            expected.push_back(Padded(e));
        if (expected.empty()) {
            expected.resize(ResultBoxes(wc.resistors).size());
            EXPECT_EQ(platform.boxes,
                      (std::vector<FakePlatform::Box>{
                          {QStringLiteral("Invalid input data."), QStringLiteral(" Error")}}));
        } else {
            EXPECT_TRUE(platform.boxes.empty());
        }
        EXPECT_EQ(Session::Results(*window, wc.resistors), expected);
    }
}

} // namespace
} // namespace ohmtrim
