#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/codec/gif_reader.h"
#include "codec_test_support.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/strings.h"
#include "framework/ui/alerts.h"
#include "tests/test_directory.h"

namespace {

// Builds GIF files byte by byte.
class GifBuilder {
public:
    explicit GifBuilder(const char* signature = "GIF89a") { Put(signature); }

    GifBuilder& Screen(int width, int height, int tableBits, int background = 0) {
        Word(width);
        Word(height);
        bytes_.push_back(tableBits ? std::uint8_t(0x80 | (tableBits - 1)) : 0);
        bytes_.push_back(std::uint8_t(background));
        bytes_.push_back(0);
        for (int i = 0; tableBits && i < (1 << tableBits); ++i) {
            Rgb(i * 10, i * 20 % 256, 255 - i);
        }
        return *this;
    }
    GifBuilder& Rgb(int r, int g, int b) {
        bytes_.insert(bytes_.end(), {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)});
        return *this;
    }
    GifBuilder& Control(int disposal, bool transparent, int delay, int index) {
        bytes_.insert(bytes_.end(), {0x21, 0xF9, 4, std::uint8_t(disposal << 2 | transparent)});
        Word(delay);
        bytes_.insert(bytes_.end(), {std::uint8_t(index), 0});
        return *this;
    }
    GifBuilder& Comment(const std::string& text) {
        bytes_.insert(bytes_.end(), {0x21, 0xFE, std::uint8_t(text.size())});
        Put(text);
        bytes_.push_back(0);
        return *this;
    }
    GifBuilder& Loop(int count, int length = 3) {
        bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
        Put("NETSCAPE2.0");
        bytes_.insert(bytes_.end(), {std::uint8_t(length), 1});
        Word(count);
        for (int extra = 3; extra < length; ++extra) {
            bytes_.push_back(0);
        }
        bytes_.push_back(0);
        return *this;
    }
    // An image filled with `pixels` (row after row), with or without a
    // local table of 2^localBits colours.
    GifBuilder& Image(int left, int top, int width, int height, const Bytes& pixels,
                      int localBits = 0) {
        bytes_.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes_.push_back(localBits ? std::uint8_t(0x80 | (localBits - 1)) : 0);
        for (int i = 0; localBits && i < (1 << localBits); ++i) {
            Rgb(255 - i, i, 128);
        }
        Bytes data = EncodePixels(pixels, width, height, 256, false);
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    GifBuilder& Trailer() {
        bytes_.push_back(0x3B);
        return *this;
    }
    GifBuilder& Raw(const Bytes& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes Cut(std::size_t length) const {
        return Bytes(bytes_.begin(), bytes_.begin() + long(length));
    }

private:
    void Word(int value) {
        bytes_.push_back(std::uint8_t(value));
        bytes_.push_back(std::uint8_t(value >> 8));
    }
    void Put(const std::string& text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }

    Bytes bytes_;
};

// Alerts are recorded; questions get the first button.
std::vector<std::string> gAlerts;
bool RecordAsk(AlertKind, const char* message, const char*, const char*) {
    gAlerts.push_back(message);
    return true;
}
void RecordTell(AlertKind, const char* message, const char*, const char*, AlertCallback, void*) {
    gAlerts.push_back(message);
}
void Quiet() {}
constexpr AlertDriver kRecorder{RecordAsk, RecordTell, Quiet};

class GifReaderTest : public testing::Test {
protected:
    void SetUp() override {
        gAlerts.clear();
        JSetAlertDriver(&kRecorder);
        JTempMark();
    }
    void TearDown() override {
        document_.reset();
        JSetAlertDriver(nullptr);
        JTempRelease();
    }

    GifDocument* Open(const Bytes& bytes) {
        std::string data(bytes.begin(), bytes.end());
        dir_.Write("anim.gif", data);
        FileSpec* spec = JFileSpecFromPath(dir_.File("anim.gif").c_str());
        JFile* file = JFileOpen(spec, JFileMode::Read);
        document_ = OpenGifDocument(spec, file);
        JFileClose(file);
        JFileSpecFree(spec);
        return document_.get();
    }

    // The colour of a pixel of frame `index` as shown.
    std::uint32_t ShownColour(int index, int x, int y) {
        ShowFrame(*document_, index);
        const Pixel pixel = *document_->canvas.At(x, y);
        return document_->colours[pixel].Packed();
    }

    TestDirectory dir_;
    std::unique_ptr<GifDocument> document_;
};

Bytes Filled(int count, std::uint8_t value) {
    return Bytes(std::size_t(count), value);
}

TEST_F(GifReaderTest, Gif87aWithOneImageLoadsAsOneStillFrame) {
    GifBuilder gif("GIF87a");
    gif.Screen(4, 3, 2).Image(0, 0, 4, 3, Filled(12, 1)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    ASSERT_EQ(document_->frameCount, 1);
    const GifFrame& frame = *document_->frames[0];
    EXPECT_EQ(frame.delay, 0u);
    EXPECT_EQ(frame.disposal, 1);
    EXPECT_FALSE(frame.transparent);
    EXPECT_FALSE(document_->loops);
    EXPECT_EQ(document_->colours.size(), 4u);  // every colour of the table is kept
    EXPECT_FALSE(document_->coloursAltered);
    EXPECT_EQ(ShownColour(0, 2, 1), (10u << 16) | (20u << 8) | 254u);
    EXPECT_TRUE(gAlerts.empty());
}

// Clean image data is kept as read; data that decoders read otherwise, or
// whose pixels were changed, is encoded anew.
TEST_F(GifReaderTest, ImageDataIsKeptAsReadWhenItDecodesCleanly) {
    const Bytes pixels{0, 1, 1, 0, 1, 1};
    const Bytes data = EncodePixels(pixels, 3, 2, 256, false);
    GifBuilder gif;
    gif.Screen(3, 2, 1).Image(0, 0, 3, 2, pixels).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->frames[0]->encoded, data);
    GifBuilder outOfRange;
    outOfRange.Screen(3, 2, 1).Image(0, 0, 3, 2, {0, 1, 5, 0, 1, 1}).Trailer();
    ASSERT_NE(Open(outOfRange.bytes()), nullptr);
    EXPECT_EQ(document_->frames[0]->encoded[0], 2);  // encoded anew for two colours
}

TEST_F(GifReaderTest, BackgroundColourIsKept) {
    GifBuilder gif;
    gif.Screen(2, 2, 3, 5).Image(0, 0, 2, 2, Filled(4, 0)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->backgroundColour, (::Rgb{50, 100, 250}));
    EXPECT_FALSE(document_->leavesUncovered);
}

TEST_F(GifReaderTest, MissingTrailerIsWarnedAbout) {
    GifBuilder gif;
    gif.Screen(2, 2, 1).Image(0, 0, 2, 2, Filled(4, 1));
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->frameCount, 1);
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_EQ(gAlerts[0],
              "\"anim.gif\" appears to be a GIF file, although the standard GIF file terminator "
              "is missing.");
}

TEST_F(GifReaderTest, DamageInsideTheFirstImageKeepsNothingAndSaysHowFarItGot) {
    GifBuilder gif;
    gif.Screen(40, 40, 1);
    const std::size_t introducer = gif.Size();
    Bytes pixels(1600);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = std::uint8_t(i * 7 % 3 == 0);
    }
    gif.Image(0, 0, 40, 40, pixels).Trailer();
    ASSERT_NE(Open(gif.Cut(introducer + 30)), nullptr);
    EXPECT_EQ(document_->frameCount, 0);
    ASSERT_EQ(gAlerts.size(), 1u);
    char* expected = JFormat(
        "\"anim.gif\" appears to be a corrupt GIF file. The first %f1,3.1,1%%%% of the file "
        "(%d% bytes) could be decoded.",
        introducer * 100.0 / (introducer + 30), int(introducer));
    EXPECT_EQ(gAlerts[0], expected);
    JStrFree(expected);
}

