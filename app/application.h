#pragma once

#include "search/pair_table_cache.h"

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
class TablePrebuild;
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
// the main window for "&Select circuit". Destroyed in reverse order. The
// pair tables of the fast searches are kept here for the program's lifetime
// and shared by every window's search.
class Program {
public:
    Program(Platform& platform, const std::filesystem::path& dir);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    TForm1& mainWindow() { return *m_main; }
    QWidget* window(std::string_view className) const;

    PairTableCache& pairTables() { return m_tables; }
    // Builds the pair tables of the main value set on a background thread,
    // so that the first long search finds them ready; the program starts it
    // once its main window is on the screen. The build stops when the
    // program ends. Nothing happens without a loaded main value set.
    void StartPrebuild();
    // Waits until the build StartPrebuild began has ended by itself.
    void WaitForPrebuild();

private:
    // Declared first: it outlives the windows' searches and the build.
    PairTableCache m_tables;
    std::unique_ptr<TForm1> m_main;
    std::vector<std::unique_ptr<QWidget>> m_windows;
    std::unique_ptr<TablePrebuild> m_prebuild;
};

// The program's icon, drawn from the same picture as the desktop entry's.
QIcon ProgramIcon();

// The desktop program: finds its directory, creates the windows and runs the
// event loop until the main window closes. Always returns 0.
int RunApplication(int argc, char** argv);

} // namespace ohmtrim
