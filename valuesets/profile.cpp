#include "valuesets/profile.h"

#include "valuesets/number.h"
#include "valuesets/text.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ohmtrim {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One physical line of a profile. Offsets are into the whole text.
struct Line {
    std::size_t begin = 0;      // first byte of the line
    std::size_t contentEnd = 0; // end of the line without its "\n" or "\r\n"
    std::size_t next = 0;       // first byte of the next line
};

// Cuts text into lines; LF ends a line, and a CR right before it belongs to
// the line ending. The last line may lack an ending.
template <typename Visit> void ForEachLine(std::string_view text, std::size_t start, Visit visit) {
    std::size_t pos = start;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        Line line;
        line.begin = pos;
        if (lf == std::string_view::npos) {
            line.contentEnd = text.size();
            line.next = text.size();
        } else {
            line.contentEnd = (lf > pos && text[lf - 1] == '\r') ? lf - 1 : lf;
            line.next = lf + 1;
        }
        if (!visit(line))
            return;
        pos = line.next;
    }
}

enum class LineKind { Blank, Comment, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section or key name
    std::string_view value; // key value, trimmed
    // Offset (within the line content) where the value text starts, after
    // the '=' and any blanks: a rewrite replaces from here to the line end.
    std::size_t valueOffset = 0;
};

ParsedLine ParseLine(std::string_view content) {
    ParsedLine p;
    const std::string_view t = TrimBlanksAndTabs(content);
    if (t.empty())
        return p;
    if (t.front() == ';') {
        p.kind = LineKind::Comment;
        return p;
    }
    if (t.front() == '[') {
        std::string_view name = t.substr(1);
        const std::size_t close = name.find(']');
        if (close != std::string_view::npos)
            name = name.substr(0, close);
        p.kind = LineKind::Section;
        p.name = TrimBlanksAndTabs(name);
        return p;
    }
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) {
        p.kind = LineKind::Other;
        return p;
    }
    p.kind = LineKind::Key;
    p.name = TrimBlanksAndTabs(content.substr(0, eq));
    std::size_t v = eq + 1;
    while (v < content.size() && (content[v] == ' ' || content[v] == '\t'))
        ++v;
    p.valueOffset = v;
    p.value = TrimBlanksAndTabs(content.substr(v));
    return p;
}