TEST_F(GifReaderTest, DataAfterTheTrailerIsWarnedAbout) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Image(0, 0, 1, 1, Filled(1, 0)).Trailer().Raw({1, 2, 3});
    ASSERT_NE(Open(gif.bytes()), nullptr);
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_NE(gAlerts[0].find("ended prematurely"), std::string::npos);
}

TEST_F(GifReaderTest, CommentsReachTheDocumentInOrder) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Comment("start").Comment(std::string("a\0b\rc", 5));
    gif.Image(0, 0, 1, 1, Filled(1, 0)).Comment("between").Comment("again");
    gif.Image(0, 0, 1, 1, Filled(1, 1)).Comment("end").Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->startComment, "start");
    EXPECT_EQ(document_->frames[0]->comment, "a#bc");
    EXPECT_EQ(document_->frames[1]->comment, "between\n\nagain");
    EXPECT_EQ(document_->endComment, "end");
}

TEST_F(GifReaderTest, LoopingAndGraphicControlAreRead) {
    GifBuilder gif;
    gif.Screen(2, 1, 2).Loop(3).Control(2, true, 25, 3).Image(0, 0, 2, 1, {0, 3}).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_TRUE(document_->loops);
    EXPECT_EQ(document_->loopCount, 3);
    const GifFrame& frame = *document_->frames[0];
    EXPECT_EQ(frame.disposal, 2);
    EXPECT_TRUE(frame.transparent);
    EXPECT_EQ(frame.delay, 25u);
    EXPECT_EQ(document_->totalDuration, 25u);
    EXPECT_EQ(frame.transparentIndex, 3);
    EXPECT_EQ(frame.histogram, (std::vector<std::uint32_t>{1, 0, 0, 0}));
}

