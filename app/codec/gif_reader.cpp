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

constexpr std::uint16_t kTextUnknownExtension = 313;

// Files claiming more than this are refused before anything is allocated
// for them: a few bytes can claim a 65535 x 65535 screen.
constexpr std::uint64_t kMaxScreenPixels = std::uint64_t{1} << 28;
// Damage this close to the end is taken for a missing trailer.
constexpr std::uint32_t kTrailerSlack = 8;
constexpr int kGreyTableSize = 256;

std::vector<std::string> gWarnings;

void AddWarning(std::string text) {
    gWarnings.push_back(std::move(text));
}

// The values a graphic control extension sets for the next image.
struct GraphicControl {
    std::uint8_t disposal = kDisposalKeep;
    bool userInput = false;
    bool transparent = false;
    std::uint16_t delay = 0;
    std::uint8_t transparentIndex = 0;
    bool present = false;
};

struct ReadState {
    ReadState(GifDocument& document, const char* displayName)
        : document(document), displayName(displayName) {}

    GifDocument& document;
    const char* displayName;
    GraphicControl control;
    ColourIds globalTable;  // the global colour table's colours
    bool hasGlobalTable = false;
    std::string waitingComment;  // comments read since the last image
    bool commentWaiting = false;
    bool startCommentSet = false;
    FrameRect drawnBounds{};  // the rectangles of the frames read so far
    // One frame's indices; the storage serves frame after frame, as a large
    // allocation costs as much again in fresh pages as in its use.
    std::vector<std::uint8_t> indices;
};

std::uint16_t Little16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint16_t TableSize(std::uint8_t packed) {
    return static_cast<std::uint16_t>(2u << (packed & 0x07));
}

ColourIds ReadTableColours(GifDocument& document, const std::uint8_t* rgb, int count) {
    ColourIds ids(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        ids[std::size_t(i)] = ColourId(document, Rgb{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]});
    }
    return ids;
}

// Images without any table are shown in greys.
ColourIds GreyTable(GifDocument& document) {
    ColourIds ids(kGreyTableSize);
    for (int i = 0; i < kGreyTableSize; ++i) {
        const std::uint8_t grey = std::uint8_t(i);
        ids[std::size_t(i)] = ColourId(document, Rgb{grey, grey, grey});
    }
    return ids;
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
    control.present = true;
    if (!InputSubBlock(length) || length != 0) {
        return false;
    }
    state.control = control;
    return true;
}

// The first comment before the first image opens the document; the rest
// wait, joined, until an image takes them or the file ends.
void PlaceComment(ReadState& state, std::string text) {
    if (state.document.frames.empty() && !state.startCommentSet) {
        state.document.startComment = std::move(text);
        state.startCommentSet = true;
    } else if (state.commentWaiting) {
        state.waitingComment += "\n\n" + text;
    } else {
        state.waitingComment = std::move(text);
        state.commentWaiting = true;
    }
}

// Calls visit(data, length) for each data sub-block up to the terminator;
// false when a read fails.
template <typename Visit>
bool ReadSubBlocks(Visit visit) {
    for (;;) {
        std::uint8_t length = 0;
        const std::uint8_t* data = InputSubBlock(length);
        if (!data) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        visit(data, length);
    }
}

bool ReadComment(ReadState& state) {
    std::string text;
    const bool read = ReadSubBlocks([&text](const std::uint8_t* data, std::uint8_t length) {
        for (std::uint8_t i = 0; i < length; ++i) {
            // Zero bytes would end the text early; carriage returns go.
            if (data[i] == 0) {
                text.push_back('#');
            } else if (data[i] != '\r') {
                text.push_back(static_cast<char>(data[i]));
            }
        }
    });
    if (read) {
        PlaceComment(state, std::move(text));
    }
    return read;
}

constexpr std::uint8_t kLoopSubBlockId = 1;

// The looping extension carries numbered sub-blocks: 1 holds the loop
// count; others (2, buffering) are read past, as common decoders do.
bool ReadLoopExtension(ReadState& state) {
    return ReadSubBlocks([&state](const std::uint8_t* data, std::uint8_t length) {
        if (length >= 3 && (data[0] & 0x07) == kLoopSubBlockId) {
            state.document.loops = true;
            state.document.loopCount = Little16(data + 1);
        }
    });
}

bool ReadApplication(ReadState& state) {
    std::uint8_t length = 0;
    const std::uint8_t* data = InputSubBlock(length);
    if (!data) {
        return false;
    }
    if (length == 11 && JBlockEqual(data, "NETSCAPE2.0", 11)) {
        return ReadLoopExtension(state);
    }
    const char* identifier = reinterpret_cast<const char*>(data);
    AddWarning(JFormatTemp(IJString(kTextApplicationIgnored),
                           std::string(identifier, std::min<std::uint8_t>(length, 11)).c_str()));
    return InputSkipSubBlocks();
}

