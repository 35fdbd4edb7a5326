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

std::string FormatNumber(double v, NumberFormat format) {
    return Format(format == NumberFormat::Value ? "%-15.6G" : "%-15.3G", v);
}

} // namespace ohmtrim
