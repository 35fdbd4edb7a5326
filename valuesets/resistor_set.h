#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ohmtrim {

class ProfileFile;

// One loaded value-set file: its label and its ascending value table,
// optionally framed by a short-circuit entry (first) and an open-circuit
// entry (last).
class ResistorSet {
public:
    // Reads and checks the file; false with errorText() set on failure (the
    // record is then cleared).
    bool Load(const std::filesystem::path& file);
    // The same checks on file content already in memory.
    bool LoadFromText(std::string_view text);
    // Frees the table and resets everything but errorText().
    void Clear();
    bool IsLoaded() const { return m_loaded; }

    // Index (into values()) of the real entry nearest to x; short-circuit and
    // open-circuit entries are never returned; a tie goes to the smaller value.
    int NearestValueIndex(double x) const;
    // i - 1 / i + 1 when that index is a real entry, else -1.
    int SmallerIndex(int i) const;
    int BiggerIndex(int i) const;

    const std::string& label() const { return m_label; }
    const std::string& errorText() const { return m_errorText; }
    int count() const { return static_cast<int>(m_values.size()); }
    const double* values() const { return m_values.empty() ? nullptr : m_values.data(); }
    bool hasShortCircuit() const { return m_hasShortCircuit; }
    bool hasOpenCircuit() const { return m_hasOpenCircuit; }
    int minIndex() const { return m_minIndex; }
    int maxIndex() const { return m_maxIndex; }

private:
    bool LoadProfile(const ProfileFile& profile);
    bool LoadChecked(const ProfileFile& profile);
    // The steps of LoadChecked; each false after Fail().
    bool ReadHeader(const ProfileFile& profile);
    // An optional level key: absent (present false) or a resistance in range.
    bool ReadLevel(const ProfileFile& profile, std::string_view key, double& value, bool& present);
    bool ReadValues(const ProfileFile& profile, double shortCircuit, double openCircuit);
    bool CheckLevels(double shortCircuit, double openCircuit);
    // Clears the record, keeps message as errorText() and returns false.
    bool Fail(std::string message);

    bool m_loaded = false;
    bool m_hasShortCircuit = false;
    bool m_hasOpenCircuit = false;
    int m_minIndex = 0;
    int m_maxIndex = 0;
    std::vector<double> m_values;
    std::string m_label;
    std::string m_errorText;
};

// The same lookups on a bare table whose framing entries are known: they
// serve ResistorSet and every caller that holds a table with its flags.
int NearestRealIndex(double x, const double* values, int count, bool hasShortCircuit,
                     bool hasOpenCircuit);
int SmallerRealIndex(int i, int count, bool hasShortCircuit, bool hasOpenCircuit);
int BiggerRealIndex(int i, int count, bool hasShortCircuit, bool hasOpenCircuit);

} // namespace ohmtrim
