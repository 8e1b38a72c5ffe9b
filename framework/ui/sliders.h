// The slider: a value from 0 to a maximum shown as a thumb on a track. The
// thumb follows the pointer pixel by pixel while dragged; the tracking
// callback hears each new value under it, the change callback the value it
// ends on. A press on the track beside the thumb steps the value toward the
// pointer, again and again while the button is held.
#pragma once

#include "framework/ui/controls.h"

using JSliderCallback = void (*)(JControl* slider, int value);

const ControlKind* JSliderKind();
void JSliderSetMaximum(JControl* slider, int maximum);
void JSliderSetValue(JControl* slider, int value);  // clamped; no callback
int JSliderValue(JControl* slider);
int JSliderMaximum(JControl* slider);
void JSliderSetVertical(JControl* slider, bool vertical);
void JSliderSetChangeCallback(JControl* slider, JSliderCallback callback);
void JSliderSetTrackingCallback(JControl* slider, JSliderCallback callback);
// The thumb's rectangle in window content coordinates.
JRect JSliderThumbRect(JControl* slider);
constexpr int kSliderThumbLength = 11;   // along the track
constexpr int kSliderThumbBreadth = 20;  // across it
