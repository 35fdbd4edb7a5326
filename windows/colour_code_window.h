#pragma once

#include "colourcode/colour_code.h"
#include "windows/form.h"

#include <array>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace ohmtrim {

class Shell;

// " Color code / value converter": band colours to resistance, tolerance
// and limits as soon as a band is chosen, and a typed resistance and
// tolerance to band colours with "&Go", for four- and five-band codes. The
// conversion itself lives in ColourCodeState; the handlers copy the boxes
// into it, call it and show what it holds.
class TForm23 final : public Form {
    Q_OBJECT
public:
    explicit TForm23(Shell& shell);

    BandMode mode() const { return m_state.mode; }

    // Handlers.
    void FormCreate();
    void FormShow() override;
    void FormHide() override;
    void FormClose(QCloseEvent* event) override;
    void RadioGroup1Click();
    // ComboBox1Change .. ComboBox5Change: the band list of that number.
    void ComboBoxChange(BandList list);
    void Button2Click(); // "&Go"
    void Button1Click(); // "&Close"

private:
    // The mode's layout, with every band and box cleared.
    void ApplyModeAndReset(BandMode mode);
    void ApplyModeLayout();
    // Box texts into the state, and the state back into every control.
    void ReadBoxes();
    void ShowState();

    Shell& m_shell;
    ColourCodeState m_state;
    QButtonGroup* m_modes = nullptr;
    std::array<QComboBox*, kBandListCount> m_lists{}; // indexed by BandList
    QLineEdit* m_resistance = nullptr;                // Edit1
    QLineEdit* m_tolerance = nullptr;                 // Edit2
    QLineEdit* m_maximum = nullptr;                   // Edit3
    QLineEdit* m_minimum = nullptr;                   // Edit4
};

} // namespace ohmtrim