TEST_F(GifReaderTest, CutLoopExtensionIsDamage) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Image(0, 0, 1, 1, Filled(1, 0));
    const std::size_t cut = gif.Size() + 16;
    gif.Loop(0).Image(0, 0, 1, 1, Filled(1, 0)).Trailer();
    ASSERT_NE(Open(gif.Cut(cut)), nullptr);
    EXPECT_FALSE(document_->loops);
    EXPECT_EQ(document_->frameCount, 1);
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_NE(gAlerts[0].find("corrupt GIF file. The first"), std::string::npos);
}

TEST_F(GifReaderTest, LoopExtensionWithABufferingSubBlockIsRead) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Raw({0x21, 0xFF, 11});
    gif.Raw({'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'});
    gif.Raw({3, 1, 7, 0, 5, 2, 0, 4, 0, 0, 0});
    gif.Image(0, 0, 1, 1, Filled(1, 0)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_TRUE(document_->loops);
    EXPECT_EQ(document_->loopCount, 7);
    EXPECT_EQ(document_->frameCount, 1);
    EXPECT_TRUE(gAlerts.empty());
}

TEST_F(GifReaderTest, UnknownExtensionIsSkippedWithAWarning) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Raw({0x21, 0x99, 2, 'h', 'i', 0});
    gif.Image(0, 0, 1, 1, Filled(1, 1)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->frameCount, 1);
    EXPECT_FALSE(document_->readIncomplete);
    ASSERT_EQ(gAlerts.size(), 1u);
    EXPECT_EQ(gAlerts[0], "Warning! An extension block of unknown kind (label 153) was ignored.");
}

