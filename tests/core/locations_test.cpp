#include "settings/discovery.h"
#include "settings/locations.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

namespace ohmtrim {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::ValueSetText;
using testing::WriteFile;
namespace fs = std::filesystem;

TEST(ProgramFiles, WhereSettingsAndValueSetsAre) {
    const fs::path dir = "/opt/prog";
    const struct {
        const char* name;
        bool writable;
        UserEnvironment env;
        const char* settings;
        const char* shipped; // "" when portable
        std::vector<fs::path> valueSetDirs;
    } cases[] = {
        {"writable: portable, whatever the environment",
         true,
         {"/x/c", "/x/d", "/home/u"},
         "/opt/prog/omtr.ini",
         "",
         {"/opt/prog"}},
        {"installed: home defaults",
         false,
         {nullptr, nullptr, "/home/u"},
         "/home/u/.config/ohmtrim/omtr.ini",
         "/opt/prog/omtr.ini",
         {"/opt/prog", "/home/u/.local/share/ohmtrim"}},
        {"installed: XDG directories",
         false,
         {"/x/c", "/x/d", "/home/u"},
         "/x/c/ohmtrim/omtr.ini",
         "/opt/prog/omtr.ini",
         {"/opt/prog", "/x/d/ohmtrim"}},
        {"relative or empty XDG directories are ignored",
         false,
         {"rel/c", "", "/home/u"},
         "/home/u/.config/ohmtrim/omtr.ini",
         "/opt/prog/omtr.ini",
         {"/opt/prog", "/home/u/.local/share/ohmtrim"}},
        {"no home: read in place, nothing saved elsewhere",
         false,
         {nullptr, nullptr, nullptr},
         "/opt/prog/omtr.ini",
         "",
         {"/opt/prog"}},
    };
    for (const auto& c : cases) {
        const ProgramFiles files = ChooseProgramFiles(dir, c.writable, c.env);
        EXPECT_EQ(files.directory, dir) << c.name;
        EXPECT_EQ(files.settingsFile, c.settings) << c.name;
        EXPECT_EQ(files.shippedSettings, c.shipped) << c.name;
        EXPECT_EQ(files.valueSetDirectories, c.valueSetDirs) << c.name;
    }
}

TEST(ProgramFiles, RealDirectoryChoiceFollowsWritability) {
    TempDir dir;
    EXPECT_FALSE(LocateProgramFiles(dir.path()).perUser()) << "a writable directory is portable";
    EXPECT_TRUE(LocateProgramFiles("/nonexistent/ohmtrim").perUser() ||
                std::getenv("HOME") == nullptr);
}

// An installed program directory and a user's home, both in a temporary
// directory.
class UserFilesTest : public ::testing::Test {
protected:
    UserFilesTest() {
        fs::create_directories(program);
        const std::string home = (m_root.path() / "home").string();
        files = ChooseProgramFiles(program, false, {nullptr, nullptr, home.c_str()});
    }

    TempDir m_root;
    fs::path program = m_root.path() / "lib" / "ohmtrim";
    ProgramFiles files;
};

TEST_F(UserFilesTest, FirstSaveStartsFromTheShippedSettings) {
    const std::string shipped = "; shipped defaults\n[Setup]\nRelTol=0.002\nLabel=E24\n";
    WriteFile(program / "omtr.ini", shipped);
    ASSERT_FALSE(fs::exists(files.settingsFile));
    EXPECT_EQ(LoadProgramState(files).settings.relTol, 0.002) << "the shipped file is read";

    ASSERT_TRUE(SaveSettingsLabel(files, "E96"));
    EXPECT_EQ(ReadFile(program / "omtr.ini"), shipped) << "the shipped file stays as it is";
    const std::string user = ReadFile(files.settingsFile);
    EXPECT_NE(user.find("; shipped defaults"), std::string::npos) << user;
    const Settings first = LoadProgramState(files).settings;
    EXPECT_EQ(first.relTol, 0.002);
    EXPECT_EQ(first.preferredLabel, "E96");

    // The user's own changes survive the next save; the copy is made once.
    WriteFile(files.settingsFile, "[Setup]\nRelTol=0.01\nLabel=E96\n");
    ASSERT_TRUE(SaveSettingsLabel(files, "E6"));
    const Settings second = LoadProgramState(files).settings;
    EXPECT_EQ(second.relTol, 0.01);
    EXPECT_EQ(second.preferredLabel, "E6");
    for (const auto& entry : fs::directory_iterator(files.settingsFile.parent_path()))
        EXPECT_EQ(entry.path(), files.settingsFile) << "no stray file is left";
}

TEST_F(UserFilesTest, FirstSaveWithoutShippedSettingsCreatesTheFile) {
    ASSERT_TRUE(SaveSettingsLabel(files, "E12"));
    EXPECT_EQ(LoadProgramState(files).settings.preferredLabel, "E12");
}

TEST_F(UserFilesTest, UsersValueSetTakesThePlaceOfTheShippedOne) {
    WriteFile(program / "E12.val", ValueSetText("E12", {"1"}));
    WriteFile(program / "E6.val", ValueSetText("E6", {"1"}));
    WriteFile(program / "bad.val", "[Resistors]\nLabel=X\n");
    const ValueSetList shippedOnly = LoadProgramState(files).valueSets;
    EXPECT_EQ(shippedOnly.directories, std::vector<fs::path>{program}) << "no user folder yet";

    const fs::path user = files.valueSetDirectories.back();
    fs::create_directories(user);
    WriteFile(user / "E12.val", ValueSetText("E12", {"2", "3"}));
    WriteFile(user / "mine.val", ValueSetText("MINE", {"4"}));
    const ValueSetList list = LoadProgramState(files).valueSets;
    EXPECT_EQ(list.directories, (std::vector<fs::path>{program, user}));
    std::vector<std::string> loaded;
    for (const auto& s : list.sets)
        loaded.push_back(s.set->label() + "@" + (s.directory == user ? "user" : "shipped"));
    EXPECT_EQ(loaded, (std::vector<std::string>{"E6@shipped", "E12@user", "MINE@user"}));
    EXPECT_EQ(list.at(1).count(), 2);
    ASSERT_EQ(list.failures.size(), 1u) << "failures are reported as before";
    EXPECT_EQ(list.failures[0].file, "bad.val");
}

} // namespace
} // namespace ohmtrim
