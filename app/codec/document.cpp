#include "app/codec/document.h"

#include <cstring>

#include "framework/core/files.h"
#include "framework/core/memory.h"
#include "framework/core/strings.h"

namespace {

constexpr std::size_t kColourTableBytes = 3 * 256;

}  // namespace

GifDocument* NewGifDocument() {
    auto* document = new GifDocument{};
    document->currentFrame = -1;
    document->underCurrentFrame = -1;
    document->colourTable = static_cast<std::uint8_t*>(JAlloc(kColourTableBytes));
    std::memset(document->colourTable, 0, kColourTableBytes);
    InitPixelMap(document->canvas, 1, 1);
    document->canvas.pixels[0] = kBackgroundPixel;
    return document;
}

void FreeDocument(GifDocument* document) {
    if (!document) {
        return;
    }
    for (GifFrame* frame : document->frames) {
        FreeFrame(frame);
    }
    if (document->fileSpec) {
        JFileSpecFree(document->fileSpec);
    }
    FreePixels(document->canvas);
    FreePixels(document->underCurrent);
    JStrFree(document->startComment);
    JStrFree(document->endComment);
    JFree(document->colourTable);
    delete document;
}

GifFrame* NewGifFrame() {
    auto* frame = new GifFrame{};
    frame->disposal = kDisposalKeep;
    frame->comment = JStrDup("");
    return frame;
}

void FreeKeyframe(Keyframe* keyframe) {
    if (keyframe) {
        FreeEncodedImage(*keyframe);
        delete keyframe;
    }
}

void FreeFrame(GifFrame* frame) {
    if (!frame) {
        return;
    }
    FreeEncodedImage(*frame);
    FreeKeyframe(frame->keyframe);
    JStrFree(frame->comment);
    delete frame;
}

GifFrame* FrameAt(const GifDocument& document, std::int32_t index) {
    if (index < 0 || std::size_t(index) >= document.frames.size()) {
        return nullptr;
    }
    return document.frames[std::size_t(index)];
}

GifFrame* CurrentFrame(const GifDocument& document) {
    return FrameAt(document, document.currentFrame);
}

bool IsFullScreen(const GifDocument& document, const FrameRect& rect) {
    return rect.top == 0 && rect.left == 0 && rect.bottom == document.screenHeight &&
           rect.right == document.screenWidth;
}

DecodeResult DrawFrame(PixelMap& map, const GifFrame& frame) {
    return DecodeFrameImage(map, frame, frame.interlaced, frame.transparent,
                            frame.transparentIndex);
}

DecodeResult DecodeFrameImagePlain(GifDocument& document, const FrameImage& record,
                                   bool interlaced) {
    return DecodeFrameImage(document.canvas, record, interlaced);
}
