// Interlacing: whether a frame's rows are stored in the four interlaced
// passes of GIF or top to bottom. Changing it re-encodes the frame's image
// in the other order; its pixels stay exactly as they were.
#pragma once

#include <cstdint>

#include "app/codec/document.h"

// Re-encodes the frame in the row order the flag asks for; nothing happens
// when it already has it. `shown` says the frame is the one the frame
// controls show. False when the frame's image could not be decoded: it is
// then left as it was.
bool SetFrameInterlaced(GifDocument& document, std::int32_t index, bool interlaced, bool shown);

// Stores frames first to last (inclusive, clamped to the frames there are)
// top to bottom, with paced progress, one step per frame; then shows the
// current frame again. False when some frame could not be re-encoded.
bool DeinterlaceFrames(GifDocument& document, std::int32_t first, std::int32_t last);
