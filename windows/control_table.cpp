#include "windows/control_table.h"

#include "platform/fonts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace ohmtrim {

namespace {

const QColor kResultTextColour(96, 96, 96);

QWidget* CreateRadioGroup(QWidget& parent, const ControlSpec& row) {
    const QStringList parts = ToQString(row.caption).split(QLatin1Char(kRadioItemSeparator));
    auto* group = new QGroupBox(parts.front(), &parent);
    group->setGeometry(row.left, row.top, row.width, row.height);
    auto* layout = new QGridLayout(group);
    auto* buttons = new QButtonGroup(group);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        auto* button = new QRadioButton(parts[i], group);
        button->setChecked(i == 1);
        buttons->addButton(button, static_cast<int>(i - 1));
        layout->addWidget(button, 0, static_cast<int>(i - 1));
    }
    return group;
}

QWidget* CreateControl(QWidget& parent, const ControlSpec& row) {
    const QString caption = ToQString(row.caption);
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::Heading: {
        auto* label = new QLabel(caption, &parent);
        label->setFont(UiFont(row.kind == ControlKind::Heading ? 17 : 20));
        label->setContentsMargins(0, 0, 0, 0);
        label->setIndent(0);
        label->setTextFormat(Qt::PlainText);
        label->move(row.left, row.top);
        label->adjustSize();
        return label;
    }
    case ControlKind::Input:
    case ControlKind::Result: {
        auto* edit = new QLineEdit(&parent);
        if (row.maxLength > 0)
            edit->setMaxLength(row.maxLength);
        // Result boxes are greyed, read-only and take no focus. The style's
        // disabled text is too faint to read results from; a darker grey
        // still says "not editable".
        edit->setEnabled(row.kind == ControlKind::Input);
        if (row.kind == ControlKind::Result) {
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Disabled, QPalette::Text, kResultTextColour);
            edit->setPalette(palette);
        }
        edit->setGeometry(row.left, row.top, row.width, row.height);
        return edit;
    }
    case ControlKind::ValueSet:
    case ControlKind::List: {
        auto* combo = new QComboBox(&parent);
        combo->setEditable(false);
        combo->setGeometry(row.left, row.top, row.width, row.height);
        return combo;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(caption, &parent);
        button->setAutoDefault(false);
        button->setGeometry(row.left, row.top, row.width, row.height);
        return button;
    }
    case ControlKind::RadioGroup:
        return CreateRadioGroup(parent, row);
    }
    return nullptr;
}

} // namespace

void BuildControls(QWidget& parent, std::span<const ControlSpec> table) {
    std::vector<std::pair<int, QWidget*>> chain;
    for (const auto& row : table) {
        QWidget* w = CreateControl(parent, row);
        w->setObjectName(ToQString(row.name));
        if (row.kind != ControlKind::Label && row.kind != ControlKind::Heading)
            w->setFont(UiFont(20));
        if (row.helpContext > 0)
            SetHelpContext(*w, row.helpContext);
        if (row.kind == ControlKind::RadioGroup) {
            // The frame takes no focus; its buttons do.
            w->setFocusPolicy(Qt::NoFocus);
            if (row.tabOrder != kNoTab)
                for (auto* button : w->findChildren<QRadioButton*>())
                    chain.emplace_back(row.tabOrder, button);
        } else if (row.tabOrder == kNoTab) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            w->setFocusPolicy(Qt::StrongFocus);
            chain.emplace_back(row.tabOrder, w);
        }
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
}

int HelpContextOf(const QWidget* w) {
    for (; w != nullptr; w = w->parentWidget()) {
        const QVariant v = w->property(kHelpContextProperty);
        if (v.isValid() && v.toInt() > 0)
            return v.toInt();
    }
    return 0;
}

void SetHelpContext(QWidget& w, int context) {
    w.setProperty(kHelpContextProperty, context);
}

} // namespace ohmtrim
