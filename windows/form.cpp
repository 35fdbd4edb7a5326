#include "windows/form.h"

#include "platform/platform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaObject>
#include <QPushButton>
#include <QShortcut>

namespace ohmtrim {

std::string_view WindowClassName(const QMetaObject& type) {
    const std::string_view name = type.className();
    const std::size_t colons = name.rfind("::");
    return colons == std::string_view::npos ? name : name.substr(colons + 2);
}

Form::Form(Platform& platform, std::string_view className, QSize clientSize, int fallbackHelp)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform) {
    setObjectName(ToQString(className));
    setFixedSize(clientSize);
    // Only the main window ends the program, and only through its own close.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this, fallbackHelp] {
        const int context = HelpContextOf(focusWidget());
        m_platform.ShowHelp(context > 0 ? context : fallbackHelp);
    });
}

void Form::FormClose(QCloseEvent* event) {
    event->accept();
}

bool Form::FirstShow() {
    if (m_shownBefore)
        return false;
    m_shownBefore = true;
    return true;
}

void Form::FocusFirstControl(std::span<const ControlSpec> controls) {
    for (const auto& row : controls) {
        if (row.tabOrder == 0) {
            if (auto* first = findChild<QWidget*>(ToQString(row.name), Qt::FindDirectChildrenOnly))
                first->setFocus();
            return;
        }
    }
}

void Form::moveClientTo(QPoint position) {
    setGeometry(QRect(position, size()));
}

void Form::setDefaultButton(std::string_view name) {
    m_defaultButton = ToQString(name);
}

void Form::keyPressEvent(QKeyEvent* event) {
    // The focused control passes on the Enter it has no use for (a button
    // only takes Space, an input box only signals it): as in the dialogs of
    // the platform these windows imitate, Enter presses the focused button,
    // or the default button from anywhere else.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Holding Enter down must not run one search after another.
    if (!event->isAutoRepeat()) {
        // A radio button with the focus is no push button: Enter there is
        // the default button's, as from an input box.
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button == nullptr && !m_defaultButton.isEmpty())
            button = findChild<QPushButton*>(m_defaultButton, Qt::FindDirectChildrenOnly);
        if (button != nullptr && button->isEnabled() && button->isVisible())
            button->click();
    }
    event->accept();
}

void Form::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void Form::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        FormHide();
    QWidget::hideEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void Form::paintEvent(QPaintEvent*) {
    FormPaint();
}

} // namespace ohmtrim
