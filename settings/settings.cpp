#include "settings/settings.h"

#include "valuesets/number.h"
#include "valuesets/profile.h"

#include <cmath>
#include <string>

namespace ohmtrim {

namespace {

constexpr const char* kSetupSection = "Setup";
constexpr std::size_t kRelTolLength = 23;
constexpr std::size_t kLabelLength = 7;

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
    double value = 0;
    switch (ParseNumber(text.substr(0, n), value)) {
    case NumberStatus::Number:
        return ClampRelTol(value);
    case NumberStatus::Overflow:
        return text.front() == '-' ? 0 : kMaxRelTol;
    case NumberStatus::NotANumber:
        break;
    }
    return 0;
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
