#include "valuesets/profile.h"

#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace ohmtrim {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

struct StringCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::size_t maxLength;
    const char* expected; // "<def>" when the default comes back
};

TEST(ProfileFile, GetString) {
    const StringCase cases[] = {
        {"plain", "[S]\nk=v\n", "S", "k", 99, "v"},
        {"section and key in other case", "[Setup]\nLabel=E24\n", "SETUP", "label", 99, "E24"},
        {"blanks and tabs trimmed", "[S]\n  k \t= \t a b \t\n", "S", "k", 99, "a b"},
        {"cut after trimming", "[S]\nk=   abcdef\n", "S", "k", 3, "abc"},
        {"empty value is not the default", "[S]\nk=\n", "S", "k", 99, ""},
        {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", 99, "1"},
        {"first section wins", "[S]\na=1\n[s]\nk=2\n", "S", "k", 99, "<def>"},
        {"other section's key", "[A]\nk=1\n[B]\nx=2\n", "B", "k", 99, "<def>"},
        {"key before any section", "k=1\n[S]\n", "S", "k", 99, "<def>"},
        {"missing section", "[A]\nk=1\n", "S", "k", 99, "<def>"},
        {"CRLF", "[S]\r\nk=v\r\nx=y\r\n", "S", "k", 99, "v"},
        {"byte-order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", 99, "v"},
        {"comment line is not a key", "[S]\n;k=1\nk=2\n", "S", "k", 99, "2"},
        {"indented comment", "[S]\n \t;k=1\nk=2\n", "S", "k", 99, "2"},
        {"semicolon inside a value stays", "[S]\nk=a;b\n", "S", "k", 99, "a;b"},
        {"second equals sign belongs to the value", "[S]\nk=a=b\n", "S", "k", 99, "a=b"},
        {"blanks inside section name", "[ S ]\nk=v\n", "S", "k", 99, "v"},
        {"line without equals ignored", "[S]\nk\nk=v\n", "S", "k", 99, "v"},
        {"last line without line end", "[S]\nk=v", "S", "k", 99, "v"},
        {"lone CR is part of the value", "[S]\nk=a\rb\n", "S", "k", 99, "a\rb"},
        {"empty text", "", "S", "k", 99, "<def>"},
    };
    for (const auto& c : cases) {
        const ProfileFile p = ProfileFile::FromText(c.text);
        const std::string expected = std::string(c.expected) == "<def>" ? "DEF" : c.expected;
        EXPECT_EQ(p.GetString(c.section, c.key, "DEF", c.maxLength), expected) << c.name;
    }
}

TEST(ProfileFile, DefaultIsCutToo) {
    const ProfileFile p = ProfileFile::FromText("");
    EXPECT_EQ(p.GetString("S", "k", "abcdef", 2), "ab");
}

struct IntCase {
    const char* value;
    int expected;
};

TEST(ProfileFile, GetInt) {
    const IntCase cases[] = {
        {"150", 150},
        {"  42  ", 42},
        {"12abc", 12},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999", INT_MAX},
        {"-5", 0},
        {"+5", 0},
        {"abc", 0},
        {"", 0},
        {"1.9", 1},
    };
    for (const auto& c : cases) {
        const ProfileFile p = ProfileFile::FromText(std::string("[S]\nn=") + c.value + "\n");
        EXPECT_EQ(p.GetInt("S", "n", -7), c.expected) << c.value;
    }
    EXPECT_EQ(ProfileFile::FromText("[S]\n").GetInt("S", "n", -7), -7) << "absent key";
}

TEST(ProfileFile, KeysInFileOrderOnce) {
    const ProfileFile p =
        ProfileFile::FromText("[S]\nb=1\na=2\nB=3\n;c=4\nd=5\n[T]\ne=6\n[s]\nf=7\n");
    EXPECT_EQ(p.Keys("s"), (std::vector<std::string>{"b", "a", "d"}));
    EXPECT_EQ(p.Keys("T"), (std::vector<std::string>{"e"}));
    EXPECT_TRUE(p.Keys("missing").empty());
}

TEST(ProfileFile, ReadFromDisk) {
    TempDir dir;
    WriteFile(dir / "a.ini", "[S]\r\nk=v\r\n");
    const auto p = ProfileFile::Read(dir / "a.ini");
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->GetString("S", "k", "", 99), "v");
}

