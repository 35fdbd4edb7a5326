#pragma once

#include "search/star_searches.h"
#include "windows/input_dialog.h"

#include <string_view>

namespace ohmtrim {

class Shell;

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
class TForm14 final : public InputDialog {
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

    void FormShow() override;

protected:
    bool Accept() override; // "&Ok"

private:
    StarInput m_input;
    bool m_accepted = false;
};

} // namespace ohmtrim
