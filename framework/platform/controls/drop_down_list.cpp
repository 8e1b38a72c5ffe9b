#include "framework/platform/controls/drop_down_list.h"

#include <algorithm>
#include <vector>

#include "framework/platform/controls/list_box.h"
#include "framework/platform/controls/scroll_bar.h"

namespace {

constexpr const char* kPopupClass = "JDropDownPopup";
constexpr JMsg kChooseMessage = JMsg::User;  // posted to the drop-down: code is the item

struct DropDownState {
    std::vector<std::string> items;
    int selection = -1;
    JWnd popup = kNoWindow;
    JWnd list = kNoWindow;  // the list box inside the pop-up
};

JControlTable<DropDownState>& DropDowns() {
    static JControlTable<DropDownState> table;
    return table;
}

// The drop-down whose list is open; only one is open at a time.
JWnd& OpenDropDown() {
    static JWnd open = kNoWindow;
    return open;
}

int Count(const DropDownState& state) {
    return static_cast<int>(state.items.size());
}

void Choose(JWnd dropDown, DropDownState* state, int index) {
    JDropDownClose(dropDown);
    if (index >= 0 && index < Count(*state) && index != state->selection) {
        state->selection = index;
        JInvalidateRect(dropDown, nullptr);
        JNotifyParent(dropDown, kNotifySelChange);
    }
}

// --- the pop-up ---

// A click in the open list chooses (the keys go to the drop-down, which
// moves the list's selection itself); the choice is posted so that the list
// box is not destroyed under its own handler.
JResult PopupProc(JWnd popup, const JMessage& message) {
    if (message.type == JMsg::Command && message.value == kNotifySelChange) {
        const JWnd dropDown = OpenDropDown();
        if (dropDown != kNoWindow && JMouseButtons() != 0) {
            JPostMessage(JMakeMessage(dropDown, kChooseMessage, JListBoxSelection(message.source)));
        }
        return 0;
    }
    return JDefWindowProc(popup, message);
}

// A press outside the open list closes it and is used up.
bool OutsideClickHook(JMessage& message) {
    const JWnd dropDown = OpenDropDown();
    const DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr ||
        (message.type != JMsg::MouseDown && message.type != JMsg::NcMouseDown) ||
        JIsDescendant(state->popup, message.window)) {
        return false;
    }
    const bool onItsBox = message.window == dropDown;
    JDropDownClose(dropDown);
    return onItsBox;  // a click on the box only closes; elsewhere it goes on
}

JRect PopupBounds(JWnd dropDown, const DropDownState& state) {
    const JRect client = JWindowClientRect(dropDown);
    const int rows = std::clamp(Count(state), 1, kDropDownVisibleItems);
    const int height = rows * JListBoxItemHeight() + 2;  // and the pop-up's one-pixel border
    const JRect frameClient = JFrameClientRect();
    const JPoint below = JClientToFrame(dropDown, JPoint{0, client.bottom});
    int top = below.y - frameClient.top;
    if (top + height > frameClient.Height()) {
        top = JClientToFrame(dropDown, JPoint{0, 0}).y - frameClient.top - height;
    }
    const int left = below.x - frameClient.left;
    return JRect{left, top, left + client.Width(), top + height};
}

void OpenList(JWnd dropDown, DropDownState* state) {
    if (state->popup != kNoWindow || Count(*state) == 0) {
        return;
    }
    if (OpenDropDown() != kNoWindow) {
        JDropDownClose(OpenDropDown());
    }
    if (!JIsClassRegistered(kPopupClass)) {
        JWindowClass windowClass;
        windowClass.name = kPopupClass;
        windowClass.proc = PopupProc;
        windowClass.flags = kClassPlainBorder;
        JRegisterClass(windowClass);
    }
    JWindowSpec spec;
    spec.className = kPopupClass;
    spec.style = kWsPopup | kWsNoActivate;
    spec.bounds = PopupBounds(dropDown, *state);
    spec.parent = JFrameWindow();
    spec.owner = JTopLevelOf(dropDown);
    state->popup = JCreateWindow(spec);
    const JRect inside = JWindowClientRect(state->popup);
    JControlSpec list;
    list.parent = state->popup;
    list.bounds = inside;
    list.id = JWindowId(dropDown);
    list.style = kLbsKeepFocus | kLbsDropped;
    state->list = JCreateListBox(list);
    for (const std::string& item : state->items) {
        JListBoxAddItem(state->list, item.c_str());
    }
    JListBoxSetSelection(state->list, state->selection);
    OpenDropDown() = dropDown;
    JAddInputHook(OutsideClickHook);
    JShowWindow(state->popup, false);
    JInvalidateRect(dropDown, nullptr);
}

// --- the closed box ---

