// Not a check: with OHMTRIM_RENDER_DIR set, writes pictures of the windows
// for a person to look at (the main window at every catalogue entry, the
// single-resistor window before and after a search).
#include "tests/gui/gui_support.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdlib>

namespace ohmtrim {
namespace {

using testing::Click;
using testing::FakePlatform;
using testing::TempProgramDir;

TEST(Render, WindowsToPng) {
    const char* out = std::getenv("OHMTRIM_RENDER_DIR");
    if (out == nullptr || *out == '\0')
        GTEST_SKIP() << "set OHMTRIM_RENDER_DIR to write the pictures";
    const std::filesystem::path outDir(out);
    std::filesystem::create_directories(outDir);
    FakePlatform platform;
    TempProgramDir dir;
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

} // namespace
} // namespace ohmtrim
