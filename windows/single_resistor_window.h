#pragma once

#include "windows/calculator_window.h"

namespace ohmtrim {

// "  Single resistor": the nearest value of one value set to a wanted
// resistance, its smaller and bigger neighbours in the table, and the error
// of the nearest value.
class TForm2 final : public CalculatorWindow {
    Q_OBJECT
public:
    explicit TForm2(Shell& shell);

    static const CalculatorDescription& Description();
};

} // namespace ohmtrim
