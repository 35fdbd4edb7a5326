#include "windows/star_input_dialog.h"

#include "circuits/format.h"
#include "circuits/solve.h"
#include "platform/platform.h"
#include "valuesets/number.h"
#include "windows/control_table.h"
#include "windows/shell.h"

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <array>
#include <string>

namespace ohmtrim {

// ---- NumberInputDialog ------------------------------------------------------------

NumberInputDialog::NumberInputDialog(Platform& platform, std::string_view className,
                                     QSize clientSize)
    : Form(platform, className, clientSize) {
    setWindowModality(Qt::ApplicationModal);
}

void NumberInputDialog::ShowModal(QWidget* owner) {
    if (isVisible() || m_loop != nullptr)
        return;
    // Above the calculator window that opened it, also for window managers
    // that would otherwise put a new window anywhere.
    if (owner != nullptr) {
        winId();
        if (QWindow* own = windowHandle())
            own->setTransientParent(owner->window()->windowHandle());
    }
    QEventLoop loop;
    m_loop = &loop;
    show();
    // The keyboard belongs to the dialog while it is open.
    raise();
    activateWindow();
    // Hiding quits the loop; a dialog already hidden again has nothing to
    // wait for.
    if (isVisible())
        loop.exec();
    m_loop = nullptr;
}

void NumberInputDialog::FormHide() {
    if (m_loop != nullptr)
        m_loop->quit();
}

bool NumberInputDialog::ReadBoxes(std::span<const std::string_view> edits,
                                  std::span<double> numbers) {
    for (std::size_t i = 0; i < edits.size() && i < numbers.size(); ++i) {
        auto* edit = control<QLineEdit>(edits[i]);
        const std::string raw = edit->text().toStdString();
        const std::string_view trimmed = TrimBlanksAndControls(raw);
        edit->setText(QString::fromUtf8(trimmed.data(), static_cast<qsizetype>(trimmed.size())));
        if (!ReadDialogNumber(trimmed, numbers[i])) {
            platform().Beep();
            return false;
        }
    }
    return true;
}

void NumberInputDialog::FillBoxes(std::span<const std::string_view> edits,
                                  std::span<const double> numbers) {
    for (std::size_t i = 0; i < edits.size() && i < numbers.size(); ++i)
        control<QLineEdit>(edits[i])->setText(ToQString(FormatValue(numbers[i])));
}

void NumberInputDialog::ClearBoxes(std::span<const std::string_view> edits) {
    for (const auto name : edits)
        control<QLineEdit>(name)->clear();
}

void NumberInputDialog::MoveToDesktopCentre() {
    if (const QScreen* s = screen()) {
        const QRect frame = frameGeometry();
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}

// ---- TForm14 ------------------------------------------------------------------------

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

// The boxes in the order "&Ok" reads them, and the field each one fills.
constexpr std::array<std::string_view, 10> kBoxes = {
    "Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10",
};
constexpr std::array<double StarInput::*, 10> kFields = {
    &StarInput::U0Case1, &StarInput::U1Case1, &StarInput::U2Case1, &StarInput::U3Case1,
    &StarInput::RMin,    &StarInput::U0Case2, &StarInput::U1Case2, &StarInput::U2Case2,
    &StarInput::U3Case2, &StarInput::RMax,
};

} // namespace

TForm14::TForm14(Shell& shell)
    : NumberInputDialog(shell.platform(), WindowClassName(staticMetaObject), QSize(347, 390)) {
    setWindowTitle(QStringLiteral("  Input data"));
    BuildControls(*this, kControls);
    connect(control<QPushButton>("Button1"), &QPushButton::clicked, this, &TForm14::Button1Click);
    connect(control<QPushButton>("Button2"), &QPushButton::clicked, this, &TForm14::Button2Click);
}

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
    if (m_accepted) {
        std::array<double, kBoxes.size()> numbers{};
        for (std::size_t i = 0; i < kBoxes.size(); ++i)
            numbers[i] = m_input.*kFields[i];
        FillBoxes(kBoxes, numbers);
    } else {
        ClearBoxes(kBoxes);
    }
    MoveToDesktopCentre();
    if (FirstShow())
        FocusFirstControl(kControls);
}

void TForm14::Button1Click() {
    std::array<double, kBoxes.size()> numbers{};
    if (!ReadBoxes(kBoxes, numbers))
        return;
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        m_input.*kFields[i] = numbers[i];
    m_accepted = true;
    hide();
}

void TForm14::Button2Click() {
    hide();
}

} // namespace ohmtrim
