// The frame-range slider: two round thumbs on one track pick a range of
// frames, from the lesser thumb value to the greater, inclusive. Neither
// thumb is the low end for good: a thumb dragged past the other makes the
// other one the low end, and the range is always reported in order.
//
// Everything is laid out from the control's size: the thumb radius, the
// groove and the first and last place a thumb's centre may take. With room
// for ticks (more than 3 pixels a value) a tick mark stands for every frame
// outside the range and a released thumb settles on its frame's tick.
#pragma once

#include "framework/ui/controls.h"

// The layout along and across the track, in pixels from the control's top
// left corner. "Along" is down a vertical slider and rightwards on a
// horizontal one.
struct FrameRangeGeometry {
    int thickness = 0;    // the control's size across the track
    int length = 0;       // and along it
    int thumbRadius = 0;  // r
    int trackInset = 0;   // from the control's edges to the groove
    int firstPixel = 0;   // p0: the thumb centre's first place along the track
    int lastPixel = 0;    // p1: and its last
    int pictureSize = 0;  // a thumb picture is this square: 2r + 1
    int tickSpacing = 0;  // (p1 - p0) / maximum
    bool ticksShown = false;
};

constexpr int kFrameRangeDefaultThickness = 21;

FrameRangeGeometry FrameRangeLayout(int thickness, int length, int maximum);
// The pixel along the track of a value, and the value whose pixel is
// nearest to a thumb centre (the lesser of two equally near).
int FrameRangePixelOfValue(const FrameRangeGeometry& geometry, int maximum, int value);
int FrameRangeValueAtPixel(const FrameRangeGeometry& geometry, int maximum, int pixel);

// Called with the value of the thumb pressed.
using FrameRangePressedCallback = void (*)(JControl* slider, int value);
// Called with the ordered range and which of its ends changed since the
// last report.
using FrameRangeChangeCallback = void (*)(JControl* slider, bool lowChanged, int low,
                                          bool highChanged, int high);

// Makes the kind's table now; the start-up calls it once.
void RegisterFrameRangeSliderKind();
const ControlKind* FrameRangeSliderKind();

// A hidden vertical slider of the default size, 0 to 3, both thumbs at 0.
// JControlResize sets its size: 0 across the track means 21 pixels, 0 along
// it three times the size across; the geometry follows the size.
JControl* NewFrameRangeSlider(JWindow* window, int left, int top);
// At least 1; both values are clamped to it and the thumbs placed again.
void FrameRangeSliderSetMaximum(JControl* slider, int maximum);
// Set the thumb holding the lesser (greater) value; clamped, no callback.
void FrameRangeSliderSetLow(JControl* slider, int value);
void FrameRangeSliderSetHigh(JControl* slider, int value);
void FrameRangeSliderSetVertical(JControl* slider, bool vertical);
// Pressed when a thumb is grabbed, changing while it is dragged (only when
// an end changes), changed when it is let go on a new value. Any may be null.
void FrameRangeSliderSetCallbacks(JControl* slider, FrameRangePressedCallback pressed,
                                  FrameRangeChangeCallback changing,
                                  FrameRangeChangeCallback changed);

int FrameRangeSliderLow(JControl* slider);
int FrameRangeSliderHigh(JControl* slider);
int FrameRangeSliderMaximum(JControl* slider);
const FrameRangeGeometry& FrameRangeSliderGeometry(JControl* slider);
// Thumb 0 or 1: its square in window content coordinates, where it is now
// (following the pointer while dragged).
JRect FrameRangeSliderThumbRect(JControl* slider, int thumb);

// Thumb pictures made so far, one for each size and orientation of slider
// drawn; all sliders share them.
int FrameRangeThumbPictureCount();
