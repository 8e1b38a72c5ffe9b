// Leaving frames that change nothing out of a written stream: such a frame's
// delay goes to the frame before it, where every viewer shows the same
// screens for the same times.
#pragma once

#include <cstdint>
#include <vector>

#include "app/codec/document.h"

// A frame as it goes into the stream, with the delay it is written with.
struct StreamFrame {
    const GifFrame* frame;
    std::uint32_t delay;
};

// Browsers show delays of 0 and 1 hundredths as 10.
std::uint32_t BrowserDelay(std::uint32_t delay);

// Whether `unchanged` may be left out, its delay added to `kept`, which is
// written with `keptDelay` so far.
bool MayMergeInto(const GifFrame& kept, std::uint32_t keptDelay, const GifFrame& unchanged);

// The frames to write in order; with `merge`, frames that change nothing
// are left out where MayMergeInto allows.
std::vector<StreamFrame> FramesToWrite(const GifDocument& document, bool merge);
