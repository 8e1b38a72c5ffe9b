// The animation document: one opened GIF held as frames of encoded image
// data, one canvas on which frames are decoded, and a keyframe (an encoded
// snapshot of the whole canvas) on every eighth frame, or further apart
// where eight frames draw less than the canvas holds.
//
// Colours are never merged: the document keeps a list of every distinct
// colour of the file's tables, each frame keeps the table its image indexes
// (as positions in that list), and the canvas holds positions in the list,
// kBackgroundPixel where nothing is drawn. The canvas covers the frames
// (the smallest rectangle holding all of them), not the logical screen:
// what lies outside every frame is never drawn, and a tiny animation may
// claim a huge screen. Frames may reach past the logical screen.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/codec/frame_image.h"
#include "app/codec/image_decode.h"
#include "app/codec/pixel_map.h"
#include "framework/core/files.h"

constexpr int kKeyframeInterval = 8;

enum DisposalMethod : std::uint8_t {
    kDisposalNone = 0,
    kDisposalKeep = 1,
    kDisposalRestoreBackground = 2,
    kDisposalRestorePrevious = 3,
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    std::uint32_t Packed() const {
        return std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | blue;
    }
    bool operator==(const Rgb&) const = default;
};

// The pixel of each index of an image's colour table.
using ColourIds = std::vector<Pixel>;

// The whole canvas right after its frame was drawn. With at most 256
// different pixels the image indexes `palette`; otherwise it holds the low
// bytes of the pixels and `highBytes` their high bytes.
struct Keyframe : FrameImage {
    ColourIds palette;
    FrameImage highBytes;
};

struct GifFrame : FrameImage {
    std::unique_ptr<Keyframe> keyframe;     // every eighth frame
    std::uint32_t delay = 0;                // hundredths of a second
    std::uint8_t disposal = kDisposalKeep;  // as read (0 to 7); 4 to 7 act like 1
    bool interlaced = false;                // the encoded image is in interlaced row order
    bool transparent = false;               // transparentIndex applies
    bool userInput = false;
    std::uint8_t transparentIndex = 0;
    // The file gave the frame a graphic control extension. Without one some
    // libraries carry the previous frame's delay over, so a frame that needs
    // none is written without one again.
    bool hasControl = false;
    // Set by the optimiser: the frame shows what the screen showed before it
    // (a single transparent pixel), so a stream may leave it out.
    bool changesNothing = false;
    std::string comment;  // empty = none
    // The colour of each index the encoded image uses; written as the
    // frame's own table when localTable is set, else it is the document's
    // global table as last written.
    ColourIds table;
    bool localTable = false;
    // Pixels per table index; 0 for the transparent index.
    std::vector<std::uint32_t> histogram;
};

struct GifDocument {
    std::unique_ptr<FileSpec, decltype(&JFileSpecFree)> fileSpec{nullptr, &JFileSpecFree};
    std::uint32_t fileSize = 0;
    std::vector<std::unique_ptr<GifFrame>> frames;  // display order
    std::int32_t frameCount = 0;
    std::int32_t currentFrame = -1;   // the frame the canvas shows, -1 when none is known
    std::uint32_t totalDuration = 0;  // sum of the delays
    std::uint16_t screenWidth = 0;    // the logical screen, as the file gives it
    std::uint16_t screenHeight = 0;
    // More than kMaxColours colours: the nearest listed colour stood in for
    // the rest.
    bool coloursAltered = false;
    // Some pixels lay beyond their table; they show colour 0 here, while other
    // decoders each show a colour of their own.
    bool pixelsBeyondTable = false;
    bool readIncomplete = false;  // reading stopped at damage: part of the file was not read
    std::uint16_t loopCount = 0;  // 0 loops forever
    bool loops = false;           // the file carries the looping extension
    std::vector<Rgb> colours;     // every distinct colour of the file's tables
    std::unordered_map<std::uint32_t, Pixel> colourIds;  // packed colour -> position in colours
    Rgb backgroundColour;                                // shown where nothing is drawn
    // The background index as last read or written (0 without a global
    // table). Some libraries clear a frame disposed to background without
    // transparency to this entry of the frame's own table.
    std::uint8_t backgroundIndex = 0;
    // Some screen shows background where nothing is drawn: the written
    // background index must then name the background colour.
    bool leavesUncovered = false;
    // Per colour id: how many frames draw it where the screen changes (high
    // half) and how many pixels they so draw (low half); set with the
    // keyframes. The colours an optimised stream uses most weigh most.
    std::vector<std::uint64_t> changeWeights;
    std::string startComment;  // empty = none
    std::string endComment;
    PixelMap canvas;
    // What the current frame covered before it was drawn, kept while it has
    // disposal 3 so that the next frame can be shown without a rebuild.
    PixelMap underCurrent;
    std::int32_t underCurrentFrame = -1;  // the frame underCurrent belongs to, -1 when none
};

