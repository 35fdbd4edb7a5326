#pragma once

#include <QRect>
#include <QWidget>

#include <atomic>

class QLabel;
class QProgressBar;

namespace ohmtrim {

// Where a window shows how far its search has come: an area of the window
// that holds nothing the user needs while the search runs (its buttons,
// which take no input then).
struct ProgressArea {
    QWidget* window = nullptr;
    QRect rect;
};

// The panel a long search shows over its progress area: the line
// "Searching… Esc cancels" and a bar filled by the fraction the search
// reports. It follows the fraction on its own while shown.
class SearchProgress final : public QWidget {
    Q_OBJECT
public:
    SearchProgress(const ProgressArea& area, const std::atomic<double>& fraction);

    QString text() const;
    // The bar's value, 0 to kSteps.
    int value() const;
    static constexpr int kSteps = 1000;

    // Shows the panel on top and starts following the fraction.
    void Reveal();

private:
    void Follow();

    const std::atomic<double>& m_fraction;
    QLabel* m_label;
    QProgressBar* m_bar;
};

} // namespace ohmtrim
