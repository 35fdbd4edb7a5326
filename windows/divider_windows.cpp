#include "windows/divider_windows.h"

#include <array>

namespace ohmtrim {

namespace {

using K = ControlKind;

// The three voltages and the range of total resistance, in the order "&Go"
// trims them. ParseInputs reads them as U1, U2, U3, R max, R min whatever
// this order is; only the box of U3 differs between the windows.
constexpr std::array<InputBinding, 5> DividerInputs(std::string_view u3Edit) {
    return {{{"Edit1", InputId::U1},
             {"Edit2", InputId::U2},
             {"Edit3", InputId::RMax},
             {"Edit4", InputId::RMin},
             {u3Edit, InputId::U3}}};
}

// ---- TForm7: R1 above R2 ------------------------------------------------------

// clang-format off
constexpr ControlSpec kForm7Controls[] = {
    // name        kind         left top  width height          caption      help max tab
    {"Label1",    K::Label,    300,  16,   0,   0,             "U1",         0,  0, kNoTab},
    {"Edit1",     K::Input,    336,   8, 100,   kBoxHeight,    "",          70,  0, 1},
    {"Label2",    K::Label,    300,  56,   0,   0,             "U2",         0,  0, kNoTab},
    {"Edit2",     K::Input,    336,  48, 100,   kBoxHeight,    "",          71,  0, 2},
    {"Label9",    K::Label,    300,  96,   0,   0,             "U3",         0,  0, kNoTab},
    {"Edit9",     K::Input,    336,  88, 100,   kBoxHeight,    "",          76,  0, 3},
    {"Label3",    K::Label,    456,  16,   0,   0,             "R max",      0,  0, kNoTab},
    {"Edit3",     K::Input,    520,   8, 100,   kBoxHeight,    "",          73,  0, 4},
    {"Label4",    K::Label,    456,  56,   0,   0,             "R min",      0,  0, kNoTab},
    {"Edit4",     K::Input,    520,  48, 100,   kBoxHeight,    "",          72,  0, 5},
    {"Label10",   K::Heading,  336, 136,   0,   0,             "RESULTS",    0,  0, kNoTab},
    {"Label5",    K::Label,    300, 168,   0,   0,             "R1",         0,  0, kNoTab},
    {"Edit5",     K::Result,   336, 160, 160,   kBoxHeight,    "",          31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 516, 160, 105,   kBoxHeight,    "",          21,  0, 6},
    {"Label6",    K::Label,    300, 216,   0,   0,             "R2",         0,  0, kNoTab},
    {"Edit6",     K::Result,   336, 208, 160,   kBoxHeight,    "",          32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 516, 208, 105,   kBoxHeight,    "",          22,  0, 7},
    {"Label7",    K::Label,    300, 264,   0,   0,             "R = R1+R2",  0,  0, kNoTab},
    {"Edit7",     K::Result,   408, 256, 209,   kBoxHeight,    "",          74,  0, kNoTab},
    {"Label8",    K::Label,    368, 312,   0,   0,             "U2",         0,  0, kNoTab},
    {"Edit8",     K::Result,   408, 304, 209,   kBoxHeight,    "",          75,  0, kNoTab},
    {"Button2",   K::Button,   300, 352, 150,   kButtonHeight, "&Go",       27,  0, 8},
    {"Button1",   K::Button,   472, 352, 150,   kButtonHeight, "&Close",    28,  0, 0},
};

constexpr auto kForm7Inputs = DividerInputs("Edit9");

constexpr ResultBinding kForm7Results[] = {
    ChosenValue("Edit5", 1),
    ChosenValue("Edit6", 2),
    Derived("Edit7", ResultId::Resistance),
    Derived("Edit8", ResultId::U2),
};

const CalculatorDescription kForm7{
    kForm7Controls, kForm7Inputs, kForm7Results,
    "Button2", "Button1", TitleBarClose::EndProgram,
};
// clang-format on

// ---- TForm22: R1 // R2 above R3 --------------------------------------------------

// clang-format off
constexpr ControlSpec kForm22Controls[] = {
    // name        kind         left top  width height          caption    help max tab
    {"Label1",    K::Label,    304,  16,   0,   0,             "U1",       0,  0, kNoTab},
    {"Edit1",     K::Input,    336,   8, 100,   kBoxHeight,    "",        70,  0, 1},
    {"Label2",    K::Label,    304,  64,   0,   0,             "U2",       0,  0, kNoTab},
    {"Edit2",     K::Input,    336,  56, 100,   kBoxHeight,    "",        71,  0, 2},
    {"Label10",   K::Label,    304, 112,   0,   0,             "U3",       0,  0, kNoTab},
    {"Edit10",    K::Input,    336, 104, 100,   kBoxHeight,    "",        76,  0, 3},
    {"Label3",    K::Label,    448,  16,   0,   0,             "R max",    0,  0, kNoTab},
    {"Edit3",     K::Input,    512,   8, 100,   kBoxHeight,    "",       154,  0, 4},
    {"Label4",    K::Label,    448,  64,   0,   0,             "R min",    0,  0, kNoTab},
    {"Edit4",     K::Input,    512,  56, 100,   kBoxHeight,    "",       155,  0, 5},
    {"Label11",   K::Heading,  336, 148,   0,   0,             "RESULTS",  0,  0, kNoTab},
    {"Label5",    K::Label,    304, 184,   0,   0,             "R1",       0,  0, kNoTab},
    {"Edit5",     K::Result,   336, 176, 160,   kBoxHeight,    "",        31,  0, kNoTab},
    {"Label6",    K::Label,    304, 224,   0,   0,             "R2",       0,  0, kNoTab},
    {"Edit6",     K::Result,   336, 216, 160,   kBoxHeight,    "",        32,  0, kNoTab},
    {"Label7",    K::Label,    304, 264,   0,   0,             "R3",       0,  0, kNoTab},
    {"Edit7",     K::Result,   336, 256, 160,   kBoxHeight,    "",        33,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 512, 176, 105,   kBoxHeight,    "",        21,  0, 6},
    {"ComboBox2", K::ValueSet, 512, 216, 105,   kBoxHeight,    "",        22,  0, 7},
    {"ComboBox3", K::ValueSet, 512, 256, 105,   kBoxHeight,    "",        23,  0, 8},
    {"Label8",    K::Label,    304, 312,   0,   0,             "U2",       0,  0, kNoTab},
    {"Edit8",     K::Result,   336, 304, 120,   kBoxHeight,    "",        90,  0, kNoTab},
    {"Label9",    K::Label,    472, 312,   0,   0,             "R",        0,  0, kNoTab},
    {"Edit9",     K::Result,   496, 304, 120,   kBoxHeight,    "",       150,  0, kNoTab},
    {"Button1",   K::Button,   336, 352, 120,   kButtonHeight, "&Go",     27,  0, 9},
    {"Button2",   K::Button,   496, 352, 120,   kButtonHeight, "&Close",  28,  0, 0},
};

constexpr auto kForm22Inputs = DividerInputs("Edit10");

constexpr ResultBinding kForm22Results[] = {
    ChosenValue("Edit5", 1),
    ChosenValue("Edit6", 2),
    ChosenValue("Edit7", 3),
    Derived("Edit8", ResultId::U2),
    Derived("Edit9", ResultId::Resistance),
};

constexpr ShowHelpContext kForm22HelpOnShow[] = {
    {0, "Edit3", 154}, {0, "Edit4", 155}, {0, "Edit9", 150},
};

const CalculatorDescription kForm22{
    kForm22Controls, kForm22Inputs, kForm22Results,
    "Button1", "Button2", TitleBarClose::ReturnToMain,
};
// clang-format on

// ---- TForm9: four resistors, three circuit variants ----------------------------

// Edit3, Edit4 and Edit10 get their help contexts from the variant on show.
// clang-format off
constexpr ControlSpec kForm9Controls[] = {
    // name        kind         left top  width height          caption    help max tab
    {"Label1",    K::Label,    300,  16,   0,   0,             "U1",       0,  0, kNoTab},
    {"Edit1",     K::Input,    336,   8, 100,   kBoxHeight,    "",        80,  0, 1},
    {"Label2",    K::Label,    300,  56,   0,   0,             "U2",       0,  0, kNoTab},
    {"Edit2",     K::Input,    336,  48, 100,   kBoxHeight,    "",        81,  0, 2},
    {"Label11",   K::Label,    300,  96,   0,   0,             "U3",       0,  0, kNoTab},
    {"Edit11",    K::Input,    336,  88, 100,   kBoxHeight,    "",        76,  0, 10},
    {"Label3",    K::Label,    448,  16,   0,   0,             "R max",    0,  0, kNoTab},
    {"Edit3",     K::Input,    516,   8, 100,   kBoxHeight,    "",         0,  0, 3},
    {"Label4",    K::Label,    448,  56,   0,   0,             "R min",    0,  0, kNoTab},
    {"Edit4",     K::Input,    516,  48, 100,   kBoxHeight,    "",         0,  0, 4},
    {"Label12",   K::Heading,  336, 128,   0,   0,             "RESULTS",  0,  0, kNoTab},
    {"Label5",    K::Label,    300, 160,   0,   0,             "R1",       0,  0, kNoTab},
    {"Edit5",     K::Result,   336, 152, 160,   kBoxHeight,    "",        31,  0, kNoTab},
    {"Label6",    K::Label,    300, 200,   0,   0,             "R2",       0,  0, kNoTab},
    {"Edit6",     K::Result,   336, 192, 160,   kBoxHeight,    "",        32,  0, kNoTab},
    {"Label7",    K::Label,    300, 240,   0,   0,             "R3",       0,  0, kNoTab},
    {"Edit7",     K::Result,   336, 232, 160,   kBoxHeight,    "",        33,  0, kNoTab},
    {"Label8",    K::Label,    300, 280,   0,   0,             "R4",       0,  0, kNoTab},
    {"Edit8",     K::Result,   336, 272, 160,   kBoxHeight,    "",        34,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 516, 152, 105,   kBoxHeight,    "",        21,  0, 5},
    {"ComboBox2", K::ValueSet, 516, 192, 105,   kBoxHeight,    "",        22,  0, 6},
    {"ComboBox3", K::ValueSet, 516, 232, 105,   kBoxHeight,    "",        23,  0, 7},
    {"ComboBox4", K::ValueSet, 516, 272, 105,   kBoxHeight,    "",        24,  0, 8},
    {"Label9",    K::Label,    300, 320,   0,   0,             "U2",       0,  0, kNoTab},
    {"Edit9",     K::Result,   336, 312, 120,   kBoxHeight,    "",        85,  0, kNoTab},
    {"Label10",   K::Label,    472, 320,   0,   0,             "R",        0,  0, kNoTab},
    {"Edit10",    K::Result,   500, 312, 120,   kBoxHeight,    "",         0,  0, kNoTab},
    {"Button2",   K::Button,   336, 354, 120,   kButtonHeight, "&Go",     27,  0, 9},
    {"Button1",   K::Button,   500, 354, 120,   kButtonHeight, "&Close",  28,  0, 0},
};

constexpr auto kForm9Inputs = DividerInputs("Edit11");

constexpr ResultBinding kForm9Results[] = {
    ChosenValue("Edit5", 1),
    ChosenValue("Edit6", 2),
    ChosenValue("Edit7", 3),
    ChosenValue("Edit8", 4),
    Derived("Edit9", ResultId::U2),
    Derived("Edit10", ResultId::Resistance),
};

constexpr ShowHelpContext kForm9HelpOnShow[] = {
    // variant  R max         R min         R
    {1, "Edit3", 87}, {1, "Edit4", 86}, {1, "Edit10", 88},
    {2, "Edit3", 56}, {2, "Edit4", 55}, {2, "Edit10", 57},
    {3, "Edit3", 83}, {3, "Edit4", 82}, {3, "Edit10", 84},
};

const CalculatorDescription kForm9{
    kForm9Controls, kForm9Inputs, kForm9Results,
    "Button2", "Button1", TitleBarClose::EndProgram,
};
// clang-format on

} // namespace

DividerWindow::DividerWindow(Shell& shell, std::string_view className,
                             const CalculatorDescription& description,
                             std::span<const ShowHelpContext> helpOnShow)
    : CalculatorWindow(shell, className, description), m_helpOnShow(helpOnShow) {
    // F1 works before the first show too (the window starts at its first
    // variant).
    ShowExtras();
}

void DividerWindow::ShowExtras() {
    // The entry, not the raw variant: a window with variants that has not
    // been told one yet serves its first entry.
    const int variant = entry().variant;
    for (const auto& row : m_helpOnShow)
        if (row.variant == variant)
            if (auto* w = control<QWidget>(row.edit))
                SetHelpContext(*w, row.context);
}

TForm7::TForm7(Shell& shell)
    : DividerWindow(shell, WindowClassName(staticMetaObject), kForm7, {}) {}

const CalculatorDescription& TForm7::Description() {
    return kForm7;
}

TForm22::TForm22(Shell& shell)
    : DividerWindow(shell, WindowClassName(staticMetaObject), kForm22, kForm22HelpOnShow) {}

const CalculatorDescription& TForm22::Description() {
    return kForm22;
}

TForm9::TForm9(Shell& shell)
    : DividerWindow(shell, WindowClassName(staticMetaObject), kForm9, kForm9HelpOnShow) {}

const CalculatorDescription& TForm9::Description() {
    return kForm9;
}

} // namespace ohmtrim
