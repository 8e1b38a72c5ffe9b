// The frame optimiser must never change what a viewer shows: every frame's
// screen, composited by a plain reference compositor from the frames as
// written, is the same before and after optimising, under every option.
#include "app/optimiser/frame_optimiser.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/image_encode.h"
#include "app/optimiser/progress.h"
#include "tests/app/codec/codec_test_support.h"

namespace {

constexpr Pixel kNone = kBackgroundPixel;
// A transparent pixel of a frame read back from the document.
constexpr Pixel kSeeThrough = kBackgroundPixel - 1;

// Colours, or a screen of them.
using Colours = std::vector<Pixel>;

// What a frame draws, as a plain record the reference compositor reads.
// Pixels are colours of the document's list; the pixels equal to
// transparentIndex are not drawn when the frame is transparent.
struct FrameSpec {
    FrameRect rect;
    Colours pixels;  // rectangle-sized, row after row
    std::uint8_t disposal = 1;
    bool transparent = false;
    Pixel transparentIndex = 0;
    bool interlaced = false;
    std::uint32_t delay = 0;
};

struct Animation {
    int width;
    int height;
    int colours;
    std::vector<FrameSpec> frames;
};

using DocumentPtr = std::unique_ptr<GifDocument>;

FrameRect Rect(int top, int left, int bottom, int right) {
    return FrameRect{top, left, bottom, right};
}

std::size_t Area(const FrameRect& rect) {
    return std::size_t(RectWidth(rect)) * std::size_t(RectHeight(rect));
}

// Frames of up to 256 colours index their own table, a run of the
// document's colours starting at the frame's lowest colour; larger colour
// counts would not fit a GIF table.
void EncodeSpec(GifFrame& frame, const FrameSpec& spec) {
    Pixel lowest = kNone;
    Pixel highest = 0;
    for (Pixel pixel : spec.pixels) {
        lowest = std::min(lowest, pixel);
        highest = std::max(highest, pixel);
    }
    if (spec.transparent) {
        lowest = std::min(lowest, spec.transparentIndex);
        highest = std::max(highest, spec.transparentIndex);
    }
    Bytes indices;
    for (Pixel pixel : spec.pixels) {
        indices.push_back(std::uint8_t(pixel - lowest));
    }
    const int size = std::max(2, highest - lowest + 1);
    frame.transparentIndex = std::uint8_t(spec.transparentIndex - lowest);
    EncodeFrameIndices(frame, indices, size);
    for (Pixel& colour : frame.table) {
        colour = Pixel(colour + lowest);
    }
}

DocumentPtr BuildDocument(const Animation& animation) {
    DocumentPtr document(NewGifDocument());
    document->screenWidth = std::uint16_t(animation.width);
    document->screenHeight = std::uint16_t(animation.height);
    ResizePixelMap(document->canvas, document->screenWidth, document->screenHeight);
    GiveColours(*document, animation.colours + 1);
    for (const FrameSpec& spec : animation.frames) {
        auto frame = std::make_unique<GifFrame>();
        frame->rect = spec.rect;
        frame->disposal = spec.disposal;
        frame->transparent = spec.transparent;
        frame->interlaced = spec.interlaced;
        frame->delay = spec.delay;
        frame->hasControl = true;
        EncodeSpec(*frame, spec);
        frame->localTable = true;
        document->frames.push_back(std::move(frame));
    }
    document->frameCount = std::int32_t(document->frames.size());
    BuildKeyframes(*document);
    return document;
}

// A frame's pixels as colours, kSeeThrough where transparent.
Colours Decoded(const GifFrame& frame) {
    Bytes indices;
    DecodePixels(frame.encoded, RectWidth(frame.rect), RectHeight(frame.rect), frame.interlaced,
                 indices);
    Colours pixels;
    for (std::uint8_t index : indices) {
        const bool seeThrough = frame.transparent && index == frame.transparentIndex;
        pixels.push_back(seeThrough ? kSeeThrough : frame.table.at(index));
    }
    return pixels;
}

// The frames as the document now holds them, decoded.
Animation ReadBack(const GifDocument& document) {
    Animation animation{document.screenWidth, document.screenHeight, 0, {}};
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        FrameSpec spec{frame->rect, Decoded(*frame),   frame->disposal, frame->transparent,
                       kSeeThrough, frame->interlaced, frame->delay};
        animation.frames.push_back(spec);
    }
    return animation;
}

