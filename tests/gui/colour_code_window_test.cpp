#include "windows/colour_code_window.h"

#include "tests/gui/gui_support.h"

#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;
using testing::Text;

constexpr const char* kLists[] = {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"};

// The converter opened from catalogue entry 0 of the main window.
class ColourCodeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
        Click(program->mainWindow(), "Button2");
        window = qobject_cast<TForm23*>(program->window("TForm23"));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(window->isVisible());
    }

    QRadioButton* ModeButton(const char* text) const {
        for (auto* radio : window->findChildren<QRadioButton*>())
            if (radio->text() == QLatin1String(text))
                return radio;
        ADD_FAILURE() << "no mode " << text;
        return nullptr;
    }
    // A band chosen by the user: the list's item by its name.
    void Choose(const char* list, const char* colour) const {
        auto* combo = Find<QComboBox>(*window, list);
        const int item = combo->findText(QLatin1String(colour));
        ASSERT_GE(item, 0) << list << " " << colour;
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    void Type(const char* edit, const char* text) const {
        Find<QLineEdit>(*window, edit)->setText(QLatin1String(text));
    }
    // The shown lists' items from top to bottom, then the four boxes.
    std::string Shown() const {
        std::vector<QComboBox*> lists;
        for (const char* name : kLists)
            if (auto* combo = Find<QComboBox>(*window, name); !combo->isHidden())
                lists.push_back(combo);
        std::stable_sort(lists.begin(), lists.end(),
                         [](auto* a, auto* b) { return a->y() < b->y(); });
        std::string shown;
        for (auto* combo : lists)
            shown += combo->currentText().toStdString() + ",";
        for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit4"})
            shown.append("|").append(Text(*window, box).toStdString());
        return shown;
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
    TForm23* window = nullptr;
};

TEST_F(ColourCodeWindowTest, OpensFromEntryZeroInFourBandMode) {
    EXPECT_FALSE(program->mainWindow().isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" Color code / value converter"));
    EXPECT_EQ(window->size(), QSize(632, 400));
    EXPECT_TRUE(ModeButton("Four Band")->isChecked());
    EXPECT_EQ(Shown(), "not known,not known,not known,not known,||||");
}

// What the user does, in order: choose a colour in a list, type into a box,
// or press "&Go".
struct Step {
    enum { Choose, Type, Go } what;
    const char* control = nullptr;
    const char* text = nullptr;
};

