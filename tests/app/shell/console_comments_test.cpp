// The console's comment options, end to end: the saved file is read back
// with the codec for its comments, and walked block by block to show that
// nothing but comments changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/codec/gif_file.h"
#include "app/shell/console.h"
#include "app/shell/preferences.h"
#include "framework/platform/system/clock.h"
#include "framework/ui/alerts.h"
#include "tests/app/shell/console_fixture.h"
#include "tests/test_directory.h"

namespace {

// ---------------------------------------------------------------------------
// GIF files block by block

struct GifBlock {
    std::size_t begin;
    std::size_t end;
    bool comment;
    bool image;
    std::string text;  // a comment's data, its sub-blocks joined
};

// Walks sub-blocks from `at` to just past their terminator.
std::size_t SkipSubBlocks(const std::string& gif, std::size_t at, std::string* data) {
    while (at < gif.size() && gif[at] != '\0') {
        const std::size_t length = std::uint8_t(gif[at]);
        if (data) {
            data->append(gif, at + 1, length);
        }
        at += length + 1;
    }
    return at + 1;
}

std::size_t TableBytes(std::uint8_t flags) {
    return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0;
}

// The extensions and images between the screen's colour table and the
// trailer.
std::vector<GifBlock> BlocksOf(const std::string& gif) {
    std::vector<GifBlock> blocks;
    std::size_t at = 13 + TableBytes(std::uint8_t(gif.at(10)));
    while (at < gif.size() && gif[at] != '\x3B') {
        GifBlock block{at, 0, false, false, {}};
        if (gif[at] == '\x21') {
            block.comment = gif.at(at + 1) == '\xFE';
            at = SkipSubBlocks(gif, at + 2, block.comment ? &block.text : nullptr);
        } else if (gif[at] == '\x2C') {
            block.image = true;
            at += 10 + TableBytes(std::uint8_t(gif.at(at + 9)));
            at = SkipSubBlocks(gif, at + 1, nullptr);  // after the LZW minimum code size
        } else {
            ADD_FAILURE() << "unexpected block " << int(gif[at]) << " at " << at;
            break;
        }
        block.end = at;
        blocks.push_back(block);
    }
    return blocks;
}

std::vector<std::string> CommentsOf(const std::string& gif) {
    std::vector<std::string> comments;
    for (const GifBlock& block : BlocksOf(gif)) {
        if (block.comment) {
            comments.push_back(block.text);
        }
    }
    return comments;
}

// The file with every comment extension left out.
std::string WithoutComments(const std::string& gif) {
    std::string kept;
    std::size_t from = 0;
    for (const GifBlock& block : BlocksOf(gif)) {
        if (block.comment) {
            kept.append(gif, from, block.begin - from);
            from = block.end;
        }
    }
    return kept + gif.substr(from);
}

std::string CommentExtension(const std::string& text) {
    return std::string("\x21\xFE") + char(text.size()) + text + '\0';
}

// The file with a start comment, a comment before each image and an end
// comment.
std::string WithCommentsEverywhere(const std::string& gif) {
    const std::vector<GifBlock> blocks = BlocksOf(gif);
    std::string out = gif.substr(0, blocks.front().begin) + CommentExtension("old start");
    std::size_t from = blocks.front().begin;
    int frame = 0;
    for (const GifBlock& block : blocks) {
        if (block.image) {
            out.append(gif, from, block.begin - from);
            out += CommentExtension("old frame " + std::to_string(frame++));
            from = block.begin;
        }
    }
    out.append(gif, from, blocks.back().end - from);
    return out + CommentExtension("old end") + gif.substr(blocks.back().end);
}

// ---------------------------------------------------------------------------

// The start comment the bundled sample carries.
constexpr char kSampleComment[] = "Made by Pindle's sample maker.";

class ConsoleCommentsTest : public ConsoleRun {
protected:
    void SetUp() override {
        settings_.Write("Pindle.prf",
                        "Standard GIF comment:By NAME with Pindle vVERSION.\r\n"
                        "User name:Console Tester\r\n");
        SetSettingsDirectory(settings_.path().c_str());
        std::filesystem::copy_file(PINDLE_SOURCE_DIR "/samples/bouncing-ball.gif",
                                   dir_.File("ball.gif"));
        ball_ = dir_.Read("ball.gif");
        ASSERT_EQ(CommentsOf(ball_), std::vector<std::string>{kSampleComment});
    }
    void TearDown() override {
        ConsoleRun::TearDown();
        SetSettingsDirectory(nullptr);
        SetFactoryDefaults();
    }

