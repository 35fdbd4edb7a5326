#pragma once

#include <QFont>

namespace ohmtrim {

// The windows were laid out for "MS Sans Serif" with a 20-pixel cell and
// labels with a 40-pixel cell. Nothing on Linux provides that font, so it is
// mapped explicitly to Liberation Sans at pixel sizes whose text widths
// match the original closely.
inline constexpr const char* kUiFamily = "MS Sans Serif";
inline constexpr const char* kSubstituteFamily = "Liberation Sans";

// Registers the substitution; call once after the application object exists.
void InstallFontSubstitution();

// The font for a control laid out with the given original cell height in
// pixels (20 for every control, 17 for the RESULTS headings, 40 for the
// schematic labels).
QFont UiFont(int originalCellHeight);

} // namespace ohmtrim