std::size_t SkipBom(std::string_view text) {
    return text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole regular file of at most kMaxProfileFileSize bytes.
ReadResult ReadWholeFile(const std::filesystem::path& file, std::string& out) {
    std::error_code ec;
    const auto st = std::filesystem::status(file, ec);
    if (st.type() == std::filesystem::file_type::not_found)
        return ReadResult::Missing;
    if (ec || st.type() != std::filesystem::file_type::regular)
        return ReadResult::Failed;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return ReadResult::Failed;
    try {
        out.clear();
        char buffer[64 * 1024];
        // Read in chunks rather than trusting the size reported up front: the
        // file may grow while it is read.
        while (in) {
            in.read(buffer, sizeof buffer);
            const auto got = static_cast<std::size_t>(in.gcount());
            if (out.size() + got > kMaxProfileFileSize)
                return ReadResult::Failed;
            out.append(buffer, got);
        }
        if (in.bad())
            return ReadResult::Failed;
    } catch (const std::bad_alloc&) {
        return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

ProfileFile ProfileFile::FromText(std::string_view text) {
    ProfileFile profile;
    Section* current = nullptr; // null: before any section, or in a repeated one
    ForEachLine(text, SkipBom(text), [&](const Line& line) {
        const ParsedLine p = ParseLine(text.substr(line.begin, line.contentEnd - line.begin));
        if (p.kind == LineKind::Section) {
            auto [it, inserted] =
                profile.m_sectionIndex.try_emplace(FoldedKey(p.name), profile.m_sections.size());
            if (inserted) {
                profile.m_sections.push_back(Section{std::string(p.name), {}, {}});
                current = &profile.m_sections.back();
            } else {
                // A later section of the same name is never looked at.
                current = nullptr;
            }
        } else if (p.kind == LineKind::Key && current != nullptr) {
            auto [it, inserted] =
                current->index.try_emplace(FoldedKey(p.name), current->entries.size());
            if (inserted)
                current->entries.push_back(Entry{std::string(p.name), std::string(p.value)});
        }
        return true;
    });
    return profile;
}

std::optional<ProfileFile> ProfileFile::Read(const std::filesystem::path& file) {
    std::string text;
    if (ReadWholeFile(file, text) != ReadResult::Ok)
        return std::nullopt;
    try {
        return FromText(text);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
    const auto it = m_sectionIndex.find(FoldedKey(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const ProfileFile::Entry* ProfileFile::FindEntry(std::string_view section,
                                                 std::string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr)
        return nullptr;
    const auto it = s->index.find(FoldedKey(key));
    return it == s->index.end() ? nullptr : &s->entries[it->second];
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view def, std::size_t maxLength) const {
    const Entry* e = FindEntry(section, key);
    const std::string_view value = e != nullptr ? std::string_view(e->value) : def;
    return std::string(value.substr(0, maxLength));
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int def) const {
    const Entry* e = FindEntry(section, key);
    if (e == nullptr)
        return def;
    return static_cast<int>(LeadingDigits(e->value, INT_MAX).value);
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section)) {
        keys.reserve(s->entries.size());
        for (const Entry& e : s->entries)
            keys.push_back(e.key);
    }
    return keys;
}

namespace {

// Anything that would not read back as the same section, key and value is
// refused rather than written half-right.
bool WritableEntry(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos ||
        TrimBlanksAndTabs(section) != section)
        return false;
    if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
        key.front() == ';' || key.front() == '[' || TrimBlanksAndTabs(key) != key)
        return false;
    return !HasLineBreak(value);
}

// text with key=value set in section: the value of the first such key of
// the first such section replaced, else a line added after the section's
// last non-blank line, else the section added at the end.
std::string RewriteProfile(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value) {
    // Keep the file's own line endings for the lines we add.
    const std::size_t firstLf = text.find('\n');
    const std::string_view eol =
        (firstLf != std::string_view::npos && firstLf > 0 && text[firstLf - 1] == '\r') ? "\r\n"
                                                                                        : "\n";
    bool inSection = false;
    bool sectionFound = false;
    bool done = false;
    std::size_t insertAt = 0; // after the last non-blank line of the section
    bool insertNeedsEol = false;
    std::string updated;
    ForEachLine(text, SkipBom(text), [&](const Line& line) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const ParsedLine p = ParseLine(content);
        if (p.kind == LineKind::Section) {
            if (inSection)
                return false; // the section ended without the key
            if (!sectionFound && EqualNoCase(p.name, section)) {
                inSection = sectionFound = true;
                insertAt = line.next;
                insertNeedsEol = line.next == line.contentEnd;
            }
            return true;
        }
        if (!inSection)
            return true;
        if (p.kind == LineKind::Key && EqualNoCase(p.name, key)) {
            const std::size_t from = line.begin + p.valueOffset;
            updated.reserve(text.size() + value.size());
            updated.append(text.substr(0, from));
            updated.append(value);
            updated.append(text.substr(line.contentEnd));
            done = true;
            return false;
        }
        if (p.kind != LineKind::Blank) {
            insertAt = line.next;
            insertNeedsEol = line.next == line.contentEnd;
        }
        return true;
    });
    if (done)
        return updated;

    std::string added;
    if (sectionFound) {
        if (insertNeedsEol)
            added.append(eol);
        added.append(key).append("=").append(value).append(eol);
        updated.append(text.substr(0, insertAt)).append(added).append(text.substr(insertAt));
    } else {
        updated.append(text);
        if (!text.empty() && text.back() != '\n')
            updated.append(eol);
        updated.append("[").append(section).append("]").append(eol);
        updated.append(key).append("=").append(value).append(eol);
    }
    return updated;
}

// The reason of a failed system call, in words.
std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

WriteResult Failed(std::string reason) {
    return {false, std::move(reason)};
}

// How many links a path may lead through before the chain counts as a loop,
// as the system counts them.
constexpr int kMaxLinks = 40;

// The file a path names at the end of its chain of links (the path itself
// when it is no link); a link that dangles gives the file it would create.
// Each link's text is read relative to the directory of the link.
bool FollowLinks(const std::filesystem::path& file, std::filesystem::path& target,
                 std::string& reason) {
    target = file;
    for (int links = 0;; ++links) {
        std::error_code ec;
        const auto type = std::filesystem::symlink_status(target, ec).type();
        if (type != std::filesystem::file_type::symlink)
            return true; // not found, a file, or an error that the read reports
        if (links == kMaxLinks) {
            reason = file.string() + " leads through too many symbolic links";
            return false;
        }
        const std::filesystem::path to = std::filesystem::read_symlink(target, ec);
        if (ec) {
            reason = "cannot read the link " + target.string() + ": " + ec.message();
            return false;
        }
        target = to.is_absolute() ? to : target.parent_path() / to;
    }
}

// Write permission as the owner of the file set it: the superuser could
// write a read-only file anyway, but a protected file means "leave it".
bool WriteProtected(const std::filesystem::path& file, const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(file.c_str(), W_OK) != 0;
}

// Writes all of content to fd; false with errno set on failure.
bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes a finished rename survive a crash; some file systems cannot sync a
// directory, and the new content is in place either way.
void SyncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes content to a temporary file beside file and renames it over file,
// so that a crash leaves either the old or the new content, never half of
// it: the temporary file is synced before the rename and the directory
// after it. An existing file keeps its permissions and, where the system
// lets us, its owner.
WriteResult ReplaceFile(const std::filesystem::path& file, std::string_view content,
                        const struct stat* old) {
    // Beside the file, so that the rename stays on one file system and
    // replaces the old content in one step.
    std::filesystem::path temp = file;
    temp += ".tmp";
    struct stat tst {};
    if (::lstat(temp.c_str(), &tst) == 0) {
        // A file of that name is a leftover of an earlier crash; anything
        // else (a directory, a link to who knows what) is not ours to touch.
        if (!S_ISREG(tst.st_mode) || ::unlink(temp.c_str()) != 0)
            return Failed(temp.string() + " is in the way");
    }
    const mode_t mode = old != nullptr ? (old->st_mode & 07777) : 0666;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM || error == EROFS)
            return Failed("the directory " + temp.parent_path().string() + " is not writable");
        if (error == EEXIST || error == ELOOP || error == EISDIR)
            return Failed(temp.string() + " is in the way");
        return Failed("cannot create " + temp.string() + ": " + ErrnoText(error));
    }
    if (old != nullptr) {
        // The mode given to open() went through the umask. Best effort.
        (void)!::fchown(fd, old->st_uid, old->st_gid);
        ::fchmod(fd, old->st_mode & 07777);
    }
    std::string reason;
    if (!WriteAll(fd, content) || ::fsync(fd) != 0)
        reason = "cannot write " + temp.string() + ": " + ErrnoText(errno);
    if (::close(fd) != 0 && reason.empty())
        reason = "cannot write " + temp.string() + ": " + ErrnoText(errno);
    if (reason.empty() && ::rename(temp.c_str(), file.c_str()) != 0)
        reason = "cannot replace " + file.string() + ": " + ErrnoText(errno);
    if (!reason.empty()) {
        ::unlink(temp.c_str());
        return Failed(std::move(reason));
    }
    SyncDirectory(file.parent_path());
    return {true, {}};
}

} // namespace

WriteResult WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value) {
    if (!WritableEntry(section, key, value))
        return Failed("the entry cannot be stored in a profile file");
    try {
        std::filesystem::path target;
        std::string reason;
        if (!FollowLinks(file, target, reason))
            return Failed(std::move(reason));
        struct stat st {};
        const bool existed = ::stat(target.c_str(), &st) == 0;
        if (!existed && errno != ENOENT)
            return Failed("cannot read " + target.string() + ": " + ErrnoText(errno));
        if (existed && !S_ISREG(st.st_mode))
            return Failed(target.string() + " is not a file");
        std::string old;
        if (existed && ReadWholeFile(target, old) != ReadResult::Ok)
            return Failed("cannot read " + target.string());
        const std::string updated = RewriteProfile(old, section, key, value);
        if (existed && updated == old)
            return {true, {}};
        if (existed && WriteProtected(target, st))
            return Failed(target.string() + " is write-protected");
        return ReplaceFile(target, updated, existed ? &st : nullptr);
    } catch (const std::bad_alloc&) {
        return Failed("not enough memory");
    }
}

} // namespace ohmtrim