    // The file compressed without comment edits, for comparison.
    std::string Plain() {
        EXPECT_EQ(
            Run({"--quiet", "--yes", "--output", dir_.File("plain.gif"), dir_.File("ball.gif")}),
            0);
        return dir_.Read("plain.gif");
    }

    std::unique_ptr<GifDocument> ReadBack(const std::string& name) {
        std::unique_ptr<GifDocument> document =
            OpenGifFile(dir_.File(name).c_str(), KeyframeUse::Build);
        EXPECT_TRUE(document) << name;
        return document;
    }

    TestDirectory settings_;
    std::string ball_;
};

// Every screen of the animation as colours, background as a colour of its own.
std::vector<std::vector<std::uint32_t>> ScreensOf(GifDocument& document) {
    std::vector<std::vector<std::uint32_t>> screens;
    for (std::int32_t frame = 0; frame < std::int32_t(document.frames.size()); ++frame) {
        ShowFrame(document, frame);
        const PixelMap whole = WholeScreen(document);
        std::vector<std::uint32_t> colours;
        for (const Pixel pixel : whole.pixels) {
            colours.push_back(pixel == kBackgroundPixel ? 0xFF000000u
                                                        : document.colours.at(pixel).Packed());
        }
        screens.push_back(colours);
    }
    return screens;
}

TEST_F(ConsoleCommentsTest, StartAndEndCommentsReachTheFileAndNothingElseChanges) {
    const std::string plain = Plain();
    ASSERT_EQ(Run({"--quiet", "--yes", "--comment-start", "Hello,\nworld", "--comment-end=Bye",
                   "--output", dir_.File("new.gif"), dir_.File("ball.gif")}),
              0)
        << err_;
    const std::string saved = dir_.Read("new.gif");
    EXPECT_EQ(CommentsOf(saved), (std::vector<std::string>{"Hello,\nworld", "Bye"}));
    EXPECT_TRUE(WithoutComments(saved) == WithoutComments(plain));
    EXPECT_EQ(dir_.Read("ball.gif"), ball_);

    std::unique_ptr<GifDocument> document = ReadBack("new.gif");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->startComment, "Hello,\nworld");
    EXPECT_EQ(document->endComment, "Bye");
    for (const auto& frame : document->frames) {
        EXPECT_EQ(frame->comment, "");
    }
    std::unique_ptr<GifDocument> original = ReadBack("ball.gif");
    ASSERT_TRUE(original);
    ASSERT_GT(original->frames.size(), 1u);
    EXPECT_EQ(ScreensOf(*document), ScreensOf(*original));
}

TEST_F(ConsoleCommentsTest, StandardCommentTakesTheTemplateAndNameFromTheSettings) {
    ASSERT_EQ(Run({"--quiet", "--yes", "--standard-comment", "--comment-end", "-older-", "--output",
                   dir_.File("new.gif"), dir_.File("ball.gif")}),
              0)
        << err_;
    std::unique_ptr<GifDocument> document = ReadBack("new.gif");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->endComment, "By Console Tester with Pindle v1.07.\n\n-older-");
    EXPECT_EQ(document->startComment, kSampleComment);
    EXPECT_TRUE(WithoutComments(dir_.Read("new.gif")) == WithoutComments(Plain()));
}

// The default standard comment as made on the given day.
std::string DefaultCommentOn(const JLocalTime& day) {
    constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return std::string("Shrunk by Console Tester on ") + kMonths[day.month - 1] + " " +
           std::to_string(day.day) + " " + std::to_string(day.year) + ", using Pindle v1.07.";
}

