#include "windows/single_resistor_window.h"

namespace ohmtrim {

namespace {

using K = ControlKind;

// clang-format off
constexpr ControlSpec kControls[] = {
    // name        kind         left top  width height         caption                   help max tab
    {"Label2",    K::Label,    300,  16,   0,   0,            "R1 value to find",        0,   0, kNoTab},
    {"Edit1",     K::Input,    448,   8, 169,   kBoxHeight,   "",                        40, 12, 1},
    {"Label1",    K::Label,    300,  64,   0,   0,            "R1 values according to",  0,   0, kNoTab},
    {"ComboBox1", K::ValueSet, 504,  56, 113,   kBoxHeight,   "",                        21,  0, 3},
    {"Button2",   K::Button,   300, 104, 320,   kButtonHeight, "&Go",                    27,  0, 2},
    {"Label3",    K::Label,    316, 168,   0,   0,            "Nearest value",           0,   0, kNoTab},
    {"Edit2",     K::Result,   448, 160, 169,   kBoxHeight,   "",                        31,  0, kNoTab},
    {"Label6",    K::Label,    392, 216,   0,   0,            "Error",                   0,   0, kNoTab},
    {"Edit5",     K::Result,   448, 208, 129,   kBoxHeight,   "",                        41,  0, kNoTab},
    {"Label7",    K::Label,    592, 216,   0,   0,            "%",                       0,   0, kNoTab},
    {"Label4",    K::Label,    316, 264,   0,   0,            "Smaller value",           0,   0, kNoTab},
    {"Edit3",     K::Result,   448, 256, 169,   kBoxHeight,   "",                        42,  0, kNoTab},
    {"Label5",    K::Label,    316, 312,   0,   0,            "Bigger value",            0,   0, kNoTab},
    {"Edit4",     K::Result,   448, 304, 169,   kBoxHeight,   "",                        43,  0, kNoTab},
    {"Button1",   K::Button,   300, 350, 320,   kButtonHeight, "&Close",                 28,  0, 0},
};

constexpr InputBinding kInputs[] = {
    {"Edit1", InputId::Target},
};

constexpr ResultBinding kResults[] = {
    Derived("Edit2", ResultId::Nearest),
    Derived("Edit5", ResultId::ErrorPercent),
    Derived("Edit3", ResultId::Smaller),
    Derived("Edit4", ResultId::Bigger),
};
// clang-format on

const CalculatorDescription kDescription{
    kControls, kInputs, kResults, "Button2", "Button1", TitleBarClose::EndProgram,
};

} // namespace

const CalculatorDescription& TForm2::Description() {
    return kDescription;
}

TForm2::TForm2(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kDescription) {}

} // namespace ohmtrim
