// A frame number typed into a field (the frame controls' and the range
// controls'): frames count from 1 there, while the document counts from 0.
#pragma once

#include <cstdint>

struct FrameNumberEntry {
    bool accepted = false;
    std::int32_t index = 0;  // the frame to go to (0-based) when accepted
};

// Reads `text` for a document of `frameCount` frames whose field showed
// frame `current` (0-based). What is not a whole number, or not positive,
// is refused with a beep and a message, and the field should show
// current + 1 again; a number past the last frame is told too, and goes to
// the last frame.
FrameNumberEntry EnterFrameNumber(const char* text, std::int32_t current, std::int32_t frameCount);