// Plain text is not shown; the graphic control state is kept for the next
// image.
bool ReadPlainText() {
    return InputSkipSubBlocks();
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
            AddWarning(JFormatTemp(IJString(kTextUnknownExtension), int(label)));
            return InputSkipSubBlocks();
    }
}

// The canvas covers every frame, so the frames together may cover no more
// than a screen may. What the screen claims costs nothing until frames
// draw on it.
bool FitsTheCanvas(ReadState& state, const FrameRect& rect) {
    const FrameRect bounds = RectUnion(state.drawnBounds, rect);
    if (RectArea(bounds) > kMaxScreenPixels) {
        return false;
    }
    state.drawnBounds = bounds;
    return true;
}

// Pixels beyond the image's colour table show nothing meaningful; they are
// given colour 0 so that no table lookup reads past a table. Other decoders
// show them in colours of their own, so the file's look is no longer known:
// true when any pixel was changed.
bool BringIndicesIntoRange(std::vector<std::uint8_t>& indices, std::size_t tableSize,
                           const GraphicControl& control) {
    bool changed = false;
    if (tableSize >= 256) {
        return changed;
    }
    for (std::uint8_t& index : indices) {
        const bool transparent = control.transparent && index == control.transparentIndex;
        if (index >= tableSize && !transparent) {
            index = 0;
            changed = true;
        }
    }
    return changed;
}

std::vector<std::uint32_t> CountIndices(const std::vector<std::uint8_t>& indices,
                                        std::size_t tableSize, const GraphicControl& control) {
    std::vector<std::uint32_t> counts(256, 0);
    for (std::uint8_t index : indices) {
        ++counts[index];
    }
    if (control.transparent) {
        counts[control.transparentIndex] = 0;
    }
    counts.resize(tableSize);
    return counts;
}

// Image data that decoded cleanly is kept as read rather than encoded
// again, unless its minimum code size is one many decoders refuse.
bool KeepsItsImageData(const std::vector<std::uint8_t>& read) {
    constexpr std::uint8_t kSmallestCodeSize = 2;
    constexpr std::uint8_t kLargestCodeSize = 8;
    return !read.empty() && read.front() >= kSmallestCodeSize && read.front() <= kLargestCodeSize;
}

enum class ImageRead { Read, Damaged, TooLarge };

ImageRead ReadImage(ReadState& state) {
    GifDocument& document = state.document;
    const std::uint8_t* head = InputBytes(9);
    if (!head) {
        return ImageRead::Damaged;
    }
    const std::int32_t left = Little16(head);
    const std::int32_t top = Little16(head + 2);
    const std::int32_t right = left + Little16(head + 4);
    const std::int32_t bottom = top + Little16(head + 6);
    const std::uint8_t packed = head[8];
    if (!FitsTheCanvas(state, FrameRect{top, left, bottom, right})) {
        return ImageRead::TooLarge;
    }
    auto frame = std::make_unique<GifFrame>();
    frame->rect = FrameRect{top, left, bottom, right};
    frame->interlaced = (packed & 0x40) != 0;
    frame->delay = state.control.delay;
    frame->disposal = state.control.disposal;
    frame->transparent = state.control.transparent;
    frame->userInput = state.control.userInput;
    frame->transparentIndex = state.control.transparentIndex;
    frame->hasControl = state.control.present;
    if (state.commentWaiting) {
        frame->comment = std::move(state.waitingComment);
        state.waitingComment.clear();
        state.commentWaiting = false;
    }
    if (packed & 0x80) {
        const int count = TableSize(packed);
        const std::uint8_t* table = InputBytes(std::uint16_t(3 * count));
        if (!table) {
            return ImageRead::Damaged;
        }
        frame->table = ReadTableColours(document, table, count);
        frame->localTable = true;
    } else {
        if (!state.hasGlobalTable) {
            state.globalTable = GreyTable(document);
            state.hasGlobalTable = true;
        }
        frame->table = state.globalTable;
    }

    std::vector<std::uint8_t>& indices = state.indices;
    indices.assign(RectArea(frame->rect), 0);
    std::vector<std::uint8_t> read;
    CaptureInput(&read);
    DecodeResult decoded = DecodeIndices(*frame, frame->interlaced, indices.data());
    CaptureInput(nullptr);
    if (decoded == DecodeResult::Failed) {
        return ImageRead::Damaged;
    }
    bool keepAsRead = decoded == DecodeResult::Decoded && KeepsItsImageData(read);
    if (decoded == DecodeResult::DecodedWithExtraData) {
        AddWarning(IJString(kTextExtraImageData));
    }
    if (BringIndicesIntoRange(indices, frame->table.size(), state.control)) {
        document.pixelsBeyondTable = true;
        keepAsRead = false;
    }
    frame->histogram = CountIndices(indices, frame->table.size(), state.control);
    if (keepAsRead) {
        frame->encoded = std::move(read);
    } else {
        EncodeIndices(*frame, frame->interlaced, int(frame->table.size()), indices.data());
    }
    document.totalDuration += frame->delay;
    document.frames.push_back(std::move(frame));
    return ImageRead::Read;
}

