#include "settings/discovery.h"

#include "valuesets/text.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace ohmtrim {

namespace {

bool HasValExtension(const std::string& name) {
    return name.size() > 4 && EqualNoCase(std::string_view(name).substr(name.size() - 4), ".val");
}

} // namespace

void OrderValueSets(std::vector<LoadedSet>& sets) {
    std::stable_sort(sets.begin(), sets.end(), [](const LoadedSet& a, const LoadedSet& b) {
        const auto& la = a.set->label();
        const auto& lb = b.set->label();
        if (la.size() != lb.size())
            return la.size() < lb.size();
        return CompareNoCase(la, lb, 12) < 0;
    });
}

ValueSetList DiscoverValueSets(const std::filesystem::path& dir, std::size_t maxSets) {
    return DiscoverValueSets(std::vector<std::filesystem::path>{dir}, maxSets);
}

ValueSetList DiscoverValueSets(const std::vector<std::filesystem::path>& dirs,
                               std::size_t maxSets) {
    ValueSetList list;
    // Each name with the directory that holds it; a later directory's file
    // takes the place of an earlier one of the same name.
    std::map<std::string, std::filesystem::path> found;
    for (const auto& dir : dirs) {
        std::error_code ec;
        std::filesystem::directory_iterator it(dir, ec);
        if (ec)
            continue;
        list.directories.push_back(dir);
        for (const std::filesystem::directory_iterator end{}; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            if (it->is_directory(typeError))
                continue;
            std::string name = it->path().filename().string();
            if (HasValExtension(name))
                found.insert_or_assign(std::move(name), dir);
        }
    }
    std::vector<std::string> names;
    for (const auto& entry : found)
        names.push_back(entry.first);
    // The order of a directory listing is the file system's business; sort by
    // name without regard to case (exact text breaks ties) so that every
    // machine loads the same files in the same order.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const int c = CompareNoCase(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (list.sets.size() >= maxSets) {
            list.skipped = names.size() - i;
            break;
        }
        const auto& dir = found.at(name);
        auto set = std::make_unique<ResistorSet>();
        if (set->Load(dir / name))
            list.sets.push_back({std::move(set), name, dir});
        else
            list.failures.push_back({name, set->errorText()});
    }
    OrderValueSets(list.sets);
    return list;
}

int PreselectIndex(const ValueSetList& list, std::string_view preferred) {
    if (list.sets.empty())
        return -1;
    for (int i = list.size() - 1; i >= 0; --i)
        if (list.at(i).label() == preferred)
            return i;
    return 0;
}

ProgramState LoadProgramState(const std::filesystem::path& dir) {
    return LoadProgramState(PortableFiles(dir));
}

ProgramState LoadProgramState(const ProgramFiles& files) {
    ProgramState state;
    state.directory = files.directory;
    state.files = files;
    state.settings = ReadSettings(files.SettingsToRead());
    state.valueSets = DiscoverValueSets(files.valueSetDirectories);
    state.preselected = PreselectIndex(state.valueSets, state.settings.preferredLabel);
    return state;
}

} // namespace ohmtrim
