#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ohmtrim {

// An INI-style profile file held in memory. Section and key names match
// without regard to case, the first occurrence of a section or key wins,
// values are trimmed of blanks and tabs, lines starting with ';' are
// comments, LF and CRLF both end a line, and a UTF-8 byte-order mark is
// ignored.
class ProfileFile {
public:
    static ProfileFile FromText(std::string_view text);
    // nullopt when the file cannot be read.
    static std::optional<ProfileFile> Read(const std::filesystem::path& file);

    // The value of key in section, cut to maxLength characters (before any
    // test by the caller); def when the section or key is absent.
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          std::size_t maxLength) const;
    // Leading decimal digits of the value, saturating at the largest 32-bit
    // value; 0 when there are none; def when the key is absent.
    int GetInt(std::string_view section, std::string_view key, int def) const;
    // Key names of a section, in file order, each once (first occurrence).
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // Case-folded key -> index into entries, so that lookups stay fast on
        // files with many keys.
        std::unordered_map<std::string, std::size_t> index;
    };
    const Section* FindSection(std::string_view name) const;
    const Entry* FindEntry(std::string_view section, std::string_view key) const;
    std::vector<Section> m_sections;
    // Case-folded section name -> index into m_sections.
    std::unordered_map<std::string, std::size_t> m_sectionIndex;
};

// Files above this size are refused by ProfileFile::Read and WriteProfileString:
// no profile this program uses comes near it, and parsing an arbitrary large
// file could take a lot of memory.
inline constexpr std::uintmax_t kMaxProfileFileSize = 4u << 20;

// What became of a write: done, or why the file was left as it was (a
// sentence part that names the file, such as "/x/omtr.ini is
// write-protected").
struct WriteResult {
    bool ok = false;
    std::string reason; // empty when ok
    explicit operator bool() const { return ok; }
};

// Sets key=value in section of the profile file, keeping every other line
// as it is; creates the file and the section as needed. A file that is a
// symbolic link is written through the link: the file at the end of the
// chain gets the new content, and the links stay. The new content is
// written to a temporary file beside that file, synced, and renamed over
// it, so a crash never leaves a half-written file. A write-protected file
// is never replaced. On failure the file is untouched and the result says
// why.
WriteResult WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value);

} // namespace ohmtrim
