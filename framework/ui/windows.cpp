#include "framework/ui/windows.h"

#include <utility>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/core/string_lists.h"
#include "framework/ui/controls.h"
#include "framework/ui/edit_target.h"

namespace {

struct WindowRegistry {
    std::vector<std::unique_ptr<JWindow>> live;  // creation order
    // Destroyed windows and deleted controls, freed when the outermost
    // event-loop step ends.
    std::vector<std::unique_ptr<JWindow>> destroyedWindows;
    std::vector<std::unique_ptr<JControl>> deletedControls;
    int firstClassId = 200;
    int lastClassId = 200;
    int selectedClass = -1;
    bool cursorTaken = false;
    int cursor = 1;
};

WindowRegistry& Registry() {
    static WindowRegistry registry;
    return registry;
}

JModalChangeListener& ModalListener() {
    static JModalChangeListener listener = nullptr;
    return listener;
}

void TellModalChanged() {
    if (ModalListener() != nullptr) {
        ModalListener()();
    }
}

std::string ClassNameFor(int index) {
    return index < 0 ? std::string("JChildWindow") : "JChildWindow-" + std::to_string(index);
}

std::uint32_t PlatformStyle(std::uint32_t style) {
    if ((style & kWindowFloating) != 0) {
        std::uint32_t platform = kWsFloating;
        if ((style & kWindowSystemMenu) != 0) {
            platform |= kWsSystemMenu | kWsCloseBox;
        }
        return platform;
    }
    if ((style & kWindowPopup) != 0) {
        return kWsPopup | kWsNoActivate;
    }
    if ((style & kWindowThinPopup) != 0) {
        return kWsThinBorder | kWsNoActivate;
    }
    if ((style & kWindowModal) != 0) {
        return kWsModalWindow | kWsSystemMenu | kWsCloseBox;
    }
    std::uint32_t platform = kWsDocument;
    if ((style & kWindowSizing) != 0) {
        platform |= kWsSizing | kWsMaximiseBox;
    }
    if ((style & kWindowNoMinimise) != 0) {
        platform &= ~kWsMinimiseBox;
    }
    return platform;
}

void MinimumFor(JWindow* window) {
    if ((window->style & kWindowFloating) != 0) {
        window->minWidth = window->minHeight = 20;
    } else if ((window->style & (kWindowPopup | kWindowThinPopup)) != 0) {
        window->minWidth = window->minHeight = 1;
    } else {
        window->minWidth = window->minHeight = 40;
    }
}

void ApplySizeLimits(JWindow* window) {
    const int across = window->borderLeft + window->borderRight;
    const int down = window->borderTop + window->borderBottom;
    JSetWindowSizeLimits(window->platform, window->minWidth + across, window->minHeight + down,
                         window->maxWidth + across, window->maxHeight + down);
}

// The content rectangle as the platform has it now.
void ReadPlacement(JWindow* window) {
    const JRect client = JWindowClientBounds(window->platform);
    const JRect outer = JWindowBounds(window->platform);
    window->left = static_cast<std::int16_t>(client.left);
    window->top = static_cast<std::int16_t>(client.top);
    window->width = static_cast<std::int16_t>(client.Width());
    window->height = static_cast<std::int16_t>(client.Height());
    window->borderLeft = static_cast<std::int16_t>(client.left - outer.left);
    window->borderTop = static_cast<std::int16_t>(client.top - outer.top);
    window->borderRight = static_cast<std::int16_t>(outer.right - client.right);
    window->borderBottom = static_cast<std::int16_t>(outer.bottom - client.bottom);
}

JHandlerEvent MouseEventOf(const JMessage& message) {
    JHandlerEvent event;
    event.modifiers = JUiModifiers(message.modifiers);
    switch (message.button) {
        case kButtonLeft:
            event.modifiers |= kUiLeftButton;
            break;
        case kButtonRight:
            event.modifiers |= kUiRightButton;
            break;
        case kButtonMiddle:
            event.modifiers |= kUiMiddleButton;
            break;
        default:
            break;
    }
    event.x = message.x;
    event.y = message.y;
    return event;
}

JKeyRecord KeyRecordOf(const JMessage& message) {
    JKeyRecord record;
    record.modifiers = JUiModifiers(message.modifiers);
    if (message.type == JMsg::Char) {
        record.character = static_cast<std::uint8_t>(message.key);
        return record;
    }
    record.key = message.key;
    const bool control = (message.modifiers & (kModCtrl | kModAlt)) != 0;
    switch (message.key) {
        case kKeyBackspace:
        case kKeyTab:
        case kKeyReturn:
        case kKeyEscape:
            record.character = static_cast<std::uint8_t>(message.key);
            break;
        default:
            // With Ctrl or Alt no character message follows: the key's
            // letter or digit stands for it.
            if (control && message.key < 128) {
                record.character = static_cast<std::uint8_t>(message.key);
            }
            break;
    }
    return record;
}

void PaintWindow(JWindow* window) {
    JPaintInfo paint;
    if (JBeginPaint(window->platform, &paint) == nullptr) {
        return;
    }
    JWindowCall(window, kSlotDraw, JHandlerEvent{});
    if (!window->Destroyed()) {
        JDrawControls(std::vector<JControl*>(window->controls));
    }
    JEndPaint(window->platform, paint);
}

void MouseDown(JWindow* window, const JMessage& message) {
    const JHandlerEvent event = MouseEventOf(message);
    // A press beside a focused native control (an edit field) takes the
    // focus from it, which ends its editing.
    const JWnd focus = JFocusWindow();
    if (focus != window->platform && JIsDescendant(window->platform, focus)) {
        JSetFocus(window->platform);
        if (window->Destroyed()) {
            return;
        }
    }
    JControl* control = JControlAt(window, message.x, message.y);
    if (control == nullptr) {
        JWindowCall(window, kSlotMouseDown, event);
        return;
    }
    window->mouseOwner = control;
    JSetCapture(window->platform);
    if (control->kind->mouseDown != nullptr) {
        control->kind->mouseDown(control, JMouseEvent{event.modifiers, event.x, event.y});
    }
}

void MouseUp(JWindow* window, const JMessage& message) {
    const JHandlerEvent event = MouseEventOf(message);
    JControl* owner = window->mouseOwner;
    window->mouseOwner = nullptr;
    if (JCaptureWindow() == window->platform) {
        JReleaseCapture();
    }
    if (owner == nullptr) {
        JWindowCall(window, kSlotMouseUp, event);
    } else if (!owner->Deleted() && owner->kind->mouseUp != nullptr) {
        owner->kind->mouseUp(owner, JMouseEvent{event.modifiers, event.x, event.y});
    }
}

// Moves go to the pressed control at once (tracking); otherwise to the
// window, with the control under the pointer told when it changes.
void MouseMoved(JWindow* window, const JMessage& message) {
    if (JControl* owner = window->mouseOwner) {
        if (owner->kind->mouseMoved != nullptr) {
            owner->kind->mouseMoved(owner, message.x, message.y);
        }
        return;
    }
    JControl* under = JControlAt(window, message.x, message.y);
    if (under != window->hot) {
        JControl* left = window->hot;
        window->hot = under;
        if (left != nullptr && !left->Deleted() && left->kind->mouseLeft != nullptr) {
            left->kind->mouseLeft(left);
        }
        if (under != nullptr && !window->Destroyed() && under->kind->mouseEntered != nullptr) {
            under->kind->mouseEntered(under);
        }
    }
    if (under != nullptr && !under->Deleted() && under->kind->mouseMoved != nullptr) {
        under->kind->mouseMoved(under, message.x, message.y);
        return;
    }
    JHandlerEvent event;
    event.x = message.x;
    event.y = message.y;
    JWindowCall(window, kSlotMouseMoved, event);
}

// A key that types a character (no Ctrl or Alt held) comes again as that
// character, right after its key-down: the handlers get it once, as the
// character, with the key's code beside it.
bool TypesACharacter(const JMessage& message) {
    return (message.modifiers & (kModCtrl | kModAlt)) == 0 && JKeyTypesCharacter(message.key);
}

std::uint16_t& KeyAwaitingItsCharacter() {
    static std::uint16_t key = 0;
    return key;
}

void Key(JWindow* window, const JMessage& message, bool down) {
    if (message.type == JMsg::Char && message.key < 32) {
        return;  // the key-down message already carried it
    }
    if (message.type == JMsg::KeyDown && TypesACharacter(message)) {
        KeyAwaitingItsCharacter() = message.key;
        return;
    }
    JKeyRecord key = KeyRecordOf(message);
    if (message.type == JMsg::Char) {
        key.key = std::exchange(KeyAwaitingItsCharacter(), std::uint16_t{0});
    }
    if (down && JOfferShortcut(key)) {
        return;
    }
    if (JControl* focus = window->keyFocus; focus != nullptr && !focus->Deleted()) {
        auto handler = down ? focus->kind->keyDown : focus->kind->keyUp;
        if (handler != nullptr && handler(focus, key)) {
            return;
        }
    }
    JHandlerEvent event;
    event.key = key;
    event.modifiers = key.modifiers;
    JWindowCall(window, down ? kSlotKeyDown : kSlotKeyUp, event);
}

void Scroll(JWindow* window, const JMessage& message, int firstSlot) {
    if (message.source != kNoWindow) {
        JControl* control = JControlOfPlatform(window, message.source);
        if (control != nullptr && control->kind->scroll != nullptr) {
            control->kind->scroll(control, message.code, message.value);
        }
        return;
    }
    const int part = std::min<int>(message.code, kScrollThumb);
    JHandlerEvent event;
    event.part = part;
    event.amount = message.value;
    JWindowCall(window, firstSlot + part - 1, event);
}

JResult FrameworkWindowProc(JWnd platform, const JMessage& message) {
    JWindow* window = static_cast<JWindow*>(JWindowUserData(platform));
    if (window == nullptr || window->Destroyed()) {
        return JDefWindowProc(platform, message);
    }
    switch (message.type) {
        case JMsg::Paint:
            PaintWindow(window);
            return 0;
        case JMsg::Activate:
            if ((message.code != 0) != window->active) {
                window->active = message.code != 0;
                JWindowCall(window, window->active ? kSlotActivated : kSlotDeactivated,
                            JHandlerEvent{});
            }
            return 0;
        case JMsg::MouseDown:
            MouseDown(window, message);
            return 0;
        case JMsg::MouseUp:
            MouseUp(window, message);
            return 0;
        case JMsg::MouseMove:
            MouseMoved(window, message);
            return 0;
        case JMsg::CaptureLost:
            window->mouseOwner = nullptr;
            return 0;
        case JMsg::KeyDown:
        case JMsg::Char:
            Key(window, message, true);
            return 0;
        case JMsg::KeyUp:
            Key(window, message, false);
            return 0;
        case JMsg::Close:
            JWindowClose(window);
            return 0;
        case JMsg::Size:
            ReadPlacement(window);
            JWindowCall(window, kSlotResized, JHandlerEvent{});
            return 0;
        case JMsg::Move:
            ReadPlacement(window);
            JWindowCall(window, kSlotMoved, JHandlerEvent{});
            return 0;
        case JMsg::Command:
            if (message.source != kNoWindow) {
                JControl* control = JControlOfPlatform(window, message.source);
                if (control != nullptr && control->kind->platformCommand != nullptr) {
                    control->kind->platformCommand(control, message.value);
                }
                return 0;
            }
            return JDefWindowProc(platform, message);
        case JMsg::HScroll:
            Scroll(window, message, kSlotHScrollLine);
            return 0;
        case JMsg::VScroll:
            Scroll(window, message, kSlotVScrollLine);
            return 0;
        default:
            return JDefWindowProc(platform, message);
    }
}

JWindowClass FrameworkClass(const std::string& name, int iconId, bool noBackground) {
    JWindowClass windowClass;
    windowClass.name = name.c_str();
    windowClass.proc = FrameworkWindowProc;
    windowClass.iconId = iconId;
    windowClass.background = JColourFromRgb(0xC0C0C0);
    windowClass.flags = noBackground ? kClassNoBackground : 0;
    return windowClass;
}

}  // namespace

