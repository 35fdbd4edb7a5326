#pragma once

#include "circuits/family.h"
#include "windows/calculator_window.h"
#include "windows/form.h"

#include <span>
#include <string_view>

namespace ohmtrim {

// What the input dialogs share: a fixed client area built from a control
// table, centred on the desktop and shown modally over the window that opens
// it; "&Ok" either accepts, which closes the dialog, or beeps and leaves
// every box as it is; "&Close" and the title-bar close only close it. The
// dialog keeps the control the user left focused from one opening to the next.
class InputDialog : public Form {
    Q_OBJECT
public:
    // Shows the dialog modally and returns at once: the dialog closes
    // itself on "&Ok" or "&Close".
    void Open();

    // The two buttons' clicks.
    void OkClick();
    void CloseClick();

    void FormShow() override;

protected:
    InputDialog(Platform& platform, std::string_view className, std::string_view caption,
                QSize clientSize, std::span<const ControlSpec> controls, std::string_view okButton,
                std::string_view closeButton);

    // "&Ok": true accepts (the dialog closes), false beeps.
    virtual bool Accept() = 0;

    // Reads the boxes of the fields in field order: each box is trimmed and
    // the trimmed text written back just before it is read by its field's
    // rule. The first box that fails ends the reading, as does too few of
    // the choice's inputs given once the last of them has been read.
    bool ReadBoxes(std::span<const InputField> fields, std::span<const InputBinding> boxes,
                   std::span<const InputId> choice, int needed, SolveInputs& out);

    // A stored number shown again, in the results' format.
    void ShowNumber(std::string_view edit, double value);
    void ClearBoxes();

    template <class T> T* control(std::string_view name) const {
        return findChild<T*>(ToQString(name), Qt::FindDirectChildrenOnly);
    }

private:
    std::span<const ControlSpec> m_controls;
};

} // namespace ohmtrim
