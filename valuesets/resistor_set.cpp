#include "valuesets/resistor_set.h"

#include "valuesets/number.h"
#include "valuesets/profile.h"
#include "valuesets/text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <new>
#include <optional>
#include <system_error>
#include <utility>

namespace ohmtrim {

namespace {

constexpr std::string_view kSection = "Resistors";

// Longest text the loader looks at for each key; longer values are cut
// before they are checked, so a long label reads as "too long", not as
// something else.
constexpr std::size_t kLabelLength = 11;
constexpr std::size_t kLevelLength = 19;
constexpr std::size_t kValueLength = 23;
constexpr std::size_t kMaxLabelChars = 5;

// The table starts with room for this many values and grows from there.
constexpr std::size_t kInitialCapacity = 100;

// n of a key "R<n>" (any case, decimal, no leading zeros), or nothing.
std::optional<std::int64_t> ValueKeyNumber(std::string_view key) {
    if (key.size() < 2 || (key[0] != 'R' && key[0] != 'r'))
        return std::nullopt;
    const std::string_view digits = key.substr(1);
    if (digits.size() > 1 && digits[0] == '0')
        return std::nullopt;
    // More than ten digits is beyond any 32-bit index.
    if (digits.size() > 10)
        return std::nullopt;
    return DigitsValue(digits);
}

std::string ValueKeyName(std::int64_t n) {
    char name[16];
    std::snprintf(name, sizeof name, "R%u", static_cast<unsigned>(n));
    return name;
}

enum class LevelResult { Absent, Ok, NotANumber, OutOfRange };

LevelResult ReadLevelText(const ProfileFile& profile, std::string_view key, double& value) {
    const std::string text = profile.GetString(kSection, key, "", kLevelLength);
    if (text.empty())
        return LevelResult::Absent;
    switch (ParseExactResistance(text, value)) {
    case ResistanceStatus::Ok:
        return LevelResult::Ok;
    case ResistanceStatus::NotANumber:
        return LevelResult::NotANumber;
    case ResistanceStatus::OutOfRange:
        break;
    }
    return LevelResult::OutOfRange;
}

} // namespace

int NearestRealIndex(double x, const double* values, int count, bool hasShortCircuit,
                     bool hasOpenCircuit) {
    const int first = hasShortCircuit ? 1 : 0;
    const int n = count - first - (hasOpenCircuit ? 1 : 0);
    if (values == nullptr || n < 1)
        return -1;
    const double* p = values + first;
    const int a = n - 1;
    int result = 0;
    if (n == 1 || x <= p[0]) {
        result = 0;
    } else if (x >= p[a]) {
        result = a;
    } else if (n == 2) {
        // Equal distance goes to the smaller value.
        result = (p[1] - x) >= (x - p[0]) ? 0 : 1;
    } else {
        // p[lo] < x <= p[hi] throughout; stop once lo, mid and hi are
        // neighbours and pick the nearest of the three.
        int lo = 0;
        int hi = a;
        int mid = (lo + hi) / 2;
        while (!(mid <= lo + 1 && mid + 1 >= hi)) {
            if (x > p[mid])
                lo = mid;
            else
                hi = mid;
            mid = (lo + hi) / 2;
        }
        result = lo;
        double best = std::fabs(x - p[lo]);
        for (const int k : {mid, hi}) {
            const double d = std::fabs(x - p[k]);
            if (d < best) {
                best = d;
                result = k;
            }
        }
    }
    return result + first;
}

int SmallerRealIndex(int i, int count, bool hasShortCircuit, bool hasOpenCircuit) {
    const int first = hasShortCircuit ? 1 : 0;
    const int last = count - 1 - (hasOpenCircuit ? 1 : 0);
    // Written so that no i, however wild, overflows.
    if (i > first && i - 1 <= last)
        return i - 1;
    return -1;
}

int BiggerRealIndex(int i, int count, bool hasShortCircuit, bool hasOpenCircuit) {
    const int first = hasShortCircuit ? 1 : 0;
    const int last = count - 1 - (hasOpenCircuit ? 1 : 0);
    if (i < last && i + 1 >= first)
        return i + 1;
    return -1;
}

void ResistorSet::Clear() {
    m_loaded = false;
    m_hasShortCircuit = false;
    m_hasOpenCircuit = false;
    m_minIndex = 0;
    m_maxIndex = 0;
    std::vector<double>().swap(m_values); // frees the memory, unlike clear()
    m_label.clear();
}

bool ResistorSet::Load(const std::filesystem::path& file) {
    Clear();
    m_errorText.clear();
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxProfileFileSize) {
        m_errorText = "File is too large.";
        return false;
    }
    std::optional<ProfileFile> profile;
    try {
        profile = ProfileFile::Read(file);
    } catch (const std::bad_alloc&) {
        m_errorText = "Not enough memory";
        return false;
    }
    if (!profile) {
        m_errorText = "Cannot read the file.";
        return false;
    }
    return LoadProfile(*profile);
}

bool ResistorSet::LoadFromText(std::string_view text) {
    Clear();
    m_errorText.clear();
    std::optional<ProfileFile> profile;
    try {
        profile = ProfileFile::FromText(text);
    } catch (const std::bad_alloc&) {
        m_errorText = "Not enough memory";
        return false;
    }
    return LoadProfile(*profile);
}