TEST(ProfileFile, ReadRefusesWhatItCannotRead) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    WriteFile(dir / "huge.ini",
              std::string(static_cast<std::size_t>(kMaxProfileFileSize) + 1, '\n'));
    EXPECT_FALSE(ProfileFile::Read(dir / "missing.ini").has_value());
    EXPECT_FALSE(ProfileFile::Read(dir / "sub").has_value());
    EXPECT_FALSE(ProfileFile::Read(dir / "huge.ini").has_value());
}

TEST(ProfileFile, BinaryTextDoesNotCrash) {
    std::mt19937 rng(3);
    for (int round = 0; round < 50; ++round) {
        std::string text;
        const std::size_t size = rng() % 5000;
        for (std::size_t i = 0; i < size; ++i) {
            // Mostly structure characters, so that sections and keys appear.
            const char pick[] = "[]=;\n\r\t a\0\xff";
            text += rng() % 2 ? pick[rng() % (sizeof pick - 1)] : static_cast<char>(rng());
        }
        const ProfileFile p = ProfileFile::FromText(text);
        for (const std::string& key : p.Keys("a"))
            EXPECT_LE(p.GetString("a", key, "", 5).size(), 5u);
    }
}

// ---- WriteProfileString -------------------------------------------------------

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(WriteProfileString, Rewrites) {
    const WriteCase cases[] = {
        {"replaces the value only", "; top\n[Setup]\nRelTol=1e-6\nLabel=E12\n; end\n", "Setup",
         "Label", "E24", "; top\n[Setup]\nRelTol=1e-6\nLabel=E24\n; end\n"},
        {"keeps the file's key spelling and blanks", "[SETUP]\n  label = E12  \nx=1\n", "Setup",
         "Label", "E6", "[SETUP]\n  label = E6\nx=1\n"},
        {"only the first occurrence", "[Setup]\nLabel=A\nLabel=B\n", "Setup", "Label", "C",
         "[Setup]\nLabel=C\nLabel=B\n"},
        {"only in the first section of that name",
         "[Setup]\nx=1\n[Other]\nLabel=A\n[setup]\n"
         "Label=B\n",
         "Setup", "Label", "C", "[Setup]\nx=1\nLabel=C\n[Other]\nLabel=A\n[setup]\nLabel=B\n"},
        {"CRLF kept", "[Setup]\r\nLabel=A\r\nRelTol=0\r\n", "Setup", "Label", "B",
         "[Setup]\r\nLabel=B\r\nRelTol=0\r\n"},
        {"adds the key to its section with the file's line ends",
         "[Setup]\r\nRelTol=0\r\n\r\n[Next]\r\nq=1\r\n", "Setup", "Label", "E3",
         "[Setup]\r\nRelTol=0\r\nLabel=E3\r\n\r\n[Next]\r\nq=1\r\n"},
        {"adds after a section header on the last line", "; c\n[Setup]", "Setup", "Label", "E3",
         "; c\n[Setup]\nLabel=E3\n"},
        {"adds after a last line without line end", "[Setup]\nRelTol=0", "Setup", "Label", "E3",
         "[Setup]\nRelTol=0\nLabel=E3\n"},
        {"appends a missing section", "[Other]\nx=1\n", "Setup", "Label", "E3",
         "[Other]\nx=1\n[Setup]\nLabel=E3\n"},
        {"appends a missing section after an unterminated line", "[Other]\nx=1", "Setup", "Label",
         "E3", "[Other]\nx=1\n[Setup]\nLabel=E3\n"},
        {"keeps the byte-order mark", "\xEF\xBB\xBF[Setup]\nLabel=A\n", "Setup", "Label", "B",
         "\xEF\xBB\xBF[Setup]\nLabel=B\n"},
        {"commented key is not the key", "[Setup]\n;Label=A\n", "Setup", "Label", "B",
         "[Setup]\n;Label=A\nLabel=B\n"},
        {"empty value", "[Setup]\nLabel=A\n", "Setup", "Label", "", "[Setup]\nLabel=\n"},
        {"empty file", "", "Setup", "Label", "E12", "[Setup]\nLabel=E12\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto file = dir / "omtr.ini";
        WriteFile(file, c.before);
        EXPECT_TRUE(WriteProfileString(file, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(ReadFile(file), c.after) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir / "omtr.ini.tmp")) << c.name;
    }
}

TEST(WriteProfileString, CreatesTheFile) {
    TempDir dir;
    const auto file = dir / "new.ini";
    ASSERT_TRUE(WriteProfileString(file, "Setup", "Label", "E96"));
    EXPECT_EQ(ReadFile(file), "[Setup]\nLabel=E96\n");
    ASSERT_TRUE(WriteProfileString(file, "Setup", "RelTol", "0.001"));
    const auto p = ProfileFile::Read(file);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->GetString("Setup", "Label", "", 99), "E96");
    EXPECT_EQ(p->GetString("Setup", "RelTol", "", 99), "0.001");
}

