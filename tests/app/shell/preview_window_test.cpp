#include "app/shell/preview_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/codec/gif_file.h"
#include "app/shell/playback_buttons.h"
#include "framework/ui/custom_buttons.h"
#include "tests/app/shell/made_documents.h"
#include "tests/framework/ui/ui_fixture.h"

namespace {

const Rgb kWhite{255, 255, 255};
const Rgb kNearlyWhite{254, 255, 253};
const Rgb kMagenta{255, 0, 255};
const Rgb kDark{0, 1, 2};
const Rgb kOrange{255, 128, 0};
const Rgb kSky{100, 200, 255};

std::uint32_t Packed(const Rgb& colour) {
    return JRgb(colour.red, colour.green, colour.blue);
}

// What the screen shows at (x, y) according to the document alone.
std::uint32_t CanvasColourAt(const GifDocument& document, int x, int y) {
    const FrameRect canvas = CanvasRect(document);
    const bool drawn = x >= canvas.left && x < canvas.right && y >= canvas.top && y < canvas.bottom;
    const Pixel pixel = drawn ? *document.canvas.At(x, y) : kBackgroundPixel;
    return Packed(pixel == kBackgroundPixel ? document.backgroundColour : document.colours[pixel]);
}

class PreviewTest : public FrameworkTest {
protected:
    void TearDown() override {
        preview_.reset();
        document_.reset();
        FrameworkTest::TearDown();
    }

    void Open(std::unique_ptr<GifDocument> document, PreviewLinks links = {}) {
        document_ = std::move(document);
        preview_ = OpenPreviewWindow(*document_, std::move(links));
        ASSERT_NE(preview_, nullptr);
        Settle();
    }
    JWindow* Window() const { return preview_->window; }

    // Every pixel of the view against the canvas, the margins against the
    // background colour; stops at the first few differences.
    void ExpectShowsCanvas(const std::function<std::uint32_t(int, int)>& screenColourAt) {
        const JRect view = preview_->view;
        const FrameRect screen = WholeScreenRect(*document_);
        const std::uint32_t background = Packed(document_->backgroundColour);
        int wrong = 0;
        for (int y = view.top; y < view.bottom && wrong < 5; ++y) {
            for (int x = view.left; x < view.right && wrong < 5; ++x) {
                const int sx = x - preview_->origin.x;
                const int sy = y - preview_->origin.y;
                const bool onScreen = sx >= screen.left && sx < screen.right && sy >= screen.top &&
                                      sy < screen.bottom;
                const std::uint32_t expected = onScreen ? screenColourAt(sx, sy) : background;
                if (Shown(Window(), x, y) != expected) {
                    ADD_FAILURE() << "content (" << x << ", " << y << ") shows " << std::hex
                                  << Shown(Window(), x, y) << " for " << expected;
                    ++wrong;
                }
            }
        }
    }
    void ExpectShowsCanvas() {
        ExpectShowsCanvas([this](int x, int y) { return CanvasColourAt(*document_, x, y); });
    }

    static void PressKey(std::uint16_t key) {
        JHeadlessPressKey(key);
        Settle();
    }

