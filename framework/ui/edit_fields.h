// The edit field: a native platform edit field that the framework drives.
// Focus entering it begins editing: it becomes the edit target of the Edit
// menu and its begin-editing callback runs. Tab, Escape, Return (in a
// single-line field), focus leaving it or the menus committing it end
// editing: the focus goes back to the window and the entry handler runs
// with the key that ended it (null when focus left or a menu ended it),
// which is where the application checks the typed value.
#pragma once

#include "framework/ui/controls.h"

using JEditBeginCallback = void (*)(JControl* field);
using JEditEntryHandler = void (*)(JControl* field, const JKeyRecord* endingKey);

const ControlKind* JEditFieldKind();
// Keeps a copy, shows it and redraws.
void JEditFieldSetText(JControl* field, const char* text);
// The native text in a copy the field keeps; the caller does not free it.
const char* JEditFieldText(JControl* field);
void JEditFieldSelectAllAndFocus(JControl* field);
void JEditFieldSetMultiLine(JControl* field, bool multiLine);
void JEditFieldSetCallbacks(JControl* field, JEditBeginCallback begin, JEditEntryHandler entry);
void JEditFieldSetOption(JControl* field, std::intptr_t option);
std::intptr_t JEditFieldOption(JControl* field);
// The field being edited now, or null.
JControl* JEditFieldEditing();
// Ends the editing of the current field as a menu does (no key).
void JEditFieldCommit();
