#pragma once

#include "valuesets/profile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace ohmtrim {

inline constexpr const char* kSettingsFileName = "omtr.ini";
inline constexpr const char* kHelpFileName = "omtr.html";
inline constexpr double kDefaultRelTol = 1e-6;
inline constexpr double kMaxRelTol = 0.05;

struct Settings {
    double relTol = kDefaultRelTol;
    std::string preferredLabel; // at most 7 characters
};

// The directory that holds the running executable (resolved path, no
// trailing separator); empty when it cannot be found.
std::filesystem::path ProgramDirectory();

// RelTol as the settings file gives it: empty text means the default;
// otherwise the number at the start of the text as strtod reads it in the C
// locale (trailing characters ignored, no number gives 0, NaN the default),
// clamped to 0..0.05.
double ParseRelTol(std::string_view text);
// Clamps a relative tolerance to 0..0.05 (NaN and -0 give 0).
double ClampRelTol(double relTol);

// Reads section Setup of the settings file; a missing or unreadable file
// gives the defaults.
Settings ReadSettings(const std::filesystem::path& iniFile);

// Writes Label into section Setup, keeping every other line; the file is
// replaced atomically (WriteProfileString). On failure the file is untouched
// and the result says why.
WriteResult SaveLabel(const std::filesystem::path& iniFile, std::string_view label);

} // namespace ohmtrim
