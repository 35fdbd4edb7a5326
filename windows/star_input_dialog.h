#pragma once

#include "search/star_searches.h"
#include "windows/form.h"

#include <span>
#include <string_view>

class QEventLoop;

namespace ohmtrim {

class Shell;

// ---- what an input dialog does, whatever it asks for -------------------------

// A modal dialog of number boxes over a calculator window. Shown, it runs
// until it is hidden ("&Ok", "&Close" or the title bar); a box it reads is
// trimmed and written back, and the first box that holds no number, or is
// empty, or is longer than the working buffer, beeps and keeps it open.
class NumberInputDialog : public Form {
    Q_OBJECT
public:
    // Shows the dialog centred on the desktop, above owner, and returns
    // when it is hidden again. Does nothing while it is shown already.
    void ShowModal(QWidget* owner);

protected:
    NumberInputDialog(Platform& platform, std::string_view className, QSize clientSize);

    void FormHide() override;

    // Reads the boxes in the order given, one number each, by the rule of
    // InputRule::DialogNumber. False, after the beep, at the first box that
    // fails; the boxes before it keep their trimmed text.
    bool ReadBoxes(std::span<const std::string_view> edits, std::span<double> numbers);
    // Shows numbers in "%-15.6G", one per box.
    void FillBoxes(std::span<const std::string_view> edits, std::span<const double> numbers);
    void ClearBoxes(std::span<const std::string_view> edits);
    void MoveToDesktopCentre();

    template <class T> T* control(std::string_view name) const {
        return findChild<T*>(ToQString(name), Qt::FindDirectChildrenOnly);
    }

private:
    QEventLoop* m_loop = nullptr;
};

// ---- the star circuits' dialog -----------------------------------------------------

// What a star window shows beside the range boxes: the captions of the
// lower and upper bound and the help contexts of their boxes.
struct StarRangeCaptions {
    std::string_view minLabel; // "R1  min"
    std::string_view maxLabel;
    int minHelp;
    int maxHelp;
};

// "  Input data" of the star windows: the voltages of both operating cases
// and the range of branch 1. One dialog serves the four star windows and
// holds the program's star input and the flag that says it was accepted
// since a star window was last shown.
class TForm14 final : public NumberInputDialog {
    Q_OBJECT
public:
    explicit TForm14(Shell& shell);

    // The record the last "&Ok" stored, and whether it counts.
    const StarInput& input() const { return m_input; }
    bool inputAccepted() const { return m_accepted; }
    // Every star window forgets the accepted input when it is shown.
    void ForgetInput() { m_accepted = false; }

    // Set by the caller before it shows the dialog.
    void SetRangeCaptions(const StarRangeCaptions& captions);

    // Handlers.
    void FormShow() override;
    void Button1Click(); // "&Ok"
    void Button2Click(); // "&Close"

private:
    StarInput m_input;
    bool m_accepted = false;
};

} // namespace ohmtrim
