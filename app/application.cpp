#include "app/application.h"

#include "settings/settings.h"
#include "platform/fonts.h"
#include "app/main_window.h"
#include "platform/qt_platform.h"
#include "windows/colour_code_window.h"
#include "windows/divider_windows.h"
#include "windows/node_windows.h"
#include "windows/resistance_windows.h"
#include "windows/single_resistor_window.h"
#include "windows/star_input_dialog.h"
#include "windows/star_windows.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ohmtrim {

namespace {

template <class W> std::unique_ptr<QWidget> Create(Shell& shell) {
    return std::make_unique<W>(shell);
}

template <class W> constexpr WindowRegistration Register() {
    return {&W::staticMetaObject, &Create<W>};
}

// In creation order; a window that does not exist yet is simply absent, and
// "&Select circuit" on its entries keeps the main window.
constexpr WindowRegistration kWindows[] = {
    Register<TForm2>(),  Register<TForm3>(),  Register<TForm4>(),  Register<TForm5>(),
    Register<TForm6>(),  Register<TForm7>(),  Register<TForm8>(),  Register<TForm9>(),
    Register<TForm10>(), Register<TForm11>(), Register<TForm12>(), Register<TForm13>(),
    Register<TForm14>(), Register<TForm17>(), Register<TForm18>(), Register<TForm19>(),
    Register<TForm21>(), Register<TForm22>(), Register<TForm23>(),
};

// Catches what escapes an event handler: Qt cannot carry an exception
// through its event loop, so the first one ends the loop and is shown after.
class Application final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            Fail(e.what());
        } catch (...) {
            Fail("Unknown error");
        }
        return false;
    }

    const std::optional<std::string>& failure() const { return m_failure; }

private:
    void Fail(const char* what) {
        if (!m_failure)
            m_failure = what;
        exit(0);
    }

    std::optional<std::string> m_failure;
};

// What the program says instead of Qt's advice to reinstall it, followed by
// an abort, when no windowing system can be reached.
constexpr const char* kNoDisplay =
    "ohmtrim: cannot open a graphical display, which the desktop program needs; "
    "without one, run it under a virtual display: xvfb-run ohmtrim\n";

// Holds back what Qt reports while the application object starts: a start
// that fails for want of a display ends the program with exit status 1 and
// the one line above; after a good start the messages held back are passed
// on as usual.
class StartupMessages {
public:
    StartupMessages() { m_previous = qInstallMessageHandler(&Hold); }
    ~StartupMessages() {
        qInstallMessageHandler(m_previous);
        const std::lock_guard lock(s_mutex);
        for (const auto& [type, text] : s_held)
            qt_message_output(type, QMessageLogContext(), text);
        s_held.clear();
    }
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;

private:
    static void Hold(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
            std::fputs(kNoDisplay, stderr);
            std::_Exit(1);
        }
        if (type == QtFatalMsg) {
            // Anything else fatal goes its usual way: said, then Qt aborts.
            std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
            return;
        }
        const std::lock_guard lock(s_mutex);
        s_held.emplace_back(type, text);
    }

    QtMessageHandler m_previous = nullptr;
    static inline std::mutex s_mutex;
    static inline std::vector<std::pair<QtMsgType, QString>> s_held;
};

void ShowException(const std::string& what) {
    QMessageBox::critical(nullptr, QStringLiteral("Ohmtrim"), QString::fromStdString(what));
}

// The name of the desktop entry and icon, as installed.
constexpr const char* kDesktopId = "org.ohmtrim.Ohmtrim";

} // namespace

QIcon ProgramIcon() {
    return QIcon(QStringLiteral(":/%1.svg").arg(QLatin1String(kDesktopId)));
}

std::string_view WindowRegistration::className() const {
    return WindowClassName(*type);
}

std::span<const WindowRegistration> ProgramWindows() {
    return kWindows;
}

Program::Program(Platform& platform, const std::filesystem::path& dir)
    : m_main(std::make_unique<TForm1>(platform, dir)) {
    for (const auto& registration : ProgramWindows()) {
        m_windows.push_back(registration.create(*m_main));
        m_main->RegisterWindow(registration.className(), m_windows.back().get());
    }
}

Program::~Program() {
    while (!m_windows.empty())
        m_windows.pop_back();
}

QWidget* Program::window(std::string_view className) const {
    return m_main->registeredWindow(className);
}

int RunApplication(int argc, char** argv) {
    std::optional<StartupMessages> startup(std::in_place);
    Application app(argc, argv);
    startup.reset();
    // Qt sets the locale from the environment; numbers are formatted with
    // the C library and must always use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());
    // Lets a Wayland desktop match the windows with the desktop entry.
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopId));

    QtPlatform platform;
    const std::filesystem::path dir = ProgramDirectory();
    if (dir.empty()) {
        platform.Beep();
        return 0;
    }
    InstallFontSubstitution();
    try {
        Program program(platform, dir);
        QObject::connect(&program.mainWindow(), &TForm1::programEnded, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        program.mainWindow().show();
        if (!app.failure())
            QApplication::exec();
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
    if (app.failure())
        ShowException(*app.failure());
    return 0;
}

} // namespace ohmtrim
