// Controls: rectangles of a window driven through their kind's table of
// operations. Most kinds are drawn by the framework; the push button, edit
// field and scroll bar sit on native platform controls. A control deleted
// in its own handler stays readable until the outermost event-loop step
// ends, so the handler returns safely.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "framework/ui/windows.h"

// A kind's own record, owned by the control; each kind derives its record.
struct JKindRecord {
    virtual ~JKindRecord() = default;
};

struct JMouseEvent {
    std::uint16_t modifiers = 0;
    int x = 0;  // window content coordinates
    int y = 0;
};

// A kind's table of operations. Empty entries fall back to the defaults of
// JControlKindDefaults; the numbers are the slots' numbers.
struct ControlKind {
    const char* name = "";
    void (*create)(JControl* control) = nullptr;                                // 0
    void (*destroy)(JControl* control) = nullptr;                               // 1
    void (*focusGained)(JControl* control) = nullptr;                           // 2
    void (*focusLost)(JControl* control) = nullptr;                             // 3
    JControl* (*hitTest)(JControl* container, int x, int y) = nullptr;          // 4
    void (*draw)(JControl* control) = nullptr;                                  // 5
    void (*mouseEntered)(JControl* control) = nullptr;                          // 6
    void (*mouseLeft)(JControl* control) = nullptr;                             // 7
    void (*mouseDown)(JControl* control, const JMouseEvent& event) = nullptr;   // 8
    void (*mouseMoved)(JControl* control, int x, int y) = nullptr;              // 9
    void (*mouseUp)(JControl* control, const JMouseEvent& event) = nullptr;     // 10
    bool (*keyDown)(JControl* control, const JKeyRecord& key) = nullptr;        // 11
    bool (*keyUp)(JControl* control, const JKeyRecord& key) = nullptr;          // 12
    void (*setSize)(JControl* control, int width, int height) = nullptr;        // 13
    void (*setPosition)(JControl* control, int left, int top) = nullptr;        // 14
    void (*naturalSize)(JControl* control, int* width, int* height) = nullptr;  // 15
    void (*hide)(JControl* control) = nullptr;                                  // 16
    void (*show)(JControl* control) = nullptr;                                  // 17
    void (*enable)(JControl* control) = nullptr;                                // 18
    void (*disable)(JControl* control) = nullptr;                               // 19
    void (*addChild)(JControl* container, JControl* child) = nullptr;           // 20
    void (*removeChild)(JControl* container, JControl* child) = nullptr;        // 21
    void (*childResized)(JControl* container, JControl* child, int width,
                         int height) = nullptr;                                             // 22
    void (*childMoved)(JControl* container, JControl* child, int left, int top) = nullptr;  // 23
    void (*platformCommand)(JControl* control, int notification) = nullptr;                 // 24
    void (*scroll)(JControl* control, int part, int amount) = nullptr;                      // 25
};

// A table whose every operation does the generic thing: set size and
// position store and redraw, show and hide redraw, the rest do nothing.
ControlKind JControlKindDefaults(const char* name);

constexpr std::uint16_t kControlVisible = 1;
constexpr std::uint16_t kControlEnabled = 2;
constexpr std::uint16_t kControlDeleted = 4;
constexpr std::uint16_t kControlContained = 8;  // a container holds it

using JReleaseHook = void (*)(JControl* control, void* data);

struct JControl {
    JWindow* owner = nullptr;
    JControl* container = nullptr;
    const ControlKind* kind = nullptr;
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t width = 16;
    std::int16_t height = 16;
    std::uint16_t flags = kControlEnabled;
    void* userData = nullptr;
    std::unique_ptr<JKindRecord> kindData;
    std::vector<std::pair<JReleaseHook, void*>> releaseHooks;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> properties;
    JWnd platform = kNoWindow;  // the native control, for native kinds

    bool Visible() const { return (flags & kControlVisible) != 0; }
    bool Enabled() const { return (flags & kControlEnabled) != 0; }
    bool Deleted() const { return (flags & kControlDeleted) != 0; }
    JRect Rect() const { return JRect{left, top, left + width, top + height}; }
};

template <typename Record>
Record* JKindDataOf(JControl* control) {
    return static_cast<Record*>(control->kindData.get());
}

JControl* JControlNew(const ControlKind* kind, JWindow* window, int left, int top);
JControl* JControlNewIn(const ControlKind* kind, JControl* container, int left, int top);
void JControlMove(JControl* control, int left, int top);
// 0 by 0 asks for the natural size.
void JControlResize(JControl* control, int width, int height);
void JControlShow(JControl* control);
void JControlHide(JControl* control);
void JControlEnable(JControl* control, bool enabled);
void JControlDelete(JControl* control);
// Gives the control the keyboard (native kinds: the platform focus).
void JControlFocus(JControl* control);
void JControlNaturalSize(JControl* control, int* width, int* height);

void JControlAddReleaseHook(JControl* control, JReleaseHook hook, void* data);
void JControlRemoveReleaseHook(JControl* control, JReleaseHook hook, void* data);

void JControlSetProperty(JControl* control, std::uintptr_t key, std::intptr_t value);
std::intptr_t JControlGetProperty(const JControl* control, std::uintptr_t key);  // 0 when missing
bool JControlHasProperty(const JControl* control, std::uintptr_t key);
std::intptr_t JControlTakeProperty(JControl* control, std::uintptr_t key);

// Invalidates the control's area so that the next paint draws it.
void JControlRedraw(const JControl* control);
// The frontmost visible and enabled control at a content point, or null.
JControl* JControlAt(JWindow* window, int x, int y);
// For containers' hit tests: the frontmost child at the point, else the container.
JControl* JControlHitChildren(JControl* container, const std::vector<JControl*>& children, int x,
                              int y);
// Draws the visible controls of a list (a window's, or a container's
// children) within the current paint.
void JDrawControls(const std::vector<JControl*>& controls);
// The control whose native platform window this is, or null.
JControl* JControlOfPlatform(JWindow* window, JWnd platform);

// The default operations, for kinds that extend them.
void JDefaultSetSize(JControl* control, int width, int height);
void JDefaultSetPosition(JControl* control, int left, int top);

// Deletes every control of a window; JWindowDestroy calls it.
void JControlDeleteAll(JWindow* window);
// Keeps a deleted control's record until the outermost step ends.
void JHoldDeletedControl(std::unique_ptr<JControl> control);
