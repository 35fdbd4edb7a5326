#include "settings/discovery.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace ohmtrim {

namespace {

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Three-way comparison of a and b without regard to case over at most
// limit characters.
int CompareNoCase(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t n = std::min({a.size(), b.size(), limit});
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Upper(a[i]);
        const char y = Upper(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    const std::size_t la = std::min(a.size(), limit);
    const std::size_t lb = std::min(b.size(), limit);
    return la == lb ? 0 : (la < lb ? -1 : 1);
}

bool HasValExtension(const std::string& name) {
    return name.size() > 4 &&
           CompareNoCase(std::string_view(name).substr(name.size() - 4), ".val", 4) == 0;
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
        const int c = CompareNoCase(a, b, std::string::npos);
        return c != 0 ? c < 0 : a < b;
    });
    for (const auto& name : names) {
        if (list.sets.size() >= maxSets)
            break;
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
