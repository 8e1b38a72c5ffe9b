#include "framework/platform/controls/list_box.h"

#include <algorithm>
#include <vector>

#include "framework/platform/controls/scroll_bar.h"

namespace {

constexpr int kBevel = 2;

struct ListState {
    std::vector<std::string> items;
    int selection = -1;
    int top = 0;
    JWnd bar = kNoWindow;
    bool barShown = true;  // controls are made shown
    bool dragging = false;
};

JControlTable<ListState>& Lists() {
    static JControlTable<ListState> table;
    return table;
}

int Count(const ListState& state) {
    return static_cast<int>(state.items.size());
}

int BorderOf(JWnd list) {
    return (JWindowStyle(list) & kLbsDropped) != 0 ? 0 : kBevel;
}

int VisibleItems(JWnd list) {
    return std::max(1,
                    (JWindowClientRect(list).Height() - 2 * BorderOf(list)) / JListBoxItemHeight());
}

int MaxTop(JWnd list, const ListState& state) {
    return std::max(0, Count(state) - VisibleItems(list));
}

// The bar appears only when the items do not all fit.
void UpdateBar(JWnd list, ListState* state) {
    const int maxTop = MaxTop(list, *state);
    state->top = std::clamp(state->top, 0, maxTop);
    if (state->bar == kNoWindow) {
        return;
    }
    JScrollBarSetRange(state->bar, 0, maxTop);
    JScrollBarSetPage(state->bar, VisibleItems(list));
    JScrollBarSetPosition(state->bar, state->top);
    // Its own flag, not JIsWindowVisible: the list may sit in a pop-up not shown yet.
    const bool wanted = maxTop > 0;
    if (wanted != state->barShown) {
        state->barShown = wanted;
        wanted ? JShowWindow(state->bar, false) : JHideWindow(state->bar);
    }
}

void ScrollTo(JWnd list, ListState* state, int top) {
    top = std::clamp(top, 0, MaxTop(list, *state));
    if (top != state->top) {
        state->top = top;
        UpdateBar(list, state);
        JInvalidateRect(list, nullptr);
    }
}

void ShowItem(JWnd list, ListState* state, int index) {
    if (index < state->top) {
        ScrollTo(list, state, index);
    } else if (index >= state->top + VisibleItems(list)) {
        ScrollTo(list, state, index - VisibleItems(list) + 1);
    }
}

void Select(JWnd list, ListState* state, int index, bool notify) {
    index = Count(*state) == 0 ? -1 : std::clamp(index, -1, Count(*state) - 1);
    if (index >= 0) {
        ShowItem(list, state, index);
    }
    if (index == state->selection) {
        return;
    }
    state->selection = index;
    JInvalidateRect(list, nullptr);
    if (notify) {
        JNotifyParent(list, kNotifySelChange);
    }
}

int ItemAt(JWnd list, const ListState& state, int y) {
    const int offset = y - BorderOf(list);
    return state.top + (offset >= 0 ? offset / JListBoxItemHeight() : -1);
}

// Only whole rows are drawn: a row cut by the bottom edge is left out.
void Paint(JWnd list) {
    const ListState* state = Lists().Find(list);
    if (state == nullptr) {
        return;
    }
    JPaintControl(list, [&](const JRect& client) {
        JFillArea(client, JSysColour::Window);
        const int border = BorderOf(list);
        const JRect bar = state->barShown ? JWindowBounds(state->bar) : JRect{};
        const int right = bar.Empty() ? client.right - border : bar.left;
        const bool enabled = JIsWindowEnabled(list);
        const int last = std::min(Count(*state), state->top + VisibleItems(list));
        for (int i = state->top; i < last; ++i) {
            JRect row = JListBoxItemRect(list, i);
            row.right = right;
            const bool selected = i == state->selection;
            if (selected) {
                JFillArea(row, JSysColour::Highlight);
            }
            const JRect text{row.left + 2, row.top, row.right, row.bottom};
            JDrawTextIn(text, state->items[static_cast<std::size_t>(i)], JTextAlign::Left,
                        selected ? JSysColour::HighlightText : JSysColour::WindowText, enabled);
        }
        const int focusRow = state->selection >= 0 ? state->selection : 0;
        if (JFocusWindow() == list && focusRow >= state->top && focusRow < last) {
            JRect row = JListBoxItemRect(list, focusRow);
            row.right = right;
            JDrawFocusFrame(row);
        }
        if (border > 0) {
            JDrawBevel(client, false);
        }
    });
}

// The list's open-list form follows the mouse with its highlight.
void Hover(JWnd list, ListState* state, const JMessage& message) {
    const int index = ItemAt(list, *state, message.y);
    if (index >= state->top && index < std::min(Count(*state), state->top + VisibleItems(list))) {
        Select(list, state, index, false);
    }
}

// --- input ---

void MouseDown(JWnd list, ListState* state, const JMessage& message) {
    if ((JWindowStyle(list) & kLbsKeepFocus) == 0) {
        JSetFocus(list);
    }
    const int index = ItemAt(list, *state, message.y);
    if (index < 0 || index >= Count(*state)) {
        return;
    }
    // In an open drop-down list the mouse has already highlighted the item:
    // the click still chooses it.
    const bool alreadySelected = index == state->selection;
    Select(list, state, index, true);
    if (alreadySelected && (JWindowStyle(list) & kLbsDropped) != 0) {
        JNotifyParent(list, kNotifySelChange);
    }
    if (message.clicks >= 2) {
        JNotifyParent(list, kNotifyDoubleClick);
        return;
    }
    state->dragging = true;
    JSetCapture(list);
}

void MouseMove(JWnd list, ListState* state, const JMessage& message) {
    if (!state->dragging && (JWindowStyle(list) & kLbsDropped) != 0) {
        Hover(list, state, message);
    } else if (state->dragging) {
        Select(list, state, std::clamp(ItemAt(list, *state, message.y), 0, Count(*state) - 1),
               true);
    }
}

void MouseUp(JWnd list, ListState* state) {
    state->dragging = false;
    if (JCaptureWindow() == list) {
        JReleaseCapture();
    }
}

void KeyDown(JWnd list, ListState* state, std::uint16_t key) {
    const int page = VisibleItems(list);
    const int current = state->selection;
    switch (key) {
        case kKeyUp:
            Select(list, state, current < 0 ? 0 : current - 1, true);
            break;
        case kKeyDown:
            Select(list, state, current + 1, true);
            break;
        case kKeyPageUp:
            Select(list, state, std::max(0, current - page + 1), true);
            break;
        case kKeyPageDown:
            Select(list, state, current + page - 1, true);
            break;
        case kKeyHome:
            Select(list, state, 0, true);
            break;
        case kKeyEnd:
            Select(list, state, Count(*state) - 1, true);
            break;
        default:
            break;
    }
}

// The list's own scroll bar reports here.
void Scrolled(JWnd list, ListState* state, const JMessage& message) {
    switch (message.code) {
        case kScrollLine:
            ScrollTo(list, state, state->top + message.value);
            break;
        case kScrollPage:
            ScrollTo(list, state, state->top + message.value * VisibleItems(list));
            break;
        case kScrollEnd:
            ScrollTo(list, state, message.value < 0 ? 0 : MaxTop(list, *state));
            break;
        case kScrollThumb:
        case kScrollThumbTrack:
            ScrollTo(list, state, message.value);
            break;
        default:
            break;
    }
}

void Create(JWnd list) {
    ListState* state = Lists().Add(list);
    const JRect client = JWindowClientRect(list);
    JControlSpec bar;
    bar.parent = list;
    const int border = BorderOf(list);
    bar.bounds = JRect{client.right - border - JScrollBarWidth(), border, client.right - border,
                       client.bottom - border};
    bar.style = kSbsVertical;
    state->bar = JCreateScrollBar(bar);
    UpdateBar(list, state);
}

JResult Input(JWnd list, ListState* state, const JMessage& message) {
    switch (message.type) {
        case JMsg::MouseDown:
            MouseDown(list, state, message);
            return 0;
        case JMsg::MouseMove:
            MouseMove(list, state, message);
            return 0;
        case JMsg::MouseUp:
        case JMsg::CaptureLost:
            MouseUp(list, state);
            return 0;
        case JMsg::Wheel:
            ScrollTo(list, state, state->top - message.value * kWheelLines);
            return 0;
        case JMsg::KeyDown:
            KeyDown(list, state, message.key);
            return 0;
        case JMsg::VScroll:
            Scrolled(list, state, message);
            return 0;
        default:
            return JDefWindowProc(list, message);
    }
}

JResult ListProc(JWnd list, const JMessage& message) {
    if (message.type == JMsg::Create) {
        Create(list);
        return 0;
    }
    ListState* state = Lists().Find(list);
    if (state == nullptr) {
        return JDefWindowProc(list, message);
    }
    switch (message.type) {
        case JMsg::Destroy:
            Lists().Remove(list);
            return 0;
        case JMsg::Paint:
            Paint(list);
            return 0;
        case JMsg::GetDialogCode:
            return kDlgWantsArrows;
        case JMsg::SetFocus:
        case JMsg::KillFocus:
        case JMsg::Enable:
            JInvalidateRect(list, nullptr);
            return 0;
        default:
            return Input(list, state, message);
    }
}

}  // namespace

