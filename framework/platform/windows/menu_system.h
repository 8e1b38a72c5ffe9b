// The records behind the platform menus, shared by the files that keep them
// (menus.cpp), draw them (menu_drawing.cpp) and track the user in them
// (menu_tracking.cpp). Nothing outside framework/platform includes this.
#pragma once

#include <string>
#include <vector>

#include "framework/platform/draw/raster.h"
#include "framework/platform/windows/menus.h"

struct MenuItemRecord {
    std::string text;
    std::uint32_t flags = 0;
    int command = 0;
    JMenu subMenu = kNoMenu;

    bool Separator() const { return (flags & kMenuSeparator) != 0; }
    bool Greyed() const { return (flags & kMenuGreyed) != 0; }
    // What the arrow keys stop at and what can be chosen.
    bool Selectable() const { return !Separator() && !Greyed(); }
};

struct MenuRecord {
    JMenu handle = kNoMenu;
    bool bar = false;
    std::vector<MenuItemRecord> items;
};

// menus.cpp
MenuRecord* FindMenu(JMenu menu);
const MenuItemRecord* FindMenuItem(JMenu menu, int position);
JMenu FrameMenuBar();  // the bar attached to the frame, or none
// Greys the default items that do not apply to the window just now.
void RefreshSystemMenu(JWnd window, JMenu menu);

// An item text taken apart: the text shown, where its mnemonic is, and the
// shortcut text after the tab.
struct MenuLabel {
    std::string shown;
    int mnemonicIndex = -1;  // into `shown`
    std::string shortcut;
};
MenuLabel ParseMenuLabel(const std::string& text);
// The mnemonic upper-cased; 0 when there is none.
char MenuMnemonic(const std::string& text);

// menu_drawing.cpp
constexpr int kMenuBarHeight = 20;
// The bar's slots in frame coordinates: slot 0 is the frame's system-menu
// box, slot i the title of the bar's item i - 1.
int MenuBarSlotCount();
JRect MenuBarSlotRect(int slot);
int MenuBarSlotAt(JPoint framePoint);  // -1 when none
void PaintMenuBar(const JRect& strip);
// A pop-up's client area: its size and its items' rectangles.
JPoint PopupClientSize(const MenuRecord& menu);
JRect PopupItemRect(const MenuRecord& menu, int position);
int PopupItemAt(const MenuRecord& menu, JPoint client);  // -1 when none
void PaintPopup(const RasterTarget& target, const MenuRecord& menu, int highlight);

// menu_tracking.cpp
int MenuBarHighlight();  // the slot shown highlighted, -1 when none
// A menu changed: open pop-ups are drawn again; a change of the items of an
// open menu closes the menus.
void MenuChanged(JMenu menu, bool itemsMoved);
void InstallMenuHooks();
void RemoveMenuHooks();