void JRegisterFrameworkClasses() {
    WindowRegistry& registry = Registry();
    char range[32];
    JLoadString(102, range, sizeof range, "200 200");
    int first = 200;
    int last = 200;
    if (std::sscanf(range, "%d %d", &first, &last) != 2 || last < first) {
        first = last = 200;
    }
    registry.firstClassId = first;
    registry.lastClassId = last;
    char flags[32];
    JLoadString(103, flags, sizeof flags, "");
    JRegisterClass(FrameworkClass("JChildWindow", 0, false));
    for (int id = first; id <= last; ++id) {
        const int index = id - first;
        const int digit = index < static_cast<int>(std::strlen(flags)) ? flags[index] - '0' : 0;
        const int icon = id + (JNewerShell() ? 10 : 0);
        JRegisterClass(FrameworkClass(ClassNameFor(index), icon, (digit & 1) != 0));
    }
}

void JWindowSelectClass(int id) {
    WindowRegistry& registry = Registry();
    if (id >= registry.firstClassId && id <= registry.lastClassId) {
        registry.selectedClass = id - registry.firstClassId;
    }
}

JWindow* JWindowNew(JWindow* parent, const char* title, std::uint32_t style) {
    WindowRegistry& registry = Registry();
    auto record = std::make_unique<JWindow>();
    JWindow* window = record.get();
    window->title = title != nullptr ? title : "";
    window->style = style & ~kWindowDestroyed;
    if ((window->style & kWindowPopup) != 0) {
        window->style |= kWindowModal;
    }
    MinimumFor(window);
    const JRect usable = JFrameClientRect();
    window->maxWidth = static_cast<std::int16_t>(std::max(usable.Width(), 1));
    window->maxHeight = static_cast<std::int16_t>(std::max(usable.Height(), 1));
    const std::string className = ClassNameFor(registry.selectedClass);
    registry.selectedClass = -1;
    JWindowSpec spec;
    spec.className = className.c_str();
    spec.title = window->title.c_str();
    spec.style = PlatformStyle(window->style);
    spec.owner = parent != nullptr ? parent->platform : kNoWindow;
    spec.userData = window;
    const JRect borders = JBordersForStyle(spec.style);
    const int width = std::max<int>(window->minWidth, usable.Width() / 2);
    const int height = std::max<int>(window->minHeight, usable.Height() / 2);
    spec.bounds =
        JRect{0, 0, width + borders.left + borders.right, height + borders.top + borders.bottom};
    window->platform = JCreateWindow(spec);
    JSetWindowBackground(window->platform, window->background);
    ReadPlacement(window);
    ApplySizeLimits(window);
    if (!registry.cursorTaken) {
        registry.cursorTaken = true;
        JWindowSetCursor(registry.cursor);
    }
    registry.live.push_back(std::move(record));
    return window;
}