bool ResistorSet::Fail(std::string message) {
    Clear();
    m_errorText = std::move(message);
    return false;
}

bool ResistorSet::LoadProfile(const ProfileFile& profile) {
    try {
        return LoadChecked(profile);
    } catch (const std::bad_alloc&) {
        return Fail("Not enough memory");
    }
}

bool ResistorSet::LoadChecked(const ProfileFile& profile) {
    m_errorText.clear();
    double shortCircuit = 0;
    double openCircuit = 0;
    if (!ReadHeader(profile) ||
        !ReadLevel(profile, "ShortCircuitResistanceLevel", shortCircuit, m_hasShortCircuit) ||
        !ReadLevel(profile, "OpenCircuitResistanceLevel", openCircuit, m_hasOpenCircuit))
        return false;
    // Any allocation failure from here on ends in this message (LoadProfile
    // catches it).
    m_errorText = "Not enough memory";
    if (!ReadValues(profile, shortCircuit, openCircuit) || !CheckLevels(shortCircuit, openCircuit))
        return false;
    m_errorText.clear();
    m_loaded = true;
    return true;
}

bool ResistorSet::ReadHeader(const ProfileFile& profile) {
    m_label = profile.GetString(kSection, "Label", "", kLabelLength);
    const std::size_t labelLength = m_label.size();
    m_minIndex = profile.GetInt(kSection, "MinIndex", 0);
    m_maxIndex = profile.GetInt(kSection, "MaxIndex", 0);
    if (m_minIndex < 1)
        return Fail("MinIndex < 1");
    if (m_maxIndex < 1)
        return Fail("MaxIndex < 1");
    if (m_minIndex > m_maxIndex)
        return Fail("MinIndex > MaxIndex");
    if (labelLength == 0)
        return Fail("Missing: \"Label=\"");
    if (labelLength > kMaxLabelChars)
        return Fail("Label is too long (max 5 characters)");
    return true;
}

bool ResistorSet::ReadLevel(const ProfileFile& profile, std::string_view key, double& value,
                            bool& present) {
    present = false;
    switch (ReadLevelText(profile, key, value)) {
    case LevelResult::Absent:
        return true;
    case LevelResult::Ok:
        present = true;
        return true;
    case LevelResult::NotANumber:
        return Fail("Error: " + std::string(key));
    case LevelResult::OutOfRange:
        break;
    }
    return Fail("Error: " + std::string(key) + " out of range.");
}

bool ResistorSet::ReadValues(const ProfileFile& profile, double shortCircuit, double openCircuit) {
    m_values.reserve(kInitialCapacity);
    if (m_hasShortCircuit)
        m_values.push_back(shortCircuit);

    // Only the R<n> keys the file actually has are visited, in ascending n:
    // the same outcome as trying every n of MinIndex..MaxIndex, without a
    // stall when the range is in the billions.
    std::vector<std::pair<std::int64_t, std::string>> keys;
    for (std::string& key : profile.Keys(kSection)) {
        const auto n = ValueKeyNumber(key);
        if (n && *n >= m_minIndex && *n <= m_maxIndex)
            keys.emplace_back(*n, std::move(key));
    }
    // Keys() gives each name once, and "R<n>" without leading zeros is one
    // name per n, so the numbers are distinct.
    std::sort(keys.begin(), keys.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    bool foundResistor = false;
    for (const auto& [n, key] : keys) {
        const std::string text = profile.GetString(kSection, key, "", kValueLength);
        if (text.empty())
            continue;
        double value = 0;
        switch (ParseExactResistance(text, value)) {
        case ResistanceStatus::NotANumber:
            return Fail("Input error: " + ValueKeyName(n));
        case ResistanceStatus::OutOfRange:
            return Fail("Error: " + ValueKeyName(n) + " out of range.");
        case ResistanceStatus::Ok:
            break;
        }
        m_values.push_back(value);
        foundResistor = true;
    }
    if (!foundResistor)
        return Fail("No resistors found.");
    if (m_hasOpenCircuit)
        m_values.push_back(openCircuit);
    std::sort(m_values.begin(), m_values.end());
    return true;
}

bool ResistorSet::CheckLevels(double shortCircuit, double openCircuit) {
    // The checks look at the sorted table: a level that is not 100 times
    // away from every real value fails even if it sorted into the middle.
    const std::size_t count = m_values.size();
    if (m_hasShortCircuit && 100 * shortCircuit > m_values[1])
        return Fail("ShortCircuitResistanceLevel is too high.");
    if (m_hasOpenCircuit && 100 * m_values[count - 2] > openCircuit)
        return Fail("OpenCircuitResistanceLevel is too low.");
    return true;
}

int ResistorSet::NearestValueIndex(double x) const {
    return NearestRealIndex(x, values(), count(), m_hasShortCircuit, m_hasOpenCircuit);
}

int ResistorSet::SmallerIndex(int i) const {
    return SmallerRealIndex(i, count(), m_hasShortCircuit, m_hasOpenCircuit);
}

int ResistorSet::BiggerIndex(int i) const {
    return BiggerRealIndex(i, count(), m_hasShortCircuit, m_hasOpenCircuit);
}

} // namespace ohmtrim