// Bands chosen in the lists show at once; "&Go" turns typed text into bands.
// Each row starts from a fresh window in its mode.
TEST_F(ColourCodeWindowTest, HandlersCarryTheBoxesAndListsThrough) {
    const struct {
        const char* name;
        const char* mode;
        std::vector<Step> steps;
        const char* shown;
    } cases[] = {
        {"four bands chosen",
         "Four Band",
         {{Step::Choose, "ComboBox1", "yellow"},
          {Step::Choose, "ComboBox2", "violet"},
          {Step::Choose, "ComboBox4", "red"},
          {Step::Choose, "ComboBox5", "gold"}},
         "yellow,violet,red,gold,| 4700| 5| 4935           | 4465           "},
        {"typed and converted, five bands",
         "Five Band",
         {{Step::Type, "Edit1", " 9.96 "}, {Step::Type, "Edit2", "0.3"}, {Step::Go}},
         "white,white,blue,silver,blue,| 9.96| 0.25| 9.9849         | 9.9351         "},
        {"a failed resistance resets the value bands, the tolerance is read",
         "Four Band",
         {{Step::Choose, "ComboBox1", "red"},
          {Step::Choose, "ComboBox2", "red"},
          {Step::Choose, "ComboBox4", "red"},
          {Step::Type, "Edit1", "4k7"},
          {Step::Type, "Edit2", "4.8"},
          {Step::Go}},
         "not known,not known,not known,gold,|| 5||"},
        {"a tolerance band leaves the typed resistance alone",
         "Four Band",
         {{Step::Type, "Edit1", "123"}, {Step::Choose, "ComboBox5", "brown"}},
         "not known,not known,not known,brown,|123| 1||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModeButton(c.mode == std::string("Four Band") ? "Five Band" : "Four Band")->click();
        ModeButton(c.mode)->click();
        for (const Step& step : c.steps) {
            switch (step.what) {
            case Step::Choose:
                Choose(step.control, step.text);
                break;
            case Step::Type:
                Type(step.control, step.text);
                break;
            case Step::Go:
                Click(*window, "Button2");
                break;
            }
        }
        EXPECT_EQ(Shown(), c.shown);
    }
}

// The bands of a mode read "Band 1" to "Band N" from top to bottom, each
// label beside its list; the third digit is there in five-band mode only.
TEST_F(ColourCodeWindowTest, ModeSwitchingLaysOutTheBandsAndClearsEverything) {
    for (const char* mode : {"Five Band", "Four Band", "Five Band"}) {
        SCOPED_TRACE(mode);
        Choose("ComboBox1", "brown");
        Choose("ComboBox5", "gold");
        Type("Edit1", "47");
        ModeButton(mode)->click();
        EXPECT_EQ(window->mode(),
                  mode == std::string("Five Band") ? BandMode::Five : BandMode::Four);

        std::map<int, QString> labels; // by top
        for (auto* label : window->findChildren<QLabel*>())
            if (!label->isHidden() && label->text().startsWith(QLatin1String("Band ")))
                labels[label->y()] = label->text();
        std::vector<QComboBox*> lists;
        for (const char* name : kLists)
            if (auto* combo = Find<QComboBox>(*window, name); !combo->isHidden())
                lists.push_back(combo);
        const bool five = window->mode() == BandMode::Five;
        ASSERT_EQ(lists.size(), five ? 5u : 4u);
        ASSERT_EQ(labels.size(), lists.size());
        int band = 1;
        auto label = labels.begin();
        for (QComboBox* list : lists) {
            EXPECT_EQ(label->second, QStringLiteral("Band %1").arg(band));
            EXPECT_GT(label->first, list->y()) << list->objectName().toStdString();
            EXPECT_LT(label->first, list->geometry().bottom()) << list->objectName().toStdString();
            EXPECT_EQ(list->currentIndex(), 0) << list->objectName().toStdString();
            ++band;
            ++label;
        }
        EXPECT_EQ(Find<QComboBox>(*window, "ComboBox3")->isHidden(), !five);
        for (const char* box : {"Edit1", "Edit2", "Edit3", "Edit4"})
            EXPECT_EQ(Text(*window, box), QString()) << box;
        EXPECT_EQ(testing::OverlappingControls(*window), std::vector<std::string>{});
        for (QWidget* w : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(window->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST_F(ColourCodeWindowTest, CloseResetsEverythingButTheMode) {
    ModeButton("Five Band")->click();
    Type("Edit1", "1000");
    Type("Edit2", "1");
    Click(*window, "Button2");
    ASSERT_EQ(Shown(), "brown,black,black,brown,brown,| 1000| 1| 1010           | 990            ");
    Click(*window, "Button1");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(program->mainWindow().isVisible());
    Click(program->mainWindow(), "Button2");
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(ModeButton("Five Band")->isChecked());
    EXPECT_EQ(window->mode(), BandMode::Five);
    EXPECT_EQ(Shown(), "not known,not known,not known,not known,not known,||||");
    // What the bands say now starts from nothing: one band alone gives no R.
    Choose("ComboBox4", "red");
    EXPECT_EQ(Text(*window, "Edit1"), QString());
}

TEST_F(ColourCodeWindowTest, SharesTheWindowPosition) {
    Click(*window, "Button1");
    program->mainWindow().moveClientTo(QPoint(210, 130));
    Click(program->mainWindow(), "Button2");
    EXPECT_EQ(window->clientPosition(), QPoint(210, 130));
    window->moveClientTo(QPoint(260, 170));
    Click(*window, "Button1");
    EXPECT_EQ(program->mainWindow().clientPosition(), QPoint(260, 170));
}

TEST_F(ColourCodeWindowTest, TitleBarCloseEndsTheProgram) {
    QSignalSpy ended(&program->mainWindow(), &TForm1::programEnded);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(program->mainWindow().isVisible());
}

TEST_F(ColourCodeWindowTest, FirstShowFocusesTheModeAndF1OpensItsTopic) {
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->focusWidget(), ModeButton("Four Band"));
    QTest::keyClick(window, Qt::Key_F1);
    // The buttons have no topic of their own; the group's is theirs.
    ASSERT_EQ(platform.helpContexts.size(), 1u);
    EXPECT_EQ(platform.helpContexts[0],
              testing::Find<QWidget>(*window, "RadioGroup1")->property("helpContext").toInt());
    EXPECT_GT(platform.helpContexts[0], 0);
}

// The names stay the items; beside each a square of the band's paint, and
// an empty square where there is no paint.
TEST_F(ColourCodeWindowTest, BandListsShowTheirColoursBesideTheNames) {
    for (std::size_t i = 0; i < std::size(kLists); ++i) {
        const auto list = static_cast<BandList>(i);
        auto* combo = Find<QComboBox>(*window, kLists[i]);
        const auto items = BandItems(list);
        ASSERT_EQ(combo->count(), static_cast<int>(items.size())) << kLists[i];
        EXPECT_FALSE(combo->isEditable());
        for (int item = 0; item < combo->count(); ++item) {
            EXPECT_EQ(combo->itemText(item).toStdString(), BandItemName(list, item));
            const QImage swatch = combo->itemIcon(item)
                                      .pixmap(combo->iconSize())
                                      .toImage()
                                      .convertToFormat(QImage::Format_ARGB32);
            const QColor centre = swatch.pixelColor(swatch.width() / 2, swatch.height() / 2);
            const auto rgb = BandSwatch(items[static_cast<std::size_t>(item)]);
            if (rgb) {
                EXPECT_EQ(centre, QColor(rgb->r, rgb->g, rgb->b))
                    << combo->itemText(item).toStdString();
            } else {
                EXPECT_EQ(centre.alpha(), 0) << combo->itemText(item).toStdString();
            }
        }
    }
}

} // namespace
} // namespace ohmtrim
