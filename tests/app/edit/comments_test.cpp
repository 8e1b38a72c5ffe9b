#include "app/edit/comments.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/optimiser/progress.h"

namespace {

constexpr char kDefaultTemplate[] = "Shrunk by NAME on DATE, using Pindle vVERSION.";

// The standard comment's clock: a fixed time, counting its readings.
JLocalTime gTime;
int gClockReadings = 0;
JLocalTime FixedClock() {
    ++gClockReadings;
    return gTime;
}

JLocalTime At(int year, int month, int day, int hour, int minute) {
    JLocalTime time;
    time.year = std::uint16_t(year);
    time.month = std::uint8_t(month);
    time.day = std::uint8_t(day);
    time.hour = std::uint8_t(hour);
    time.minute = std::uint8_t(minute);
    return time;
}

StandardCommentSource Source(std::string_view commentTemplate = kDefaultTemplate) {
    return StandardCommentSource{commentTemplate, "Ann Example", FixedClock};
}

std::unique_ptr<GifDocument> DocumentWithComments(int frames) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    for (int i = 0; i < frames; ++i) {
        document->frames.push_back(std::make_unique<GifFrame>());
        document->frames.back()->comment = "frame " + std::to_string(i);
    }
    document->frameCount = frames;
    document->startComment = "start";
    document->endComment = "end";
    return document;
}

// ---------------------------------------------------------------------------
// Macros

std::string Expand(std::string_view text) {
    const std::array<Macro, 4> macros{{
        {"DATE", "Mar 5 1997"},
        {"TIME", "3:07 PM"},
        {"NAME", "Ann"},
        {"VERSION", "1.07"},
    }};
    return ExpandMacros(text, macros);
}

TEST(ExpandMacros, TextWithoutMacrosIsKeptWordForWord) {
    EXPECT_EQ(Expand("Made with care.\n\nNo names, dates or versions here."),
              "Made with care.\n\nNo names, dates or versions here.");
    EXPECT_EQ(Expand(""), "");
    // Case matters, and a name cut short is only text.
    EXPECT_EQ(Expand("name Name NAM VERSIO DAT"), "name Name NAM VERSIO DAT");
}

TEST(ExpandMacros, EveryOccurrenceIsReplacedAndTheWalkGoesOnAfterIt) {
    EXPECT_EQ(Expand("NAMENAME"), "AnnAnn");
    EXPECT_EQ(Expand("VERSIONS"), "1.07S");
    EXPECT_EQ(Expand("DATETIME"), "Mar 5 19973:07 PM");
    EXPECT_EQ(Expand("(NAME)"), "(Ann)");
    // A value is not expanded again.
    const std::array<Macro, 1> self{{{"NAME", "NAME NAME"}}};
    EXPECT_EQ(ExpandMacros("NAME!", self), "NAME NAME!");
}

TEST(ExpandMacros, TheFirstMacroInOrderWins) {
    const std::array<Macro, 2> shortFirst{{{"NAME", "short"}, {"NAMES", "long"}}};
    EXPECT_EQ(ExpandMacros("NAMES", shortFirst), "shortS");
    const std::array<Macro, 2> longFirst{{{"NAMES", "long"}, {"NAME", "short"}}};
    EXPECT_EQ(ExpandMacros("NAMES NAME", longFirst), "long short");
}

TEST(ExpandMacros, AnEmptyNameNeverMatches) {
    // Matching an empty name would append its value without moving on.
    const std::array<Macro, 2> macros{{{"", "x"}, {"NAME", "Ann"}}};
    EXPECT_EQ(ExpandMacros("by NAME", macros), "by Ann");
}

// ---------------------------------------------------------------------------
// The standard comment

class StandardCommentTest : public testing::Test {
protected:
    void SetUp() override {
        gTime = At(1997, 3, 5, 15, 7);
        gClockReadings = 0;
    }
};

TEST_F(StandardCommentTest, AfternoonTimeHasPmAndTheDateNoLeadingZeros) {
    EXPECT_EQ(BuildStandardComment(Source("DATE TIME")), "Mar 5 1997 3:07 PM");
    EXPECT_EQ(BuildStandardComment(Source()),
              "Shrunk by Ann Example on Mar 5 1997, using Pindle v1.07.");
}

TEST_F(StandardCommentTest, HalfPastMidnightIsTwelveThirtyAm) {
    gTime = At(1997, 3, 5, 0, 30);
    EXPECT_EQ(BuildStandardComment(Source("DATE TIME")), "Mar 5 1997 12:30 AM");
    gTime = At(2001, 12, 31, 12, 5);
    EXPECT_EQ(BuildStandardComment(Source("DATE TIME")), "Dec 31 2001 12:05 PM");
    gTime = At(2024, 1, 9, 11, 59);
    EXPECT_EQ(BuildStandardComment(Source("DATE TIME")), "Jan 9 2024 11:59 AM");
}

