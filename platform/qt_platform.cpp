#include "platform/qt_platform.h"

#include "platform/help_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <memory>

namespace ohmtrim {

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
    // The help window is a top-level widget: it can only be deleted while the
    // application object still exists.
    if (QCoreApplication::instance() != nullptr)
        delete m_help.data();
}

void QtPlatform::ErrorBox(const QString& text, const QString& caption) {
    // Owned by the active window, the box opens over it and takes no task
    // bar entry of its own; before any window is up it stands alone.
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtPlatform::Beep() {
    QApplication::beep();
}

void QtPlatform::ShowHelp(int context) {
    const auto& file = HelpFile();
    std::error_code ec;
    if (file.empty() || !std::filesystem::is_regular_file(file, ec)) {
        ErrorBox(QStringLiteral("Cannot open the help file\n%1")
                     .arg(QString::fromStdString(file.string())),
                 QStringLiteral(" Error"));
        return;
    }
    if (m_help.isNull())
        m_help = new HelpWindow();
    m_help->ShowTopic(file, context);
}

void QtPlatform::PushBusyCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPlatform::PopBusyCursor() {
    QGuiApplication::restoreOverrideCursor();
}

} // namespace ohmtrim
