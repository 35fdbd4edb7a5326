#pragma once

#include "circuits/catalogue.h"
#include "circuits/solve.h"
#include "windows/control_table.h"
#include "windows/result_format.h"

#include <QWidget>

#include <span>
#include <string_view>
#include <vector>

class QComboBox;
class QLineEdit;

namespace ohmtrim {

class Shell;

// Which edit box holds which of the inputs ParseInputs knows ("target",
// "u1", "u2", "u3", "rmax", "rmin").
struct InputBinding {
    std::string_view edit;
    std::string_view input;
};

// What a result box shows after a successful search: chosen value k (R1 is
// 1), or when chosen is 0 the outcome's result of that name. A result the
// outcome does not have leaves the box empty.
struct ResultBinding {
    std::string_view edit;
    int chosen;
    std::string_view named;
    ResultFormat format;
};

// What the title-bar close does.
enum class TitleBarClose {
    EndProgram,   // close the main window, which ends the program
    ReturnToMain, // as "&Close": hide and show the main window
};

// Everything that makes one calculator window different from the others.
struct CalculatorDescription {
    std::string_view className; // "TForm2"; its catalogue entries give caption and circuit
    std::span<const ControlSpec> controls;
    std::span<const InputBinding> inputs; // in the order "&Go" trims them
    std::span<const ResultBinding> results;
    std::string_view goButton;
    std::string_view closeButton;
    TitleBarClose titleBarClose;
};

inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 400;

// The skeleton every calculator window shares: a fixed 632 x 400 client
// area with the circuit drawn on the left and the controls of its table on
// the right; value-set lists filled at creation and reset to the main
// selection on every show; the shared window position; "&Go" that trims,
// parses, searches on the search runner and formats the results; "&Close"
// back to the main window.
class CalculatorWindow : public QWidget {
    Q_OBJECT
public:
    CalculatorWindow(Shell& shell, const CalculatorDescription& description);

    // Set by the main window before it shows a window that serves several
    // catalogue entries; 0 for windows that serve one.
    void setCircuitVariant(int variant);
    int circuitVariant() const { return m_variant; }
    // The catalogue entry the window serves at its current variant.
    const CatalogueEntry& entry() const;

    // Selection index of resistor k (1-based), -1 for none.
    int selectionIndex(int k) const;

    // Handlers every calculator window has (the windows add their own
    // names for the buttons and lists).
    void FormCreate();
    void FormShow();
    void FormHide();
    void FormClose(QCloseEvent* event);
    void FormPaint();
    void ComboBoxkChange(int k);
    // The "&Go" and "&Close" behaviour.
    void RunGo();
    void ReturnToMainWindow();

protected:
    template <class T> T* control(std::string_view name) const {
        return findChild<T*>(ToQString(name), Qt::FindDirectChildrenOnly);
    }
    // Windows that reset more on show (layouts, help contexts by variant).
    virtual void ShowExtras() {}
    // Reads the inputs for a search; false shows the invalid-input message.
    // Windows fed by an input dialog take the dialog's record here instead.
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
    // The message box for a failed outcome (text, caption); an empty text
    // shows nothing. InvalidInput also covers inputs ReadInputs refused.
    struct Message {
        QString text;
        QString caption;
    };
    virtual Message MessageFor(SearchStatus status) const;

    Shell& shell() { return m_shell; }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowOutcome(const SolveOutcome& outcome);
    void ShowMessage(SearchStatus status);
    bool SelectionsUsable() const;

    Shell& m_shell;
    const CalculatorDescription& m_description;
    std::vector<const CatalogueEntry*> m_entries; // every entry this window serves
    int m_variant = 0;
    bool m_shownBefore = false;
    std::vector<QComboBox*> m_lists; // ComboBox1, ComboBox2, ...
    std::vector<int> m_selection;    // one per list
};

} // namespace ohmtrim
