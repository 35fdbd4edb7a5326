#include "windows/node_windows.h"

#include "circuits/node_chain.h"
#include "windows/shell.h"

#include <QLabel>
#include <QPushButton>

namespace ohmtrim {

namespace {

using K = ControlKind;

// ---- TForm18: the input dialog ---------------------------------------------------

// clang-format off
constexpr ControlSpec kForm18Controls[] = {
    // name      kind       left top  width height          caption                    help max tab
    {"Label1",  K::Label,    16,   8,   0,   0,             "Node voltages:",            0, 0, kNoTab},
    {"Label9",  K::Label,   160,   8,   0,   0,             "U2  OR  U3  is optional",   0, 0, kNoTab},
    {"Label2",  K::Label,    16,  56,   0,   0,             "U1",                        0, 0, kNoTab},
    {"Edit1",   K::Input,    48,  48, 150,   kBoxHeight,    "",                         93, 0, 1},
    {"Label3",  K::Label,   224,  56,   0,   0,             "U2",                        0, 0, kNoTab},
    {"Edit2",   K::Input,   264,  48, 150,   kBoxHeight,    "",                         94, 0, 2},
    {"Label4",  K::Label,    16, 104,   0,   0,             "U3",                        0, 0, kNoTab},
    {"Edit3",   K::Input,    48,  96, 150,   kBoxHeight,    "",                         95, 0, 3},
    {"Label8",  K::Label,   224, 104,   0,   0,             "U4",                        0, 0, kNoTab},
    {"Edit4",   K::Input,   264,  96, 150,   kBoxHeight,    "",                        102, 0, 4},
    {"Label5",  K::Label,    16, 144,   0,   0,             "Total resistance range:",   0, 0, kNoTab},
    {"Label6",  K::Label,    16, 184,   0,   0,             "R min",                     0, 0, kNoTab},
    {"Edit6",   K::Input,    80, 176, 121,   kBoxHeight,    "",                          0, 0, 5},
    {"Label7",  K::Label,   224, 184,   0,   0,             "R max",                     0, 0, kNoTab},
    {"Edit5",   K::Input,   296, 176, 120,   kBoxHeight,    "",                          0, 0, 6},
    {"Button1", K::Button,   16, 224, 190,   kButtonHeight, "&Ok",                     100, 0, 7},
    {"Button2", K::Button,  226, 224, 190,   kButtonHeight, "&Close",                  101, 0, 0},
};
// clang-format on

constexpr QSize kForm18Size(432, 276);

using NodeBox = RecordBox<NodeVoltageInput>;

// The boxes in the order "&Ok" reads them; an empty inner node is "not given".
constexpr NodeBox kForm18Boxes[] = {
    {"Edit1", &NodeVoltageInput::U1},
    {"Edit2", &NodeVoltageInput::U2, &NodeVoltageInput::HasU2},
    {"Edit3", &NodeVoltageInput::U3, &NodeVoltageInput::HasU3},
    {"Edit4", &NodeVoltageInput::U4},
    {"Edit5", &NodeVoltageInput::RMax},
    {"Edit6", &NodeVoltageInput::RMin},
};
// Once U3 is read, "&Ok" checks that enough inner nodes are given before it
// reads the rest.
constexpr std::size_t kBoxesToU3 = 3;

// ---- TForm10: R1, R2, R3 ---------------------------------------------------------

// clang-format off
constexpr ControlSpec kForm10Controls[] = {
    // name        kind         left top  width height          caption                  help max tab
    {"Button2",   K::Button,   300,  16, 320,   kButtonHeight, "&Input data",            92, 0, 1},
    {"Label1",    K::Label,    300,  80,   0,   0,             "R1",                      0, 0, kNoTab},
    {"Edit1",     K::Result,   336,  72, 160,   kBoxHeight,    "",                       31, 0, kNoTab},
    {"ComboBox1", K::ValueSet, 512,  72, 105,   kBoxHeight,    "",                       21, 0, 2},
    {"Label2",    K::Label,    300, 128,   0,   0,             "R2",                      0, 0, kNoTab},
    {"Edit2",     K::Result,   336, 120, 160,   kBoxHeight,    "",                       32, 0, kNoTab},
    {"ComboBox2", K::ValueSet, 512, 120, 105,   kBoxHeight,    "",                       22, 0, 3},
    {"Label3",    K::Label,    300, 176,   0,   0,             "R3",                      0, 0, kNoTab},
    {"Edit3",     K::Result,   336, 168, 160,   kBoxHeight,    "",                       33, 0, kNoTab},
    {"ComboBox3", K::ValueSet, 512, 168, 105,   kBoxHeight,    "",                       23, 0, 4},
    {"Label6",    K::Heading,  336, 216,   0,   0,             "NODE VOLTAGE RESULTS",    0, 0, kNoTab},
    {"Label4",    K::Label,    340, 256,   0,   0,             "U2",                      0, 0, kNoTab},
    {"Edit4",     K::Result,   376, 248, 241,   kBoxHeight,    "",                       90, 0, kNoTab},
    {"Label5",    K::Label,    340, 304,   0,   0,             "U3",                      0, 0, kNoTab},
    {"Edit5",     K::Result,   376, 296, 241,   kBoxHeight,    "",                       91, 0, kNoTab},
    {"Button3",   K::Button,   300, 352, 150,   kButtonHeight, "&Go",                    27, 0, 5},
    {"Button1",   K::Button,   468, 352, 150,   kButtonHeight, "&Close",                 28, 0, 0},
};

constexpr ResultBinding kForm10Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    Derived("Edit4", ResultId::U2),
    Derived("Edit5", ResultId::U3),
};

constexpr RangeHelp kForm10RangeHelp[] = {{0, 96, 97}};

const CalculatorDescription kForm10{
    kForm10Controls, {}, kForm10Results,
    "Button3", "Button1", TitleBarClose::EndProgram,
};
// clang-format on

// ---- TForm11: four to six resistors, three circuit variants ------------------------

// The rows of R5 and R6, the results and the buttons are placed by the
// variant (kForm11Layouts); the tops here are those of variant 1.
// clang-format off
constexpr ControlSpec kForm11Controls[] = {
    // name        kind         left top  width height          caption                  help max tab
    {"Label1",    K::Label,    300,  16,   0,   0,             "R1",                      0, 0, kNoTab},
    {"Edit1",     K::Result,   336,   8, 160,   kBoxHeight,    "",                       31, 0, kNoTab},
    {"ComboBox1", K::ValueSet, 512,   8, 105,   kBoxHeight,    "",                       21, 0, 1},
    {"Label2",    K::Label,    300,  64,   0,   0,             "R2",                      0, 0, kNoTab},
    {"Edit2",     K::Result,   336,  56, 160,   kBoxHeight,    "",                       32, 0, kNoTab},
    {"ComboBox2", K::ValueSet, 512,  56, 105,   kBoxHeight,    "",                       22, 0, 2},
    {"Label3",    K::Label,    300, 112,   0,   0,             "R3",                      0, 0, kNoTab},
    {"Edit3",     K::Result,   336, 104, 160,   kBoxHeight,    "",                       33, 0, kNoTab},
    {"ComboBox3", K::ValueSet, 512, 104, 105,   kBoxHeight,    "",                       23, 0, 3},
    {"Label4",    K::Label,    300, 160,   0,   0,             "R4",                      0, 0, kNoTab},
    {"Edit4",     K::Result,   336, 152, 160,   kBoxHeight,    "",                       34, 0, kNoTab},
    {"ComboBox4", K::ValueSet, 512, 152, 105,   kBoxHeight,    "",                       24, 0, 4},
    {"Label5",    K::Label,    300, 208,   0,   0,             "R5",                      0, 0, kNoTab},
    {"Edit5",     K::Result,   336, 200, 160,   kBoxHeight,    "",                       35, 0, kNoTab},
    {"ComboBox5", K::ValueSet, 512, 200, 105,   kBoxHeight,    "",                       25, 0, 5},
    {"Label6",    K::Label,    300, 256,   0,   0,             "R6",                      0, 0, kNoTab},
    {"Edit6",     K::Result,   336, 248, 160,   kBoxHeight,    "",                       36, 0, kNoTab},
    {"ComboBox6", K::ValueSet, 512, 248, 105,   kBoxHeight,    "",                       26, 0, 6},
    {"Label7",    K::Heading,  336, 238,   0,   0,             "NODE VOLTAGE RESULTS",    0, 0, kNoTab},
    {"Label8",    K::Label,    300, 270,   0,   0,             "U2",                      0, 0, kNoTab},
    {"Edit7",     K::Result,   336, 262, 121,   kBoxHeight,    "",                      103, 0, kNoTab},
    {"Label9",    K::Label,    464, 270,   0,   0,             "U3",                      0, 0, kNoTab},
    {"Edit8",     K::Result,   496, 262, 121,   kBoxHeight,    "",                      104, 0, kNoTab},
    {"Button2",   K::Button,   300, 350, 117,   kButtonHeight, "&Input data",            92, 0, 7},
    {"Button3",   K::Button,   432, 350,  81,   kButtonHeight, "&Go",                    27, 0, 8},
    {"Button1",   K::Button,   528, 350,  92,   kButtonHeight, "&Close",                 28, 0, 0},
};

constexpr ResultBinding kForm11Results[] = {
    ChosenValue("Edit1", 1),
    ChosenValue("Edit2", 2),
    ChosenValue("Edit3", 3),
    ChosenValue("Edit4", 4),
    ChosenValue("Edit5", 5),
    ChosenValue("Edit6", 6),
    Derived("Edit7", ResultId::U2),
    Derived("Edit8", ResultId::U3),
};

constexpr RangeHelp kForm11RangeHelp[] = {
    // variant R max R min
    {1, 161, 160},
    {2, 163, 162},
    {3,  99,  98},
};

// What the circuit variant changes: which of the rows R5, R6 are shown, and
// the tops of the heading, the result labels, the result boxes and the buttons.
struct NodeVariantLayout {
    int variant;
    bool rowR5;
    bool rowR6;
    int headingTop;
    int resultLabelTop;
    int resultBoxTop;
    int buttonTop;
};

constexpr NodeVariantLayout kForm11Layouts[] = {
    // variant R5     R6     heading labels boxes buttons
    {1,       false, false, 238,    270,   262,  350},
    {2,       true,  false, 258,    290,   282,  350},
    {3,       true,  true,  288,    320,   312,  356},
};

const CalculatorDescription kForm11{
    kForm11Controls, {}, kForm11Results,
    "Button3", "Button1", TitleBarClose::EndProgram,
};
// clang-format on

} // namespace

