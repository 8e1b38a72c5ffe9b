// The message queue of the platform windows. Input from the backend is
// turned into messages one event at a time, when the queue holds nothing
// else, so that each event meets the windows as earlier messages left them.
// Posted messages come first, then input, then paint messages for windows
// with invalid areas. Nothing blocks: a peek that finds nothing composes the
// windows' pixels into the frame and shows what changed.
#pragma once

#include <cstdint>

#include "framework/platform/windows/window.h"

enum class JMsg : std::uint16_t {
    None,
    Create,
    Destroy,
    Show,         // code 1 shown, 0 hidden
    Enable,       // code 1 enabled, 0 disabled
    Paint,        // the update region: JBeginPaint (window_paint.h)
    Activate,     // code 1 active, 0 inactive; source: the other window
    ActivateApp,  // to the frame: code 1 when the program gains the input focus
    SetFocus,     // source: the window that lost it
    KillFocus,    // source: the window that gets it
    MouseDown,    // x, y, button, clicks (2 for a double click), modifiers
    MouseUp,
    MouseMove,
    Wheel,        // x, y, value: notches away from the user
    NcMouseDown,  // in the caption or border; code: a JHit value; x, y in frame coordinates
    CaptureLost,  // source: the new capture or none
    KeyDown,      // key: a virtual key (backend.h), modifiers
    KeyUp,
    Char,        // key: a character code of the single-byte set
    Close,       // the user asks; JDefWindowProc destroys the window
    Size,        // width, height of the client area
    Move,        // x, y of the outer rectangle in the parent's client coordinates
    Command,     // code: a command or control id; source: the control or none; value: notification
    SysCommand,  // code: a kSc value; x, y the point in frame coordinates
    HScroll,     // code: a JScrollPart; value: the amount or position; source: a scroll bar or none
    VScroll,
    GetDialogCode,  // result: kDlg bits (dialog_keys.h)
    SelectAll,      // a text control selects its whole text (Tab brought the focus)
    Quit,           // code: the exit code
    FileDropped,    // to the frame: JTakeDroppedFile (frame.h) gives the file's path
    User = 0x400,   // and upward: free for the layers above
};

// Modifier bits: backend.h gives kModShift, kModCtrl and kModAlt; mouse
// messages add the buttons held.
constexpr std::uint16_t kModLeftButton = 0x10;
constexpr std::uint16_t kModRightButton = 0x20;
constexpr std::uint16_t kModMiddleButton = 0x40;

// Where a point lies on a window.
enum JHit : int {
    kHitNowhere = 0,
    kHitClient,
    kHitCaption,
    kHitSystemMenu,
    kHitClose,
    kHitMaximise,
    kHitMinimise,
    kHitLeft,
    kHitRight,
    kHitTop,
    kHitBottom,
    kHitTopLeft,
    kHitTopRight,
    kHitBottomLeft,
    kHitBottomRight,
    kHitBorder,   // a border that does not size
    kHitMenuBar,  // the frame's menu bar strip
};

// System commands (SysCommand code).
constexpr int kScClose = 0xF060;
constexpr int kScMaximise = 0xF030;
constexpr int kScMinimise = 0xF020;
constexpr int kScRestore = 0xF120;
constexpr int kScMove = 0xF010;        // moves the window with the arrow keys
constexpr int kScSize = 0xF000;        // sizes it with the arrow keys
constexpr int kScSystemMenu = 0xF100;  // the system-menu box was clicked
constexpr int kScNextWindow = 0xF040;

// Parts of a scroll bar (HScroll and VScroll code); value is -1 or +1 for
// line, page and end, the new position for the thumb.
enum JScrollPart : int {
    kScrollLine = 1,
    kScrollPage,
    kScrollEnd,
    kScrollThumb,
    kScrollThumbTrack
};

// Command ids that dialog keys send (dialog_keys.h) and notification codes
// that controls put in value.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kNotifyClicked = 0;

struct JMessage {
    JWnd window = kNoWindow;
    JMsg type = JMsg::None;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::uint8_t button = 0;  // kButtonLeft, kButtonMiddle or kButtonRight (backend.h)
    std::uint8_t clicks = 0;
    std::uint16_t key = 0;
    std::uint16_t modifiers = 0;
    int code = 0;
    int value = 0;
    JWnd source = kNoWindow;
    std::intptr_t data = 0;  // free for User messages
    std::uint32_t time = 0;  // tick count when it was made
};

JMessage JMakeMessage(JWnd window, JMsg type, int code = 0, int value = 0);

// Adds to the end of the queue; false for a window that does not exist.
bool JPostMessage(const JMessage& message);
// Calls the window's procedure now.
JResult JSendMessage(const JMessage& message);
JResult JSendMessage(JWnd window, JMsg type, int code = 0, int value = 0);

constexpr unsigned kPeekKeep = 0;       // leave the message in the queue
constexpr unsigned kPeekRemove = 1;     // take it out
constexpr unsigned kPeekPaintOnly = 2;  // only paint messages; input stays where it is

// Never blocks. `filter` limits it to one window and its children. A paint
// message is not taken out: the window stays invalid until it is painted.
bool JPeekMessage(JMessage* message, JWnd filter = kNoWindow, unsigned flags = kPeekRemove);
// Posts a Char after a KeyDown of Backspace, Tab, Return or Escape (without
// Ctrl or Alt); printable characters arrive as Char messages by themselves.
void JTranslateMessage(const JMessage& message);
JResult JDispatchMessage(const JMessage& message);
JResult JCallWindowProc(JWindowProc proc, JWnd window, const JMessage& message);
// The default behaviour: paints what the class asks, starts caption drags
// and border resizes, turns the boxes into system commands, closes on Close.
JResult JDefWindowProc(JWnd window, const JMessage& message);

// What JDefWindowProc does with kScSystemMenu: the menus show the window's
// system menu at a point in frame coordinates.
void JSetSystemMenuHook(void (*show)(JWnd window, JPoint framePoint));

void JPostQuitMessage(int exitCode);
// Peeks, translates and dispatches until nothing is left; false when a Quit
// message came (it is consumed).
bool JPumpMessages();
// Drops every queued message and pending input.
void JFlushMessages();
// The idle wait of an event loop: returns at once when a message, input or
// a window to paint is waiting, otherwise when input arrives or
// `milliseconds` have passed. True when something is waiting.
bool JWaitForMessage(std::uint32_t milliseconds);

// A hook that sees each input message before it is queued; returning true
// swallows it. The menus use one to take Alt, mnemonics and clicks on the
// menu bar. Hooks run from the last added to the first.
using JInputHook = bool (*)(JMessage& message);
void JAddInputHook(JInputHook hook);
void JRemoveInputHook(JInputHook hook);

// --- keyboard and pointer state ---
bool JKeyIsDown(std::uint16_t key);  // as of the input turned into messages so far
std::uint16_t JKeyModifiers();       // kModShift, kModCtrl, kModAlt
std::uint16_t JMouseButtons();       // kModLeftButton and the others
JPoint JPointerPosition();           // in frame coordinates
