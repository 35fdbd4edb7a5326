#pragma once

#include <QString>

#include <atomic>
#include <filesystem>

namespace ohmtrim {

// Everything modal or specific to the operating system goes through this
// interface, so that the windows stay testable: the program installs the Qt
// implementation, tests install a fake that records calls and never blocks.
class Platform {
public:
    virtual ~Platform() = default;

    // Error message box: error icon, OK button only, over the active window;
    // returns when dismissed.
    virtual void ErrorBox(const QString& text, const QString& caption) = 0;
    // The default beep.
    virtual void Beep() = 0;
    // Opens the program's help at the topic of the given context number.
    virtual void ShowHelp(int context) = 0;
    // Busy cursor; calls nest. Use BusyCursor rather than these.
    virtual void PushBusyCursor() = 0;
    virtual void PopBusyCursor() = 0;

    // The help file ShowHelp opens; set once at start.
    void SetHelpFile(const std::filesystem::path& file) { m_helpFile = file; }
    const std::filesystem::path& HelpFile() const { return m_helpFile; }

    // Escape state for the long searches: set by the key monitor while a
    // search runs, read by the search through SearchContext::escape.
    std::atomic<bool>& EscapeFlag() { return m_escape; }

private:
    std::filesystem::path m_helpFile;
    std::atomic<bool> m_escape{false};
};

// Shows the busy cursor for its lifetime and restores the previous one.
class BusyCursor {
public:
    explicit BusyCursor(Platform& platform) : m_platform(platform) { m_platform.PushBusyCursor(); }
    ~BusyCursor() { m_platform.PopBusyCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Platform& m_platform;
};

} // namespace ohmtrim
