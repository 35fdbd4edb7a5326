#include "windows/resistance_windows.h"

namespace ohmtrim {

namespace {

using K = ControlKind;

constexpr int kNoLimit = 0;

constexpr InputBinding kInputs[] = {
    {"Edit1", InputId::Target},
};

// clang-format off
constexpr ResultBinding kTwoResults[] = {
    ChosenValue("Edit2", 1),
    ChosenValue("Edit3", 2),
    Derived("Edit4", ResultId::Resistance),
    Derived("Edit5", ResultId::ErrorPercent),
};

constexpr ResultBinding kThreeResults[] = {
    ChosenValue("Edit2", 1),
    ChosenValue("Edit3", 2),
    ChosenValue("Edit4", 3),
    Derived("Edit5", ResultId::Resistance),
    Derived("Edit6", ResultId::ErrorPercent),
};

// Labels size themselves to their text, so their width and height stay 0.

constexpr ControlSpec kTForm5Controls[] = {
    // name        kind         left top  width height          caption     help max tab
    {"Label1",    K::Label,    304,  24,   0, 0,              "R1 // R2",  0,  0, kNoTab},
    {"Edit1",     K::Input,    382,  16, 240, kBoxHeight,     "",          50, 15, 1},
    {"Button2",   K::Button,   304,  68, 320, kButtonHeight,  "&Go",       27,  0, 4},
    {"Label2",    K::Label,    304, 136,   0, 0,              "R1",        0,  0, kNoTab},
    {"Edit2",     K::Result,   336, 128, 161, kBoxHeight,     "",          31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 512, 128, 113, kBoxHeight,     "",          21,  0, 2},
    {"Label3",    K::Label,    304, 192,   0, 0,              "R2",        0,  0, kNoTab},
    {"Edit3",     K::Result,   336, 184, 161, kBoxHeight,     "",          32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 512, 184, 113, kBoxHeight,     "",          22,  0, 3},
    {"Label4",    K::Label,    304, 248,   0, 0,              "R1 // R2",  0,  0, kNoTab},
    {"Edit4",     K::Result,   382, 240, 240, kBoxHeight,     "",          51,  0, kNoTab},
    {"Label5",    K::Label,    304, 304,   0, 0,              "Error",     0,  0, kNoTab},
    {"Edit5",     K::Result,   384, 296, 145, kBoxHeight,     "",          52,  0, kNoTab},
    {"Label6",    K::Label,    544, 304,   0, 0,              "%",         0,  0, kNoTab},
    {"Button1",   K::Button,   304, 352, 320, kButtonHeight,  "&Close",    28,  0, 0},
};

constexpr ControlSpec kTForm3Controls[] = {
    // name        kind         left top  width height          caption     help max tab
    {"Label1",    K::Label,    312,  24,   0, 0,              "R1+R2",     0,  0, kNoTab},
    {"Edit1",     K::Input,    382,  16, 236, kBoxHeight,     "",          60, 15, 1},
    {"Button2",   K::Button,   300,  64, 320, kButtonHeight,  "&Go",       27,  0, 4},
    {"Label2",    K::Label,    312, 128,   0, 0,              "R1",        0,  0, kNoTab},
    {"Edit2",     K::Result,   344, 120, 129, kBoxHeight,     "",          31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 502, 120, 121, kBoxHeight,     "",          21,  0, 2},
    {"Label3",    K::Label,    312, 184,   0, 0,              "R2",        0,  0, kNoTab},
    {"Edit3",     K::Result,   344, 176, 129, kBoxHeight,     "",          32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 502, 176, 121, kBoxHeight,     "",          22,  0, 3},
    {"Label4",    K::Label,    312, 248,   0, 0,              "R1+R2",     0,  0, kNoTab},
    {"Edit4",     K::Result,   382, 240, 236, kBoxHeight,     "",          61,  0, kNoTab},
    {"Label5",    K::Label,    320, 304,   0, 0,              "Error",     0,  0, kNoTab},
    {"Edit5",     K::Result,   382, 296, 137, kBoxHeight,     "",          52,  0, kNoTab},
    {"Label6",    K::Label,    528, 304,   0, 0,              "%",         0,  0, kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight,  "&Close",    28,  0, 0},
};

// The three-resistor windows list their value sets beside the R1..R3 rows.

constexpr ControlSpec kTForm6Controls[] = {
    // name        kind         left top  width height          caption       help max       tab
    {"Label1",    K::Label,    300,  16,   0, 0,              "R1//R2//R3",  0,  0,        kNoTab},
    {"Edit1",     K::Input,    408,   8, 211, kBoxHeight,     "",            62, kNoLimit, 1},
    {"Button2",   K::Button,   300,  56, 320, kButtonHeight,  "&Go",         27, 0,        5},
    {"Label2",    K::Label,    300, 120,   0, 0,              "R1",          0,  0,        kNoTab},
    {"Edit2",     K::Result,   336, 112, 161, kBoxHeight,     "",            31, 0,        kNoTab},
    {"Label3",    K::Label,    300, 168,   0, 0,              "R2",          0,  0,        kNoTab},
    {"Edit3",     K::Result,   336, 160, 161, kBoxHeight,     "",            32, 0,        kNoTab},
    {"Label4",    K::Label,    300, 216,   0, 0,              "R3",          0,  0,        kNoTab},
    {"Edit4",     K::Result,   336, 208, 161, kBoxHeight,     "",            33, 0,        kNoTab},
    {"ComboBox1", K::ValueSet, 508, 112, 115, kBoxHeight,     "",            21, 0,        2},
    {"ComboBox2", K::ValueSet, 508, 160, 113, kBoxHeight,     "",            22, 0,        3},
    {"ComboBox3", K::ValueSet, 508, 208, 113, kBoxHeight,     "",            23, 0,        4},
    {"Label5",    K::Label,    300, 264,   0, 0,              "R1//R2//R3",  0,  0,        kNoTab},
    {"Edit5",     K::Result,   410, 256, 209, kBoxHeight,     "",            63, 0,        kNoTab},
    {"Label6",    K::Label,    348, 312,   0, 0,              "Error",       0,  0,        kNoTab},
    {"Edit6",     K::Result,   408, 304, 121, kBoxHeight,     "",            52, 0,        kNoTab},
    {"Label7",    K::Label,    544, 312,   0, 0,              "%",           0,  0,        kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight,  "&Close",      28, 0,        0},
};

constexpr ControlSpec kTForm4Controls[] = {
    // name        kind         left top  width height          caption       help max tab
    {"Label1",    K::Label,    304,  16,   0, 0,              "R1+R2+R3",    0,  0, kNoTab},
    {"Edit1",     K::Input,    408,   8, 209, kBoxHeight,     "",            64, 15, 1},
    {"Button2",   K::Button,   300,  56, 320, kButtonHeight,  "&Go",         27,  0, 5},
    {"Label2",    K::Label,    304, 120,   0, 0,              "R1",          0,  0, kNoTab},
    {"Edit2",     K::Result,   336, 112, 161, kBoxHeight,     "",            31,  0, kNoTab},
    {"Label3",    K::Label,    304, 168,   0, 0,              "R2",          0,  0, kNoTab},
    {"Edit3",     K::Result,   336, 160, 161, kBoxHeight,     "",            32,  0, kNoTab},
    {"Label4",    K::Label,    304, 216,   0, 0,              "R3",          0,  0, kNoTab},
    {"Edit4",     K::Result,   336, 208, 161, kBoxHeight,     "",            33,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 512, 112, 105, kBoxHeight,     "",            21,  0, 2},
    {"ComboBox2", K::ValueSet, 512, 160, 105, kBoxHeight,     "",            22,  0, 3},
    {"ComboBox3", K::ValueSet, 512, 208, 105, kBoxHeight,     "",            23,  0, 4},
    {"Label5",    K::Label,    304, 264,   0, 0,              "R1+R2+R3",    0,  0, kNoTab},
    {"Edit5",     K::Result,   408, 256, 209, kBoxHeight,     "",            65,  0, kNoTab},
    {"Label6",    K::Label,    352, 312,   0, 0,              "Error",       0,  0, kNoTab},
    {"Edit6",     K::Result,   408, 304, 121, kBoxHeight,     "",            52,  0, kNoTab},
    {"Label7",    K::Label,    544, 312,   0, 0,              "%",           0,  0, kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight,  "&Close",      28,  0, 0},
};

constexpr ControlSpec kTForm17Controls[] = {
    // name        kind         left top  width height          caption       help max tab
    {"Label1",    K::Label,    300,  16,   0, 0,              "R1//(R2+R3)", 0,  0, kNoTab},
    {"Edit1",     K::Input,    416,   8, 202, kBoxHeight,     "",            66, 15, 1},
    {"Button2",   K::Button,   300,  56, 320, kButtonHeight,  "&Go",         27,  0, 5},
    {"Label2",    K::Label,    300, 120,   0, 0,              "R1",          0,  0, kNoTab},
    {"Edit2",     K::Result,   340, 112, 160, kBoxHeight,     "",            31,  0, kNoTab},
    {"Label3",    K::Label,    300, 168,   0, 0,              "R2",          0,  0, kNoTab},
    {"Edit3",     K::Result,   340, 160, 160, kBoxHeight,     "",            32,  0, kNoTab},
    {"Label4",    K::Label,    300, 216,   0, 0,              "R3",          0,  0, kNoTab},
    {"Edit4",     K::Result,   340, 208, 160, kBoxHeight,     "",            33,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 516, 112, 105, kBoxHeight,     "",            21,  0, 2},
    {"ComboBox2", K::ValueSet, 516, 160, 105, kBoxHeight,     "",            22,  0, 3},
    {"ComboBox3", K::ValueSet, 516, 208, 105, kBoxHeight,     "",            23,  0, 4},
    {"Label5",    K::Label,    300, 264,   0, 0,              "R1//(R2+R3)", 0,  0, kNoTab},
    {"Edit5",     K::Result,   416, 256, 204, kBoxHeight,     "",            67,  0, kNoTab},
    {"Label6",    K::Label,    364, 312,   0, 0,              "Error",       0,  0, kNoTab},
    {"Edit6",     K::Result,   416, 304, 137, kBoxHeight,     "",            52,  0, kNoTab},
    {"Label7",    K::Label,    568, 312,   0, 0,              "%",           0,  0, kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight,  "&Close",      28,  0, 0},
};

// Unlike its siblings, "&Go" follows the wanted resistance directly in the
// tab chain; the value-set lists come after it.
constexpr ControlSpec kTForm8Controls[] = {
    // name        kind         left top  width height          caption       help max       tab
    {"Label1",    K::Label,    300,  16,   0, 0,              "R1+R2//R3",   0,  0,        kNoTab},
    {"Edit1",     K::Input,    408,   8, 209, kBoxHeight,     "",            68, kNoLimit, 1},
    {"Button2",   K::Button,   300,  56, 320, kButtonHeight,  "&Go",         27, 0,        2},
    {"Label2",    K::Label,    300, 120,   0, 0,              "R1",          0,  0,        kNoTab},
    {"Edit2",     K::Result,   336, 112, 160, kBoxHeight,     "",            31, 0,        kNoTab},
    {"Label3",    K::Label,    300, 168,   0, 0,              "R2",          0,  0,        kNoTab},
    {"Edit3",     K::Result,   336, 160, 160, kBoxHeight,     "",            32, 0,        kNoTab},
    {"Label4",    K::Label,    300, 216,   0, 0,              "R3",          0,  0,        kNoTab},
    {"Edit4",     K::Result,   336, 208, 160, kBoxHeight,     "",            33, 0,        kNoTab},
    {"ComboBox1", K::ValueSet, 516, 112, 105, kBoxHeight,     "",            21, 0,        3},
    {"ComboBox2", K::ValueSet, 516, 160, 105, kBoxHeight,     "",            22, 0,        4},
    {"ComboBox3", K::ValueSet, 516, 208, 105, kBoxHeight,     "",            23, 0,        5},
    {"Label5",    K::Label,    300, 264,   0, 0,              "R1+R2//R3",   0,  0,        kNoTab},
    {"Edit5",     K::Result,   408, 256, 209, kBoxHeight,     "",            69, 0,        kNoTab},
    {"Label6",    K::Label,    352, 312,   0, 0,              "Error",       0,  0,        kNoTab},
    {"Edit6",     K::Result,   408, 304, 121, kBoxHeight,     "",            52, 0,        kNoTab},
    {"Label7",    K::Label,    544, 312,   0, 0,              "%",           0,  0,        kNoTab},
    {"Button1",   K::Button,   300, 352, 320, kButtonHeight,  "&Close",      28, 0,        0},
};
// clang-format on

constexpr CalculatorDescription Describe(std::span<const ControlSpec> controls,
                                         std::span<const ResultBinding> results) {
    return {controls, kInputs, results, "Button2", "Button1", TitleBarClose::EndProgram};
}

constexpr CalculatorDescription kTForm5 = Describe(kTForm5Controls, kTwoResults);
constexpr CalculatorDescription kTForm3 = Describe(kTForm3Controls, kTwoResults);
constexpr CalculatorDescription kTForm6 = Describe(kTForm6Controls, kThreeResults);
constexpr CalculatorDescription kTForm4 = Describe(kTForm4Controls, kThreeResults);
constexpr CalculatorDescription kTForm17 = Describe(kTForm17Controls, kThreeResults);
constexpr CalculatorDescription kTForm8 = Describe(kTForm8Controls, kThreeResults);

} // namespace

TForm5::TForm5(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm5) {}
const CalculatorDescription& TForm5::Description() {
    return kTForm5;
}

TForm3::TForm3(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm3) {}
const CalculatorDescription& TForm3::Description() {
    return kTForm3;
}

TForm6::TForm6(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm6) {}
const CalculatorDescription& TForm6::Description() {
    return kTForm6;
}

TForm4::TForm4(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm4) {}
const CalculatorDescription& TForm4::Description() {
    return kTForm4;
}

TForm17::TForm17(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm17) {}
const CalculatorDescription& TForm17::Description() {
    return kTForm17;
}

TForm8::TForm8(Shell& shell)
    : CalculatorWindow(shell, WindowClassName(staticMetaObject), kTForm8) {}
const CalculatorDescription& TForm8::Description() {
    return kTForm8;
}

} // namespace ohmtrim