    std::unique_ptr<GifDocument> document_;
    std::unique_ptr<PreviewWindow> preview_;
};

// A 48 x 44 screen striped in colours that a darkening would change.
std::unique_ptr<GifDocument> StripedDocument() {
    return MakeDocument(
        48, 44,
        {MadeFrame{FrameRect{0, 0, 44, 48}, {kWhite, kNearlyWhite, kMagenta, kDark, kSky}},
         MadeFrame{FrameRect{10, 20, 16, 27}, {kDark, kOrange}}},
        kOrange);
}

TEST_F(PreviewTest, OpensAtTheMainWindowsCornerShowingTheWholeScreen) {
    auto document = StripedDocument();
    document->fileSpec.reset(JFileSpecFromPath("/tmp/stripes.gif"));
    Open(std::move(document));
    EXPECT_EQ(Window()->title, "stripes.gif Preview");
    EXPECT_EQ(Window()->left - Window()->borderLeft, 5);
    EXPECT_EQ(Window()->top - Window()->borderTop, 5);
    EXPECT_EQ(Window()->width, 48);
    EXPECT_EQ(Window()->height, 44);
    EXPECT_EQ(document_->currentFrame, 0) << "a canvas of no known frame is brought to frame 0";
    EXPECT_EQ(preview_->origin.x, 0);
    EXPECT_EQ(preview_->origin.y, 0);
    ExpectShowsCanvas();
}

TEST_F(PreviewTest, ALargerWindowKeepsTheScreenCentredOnBackground) {
    Open(StripedDocument());
    JWindowResize(Window(), 101, 80);
    Settle();
    EXPECT_EQ(preview_->origin.x, 26);
    EXPECT_EQ(preview_->origin.y, 18);
    EXPECT_EQ(preview_->horizontalBar, kNoWindow);
    EXPECT_EQ(preview_->verticalBar, kNoWindow);
    // The colours exactly as the file gives them: 255 stays 255.
    const MadeFrame first{FrameRect{0, 0, 44, 48}, {kWhite, kNearlyWhite, kMagenta, kDark, kSky}};
    ExpectShowsCanvas([&](int x, int y) { return Packed(MadeColourAt(first, x, y)); });
    EXPECT_EQ(Shown(Window(), 26, 18), 0xFFFFFFu);
    EXPECT_EQ(Shown(Window(), 0, 0), 0xFF8000u);
}

TEST_F(PreviewTest, AFrameChangeRedrawsOnlyWhatChanged) {
    Open(StripedDocument());
    JWindowResize(Window(), 70, 60);
    Settle();
    // A mark outside the second frame's rectangle stays: only that
    // rectangle is drawn again.
    const JPoint mark{preview_->origin.x + 2, preview_->origin.y + 2};
    JSelectPort(JWindowPort(Window()->platform));
    JSetPixelColour(mark.x, mark.y, JColourFromRgb(0x123456));
    SelectPreviewFrame(*preview_, 1);
    Settle();
    EXPECT_EQ(Shown(Window(), mark.x, mark.y), 0x123456u);
    const MadeFrame second{FrameRect{10, 20, 16, 27}, {kDark, kOrange}};
    for (int y = 10; y < 16; ++y) {
        for (int x = 20; x < 27; ++x) {
            EXPECT_EQ(Shown(Window(), preview_->origin.x + x, preview_->origin.y + y),
                      Packed(MadeColourAt(second, x, y)));
        }
    }
    InvalidatePreview(*preview_);
    Settle();
    ExpectShowsCanvas();
}

TEST_F(PreviewTest, AScreenTooLargeForTheWindowScrolls) {
    Open(MakeDocument(
        300, 200,
        {MadeFrame{FrameRect{0, 0, 200, 300},
                   {kWhite, kMagenta, kDark, kSky, kOrange, kNearlyWhite, Rgb{9, 99, 199}}}}));
    JWindowResize(Window(), 120, 100);
    Settle();
    ASSERT_NE(preview_->horizontalBar, kNoWindow);
    ASSERT_NE(preview_->verticalBar, kNoWindow);
    const int bar = JScrollBarWidth();
    EXPECT_EQ(preview_->view.Width(), 120 - bar);
    EXPECT_EQ(preview_->view.Height(), 100 - bar);
    // The bars start in the middle, so the centre of the screen shows.
    EXPECT_EQ(preview_->origin.x, -(300 - (120 - bar)) / 2);
    EXPECT_EQ(preview_->origin.y, -(200 - (100 - bar)) / 2);
    ExpectShowsCanvas();

    const int before = preview_->origin.x;
    JHandlerEvent line;
    line.part = kScrollLine;
    line.amount = 1;
    JWindowCall(Window(), kSlotHScrollLine, line);
    JHandlerEvent end;
    end.part = kScrollEnd;
    end.amount = 1;
    JWindowCall(Window(), kSlotVScrollLine + int(kScrollEnd) - 1, end);
    Settle();
    EXPECT_EQ(preview_->origin.x, before - 16);
    EXPECT_EQ(preview_->origin.y, -(200 - preview_->view.Height()));
    ExpectShowsCanvas();

    // Large enough again: the bars go and the screen is centred.
    JWindowResize(Window(), 320, 210);
    Settle();
    EXPECT_FALSE(JIsWindowVisible(preview_->horizontalBar));
    EXPECT_FALSE(JIsWindowVisible(preview_->verticalBar));
    EXPECT_EQ(preview_->origin.x, 10);
    EXPECT_EQ(preview_->origin.y, 5);
    ExpectShowsCanvas();
}

// The keys reach the playback through the window (their rules are the
// playback's own tests).
TEST_F(PreviewTest, TheKeysPlayStepAndStop) {
    Open(MakePlainAnimation({500, 500, 500, 500}));
    PressKey(kKeyLeft);
    EXPECT_EQ(document_->currentFrame, 3);
    ExpectShowsCanvas();
    PressKey(kKeyUp);
    EXPECT_EQ(preview_->playback.mode, kPlayReverse);
    PressKey(kKeyEscape);
    EXPECT_EQ(preview_->playback.mode, kPlayStopped);
    PressKey(kKeySpace);
    EXPECT_EQ(preview_->playback.mode, kPlayForward);
}

TEST_F(PreviewTest, PlayingShowsEachFrameInTurn) {
    Open(MakePlainAnimation({2, 2, 2, 2, 2, 2}));
    std::vector<std::int32_t> seen;
    preview_->links.showFrameDetails = [&seen](std::int32_t index, FrameSource) {
        seen.push_back(index);
    };
    SetPlaybackMode(preview_->playback, kPlayForward);
    for (int step = 0; step < 1000 && seen.size() < 8; ++step) {
        JEventStep(nullptr, true);
    }
    EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 0, 1, 2}));
    StopPlayback(preview_->playback);
    Settle();
    ExpectShowsCanvas();
}

