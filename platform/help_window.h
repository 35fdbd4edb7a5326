#pragma once

#include <QWidget>

#include <filesystem>

class QTextBrowser;

namespace ohmtrim {

// The program's help viewer: the HTML help file in a small window, scrolled
// to the topic of a context number (anchor "ctx-N").
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void ShowTopic(const std::filesystem::path& file, int context);
    // The anchor of a context number's topic.
    static QString AnchorOf(int context);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    QString m_loaded;
};

} // namespace ohmtrim
