#include "circuits/format.h"

#include <array>
#include <cstdio>

namespace ohmtrim {

namespace {

std::string Format(const char* format, double v) {
    // "%-15.6G" of any double fits comfortably: at most a sign, six digits,
    // a point and a four-character exponent.
    std::array<char, 64> buf{};
    const int n = std::snprintf(buf.data(), buf.size(), format, v);
    if (n < 0)
        return {};
    return std::string(buf.data(), static_cast<std::size_t>(n) < buf.size()
                                       ? static_cast<std::size_t>(n)
                                       : buf.size() - 1);
}

} // namespace

std::string FormatValue(double v) {
    return Format("%-15.6G", v);
}

std::string FormatError(double percent) {
    return Format("%-15.3G", percent);
}

} // namespace ohmtrim
