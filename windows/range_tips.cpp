#include "windows/range_tips.h"

#include "circuits/corners.h"

#include <QLineEdit>
#include <QString>
#include <QVariant>

namespace ohmtrim {

namespace {

// Marks the boxes whose tooltip is a range, so that only those are cleared.
constexpr const char* kRangeTipProperty = "ohmtrimRangeTip";

} // namespace

void SetRangeTip(QLineEdit& box, const CatalogueEntry& entry, const SolveInputs& in,
                 std::span<const double> values, ResultId id) {
    const std::string tip = RangeTooltip(entry, in, values, id);
    box.setToolTip(QString::fromStdString(tip));
    box.setProperty(kRangeTipProperty, !tip.empty());
}

void ClearRangeTips(QWidget& window) {
    for (auto* box : window.findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (box->property(kRangeTipProperty).toBool()) {
            box->setToolTip(QString());
            box->setProperty(kRangeTipProperty, false);
        }
    }
}

} // namespace ohmtrim
