#include "windows/star_input_dialog.h"

#include "windows/shell.h"

#include <QLabel>

namespace ohmtrim {

namespace {

using K = ControlKind;

// clang-format off
constexpr ControlSpec kControls[] = {
    // name       kind        left top  width height          caption                                 help max tab
    {"Label13",  K::Label,     32,  10,   0,  0,             "Input node voltages for star circuit",  0,  0, kNoTab},
    {"Label11",  K::Label,     40,  40,   0,  0,             "CASE 1",                                0,  0, kNoTab},
    {"Label12",  K::Label,    208,  40,   0,  0,             "CASE 2",                                0,  0, kNoTab},
    {"Label3",   K::Label,      6,  80,   0,  0,             "U0",                                    0,  0, kNoTab},
    {"Label4",   K::Label,    174,  80,   0,  0,             "U0",                                    0,  0, kNoTab},
    {"Label5",   K::Label,      6, 128,   0,  0,             "U1",                                    0,  0, kNoTab},
    {"Label6",   K::Label,    174, 128,   0,  0,             "U1",                                    0,  0, kNoTab},
    {"Label7",   K::Label,      6, 176,   0,  0,             "U2",                                    0,  0, kNoTab},
    {"Label8",   K::Label,    174, 176,   0,  0,             "U2",                                    0,  0, kNoTab},
    {"Label9",   K::Label,      6, 224,   0,  0,             "U3",                                    0,  0, kNoTab},
    {"Label10",  K::Label,    174, 224,   0,  0,             "U3",                                    0,  0, kNoTab},
    {"Edit1",    K::Input,     40,  72, 120,  kBoxHeight,    "",                                    111,  0, 1},
    {"Edit2",    K::Input,     40, 120, 120,  kBoxHeight,    "",                                    112,  0, 3},
    {"Edit3",    K::Input,     40, 168, 120,  kBoxHeight,    "",                                    113,  0, 5},
    {"Edit4",    K::Input,     40, 216, 120,  kBoxHeight,    "",                                    114,  0, 7},
    {"Edit6",    K::Input,    208,  72, 120,  kBoxHeight,    "",                                    115,  0, 2},
    {"Edit7",    K::Input,    208, 120, 120,  kBoxHeight,    "",                                    116,  0, 4},
    {"Edit8",    K::Input,    208, 168, 120,  kBoxHeight,    "",                                    117,  0, 6},
    {"Edit9",    K::Input,    208, 216, 120,  kBoxHeight,    "",                                    118,  0, 8},
    // The range captions and help contexts come from the caller.
    {"Label1",   K::Label,     48, 264,   0,  0,             "",                                      0,  0, kNoTab},
    {"Edit5",    K::Input,     40, 296, 120,  kBoxHeight,    "",                                      0,  0, 9},
    {"Label2",   K::Label,    216, 264,   0,  0,             "",                                      0,  0, kNoTab},
    {"Edit10",   K::Input,    208, 296, 120,  kBoxHeight,    "",                                      0,  0, 10},
    {"Button1",  K::Button,    40, 344, 121,  kButtonHeight, "&Ok",                                 100,  0, 11},
    {"Button2",  K::Button,   208, 344, 121,  kButtonHeight, "&Close",                              101,  0, 0},
};
// clang-format on

// The boxes in the order "&Ok" reads them, and the member each one fills.
constexpr RecordBox<StarInput> kBoxes[] = {
    {"Edit1", &StarInput::U0Case1}, {"Edit2", &StarInput::U1Case1}, {"Edit3", &StarInput::U2Case1},
    {"Edit4", &StarInput::U3Case1}, {"Edit5", &StarInput::RMin},    {"Edit6", &StarInput::U0Case2},
    {"Edit7", &StarInput::U1Case2}, {"Edit8", &StarInput::U2Case2}, {"Edit9", &StarInput::U3Case2},
    {"Edit10", &StarInput::RMax},
};

} // namespace

TForm14::TForm14(Shell& shell)
    : InputDialog(shell.platform(), WindowClassName(staticMetaObject), "  Input data",
                  QSize(347, 390), kControls, "Button1", "Button2") {}

void TForm14::SetRangeCaptions(const StarRangeCaptions& captions) {
    const std::pair<const char*, std::string_view> labels[] = {{"Label1", captions.minLabel},
                                                               {"Label2", captions.maxLabel}};
    for (const auto& [name, text] : labels) {
        auto* label = control<QLabel>(name);
        label->setText(ToQString(text));
        label->adjustSize();
    }
    SetHelpContext(*control<QWidget>("Edit5"), captions.minHelp);
    SetHelpContext(*control<QWidget>("Edit10"), captions.maxHelp);
}

void TForm14::FormShow() {
    // With accepted numbers, reopening shows them for correction.
    FillBoxes<StarInput>(kBoxes, m_input, m_accepted);
    InputDialog::FormShow();
}

bool TForm14::Accept() {
    StarInput input;
    if (!ReadBoxes<StarInput>(kBoxes, input))
        return false;
    m_input = input;
    m_accepted = true;
    return true;
}

} // namespace ohmtrim
