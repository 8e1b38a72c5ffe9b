// The pop-up choice: a box showing the selected item with a down arrow; a
// press opens the list of all items over it, placed so that the selected
// item lies over the box. A list too tall for the frame gets scroll arrows
// that scroll while the pointer rests on them.
#pragma once

#include <cstdint>

#include "framework/ui/controls.h"

using JChoiceCallback = void (*)(JControl* choice, int selected);

// Items are made from the application's values by the make hook; the
// default hooks make them copies of texts.
struct JChoiceHooks {
    void (*measure)(void* item, int* width, int* height);
    void (*draw)(void* item, int x, int top, bool highlighted);
    void* (*make)(void* value);
    void (*release)(void* item);
    void* (*valueOf)(void* item);
};

const ControlKind* JPopupChoiceKind();
void JChoiceSetItems(JControl* choice, int count, void* const* values);
// Texts, through the default hooks.
void JChoiceSetTexts(JControl* choice, int count, const char* const* texts);
void JChoiceSelect(JControl* choice, int index);  // no callback
int JChoiceSelectedIndex(JControl* choice);
void* JChoiceItem(JControl* choice, int index);  // the value, null past the end
void* JChoiceSelected(JControl* choice);
void JChoiceSetAlignment(JControl* choice, int alignment);  // 0 left, 2 right
void JChoiceSetCallback(JControl* choice, JChoiceCallback callback);
void JChoiceSetHooks(JControl* choice, const JChoiceHooks& hooks);

// The open list, for tests and the gallery: its window (null when none),
// the first item shown, and whether it shows scroll arrows.
JWindow* JChoiceListWindow();
int JChoiceListFirstShown();
bool JChoiceListHasArrows();
constexpr int kChoiceArrowHeight = 12;
