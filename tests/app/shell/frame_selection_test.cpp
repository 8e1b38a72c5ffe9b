#include "app/shell/frame_selection.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/app/shell/made_documents.h"

namespace {

struct Calls {
    std::vector<std::int32_t> shown;
    std::vector<FrameSource> sources;
    std::vector<FrameRect> changed;
};

FrameSelectionHooks Recording(Calls& calls) {
    FrameSelectionHooks hooks;
    hooks.showFrameDetails = [&calls](std::int32_t index, FrameSource source) {
        calls.shown.push_back(index);
        calls.sources.push_back(source);
    };
    hooks.showScreenChange = [&calls](const FrameRect& rect) { calls.changed.push_back(rect); };
    return hooks;
}

const Rgb kRed{255, 0, 0};
const Rgb kBlue{0, 0, 255};

// A full-screen first frame, then two small frames in different corners.
std::unique_ptr<GifDocument> ThreeFrames() {
    return MakeDocument(
        20, 10,
        {MadeFrame{FrameRect{0, 0, 10, 20}, {kRed}}, MadeFrame{FrameRect{0, 0, 3, 4}, {kBlue}},
         MadeFrame{FrameRect{6, 15, 9, 19}, {kBlue}}});
}

TEST(FrameSelection, TellsTheWindowsWhatChanged) {
    auto document = ThreeFrames();
    Calls calls;
    ASSERT_TRUE(SelectFrame(*document, 0, FrameSource::Other, Recording(calls)));
    ASSERT_TRUE(SelectFrame(*document, 1, FrameSource::Slider, Recording(calls)));
    EXPECT_EQ(document->currentFrame, 1);
    EXPECT_EQ(calls.shown, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(calls.sources.back(), FrameSource::Slider);
    ASSERT_EQ(calls.changed.size(), 2u);
    // The canvas showed no known frame: all of it may have changed.
    EXPECT_EQ(calls.changed[0], WholeScreenRect(*document));
    EXPECT_EQ(calls.changed[1], (FrameRect{0, 0, 3, 4}));
    // Going back covers every frame in between.
    ASSERT_TRUE(SelectFrame(*document, 0, FrameSource::Other, Recording(calls)));
    EXPECT_EQ(calls.changed.back(), (FrameRect{0, 0, 10, 20}));
}

TEST(FrameSelection, TheShownFrameOrOneOutsideChangesNothing) {
    auto document = ThreeFrames();
    Calls calls;
    SelectFrame(*document, 2, FrameSource::Other, {});
    EXPECT_FALSE(SelectFrame(*document, 2, FrameSource::Other, Recording(calls)));
    EXPECT_FALSE(SelectFrame(*document, 3, FrameSource::Other, Recording(calls)));
    EXPECT_FALSE(SelectFrame(*document, -1, FrameSource::Other, Recording(calls)));
    EXPECT_EQ(document->currentFrame, 2);
    EXPECT_TRUE(calls.shown.empty());
    EXPECT_TRUE(calls.changed.empty());
}

TEST(FrameSelection, ARebuiltCanvasCountsAsChangedEverywhere) {
    auto document = ThreeFrames();
    SelectFrame(*document, 2, FrameSource::Other, {});
    document->currentFrame = -1;  // as after frames were re-encoded
    Calls calls;
    ASSERT_TRUE(SelectFrame(*document, 1, FrameSource::Other, Recording(calls)));
    ASSERT_EQ(calls.changed.size(), 1u);
    EXPECT_EQ(calls.changed[0], WholeScreenRect(*document));
}

TEST(FrameSelection, ADocumentWithoutFramesOnlyNotesFrameZero) {
    auto document = MakeDocument(5, 5, {});
    Calls calls;
    EXPECT_FALSE(SelectFrame(*document, 3, FrameSource::Other, Recording(calls)));
    EXPECT_EQ(document->currentFrame, 0);
    EXPECT_TRUE(calls.shown.empty());
}

}  // namespace
