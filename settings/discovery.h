#pragma once

#include "settings/locations.h"
#include "settings/settings.h"
#include "valuesets/resistor_set.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ohmtrim {

inline constexpr std::size_t kMaxValueSets = 1000;

struct LoadFailure {
    std::string file;  // file name without directory
    std::string error; // the loader's errorText
};

struct LoadedSet {
    std::unique_ptr<ResistorSet> set;
    std::string file; // file name without directory
    std::filesystem::path directory;
};

struct ValueSetList {
    std::vector<LoadedSet> sets;       // display order once ordered
    std::vector<LoadFailure> failures; // in discovery order
    std::size_t skipped = 0;           // files not tried: the list was full
    // The directories that could be listed, in the order they were read.
    std::vector<std::filesystem::path> directories;

    int size() const { return static_cast<int>(sets.size()); }
    const ResistorSet& at(int i) const { return *sets.at(static_cast<std::size_t>(i)).set; }
};

// Loads every "*.val" file of dir (name compared without regard to case), in
// the order of their names compared without regard to case, until maxSets
// have loaded; failures are collected, not shown. The list comes back
// ordered (OrderValueSets).
ValueSetList DiscoverValueSets(const std::filesystem::path& dir,
                               std::size_t maxSets = kMaxValueSets);
// The same over several directories taken as one: a file takes the place of
// a file of the same name in an earlier directory, and the files load in the
// order of their names as above, whichever directory holds them.
ValueSetList DiscoverValueSets(const std::vector<std::filesystem::path>& dirs,
                               std::size_t maxSets = kMaxValueSets);

// Stable order: shorter labels first, equal lengths by text compared without
// regard to case over at most 12 characters.
void OrderValueSets(std::vector<LoadedSet>& sets);

// The last set whose label equals preferred exactly, else 0; -1 when empty.
int PreselectIndex(const ValueSetList& list, std::string_view preferred);

// Everything the program reads at start: settings, value sets, preselection.
struct ProgramState {
    std::filesystem::path directory;
    ProgramFiles files;
    Settings settings;
    ValueSetList valueSets;
    int preselected = -1;
};

} // namespace ohmtrim

namespace ohmtrim {

// Reads the settings file and discovers the value sets of dir.
ProgramState LoadProgramState(const std::filesystem::path& dir);
// Reads the settings file and discovers the value sets where files says.
ProgramState LoadProgramState(const ProgramFiles& files);

} // namespace ohmtrim
