#include "framework/platform/system/directories.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/files.h"
#include "framework/core/strings.h"
#include "tests/test_directory.h"

namespace {

using Names = std::vector<std::string>;

// A directory as a user might keep it: GIF files in mixed case, other
// files, sub-directories and hidden entries.
class DirectoriesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch_.path().empty());
        for (const char* name :
             {"b.gif", "ANIM.GIF", "a.Gif", "notes.txt", "README", ".hidden.gif"}) {
            scratch_.Write(name, "x");
        }
        for (const char* name : {"Zeta", "alpha", "Beta", ".config"}) {
            std::filesystem::create_directory(scratch_.File(name));
        }
    }
    const char* Path() const { return scratch_.path().c_str(); }

    TestDirectory scratch_;
};

TEST(MatchPatternTest, StarAndQuestionMarkIgnoringCase) {
    EXPECT_TRUE(JMatchPattern("*.gif", "ANIM.GIF"));
    EXPECT_TRUE(JMatchPattern("*.gif", "a.b.gif"));
    EXPECT_FALSE(JMatchPattern("*.gif", "anim.gifx"));
    EXPECT_FALSE(JMatchPattern("*.gif", "gif"));
    EXPECT_TRUE(JMatchPattern("a?im.*", "anim.png"));
    EXPECT_FALSE(JMatchPattern("a?im.*", "aim.png"));
    EXPECT_TRUE(JMatchPattern("*", "anything"));
    EXPECT_TRUE(JMatchPattern("*", ""));
    EXPECT_TRUE(JMatchPattern("exact", "EXACT"));
    EXPECT_FALSE(JMatchPattern("exact", "exactly"));
}

TEST(MatchPatternTest, StarDotStarMatchesNamesWithoutDots) {
    EXPECT_TRUE(JMatchPattern("*.*", "README"));
    EXPECT_TRUE(JMatchPattern("*.*", "anim.gif"));
}

TEST(MatchPatternTest, BytesBeyondAsciiMustBeEqual) {
    EXPECT_TRUE(JMatchPattern("\xC3\xA9*", "\xC3\xA9t\xC3\xA9.gif"));
    EXPECT_FALSE(JMatchPattern("\xC3\x89*", "\xC3\xA9t\xC3\xA9.gif"));
}

TEST_F(DirectoriesTest, GifPatternFindsEveryCaseSortedIgnoringCase) {
    Names names;
    ASSERT_TRUE(JListFiles(Path(), "*.gif", &names));
    EXPECT_EQ(names, (Names{"a.Gif", "ANIM.GIF", "b.gif"}));
}

TEST_F(DirectoriesTest, AllFilesPatternListsFilesButNotDirectoriesOrHiddenFiles) {
    Names names;
    ASSERT_TRUE(JListFiles(Path(), "*.*", &names));
    EXPECT_EQ(names, (Names{"a.Gif", "ANIM.GIF", "b.gif", "notes.txt", "README"}));
    ASSERT_TRUE(JListFiles(Path(), "*", &names));
    EXPECT_EQ(names.size(), 5u);
}

TEST_F(DirectoriesTest, DirectoriesComeWithTheParentFirstAndWithoutHiddenOnes) {
    Names names;
    ASSERT_TRUE(JListDirectories(Path(), "*", &names));
    EXPECT_EQ(names, (Names{"..", "alpha", "Beta", "Zeta"}));
}

TEST_F(DirectoriesTest, TheRootHasNoParent) {
    Names names;
    ASSERT_TRUE(JListDirectories("/", "*", &names));
    EXPECT_TRUE(std::find(names.begin(), names.end(), "..") == names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), ".") == names.end());
}