JWnd JCreateListBox(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kListBoxClass;
    windowClass.proc = ListProc;
    windowClass.background = JSystemColour(JSysColour::Window);
    JControlSpec whole = spec;
    const int border = (spec.style & kLbsDropped) != 0 ? 0 : kBevel;
    const int rows = std::max(1, (spec.bounds.Height() - 2 * border) / JListBoxItemHeight());
    whole.bounds.bottom = whole.bounds.top + rows * JListBoxItemHeight() + 2 * border;
    return JCreateControlWindow(windowClass, whole, kWsTabStop);
}

int JListBoxAddItem(JWnd list, const char* text) {
    ListState* state = Lists().Find(list);
    if (state == nullptr) {
        return -1;
    }
    state->items.emplace_back(text != nullptr ? text : "");
    UpdateBar(list, state);
    JInvalidateRect(list, nullptr);
    return Count(*state) - 1;
}

void JListBoxClear(JWnd list) {
    if (ListState* state = Lists().Find(list)) {
        state->items.clear();
        state->selection = -1;
        state->top = 0;
        UpdateBar(list, state);
        JInvalidateRect(list, nullptr);
    }
}

int JListBoxCount(JWnd list) {
    const ListState* state = Lists().Find(list);
    return state != nullptr ? Count(*state) : 0;
}

