// What every window does the same way: Enter, message boxes over the
// window, the shared screen position, the settings at the end, and the
// start without a display.
#include "circuits/catalogue.h"
#include "platform/qt_platform.h"
#include "tests/gui/gui_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/wait.h>

namespace ohmtrim {
namespace {

using testing::FakePlatform;
using testing::Find;
using testing::TempProgramDir;

struct EnterKey {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const EnterKey kEnterKeys[] = {
    {"Enter", Qt::Key_Return, Qt::NoModifier},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
};

QPushButton* ButtonCaptioned(const QWidget& window, const QString& caption) {
    for (auto* b : window.findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (b->text() == caption)
            return b;
    return nullptr;
}

class WindowBehaviourTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteValueSet("a.val", "A", {"10", "22", "47", "100"});
        dir.WriteValueSet("b.val", "B", {"1000"});
        program = std::make_unique<Program>(platform, dir.path());
        program->mainWindow().show();
    }
    // The main window and every window it can open.
    std::vector<QWidget*> Windows() const {
        std::vector<QWidget*> windows{&program->mainWindow()};
        for (const auto& registration : ProgramWindows())
            windows.push_back(program->window(registration.className()));
        return windows;
    }
    // Opens the window of catalogue entry index as "&Select circuit" does;
    // null when the entry has no window yet.
    QWidget* Open(int index) {
        TForm1& main = program->mainWindow();
        main.show();
        while (main.catalogueIndex() != index)
            testing::Click(main, "Button1");
        testing::Click(main, "Button2");
        QWidget* w = program->window(CatalogueAt(index).window);
        return w != nullptr && w->isVisible() ? w : nullptr;
    }
    // Sends key to the widget with the focus, as the keyboard does.
    static void Press(QWidget& focus, const EnterKey& key) {
        focus.setFocus();
        ASSERT_EQ(focus.window()->focusWidget(), &focus) << key.name;
        QTest::keyClick(&focus, key.key, key.modifiers);
    }

    FakePlatform platform;
    TempProgramDir dir;
    std::unique_ptr<Program> program;
};

TEST_F(WindowBehaviourTest, EnterPressesTheFocusedButtonInEveryWindow) {
    for (QWidget* window : Windows()) {
        for (auto* button :
             window->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            for (const auto& key : kEnterKeys) {
                window->show();
                QSignalSpy clicked(button, &QPushButton::clicked);
                Press(*button, key);
                EXPECT_EQ(clicked.count(), 1)
                    << window->objectName().toStdString() << "."
                    << button->objectName().toStdString() << ", " << key.name;
            }
        }
    }
}

// Enter where the focus is on no push button: an input box, a radio button.
TEST_F(WindowBehaviourTest, EnterInAnInputBoxPressesGo) {
    int windowsWithInputs = 0;
    for (const auto& entry : Catalogue()) {
        QWidget* window = Open(entry.index);
        QPushButton* go = window ? ButtonCaptioned(*window, QStringLiteral("&Go")) : nullptr;
        if (go == nullptr)
            continue;
        QList<QWidget*> controls;
        for (QLineEdit* input : window->findChildren<QLineEdit*>())
            if (input->isEnabled())
                controls.push_back(input);
        for (QRadioButton* radio : window->findChildren<QRadioButton*>())
            controls.push_back(radio);
        for (QWidget* control : controls) {
            for (const auto& key : kEnterKeys) {
                QSignalSpy clicked(go, &QPushButton::clicked);
                const auto* radio = qobject_cast<QRadioButton*>(control);
                const bool checked = radio != nullptr && radio->isChecked();
                Press(*control, key);
                EXPECT_EQ(clicked.count(), 1)
                    << entry.index << " " << control->objectName().toStdString() << ", "
                    << key.name;
                if (radio != nullptr) {
                    EXPECT_EQ(radio->isChecked(), checked) << "the radio button is not pressed";
                }
            }
        }
        windowsWithInputs += controls.isEmpty() ? 0 : 1;
    }
    EXPECT_GT(windowsWithInputs, 0);
}

// The input dialogs have no "&Go": Enter in a number box is "&Ok".
TEST_F(WindowBehaviourTest, EnterInADialogPressesOk) {
    int dialogs = 0;
    for (QWidget* window : Windows()) {
        QPushButton* ok = ButtonCaptioned(*window, QStringLiteral("&Ok"));
        if (ok == nullptr)
            continue;
        ++dialogs;
        window->show();
        QSignalSpy okClicked(ok, &QPushButton::clicked);
        int presses = 0;
        for (auto* box : window->findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
            for (const auto& key : kEnterKeys) {
                window->show(); // a good "&Ok" closes the dialog
                Press(*box, key);
                ++presses;
            }
        }
        EXPECT_EQ(okClicked.count(), presses) << window->objectName().toStdString();
        window->hide();
    }
    EXPECT_GT(dialogs, 0);
}

TEST_F(WindowBehaviourTest, CloseReturnsToTheSamePositionEveryTime) {
    TForm1& main = program->mainWindow();
    const QPoint home(211, 157);
    main.moveClientTo(home);
    int visits = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& entry : Catalogue()) {
            QWidget* window = Open(entry.index);
            if (window == nullptr)
                continue;
            ++visits;
            EXPECT_EQ(window->geometry().topLeft(), home) << entry.index;
            testing::Click(*window, ButtonCaptioned(*window, QStringLiteral("&Close"))
                                        ->objectName()
                                        .toLatin1()
                                        .constData());
            EXPECT_EQ(main.geometry().topLeft(), home) << entry.index;
        }
    }
    EXPECT_GT(visits, 0);
}

