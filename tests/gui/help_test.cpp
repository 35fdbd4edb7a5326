#include "platform/help_window.h"
#include "platform/qt_platform.h"

#include "tests/gui/gui_support.h"
#include "windows/control_table.h"

#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

namespace ohmtrim {
namespace {

const std::filesystem::path kHelpFile =
    std::filesystem::path(OHMTRIM_SOURCE_DIR) / "data/omtr.html";

std::set<int> AnchorsOfHelpFile() {
    std::ifstream in(kHelpFile);
    std::stringstream ss;
    ss << in.rdbuf();
    std::set<int> anchors;
    const QRegularExpression re(QStringLiteral("<a name=\"ctx-(\\d+)\"></a>"));
    auto it = re.globalMatch(QString::fromStdString(ss.str()));
    while (it.hasNext())
        anchors.insert(it.next().captured(1).toInt());
    return anchors;
}

TEST(HelpFile, HasATopicForEveryContextOfTheWindows) {
    const std::set<int> anchors = AnchorsOfHelpFile();
    testing::FakePlatform platform;
    testing::TempProgramDir dir;
    dir.WriteValueSet("a.val", "A", {"1"});
    Program program(platform, dir.path());
    std::vector<QWidget*> windows{&program.mainWindow()};
    for (const auto& registration : ProgramWindows())
        windows.push_back(program.window(registration.className()));
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const int context = HelpContextOf(control);
            if (context > 0) {
                EXPECT_TRUE(anchors.contains(context))
                    << control->objectName().toStdString() << " of "
                    << window->objectName().toStdString() << ": " << context;
            }
        }
    }
}

TEST(HelpFile, HasATopicForEveryContextOfTheCalculators) {
    const std::set<int> anchors = AnchorsOfHelpFile();
    // Ranges of context numbers, first and last.
    const std::pair<int, int> wanted[] = {{1, 1},    {10, 16},   {20, 28},   {31, 36},  {40, 43},
                                          {50, 52},  {55, 57},   {60, 69},   {70, 76},  {80, 88},
                                          {90, 104}, {150, 150}, {154, 155}, {160, 163}};
    for (const auto& [first, last] : wanted)
        for (int c = first; c <= last; ++c)
            EXPECT_TRUE(anchors.contains(c)) << c;
}

class QtHelpTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HelpWindow"))
                w->close();
    }
    QtPlatform platform;
};

TEST_F(QtHelpTest, OpensTheHelpWindowAtTheTopicOfTheContext) {
    platform.SetHelpFile(kHelpFile);
    platform.ShowHelp(204);
    HelpWindow* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w))
            help = h;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source().toLocalFile(), QString::fromStdString(kHelpFile.string()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    const int late = help->browser()->verticalScrollBar()->value();
    EXPECT_GT(late, 0) << "a topic near the end is scrolled to";
    platform.ShowHelp(1);
    EXPECT_LT(help->browser()->verticalScrollBar()->value(), late / 10) << "back at the top";
}

TEST_F(QtHelpTest, MissingHelpFileGivesAnErrorBoxNamingThePath) {
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "no-such-dir/omtr.html";
    platform.SetHelpFile(missing);
    QString text;
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            caption = box->windowTitle();
            box->accept();
        }
    });
    platform.ShowHelp(1);
    EXPECT_TRUE(text.contains(QString::fromStdString(missing.string()))) << text.toStdString();
    EXPECT_EQ(caption, QStringLiteral(" Error"));
}

} // namespace
} // namespace ohmtrim
