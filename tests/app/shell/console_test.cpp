#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/console.h"
#include "framework/ui/alerts.h"
#include "tests/test_directory.h"

namespace {

class ConsoleTest : public testing::Test {
protected:
    void TearDown() override { JSetAlertDriver(nullptr); }

    int Run(std::initializer_list<std::string> arguments) {
        std::vector<std::string> words{"pindle"};
        words.insert(words.end(), arguments);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int status = RunConsole(int(argv.size()), argv.data());
        out_ = testing::internal::GetCapturedStdout();
        err_ = testing::internal::GetCapturedStderr();
        return status;
    }

    std::string Sample() {
        std::filesystem::copy_file(PINDLE_SOURCE_DIR "/samples/bouncing-ball.gif",
                                   dir_.File("ball.gif"),
                                   std::filesystem::copy_options::overwrite_existing);
        return dir_.File("ball.gif");
    }

    TestDirectory dir_;
    std::string out_;
    std::string err_;
};

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
    EXPECT_NE(err_.find("\"" + dir_.File("missing.gif") + "\" could not be opened."),
              std::string::npos);
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

}  // namespace
