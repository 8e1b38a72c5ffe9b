// Platform menus: menu bars and pop-up menus of items, the frame's menu bar
// drawn in the strip at the top of the frame, pull-down menus shown above
// every window, and the system menu of each window. The platform tracks the
// mouse and the keyboard while a menu is open (Alt, Alt with a mnemonic,
// F10, arrows, Return, Escape; Alt+Space for the frame's system menu and
// Alt+minus for the active window's) and reports a chosen item as a message:
// Command with the item's command id to the frame for the menu bar, and to a
// system menu's window for its items below 0xF000; SysCommand with the id to
// that window for the system commands (kScClose and the others).
//
// Item texts carry their mnemonic after an ampersand ("&&" shows one) and
// their shortcut text after a tab: "&Open...\tCtrl+O".
#pragma once

#include <cstdint>

#include "framework/platform/draw/geometry.h"
#include "framework/platform/windows/window.h"

// A menu handle; handles are never reused, so a stale one is harmless.
using JMenu = std::uint32_t;
constexpr JMenu kNoMenu = 0;

// Item flags.
constexpr std::uint32_t kMenuGreyed = 0x01;     // shown greyed; cannot be chosen
constexpr std::uint32_t kMenuChecked = 0x02;    // a check mark before the text
constexpr std::uint32_t kMenuSeparator = 0x04;  // a line; text and command are ignored

// Items at or above this id in a system menu are the platform's own system
// commands and arrive as SysCommand.
constexpr int kFirstSystemCommand = 0xF000;

// --- menus ---
JMenu JCreateMenu();       // an empty menu bar
JMenu JCreatePopupMenu();  // an empty pop-up menu
// Destroys the menu and the sub-menus of its items.
bool JDestroyMenu(JMenu menu);
bool JIsMenu(JMenu menu);

// --- items --- positions count from 0; -1 appends.
bool JInsertMenu(JMenu menu, int position, std::uint32_t flags, int command, const char* text);
bool JInsertSubMenu(JMenu menu, int position, std::uint32_t flags, JMenu subMenu, const char* text);
bool JAppendMenu(JMenu menu, std::uint32_t flags, int command, const char* text);
bool JAppendSubMenu(JMenu menu, std::uint32_t flags, JMenu subMenu, const char* text);
// Deleting destroys the item's sub-menu; removing leaves it for reuse.
bool JDeleteMenu(JMenu menu, int position);
bool JRemoveMenu(JMenu menu, int position);
int JMenuItemCount(JMenu menu);  // -1 for no menu
bool JEnableMenuItem(JMenu menu, int position, bool enabled);
bool JCheckMenuItem(JMenu menu, int position, bool checked);
std::uint32_t JMenuItemFlags(JMenu menu, int position);
int JMenuItemCommand(JMenu menu, int position);  // 0 for separators and sub-menus
JMenu JMenuItemSubMenu(JMenu menu, int position);
const char* JMenuItemText(JMenu menu, int position);  // "" when there is none

// --- the frame's menu bar ---
// Attaches a bar to the frame (kNoMenu takes it away) and keeps the strip
// for it; the frame's system-menu box sits at its left.
bool JSetMenu(JWnd frame, JMenu bar);
JMenu JGetMenu(JWnd frame);
// Draws the bar again after its items changed.
void JDrawMenuBar(JWnd frame);

// --- system menus ---
// The window's system menu, made with the platform's default items on first
// use; `revert` puts the default items back.
JMenu JGetSystemMenu(JWnd window, bool revert);

// --- open menus ---
// Where an item lies, in frame coordinates: a title of the frame's bar, or
// an item of a menu that is open. False otherwise.
bool JGetMenuItemRect(JMenu menu, int position, JRect* rect);
bool JMenuIsOpen(JMenu menu);
bool JMenuTracking();  // a menu is open or the bar is entered from the keyboard
void JEndMenu();       // closes every open menu; nothing is chosen

// Shutdown: closes what is open, destroys every menu and takes the bar away.
void JDestroyAllMenus();