TEST_F(ConsoleCommentsTest, DefaultTemplateGivesTodaysDate) {
    settings_.Write("Pindle.prf", "User name:Console Tester\r\n");
    const JLocalTime before = JLocalTimeNow();
    ASSERT_EQ(Run({"--quiet", "--yes", "--standard-comment", "--output", dir_.File("new.gif"),
                   dir_.File("ball.gif")}),
              0)
        << err_;
    const JLocalTime after = JLocalTimeNow();  // the run may cross midnight
    // The sample's own start comment, then the standard comment at the end.
    const std::vector<std::string> comments = CommentsOf(dir_.Read("new.gif"));
    ASSERT_EQ(comments.size(), 2u);
    EXPECT_EQ(comments[0], kSampleComment);
    EXPECT_TRUE(comments[1] == DefaultCommentOn(before) || comments[1] == DefaultCommentOn(after))
        << comments[1];
}

TEST_F(ConsoleCommentsTest, RemoveCommentsThenStandardCommentLeavesOnlyThat) {
    dir_.Write("ball.gif", WithCommentsEverywhere(ball_));
    std::unique_ptr<GifDocument> before = ReadBack("ball.gif");
    ASSERT_TRUE(before);
    ASSERT_EQ(before->startComment, "old start");
    ASSERT_EQ(before->frames.back()->comment,
              "old frame " + std::to_string(before->frames.size() - 1));
    ASSERT_EQ(before->endComment, "old end");

    ASSERT_EQ(Run({"--quiet", "--yes", "--save", "--remove-comments", "--standard-comment",
                   dir_.File("ball.gif")}),
              0)
        << err_;
    const std::string saved = dir_.Read("ball.gif");
    EXPECT_EQ(CommentsOf(saved), std::vector<std::string>{"By Console Tester with Pindle v1.07."});
    std::unique_ptr<GifDocument> after = ReadBack("ball.gif");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->startComment, "");
    EXPECT_EQ(after->endComment, "By Console Tester with Pindle v1.07.");
    EXPECT_EQ(ScreensOf(*after), ScreensOf(*before));
}

TEST_F(ConsoleCommentsTest, AnEmptyTextRemovesThatCommentAlone) {
    dir_.Write("ball.gif", WithCommentsEverywhere(ball_));
    ASSERT_EQ(Run({"--quiet", "--yes", "--save", "--comment-start", "",
                   "--comment-end=", dir_.File("ball.gif")}),
              0)
        << err_;
    std::unique_ptr<GifDocument> after = ReadBack("ball.gif");
    ASSERT_TRUE(after);
    EXPECT_EQ(after->startComment, "");
    EXPECT_EQ(after->endComment, "");
    EXPECT_EQ(after->frames[1]->comment, "old frame 1");
}

TEST_F(ConsoleCommentsTest, TestModeReportsWithTheEditsButWritesNothing) {
    ASSERT_EQ(Run({"--test", "--comment-end", std::string(3000, 'x'), dir_.File("ball.gif")}), 0);
    EXPECT_NE(out_.find("\"ball.gif\" "), std::string::npos) << out_;
    EXPECT_EQ(dir_.Read("ball.gif"), ball_);
}

TEST_F(ConsoleCommentsTest, BadValuesAreRefusedWithTwoAndNoFileIsTouched) {
    const std::string path = dir_.File("ball.gif");
    EXPECT_EQ(Run({"--save", path, "--comment-start"}), 2);
    EXPECT_NE(err_.find("\"--comment-start\" needs a text"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--save", path, "--comment-end"}), 2);
    EXPECT_EQ(Run({"--save", "--remove-comments=no", path}), 2);
    EXPECT_NE(err_.find("\"--remove-comments\" takes no value"), std::string::npos) << err_;
    EXPECT_EQ(Run({"--save", "--standard-comment=yes", path}), 2);
    EXPECT_EQ(Run({"--save", "--comment-starts", "x", path}), 2);
    EXPECT_NE(err_.find("unknown option \"--comment-starts\""), std::string::npos) << err_;
    EXPECT_EQ(dir_.Read("ball.gif"), ball_);
}

TEST_F(ConsoleCommentsTest, HelpListsTheCommentOptions) {
    EXPECT_EQ(Run({"--help"}), 0);
    for (const char* option : {"--remove-comments", "--comment-start TEXT", "--comment-end TEXT",
                               "--standard-comment"}) {
        EXPECT_NE(out_.find(option), std::string::npos) << option;
    }
    EXPECT_NE(out_.find("Exit status"), std::string::npos);
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.find("--standard-comment"), std::string::npos);
}

}  // namespace