// ---- TForm18 -------------------------------------------------------------------------

TForm18::TForm18(Shell& shell)
    : InputDialog(shell.platform(), WindowClassName(staticMetaObject), "  Input data", kForm18Size,
                  kForm18Controls, "Button1", "Button2") {}

void TForm18::setRangeHelp(int rmaxContext, int rminContext) {
    if (auto* rmax = control<QWidget>("Edit5"))
        SetHelpContext(*rmax, rmaxContext);
    if (auto* rmin = control<QWidget>("Edit6"))
        SetHelpContext(*rmin, rminContext);
}

void TForm18::FormShow() {
    // The values come back only once confirmed during this visit of the window.
    FillBoxes<NodeVoltageInput>(kForm18Boxes, m_state.record, m_state.NodeInputReady);
    if (auto* optional = control<QLabel>("Label9"))
        optional->setVisible(m_state.OptionalU2U3);
    InputDialog::FormShow();
}

bool TForm18::Accept() {
    const std::span<const NodeBox> boxes(kForm18Boxes);
    NodeVoltageInput record;
    if (!ReadBoxes(boxes.first(kBoxesToU3), record))
        return false;
    if (record.HasU2 + record.HasU3 < (m_state.OptionalU2U3 ? 1 : 2))
        return false;
    if (!ReadBoxes(boxes.subspan(kBoxesToU3), record))
        return false;
    m_state.record = record;
    m_state.NodeInputReady = true;
    return true;
}

