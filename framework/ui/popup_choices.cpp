#include "framework/ui/popup_choices.h"

#include <algorithm>
#include <vector>

#include "framework/core/strings.h"
#include "framework/ui/control_drawing.h"
#include "framework/ui/main_frame.h"
#include "framework/ui/popup_windows.h"
#include "framework/ui/timers.h"

namespace {

constexpr std::uint32_t kArrowRepeatMs = 80;

void MeasureText(void* item, int* width, int* height) {
    JUiMeasureText(static_cast<const char*>(item), width, height);
}

void DrawText(void* item, int x, int top, bool highlighted) {
    JUiDrawText(x, top, static_cast<const char*>(item),
                highlighted ? JUiSelectionText() : JUiBlack(), true);
}

void* MakeText(void* value) {
    return JStrDup(value != nullptr ? static_cast<const char*>(value) : "");
}

void ReleaseText(void* item) {
    JStrFree(static_cast<char*>(item));
}

void* TextOf(void* item) {
    return item;
}

constexpr JChoiceHooks kTextHooks{MeasureText, DrawText, MakeText, ReleaseText, TextOf};

struct PopupChoice : JKindRecord {
    std::vector<void*> items;
    std::vector<int> widths;
    std::vector<int> heights;
    int widest = 0;
    int tallest = 0;
    int listHeight = 1;
    int selected = 0;
    int alignment = 0;
    bool shadowed = true;
    bool leftColumn = true;
    int arrowUnit = 0;
    int arrowWidth = 0;
    int leftColumnWidth = 0;
    JChoiceCallback callback = nullptr;
    JChoiceHooks hooks = kTextHooks;

