// Which frames a stream leaves out: those that change nothing, where the
// frame before can take their time without any viewer showing otherwise.
#include "app/optimiser/frame_merging.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Spec {
    std::uint32_t delay;
    bool changesNothing = true;
    std::uint8_t disposal = kDisposalKeep;
    const char* comment = "";
    bool userInput = false;
};

std::unique_ptr<GifDocument> Document(const std::vector<Spec>& specs) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    for (const Spec& spec : specs) {
        auto frame = std::make_unique<GifFrame>();
        frame->delay = spec.delay;
        frame->changesNothing = spec.changesNothing;
        frame->disposal = spec.disposal;
        frame->comment = spec.comment;
        frame->userInput = spec.userInput;
        document->frames.push_back(std::move(frame));
    }
    return document;
}

// The written frames as (index of the document frame, delay).
std::vector<std::pair<int, std::uint32_t>> Written(const std::vector<Spec>& specs,
                                                   bool merge = true) {
    const std::unique_ptr<GifDocument> document = Document(specs);
    std::vector<std::pair<int, std::uint32_t>> written;
    for (const StreamFrame& frame : FramesToWrite(*document, merge)) {
        int index = 0;
        while (document->frames[std::size_t(index)].get() != frame.frame) {
            ++index;
        }
        written.emplace_back(index, frame.delay);
    }
    return written;
}

using Frames = std::vector<std::pair<int, std::uint32_t>>;

TEST(FrameMerging, RunOfUnchangedFramesJoinsTheFrameBefore) {
    EXPECT_EQ(Written({{10, false}, {20}, {30}, {5, false}, {7}}), (Frames{{0, 60}, {3, 12}}));
}

TEST(FrameMerging, FirstFrameIsAlwaysWritten) {
    EXPECT_EQ(Written({{10}, {20}}), (Frames{{0, 30}}));
}

TEST(FrameMerging, NothingIsMergedWhenSwitchedOff) {
    EXPECT_EQ(Written({{10, false}, {20}}, false), (Frames{{0, 10}, {1, 20}}));
}

TEST(FrameMerging, FramesCarryingACommentOrWaitingForInputStay) {
    EXPECT_EQ(Written({{10, false}, {20, true, 1, "note"}, {30}}), (Frames{{0, 10}, {1, 50}}));
    EXPECT_EQ(Written({{10, false}, {20, true, 1, "", true}}), (Frames{{0, 10}, {1, 20}}));
}

TEST(FrameMerging, DelaysNeverPass65535) {
    EXPECT_EQ(Written({{65000, false}, {535}, {1000}}), (Frames{{0, 65535}, {2, 1000}}));
}

// Browsers show 0 and 1 as 10: a sum may be shown for a different time.
TEST(FrameMerging, BrowserTimingDecidesForTinyDelays) {
    EXPECT_EQ(Written({{0, false}, {0}}), (Frames{{0, 0}, {1, 0}}));
    EXPECT_EQ(Written({{5, false}, {1}}), (Frames{{0, 5}, {1, 1}}));
    EXPECT_EQ(Written({{1, false}, {10}}), (Frames{{0, 1}, {1, 10}}));
    EXPECT_EQ(Written({{2, false}, {3}}), (Frames{{0, 5}}));
    EXPECT_EQ(BrowserDelay(0), 10u);
    EXPECT_EQ(BrowserDelay(1), 10u);
    EXPECT_EQ(BrowserDelay(2), 2u);
}

// A frame that clears or restores after its time would do so later.
TEST(FrameMerging, FrameThatDisposesTakesNoMoreTime) {
    EXPECT_EQ(Written({{10, false, kDisposalRestoreBackground}, {20}}), (Frames{{0, 10}, {1, 20}}));
    EXPECT_EQ(Written({{10, false, kDisposalRestorePrevious}, {20}}), (Frames{{0, 10}, {1, 20}}));
}

}  // namespace