TEST_F(StandardCommentTest, EveryMonthHasItsAbbreviation) {
    const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        gTime = At(1999, month, 1, 9, 0);
        EXPECT_EQ(BuildStandardComment(Source("DATE")), std::string(months[month - 1]) + " 1 1999");
    }
}

TEST_F(StandardCommentTest, TheClockIsReadOnceForDateAndTime) {
    BuildStandardComment(Source("DATE TIME DATE TIME"));
    EXPECT_EQ(gClockReadings, 1);
}

TEST_F(StandardCommentTest, AnEmptyNameLeavesNothingInItsPlace) {
    StandardCommentSource source = Source("by NAME.");
    source.userName = "";
    EXPECT_EQ(BuildStandardComment(source), "by .");
}

TEST_F(StandardCommentTest, AddingTwiceStacksTheNewerFirstAfterAnEmptyLine) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    EXPECT_TRUE(AddStandardComment(*document, Source("at TIME")));
    EXPECT_EQ(document->endComment, "at 3:07 PM");
    gTime.minute = 8;
    EXPECT_TRUE(AddStandardComment(*document, Source("at TIME")));
    EXPECT_EQ(document->endComment, "at 3:08 PM\n\nat 3:07 PM");
    EXPECT_EQ(document->startComment, "");
}

TEST_F(StandardCommentTest, AnEmptyStandardCommentChangesNothing) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(1);
    EXPECT_FALSE(AddStandardComment(*document, Source("")));
    EXPECT_EQ(document->endComment, "end");
}

// ---------------------------------------------------------------------------
// Setting and removing

TEST(CommentEdits, SettingTheSameTextIsNoChange) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(2);
    EXPECT_FALSE(SetStartComment(*document, "start"));
    EXPECT_TRUE(SetStartComment(*document, "new start"));
    EXPECT_EQ(document->startComment, "new start");
    EXPECT_FALSE(SetEndComment(*document, "end"));
    EXPECT_TRUE(SetEndComment(*document, ""));
    EXPECT_EQ(document->endComment, "");
}

TEST(CommentEdits, RemovingARangeLeavesTheOtherFramesAndTheDocumentComments) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(5);
    EXPECT_TRUE(RemoveFrameComments(*document, 1, 3));
    std::vector<std::string> comments;
    for (const auto& frame : document->frames) {
        comments.push_back(frame->comment);
    }
    EXPECT_EQ(comments, (std::vector<std::string>{"frame 0", "", "", "", "frame 4"}));
    EXPECT_EQ(document->startComment, "start");
    EXPECT_EQ(document->endComment, "end");
    EXPECT_FALSE(RemoveFrameComments(*document, 1, 3));
}

TEST(CommentEdits, ARangeReachingPastTheFramesTouchesOnlyTheFramesThere) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(3);
    EXPECT_TRUE(RemoveFrameComments(*document, -5, 1));
    EXPECT_EQ(document->frames[2]->comment, "frame 2");
    EXPECT_TRUE(RemoveFrameComments(*document, 2, 1000));
    EXPECT_EQ(document->frames[2]->comment, "");
    EXPECT_FALSE(RemoveFrameComments(*document, 2, 1));
    EXPECT_FALSE(RemoveFrameComments(*NewGifDocument(), 0, 0));
}

TEST(CommentEdits, RemovingAllEmptiesEveryComment) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(4);
    EXPECT_TRUE(RemoveAllComments(*document));
    for (const auto& frame : document->frames) {
        EXPECT_EQ(frame->comment, "");
    }
    EXPECT_EQ(document->startComment, "");
    EXPECT_EQ(document->endComment, "");
    EXPECT_FALSE(RemoveAllComments(*document));
}

TEST_F(StandardCommentTest, StandardizingLeavesOneFreshStandardCommentAtTheEnd) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(4);
    EXPECT_TRUE(StandardizeComments(*document, Source()));
    for (const auto& frame : document->frames) {
        EXPECT_EQ(frame->comment, "");
    }
    EXPECT_EQ(document->startComment, "");
    EXPECT_EQ(document->endComment, "Shrunk by Ann Example on Mar 5 1997, using Pindle v1.07.");
    // Doing it again an hour later keeps one comment, the newer.
    gTime.hour = 16;
    gTime.day = 6;
    EXPECT_TRUE(StandardizeComments(*document, Source("on DATE at TIME")));
    EXPECT_EQ(document->endComment, "on Mar 6 1997 at 4:07 PM");
}

// ---------------------------------------------------------------------------
// The commands' paced progress, on a clock that moves only when told to

std::uint32_t gNow = 0;
std::uint32_t FakeNow() {
    return gNow;
}
void FakeSleep(std::uint32_t milliseconds) {
    gNow += milliseconds;
}
constexpr ProgressClock kFakeClock{FakeNow, FakeSleep};

