#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ohmtrim {

// Text rules the file readers, the settings and the command line share.
// Letters are compared without regard to case in ASCII only, whatever the
// locale: file names, keys and labels must sort and match the same on
// every machine.

// c in upper case when it is an ASCII letter, else c.
char FoldCase(char c);
// s with every ASCII letter folded: a key for maps that ignore case.
std::string FoldedKey(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);
// Three-way comparison (-1, 0, 1) of the folded texts over at most limit
// characters; upper-case folding puts '_' and the other characters between
// 'Z' and 'a' after the letters.
int CompareNoCase(std::string_view a, std::string_view b,
                  std::size_t limit = std::string_view::npos);

struct Digits {
    std::size_t length = 0; // decimal digits at the start of the text
    std::int64_t value = 0; // their value, saturated at the cap
};
// The decimal digits at the start of text; the value never exceeds cap
// (cap >= 0), however many digits there are.
Digits LeadingDigits(std::string_view text,
                     std::int64_t cap = std::numeric_limits<std::int64_t>::max());
// The value of text when it is nothing but decimal digits (at least one),
// saturated like LeadingDigits.
std::optional<std::int64_t> DigitsValue(std::string_view text);

} // namespace ohmtrim
