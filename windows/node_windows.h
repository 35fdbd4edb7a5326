#pragma once

#include "search/node_dividers.h"
#include "windows/calculator_window.h"
#include "windows/input_dialog.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// What the node-voltage windows and their dialog share for the whole run:
// the record the dialog fills, whether it was confirmed during the current
// visit of a window, and whether one of U2 and U3 may be left empty.
struct NodeInputState {
    NodeVoltageInput record;
    bool NodeInputReady = false;
    bool OptionalU2U3 = false;
};

// "  Input data": the node voltages U1 to U4 and the range of the total
// resistance for TForm10 and TForm11. It only checks that the boxes hold
// numbers (and the inner nodes the window needs); the search judges their
// order and range.
class TForm18 final : public InputDialog {
    Q_OBJECT
public:
    explicit TForm18(Shell& shell);

    NodeInputState& state() { return m_state; }

    // The help contexts of the range boxes, which depend on the circuit of
    // the window that opens the dialog.
    void setRangeHelp(int rmaxContext, int rminContext);

    void FormShow() override;

protected:
    bool Accept() override;

private:
    NodeInputState m_state;
};

// The help contexts a node-voltage window gives the dialog's range boxes,
// for one circuit variant (0 for the window that serves one circuit).
struct RangeHelp {
    int variant;
    int rmax;
    int rmin;
};

// The node-voltage windows: no input boxes of their own; "&Input data" opens
// the dialog, "&Go" searches with the record it confirmed during this visit
// and shows the chosen values and both inner node voltages they give.
class NodeChainWindow : public CalculatorWindow {
    Q_OBJECT
public:
    NodeChainWindow(Shell& shell, std::string_view className,
                    const CalculatorDescription& description, std::span<const RangeHelp> rangeHelp);

    // "&Input data".
    void Button2Click();

protected:
    void ShowExtras() override;
    bool ReadInputs(const CatalogueEntry& entry, std::span<const InputText> texts,
                    SolveInputs& in) override;

private:
    TForm18* dialog();

    std::span<const RangeHelp> m_rangeHelp;
};

// "  Voltage divider": the chain R1, R2, R3 between U1 and U4.
class TForm10 final : public NodeChainWindow {
    Q_OBJECT
public:
    explicit TForm10(Shell& shell);
};

// "  Voltage divider": chains of four to six resistors in three circuit
// variants: 1 R1, R2, R3 // R4; 2 R1, R2 // R3, R4 // R5; 3 R1 // R2,
// R3 // R4, R5 // R6. The variant shows or hides the rows of R5 and R6 and
// moves the node-voltage results and the buttons below the last row.
class TForm11 final : public NodeChainWindow {
    Q_OBJECT
public:
    explicit TForm11(Shell& shell);

protected:
    void ShowExtras() override;

private:
    void ApplyVariantLayout();
};

} // namespace ohmtrim
