#include "platform/escape_monitor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

namespace ohmtrim {

EscapeMonitor::EscapeMonitor(std::atomic<bool>& flag) : m_flag(flag) {
    m_flag.store(false, std::memory_order_relaxed);
    QCoreApplication::instance()->installEventFilter(this);
}

EscapeMonitor::~EscapeMonitor() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

namespace {

bool IsSwallowedInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::WhatsThis:
    case QEvent::QueryWhatsThis:
        return true;
    default:
        return false;
    }
}

} // namespace

bool EscapeMonitor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            m_down = true;
            m_flag.store(true, std::memory_order_relaxed);
        }
        return true;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat())
            m_down = false;
        return true;
    }
    case QEvent::ShortcutOverride:
        // Accepting the override turns the key into a plain key press, which
        // is swallowed above; otherwise mnemonics and shortcuts would fire.
        event->accept();
        return true;
    case QEvent::Close:
        // Returning true alone would still let the window close.
        event->ignore();
        return true;
    default:
        break;
    }
    if (IsSwallowedInput(event->type())) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ohmtrim