TEST_F(PreviewTest, TheCloseBoxClosesTheDocument) {
    int closes = 0;
    PreviewLinks links;
    links.closeDocument = [&] {
        ++closes;
        preview_.reset();
    };
    Open(MakePlainAnimation({5, 5}), links);
    SetPlaybackMode(preview_->playback, kPlayForward);
    JWindow* window = Window();
    EXPECT_TRUE(JWindowClose(window));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(preview_, nullptr);
    EXPECT_TRUE(window->Destroyed());
    EXPECT_EQ(JTimerCount(), 0);
    Settle();
}

TEST_F(PreviewTest, ClosedWithoutADocumentTheRecordLetsGoOfItsWindow) {
    Open(MakePlainAnimation({5, 5}));
    SetPlaybackMode(preview_->playback, kPlayForward);
    EXPECT_TRUE(JWindowClose(Window()));
    EXPECT_EQ(preview_->window, nullptr);
    EXPECT_EQ(JTimerCount(), 0);
    SelectPreviewFrame(*preview_, 1);  // draws nothing, breaks nothing
    EXPECT_EQ(document_->currentFrame, 1);
}

TEST_F(PreviewTest, ADocumentWithoutFramesHasNoPreview) {
    auto document = MakeDocument(10, 10, {});
    EXPECT_EQ(OpenPreviewWindow(*document, {}), nullptr);
}

TEST_F(PreviewTest, ShowsCorpusFramesExactly) {
    const std::filesystem::path corpus(PINDLE_CORPUS_DIR);
    const std::filesystem::path files[] = {corpus / "real" / "pil-dispose_bgnd.gif",
                                           corpus / "real" / "pil-transparent_dispose.gif",
                                           corpus / "real" / "term-chat.gif"};
    int opened = 0;
    for (const auto& path : files) {
        if (!std::filesystem::exists(path)) {
            continue;
        }
        SCOPED_TRACE(path.filename().string());
        ++opened;
        preview_.reset();
        Open(OpenGifFile(path.string().c_str(), KeyframeUse::Build));
        ExpectShowsCanvas();
        // Forward one at a time (the changed rectangles), then a jump back.
        const int frames = std::min<int>(document_->frameCount, 6);
        for (int i = 1; i < frames; ++i) {
            PressKey(kKeyRight);
            ASSERT_EQ(document_->currentFrame, i);
            ExpectShowsCanvas();
        }
        SelectPreviewFrame(*preview_, 0);
        Settle();
        ExpectShowsCanvas();
    }
    if (opened == 0) {
        GTEST_SKIP() << "the corpus is absent";
    }
}

class PlaybackButtonsTest : public PreviewTest {};

TEST_F(PlaybackButtonsTest, EachButtonDoesItsPartAndShowsItsSymbol) {
    Open(MakePlainAnimation({500, 500, 500, 500}));
    JWindow* controls = OpenWindow(300, 300, 200, 60);
    const PlaybackButtons buttons = AddPlaybackButtons(controls, nullptr, preview_->playback, 4, 4);
    Settle();
    const auto click = [&](int i) {
        const JControl* button = buttons[std::size_t(i)];
        Click(controls, button->left + button->width / 2, button->top + button->height / 2);
    };
    click(0);
    EXPECT_EQ(preview_->playback.mode, kPlayFastReverse);
    click(1);
    EXPECT_EQ(preview_->playback.mode, kPlayReverse);
    click(6);
    EXPECT_EQ(preview_->playback.mode, kPlayFastForward);
    click(5);
    EXPECT_EQ(preview_->playback.mode, kPlayForward);
    click(3);
    EXPECT_EQ(preview_->playback.mode, kPlayStopped);
    const std::int32_t shown = document_->currentFrame;
    click(4);
    EXPECT_EQ(document_->currentFrame, (shown + 1) % 4);
    click(2);
    EXPECT_EQ(document_->currentFrame, shown);

    // Every face carries black ink, and no two faces are alike.
    std::vector<std::vector<std::uint32_t>> faces;
    for (const JControl* button : buttons) {
        std::vector<std::uint32_t> face;
        for (int y = 3; y < button->height - 3; ++y) {
            for (int x = 3; x < button->width - 3; ++x) {
                face.push_back(Shown(controls, button->left + x, button->top + y));
            }
        }
        EXPECT_NE(std::count(face.begin(), face.end(), 0u), 0);
        for (const auto& other : faces) {
            EXPECT_NE(face, other);
        }
        faces.push_back(face);
    }
}

}  // namespace
