// The console's timing edits, driven through the command line: what a
// saved file carries afterwards is read back with giflib, and a refused
// value leaves every file as it was.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/shell/console.h"
#include "framework/ui/alerts.h"
#include "tests/app/corpus/corpus_support.h"
#include "tests/app/shell/console_fixture.h"
#include "tests/test_directory.h"

namespace {

using corpus::ReadReference;
using corpus::ReferenceGif;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int DelayOf(const ReferenceGif& gif, int index) {
    return corpus::ControlOf(gif.gif.get(), index).DelayTime;
}

// Every screen of `saved` is the screen of `original` at the same frame.
std::string ScreenDifference(const ReferenceGif& saved, const ReferenceGif& original) {
    if (saved.gif->ImageCount != original.gif->ImageCount) {
        return "frame counts differ";
    }
    corpus::ReferenceCompositor now(saved.gif.get());
    corpus::ReferenceCompositor then(original.gif.get(), now.width(), now.height());
    if (then.width() != now.width() || then.height() != now.height()) {
        return "screen sizes differ";
    }
    for (int i = 0; i < saved.gif->ImageCount; ++i) {
        const std::string difference =
            corpus::ScreenDifference(now.Next(), then.Next(), now.width());
        if (!difference.empty()) {
            return "frame " + std::to_string(i) + ": " + difference;
        }
    }
    return "";
}

// A 12 x 10 screen of which two frames draw only the middle, so that the
// background shows around them; rows stored interlaced when asked.
bool WriteSmallGif(const std::string& file, bool interlaced) {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(file.c_str(), false, &error);
    if (!gif) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(4, nullptr);
    const GifColorType colours[] = {{0, 0, 0}, {200, 10, 10}, {10, 200, 10}, {10, 10, 200}};
    std::copy(std::begin(colours), std::end(colours), map->Colors);
    bool written = EGifPutScreenDesc(gif, 12, 10, 2, 0, map) == GIF_OK;
    constexpr int kPassStart[] = {0, 4, 2, 1};
    constexpr int kPassStep[] = {8, 8, 4, 2};
    for (int frame = 0; frame < 2; ++frame) {
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, 20, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        written = written && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
        written = written && EGifPutImageDesc(gif, 3, 2, 6, 6, interlaced, nullptr) == GIF_OK;
        for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
            const int start = interlaced ? kPassStart[pass] : 0;
            const int step = interlaced ? kPassStep[pass] : 1;
            for (int row = start; row < 6; row += step) {
                GifPixelType line[6];
                for (int x = 0; x < 6; ++x) {
                    line[x] = GifPixelType(1 + (x + row + frame) % 3);
                }
                written = written && EGifPutLine(gif, line, 6) == GIF_OK;
            }
        }
    }
    written = EGifCloseFile(gif, &error) == GIF_OK && written;
    GifFreeMapObject(map);
    return written;
}

using ConsoleTiming = ConsoleRun;

TEST_F(ConsoleTiming, SavedDelayAndLoopCountAreInTheFileWithTheSamePixels) {
    const std::string path = Sample();
    const ReferenceGif original = ReadReference(path);
    ASSERT_TRUE(original.complete) << original.error;
    // Frames that change nothing stay, so that frame numbers still match.
    ASSERT_EQ(Run({"--quiet", "--merge-unchanged=no", "--delay", "3=0:05", "--delay=5-6=12",
                   "--loop-count", "3", "--output", dir_.File("out.gif"), path}),
              0)
        << err_;
    const ReferenceGif saved = ReadReference(dir_.File("out.gif"));
    ASSERT_TRUE(saved.complete) << saved.error;
    ASSERT_EQ(saved.gif->ImageCount, original.gif->ImageCount);
    for (int i = 0; i < saved.gif->ImageCount; ++i) {
        const int expected = i == 2 ? 500 : (i == 4 || i == 5) ? 1200 : DelayOf(original, i);
        EXPECT_EQ(DelayOf(saved, i), expected) << "frame " << i + 1;
    }
    EXPECT_EQ(saved.loopCount, 3);
    EXPECT_EQ(ScreenDifference(saved, original), "");
}

TEST_F(ConsoleTiming, LoopForeverAndPlayOnce) {
    const std::string path = Sample();
    ASSERT_EQ(Run({"--quiet", "--loop-count=forever", "--output", dir_.File("a.gif"), path}), 0);
    EXPECT_EQ(ReadReference(dir_.File("a.gif")).loopCount, 0);
    ASSERT_EQ(Run({"--quiet", "--loop-count=none", "--output", dir_.File("b.gif"), path}), 0);
    EXPECT_EQ(ReadReference(dir_.File("b.gif")).loopCount, -1);  // no looping extension
}

TEST_F(ConsoleTiming, ScaledDurationsKeepWithinTheirLimits) {
    const std::string path = Sample();
    const ReferenceGif original = ReadReference(path);
    ASSERT_EQ(Run({"--quiet", "--merge-unchanged=no", "--scale-durations", "all=0.5",
                   "--scale-durations", "2-3=1,0:01,0.5", "--output", dir_.File("out.gif"), path}),
              0)
        << err_;
    const ReferenceGif saved = ReadReference(dir_.File("out.gif"));
    ASSERT_TRUE(saved.complete) << saved.error;
    ASSERT_EQ(saved.gif->ImageCount, original.gif->ImageCount);
    for (int i = 0; i < saved.gif->ImageCount; ++i) {
        int expected = std::max(1, (DelayOf(original, i) + 1) / 2);
        if (i == 1 || i == 2) {
            // A minimum of 1:00 and a maximum of 0.5 s swap: from 50 to 100.
            expected = std::clamp(expected, 50, 100);
        }
        EXPECT_EQ(DelayOf(saved, i), expected) << "frame " << i + 1;
    }
    EXPECT_EQ(ScreenDifference(saved, original), "");
}

