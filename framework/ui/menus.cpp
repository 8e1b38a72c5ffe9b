#include "framework/ui/menus.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "framework/ui/edit_fields.h"
#include "framework/ui/edit_target.h"
#include "framework/ui/event_loop.h"
#include "framework/ui/windows.h"

namespace {

constexpr const char* kAppleTitle = "Apple";
constexpr int kFirstCommand = 1000;

struct StandardTitle {
    char mnemonic = 0;
    std::string text;
};

struct MenuState {
    std::vector<std::unique_ptr<JUiMenuBar>> bars;
    std::vector<std::unique_ptr<JUiMenu>> menus;
    std::vector<std::unique_ptr<JUiMenuItem>> items;
    JUiMenuBar* current = nullptr;
    int nextCommand = kFirstCommand;
    std::vector<JMenuObserver> observers;
    StandardTitle titles[2];
    JMenuLabel editItems[3];
    JUiMenuItem* createdEditItems[3] = {nullptr, nullptr, nullptr};
    bool locked = false;
    JWnd hookedFrame = kNoWindow;
    JWindowProc frameProc = nullptr;
};

MenuState& State() {
    static MenuState state;
    return state;
}

int NewCommand() {
    return State().nextCommand++;
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

void Notify(int action, int kind, void* object) {
    // Told from the last registered to the first; a copy, as one may leave.
    const std::vector<JMenuObserver> observers = State().observers;
    for (auto it = observers.rbegin(); it != observers.rend(); ++it) {
        (*it)(action, kind, object);
    }
}

bool IsApple(const JUiMenu* menu) {
    return menu->title == kAppleTitle;
}

std::uint32_t ItemFlags(const JUiMenuItem* item) {
    if (item->Separator()) {
        return kMenuSeparator;
    }
    return (item->Enabled() ? 0 : kMenuGreyed) | (item->Checked() ? kMenuChecked : 0);
}

void AppendItems(JMenu target, const JUiMenu* menu) {
    for (const JUiMenuItem* item : menu->items) {
        const std::string shown = JMenuShownLabel(item->text, item->mnemonic, item->shortcut);
        JAppendMenu(target, ItemFlags(item), item->Separator() ? 0 : item->command, shown.c_str());
    }
}

void RefillPopup(JUiMenu* menu) {
    while (JMenuItemCount(menu->popup) > 0) {
        JDeleteMenu(menu->popup, 0);
    }
    AppendItems(menu->popup, menu);
}

std::string ShownTitle(const JUiMenu* menu) {
    return JMenuShownLabel(menu->title, menu->mnemonic, 0);
}

std::uint32_t TitleFlags(const JUiMenu* menu) {
    return menu->Enabled() ? 0 : kMenuGreyed;
}

// The Apple menu's items sit in the frame's system menu, below a separator.
void FillSystemMenu(const JUiMenu* apple) {
    const JMenu system = JGetSystemMenu(JFrameWindow(), true);
    if (apple == nullptr || apple->items.empty()) {
        return;
    }
    JAppendMenu(system, kMenuSeparator, 0, "");
    AppendItems(system, apple);
}

// Where the menu's entry goes in the platform bar: after the earlier
// menus that have one.
int BarPosition(const JUiMenu* menu) {
    int position = 0;
    for (const JUiMenu* other : menu->bar->menus) {
        if (other == menu) {
            break;
        }
        position += other->inserted ? 1 : 0;
    }
    return position;
}

bool InCurrentBar(const JUiMenu* menu) {
    return menu != nullptr && menu->bar != nullptr && menu->bar == State().current;
}

// A changed menu of the current bar is shown again: its items refilled and
// its title put back in its place with its greyed state.
void Rebuild(JUiMenu* menu) {
    if (!InCurrentBar(menu)) {
        return;
    }
    if (IsApple(menu)) {
        FillSystemMenu(menu);
        return;
    }
    RefillPopup(menu);
    JUiMenuBar* bar = menu->bar;
    const int position = BarPosition(menu);
    if (menu->inserted) {
        JRemoveMenu(bar->platform, position);
    }
    JInsertSubMenu(bar->platform, position, TitleFlags(menu), menu->popup,
                   ShownTitle(menu).c_str());
    menu->inserted = true;
    JMarkMenuBarForRedraw();
}

// A menu greys while none of its items can be chosen and comes back when
// one can.
void Reevaluate(JUiMenu* menu) {
    const bool any = std::any_of(menu->items.begin(), menu->items.end(),
                                 [](const JUiMenuItem* item) { return item->Enabled(); });
    if ((menu->flags & kMenuEnabled) != 0 && !any) {
        menu->flags = static_cast<std::uint8_t>((menu->flags & ~kMenuEnabled) | kMenuWantsItems);
    } else if ((menu->flags & kMenuWantsItems) != 0 && any) {
        menu->flags = static_cast<std::uint8_t>((menu->flags & ~kMenuWantsItems) | kMenuEnabled);
    }
}

void ItemChanged(JUiMenuItem* item) {
    if (item->menu != nullptr) {
        Reevaluate(item->menu);
        Rebuild(item->menu);
    }
}

template <typename T>
void Unregister(std::vector<std::unique_ptr<T>>& list, T* object) {
    auto it = std::find_if(list.begin(), list.end(),
                           [object](const auto& owned) { return owned.get() == object; });
    if (it != list.end()) {
        list.erase(it);
    }
}

// --- the menu lock ---

void LockMenu(JUiMenu* menu) {
    if (menu->Enabled() && menu->title != State().titles[kStandardEditTitle].text) {
        JUiMenuSetEnabled(menu, false);
        menu->flags |= kMenuLocked;
    }
}

void UnlockMenu(JUiMenu* menu) {
    if ((menu->flags & kMenuLocked) != 0) {
        menu->flags &= static_cast<std::uint8_t>(~kMenuLocked);
        JUiMenuSetEnabled(menu, true);
    }
}

void LockObserver(int action, int kind, void* object) {
    if (kind != kMenuChangeMenu) {
        return;
    }
    JUiMenu* menu = static_cast<JUiMenu*>(object);
    if (action == kMenuChangeAdded) {
        LockMenu(menu);
    } else {
        UnlockMenu(menu);
    }
}

void LockMenus() {
    MenuState& state = State();
    if (state.locked || state.current == nullptr) {
        return;
    }
    state.locked = true;
    for (JUiMenu* menu : state.current->menus) {
        LockMenu(menu);
    }
    JAddMenuObserver(LockObserver);
}

void UnlockMenus() {
    MenuState& state = State();
    if (!state.locked) {
        return;
    }
    state.locked = false;
    JRemoveMenuObserver(LockObserver);
    for (const auto& menu : state.menus) {
        UnlockMenu(menu.get());
    }
}

void ModalChanged() {
    if (JModalWindow() != kNoWindow) {
        LockMenus();
    } else {
        UnlockMenus();
    }
}

// --- the edit items ---

constexpr unsigned kEditBits[3] = {kEditCut, kEditCopy, kEditPaste};

void EditItemHandler(JUiMenuItem* item, void*) {
    for (int i = 0; i < 3; ++i) {
        if (State().createdEditItems[i] == item) {
            JEditCommand(kEditBits[i]);
        }
    }
}

void EditCommandsChanged(unsigned mask) {
    for (int i = 0; i < 3; ++i) {
        if (JUiMenuItem* item = State().createdEditItems[i]) {
            const bool enabled = (mask & kEditBits[i]) != 0;
            if (item->Enabled() != enabled) {
                JUiItemSetEnabled(item, enabled);
            }
        }
    }
}

// The edit shortcuts act on the field being edited, so they leave it open.
bool KeepsEditing(const JUiMenuItem* item) {
    const char shortcut = Upper(item->shortcut);
    return shortcut == 'C' || shortcut == 'V' || shortcut == 'X';
}

void RunItem(JUiMenuItem* item) {
    if (!KeepsEditing(item)) {
        JCommitEditing();
    }
    if (item->handler != nullptr) {
        item->handler(item, item->data);
    }
}

JUiMenuItem* ItemWithCommand(int command) {
    JUiMenuBar* bar = State().current;
    if (bar == nullptr) {
        return nullptr;
    }
    for (auto menu = bar->menus.rbegin(); menu != bar->menus.rend(); ++menu) {
        for (JUiMenuItem* item : (*menu)->items) {
            if (item->command == command && !item->Separator()) {
                return item;
            }
        }
    }
    return nullptr;
}

// The frame hears the menu bar's choices, the Apple items of its system
// menu, and keys typed while no framework window has the keyboard.
JResult MenuFrameProc(JWnd frame, const JMessage& message) {
    if (message.type == JMsg::Command && message.source == kNoWindow &&
        JMenuChooseCommand(message.code)) {
        return 0;
    }
    if (message.type == JMsg::KeyDown) {
        JKeyRecord key;
        key.key = message.key;
        key.modifiers = JUiModifiers(message.modifiers);
        key.character = static_cast<std::uint8_t>(message.key < 128 ? message.key : 0);
        if (JOfferShortcut(key)) {
            return 0;
        }
    }
    return JCallWindowProc(State().frameProc, frame, message);
}

void HookFrame() {
    MenuState& state = State();
    const JWnd frame = JFrameWindow();
    if (frame == kNoWindow || state.hookedFrame == frame) {
        return;
    }
    state.hookedFrame = frame;
    state.frameProc = JSetWindowProc(frame, MenuFrameProc);
}

}  // namespace

// --- labels ---

JMenuLabel JDecodeMenuTitle(const char* encoded) {
    JMenuLabel label;
    if (encoded == nullptr || encoded[0] == '\0') {
        return label;
    }
    label.mnemonic = encoded[0] == ' ' ? 0 : encoded[0];
    label.text = encoded + 1;
    return label;
}

JMenuLabel JDecodeMenuItem(const char* encoded) {
    JMenuLabel label;
    if (encoded == nullptr || encoded[0] == '\0') {
        return label;
    }
    label.shortcut = encoded[0] == ' ' ? 0 : encoded[0];
    label = JMenuLabel{label.shortcut, 0, ""};
    if (encoded[1] == '\0') {
        return label;
    }
    label.mnemonic = encoded[1] == ' ' ? 0 : encoded[1];
    label.text = encoded + 2;
    return label;
}

std::string JMenuShownLabel(const std::string& text, char mnemonic, char shortcut) {
    std::string shown;
    bool marked = mnemonic == 0;
    for (char c : text) {
        if (!marked && Upper(c) == Upper(mnemonic)) {
            shown += '&';
            marked = true;
        }
        shown += c;
        if (c == '&') {
            shown += '&';  // a plain ampersand
        }
    }
    if (shortcut != 0) {
        shown += JCommandKeyIsAltCtrl() ? "\tAlt+Ctrl+" : "\tCtrl+";
        shown += Upper(shortcut);
    }
    return shown;
}

// --- bars ---

JUiMenuBar* JUiMenuBarNew() {
    auto bar = std::make_unique<JUiMenuBar>();
    bar->platform = JCreateMenu();
    State().bars.push_back(std::move(bar));
    return State().bars.back().get();
}

void JUiMenuBarAdd(JUiMenuBar* bar, JUiMenu* after, JUiMenu* menu) {
    if (menu->bar != nullptr) {
        JUiMenuBarRemove(menu->bar, menu);
    }
    auto at = std::find(bar->menus.begin(), bar->menus.end(), after);
    bar->menus.insert(after == nullptr || at == bar->menus.end() ? bar->menus.begin() : at + 1,
                      menu);
    menu->bar = bar;
    menu->inserted = false;
    if (InCurrentBar(menu)) {
        Rebuild(menu);
    }
    Notify(kMenuChangeAdded, kMenuChangeMenu, menu);
}

void JUiMenuBarRemove(JUiMenuBar* bar, JUiMenu* menu) {
    auto at = std::find(bar->menus.begin(), bar->menus.end(), menu);
    if (at == bar->menus.end()) {
        return;
    }
    if (menu->inserted) {
        JRemoveMenu(bar->platform, BarPosition(menu));
        menu->inserted = false;
        if (bar == State().current) {
            JMarkMenuBarForRedraw();
        }
    } else if (bar == State().current && IsApple(menu)) {
        FillSystemMenu(nullptr);
    }
    bar->menus.erase(at);
    menu->bar = nullptr;
    Notify(kMenuChangeRemoved, kMenuChangeMenu, menu);
}

JUiMenu* JUiMenuBarFind(JUiMenuBar* bar, const char* title) {
    if (bar == nullptr || title == nullptr) {
        return nullptr;
    }
    for (auto it = bar->menus.rbegin(); it != bar->menus.rend(); ++it) {
        if ((*it)->title == title) {
            return *it;
        }
    }
    return nullptr;
}

void JUiMenuBarInstall(JUiMenuBar* bar) {
    MenuState& state = State();
    HookFrame();
    if (state.current != nullptr) {
        JUiMenuBar* old = state.current;
        while (JMenuItemCount(old->platform) > 0) {
            JRemoveMenu(old->platform, 0);
        }
        for (JUiMenu* menu : old->menus) {
            menu->inserted = false;
        }
    }
    state.current = bar;
    const JWnd frame = JFrameWindow();
    if (bar == nullptr) {
        FillSystemMenu(nullptr);
        JSetMenu(frame, kNoMenu);
        return;
    }
    const JUiMenu* apple = nullptr;
    for (JUiMenu* menu : bar->menus) {
        if (IsApple(menu)) {
            apple = menu;
            continue;
        }
        RefillPopup(menu);
        JAppendSubMenu(bar->platform, TitleFlags(menu), menu->popup, ShownTitle(menu).c_str());
        menu->inserted = true;
    }
    FillSystemMenu(apple);
    JSetMenu(frame, bar->platform);
    JMarkMenuBarForRedraw();
}

JUiMenuBar* JUiCurrentMenuBar() {
    return State().current;
}

void JUiMenuBarDestroy(JUiMenuBar* bar) {
    if (bar == nullptr) {
        return;
    }
    if (State().current == bar) {
        JUiMenuBarInstall(nullptr);
    }
    while (!bar->menus.empty()) {
        JUiMenuBarRemove(bar, bar->menus.back());
    }
    JDestroyMenu(bar->platform);
    Unregister(State().bars, bar);
}

// --- menus ---

JUiMenu* JUiMenuNew(const char* title) {
    auto menu = std::make_unique<JUiMenu>();
    menu->title = title != nullptr ? title : "";
    menu->popup = JCreatePopupMenu();
    menu->command = NewCommand();
    State().menus.push_back(std::move(menu));
    return State().menus.back().get();
}

JUiMenu* JUiMenuFromEncoded(const char* encoded) {
    const JMenuLabel label = JDecodeMenuTitle(encoded);
    JUiMenu* menu = JUiMenuNew(label.text.c_str());
    menu->mnemonic = label.mnemonic;
    return menu;
}

void JUiMenuSetMnemonic(JUiMenu* menu, char mnemonic) {
    menu->mnemonic = mnemonic;
    Rebuild(menu);
}

void JUiMenuSetEnabled(JUiMenu* menu, bool enabled) {
    std::uint8_t flags = menu->flags & kMenuLocked;
    if (enabled) {
        const bool any = std::any_of(menu->items.begin(), menu->items.end(),
                                     [](const JUiMenuItem* item) { return item->Enabled(); });
        flags |= any ? kMenuEnabled : kMenuWantsItems;
    }
    menu->flags = flags;
    Rebuild(menu);
}

void JUiMenuAddItem(JUiMenu* menu, JUiMenuItem* item) {
    JUiMenuAddItemAfter(menu, menu->items.empty() ? nullptr : menu->items.back(), item);
}

void JUiMenuAddItemAfter(JUiMenu* menu, JUiMenuItem* after, JUiMenuItem* item) {
    if (item->menu != nullptr) {
        JUiMenuRemoveItem(item->menu, item);
    }
    auto at = std::find(menu->items.begin(), menu->items.end(), after);
    menu->items.insert(after == nullptr || at == menu->items.end() ? menu->items.begin() : at + 1,
                       item);
    item->menu = menu;
    Notify(kMenuChangeAdded, kMenuChangeItem, item);
    ItemChanged(item);
}

void JUiMenuRemoveItem(JUiMenu* menu, JUiMenuItem* item) {
    auto at = std::find(menu->items.begin(), menu->items.end(), item);
    if (at == menu->items.end()) {
        return;
    }
    menu->items.erase(at);
    item->menu = nullptr;
    Notify(kMenuChangeRemoved, kMenuChangeItem, item);
    Reevaluate(menu);
    Rebuild(menu);
}

JUiMenuItem* JUiMenuFindItem(JUiMenu* menu, const char* text) {
    for (JUiMenuItem* item : menu->items) {
        if (text != nullptr && item->text == text) {
            return item;
        }
    }
    return nullptr;
}

JUiMenuItem* JUiMenuItemAt(JUiMenu* menu, int index) {
    return index >= 0 && index < static_cast<int>(menu->items.size())
               ? menu->items[static_cast<std::size_t>(index)]
               : nullptr;
}

void JUiMenuDestroy(JUiMenu* menu) {
    if (menu->bar != nullptr) {
        JUiMenuBarRemove(menu->bar, menu);
    }
    while (!menu->items.empty()) {
        JUiItemDestroy(menu->items.back());
    }
    JDestroyMenu(menu->popup);
    Unregister(State().menus, menu);
}

// --- items ---

JUiMenuItem* JUiItemNew(const char* text) {
    auto item = std::make_unique<JUiMenuItem>();
    item->text = text != nullptr ? text : "";
    item->flags = item->Separator() ? 0 : kItemEnabled;
    item->command = NewCommand();
    State().items.push_back(std::move(item));
    return State().items.back().get();
}

JUiMenuItem* JUiItemFromEncoded(const char* encoded) {
    const JMenuLabel label = JDecodeMenuItem(encoded);
    JUiMenuItem* item = JUiItemNew(label.text.c_str());
    item->shortcut = label.shortcut;
    item->mnemonic = label.mnemonic;
    return item;
}

JUiMenuItem* JUiSeparatorNew() {
    return JUiItemNew("-");
}

void JUiItemSetText(JUiMenuItem* item, const char* text) {
    item->text = text != nullptr ? text : "";
    ItemChanged(item);
}

void JUiItemSetMnemonic(JUiMenuItem* item, char mnemonic) {
    item->mnemonic = mnemonic;
    ItemChanged(item);
}

void JUiItemSetShortcut(JUiMenuItem* item, char shortcut) {
    item->shortcut = shortcut;
    ItemChanged(item);
}

void JUiItemSetEnabled(JUiMenuItem* item, bool enabled) {
    item->flags = static_cast<std::uint8_t>(enabled ? item->flags | kItemEnabled
                                                    : item->flags & ~kItemEnabled);
    ItemChanged(item);
}

void JUiItemSetChecked(JUiMenuItem* item, bool checked) {
    item->flags = static_cast<std::uint8_t>(checked ? item->flags | kItemChecked
                                                    : item->flags & ~kItemChecked);
    ItemChanged(item);
}

void JUiItemSetHandler(JUiMenuItem* item, JMenuHandler handler, void* data) {
    item->handler = handler;
    item->data = data;
}

void JUiItemDestroy(JUiMenuItem* item) {
    if (item->menu != nullptr) {
        JUiMenuRemoveItem(item->menu, item);
    }
    for (JUiMenuItem*& edit : State().createdEditItems) {
        if (edit == item) {
            edit = nullptr;
        }
    }
    Unregister(State().items, item);
}

// --- the standard Edit menu ---

void JSetStandardMenuTitle(int index, char mnemonic, const char* text) {
    if (index == kStandardFileTitle || index == kStandardEditTitle) {
        State().titles[index] = StandardTitle{mnemonic, text != nullptr ? text : ""};
    }
}

void JSetStandardEditItem(int index, char shortcut, char mnemonic, const char* text) {
    if (index >= kStandardCut && index <= kStandardPaste) {
        State().editItems[index] = JMenuLabel{shortcut, mnemonic, text != nullptr ? text : ""};
    }
}

void JAddStandardEditMenu(unsigned wanted) {
    MenuState& state = State();
    for (JUiMenuItem*& item : state.createdEditItems) {
        if (item != nullptr) {
            JUiItemDestroy(item);
        }
        item = nullptr;
    }
    const StandardTitle& title = state.titles[kStandardEditTitle];
    JUiMenu* menu = JUiMenuBarFind(state.current, title.text.c_str());
    const bool created = menu == nullptr;
    if (created) {
        menu = JUiMenuNew(title.text.c_str());
        menu->mnemonic = title.mnemonic;
    } else if (!menu->items.empty()) {
        JUiMenuAddItemAfter(menu, nullptr, JUiSeparatorNew());
    }
    for (int i = kStandardPaste; i >= kStandardCut; --i) {
        if ((wanted & kEditBits[i]) == 0) {
            continue;
        }
        const JMenuLabel& label = state.editItems[i];
        JUiMenuItem* item = JUiItemNew(label.text.c_str());
        item->shortcut = label.shortcut;
        item->mnemonic = label.mnemonic;
        item->flags = 0;
        item->handler = EditItemHandler;
        state.createdEditItems[i] = item;
        JUiMenuAddItemAfter(menu, nullptr, item);
    }
    if (created && state.current != nullptr) {
        JUiMenuBarAdd(state.current,
                      JUiMenuBarFind(state.current, state.titles[kStandardFileTitle].text.c_str()),
                      menu);
    }
    EditCommandsChanged(JEnabledEditCommands());
}

bool JIsEditItem(const JUiMenuItem* item) {
    const auto& edit = State().createdEditItems;
    return item != nullptr && std::find(std::begin(edit), std::end(edit), item) != std::end(edit);
}

// --- dispatch ---

bool JMenuChooseCommand(int command) {
    JUiMenuItem* item = ItemWithCommand(command);
    if (item == nullptr) {
        return false;
    }
    if (!KeepsEditing(item)) {
        JCommitEditing();
    }
    // A framework pop-up that is open hears of the command first.
    if (JWindow* modal = JModalFrameworkWindow();
        modal != nullptr && (modal->style & kWindowPopup) != 0) {
        JHandlerEvent event;
        event.command = command;
        JWindowCall(modal, kSlotPopupCommand, event);
    }
    if (item->handler != nullptr) {
        item->handler(item, item->data);
    }
    return true;
}

bool JMenuTypedShortcut(const JKeyRecord& key) {
    JUiMenuBar* bar = State().current;
    const char typed = Upper(static_cast<char>(key.character != 0 ? key.character : key.key));
    if (bar == nullptr || typed == 0 || (key.modifiers & kUiCommand) == 0 ||
        (key.modifiers & kUiShift) != 0) {
        return false;
    }
    for (JUiMenu* menu : bar->menus) {
        for (JUiMenuItem* item : menu->items) {
            if (item->shortcut == 0 || Upper(item->shortcut) != typed) {
                continue;
            }
            if (item->Enabled() && menu->Enabled()) {
                RunItem(item);
            } else {
                JBackendCurrent().beep();
            }
            return true;
        }
    }
    return false;
}

// --- observers ---

void JAddMenuObserver(JMenuObserver observer) {
    State().observers.push_back(observer);
}

void JRemoveMenuObserver(JMenuObserver observer) {
    auto& observers = State().observers;
    auto it = std::find(observers.rbegin(), observers.rend(), observer);
    if (it != observers.rend()) {
        observers.erase(std::next(it).base());
    }
}

// --- start and end ---

void JMenusStartup() {
    JSetShortcutHandler(JMenuTypedShortcut);
    JSetEditCommandsListener(EditCommandsChanged);
    JSetModalChangeListener(ModalChanged);
    HookFrame();
}

void JMenusShutdown() {
    MenuState& state = State();
    if (state.current != nullptr && JFrameWindow() != kNoWindow) {
        JUiMenuBarInstall(nullptr);
    }
    state.current = nullptr;
    while (!state.bars.empty()) {
        JUiMenuBarDestroy(state.bars.back().get());
    }
    while (!state.menus.empty()) {
        JUiMenuDestroy(state.menus.back().get());
    }
    state.items.clear();
    state.observers.clear();
    state.locked = false;
    for (JUiMenuItem*& item : state.createdEditItems) {
        item = nullptr;
    }
    state.hookedFrame = kNoWindow;
    state.frameProc = nullptr;
    JSetShortcutHandler(nullptr);
    JSetEditCommandsListener(nullptr);
    JSetModalChangeListener(nullptr);
}
