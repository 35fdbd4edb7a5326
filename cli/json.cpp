#include "cli/json.h"

#include "cli/text_output.h"

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
    while (!s.empty()) {
        char32_t cp = 0;
        const std::size_t n = cli::Utf8Sequence(s, cp);
        if (n == 0) {
            // Not UTF-8: JSON has no way to carry the byte itself.
            out += "\\ufffd";
        } else if (cp == '"' || cp == '\\') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\n') {
            out += "\\n";
        } else if (cp == '\r') {
            out += "\\r";
        } else if (cp == '\t') {
            out += "\\t";
        } else if (cli::IsControlCharacter(cp)) {
            // Control characters never reach a terminal that shows the JSON.
            std::array<char, 8> esc{};
            std::snprintf(esc.data(), esc.size(), "\\u%04x", static_cast<unsigned>(cp));
            out += esc.data();
        } else {
            out.append(s.substr(0, n));
        }
        s.remove_prefix(n == 0 ? 1 : n);
    }
    out += '"';
    return out;
}

} // namespace ohmtrim::json