// An empty document: no frames, a 1 x 1 canvas, no colours, no comments,
// current frame -1.
std::unique_ptr<GifDocument> NewGifDocument();

// The position of a colour in the document's list, added when new. Past
// kMaxColours the nearest listed colour stands in and the colours count as
// altered.
Pixel ColourId(GifDocument& document, const Rgb& colour);

GifFrame* FrameAt(const GifDocument& document, std::int32_t index);  // null past the end
GifFrame* CurrentFrame(const GifDocument& document);

// The logical screen and the whole canvas as rectangles.
FrameRect ScreenRect(const GifDocument& document);
FrameRect CanvasRect(const GifDocument& document);
// Whether the rectangle covers everything any frame may draw.
bool IsFullScreen(const GifDocument& document, const FrameRect& rect);
// Lays the canvas out anew over the frames' rectangles (one pixel at the
// screen's corner when none has any), all background.
void FitCanvasToFrames(GifDocument& document);
// The logical screen as shown, from its corner and reaching as far as the
// frames do: the canvas where it lies, background elsewhere.
FrameRect WholeScreenRect(const GifDocument& document);
PixelMap WholeScreen(const GifDocument& document);
// Whether the screen, drawn by the frames so far, shows background
// anywhere: outside the canvas, or on it.
bool ShowsBackground(const GifDocument& document);

// The 256-entry pixel table of a frame: its table, then index 0's colour for
// indices beyond it.
std::array<Pixel, 256> PixelTable(const GifFrame& frame);
// Calls visit(colour, pixels) for each entry of the frame's table that some
// pixel of the frame shows, in table order.
template <typename Visit>
void ForEachDrawnColour(const GifFrame& frame, Visit visit) {
    const std::size_t used = std::min(frame.table.size(), frame.histogram.size());
    for (std::size_t i = 0; i < used; ++i) {
        if (frame.histogram[i] != 0) {
            visit(frame.table[i], frame.histogram[i]);
        }
    }
}

// Decodes the frame at its rectangle, leaving pixels of its transparent index
// untouched when its transparent flag is set.
DecodeResult DrawFrame(PixelMap& map, const GifFrame& frame);
// The same, counting per colour id the pixels drawn over a different pixel
// into `changes` (one counter per colour of the document).
DecodeResult DrawFrameCountingChanges(PixelMap& map, const GifFrame& frame, std::uint32_t* changes);

// Called once per frame while keyframes are built (to advance a progress).
using FrameDone = std::function<void()>;

// Keyframes only serve showing frames out of order; a document that is only
// compressed goes without them and loads in about half the time.
enum class KeyframeUse { Build, Skip };

// Draws every frame in order from a blank canvas, keeps the canvas of every
// eighth frame as its keyframe (unless told to skip them) and notes whether
// any screen leaves some of the canvas uncovered.
void BuildKeyframes(GifDocument& document, const FrameDone& frameDone = {},
                    KeyframeUse use = KeyframeUse::Build);
// Makes the canvas show the screen as it stands while frame `target` is
// displayed; returns the rectangle that may have changed.
FrameRect ShowFrame(GifDocument& document, std::int32_t target);
// Rebuilds the canvas of the current frame from scratch.
void RefreshCanvas(GifDocument& document);
