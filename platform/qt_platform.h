#pragma once

#include "platform/platform.h"

#include <QPointer>

namespace ohmtrim {

class HelpWindow;

// The platform of the desktop program: Qt message boxes, QApplication::beep,
// the override cursor and the program's own help window.
class QtPlatform final : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void ErrorBox(const QString& text, const QString& caption) override;
    void Beep() override;
    void ShowHelp(int context) override;
    void PushBusyCursor() override;
    void PopBusyCursor() override;

private:
    QPointer<HelpWindow> m_help;
};

} // namespace ohmtrim
