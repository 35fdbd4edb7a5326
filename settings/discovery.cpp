#include "settings/discovery.h"

#include "valuesets/text.h"

#include <algorithm>
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
    ValueSetList list;
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (HasValExtension(name))
            names.push_back(std::move(name));
    }
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
        auto set = std::make_unique<ResistorSet>();
        if (set->Load(dir / name))
            list.sets.push_back({std::move(set), name});
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
    ProgramState state;
    state.directory = dir;
    state.settings = ReadSettings(dir / kSettingsFileName);
    state.valueSets = DiscoverValueSets(dir);
    state.preselected = PreselectIndex(state.valueSets, state.settings.preferredLabel);
    return state;
}

} // namespace ohmtrim
