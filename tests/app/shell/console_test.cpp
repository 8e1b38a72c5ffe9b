#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/console.h"
#include "framework/ui/alerts.h"
#include "tests/app/shell/console_fixture.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

using ConsoleTest = ConsoleRun;

TEST_F(ConsoleTest, WrongCommandLinesExitWithTwo) {
    EXPECT_EQ(Run({"--test"}), 2);
    EXPECT_NE(err_.find("no GIF file named"), std::string::npos);
    EXPECT_EQ(Run({"--frobnicate", "a.gif"}), 2);
    EXPECT_EQ(Run({"--test", "--band=purple", "a.gif"}), 2);
    EXPECT_EQ(Run({"--test", "--save", "a.gif"}), 2);
    EXPECT_EQ(Run({"--output", "new.gif", "a.gif", "b.gif"}), 2);
    EXPECT_EQ(Run({"--test", "--merge-unchanged=maybe", "a.gif"}), 2);
    EXPECT_EQ(Run({"--test", "--jobs=0", "a.gif"}), 2);
    EXPECT_EQ(Run({"--test", "--jobs=many", "a.gif"}), 2);
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.rfind("Pindle ", 0), 0u);
}

TEST_F(ConsoleTest, TestReportsOnStandardOutputAndLeavesTheFile) {
    std::string path = Sample();
    std::string before = dir_.Read("ball.gif");
    EXPECT_EQ(Run({"--test", path}), 0);
    EXPECT_NE(out_.find("\"ball.gif\" is now "), std::string::npos);
    EXPECT_EQ(err_, "");
    EXPECT_EQ(dir_.Read("ball.gif"), before);
}

TEST_F(ConsoleTest, OutputSavesUnderTheNewNameOnly) {
    std::string path = Sample();
    std::string before = dir_.Read("ball.gif");
    EXPECT_EQ(Run({"--quiet", "--output", dir_.File("small.gif"), path}), 0);
    EXPECT_EQ(out_, "");
    EXPECT_EQ(dir_.Read("ball.gif"), before);
    EXPECT_LT(dir_.Read("small.gif").size(), before.size());
}

TEST_F(ConsoleTest, SettingsCanBeOverriddenForOneRun) {
    std::string path = Sample();
    EXPECT_EQ(Run({"--test", "--merge-unchanged=no", "--interframe-transparency=no", path}), 0);
    EXPECT_NE(out_.find("\"ball.gif\" is now "), std::string::npos);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out_.find("--merge-unchanged=yes|no"), std::string::npos);
    EXPECT_NE(out_.find("--thorough"), std::string::npos);
}

TEST_F(ConsoleTest, ThoroughIsABareFlagOrTakesYesOrNo) {
    std::string path = Sample();
    ASSERT_EQ(Run({"--quiet", "--output", dir_.File("plain.gif"), path}), 0);
    ASSERT_EQ(Run({"--quiet", "--thorough", "--output", dir_.File("hard.gif"), path}), 0);
    EXPECT_LE(dir_.Read("hard.gif").size(), dir_.Read("plain.gif").size());
    ASSERT_EQ(Run({"--quiet", "--thorough=no", "--output", dir_.File("again.gif"), path}), 0);
    EXPECT_EQ(dir_.Read("again.gif"), dir_.Read("plain.gif"));
    EXPECT_EQ(Run({"--test", "--thorough=perhaps", path}), 2);
}

TEST_F(ConsoleTest, MissingFileIsAFailureButTheOthersAreStillHandled) {
    std::string path = Sample();
    EXPECT_EQ(Run({"--test", dir_.File("missing.gif"), path}), 1);
    EXPECT_NE(err_.find("\"" + dir_.File("missing.gif") + "\" does not exist."), std::string::npos);
    EXPECT_NE(out_.find("\"ball.gif\" is now "), std::string::npos);
}