    ~PopupChoice() override { ReleaseItems(); }
    void ReleaseItems() {
        for (void* item : items) {
            hooks.release(item);
        }
        items.clear();
        widths.clear();
        heights.clear();
    }
};

// The one open list.
struct OpenList {
    JWindow* window = nullptr;
    JControl* choice = nullptr;
    int hot = -1;
    int firstShown = 0;
    bool arrows = false;
    bool moved = false;  // the pointer moved since the list opened
    JTimer* repeat = nullptr;
};

OpenList& List() {
    static OpenList list;
    return list;
}

PopupChoice* ChoiceOf(JControl* control) {
    return JKindDataOf<PopupChoice>(control);
}

int ItemTop(const PopupChoice& choice, int index) {
    int top = 1;
    for (int i = 0; i < index; ++i) {
        top += choice.heights[static_cast<std::size_t>(i)] + 1;
    }
    return top;
}

void ComputeGeometry(JControl* control, int height) {
    PopupChoice* choice = ChoiceOf(control);
    choice->arrowUnit = height / 6 + 1;
    choice->arrowWidth = 2 * choice->arrowUnit;
    choice->leftColumnWidth = choice->leftColumn ? (2 * choice->arrowUnit / 6) * 4 + 3 : 0;
}

void NaturalSize(JControl* control, int* width, int* height) {
    PopupChoice* choice = ChoiceOf(control);
    const int shadow = choice->shadowed ? 1 : 0;
    *height = choice->tallest + 4 + shadow;
    ComputeGeometry(control, *height);
    *width = choice->arrowWidth + choice->widest + 12 + choice->leftColumnWidth + shadow;
}

void SetSize(JControl* control, int width, int height) {
    if (height == 0) {
        height = ChoiceOf(control)->tallest + 4 + (ChoiceOf(control)->shadowed ? 1 : 0);
    }
    ComputeGeometry(control, height);
    JDefaultSetSize(control, width, height);
}

JRect BoxRect(JControl* control) {
    const int shadow = ChoiceOf(control)->shadowed ? 1 : 0;
    return JRect{control->left, control->top, control->left + control->width - shadow,
                 control->top + control->height - shadow};
}

void Draw(JControl* control) {
    PopupChoice* choice = ChoiceOf(control);
    const JRect box = BoxRect(control);
    JFillArea(box, JUiWhite());
    JFrameArea(box, JUiBlack());
    if (choice->shadowed) {
        JSetForeColour(JUiBlack());
        JDrawLine(box.left + 3, box.bottom, box.right, box.bottom);
        JDrawLine(box.right, box.top + 3, box.right, box.bottom);
    }
    const int u = choice->arrowUnit;
    const int s = box.Height() / 12 + 2;
    const int x0 = control->left + box.Width() - u - 4 - s;
    const int mid = control->top + box.Height() / 2;
    const JPoint triangle[] = {{x0, mid - s}, {x0 + 2 * s, mid - s}, {x0 + s, mid + s}};
    JSetForeColour(JUiBlack());
    JSetFillPattern(control->Enabled() ? 1 : 4);
    JFillPolygon(triangle, 3);
    JSetFillPattern(1);
    if (choice->items.empty()) {
        return;
    }
    const JRect area{control->left + choice->leftColumnWidth + 6, control->top + 2,
                     box.right - choice->arrowWidth - 4, box.bottom};
    const auto index = static_cast<std::size_t>(choice->selected);
    const int x = choice->alignment == 2 ? area.right - choice->widths[index] : area.left;
    JSetClipRects(&area, 1);
    choice->hooks.draw(choice->items[index], x, area.top, false);
}

// --- the open list ---

JRect ListItemsArea(const OpenList& list) {
    const int arrows = list.arrows ? kChoiceArrowHeight : 0;
    return JRect{0, arrows, list.window->width, list.window->height - arrows};
}

int ItemAtPoint(const OpenList& list, int x, int y) {
    const PopupChoice* choice = ChoiceOf(list.choice);
    const JRect area = ListItemsArea(list);
    if (!area.Contains(x, y)) {
        return -1;
    }
    int top = area.top + 1;
    for (int i = list.firstShown; i < static_cast<int>(choice->items.size()); ++i) {
        const int height = choice->heights[static_cast<std::size_t>(i)] + 1;
        if (y >= top && y < top + height) {
            return i;
        }
        top += height;
    }
    return -1;
}

int ShownCount(const OpenList& list) {
    const PopupChoice* choice = ChoiceOf(list.choice);
    const JRect area = ListItemsArea(list);
    int top = area.top + 1;
    int count = 0;
    for (int i = list.firstShown; i < static_cast<int>(choice->items.size()); ++i) {
        top += choice->heights[static_cast<std::size_t>(i)] + 1;
        if (top > area.bottom) {
            break;
        }
        ++count;
    }
    return count;
}

void DrawArrowStrip(const JRect& strip, bool up, bool enabled) {
    JFillArea(strip, JUiFace());
    JDrawArrow(strip, up ? JArrowDirection::Up : JArrowDirection::Down, enabled);
}

bool DrawList(JWindow* window, const JHandlerEvent&) {
    OpenList& list = List();
    if (list.window != window) {
        return false;
    }
    PopupChoice* choice = ChoiceOf(list.choice);
    const JRect area = ListItemsArea(list);
    JSelectPenState(JControlPen());
    JSetClipRects(&area, 1);
    int top = area.top + 1;
    for (int i = list.firstShown; i < static_cast<int>(choice->items.size()) && top < area.bottom;
         ++i) {
        const int height = choice->heights[static_cast<std::size_t>(i)];
        const bool hot = i == list.hot;
        if (hot) {
            JFillArea(JRect{0, top - 1, window->width, top + height + 1}, JUiSelection());
        }
        choice->hooks.draw(choice->items[static_cast<std::size_t>(i)], choice->leftColumnWidth + 5,
                           top, hot);
        top += height + 1;
    }
    JClearClip();
    if (list.arrows) {
        const bool more =
            list.firstShown + ShownCount(list) < static_cast<int>(choice->items.size());
        DrawArrowStrip(JRect{0, 0, window->width, kChoiceArrowHeight}, true, list.firstShown > 0);
        DrawArrowStrip(JRect{0, window->height - kChoiceArrowHeight, window->width, window->height},
                       false, more);
    }
    return true;
}

void CloseList() {
    OpenList& list = List();
    if (list.window == nullptr) {
        return;
    }
    JTimerCancel(list.repeat);
    JWindow* window = list.window;
    list = OpenList{};
    JWindowDestroy(window);
}

void SetHot(int hot) {
    OpenList& list = List();
    if (hot != list.hot) {
        list.hot = hot;
        JInvalidateRect(list.window->platform, nullptr);
    }
}

// While the pointer rests on a scroll arrow the list scrolls one item a
// step; the timer arms itself again until the pointer leaves the arrow.
int ArrowUnderPointer() {
    const OpenList& list = List();
    if (list.window == nullptr || !list.arrows) {
        return 0;
    }
    const JPoint point = JFrameToClient(list.window->platform, JPointerPosition());
    if (point.x < 0 || point.x >= list.window->width) {
        return 0;
    }
    if (point.y < kChoiceArrowHeight && point.y >= 0) {
        return -1;
    }
    if (point.y >= list.window->height - kChoiceArrowHeight && point.y < list.window->height) {
        return 1;
    }
    return 0;
}

void Repeat(void*) {
    OpenList& list = List();
    list.repeat = nullptr;
    const int direction = ArrowUnderPointer();
    if (direction == 0) {
        return;
    }
    const int count = static_cast<int>(ChoiceOf(list.choice)->items.size());
    const int first =
        std::clamp(list.firstShown + direction, 0, std::max(0, count - ShownCount(list)));
    if (first != list.firstShown) {
        list.firstShown = first;
        JInvalidateRect(list.window->platform, nullptr);
    }
    list.repeat = JTimerNew(Repeat, nullptr, kArrowRepeatMs);
}

bool ListMoved(JWindow* window, const JHandlerEvent& event) {
    OpenList& list = List();
    if (list.window != window) {
        return false;
    }
    list.moved = true;
    SetHot(ItemAtPoint(list, event.x, event.y));
    if (ArrowUnderPointer() != 0 && list.repeat == nullptr) {
        list.repeat = JTimerNew(Repeat, nullptr, kArrowRepeatMs);
    }
    return true;
}

bool ListPressed(JWindow* window, const JHandlerEvent& event) {
    // A press outside an open list (after a click left it open) closes it.
    if (List().window == window && ItemAtPoint(List(), event.x, event.y) < 0 &&
        ArrowUnderPointer() == 0) {
        CloseList();
    }
    return true;
}

bool ListReleased(JWindow* window, const JHandlerEvent& event) {
    OpenList& list = List();
    if (list.window != window) {
        return false;
    }
    if ((event.modifiers & kUiNotPlainClick) != 0) {
        JPopupHoldMouse(window);
        return true;
    }
    const int item = ItemAtPoint(list, event.x, event.y);
    if (!list.moved && ArrowUnderPointer() == 0) {
        list.moved = true;  // a plain click opened it: wait for the next one
        JPopupHoldMouse(window);
        return true;
    }
    if (ArrowUnderPointer() != 0) {
        JPopupHoldMouse(window);
        return true;
    }
    JControl* control = list.choice;
    CloseList();
    PopupChoice* choice = ChoiceOf(control);
    if (item >= 0 && item != choice->selected) {
        choice->selected = item;
        JControlRedraw(control);
        if (choice->callback != nullptr) {
            choice->callback(control, item);
        }
    }
    return true;
}

bool ListCommand(JWindow* window, const JHandlerEvent&) {
    if (List().window == window) {
        CloseList();
    }
    return true;
}

void OpenListFor(JControl* control) {
    PopupChoice* choice = ChoiceOf(control);
    const JRect desk = JDeskRect();
    const JRect box = JControlDeskRect(control);
    const int width = std::max(control->width - 3,
                               choice->leftColumnWidth + choice->arrowWidth + choice->widest + 10);
    OpenList& list = List();
    list.choice = control;
    list.hot = choice->selected;
    int height = choice->listHeight;
    int top = box.top - ItemTop(*choice, choice->selected) + 2;
    if (height > desk.bottom - 8) {
        height = desk.bottom - 8;
        top = desk.top + 2;
        list.arrows = true;
    }
    JRect bounds = JKeepOnDesk(JRect{box.left + 1, top, box.left + 1 + width, top + height});
    list.window = JOpenPopupWindow(bounds);
    JWindowSetHandler(list.window, kSlotDraw, DrawList);
    JWindowSetHandler(list.window, kSlotMouseDown, ListPressed);
    JWindowSetHandler(list.window, kSlotMouseUp, ListReleased);
    JWindowSetHandler(list.window, kSlotMouseMoved, ListMoved);
    JWindowSetHandler(list.window, kSlotPopupCommand, ListCommand);
    if (list.arrows) {
        // The pointer stays where it is: the list scrolls so that the
        // selected item lies under the box, as far as it can.
        const int boxMiddle = (box.top + box.bottom) / 2 - bounds.top;
        int first = choice->selected;
        while (first > 0 && kChoiceArrowHeight + 1 + ItemTop(*choice, choice->selected) -
                                    ItemTop(*choice, first - 1) <=
                                boxMiddle) {
            --first;
        }
        const int count = static_cast<int>(choice->items.size());
        list.firstShown = first;
        list.firstShown = std::clamp(first, 0, std::max(0, count - ShownCount(list)));
    }
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    if (!control->Enabled() || (event.modifiers & kUiNotPlainClick) != 0 ||
        ChoiceOf(control)->items.empty() || List().window != nullptr) {
        return;
    }
    OpenListFor(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<PopupChoice>();
}

void Destroy(JControl* control) {
    if (List().choice == control) {
        CloseList();
    }
}

void Remeasure(JControl* control) {
    PopupChoice* choice = ChoiceOf(control);
    choice->widths.clear();
    choice->heights.clear();
    choice->widest = 0;
    choice->tallest = 0;
    choice->listHeight = 1;
    for (void* item : choice->items) {
        int width = 0;
        int height = 0;
        choice->hooks.measure(item, &width, &height);
        choice->widths.push_back(width);
        choice->heights.push_back(height);
        choice->widest = std::max(choice->widest, width);
        choice->tallest = std::max(choice->tallest, height);
        choice->listHeight += height + 1;
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("pop-up choice");
    kind.create = Create;
    kind.destroy = Destroy;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    kind.setSize = SetSize;
    kind.mouseDown = MouseDown;
    return kind;
}

}  // namespace

const ControlKind* JPopupChoiceKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JChoiceSetItems(JControl* control, int count, void* const* values) {
    PopupChoice* choice = ChoiceOf(control);
    if (List().choice == control) {
        CloseList();
    }
    choice->ReleaseItems();
    for (int i = 0; i < count; ++i) {
        choice->items.push_back(choice->hooks.make(values[i]));
    }
    Remeasure(control);
    choice->selected = 0;
    JControlRedraw(control);
}

void JChoiceSetTexts(JControl* control, int count, const char* const* texts) {
    std::vector<void*> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(const_cast<char*>(texts[i]));
    }
    JChoiceSetItems(control, count, values.data());
}

void JChoiceSelect(JControl* control, int index) {
    PopupChoice* choice = ChoiceOf(control);
    if (index >= 0 && index < static_cast<int>(choice->items.size())) {
        choice->selected = index;
        JControlRedraw(control);
    }
}

int JChoiceSelectedIndex(JControl* control) {
    return ChoiceOf(control)->selected;
}

void* JChoiceItem(JControl* control, int index) {
    PopupChoice* choice = ChoiceOf(control);
    if (index < 0 || index >= static_cast<int>(choice->items.size())) {
        return nullptr;
    }
    return choice->hooks.valueOf(choice->items[static_cast<std::size_t>(index)]);
}

void* JChoiceSelected(JControl* control) {
    return JChoiceItem(control, ChoiceOf(control)->selected);
}

void JChoiceSetAlignment(JControl* control, int alignment) {
    ChoiceOf(control)->alignment = alignment == 2 ? 2 : 0;
    JControlRedraw(control);
}

void JChoiceSetCallback(JControl* control, JChoiceCallback callback) {
    ChoiceOf(control)->callback = callback;
}

void JChoiceSetHooks(JControl* control, const JChoiceHooks& hooks) {
    PopupChoice* choice = ChoiceOf(control);
    choice->ReleaseItems();
    choice->hooks = hooks;
    Remeasure(control);
    JControlRedraw(control);
}

JWindow* JChoiceListWindow() {
    return List().window;
}

int JChoiceListFirstShown() {
    return List().firstShown;
}

bool JChoiceListHasArrows() {
    return List().arrows;
}
