#include "platform/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ohmtrim {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral(" Ohmtrim help"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(560, 480);
}

QString HelpWindow::AnchorOf(int context) {
    return QStringLiteral("ctx-%1").arg(context);
}

void HelpWindow::ShowTopic(const std::filesystem::path& file, int context) {
    const QString path = QString::fromStdString(file.string());
    if (path != m_loaded) {
        m_browser->setSource(QUrl::fromLocalFile(path));
        m_loaded = path;
    }
    m_browser->scrollToAnchor(AnchorOf(context));
    show();
    raise();
    activateWindow();
}

} // namespace ohmtrim
