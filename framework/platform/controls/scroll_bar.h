// The scroll bar: two arrows, a track and a thumb, horizontal or vertical
// (kSbsVertical). A click on an arrow asks to move a line, on the track
// beside the thumb a page; dragging the thumb tracks it; Home and End (when
// it has the focus) ask for the ends. It tells its parent through HScroll or
// VScroll messages (code: a JScrollPart; value: -1 or +1 for line, page and
// end, the position for kScrollThumbTrack while dragging and for
// kScrollThumb at the release). Like the platform's own, the bar moves only
// when told to: the parent answers with JScrollBarSetPosition.
//
// As a window's own scroll bar (kSbsWindowBar, or JAttachWindowScrollBar),
// its messages carry no source, so the window takes them as its bars'.
#pragma once

#include "framework/platform/controls/control_window.h"

constexpr const char* kScrollBarClass = "scrollbar";
constexpr std::uint32_t kSbsVertical = kWsControlBit0;
constexpr std::uint32_t kSbsWindowBar = kWsControlBit1;
// The thickness of a scroll bar: 16 pixels with the newer shell, else 21.
int JScrollBarWidth();

JWnd JCreateScrollBar(const JControlSpec& spec);
// A bar along the right (vertical) or bottom edge of the window's client
// area, covering that strip; the window leaves it out of its own drawing.
JWnd JAttachWindowScrollBar(JWnd window, bool vertical);

// A range with maximum <= minimum disables the bar; the position is kept
// inside the range.
void JScrollBarSetRange(JWnd bar, int minimum, int maximum);
void JScrollBarRange(JWnd bar, int* minimum, int* maximum);
void JScrollBarSetPosition(JWnd bar, int position);
int JScrollBarPosition(JWnd bar);
// While an arrow or the track is held down, takes its step again when the
// pointer is still over it (the caller's timer makes it repeat); false once
// nothing is held.
bool JScrollBarRepeatHeldPart(JWnd bar);
// How much one page shows: sizes the thumb (0: a square thumb).
void JScrollBarSetPage(JWnd bar, int page);
// The thumb's rectangle in the bar's client coordinates (empty when disabled).
JRect JScrollBarThumbRect(JWnd bar);
