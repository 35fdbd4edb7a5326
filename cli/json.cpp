#include "cli/json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace ohmtrim::json {

std::string Number(double v) {
    if (!std::isfinite(v))
        return "null";
    std::array<char, 64> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    if (ec != std::errc())
        return "null";
    return std::string(buf.data(), end);
}

std::string String(std::string_view s) {
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                std::array<char, 8> esc{};
                std::snprintf(esc.data(), esc.size(), "\\u%04x", c);
                out += esc.data();
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace ohmtrim::json
