// The records behind the platform windows, shared by the window, paint,
// decoration, tracking and input files of the platform layer. Nothing outside
// framework/platform includes this.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/draw/surface.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/region.h"
#include "framework/platform/windows/window_paint.h"

struct ClassRecord {
    std::string name;
    JWindowProc proc = nullptr;
    JCursorShape cursor = JCursorShape::Arrow;
    int iconId = 0;
    JColour background;
    std::uint32_t flags = 0;
};

struct WindowRecord {
    JWnd handle = kNoWindow;
    std::shared_ptr<ClassRecord> windowClass;
    std::string title;
    std::uint32_t style = 0;
    int id = 0;
    JWnd parent = kNoWindow;
    JWnd owner = kNoWindow;
    std::vector<JWnd> children;  // creation order
    JRect bounds;                // outer, parent's client coordinates
    bool shown = false;
    bool enabled = true;
    bool maximised = false;
    bool minimised = false;  // collapsed to its caption; restoring goes back to maximised or not
    bool maximisedBeforeMinimise = false;
    bool destroying = false;  // a procedure may destroy its window again while it goes
    JRect restoreBounds;
    int minWidth = 1;
    int minHeight = 1;
    int maxWidth = 1 << 15;
    int maxHeight = 1 << 15;
    JWindowProc proc = nullptr;
    void* userData = nullptr;
    JColour background;
    JSurface store;                 // top-level windows and the frame: the outer rectangle's pixels
    DrawPort port;                  // client area; origin on the top-level's store
    JRegion invalid;                // client coordinates
    JWnd lastFocus = kNoWindow;     // top-level windows: the child that had the focus
    JWnd activeBefore = kNoWindow;  // modal windows: what was active when they were shown
};

struct WindowSystem {
    std::map<JWnd, std::unique_ptr<WindowRecord>> windows;
    std::map<std::string, std::shared_ptr<ClassRecord>> classes;
    JWnd nextHandle = 1;
    JWnd frame = kNoWindow;
    std::vector<JWnd> zOrder;  // top-level windows, front first
    JWnd active = kNoWindow;
    JWnd focus = kNoWindow;
    JWnd capture = kNoWindow;
    std::vector<JWnd> modalStack;  // shown modal windows, the front one last
    std::vector<JWnd> minimised;   // in the order they were minimised
    JRegion frameDirty;            // frame coordinates waiting to be composed
    int menuBarHeight = 0;
    void (*menuBarPaint)(const JRect& strip) = nullptr;
    JCursorShape cursor = JCursorShape::Arrow;       // what the pointer's place asks for
    std::vector<JCursorShape> cursorOverrides;       // shown instead while work runs
    JCursorShape shownCursor = JCursorShape::Arrow;  // what the backend shows
};

WindowSystem& Windows();
WindowRecord* FindWindow(JWnd window);
bool IsTopLevel(const WindowRecord& record);
WindowRecord* TopLevelRecord(JWnd window);
// The client area's top-left corner on the top-level's store.
JPoint ClientOriginInStore(const WindowRecord& record);
// The window's outer rectangle in frame coordinates.
JRect OuterInFrame(const WindowRecord& record);
// Keeps the port's surface and origin in step with the window's place.
void RefreshPort(WindowRecord* record);
void RefreshPortsBelow(WindowRecord* record);
// Where the next activation goes when the active window leaves.
void ActivateNextAfter(JWnd leaving);
// Destroys the window's pixels and records: the last step of JDestroyWindow.
void ForgetWindow(JWnd window);
// The backend moved or resized the frame: its pixels, Move and Size.
void FrameBoundsChanged();

// window_paint.cpp
void MarkFrameDirty(const JRect& frameRect);
void MarkWindowDirty(const WindowRecord& record);  // its whole outer rectangle
// The store gets the outer size; decorations are drawn again and the client
// area invalidated.
void ResizeStore(WindowRecord* record);
// An invalid, visible window inside `filter` (or anywhere); parents first.
JWnd FindWindowToPaint(JWnd filter);

// window_decor.cpp
void DrawDecorations(WindowRecord* record);
// A point in the window's parent's client coordinates.
JHit HitTestWindow(const WindowRecord& record, JPoint point);

// window_tracking.cpp: caption drags and border resizes.
void BeginTracking(JWnd window, JHit hit, JPoint framePoint);
bool TrackingActive();
// Moving (or sizing) a window with the arrow keys, as the system menu's Move
// and Size do; Return or a click keeps the place, Escape puts it back.
void BeginKeyboardTracking(JWnd window, bool moving);
// A caption box held down: it shows pressed while the pointer is over it,
// and its system command goes when the button is released there.
void BeginBoxTracking(JWnd window, JHit box, int command);
// Takes a pointer event while tracking; true when it used it.
bool TrackPointer(const JInputEvent& event);
void CancelTracking();

// input_routing.cpp: one backend event into messages; false when none waits.
bool TranslateNextInput();
void ResetInputState();
// message_queue.cpp
// Input hooks see the message first.
void QueueInputMessage(JMessage message);
void NotePaintBegun();
void DropMessagesFor(JWnd window);