// A sunken white field with the chosen item and the raised arrow button at
// the right; with the focus (and the list closed) the item is highlighted
// inside a dotted frame.
void Paint(JWnd dropDown) {
    const DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr) {
        return;
    }
    JPaintControl(dropDown, [&](const JRect& client) {
        const bool enabled = JIsWindowEnabled(dropDown);
        JFillArea(client, enabled ? JSysColour::Window : JSysColour::Face);
        const JRect button{client.right - 2 - JScrollBarWidth(), client.top + 2, client.right - 2,
                           client.bottom - 2};
        const JRect text{client.left + 3, client.top + 3, button.left - 1, client.bottom - 3};
        const bool focused = JFocusWindow() == dropDown && state->popup == kNoWindow;
        if (focused) {
            JFillArea(text, JSysColour::Highlight);
        }
        if (state->selection >= 0) {
            JDrawTextIn(JRect{text.left + 2, text.top, text.right, text.bottom},
                        state->items[static_cast<std::size_t>(state->selection)], JTextAlign::Left,
                        focused ? JSysColour::HighlightText : JSysColour::WindowText, enabled);
        }
        if (focused) {
            JDrawFocusFrame(text);
        }
        const bool pushed = state->popup != kNoWindow;
        JFillArea(button, JSysColour::Face);
        if (pushed) {
            JFrameArea(button, JSysColour::Shadow);
        } else {
            JDrawBevel(button, true);
        }
        JDrawArrow(pushed ? JRectOffset(button, 1, 1) : button, JArrowDirection::Down, enabled);
        JDrawBevel(client, false);
    });
}

void KeyDown(JWnd dropDown, DropDownState* state, const JMessage& message) {
    const bool open = state->popup != kNoWindow;
    const int current = open ? JListBoxSelection(state->list) : state->selection;
    const int step = message.key == kKeyUp ? -1 : message.key == kKeyDown ? 1 : 0;
    if ((message.key == kKeyDown && (message.modifiers & kModAlt) != 0) ||
        message.key == kKeyF1 + 3) {
        open ? JDropDownClose(dropDown) : OpenList(dropDown, state);
    } else if (step != 0 && open) {
        JListBoxSetSelection(state->list, std::clamp(current + step, 0, Count(*state) - 1));
    } else if (step != 0) {
        Choose(dropDown, state, std::clamp(current + step, 0, Count(*state) - 1));
    } else if (message.key == kKeyReturn && open) {
        Choose(dropDown, state, current);
    } else if (message.key == kKeyEscape && open) {
        JDropDownClose(dropDown);
    }
}

JResult DropDownProc(JWnd dropDown, const JMessage& message) {
    if (message.type == JMsg::Create) {
        DropDowns().Add(dropDown);
        return 0;
    }
    DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr) {
        return JDefWindowProc(dropDown, message);
    }
    switch (message.type) {
        case JMsg::Destroy:
            JDropDownClose(dropDown);
            DropDowns().Remove(dropDown);
            return 0;
        case JMsg::Paint:
            Paint(dropDown);
            return 0;
        case JMsg::GetDialogCode:
            // While open, Return and Escape belong to the list.
            return kDlgWantsArrows | (state->popup != kNoWindow ? kDlgWantsAll : 0);
        case JMsg::MouseDown:
            JSetFocus(dropDown);
            OpenList(dropDown, state);
            return 0;
        case JMsg::KeyDown:
            KeyDown(dropDown, state, message);
            return 0;
        case kChooseMessage:
            Choose(dropDown, state, message.code);
            return 0;
        case JMsg::KillFocus:
            JDropDownClose(dropDown);
            JInvalidateRect(dropDown, nullptr);
            return 0;
        case JMsg::SetFocus:
        case JMsg::Enable:
            JInvalidateRect(dropDown, nullptr);
            return 0;
        default:
            return JDefWindowProc(dropDown, message);
    }
}

}  // namespace

JWnd JCreateDropDownList(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kDropDownListClass;
    windowClass.proc = DropDownProc;
    return JCreateControlWindow(windowClass, spec, kWsTabStop);
}

int JDropDownAddItem(JWnd dropDown, const char* text) {
    DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr) {
        return -1;
    }
    state->items.emplace_back(text != nullptr ? text : "");
    return Count(*state) - 1;
}

void JDropDownClear(JWnd dropDown) {
    if (DropDownState* state = DropDowns().Find(dropDown)) {
        JDropDownClose(dropDown);
        state->items.clear();
        state->selection = -1;
        JInvalidateRect(dropDown, nullptr);
    }
}

int JDropDownCount(JWnd dropDown) {
    const DropDownState* state = DropDowns().Find(dropDown);
    return state != nullptr ? Count(*state) : 0;
}

std::string JDropDownItem(JWnd dropDown, int index) {
    const DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr || index < 0 || index >= Count(*state)) {
        return std::string();
    }
    return state->items[static_cast<std::size_t>(index)];
}

void JDropDownSetSelection(JWnd dropDown, int index) {
    if (DropDownState* state = DropDowns().Find(dropDown)) {
        state->selection = index >= 0 && index < Count(*state) ? index : -1;
        JInvalidateRect(dropDown, nullptr);
    }
}

int JDropDownSelection(JWnd dropDown) {
    const DropDownState* state = DropDowns().Find(dropDown);
    return state != nullptr ? state->selection : -1;
}

void JDropDownOpen(JWnd dropDown) {
    if (DropDownState* state = DropDowns().Find(dropDown)) {
        OpenList(dropDown, state);
    }
}

void JDropDownClose(JWnd dropDown) {
    DropDownState* state = DropDowns().Find(dropDown);
    if (state == nullptr || state->popup == kNoWindow) {
        return;
    }
    const JWnd popup = state->popup;
    state->popup = kNoWindow;
    state->list = kNoWindow;
    if (OpenDropDown() == dropDown) {
        OpenDropDown() = kNoWindow;
        JRemoveInputHook(OutsideClickHook);
    }
    JDestroyWindow(popup);
    JInvalidateRect(dropDown, nullptr);
}

JWnd JDropDownOpenList(JWnd dropDown) {
    const DropDownState* state = DropDowns().Find(dropDown);
    return state != nullptr ? state->list : kNoWindow;
}