TEST_F(DirectoriesTest, SymbolicLinksCountAsWhatTheyPointTo) {
    std::filesystem::create_symlink(scratch_.File("b.gif"), scratch_.File("link.gif"));
    std::filesystem::create_symlink(scratch_.File("alpha"), scratch_.File("shortcut"));
    std::filesystem::create_symlink(scratch_.File("missing"), scratch_.File("broken.gif"));
    Names files;
    ASSERT_TRUE(JListFiles(Path(), "*.gif", &files));
    EXPECT_EQ(files, (Names{"a.Gif", "ANIM.GIF", "b.gif", "link.gif"}));
    Names directories;
    ASSERT_TRUE(JListDirectories(Path(), "*", &directories));
    EXPECT_EQ(directories, (Names{"..", "alpha", "Beta", "shortcut", "Zeta"}));
}

TEST_F(DirectoriesTest, MissingDirectoryCannotBeListed) {
    Names names{"stale"};
    EXPECT_FALSE(JListFiles(scratch_.File("missing/").c_str(), "*", &names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(JListDirectories(scratch_.File("missing/").c_str(), "*", &names));
}

TEST_F(DirectoriesTest, CreateDirectoryMakesOneNewDirectory) {
    const std::string path = scratch_.File("made/");
    EXPECT_TRUE(JCreateDirectory(path.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(JCreateDirectory(path.c_str()));  // it exists now
    EXPECT_FALSE(JCreateDirectory(scratch_.File("no/such/parent").c_str()));
}

TEST_F(DirectoriesTest, NamesArePassedThroughUnchanged) {
    const std::string name = "f\xC3\xBCr Oma";
    ASSERT_TRUE(JCreateDirectory(scratch_.File(name).c_str()));
    Names names;
    ASSERT_TRUE(JListDirectories(Path(), "*", &names));
    EXPECT_TRUE(std::find(names.begin(), names.end(), name) != names.end());
}

TEST_F(DirectoriesTest, SetCurrentDirectoryChangesWhatRelativeNamesMean) {
    char* before = JCurrentDirectory();
    ASSERT_TRUE(JSetCurrentDirectory(Path()));
    char* now = JCurrentDirectory();
    EXPECT_EQ(std::filesystem::canonical(now), std::filesystem::canonical(Path()));
    EXPECT_TRUE(JCreateDirectory("relative"));
    EXPECT_TRUE(std::filesystem::is_directory(scratch_.File("relative")));
    EXPECT_FALSE(JSetCurrentDirectory(scratch_.File("missing").c_str()));
    EXPECT_TRUE(JSetCurrentDirectory(before));
    JStrFree(now);
    JStrFree(before);
}

TEST(DriveListTest, StartsWithTheRootThenTheHomeFolder) {
    const std::vector<std::string> drives = JDriveList();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0], "/");
    const passwd* user = getpwuid(getuid());
    if (user != nullptr && std::string(user->pw_dir) != "/") {
        ASSERT_GE(drives.size(), 2u);
        EXPECT_EQ(drives[1], std::string(user->pw_dir) + "/");
    }
    for (const std::string& drive : drives) {
        EXPECT_EQ(drive.back(), '/');
        EXPECT_EQ(std::count(drives.begin(), drives.end(), drive), 1);
    }
}

TEST(DriveListTest, MountedVolumesKeepRealFileSystemsWhereUsersBrowse) {
    const char* table =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw,nosuid 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
        "/dev/sr0 /run/media/ann/DVD iso9660 ro 0 0\n"
        "server:/share /mnt/share nfs4 rw 0 0\n"
        "tmpfs /mnt/scratch tmpfs rw 0 0\n"
        "/dev/sdc1 /home ext4 rw 0 0\n"
        "/dev/sdd1 /mediaplayer ext4 rw 0 0\n"
        "/dev/sde1 /mnt ext4 rw 0 0\n";
    EXPECT_EQ(JMountedVolumes(table),
              (Names{"/media/ann/USB STICK/", "/mnt/", "/mnt/share/", "/run/media/ann/DVD/"}));
}

TEST(DriveListTest, DamagedMountLinesAreSkipped) {
    EXPECT_TRUE(JMountedVolumes("").empty());
    EXPECT_TRUE(JMountedVolumes("garbage\n\n/dev/x /media\n").empty());
}

}  // namespace