void JWindowSetHandler(JWindow* window, int slot, JWindowHandler handler) {
    if (slot >= 0 && slot < kWindowSlotCount) {
        window->handlers[static_cast<std::size_t>(slot)] = handler;
    }
}

bool JWindowCall(JWindow* window, int slot, const JHandlerEvent& event) {
    if (window == nullptr || window->Destroyed() || slot < 0 || slot >= kWindowSlotCount) {
        return false;
    }
    const JWindowHandler handler = window->handlers[static_cast<std::size_t>(slot)];
    return handler != nullptr && handler(window, event);
}

static void ShowWindow(JWindow* window, bool raise) {
    if (window->Destroyed() || ++window->showCount != 1) {
        return;
    }
    if ((window->style & kWindowModal) != 0) {
        window->activeBeforeModal = JActiveWindow();
    }
    JInvalidateRect(window->platform, nullptr);  // drawn whole, whatever was built hidden
    JShowWindow(window->platform, raise);
    if (raise) {
        JBringToFront(window->platform);
    }
    if ((window->style & kWindowModal) != 0) {
        TellModalChanged();
    }
}

void JWindowShow(JWindow* window) {
    ShowWindow(window, true);
}

void JWindowShowBehind(JWindow* window) {
    ShowWindow(window, false);
}