TEST(WriteProfileString, ReplacesAStaleTempFile) {
    TempDir dir;
    const auto file = dir / "omtr.ini";
    WriteFile(file, "[Setup]\nLabel=A\n");
    WriteFile(dir / "omtr.ini.tmp", "left over from a crash, and longer than the new content");
    ASSERT_TRUE(WriteProfileString(file, "Setup", "Label", "B"));
    EXPECT_EQ(ReadFile(file), "[Setup]\nLabel=B\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "omtr.ini.tmp"));
}

TEST(WriteProfileString, FailureLeavesTheFileAlone) {
    const std::string original = "; keep me\n[Setup]\nLabel=E12\n";
    struct Case {
        const char* name;
        void (*prepare)(const TempDir& dir);
        const char* file;
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"temp path is a directory",
         [](const TempDir& d) { std::filesystem::create_directory(d / "omtr.ini.tmp"); },
         "omtr.ini", "Setup", "Label", "E24"},
        {"parent directory missing", [](const TempDir&) {}, "nowhere/omtr.ini", "Setup", "Label",
         "E24"},
        {"target is a directory",
         [](const TempDir& d) { std::filesystem::create_directory(d / "isdir.ini"); }, "isdir.ini",
         "Setup", "Label", "E24"},
        {"line break in the value", [](const TempDir&) {}, "omtr.ini", "Setup", "Label",
         "E24\n[Evil]"},
        {"equals sign in the key", [](const TempDir&) {}, "omtr.ini", "Setup", "La=bel", "E24"},
        {"empty key", [](const TempDir&) {}, "omtr.ini", "Setup", "", "E24"},
        {"bracket in the section", [](const TempDir&) {}, "omtr.ini", "Set]up", "Label", "E24"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / "omtr.ini", original);
        c.prepare(dir);
        EXPECT_FALSE(WriteProfileString(dir / c.file, c.section, c.key, c.value)) << c.name;
        EXPECT_EQ(ReadFile(dir / "omtr.ini"), original) << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir / "nowhere")) << c.name;
    }
}

// A settings path may name a link: the new content goes to the file at the
// end of the chain (created there when the link dangles), the temporary file
// beside that file, and every link stays a link.
TEST(WriteProfileString, WritesThroughLinks) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links; // link, what it points to
        const char* target;
        bool targetExists;
    } cases[] = {
        {"link beside its target", {{"omtr.ini", "real.ini"}}, "real.ini", true},
        {"link into another directory", {{"omtr.ini", "sub/real.ini"}}, "sub/real.ini", true},
        {"chain of links, relative to each link",
         {{"omtr.ini", "sub/a.ini"}, {"sub/a.ini", "../b.ini"}, {"b.ini", "real.ini"}},
         "real.ini",
         true},
        {"dangling link", {{"omtr.ini", "sub/new.ini"}}, "sub/new.ini", false},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::filesystem::create_directory(dir / "sub");
        if (c.targetExists)
            WriteFile(dir / c.target, "; mine\n[Setup]\nLabel=A\n");
        for (const auto& [link, to] : c.links)
            std::filesystem::create_symlink(to, dir / link);
        const WriteResult r = WriteProfileString(dir / "omtr.ini", "Setup", "Label", "B");
        EXPECT_TRUE(r) << c.name << ": " << r.reason;
        for (const auto& [link, to] : c.links)
            EXPECT_TRUE(std::filesystem::is_symlink(dir / link)) << c.name << ": " << link;
        EXPECT_EQ(ReadFile(dir / c.target),
                  c.targetExists ? "; mine\n[Setup]\nLabel=B\n" : "[Setup]\nLabel=B\n")
            << c.name;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            EXPECT_NE(entry.path().extension(), ".tmp") << c.name << ": " << entry.path();
    }
}

