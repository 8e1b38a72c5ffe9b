#include "app/optimiser/compress.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/codec/gif_blocks.h"
#include "app/codec/gif_file.h"
#include "app/codec/gif_reader.h"
#include "app/codec/image_encode.h"
#include "app/codec/output_stream.h"
#include "app/optimiser/colour_tables.h"
#include "app/optimiser/frame_merging.h"
#include "app/optimiser/frame_optimiser.h"
#include "app/optimiser/progress.h"
#include "app/optimiser/size_text.h"
#include "framework/core/file_replace.h"
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

enum class Outcome { Reduced, Equal, Larger };

// Red, green and blue of each colour, padded with black to 2^bits entries.
std::vector<std::uint8_t> TableBytes(const GifDocument& document, const ColourIds& table,
                                     int bits) {
    std::vector<std::uint8_t> bytes(std::size_t(3) << bits, 0);
    for (std::size_t i = 0; i < std::min(table.size(), std::size_t(1) << bits); ++i) {
        const Rgb& colour = document.colours[table[i]];
        bytes[3 * i] = colour.red;
        bytes[3 * i + 1] = colour.green;
        bytes[3 * i + 2] = colour.blue;
    }
    return bytes;
}

void WriteStreamHead(const GifDocument& document, const ColourIds& global) {
    const std::uint8_t background = WrittenBackgroundIndex(document, global);
    int needed = std::max(2, background + 1);
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        if (!frame->localTable) {
            needed = std::max(needed, ColoursNeeded(*frame));
        }
    }
    const int bits = BitsForColours(needed);
    WriteScreenHeader(document.screenWidth, document.screenHeight, background, bits,
                      TableBytes(document, global, bits).data());
    if (document.loops) {
        WriteLoopExtension(document.loopCount);
    }
    // An empty start comment still goes out before a first frame's comment,
    // so that the frame's comment is not read back as the start comment.
    const bool firstHasComment = !document.frames.empty() && !document.frames[0]->comment.empty();
    if (!document.startComment.empty() || firstHasComment) {
        WriteCommentExtension(document.startComment.c_str());
    }
}

// A frame read without a graphic control extension goes without one while
// it needs nothing one would say.
bool NeedsControl(const GifFrame& frame, std::uint32_t delay) {
    return frame.hasControl || frame.transparent || frame.userInput || delay != 0 ||
           frame.disposal != kDisposalKeep;
}

void WriteFrame(const GifDocument& document, const StreamFrame& written) {
    const GifFrame& frame = *written.frame;
    if (!frame.comment.empty()) {
        WriteCommentExtension(frame.comment.c_str());
    }
    if (NeedsControl(frame, written.delay)) {
        WriteGraphicControl(frame.transparent, frame.disposal, frame.userInput,
                            static_cast<std::uint16_t>(written.delay), frame.transparentIndex);
    }
    const int bits = BitsForColours(ColoursNeeded(frame));
    const std::vector<std::uint8_t> localTable =
        frame.localTable ? TableBytes(document, frame.table, bits) : std::vector<std::uint8_t>{};
    WriteImageDescriptor(static_cast<std::uint16_t>(frame.rect.left),
                         static_cast<std::uint16_t>(frame.rect.top),
                         static_cast<std::uint16_t>(RectWidth(frame.rect)),
                         static_cast<std::uint16_t>(RectHeight(frame.rect)), frame.interlaced, bits,
                         frame.localTable ? localTable.data() : nullptr);
    WriteOutput(std::uint32_t(frame.encoded.size()), frame.encoded.data());
}

}  // namespace

void WriteGifStream(const GifDocument& document, const ColourIds& global,
                    bool mergeUnchangedFrames) {
    ResetOutput();
    WriteStreamHead(document, global);
    StepProgress(1);
    const std::vector<StreamFrame> frames = FramesToWrite(document, mergeUnchangedFrames);
    for (const StreamFrame& frame : frames) {
        WriteFrame(document, frame);
        StepProgress(1);
    }
    StepProgress(std::uint32_t(document.frames.size() - frames.size()));
    if (!document.endComment.empty()) {
        WriteCommentExtension(document.endComment.c_str());
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
    // Merged colours, pixels other decoders show otherwise or a file read
    // only in part change what is shown.
    const bool changed =
        document.coloursAltered || document.pixelsBeyondTable || document.readIncomplete;
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
    const ColourIds global = OptimiseFrames(document, options);
    SetProgressText(JFormatTemp(IJString(kTextSaving), report.name));
    WriteGifStream(document, global, options.mergeUnchangedFrames);

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
    if (CompressDocument(document, document.fileSpec.get(), saveMode, options) && refresh) {
        refresh(document);
    }
}

bool SaveStreamToFile(GifDocument& document, const FileSpec* spec) {
    JFileProblem problem = JFileProblem::None;
    JReplaceResult result = JFileReplace(spec, WriteOutputStream, nullptr, &problem);
    if (result == JReplaceResult::Replaced) {
        document.fileSize = OutputSize();
        return true;
    }
    if (result == JReplaceResult::Refused) {
        TellFileProblem(problem, FileAction::Save, DisplayNameTemp(spec));
        return false;
    }
    std::uint16_t text = result == JReplaceResult::CreateFailed ? kTextNotCreated
                         : result == JReplaceResult::OpenFailed ? kTextNotOpened
                                                                : kTextNotWritten;
    JBeep();
    JTellSimply(JFormatTemp(IJString(text), DisplayNameTemp(spec)), IJString(text + 1));
    return false;
}