void JWindowHide(JWindow* window) {
    if (window->Destroyed() || --window->showCount != 0) {
        return;
    }
    JHideWindow(window->platform);
    if ((window->style & kWindowModal) != 0 && JIsWindow(window->activeBeforeModal) &&
        JIsWindowVisible(window->activeBeforeModal)) {
        JActivateWindow(window->activeBeforeModal);
    }
    if ((window->style & kWindowModal) != 0) {
        TellModalChanged();
    }
}

bool JWindowIsVisible(const JWindow* window) {
    return !window->Destroyed() && window->showCount > 0;
}

bool JWindowClose(JWindow* window) {
    if (window == nullptr || window->Destroyed()) {
        return false;
    }
    if (window->handlers[kSlotCloseRequest] != nullptr &&
        !JWindowCall(window, kSlotCloseRequest, JHandlerEvent{})) {
        return false;
    }
    if (window->Destroyed()) {
        return true;  // slot 7 destroyed it itself
    }
    JWindowCall(window, kSlotBeforeDestroy, JHandlerEvent{});
    JWindowDestroy(window);
    return true;
}

void JWindowDestroy(JWindow* window) {
    if (window == nullptr || window->Destroyed()) {
        return;
    }
    window->style |= kWindowDestroyed;
    JControlDeleteAll(window);
    const bool wasShownModal = (window->style & kWindowModal) != 0 && window->showCount > 0;
    const JWnd before = window->activeBeforeModal;
    // Hidden now and destroyed with the record: a platform procedure below
    // us on the stack may still be running for it or for one of its controls.
    JHideWindow(window->platform);
    if (wasShownModal && JIsWindow(before) && JIsWindowVisible(before)) {
        JActivateWindow(before);
    }
    if (wasShownModal) {
        TellModalChanged();
    }
    WindowRegistry& registry = Registry();
    auto it = std::find_if(registry.live.begin(), registry.live.end(),
                           [window](const auto& w) { return w.get() == window; });
    if (it != registry.live.end()) {
        registry.destroyedWindows.push_back(std::move(*it));
        registry.live.erase(it);
    }
}

