// Framework windows: one platform window each, with 23 numbered handler
// slots that the application fills. The framework turns the platform's
// messages into slot calls (and into calls of the window's controls), so the
// application never sees a platform message.
//
// A window is owned by the framework from JWindowNew to JWindowDestroy; its
// record stays readable until the outermost event-loop step ends, so a
// handler may destroy its own window and return safely.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/platform.h"

struct JControl;
struct JWindow;

// Modifier bits of the framework's mouse and key events.
constexpr std::uint16_t kUiShift = 2;
constexpr std::uint16_t kUiCommand = 4;  // Ctrl, or Alt with Ctrl (see JCommandKeyIsAltCtrl)
constexpr std::uint16_t kUiCtrl = 8;
constexpr std::uint16_t kUiAlt = 16;
constexpr std::uint16_t kUiLeftButton = 16;  // shares its bit with Alt
constexpr std::uint16_t kUiRightButton = 64;
constexpr std::uint16_t kUiDoubleClick = 128;
constexpr std::uint16_t kUiMiddleButton = 256;
constexpr std::uint16_t kUiOtherButton = 512;
// A press with any of these is not a plain primary click.
constexpr std::uint16_t kUiNotPlainClick = kUiDoubleClick | kUiMiddleButton | kUiOtherButton;

struct JKeyRecord {
    std::uint16_t key = 0;       // the virtual key (backend.h), 0 for a typed character
    std::uint8_t character = 0;  // the character, 0 for keys that have none
    std::uint16_t modifiers = 0;
};

// What a handler slot receives besides the window.
struct JHandlerEvent {
    std::uint16_t modifiers = 0;
    int x = 0;  // content coordinates
    int y = 0;
    JKeyRecord key;
    int command = 0;  // slot 3: a menu command, or 0 to close
    int part = 0;     // scroll slots: a JScrollPart
    int amount = 0;   // -1 or +1, or the thumb position
};

// The result counts for slot 7 only: true allows the close.
using JWindowHandler = bool (*)(JWindow* window, const JHandlerEvent& event);

enum JWindowSlot : int {
    kSlotDraw = 0,
    kSlotMouseDown = 1,
    kSlotMouseUp = 2,
    kSlotPopupCommand = 3,
    kSlotMouseMoved = 4,
    kSlotKeyDown = 5,
    kSlotKeyUp = 6,
    kSlotCloseRequest = 7,
    kSlotBeforeDestroy = 8,
    kSlotResized = 9,
    kSlotMoved = 10,
    kSlotActivated = 11,
    kSlotDeactivated = 12,
    kSlotMouseEntered = 13,
    kSlotMouseLeft = 14,
    kSlotHScrollLine = 15,  // then page, to the end, thumb
    kSlotVScrollLine = 19,
    kWindowSlotCount = 23,
};

// Style flags of JWindowNew.
constexpr std::uint32_t kWindowSystemMenu = 0x1;    // floating windows: a system menu
constexpr std::uint32_t kWindowSizing = 0x2;        // document windows: sizing border, maximise box
constexpr std::uint32_t kWindowPopup = 0x10;        // on top, thin border, no caption; modal
constexpr std::uint32_t kWindowModal = 0x20;        // blocks the others while shown
constexpr std::uint32_t kWindowThinPopup = 0x40;    // thin border, not on top
constexpr std::uint32_t kWindowDestroyed = 0x100;   // set by JWindowDestroy
constexpr std::uint32_t kWindowNoMinimise = 0x200;  // document windows: no minimise box
constexpr std::uint32_t kWindowFloating = 0x1000;   // on top, caption

struct JWindow {
    std::string title;
    std::uint32_t style = 0;
    std::array<JWindowHandler, kWindowSlotCount> handlers{};
    void* userData = nullptr;
    // The content area, in the frame's client coordinates.
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    // Between the platform window's outer and content rectangles.
    std::int16_t borderLeft = 0;
    std::int16_t borderTop = 0;
    std::int16_t borderRight = 0;
    std::int16_t borderBottom = 0;
    std::int16_t minWidth = 40;
    std::int16_t minHeight = 40;
    std::int16_t maxWidth = 0;
    std::int16_t maxHeight = 0;
    std::int16_t showCount = 0;
    std::vector<JControl*> controls;  // top-level controls in creation order
    JColour background{0xC0C0, 0xC0C0, 0xC0C0};
    bool active = false;
    JWnd activeBeforeModal = kNoWindow;
    JWnd platform = kNoWindow;
    // Input: the control that has the mouse (pressed), the one with the
    // keyboard, and the one under the pointer.
    JControl* mouseOwner = nullptr;
    JControl* keyFocus = nullptr;
    JControl* hot = nullptr;
    // Every live control of the window, top-level or contained.
    std::vector<std::unique_ptr<JControl>> ownedControls;

    bool Destroyed() const { return (style & kWindowDestroyed) != 0; }
};

// Parent null: the frame.
JWindow* JWindowNew(JWindow* parent, const char* title, std::uint32_t style);
// The next window made uses the class of that id ("JChildWindow-n").
void JWindowSelectClass(int id);
void JWindowSetHandler(JWindow* window, int slot, JWindowHandler handler);
void JWindowShow(JWindow* window);
void JWindowShowBehind(JWindow* window);  // shown without being raised
void JWindowHide(JWindow* window);
bool JWindowIsVisible(const JWindow* window);
// Slot 7, and if it allows, slot 8 and the destruction; true when closed.
bool JWindowClose(JWindow* window);
void JWindowDestroy(JWindow* window);
void JWindowSetTitle(JWindow* window, const char* title);
void JWindowResize(JWindow* window, int width, int height);
// Content origin in the frame's client coordinates.
void JWindowMoveTo(JWindow* window, int left, int top);
void JWindowSetMinimumSize(JWindow* window, int width, int height);  // 0: the default
void JWindowSetMaximumSize(JWindow* window, int width, int height);
void JWindowSetBackground(JWindow* window, JColour colour);
void JWindowEnableAll(bool enabled);
// 1 arrow, 2 cross, 3 wait, 4 text beam, 5-7 the program's cursors.
void JWindowSetCursor(int shape);
// Repaints every invalid window now.
void JRepaintNow();
// Told whenever a modal window is shown or goes away (the menus lock
// themselves while one is up); null for none.
using JModalChangeListener = void (*)();
void JSetModalChangeListener(JModalChangeListener listener);

// The framework window of a platform window (its own or a control's), or null.
JWindow* JWindowFromPlatform(JWnd platform);
// Live windows in creation order.
int JWindowCount();
JWindow* JWindowAt(int index);
JWindow* JActiveFrameworkWindow();
JWindow* JModalFrameworkWindow();  // the shown modal window in front, or null

// Calls a slot if it is filled; false when it is empty or said false.
bool JWindowCall(JWindow* window, int slot, const JHandlerEvent& event);
// Translates platform modifier bits into the framework's.
std::uint16_t JUiModifiers(std::uint16_t platformModifiers, std::uint16_t buttons = 0);
// The command key is Alt with Ctrl (resource string 103 starts with 1).
bool JCommandKeyIsAltCtrl();

// Frees destroyed windows and deleted controls; the event loop calls it at
// the end of its outermost step.
void JReleaseDestroyed();
// Destroys every window; at shutdown.
void JWindowDestroyAll();

// Window classes: "JChildWindow" and "JChildWindow-n" from resource strings
// 102 and 103. Called at start-up.
void JRegisterFrameworkClasses();