// A viewer that honours disposal 2 (clear to background) and 3 (put back
// what the frame covered).
class Viewer {
public:
    Viewer(int width, int height) : width_(width), screen_(std::size_t(width * height), kNone) {}

    void Draw(const FrameSpec& frame) {
        under_ = screen_;
        for (int y = frame.rect.top; y < frame.rect.bottom; ++y) {
            for (int x = frame.rect.left; x < frame.rect.right; ++x) {
                const Pixel p = frame.pixels[std::size_t(
                    (y - frame.rect.top) * RectWidth(frame.rect) + x - frame.rect.left)];
                if (!(frame.transparent && p == frame.transparentIndex)) {
                    screen_[At(x, y)] = p;
                }
            }
        }
    }

    void Dispose(const FrameSpec& frame) {
        for (int y = frame.rect.top; y < frame.rect.bottom; ++y) {
            for (int x = frame.rect.left; x < frame.rect.right; ++x) {
                if (frame.disposal == 2) {
                    screen_[At(x, y)] = kNone;
                } else if (frame.disposal == 3) {
                    screen_[At(x, y)] = under_[At(x, y)];
                }
            }
        }
    }

    const Colours& Screen() const { return screen_; }

private:
    std::size_t At(int x, int y) const { return std::size_t(y * width_ + x); }

    int width_;
    Colours screen_;
    Colours under_;
};

// Every frame's screen from a cleared start, and the screen of the first
// frame drawn over what the last frame left behind (the loop going round in
// a viewer that does not clear the screen).
std::vector<Colours> Screens(const Animation& animation) {
    Viewer viewer(animation.width, animation.height);
    std::vector<Colours> screens;
    for (const FrameSpec& frame : animation.frames) {
        viewer.Draw(frame);
        screens.push_back(viewer.Screen());
        viewer.Dispose(frame);
    }
    viewer.Draw(animation.frames.front());
    screens.push_back(viewer.Screen());
    return screens;
}

void ExpectSameShow(const Animation& original, const Animation& optimised, const char* what) {
    const std::vector<Colours> expected = Screens(original);
    const std::vector<Colours> shown = Screens(optimised);
    ASSERT_EQ(expected.size(), shown.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i], shown[i]) << what << ": screen " << i << " of " << expected.size();
    }
}

// The document itself, through its keyframes and screen model, shows the
// expected screens going forward and jumping back.
void ExpectDocumentShows(GifDocument& document, const std::vector<Colours>& expected) {
    const auto check = [&](int index) {
        ShowFrame(document, index);
        ASSERT_EQ(document.canvas.pixels, expected[std::size_t(index)])
            << "document showing frame " << index;
    };
    document.currentFrame = -1;
    for (int i = 0; i < document.frameCount; ++i) {
        check(i);
    }
    for (int i = document.frameCount - 2; i >= 0; i -= 3) {
        check(i);
    }
}

// What every optimised frame must be, whatever it shows.
void ExpectWellFormed(const Animation& original, const GifDocument& document) {
    for (std::size_t i = 0; i < document.frames.size(); ++i) {
        const GifFrame& frame = *document.frames[i];
        const FrameSpec& before = original.frames[i];
        SCOPED_TRACE(i);
        ASSERT_FALSE(RectIsEmpty(frame.rect));
        ASSERT_TRUE(RectFitsMap(frame.rect, document.canvas));
        EXPECT_EQ(frame.delay, before.delay);
        const bool disposalKept = frame.disposal == before.disposal;
        EXPECT_TRUE(disposalKept || (before.disposal == 2 && frame.disposal == 1));
        ASSERT_EQ(frame.histogram.size(), frame.table.size());
        ASSERT_LE(frame.table.size(), 256u);
        if (frame.transparent && frame.transparentIndex < frame.table.size()) {
            EXPECT_EQ(frame.histogram[frame.transparentIndex], 0u);
        }
        const int codeSize = std::max(2, BitsForColours(ColoursNeeded(frame)));
        EXPECT_EQ(frame.encoded[0], codeSize);
    }
}

// Random animations whose frames often repeat what the screen shows, so
// that shrinking, transparency and disposal all have work to do. Colour
// counts stay below 256 so that 255 is free as background.
class RandomAnimations {
public:
    explicit RandomAnimations(unsigned seed) : random_(seed) {}

