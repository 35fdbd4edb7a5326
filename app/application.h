#pragma once

#include <QIcon>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace ohmtrim {

class Platform;
class Shell;
class TForm1;

// A window the program creates after the main window. The catalogue names
// it by its class name.
struct WindowRegistration {
    const QMetaObject* type;
    std::unique_ptr<QWidget> (*create)(Shell& shell);

    std::string_view className() const;
};

// Every window after the main window, in the order the program creates them.
std::span<const WindowRegistration> ProgramWindows();

// All windows of one run: the main window first (which reads the settings
// and value sets of dir), then every registered window, each made known to
// the main window for "&Select circuit". Destroyed in reverse order.
class Program {
public:
    Program(Platform& platform, const std::filesystem::path& dir);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TForm1& mainWindow() { return *m_main; }
    QWidget* window(std::string_view className) const;

private:
    std::unique_ptr<TForm1> m_main;
    std::vector<std::unique_ptr<QWidget>> m_windows;
};

// The program's icon, drawn from the same picture as the desktop entry's.
QIcon ProgramIcon();

// The desktop program: finds its directory, creates the windows and runs the
// event loop until the main window closes. Always returns 0.
int RunApplication(int argc, char** argv);

} // namespace ohmtrim
