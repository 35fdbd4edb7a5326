#pragma once

#include "windows/form.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace ohmtrim {

// One number box of an input dialog and the member of the dialog's record
// it fills.
template <class Record> struct RecordBox {
    std::string_view edit; // "Edit1"
    double Record::*value;
    // For a box that may be left empty: the flag that says whether it was
    // filled (its value is 0 when not). Null for a box that must hold a
    // number.
    std::uint8_t Record::*filled = nullptr;
};

// What the input dialogs share: a fixed client area built from a control
// table, centred on the desktop and shown modally over the window that
// opens it. "&Ok" either accepts, which closes the dialog, or beeps and
// leaves it open; "&Close" and the title-bar close only close it, so that
// what an earlier "&Ok" stored stays. Each box holds one number, read by
// the dialogs' one rule (ReadDialogNumber): trimmed, at most
// kDialogNumberLength characters, the whole text a number that fits a
// double. The dialog keeps the control the user left focused from one
// opening to the next.
class InputDialog : public Form {
    Q_OBJECT
public:
    // Shows the dialog modally over owner (input to every other window of
    // the program is blocked while it is open) and returns at once: the
    // dialog closes itself on "&Ok" or "&Close". Shown already, it only
    // comes to the front.
    void Open(QWidget* owner);

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

    // Reads boxes in order into record: each box is trimmed, and the trimmed
    // text written back, just before it is read. False at the first box that
    // fails; the boxes after it keep what was typed, and record may hold the
    // numbers read before it, so read into a copy.
    template <class Record>
    bool ReadBoxes(std::span<const RecordBox<Record>> boxes, Record& record) {
        for (const auto& box : boxes) {
            double value = 0;
            bool filled = false;
            if (!ReadBox(box.edit, box.filled != nullptr, value, filled))
                return false;
            record.*box.value = value;
            if (box.filled != nullptr)
                record.*box.filled = filled ? 1 : 0;
        }
        return true;
    }

    // Clears every box, then, when the record counts, shows its numbers in
    // the results' format (a box that may be left empty only when filled).
    template <class Record>
    void FillBoxes(std::span<const RecordBox<Record>> boxes, const Record& record, bool counts) {
        ClearBoxes();
        if (!counts)
            return;
        for (const auto& box : boxes)
            if (box.filled == nullptr || record.*box.filled != 0)
                ShowNumber(box.edit, record.*box.value);
    }

    template <class T> T* control(std::string_view name) const {
        return findChild<T*>(ToQString(name), Qt::FindDirectChildrenOnly);
    }

private:
    // One box: trimmed and written back, then read. An empty box is valid
    // only where mayBeEmpty, as "not filled".
    bool ReadBox(std::string_view edit, bool mayBeEmpty, double& value, bool& filled);
    void ShowNumber(std::string_view edit, double value);
    void ClearBoxes();
    void MoveToDesktopCentre(const QWidget* owner);

    std::span<const ControlSpec> m_controls;
};

} // namespace ohmtrim