    Animation Make(int width, int height, int frameCount) {
        static constexpr int kColourCounts[] = {1, 2, 3, 4, 5, 8, 16, 100, 200, 255};
        Animation animation{width, height, kColourCounts[Below(std::size(kColourCounts))], {}};
        colours_ = std::size_t(animation.colours);
        palette_.clear();
        for (int i = 0; i < 4; ++i) {
            palette_.push_back(Pixel(Below(std::size_t(animation.colours))));
        }
        Viewer viewer(width, height);
        for (int i = 0; i < frameCount; ++i) {
            FrameSpec frame = MakeFrame(animation, viewer.Screen());
            viewer.Draw(frame);
            viewer.Dispose(frame);
            animation.frames.push_back(std::move(frame));
        }
        return animation;
    }

private:
    int Below(std::size_t limit) { return int(random_() % limit); }
    bool OneIn(int n) { return Below(std::size_t(n)) == 0; }

    FrameRect MakeRect(int width, int height) {
        if (OneIn(4)) {
            return Rect(0, 0, height, width);
        }
        const int top = Below(std::size_t(height));
        const int left = Below(std::size_t(width));
        return Rect(top, left, top + 1 + Below(std::size_t(height - top)),
                    left + 1 + Below(std::size_t(width - left)));
    }

    FrameSpec MakeFrame(const Animation& animation, const Colours& screen) {
        static constexpr std::uint8_t kDisposals[] = {0, 1, 1, 2, 2, 3, 3, 5};
        FrameSpec frame;
        frame.rect = MakeRect(animation.width, animation.height);
        frame.disposal = kDisposals[Below(std::size(kDisposals))];
        frame.transparent = OneIn(2);
        frame.transparentIndex = Pixel(Below(std::size_t(animation.colours)));
        frame.interlaced = OneIn(5);
        frame.delay = std::uint32_t(Below(100));
        const bool unchanged = OneIn(8);
        for (int y = frame.rect.top; y < frame.rect.bottom; ++y) {
            for (int x = frame.rect.left; x < frame.rect.right; ++x) {
                frame.pixels.push_back(
                    PixelOf(frame, screen[std::size_t(y * animation.width + x)], unchanged));
            }
        }
        return frame;
    }

    Pixel PixelOf(const FrameSpec& frame, Pixel shown, bool unchanged) {
        const int roll = Below(20);
        if (frame.transparent && (roll < 3 || (unchanged && shown == kNone))) {
            return frame.transparentIndex;
        }
        if ((unchanged || roll < 12) && shown != kNone) {
            return shown;
        }
        if (roll < 17) {
            return palette_[std::size_t(Below(palette_.size()))];
        }
        return Pixel(Below(colours_));
    }

    std::mt19937 random_;
    std::vector<Pixel> palette_;
    std::size_t colours_ = 1;  // of the animation being made
};

// The optimiser sets the encoder's frame terminator option for its run; the
// other tests expect it as they found it.
class FrameOptimiser : public testing::Test {
protected:
    void TearDown() override { SetOmitFrameTerminators(omitted_); }

private:
    bool omitted_ = OmitFrameTerminators();
};

std::vector<CompressionOptions> EveryOptionSet() {
    std::vector<CompressionOptions> sets;
    for (int bits = 0; bits < 16; ++bits) {
        for (int band = 0; band < 7; ++band) {
            CompressionOptions options;
            options.omitFrameTerminators = bits & 1;
            options.excludeOrigin = bits & 2;
            options.smallFirstFrameRectangle = bits & 4;
            options.useInterframeTransparency = bits & 8;
            options.band = TransparencyBand(band);
            sets.push_back(options);
        }
    }
    return sets;
}

// Optimises the animation twice and checks it shows the same each time.
void OptimiseAndCheck(const Animation& animation, const CompressionOptions& options,
                      bool showThroughDocument) {
    DocumentPtr document = BuildDocument(animation);
    OptimiseFrames(*document, options);
    ExpectWellFormed(animation, *document);
    ExpectSameShow(animation, ReadBack(*document), "first run");
    if (showThroughDocument) {
        ExpectDocumentShows(*document, Screens(animation));
    }
    // A second run starts from what the first one wrote.
    OptimiseFrames(*document, options);
    ExpectWellFormed(animation, *document);
    ExpectSameShow(animation, ReadBack(*document), "second run");
}

