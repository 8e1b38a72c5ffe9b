// The animation document: one opened GIF held as frames of encoded image
// data, one canvas of the screen's size on which frames are decoded, and a
// keyframe (an encoded snapshot of the whole canvas) on every eighth frame.
// After loading there is one colour table of at most 255 colours; pixel
// value 255 on the canvas means background, nothing drawn.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/codec/frame_image.h"
#include "app/codec/image_decode.h"
#include "app/codec/pixel_map.h"

struct FileSpec;

constexpr int kKeyframeInterval = 8;

enum DisposalMethod : std::uint8_t {
    kDisposalNone = 0,
    kDisposalKeep = 1,
    kDisposalRestoreBackground = 2,
    kDisposalRestorePrevious = 3,
};

// The whole canvas right after its frame was drawn: rectangle 0, 0, screen
// height, screen width; minimum code size 8, not interlaced.
struct Keyframe : FrameImage {};

struct GifFrame : FrameImage {
    Keyframe* keyframe;     // every eighth frame, else null
    std::uint32_t delay;    // hundredths of a second
    std::uint8_t disposal;  // as read (0 to 7); 4 to 7 act like 1
    bool interlaced;        // the encoded image is in interlaced row order
    bool transparent;       // transparentIndex applies
    bool userInput;
    std::uint8_t transparentIndex;
    char* comment;                         // heap text; empty = none
    std::vector<std::uint32_t> histogram;  // pixels per colour index; 0 for the transparent one
};

struct GifDocument {
    FileSpec* fileSpec;
    std::uint32_t fileSize;
    std::vector<GifFrame*> frames;  // display order; owned
    std::int32_t frameCount;
    std::int32_t currentFrame;    // the frame the canvas shows, -1 when none is known
    std::uint32_t totalDuration;  // sum of the delays
    std::uint16_t screenWidth;
    std::uint16_t screenHeight;
    bool coloursAltered;
    bool readIncomplete;  // reading stopped at damage: part of the file was not read
    std::uint16_t colourCount;
    std::uint16_t loopCount;  // 0 loops forever
    bool loops;               // the file carries the looping extension
    std::uint8_t backgroundIndex;
    std::uint8_t* colourTable;  // 256 entries of red, green, blue
    char* startComment;
    char* endComment;
    PixelMap canvas;
    // What the current frame covered before it was drawn, kept while it has
    // disposal 3 so that the next frame can be shown without a rebuild.
    PixelMap underCurrent;
    std::int32_t underCurrentFrame;  // the frame underCurrent belongs to, -1 when none
};

// An empty document: no frames, a 1 x 1 canvas, a zeroed colour table, no
// comments, current frame -1.
GifDocument* NewGifDocument();
void FreeDocument(GifDocument* document);

// A new frame record with no image, disposal 1 and an empty comment.
GifFrame* NewGifFrame();
void FreeFrame(GifFrame* frame);
void FreeKeyframe(Keyframe* keyframe);

GifFrame* FrameAt(const GifDocument& document, std::int32_t index);  // null past the end
GifFrame* CurrentFrame(const GifDocument& document);

bool IsFullScreen(const GifDocument& document, const FrameRect& rect);

// Decodes the frame at its rectangle, leaving pixels of its transparent index
// untouched when its transparent flag is set.
DecodeResult DrawFrame(PixelMap& map, const GifFrame& frame);
// Decodes into the document's canvas without skipping any pixel.
DecodeResult DecodeFrameImagePlain(GifDocument& document, const FrameImage& record,
                                   bool interlaced);

// Called once per frame while keyframes are built (to advance a progress).
using FrameDone = std::function<void()>;

// Draws every frame in order from a blank canvas and keeps the canvas of
// every eighth frame as its keyframe.
void BuildKeyframes(GifDocument& document, const FrameDone& frameDone = {});
// Makes the canvas show the screen as it stands while frame `target` is
// displayed; returns the rectangle that may have changed.
FrameRect ShowFrame(GifDocument& document, std::int32_t target);
// Rebuilds the canvas of the current frame from scratch.
void RefreshCanvas(GifDocument& document);