// A real message box, closed as soon as it is up; gives its owner.
QWidget* OwnerOfAnErrorBox(QtPlatform& platform) {
    QWidget* owner = nullptr;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = true;
            owner = box->parentWidget();
            box->accept();
        }
    });
    platform.ErrorBox(QStringLiteral("Invalid input data."), QStringLiteral(" Error"));
    EXPECT_TRUE(shown);
    return owner;
}

TEST(ErrorBox, IsOwnedByTheActiveWindow) {
    QtPlatform platform;
    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(OwnerOfAnErrorBox(platform), &window);
}

// The label is saved at the end, or else said once why not; the program
// ends either way.
TEST(SettingsAtExit, ALabelThatCannotBeSavedIsReportedOnce) {
    const struct {
        const char* name;
        void (*prepare)(const TempProgramDir& dir);
        const char* reason; // "" when the label is saved
    } cases[] = {
        {"saved", [](const TempProgramDir&) {}, ""},
        {"write-protected",
         [](const TempProgramDir& d) {
             std::filesystem::permissions(d / "omtr.ini", std::filesystem::perms::owner_read);
         },
         "omtr.ini is write-protected."},
        {"temporary file in the way",
         [](const TempProgramDir& d) { std::filesystem::create_directory(d / "omtr.ini.tmp"); },
         "omtr.ini.tmp is in the way."},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        TempProgramDir dir;
        dir.WriteValueSet("a.val", "A", {"1"});
        dir.WriteValueSet("b.val", "B", {"2"});
        dir.Write("omtr.ini", "[Setup]\nLabel=A\n");
        c.prepare(dir);
        Program program(platform, dir.path());
        TForm1& main = program.mainWindow();
        main.show();
        Find<QComboBox>(main, "ComboBox1")->setCurrentIndex(1);
        QSignalSpy ended(&main, &TForm1::programEnded);
        testing::Click(main, "Button4"); // "&Exit"
        main.close();
        EXPECT_GE(ended.count(), 1) << c.name;
        const bool saved = *c.reason == 0;
        EXPECT_EQ(dir.Read("omtr.ini"), saved ? "[Setup]\nLabel=B\n" : "[Setup]\nLabel=A\n");
        ASSERT_EQ(platform.boxes.size(), saved ? 0u : 1u) << c.name;
        if (!saved) {
            const std::string text = platform.boxes[0].text.toStdString();
            EXPECT_NE(text.find((dir / "omtr.ini").string()), std::string::npos) << text;
            EXPECT_NE(text.find(c.reason), std::string::npos) << text;
            EXPECT_EQ(platform.boxes[0].caption, QStringLiteral(" Error"));
        }
    }
}

// The program itself, started where there is no display to open.
TEST(ProgramStart, WithoutADisplaySaysSoInOneLine) {
    TempProgramDir dir;
    for (const char* env : {"env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM",
                            "env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4242"}) {
        const std::string command = std::string(env) + " " OHMTRIM_BIN_DIR "/ohmtrim >" +
                                    (dir / "out.txt").string() + " 2>" + (dir / "err.txt").string();
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << env << ": ended by a signal";
        EXPECT_EQ(WEXITSTATUS(status), 1) << env;
        EXPECT_EQ(dir.Read("out.txt"), "") << env;
        const std::string err = dir.Read("err.txt");
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("graphical display"), std::string::npos) << err;
        EXPECT_NE(err.find("xvfb-run ohmtrim"), std::string::npos) << err;
    }
}

} // namespace
} // namespace ohmtrim
