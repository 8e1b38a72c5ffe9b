// Platform windows: the frame window, the windows that live in its client
// area (document, floating, pop-up and modal windows) and the child windows
// inside those (controls). A window belongs to a registered class, has a
// window procedure that receives its messages (messages.h), keeps its own
// pixels, and is drawn by the platform with a caption, borders and boxes as
// its style asks. Painting, invalid areas and scrolling are in
// window_paint.h; the keyboard of dialog-style windows in dialog_keys.h.
//
// This API is ready and stable: menus and controls may build on it.
//
// Coordinates: the frame's are those of its content (0, 0 at its top-left
// corner). A top-level window's outer bounds are in the frame's client
// coordinates (the frame's content below the menu bar); a child window's in
// its parent's client coordinates. Mouse messages carry the receiving
// window's client coordinates.
#pragma once

#include <cstdint>

#include "framework/platform/draw/backend.h"
#include "framework/platform/draw/colour.h"
#include "framework/platform/draw/geometry.h"

struct JMessage;

// A window handle; handles are never reused, so a stale one is harmless.
using JWnd = std::uint32_t;
constexpr JWnd kNoWindow = 0;

using JResult = std::intptr_t;
using JWindowProc = JResult (*)(JWnd window, const JMessage& message);

// --- styles ---
constexpr std::uint32_t kWsCaption = 0x0001;      // a title bar; dragging it moves the window
constexpr std::uint32_t kWsSystemMenu = 0x0002;   // system-menu box at the caption's left
constexpr std::uint32_t kWsCloseBox = 0x0004;     // close box at the caption's right
constexpr std::uint32_t kWsSizing = 0x0008;       // sizing border
constexpr std::uint32_t kWsMaximiseBox = 0x0010;  // maximise box: fills the frame's client area
constexpr std::uint32_t kWsMinimiseBox =
    0x0020;  // minimise box: collapses the window to its caption
constexpr std::uint32_t kWsThinBorder = 0x0040;  // a one-pixel border
constexpr std::uint32_t kWsTopMost = 0x0080;     // above every window without it
constexpr std::uint32_t kWsModal = 0x0100;       // while shown, blocks every window but its own
constexpr std::uint32_t kWsChild = 0x0200;       // a child (control) window inside its parent
constexpr std::uint32_t kWsNoActivate = 0x0400;  // a click neither activates nor raises it
constexpr std::uint32_t kWsTabStop = 0x0800;     // a child that Tab visits in a dialog
constexpr std::uint32_t kWsDialog = 0x1000;      // the owner of dialog-style keyboard handling
constexpr std::uint32_t kWsHScroll = 0x2000;     // reserved for window scroll bars
constexpr std::uint32_t kWsVScroll = 0x4000;
constexpr std::uint32_t kWsFrame = 0x8000;  // the one frame window ("JMainWindow")

// The styles the framework's windows are made of.
constexpr std::uint32_t kWsDocument = kWsCaption | kWsSystemMenu | kWsCloseBox | kWsMinimiseBox;
constexpr std::uint32_t kWsFloating = kWsCaption | kWsTopMost | kWsThinBorder;
constexpr std::uint32_t kWsPopup = kWsThinBorder | kWsTopMost;
constexpr std::uint32_t kWsModalWindow = kWsCaption | kWsModal | kWsThinBorder;

// --- classes ---
constexpr std::uint32_t kClassNoBackground = 1;  // the background is left to the paint handler
constexpr std::uint32_t kClassPlainBorder = 2;  // a thin border is one dark line, not a raised edge

struct JWindowClass {
    const char* name = "";
    JWindowProc proc = nullptr;  // null gives JDefWindowProc
    JCursorShape cursor = JCursorShape::Arrow;
    int iconId = 0;  // 0: the system's default
    JColour background{0xFFFF, 0xFFFF, 0xFFFF};
    std::uint32_t flags = 0;
};

// Registering a name again replaces that class for windows made afterwards.
bool JRegisterClass(const JWindowClass& windowClass);
bool JIsClassRegistered(const char* name);
void JSetClassCursor(const char* name, JCursorShape cursor);
int JClassIconId(const char* name);  // 0 when unknown

// --- creation ---
struct JWindowSpec {
    const char* className = "";
    const char* title = "";
    std::uint32_t style = 0;
    JRect bounds;              // outer rectangle, see above; the frame's: its content on the screen
    JWnd parent = kNoWindow;   // the frame for top-level windows; a window for children
    JWnd owner = kNoWindow;    // a modal window's own pop-ups name it, so that they stay usable
    int id = 0;                // a child's identifier in its parent (command messages)
    void* userData = nullptr;  // the framework's record
};