TEST_F(ConsoleTest, PartlyReadFileIsSavedOnlyWithYes) {
    std::string whole = dir_.Read(Sample().substr(dir_.path().size()));
    dir_.Write("cut.gif", whole.substr(0, whole.size() / 2));
    const std::string cut = dir_.Read("cut.gif");
    EXPECT_EQ(Run({"--save", dir_.File("cut.gif")}), 1);
    EXPECT_NE(err_.find("was not saved, since only part of it could be read"), std::string::npos);
    EXPECT_EQ(dir_.Read("cut.gif"), cut);
    EXPECT_EQ(Run({"--save", "--yes", dir_.File("cut.gif")}), 0);
    EXPECT_EQ(out_.find("with absolutely no change in appearance"), std::string::npos);
    EXPECT_NE(dir_.Read("cut.gif"), cut);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ConsoleTest, FoldersPipesAndNamesWithoutExtensionAreToldApart) {
    std::filesystem::create_directory(dir_.File("folder.gif"));
    EXPECT_EQ(Run({"--test", dir_.File("folder.gif")}), 1);
    EXPECT_TRUE(Contains(err_, "\"" + dir_.File("folder.gif") + "\" is a folder, not a file."))
        << err_;

    // Reading a pipe nobody writes to would wait for ever: the child that
    // tries is killed if it does.
    ASSERT_EQ(mkfifo(dir_.File("pipe.gif").c_str(), 0644), 0);
    EXPECT_TRUE(RunInChildWithin(20, [this] {
        return Run({"--save", dir_.File("pipe.gif")}) == 1 &&
               Contains(err_, "pipe.gif\" is not a regular file");
    }));

    std::filesystem::rename(Sample(), dir_.File("ball"));
    EXPECT_EQ(Run({"--test", dir_.File("ball")}), 0);
    EXPECT_TRUE(Contains(out_, "\"ball\" is now ")) << out_ << err_;
}

TEST_F(ConsoleTest, OutputOntoAPipeOrADeviceIsRefusedAndLeftAlone) {
    const std::string path = Sample();
    ASSERT_EQ(mkfifo(dir_.File("pipe.gif").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/full", dir_.File("full.gif").c_str()), 0);
    for (const char* name : {"pipe.gif", "full.gif"}) {
        EXPECT_TRUE(RunInChildWithin(20, [&] {
            return Run({"--output", dir_.File(name), path}) == 1 &&
                   Contains(err_, "\"" + std::string(name) + "\" is not a regular file");
        })) << name;
    }
    struct stat info {};
    ASSERT_EQ(lstat(dir_.File("pipe.gif").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(lstat(dir_.File("full.gif").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST_F(ConsoleTest, ReadOnlyFileIsRefusedWithItsReason) {
    const std::string path = Sample();
    const std::string old = dir_.Read("ball.gif");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(Run({"--save", path}), 1);
    EXPECT_TRUE(Contains(err_, "\"ball.gif\" is read-only, so it was left as it was.")) << err_;
    EXPECT_EQ(dir_.Read("ball.gif"), old);
}

TEST_F(ConsoleTest, RelativeNameIsRefusedWhenTheCurrentFolderIsUnknown) {
    const std::string path = Sample();
    const bool rootHadOne = std::filesystem::exists("/ball.gif");
    const std::string gone = dir_.File("gone");
    EXPECT_TRUE(RunInChild(
        [&] {
            return std::filesystem::create_directory(gone) && chdir(gone.c_str()) == 0 &&
                   rmdir(gone.c_str()) == 0;
        },
        [this, &path] {
            return Run({"--output", "ball.gif", path}) == 1 &&
                   Contains(err_, "The current folder cannot be found") &&
                   Run({"--save", "ball.gif"}) == 1;
        }));
    EXPECT_EQ(std::filesystem::exists("/ball.gif"), rootHadOne);
}

TEST_F(ConsoleTest, TwoSavesOfOneFileAtOnceLeaveItWhole) {
    const std::string path = Sample();
    std::vector<pid_t> savers;
    for (int saver = 0; saver < 2; ++saver) {
        const pid_t child = fork();
        if (child == 0) {
            int status = 0;
            for (int i = 0; i < 10 && status == 0; ++i) {
                status = Run({"--save", "--yes", "--quiet", path});
            }
            _exit(status);
        }
        savers.push_back(child);
    }
    for (pid_t child : savers) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Whole: the file reads to its end, and it is the only file left.
    EXPECT_EQ(Run({"--test", path}), 0);
    EXPECT_FALSE(Contains(err_, "corrupt")) << err_;
    EXPECT_FALSE(Contains(err_, "terminator")) << err_;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"ball.gif"});
}

}  // namespace
