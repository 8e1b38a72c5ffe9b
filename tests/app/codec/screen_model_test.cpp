// The canvas that ShowFrame builds, in any order of requests, must be the
// screen a plain compositor gets by redrawing every frame from the start.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "app/codec/document.h"
#include "framework/core/strings.h"
#include "tests/app/codec/codec_test_support.h"

namespace {

constexpr int kColours = 16;

using Screen = std::vector<Pixel>;

// What a frame draws, kept beside the document for the reference compositor.
struct FrameSpec {
    FrameRect rect;
    Bytes pixels;  // rect-sized
    std::uint8_t disposal;
    bool transparent;
    std::uint8_t transparentIndex;
    bool interlaced;
};

class ScreenModel : public testing::Test {
protected:
    void NewDocument(int width, int height) {
        document_ = NewGifDocument();
        document_->screenWidth = std::uint16_t(width);
        document_->screenHeight = std::uint16_t(height);
        ResizePixelMap(document_->canvas, document_->screenWidth, document_->screenHeight);
        GiveColours(*document_, kColours);
    }

    FrameRect RandomRect() {
        const int w = document_->screenWidth, h = document_->screenHeight;
        if (random_() % 4 == 0) {
            return FrameRect{0, 0, h, w};
        }
        const int top = int(random_() % unsigned(h)), left = int(random_() % unsigned(w));
        const int bottom = top + 1 + int(random_() % unsigned(h - top));
        const int right = left + 1 + int(random_() % unsigned(w - left));
        return FrameRect{top, left, bottom, right};
    }

    void AddFrame(const FrameSpec& spec) {
        specs_.push_back(spec);
        auto frame = std::make_unique<GifFrame>();
        frame->rect = spec.rect;
        frame->disposal = spec.disposal;
        frame->transparent = spec.transparent;
        frame->transparentIndex = spec.transparentIndex;
        frame->interlaced = spec.interlaced;
        Encode(*frame, spec.pixels);
        for (Pixel& colour : frame->table) {
            colour = Pixel(colour + tableStart_);
        }
        tableStarts_.push_back(tableStart_);
        document_->frames.push_back(std::move(frame));
        document_->frameCount = std::int32_t(document_->frames.size());
    }

    void Encode(GifFrame& frame, const Bytes& pixels) {
        EncodeFrameIndices(frame, pixels, kColours);
    }

    void AddRandomFrame() {
        FrameSpec spec{RandomRect(),
                       {},
                       std::uint8_t(random_() % 4),
                       random_() % 2 == 0,
                       std::uint8_t(random_() % kColours),
                       random_() % 3 == 0};
        spec.pixels.resize(std::size_t(RectWidth(spec.rect) * RectHeight(spec.rect)));
        for (auto& p : spec.pixels) {
            p = std::uint8_t(random_() % kColours);
        }
        AddFrame(spec);
    }

    void AddPlainFrame(FrameRect rect, std::uint8_t colour, std::uint8_t disposal = 1,
                       bool transparent = false) {
        Bytes pixels(std::size_t(RectWidth(rect) * RectHeight(rect)), colour);
        AddFrame(FrameSpec{rect, pixels, disposal, transparent, 9, false});
    }

    // The screen while frame `target` is displayed, redrawn from the start.
    Screen ReferenceScreen(int target) const {
        const int w = document_->screenWidth;
        Screen screen(std::size_t(w * document_->screenHeight), kBackgroundPixel);
        for (int i = 0; i <= target; ++i) {
            const FrameSpec& spec = specs_[std::size_t(i)];
            const Screen before = screen;
            const int width = RectWidth(spec.rect);
            for (int y = spec.rect.top; y < spec.rect.bottom; ++y) {
                for (int x = spec.rect.left; x < spec.rect.right; ++x) {
                    std::uint8_t p =
                        spec.pixels[std::size_t((y - spec.rect.top) * width + x - spec.rect.left)];
                    if (!(spec.transparent && p == spec.transparentIndex)) {
                        screen[std::size_t(y * w + x)] = Pixel(p + tableStarts_[std::size_t(i)]);
                    }
                }
            }
            if (i == target) {
                break;
            }
            for (int y = spec.rect.top; y < spec.rect.bottom; ++y) {
                for (int x = spec.rect.left; x < spec.rect.right; ++x) {
                    const std::size_t at = std::size_t(y * w + x);
                    if (spec.disposal == 2) {
                        screen[at] = kBackgroundPixel;
                    } else if (spec.disposal == 3) {
                        screen[at] = before[at];
                    }
                }
            }
        }
        return screen;
    }

    Screen Canvas() const { return document_->canvas.pixels; }

