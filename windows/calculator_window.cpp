#include "windows/calculator_window.h"

#include "circuits/format.h"
#include "platform/platform.h"
#include "schematics/circuit.h"
#include "settings/discovery.h"
#include "valuesets/number.h"
#include "valuesets/text.h"
#include "windows/range_tips.h"
#include "windows/search_runner.h"
#include "windows/shell.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <optional>
#include <string>

namespace ohmtrim {

namespace {

constexpr std::string_view kListPrefix = "ComboBox";
// No window has more value-set lists than resistors, six at the most.
constexpr std::int64_t kMaxLists = 6;

// 1 for "ComboBox1", 0 when the name has no number after the prefix.
int ListNumber(std::string_view name) {
    if (!name.starts_with(kListPrefix))
        return 0;
    const auto k = DigitsValue(name.substr(kListPrefix.size()));
    return k && *k <= kMaxLists ? static_cast<int>(*k) : 0;
}

} // namespace

CalculatorWindow::CalculatorWindow(Shell& shell, std::string_view className,
                                   const CalculatorDescription& description)
    : Form(shell.platform(), className, QSize(kClientWidth, kClientHeight)), m_shell(shell),
      m_description(description) {
    for (const auto& e : Catalogue())
        if (e.window == className)
            m_entries.push_back(&e);
    if (m_entries.empty())
        qFatal("window class %s serves no catalogue entry", objectName().toLatin1().constData());
    // Windows with variants start at the first one until the main window
    // chooses.
    m_variant = m_entries.front()->variant;
    setWindowTitle(ToQString(entry().caption));

    BuildControls(*this, description.controls);
    for (const auto& row : description.controls) {
        const int k = ListNumber(row.name);
        if (row.kind != ControlKind::ValueSet || k < 1)
            continue;
        if (static_cast<int>(m_lists.size()) < k)
            m_lists.resize(static_cast<std::size_t>(k), nullptr);
        m_lists[static_cast<std::size_t>(k - 1)] = control<QComboBox>(row.name);
    }
    m_selection.assign(m_lists.size(), -1);
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        if (m_lists[i] != nullptr)
            connect(m_lists[i], &QComboBox::activated, this, [this, k] { ComboBoxkChange(k); });
    }
    if (auto* go = control<QPushButton>(description.goButton))
        connect(go, &QPushButton::clicked, this, &CalculatorWindow::RunGo);
    setDefaultButton(description.goButton);
    if (auto* close = control<QPushButton>(description.closeButton))
        connect(close, &QPushButton::clicked, this, &CalculatorWindow::ReturnToMainWindow);
    FormCreate();
}

void CalculatorWindow::setCircuitVariant(int variant) {
    const bool served = std::any_of(m_entries.begin(), m_entries.end(),
                                    [variant](const auto* e) { return e->variant == variant; });
    if (!served)
        qFatal("window %s serves no circuit variant %d", objectName().toLatin1().constData(),
               variant);
    m_variant = variant;
    update();
}

const CatalogueEntry& CalculatorWindow::entry() const {
    for (const auto* e : m_entries)
        if (e->variant == m_variant)
            return *e;
    return *m_entries.front(); // not reached: the variant is always one served
}

int CalculatorWindow::selectionIndex(int k) const {
    if (k < 1 || k > static_cast<int>(m_selection.size()))
        return -1;
    return m_selection[static_cast<std::size_t>(k - 1)];
}

void CalculatorWindow::FormCreate() {
    // The value-set list never changes after start-up, so an item's index
    // stays the value set's index in the list for the whole run.
    const ValueSetList& sets = m_shell.valueSets();
    for (QComboBox* list : m_lists) {
        if (list == nullptr)
            continue;
        for (int i = 0; i < sets.size(); ++i)
            list->addItem(QString::fromStdString(sets.at(i).label()));
        list->setCurrentIndex(-1);
    }
}

void CalculatorWindow::FormShow() {
    const int main = m_shell.valueSets().size() == 0 ? -1 : m_shell.mainSelection();
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        m_selection[i] = main;
        if (m_lists[i] != nullptr)
            m_lists[i]->setCurrentIndex(main);
    }
    for (auto* edit : findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
        edit->clear();
    ClearRangeTips(*this);
    ShowExtras();
    moveClientTo(m_shell.sharedPosition());
    if (FirstShow())
        FocusFirstControl(m_description.controls);
}

void CalculatorWindow::FormHide() {
    m_shell.setSharedPosition(clientPosition());
}

void CalculatorWindow::FormClose(QCloseEvent* event) {
    if (m_description.titleBarClose == TitleBarClose::ReturnToMain) {
        // Hidden first, so that the main window appears where this one was.
        event->ignore();
        ReturnToMainWindow();
        return;
    }
    event->accept();
    m_shell.closeMainWindow();
}

