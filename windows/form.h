#pragma once

#include "windows/control_table.h"

#include <QWidget>

#include <span>
#include <string_view>

class QCloseEvent;
class QMetaObject;

namespace ohmtrim {

class Platform;

// The class name a window is known by in the catalogue and the window
// registry ("TForm3"): its C++ class name without the namespace.
std::string_view WindowClassName(const QMetaObject& type);

// What every window of the program shares: a fixed client area with a
// dialog border, system menu and close button; no quitting of the program
// when it closes; F1 opening the help at the context of the control with
// the focus (or of the window); Enter (either key) pressing the focused
// button, or the window's default button when the focus is elsewhere; and
// the window events handed to the handlers FormShow, FormHide, FormClose
// and FormPaint. A show or hide the window system makes (restoring from the
// task bar, say) is no show or hide of the window.
class Form : public QWidget {
    Q_OBJECT
public:
    virtual void FormShow() {}
    virtual void FormHide() {}
    // The title-bar close; the close goes ahead unless the handler ignores
    // the event.
    virtual void FormClose(QCloseEvent* event);
    virtual void FormPaint() {}

    // Where the client area is on the screen: the position windows hand on
    // to each other. Always the client area, never the frame: a window
    // manager that draws frames tells a window its frame only while it is
    // shown, so a frame position taken or given while hidden would be off by
    // the title bar, and windows would creep up the screen.
    QPoint clientPosition() const { return geometry().topLeft(); }
    void moveClientTo(QPoint position);

protected:
    // className becomes the object name; F1 without a context shows
    // fallbackHelp.
    Form(Platform& platform, std::string_view className, QSize clientSize, int fallbackHelp = 1);

    Platform& platform() const { return m_platform; }

    // True once, on the first show: only then does the first control of the
    // tab chain get the focus; later shows keep the control the user left.
    bool FirstShow();
    void FocusFirstControl(std::span<const ControlSpec> controls);
    // The button (by control name) that Enter presses when the focus is not
    // on a button: "&Go" in a calculator window, "&Ok" in a dialog. None by
    // default.
    void setDefaultButton(std::string_view name);

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Platform& m_platform;
    bool m_shownBefore = false;
    QString m_defaultButton;
};

} // namespace ohmtrim
