#include "app/shell/window_parts.h"

#include "framework/ui/control_drawing.h"
#include "framework/ui/labels.h"
#include "framework/ui/layout_boxes.h"

JControl* NewBox(JControl* parent, int orientation, int alignment, int spacing) {
    JControl* box = JControlNewIn(JLayoutBoxKind(), parent, 0, 0);
    JBoxSetFramed(box, false);
    JBoxSetLayout(box, orientation, alignment);
    JBoxSetPacked(box, true);
    JBoxSetSpacing(box, spacing);
    JControlShow(box);
    return box;
}

JControl* NewLabel(JControl* parent, const char* text) {
    JControl* label = JControlNewIn(JLabelKind(), parent, 0, 0);
    JLabelSetFramed(label, false);
    JLabelSetText(label, text);
    JControlShow(label);
    JControlResize(label, 0, 0);
    return label;
}

int TextWidth(const char* text) {
    int width = 0;
    int height = 0;
    JUiMeasureText(text, &width, &height);
    return width;
}
