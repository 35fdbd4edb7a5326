#include "windows/form.h"

#include "platform/platform.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QMetaObject>
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
