// The user in the menus. An input hook sees every input message first: while
// no menu is open it watches for Alt, Alt with a mnemonic, F10, Alt+Space,
// Alt+minus and presses on the menu bar; while menus are open (the frame
// holds the capture) it takes every mouse and key message, moves the
// highlight, opens and closes pop-ups and posts the chosen item's command.
// Pop-ups are top-most platform windows that never take the activation.
#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/platform/windows/menu_system.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window_paint.h"

namespace {

constexpr const char* kPopupClass = "JMenuPopup";
constexpr std::uint32_t kPopupStyle = kWsPopup | kWsNoActivate;
constexpr std::uint16_t kKeyF10 = kKeyF1 + 9;

struct OpenMenu {
    JMenu menu = kNoMenu;
    JWnd window = kNoWindow;  // the pop-up showing it
    int highlight = -1;
};

struct Tracking {
    bool active = false;
    int barSlot = -1;            // the bar's highlighted slot; -1 for a window's system menu
    JWnd owner = kNoWindow;      // who is told the choice
    bool systemMenu = false;     // the open menus start with the owner's system menu
    std::vector<OpenMenu> open;  // the first level first
};

struct HookState {
    bool installed = false;
    bool altPending = false;  // Alt went down and nothing else yet
    // The menus took the last key press: the text the backend sends for the
    // same key after its press belongs to them too, even when the press
    // closed the menus (a mnemonic choosing an item).
    bool swallowChar = false;
    bool swallowMouseUp = false;  // the release of a press that closed the menus
};

Tracking& Track() {
    static Tracking tracking;
    return tracking;
}

HookState& Hooks() {
    static HookState state;
    return state;
}

// Where a point falls among the menus.
struct MenuHit {
    int level = -1;  // an open pop-up
    int item = -1;   // an item of it
    int slot = -1;   // a slot of the bar
};

OpenMenu* OpenMenuOf(JWnd window) {
    for (OpenMenu& open : Track().open) {
        if (open.window == window) {
            return &open;
        }
    }
    return nullptr;
}

JResult PopupProc(JWnd window, const JMessage& message) {
    if (message.type != JMsg::Paint) {
        return JDefWindowProc(window, message);
    }
    JPaintInfo paint;
    JBeginPaint(window, &paint);
    const OpenMenu* open = OpenMenuOf(window);
    const MenuRecord* record = open != nullptr ? FindMenu(open->menu) : nullptr;
    if (record != nullptr) {
        PaintPopup(JCurrentRasterTarget(), *record, open->highlight);
    }
    JEndPaint(window, paint);
    return 0;
}

void RegisterPopupClass() {
    if (!JIsClassRegistered(kPopupClass)) {
        JWindowClass popup;
        popup.name = kPopupClass;
        popup.proc = PopupProc;
        popup.flags = kClassNoBackground;
        JRegisterClass(popup);
    }
}

// The pop-up's outer rectangle in frame coordinates.
JRect PopupBoundsInFrame(const OpenMenu& open) {
    const JRect bounds = JWindowBounds(open.window);
    const JPoint origin = JClientToFrame(JFrameWindow(), JPoint{bounds.left, bounds.top});
    return JRectOffset(bounds, origin.x - bounds.left, origin.y - bounds.top);
}

JPoint PopupClientOrigin(const OpenMenu& open) {
    return JClientToFrame(open.window, JPoint{0, 0});
}

void SetHighlight(OpenMenu& open, int item) {
    if (open.highlight != item) {
        open.highlight = item;
        JInvalidateRect(open.window, nullptr);
    }
}

void CloseLevelsFrom(std::size_t level) {
    auto& open = Track().open;
    while (open.size() > level) {
        const JWnd window = open.back().window;
        open.pop_back();
        JDestroyWindow(window);
    }
}

int NextSelectable(const MenuRecord& menu, int from, int step) {
    const int count = static_cast<int>(menu.items.size());
    int index = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (menu.items[static_cast<std::size_t>(index)].Selectable()) {
            return index;
        }
    }
    return -1;
}

