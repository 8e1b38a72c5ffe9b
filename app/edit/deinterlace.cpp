#include "app/edit/deinterlace.h"

#include <algorithm>
#include <vector>

#include "app/codec/image_decode.h"
#include "app/codec/image_encode.h"
#include "app/edit/edit_refresh.h"
#include "app/edit/frame_span.h"
#include "app/optimiser/frame_optimiser.h"
#include "app/optimiser/progress.h"
#include "framework/core/string_lists.h"

namespace {

constexpr std::uint16_t kTextDeinterlacing = 381;

// Decodes the frame's indices in its old row order and encodes them again
// in the new one.
bool Reencode(GifFrame& frame, bool interlaced) {
    // Without image data the decoder would read from wherever the input
    // stands; an image of no pixels has no row order to change.
    if (frame.encoded.empty() || RectArea(frame.rect) == 0) {
        return true;
    }
    std::vector<std::uint8_t> indices(RectArea(frame.rect), 0);
    if (DecodeIndices(frame, frame.interlaced, indices.data()) == DecodeResult::Failed) {
        return false;
    }
    // The code size must cover every index there is, counted or not.
    const int highest = *std::max_element(indices.begin(), indices.end());
    EncodeIndices(frame, interlaced, std::max(ColoursNeeded(frame), highest + 1), indices.data());
    return true;
}

}  // namespace

bool SetFrameInterlaced(GifDocument& document, std::int32_t index, bool interlaced, bool shown) {
    GifFrame* frame = FrameAt(document, index);
    if (!frame || frame->interlaced == interlaced) {
        return frame != nullptr;
    }
    if (!Reencode(*frame, interlaced)) {
        return false;
    }
    frame->interlaced = interlaced;
    if (shown) {
        RefreshShownValue(document, ShownValue::FrameInterlaced);
    }
    return true;
}

bool DeinterlaceFrames(GifDocument& document, std::int32_t first, std::int32_t last) {
    const FrameSpan span = ClampToFrames(document, first, last);
    if (span.Empty()) {
        return true;
    }
    bool all = true;
    BeginPacedProgress(IJString(kTextDeinterlacing), span.Count());
    for (std::int32_t i = span.first; i <= span.last; ++i) {
        all = SetFrameInterlaced(document, i, false, i == document.currentFrame) && all;
        StepPacedProgress(1);
    }
    EndPacedProgress();
    RefreshCanvas(document);
    return all;
}
