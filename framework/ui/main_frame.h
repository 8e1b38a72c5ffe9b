// The main frame: the one platform frame window ("JMainWindow") that every
// framework window lives in, with the usable screen area, its content
// rectangle and border sizes, and the listeners told about its changes.
#pragma once

#include <cstdint>

#include "framework/platform/platform.h"

// Listener codes.
constexpr int kFrameContentResized = 1;
constexpr int kFrameDepthChanged = 2;
constexpr int kFrameActivationChanged = 4;
constexpr int kFrameMoved = 5;

using JFrameListener = void (*)(int code, std::intptr_t context);

struct MainFrame {
    JWnd platform = kNoWindow;
    JRect usableArea;  // the screen less the task bars
    JRect content;     // the frame's client area (below the menu bar), screen coordinates
    int borderLeft = 0;
    int borderTop = 0;
    int borderRight = 0;
    int borderBottom = 0;
    int outerLeft = 0;
    int outerTop = 0;
    bool active = false;
};

// Creates the frame with the title of resource string 100 and the mode of
// string 101, hidden; false when the platform refuses.
bool JMainFrameCreate();
const MainFrame& JMainFrame();
void JMainFrameShow();
// Places the frame's content (screen coordinates).
void JMainFramePlace(const JRect& content);
void JMainFrameAddListener(JFrameListener listener, std::intptr_t context);
void JMainFrameRemoveListener(JFrameListener listener, std::intptr_t context);
// For the display's colour depth changing (code 2) and for tests.
void JMainFrameNotify(int code);
// The frame's client area in the coordinates top-level windows are placed in.
JRect JDeskRect();
