#pragma once

#include <QString>

#include <span>
#include <string_view>

class QWidget;

namespace ohmtrim {

enum class ControlKind {
    Label,    // auto-sized to its text, 20-pixel cell font
    Heading,  // auto-sized label in the 17-pixel cell font ("RESULTS")
    Input,    // single-line edit box the user types into
    Result,   // disabled edit box the program fills
    ValueSet, // pick-only drop-down list of value-set labels
    Button,   // push button; '&' in the caption marks the accelerator
    List,     // pick-only drop-down list whose items the window supplies
    // Framed group of radio buttons side by side. The caption is the title,
    // then each item, separated by '|' ("Mode|Four Band|Five Band"); the
    // first item starts checked. Tab reaches the group at its checked button.
    RadioGroup,
};

// One row of a window's control table. Geometry is in client pixels; width
// and height are ignored for labels, which size themselves to their text.
struct ControlSpec {
    std::string_view name; // object name, as the handlers and tests know it
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    std::string_view caption;
    int helpContext; // 0: none
    int maxLength;   // input boxes only; 0: no limit
    int tabOrder;    // position in the tab chain, 0 first; -1: no tab stop
};

inline constexpr int kNoTab = -1;
// Heights the windows use for their controls.
inline constexpr int kBoxHeight = 33;
inline constexpr int kButtonHeight = 40;
inline constexpr char kRadioItemSeparator = '|';

// The dynamic property that carries a control's help context.
inline constexpr const char* kHelpContextProperty = "helpContext";

// Creates the controls of a table as children of parent: object name,
// geometry, font, caption, help context, length limit, enabled state and
// the tab chain in table order. Returns nothing: find controls by name.
void BuildControls(QWidget& parent, std::span<const ControlSpec> table);

// The help context of w, or of its nearest ancestor that has one; 0 if none.
int HelpContextOf(const QWidget* w);
void SetHelpContext(QWidget& w, int context);

inline QString ToQString(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace ohmtrim