struct ShownProgress {
    std::string text;
    std::uint32_t total = 0;
    std::vector<std::uint32_t> bars;  // every bar position set, in order
    std::uint32_t openedAt = 0;
    std::uint32_t closedAt = 0;
};
ShownProgress gShown;
int gOpenWindows = 0;

ProgressWindow Open(const char* text, std::uint32_t total, ProgressWindow) {
    gShown = ShownProgress{text, total, {}, gNow, 0};
    ++gOpenWindows;
    return &gShown;
}
void SetText(ProgressWindow, const char*) {}
void SetBar(ProgressWindow, std::uint32_t done) {
    gShown.bars.push_back(done);
}
void Repaint(ProgressWindow) {}
void Close(ProgressWindow) {
    gShown.closedAt = gNow;
    --gOpenWindows;
}
void Cursor(bool) {}
constexpr ProgressDisplay kFakeDisplay{Open, SetText, SetBar, Repaint, Close, Cursor};

class CommentCommandTest : public StandardCommentTest {
protected:
    void SetUp() override {
        StandardCommentTest::SetUp();
        gNow = 50000;
        gShown = ShownProgress{};
        gOpenWindows = 0;
        SetProgressClock(&kFakeClock);
        SetProgressDisplay(&kFakeDisplay);
    }
    void TearDown() override {
        SetProgressClock(nullptr);
        SetProgressDisplay(nullptr);
    }

    static std::vector<std::uint32_t> Steps(std::uint32_t from, std::uint32_t to) {
        std::vector<std::uint32_t> steps;
        for (std::uint32_t done = from; done <= to; ++done) {
            steps.push_back(done);
        }
        return steps;
    }
};

TEST_F(CommentCommandTest, RemoveAllStepsOncePerFrameAndTwiceMoreAndLastsASecond) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(10);
    EXPECT_TRUE(RemoveAllCommentsCommand(*document));
    EXPECT_EQ(gShown.text, "Removing Comments");
    EXPECT_EQ(gShown.total, 13u);
    EXPECT_EQ(gShown.bars.back(), 13u);  // the end fills the bar
    // Paced to a second, then the full bar shows for 150 ms.
    EXPECT_EQ(gShown.closedAt - gShown.openedAt, 1000u + 150u);
    EXPECT_EQ(gOpenWindows, 0);
    EXPECT_EQ(document->endComment, "");
}

TEST_F(CommentCommandTest, StandardizeStepsOnceMoreForTheStandardComment) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(7);
    EXPECT_TRUE(StandardizeCommentsCommand(*document, Source()));
    EXPECT_EQ(gShown.text, "Standardizing Comments");
    EXPECT_EQ(gShown.total, 10u);
    EXPECT_EQ(gShown.closedAt - gShown.openedAt, 1000u + 150u);
    EXPECT_EQ(document->endComment, "Shrunk by Ann Example on Mar 5 1997, using Pindle v1.07.");
}

// The steps each operation takes, counted inside a progress of the caller's
// that none of them can fill.
TEST_F(CommentCommandTest, OperationsStepOncePerFrameAndOnceMorePerDocumentComment) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(6);
    BeginPacedProgress("counting", 1000);
    RemoveFrameComments(*document, 1, 3);
    EXPECT_EQ(gShown.bars, Steps(1, 3));
    RemoveAllComments(*document);
    EXPECT_EQ(gShown.bars, Steps(1, 3 + 6 + 2));
    StandardizeComments(*document, Source());
    EXPECT_EQ(gShown.bars, Steps(1, 3 + 6 + 2 + 6 + 3));
    AddStandardComment(*document, Source());
    EXPECT_EQ(gShown.bars.size(), std::size_t(3 + 6 + 2 + 6 + 3));
    EndPacedProgress();
}

TEST_F(CommentCommandTest, RangeCommandCountsTheFramesTheRangeHolds) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(4);
    EXPECT_TRUE(RemoveRangeCommentsCommand(*document, 2, 9));
    EXPECT_EQ(gShown.text, "Removing Comments");
    EXPECT_EQ(gShown.total, 2u);
    EXPECT_EQ(document->frames[1]->comment, "frame 1");
    EXPECT_EQ(document->frames[3]->comment, "");
    EXPECT_EQ(gOpenWindows, 0);
}

TEST(CommentEditsWithoutProgress, OperationsRunWhenNoPacedProgressWasBegun) {
    std::unique_ptr<GifDocument> document = DocumentWithComments(3);
    gTime = At(1997, 3, 5, 15, 7);
    EXPECT_TRUE(StandardizeComments(*document, Source("NAME")));
    EXPECT_EQ(document->endComment, "Ann Example");
}

}  // namespace