// A window made hidden; it receives a Create message. The frame (kWsFrame)
// opens the backend's top-level window. Fails when the class is unknown, the
// frame is missing or a second frame is asked for.
JWnd JCreateWindow(const JWindowSpec& spec);
// Sends Destroy to the window's children first, then to it; later calls for
// its handle do nothing. Destroying the frame destroys everything.
void JDestroyWindow(JWnd window);
void JDestroyAllWindows();
bool JIsWindow(JWnd window);

JWnd JFrameWindow();  // kNoWindow before the frame exists
JWnd JWindowParent(JWnd window);
JWnd JWindowOwner(JWnd window);
JWnd JTopLevelOf(JWnd window);                   // the window itself for a top-level window
bool JIsDescendant(JWnd ancestor, JWnd window);  // true for the window itself too
int JWindowChildCount(JWnd window);
JWnd JWindowChildAt(JWnd window, int index);  // in creation order
JWnd JWindowChildWithId(JWnd window, int id);

// --- attributes ---
std::uint32_t JWindowStyle(JWnd window);
int JWindowId(JWnd window);
const char* JWindowClassName(JWnd window);
void JSetWindowUserData(JWnd window, void* data);
void* JWindowUserData(JWnd window);
JWindowProc JWindowProcOf(JWnd window);
// Subclassing: returns the previous procedure, for JCallWindowProc.
JWindowProc JSetWindowProc(JWnd window, JWindowProc proc);
void JSetWindowTitle(JWnd window, const char* title);
const char* JWindowTitle(JWnd window);
void JSetWindowBackground(JWnd window, JColour colour);

// --- placement ---
JRect JWindowBounds(JWnd window);        // outer, in the parent's client coordinates
JRect JWindowClientBounds(JWnd window);  // the client area, same coordinates
// Client size at (0, 0).
JRect JWindowClientRect(JWnd window);
// Thickness of the caption and borders: left, top, right, bottom.
JRect JWindowBorders(JWnd window);
JRect JBordersForStyle(std::uint32_t style);
// Sends Move and Size when they change; a resize invalidates the window.
void JMoveWindow(JWnd window, const JRect& bounds);
void JSetWindowClientBounds(JWnd window, const JRect& client);
void JSetWindowSizeLimits(JWnd window, int minWidth, int minHeight, int maxWidth, int maxHeight);
void JMaximiseWindow(JWnd window, bool maximised);
bool JIsMaximised(JWnd window);
// Collapses a top-level window to its caption in a row along the bottom of
// the frame's client area, or brings it back as it was (maximised or not).
void JMinimiseWindow(JWnd window, bool minimised);
bool JIsMinimised(JWnd window);
// The frame's client area in frame coordinates: its content below the menu bar.
JRect JFrameClientRect();
// Keeps a strip of this height at the top of the frame for the menu bar,
// drawn by `paint` (with the frame's port selected, frame coordinates).
void JSetMenuBarStrip(int height, void (*paint)(const JRect& strip));
void JInvalidateMenuBarStrip();

// Point conversions between a window's client coordinates and the frame's.
JPoint JClientToFrame(JWnd window, JPoint point);
JPoint JFrameToClient(JWnd window, JPoint point);

// --- visibility and z-order ---
// Showing raises a top-level window and activates it unless it says
// kWsNoActivate or `activate` is false. A shown modal window blocks the rest.
void JShowWindow(JWnd window, bool activate = true);
void JHideWindow(JWnd window);
bool JIsWindowVisible(JWnd window);  // shown, and so are its parents
void JBringToFront(JWnd window);     // within its band: top-most windows stay above
// Top-level windows from front to back, visible or not.
int JTopLevelCount();
JWnd JTopLevelAt(int index);
// The visible, top-level or child window under a point in frame coordinates;
// the frame when no other window is there.
JWnd JWindowFromPoint(JPoint framePoint);

// --- enabling and modality ---
void JEnableWindow(JWnd window, bool enabled);
bool JIsWindowEnabled(JWnd window);  // its own flag
// Enabled and not blocked by a modal window: what input needs.
bool JWindowTakesInput(JWnd window);
JWnd JModalWindow();  // the front modal window shown, or none

// --- activation, focus and capture ---
// Activates a top-level window: raises it, sends Activate(0) to the previous
// and Activate(1) to it, and gives the focus back to the child it had.
void JActivateWindow(JWnd window);
JWnd JActiveWindow();
// Sends KillFocus and SetFocus; focusing a window activates its top level.
void JSetFocus(JWnd window);
JWnd JFocusWindow();
// Every mouse message goes to the capturing window until it is released.
void JSetCapture(JWnd window);
void JReleaseCapture();
JWnd JCaptureWindow();

// --- cursor ---
void JSetCursor(JCursorShape shape);  // until the pointer moves over another class
// While an override is pushed (the busy cursor while work runs) it is shown
// wherever the pointer goes; overrides nest, the latest shown.
void JPushCursorOverride(JCursorShape shape);
void JPopCursorOverride();