TEST_F(ConsoleTiming, BackgroundColourIsWrittenWhereTheBackgroundShows) {
    ASSERT_TRUE(WriteSmallGif(dir_.File("small.gif"), false));
    ASSERT_EQ(Run({"--quiet", "--yes", "--background", "ff0010", "--output", dir_.File("out.gif"),
                   dir_.File("small.gif")}),
              0)
        << err_;
    const ReferenceGif saved = ReadReference(dir_.File("out.gif"));
    ASSERT_TRUE(saved.complete) << saved.error;
    ASSERT_NE(saved.gif->SColorMap, nullptr);
    ASSERT_LT(saved.gif->SBackGroundColor, saved.gif->SColorMap->ColorCount);
    const GifColorType background = saved.gif->SColorMap->Colors[saved.gif->SBackGroundColor];
    EXPECT_EQ(background.Red, 255);
    EXPECT_EQ(background.Green, 0);
    EXPECT_EQ(background.Blue, 16);
    EXPECT_EQ(ScreenDifference(saved, ReadReference(dir_.File("small.gif"))), "");
}

TEST_F(ConsoleTiming, DeinterlacedFileShowsTheSameFrames) {
    ASSERT_TRUE(WriteSmallGif(dir_.File("interlaced.gif"), true));
    const ReferenceGif original = ReadReference(dir_.File("interlaced.gif"));
    ASSERT_TRUE(original.complete) << original.error;
    ASSERT_TRUE(original.gif->SavedImages[0].ImageDesc.Interlace);
    ASSERT_EQ(Run({"--quiet", "--yes", "--merge-unchanged=no", "--deinterlace", "--output",
                   dir_.File("out.gif"), dir_.File("interlaced.gif")}),
              0)
        << err_;
    const ReferenceGif saved = ReadReference(dir_.File("out.gif"));
    ASSERT_TRUE(saved.complete) << saved.error;
    for (int i = 0; i < saved.gif->ImageCount; ++i) {
        EXPECT_FALSE(saved.gif->SavedImages[i].ImageDesc.Interlace) << "frame " << i + 1;
    }
    EXPECT_EQ(ScreenDifference(saved, original), "");
    // Without the option the file stays interlaced.
    ASSERT_EQ(Run({"--quiet", "--yes", "--merge-unchanged=no", "--output", dir_.File("kept.gif"),
                   dir_.File("interlaced.gif")}),
              0);
    EXPECT_TRUE(ReadReference(dir_.File("kept.gif")).gif->SavedImages[0].ImageDesc.Interlace);
}

TEST_F(ConsoleTiming, BadValuesAreRefusedWithTheWindowsMessagesAndTouchNothing) {
    const std::string path = Sample();
    const std::string before = dir_.Read("ball.gif");
    const struct {
        std::vector<std::string> options;
        std::string message;
    } kRefusals[] = {
        {{"--delay", "3=11:00"}, "Sorry, but the maximum frame duration is 10:55.35."},
        {{"--delay", "3=soon"}, "Sorry, but 'soon' is not recognizable as a length of time."},
        {{"--delay", "3=-3"}, "Sorry, but '-3' is not recognizable as a length of time."},
        {{"--delay", "0=1"}, "Sorry, but the frame # must be positive."},
        {{"--delay", "-3=1"}, "Sorry, but the frame # must be positive."},
        {{"--delay", "two=1"},
         "Sorry, but 'two' is not an integer. The frame # must be an integer."},
        {{"--delay", "3"}, "\"--delay\" needs one of the values"},
        {{"--loop-count", "0"}, "Sorry, but the animation must loop a positive number of times."},
        {{"--loop-count", "-3"}, "Sorry, but the animation must loop a positive number of times."},
        {{"--loop-count", "65536"}, "Sorry, the animation can loop at most 65535 times."},
        {{"--loop-count", "often"}, "Sorry, but 'often' is not an integer."},
        {{"--scale-durations", "all=-3"},
         "Sorry, but the scaling factor must be a positive number."},
        {{"--scale-durations", "all=2,0:01,11:00"}, "the maximum frame duration is 10:55.35."},
        {{"--background", "red"}, "Sorry, 'red' is not recognizable as an HTML colour."},
        {{"--background="}, "Sorry, '' is not recognizable as an HTML colour."},
    };
    for (const auto& refusal : kRefusals) {
        std::vector<std::string> words{"--save", "--yes"};
        words.insert(words.end(), refusal.options.begin(), refusal.options.end());
        words.push_back(path);
        std::vector<char*> argv{const_cast<char*>("pindle")};
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        testing::internal::CaptureStderr();
        const int status = RunConsole(int(argv.size()), argv.data());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 2) << refusal.options[0];
        EXPECT_TRUE(Contains(err, refusal.message)) << err;
        EXPECT_EQ(dir_.Read("ball.gif"), before) << refusal.options[0];
    }
}

TEST_F(ConsoleTiming, FramesPastTheEndLeaveThatFileAlone) {
    const std::string path = Sample();
    const std::string before = dir_.Read("ball.gif");
    EXPECT_EQ(Run({"--save", "--yes", "--delay", "20-99=1", path}), 1);
    EXPECT_TRUE(Contains(err_, "\"" + path +
                                   "\" was left as it was. Sorry, but since there is "
                                   "only 24 frames, you cannot go to frame #99."))
        << err_;
    EXPECT_EQ(dir_.Read("ball.gif"), before);
}

}  // namespace
