// libFuzzer target: arbitrary bytes as a value-set file and as a number.
#include "valuesets/number.h"
#include "valuesets/profile.h"
#include "valuesets/resistor_set.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Broken() {
    std::abort();
}

void CheckLoadedSet(const ohmtrim::ResistorSet& set) {
    if (!set.IsLoaded()) {
        if (set.errorText().empty() || set.count() != 0 || set.values() != nullptr ||
            !set.label().empty())
            Broken();
        return;
    }
    if (!set.errorText().empty() || set.label().empty() || set.label().size() > 5)
        Broken();
    const double* v = set.values();
    const int n = set.count();
    const int first = set.hasShortCircuit() ? 1 : 0;
    const int last = n - 1 - (set.hasOpenCircuit() ? 1 : 0);
    if (v == nullptr || last < first)
        Broken();
    for (int i = 0; i < n; ++i) {
        if (!ohmtrim::IsResistanceInRange(v[i]) || (i > 0 && v[i - 1] > v[i]))
            Broken();
    }
    if (set.hasShortCircuit() && 100 * v[0] > v[1])
        Broken();
    if (set.hasOpenCircuit() && 100 * v[n - 2] > v[n - 1])
        Broken();
    // The lookups must stay on real entries for any x.
    for (const double x : {0.0, v[0], v[n - 1], 1e300, -1.0, v[first] * 1.5}) {
        const int k = set.NearestValueIndex(x);
        if (k < first || k > last)
            Broken();
        const int s = set.SmallerIndex(k);
        const int b = set.BiggerIndex(k);
        if ((s != -1 && (s < first || s != k - 1)) || (b != -1 && (b > last || b != k + 1)))
            Broken();
    }
}

void CheckNumber(std::string_view text) {
    double value = 0;
    const ohmtrim::NumberStatus status = ohmtrim::ParseNumber(text, value);
    double r = 0;
    const ohmtrim::ResistanceStatus rs = ohmtrim::ParseResistance(text, r);
    // The resistance rule is the number rule plus the range.
    switch (status) {
    case ohmtrim::NumberStatus::NotANumber:
        if (rs != ohmtrim::ResistanceStatus::NotANumber)
            Broken();
        break;
    case ohmtrim::NumberStatus::Overflow:
        if (rs != ohmtrim::ResistanceStatus::OutOfRange)
            Broken();
        break;
    case ohmtrim::NumberStatus::Number:
        if (std::isnan(value))
            Broken();
        if ((rs == ohmtrim::ResistanceStatus::Ok) != ohmtrim::IsResistanceInRange(value))
            Broken();
        if (rs == ohmtrim::ResistanceStatus::Ok && r != value)
            Broken();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CheckNumber(text);

    const ohmtrim::ProfileFile profile = ohmtrim::ProfileFile::FromText(text);
    for (const std::string& key : profile.Keys("Resistors")) {
        if (profile.GetString("Resistors", key, "", 23).size() > 23)
            Broken();
        CheckNumber(profile.GetString("Resistors", key, "", 23));
    }

    ohmtrim::ResistorSet set;
    set.LoadFromText(text);
    CheckLoadedSet(set);
    return 0;
}
