// The file dialogs' layouts, in dialog units as their templates give them,
// and the conversion to pixels with the system font: a horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth
// of its height.
#pragma once

#include <vector>

#include "framework/platform/platform.h"

enum class DialogItemKind { Edit, DropDown, Static, List, Button, DefaultButton, Label };

struct DialogItem {
    int id;  // 0 for labels
    DialogItemKind kind;
    JRect bounds;  // left, top, right, bottom in dialog units
    const char* text;
};

struct DialogTemplate {
    const char* caption;
    int width;  // dialog units
    int height;
    std::vector<DialogItem> items;
};

// Template 1 (Open), 2 (Save) and 3 (Create Directory).
const DialogTemplate& JOpenDialogTemplate();
const DialogTemplate& JSaveDialogTemplate();
const DialogTemplate& JCreateDirectoryTemplate();

struct DialogBaseUnits {
    int x;  // pixels for 4 horizontal units
    int y;  // pixels for 8 vertical units
};

// From the control font: its average character width and its height.
DialogBaseUnits JDialogBaseUnits();
JRect JDialogUnitsToPixels(const JRect& units, DialogBaseUnits base);
