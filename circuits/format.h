#pragma once

#include <string>

namespace ohmtrim {

// The program's two result formats (C formatting, blanks on the right up to
// 15 characters).
enum class NumberFormat {
    Value,   // resistances and voltages: "%-15.6G"
    Percent, // errors in percent: "%-15.3G"
};

std::string FormatNumber(double v, NumberFormat format);
inline std::string FormatValue(double v) {
    return FormatNumber(v, NumberFormat::Value);
}
inline std::string FormatError(double percent) {
    return FormatNumber(percent, NumberFormat::Percent);
}

} // namespace ohmtrim