    // Shows the frame and checks the screen, and that nothing outside the
    // reported rectangle changed.
    void ShowAndCheck(int target) {
        const int previous = document_->currentFrame;
        const Screen before = Canvas();
        const FrameRect changed = ShowFrame(*document_, target);
        ASSERT_EQ(Canvas(), ReferenceScreen(target))
            << "showing " << target << " after " << previous;
        if (previous < 0) {
            return;
        }
        const Screen after = Canvas();
        const int w = document_->screenWidth;
        for (int y = 0; y < document_->screenHeight; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool inside = y >= changed.top && y < changed.bottom && x >= changed.left &&
                                    x < changed.right;
                if (!inside) {
                    ASSERT_EQ(before[std::size_t(y * w + x)], after[std::size_t(y * w + x)])
                        << "outside the changed rectangle at " << x << "," << y << " showing "
                        << target << " after " << previous;
                }
            }
        }
    }

    // Replaces what the frame draws in the document (not in the reference),
    // so that drawing it shows up as a difference.
    void Spoil(int index) {
        GifFrame& frame = *FrameAt(*document_, index);
        Encode(frame, Bytes(std::size_t(RectWidth(frame.rect) * RectHeight(frame.rect)), 13));
    }

    std::unique_ptr<GifDocument> document_;
    // Where in the document's colours the next frame's table starts, and
    // where each frame's did.
    Pixel tableStart_ = 0;
    std::vector<Pixel> tableStarts_;
    std::vector<FrameSpec> specs_;
    std::mt19937 random_{1};
};

TEST_F(ScreenModel, SeventeenFramesHaveKeyframesOnIndices7And15Only) {
    NewDocument(6, 5);
    for (int i = 0; i < 17; ++i) {
        AddPlainFrame(FrameRect{0, 0, 5, 6}, std::uint8_t(i % 9));
    }
    BuildKeyframes(*document_);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(FrameAt(*document_, i)->keyframe != nullptr, i == 7 || i == 15) << i;
    }
    const Keyframe& key = *FrameAt(*document_, 15)->keyframe;
    EXPECT_EQ(key.rect, (FrameRect{0, 0, 5, 6}));
    EXPECT_EQ(key.encoded[0], 8);
}

TEST_F(ScreenModel, SmallFramesWaitForAKeyframeUntilTheyHaveDrawnTheCanvasArea) {
    // 20 frames of 2 x 2 on a 6 x 5 canvas: 30 pixels take 8 frames, so the
    // keyframes come on indices 7 and 15 still; frames of one pixel would
    // take 30.
    NewDocument(6, 5);
    for (int i = 0; i < 40; ++i) {
        const int size = i < 20 ? 2 : 1;
        AddPlainFrame(FrameRect{i % 4, i % 5, i % 4 + size, i % 5 + size}, std::uint8_t(i % 9));
    }
    BuildKeyframes(*document_);
    std::vector<int> keyframes;
    for (int i = 0; i < 40; ++i) {
        if (FrameAt(*document_, i)->keyframe) {
            keyframes.push_back(i);
        }
    }
    // After 15: four 2 x 2 frames (16 pixels), then one-pixel frames until
    // the count reaches 30, at frame 33.
    EXPECT_EQ(keyframes, (std::vector<int>{7, 15, 33}));
    for (int target : {39, 34, 20, 5}) {
        ShowAndCheck(target);
    }
}

TEST_F(ScreenModel, FarTargetStartsFromNearestKeyframe) {
    NewDocument(8, 8);
    for (int i = 0; i < 20; ++i) {
        AddPlainFrame(FrameRect{i % 7, i % 5, 8, 7}, std::uint8_t(i % 9));
    }
    BuildKeyframes(*document_);
    ShowAndCheck(3);
    for (int i = 0; i <= 15; ++i) {
        Spoil(i);  // frames up to 15 must not be drawn: keyframe 15 stands for them
    }
    ShowAndCheck(19);
}

TEST_F(ScreenModel, NextFrameDrawsOnlyThatFrame) {
    NewDocument(8, 8);
    for (int i = 0; i < 6; ++i) {
        AddPlainFrame(FrameRect{i, 0, 8, 8 - i}, std::uint8_t(i), i == 3 ? 2 : 1);
    }
    BuildKeyframes(*document_);
    ShowAndCheck(3);
    for (int i = 0; i <= 3; ++i) {
        Spoil(i);
    }
    ShowAndCheck(4);
    ShowAndCheck(5);
}

TEST_F(ScreenModel, ChangedRectangleGoingForwardAndBackward) {
    NewDocument(20, 20);
    AddPlainFrame(FrameRect{0, 0, 20, 20}, 1);
    AddPlainFrame(FrameRect{2, 2, 4, 4}, 2, 2);
    AddPlainFrame(FrameRect{10, 10, 12, 13}, 3);
    AddPlainFrame(FrameRect{5, 6, 7, 8}, 4);
    BuildKeyframes(*document_);
    EXPECT_EQ(ShowFrame(*document_, 1), (FrameRect{2, 2, 4, 4}));    // nothing shown before
    EXPECT_EQ(ShowFrame(*document_, 2), (FrameRect{2, 2, 12, 13}));  // frame 1 is cleared
    EXPECT_EQ(ShowFrame(*document_, 3), (FrameRect{5, 6, 7, 8}));
    EXPECT_EQ(ShowFrame(*document_, 1), (FrameRect{2, 2, 12, 13}));
    EXPECT_EQ(ShowFrame(*document_, 0), (FrameRect{0, 0, 20, 20}));
    EXPECT_EQ(Canvas(), ReferenceScreen(0));
}

