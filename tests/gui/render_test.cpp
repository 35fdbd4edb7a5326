// Not a check: with OHMTRIM_RENDER_DIR set, writes pictures of the windows
// for a person to look at (the main window at every catalogue entry, the
// single-resistor window before and after a search).
#include "tests/gui/gui_support.h"
#include "windows/divider_windows.h"
#include "windows/node_windows.h"
#include "windows/star_windows.h"

#include <QAbstractItemView>
#include <QPixmap>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::TempProgramDir;

// Skips unless OHMTRIM_RENDER_DIR names where the pictures go.
class Render : public ::testing::Test {
protected:
    void SetUp() override {
        const char* out = std::getenv("OHMTRIM_RENDER_DIR");
        if (out == nullptr || *out == '\0')
            GTEST_SKIP() << "set OHMTRIM_RENDER_DIR to write the pictures";
        outDir = out;
        std::filesystem::create_directories(outDir);
    }

    std::filesystem::path outDir;
    FakePlatform platform;
    TempProgramDir dir;
};

TEST_F(Render, WindowsToPng) {
    dir.WriteValueSet("e12.val", "E12",
                      {"1000", "1200", "1500", "1800", "2200", "2700", "3300", "3900", "4700",
                       "5600", "6800", "8200"});
    dir.WriteValueSet("e6.val", "E6", {"1000", "1500", "2200", "3300", "4700", "6800"});
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const auto save = [&](QWidget& w, const std::string& name) {
        EXPECT_TRUE(w.grab().save(QString::fromStdString((outDir / name).string())));
    };
    for (int i = 0; i < 24; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "main_%02d.png", i);
        save(main, name);
        Click(main, "Button1");
    }
    Click(main, "Button1"); // entry 1
    Click(main, "Button2");
    QWidget* single = program.window("TForm2");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(single));
    save(*single, "tform2_before.png");
    single->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("4800"));
    Click(*single, "Button2");
    save(*single, "tform2_after.png");
    // The windows of entries 2 to 7 in catalogue order, after a search.
    const std::pair<const char*, const char*> searched[] = {
        {"TForm5", "1234"},  {"TForm3", "12345"}, {"TForm6", "999"},
        {"TForm4", "17777"}, {"TForm17", "2345"}, {"TForm8", "6666"},
    };
    Click(*single, "Button1");
    for (const auto& [className, target] : searched) {
        Click(main, "Button1");
        Click(main, "Button2");
        QWidget* w = program.window(className);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w)) << className;
        w->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QString::fromLatin1(target));
        Click(*w, "Button2");
        save(*w, QString::fromLatin1(className).toLower().toStdString() + "_after.png");
        Click(*w, "Button1");
    }
}

// The voltage-divider windows at every catalogue entry they serve, before
// and after a search.
TEST_F(Render, DividerWindowsToPng) {
    dir.WriteValueSet("e12.val", "E12",
                      {"1000", "1200", "1500", "1800", "2200", "2700", "3300", "3900", "4700",
                       "5600", "6800", "8200"});
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    const struct {
        int entry;
        const CalculatorDescription& description;
    } windows[] = {
        {8, TForm7::Description()},  {9, TForm22::Description()}, {10, TForm9::Description()},
        {11, TForm9::Description()}, {12, TForm9::Description()},
    };
    const std::pair<InputId, const char*> inputs[] = {{InputId::U1, "12"},
                                                      {InputId::U2, "5"},
                                                      {InputId::U3, "0"},
                                                      {InputId::RMax, "20000"},
                                                      {InputId::RMin, "1000"}};
    for (const auto& w : windows) {
        while (main.catalogueIndex() != w.entry)
            Click(main, "Button1");
        Click(main, "Button2");
        const std::string className(CatalogueAt(w.entry).window);
        QWidget* window = program.window(className);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const std::string name = className + "_entry" + std::to_string(w.entry);
        EXPECT_TRUE(window->grab().save(
            QString::fromStdString((outDir / (name + "_before.png")).string())));
        for (const auto& binding : w.description.inputs)
            for (const auto& [input, text] : inputs)
                if (binding.input == input)
                    window->findChild<QLineEdit*>(ToQString(binding.edit))
                        ->setText(QString::fromLatin1(text));
        Click(*window, std::string(w.description.goButton).c_str());
        EXPECT_TRUE(
            window->grab().save(QString::fromStdString((outDir / (name + "_after.png")).string())));
        Click(*window, std::string(w.description.closeButton).c_str());
    }
}