void JSetModalChangeListener(JModalChangeListener listener) {
    ModalListener() = listener;
}

void JWindowSetTitle(JWindow* window, const char* title) {
    window->title = title != nullptr ? title : "";
    JSetWindowTitle(window->platform, window->title.c_str());
}

void JWindowResize(JWindow* window, int width, int height) {
    width = std::clamp(width, static_cast<int>(window->minWidth),
                       std::max<int>(window->minWidth, window->maxWidth));
    height = std::clamp(height, static_cast<int>(window->minHeight),
                        std::max<int>(window->minHeight, window->maxHeight));
    const JRect client = JWindowClientBounds(window->platform);
    JSetWindowClientBounds(
        window->platform, JRect{client.left, client.top, client.left + width, client.top + height});
    ReadPlacement(window);
}

void JWindowMoveTo(JWindow* window, int left, int top) {
    const JRect client = JWindowClientBounds(window->platform);
    JSetWindowClientBounds(window->platform,
                           JRect{left, top, left + client.Width(), top + client.Height()});
    ReadPlacement(window);
}

void JWindowSetMinimumSize(JWindow* window, int width, int height) {
    if (width <= 0) {
        const int titleWidth = JControlMeasure(window->title).width;
        const bool sizing = (window->style & kWindowSizing) != 0;
        width = titleWidth + 10 + (sizing ? 46 + 36 : 0);
    }
    if (height <= 0) {
        height = (window->style & (kWindowPopup | kWindowThinPopup)) != 0 ? 10 : 65;
    }
    window->minWidth = static_cast<std::int16_t>(width);
    window->minHeight = static_cast<std::int16_t>(height);
    ApplySizeLimits(window);
    ReadPlacement(window);
}