// Opens a pop-up with its top-left corner at a frame point, kept inside the
// frame's client area.
void OpenPopup(JMenu menu, JPoint framePoint, bool selectFirst) {
    const MenuRecord* record = FindMenu(menu);
    if (record == nullptr || record->items.empty()) {
        return;
    }
    RegisterPopupClass();
    const JPoint size = PopupClientSize(*record);
    const JRect borders = JBordersForStyle(kPopupStyle);
    const int width = size.x + borders.left + borders.right;
    const int height = size.y + borders.top + borders.bottom;
    const JRect area = JWindowClientRect(JFrameWindow());
    JPoint at = JFrameToClient(JFrameWindow(), framePoint);
    at.x = std::max(0, std::min(at.x, area.right - width));
    at.y = std::max(0, std::min(at.y, area.bottom - height));
    JWindowSpec spec;
    spec.className = kPopupClass;
    spec.style = kPopupStyle;
    spec.bounds = JRect{at.x, at.y, at.x + width, at.y + height};
    spec.parent = JFrameWindow();
    const JWnd window = JCreateWindow(spec);
    if (window == kNoWindow) {
        return;
    }
    Track().open.push_back(
        OpenMenu{menu, window, selectFirst ? NextSelectable(*record, -1, 1) : -1});
    JShowWindow(window, false);
}

void InvalidateBar() {
    if (FrameMenuBar() != kNoMenu) {
        JInvalidateMenuBarStrip();
    }
}

void BeginTracking(JWnd owner, bool systemMenu, int barSlot) {
    Tracking& track = Track();
    CloseLevelsFrom(0);
    track.active = true;
    track.owner = owner;
    track.systemMenu = systemMenu;
    track.barSlot = barSlot;
    JSetCapture(JFrameWindow());
    InvalidateBar();
}

void EndTracking() {
    Tracking& track = Track();
    if (!track.active) {
        return;
    }
    CloseLevelsFrom(0);
    track = Tracking{};
    if (JCaptureWindow() != kNoWindow && JCaptureWindow() == JFrameWindow()) {
        JReleaseCapture();
    }
    InvalidateBar();
}

void Choose(int command) {
    const Tracking track = Track();
    EndTracking();
    const bool system = track.systemMenu && command >= kFirstSystemCommand;
    JPostMessage(JMakeMessage(track.owner, system ? JMsg::SysCommand : JMsg::Command, command));
}

const MenuItemRecord* BarItem(int slot) {
    return slot > 0 ? FindMenuItem(FrameMenuBar(), slot - 1) : nullptr;
}

// Highlights a slot of the bar with nothing open under it.
void HighlightSlot(int slot) {
    CloseLevelsFrom(0);
    Track().barSlot = slot;
    Track().owner = JFrameWindow();
    Track().systemMenu = slot == 0;
    InvalidateBar();
}

// Opens the pop-up under a slot of the bar; a title without one only lights.
void OpenSlot(int slot, bool selectFirst) {
    HighlightSlot(slot);
    const JRect rect = MenuBarSlotRect(slot);
    const JPoint below{rect.left, kMenuBarHeight};
    if (slot == 0) {
        const JMenu system = JGetSystemMenu(JFrameWindow(), false);
        RefreshSystemMenu(JFrameWindow(), system);
        OpenPopup(system, below, selectFirst);
        return;
    }
    const MenuItemRecord* item = BarItem(slot);
    if (item != nullptr && item->subMenu != kNoMenu && !item->Greyed()) {
        OpenPopup(item->subMenu, below, selectFirst);
    }
}

// A slot chosen from the keyboard: a pop-up opens, a command is chosen.
void EnterSlot(int slot) {
    const MenuItemRecord* item = BarItem(slot);
    if (item != nullptr && item->subMenu == kNoMenu) {
        if (item->Selectable()) {
            Choose(item->command);
        }
        return;
    }
    OpenSlot(slot, true);
}

