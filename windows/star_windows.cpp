#include "windows/star_windows.h"

#include "windows/search_runner.h"
#include "windows/shell.h"

#include <QPushButton>

namespace ohmtrim {

namespace {

using K = ControlKind;

// What the dialog shows beside its range boxes for a branch 1 of one
// resistor, of R1+R2 and of R1//R2.
constexpr StarRangeCaptions kSingleFirst{"R1  min", "R1  max", 119, 120};
constexpr StarRangeCaptions kSeriesFirst{"R1+R2  min", "R1+R2  max", 123, 124};
constexpr StarRangeCaptions kParallelFirst{"R1//R2  min", "R1//R2  max", 121, 122};

// ---- TForm12: R1, R2, R3 -----------------------------------------------------------

// clang-format off
constexpr ControlSpec kForm12Controls[] = {
    // name        kind         left top  width height          caption                 help max tab
    {"Button2",   K::Button,   300,  16, 320,  kButtonHeight, "&Input data",          107,  0, 4},
    {"Label1",    K::Label,    300,  80,   0,  0,             "R1",                     0,  0, kNoTab},
    {"Edit1",     K::Result,   332,  72, 165,  kBoxHeight,    "",                      31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 512,  72, 105,  kBoxHeight,    "",                      21,  0, 1},
    {"Label2",    K::Label,    300, 128,   0,  0,             "R2",                     0,  0, kNoTab},
    {"Edit2",     K::Result,   332, 120, 165,  kBoxHeight,    "",                      32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 512, 120, 105,  kBoxHeight,    "",                      22,  0, 2},
    {"Label3",    K::Label,    300, 176,   0,  0,             "R3",                     0,  0, kNoTab},
    {"Edit3",     K::Result,   332, 168, 165,  kBoxHeight,    "",                      33,  0, kNoTab},
    {"ComboBox3", K::ValueSet, 512, 168, 105,  kBoxHeight,    "",                      23,  0, 3},
    {"Label4",    K::Heading,  336, 224,   0,  0,             "NODE VOLTAGE RESULTS",   0,  0, kNoTab},
    {"Label5",    K::Heading,  336, 256,   0,  0,             "CASE 1",                 0,  0, kNoTab},
    {"Label6",    K::Heading,  498, 256,   0,  0,             "CASE 2",                 0,  0, kNoTab},
    {"Label7",    K::Label,    300, 296,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit4",     K::Result,   336, 288, 121,  kBoxHeight,    "",                     105,  0, kNoTab},
    {"Label8",    K::Label,    464, 296,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit5",     K::Result,   498, 288, 121,  kBoxHeight,    "",                     106,  0, kNoTab},
    {"Button3",   K::Button,   300, 352, 161,  kButtonHeight, "&Go",                   27,  0, 5},
    {"Button1",   K::Button,   480, 352, 140,  kButtonHeight, "&Close",                28,  0, 0},
};
// clang-format on

constexpr ResultBinding kForm12Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    Derived("Edit4", ResultId::U0Case1),
    Derived("Edit5", ResultId::U0Case2),
};

constexpr StarDialogRange kForm12Ranges[] = {{0, kSingleFirst}};

const StarWindowDescription kForm12{
    {kForm12Controls, {}, kForm12Results, "Button3", "Button1", TitleBarClose::EndProgram},
    "Button2",
    kForm12Ranges,
};

// ---- TForm19: R1+R2 or R1//R2, R3, R4 ----------------------------------------------

// clang-format off
constexpr ControlSpec kForm19Controls[] = {
    // name        kind         left top  width height          caption                 help max tab
    {"Button3",   K::Button,   304,  12, 320,  kButtonHeight, "&Input data",          110,  0, 2},
    {"Label1",    K::Label,    304,  72,   0,  0,             "R1",                     0,  0, kNoTab},
    {"Edit1",     K::Result,   340,  64, 165,  kBoxHeight,    "",                      31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 520,  64, 105,  kBoxHeight,    "",                      21,  0, 3},
    {"Label2",    K::Label,    304, 120,   0,  0,             "R2",                     0,  0, kNoTab},
    {"Edit2",     K::Result,   340, 112, 165,  kBoxHeight,    "",                      32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 520, 112, 105,  kBoxHeight,    "",                      22,  0, 4},
    {"Label3",    K::Label,    304, 168,   0,  0,             "R3",                     0,  0, kNoTab},
    {"Edit3",     K::Result,   340, 160, 165,  kBoxHeight,    "",                      33,  0, kNoTab},
    {"ComboBox3", K::ValueSet, 520, 160, 105,  kBoxHeight,    "",                      23,  0, 5},
    {"Label4",    K::Label,    304, 216,   0,  0,             "R4",                     0,  0, kNoTab},
    {"Edit4",     K::Result,   340, 208, 165,  kBoxHeight,    "",                      34,  0, kNoTab},
    {"ComboBox4", K::ValueSet, 520, 208, 105,  kBoxHeight,    "",                      24,  0, 6},
    {"Label5",    K::Heading,  340, 250,   0,  0,             "NODE VOLTAGE RESULTS",   0,  0, kNoTab},
    {"Label6",    K::Heading,  340, 278,   0,  0,             "CASE1",                  0,  0, kNoTab},
    {"Label7",    K::Heading,  496, 278,   0,  0,             "CASE2",                  0,  0, kNoTab},
    {"Label8",    K::Label,    304, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit5",     K::Result,   340, 304, 121,  kBoxHeight,    "",                     108,  0, kNoTab},
    {"Label9",    K::Label,    464, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit6",     K::Result,   496, 304, 121,  kBoxHeight,    "",                     109,  0, kNoTab},
    {"Button2",   K::Button,   304, 352, 153,  kButtonHeight, "&Go",                   27,  0, 1},
    {"Button1",   K::Button,   496, 352, 125,  kButtonHeight, "&Close",                28,  0, 0},
};
// clang-format on

constexpr ResultBinding kForm19Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    ChosenValue("Edit4", 4),
    Derived("Edit5", ResultId::U0Case1),
    Derived("Edit6", ResultId::U0Case2),
};

constexpr StarDialogRange kForm19Ranges[] = {{1, kSeriesFirst}, {2, kParallelFirst}};

const StarWindowDescription kForm19{
    {kForm19Controls, {}, kForm19Results, "Button2", "Button1", TitleBarClose::ReturnToMain},
    "Button3",
    kForm19Ranges,
};

// ---- TForm21: R1, two pairs ----------------------------------------------------------

// clang-format off
constexpr ControlSpec kForm21Controls[] = {
    // name        kind         left top  width height          caption                 help max tab
    {"Label1",    K::Label,    300,  24,   0,  0,             "R1",                     0,  0, kNoTab},
    {"Edit1",     K::Result,   340,  16, 165,  kBoxHeight,    "",                      31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 520,  16, 105,  kBoxHeight,    "",                      21,  0, 3},
    {"Label2",    K::Label,    300,  72,   0,  0,             "R2",                     0,  0, kNoTab},
    {"Edit2",     K::Result,   340,  64, 165,  kBoxHeight,    "",                      32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 520,  64, 105,  kBoxHeight,    "",                      22,  0, 4},
    {"Label3",    K::Label,    300, 120,   0,  0,             "R3",                     0,  0, kNoTab},
    {"Edit3",     K::Result,   340, 112, 165,  kBoxHeight,    "",                      33,  0, kNoTab},
    {"ComboBox3", K::ValueSet, 520, 112, 105,  kBoxHeight,    "",                      23,  0, 5},
    {"Label4",    K::Label,    300, 168,   0,  0,             "R4",                     0,  0, kNoTab},
    {"Edit4",     K::Result,   340, 160, 165,  kBoxHeight,    "",                      34,  0, kNoTab},
    {"ComboBox4", K::ValueSet, 520, 160, 105,  kBoxHeight,    "",                      24,  0, 6},
    {"Label5",    K::Label,    300, 216,   0,  0,             "R5",                     0,  0, kNoTab},
    {"Edit5",     K::Result,   340, 208, 165,  kBoxHeight,    "",                      35,  0, kNoTab},
    {"ComboBox5", K::ValueSet, 520, 208, 105,  kBoxHeight,    "",                      25,  0, 7},
    {"Label6",    K::Heading,  340, 250,   0,  0,             "NODE VOLTAGE RESULTS",   0,  0, kNoTab},
    {"Label7",    K::Heading,  340, 278,   0,  0,             "CASE1",                  0,  0, kNoTab},
    {"Label8",    K::Heading,  504, 278,   0,  0,             "CASE2",                  0,  0, kNoTab},
    {"Label9",    K::Label,    300, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit6",     K::Result,   340, 304, 121,  kBoxHeight,    "",                     108,  0, kNoTab},
    {"Label10",   K::Label,    470, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit7",     K::Result,   504, 304, 121,  kBoxHeight,    "",                     109,  0, kNoTab},
    {"Button3",   K::Button,   300, 352, 120,  kButtonHeight, "&Input data",          107,  0, 2},
    {"Button2",   K::Button,   434, 352,  74,  kButtonHeight, "&Go",                   27,  0, 1},
    {"Button1",   K::Button,   520, 352, 103,  kButtonHeight, "&Close",                28,  0, 0},
};
// clang-format on

constexpr ResultBinding kForm21Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    ChosenValue("Edit4", 4),
    ChosenValue("Edit5", 5),
    Derived("Edit6", ResultId::U0Case1),
    Derived("Edit7", ResultId::U0Case2),
};

constexpr StarDialogRange kForm21Ranges[] = {{0, kSingleFirst}};

const StarWindowDescription kForm21{
    {kForm21Controls, {}, kForm21Results, "Button2", "Button1", TitleBarClose::ReturnToMain},
    "Button3",
    kForm21Ranges,
};

// ---- TForm13: three parallel pairs ---------------------------------------------------

// clang-format off
constexpr ControlSpec kForm13Controls[] = {
    // name        kind         left top  width height          caption                 help max tab
    {"Label1",    K::Label,    300,  16,   0,  0,             "R1",                     0,  0, kNoTab},
    {"Edit1",     K::Result,   340,   8, 165,  kBoxHeight,    "",                      31,  0, kNoTab},
    {"ComboBox1", K::ValueSet, 520,   8, 105,  kBoxHeight,    "",                      21,  0, 1},
    {"Label2",    K::Label,    300,  56,   0,  0,             "R2",                     0,  0, kNoTab},
    {"Edit2",     K::Result,   340,  48, 165,  kBoxHeight,    "",                      32,  0, kNoTab},
    {"ComboBox2", K::ValueSet, 520,  48, 105,  kBoxHeight,    "",                      22,  0, 2},
    {"Label3",    K::Label,    300,  96,   0,  0,             "R3",                     0,  0, kNoTab},
    {"Edit3",     K::Result,   340,  88, 165,  kBoxHeight,    "",                      33,  0, kNoTab},
    {"ComboBox3", K::ValueSet, 520,  88, 105,  kBoxHeight,    "",                      23,  0, 3},
    {"Label4",    K::Label,    300, 136,   0,  0,             "R4",                     0,  0, kNoTab},
    {"Edit4",     K::Result,   340, 128, 165,  kBoxHeight,    "",                      34,  0, kNoTab},
    {"ComboBox4", K::ValueSet, 520, 128, 105,  kBoxHeight,    "",                      24,  0, 4},
    {"Label5",    K::Label,    300, 176,   0,  0,             "R5",                     0,  0, kNoTab},
    {"Edit5",     K::Result,   340, 168, 165,  kBoxHeight,    "",                      35,  0, kNoTab},
    {"ComboBox5", K::ValueSet, 520, 168, 105,  kBoxHeight,    "",                      25,  0, 5},
    {"Label6",    K::Label,    300, 224,   0,  0,             "R6",                     0,  0, kNoTab},
    {"Edit6",     K::Result,   340, 216, 165,  kBoxHeight,    "",                      36,  0, kNoTab},
    {"ComboBox6", K::ValueSet, 520, 216, 105,  kBoxHeight,    "",                      26,  0, 6},
    {"Label7",    K::Heading,  340, 254,   0,  0,             "NODE VOLTAGE RESULTS",   0,  0, kNoTab},
    {"Label8",    K::Heading,  340, 280,   0,  0,             "CASE 1",                 0,  0, kNoTab},
    {"Label9",    K::Heading,  504, 280,   0,  0,             "CASE 2",                 0,  0, kNoTab},
    {"Label10",   K::Label,    300, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit7",     K::Result,   340, 304, 121,  kBoxHeight,    "",                     108,  0, kNoTab},
    {"Label11",   K::Label,    470, 312,   0,  0,             "U0",                     0,  0, kNoTab},
    {"Edit8",     K::Result,   504, 304, 121,  kBoxHeight,    "",                     109,  0, kNoTab},
    {"Button2",   K::Button,   296, 352, 120,  kButtonHeight, "&Input data",          110,  0, 7},
    {"Button3",   K::Button,   432, 352,  74,  kButtonHeight, "&Go",                   27,  0, 8},
    {"Button1",   K::Button,   520, 352, 103,  kButtonHeight, "&Close",                28,  0, 0},
};
// clang-format on

constexpr ResultBinding kForm13Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    ChosenValue("Edit4", 4),
    ChosenValue("Edit5", 5),
    ChosenValue("Edit6", 6),
    Derived("Edit7", ResultId::U0Case1),
    Derived("Edit8", ResultId::U0Case2),
};

constexpr StarDialogRange kForm13Ranges[] = {{0, kParallelFirst}};

const StarWindowDescription kForm13{
    {kForm13Controls, {}, kForm13Results, "Button3", "Button1", TitleBarClose::EndProgram},
    "Button2",
    kForm13Ranges,
};

} // namespace

StarWindow::StarWindow(Shell& shell, std::string_view className,
                       const StarWindowDescription& description)
    : CalculatorWindow(shell, className, description.calculator), m_star(description) {
    if (auto* input = control<QPushButton>(description.inputButton))
        connect(input, &QPushButton::clicked, this, &StarWindow::InputDataClick);
}

TForm14* StarWindow::Dialog() {
    return qobject_cast<TForm14*>(
        shell().registeredWindow(WindowClassName(TForm14::staticMetaObject)));
}

void StarWindow::ShowExtras() {
    // Every visit starts without input data, also when the dialog still
    // holds numbers another star window (or this one) accepted before.
    if (TForm14* dialog = Dialog())
        dialog->ForgetInput();
}

bool StarWindow::ReadInputs(const CatalogueEntry&, std::span<const InputText>, SolveInputs& in) {
    const TForm14* dialog = Dialog();
    if (dialog == nullptr || !dialog->inputAccepted())
        return false;
    in = dialog->input();
    return true;
}

void StarWindow::InputDataClick() {
    TForm14* dialog = Dialog();
    if (dialog == nullptr || shell().searchRunner().busy())
        return;
    const int variant = entry().variant;
    for (const auto& range : m_star.ranges)
        if (range.variant == 0 || range.variant == variant)
            dialog->SetRangeCaptions(range.captions);
    // The outcome needs no looking at: the dialog's flag carries it.
    dialog->Open(this);
}

TForm12::TForm12(Shell& shell) : StarWindow(shell, WindowClassName(staticMetaObject), kForm12) {}

const StarWindowDescription& TForm12::Description() {
    return kForm12;
}

TForm19::TForm19(Shell& shell) : StarWindow(shell, WindowClassName(staticMetaObject), kForm19) {}

const StarWindowDescription& TForm19::Description() {
    return kForm19;
}

TForm21::TForm21(Shell& shell) : StarWindow(shell, WindowClassName(staticMetaObject), kForm21) {}

const StarWindowDescription& TForm21::Description() {
    return kForm21;
}

TForm13::TForm13(Shell& shell) : StarWindow(shell, WindowClassName(staticMetaObject), kForm13) {}

const StarWindowDescription& TForm13::Description() {
    return kForm13;
}

} // namespace ohmtrim
