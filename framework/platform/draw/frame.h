// The one top-level frame window: its content is a 32-bit surface that the
// drawing layer paints and the backend shows.
#pragma once

#include "framework/platform/draw/backend.h"
#include "framework/platform/draw/draw_port.h"

bool JFrameOpen(const JFrameSpec& spec);
void JFrameClose();
bool JFrameIsOpen();
JSurface* JFrameSurface();
// The port of the whole frame content, and the screen port: screen
// coordinates, drawing on the frame content.
DrawPort* JFramePort();
DrawPort* JScreenPort();
JRect JFrameBounds();  // content rectangle in screen coordinates
void JFrameSetBounds(const JRect& bounds);
void JFramePresent(const JRect& region);
void JFramePresentAll();
// Polls the backend; a resize gives the content its new size, a move
// updates the screen port's offset. Of several pointer moves in a row only
// the last is handed out, and of a burst of resizes only the last.
bool JFramePoll(JInputEvent* event);
// Waits until input arrives or `milliseconds` pass; true when input waits.
bool JFrameWaitForInput(std::uint32_t milliseconds);
// Where the pointer is and which buttons it holds, now: not as of the
// events handed out so far.
JPointerState JFramePointerNow();
// Drops all pending input.
void JFrameDropInput();
