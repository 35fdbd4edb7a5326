#pragma once

#include "windows/calculator_window.h"
#include "windows/star_input_dialog.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// The range captions a star window gives the input dialog at one circuit
// variant (0: at every variant).
struct StarDialogRange {
    int variant;
    StarRangeCaptions captions;
};

// A star window besides its calculator skeleton: the button that opens the
// input dialog and what the dialog shows beside its range boxes.
struct StarWindowDescription {
    CalculatorDescription calculator;
    std::string_view inputButton; // "&Input data"
    std::span<const StarDialogRange> ranges;
};

// The star-circuit calculators ("  Star circuit"): the voltages of two
// operating cases and the range of branch 1 come from the input dialog
// TForm14; the window picks the value sets, runs the search of its circuit
// and shows the chosen values and the star-point voltage they give in each
// case. "&Go" before the dialog was accepted in this showing of the window
// says "Invalid resistance range.".
class StarWindow : public CalculatorWindow {
    Q_OBJECT
public:
    StarWindow(Shell& shell, std::string_view className, const StarWindowDescription& description);

    // "&Input data": the dialog with this window's range captions.
    void InputDataClick();

protected:
    void ShowExtras() override;
    bool ReadInputs(const CatalogueEntry& entry, std::span<const InputText> texts,
                    SolveInputs& in) override;

private:
    TForm14* Dialog();

    const StarWindowDescription& m_star;
};

// Branches R1, R2, R3.
class TForm12 final : public StarWindow {
    Q_OBJECT
public:
    explicit TForm12(Shell& shell);
    static const StarWindowDescription& Description();
};

// Four resistors in two circuit variants: 1 R1+R2, R3, R4; 2 R1//R2, R3, R4.
class TForm19 final : public StarWindow {
    Q_OBJECT
public:
    explicit TForm19(Shell& shell);
    static const StarWindowDescription& Description();
};

// Five resistors in three circuit variants: 1 R1, R2//R3, R4//R5;
// 2 R1, R2+R3, R4//R5; 3 R1, R2+R3, R4+R5.
class TForm21 final : public StarWindow {
    Q_OBJECT
public:
    explicit TForm21(Shell& shell);
    static const StarWindowDescription& Description();
};

// Branches R1//R2, R3//R4, R5//R6.
class TForm13 final : public StarWindow {
    Q_OBJECT
public:
    explicit TForm13(Shell& shell);
    static const StarWindowDescription& Description();
};

} // namespace ohmtrim
