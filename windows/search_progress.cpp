#include "windows/search_progress.h"

#include "platform/fonts.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ohmtrim {

namespace {

// How often the bar follows the search: smooth enough to look alive, rare
// enough to cost nothing.
constexpr int kFollowMs = 50;

} // namespace

SearchProgress::SearchProgress(const ProgressArea& area, const std::atomic<double>& fraction)
    : QWidget(area.window), m_fraction(fraction) {
    setObjectName(QStringLiteral("SearchProgress"));
    setGeometry(area.rect);
    // Opaque, so that the buttons underneath do not show through.
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 2);
    layout->setSpacing(2);
    m_label = new QLabel(QStringLiteral("Searching\u2026 Esc cancels"), this);
    m_label->setFont(UiFont(17));
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, kSteps);
    m_bar->setTextVisible(false);
    m_bar->setMaximumHeight(12);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    hide();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &SearchProgress::Follow);
    timer->start(kFollowMs);
}

QString SearchProgress::text() const {
    return m_label->text();
}

int SearchProgress::value() const {
    return m_bar->value();
}

void SearchProgress::Reveal() {
    Follow();
    raise();
    show();
}

void SearchProgress::Follow() {
    const double f = m_fraction.load(std::memory_order_relaxed);
    const double clamped = std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
    m_bar->setValue(static_cast<int>(std::lround(clamped * kSteps)));
}

} // namespace ohmtrim
