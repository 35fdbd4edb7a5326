#include "platform/fonts.h"

namespace ohmtrim {

void InstallFontSubstitution() {
    QFont::insertSubstitution(kUiFamily, kSubstituteFamily);
}

QFont UiFont(int originalCellHeight) {
    QFont f(kUiFamily);
    // Liberation Sans at 16 pixels measures within a pixel of the original
    // 20-pixel cell; the other sizes scale the same way.
    f.setPixelSize(qMax(1, (originalCellHeight * 4 + 2) / 5));
    f.setWeight(QFont::Normal);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace ohmtrim