std::string JListBoxItem(JWnd list, int index) {
    const ListState* state = Lists().Find(list);
    if (state == nullptr || index < 0 || index >= Count(*state)) {
        return std::string();
    }
    return state->items[static_cast<std::size_t>(index)];
}

void JListBoxSetSelection(JWnd list, int index) {
    if (ListState* state = Lists().Find(list)) {
        Select(list, state, index, false);
    }
}

int JListBoxSelection(JWnd list) {
    const ListState* state = Lists().Find(list);
    return state != nullptr ? state->selection : -1;
}

int JListBoxTopIndex(JWnd list) {
    const ListState* state = Lists().Find(list);
    return state != nullptr ? state->top : 0;
}

void JListBoxSetTopIndex(JWnd list, int index) {
    if (ListState* state = Lists().Find(list)) {
        ScrollTo(list, state, index);
    }
}

int JListBoxItemHeight() {
    return JControlLineHeight() + 2;
}

JRect JListBoxItemRect(JWnd list, int index) {
    const int border = BorderOf(list);
    const int top = border + (index - JListBoxTopIndex(list)) * JListBoxItemHeight();
    const JRect client = JWindowClientRect(list);
    return JRect{border, top, client.right - border, top + JListBoxItemHeight()};
}

JWnd JListBoxScrollBar(JWnd list) {
    const ListState* state = Lists().Find(list);
    return state != nullptr ? state->bar : kNoWindow;
}
