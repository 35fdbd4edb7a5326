#pragma once

#include <QObject>

#include <atomic>

namespace ohmtrim {

// While installed (for the duration of one search), an application-wide
// event filter that keeps the Escape state in an atomic flag and swallows
// every other user input, so that the windows keep painting but nothing can
// be clicked, typed or closed until the search has returned.
//
// Escape is latched: a press sets the flag and it stays set until the next
// search starts, so a quick tap between two polls of the search still
// counts. The flag is only ever written on the user-interface thread and read
// by the search with a relaxed load.
class EscapeMonitor final : public QObject {
    Q_OBJECT
public:
    // Resets flag and installs the filter on the application object.
    explicit EscapeMonitor(std::atomic<bool>& flag);
    ~EscapeMonitor() override;

    EscapeMonitor(const EscapeMonitor&) = delete;
    EscapeMonitor& operator=(const EscapeMonitor&) = delete;

    // Is Escape physically held at the moment (as far as this application saw)?
    bool down() const { return m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::atomic<bool>& m_flag;
    bool m_down = false;
};

} // namespace ohmtrim