// ---- the windows ------------------------------------------------------------------

NodeChainWindow::NodeChainWindow(Shell& shell, std::string_view className,
                                 const CalculatorDescription& description,
                                 std::span<const RangeHelp> rangeHelp)
    : CalculatorWindow(shell, className, description), m_rangeHelp(rangeHelp) {
    if (auto* input = control<QPushButton>("Button2"))
        connect(input, &QPushButton::clicked, this, &NodeChainWindow::Button2Click);
}

TForm18* NodeChainWindow::dialog() {
    return qobject_cast<TForm18*>(
        shell().registeredWindow(WindowClassName(TForm18::staticMetaObject)));
}

void NodeChainWindow::Button2Click() {
    TForm18* d = dialog();
    if (d == nullptr)
        return;
    const int variant = entry().variant;
    for (const auto& row : m_rangeHelp)
        if (row.variant == variant)
            d->setRangeHelp(row.rmax, row.rmin);
    d->Open(this);
}

void NodeChainWindow::ShowExtras() {
    // Every visit starts with new input data.
    if (TForm18* d = dialog()) {
        d->state().NodeInputReady = false;
        d->state().OptionalU2U3 = InnerNodesNeeded(entry()) == 1;
    }
}

bool NodeChainWindow::ReadInputs(const CatalogueEntry&, std::span<const InputText>,
                                 SolveInputs& in) {
    TForm18* d = dialog();
    if (d == nullptr || !d->state().NodeInputReady)
        return false;
    in = d->state().record;
    return true;
}

TForm10::TForm10(Shell& shell)
    : NodeChainWindow(shell, WindowClassName(staticMetaObject), kForm10, kForm10RangeHelp) {}

TForm11::TForm11(Shell& shell)
    : NodeChainWindow(shell, WindowClassName(staticMetaObject), kForm11, kForm11RangeHelp) {
    ApplyVariantLayout();
}

void TForm11::ShowExtras() {
    ApplyVariantLayout();
    NodeChainWindow::ShowExtras();
}

void TForm11::ApplyVariantLayout() {
    const int variant = entry().variant;
    for (const auto& layout : kForm11Layouts) {
        if (layout.variant != variant)
            continue;
        for (const char* name : {"Label5", "Edit5", "ComboBox5"})
            control<QWidget>(name)->setVisible(layout.rowR5);
        for (const char* name : {"Label6", "Edit6", "ComboBox6"})
            control<QWidget>(name)->setVisible(layout.rowR6);
        const auto moveTo = [this](const char* name, int top) {
            QWidget* w = control<QWidget>(name);
            w->move(w->x(), top);
        };
        moveTo("Label7", layout.headingTop);
        for (const char* name : {"Label8", "Label9"})
            moveTo(name, layout.resultLabelTop);
        for (const char* name : {"Edit7", "Edit8"})
            moveTo(name, layout.resultBoxTop);
        for (const char* name : {"Button1", "Button2", "Button3"})
            moveTo(name, layout.buttonTop);
    }
}

} // namespace ohmtrim
