// The one top-level frame window: its content is a 32-bit surface that the
// drawing layer paints and the backend shows.
#pragma once

#include <string>

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

// Paths of files dropped on the frame, in the order they came; a backend
// adds each one before its FileDropped event.
void JQueueDroppedFile(const char* path);
bool JTakeDroppedFile(std::string* path);

// What the settings keep of the frame: its content rectangle in screen
// coordinates as it is when restored, whether it is maximised, and the
// smallest content size it may be given (0 by 0: no limit).
struct JFramePlacement {
    JRect bounds;
    bool maximised = false;
    int minimumWidth = 0;
    int minimumHeight = 0;
};

JFramePlacement JFrameGetPlacement();
// Restores the rectangle, sets the minimum size, then maximises if asked.
void JFrameSetPlacement(const JFramePlacement& placement);
// "left,top widthxheight", followed by " maximised" and " min WxH" when
// they apply: "100,100 640x480 maximised min 320x200". A reader of the
// rectangle alone still reads the start of the text.
std::string JFramePlacementText(const JFramePlacement& placement);
// Reads that text; a text of the rectangle alone reads as restored with no
// minimum. False when the rectangle cannot be read.
bool JFrameParsePlacement(const char* text, JFramePlacement* placement);
