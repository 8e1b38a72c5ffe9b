// Menu records and their operations, the frame's bar and the windows'
// system menus.
#include <cctype>
#include <map>
#include <memory>

#include "framework/platform/windows/menu_system.h"
#include "framework/platform/windows/messages.h"

namespace {

struct MenuStore {
    std::map<JMenu, std::unique_ptr<MenuRecord>> menus;
    JMenu nextHandle = 1;
    JMenu frameBar = kNoMenu;
    std::map<JWnd, JMenu> systemMenus;
};

MenuStore& Store() {
    static MenuStore store;
    return store;
}

JMenu NewMenu(bool bar) {
    MenuStore& store = Store();
    auto record = std::make_unique<MenuRecord>();
    record->handle = store.nextHandle++;
    record->bar = bar;
    const JMenu handle = record->handle;
    store.menus[handle] = std::move(record);
    InstallMenuHooks();
    return handle;
}

MenuItemRecord* FindItem(JMenu menu, int position) {
    MenuRecord* record = FindMenu(menu);
    if (record == nullptr || position < 0 || position >= static_cast<int>(record->items.size())) {
        return nullptr;
    }
    return &record->items[static_cast<std::size_t>(position)];
}

bool InsertItem(JMenu menu, int position, MenuItemRecord item) {
    MenuRecord* record = FindMenu(menu);
    const int count = record != nullptr ? static_cast<int>(record->items.size()) : 0;
    if (record == nullptr || position > count ||
        (item.subMenu != kNoMenu && !JIsMenu(item.subMenu))) {
        return false;
    }
    if (item.Separator()) {
        item.text.clear();
        item.command = 0;
        item.subMenu = kNoMenu;
    }
    const int at = position < 0 ? count : position;
    record->items.insert(record->items.begin() + at, std::move(item));
    MenuChanged(menu, true);
    return true;
}

bool TakeItem(JMenu menu, int position, bool destroySubMenu) {
    const MenuItemRecord* item = FindItem(menu, position);
    if (item == nullptr) {
        return false;
    }
    const JMenu subMenu = item->subMenu;
    MenuRecord* record = FindMenu(menu);
    record->items.erase(record->items.begin() + position);
    MenuChanged(menu, true);
    if (destroySubMenu && subMenu != kNoMenu) {
        JDestroyMenu(subMenu);
    }
    return true;
}

bool SetItemFlag(JMenu menu, int position, std::uint32_t flag, bool on) {
    MenuItemRecord* item = FindItem(menu, position);
    if (item == nullptr) {
        return false;
    }
    item->flags = on ? item->flags | flag : item->flags & ~flag;
    MenuChanged(menu, false);
    return true;
}

// The platform's own items: a document window's commands, or the frame's.
void FillSystemMenu(JWnd window, JMenu menu) {
    if (window == JFrameWindow()) {
        JAppendMenu(menu, 0, kScClose, "&Close\tAlt+F4");
        return;
    }
    const std::uint32_t style = JWindowStyle(window);
    JAppendMenu(menu, 0, kScRestore, "&Restore");
    JAppendMenu(menu, 0, kScMove, "&Move");
    if ((style & kWsSizing) != 0) {
        JAppendMenu(menu, 0, kScSize, "&Size");
    }
    if ((style & kWsMinimiseBox) != 0) {
        JAppendMenu(menu, 0, kScMinimise, "Mi&nimize");
    }
    if ((style & kWsMaximiseBox) != 0) {
        JAppendMenu(menu, 0, kScMaximise, "Ma&ximize");
    }
    JAppendMenu(menu, kMenuSeparator, 0, nullptr);
    JAppendMenu(menu, 0, kScClose, "&Close\tCtrl+F4");
    JAppendMenu(menu, kMenuSeparator, 0, nullptr);
    JAppendMenu(menu, 0, kScNextWindow, "Nex&t\tCtrl+F6");
}

void ForgetGoneWindows() {
    auto& systemMenus = Store().systemMenus;
    for (auto it = systemMenus.begin(); it != systemMenus.end();) {
        if (JIsWindow(it->first)) {
            ++it;
        } else {
            JDestroyMenu(it->second);
            it = systemMenus.erase(it);
        }
    }
}

int PositionOfCommand(const MenuRecord& menu, int command) {
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i].command == command && !menu.items[i].Separator()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

MenuRecord* FindMenu(JMenu menu) {
    auto found = Store().menus.find(menu);
    return found != Store().menus.end() ? found->second.get() : nullptr;
}

const MenuItemRecord* FindMenuItem(JMenu menu, int position) {
    return FindItem(menu, position);
}

JMenu FrameMenuBar() {
    return JIsMenu(Store().frameBar) && JFrameWindow() != kNoWindow ? Store().frameBar : kNoMenu;
}

void RefreshSystemMenu(JWnd window, JMenu menu) {
    const MenuRecord* record = FindMenu(menu);
    if (record == nullptr) {
        return;
    }
    const bool maximised = JIsMaximised(window);
    const bool minimised = JIsMinimised(window);
    const bool normal = !maximised && !minimised;
    const std::pair<int, bool> states[] = {{kScRestore, !normal},
                                           {kScMove, !maximised},
                                           {kScSize, normal},
                                           {kScMinimise, !minimised},
                                           {kScMaximise, !maximised}};
    for (const auto& [command, enabled] : states) {
        const int position = PositionOfCommand(*record, command);
        if (position >= 0) {
            JEnableMenuItem(menu, position, enabled);
        }
    }
}

MenuLabel ParseMenuLabel(const std::string& text) {
    MenuLabel label;
    const std::size_t tab = text.find('\t');
    const std::string before = text.substr(0, tab);
    if (tab != std::string::npos) {
        label.shortcut = text.substr(tab + 1);
    }
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == '&' && i + 1 < before.size()) {
            ++i;  // "&&" shows one ampersand; "&x" marks x
            if (before[i] != '&' && label.mnemonicIndex < 0) {
                label.mnemonicIndex = static_cast<int>(label.shown.size());
            }
        }
        label.shown += before[i];
    }
    return label;
}

