// A range of frames an edit works on, cut to the frames a document has.
#pragma once

#include <algorithm>
#include <cstdint>

#include "app/codec/document.h"

struct FrameSpan {
    std::int32_t first;
    std::int32_t last;  // inclusive; below first when the span is empty

    bool Empty() const { return last < first; }
    std::uint32_t Count() const { return Empty() ? 0 : std::uint32_t(last - first + 1); }
};

inline FrameSpan ClampToFrames(const GifDocument& document, std::int32_t first, std::int32_t last) {
    const std::int32_t count = std::int32_t(document.frames.size());
    return FrameSpan{std::max(first, 0), std::min(last, count - 1)};
}
