#include "valuesets/text.h"

#include <algorithm>

namespace ohmtrim {

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string FoldedKey(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = FoldCase(c);
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

int CompareNoCase(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t la = std::min(a.size(), limit);
    const std::size_t lb = std::min(b.size(), limit);
    const std::size_t n = std::min(la, lb);
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(FoldCase(a[i]));
        const auto y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

Digits LeadingDigits(std::string_view text, std::int64_t cap) {
    Digits d;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        d.value = d.value > (cap - digit) / 10 ? cap : d.value * 10 + digit;
        ++d.length;
    }
    return d;
}

std::optional<std::int64_t> DigitsValue(std::string_view text) {
    const Digits d = LeadingDigits(text);
    if (d.length == 0 || d.length != text.size())
        return std::nullopt;
    return d.value;
}

} // namespace ohmtrim
