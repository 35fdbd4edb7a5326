#include "valuesets/number.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <system_error>

namespace ohmtrim {

namespace {

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

bool IsBlankOrControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7f;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

template <typename Pred> std::string_view Trim(std::string_view text, Pred drop) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && drop(text[b]))
        ++b;
    while (e > b && drop(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

// What the grammar check learns on the way, enough to tell an overflow from
// an underflow when the conversion reports that the value does not fit.
struct Shape {
    bool negative = false;
    // Decimal exponent of the first significant digit (1.0 -> 0, 0.05 -> -2);
    // meaningless when allZero.
    std::int64_t leadExponent = 0;
    bool allZero = true;
};

// Saturation keeps the bookkeeping finite for absurdly long texts; any
// magnitude beyond this is far outside a double either way.
constexpr std::int64_t kExponentCap = 1'000'000'000;

std::int64_t Clamp(std::int64_t v) {
    if (v > kExponentCap)
        return kExponentCap;
    if (v < -kExponentCap)
        return -kExponentCap;
    return v;
}

// Length of the longest prefix of s matching
// [+-]? (digits [. digits*] | . digits) ([eE] [+-]? digits)?, checked by
// hand: the C library's conversions also accept hexadecimal, "inf" and "nan"
// and follow the locale's decimal separator.
std::size_t ScanNumber(std::string_view s, Shape& shape) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        shape.negative = s[i] == '-';
        ++i;
    }
    // Position of the first significant digit relative to the decimal point.
    std::int64_t intDigits = 0;     // significant integer digits seen
    std::int64_t fractionZeros = 0; // zeros after the point before a significant digit
    bool seenSignificantInFraction = false;

    std::size_t mantissaDigits = 0;
    while (i < n && IsDigit(s[i])) {
        if (s[i] != '0' || !shape.allZero) {
            shape.allZero = false;
            intDigits = Clamp(intDigits + 1);
        }
        ++mantissaDigits;
        ++i;
    }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) {
            if (shape.allZero) {
                if (s[i] == '0') {
                    fractionZeros = Clamp(fractionZeros + 1);
                } else {
                    shape.allZero = false;
                    seenSignificantInFraction = true;
                }
            }
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return 0; // "", "+", ".", "e3", ".e3"

    std::int64_t exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < n && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        // Without digits ("1e", "1e+") the exponent is not part of the number.
        if (j < n && IsDigit(s[j])) {
            while (j < n && IsDigit(s[j])) {
                exponent = Clamp(exponent * 10 + (s[j] - '0'));
                ++j;
            }
            if (expNegative)
                exponent = -exponent;
            i = j;
        }
    }

    if (!shape.allZero) {
        shape.leadExponent = seenSignificantInFraction ? Clamp(exponent - fractionZeros - 1)
                                                       : Clamp(exponent + intDigits - 1);
    }
    return i;
}

bool MatchGrammar(std::string_view s, Shape& shape) {
    const std::size_t length = ScanNumber(s, shape);
    return length > 0 && length == s.size();
}

} // namespace

std::string FormatDouble(const char* format, double v) {
    // The program's formats stay far below the buffer; a longer result is
    // formatted again into a string of its size rather than cut.
    std::array<char, 64> buf{};
    const int n = std::snprintf(buf.data(), buf.size(), format, v);
    if (n < 0)
        return {};
    const auto length = static_cast<std::size_t>(n);
    if (length < buf.size())
        return std::string(buf.data(), length);
    std::string text(length, '\0');
    std::snprintf(text.data(), length + 1, format, v);
    return text;
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
    return Trim(text, IsBlankOrTab);
}

std::string_view TrimBlanksAndControls(std::string_view text) {
    return Trim(text, IsBlankOrControl);
}

NumberStatus ParseExactNumber(std::string_view s, double& value) {
    Shape shape;
    if (!MatchGrammar(s, shape))
        return NumberStatus::NotANumber;

    // from_chars takes no leading '+'; the grammar check has already vetted it.
    std::string_view body = s;
    if (body.front() == '+')
        body.remove_prefix(1);
    double v = 0;
    const auto [ptr, ec] =
        std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too far from 1 either way: beyond the largest double is an overflow,
        // below the smallest subnormal rounds to zero.
        if (!shape.allZero && shape.leadExponent >= 0)
            return NumberStatus::Overflow;
        value = shape.negative ? -0.0 : 0.0;
        return NumberStatus::Number;
    }
    if (ec != std::errc() || ptr != body.data() + body.size())
        return NumberStatus::NotANumber; // cannot happen after the grammar check
    value = v;
    return NumberStatus::Number;
}

NumberStatus ParseNumber(std::string_view text, double& value) {
    return ParseExactNumber(TrimBlanksAndControls(text), value);
}

ResistanceStatus ParseExactResistance(std::string_view text, double& value) {
    double v = 0;
    switch (ParseExactNumber(text, v)) {
    case NumberStatus::NotANumber:
        return ResistanceStatus::NotANumber;
    case NumberStatus::Overflow:
        return ResistanceStatus::OutOfRange;
    case NumberStatus::Number:
        break;
    }
    if (!IsResistanceInRange(v))
        return ResistanceStatus::OutOfRange;
    value = v;
    return ResistanceStatus::Ok;
}

ResistanceStatus ParseResistance(std::string_view text, double& value) {
    return ParseExactResistance(TrimBlanksAndControls(text), value);
}

} // namespace ohmtrim