// A real exhaustive search that runs for minutes: 3000 values from 1 ohm to
// 10 Mohm (too many pairs for the table cache, so it scans plainly) and a
// relative tolerance of 0 in the four-resistor divider, pictured with its
// progress shown, then stopped with Escape.
TEST_F(Render, SearchProgressToPng) {
    constexpr int kCount = 3000;
    std::string set = "[Resistors]\nLabel=L\nMinIndex=1\nMaxIndex=" + std::to_string(kCount) + "\n";
    for (int i = 0; i < kCount; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.6g", std::pow(10.0, 7.0 * i / (kCount - 1)));
        // Appended piece by piece: "R" + a temporary string trips a false
        // -Wrestrict warning of g++ 12 at -O3.
        set.append("R").append(std::to_string(i + 1)).append("=").append(value).append("\n");
    }
    dir.Write("l.val", set);
    dir.Write("omtr.ini", "[Setup]\nRelTol=0\nLabel=L\n");
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    while (main.catalogueIndex() != 12)
        Click(main, "Button1");
    Click(main, "Button2");
    QWidget* window = program.window("TForm9");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const std::pair<InputId, const char*> inputs[] = {{InputId::U1, "10"},
                                                      {InputId::U2, "3.14159"},
                                                      {InputId::U3, "0"},
                                                      {InputId::RMax, "1e7"},
                                                      {InputId::RMin, "1"}};
    const CalculatorDescription& d = TForm9::Description();
    for (const auto& binding : d.inputs)
        for (const auto& [input, text] : inputs)
            if (binding.input == input)
                window->findChild<QLineEdit*>(ToQString(binding.edit))
                    ->setText(QString::fromLatin1(text));
    bool shown = false;
    QTimer::singleShot(1500, window, [&] {
        shown = window->grab().save(
            QString::fromStdString((outDir / "TForm9_entry12_searching.png").string()));
        QTest::keyClick(window, Qt::Key_Escape);
    });
    Click(*window, std::string(d.goButton).c_str());
    EXPECT_TRUE(shown);
}

