#include "app/codec/gif_reader.h"

#include "app/codec/gif_input.h"
#include "app/codec/image_encode.h"
#include "app/optimiser/colour_tables.h"
#include "app/optimiser/progress.h"
#include "framework/core/files.h"
#include "framework/core/format.h"
#include "framework/core/memory.h"
#include "framework/core/string_lists.h"
#include "framework/core/strings.h"
#include "framework/ui/alerts.h"

namespace {

// Application texts.
constexpr std::uint16_t kTextNotGif = 300;
constexpr std::uint16_t kTextCorrupt = 302;
constexpr std::uint16_t kTextOpening = 304;
constexpr std::uint16_t kTextMassaging = 305;
constexpr std::uint16_t kTextDataAfterTrailer = 306;
constexpr std::uint16_t kTextTerminatorMissing = 307;
constexpr std::uint16_t kTextPartlyDecoded = 308;
constexpr std::uint16_t kTextApplicationIgnored = 309;
constexpr std::uint16_t kTextExtraImageData = 310;
constexpr std::uint16_t kTextOk = 311;
constexpr std::uint16_t kTextSkipWarnings = 312;

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kApplicationLabel = 0xFF;

// Files claiming more than this are refused before anything is allocated
// for them: a few bytes can claim a 65535 x 65535 screen.
constexpr std::uint64_t kMaxScreenPixels = std::uint64_t{1} << 28;
constexpr int kMaxCoordinate = 32767;
// Damage this close to the end is taken for a missing trailer.
constexpr std::uint32_t kTrailerSlack = 8;

std::vector<char*> gWarnings;

void AddWarning(char* text) {
    gWarnings.push_back(text);
}

// The values a graphic control extension sets for the next image.
struct GraphicControl {
    std::uint8_t disposal = kDisposalKeep;
    bool userInput = false;
    bool transparent = false;
    std::uint16_t delay = 0;
    std::uint8_t transparentIndex = 0;
};

struct ReadState {
    GifDocument& document;
    std::vector<LoadingFrame>& frames;
    const char* displayName;
    GraphicControl control;
};

std::uint16_t Little16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint16_t TableSize(std::uint8_t packed) {
    return static_cast<std::uint16_t>(2u << (packed & 0x07));
}

bool ReadGraphicControl(ReadState& state) {
    std::uint8_t length = 0;
    const std::uint8_t* data = InputSubBlock(length);
    if (!data || length != 4) {
        return false;
    }
    GraphicControl control;
    control.disposal = (data[0] >> 2) & 0x07;
    control.userInput = (data[0] & 0x02) != 0;
    control.transparent = (data[0] & 0x01) != 0;
    control.delay = Little16(data + 1);
    control.transparentIndex = data[3];
    if (!InputSubBlock(length) || length != 0) {
        return false;
    }
    state.control = control;
    return true;
}

// Comments before the first image open the document, the rest wait in the
// end comment until an image takes them.
void PlaceComment(ReadState& state, char* text) {
    GifDocument& document = state.document;
    if (state.frames.empty() && !document.startComment) {
        document.startComment = text;
    } else if (document.endComment) {
        char* joined = JFormat("%s%\n\n%s%", document.endComment, text);
        JStrFree(document.endComment);
        JStrFree(text);
        document.endComment = joined;
    } else {
        document.endComment = text;
    }
}

bool ReadComment(ReadState& state) {
    std::vector<char> text;
    for (;;) {
        std::uint8_t length = 0;
        const std::uint8_t* data = InputSubBlock(length);
        if (!data) {
            return false;
        }
        if (length == 0) {
            break;
        }
        for (std::uint8_t i = 0; i < length; ++i) {
            // Zero bytes would end the text early; carriage returns go.
            if (data[i] == 0) {
                text.push_back('#');
            } else if (data[i] != '\r') {
                text.push_back(static_cast<char>(data[i]));
            }
        }
    }
    PlaceComment(state, JStrDupN(text.data(), text.size()));
    return true;
}

bool ReadApplication(ReadState& state) {
    std::uint8_t length = 0;
    const std::uint8_t* data = InputSubBlock(length);
    if (!data || length != 11) {
        return false;
    }
    if (JBlockEqual(data, "NETSCAPE2.0", 11)) {
        const std::uint8_t* loop = InputSubBlock(length);
        if (!loop || length != 3) {
            return false;
        }
        std::uint16_t count = Little16(loop + 1);
        if (!InputSubBlock(length) || length != 0) {
            return false;
        }
        state.document.loops = true;
        state.document.loopCount = count;
        return true;
    }
    char* identifier = JStrDupN(reinterpret_cast<const char*>(data), 11);
    AddWarning(JFormat(IJString(kTextApplicationIgnored), identifier));
    JStrFree(identifier);
    return InputSkipSubBlocks();
}

bool ReadPlainText() {
    std::uint8_t length = 0;
    const std::uint8_t* data = InputSubBlock(length);
    return data && length == 12 && InputSkipSubBlocks();
}

bool ReadExtension(ReadState& state) {
    std::uint8_t label = 0;
    if (!InputByte(label)) {
        return false;
    }
    switch (label) {
        case kPlainTextLabel:
            return ReadPlainText();
        case kGraphicControlLabel:
            return ReadGraphicControl(state);
        case kCommentLabel:
            return ReadComment(state);
        case kApplicationLabel:
            return ReadApplication(state);
        default:
            return false;
    }
}

bool ResizeScreen(GifDocument& document, int width, int height) {
    if (std::uint64_t(width) * std::uint64_t(height) > kMaxScreenPixels) {
        return false;
    }
    document.screenWidth = static_cast<std::uint16_t>(width);
    document.screenHeight = static_cast<std::uint16_t>(height);
    ResizePixelMap(document.canvas, document.screenWidth, document.screenHeight);
    return true;
}

// Pixels beyond the image's colour table show nothing meaningful; they are
// given colour 0 so that no later table lookup reads past a table.
void BringPixelsIntoRange(PixelMap& canvas, const FrameRect& rect, std::uint16_t colourCount,
                          const GraphicControl& control) {
    if (colourCount >= 256) {
        return;
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        std::uint8_t* row = canvas.pixels + std::size_t(y) * canvas.width;
        for (int x = rect.left; x < rect.right; ++x) {
            bool transparent = control.transparent && row[x] == control.transparentIndex;
            if (row[x] >= colourCount && !transparent) {
                row[x] = 0;
            }
        }
    }
}

enum class ImageRead { Read, Damaged, TooLarge };

ImageRead ReadImage(ReadState& state) {
    GifDocument& document = state.document;
    const std::uint8_t* head = InputBytes(9);
    if (!head) {
        return ImageRead::Damaged;
    }
    const int left = Little16(head);
    const int top = Little16(head + 2);
    const int right = left + Little16(head + 4);
    const int bottom = top + Little16(head + 6);
    const std::uint8_t packed = head[8];
    if (right > kMaxCoordinate || bottom > kMaxCoordinate) {
        return ImageRead::TooLarge;
    }
    if ((right > document.screenWidth || bottom > document.screenHeight) &&
        !ResizeScreen(document, std::max<int>(right, document.screenWidth),
                      std::max<int>(bottom, document.screenHeight))) {
        return ImageRead::TooLarge;
    }
    LoadingFrame loading{NewGifFrame(), 0, {}};
    GifFrame& frame = *loading.frame;
    frame.rect =
        FrameRect{std::int16_t(top), std::int16_t(left), std::int16_t(bottom), std::int16_t(right)};
    frame.interlaced = (packed & 0x40) != 0;
    frame.delay = state.control.delay;
    frame.disposal = state.control.disposal;
    frame.transparent = state.control.transparent;
    frame.userInput = state.control.userInput;
    frame.transparentIndex = state.control.transparentIndex;
    if (document.endComment) {
        JStrFree(frame.comment);
        frame.comment = document.endComment;
        document.endComment = nullptr;
    }
    if (packed & 0x80) {
        loading.colourCount = TableSize(packed);
        const std::uint8_t* table = InputBytes(std::uint16_t(3 * loading.colourCount));
        if (!table) {
            FreeFrame(loading.frame);
            return ImageRead::Damaged;
        }
        loading.localTable.assign(table, table + 3 * loading.colourCount);
    } else {
        loading.colourCount = document.colourCount ? document.colourCount : 256;
    }

    DecodeResult decoded =
        DecodeFrameImage(document.canvas, FrameImage{frame.rect, 0, nullptr}, frame.interlaced);
    if (decoded == DecodeResult::Failed) {
        FreeFrame(loading.frame);
        return ImageRead::Damaged;
    }
    if (decoded == DecodeResult::DecodedWithExtraData) {
        AddWarning(JStrDup(IJString(kTextExtraImageData)));
    }
    BringPixelsIntoRange(document.canvas, frame.rect, loading.colourCount, state.control);
    frame.histogram.assign(loading.colourCount, 0);
    CountColours(document.canvas, frame.rect, loading.colourCount, frame.histogram.data());
    if (frame.transparent && frame.transparentIndex < loading.colourCount) {
        frame.histogram[frame.transparentIndex] = 0;
    }
    EncodeFrameImage(document.canvas, frame, frame.interlaced, loading.colourCount);
    document.totalDuration += frame.delay;
    state.frames.push_back(std::move(loading));
    return ImageRead::Read;
}

bool ReadScreenDescriptor(GifDocument& document) {
    const std::uint8_t* descriptor = InputBytes(7);
    if (!descriptor || !ResizeScreen(document, Little16(descriptor), Little16(descriptor + 2))) {
        return false;
    }
    const std::uint8_t packed = descriptor[4];
    const bool globalTable = (packed & 0x80) != 0;
    document.backgroundIndex = globalTable ? descriptor[5] : 0;
    if (!globalTable) {
        // Images without any table of their own are shown in greys.
        for (int i = 0; i < 256; ++i) {
            std::uint8_t grey = static_cast<std::uint8_t>(i);
            document.colourTable[3 * i] = document.colourTable[3 * i + 1] =
                document.colourTable[3 * i + 2] = grey;
        }
        document.colourCount = 0;
        return true;
    }
    document.colourCount = TableSize(packed);
    const std::uint8_t* table = InputBytes(std::uint16_t(3 * document.colourCount));
    if (!table) {
        return false;
    }
    JBlockMove(document.colourTable, table, 3u * document.colourCount);
    return true;
}

void NoteDamage(ReadState& state, std::uint32_t position) {
    const std::uint32_t total = state.document.fileSize;
    if (total - position < kTrailerSlack) {
        AddWarning(JFormat(IJString(kTextTerminatorMissing), state.displayName));
        return;
    }
    state.document.readIncomplete = true;
    double percent = total ? position * 100.0 / total : 0.0;
    AddWarning(JFormat(IJString(kTextPartlyDecoded), state.displayName, percent, position));
}

// Walks the blocks; false only when the file cannot give a document at all.
bool ReadGifStream(ReadState& state) {
    if (!ReadScreenDescriptor(state.document)) {
        return false;
    }
    state.control = GraphicControl{};
    for (;;) {
        const std::uint32_t position = InputPosition();
        std::uint8_t introducer = 0;
        bool intact = InputByte(introducer);
        if (intact && introducer == kTrailer) {
            if (!InputAtEnd()) {
                AddWarning(JFormat(IJString(kTextDataAfterTrailer), state.displayName));
            }
            return true;
        }
        if (intact && introducer == kExtensionIntroducer) {
            intact = ReadExtension(state);
        } else if (intact && introducer == kImageSeparator) {
            ImageRead read = ReadImage(state);
            if (read == ImageRead::TooLarge && state.frames.empty()) {
                return false;
            }
            intact = read == ImageRead::Read;
            state.control = GraphicControl{};
        } else {
            intact = false;
        }
        if (!intact) {
            NoteDamage(state, position);
            return true;
        }
    }
}

bool HasLocalTable(const std::vector<LoadingFrame>& frames) {
    for (const LoadingFrame& loading : frames) {
        if (!loading.localTable.empty()) {
            return true;
        }
    }
    return false;
}

void FinishLoading(GifDocument& document, std::vector<LoadingFrame>& frames, std::uint32_t unit,
                   TransparencyBand band) {
    std::uint8_t background[3];
    JBlockMove(background, document.colourTable + 3 * document.backgroundIndex, 3);
    document.frameCount = static_cast<std::int32_t>(frames.size());
    const std::uint32_t perFrame = frames.empty() ? unit : unit / std::uint32_t(frames.size());
    if (!frames.empty() && document.colourCount == 0) {
        document.colourCount = 256;  // the grey table stands in for the missing one
    }
    if (HasLocalTable(frames)) {
        document.coloursAltered = true;
        MergeLocalTables(document, frames, band);
    } else {
        StepProgress(unit);
    }
    for (LoadingFrame& loading : frames) {
        document.frames.push_back(loading.frame);
    }
    frames.clear();
    if (!document.frames.empty()) {
        CompactGlobalTable(document, perFrame, band);
    } else {
        document.colourCount = 0;
    }
    JBlockMove(document.colourTable + 3 * 255, background, 3);
    document.backgroundIndex = 255;
    BuildKeyframes(document, [perFrame] { StepProgress(perFrame); });
}

std::uint32_t Saturated(std::uint64_t value) {
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

}  // namespace

GifSignature ReadGifSignature(JFile* file) {
    std::uint32_t size = 0;
    char signature[6];
    std::uint32_t count = sizeof signature;
    if (!JFileSize(file, &size) || !JFileRead(file, signature, &count) || count != 6) {
        return GifSignature::NotGif;
    }
    if (JBlockEqual(signature, "GIF87a", 6)) {
        return GifSignature::Gif87a;
    }
    return JBlockEqual(signature, "GIF89a", 6) ? GifSignature::Gif89a : GifSignature::NotGif;
}

char* DisplayNameTemp(const FileSpec* spec) {
    return JFormatTemp("%s%.%s%", spec->name, JFileSpecExtension(spec));
}

GifDocument* OpenGifDocument(const FileSpec* spec, JFile* file, TransparencyBand band) {
    const char* name = DisplayNameTemp(spec);
    if (ReadGifSignature(file) == GifSignature::NotGif) {
        JTellSimply(JFormatTemp(IJString(kTextNotGif), name), IJString(kTextNotGif + 1));
        JBeep();
        return nullptr;
    }
    std::uint32_t size = 0;
    std::uint32_t afterSignature = 0;
    JFileSize(file, &size);
    JFileTell(file, &afterSignature);
    const std::uint32_t remaining = size - afterSignature;
    BeginProgress(JFormatTemp(IJString(kTextOpening), name), Saturated(4ull * remaining));
    BeginFileInput(file, size, remaining, [](std::uint32_t bytes) { StepProgress(bytes); });

    GifDocument* document = NewGifDocument();
    document->fileSize = size;
    std::vector<LoadingFrame> frames;
    ReadState state{*document, frames, name, {}};
    bool read = ReadGifStream(state);
    if (!document->startComment) {
        document->startComment = JStrDup("");
    }
    if (!document->endComment) {
        document->endComment = JStrDup("");
    }
    if (read) {
        document->fileSpec = JFileSpecCopy(spec);
        SetProgressText(IJString(kTextMassaging));
        FinishLoading(*document, frames, remaining, band);
    }
    EndFileInput();
    EndProgress();
    if (!read) {
        for (LoadingFrame& loading : frames) {
            FreeFrame(loading.frame);
        }
        FreeDocument(document);
        DiscardLoadWarnings();
        JBeep();
        JTellSimply(JFormatTemp(IJString(kTextCorrupt), name), IJString(kTextCorrupt + 1));
        return nullptr;
    }
    ShowLoadWarnings();
    return document;
}

const std::vector<char*>& LoadWarnings() {
    return gWarnings;
}

void DiscardLoadWarnings() {
    for (char* text : gWarnings) {
        JStrFree(text);
    }
    gWarnings.clear();
}

void ShowLoadWarnings() {
    std::vector<char*> warnings;
    warnings.swap(gWarnings);
    bool skipping = false;
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        if (!skipping) {
            const bool last = i + 1 == warnings.size();
            JBeep();
            skipping = !JAsk(AlertKind::Caution, warnings[i], IJString(kTextOk),
                             last ? nullptr : IJString(kTextSkipWarnings));
        }
        JStrFree(warnings[i]);
    }
}