void CalculatorWindow::FormPaint() {
    QPainter p(this);
    const DrawingObjects& o = m_shell.drawingObjects();
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(o.outlinePen);
    // The yellow brush fills the junction dots of the calculator windows.
    p.setBrush(o.yellowBrush);
    p.setFont(o.labelFont);
    if (const auto routine = Circuit::RoutineForEntry(entry().index))
        routine(p, o);
}

void CalculatorWindow::ComboBoxkChange(int k) {
    if (k < 1 || k > static_cast<int>(m_lists.size()) ||
        m_lists[static_cast<std::size_t>(k - 1)] == nullptr)
        return;
    m_selection[static_cast<std::size_t>(k - 1)] =
        m_lists[static_cast<std::size_t>(k - 1)]->currentIndex();
}

bool CalculatorWindow::SelectionsUsable() const {
    const ValueSetList& sets = m_shell.valueSets();
    for (int index : m_selection) {
        if (index < 0 || index >= sets.size())
            return false;
        if (!sets.at(index).IsLoaded())
            return false;
    }
    return true;
}

void CalculatorWindow::RunGo() {
    if (m_shell.searchRunner().busy())
        return;
    // 1. Trim every input and write it back, so the user sees what is read.
    std::vector<std::string> texts;
    texts.reserve(m_description.inputs.size());
    for (const auto& binding : m_description.inputs) {
        auto* edit = control<QLineEdit>(binding.edit);
        const std::string raw = edit->text().toStdString();
        texts.emplace_back(TrimBlanksAndControls(raw));
        edit->setText(QString::fromStdString(texts.back()));
    }
    // 2. Old results vanish before the search starts.
    for (const auto& row : m_description.controls)
        if (row.kind == ControlKind::Result)
            control<QLineEdit>(row.name)->clear();
    ClearRangeTips(*this);
    for (const auto& row : m_description.controls)
        if (row.kind == ControlKind::Result || row.kind == ControlKind::Input)
            control<QLineEdit>(row.name)->repaint();
    // 3. No value set chosen (none loaded): nothing more to do.
    if (!SelectionsUsable())
        return;

    std::optional<BusyCursor> busy(std::in_place, m_shell.platform());
    const CatalogueEntry& e = entry();
    std::vector<InputText> named;
    for (std::size_t i = 0; i < texts.size(); ++i)
        named.push_back({m_description.inputs[i].input, texts[i]});
    SolveInputs in;
    if (!ReadInputs(e, named, in)) {
        busy.reset();
        ShowMessage(SearchStatus::InvalidInput);
        return;
    }

    std::vector<ValueTable> tables;
    for (int k = 1; k <= e.resistors; ++k)
        tables.push_back(TableOf(m_shell.valueSets().at(selectionIndex(k))));
    SolveOutcome outcome;
    const bool ran = m_shell.searchRunner().Run(
        m_shell.relTol(), [&](const SearchContext& ctx) { outcome = RunSolve(e, in, tables, ctx); },
        {this, progressRect()});
    if (!ran)
        return;
    switch (outcome.status) {
    case SearchStatus::Found:
        ShowOutcome(e, in, outcome);
        break;
    case SearchStatus::InvalidInput:
    case SearchStatus::NoSolution:
    case SearchStatus::Aborted:
        busy.reset();
        ShowMessage(outcome.status);
        break;
    }
}

QRect CalculatorWindow::progressRect() const {
    const auto* go = control<QPushButton>(m_description.goButton);
    QRect row = go->geometry();
    for (const auto* b : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (!b->isHidden() && b->geometry().top() == row.top())
            row = row.united(b->geometry());
    return row;
}

void CalculatorWindow::ShowMessage(SearchStatus status) {
    // An aborted search shows nothing: the user asked for it.
    if (status == SearchStatus::Aborted || status == SearchStatus::Found)
        return;
    const StatusText message = FailureText(FamilyOf(entry()), status);
    m_shell.platform().ErrorBox(ToQString(message.text), ToQString(message.caption));
}

void CalculatorWindow::ShowOutcome(const CatalogueEntry& entry, const SolveInputs& in,
                                   const SolveOutcome& outcome) {
    for (const auto& binding : m_description.results) {
        auto* edit = control<QLineEdit>(binding.edit);
        if (binding.chosen > 0) {
            const auto i = static_cast<std::size_t>(binding.chosen - 1);
            if (i < outcome.values.size())
                edit->setText(ToQString(FormatValue(outcome.values[i])));
        } else if (const auto value = outcome.Result(binding.result)) {
            edit->setText(ToQString(FormatNumber(*value, Info(binding.result).format)));
            SetRangeTip(*edit, entry, in, outcome.values, binding.result);
        }
    }
}

void CalculatorWindow::ReturnToMainWindow() {
    hide();
    m_shell.showMainWindow();
}

} // namespace ohmtrim