// When the file cannot be written, it is left exactly as it was and the
// result says why.
TEST(WriteProfileString, SaysWhyItLeavesTheFileAlone) {
    const std::string original = "[Setup]\nLabel=A\n";
    const struct {
        const char* name;
        void (*prepare)(const TempDir& dir);
        const char* reason;
    } cases[] = {
        {"write-protected file",
         [](const TempDir& d) {
             std::filesystem::permissions(d / "omtr.ini", std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::group_read |
                                                              std::filesystem::perms::others_read);
         },
         "omtr.ini is write-protected"},
        {"write-protected target of a link",
         [](const TempDir& d) {
             std::filesystem::rename(d / "omtr.ini", d / "real.ini");
             std::filesystem::create_symlink("real.ini", d / "omtr.ini");
             std::filesystem::permissions(d / "real.ini", std::filesystem::perms::owner_read);
         },
         "real.ini is write-protected"},
        {"directory in the way of the temporary file",
         [](const TempDir& d) { std::filesystem::create_directory(d / "omtr.ini.tmp"); },
         "omtr.ini.tmp is in the way"},
        {"link in the way of the temporary file",
         [](const TempDir& d) {
             WriteFile(d / "other.txt", "untouched");
             std::filesystem::create_symlink("other.txt", d / "omtr.ini.tmp");
         },
         "omtr.ini.tmp is in the way"},
        {"link loop",
         [](const TempDir& d) {
             std::filesystem::rename(d / "omtr.ini", d / "kept.ini");
             std::filesystem::create_symlink("loop.ini", d / "omtr.ini");
             std::filesystem::create_symlink("omtr.ini", d / "loop.ini");
         },
         "too many symbolic links"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / "omtr.ini", original);
        c.prepare(dir);
        const WriteResult r = WriteProfileString(dir / "omtr.ini", "Setup", "Label", "B");
        EXPECT_FALSE(r) << c.name;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << c.name << ": " << r.reason;
        for (const char* name : {"omtr.ini", "real.ini", "kept.ini"}) {
            std::error_code ec; // a link loop has no type
            if (std::filesystem::is_regular_file(dir / name, ec)) {
                EXPECT_EQ(ReadFile(dir / name), original) << c.name << ": " << name;
            }
        }
        if (std::filesystem::exists(dir / "other.txt")) {
            EXPECT_EQ(ReadFile(dir / "other.txt"), "untouched") << c.name;
        }
    }
}

TEST(WriteProfileString, SaysWhenTheDirectoryIsNotWritable) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into any directory";
    TempDir dir;
    WriteFile(dir / "omtr.ini", "[Setup]\nLabel=A\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    const WriteResult r = WriteProfileString(dir / "omtr.ini", "Setup", "Label", "B");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_FALSE(r);
    EXPECT_NE(r.reason.find("is not writable"), std::string::npos) << r.reason;
}

TEST(WriteProfileString, TempDirectoryIsNotRemoved) {
    TempDir dir;
    WriteFile(dir / "omtr.ini", "[Setup]\nLabel=A\n");
    std::filesystem::create_directory(dir / "omtr.ini.tmp");
    EXPECT_FALSE(WriteProfileString(dir / "omtr.ini", "Setup", "Label", "B"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "omtr.ini.tmp"));
}

TEST(WriteProfileString, RefusesAHugeFile) {
    TempDir dir;
    const std::string big(static_cast<std::size_t>(kMaxProfileFileSize) + 10, ';');
    WriteFile(dir / "big.ini", big);
    EXPECT_FALSE(WriteProfileString(dir / "big.ini", "Setup", "Label", "B"));
    EXPECT_EQ(std::filesystem::file_size(dir / "big.ini"), big.size());
}

} // namespace
} // namespace ohmtrim
