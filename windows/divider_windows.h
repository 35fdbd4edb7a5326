#pragma once

#include "windows/calculator_window.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// A help context a divider window sets on an edit box each time it is
// shown, for one circuit variant (0 for windows that serve one circuit).
struct ShowHelpContext {
    int variant;
    std::string_view edit;
    int context;
};

// The voltage-divider calculators: U1, U2, U3 and a range of total
// resistance in; the chosen values, their total and the output voltage they
// give out. Besides the common skeleton they only re-set some help contexts
// on every show, because the boxes that depend on the circuit variant share
// one set of controls.
class DividerWindow : public CalculatorWindow {
    Q_OBJECT
public:
    DividerWindow(Shell& shell, std::string_view className,
                  const CalculatorDescription& description,
                  std::span<const ShowHelpContext> helpOnShow);

protected:
    void ShowExtras() override;

private:
    std::span<const ShowHelpContext> m_helpOnShow;
};

// "  Voltage divider" of two resistors: R1 above R2.
class TForm7 final : public DividerWindow {
    Q_OBJECT
public:
    explicit TForm7(Shell& shell);

    static const CalculatorDescription& Description();
};

// "  Voltage divider" of three resistors: R1 // R2 above R3.
class TForm22 final : public DividerWindow {
    Q_OBJECT
public:
    explicit TForm22(Shell& shell);

    static const CalculatorDescription& Description();
};

// "  Voltage divider" of four resistors in three circuit variants:
// 1 R1 // R2 // R3 above R4, 2 R1 // (R2 + R3) above R4, 3 R1 // R2 above
// R3 // R4. The variant picks the catalogue entry, and with it the search,
// the formulas of the results, the drawing and some help contexts.
class TForm9 final : public DividerWindow {
    Q_OBJECT
public:
    explicit TForm9(Shell& shell);

    static const CalculatorDescription& Description();
};

} // namespace ohmtrim
