#include "app/main_window.h"

#include "settings/settings.h"
#include "circuits/catalogue.h"
#include "platform/platform.h"
#include "windows/calculator_window.h"
#include "windows/control_table.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace ohmtrim {

namespace {

using K = ControlKind;

// clang-format off
constexpr ControlSpec kControls[] = {
    // name        kind         left top  width height          caption                                 help max tab
    {"Button1",   K::Button,   300,  16, 320,  kButtonHeight, "&Next circuit",                         10,  0, 1},
    {"Button5",   K::Button,   300,  80, 320,  kButtonHeight, "&Previous circuit",                     11,  0, 2},
    {"Button2",   K::Button,   300, 144, 320,  kButtonHeight, "&Select circuit",                       12,  0, 3},
    {"Label1",    K::Label,    300, 200,   0,  0,             "Default resistor values according to:", 0,   0, kNoTab},
    {"ComboBox1", K::ValueSet, 300, 232, 320,  kBoxHeight,    "",                                      13,  0, 4},
    {"Button6",   K::Button,   300, 280, 320,  kButtonHeight, "&Help",                                 14,  0, 5},
    {"Button4",   K::Button,   300, 344, 320,  kButtonHeight, "&Exit",                                 16,  0, 0},
};
// clang-format on

constexpr int kLastEntry = kCatalogueSize - 1;
// The drawing area, repainted when the entry changes.
constexpr QRect kDrawingArea(0, 0, 300, 440);

} // namespace

TForm1::TForm1(Platform& platform, const std::filesystem::path& dir)
    : Form(platform, WindowClassName(staticMetaObject), QSize(kClientWidth, kClientHeight)),
      m_directory(dir), m_runner(platform) {
    setWindowTitle(QStringLiteral("  Ohmtrim  2.2"));
    BuildControls(*this, kControls);
    m_list = findChild<QComboBox*>(QStringLiteral("ComboBox1"));

    const auto button = [this](const char* name) {
        return findChild<QPushButton*>(QLatin1String(name));
    };
    connect(button("Button1"), &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(button("Button5"), &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(button("Button2"), &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(button("Button6"), &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(button("Button4"), &QPushButton::clicked, this, &TForm1::Button4Click);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    m_sharedPosition = clientPosition();
    m_index = 0;
    m_drawing = MakeDrawingObjects();
    platform().SetHelpFile(m_directory / kHelpFileName);
    m_state = LoadProgramState(LocateProgramFiles(m_directory));
    // One box per file that failed, one after another, before the main
    // window is visible.
    for (const auto& failure : m_state.valueSets.failures)
        platform().ErrorBox(QString::fromStdString(failure.error),
                            QString::fromStdString(failure.file));
    for (int i = 0; i < m_state.valueSets.size(); ++i)
        m_list->addItem(QString::fromStdString(m_state.valueSets.at(i).label()));
    m_list->setCurrentIndex(m_state.preselected);
}

void TForm1::RegisterWindow(std::string_view className, QWidget* window) {
    m_windows.insert_or_assign(std::string(className), window);
}

QWidget* TForm1::registeredWindow(std::string_view className) const {
    const auto it = m_windows.find(className);
    return it == m_windows.end() ? nullptr : it->second;
}

int TForm1::mainSelection() const {
    return m_list->currentIndex();
}

void TForm1::FormShow() {
    moveClientTo(m_sharedPosition);
    if (FirstShow()) {
        if (const QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            moveClientTo(area.center() - QPoint(width() / 2, height() / 2));
        }
        FocusFirstControl(kControls);
    }
}

void TForm1::FormHide() {
    m_sharedPosition = clientPosition();
}

void TForm1::FormPaint() {
    QPainter p(this);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setPen(m_drawing.outlinePen);
    p.setBrush(m_drawing.blackBrush);
    p.setFont(m_drawing.labelFont);
    if (m_index == 0) {
        DrawColourBandResistor(p, m_drawing);
    } else if (const auto routine = Circuit::RoutineForEntry(m_index)) {
        routine(p, m_drawing);
    }
}

void TForm1::FormClose(QCloseEvent* event) {
    // The settings keep the label of the main selection; with no value set
    // loaded the stored label stays as it was. A label that cannot be saved
    // is said once; the program ends all the same.
    const int selection = mainSelection();
    if (selection >= 0 && selection < m_state.valueSets.size()) {
        const WriteResult saved =
            SaveSettingsLabel(m_state.files, m_state.valueSets.at(selection).label());
        if (!saved && !m_saveFailureShown) {
            m_saveFailureShown = true;
            platform().ErrorBox(
                QStringLiteral("The chosen value set could not be saved in\n%1:\n%2.")
                    .arg(QString::fromStdString(m_state.files.settingsFile.string()),
                         QString::fromStdString(saved.reason)),
                QStringLiteral(" Error"));
        }
    }
    event->accept();
    emit programEnded();
}

void TForm1::RedrawCircuit() {
    repaint(kDrawingArea);
}

void TForm1::Button1Click() {
    m_index = m_index >= kLastEntry ? 0 : m_index + 1;
    RedrawCircuit();
}

void TForm1::Button5Click() {
    m_index = m_index <= 0 ? kLastEntry : m_index - 1;
    RedrawCircuit();
}

void TForm1::Button2Click() {
    const CatalogueEntry& entry = CatalogueAt(m_index);
    QWidget* window = registeredWindow(entry.window);
    if (window == nullptr)
        return;
    hide();
    if (auto* calculator = qobject_cast<CalculatorWindow*>(window))
        calculator->setCircuitVariant(entry.variant);
    window->show();
}

void TForm1::Button6Click() {
    platform().ShowHelp(1);
}

void TForm1::Button4Click() {
    close();
}

void TForm1::showMainWindow() {
    show();
}

void TForm1::closeMainWindow() {
    close();
}

} // namespace ohmtrim
