#pragma once

#include "windows/calculator_window.h"

namespace ohmtrim {

// The windows that build one wanted resistance out of two or three values:
// the user types the resistance, picks a value set per resistor and gets
// the chosen values, the resistance they give and its error. They differ
// only in their control tables and the circuit their catalogue entry names.

// "  Two resistors in parallel": R1 // R2.
class TForm5 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm5(Shell& shell);
    static const CalculatorDescription& Description();
};

// "  Two resistors in series": R1 + R2.
class TForm3 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm3(Shell& shell);
    static const CalculatorDescription& Description();
};

// "  Three resistors in parallel": R1 // R2 // R3.
class TForm6 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm6(Shell& shell);
    static const CalculatorDescription& Description();
};

// "  Three resistors in series": R1 + R2 + R3.
class TForm4 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm4(Shell& shell);
    static const CalculatorDescription& Description();
};

// "  Parallel / series connection": R1 // (R2 + R3).
class TForm17 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm17(Shell& shell);
    static const CalculatorDescription& Description();
};

// "  Series / parallel connection": R1 + R2 // R3.
class TForm8 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm8(Shell& shell);
    static const CalculatorDescription& Description();
};

} // namespace ohmtrim
