#include "windows/input_dialog.h"

#include "circuits/format.h"
#include "circuits/solve.h"
#include "platform/platform.h"
#include "valuesets/number.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <string>
#include <vector>

namespace ohmtrim {

InputDialog::InputDialog(Platform& platform, std::string_view className, std::string_view caption,
                         QSize clientSize, std::span<const ControlSpec> controls,
                         std::string_view okButton, std::string_view closeButton)
    : Form(platform, className, clientSize), m_controls(controls) {
    setWindowTitle(ToQString(caption));
    setWindowModality(Qt::ApplicationModal);
    BuildControls(*this, controls);
    if (auto* ok = control<QPushButton>(okButton))
        connect(ok, &QPushButton::clicked, this, &InputDialog::OkClick);
    if (auto* close = control<QPushButton>(closeButton))
        connect(close, &QPushButton::clicked, this, &InputDialog::CloseClick);
}

void InputDialog::Open() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void InputDialog::FormShow() {
    if (FirstShow())
        FocusFirstControl(m_controls);
}

void InputDialog::OkClick() {
    if (Accept())
        close();
    else
        platform().Beep();
}

void InputDialog::CloseClick() {
    close();
}

bool InputDialog::ReadBoxes(std::span<const InputField> fields, std::span<const InputBinding> boxes,
                            std::span<const InputId> choice, int needed, SolveInputs& out) {
    std::vector<std::string> texts;
    texts.reserve(fields.size()); // the views below point into it
    std::vector<InputText> read;
    std::size_t choiceRead = 0;
    for (const InputField& field : fields) {
        QLineEdit* edit = nullptr;
        for (const auto& box : boxes)
            if (box.input == field.id)
                edit = control<QLineEdit>(box.edit);
        if (edit == nullptr)
            return false;
        texts.emplace_back(TrimBlanksAndControls(edit->text().toStdString()));
        edit->setText(QString::fromStdString(texts.back()));
        read.push_back({field.id, texts.back()});
        SolveInputs one;
        if (!ReadInputFields(std::span(&field, 1), std::span(&read.back(), 1), one))
            return false;
        const bool chosen = std::find(choice.begin(), choice.end(), field.id) != choice.end();
        if (chosen && ++choiceRead == choice.size() && InputsGiven(choice, read) < needed)
            return false;
    }
    return ReadInputFields(fields, read, out);
}

void InputDialog::ShowNumber(std::string_view edit, double value) {
    if (auto* e = control<QLineEdit>(edit))
        e->setText(ToQString(FormatValue(value)));
}

void InputDialog::ClearBoxes() {
    for (auto* edit : findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
        edit->clear();
}

} // namespace ohmtrim
