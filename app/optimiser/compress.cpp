#include "app/optimiser/compress.h"

#include <algorithm>
#include <cstdlib>

#include "app/codec/gif_blocks.h"
#include "app/codec/gif_reader.h"
#include "app/codec/image_encode.h"
#include "app/codec/output_stream.h"
#include "app/optimiser/frame_optimiser.h"
#include "app/optimiser/progress.h"
#include "app/optimiser/size_text.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/string_lists.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts; each message is followed by its buttons.
constexpr std::uint16_t kTextCompressing = 320;
constexpr std::uint16_t kTextSaving = 321;
constexpr std::uint16_t kTextLarger = 322;
constexpr std::uint16_t kTextEqual = 324;
constexpr std::uint16_t kTextReduced = 326;
constexpr std::uint16_t kTextReducedUnchanged = 328;
constexpr std::uint16_t kTextSaveLarger = 330;
constexpr std::uint16_t kTextSaveEqual = 333;
constexpr std::uint16_t kTextNotCreated = 336;
constexpr std::uint16_t kTextNotOpened = 338;
constexpr std::uint16_t kTextNotWritten = 340;

constexpr int kNoDistance = 768;

enum class Outcome { Reduced, Equal, Larger };

// The entry among the first `count` nearest to `colour` (lowest index on ties).
std::uint8_t NearestEntry(const std::uint8_t* table, int count, const std::uint8_t* colour) {
    int best = kNoDistance;
    std::uint8_t nearest = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* rgb = table + 3 * i;
        int distance = std::abs(rgb[0] - colour[0]) + std::abs(rgb[1] - colour[1]) +
                       std::abs(rgb[2] - colour[2]);
        if (distance < best) {
            best = distance;
            nearest = static_cast<std::uint8_t>(i);
        }
    }
    return nearest;
}

// The global table has room for the background colour past the used colours
// when the table's power of two allows; otherwise the nearest colour serves.
std::uint8_t BackgroundIndexFor(GifDocument& document, int bits) {
    const int n = document.colourCount;
    const std::uint8_t* background = document.colourTable + 3 * 255;
    if ((1 << bits) > n) {
        std::copy_n(background, 3, document.colourTable + 3 * n);
        return static_cast<std::uint8_t>(n);
    }
    return NearestEntry(document.colourTable, n, background);
}

void WriteStreamHead(GifDocument& document) {
    int needed = 1;
    for (const GifFrame* frame : document.frames) {
        needed = std::max(needed, ColoursNeeded(document, *frame));
    }
    const int bits = BitsForColours(needed);
    const std::uint8_t background = BackgroundIndexFor(document, bits);
    WriteScreenHeader(document.screenWidth, document.screenHeight, background, bits,
                      document.colourTable);
    if (document.loops) {
        WriteLoopExtension(document.loopCount);
    }
    // An empty start comment still goes out before a first frame's comment,
    // so that the frame's comment is not read back as the start comment.
    const bool firstHasComment = !document.frames.empty() && document.frames[0]->comment[0];
    if (document.startComment[0] || firstHasComment) {
        WriteCommentExtension(document.startComment);
    }
}

void WriteFrame(const GifFrame& frame) {
    if (frame.comment[0]) {
        WriteCommentExtension(frame.comment);
    }
    WriteGraphicControl(frame.transparent, frame.disposal, frame.userInput,
                        static_cast<std::uint16_t>(frame.delay), frame.transparentIndex);
    WriteImageDescriptor(
        static_cast<std::uint16_t>(frame.rect.left), static_cast<std::uint16_t>(frame.rect.top),
        static_cast<std::uint16_t>(RectWidth(frame.rect)),
        static_cast<std::uint16_t>(RectHeight(frame.rect)), frame.interlaced, 1, nullptr);
    WriteOutput(frame.encodedSize, frame.encodedImage);
}

}  // namespace

void WriteGifStream(GifDocument& document) {
    ResetOutput();
    WriteStreamHead(document);
    StepProgress(1);
    for (const GifFrame* frame : document.frames) {
        WriteFrame(*frame);
        StepProgress(1);
    }
    if (document.endComment[0]) {
        WriteCommentExtension(document.endComment);
    }
    WriteTrailer();
    StepProgress(1);
}

