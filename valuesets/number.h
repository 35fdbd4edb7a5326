#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ohmtrim {

// Smallest and largest resistance (ohms) the program accepts anywhere: in
// value-set files, in the settings and in every input box.
inline constexpr double kMinResistance = 1e-15;
inline constexpr double kMaxResistance = 1e15;

enum class NumberStatus {
    Number,     // the whole text is one decimal number that fits a double
    NotANumber, // empty, trailing characters, "inf", "nan", hex, "4,7", "1k" ...
    Overflow,   // a well-formed number too large for a double (1e400)
};

// One double through a C format with a single conversion ("%-15.6G",
// " %-15.10G"), the text whole however long it gets. Formatting follows the
// C locale's decimal point, which the programs set at start.
std::string FormatDouble(const char* format, double v);

// Removes leading and trailing blanks and tabs (what the profile reader strips).
std::string_view TrimBlanksAndTabs(std::string_view text);

// Removes leading and trailing blanks and control characters (what the input
// boxes strip before parsing).
std::string_view TrimBlanksAndControls(std::string_view text);

// The whole-text number rule. After trimming blanks and control characters
// the text must match  [+-]? (digits [. digits*] | . digits) ([eE] [+-]? digits)?
// in full; it is converted independently of the locale. A number too small
// for a double reads as (signed) zero.
NumberStatus ParseNumber(std::string_view text, double& value);
// The same rule on the text exactly as given, with nothing trimmed: what the
// value-set files hold after the profile reader's own trim and length cut.
NumberStatus ParseExactNumber(std::string_view text, double& value);

inline bool IsResistanceInRange(double r) {
    return r >= kMinResistance && r <= kMaxResistance;
}

enum class ResistanceStatus { Ok, NotANumber, OutOfRange };

// Whole-text rule plus the resistance range 1e-15..1e15 (overflow is out of range).
ResistanceStatus ParseResistance(std::string_view text, double& value);
// The same on the text exactly as given (ParseExactNumber).
ResistanceStatus ParseExactResistance(std::string_view text, double& value);

} // namespace ohmtrim
