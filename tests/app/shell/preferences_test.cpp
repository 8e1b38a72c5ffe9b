#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/preferences.h"
#include "framework/core/strings.h"
#include "tests/test_directory.h"
#include "tests/test_process.h"

namespace {

DisplayRect gFrame;
DisplayRect FrameContent() {
    return gFrame;
}
void PlaceFrame(const DisplayRect& content) {
    gFrame = content;
}
std::int16_t Border() {
    return 4;
}
constexpr MainFramePlacement kTestFrame{Border, Border, FrameContent, PlaceFrame};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

class PreferencesTest : public testing::Test {
protected:
    void SetUp() override {
        gFrame = DisplayRect{100, 100, 640, 480};
        SetMainFramePlacement(&kTestFrame);
        SetSettingsDirectory(dir_.path().c_str());
        SetFactoryDefaults();
    }
    void TearDown() override {
        SetMainFramePlacement(nullptr);
        SetSettingsDirectory(nullptr);
        SetFactoryDefaults();
    }

    std::string SettingsText() { return dir_.Read("Pindle.prf"); }

    // Saves, then loads into fresh defaults as a new run would.
    void SaveAndReload() {
        ASSERT_TRUE(SaveSettings());
        SetFactoryDefaults();
        SetSettingsDirectory(dir_.path().c_str());
        LoadSettings();
    }

    TestDirectory dir_;
};

TEST_F(PreferencesTest, WithoutAFileDefaultsStayAndTheFrameGoesToTheCorner) {
    LoadSettings();
    EXPECT_FALSE(gPreferences.useLocalColourTables);
    EXPECT_TRUE(gPreferences.omitFrameTerminators);
    EXPECT_TRUE(gPreferences.excludeOrigin);
    EXPECT_TRUE(gPreferences.smallFirstFrameRectangle);
    EXPECT_TRUE(gPreferences.useInterframeTransparency);
    EXPECT_EQ(gPreferences.transparencyBand, 0);
    EXPECT_TRUE(gPreferences.showDepthWarning);
    EXPECT_FALSE(gPreferences.moreScalingChoices);
    EXPECT_STREQ(gPreferences.commentTemplate, "Shrunk by NAME on DATE, using Pindle vVERSION.");
    // Outer corner at 0,0: the content starts at the border sizes.
    EXPECT_EQ(gFrame.left, 4);
    EXPECT_EQ(gFrame.top, 4);
    EXPECT_EQ(gFrame.width, 640);
    EXPECT_EQ(gFrame.height, 480);
}

TEST_F(PreferencesTest, FileListsEveryKeyInOrder) {
    JStrFree(gPreferences.userName);
    gPreferences.userName = JStrDup("Ann Example");
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(SettingsText(),
              "Use local colour tables:No\r\n"
              "Omit frame terminators:Yes\r\n"
              "Exclude (0,0) from frame rectangles:Yes\r\n"
              "Use a small rectangle for the first frame:Yes\r\n"
              "Use interframe transparency:Yes\r\n"
              "Pick a transparency index from the:ultralow A\r\n"
              "Standard GIF comment:Shrunk by NAME on DATE, using Pindle vVERSION.\r\n"
              "When appropriate, show depth warning on startup:Yes\r\n"
              "Show more choices when scaling frame durations:No\r\n"
              "Display:100,100 640x480\r\n"
              "Merge frames that change nothing:Yes\r\n"
              "Try harder (slower):No\r\n"
              "User name:Ann Example\r\n");
}

TEST_F(PreferencesTest, RoundTripKeepsEveryPreference) {
    gPreferences.useLocalColourTables = true;
    gPreferences.omitFrameTerminators = false;
    gPreferences.transparencyBand = 6;
    gPreferences.moreScalingChoices = true;
    gPreferences.mergeUnchangedFrames = false;
    gPreferences.thorough = true;
    gFrame = DisplayRect{30, 40, 300, 200};
    SaveAndReload();
    EXPECT_FALSE(gPreferences.mergeUnchangedFrames);
    EXPECT_TRUE(gPreferences.thorough);
    EXPECT_TRUE(gPreferences.useLocalColourTables);
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_EQ(gPreferences.transparencyBand, 6);
    EXPECT_TRUE(gPreferences.moreScalingChoices);
    EXPECT_EQ(gFrame.left, 30);
    EXPECT_EQ(gFrame.width, 300);
}

TEST_F(PreferencesTest, LongTemplateIsSplitOverLinesAndReadBackWhole) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    JStrFree(gPreferences.commentTemplate);
    gPreferences.commentTemplate = JStrDup(text.c_str());
    ASSERT_TRUE(SaveSettings());
    int templateLines = 0;
    for (const std::string& line : Lines(SettingsText())) {
        templateLines += line.rfind("Standard GIF comment:", 0) == 0;
    }
    EXPECT_EQ(templateLines, 3);
    SaveAndReload();
    EXPECT_EQ(gPreferences.commentTemplate, text);
}

