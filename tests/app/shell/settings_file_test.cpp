// Where the settings file lives, and the user's name it keeps for the
// standard comment.
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/shell/preferences.h"
#include "framework/core/strings.h"
#include "framework/platform/system/user_account.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override {
        SetSettingsDirectory(dir_.path().c_str());
        SetFactoryDefaults();
    }
    void TearDown() override {
        SetSettingsDirectory(nullptr);
        SetFactoryDefaults();
        SetMainFramePlacement(nullptr);
    }

    static void SetUserName(const char* name) {
        JStrFree(gPreferences.userName);
        gPreferences.userName = JStrDup(name);
    }

    // Loads into fresh defaults, as a new run would.
    void Reload(const std::string& directory) {
        SetFactoryDefaults();
        SetSettingsDirectory(directory.c_str());
        LoadSettings();
    }

    TestDirectory dir_;
};

TEST_F(SettingsFileTest, TheNameDefaultsToTheAccountsFullName) {
    EXPECT_EQ(gPreferences.userName, JUserFullName());
    LoadSettings();  // no file: the default stays
    EXPECT_EQ(gPreferences.userName, JUserFullName());
    const StandardCommentSource source = StandardCommentFromPreferences();
    EXPECT_EQ(source.userName, JUserFullName());
    EXPECT_EQ(source.commentTemplate, "Shrunk by NAME on DATE, using Pindle vVERSION.");
}

TEST_F(SettingsFileTest, TheNameIsSavedAndReadBackEvenWhenEmpty) {
    SetUserName("Ann Example");
    ASSERT_TRUE(SaveSettings());
    Reload(dir_.path());
    EXPECT_STREQ(gPreferences.userName, "Ann Example");

    // An empty name is the user's choice, not a missing setting.
    SetUserName("");
    ASSERT_TRUE(SaveSettings());
    Reload(dir_.path());
    EXPECT_STREQ(gPreferences.userName, "");
}

TEST_F(SettingsFileTest, ALongNameIsSplitOverLinesAndJoinedAgain) {
    std::string name;
    for (int i = 0; i < 30; ++i) {
        name += "Name" + std::to_string(i) + ", ";
    }
    name += "back\\slash";
    SetUserName(name.c_str());
    ASSERT_TRUE(SaveSettings());
    EXPECT_NE(dir_.Read("Pindle.prf").find("\r\nUser name:"),
              dir_.Read("Pindle.prf").rfind("\r\nUser name:"));
    Reload(dir_.path());
    EXPECT_EQ(gPreferences.userName, name);
}

TEST_F(SettingsFileTest, KeysOfLaterVersionsAreSkippedAndTheReadingGoesOn) {
    dir_.Write("Pindle.prf",
               "Use local colour tables:Yes\r\n"
               "A key from a later version:whatever it holds\r\n"
               "User name:Ann\r\n"
               "Another unknown key:\r\n"
               "Pick a transparency index from the:high\r\n");
    LoadSettings();
    EXPECT_TRUE(gPreferences.useLocalColourTables);
    EXPECT_STREQ(gPreferences.userName, "Ann");
    EXPECT_EQ(gPreferences.transparencyBand, 5);
}

TEST_F(SettingsFileTest, AFileWithoutTheNameKeepsTheDefault) {
    dir_.Write("Pindle.prf", "Omit frame terminators:No\r\n");
    LoadSettings();
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_EQ(gPreferences.userName, JUserFullName());
}

TEST_F(SettingsFileTest, SavingMakesTheFolderAndTheOneHoldingIt) {
    const std::string folder = dir_.File("config/pindle/");
    SetSettingsDirectory(folder.c_str());
    ASSERT_TRUE(SaveSettings());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "Pindle.prf"));

    // Nothing further up is made: a missing home folder stays missing.
    const std::string deeper = dir_.File("home/config/pindle/");
    SetSettingsDirectory(deeper.c_str());
    EXPECT_FALSE(SaveSettings());
    EXPECT_FALSE(std::filesystem::exists(dir_.File("home")));
}

TEST_F(SettingsFileTest, TheFileIsInTheHomeFolderFromThePasswordDatabase) {
    const passwd* user = getpwuid(getuid());
    if (user == nullptr || user->pw_dir[0] == '\0') {
        GTEST_SKIP() << "this account has no entry with a home folder";
    }
    SetSettingsDirectory(nullptr);
    const std::string expected = JUserHomeDirectory() + ".config/pindle/";
    EXPECT_EQ(SettingsDirectory(), expected);
    // Neither the current folder nor the environment moves it.
    const std::string cwd = dir_.path();
    EXPECT_TRUE(RunInChild(
        [&cwd] { return chdir(cwd.c_str()) == 0 && setenv("HOME", cwd.c_str(), 1) == 0; },
        [&expected] { return SettingsDirectory() == expected; }));
}

TEST_F(SettingsFileTest, AnOldFileInTheCurrentFolderIsNeitherReadNorTouched) {
    const std::string old = "Omit frame terminators:No\r\nUser name:Old\r\n";
    dir_.Write("Pindle.prf", old);
    TestDirectory settings;
    const std::string cwd = dir_.path();
    const std::string folder = settings.path();
    EXPECT_TRUE(RunInChild([&cwd] { return chdir(cwd.c_str()) == 0; },
                           [this, &folder] {
                               Reload(folder);
                               return gPreferences.omitFrameTerminators &&
                                      gPreferences.userName == JUserFullName() && SaveSettings();
                           }));
    EXPECT_EQ(dir_.Read("Pindle.prf"), old);
    EXPECT_TRUE(std::filesystem::exists(settings.File("Pindle.prf")));
}

}  // namespace
