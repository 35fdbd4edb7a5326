#include "windows/input_dialog.h"

#include "circuits/format.h"
#include "circuits/solve.h"
#include "platform/platform.h"
#include "valuesets/number.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <string>

namespace ohmtrim {

InputDialog::InputDialog(Platform& platform, std::string_view className, std::string_view caption,
                         QSize clientSize, std::span<const ControlSpec> controls,
                         std::string_view okButton, std::string_view closeButton)
    : Form(platform, className, clientSize), m_controls(controls) {
    setWindowTitle(ToQString(caption));
    setWindowModality(Qt::ApplicationModal);
    BuildControls(*this, controls);
    if (auto* ok = control<QPushButton>(okButton))
        connect(ok, &QPushButton::clicked, this, &InputDialog::OkClick);
    if (auto* close = control<QPushButton>(closeButton))
        connect(close, &QPushButton::clicked, this, &InputDialog::CloseClick);
    // Enter in a number box is "&Ok", as in the dialogs of the platform.
    setDefaultButton(okButton);
}

void InputDialog::Open(QWidget* owner) {
    if (!isVisible()) {
        // Above the calculator window that opened it, also for window
        // managers that would otherwise put a new window anywhere.
        if (owner != nullptr) {
            winId();
            if (QWindow* own = windowHandle())
                own->setTransientParent(owner->window()->windowHandle());
        }
        MoveToDesktopCentre(owner);
        show();
    }
    // The keyboard belongs to the dialog while it is open.
    raise();
    activateWindow();
}

void InputDialog::FormShow() {
    if (FirstShow())
        FocusFirstControl(m_controls);
}

void InputDialog::OkClick() {
    if (Accept())
        close();
    else
        platform().Beep();
}

void InputDialog::CloseClick() {
    close();
}

bool InputDialog::ReadBox(std::string_view edit, bool mayBeEmpty, double& value, bool& filled) {
    auto* box = control<QLineEdit>(edit);
    if (box == nullptr)
        return false;
    const std::string typed = box->text().toStdString();
    const std::string_view trimmed = TrimBlanksAndControls(typed);
    box->setText(ToQString(trimmed));
    filled = !trimmed.empty();
    if (!filled) {
        value = 0;
        return mayBeEmpty;
    }
    return ReadDialogNumber(trimmed, value);
}

void InputDialog::ShowNumber(std::string_view edit, double value) {
    if (auto* box = control<QLineEdit>(edit))
        box->setText(ToQString(FormatValue(value)));
}

void InputDialog::ClearBoxes() {
    for (auto* box : findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
        box->clear();
}

void InputDialog::MoveToDesktopCentre(const QWidget* owner) {
    const QScreen* s = owner != nullptr ? owner->screen() : screen();
    if (s == nullptr)
        s = QGuiApplication::primaryScreen();
    if (s == nullptr)
        return;
    // The frame is known once the dialog has been shown; before that the
    // client area stands for it.
    const QRect frame = frameGeometry();
    move(s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace ohmtrim