TEST_F(ScreenModel, RestoreToPreviousPutsBackTheScreenBeforeTheFrame) {
    NewDocument(6, 6);
    AddPlainFrame(FrameRect{0, 0, 6, 6}, 1);
    AddPlainFrame(FrameRect{1, 1, 4, 4}, 2);
    AddPlainFrame(FrameRect{0, 0, 6, 6}, 3, 3);  // covers everything, then goes away again
    AddPlainFrame(FrameRect{3, 3, 5, 5}, 4);
    BuildKeyframes(*document_);
    for (int i = 0; i < 4; ++i) {
        ShowAndCheck(i);
    }
    ShowAndCheck(2);
    RefreshCanvas(*document_);
    EXPECT_EQ(Canvas(), ReferenceScreen(2));
    ShowAndCheck(3);
    EXPECT_EQ(FrameAt(*document_, 2)->disposal, 3);
}

TEST_F(ScreenModel, TransparentFullScreenTargetWithDisposal2ShowsTheScreenBehindIt) {
    NewDocument(5, 5);
    AddPlainFrame(FrameRect{0, 0, 5, 5}, 1);
    AddPlainFrame(FrameRect{1, 1, 3, 3}, 2);
    Bytes holes(25, 9);
    holes[12] = 4;
    AddFrame(FrameSpec{FrameRect{0, 0, 5, 5}, holes, 2, true, 9, false});
    AddPlainFrame(FrameRect{0, 0, 2, 2}, 5);
    BuildKeyframes(*document_);
    ShowAndCheck(2);
    ShowAndCheck(3);
    ShowAndCheck(2);
}

TEST_F(ScreenModel, DocumentWithoutFramesShowsBackground) {
    NewDocument(3, 2);
    BuildKeyframes(*document_);
    ShowFrame(*document_, 0);
    EXPECT_EQ(Canvas(), Screen(6, kBackgroundPixel));
    EXPECT_EQ(document_->currentFrame, -1);
}

TEST_F(ScreenModel, RandomAnimationsMatchRedrawingFromTheStart) {
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        specs_.clear();
        tableStarts_.clear();
        NewDocument(3 + int(random_() % 30), 3 + int(random_() % 20));
        const int frames = 17 + int(random_() % 24);
        for (int i = 0; i < frames; ++i) {
            AddRandomFrame();
        }
        BuildKeyframes(*document_);
        for (int i = 0; i < frames; ++i) {
            ShowAndCheck(i);
        }
        for (int step = 0; step < 3 * frames; ++step) {
            int target = int(random_() % unsigned(frames));
            if (target != document_->currentFrame) {
                ShowAndCheck(target);
            }
        }
        for (int i = frames - 1; i >= 0; --i) {
            if (i != document_->currentFrame) {
                ShowAndCheck(i);
            }
        }
        RefreshCanvas(*document_);
        ASSERT_EQ(Canvas(), ReferenceScreen(document_->currentFrame));
    }
}

// Frames with tables of their own put hundreds of colours on the canvas,
// more than a keyframe of one byte per pixel can name: such keyframes are
// kept as two byte planes, and those of fewer pixels as a palette.
TEST_F(ScreenModel, KeyframesOfManyColoursShowTheScreen) {
    for (const bool covering : {false, true}) {
        SCOPED_TRACE(covering);
        specs_.clear();
        tableStarts_.clear();
        NewDocument(24, 20);
        GiveColours(*document_, 40 * kColours);
        for (int i = 0; i < 40; ++i) {
            tableStart_ = Pixel(i * kColours);
            // Side by side strips keep every frame's colours on the screen;
            // covering frames leave only the last one's.
            const FrameRect rect =
                covering ? FrameRect{0, 0, 20, 24} : FrameRect{0, i % 24, 20, i % 24 + 1};
            Bytes pixels(std::size_t(RectWidth(rect) * RectHeight(rect)));
            for (std::size_t p = 0; p < pixels.size(); ++p) {
                pixels[p] = std::uint8_t((p + std::size_t(i)) % kColours);
            }
            AddFrame(FrameSpec{rect, pixels, 1, false, 0, false});
        }
        BuildKeyframes(*document_);
        ASSERT_TRUE(FrameAt(*document_, 23)->keyframe);
        EXPECT_EQ(FrameAt(*document_, 23)->keyframe->highBytes.encoded.empty(), covering);
        for (int target : {31, 23, 39, 8, 0, 24}) {
            ShowAndCheck(target);
        }
    }
}

}  // namespace
