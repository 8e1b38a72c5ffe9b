// Menus: the program's menu bars, menus and items with their mnemonics,
// command shortcuts, enabled and checked states and handlers, kept here and
// shown through the platform's menus. A chosen item or a typed shortcut
// reaches its handler from here; the standard Edit menu sends Cut, Copy and
// Paste to the edit target; the menu titled "Apple" goes into the frame's
// system menu instead of the bar. While a modal window is up every menu but
// Edit is locked.
//
// Menus, items and bars live until JMenusShutdown (or their destroy call).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/ui/windows.h"

struct JUiMenu;
struct JUiMenuBar;
struct JUiMenuItem;

using JMenuHandler = void (*)(JUiMenuItem* item, void* data);

// Menu flags.
constexpr std::uint8_t kMenuEnabled = 1;
constexpr std::uint8_t kMenuLocked = 2;      // disabled while a modal window is up
constexpr std::uint8_t kMenuWantsItems = 4;  // enabled in intent, greyed for want of items
// Item flags.
constexpr std::uint8_t kItemEnabled = 1;
constexpr std::uint8_t kItemChecked = 2;

struct JUiMenuItem {
    std::string text;  // "-" at the front makes a separator
    char mnemonic = 0;
    char shortcut = 0;
    std::uint8_t flags = kItemEnabled;
    JMenuHandler handler = nullptr;
    void* data = nullptr;
    int command = 0;
    JUiMenu* menu = nullptr;

    bool Separator() const { return !text.empty() && text[0] == '-'; }
    bool Enabled() const { return (flags & kItemEnabled) != 0; }
    bool Checked() const { return (flags & kItemChecked) != 0; }
};

struct JUiMenu {
    std::string title;
    char mnemonic = 0;
    std::uint8_t flags = kMenuWantsItems;
    std::vector<JUiMenuItem*> items;
    JMenu popup = kNoMenu;
    int command = 0;
    JUiMenuBar* bar = nullptr;
    bool inserted = false;  // has an entry in the platform bar

    bool Enabled() const { return (flags & kMenuEnabled) != 0; }
};

struct JUiMenuBar {
    std::vector<JUiMenu*> menus;
    JMenu platform = kNoMenu;
};

// An encoded label of the string lists: a title is its mnemonic and its text
// ("FFile"); an item is its shortcut, its mnemonic and its text ("OOOpen...").
// A blank stands for none.
struct JMenuLabel {
    char shortcut = 0;
    char mnemonic = 0;
    std::string text;
};
JMenuLabel JDecodeMenuTitle(const char* encoded);
JMenuLabel JDecodeMenuItem(const char* encoded);
// What the platform shows: "&" before the mnemonic, a tab and "Ctrl+X" after.
std::string JMenuShownLabel(const std::string& text, char mnemonic, char shortcut);

// --- bars ---
JUiMenuBar* JUiMenuBarNew();
// After `after`, or at the front when it is null.
void JUiMenuBarAdd(JUiMenuBar* bar, JUiMenu* after, JUiMenu* menu);
void JUiMenuBarRemove(JUiMenuBar* bar, JUiMenu* menu);
// Exact text, searched from the last menu; null when none.
JUiMenu* JUiMenuBarFind(JUiMenuBar* bar, const char* title);
// Null takes the bar away.
void JUiMenuBarInstall(JUiMenuBar* bar);
JUiMenuBar* JUiCurrentMenuBar();
void JUiMenuBarDestroy(JUiMenuBar* bar);

// --- menus ---
JUiMenu* JUiMenuNew(const char* title);
JUiMenu* JUiMenuFromEncoded(const char* encoded);
void JUiMenuSetMnemonic(JUiMenu* menu, char mnemonic);
void JUiMenuSetEnabled(JUiMenu* menu, bool enabled);
void JUiMenuAddItem(JUiMenu* menu, JUiMenuItem* item);
// After `after`, or at the top when it is null.
void JUiMenuAddItemAfter(JUiMenu* menu, JUiMenuItem* after, JUiMenuItem* item);
void JUiMenuRemoveItem(JUiMenu* menu, JUiMenuItem* item);
JUiMenuItem* JUiMenuFindItem(JUiMenu* menu, const char* text);
JUiMenuItem* JUiMenuItemAt(JUiMenu* menu, int index);  // null past the end
// Destroys its items too.
void JUiMenuDestroy(JUiMenu* menu);

// --- items ---
JUiMenuItem* JUiItemNew(const char* text);
JUiMenuItem* JUiItemFromEncoded(const char* encoded);
JUiMenuItem* JUiSeparatorNew();
void JUiItemSetText(JUiMenuItem* item, const char* text);
void JUiItemSetMnemonic(JUiMenuItem* item, char mnemonic);
void JUiItemSetShortcut(JUiMenuItem* item, char shortcut);
void JUiItemSetEnabled(JUiMenuItem* item, bool enabled);
void JUiItemSetChecked(JUiMenuItem* item, bool checked);
void JUiItemSetHandler(JUiMenuItem* item, JMenuHandler handler, void* data);
void JUiItemDestroy(JUiMenuItem* item);

// --- the standard Edit menu ---
constexpr int kStandardFileTitle = 0;
constexpr int kStandardEditTitle = 1;
constexpr int kStandardCut = 0;
constexpr int kStandardCopy = 1;
constexpr int kStandardPaste = 2;
void JSetStandardMenuTitle(int index, char mnemonic, const char* text);
void JSetStandardEditItem(int index, char shortcut, char mnemonic, const char* text);
// Cut, Copy and Paste (bits 1, 2, 4 of `wanted`) at the top of the current
// bar's Edit menu, made after File when the bar has none. They start disabled.
void JAddStandardEditMenu(unsigned wanted);
bool JIsEditItem(const JUiMenuItem* item);

// --- dispatch ---
// A command from the bar or the frame's system menu; false when no item has it.
bool JMenuChooseCommand(int command);
// A key with the command modifier; true when a shortcut took it (its
// handler ran, or it beeped because the item or its menu is disabled).
bool JMenuTypedShortcut(const JKeyRecord& key);

// --- change observers ---
constexpr int kMenuChangeRemoved = 1;
constexpr int kMenuChangeAdded = 2;
constexpr int kMenuChangeMenu = 2;  // a menu to or from a bar
constexpr int kMenuChangeItem = 3;  // an item to or from a menu
using JMenuObserver = void (*)(int action, int kind, void* object);
void JAddMenuObserver(JMenuObserver observer);
void JRemoveMenuObserver(JMenuObserver observer);

// Hooks the menus into the frame, the edit target and the modal state; the
// framework's start-up calls it.
void JMenusStartup();
// Destroys every bar, menu and item.
void JMenusShutdown();
