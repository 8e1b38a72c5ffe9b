// The list box: a sunken white box of text items, one of which may be
// selected, with a vertical scroll bar when the items do not fit. Its height
// is made a whole number of rows when it is created. The selected item stays
// highlighted when the list loses the focus; with the focus, a dotted frame
// marks the selected item (or the first). A click
// (or dragging over items) selects; Up, Down, Page Up, Page Down, Home and
// End move the selection; the wheel and the scroll bar scroll. A change of
// selection by the user sends Command (the id, kNotifySelChange) to the
// parent; a double click on an item sends kNotifyDoubleClick after it.
#pragma once

#include <string>

#include "framework/platform/controls/control_window.h"

constexpr const char* kListBoxClass = "listbox";
// A click leaves the focus where it is (the drop-down list's open list).
constexpr std::uint32_t kLbsKeepFocus = kWsControlBit0;
// The drop-down list's open list: no bevel (its pop-up draws a plain line)
// and the highlight follows the mouse.
constexpr std::uint32_t kLbsDropped = kWsControlBit1;
constexpr int kWheelLines = 3;  // items scrolled by one notch of the wheel

// kWsTabStop is added; the height is rounded down to whole rows.
JWnd JCreateListBox(const JControlSpec& spec);

int JListBoxAddItem(JWnd list, const char* text);  // its index
void JListBoxClear(JWnd list);
int JListBoxCount(JWnd list);
std::string JListBoxItem(JWnd list, int index);  // empty outside the items
// Selects without notifying and scrolls the item into view; -1 selects none.
void JListBoxSetSelection(JWnd list, int index);
int JListBoxSelection(JWnd list);  // -1 when none
int JListBoxTopIndex(JWnd list);
void JListBoxSetTopIndex(JWnd list, int index);
int JListBoxItemHeight();
// An item's rectangle in the list's client coordinates (it may lie outside
// the visible part).
JRect JListBoxItemRect(JWnd list, int index);
JWnd JListBoxScrollBar(JWnd list);
