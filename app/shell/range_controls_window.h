// The range controls: one window per document that applies an edit to a
// chosen range of its frames. A pop-up choice picks the panel (scale the
// durations, remove the comments, or deinterlace); above the panel the range
// is typed as two frame numbers or dragged on a two-thumbed slider, and the
// arrow keys step its ends round the animation.
//
// The range, the scaling factor and the duration limits belong to the
// document while it is open; closing the window forgets them, so the next
// opening starts again with all frames, the factor 1 and no limits.
#pragma once

#include <cstdint>

#include "app/edit/durations.h"
#include "app/shell/documents.h"
#include "framework/ui/windows.h"

// The Animation menu's "Range Controls...": opens the window (the range
// then holds every frame) or brings the open one to the front. Nothing for
// a document without frames.
void OpenRangeControls(AppDocument& document);
// Destroys the window, if open, and forgets the range, the factor and the
// limits. The program calls it when the document closes.
void CloseRangeControls(AppDocument& document);
// The state of a document whose windows are being built: as after a close.
void ResetRangeControls(AppDocument& document);

// How a frame the range controls point at is shown in the document's own
// windows: the document windows install the way they select a frame. The
// default (null) makes it the document's current frame and refreshes the
// document's windows.
using RangeFrameShower = void (*)(AppDocument& document, std::int32_t index);
void SetRangeFrameShower(RangeFrameShower shower);

// --- for tests and the screenshot tool ---

enum class RangePanel { ScaleDurations, RemoveComments, Deinterlace };

enum class RangeControl {
    PanelChoice,
    FromField,
    ToField,
    RangeSlider,
    FactorField,
    FactorSlider,
    MinimumField,
    MaximumField,
    ChoicesButton,  // "More Choices" / "Fewer Choices"
    ActionButton,   // "Scale", "Remove Comments" or "Deinterlace"
};

struct RangeControlsState {
    std::int32_t start = -1;  // frame indices, start <= end; -1 before the window opens
    std::int32_t end = -1;
    double factor = 1.0;
    DurationLimits limits;
    bool moreChoices = false;
    RangePanel panel = RangePanel::ScaleDurations;
};

RangeControlsState RangeControlsOf(const AppDocument& document);
// Null when the window is closed or the control is not on the panel shown
// (the limit fields count as shown only with more choices).
JWindow* RangeControlsWindow(const AppDocument& document);
JControl* RangeControlsControl(const AppDocument& document, RangeControl which);