bool ReadScreenDescriptor(ReadState& state) {
    GifDocument& document = state.document;
    const std::uint8_t* descriptor = InputBytes(7);
    if (!descriptor) {
        return false;
    }
    document.screenWidth = Little16(descriptor);
    document.screenHeight = Little16(descriptor + 2);
    if (std::uint64_t(document.screenWidth) * document.screenHeight > kMaxScreenPixels) {
        return false;
    }
    const std::uint8_t packed = descriptor[4];
    if (!(packed & 0x80)) {
        return true;
    }
    const int count = TableSize(packed);
    const std::uint8_t* table = InputBytes(std::uint16_t(3 * count));
    if (!table) {
        return false;
    }
    state.globalTable = ReadTableColours(document, table, count);
    state.hasGlobalTable = true;
    const std::uint8_t backgroundIndex = descriptor[5];
    document.backgroundIndex = backgroundIndex;
    if (backgroundIndex < count) {
        document.backgroundColour = document.colours[state.globalTable[backgroundIndex]];
    }
    return true;
}

void NoteDamage(ReadState& state, std::uint32_t position) {
    const std::uint32_t total = state.document.fileSize;
    if (total - position < kTrailerSlack) {
        AddWarning(JFormatTemp(IJString(kTextTerminatorMissing), state.displayName));
        return;
    }
    state.document.readIncomplete = true;
    double percent = total ? position * 100.0 / total : 0.0;
    AddWarning(JFormatTemp(IJString(kTextPartlyDecoded), state.displayName, percent, position));
}

// Walks the blocks; false only when the file cannot give a document at all.
bool ReadGifStream(ReadState& state) {
    if (!ReadScreenDescriptor(state)) {
        return false;
    }
    state.control = GraphicControl{};
    for (;;) {
        const std::uint32_t position = InputPosition();
        std::uint8_t introducer = 0;
        bool intact = InputByte(introducer);
        if (intact && introducer == kTrailer) {
            if (!InputAtEnd()) {
                AddWarning(JFormatTemp(IJString(kTextDataAfterTrailer), state.displayName));
            }
            return true;
        }
        if (intact && introducer == kExtensionIntroducer) {
            intact = ReadExtension(state);
        } else if (intact && introducer == kImageSeparator) {
            ImageRead read = ReadImage(state);
            if (read == ImageRead::TooLarge && state.document.frames.empty()) {
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

void FinishLoading(GifDocument& document, std::uint32_t unit, KeyframeUse keyframes) {
    document.frameCount = static_cast<std::int32_t>(document.frames.size());
    FitCanvasToFrames(document);
    const std::uint32_t perFrame =
        document.frames.empty() ? unit : unit / std::uint32_t(document.frames.size());
    // Colours are kept as they are: nothing is merged, so the two stages
    // that used to remap them have nothing to do.
    StepProgress(2 * unit);
    BuildKeyframes(
        document, [perFrame] { StepProgress(perFrame); }, keyframes);
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
    char* name = JFileSpecFileNameDup(spec);
    char* temporary = JFormatTemp("%s%", name);
    JStrFree(name);
    return temporary;
}

std::unique_ptr<GifDocument> OpenGifDocument(const FileSpec* spec, JFile* file,
                                             KeyframeUse keyframes) {
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

    std::unique_ptr<GifDocument> document = NewGifDocument();
    document->fileSize = size;
    ReadState state(*document, name);
    bool read = ReadGifStream(state);
    if (state.commentWaiting) {
        document->endComment = std::move(state.waitingComment);
    }
    state.indices = std::vector<std::uint8_t>();
    if (read) {
        document->fileSpec.reset(JFileSpecCopy(spec));
        SetProgressText(IJString(kTextMassaging));
        FinishLoading(*document, remaining, keyframes);
    }
    EndFileInput();
    EndProgress();
    if (!read) {
        DiscardLoadWarnings();
        JBeep();
        JTellSimply(JFormatTemp(IJString(kTextCorrupt), name), IJString(kTextCorrupt + 1));
        return nullptr;
    }
    ShowLoadWarnings();
    return document;
}

const std::vector<std::string>& LoadWarnings() {
    return gWarnings;
}

void DiscardLoadWarnings() {
    gWarnings.clear();
}

void ShowLoadWarnings() {
    std::vector<std::string> warnings;
    warnings.swap(gWarnings);
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        const bool last = i + 1 == warnings.size();
        JBeep();
        if (!JAsk(AlertKind::Caution, warnings[i].c_str(), IJString(kTextOk),
                  last ? nullptr : IJString(kTextSkipWarnings))) {
            break;
        }
    }
}