TEST_F(GifReaderTest, FramesRememberWhetherTheyHadAGraphicControl) {
    GifBuilder gif;
    gif.Screen(1, 1, 1).Image(0, 0, 1, 1, Filled(1, 0));
    gif.Control(1, false, 0, 0).Image(0, 0, 1, 1, Filled(1, 1)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_FALSE(document_->frames[0]->hasControl);
    EXPECT_TRUE(document_->frames[1]->hasControl);
}

TEST_F(GifReaderTest, ImageLargerThanTheScreenEnlargesIt) {
    GifBuilder gif;
    gif.Screen(2, 2, 1).Image(1, 1, 3, 4, Filled(12, 1)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    // The logical screen stays as the file says; the canvas covers the frame
    // and the screen as shown reaches as far as the frame does.
    EXPECT_EQ(document_->screenWidth, 2);
    EXPECT_EQ(document_->screenHeight, 2);
    EXPECT_EQ(CanvasRect(*document_), (FrameRect{1, 1, 5, 4}));
    EXPECT_EQ(WholeScreenRect(*document_), (FrameRect{0, 0, 5, 4}));
    EXPECT_TRUE(document_->leavesUncovered);
}

TEST_F(GifReaderTest, TinyFramesOnAHugeScreenCostOnlyWhatTheyCover) {
    GifBuilder gif;
    gif.Screen(16384, 16384, 1).Image(9000, 7000, 2, 3, Filled(6, 1));
    gif.Image(9001, 7002, 1, 1, Filled(1, 0)).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(CanvasRect(*document_), (FrameRect{7000, 9000, 7003, 9002}));
    EXPECT_EQ(document_->canvas.pixels.size(), 6u);
    EXPECT_TRUE(document_->leavesUncovered);
    const std::uint32_t first = ShownColour(0, 9001, 7002);
    EXPECT_NE(ShownColour(1, 9001, 7002), first);
    EXPECT_EQ(ShownColour(1, 9000, 7000), first);
}

TEST_F(GifReaderTest, FramesTogetherCoveringMoreThanAScreenMayAreRefused) {
    // Each frame alone is small enough; the canvas over both would not be.
    GifBuilder gif;
    gif.Screen(2, 2, 1).Image(0, 0, 1, 1, Filled(1, 1)).Image(65000, 65000, 1, 1, Filled(1, 1));
    gif.Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->frameCount, 1);
    EXPECT_TRUE(document_->readIncomplete);
}

TEST_F(GifReaderTest, FileWithoutImagesHasNoFramesAndNoColours) {
    GifBuilder gif;
    gif.Screen(3, 3, 4).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(document_->frameCount, 0);
}

TEST_F(GifReaderTest, RefusalsSayWhy) {
    EXPECT_EQ(Open({'G', 'I', 'F', '8', '8', 'a', 0, 0}), nullptr);
    EXPECT_EQ(gAlerts.back(),
              "\"anim.gif\" is not stored using a recognized format, so it cannot be opened.");
    EXPECT_EQ(Open(GifBuilder().Cut(6)), nullptr);
    EXPECT_EQ(gAlerts.back(), "\"anim.gif\" is a corrupt GIF file that could not be decoded.");
}

TEST_F(GifReaderTest, HugeScreenIsRefusedBeforeAnythingIsAllocated) {
    GifBuilder gif;
    gif.Screen(65535, 65535, 1).Trailer();
    EXPECT_EQ(Open(gif.bytes()), nullptr);
    EXPECT_EQ(gAlerts.back(), "\"anim.gif\" is a corrupt GIF file that could not be decoded.");
    // A frame far out enlarges the screen too much: damage once frames exist.
    GifBuilder far;
    far.Screen(2, 2, 1).Image(0, 0, 1, 1, Filled(1, 0)).Image(30000, 30000, 1, 1, Filled(1, 0));
    ASSERT_NE(Open(far.Trailer().bytes()), nullptr);
    EXPECT_EQ(document_->frameCount, 1);
}

TEST_F(GifReaderTest, LocalTablesKeepEveryColour) {
    GifBuilder gif;
    gif.Screen(2, 1, 1).Image(0, 0, 2, 1, {0, 1}).Image(0, 0, 2, 1, {0, 1}, 1).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_FALSE(document_->coloursAltered);
    EXPECT_EQ(document_->colours.size(), 4u);
    EXPECT_FALSE(document_->frames[0]->localTable);
    EXPECT_TRUE(document_->frames[1]->localTable);
    EXPECT_EQ(ShownColour(0, 1, 0), (10u << 16) | (20u << 8) | 254u);
    EXPECT_EQ(ShownColour(1, 0, 0), (255u << 16) | 128u);
    EXPECT_EQ(ShownColour(1, 1, 0), (254u << 16) | (1u << 8) | 128u);
}

TEST_F(GifReaderTest, PixelsBeyondTheTableAreBroughtIntoRange) {
    GifBuilder gif;
    gif.Screen(3, 1, 1).Image(0, 0, 3, 1, {1, 7, 200}).Trailer();
    ASSERT_NE(Open(gif.bytes()), nullptr);
    EXPECT_EQ(ShownColour(0, 1, 0), ShownColour(0, 2, 0));
    EXPECT_EQ(ShownColour(0, 1, 0), 255u);  // colour 0 of the table
    // Other decoders show such pixels otherwise: no unchanged look is claimed.
    EXPECT_TRUE(document_->pixelsBeyondTable);
    EXPECT_FALSE(document_->coloursAltered);
}

}  // namespace
