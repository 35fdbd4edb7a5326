#include "settings/settings.h"

#include "valuesets/profile.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
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
    // "relTol <= 0" also turns -0 into 0, which would otherwise show as -0.
    if (std::isnan(relTol) || relTol <= 0)
        return 0;
    if (relTol > kMaxRelTol)
        return kMaxRelTol;
    return relTol;
}

double ParseRelTol(std::string_view text) {
    if (text.empty())
        return kDefaultRelTol;
    // The number at the start of the text as strtod reads it in the C
    // locale (blanks skipped, hexadecimal, infinities and NaN included, the
    // rest ignored), whatever locale the process runs in: the desktop
    // toolkit sets the locale from the environment at start.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string copy(text); // strtod needs a terminated string
    const double value = cLocale != locale_t{} ? strtod_l(copy.c_str(), nullptr, cLocale)
                                               : std::strtod(copy.c_str(), nullptr);
    if (std::isnan(value))
        return kDefaultRelTol;
    return ClampRelTol(value);
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

WriteResult SaveLabel(const std::filesystem::path& iniFile, std::string_view label) {
    return WriteProfileString(iniFile, kSetupSection, "Label", label);
}

} // namespace ohmtrim
