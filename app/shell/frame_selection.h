// Selecting the frame a document shows: the canvas is brought to that frame,
// then the document's windows are told, the preview with the part of the
// screen that changed.
#pragma once

#include <cstdint>
#include <functional>

#include "app/codec/document.h"

// Who asked for the frame: the frame slider already stands at it.
enum class FrameSource { Other, Slider };

// What a document's windows do when the shown frame changes; either may be
// empty.
struct FrameSelectionHooks {
    // The frame controls show the frame: number, start time, duration,
    // flags and comment, and the slider unless the slider asked.
    std::function<void(std::int32_t index, FrameSource source)> showFrameDetails;
    // The preview redraws the part of the logical screen that changed.
    std::function<void(const FrameRect& changed)> showScreenChange;
};

// Makes `index` the document's current frame. Asking for the frame already
// shown, or for one past either end, changes nothing and returns false; a
// document without frames only records frame 0. When the canvas showed no
// known frame before, the whole screen counts as changed.
bool SelectFrame(GifDocument& document, std::int32_t index, FrameSource source,
                 const FrameSelectionHooks& hooks);
