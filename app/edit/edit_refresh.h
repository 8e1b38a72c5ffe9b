// What the document's windows show of the values the timing edits change.
// The windowed program installs a refresher that rewrites its controls;
// without one (the console, the tests) an edit only changes the document.
#pragma once

struct GifDocument;

enum class ShownValue {
    FrameDuration,     // the shown frame's duration field
    FrameStartTime,    // the shown frame's start time
    TotalDuration,     // the line with the frame count and the total duration
    Loop,              // the loop choice, the count field and its label
    BackgroundColour,  // the colour field, the swatch and the preview
    FrameInterlaced,   // the shown frame's "Interlaced" box
};

using ShownValueRefresh = void (*)(GifDocument& document, ShownValue value);

// Null puts back the refresher that does nothing.
void SetShownValueRefresh(ShownValueRefresh refresh);
void RefreshShownValue(GifDocument& document, ShownValue value);