namespace {

bool WriteOutputStream(JFile* file, void*) {
    return WriteOutputToFile(file);
}

struct Report {
    const char* name;
    char newSize[32];
    char oldSize[32];
    double saving;
    Outcome outcome;
};

void TellSaving(const GifDocument& document, const Report& report) {
    // Merged colours or a file read only in part change what is shown.
    const bool changed = document.coloursAltered || document.readIncomplete;
    std::uint16_t text = changed ? kTextReduced : kTextReducedUnchanged;
    JTell(AlertKind::Information,
          JFormatTemp(IJString(text), report.name, report.newSize, report.oldSize, report.saving),
          IJString(text + 1), nullptr, nullptr, nullptr);
}

void TellTestResult(const GifDocument& document, const Report& report) {
    if (report.outcome == Outcome::Reduced) {
        TellSaving(document, report);
        return;
    }
    const char* message =
        report.outcome == Outcome::Larger
            ? JFormatTemp(IJString(kTextLarger), report.name, report.newSize, report.oldSize)
            : JFormatTemp(IJString(kTextEqual), report.name, report.oldSize);
    std::uint16_t button = report.outcome == Outcome::Larger ? kTextLarger + 1 : kTextEqual + 1;
    JTell(AlertKind::Information, message, IJString(button), nullptr, nullptr, nullptr);
}

// A result that is not smaller is saved only when the user says so.
bool AcceptNotSmaller(const Report& report) {
    if (report.outcome == Outcome::Reduced) {
        return true;
    }
    JBeep();
    if (report.outcome == Outcome::Larger) {
        return JAsk(
            AlertKind::Caution,
            JFormatTemp(IJString(kTextSaveLarger), report.name, report.newSize, report.oldSize),
            IJString(kTextSaveLarger + 1), IJString(kTextSaveLarger + 2));
    }
    return JAsk(AlertKind::Caution,
                JFormatTemp(IJString(kTextSaveEqual), report.name, report.oldSize),
                IJString(kTextSaveEqual + 1), IJString(kTextSaveEqual + 2));
}

}  // namespace

bool CompressDocument(GifDocument& document, const FileSpec* spec, bool saveMode,
                      const CompressionOptions& options) {
    Report report{};
    report.name = DisplayNameTemp(spec);
    BeginProgress(JFormatTemp(IJString(kTextCompressing), report.name),
                  2 * std::uint32_t(document.frames.size()) + 2);
    OptimiseFrames(document, options);
    SetProgressText(JFormatTemp(IJString(kTextSaving), report.name));
    WriteGifStream(document);

    const std::uint32_t oldSize = document.fileSize;
    const std::uint32_t newSize = OutputSize();
    report.outcome = newSize < oldSize   ? Outcome::Reduced
                     : oldSize < newSize ? Outcome::Larger
                                         : Outcome::Equal;
    report.saving = oldSize ? (double(oldSize) - double(newSize)) * 100.0 / oldSize : 0.0;
    FormatByteCount(oldSize, report.oldSize, sizeof report.oldSize);
    FormatByteCount(newSize, report.newSize, sizeof report.newSize);
    EndProgress();

    if (!saveMode) {
        TellTestResult(document, report);
        return false;
    }
    if (!AcceptNotSmaller(report)) {
        return false;
    }
    bool saved = SaveStreamToFile(document, spec);
    // A saving is reported only when it reached the disk.
    if (saved && report.outcome == Outcome::Reduced) {
        TellSaving(document, report);
    }
    return saved;
}

void CompressCommand(GifDocument& document, bool saveMode, const CompressionOptions& options,
                     DocumentRefresh refresh) {
    if (CompressDocument(document, document.fileSpec, saveMode, options) && refresh) {
        refresh(document);
    }
}

bool SaveStreamToFile(GifDocument& document, const FileSpec* spec) {
    JReplaceResult result = JFileReplace(spec, WriteOutputStream, nullptr);
    if (result == JReplaceResult::Replaced) {
        document.fileSize = OutputSize();
        return true;
    }
    std::uint16_t text = result == JReplaceResult::CreateFailed ? kTextNotCreated
                         : result == JReplaceResult::OpenFailed ? kTextNotOpened
                                                                : kTextNotWritten;
    JBeep();
    JTellSimply(JFormatTemp(IJString(text), DisplayNameTemp(spec)), IJString(text + 1));
    return false;
}