TEST_F(FrameOptimiser, RandomAnimationsLookTheSameUnderEveryOption) {
    RandomAnimations make(7);
    const std::vector<CompressionOptions> optionSets = EveryOptionSet();
    for (int round = 0; round < 16; ++round) {
        const Animation animation =
            make.Make(1 + (round * 7) % 29, 1 + (round * 5) % 19, 17 + round % 9);
        for (std::size_t set = 0; set < optionSets.size(); ++set) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", option set " << set);
            // Showing through the document is checked for one band a round.
            OptimiseAndCheck(animation, optionSets[set], set % 7 == std::size_t(round % 7));
            if (testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
}

TEST_F(FrameOptimiser, LargerRandomAnimationsLookTheSame) {
    RandomAnimations make(11);
    for (int round = 0; round < 3; ++round) {
        const Animation animation = make.Make(64 + round, 48 - round, 40);
        for (const bool interframe : {true, false}) {
            CompressionOptions options;
            options.useInterframeTransparency = interframe;
            options.band = TransparencyBand(round * 3);
            SCOPED_TRACE(testing::Message() << "round " << round << ", interframe " << interframe);
            OptimiseAndCheck(animation, options, true);
        }
    }
}

// Edge cases: hand-made animations on a 10 x 10 screen.

constexpr int kSide = 10;

FrameSpec Solid(FrameRect rect, Pixel colour, std::uint8_t disposal = 1) {
    FrameSpec frame;
    frame.rect = rect;
    frame.pixels.assign(Area(rect), colour);
    frame.disposal = disposal;
    return frame;
}

FrameSpec FullScreen(Pixel colour, std::uint8_t disposal = 1) {
    return Solid(Rect(0, 0, kSide, kSide), colour, disposal);
}

// A full-screen frame of colours 0 to 3 in no order.
FrameSpec Noise(unsigned seed) {
    std::mt19937 random(seed);
    FrameSpec frame = FullScreen(0);
    for (Pixel& p : frame.pixels) {
        p = Pixel(random() % 4);
    }
    return frame;
}

Animation OnScreen(int colours, std::vector<FrameSpec> frames) {
    return Animation{kSide, kSide, colours, std::move(frames)};
}

CompressionOptions Options(void (*change)(CompressionOptions&) = nullptr) {
    CompressionOptions options;
    if (change) {
        change(options);
    }
    return options;
}

void IncludeOrigin(CompressionOptions& options) {
    options.excludeOrigin = false;
}

// One run, checked to show the same as the original.
DocumentPtr Optimise(const Animation& animation, const CompressionOptions& options = {}) {
    DocumentPtr document = BuildDocument(animation);
    OptimiseFrames(*document, options);
    ExpectWellFormed(animation, *document);
    ExpectSameShow(animation, ReadBack(*document), "edge case");
    return document;
}

const GifFrame& Frame(const DocumentPtr& document, int index) {
    return *document->frames[std::size_t(index)];
}

TEST_F(FrameOptimiser, UnchangedFrameBecomesOneTransparentPixelAtItsCorner) {
    FrameSpec same = Solid(Rect(2, 3, 6, 8), 1);
    same.delay = 7;
    const Animation animation = OnScreen(4, {FullScreen(1), same});
    DocumentPtr document = Optimise(animation);
    const GifFrame& frame = Frame(document, 1);
    EXPECT_EQ(frame.rect, Rect(6, 8, 7, 9));
    EXPECT_TRUE(frame.transparent);
    EXPECT_EQ(Decoded(frame), Colours{kSeeThrough});
    EXPECT_EQ(frame.delay, 7u);
    EXPECT_EQ(Frame(Optimise(animation, Options(IncludeOrigin)), 1).rect, Rect(0, 0, 6, 8));
}

TEST_F(FrameOptimiser, UnchangedFrameAtTheScreenEdgeMovesInside) {
    const Animation animation = OnScreen(4, {FullScreen(1), Solid(Rect(5, 5, 10, 10), 1)});
    const DocumentPtr document = Optimise(animation);
    EXPECT_EQ(Frame(document, 1).rect, Rect(9, 9, 10, 10));
    EXPECT_TRUE(Frame(document, 1).transparent);
    // Nothing is used, so the lowest band's index 0 and the smallest code do.
    EXPECT_EQ(Frame(document, 1).transparentIndex, 0);
    EXPECT_EQ(ColoursNeeded(Frame(document, 1)), 1);
}

TEST_F(FrameOptimiser, OnePixelChangeGivesAOnePixelRectangle) {
    FrameSpec second = FullScreen(1);
    second.pixels[4 * kSide + 3] = 2;
    const Animation animation = OnScreen(4, {FullScreen(1), second});
    EXPECT_EQ(Frame(Optimise(animation), 1).rect, Rect(4, 3, 5, 4));
    EXPECT_EQ(Frame(Optimise(animation, Options(IncludeOrigin)), 1).rect, Rect(0, 0, 5, 4));
}

TEST_F(FrameOptimiser, FirstFrameThatCoversTheScreenShrinksToWhatChanges) {
    FrameSpec second = FullScreen(1);
    for (int y = 2; y < 5; ++y) {
        for (int x = 3; x < 7; ++x) {
            second.pixels[std::size_t(y * kSide + x)] = Pixel(x % 3);
        }
    }
    const Animation animation = OnScreen(4, {FullScreen(1), second});
    EXPECT_EQ(Frame(Optimise(animation), 0).rect, Rect(0, 0, kSide, kSide));
    EXPECT_EQ(Frame(Optimise(animation), 1).rect, Rect(2, 3, 5, 7));
}

// Image libraries start the screen transparent when the first frame
// declares transparency, and fill what no frame covers: the first frame
// keeps covering its transparent pixels and keeps declaring transparency.
TEST_F(FrameOptimiser, FirstFrameKeepsCoveringWhereItIsTransparent) {
    FrameSpec first = FullScreen(3);
    first.transparent = true;
    first.transparentIndex = 3;
    for (int y = 2; y < 5; ++y) {
        for (int x = 3; x < 7; ++x) {
            first.pixels[std::size_t(y * kSide + x)] = Pixel(x % 3);
        }
    }
    const Animation animation = OnScreen(4, {first});
    for (const bool small : {true, false}) {
        CompressionOptions options;
        options.smallFirstFrameRectangle = small;
        const DocumentPtr document = Optimise(animation, options);
        EXPECT_EQ(Frame(document, 0).rect, Rect(0, 0, kSide, kSide));
        EXPECT_TRUE(Frame(document, 0).transparent);
    }
}

// Without transparency, such libraries show colour 0 of the first frame's
// table where it does not reach: the frame comes as it was.
TEST_F(FrameOptimiser, OpaqueFirstFrameThatLeavesTheScreenUncoveredStaysAsItWas) {
    const Animation animation = OnScreen(4, {Solid(Rect(2, 2, 5, 5), 2), FullScreen(1)});
    DocumentPtr document = BuildDocument(animation);
    const Colours before = Decoded(Frame(document, 0));
    OptimiseFrames(*document, CompressionOptions{});
    EXPECT_EQ(Frame(document, 0).rect, Rect(2, 2, 5, 5));
    EXPECT_FALSE(Frame(document, 0).transparent);
    EXPECT_EQ(Decoded(Frame(document, 0)), before);
    EXPECT_EQ(Frame(document, 0).table.front(), 2);
}

TEST_F(FrameOptimiser, ClearingPaintedOverByTheNextFrameIsDropped) {
    const FrameRect patch = Rect(2, 2, 5, 5);
    EXPECT_EQ(Frame(Optimise(OnScreen(4, {FullScreen(1), Solid(patch, 2, 2), Solid(patch, 3)})), 1)
                  .disposal,
              1);
    const FrameSpec elsewhere = Solid(Rect(6, 6, 8, 8), 3);
    EXPECT_EQ(
        Frame(Optimise(OnScreen(4, {FullScreen(1), Solid(patch, 2, 2), elsewhere})), 1).disposal,
        2);
}

TEST_F(FrameOptimiser, LastFrameIsJudgedAgainstTheFirstOnAClearedScreen) {
    const FrameSpec first = Solid(Rect(0, 0, 5, 5), 1);
    EXPECT_EQ(Frame(Optimise(OnScreen(4, {first, Solid(Rect(0, 0, 5, 5), 2, 2)})), 1).disposal, 1);
    EXPECT_EQ(Frame(Optimise(OnScreen(4, {first, Solid(Rect(5, 5, 10, 10), 2, 2)})), 1).disposal,
              2);
}

// Colours 0 to 5 of 8 in use, with holes that show background.
Animation SixOfEightColours() {
    FrameSpec first = FullScreen(0);
    first.transparent = true;
    first.transparentIndex = 7;
    for (std::size_t i = 0; i < first.pixels.size(); ++i) {
        first.pixels[i] = Pixel(i % 7 == 3 ? 7 : i % 6);
    }
    return OnScreen(8, {first});
}

TEST_F(FrameOptimiser, LowestBandNeedsNoExtraCodeBit) {
    const DocumentPtr document = Optimise(SixOfEightColours());
    EXPECT_TRUE(Frame(document, 0).transparent);
    EXPECT_LT(Frame(document, 0).transparentIndex, 8);
    EXPECT_EQ(Frame(document, 0).encoded[0], 3);
}

TEST_F(FrameOptimiser, HighestBandUsesEightBitCodes) {
    const CompressionOptions options =
        Options([](CompressionOptions& o) { o.band = TransparencyBand::Ultrahigh; });
    const DocumentPtr document = Optimise(SixOfEightColours(), options);
    EXPECT_EQ(Frame(document, 0).transparentIndex, 255);
    EXPECT_TRUE(Frame(document, 0).transparent);
    EXPECT_EQ(Frame(document, 0).encoded[0], 8);
}

CompressionOptions LowBand() {
    return Options([](CompressionOptions& options) { options.band = TransparencyBand::Low; });
}

TEST_F(FrameOptimiser, FrameWithoutTransparentPixelsGoesWithoutTransparency) {
    const DocumentPtr document = Optimise(OnScreen(4, {Noise(1)}), LowBand());
    const GifFrame& frame = Frame(document, 0);
    EXPECT_FALSE(frame.transparent);
    EXPECT_EQ(frame.encoded[0], 2);
    const DocumentPtr small = Optimise(OnScreen(4, {Solid(Rect(0, 0, 1, 1), 3)}), LowBand());
    EXPECT_FALSE(Frame(small, 0).transparent);
}

TEST_F(FrameOptimiser, TransparencyStaysWhenItIsShorter) {
    FrameSpec second = Noise(1);
    second.pixels.front() = Pixel(second.pixels.front() ^ 1);
    second.pixels.back() = Pixel(second.pixels.back() ^ 1);
    const DocumentPtr document = Optimise(OnScreen(4, {Noise(1), second}), LowBand());
    const GifFrame& frame = Frame(document, 1);
    EXPECT_EQ(frame.rect, Rect(0, 0, kSide, kSide));
    EXPECT_TRUE(frame.transparent);
    EXPECT_EQ(frame.transparentIndex, 4);
}

TEST_F(FrameOptimiser, WithoutInterframeTransparencyEveryShownPixelHasItsColour) {
    FrameSpec second = Noise(2);
    for (std::size_t i = 0; i < second.pixels.size(); i += 3) {
        second.pixels[i] = Noise(1).pixels[i];
    }
    FrameSpec first = Noise(1);
    first.transparent = true;
    first.transparentIndex = 0;  // leaves background showing
    const Animation animation = OnScreen(4, {first, second});
    const CompressionOptions options =
        Options([](CompressionOptions& o) { o.useInterframeTransparency = false; });
    const DocumentPtr document = Optimise(animation, options);
    const std::vector<Colours> screens = Screens(animation);
    for (int i = 0; i < 2; ++i) {
        const GifFrame& frame = Frame(document, i);
        const Colours pixels = Decoded(frame);
        std::size_t at = 0;
        for (int y = frame.rect.top; y < frame.rect.bottom; ++y) {
            for (int x = frame.rect.left; x < frame.rect.right; ++x, ++at) {
                const Pixel shown = screens[std::size_t(i)][std::size_t(y * kSide + x)];
                EXPECT_EQ(pixels[at], shown == kNone ? kSeeThrough : shown);
            }
        }
    }
}

TEST_F(FrameOptimiser, FrameAfterARestoreSeesTheScreenFromBeforeIt) {
    const Animation animation =
        OnScreen(4, {FullScreen(1), Solid(Rect(2, 2, 4, 4), 2, 3), FullScreen(1)});
    const DocumentPtr document = Optimise(animation);
    EXPECT_EQ(Frame(document, 1).disposal, 3);
    EXPECT_EQ(Frame(document, 1).rect, Rect(2, 2, 4, 4));
    EXPECT_EQ(Frame(document, 2).rect, Rect(9, 9, 10, 10));  // nothing left to change
}

TEST_F(FrameOptimiser, ClearingBeforeARestoringFrameIsKept) {
    const FrameRect patch = Rect(2, 2, 6, 6);
    const Animation animation = OnScreen(
        4, {FullScreen(1), Solid(patch, 2, 2), Solid(patch, 3, 3), Solid(Rect(8, 8, 9, 9), 0)});
    const DocumentPtr document = Optimise(animation);
    EXPECT_EQ(Frame(document, 1).disposal, 2);
    EXPECT_EQ(Frame(document, 2).disposal, 3);
}

TEST_F(FrameOptimiser, ClearingFrameKeepsItsRectangleWhenTheOriginWouldWipeTheScreen) {
    const Animation animation =
        OnScreen(4, {FullScreen(1), Solid(Rect(5, 5, 6, 6), 2, 2), Solid(Rect(8, 8, 9, 9), 3)});
    const DocumentPtr document = Optimise(animation, Options(IncludeOrigin));
    EXPECT_EQ(Frame(document, 1).rect, Rect(5, 5, 6, 6));
    EXPECT_EQ(Frame(document, 1).disposal, 2);
    EXPECT_EQ(Frame(document, 2).rect, Rect(0, 0, 9, 9));
}

TEST_F(FrameOptimiser, ColoursNeededCountsTheTransparentIndexOnlyWhenSet) {
    GifFrame frame;
    frame.histogram = {0, 4, 0, 2, 0, 0, 0, 0};
    frame.transparentIndex = 6;
    EXPECT_EQ(ColoursNeeded(frame), 4);
    frame.transparent = true;
    EXPECT_EQ(ColoursNeeded(frame), 7);
    frame.histogram.assign(8, 0);
    frame.transparent = false;
    EXPECT_EQ(ColoursNeeded(frame), 1);
}

// A frame of two colours that sit far up a large global table is shorter
// with a table of its own and two-bit codes.
TEST_F(FrameOptimiser, FewColoursHighUpTheGlobalTableTakeATableOfTheirOwn) {
    constexpr int kWide = 64;
    FrameSpec first = Solid(Rect(0, 0, kWide, kWide), 0);
    std::mt19937 random(3);
    for (Pixel& pixel : first.pixels) {
        pixel = Pixel(random() % 200);
    }
    FrameSpec second = Solid(Rect(0, 0, kWide, kWide), 0);
    for (std::size_t i = 0; i < second.pixels.size(); ++i) {
        second.pixels[i] = Pixel(198 + random() % 2);
    }
    // More frames change to the other colours, which so come first.
    std::vector<FrameSpec> frames{first, second};
    for (int i = 0; i < 2; ++i) {
        FrameSpec noise = Solid(Rect(0, 0, kWide, kWide), 0);
        for (Pixel& pixel : noise.pixels) {
            pixel = Pixel(random() % 198);
        }
        frames.push_back(noise);
    }
    const DocumentPtr document = Optimise(Animation{kWide, kWide, 200, frames});
    EXPECT_TRUE(Frame(document, 1).localTable);
    EXPECT_EQ(Frame(document, 1).encoded[0], 2);
}

TEST_F(FrameOptimiser, OneProgressStepPerFrame) {
    BeginProgress("optimising", 100);
    Optimise(OnScreen(4, {Noise(1), Noise(2), FullScreen(1), Noise(3), Noise(4)}));
    EXPECT_EQ(ProgressStepsDone(), 5u);
    EndProgress();
}

TEST_F(FrameOptimiser, DocumentWithoutFramesIsLeftAlone) {
    DocumentPtr document(NewGifDocument());
    OptimiseFrames(*document, CompressionOptions{});
    EXPECT_TRUE(document->frames.empty());
}

TEST_F(FrameOptimiser, CanvasShowsTheCurrentFrameAfterwards) {
    const Animation animation = OnScreen(4, {Noise(1), Solid(Rect(1, 1, 3, 3), 2, 2), Noise(3)});
    DocumentPtr document = BuildDocument(animation);
    ShowFrame(*document, 1);
    OptimiseFrames(*document, CompressionOptions{});
    EXPECT_EQ(document->currentFrame, 1);
    EXPECT_EQ(document->canvas.pixels, Screens(animation)[1]);
}

}  // namespace
