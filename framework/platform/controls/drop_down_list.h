// The drop-down list: a closed box showing the selected item beside an arrow
// button. A click opens the list as a pop-up above the other windows; a
// click on an item chooses it and closes the list, a click anywhere else or
// Escape closes it unchanged. Up and Down change the selection (in the open
// list, or directly while closed), Return chooses, Alt+Down or F4 opens.
// A change of selection by the user sends Command (the id,
// kNotifySelChange) to the parent.
#pragma once

#include <string>

#include "framework/platform/controls/control_window.h"

constexpr const char* kDropDownListClass = "combobox";
constexpr int kDropDownVisibleItems = 8;  // the open list scrolls beyond this

// kWsTabStop is added.
JWnd JCreateDropDownList(const JControlSpec& spec);

int JDropDownAddItem(JWnd dropDown, const char* text);
void JDropDownClear(JWnd dropDown);
int JDropDownCount(JWnd dropDown);
std::string JDropDownItem(JWnd dropDown, int index);
void JDropDownSetSelection(JWnd dropDown, int index);  // no notification
int JDropDownSelection(JWnd dropDown);
void JDropDownOpen(JWnd dropDown);
void JDropDownClose(JWnd dropDown);
// The open list's list box, or none when closed.
JWnd JDropDownOpenList(JWnd dropDown);