char MenuMnemonic(const std::string& text) {
    const MenuLabel label = ParseMenuLabel(text);
    if (label.mnemonicIndex < 0) {
        return 0;
    }
    const auto c =
        static_cast<unsigned char>(label.shown[static_cast<std::size_t>(label.mnemonicIndex)]);
    return static_cast<char>(std::toupper(c));
}

JMenu JCreateMenu() {
    return NewMenu(true);
}

JMenu JCreatePopupMenu() {
    return NewMenu(false);
}

bool JDestroyMenu(JMenu menu) {
    MenuStore& store = Store();
    auto found = store.menus.find(menu);
    if (found == store.menus.end()) {
        return false;
    }
    MenuChanged(menu, true);
    std::unique_ptr<MenuRecord> record = std::move(found->second);
    store.menus.erase(found);
    if (store.frameBar == menu) {
        JSetMenu(JFrameWindow(), kNoMenu);
    }
    for (const MenuItemRecord& item : record->items) {
        JDestroyMenu(item.subMenu);
    }
    return true;
}

bool JIsMenu(JMenu menu) {
    return FindMenu(menu) != nullptr;
}

bool JInsertMenu(JMenu menu, int position, std::uint32_t flags, int command, const char* text) {
    return InsertItem(menu, position, MenuItemRecord{text != nullptr ? text : "", flags, command});
}

bool JInsertSubMenu(JMenu menu, int position, std::uint32_t flags, JMenu subMenu,
                    const char* text) {
    if (subMenu == kNoMenu || subMenu == menu) {
        return false;
    }
    return InsertItem(
        menu, position,
        MenuItemRecord{text != nullptr ? text : "", flags & ~kMenuSeparator, 0, subMenu});
}

bool JAppendMenu(JMenu menu, std::uint32_t flags, int command, const char* text) {
    return JInsertMenu(menu, -1, flags, command, text);
}

bool JAppendSubMenu(JMenu menu, std::uint32_t flags, JMenu subMenu, const char* text) {
    return JInsertSubMenu(menu, -1, flags, subMenu, text);
}

bool JDeleteMenu(JMenu menu, int position) {
    return TakeItem(menu, position, true);
}

bool JRemoveMenu(JMenu menu, int position) {
    return TakeItem(menu, position, false);
}

int JMenuItemCount(JMenu menu) {
    const MenuRecord* record = FindMenu(menu);
    return record != nullptr ? static_cast<int>(record->items.size()) : -1;
}

bool JEnableMenuItem(JMenu menu, int position, bool enabled) {
    return SetItemFlag(menu, position, kMenuGreyed, !enabled);
}

bool JCheckMenuItem(JMenu menu, int position, bool checked) {
    return SetItemFlag(menu, position, kMenuChecked, checked);
}

std::uint32_t JMenuItemFlags(JMenu menu, int position) {
    const MenuItemRecord* item = FindItem(menu, position);
    return item != nullptr ? item->flags : 0;
}

int JMenuItemCommand(JMenu menu, int position) {
    const MenuItemRecord* item = FindItem(menu, position);
    return item != nullptr && item->subMenu == kNoMenu ? item->command : 0;
}

JMenu JMenuItemSubMenu(JMenu menu, int position) {
    const MenuItemRecord* item = FindItem(menu, position);
    return item != nullptr ? item->subMenu : kNoMenu;
}

const char* JMenuItemText(JMenu menu, int position) {
    const MenuItemRecord* item = FindItem(menu, position);
    return item != nullptr ? item->text.c_str() : "";
}

bool JSetMenu(JWnd frame, JMenu bar) {
    if (frame == kNoWindow || frame != JFrameWindow()) {
        return false;
    }
    const MenuRecord* record = FindMenu(bar);
    if (bar != kNoMenu && (record == nullptr || !record->bar)) {
        return false;
    }
    MenuChanged(Store().frameBar, true);
    Store().frameBar = bar;
    JSetMenuBarStrip(bar != kNoMenu ? kMenuBarHeight : 0, bar != kNoMenu ? PaintMenuBar : nullptr);
    return true;
}

JMenu JGetMenu(JWnd frame) {
    return frame != kNoWindow && frame == JFrameWindow() ? FrameMenuBar() : kNoMenu;
}

void JDrawMenuBar(JWnd frame) {
    if (JGetMenu(frame) != kNoMenu) {
        JInvalidateMenuBarStrip();
    }
}

JMenu JGetSystemMenu(JWnd window, bool revert) {
    if (!JIsWindow(window)) {
        return kNoMenu;
    }
    ForgetGoneWindows();
    JMenu& menu = Store().systemMenus[window];
    if (menu != kNoMenu && (revert || !JIsMenu(menu))) {
        JDestroyMenu(menu);
        menu = kNoMenu;
    }
    if (menu == kNoMenu) {
        menu = JCreatePopupMenu();
        FillSystemMenu(window, menu);
    }
    return menu;
}

void JDestroyAllMenus() {
    JEndMenu();
    MenuStore& store = Store();
    if (store.frameBar != kNoMenu && JFrameWindow() != kNoWindow) {
        JSetMenuBarStrip(0, nullptr);
    }
    store.menus.clear();
    store.systemMenus.clear();
    store.frameBar = kNoMenu;
    RemoveMenuHooks();
}
