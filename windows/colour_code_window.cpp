#include "windows/colour_code_window.h"

#include "circuits/catalogue.h"
#include "windows/calculator_window.h"
#include "windows/shell.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace ohmtrim {

namespace {

using K = ControlKind;

constexpr int kListWidth = 185;
constexpr int kBoxWidth = 190;

// Labels size themselves to their text, so their width and height stay 0.
// Label8, ComboBox4, Label9 and ComboBox5 stand where the four-band layout
// puts them; the mode layout below moves them.

// clang-format off
constexpr ControlSpec kControls[] = {
    // name          kind           left top  width       height          caption                                  help max tab
    {"RadioGroup1", K::RadioGroup, 19,   16, 262,        73,             "Mode|Four Band|Five Band",              206, 0,  0},
    {"Label12",     K::Label,      294,  30,   0,        0,              "Select mode and band colors or input",  0,   0,  kNoTab},
    {"Label13",     K::Label,      294,  68,   0,        0,              " R / Tolerance and press Go-button.",   0,   0,  kNoTab},
    {"Label5",      K::Label,      24,  128,   0,        0,              "Band 1",                                0,   0,  kNoTab},
    {"ComboBox1",   K::List,       104, 120, kListWidth, kBoxHeight,     "",                                      207, 0,  1},
    {"Label6",      K::Label,      24,  184,   0,        0,              "Band 2",                                0,   0,  kNoTab},
    {"ComboBox2",   K::List,       104, 176, kListWidth, kBoxHeight,     "",                                      208, 0,  2},
    {"Label7",      K::Label,      24,  240,   0,        0,              "Band 3",                                0,   0,  kNoTab},
    {"ComboBox3",   K::List,       104, 232, kListWidth, kBoxHeight,     "",                                      209, 0,  3},
    {"Label8",      K::Label,      24,  240,   0,        0,              "Band 3",                                0,   0,  kNoTab},
    {"ComboBox4",   K::List,       104, 232, kListWidth, kBoxHeight,     "",                                      210, 0,  4},
    {"Label9",      K::Label,      24,  296,   0,        0,              "Band 4",                                0,   0,  kNoTab},
    {"ComboBox5",   K::List,       104, 288, kListWidth, kBoxHeight,     "",                                      211, 0,  5},
    {"Label1",      K::Label,      334, 128,   0,        0,              "R",                                     0,   0,  kNoTab},
    {"Edit1",       K::Input,      368, 120, kBoxWidth,  kBoxHeight,     "",                                      201, 20, 6},
    {"Label2",      K::Label,      560, 128,   0,        0,              "ohm",                                   0,   0,  kNoTab},
    {"Label3",      K::Label,      318, 184,   0,        0,              "Tol.",                                  0,   0,  kNoTab},
    {"Edit2",       K::Input,      368, 176, kBoxWidth,  kBoxHeight,     "",                                      202, 16, 7},
    {"Label4",      K::Label,      560, 184,   0,        0,              "%",                                     0,   0,  kNoTab},
    {"Label10",     K::Label,      310, 240,   0,        0,              "Max.",                                  0,   0,  kNoTab},
    {"Edit3",       K::Result,     368, 232, kBoxWidth,  kBoxHeight,     "",                                      203, 0,  kNoTab},
    {"Label14",     K::Label,      560, 240,   0,        0,              "ohm",                                   0,   0,  kNoTab},
    {"Label11",     K::Label,      318, 296,   0,        0,              "Min.",                                  0,   0,  kNoTab},
    {"Edit4",       K::Result,     368, 288, kBoxWidth,  kBoxHeight,     "",                                      204, 0,  kNoTab},
    {"Label15",     K::Label,      560, 296,   0,        0,              "ohm",                                   0,   0,  kNoTab},
    {"Button2",     K::Button,     294, 344, 150,        45,             "&Go",                                   205, 0,  8},
    {"Button1",     K::Button,     468, 344, 150,        45,             "&Close",                                28,  0,  9},
};

// Where the mode puts the third-digit, multiplier and tolerance bands.
struct ModeRow {
    std::string_view name;
    int top;
    std::string_view caption; // labels only
    bool shown;
};

constexpr ModeRow kFourBandLayout[] = {
    {"Label7",    240, "Band 3", false},
    {"ComboBox3", 232, "",       false},
    {"Label8",    240, "Band 3", true},
    {"ComboBox4", 232, "",       true},
    {"Label9",    296, "Band 4", true},
    {"ComboBox5", 288, "",       true},
};

constexpr ModeRow kFiveBandLayout[] = {
    {"Label7",    240, "Band 3", true},
    {"ComboBox3", 232, "",       true},
    {"Label8",    296, "Band 4", true},
    {"ComboBox4", 288, "",       true},
    {"Label9",    352, "Band 5", true},
    {"ComboBox5", 344, "",       true},
};
// clang-format on

// The band lists by BandList order.
constexpr std::string_view kListNames[kBandListCount] = {"ComboBox1", "ComboBox2", "ComboBox3",
                                                         "ComboBox4", "ComboBox5"};

constexpr int kSwatchSize = 14;

// A small square of the band's paint beside its name; items without paint
// get an empty square so that every name starts in the same column.
QIcon SwatchIcon(BandColour colour) {
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    if (const auto rgb = BandSwatch(colour)) {
        QPainter p(&pixmap);
        // The outline keeps white, silver and yellow visible on the list's
        // light background.
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(rgb->r, rgb->g, rgb->b));
        p.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    }
    return QIcon(pixmap);
}