TEST_F(PreferencesTest, LineFeedsAndBackslashesAreEscapedWithinEightyCharacters) {
    std::string text = std::string(60, '\n') + "a\\b\r\n";
    JStrFree(gPreferences.commentTemplate);
    gPreferences.commentTemplate = JStrDup(text.c_str());
    ASSERT_TRUE(SaveSettings());
    const std::string key = "Standard GIF comment:";
    for (const std::string& line : Lines(SettingsText())) {
        if (line.rfind(key, 0) == 0) {
            EXPECT_LE(line.size() - key.size(), 80u) << line;
            EXPECT_NE(line.back(), '\\') << "an escape pair is never split";
        }
    }
    SaveAndReload();
    EXPECT_EQ(gPreferences.commentTemplate, text);
}

TEST_F(PreferencesTest, YesInLowerCaseMeansNo) {
    dir_.Write("Pindle.prf", "Omit frame terminators:yes\r\nUse local colour tables:Yes\r\n");
    LoadSettings();
    EXPECT_FALSE(gPreferences.omitFrameTerminators);
    EXPECT_TRUE(gPreferences.useLocalColourTables);
}

TEST_F(PreferencesTest, DisplayIsKeptOnTheFrame) {
    dir_.Write("Pindle.prf", "Display:-500,10 20x20\r\n");
    LoadSettings();
    EXPECT_EQ(gFrame.width, 50);
    EXPECT_EQ(gFrame.height, 50);
    EXPECT_EQ(gFrame.left, 0);
    EXPECT_EQ(gFrame.top, 10);
}

TEST_F(PreferencesTest, DisplayIsAppliedOnlyOnTheFirstLoad) {
    dir_.Write("Pindle.prf", "Display:20,30 200x100\r\nStandard GIF comment:mine\r\n");
    LoadSettings();
    EXPECT_EQ(gFrame.left, 20);
    EXPECT_STREQ(gPreferences.commentTemplate, "mine");
    dir_.Write("Pindle.prf", "Display:70,80 300x300\r\nStandard GIF comment:later\r\n");
    LoadSettings();
    EXPECT_EQ(gFrame.left, 20);
    EXPECT_STREQ(gPreferences.commentTemplate, "mine");
}

TEST_F(PreferencesTest, BadLineStopsTheReading) {
    dir_.Write("Pindle.prf",
               "Use local colour tables:Yes\r\n"
               "Omit frame terminators\r\n"
               "Pick a transparency index from the:high\r\n");
    LoadSettings();
    EXPECT_TRUE(gPreferences.useLocalColourTables);
    EXPECT_EQ(gPreferences.transparencyBand, 0);
}

TEST_F(PreferencesTest, OverlongKeyOrValueStopsTheReadingAndUnknownBandIsIgnored) {
    dir_.Write("Pindle.prf",
               "Pick a transparency index from the:blue\r\n"
               "Use local colour tables:" +
                   std::string(81, 'Y') +
                   "\r\n"
                   "Omit frame terminators:No\r\n");
    LoadSettings();
    EXPECT_EQ(gPreferences.transparencyBand, 0);
    EXPECT_TRUE(gPreferences.omitFrameTerminators);
}

TEST_F(PreferencesTest, FailedSaveLeavesTheOldFileIntact) {
    const std::string old = "Omit frame terminators:No\r\n";
    dir_.Write("Pindle.prf", old);
    // A file nobody may write is not replaced.
    ASSERT_EQ(chmod(dir_.File("Pindle.prf").c_str(), 0444), 0);
    EXPECT_FALSE(SaveSettings());
    EXPECT_EQ(SettingsText(), old);
}

TEST_F(PreferencesTest, WriteFailingHalfwayLeavesTheOldFileIntact) {
    const std::string old = "Omit frame terminators:No\r\n";
    dir_.Write("Pindle.prf", old);
    EXPECT_FALSE(RunWithFileSizeLimit(64, SaveSettings));
    EXPECT_EQ(SettingsText(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(PreferencesTest, ReadOnlyDirectoryLeavesTheOldFileIntact) {
    const std::string old = "Omit frame terminators:No\r\n";
    dir_.Write("Pindle.prf", old);
    ASSERT_EQ(chmod(dir_.path().c_str(), 0555), 0);
    EXPECT_FALSE(RunAsOrdinaryUser(SaveSettings));
    EXPECT_EQ(SettingsText(), old);
}

}  // namespace
