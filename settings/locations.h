#pragma once

#include "valuesets/profile.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace ohmtrim {

// Where the program reads and writes its files. A portable copy (a program
// directory the user may write to, such as the build folder) keeps
// everything in the program directory. An installed copy cannot write there:
// each user gets a settings file of their own and may add value sets.
struct ProgramFiles {
    // The program directory: shipped value sets, help file, default settings.
    std::filesystem::path directory;
    // The settings file read at start and written at the end.
    std::filesystem::path settingsFile;
    // What the user's settings file starts from and what is read while there
    // is none yet; empty when settingsFile is the program directory's.
    std::filesystem::path shippedSettings;
    // The directories listed for value-set files, in this order; a file in a
    // later one takes the place of a file of the same name in an earlier one.
    std::vector<std::filesystem::path> valueSetDirectories;

    bool perUser() const { return !shippedSettings.empty(); }
    // The settings file to read: the user's once it exists, else the shipped.
    std::filesystem::path SettingsToRead() const;
};

// The environment variables that place a user's files (null when unset).
struct UserEnvironment {
    const char* xdgConfigHome = nullptr;
    const char* xdgDataHome = nullptr;
    const char* home = nullptr;
};

// Everything in dir, as a portable copy keeps it.
ProgramFiles PortableFiles(const std::filesystem::path& dir);

// The files of the program in dir for a user: a writable dir is a portable
// copy; otherwise the settings live in $XDG_CONFIG_HOME/ohmtrim/omtr.ini
// (default ~/.config) and value sets are also read from
// $XDG_DATA_HOME/ohmtrim (default ~/.local/share). A relative XDG directory
// is ignored, as the base-directory rules say. Without a home directory the
// program is read where it is and cannot save its settings.
ProgramFiles ChooseProgramFiles(const std::filesystem::path& dir, bool dirWritable,
                                const UserEnvironment& env);

// ChooseProgramFiles for the running user and the real program directory.
ProgramFiles LocateProgramFiles(const std::filesystem::path& dir);

// Writes Label into the settings file (SaveLabel). A user's first save
// starts the file as a copy of the shipped one, so its comments and RelTol
// carry over; a file that exists already (or a link in its place) is never
// replaced by the copy. On failure the result says why.
WriteResult SaveSettingsLabel(const ProgramFiles& files, std::string_view label);

} // namespace ohmtrim