void JWindowSetMaximumSize(JWindow* window, int width, int height) {
    window->maxWidth = static_cast<std::int16_t>(std::max(width, 1));
    window->maxHeight = static_cast<std::int16_t>(std::max(height, 1));
    ApplySizeLimits(window);
    ReadPlacement(window);
}

void JWindowSetBackground(JWindow* window, JColour colour) {
    window->background = colour;
    JSetWindowBackground(window->platform, colour);
    JInvalidateRect(window->platform, nullptr);
}

void JWindowEnableAll(bool enabled) {
    for (const auto& window : Registry().live) {
        if ((window->style & kWindowModal) == 0) {
            JEnableWindow(window->platform, enabled);
        }
    }
}

void JWindowSetCursor(int shape) {
    if (shape < 1 || shape > 7) {
        return;
    }
    WindowRegistry& registry = Registry();
    registry.cursor = shape;
    // The program's cursors 5, 6, 7 are its cursor resources 1, 3, 2.
    static constexpr JCursorShape kShapes[] = {
        JCursorShape::Arrow,    JCursorShape::Cross,    JCursorShape::Wait,
        JCursorShape::TextBeam, JCursorShape::Program1, JCursorShape::Program3,
        JCursorShape::Program2,
    };
    const JCursorShape cursor = kShapes[shape - 1];
    JSetClassCursor("JChildWindow", cursor);
    for (int id = registry.firstClassId; id <= registry.lastClassId; ++id) {
        JSetClassCursor(ClassNameFor(id - registry.firstClassId).c_str(), cursor);
    }
    JSetCursor(cursor);
}

void JRepaintNow() {
    JUpdateAllWindows();
}

JWindow* JWindowFromPlatform(JWnd platform) {
    const JWnd top = JTopLevelOf(platform);
    for (const auto& window : Registry().live) {
        if (window->platform == top) {
            return window.get();
        }
    }
    return nullptr;
}

int JWindowCount() {
    return static_cast<int>(Registry().live.size());
}

JWindow* JWindowAt(int index) {
    auto& live = Registry().live;
    return index >= 0 && index < static_cast<int>(live.size())
               ? live[static_cast<std::size_t>(index)].get()
               : nullptr;
}

JWindow* JActiveFrameworkWindow() {
    return JWindowFromPlatform(JActiveWindow());
}

JWindow* JModalFrameworkWindow() {
    return JWindowFromPlatform(JModalWindow());
}

std::uint16_t JUiModifiers(std::uint16_t platformModifiers, std::uint16_t buttons) {
    std::uint16_t bits = buttons;
    const bool shift = (platformModifiers & kModShift) != 0;
    const bool ctrl = (platformModifiers & kModCtrl) != 0;
    const bool alt = (platformModifiers & kModAlt) != 0;
    bits |= shift ? kUiShift : 0;
    bits |= ctrl ? kUiCtrl : 0;
    bits |= alt ? kUiAlt : 0;
    const bool command = JCommandKeyIsAltCtrl() ? ctrl && alt : ctrl && !alt;
    bits |= command ? kUiCommand : 0;
    return bits;
}

bool JCommandKeyIsAltCtrl() {
    static const bool altCtrl = [] {
        char text[8];
        JLoadString(103, text, sizeof text, "0");
        return text[0] == '1';
    }();
    return altCtrl;
}

void JHoldDeletedControl(std::unique_ptr<JControl> control) {
    Registry().deletedControls.push_back(std::move(control));
}

void JReleaseDestroyed() {
    WindowRegistry& registry = Registry();
    std::vector<std::unique_ptr<JControl>> controls;
    controls.swap(registry.deletedControls);
    for (const auto& control : controls) {
        JDestroyWindow(control->platform);
    }
    controls.clear();
    std::vector<std::unique_ptr<JWindow>> windows;
    windows.swap(registry.destroyedWindows);
    for (const auto& window : windows) {
        JDestroyWindow(window->platform);
    }
}

void JWindowDestroyAll() {
    WindowRegistry& registry = Registry();
    while (!registry.live.empty()) {
        JWindowDestroy(registry.live.back().get());
    }
    JReleaseDestroyed();
}
