// Saving never changes what a file shows. Every GIF of the real and the
// conformance folders is copied, opened, compressed and saved over the copy;
// then the original and the saved file are both decoded by giflib and shown
// by the reference compositor, and every frame must show the same screen
// for the same time, with the same loop count.
//
// Where that comparison would not be fair, the saved file is compared with
// the screens our reader made of the original instead (shown through the
// document before compressing), and the test says so for each file:
// - giflib cannot read the original to its end (a damaged file);
// - our reader stopped at damage that giflib reads past (an extension or
//   an image our reader does not accept), so the document holds fewer frames;
// - the images draw more than 255 different colours, which loading merges
//   into one table of 255 by design.
// A document without frames is written as a header and a trailer, which
// giflib opens but reports as holding no image.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/optimiser/compress.h"
#include "tests/app/corpus/corpus_support.h"

namespace {

using corpus::AlertRecorder;
using corpus::ReferenceCompositor;
using corpus::ReferenceGif;
using corpus::Screen;
using corpus::fs::path;

// What a saved file must show: either what giflib shows of the original or
// the screens our reader made of it.
struct Expected {
    const ReferenceGif* original = nullptr;
    std::vector<Screen> ours;
    std::string why;  // why our reading is the measure; empty otherwise
    bool pixels = true;
};

struct Tally {
    int files = 0;
    int saved = 0;
    int refused = 0;
    int againstReader = 0;
    int withoutPixels = 0;
    long bytesIn = 0;
    long bytesOut = 0;
};

// Our screens are kept for the whole animation only up to this many pixels.
constexpr long kMaxKeptPixels = 40'000'000;

void CheckAgainstOriginal(GifFileType* out, const ReferenceGif& original) {
    const std::string difference = corpus::AnimationDifference(out, original.gif.get());
    EXPECT_TRUE(difference.empty()) << "looks different: " << difference;
}

void CheckAgainstOurReading(GifFileType* out, const GifDocument& document,
                            const Expected& expected) {
    EXPECT_EQ(out->SWidth, document.screenWidth) << "the logical screen changed";
    EXPECT_EQ(out->SHeight, document.screenHeight) << "the logical screen changed";
    const int width = int(document.canvas.width);
    ReferenceCompositor shown(out, width, int(document.canvas.height));
    ASSERT_EQ(shown.width(), width);
    ASSERT_EQ(shown.height(), int(document.canvas.height));
    // Without our screens, only the delays are compared: every screen counts
    // as the same.
    corpus::ScreenRuns now([&shown, next = 0, &expected](Screen& screen, int& delay) mutable {
        if (next >= shown.frameCount()) {
            return false;
        }
        delay = shown.Delay(next++);
        screen = shown.Next();
        if (!expected.pixels) {
            screen.clear();
        }
        return true;
    });
    corpus::ScreenRuns then(
        [&document, &expected, next = std::size_t(0)](Screen& screen, int& delay) mutable {
            if (next >= document.frames.size()) {
                return false;
            }
            delay = int(document.frames[next]->delay);
            screen = expected.pixels ? expected.ours[next] : Screen{};
            ++next;
            return true;
        });
    const std::string difference = corpus::RunsDifference(now, then, width);
    EXPECT_TRUE(difference.empty()) << "differs from what was read: " << difference;
}

void CheckSavedFile(const path& saved, const GifDocument& document, const Expected& expected) {
    const ReferenceGif result = corpus::ReadReference(saved);
    ASSERT_TRUE(result.gif) << "giflib cannot open the saved file: " << result.error;
    GifFileType* out = result.gif.get();
    if (document.frameCount == 0) {
        EXPECT_EQ(out->Error, D_GIF_ERR_NO_IMAG_DSCR) << result.error;
        const std::string bytes = corpus::ReadBytes(saved);
        EXPECT_TRUE(corpus::StartsWith(bytes, "GIF89a") && corpus::EndsWith(bytes, ";"));
        EXPECT_EQ(result.loopCount, document.loops ? int(document.loopCount) : -1);
        return;
    }
    ASSERT_TRUE(result.complete) << "giflib cannot read the saved file: " << result.error;
    ASSERT_LE(out->ImageCount, document.frameCount) << "the saved file gained frames";
    if (expected.original) {
        EXPECT_EQ(result.loopCount, expected.original->loopCount) << "loop count changed";
        CheckAgainstOriginal(out, *expected.original);
    } else {
        EXPECT_EQ(result.loopCount, document.loops ? int(document.loopCount) : -1);
        CheckAgainstOurReading(out, document, expected);
    }
}

// Saves one run's result and checks it; `answerYes` accepts a larger file.
void SaveAndCheck(GifDocument& document, const CompressionOptions& options, const path& copy,
                  const Expected& expected, Tally& tally) {
    AlertRecorder recorder(true);
    const bool written = CompressDocument(document, document.fileSpec.get(), true, options);
    ASSERT_TRUE(written) << "not saved:" << recorder.All();
    for (const corpus::Alert& alert : recorder.alerts()) {
        EXPECT_NE(alert.kind, AlertKind::Stop) << alert.message;
    }
    EXPECT_EQ(std::uintmax_t(document.fileSize), corpus::fs::file_size(copy));
    ++tally.saved;
    tally.bytesOut += long(corpus::fs::file_size(copy));
    CheckSavedFile(copy, document, expected);
}

// The option sets each file is saved with, one after another on the same
// document (so a later run starts from the frames the one before chose).
struct SaveRun {
    const char* name;
    CompressionOptions options;
};

CompressionOptions Options(bool terminators, bool origin, bool smallFirst, bool transparency,
                           TransparencyBand band) {
    CompressionOptions options;
    options.omitFrameTerminators = terminators;
    options.excludeOrigin = origin;
    options.smallFirstFrameRectangle = smallFirst;
    options.useInterframeTransparency = transparency;
    options.band = band;
    return options;
}

bool WarnedOfDamage(const std::vector<corpus::Alert>& alerts) {
    for (const corpus::Alert& alert : alerts) {
        if (alert.message.find("appears to be a corrupt GIF file") != std::string::npos) {
            return true;
        }
    }
    return false;
}

void CheckFile(const path& file, const std::vector<SaveRun>& runs, Tally& tally) {
    SCOPED_TRACE(corpus::Shown(file));
    corpus::TempScope temporaries;
    ++tally.files;
    corpus::ScratchDirectory scratch;
    const path copy = scratch.Copy(file);

    const ReferenceGif original = corpus::ReadReference(file);
    corpus::Document document;
    std::vector<corpus::Alert> warnings;
    {
        AlertRecorder recorder;
        document = corpus::OpenDocument(copy);
        warnings = recorder.alerts();
    }
    if (!document) {
        ++tally.refused;  // the damaged-input and conformance suites judge refusals
        std::printf("  %s: refused on opening\n", corpus::Shown(file).c_str());
        return;
    }
    tally.bytesIn += long(corpus::fs::file_size(copy));

    Expected expected;
    if (!original.gif || !original.complete) {
        expected.why = "giflib cannot read it: " + original.error;
    } else if (original.gif->ImageCount != document->frameCount || WarnedOfDamage(warnings)) {
        expected.why = "our reader stopped at damage giflib reads past, keeping " +
                       std::to_string(document->frameCount) + " of " +
                       std::to_string(original.gif->ImageCount) + " frames";
    } else if (document->coloursAltered && corpus::DrawnColours(original.gif.get(), 255) > 255) {
        expected.why = "more colours than a document keeps were merged on loading";
    } else {
        expected.original = &original;
    }
    if (!expected.original) {
        ++tally.againstReader;
        const long pixels = long(document->screenWidth) * document->screenHeight;
        if (pixels * document->frameCount > kMaxKeptPixels) {
            expected.pixels = false;
            ++tally.withoutPixels;
            expected.why += "; too large to keep every screen, pixels not compared";
        }
        for (int i = 0; expected.pixels && i < document->frameCount; ++i) {
            expected.ours.push_back(corpus::DocumentScreen(*document, i));
        }
        std::printf("  %s: against our reading (%s)\n", corpus::Shown(file).c_str(),
                    expected.why.c_str());
    }
    for (const SaveRun& run : runs) {
        SCOPED_TRACE(run.name);
        corpus::Stopwatch watch;
        SaveAndCheck(*document, run.options, copy, expected, tally);
        if (watch.Seconds() > 1.0) {
            std::printf("  %s, %s: %.2f s, %ju bytes\n", corpus::Shown(file).c_str(), run.name,
                        watch.Seconds(), std::uintmax_t(corpus::fs::file_size(copy)));
        }
    }
}

void Report(const char* what, const Tally& tally) {
    std::printf(
        "%s: %d files, %d refused on opening, %d saves checked, %d against our reading, %d "
        "without pixel comparison; %ld bytes in, %ld bytes out over all saves\n",
        what, tally.files, tally.refused, tally.saved, tally.againstReader, tally.withoutPixels,
        tally.bytesIn, tally.bytesOut);
}

// Defaults, then every option off: whole-width frames from the origin,
// frame terminators, no interframe transparency.
const std::vector<SaveRun>& DefaultThenEverythingOff() {
    static const std::vector<SaveRun> runs{
        {"default options", CompressionOptions{}},
        {"every option off, band low", Options(false, false, false, false, TransparencyBand::Low)},
    };
    return runs;
}

// Defaults, then a second run over the frames the first one chose.
const std::vector<SaveRun>& DefaultThenFullFirstFrame() {
    static const std::vector<SaveRun> runs{
        {"default options", CompressionOptions{}},
        {"full first frame, frame terminators, band medium",
         Options(false, true, false, true, TransparencyBand::Medium)},
    };
    return runs;
}

bool IsScreenRecording(const path& file) {
    return corpus::StartsWith(file.filename().string(), "term-");
}

TEST(NoChangeInAppearance, RealAnimationsLookTheSameAfterSaving) {
    SKIP_WITHOUT_CORPUS();
    const std::vector<path> files = CorpusGifFiles("real");
    ASSERT_FALSE(files.empty());
    Tally tally;
    for (const path& file : files) {
        // With every option off a screen recording grows to megabytes of
        // whole frames; the small files take that run instead.
        CheckFile(
            file,
            IsScreenRecording(file) ? DefaultThenFullFirstFrame() : DefaultThenEverythingOff(),
            tally);
    }
    Report("real", tally);
    EXPECT_EQ(tally.refused, 0);
}

TEST(NoChangeInAppearance, ConformanceFilesLookTheSameAfterSaving) {
    SKIP_WITHOUT_CORPUS();
    const std::vector<path> files = CorpusGifFiles("conformance");
    ASSERT_FALSE(files.empty());
    Tally tally;
    for (const path& file : files) {
        CheckFile(file, DefaultThenEverythingOff(), tally);
    }
    Report("conformance", tally);
}

// The thorough mode tries every way the default mode may take, so no file
// comes out larger; what it writes looks the same too.
TEST(NoChangeInAppearance, ThoroughModeLooksTheSameAndIsNeverLarger) {
    SKIP_WITHOUT_CORPUS();
    CompressionOptions thorough;
    thorough.thorough = true;
    const std::vector<SaveRun> defaultRun{{"default options", CompressionOptions{}}};
    const std::vector<SaveRun> thoroughRun{{"thorough", thorough}};
    Tally defaults;
    Tally thoroughs;
    for (const char* folder : {"real", "conformance"}) {
        for (const path& file : CorpusGifFiles(folder)) {
            const long before = defaults.bytesOut;
            const long thoroughBefore = thoroughs.bytesOut;
            CheckFile(file, defaultRun, defaults);
            CheckFile(file, thoroughRun, thoroughs);
            EXPECT_LE(thoroughs.bytesOut - thoroughBefore, defaults.bytesOut - before)
                << corpus::Shown(file);
        }
    }
    Report("thorough", thoroughs);
    std::printf("thorough: %ld bytes, default: %ld bytes\n", thoroughs.bytesOut, defaults.bytesOut);
}

// The other transparency bands put the transparent index elsewhere, up to
// entry 255, which makes the table and the codes wider.
TEST(NoChangeInAppearance, OtherTransparencyBandsLookTheSame) {
    SKIP_WITHOUT_CORPUS();
    const std::vector<path> files = CorpusGifFiles("real");
    ASSERT_FALSE(files.empty());
    const TransparencyBand bands[] = {TransparencyBand::UltralowB, TransparencyBand::Superlow,
                                      TransparencyBand::Low,       TransparencyBand::Medium,
                                      TransparencyBand::High,      TransparencyBand::Ultrahigh};
    Tally tally;
    int next = 0;
    for (const path& file : files) {
        const TransparencyBand band = bands[next++ % std::size(bands)];
        const std::vector<SaveRun> runs{{"band only", Options(true, true, true, true, band)}};
        CheckFile(file, runs, tally);
    }
    Report("bands", tally);
}

}  // namespace