// The node-voltage windows at entries 13 to 16 before and after a search,
// and their input dialog as each opens it (with and without the line that
// says an inner node is optional).
TEST_F(Render, NodeWindowsToPng) {
    dir.WriteValueSet("e12.val", "E12",
                      {"1000", "1200", "1500", "1800", "2200", "2700", "3300", "3900", "4700",
                       "5600", "6800", "8200"});
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    const auto save = [&](QWidget& w, const std::string& name) {
        EXPECT_TRUE(w.grab().save(QString::fromStdString((outDir / name).string())));
    };
    auto* dialog = static_cast<TForm18*>(program.window("TForm18"));
    // U1, U2, U3, U4, R max, R min as typed.
    const char* typed[][6] = {{"10", "", "3", "0", "100000", "1000"},
                              {"12", "8", "", "0", "100000", "1000"},
                              {"10", "6", "3", "0", "100000", "1000"},
                              {"10", "6", "3", "0", "100000", "1000"}};
    for (int entry = 13; entry <= 16; ++entry) {
        while (main.catalogueIndex() != entry)
            Click(main, "Button1");
        Click(main, "Button2");
        const std::string className(CatalogueAt(entry).window);
        QWidget* window = program.window(className);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const std::string name = className + "_entry" + std::to_string(entry);
        save(*window, name + "_before.png");
        Click(*window, "Button2");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        const char* boxes[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
        for (int i = 0; i < 6; ++i)
            dialog->findChild<QLineEdit*>(QLatin1String(boxes[i]))
                ->setText(QString::fromLatin1(typed[entry - 13][i]));
        save(*dialog, "TForm18_entry" + std::to_string(entry) + ".png");
        Click(*dialog, "Button1");
        Click(*window, "Button3");
        save(*window, name + "_after.png");
        Click(*window, "Button2");
        save(*dialog, "TForm18_entry" + std::to_string(entry) + "_again.png");
        Click(*dialog, "Button2");
        Click(*window, "Button1");
    }
}

// The star windows at every catalogue entry they serve, before and after a
// search, and their input dialog as each of them opens it: empty, and
// reopened with the accepted numbers.
TEST_F(Render, StarWindowsToPng) {
    dir.WriteValueSet("e12.val", "E12",
                      {"100",  "120",  "150",  "180",  "220",  "270",  "330",  "390",  "470",
                       "560",  "680",  "820",  "1000", "1200", "1500", "1800", "2200", "2700",
                       "3300", "3900", "4700", "5600", "6800", "8200", "10000"});
    Program program(platform, dir.path());
    TForm1& main = program.mainWindow();
    main.show();
    auto* dialog = qobject_cast<TForm14*>(program.window("TForm14"));
    ASSERT_NE(dialog, nullptr);
    const auto save = [&](QWidget& w, const std::string& name) {
        EXPECT_TRUE(w.grab().save(QString::fromStdString((outDir / name).string())));
    };
    // The worked example: a star of 1000, 1000 and 2000 ohms.
    const char* numbers[][2] = {{"Edit1", "4"},   {"Edit2", "10"},   {"Edit3", "0"}, {"Edit4", "0"},
                                {"Edit5", "900"}, {"Edit6", "2"},    {"Edit7", "0"}, {"Edit8", "0"},
                                {"Edit9", "10"},  {"Edit10", "1100"}};
    for (int entry = 17; entry <= 23; ++entry) {
        while (main.catalogueIndex() != entry)
            Click(main, "Button1");
        Click(main, "Button2");
        const std::string className(CatalogueAt(entry).window);
        auto* window = qobject_cast<StarWindow*>(program.window(className));
        ASSERT_NE(window, nullptr) << className;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        const std::string name = className + "_entry" + std::to_string(entry);
        save(*window, name + "_before.png");
        const StarWindowDescription* d = className == "TForm12"   ? &TForm12::Description()
                                         : className == "TForm19" ? &TForm19::Description()
                                         : className == "TForm21" ? &TForm21::Description()
                                                                  : &TForm13::Description();
        Click(*window, std::string(d->inputButton).c_str());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        save(*dialog, name + "_dialog.png");
        for (const auto& [edit, text] : numbers)
            dialog->findChild<QLineEdit*>(QLatin1String(edit))->setText(QLatin1String(text));
        Click(*dialog, "Button1");
        Click(*window, std::string(d->inputButton).c_str());
        save(*dialog, name + "_dialog_reopened.png");
        Click(*dialog, "Button2");
        Click(*window, std::string(d->calculator.goButton).c_str());
        save(*window, name + "_after.png");
        Click(*window, std::string(d->calculator.closeButton).c_str());
    }
}

} // namespace
} // namespace ohmtrim

namespace ohmtrim {
namespace {

// The colour-code converter in both modes, each with a converted value.
TEST_F(Render, ColourCodeWindowToPng) {
    Program program(platform, dir.path());
    program.mainWindow().show();
    Click(program.mainWindow(), "Button2"); // entry 0
    QWidget* window = program.window("TForm23");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const struct {
        const char* mode;
        const char* resistance;
        const char* tolerance;
        const char* file;
    } shots[] = {
        {"Four Band", "4712", "4.8", "tform23_four.png"},
        {"Five Band", "0.47e3", "0.25", "tform23_five.png"},
    };
    for (const auto& shot : shots) {
        for (auto* radio : window->findChildren<QRadioButton*>())
            if (radio->text() == QLatin1String(shot.mode))
                radio->click();
        window->findChild<QLineEdit*>(QStringLiteral("Edit1"))
            ->setText(QString::fromLatin1(shot.resistance));
        window->findChild<QLineEdit*>(QStringLiteral("Edit2"))
            ->setText(QString::fromLatin1(shot.tolerance));
        Click(*window, "Button2");
        EXPECT_TRUE(window->grab().save(QString::fromStdString((outDir / shot.file).string())));
    }
    // An open band list, to see the swatches beside the names.
    auto* list = window->findChild<QComboBox*>(QStringLiteral("ComboBox4"));
    list->showPopup();
    QWidget* popup = list->view()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_TRUE(popup->grab().save(
        QString::fromStdString((outDir / "tform23_multiplier_list.png").string())));
    list->hidePopup();
}

} // namespace
} // namespace ohmtrim
