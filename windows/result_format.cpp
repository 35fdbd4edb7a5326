#include "windows/result_format.h"

#include <array>
#include <cstdio>

namespace ohmtrim {

QString FormatResult(double value, ResultFormat format) {
    // Room for the longest "%G" text of a double (sign, 6 digits, point,
    // "E+308") plus padding; snprintf never writes past the buffer anyway.
    std::array<char, 64> buffer{};
    int n = 0;
    switch (format) {
    case ResultFormat::Value:
        n = std::snprintf(buffer.data(), buffer.size(), "%-15.6G", value);
        break;
    case ResultFormat::Percent:
        n = std::snprintf(buffer.data(), buffer.size(), "%-15.3G", value);
        break;
    }
    if (n < 0)
        return {};
    return QString::fromLatin1(buffer.data());
}

} // namespace ohmtrim
