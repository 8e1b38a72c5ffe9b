// Small animation documents made in code for the shell's tests: each frame a
// rectangle of a few colours laid out in diagonal stripes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/image_encode.h"

struct MadeFrame {
    FrameRect rect;
    std::vector<Rgb> colours;  // pixel (x, y) shows colours[(x + y) % count]
    std::uint32_t delay = 10;  // hundredths of a second
    std::uint8_t disposal = kDisposalKeep;
};

// The colour frame `made` puts at screen point (x, y).
inline Rgb MadeColourAt(const MadeFrame& made, int x, int y) {
    return made.colours[std::size_t(x + y) % made.colours.size()];
}

inline std::unique_ptr<GifDocument> MakeDocument(int width, int height,
                                                 const std::vector<MadeFrame>& frames,
                                                 Rgb background = Rgb{}) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    document->screenWidth = std::uint16_t(width);
    document->screenHeight = std::uint16_t(height);
    document->backgroundColour = background;
    for (const MadeFrame& made : frames) {
        auto frame = std::make_unique<GifFrame>();
        frame->rect = made.rect;
        frame->delay = made.delay;
        frame->disposal = made.disposal;
        for (const Rgb& colour : made.colours) {
            frame->table.push_back(ColourId(*document, colour));
        }
        std::vector<std::uint8_t> indices;
        frame->histogram.assign(made.colours.size(), 0);
        for (int y = made.rect.top; y < made.rect.bottom; ++y) {
            for (int x = made.rect.left; x < made.rect.right; ++x) {
                const std::size_t index = std::size_t(x + y) % made.colours.size();
                indices.push_back(std::uint8_t(index));
                ++frame->histogram[index];
            }
        }
        EncodeIndices(*frame, false, int(std::max<std::size_t>(2, made.colours.size())),
                      indices.data());
        document->totalDuration += made.delay;
        document->frames.push_back(std::move(frame));
    }
    document->frameCount = std::int32_t(document->frames.size());
    FitCanvasToFrames(*document);
    BuildKeyframes(*document);
    return document;
}

// A whole-screen frame of one colour per frame, with the given delays.
inline std::unique_ptr<GifDocument> MakePlainAnimation(const std::vector<std::uint32_t>& delays,
                                                       int width = 16, int height = 12) {
    std::vector<MadeFrame> frames;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        const auto level = std::uint8_t(i * 7);
        frames.push_back(MadeFrame{FrameRect{0, 0, height, width},
                                   {Rgb{level, std::uint8_t(255 - level), 255}},
                                   delays[i]});
    }
    return MakeDocument(width, height, frames);
}