std::string_view CaptionOf(const QMetaObject& type) {
    const std::string_view className = WindowClassName(type);
    for (const auto& e : Catalogue())
        if (e.window == className)
            return e.caption;
    return className;
}

} // namespace

TForm23::TForm23(Shell& shell)
    : Form(shell.platform(), WindowClassName(staticMetaObject), QSize(kClientWidth, kClientHeight)),
      m_shell(shell) {
    setWindowTitle(ToQString(CaptionOf(staticMetaObject)));
    BuildControls(*this, kControls);
    m_modes = findChild<QButtonGroup*>();
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        m_lists[i] = findChild<QComboBox*>(ToQString(kListNames[i]), Qt::FindDirectChildrenOnly);
        const auto list = static_cast<BandList>(i);
        connect(m_lists[i], &QComboBox::activated, this, [this, list] { ComboBoxChange(list); });
    }
    const auto edit = [this](const char* name) {
        return findChild<QLineEdit*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    m_resistance = edit("Edit1");
    m_tolerance = edit("Edit2");
    m_maximum = edit("Edit3");
    m_minimum = edit("Edit4");
    const auto button = [this](const char* name) {
        return findChild<QPushButton*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    };
    connect(button("Button2"), &QPushButton::clicked, this, &TForm23::Button2Click);
    connect(button("Button1"), &QPushButton::clicked, this, &TForm23::Button1Click);
    setDefaultButton("Button2");
    // A click on the chosen mode changes nothing, so it clears nothing.
    connect(m_modes, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RadioGroup1Click();
    });
    FormCreate();
}

void TForm23::FormCreate() {
    for (std::size_t i = 0; i < m_lists.size(); ++i) {
        QComboBox* combo = m_lists[i];
        combo->setIconSize(QSize(kSwatchSize, kSwatchSize));
        for (const BandColour colour : BandItems(static_cast<BandList>(i)))
            combo->addItem(SwatchIcon(colour), ToQString(BandColourName(colour)));
    }
    m_modes->button(static_cast<int>(BandMode::Four))->setChecked(true);
    ApplyModeAndReset(BandMode::Four);
}

void TForm23::FormShow() {
    moveClientTo(m_shell.sharedPosition());
    if (FirstShow())
        FocusFirstControl(kControls);
}

void TForm23::FormHide() {
    m_shell.setSharedPosition(clientPosition());
}

void TForm23::FormClose(QCloseEvent* event) {
    event->accept();
    m_shell.closeMainWindow();
}

void TForm23::RadioGroup1Click() {
    const bool five = m_modes->checkedId() == static_cast<int>(BandMode::Five);
    ApplyModeAndReset(five ? BandMode::Five : BandMode::Four);
}

void TForm23::ComboBoxChange(BandList list) {
    ReadBoxes();
    SelectBand(m_state, list, m_lists[static_cast<std::size_t>(list)]->currentIndex());
    ShowState();
}

void TForm23::Button2Click() {
    ReadBoxes();
    // A resistance the code cannot carry shows as an empty R box with the
    // value bands "not known"; the tolerance is read either way.
    PressColourGo(m_state);
    ShowState();
}

void TForm23::Button1Click() {
    hide();
    ResetColourCode(m_state, m_state.mode);
    ShowState();
    m_shell.showMainWindow();
}

void TForm23::ApplyModeAndReset(BandMode mode) {
    ResetColourCode(m_state, mode);
    ShowState();
    ApplyModeLayout();
}

void TForm23::ApplyModeLayout() {
    const std::span<const ModeRow> rows = m_state.mode == BandMode::Five
                                              ? std::span<const ModeRow>(kFiveBandLayout)
                                              : std::span<const ModeRow>(kFourBandLayout);
    for (const ModeRow& row : rows) {
        auto* w = findChild<QWidget*>(ToQString(row.name), Qt::FindDirectChildrenOnly);
        w->move(w->x(), row.top);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(ToQString(row.caption));
            label->adjustSize();
        }
        w->setVisible(row.shown);
    }
}

void TForm23::ReadBoxes() {
    m_state.resistanceText = m_resistance->text().toStdString();
    m_state.toleranceText = m_tolerance->text().toStdString();
}

void TForm23::ShowState() {
    for (std::size_t i = 0; i < m_lists.size(); ++i)
        m_lists[i]->setCurrentIndex(m_state.items[i]);
    m_resistance->setText(QString::fromStdString(m_state.resistanceText));
    m_tolerance->setText(QString::fromStdString(m_state.toleranceText));
    m_maximum->setText(QString::fromStdString(m_state.maximumText));
    m_minimum->setText(QString::fromStdString(m_state.minimumText));
}

} // namespace ohmtrim
