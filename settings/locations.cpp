#include "settings/locations.h"

#include "settings/settings.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace ohmtrim {

namespace {

constexpr const char* kUserFolder = "ohmtrim";

// An XDG base directory: the variable when it holds an absolute path,
// else the default below the home directory; empty when neither is known.
std::filesystem::path BaseDirectory(const char* variable, const char* home, const char* belowHome) {
    if (variable != nullptr && std::filesystem::path(variable).is_absolute())
        return variable;
    if (home != nullptr && std::filesystem::path(home).is_absolute())
        return std::filesystem::path(home) / belowHome;
    return {};
}

bool Writable(const std::filesystem::path& dir) {
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Copies the shipped settings to the user's file unless something is there
// already. The copy is made under another name and renamed, so that the
// settings file appears whole or not at all.
WriteResult StartUserSettings(const ProgramFiles& files) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::symlink_status(files.settingsFile, ec).type() != fs::file_type::not_found)
        return {true, {}};
    const auto folder = files.settingsFile.parent_path();
    fs::create_directories(folder, ec);
    if (ec)
        return {false, "cannot create the folder " + folder.string() + ": " + ec.message()};
    if (!fs::is_regular_file(files.shippedSettings, ec))
        return {true, {}}; // nothing to start from: the save creates the file
    auto part = files.settingsFile;
    part += ".new-" + std::to_string(::getpid());
    if (!fs::copy_file(files.shippedSettings, part, fs::copy_options::overwrite_existing, ec)) {
        const std::string reason = "cannot copy " + files.shippedSettings.string() + " to " +
                                   part.string() + ": " + ec.message();
        fs::remove(part, ec);
        return {false, reason};
    }
    fs::rename(part, files.settingsFile, ec);
    if (ec) {
        const std::string reason =
            "cannot create " + files.settingsFile.string() + ": " + ec.message();
        fs::remove(part, ec);
        return {false, reason};
    }
    return {true, {}};
}

} // namespace

std::filesystem::path ProgramFiles::SettingsToRead() const {
    std::error_code ec;
    if (perUser() && !std::filesystem::exists(settingsFile, ec))
        return shippedSettings;
    return settingsFile;
}

ProgramFiles PortableFiles(const std::filesystem::path& dir) {
    ProgramFiles files;
    files.directory = dir;
    files.settingsFile = dir / kSettingsFileName;
    files.valueSetDirectories = {dir};
    return files;
}

ProgramFiles ChooseProgramFiles(const std::filesystem::path& dir, bool dirWritable,
                                const UserEnvironment& env) {
    ProgramFiles files = PortableFiles(dir);
    if (dirWritable)
        return files;
    const auto config = BaseDirectory(env.xdgConfigHome, env.home, ".config");
    const auto data = BaseDirectory(env.xdgDataHome, env.home, ".local/share");
    if (!config.empty()) {
        files.shippedSettings = files.settingsFile;
        files.settingsFile = config / kUserFolder / kSettingsFileName;
    }
    if (!data.empty())
        files.valueSetDirectories.push_back(data / kUserFolder);
    return files;
}

ProgramFiles LocateProgramFiles(const std::filesystem::path& dir) {
    const UserEnvironment env{std::getenv("XDG_CONFIG_HOME"), std::getenv("XDG_DATA_HOME"),
                              std::getenv("HOME")};
    return ChooseProgramFiles(dir, Writable(dir), env);
}

WriteResult SaveSettingsLabel(const ProgramFiles& files, std::string_view label) {
    if (files.perUser()) {
        WriteResult started = StartUserSettings(files);
        if (!started)
            return started;
    }
    return SaveLabel(files.settingsFile, label);
}

} // namespace ohmtrim
