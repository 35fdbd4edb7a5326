#pragma once

#include "circuits/catalogue.h"
#include "circuits/solve.h"
#include "windows/control_table.h"
#include "windows/form.h"

#include <span>
#include <string_view>
#include <vector>

class QComboBox;

namespace ohmtrim {

class Shell;

// Which edit box holds which named input.
struct InputBinding {
    std::string_view edit;
    InputId input;
};

// What a result box shows after a successful search: chosen value k (R1 is
// 1), or when chosen is 0 the derived result, each in its format. A result
// the outcome does not have leaves the box empty.
struct ResultBinding {
    std::string_view edit;
    int chosen;
    ResultId result;
};
constexpr ResultBinding ChosenValue(std::string_view edit, int k) {
    return {edit, k, ResultId{}};
}
constexpr ResultBinding Derived(std::string_view edit, ResultId result) {
    return {edit, 0, result};
}

// What the title-bar close does.
enum class TitleBarClose {
    EndProgram,   // close the main window, which ends the program
    ReturnToMain, // as "&Close": hide and show the main window
};

// Everything that makes one calculator window different from the others;
// its class name gives its catalogue entries, and with them its caption,
// circuit, family and search.
struct CalculatorDescription {
    std::span<const ControlSpec> controls;
    std::span<const InputBinding> inputs; // in the order "&Go" trims them
    std::span<const ResultBinding> results;
    std::string_view goButton;    // the button whose click is "&Go"
    std::string_view closeButton; // the button whose click is "&Close"
    TitleBarClose titleBarClose;
};

inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 400;

// The skeleton every calculator window shares: a fixed 632 x 400 client
// area with the circuit drawn on the left and the controls of its table on
// the right; value-set lists filled at creation and reset to the main
// selection on every show; the shared window position; "&Go" that trims,
// parses, searches on the search runner and formats the results; "&Close"
// back to the main window; messages in the texts of the window's family.
class CalculatorWindow : public Form {
    Q_OBJECT
public:
    // className must name catalogue entries; a window the catalogue does
    // not know is a programming error that stops the program.
    CalculatorWindow(Shell& shell, std::string_view className,
                     const CalculatorDescription& description);

    // Set by the main window before it shows the window: the variant of one
    // of the catalogue entries the window serves (0 for windows that serve
    // one).
    void setCircuitVariant(int variant);
    int circuitVariant() const { return m_variant; }
    // The catalogue entry the window serves at its current variant.
    const CatalogueEntry& entry() const;

    // Selection index of resistor k (1-based), -1 for none.
    int selectionIndex(int k) const;

    // Handlers every calculator window has.
    void FormCreate();
    void FormShow() override;
    void FormHide() override;
    void FormClose(QCloseEvent* event) override;
    void FormPaint() override;
    void ComboBoxkChange(int k);
    // The click on the "&Go" and "&Close" buttons the description names.
    void RunGo();
    void ReturnToMainWindow();

    // Where a long search shows its progress: the row of buttons that holds
    // "&Go", which take no input while the search runs.
    QRect progressRect() const;

protected:
    template <class T> T* control(std::string_view name) const {
        return findChild<T*>(ToQString(name), Qt::FindDirectChildrenOnly);
    }
    // Windows that reset more on show (layouts, help contexts by variant).
    virtual void ShowExtras() {}
    // Reads the inputs for a search; false shows the family's invalid-input
    // text. Windows fed by an input dialog take the dialog's record here.
    virtual bool ReadInputs(const CatalogueEntry& entry, std::span<const InputText> texts,
                            SolveInputs& in) {
        return ParseInputs(entry, texts, in);
    }
    // The search of the window; runs on the search runner's worker thread,
    // so it must not touch any widget.
    virtual SolveOutcome RunSolve(const CatalogueEntry& entry, const SolveInputs& in,
                                  std::span<const ValueTable> tables, const SearchContext& ctx) {
        return Solve(entry, in, tables, ctx);
    }

    Shell& shell() { return m_shell; }

private:
    void ShowOutcome(const CatalogueEntry& entry, const SolveInputs& in,
                     const SolveOutcome& outcome);
    void ShowMessage(SearchStatus status);
    bool SelectionsUsable() const;

    Shell& m_shell;
    const CalculatorDescription& m_description;
    std::vector<const CatalogueEntry*> m_entries; // every entry this window serves
    int m_variant = 0;
    std::vector<QComboBox*> m_lists; // ComboBox1, ComboBox2, ...
    std::vector<int> m_selection;    // one per list
};

} // namespace ohmtrim
