#include "app/core/settings.h"

#include "valuesets/profile.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace ohmtrim {

namespace {

constexpr const char* kSetupSection = "Setup";
constexpr std::size_t kRelTolLength = 23;
constexpr std::size_t kLabelLength = 7;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of s that is a decimal number
// [+-]? (digits [. digits*] | . digits) ([eE] [+-]? digits)?; 0 when none.
std::size_t NumberPrefixLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

std::filesystem::path ProgramDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty() || !exe.has_parent_path())
        return {};
    return exe.parent_path();
}

double ClampRelTol(double relTol) {
    if (std::isnan(relTol) || relTol < 0)
        return 0;
    if (relTol > kMaxRelTol)
        return kMaxRelTol;
    return relTol;
}

double ParseRelTol(std::string_view text) {
    if (text.empty())
        return kDefaultRelTol;
    // Leading white space is skipped, then the longest decimal number at the
    // start counts; what follows is ignored. The conversion does not depend
    // on the locale, which the desktop toolkit changes at start.
    std::size_t start = 0;
    while (start < text.size() &&
           (text[start] == ' ' || (text[start] >= '\t' && text[start] <= '\r')))
        ++start;
    text.remove_prefix(start);
    const std::size_t n = NumberPrefixLength(text);
    if (n == 0)
        return 0;
    std::string_view number = text.substr(0, n);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large saturates at the top of the range; too small is zero.
        value = number.find_first_of("eE") != std::string_view::npos &&
                        number.find('-', number.find_first_of("eE")) != std::string_view::npos
                    ? 0.0
                    : HUGE_VAL;
    } else if (ec != std::errc()) {
        return 0;
    }
    return ClampRelTol(negative ? -value : value);
}

Settings ReadSettings(const std::filesystem::path& iniFile) {
    Settings s;
    const auto profile = ProfileFile::Read(iniFile);
    if (!profile)
        return s;
    s.relTol = ParseRelTol(profile->GetString(kSetupSection, "RelTol", "", kRelTolLength));
    s.preferredLabel = profile->GetString(kSetupSection, "Label", "", kLabelLength);
    return s;
}

bool SaveLabel(const std::filesystem::path& iniFile, std::string_view label) {
    return WriteProfileString(iniFile, kSetupSection, "Label", label);
}

} // namespace ohmtrim
