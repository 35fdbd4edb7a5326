#include "app/application.h"

#include "settings/settings.h"
#include "platform/fonts.h"
#include "app/main_window.h"
#include "platform/qt_platform.h"
#include "windows/divider_windows.h"
#include "windows/resistance_windows.h"
#include "windows/single_resistor_window.h"

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <exception>
#include <optional>
#include <string>

namespace ohmtrim {

namespace {

template <class W> std::unique_ptr<QWidget> Create(Shell& shell) {
    return std::make_unique<W>(shell);
}

// In creation order; a window that does not exist yet is simply absent, and
// "&Select circuit" on its entries keeps the main window.
// clang-format off
constexpr WindowRegistration kWindows[] = {
    {"TForm2", &Create<TForm2>},
    {"TForm3", &Create<TForm3>},
    {"TForm4", &Create<TForm4>},
    {"TForm5", &Create<TForm5>},
    {"TForm6", &Create<TForm6>},
    {"TForm7", &Create<TForm7>},
    {"TForm8", &Create<TForm8>},
    {"TForm9", &Create<TForm9>},
    {"TForm17", &Create<TForm17>},
    {"TForm22", &Create<TForm22>},
};
// clang-format on

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

void ShowException(const std::string& what) {
    QMessageBox::critical(nullptr, QStringLiteral("Ohmtrim"), QString::fromStdString(what));
}

} // namespace

std::span<const WindowRegistration> ProgramWindows() {
    return kWindows;
}

Program::Program(Platform& platform, const std::filesystem::path& dir)
    : m_main(std::make_unique<TForm1>(platform, dir)) {
    for (const auto& registration : ProgramWindows()) {
        m_windows.push_back(registration.create(*m_main));
        m_main->RegisterWindow(registration.className, m_windows.back().get());
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
    Application app(argc, argv);
    // Qt sets the locale from the environment; numbers are formatted with
    // the C library and must always use a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform qtPlatform;
    Platform* const previous = InstallPlatform(&qtPlatform);
    Platform& platform = previous != nullptr ? *previous : qtPlatform;

    const std::filesystem::path dir = ProgramDirectory();
    if (dir.empty()) {
        platform.Beep();
        InstallPlatform(previous);
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
    InstallPlatform(previous);
    return 0;
}

} // namespace ohmtrim
