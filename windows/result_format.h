#pragma once

#include <QString>

namespace ohmtrim {

enum class ResultFormat {
    Value,   // resistances and voltages: "%-15.6G"
    Percent, // errors in percent: "%-15.3G"
};

// Numbers as the result boxes show them (the formats of circuits/format.h).
// The trailing blanks up to 15 characters are part of the text.
QString FormatResult(double value, ResultFormat format);

} // namespace ohmtrim