int SlotWithMnemonic(std::uint16_t key) {
    const MenuRecord* bar = FindMenu(FrameMenuBar());
    if (bar == nullptr || key > 0xFF || !std::isalnum(key)) {
        return -1;
    }
    for (std::size_t i = 0; i < bar->items.size(); ++i) {
        if (!bar->items[i].Separator() && MenuMnemonic(bar->items[i].text) == key) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

int ItemWithMnemonic(const MenuRecord& menu, std::uint16_t key) {
    if (key > 0xFF || !std::isalnum(key)) {
        return -1;
    }
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i].Selectable() && MenuMnemonic(menu.items[i].text) == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void OpenSubMenu(std::size_t level, int item, bool selectFirst) {
    Tracking& track = Track();
    const MenuRecord* record = FindMenu(track.open[level].menu);
    const MenuItemRecord* entry = FindMenuItem(track.open[level].menu, item);
    if (record == nullptr || entry == nullptr || entry->subMenu == kNoMenu || entry->Greyed()) {
        return;
    }
    if (track.open.size() > level + 1 && track.open[level + 1].menu == entry->subMenu) {
        return;  // already open
    }
    CloseLevelsFrom(level + 1);
    const JRect outer = PopupBoundsInFrame(track.open[level]);
    const JPoint origin = PopupClientOrigin(track.open[level]);
    const JRect rect = PopupItemRect(*record, item);
    OpenPopup(entry->subMenu, JPoint{outer.right - 2, origin.y + rect.top - 1}, selectFirst);
}

// An item chosen by a click, Return or its mnemonic.
void ActivateItem(std::size_t level, int item) {
    const MenuItemRecord* entry = FindMenuItem(Track().open[level].menu, item);
    if (entry == nullptr || !entry->Selectable()) {
        return;
    }
    SetHighlight(Track().open[level], item);
    if (entry->subMenu != kNoMenu) {
        OpenSubMenu(level, item, true);
    } else {
        Choose(entry->command);
    }
}

int WrapSlot(int slot) {
    const int count = MenuBarSlotCount();
    return count > 0 ? (slot + count) % count : -1;
}

void Beep() {
    JBackendCurrent().beep();
}

// --- keys while the menus are open ---

void EscapeKey() {
    Tracking& track = Track();
    if (track.open.size() > 1) {
        CloseLevelsFrom(track.open.size() - 1);
    } else if (track.open.size() == 1 && track.barSlot >= 0) {
        HighlightSlot(track.barSlot);
    } else {
        EndTracking();
    }
}

// The bar is entered and nothing is open under it.
void BarKey(std::uint16_t key) {
    const int slot = Track().barSlot;
    switch (key) {
        case kKeyLeft:
        case kKeyRight:
            HighlightSlot(WrapSlot(slot + (key == kKeyRight ? 1 : -1)));
            break;
        case kKeyUp:
        case kKeyDown:
        case kKeyReturn:
            EnterSlot(slot);
            break;
        default: {
            const int found = SlotWithMnemonic(key);
            if (found >= 0) {
                EnterSlot(found);
            } else if (key <= 0xFF && std::isalnum(key)) {
                Beep();
            }
            break;
        }
    }
}

void PopupKey(std::uint16_t key, std::uint16_t modifiers) {
    Tracking& track = Track();
    const std::size_t level = track.open.size() - 1;
    OpenMenu& open = track.open[level];
    const MenuRecord* record = FindMenu(open.menu);
    if (record == nullptr) {
        EndTracking();
        return;
    }
    switch (key) {
        case kKeyUp:
        case kKeyDown:
            SetHighlight(open, NextSelectable(*record, open.highlight, key == kKeyDown ? 1 : -1));
            return;
        case kKeyReturn:
            ActivateItem(level, open.highlight);
            return;
        case kKeyRight: {
            const MenuItemRecord* entry = FindMenuItem(open.menu, open.highlight);
            if (entry != nullptr && entry->subMenu != kNoMenu) {
                OpenSubMenu(level, open.highlight, true);
            } else if (track.barSlot >= 0) {
                OpenSlot(WrapSlot(track.barSlot + 1), true);
            }
            return;
        }
        case kKeyLeft:
            if (level > 0) {
                CloseLevelsFrom(level);
            } else if (track.barSlot >= 0) {
                OpenSlot(WrapSlot(track.barSlot - 1), true);
            }
            return;
        default:
            break;
    }
    const int item = ItemWithMnemonic(*record, key);
    if (item >= 0) {
        ActivateItem(level, item);
    } else if ((modifiers & kModAlt) != 0 && track.barSlot >= 0 && SlotWithMnemonic(key) >= 0) {
        EnterSlot(SlotWithMnemonic(key));
    } else if (key <= 0xFF && std::isalnum(key)) {
        Beep();
    }
}

void TrackKey(const JMessage& message) {
    if (message.key == kKeyAlt || message.key == kKeyF10) {
        EndTracking();
    } else if (message.key == kKeyEscape) {
        EscapeKey();
    } else if (Track().open.empty()) {
        BarKey(message.key);
    } else {
        PopupKey(message.key, message.modifiers);
    }
}

// --- the mouse while the menus are open ---

MenuHit HitTest(JPoint framePoint) {
    const auto& open = Track().open;
    for (std::size_t level = open.size(); level-- > 0;) {
        if (!PopupBoundsInFrame(open[level]).Contains(framePoint.x, framePoint.y)) {
            continue;
        }
        MenuHit hit;
        hit.level = static_cast<int>(level);
        const MenuRecord* record = FindMenu(open[level].menu);
        const JPoint origin = PopupClientOrigin(open[level]);
        if (record != nullptr) {
            hit.item =
                PopupItemAt(*record, JPoint{framePoint.x - origin.x, framePoint.y - origin.y});
        }
        return hit;
    }
    MenuHit hit;
    if (Track().barSlot >= 0 && framePoint.y >= 0 && framePoint.y < kMenuBarHeight) {
        hit.slot = MenuBarSlotAt(framePoint);
    }
    return hit;
}

void PointerOverItem(const MenuHit& hit) {
    Tracking& track = Track();
    const auto level = static_cast<std::size_t>(hit.level);
    const MenuItemRecord* entry = FindMenuItem(track.open[level].menu, hit.item);
    if (entry == nullptr || entry->Separator()) {
        if (track.open.size() == level + 1) {
            SetHighlight(track.open[level], -1);
        }
        return;
    }
    if (track.open[level].highlight != hit.item) {
        CloseLevelsFrom(level + 1);
    }
    SetHighlight(track.open[level], hit.item);
    if (entry->subMenu != kNoMenu) {
        OpenSubMenu(level, hit.item, false);
    }
}

void PointerMoved(const MenuHit& hit) {
    Tracking& track = Track();
    if (hit.level >= 0) {
        PointerOverItem(hit);
    } else if (hit.slot >= 0 && hit.slot != track.barSlot && !track.open.empty()) {
        OpenSlot(hit.slot, false);
    } else if (hit.slot < 0 && !track.open.empty()) {
        SetHighlight(track.open.back(), -1);
    }
}

void PointerPressed(const MenuHit& hit) {
    Tracking& track = Track();
    if (hit.level >= 0) {
        PointerOverItem(hit);
    } else if (hit.slot >= 0 && hit.slot == track.barSlot && !track.open.empty()) {
        EndTracking();
        Hooks().swallowMouseUp = true;
    } else if (hit.slot >= 0) {
        OpenSlot(hit.slot, false);
    } else {
        EndTracking();
        Hooks().swallowMouseUp = true;
    }
}

void PointerReleased(const MenuHit& hit) {
    if (hit.level >= 0 && hit.item >= 0) {
        const MenuItemRecord* entry =
            FindMenuItem(Track().open[static_cast<std::size_t>(hit.level)].menu, hit.item);
        if (entry != nullptr && entry->subMenu == kNoMenu) {
            ActivateItem(static_cast<std::size_t>(hit.level), hit.item);
        }
        return;
    }
    const MenuItemRecord* title = BarItem(hit.slot);
    if (hit.slot == Track().barSlot && title != nullptr && title->subMenu == kNoMenu) {
        EnterSlot(hit.slot);
    }
}

void TrackMouse(const JMessage& message) {
    const MenuHit hit = HitTest(JClientToFrame(message.window, JPoint{message.x, message.y}));
    switch (message.type) {
        case JMsg::MouseMove:
            PointerMoved(hit);
            break;
        case JMsg::MouseDown:
            PointerPressed(hit);
            break;
        case JMsg::MouseUp:
            PointerReleased(hit);
            break;
        default:
            break;
    }
}

bool TrackInput(const JMessage& message) {
    switch (message.type) {
        case JMsg::MouseMove:
        case JMsg::MouseDown:
        case JMsg::MouseUp:
        case JMsg::Wheel:
            TrackMouse(message);
            return true;
        case JMsg::NcMouseDown:  // frame coordinates, should the capture have gone
            PointerPressed(HitTest(JPoint{message.x, message.y}));
            return true;
        case JMsg::KeyDown:
            Hooks().swallowChar = true;
            TrackKey(message);
            return true;
        case JMsg::KeyUp:
        case JMsg::Char:
            return true;
        default:
            return false;
    }
}

// --- opening the menus ---

// The frame takes menu keys only when no modal window holds the input.
bool MenusReachable() {
    const JWnd frame = JFrameWindow();
    return frame != kNoWindow && JModalWindow() == kNoWindow && JIsWindowEnabled(frame) &&
           JIsWindowVisible(frame);
}

void EnterBar(bool openFirst) {
    const int slot = MenuBarSlotCount() > 1 ? 1 : 0;
    BeginTracking(JFrameWindow(), false, slot);
    if (openFirst) {
        EnterSlot(slot);
    } else {
        HighlightSlot(slot);
    }
}

void ShowSystemMenu(JWnd window, bool selectFirst) {
    EndTracking();
    const JWnd frame = JFrameWindow();
    if (window == frame && FrameMenuBar() != kNoMenu) {
        BeginTracking(frame, true, 0);
        OpenSlot(0, selectFirst);
        return;
    }
    const JMenu menu = JGetSystemMenu(window, false);
    RefreshSystemMenu(window, menu);
    BeginTracking(window, true, -1);
    JPoint corner{0, 0};
    if (window != frame) {
        const JRect bounds = JWindowBounds(window);
        const JRect borders = JWindowBorders(window);
        corner = JClientToFrame(JWindowParent(window),
                                JPoint{bounds.left + borders.left, bounds.top + borders.top});
    } else {
        corner = JClientToFrame(frame, corner);
    }
    OpenPopup(menu, corner, selectFirst);
    if (Track().open.empty()) {
        EndTracking();
    }
}

void ShowSystemMenuHook(JWnd window, JPoint /*framePoint*/) {
    if (JIsWindow(window)) {
        ShowSystemMenu(window, false);
    }
}

// Alt with a key: the frame's system menu, the active window's, or a title.
bool AltKey(std::uint16_t key) {
    if (key == kKeySpace) {
        ShowSystemMenu(JFrameWindow(), true);
        return true;
    }
    const JWnd active = JActiveWindow();
    if (key == kKeyMinus && active != kNoWindow && (JWindowStyle(active) & kWsSystemMenu) != 0) {
        ShowSystemMenu(active, true);
        return true;
    }
    const int slot = SlotWithMnemonic(key);
    if (slot < 0) {
        return false;
    }
    BeginTracking(JFrameWindow(), false, slot);
    EnterSlot(slot);
    return true;
}

bool IdleKeyDown(const JMessage& message) {
    HookState& hooks = Hooks();
    hooks.swallowChar = false;
    hooks.altPending = message.key == kKeyAlt && MenusReachable();
    if (message.key == kKeyAlt || !MenusReachable()) {
        return false;
    }
    const auto modifiers =
        static_cast<std::uint16_t>(message.modifiers & (kModShift | kModCtrl | kModAlt));
    if (modifiers == kModAlt && AltKey(message.key)) {
        hooks.swallowChar = true;
        return true;
    }
    if (modifiers == 0 && message.key == kKeyF10 && FrameMenuBar() != kNoMenu) {
        EnterBar(false);
        return true;
    }
    return false;
}

bool IdleInput(const JMessage& message) {
    HookState& hooks = Hooks();
    switch (message.type) {
        case JMsg::MouseUp:
            return std::exchange(hooks.swallowMouseUp, false);
        case JMsg::MouseDown:
            hooks.swallowMouseUp = false;
            hooks.altPending = false;
            return false;
        case JMsg::NcMouseDown: {
            hooks.swallowMouseUp = false;
            hooks.altPending = false;
            if (message.code != kHitMenuBar || message.window != JFrameWindow()) {
                return false;
            }
            const int slot = MenuBarSlotAt(JPoint{message.x, message.y});
            if (slot >= 0) {
                BeginTracking(JFrameWindow(), slot == 0, slot);
                OpenSlot(slot, false);
            }
            return true;
        }
        case JMsg::KeyDown:
            return IdleKeyDown(message);
        case JMsg::KeyUp:
            if (message.key == kKeyAlt && std::exchange(hooks.altPending, false) &&
                FrameMenuBar() != kNoMenu) {
                EnterBar(false);
                return true;
            }
            return false;
        case JMsg::Char:
            return std::exchange(hooks.swallowChar, false);
        default:
            return false;
    }
}

bool MenuInputHook(JMessage& message) {
    if (Track().active && JFrameWindow() == kNoWindow) {
        Track() = Tracking{};
    }
    return Track().active ? TrackInput(message) : IdleInput(message);
}

}  // namespace

int MenuBarHighlight() {
    return Track().active ? Track().barSlot : -1;
}

void MenuChanged(JMenu menu, bool itemsMoved) {
    if (menu == kNoMenu) {
        return;
    }
    const bool bar = menu == FrameMenuBar();
    if (bar) {
        JInvalidateMenuBarStrip();
    }
    Tracking& track = Track();
    if (!track.active) {
        return;
    }
    if (bar && itemsMoved) {
        EndTracking();
        return;
    }
    for (const OpenMenu& open : track.open) {
        if (open.menu != menu) {
            continue;
        }
        if (itemsMoved) {
            EndTracking();
            return;
        }
        JInvalidateRect(open.window, nullptr);
    }
}

void InstallMenuHooks() {
    if (!Hooks().installed) {
        JAddInputHook(MenuInputHook);
        JSetSystemMenuHook(ShowSystemMenuHook);
        Hooks().installed = true;
    }
}

void RemoveMenuHooks() {
    if (Hooks().installed) {
        JRemoveInputHook(MenuInputHook);
        JSetSystemMenuHook(nullptr);
    }
    Hooks() = HookState{};
}

bool JGetMenuItemRect(JMenu menu, int position, JRect* rect) {
    if (menu != kNoMenu && menu == FrameMenuBar()) {
        *rect = MenuBarSlotRect(position + 1);
        return !rect->Empty();
    }
    for (const OpenMenu& open : Track().open) {
        const MenuRecord* record = FindMenu(open.menu);
        if (open.menu != menu || record == nullptr) {
            continue;
        }
        const JPoint origin = PopupClientOrigin(open);
        *rect = JRectOffset(PopupItemRect(*record, position), origin.x, origin.y);
        return !rect->Empty();
    }
    return false;
}

bool JMenuIsOpen(JMenu menu) {
    for (const OpenMenu& open : Track().open) {
        if (open.menu == menu) {
            return true;
        }
    }
    return false;
}

bool JMenuTracking() {
    return Track().active;
}

void JEndMenu() {
    EndTracking();
}
